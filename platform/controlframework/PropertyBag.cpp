#include "platform/controlframework/PropertyBag.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Font.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace controlframework {

using basic::Variant;
using basic::VarType;

namespace {

QJsonObject fontToJson(const FontInfo& f)
{
    return QJsonObject{{QStringLiteral("name"), f.name},       {QStringLiteral("size"), f.size},
                       {QStringLiteral("bold"), f.bold},       {QStringLiteral("italic"), f.italic},
                       {QStringLiteral("underline"), f.underline},
                       {QStringLiteral("strikethrough"), f.strikethrough},
                       {QStringLiteral("charset"), f.charset}};
}

// A stored font; nullopt when a field is not of its kind or out of its range.
std::optional<FontInfo> fontFromJson(const QJsonObject& o)
{
    FontInfo f;
    const QJsonValue name = o.value(QStringLiteral("name"));
    const QJsonValue size = o.value(QStringLiteral("size"));
    const QJsonValue charset = o.value(QStringLiteral("charset"));
    if ((!name.isUndefined() && !name.isString()) || (!size.isUndefined() && !size.isDouble()) ||
        (!charset.isUndefined() && !charset.isDouble()))
        return std::nullopt;
    f.name = name.toString(f.name);
    f.size = FontInfo::clampedSize(size.toDouble(f.size));
    bool flagsOk = true;
    const auto flag = [&](const char* field) {
        const QJsonValue v = o.value(QLatin1String(field));
        flagsOk = flagsOk && (v.isUndefined() || v.isBool());
        return v.toBool();
    };
    f.bold = flag("bold");
    f.italic = flag("italic");
    f.underline = flag("underline");
    f.strikethrough = flag("strikethrough");
    const double set = charset.toDouble(0);
    if (!flagsOk || set != std::floor(set) || set < std::numeric_limits<int16_t>::min() ||
        set > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    f.charset = int16_t(set);
    return f;
}

// The names of a JSON object's members in the order of the text, exact repeats
// included (QJsonObject sorts them and keeps one of two equal names). The text is
// known to be one valid JSON object.
QStringList memberNamesInOrder(const QByteArray& json)
{
    QStringList names;
    qsizetype i = json.indexOf('{') + 1;
    const auto skipString = [&] { // from the opening quote to after the closing one
        for (++i; i < json.size() && json[i] != '"'; ++i)
            if (json[i] == '\\')
                ++i;
        ++i;
    };
    int depth = 0; // of objects and arrays inside the top-level object
    bool expectName = true;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype start = i;
            skipString();
            if (depth == 0 && expectName) {
                const QJsonDocument one = QJsonDocument::fromJson("[" + json.mid(start, i - start) + "]");
                names << one.array().at(0).toString();
                expectName = false;
            }
            continue;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            --depth;
        else if (c == ',' && depth == 0)
            expectName = true;
        if (depth < 0)
            break;
        ++i;
    }
    return names;
}

QJsonValue toJson(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty: return QJsonValue(QString());
    case VarType::Null: return QJsonValue(QJsonValue::Null);
    case VarType::Boolean: return QJsonValue(v.boolValue());
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return QJsonValue(v.intValue());
    case VarType::Double:
    case VarType::Date: return QJsonValue(v.doubleValue());
    case VarType::String: return QJsonValue(v.stringValue());
    case VarType::Object:
        if (const auto font = fontOf(v))
            return QJsonObject{{QStringLiteral("font"), fontToJson(*font)}};
        break;
    case VarType::Error: break;
    }
    throw basic::RuntimeError(basic::err::TypeMismatch, QStringLiteral("This kind of value cannot be stored"),
                              QStringLiteral("PropertyBag"));
}

std::optional<Variant> fromJson(const QJsonValue& j)
{
    switch (j.type()) {
    case QJsonValue::Null: return Variant::null();
    case QJsonValue::Bool: return Variant(j.toBool());
    case QJsonValue::String: return Variant(j.toString());
    case QJsonValue::Double: {
        const double d = j.toDouble();
        if (d == std::floor(d) && d >= std::numeric_limits<int32_t>::min() && d <= std::numeric_limits<int32_t>::max())
            return Variant(int32_t(d));
        return Variant(d);
    }
    case QJsonValue::Object: {
        const QJsonObject o = j.toObject();
        if (o.size() == 1 && o.value(QStringLiteral("font")).isObject()) {
            const std::optional<FontInfo> font = fontFromJson(o.value(QStringLiteral("font")).toObject());
            return font ? std::optional(makeFont(*font)) : std::nullopt;
        }
        return std::nullopt;
    }
    default: return std::nullopt;
    }
}

// The one value of `v` in JSON text ("[x]" without its brackets).
QString jsonText(const QJsonValue& v)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

} // namespace

bool PropertyBag::sameValue(const Variant& a, const Variant& b)
{
    if (a.isString() || b.isString())
        return a.isString() && b.isString() && a.stringValue() == b.stringValue();
    if (a.isNumber() && b.isNumber())
        return basic::CDbl(a) == basic::CDbl(b);
    const auto fa = fontOf(a);
    const auto fb = fontOf(b);
    if (fa || fb)
        return fa && fb && *fa == *fb;
    return a == b;
}

const PropertyBag::Entry* PropertyBag::find(const QString& name) const
{
    for (const Entry& e : m_entries)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

PropertyBag::Entry& PropertyBag::slot(const QString& name)
{
    if (const Entry* e = find(name))
        return const_cast<Entry&>(*e);
    m_entries.push_back({name, {}, std::nullopt});
    return m_entries.back();
}

Variant PropertyBag::read(const QString& name, const Variant& defaultValue) const
{
    const Entry* e = find(name);
    return e && !e->binary ? e->value : defaultValue;
}

bool PropertyBag::contains(const QString& name) const
{
    return find(name) != nullptr;
}

void PropertyBag::write(const QString& name, const Variant& value)
{
    toJson(value); // refuses what cannot be stored before anything changes
    Entry& e = slot(name);
    e.value = value;
    e.binary.reset();
}

void PropertyBag::write(const QString& name, const Variant& value, const Variant& defaultValue)
{
    if (sameValue(value, defaultValue))
        remove(name);
    else
        write(name, value);
}

std::optional<QByteArray> PropertyBag::readBinary(const QString& name) const
{
    const Entry* e = find(name);
    return e ? e->binary : std::nullopt;
}

void PropertyBag::writeBinary(const QString& name, const QByteArray& data)
{
    Entry& e = slot(name);
    e.value = Variant();
    e.binary = data;
}

void PropertyBag::remove(const QString& name)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.name.compare(name, Qt::CaseInsensitive) == 0; });
}

QStringList PropertyBag::names() const
{
    QStringList out;
    for (const Entry& e : m_entries)
        out << e.name;
    return out;
}

QString PropertyBag::toText() const
{
    QStringList parts;
    for (const Entry& e : m_entries) {
        const QJsonValue value = e.binary ? QJsonValue(QJsonObject{{QStringLiteral("binary"), QString::fromLatin1(e.binary->toBase64())}})
                                          : toJson(e.value);
        parts << jsonText(QJsonValue(e.name)) + QStringLiteral(": ") + jsonText(value);
    }
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

std::optional<PropertyBag> PropertyBag::fromText(const QString& text, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<PropertyBag> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(QStringLiteral("Not a property bag: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset));
    if (!doc.isObject())
        return fail(QStringLiteral("Not a property bag: the text is no JSON object"));
    PropertyBag bag;
    const QJsonObject o = doc.object();
    for (const QString& name : memberNamesInOrder(text.toUtf8())) {
        if (bag.contains(name))
            return fail(QStringLiteral("The property \"%1\" is stored twice").arg(name));
        const QJsonValue stored = o.value(name);
        const QJsonObject inner = stored.toObject();
        if (stored.isObject() && inner.size() == 1 && inner.value(QStringLiteral("binary")).isString()) {
            const auto decoded = QByteArray::fromBase64Encoding(
                inner.value(QStringLiteral("binary")).toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return fail(QStringLiteral("The property \"%1\" holds a binary block that is not base64").arg(name));
            bag.writeBinary(name, *decoded);
            continue;
        }
        const auto value = fromJson(stored);
        if (!value)
            return fail(QStringLiteral("The property \"%1\" holds a value of unknown kind or out of range").arg(name));
        bag.write(name, *value);
    }
    return bag;
}

} // namespace controlframework
