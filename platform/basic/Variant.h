#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>

namespace automation {
class Object;
}

namespace basic {

using ObjectRef = std::shared_ptr<automation::Object>;

enum class VarType {
    Empty,   // never assigned: reads as 0 and as ""
    Null,
    Boolean, // True is -1 when read as a number
    Byte,    // 8-bit unsigned
    Integer, // 16-bit
    Long,    // 32-bit
    Double,
    Date,    // days since 1899-12-30, time as the fraction
    String,
    Object,  // a reference to an automation object (may be Nothing)
    Error,   // an error value; Missing is the one for an omitted optional argument
};

struct DateValue
{
    double serial = 0.0;
    friend bool operator==(DateValue, DateValue) = default;
};

// One value of the language runtime. Conversions between kinds live in
// Conversions.h, never here, so that every caller shares one set of rules.
class Variant
{
public:
    Variant() = default;
    Variant(bool v) : m_type(VarType::Boolean), m_value(v) {}
    Variant(uint8_t v) : m_type(VarType::Byte), m_value(int32_t(v)) {}
    Variant(int16_t v) : m_type(VarType::Integer), m_value(int32_t(v)) {}
    Variant(int32_t v) : m_type(VarType::Long), m_value(v) {}
    Variant(double v) : m_type(VarType::Double), m_value(v) {}
    Variant(DateValue v) : m_type(VarType::Date), m_value(v.serial) {}
    Variant(const QString& v) : m_type(VarType::String), m_value(v) {}
    Variant(QString&& v) : m_type(VarType::String), m_value(std::move(v)) {}
    Variant(const char* v) : m_type(VarType::String), m_value(QString::fromUtf8(v)) {}
    Variant(ObjectRef v) : m_type(VarType::Object), m_value(std::move(v)) {}

    static Variant null() { Variant v; v.m_type = VarType::Null; return v; }
    static Variant missing() { Variant v; v.m_type = VarType::Error; v.m_value = int32_t(0x80020004u); return v; }
    static Variant error(int32_t code) { Variant v; v.m_type = VarType::Error; v.m_value = code; return v; }
    static Variant nothing() { return Variant(ObjectRef{}); }

    VarType type() const { return m_type; }
    bool isEmpty() const { return m_type == VarType::Empty; }
    bool isNull() const { return m_type == VarType::Null; }
    bool isMissing() const { return m_type == VarType::Error && std::get<int32_t>(m_value) == int32_t(0x80020004u); }
    bool isObject() const { return m_type == VarType::Object; }
    bool isString() const { return m_type == VarType::String; }
    // Boolean, Byte, Integer, Long, Double (not Date, not String).
    bool isNumber() const;

    // Raw access; callers check type() first. Use Conversions.h to convert.
    bool boolValue() const { return std::get<bool>(m_value); }
    int32_t intValue() const { return std::get<int32_t>(m_value); }     // Byte, Integer, Long, Error
    double doubleValue() const { return std::get<double>(m_value); }    // Double, Date
    const QString& stringValue() const { return std::get<QString>(m_value); }
    const ObjectRef& objectValue() const { return std::get<ObjectRef>(m_value); }

    // Same kind and same value (strings compared exactly); for tests and lookups.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    VarType m_type = VarType::Empty;
    std::variant<std::monostate, bool, int32_t, double, QString, ObjectRef> m_value;
};

// A readable form for test failures: "String(\"abc\")", "Long(5)", "Empty".
QString debugString(const Variant& v);

} // namespace basic
