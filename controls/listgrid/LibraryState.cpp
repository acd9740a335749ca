#include "controls/listgrid/LibraryState.h"
#include "controls/listgrid/OptionalArgs.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace listgrid {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

void throwBadIndex(const QString& source)
{
    throw basic::RuntimeError(DispBadIndex, QStringLiteral("Invalid index specified for item retrieval"), source);
}

namespace {

template <class T, class Convert>
std::optional<T> optional(const basic::Variant& v, Convert convert)
{
    if (v.isEmpty() || v.type() == basic::VarType::Error || v.isObject() || v.isNull())
        return std::nullopt;
    try {
        return convert(v);
    } catch (const basic::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> optionalString(const basic::Variant& v) { return optional<QString>(v, basic::CStr); }
std::optional<int32_t> optionalLong(const basic::Variant& v) { return optional<int32_t>(v, basic::CLng); }
std::optional<int16_t> optionalInteger(const basic::Variant& v) { return optional<int16_t>(v, basic::CInt); }

} // namespace listgrid
