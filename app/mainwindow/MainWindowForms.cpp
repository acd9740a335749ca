#include "app/mainwindow/MainWindowForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"

namespace mainwindow {

void registerForms(session::ProgramSession& s)
{
    s.mainWindow().form.install(session::defaultInstanceOf<importer::MainWindowView, frmmain>());
    s.importLog().form.install(session::defaultInstanceOf<importer::ImportLogView, frmErrors>());
    s.errorList().form.install(session::defaultInstanceOf<importer::ErrorListView, FrmErrlog>());
}

} // namespace mainwindow
