// The main window after a whole import of a small file, for a picture of it:
//   scripts/screenshot build/dev/bin/mainwindow_afterimport shot.png [size-file [history]]
// Runs on hives and a company of its own; writes "<width>x<height>" of the window
// into size-file once the import is done, then waits to be ended. With "history"
// the batch history frame is shown too (View History).
//   mainwindow_afterimport --demo <folder> [errors]
// runs on the demo folder of scripts/run-demo instead (the environment names its
// hives), logged in as demo: imports invoices.csv as the README's walk-through
// does; with "errors" validates invoices-with-errors.csv and shows the error list
// and the import log it leaves.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/widgets/ToolBar.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// The walk-through's steps on the demo: Select File, Validate and, for a file that
// passes, Yes to "Proceed with invoice import?".
int demoImport(QApplication& app, const QString& folder, bool errors)
{
    MainWindowFixture f(MainWindowFixture::OnDemo{folder});
    frmmain& w = f.showAfterLogin(QStringLiteral("demo"));
    const qsizetype before = f.posted();
    QTimer::singleShot(200, &w, [&] {
        const QString file = folder + (errors ? QStringLiteral("/invoices-with-errors.csv")
                                              : QStringLiteral("/invoices.csv"));
        f.dialogs.service().queueFile(file);
        w.tbToolBar->click(1);
        if (!errors) {
            f.boxes.service().queueAnswer(forms::AnswerYes);
            w.tbToolBar->click(2);
            if (f.posted() != before + 3) {
                std::fprintf(stderr, "the import posted %d documents, not 3\n", int(f.posted() - before));
                app.exit(1);
                return;
            }
            forms::DefaultInstance<frmErrors>::get().hide();
            return;
        }
        // The error list opens modal; it is shown again beside the import log.
        ModalCloser closer;
        w.tbToolBar->click(2);
        if (f.posted() != before) {
            std::fprintf(stderr, "the failed validation posted documents\n");
            app.exit(1);
            return;
        }
        w.hide();
        FrmErrlog& list = forms::DefaultInstance<FrmErrlog>::get();
        frmErrors& log = forms::DefaultInstance<frmErrors>::get();
        log.move(10, 10);
        log.show();
        list.move(10, 480);
        list.QWidget::show();
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
        return demoImport(app, QString::fromLocal8Bit(argv[2]), argc > 3 && qstrcmp(argv[3], "errors") == 0);
    const QString sizeFile = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool history = argc > 2 && qstrcmp(argv[2], "history") == 0;
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
