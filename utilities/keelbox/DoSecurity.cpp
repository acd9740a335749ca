#include "utilities/keelbox/DoSecurity.h"

#include "utilities/keelbox/KeelboxServer.h"
#include "utilities/keelbox/TextStream.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/registry/RegistryStore.h"

#include <QtEndian>

#include <optional>

namespace keelbox {

using automation::Args;
using automation::Variant;

namespace {

void requireArguments(const Args& args, size_t count)
{
    if (args.size() < count)
        throw basic::RuntimeError(basic::err::WrongNumberOfArguments,
                                  basic::errorDescription(basic::err::WrongNumberOfArguments),
                                  QStringLiteral("Keelbox.DoSecurity"));
}

// One hive's answer: the value as text, or nothing when this hive does not yield it.
std::optional<QString> readFromHive(registry::Hive hive, const QString& name)
{
    std::optional<registry::Key> key;
    // Read-write on purpose: this is how the key was always opened, and it is why a
    // machine hive the user may not write falls through to the user hive.
    if (registry::openKey(hive, QString::fromLatin1(ConfigKeyPath), registry::Access::ReadWrite, key) !=
            registry::Success ||
        !key)
        return std::nullopt;

    registry::ValueType type = registry::ValueType::String;
    QByteArray data;
    // A value that does not fit the buffer counts as missing in this hive.
    if (key->queryValue(name, type, data, ValueBufferSize, registry::Chars::Narrow) != registry::Success)
        return std::nullopt;

    switch (type) {
    case registry::ValueType::String: {
        const qsizetype zero = data.indexOf('\0');
        return QString::fromUtf8(zero < 0 ? data : data.left(zero));
    }
    case registry::ValueType::DWord:
        if (data.size() < 4)
            return QString();
        return QString::number(qFromLittleEndian<int32_t>(data.constData()));
    default:
        return QString();
    }
}

} // namespace

DoSecurity::DoSecurity() : m_lock(liveObjects()) {}

DoSecurity::~DoSecurity() = default;

const automation::MemberTable<DoSecurity>& DoSecurity::table()
{
    static const auto t =
        automation::MemberTable<DoSecurity>()
            .method(DispGetRegKeyValue, "GetRegKeyValue", &DoSecurity::callGetRegKeyValue)
            .method(DispFuncCsvStringRead, "FuncCsvStringRead", &DoSecurity::callFuncCsvStringRead)
            .method(DispFuncFileRead, "FuncFileRead", &DoSecurity::callFuncFileRead);
    return t;
}

automation::DispId DoSecurity::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

Variant DoSecurity::invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

QString DoSecurity::getRegKeyValue(const QString& subKeyRef, bool& valFound)
{
    valFound = true;
    for (const registry::Hive hive : {registry::Hive::LocalMachine, registry::Hive::CurrentUser})
        if (const std::optional<QString> found = readFromHive(hive, subKeyRef))
            return *found;
    valFound = false;
    return QString();
}

std::vector<QString> DoSecurity::splitFields(const QString& line, int colNo, QChar delimiter)
{
    std::vector<QString> fields(size_t(std::max(colNo, 0)));
    // p and pos are 0-based here: p is one past the last delimiter used.
    qsizetype p = 0;
    for (qsizetype k = 0; k < qsizetype(fields.size()); ++k) {
        const qsizetype pos = line.indexOf(delimiter, p);
        if (pos < 0) {
            // The line's last field (empty when the line ends with the delimiter). The
            // slots after it stay empty rather than restarting from the line's start.
            fields[size_t(k)] = basic::Trim(line.mid(p));
            break;
        }
        fields[size_t(k)] = basic::Trim(line.mid(p, pos - p));
        p = pos + 1;
    }
    return fields;
}

Variant DoSecurity::callGetRegKeyValue(DoSecurity&, Args& args)
{
    requireArguments(args, 2);
    bool found = false;
    const QString result = getRegKeyValue(basic::CStr(args[0]), found);
    args[1] = Variant(found);
    return Variant(result);
}

Variant DoSecurity::callFuncCsvStringRead(DoSecurity&, Args& args)
{
    requireArguments(args, 4);
    const QString line = basic::CStr(args[0]);
    const int16_t colNo = basic::CInt(args[1]);
    const QString delimiter = basic::Chr(basic::CInt(args[3]));
    // The caller's array: field k goes to arrcol(k - 1); a smaller array raises its
    // own error (subscript out of range) back to the caller.
    const automation::ObjectRef array = automation::toObject(args[2]);
    const std::vector<QString> fields = splitFields(line, colNo, delimiter.at(0));
    for (size_t k = 0; k < fields.size(); ++k)
        array->setValue({Variant(int32_t(k))}, Variant(fields[k]));
    return Variant();
}

Variant DoSecurity::callFuncFileRead(DoSecurity&, Args& args)
{
    requireArguments(args, 1);
    return Variant(TextStream::openForReading(basic::CStr(args[0])));
}

} // namespace keelbox
