// The main window after a whole import of a small file, for a picture of it:
//   scripts/screenshot build/dev/bin/mainwindow_afterimport shot.png [size-file [history]]
// Runs on hives and a company of its own; writes "<width>x<height>" of the window
// into size-file once the import is done, then waits to be ended. With "history"
// the batch history frame is shown too (View History).
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "app/mainwindow/frmErrors.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/widgets/ToolBar.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QTemporaryDir hives;
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    QApplication app(argc, argv);
    const QString sizeFile = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool history = argc > 2 && qstrcmp(argv[2], "history") == 0;
    if (!MainWindowFixture::registerLibraries()) {
        std::fprintf(stderr, "the package stand-in or the user-control library is not built\n");
        return 2;
    }
    MainWindowFixture f;
    frmmain& w = f.showAfterLogin();

    QTimer::singleShot(200, &w, [&] {
        f.writeFile(QStringLiteral("December-Orders.csv"), invoiceLines(4));
        f.dialogs.service().queueFile(f.path(QStringLiteral("December-Orders.csv")));
        w.tbToolBar->click(1);
        f.boxes.service().queueAnswer(forms::AnswerYes); // "Proceed with invoice import?"
        w.tbToolBar->click(2);
        if (f.posted() != 4) {
            std::fprintf(stderr, "the import posted %d documents, not 4\n", int(f.posted()));
            app.exit(1);
            return;
        }
        // The import log opened beside the window: the picture is of the window alone.
        forms::DefaultInstance<frmErrors>::get().hide();
        if (history)
            w.Command2_Click();
        if (!sizeFile.isEmpty()) {
            QFile out(sizeFile);
            if (out.open(QIODevice::WriteOnly))
                out.write(QStringLiteral("%1x%2").arg(w.frameGeometry().width()).arg(w.frameGeometry().height()).toLatin1());
        }
    });
    return app.exec();
}
