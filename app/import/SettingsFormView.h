#pragma once

#include "platform/settings/SettingsStore.h"

#include <QString>

// The boxes of the settings form (frmSettings) that the import reads through the
// form's default instance: reading loads the form hidden with the stored values.
namespace importer {

class SettingsFormView
{
public:
    virtual ~SettingsFormView() = default;
    virtual QString txtDatapath() const = 0;
    virtual void setTxtDatapath(const QString& text) = 0;
    virtual QString txtHiddenVersion() const = 0;
    virtual QString txthiddencompanyname() const = 0;
    virtual QString txtUserName() const = 0;
    virtual QString txtPassword() const = 0;
    // Check box values: 0 unticked, 1 ticked, 2 grey.
    virtual int cbxCustomerPricing() const = 0;
    virtual int cbxoverridevorlenproductdescription() const = 0;
    virtual int cbxtakevorlenpriceifpricezero() const = 0;
    // The batch success folder box; until the form gives its own, what the form's
    // load puts there: the stored "BatchSuccessPath".
    virtual QString textSuccessPath() const { return settings::readSetting(QStringLiteral("BatchSuccessPath")); }
    // The batch source and error folder boxes the main window's load reads; the same
    // fallback to what the form's load puts there.
    virtual QString textSourcePath() const { return settings::readSetting(QStringLiteral("BatchSourcePath")); }
    virtual QString textErrorLogPath() const { return settings::readSetting(QStringLiteral("BatchErrorlogPath")); }
    // The Customer Pricing box as the main window's load sets it (shown only for the
    // versions that price by customer, unticked otherwise); a form without the box
    // ignores it.
    virtual void setCbxCustomerPricingVisible(bool) {}
    virtual void setCbxCustomerPricing(int) {}
};

} // namespace importer
