// The main window in batch mode, for a picture of it:
//   scripts/screenshot build/dev/bin/mainwindow_batchmode shot.png
// Runs on hives, a company and batch folders of its own: three files filed by one
// pass (one of them failed), two more waiting, the history frame and the countdown
// showing; then waits to be ended.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QTemporaryDir hives;
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    QApplication app(argc, argv);
    if (!MainWindowFixture::registerLibraries()) {
        std::fprintf(stderr, "the package stand-in or the user-control library is not built\n");
        return 2;
    }
    MainWindowFixture f;
    f.setClock(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    f.enableBatchMode(QStringLiteral("150000"));
    frmmain& w = f.showAfterLogin();

    QTimer::singleShot(200, &w, [&] {
        f.writeFile(QStringLiteral("source/North-Orders.csv"), invoiceLines(2));
        f.writeFile(QStringLiteral("source/South-Orders.csv"), "I,C999,01/12/2026,P1,2,10,Widget\r\n");
        f.writeFile(QStringLiteral("source/West-Orders.csv"), invoiceLines(1));
        w.m_ui->CommandStart->click();
        w.m_ui->Command2->click();
        w.Timer1.tick();
        w.Timer1.tick();
        w.Timer2.setInterval(60000);
        for (int tick = 0; tick < 3; ++tick) {
            f.advanceClock(60);
            w.Timer2.tick();
        }
        f.writeFile(QStringLiteral("source/East-Orders.csv"), invoiceLines(1));
        f.writeFile(QStringLiteral("source/Late-Orders.csv"), invoiceLines(1));
        w.Timer1.tick();
        f.advanceClock(47);
        w.Timer3.tick();
        if (f.posted() != 3) {
            std::fprintf(stderr, "the pass posted %d documents, not 3\n", int(f.posted()));
            app.exit(1);
        }
    });
    return app.exec();
}
