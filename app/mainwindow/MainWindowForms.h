#pragma once

namespace session {
class ProgramSession;
}

// The forms of the main-window library: the main window, batch upload, status list,
// error files, the log viewers and the password change.
namespace mainwindow {

// Installs this library's forms into the session's views (frmmain, frmErrors,
// FrmErrlog); main() calls it once the session is made.
void registerForms(session::ProgramSession& session);

} // namespace mainwindow
