#include "app/mainwindow/OtherForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/StandInForms.h"
#include "app/mainwindow/frmErrors.h"
#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"

// Until the settings and About forms land, their stand-ins (StandInForms.h) are
// what opens; the splash, the layout editor, the folder picker and the login
// form do not exist yet, so there is nothing of them to unload.
namespace mainwindow::otherforms {

using forms::DefaultInstance;

void showSettings(QWidget* owner)
{
    DefaultInstance<StandInSettings>::get().showModal(owner);
    DefaultInstance<StandInSettings>::get();
}

void showAbout(QWidget* owner)
{
    DefaultInstance<StandInAbout>::get().showModal(owner);
}

void showAboutModeless()
{
    DefaultInstance<StandInAbout>::get().show();
}

void showImportLog(QWidget* owner)
{
    DefaultInstance<frmErrors>::get().showModal(owner);
}

void showErrorList(QWidget* owner)
{
    DefaultInstance<FrmErrlog>::get().Form::showModal(owner);
}

void unloadOthers()
{
    DefaultInstance<StandInSettings>::unload();
    DefaultInstance<frmErrors>::unload();
    DefaultInstance<FrmErrlog>::unload();
    DefaultInstance<StandInAbout>::unload();
}

void unloadLogin()
{
    forms::End(0);
}

void registerStandIns(session::ProgramSession& s)
{
    using session::defaultInstanceOf;
    s.settingsForm().form.install(defaultInstanceOf<importer::SettingsFormView, StandInSettings>());
}

} // namespace mainwindow::otherforms
