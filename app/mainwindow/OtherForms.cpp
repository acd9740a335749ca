#include "app/mainwindow/OtherForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/StandInForms.h"
#include "app/mainwindow/frmErrors.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmSettings.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"

// Until the About box lands its stand-in (StandInForms.h) is what opens; the
// splash and the login form do not exist yet, so there is nothing of them to
// unload.
namespace mainwindow::otherforms {

using forms::DefaultInstance;

void showSettings(QWidget* owner)
{
    DefaultInstance<frmSettings>::get().showModal(owner);
    DefaultInstance<frmSettings>::get();
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
    DefaultInstance<frmSettings>::unload();
    DefaultInstance<frmErrors>::unload();
    DefaultInstance<FrmErrlog>::unload();
    DefaultInstance<FrmFileStructure>::unload();
    DefaultInstance<StandInAbout>::unload();
    DefaultInstance<frmDirPath>::unload();
}

void unloadLogin()
{
    forms::End(0);
}

} // namespace mainwindow::otherforms
