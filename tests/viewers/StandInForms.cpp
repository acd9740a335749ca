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
    lblCorvelVersionText =
        QStringLiteral("V") + settings::readSetting(QStringLiteral("VorlenVersion")).left(2);
}

void StandInSettingsForm::formLoad()
{
    TxtDatapath = settings::readSetting(QStringLiteral("VorlenDataPath"));
}

QString StandInSettingsForm::txtHiddenVersion() const
{
    return settings::readSetting(QStringLiteral("VorlenVersion"));
}
QString StandInSettingsForm::txthiddencompanyname() const
{
    return settings::readSetting(QStringLiteral("VorlenCompanyName"));
}
QString StandInSettingsForm::txtUserName() const
{
    return settings::readSetting(QStringLiteral("VorlenUsername"));
}
QString StandInSettingsForm::txtPassword() const
{
    return settings::readSetting(QStringLiteral("VorlenPassword"));
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
