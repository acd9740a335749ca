#include "controls/listgrid/RowPacking.h"

#include "controls/listgrid/Columns.h"

#include "package/datetime/TimeStamp.h"
#include "package/listwindow/CellStorage.h"

#include "platform/basic/Dates.h"

#include <QDate>
#include <QDateTime>

#include <cstring>

namespace listgrid {

namespace {

template <class T>
void put(char* slot, int32_t size, T value)
{
    std::memcpy(slot, &value, size_t(std::min<int32_t>(size, int32_t(sizeof value))));
}

bool hasField(const QString& dataField)
{
    return !dataField.isEmpty() && dataField != QLatin1String("None");
}

} // namespace

std::vector<char> rowBuffer(const CColumns& columns)
{
    size_t bytes = 0;
    for (const auto& column : columns.items())
        bytes += size_t(vllist::slotSize(column->definition()));
    return std::vector<char>(bytes, char(0));
}

void packValue(const QVariant& value, int16_t dataType, char* slot, int32_t size)
{
    if (!value.isValid() || value.isNull() || size <= 0)
        return;
    bool ok = true;
    switch (dataType) {
    case lstDataLong: {
        const int32_t v = value.toInt(&ok);
        if (ok)
            put(slot, size, v);
        break;
    }
    case lstDataInteger: {
        const int v = value.toInt(&ok);
        if (ok && v >= INT16_MIN && v <= INT16_MAX)
            put(slot, size, int16_t(v));
        break;
    }
    case lstDataDouble: {
        const double v = value.toDouble(&ok);
        if (ok)
            put(slot, size, v);
        break;
    }
    case lstDataSingle: {
        const float v = value.toFloat(&ok);
        if (ok)
            put(slot, size, v);
        break;
    }
    case lstDataDate: {
        QDateTime when = value.toDateTime();
        if (!when.isValid())
            when = QDateTime(value.toDate(), QTime(0, 0));
        vldt::TimeStamp stamp;
        if (when.isValid() && vldt::timeStampFromDate(basic::fromQDateTime(when).serial, stamp))
            put(slot, size, stamp);
        break;
    }
    case lstDataBit:
        put(slot, size, uint8_t(value.toBool() ? 1 : 0));
        break;
    default: {
        // The text in the window's code page, cut to leave its zero inside the slot.
        const QByteArray text = value.toString().toLatin1().left(size - 1);
        std::memcpy(slot, text.constData(), size_t(text.size()));
        slot[text.size()] = 0;
        break;
    }
    }
}

void packRecord(const CColumns& columns, vldata::FieldLayout& layout, std::vector<char>& row)
{
    size_t offset = 0;
    for (const auto& column : columns.items()) {
        const int32_t size = vllist::slotSize(column->definition());
        if (offset + size_t(size) > row.size())
            return;
        const ColumnSettings& s = column->settings();
        if (hasField(s.dataField))
            if (const vldata::Field* field = layout.fieldByPath(s.dataField))
                packValue(field->value, s.dataType, row.data() + offset, size);
        offset += size_t(size);
    }
}

} // namespace listgrid
