#include "app/mainwindow/OtherForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmAbout.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmLogin.h"
#include "app/setup/frmSettings.h"
#include "app/setup/frmSplash.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"

namespace mainwindow::otherforms {

using forms::DefaultInstance;

void showSettings(QWidget* owner)
{
    DefaultInstance<frmSettings>::get().showModal(owner);
    DefaultInstance<frmSettings>::get();
}

void showAbout(QWidget* owner)
{
    DefaultInstance<frmAbout>::get().showModal(owner);
}

void showAboutModeless()
{
    DefaultInstance<frmAbout>::get().show();
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
    DefaultInstance<frmSplash>::unload();
    DefaultInstance<frmSettings>::unload();
    DefaultInstance<frmErrors>::unload();
    DefaultInstance<FrmErrlog>::unload();
    DefaultInstance<FrmFileStructure>::unload();
    DefaultInstance<frmAbout>::unload();
    DefaultInstance<frmDirPath>::unload();
}

void unloadLogin()
{
    // The login form's unload ends the program. A main window opened without it (a
    // test of the window alone) ends the program itself.
    if (DefaultInstance<frmLogin>::exists())
        DefaultInstance<frmLogin>::unload();
    else
        forms::End(0);
}

} // namespace mainwindow::otherforms
