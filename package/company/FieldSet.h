#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace company {

// The kinds of value a field of the ledger holds. Inside the ledger a value is a
// QVariant: QString (Text), int (Integer, Long, Byte, DocNumber), double, bool, QDate;
// an invalid QVariant is a value never set (reads as empty).
enum class FieldKind
{
    Text,
    Integer,
    Long,
    Byte,
    Double,
    Bool,
    Date,
    DocNumber
};

struct FieldDef
{
    QString name; // upper case, as the engine names it
    FieldKind kind;
    QVariant initial; // the value of a field nobody set
};

// An ordered set of fields, looked up by name without regard to case.
class FieldSet
{
public:
    FieldSet() = default;
    FieldSet& add(const char* name, FieldKind kind, QVariant initial = {});
    FieldSet& addRange(const char* prefix, int from, int to, FieldKind kind, QVariant initial = {},
                       const char* suffix = "");

    // The index of a field, or -1.
    int indexOf(const QString& name) const;
    int size() const { return int(m_fields.size()); }
    const FieldDef& at(int i) const { return m_fields[size_t(i)]; }
    std::vector<QVariant> initialValues() const;

private:
    std::vector<FieldDef> m_fields;
    QHash<QString, int> m_index;
};

// A value converted to a field's kind. Returns nullopt when it does not convert.
std::optional<QVariant> coerce(const QVariant& value, FieldKind kind);

// The field sets of each record and object the engine serves.
namespace fields {
const FieldSet& customer();      // SalesRecord, key ACCOUNT_REF
const FieldSet& product();       // StockRecord, key STOCK_CODE
const FieldSet& nominal();       // NominalRecord, key ACCOUNT_REF
const FieldSet& bank();          // BankRecord, key ACCOUNT_REF
const FieldSet& price();         // PriceRecord, key ACCOUNT_REF + STOCK_CODE
const FieldSet& delivery();      // SalesDeliveryRecord, key ACCOUNT_REF
const FieldSet& currency();      // CurrencyData, record = currency number + 1
const FieldSet& setup();         // SetupData
const FieldSet& control();       // ControlData
const FieldSet& invoiceHeader(); // InvoicePost header and InvoiceRecord
const FieldSet& orderHeader();   // SOPPost header and SOPRecord
const FieldSet& item();          // item lines of both posting objects
} // namespace fields

} // namespace company
