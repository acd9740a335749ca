#pragma once

#include "app/session/ForwardingViews.h"

#include <cstdint>

// The settings form's option boxes as the layout editor reads them: their state at
// the moment of the call, saved or not, so the editor's lists and checks follow
// what the user has just ticked there. The settings form implements it; whoever
// builds that form installs its default instance as the resolver:
//   setup::settingsOptionsForm().install(session::defaultInstanceOf<setup::SettingsOptions, frmSettings>());
// Each call resolves the form anew (loading it hidden when it is not loaded); with
// no resolver installed a call raises std::logic_error, a wiring fault.
namespace setup {

class SettingsOptions
{
public:
    virtual ~SettingsOptions() = default;
    // Check box values: 0 unticked, 1 ticked (2 grey).
    virtual int cbxCashWithInvoice() const = 0;
    virtual int cbximporttransno() const = 0;
    // The program-wide import mode (the session's ImportState, pass.ImportToSop):
    // 1 = sales orders, 0 = invoices. The settings form sets it from its Import to
    // SOP box when it loads and on every click of that box.
    virtual int16_t ImportToSop() const = 0;
};

inline session::ViewResolver<SettingsOptions>& settingsOptionsForm()
{
    static session::ViewResolver<SettingsOptions> resolver{"frmSettings"};
    return resolver;
}

// The options as they stand now.
inline const SettingsOptions& settingsOptions()
{
    return settingsOptionsForm()();
}

} // namespace setup
