#pragma once

namespace session {
class ProgramSession;
}

// The forms of the start-up library: start-up and login, the settings form, the
// layout editor, the company list, the installation search, the folder picker, the
// splash and About boxes.
namespace setup {

// Installs this library's forms into the session's views (frmSettings); main()
// calls it once the session is made.
void registerForms(session::ProgramSession& session);

} // namespace setup
