#include "controls/usercontrols/ControlSupport.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Font.h"

namespace usercontrols {

using basic::Variant;
using controlframework::PropertyBag;

forms::OleColor readColor(const PropertyBag& bag, const QString& name, forms::OleColor def)
{
    return controlframework::toOleColor(bag.read(name, controlframework::fromOleColor(def)));
}

QString readText(const PropertyBag& bag, const QString& name, const QString& def)
{
    return basic::CStr(bag.read(name, def));
}

bool readBool(const PropertyBag& bag, const QString& name, bool def)
{
    return basic::CBool(bag.read(name, def));
}

int32_t readLong(const PropertyBag& bag, const QString& name, int32_t def)
{
    return basic::CLng(bag.read(name, def));
}

int16_t readInteger(const PropertyBag& bag, const QString& name, int16_t def)
{
    return basic::CInt(bag.read(name, def));
}

controlframework::FontInfo readFont(const PropertyBag& bag, const QString& name, const controlframework::FontInfo& def)
{
    if (!bag.contains(name))
        return def;
    if (const auto font = controlframework::fontOf(bag.read(name)))
        return *font;
    throw basic::RuntimeError(basic::err::TypeMismatch, QStringLiteral("The stored %1 is no font").arg(name));
}

void checkOptionNumber(int32_t number, int32_t count)
{
    if (number < 1 || number > count)
        throw basic::RuntimeError(basic::err::SubscriptOutOfRange, basic::errorDescription(basic::err::SubscriptOutOfRange));
}

Variant& argument(automation::Args& args, size_t index)
{
    if (index >= args.size() || args[index].isMissing())
        throw basic::RuntimeError(basic::err::WrongNumberOfArguments,
                                  basic::errorDescription(basic::err::WrongNumberOfArguments));
    return args[index];
}

Variant labelFontObject(controlframework::Control& control, const controlframework::Label& label,
                        std::function<void(const controlframework::FontInfo&)> apply)
{
    using controlframework::FontInfo;
    const std::weak_ptr<automation::Object> owner = control.weak_from_this();
    auto read = [owner, &label]() -> std::optional<FontInfo> {
        if (owner.expired())
            return std::nullopt;
        return label.font();
    };
    auto write = [owner, apply = std::move(apply)](const FontInfo& font) {
        if (const auto alive = owner.lock())
            apply(font);
    };
    return Variant(automation::ObjectRef(std::make_shared<controlframework::FontObject>(std::move(read), std::move(write))));
}

controlframework::FontInfo assignedFont(const Variant& value)
{
    const auto font = controlframework::fontOf(value);
    if (!font)
        throw basic::RuntimeError(basic::err::TypeMismatch, basic::errorDescription(basic::err::TypeMismatch));
    return *font;
}

void fireEvent(controlframework::Control& control, automation::DispId id, const QString& name)
{
    automation::Args none;
    control.raiseEvent(id, name, none);
}

} // namespace usercontrols
