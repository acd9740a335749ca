// Quillar: validates sales-document import files and posts them into the
// accounting package's company data.
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "app/session/ProgramSession.h"
#include "app/setup/SetupForms.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/WidgetFileDialogService.h"
#include "platform/forms/WidgetMessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

namespace {

// What the login form sets on the main window before showing it; here until the
// login form exists.
void prepareMainWindow(frmmain& mainWindow)
{
    mainWindow.m_ui->lblTarnbyVersion->setText(session::ProgramSession::versionText());
    mainWindow.m_ui->LblUserloggedin->setText(settings::readSetting(QStringLiteral("QuillarLogin")));
    mainWindow.setMnuFileStartImportEnabled(false);
    mainWindow.setMnuFileViewErrorsEnabled(false);
    const bool companyChosen = !settings::readSetting(QStringLiteral("VorlenDataPath")).isEmpty();
    mainWindow.setMnuFilenewEnabled(companyChosen);
    mainWindow.setToolbarButtonEnabled(1, companyChosen);
    mainWindow.setErrorsFoundIMG(true, true);
    mainWindow.setNoErrorFoundIMG(false, true);
    mainWindow.setImgRedVisible(false);
}

} // namespace

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

    // The main window is loaded (its load reads the settings and shows the package
    // version), then shown; the login form comes before it once it exists. The
    // standard --version and --help are answered once the window has loaded, so
    // that "quillar --version" also shows that the program comes up.
    frmmain& mainWindow = forms::DefaultInstance<frmmain>::get();
    prepareMainWindow(mainWindow);
    QCommandLineParser options;
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);
    mainWindow.show();
    return app.exec();
}
