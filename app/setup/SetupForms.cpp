#include "app/setup/SetupForms.h"

#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"
#include "app/setup/frmSettings.h"

namespace setup {

void registerForms(session::ProgramSession& session)
{
    session.settingsForm().form.install(
        session::defaultInstanceOf<importer::SettingsFormView, frmSettings>());
}

} // namespace setup
