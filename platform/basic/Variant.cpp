#include "platform/basic/Variant.h"

#include "platform/basic/Conversions.h"

namespace basic {

bool Variant::isNumber() const
{
    switch (m_type) {
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
        return true;
    default:
        return false;
    }
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.m_type != b.m_type)
        return false;
    switch (a.m_type) {
    case VarType::Empty:
    case VarType::Null:
        return true;
    case VarType::Double:
    case VarType::Date:
        return a.doubleValue() == b.doubleValue();
    default:
        return a.m_value == b.m_value;
    }
}

QString debugString(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Boolean: return v.boolValue() ? QStringLiteral("Boolean(True)") : QStringLiteral("Boolean(False)");
    case VarType::Byte: return QStringLiteral("Byte(%1)").arg(v.intValue());
    case VarType::Integer: return QStringLiteral("Integer(%1)").arg(v.intValue());
    case VarType::Long: return QStringLiteral("Long(%1)").arg(v.intValue());
    case VarType::Double: return QStringLiteral("Double(%1)").arg(formatDouble(v.doubleValue()));
    case VarType::Date: return QStringLiteral("Date(%1)").arg(formatDouble(v.doubleValue()));
    case VarType::String: return QStringLiteral("String(\"%1\")").arg(v.stringValue());
    case VarType::Object: return v.objectValue() ? QStringLiteral("Object") : QStringLiteral("Nothing");
    case VarType::Error:
        return v.isMissing() ? QStringLiteral("Missing") : QStringLiteral("Error(%1)").arg(v.intValue());
    }
    return {};
}

} // namespace basic
