#include "platform/controlframework/PropertyExchange.h"

#include "platform/basic/Conversions.h"
#include "platform/controlframework/Control.h"

namespace controlframework {

using basic::Variant;

namespace {
const QString VersionName = QStringLiteral("_Version");
}

PropertyExchange::PropertyExchange(PropertyBag& bag, Direction direction, uint32_t version)
    : m_bag(bag), m_direction(direction), m_version(version)
{
    if (isLoading())
        m_version = toOleColor(bag.read(VersionName, int32_t(0)));
    else
        m_bag.write(VersionName, int32_t(version));
}

void PropertyExchange::exchange(const QString& name, bool& value, bool defaultValue)
{
    if (isLoading())
        value = basic::CBool(m_bag.read(name, defaultValue));
    else
        m_bag.write(name, value, defaultValue);
}

void PropertyExchange::exchange(const QString& name, int16_t& value, int16_t defaultValue)
{
    if (isLoading())
        value = basic::CInt(m_bag.read(name, defaultValue));
    else
        m_bag.write(name, value, defaultValue);
}

void PropertyExchange::exchange(const QString& name, int32_t& value, int32_t defaultValue)
{
    if (isLoading())
        value = basic::CLng(m_bag.read(name, defaultValue));
    else
        m_bag.write(name, value, defaultValue);
}

void PropertyExchange::exchange(const QString& name, forms::OleColor& value, forms::OleColor defaultValue)
{
    if (isLoading())
        value = toOleColor(m_bag.read(name, fromOleColor(defaultValue)));
    else
        m_bag.write(name, fromOleColor(value), fromOleColor(defaultValue));
}

void PropertyExchange::exchange(const QString& name, QString& value, const QString& defaultValue)
{
    if (isLoading())
        value = basic::CStr(m_bag.read(name, defaultValue));
    else
        m_bag.write(name, value, defaultValue);
}

void PropertyExchange::exchange(const QString& name, FontInfo& value, const FontInfo& defaultValue)
{
    if (isLoading())
        value = fontOf(m_bag.read(name)).value_or(defaultValue);
    else
        m_bag.write(name, makeFont(value), makeFont(defaultValue));
}

void PropertyExchange::exchangeBinary(const QString& name, QByteArray& data)
{
    if (isLoading()) {
        if (const auto stored = m_bag.readBinary(name))
            data = *stored;
    } else {
        m_bag.writeBinary(name, data);
    }
}

} // namespace controlframework
