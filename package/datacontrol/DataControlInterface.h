#pragma once

#include "platform/basic/Variant.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

// The data control's interface ({FDE0EE33-459D-432A-A250-A7EF14F4ED29}) as the bound
// list and grid call it, and the field layout it gives. A control reaches it by
// asking the object set as its data source for it (dynamic_cast); an object that
// does not implement it is no data control.
namespace vldata {

inline constexpr const char* DataControlInterfaceId = "{FDE0EE33-459D-432A-A250-A7EF14F4ED29}";

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
    Field* field(int32_t position)
    {
        return position >= 0 && position < count() ? &m_fields[size_t(position)] : nullptr;
    }
    Field* field(const QString& name)
    {
        for (Field& f : m_fields)
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                return &f;
        return nullptr;
    }
    // A dotted path through nested layouts ("ADDRESS.LINE1"); null when any part is missing.
    Field* fieldByPath(const QString& path)
    {
        FieldLayout* layout = this;
        Field* found = nullptr;
        for (const QString& part : path.split(QLatin1Char('.'))) {
            if (!layout)
                return nullptr;
            found = layout->field(part);
            if (!found)
                return nullptr;
            layout = found->nested.get();
        }
        return found;
    }

    std::vector<Field> m_fields;
};

// The operations the controls call, each returning a status: negative is a failure.
class DataControlInterface
{
public:
    virtual ~DataControlInterface() = default;

    virtual int32_t IsEOF(uint8_t& eof) const = 0;
    virtual int32_t GetFieldLayout(std::shared_ptr<FieldLayout>& layout) = 0;
    virtual int32_t GetRecordCount(int32_t& count) const = 0;
    virtual int32_t MoveToRecord(int32_t recordNumber) = 0; // from 1
    virtual int32_t MoveToFirstRecord() = 0;
    virtual int32_t MoveToNextRecord() = 0;
    virtual int32_t FindRecord(const basic::Variant& text, const basic::Variant& fieldName,
                               const basic::Variant& startRow, const basic::Variant& exact, int32_t& result) const = 0;
    // Fills the layout's values from the current record; bit 0 of `status` is set
    // for a deleted record.
    virtual int32_t ReadRecord(int32_t& status) = 0;
};

} // namespace vldata
