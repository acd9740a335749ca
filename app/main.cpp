// Quillar: validates sales-document import files and posts them into the
// accounting package's company data.
#include "app/mainwindow/MainWindowForms.h"
#include "app/session/ProgramSession.h"
#include "app/setup/SetupForms.h"

#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/WidgetFileDialogService.h"
#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillar"));
    const session::ProgramVersion v = session::ProgramSession::version();
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision));

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

    // The windows (login, main window, batch upload, settings, layout editor) are
    // not built yet; until they are, the program only reports what it would open.
    QTextStream out(stdout);
    const QString company = qEnvironmentVariable("QUILLAR_DEMO_COMPANY");
    out << "Quillar " << QApplication::applicationVersion() << "\n";
    if (!company.isEmpty())
        out << "Company data folder: " << company << "\n";
    out << "The windows of the program are not built yet: the import runs in the tests "
           "and the benchmarks only.\n";
    return 0;
}
