#include "app/setup/SetupForms.h"

#include "app/session/ProgramSession.h"

namespace setup {

void registerForms(session::ProgramSession&)
{
    // No form of this library is built yet.
}

} // namespace setup
