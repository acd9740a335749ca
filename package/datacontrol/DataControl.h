#pragma once

#include "package/company/Ledger.h"
#include "package/datacontrol/DataControlInterface.h"

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

// The data control: an automation object (DatabaseName, RecordSource, Refresh) that
// implements the interface the bound controls call.
class DataControl : public automation::Object, public DataControlInterface
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

    int32_t IsEOF(uint8_t& eof) const override;
    int32_t GetFieldLayout(std::shared_ptr<FieldLayout>& layout) override;
    int32_t GetRecordCount(int32_t& count) const override;
    int32_t MoveToRecord(int32_t recordNumber) override; // from 1
    int32_t MoveToFirstRecord() override;
    int32_t MoveToNextRecord() override;
    // The 0-based row of the first record from `startRow` on whose field holds the
    // text (exactly, or at its start when `exact` is false); -1 when none.
    int32_t FindRecord(const basic::Variant& text, const basic::Variant& fieldName, const basic::Variant& startRow,
                       const basic::Variant& exact, int32_t& result) const override;
    // Fills the layout's values from the current record; bit 0 of `status` is set for
    // a deleted record (the ledger keeps none).
    int32_t ReadRecord(int32_t& status) override;

    QString m_databaseName;
    QString m_recordSource;

private:
    std::vector<company::FieldDef> m_fields;
    std::vector<std::vector<QVariant>> m_records;
    int32_t m_position = 0;
    std::shared_ptr<FieldLayout> m_layout;
};

} // namespace vldata
