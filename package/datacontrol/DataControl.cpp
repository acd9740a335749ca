#include "package/datacontrol/DataControl.h"

#include "package/company/LedgerError.h"
#include "package/listwindow/ListMessages.h"

#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace vldata {

namespace {

constexpr int32_t Failed = int32_t(0x80004005u);

struct TableName
{
    const char* name;
    company::Table table;
};
const TableName tables[] = {
    {"customers", company::Table::Customers},
    {"products", company::Table::Products},
    {"nominals", company::Table::Nominals},
    {"banks", company::Table::Banks},
};

// The field's layout by its kind: text fields are 60 characters wide in the package.
void describe(company::FieldKind kind, Field& f)
{
    using K = company::FieldKind;
    switch (kind) {
    case K::Integer: f.sqlType = vllist::sql::SmallInt; f.size = 2; break;
    case K::Long:
    case K::DocNumber: f.sqlType = vllist::sql::Integer; f.size = 4; break;
    case K::Byte: f.sqlType = vllist::sql::TinyInt; f.size = 1; break;
    case K::Double: f.sqlType = vllist::sql::Double; f.size = 8; f.decimalPlaces = 2; break;
    case K::Bool: f.sqlType = vllist::sql::Bit; f.size = 1; break;
    case K::Date: f.sqlType = vllist::sql::Timestamp; f.size = 16; break;
    case K::Text: f.sqlType = vllist::sql::Varchar; f.size = 60; break;
    }
}

const automation::MemberTable<DataControl>& table()
{
    static const auto t =
        automation::MemberTable<DataControl>()
            .property(1, "DatabaseName", [](DataControl& d, automation::Args&) { return basic::Variant(d.m_databaseName); },
                      [](DataControl& d, automation::Args&, const basic::Variant& v) { d.m_databaseName = basic::CStr(v); })
            .property(2, "RecordSource", [](DataControl& d, automation::Args&) { return basic::Variant(d.m_recordSource); },
                      [](DataControl& d, automation::Args&, const basic::Variant& v) { d.m_recordSource = basic::CStr(v); })
            .method(3, "Refresh", [](DataControl& d, automation::Args&) {
                QString error;
                if (!d.open(d.m_databaseName, d.m_recordSource, error))
                    throw basic::RuntimeError(3024, error, QStringLiteral("Data"));
                return basic::Variant();
            });
    return t;
}

} // namespace

DataControl::DataControl() = default;
DataControl::~DataControl() = default;

automation::DispId DataControl::idOfName(const QString& name) const { return table().idOfName(name); }
basic::Variant DataControl::invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                                   const basic::Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

bool DataControl::open(const QString& ledgerFile, const QString& recordSource, QString& error)
{
    const TableName* source = nullptr;
    for (const auto& t : tables)
        if (recordSource.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            source = &t;
    if (!source) {
        error = QStringLiteral("\"%1\" is no table of the company data").arg(recordSource);
        return false;
    }
    try {
        const auto ledger = company::Ledger::open(ledgerFile);
        std::vector<std::vector<QVariant>> records;
        std::vector<QVariant> record;
        int64_t rowId = 0;
        while (ledger->next(source->table, rowId, record))
            records.push_back(record);
        const company::FieldSet& set = company::fieldsOf(source->table);
        m_fields.clear();
        for (int i = 0; i < set.size(); ++i)
            m_fields.push_back(set.at(i));
        m_records = std::move(records);
    } catch (const company::LedgerError& e) {
        error = e.message();
        return false;
    }
    m_databaseName = ledgerFile;
    m_recordSource = recordSource;
    m_position = 0;
    m_layout.reset();
    return true;
}

int32_t DataControl::IsEOF(uint8_t& eof) const
{
    eof = m_position >= int32_t(m_records.size()) ? 1 : 0;
    return 0;
}

int32_t DataControl::GetFieldLayout(std::shared_ptr<FieldLayout>& layout)
{
    if (m_fields.empty())
        return Failed; // not opened
    if (!m_layout) {
        m_layout = std::make_shared<FieldLayout>();
        for (const auto& def : m_fields) {
            Field f;
            f.name = def.name;
            describe(def.kind, f);
            m_layout->m_fields.push_back(f);
        }
    }
    layout = m_layout;
    return 0;
}

int32_t DataControl::GetRecordCount(int32_t& count) const
{
    if (m_fields.empty())
        return Failed;
    count = int32_t(m_records.size());
    return 0;
}

int32_t DataControl::MoveToRecord(int32_t recordNumber)
{
    m_position = std::clamp(recordNumber - 1, 0, int32_t(m_records.size()));
    return 0;
}

int32_t DataControl::MoveToFirstRecord()
{
    m_position = 0;
    return 0;
}

int32_t DataControl::MoveToNextRecord()
{
    m_position = std::min(m_position + 1, int32_t(m_records.size()));
    return 0;
}

int32_t DataControl::FindRecord(const basic::Variant& text, const basic::Variant& fieldName,
                                const basic::Variant& startRow, const basic::Variant& exact, int32_t& result) const
{
    result = -1;
    int column = -1;
    const QString name = basic::CStr(fieldName);
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            column = int(i);
    if (column < 0)
        return Failed;
    const QString wanted = basic::CStr(text);
    const bool whole = basic::CBool(exact);
    for (int32_t r = std::max(0, basic::CLng(startRow)); r < int32_t(m_records.size()); ++r) {
        const QString value = m_records[size_t(r)][size_t(column)].toString();
        if (whole ? value.compare(wanted, Qt::CaseInsensitive) == 0 : value.startsWith(wanted, Qt::CaseInsensitive)) {
            result = r;
            return 0;
        }
    }
    return 0;
}

int32_t DataControl::ReadRecord(int32_t& status)
{
    status = 0;
    std::shared_ptr<FieldLayout> layout;
    if (GetFieldLayout(layout) < 0 || m_position >= int32_t(m_records.size()))
        return Failed;
    const auto& record = m_records[size_t(m_position)];
    for (size_t i = 0; i < layout->m_fields.size() && i < record.size(); ++i)
        layout->m_fields[i].value = record[i];
    return 0;
}

} // namespace vldata
