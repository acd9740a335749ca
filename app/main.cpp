// Quillar: validates sales-document import files and posts them into the
// accounting package's company data.
#include "app/mainwindow/MainWindowForms.h"
#include "app/session/ProgramSession.h"
#include "app/setup/SetupForms.h"
#include "app/setup/frmLogin.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/WidgetFileDialogService.h"
#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(forms::ProgramTitle));
    const session::ProgramVersion v = session::ProgramSession::version();
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision));
    // The program ends only through the login form's unload (forms::End), never
    // because its last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    // The command line is read before anything is loaded: --version and --help
    // answer and end the program, and so does an unknown option, with a message.
    QCommandLineParser options;
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);

    // The session comes before any form, and outlives them all.
    session::ProgramSession programSession;
    forms::setMessageService(std::make_unique<forms::WidgetMessageService>());
    forms::setFileDialogService(std::make_unique<forms::WidgetFileDialogService>());
    forms::setEndFunction([&programSession](int exitCode) {
        programSession.releaseKeptObjects();
        forms::endProcess(exitCode);
    });
    mainwindow::registerForms(programSession);
    setup::registerForms(programSession);

    // The start-up form: its load prepares the main window hidden (or, when the
    // configured folder is missing, ends the program); then it is shown.
    frmLogin& login = forms::DefaultInstance<frmLogin>::get();
    if (login.isUnloaded())
        return 0;
    login.show();
    return app.exec();
}
