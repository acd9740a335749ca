#include "package/listwindow/CellStorage.h"

#include "package/datetime/TimeStamp.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vllist {

int32_t sizeFromSqlType(int16_t sqlType, int32_t maxLength)
{
    switch (sqlType) {
    case sql::Integer: return 4;
    case sql::SmallInt: return 2;
    case sql::Float: return 4;
    case sql::Double: return 8;
    case sql::Timestamp:
    case sql::DateTime: return int32_t(sizeof(vldt::TimeStamp));
    case sql::Bit: return 1;
    default: return std::max(0, maxLength);
    }
}

bool isTextType(int16_t sqlType)
{
    switch (sqlType) {
    case sql::Integer: case sql::SmallInt: case sql::Float: case sql::Double:
    case sql::Timestamp: case sql::DateTime: case sql::Bit:
        return false;
    default:
        return true;
    }
}

namespace {

template <class T>
T readRaw(const void* data, int32_t size)
{
    T v{};
    std::memcpy(&v, data, std::min<size_t>(sizeof(T), size_t(std::max(0, size))));
    return v;
}

template <class T>
void writeRaw(T v, void* data, int32_t size)
{
    std::memcpy(data, &v, std::min<size_t>(sizeof(T), size_t(std::max(0, size))));
}

// The shortest text that reads back as the same value in the type's own width.
template <class T>
QString exactText(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, qsizetype(result.ptr - buffer));
}

template <class T>
T exactValue(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    T value{};
    const auto result = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (result.ec == std::errc() && result.ptr == bytes.constData() + bytes.size())
        return value;
    return T(basic::parseNumber(text).value_or(0.0));
}

} // namespace

bool isFloatingType(int16_t sqlType) { return sqlType == sql::Float || sqlType == sql::Double; }

QString displayText(const ColumnDefinition& column, const QString& stored)
{
    if (!isFloatingType(column.sqlType) || stored.isEmpty())
        return stored;
    const auto number = basic::parseNumber(stored);
    return number ? QString::number(*number, 'f', std::clamp<int>(column.decimalPlaces, 0, 15)) : stored;
}

int32_t slotSize(const ColumnDefinition& column)
{
    const int32_t maxLength = int32_t(column.bufferSize) - 1;
    return sizeFromSqlType(column.sqlType, maxLength) + (isTextType(column.sqlType) ? 1 : 0);
}

QString textFromStorage(const ColumnDefinition& column, const void* data, int32_t size)
{
    if (!data || size <= 0)
        return {};
    switch (column.sqlType) {
    case sql::Integer: return QString::number(readRaw<int32_t>(data, size));
    case sql::SmallInt: return QString::number(readRaw<int16_t>(data, size));
    case sql::Bit: return QString::number(readRaw<uint8_t>(data, size));
    // Kept whole; only the display rounds to the column's decimal places.
    case sql::Float: return exactText(readRaw<float>(data, size));
    case sql::Double: return exactText(readRaw<double>(data, size));
    case sql::Timestamp:
    case sql::DateTime: {
        double serial = 0;
        if (!vldt::dateFromTimeStamp(readRaw<vldt::TimeStamp>(data, size), serial))
            return {};
        return basic::formatDate(basic::DateValue{serial});
    }
    default: {
        // The slot's last byte is its terminating zero, never a character.
        const char* text = static_cast<const char*>(data);
        return QString::fromLatin1(text, qsizetype(strnlen(text, size_t(size - 1))));
    }
    }
}

void storageFromText(const ColumnDefinition& column, const QString& text, void* data, int32_t size)
{
    if (!data || size <= 0)
        return;
    std::memset(data, 0, size_t(size));
    const double number = basic::parseNumber(text.trimmed()).value_or(0.0);
    switch (column.sqlType) {
    case sql::Integer: writeRaw(int32_t(std::clamp(number, -2147483648.0, 2147483647.0)), data, size); return;
    case sql::SmallInt: writeRaw(int16_t(std::clamp(number, -32768.0, 32767.0)), data, size); return;
    case sql::Bit: writeRaw(uint8_t(number != 0 ? 1 : 0), data, size); return;
    case sql::Float: writeRaw(exactValue<float>(text), data, size); return;
    case sql::Double: writeRaw(exactValue<double>(text), data, size); return;
    case sql::Timestamp:
    case sql::DateTime: {
        vldt::TimeStamp stamp;
        if (const auto date = basic::parseDate(text.trimmed()))
            vldt::timeStampFromDate(date->serial, stamp);
        writeRaw(stamp, data, size);
        return;
    }
    default: {
        const QByteArray bytes = text.toLatin1();
        std::memcpy(data, bytes.constData(), std::min<size_t>(size_t(bytes.size()), size_t(size - 1)));
        return;
    }
    }
}

} // namespace vllist
