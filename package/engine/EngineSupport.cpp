#include "package/engine/EngineSupport.h"

#include "package/company/Faults.h"
#include "package/engine/EngineClasses.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"

#include <QDate>

namespace vdo {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

void raise(int number, const QString& description)
{
    throw basic::RuntimeError(number, description, QStringLiteral("Vorlen VDO"));
}

void raiseLedger(const company::LedgerError& e)
{
    using K = company::LedgerError::Kind;
    switch (e.kind()) {
    case K::FileNotFound:
        raise(errors::FileNotFound, e.message());
    case K::Locked:
        raise(errors::CompanyDataLocked, e.message());
    default:
        raise(errors::BadCompanyData, e.message());
    }
}

bool hasArg(const Args& args, size_t index)
{
    return args.size() > index && !args[index].isMissing();
}

const Variant& argAt(const Args& args, size_t index)
{
    if (!hasArg(args, index))
        raise(basic::err::WrongNumberOfArguments,
              basic::errorDescription(basic::err::WrongNumberOfArguments));
    return args[index];
}

company::Ledger& Connection::require()
{
    if (!ledger)
        raise(errors::NotConnected, QStringLiteral("Not connected to the company data"));
    return *ledger;
}

int FieldValues::index(const QString& name) const
{
    const int i = set->indexOf(name.trimmed());
    if (i < 0)
        raise(errors::UnknownField, QStringLiteral("Field '%1' not found").arg(name));
    return i;
}

Variant FieldValues::get(int i) const
{
    return toVariant(values[size_t(i)], set->at(i).kind);
}

void FieldValues::put(int i, const Variant& v)
{
    values[size_t(i)] = fromVariant(v, set->at(i).kind);
    assigned[size_t(i)] = true;
}

Variant toVariant(const QVariant& v, company::FieldKind kind)
{
    using K = company::FieldKind;
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::QString && kind != K::Text)
        return Variant(v.toString()); // a number not given yet reads as empty text
    switch (kind) {
    case K::Text:
        return Variant(v.toString());
    case K::Integer:
        return Variant(int16_t(v.toInt()));
    case K::Long:
    case K::DocNumber:
        return Variant(int32_t(v.toInt()));
    case K::Byte:
        return Variant(uint8_t(v.toInt()));
    case K::Double:
        return Variant(v.toDouble());
    case K::Bool:
        return Variant(v.toBool());
    case K::Date:
        return Variant(basic::fromQDate(v.toDate()));
    }
    return {};
}

QVariant fromVariant(const Variant& v, company::FieldKind kind)
{
    using K = company::FieldKind;
    if (v.isEmpty() && kind == K::Date)
        return {};
    switch (kind) {
    case K::Text:
        return basic::CStr(v);
    case K::Integer:
        return int(basic::CInt(v));
    case K::Long:
        return int(basic::CLng(v));
    case K::DocNumber:
        // Empty text leaves the number to the commit.
        if (v.isString() && v.stringValue().trimmed().isEmpty())
            return 0;
        return int(basic::CLng(v));
    case K::Byte:
        return int(basic::CByte(v));
    case K::Double:
        if (v.isString() && v.stringValue().trimmed().isEmpty())
            return QString();
        return basic::CDbl(v);
    case K::Bool:
        return basic::CBool(v);
    case K::Date:
        return basic::toQDate(basic::CDate(v));
    }
    return {};
}

void checkMemberFault(const QString& member)
{
    const auto fault = company::faults::valueOf("raise");
    if (!fault)
        return;
    const QString name = fault->section(QLatin1Char(':'), 0, 0).trimmed();
    if (name.compare(member, Qt::CaseInsensitive) != 0)
        return;
    bool ok = false;
    const int number = fault->section(QLatin1Char(':'), 1).trimmed().toInt(&ok);
    raise(ok ? number : basic::err::Fail, QStringLiteral("Fault injected in %1").arg(member));
}

} // namespace vdo
