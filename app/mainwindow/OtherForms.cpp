#include "app/mainwindow/OtherForms.h"

#include "app/mainwindow/StandInForms.h"
#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"

// Until the settings, About and log forms land, their stand-ins (StandInForms.h)
// are what opens; the splash, the layout editor, the folder picker and the login
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
    DefaultInstance<StandInImportLog>::get().showModal(owner);
}

void showErrorList(QWidget* owner)
{
    DefaultInstance<StandInErrorList>::get().Form::showModal(owner);
}

void unloadOthers()
{
    DefaultInstance<StandInSettings>::unload();
    DefaultInstance<StandInImportLog>::unload();
    DefaultInstance<StandInErrorList>::unload();
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
    s.importLog().form.install(defaultInstanceOf<importer::ImportLogView, StandInImportLog>());
    s.errorList().form.install(defaultInstanceOf<importer::ErrorListView, StandInErrorList>());
}

} // namespace mainwindow::otherforms
