#include "app/mainwindow/MainWindowForms.h"

#include "app/session/ProgramSession.h"

namespace mainwindow {

void registerForms(session::ProgramSession&)
{
    // No form of this library is built yet.
}

} // namespace mainwindow
