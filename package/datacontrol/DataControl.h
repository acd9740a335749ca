#pragma once

#include "package/company/Ledger.h"

#include "platform/automation/Object.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// Stand-in of the package's data control ("Vorlen Data Control") that a form places
// beside a bound list or grid: the records of one table of a company's ledger, with
// the field layout (names, sizes, SQL types, decimal places) the controls pack rows by.
namespace vldata {

inline constexpr const char* DataControlClassId = "{6F2FED4E-BE44-43BB-ADB9-D44700277E66}";

class FieldLayout;

// One field of the current record.
class Field
{
public:
    QString name;
    QVariant value;           // invalid: no value (an empty slot)
    int32_t size = 0;         // bytes; characters for text
    int16_t sqlType = 12;
    int16_t decimalPlaces = 0;
    std::shared_ptr<FieldLayout> nested; // a field holding a record of its own
};

class FieldLayout
{
public:
    int32_t count() const { return int32_t(m_fields.size()); }
    // By position from 0, or by name without regard to case; null when none.
    Field* field(int32_t position);
    Field* field(const QString& name);
    // A dotted path through nested layouts ("ADDRESS.LINE1"); null when any part is missing.
    Field* fieldByPath(const QString& path);

    std::vector<Field> m_fields;
};

// The operations the controls call, in their order: a negative result is a failure.
class DataControl : public automation::Object
{
public:
    DataControl();
    ~DataControl() override;

    QString className() const override { return QStringLiteral("Data"); }
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override;

    // Opens the ledger file and reads every record of the table ("customers",
    // "products", "nominals", "banks"); false with `error` set when it cannot.
    bool open(const QString& ledgerFile, const QString& recordSource, QString& error);

    int32_t IsEOF(uint8_t& eof) const;
    int32_t GetFieldLayout(std::shared_ptr<FieldLayout>& layout);
    int32_t GetRecordCount(int32_t& count) const;
    int32_t MoveToRecord(int32_t recordNumber); // from 1
    int32_t MoveToFirstRecord();
    int32_t MoveToNextRecord();
    // The 0-based row of the first record from `startRow` on whose field holds the
    // text (exactly, or at its start when `exact` is false); -1 when none.
    int32_t FindRecord(const basic::Variant& text, const basic::Variant& fieldName, const basic::Variant& startRow,
                       const basic::Variant& exact, int32_t& result) const;
    // Fills the layout's values from the current record; bit 0 of `status` is set for
    // a deleted record (the ledger keeps none).
    int32_t ReadRecord(int32_t& status);

    QString m_databaseName;
    QString m_recordSource;

private:
    std::vector<company::FieldDef> m_fields;
    std::vector<std::vector<QVariant>> m_records;
    int32_t m_position = 0;
    std::shared_ptr<FieldLayout> m_layout;
};

} // namespace vldata
