#include "platform/automation/MemberTable.h"

#include "platform/basic/RuntimeError.h"

namespace automation {

namespace {

const char* const NotSupportedText = "Object doesn't support this property or method";

} // namespace

// Late-bound callers see every kind of missing member as 438; the member name goes
// into the source so that a log shows which call failed.
void throwUnknownName(const QString& name)
{
    throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember, QString::fromLatin1(NotSupportedText),
                              name);
}

void throwMemberNotFound(DispId id)
{
    throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember, QString::fromLatin1(NotSupportedText),
                              QStringLiteral("DISPID %1").arg(id));
}

void throwNotSupported(const QString& name)
{
    throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember, QString::fromLatin1(NotSupportedText),
                              name);
}

const Variant& optionalArg(const Args& args, size_t index)
{
    static const Variant missing = Variant::missing();
    return index < args.size() ? args[index] : missing;
}

void checkArgCount(const Args& args, size_t min, size_t max)
{
    if (args.size() < min || args.size() > max)
        throw basic::RuntimeError(basic::err::WrongNumberOfArguments,
                                  QStringLiteral("Wrong number of arguments or invalid property assignment"));
}

} // namespace automation
