#include "platform/settings/SettingsStore.h"

#include "platform/registry/RegistryStore.h"

#include <QLoggingCategory>

#include <mutex>
#include <set>

namespace settings {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "quillar.settings")

// A hive that cannot be read is reported once per kind of failure; reads go on
// with the callers' defaults and nothing replaces the file.
void reportOnce(registry::Status status)
{
    static std::mutex mutex;
    static std::set<QString> reported;
    const QString text = registry::statusText(status, registry::Hive::CurrentUser);
    std::lock_guard lock(mutex);
    if (reported.insert(text).second)
        qCWarning(lcSettings).noquote() << "Settings cannot be read:" << text;
}

} // namespace

QString settingsKeyPath(const QString& application, const QString& section)
{
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + application + u'\\' + section;
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    if (application.isEmpty() || section.isEmpty() || key.isEmpty())
        return defaultValue;
    registry::Value value;
    const registry::Status status =
        registry::readValue(registry::Hive::CurrentUser, settingsKeyPath(application, section), key, value);
    if (status == registry::InvalidData || status == registry::AccessDenied)
        reportOnce(status);
    if (status != registry::Success || value.type != registry::ValueType::String)
        return defaultValue;
    return value.string;
}

bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value)
{
    if (application.isEmpty() || section.isEmpty() || key.isEmpty())
        return false;
    std::optional<registry::Key> k;
    registry::Status status =
        registry::createKey(registry::Hive::CurrentUser, settingsKeyPath(application, section), k);
    if (status == registry::Success)
        status = k->setValue(key, registry::Value::fromString(value));
    if (status != registry::Success) {
        qCWarning(lcSettings).noquote()
            << "The setting" << key
            << "was not saved:" << registry::statusText(status, registry::Hive::CurrentUser);
        return false;
    }
    return true;
}

QString readSetting(const QString& key, const QString& defaultValue)
{
    return GetSetting(QLatin1String(ApplicationName), QLatin1String(SectionName), key, defaultValue);
}

bool writeSetting(const QString& key, const QString& value)
{
    return SaveSetting(QLatin1String(ApplicationName), QLatin1String(SectionName), key, value);
}

const std::vector<KeyInfo>& knownKeys()
{
    // Spellings are the ones the keys are saved under; readers that spell them
    // otherwise find the same value because names compare without regard to case.
    static const std::vector<KeyInfo> keys = {
        {"VorlenCompanyName", "", "txthiddencompanyname"},
        {"VorlenVersion", "", "TxtHiddenVersion"},
        {"VorlenProgramPath", "", "Vorlenpath"},
        {"VorlenDataPath", "", "TxtDatapath"},
        {"pellmoorconfigdir", "", "TxtConfigPath"},
        {"VorlenUsername", "", "txtUserName"},
        {"VorlenPassword", "", "txtPassword"},
        {"ImportHeaders", "0", "chxColumn"},
        {"CheckFileFormat", "0", "CbxFileFormat"},
        {"CheckRndQty", "0", "cbxrndqty"},
        {"CheckRndPrice", "0", "Cbxrndprice"},
        {"CheckCustomerPricing", "0", "CbxCustomerPricing"},
        {"CheckSettlementDiscount", "0", "CbxSettlementDiscount"},
        {"CheckCarriageCharge", "0", "CbxCarriageCharge"},
        {"CheckDeliveryAddress", "0", "cbxdeliveryaddress"},
        {"Checkfcprice", "0", "cbxfcprice"},
        {"Checkcashwithinvoice", "0", "cbxCashWithInvoice"},
        {"iors", "0", "CbxImportToSop"},
        {"OverrideVorlenProductDescription", "0", "Cbxoverridevorlenproductdescription"},
        {"TakeVorlenPriceIfPriceZEro", "0", "Cbxtakevorlenpriceifpricezero"},
        {"ImportTransno", "0", "cbximporttransno"},
        {"BatchUpdateEnabled", "0", "CheckEnableTranImport"},
        {"BatchSourcePath", "", "TextSourcePath"},
        {"BatchErrorlogPath", "", "TextErrorLogPath"},
        {"BatchSuccessPath", "", "TextSuccessPath"},
        {"BatchInterval", "", "TextInterval"},
        {"QuillarLogin", "", "txtUserName", "frmLogin"},
        {"QuillarPassword", "", "txtPassword", "frmLogin"},
        {"DefaultPrinter", "", "", ""},
        {"ImportPath", "", "", ""},
    };
    return keys;
}

const KeyInfo* findKnownKey(const QString& key)
{
    for (const KeyInfo& info : knownKeys()) {
        if (key.compare(QLatin1String(info.key), Qt::CaseInsensitive) == 0)
            return &info;
    }
    return nullptr;
}

} // namespace settings
