#include "platform/registry/HiveFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>

#include <cmath>
#include <optional>

namespace registry {

namespace {

constexpr qsizetype MaxValueNameLength = HiveFormat::MaxValueNameLength;

QString quoted(const QString& s)
{
    return u'"' + s + u'"';
}

QString where(const QString& keyPath)
{
    return keyPath.isEmpty() ? QStringLiteral("the root key") : QStringLiteral("key ") + quoted(keyPath);
}

// QJsonDocument keeps one of two members of exactly the same name and drops the
// other without a word; a hive holding such names is refused like one whose
// names differ only in case, so the text (already known to be valid JSON) is
// scanned for them first.
class DuplicateNameScan
{
public:
    explicit DuplicateNameScan(const QByteArray& bytes) : m_bytes(bytes) {}

    bool run(QString& error)
    {
        m_error = &error;
        skipBlanks();
        return scanValue(Role::Node, QString());
    }

private:
    // What an object is in the hive's terms, for the message naming a duplicate.
    enum class Role
    {
        Node,
        Keys,
        Values,
        Other
    };

    bool scanValue(Role role, const QString& keyPath)
    {
        if (peek() == '{')
            return scanObject(role, keyPath);
        if (peek() == '[')
            return scanArray();
        if (peek() == '"') {
            readString();
            return true;
        }
        while (m_pos < m_bytes.size() && !isBlank(peek()) && peek() != ',' && peek() != ']' && peek() != '}')
            ++m_pos;
        return true;
    }

    bool scanArray()
    {
        ++m_pos;
        for (skipBlanks(); peek() != ']'; skipBlanks()) {
            if (!scanValue(Role::Other, QString()))
                return false;
            skipSeparator();
        }
        ++m_pos;
        return true;
    }

    bool scanObject(Role role, const QString& keyPath)
    {
        ++m_pos;
        QSet<QString> seen;
        for (skipBlanks(); peek() != '}'; skipBlanks()) {
            const QString name = readString();
            skipBlanks();
            ++m_pos; // the colon
            skipBlanks();
            if (seen.contains(name)) {
                *m_error = duplicateText(role, keyPath, name);
                return false;
            }
            seen.insert(name);
            Role childRole = Role::Other;
            QString childPath = keyPath;
            if (role == Role::Node && name == u"keys") {
                childRole = Role::Keys;
            } else if (role == Role::Node && name == u"values") {
                childRole = Role::Values;
            } else if (role == Role::Keys) {
                childRole = Role::Node;
                childPath = keyPath.isEmpty() ? name : keyPath + u'\\' + name;
            }
            if (!scanValue(childRole, childPath))
                return false;
            skipSeparator();
        }
        ++m_pos;
        return true;
    }

    static QString duplicateText(Role role, const QString& keyPath, const QString& name)
    {
        switch (role) {
        case Role::Keys:
            return where(keyPath) + QStringLiteral(" holds two sub-keys named ") + quoted(name);
        case Role::Values:
            return where(keyPath) + QStringLiteral(" holds two values named ") + quoted(name);
        case Role::Node:
        case Role::Other:
            break;
        }
        return where(keyPath) + QStringLiteral(" gives the field ") + quoted(name) + QStringLiteral(" twice");
    }

    // A string token with its escapes decoded; m_pos is on its opening quote.
    QString readString()
    {
        QString out;
        ++m_pos;
        qsizetype runStart = m_pos;
        const auto flush = [&] {
            out += QString::fromUtf8(m_bytes.constData() + runStart, m_pos - runStart);
        };
        while (peek() != '"') {
            if (peek() != '\\') {
                ++m_pos;
                continue;
            }
            flush();
            const char escaped = m_bytes.at(m_pos + 1);
            m_pos += 2;
            switch (escaped) {
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u':
                out += QChar(char16_t(m_bytes.mid(m_pos, 4).toUShort(nullptr, 16)));
                m_pos += 4;
                break;
            default:
                out += QLatin1Char(escaped);
                break;
            }
            runStart = m_pos;
        }
        flush();
        ++m_pos;
        return out;
    }

    char peek() const { return m_pos < m_bytes.size() ? m_bytes.at(m_pos) : '\0'; }
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void skipBlanks()
    {
        while (m_pos < m_bytes.size() && isBlank(m_bytes.at(m_pos)))
            ++m_pos;
    }
    // After a member or an element: the blanks and the comma before the next.
    void skipSeparator()
    {
        skipBlanks();
        if (peek() == ',')
            ++m_pos;
    }

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    QString* m_error = nullptr;
};

bool checkLength(const Value& value, QString& error)
{
    if (HiveFormat::valueFits(value))
        return true;
    error = QStringLiteral("is longer than %1 %2").arg(HiveFormat::MaxValueLength).arg(
        value.type == ValueType::String ? QStringLiteral("characters") : QStringLiteral("bytes"));
    return false;
}

bool parseValue(const QJsonValue& json, Value& out, QString& error)
{
    if (!json.isObject()) {
        error = QStringLiteral("is not an object");
        return false;
    }
    const QJsonObject obj = json.toObject();
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        if (it.key() != u"type" && it.key() != u"data") {
            error = QStringLiteral("has an unknown field ") + quoted(it.key());
            return false;
        }
    }
    const QString type = obj.value(u"type").toString();
    const QJsonValue data = obj.value(u"data");
    if (type == u"string") {
        if (!data.isString()) {
            error = QStringLiteral("has string type but its data is not a string");
            return false;
        }
        out = Value::fromString(data.toString());
        return checkLength(out, error);
    }
    if (type == u"dword") {
        const double d = data.toDouble(-1);
        if (!data.isDouble() || d < 0 || d > 4294967295.0 || std::floor(d) != d) {
            error = QStringLiteral("has dword type but its data is not a whole number from 0 to 4294967295");
            return false;
        }
        out = Value::fromDWord(static_cast<uint32_t>(d));
        return true;
    }
    if (type == u"binary") {
        const QString hex = data.toString();
        bool ok = data.isString() && hex.size() % 2 == 0;
        for (qsizetype i = 0; ok && i < hex.size(); ++i) {
            const QChar c = hex.at(i);
            ok = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        }
        if (!ok) {
            error = QStringLiteral("has binary type but its data is not an even number of hex digits");
            return false;
        }
        out = Value::fromBinary(QByteArray::fromHex(hex.toLatin1()));
        return checkLength(out, error);
    }
    error = QStringLiteral("has an unknown type ") + quoted(type);
    return false;
}

bool parseNode(const QJsonObject& obj, const QString& keyPath, int depth, HiveNode& node, QString& error)
{
    const bool isRoot = depth == 0;
    if (depth > HiveFormat::MaxKeyDepth) {
        error = QStringLiteral("its keys lie more than %1 deep").arg(HiveFormat::MaxKeyDepth);
        return false;
    }
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        const QString& field = it.key();
        const bool known =
            field == u"keys" || field == u"values" || (isRoot && (field == u"format" || field == u"version"));
        if (!known) {
            error = where(keyPath) + QStringLiteral(" has an unknown field ") + quoted(field);
            return false;
        }
    }

    const QJsonValue values = obj.value(u"values");
    if (!values.isUndefined()) {
        if (!values.isObject()) {
            error = where(keyPath) + QStringLiteral(": \"values\" is not an object");
            return false;
        }
        const QJsonObject valueObj = values.toObject();
        for (auto it = valueObj.begin(); it != valueObj.end(); ++it) {
            const QString name = it.key();
            if (name.size() > MaxValueNameLength) {
                error = where(keyPath) + QStringLiteral(" has a value name longer than 16383 characters");
                return false;
            }
            HiveNode::NamedValue entry{name, {}};
            QString why;
            if (!parseValue(it.value(), entry.value, why)) {
                error = where(keyPath) + QStringLiteral(": value ") + quoted(name) + u' ' + why;
                return false;
            }
            if (!node.values.emplace(HiveNode::fold(name), std::move(entry)).second) {
                error = where(keyPath) + QStringLiteral(" holds two values named ") + quoted(name) +
                        QStringLiteral(" (names compare without regard to case)");
                return false;
            }
        }
    }

    const QJsonValue keys = obj.value(u"keys");
    if (!keys.isUndefined()) {
        if (!keys.isObject()) {
            error = where(keyPath) + QStringLiteral(": \"keys\" is not an object");
            return false;
        }
        const QJsonObject keyObj = keys.toObject();
        for (auto it = keyObj.begin(); it != keyObj.end(); ++it) {
            const QString name = it.key();
            const QString childPath = keyPath.isEmpty() ? name : keyPath + u'\\' + name;
            if (name.isEmpty() || name.contains(u'\\') || name.size() > HiveFormat::MaxKeyNameLength) {
                error =
                    where(keyPath) + QStringLiteral(" has a sub-key with an invalid name ") + quoted(name);
                return false;
            }
            if (!it.value().isObject()) {
                error = where(childPath) + QStringLiteral(" is not an object");
                return false;
            }
            if (node.child(name)) {
                error = where(keyPath) + QStringLiteral(" holds two sub-keys named ") + quoted(name) +
                        QStringLiteral(" (names compare without regard to case)");
                return false;
            }
            HiveNode& child = node.ensureChild(name);
            if (!parseNode(it.value().toObject(), childPath, depth + 1, child, error))
                return false;
        }
    }
    return true;
}

// Null when the tree lies deeper than the reader takes.
std::optional<QJsonObject> nodeToJson(const HiveNode& node, int depth)
{
    if (depth > HiveFormat::MaxKeyDepth)
        return std::nullopt;
    QJsonObject obj;
    if (!node.values.empty()) {
        QJsonObject values;
        for (const auto& [folded, entry] : node.values) {
            QJsonObject v;
            switch (entry.value.type) {
            case ValueType::String:
                v.insert(u"type", QStringLiteral("string"));
                v.insert(u"data", entry.value.string);
                break;
            case ValueType::DWord:
                v.insert(u"type", QStringLiteral("dword"));
                v.insert(u"data", static_cast<double>(entry.value.dword));
                break;
            case ValueType::Binary:
                v.insert(u"type", QStringLiteral("binary"));
                v.insert(u"data", QString::fromLatin1(entry.value.binary.toHex()));
                break;
            }
            values.insert(entry.name, v);
        }
        obj.insert(u"values", values);
    }
    if (!node.children.empty()) {
        QJsonObject keys;
        for (const auto& [folded, child] : node.children) {
            std::optional<QJsonObject> json = nodeToJson(*child, depth + 1);
            if (!json)
                return std::nullopt;
            keys.insert(child->name, *json);
        }
        obj.insert(u"keys", keys);
    }
    return obj;
}

} // namespace

std::unique_ptr<HiveNode> HiveFormat::parse(const QByteArray& bytes, QString& error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not valid JSON at offset %1: %2")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
        return nullptr;
    }
    if (!doc.isObject()) {
        error = QStringLiteral("the document is not a JSON object");
        return nullptr;
    }
    if (!DuplicateNameScan(bytes).run(error))
        return nullptr;
    const QJsonObject top = doc.object();
    if (top.value(u"format").toString() != QLatin1String(Marker)) {
        error = QStringLiteral("the format marker \"%1\" is missing").arg(QLatin1String(Marker));
        return nullptr;
    }
    const QJsonValue version = top.value(u"version");
    if (!version.isDouble() || version.toDouble() != Version) {
        error = QStringLiteral("unsupported format version %1 (this program reads version %2)")
                    .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("(none)"))
                    .arg(Version);
        return nullptr;
    }
    auto root = std::make_unique<HiveNode>();
    if (!parseNode(top, QString(), 0, *root, error))
        return nullptr;
    return root;
}

bool HiveFormat::valueFits(const Value& value)
{
    switch (value.type) {
    case ValueType::String:
        return value.string.size() <= MaxValueLength;
    case ValueType::Binary:
        return value.binary.size() <= MaxValueLength;
    case ValueType::DWord:
        break;
    }
    return true;
}

QByteArray HiveFormat::serialize(const HiveNode& root, QString& error)
{
    std::optional<QJsonObject> top = nodeToJson(root, 0);
    if (!top) {
        error = QStringLiteral("its keys would lie more than %1 deep").arg(MaxKeyDepth);
        return {};
    }
    top->insert(u"format", QLatin1String(Marker));
    top->insert(u"version", Version);
    QByteArray bytes = QJsonDocument(*top).toJson(QJsonDocument::Indented);
    if (bytes.size() > MaxHiveBytes) {
        error = QStringLiteral("it would be larger than %1 bytes, the most a hive may hold").arg(MaxHiveBytes);
        return {};
    }
    return bytes;
}

} // namespace registry
