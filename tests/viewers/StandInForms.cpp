#include "tests/viewers/StandInForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>

using forms::DefaultInstance;

void StandInMainWindow::formLoad()
{
    // The version code as the main window's load shows it.
    corvelVersion = QStringLiteral("V") + settings::readSetting(QStringLiteral("VorlenVersion")).left(2);
}

void StandInSettingsForm::formLoad()
{
    datapath = settings::readSetting(QStringLiteral("VorlenDataPath"));
    hiddenVersion = settings::readSetting(QStringLiteral("VorlenVersion"));
    companyName = settings::readSetting(QStringLiteral("VorlenCompanyName"));
    userName = settings::readSetting(QStringLiteral("VorlenUsername"));
    password = settings::readSetting(QStringLiteral("VorlenPassword"));
}

void registerStandInForms(session::ProgramSession& s)
{
    using session::defaultInstanceOf;
    s.mainWindow().form.install(defaultInstanceOf<importer::MainWindowView, StandInMainWindow>());
    s.settingsForm().form.install(defaultInstanceOf<importer::SettingsFormView, StandInSettingsForm>());
}

void unloadAllForms()
{
    // The main window's unload order: the import log before the error list.
    DefaultInstance<frmErrors>::unload();
    DefaultInstance<FrmErrlog>::unload();
    DefaultInstance<StandInSettingsForm>::unload();
    DefaultInstance<StandInMainWindow>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
