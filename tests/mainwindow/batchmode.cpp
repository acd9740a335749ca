// The main window in batch mode, for a picture of it:
//   scripts/screenshot build/dev/bin/mainwindow_batchmode shot.png
// Runs on hives, a company and batch folders of its own: three files filed by one
// pass (one of them failed), two more waiting, the history frame and the countdown
// showing; then waits to be ended.
//   mainwindow_batchmode --demo <folder>
// runs on the demo folder of scripts/run-demo instead (the environment names its
// hives and XDG_CONFIG_HOME the journal's folder), logged in as demo: Start, then
// batch-invoices.csv dropped into batch/in and filed by a pass, View History open.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

int demoBatch(QApplication& app, const QString& folder)
{
    MainWindowFixture f(MainWindowFixture::OnDemo{folder});
    f.setClock(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    frmmain& w = f.showAfterLogin(QStringLiteral("demo"));
    const qsizetype before = f.posted();
    QTimer::singleShot(200, &w, [&] {
        w.m_ui->CommandStart->click();
        if (!QFile::copy(folder + QStringLiteral("/batch-invoices.csv"),
                         folder + QStringLiteral("/batch/in/batch-invoices.csv"))) {
            std::fprintf(stderr, "batch-invoices.csv could not be copied into batch/in\n");
            app.exit(1);
            return;
        }
        w.m_ui->Command2->click();
        w.Timer1.tick();
        w.Timer1.tick();
        for (int tick = 0; tick < 3 && f.posted() == before; ++tick) {
            f.advanceClock(60);
            w.Timer2.tick();
        }
        w.Timer1.tick();
        f.advanceClock(12);
        w.Timer3.tick();
        if (f.posted() != before + 2) {
            std::fprintf(stderr, "the pass posted %d documents, not 2\n", int(f.posted() - before));
            app.exit(1);
        }
    });
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    const bool demo = argc > 2 && qstrcmp(argv[1], "--demo") == 0;
    QTemporaryDir hives;
    if (!demo) {
        qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
        qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    }
    QApplication app(argc, argv);
    if (!MainWindowFixture::registerLibraries()) {
        std::fprintf(stderr, "the package stand-in or the user-control library is not built\n");
        return 2;
    }
    if (demo)
        return demoBatch(app, QString::fromLocal8Bit(argv[2]));
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
