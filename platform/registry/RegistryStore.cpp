#include "platform/registry/RegistryStore.h"

#include "platform/registry/HiveFormat.h"
#include "platform/registry/HiveNode.h"
#include "platform/registry/HiveStore.h"

#include <QDir>
#include <QtEndian>

namespace registry {

namespace {

constexpr qsizetype MaxValueNameLength = HiveFormat::MaxValueNameLength;

bool isKnownType(ValueType type)
{
    return type == ValueType::String || type == ValueType::DWord || type == ValueType::Binary;
}

// Splits "Software\Dunmere\Config" into its names. "" is the hive's root; one
// closing "\" is allowed, a leading one or an empty name in between is not.
bool splitPath(const QString& path, QStringList& parts)
{
    parts.clear();
    QString trimmed = path;
    if (trimmed.endsWith(u'\\'))
        trimmed.chop(1);
    if (trimmed.isEmpty())
        return path.isEmpty();
    // Counted before the split, so that a path of a great many names is never split.
    if (trimmed.count(u'\\') >= HiveFormat::MaxKeyDepth)
        return false;
    parts = trimmed.split(u'\\');
    for (const QString& part : std::as_const(parts)) {
        if (part.isEmpty() || part.size() > HiveFormat::MaxKeyNameLength)
            return false;
    }
    return true;
}

const HiveNode* resolve(const HiveNode* node, const QStringList& parts)
{
    for (const QString& part : parts) {
        if (!node)
            return nullptr;
        node = node->child(part);
    }
    return node;
}

HiveNode* resolve(HiveNode* node, const QStringList& parts)
{
    for (const QString& part : parts) {
        if (!node)
            return nullptr;
        node = node->child(part);
    }
    return node;
}

QString hiveName(Hive hive)
{
    return hive == Hive::LocalMachine ? QStringLiteral("machine") : QStringLiteral("user");
}

} // namespace

QByteArray Value::rawBytes() const
{
    return rawBytes(Chars::Wide);
}

QByteArray Value::rawBytes(Chars chars) const
{
    switch (type) {
    case ValueType::String:
        if (chars == Chars::Narrow)
            return string.toUtf8().append('\0');
        else {
            QByteArray bytes((string.size() + 1) * 2, '\0');
            for (qsizetype i = 0; i < string.size(); ++i)
                qToLittleEndian<quint16>(string.at(i).unicode(), bytes.data() + 2 * i);
            return bytes;
        }
    case ValueType::DWord: {
        QByteArray bytes(4, '\0');
        qToLittleEndian<quint32>(dword, bytes.data());
        return bytes;
    }
    case ValueType::Binary:
        return binary;
    }
    return {};
}

QString hivePath(Hive hive)
{
    if (hive == Hive::LocalMachine) {
        const QString env = qEnvironmentVariable("QUILLAR_MACHINE_HIVE");
        return env.isEmpty() ? QStringLiteral("/etc/quillar/machine.hive") : env;
    }
    const QString env = qEnvironmentVariable("QUILLAR_USER_HIVE");
    if (!env.isEmpty())
        return env;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quillar/user.hive");
}

bool hiveWritable(Hive hive)
{
    return HiveStore::instance().checkWritable(hivePath(hive));
}

struct Key::Impl
{
    Hive hive;
    QString file;
    QString path;
    QStringList parts;
    Access access;

    bool ownerOnly() const { return hive == Hive::CurrentUser; }
};

Key::Key(std::unique_ptr<Impl> impl) : m(std::move(impl)) {}
Key::~Key() = default;
Key::Key(Key&&) noexcept = default;
Key& Key::operator=(Key&&) noexcept = default;

Hive Key::hive() const
{
    return m->hive;
}

const QString& Key::path() const
{
    return m->path;
}

Access Key::access() const
{
    return m->access;
}

namespace {

// A value of the key at `parts` of the hive file as it stands now; FileNotFound
// when the key (perhaps deleted since it was opened) or the value is not there.
Status currentValue(const QString& file, const QStringList& parts, const QString& name, Value& out)
{
    const HiveStore::Snapshot snap = HiveStore::instance().current(file);
    if (snap.status != Success)
        return snap.status;
    const HiveNode* node = resolve(snap.root.get(), parts);
    if (!node)
        return FileNotFound;
    const auto it = node->values.find(HiveNode::fold(name));
    if (it == node->values.end())
        return FileNotFound;
    out = it->second.value;
    return Success;
}

} // namespace

Status Key::queryValue(const QString& name, Value& out) const
{
    return currentValue(m->file, m->parts, name, out);
}

Status Key::queryValue(const QString& name, ValueType& type, QByteArray& data, uint32_t bufferSize,
                       Chars chars, uint32_t* needed) const
{
    Value value;
    const Status status = queryValue(name, value);
    if (status != Success)
        return status;
    type = value.type;
    QByteArray bytes = value.rawBytes(chars);
    if (needed)
        *needed = static_cast<uint32_t>(bytes.size());
    if (bytes.size() > qsizetype(bufferSize)) {
        data.clear();
        return MoreData;
    }
    data = std::move(bytes);
    return Success;
}

Status Key::setValue(const QString& name, const Value& value)
{
    if (m->access != Access::ReadWrite)
        return AccessDenied;
    if (!isKnownType(value.type) || name.size() > MaxValueNameLength || !HiveFormat::valueFits(value))
        return InvalidParameter;
    return HiveStore::instance().modify(m->file, m->ownerOnly(), [&](HiveNode& root) {
        HiveNode* node = resolve(&root, m->parts);
        if (!node)
            return FileNotFound;
        auto [it, inserted] = node->values.try_emplace(HiveNode::fold(name));
        if (inserted)
            it->second.name = name; // an existing value keeps its spelling
        it->second.value = value;
        return Success;
    });
}

Status Key::deleteValue(const QString& name)
{
    if (m->access != Access::ReadWrite)
        return AccessDenied;
    return HiveStore::instance().modify(m->file, m->ownerOnly(), [&](HiveNode& root) {
        HiveNode* node = resolve(&root, m->parts);
        if (!node || node->values.erase(HiveNode::fold(name)) == 0)
            return FileNotFound;
        return Success;
    });
}

QStringList Key::valueNames() const
{
    QStringList names;
    const HiveStore::Snapshot snap = HiveStore::instance().current(m->file);
    if (const HiveNode* node = snap.status == Success ? resolve(snap.root.get(), m->parts) : nullptr) {
        for (const auto& [folded, entry] : node->values)
            names.append(entry.name);
    }
    return names;
}

QStringList Key::subKeyNames() const
{
    QStringList names;
    const HiveStore::Snapshot snap = HiveStore::instance().current(m->file);
    if (const HiveNode* node = snap.status == Success ? resolve(snap.root.get(), m->parts) : nullptr) {
        for (const auto& [folded, child] : node->children)
            names.append(child->name);
    }
    return names;
}

Status openKey(Hive hive, const QString& path, Access access, std::optional<Key>& out)
{
    out.reset();
    QStringList parts;
    if (!splitPath(path, parts))
        return InvalidParameter;
    const QString file = hivePath(hive);
    HiveStore& store = HiveStore::instance();
    const HiveStore::Snapshot snap = store.current(file);
    if (snap.status != Success)
        return snap.status;
    if (!resolve(snap.root.get(), parts))
        return FileNotFound;
    if (access == Access::ReadWrite && !store.checkWritable(file))
        return AccessDenied;
    out = Key(std::make_unique<Key::Impl>(Key::Impl{hive, file, path, parts, access}));
    return Success;
}

Status readValue(Hive hive, const QString& path, const QString& name, Value& out)
{
    QStringList parts;
    if (!splitPath(path, parts))
        return InvalidParameter;
    return currentValue(hivePath(hive), parts, name, out);
}

Status createKey(Hive hive, const QString& path, std::optional<Key>& out)
{
    out.reset();
    QStringList parts;
    if (!splitPath(path, parts))
        return InvalidParameter;
    const QString file = hivePath(hive);
    HiveStore& store = HiveStore::instance();
    const HiveStore::Snapshot snap = store.current(file);
    if (snap.status != Success)
        return snap.status;
    if (!store.checkWritable(file))
        return AccessDenied;
    if (!resolve(snap.root.get(), parts)) {
        const Status status = store.modify(file, hive == Hive::CurrentUser, [&](HiveNode& root) {
            HiveNode* node = &root;
            for (const QString& part : std::as_const(parts))
                node = &node->ensureChild(part);
            return Success;
        });
        if (status != Success)
            return status;
    }
    out = Key(std::make_unique<Key::Impl>(Key::Impl{hive, file, path, parts, Access::ReadWrite}));
    return Success;
}

Status deleteKey(Hive hive, const QString& path)
{
    QStringList parts;
    if (!splitPath(path, parts) || parts.isEmpty())
        return InvalidParameter; // the root of a hive is not deleted
    const QString file = hivePath(hive);
    const QString leaf = parts.takeLast();
    return HiveStore::instance().modify(file, hive == Hive::CurrentUser, [&](HiveNode& root) {
        HiveNode* parent = resolve(&root, parts);
        if (!parent || parent->children.erase(HiveNode::fold(leaf)) == 0)
            return FileNotFound;
        return Success;
    });
}

QString statusText(Status status, Hive hive)
{
    const QString file = hivePath(hive);
    const QString which = hiveName(hive);
    const QString detail = HiveStore::instance().detail(file, status);
    const QString why = detail.isEmpty() ? QString() : QStringLiteral(": ") + detail;
    switch (status) {
    case Success:
        return QStringLiteral("the operation completed successfully");
    case FileNotFound:
        return QStringLiteral("the key or value does not exist in the %1 hive \"%2\"").arg(which, file);
    case AccessDenied:
        return QStringLiteral("access to the %1 hive file \"%2\" is denied%3").arg(which, file, why);
    case InvalidData:
        return QStringLiteral(
                   "the %1 hive file \"%2\" is corrupt%3; it is left as it is and nothing is written "
                   "to it until it is repaired")
            .arg(which, file, why);
    case MoreData:
        return QStringLiteral("the value does not fit the caller's buffer");
    case WriteFault:
        return QStringLiteral("the %1 hive file \"%2\" could not be written%3; the file was left as it was")
            .arg(which, file, why);
    case InvalidParameter:
        return QStringLiteral("a malformed key path, key name or value for the %1 hive \"%2\"")
            .arg(which, file);
    }
    return QStringLiteral("registry status %1 for the %2 hive \"%3\"").arg(int(status)).arg(which, file);
}

} // namespace registry
