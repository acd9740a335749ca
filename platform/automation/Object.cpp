#include "platform/automation/Object.h"

#include "platform/basic/RuntimeError.h"

namespace automation {

Object::~Object() = default;

Variant Object::get(const QString& name, Args args)
{
    return invoke(idOfName(name), Invoke::PropertyGet, args);
}

Variant Object::call(const QString& name, Args args)
{
    return invoke(idOfName(name), Invoke::Method, args);
}

Variant Object::callByRef(const QString& name, Args& args)
{
    return invoke(idOfName(name), Invoke::Method, args);
}

void Object::put(const QString& name, const Variant& value, Args index)
{
    // An object is assigned with Set, anything else with Let.
    invoke(idOfName(name), value.isObject() ? Invoke::PropertyPutRef : Invoke::PropertyPut, index, value);
}

void Object::invokePutByRef(DispId id, Args& args, Variant& value)
{
    invoke(id, Invoke::PropertyPut, args, value);
}

void Object::putByRef(const QString& name, Variant& value, Args index)
{
    invokePutByRef(idOfName(name), index, value);
}

Variant Object::value(Args args)
{
    return invoke(DispIdValue, Invoke::PropertyGet, args);
}

void Object::setValue(Args index, const Variant& value)
{
    invoke(DispIdValue, value.isObject() ? Invoke::PropertyPutRef : Invoke::PropertyPut, index, value);
}

namespace {

[[noreturn]] void throwNotEnumerable(const Object& collection)
{
    throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember,
                              QStringLiteral("Object doesn't support this property or method"),
                              collection.className());
}

} // namespace

std::vector<Variant> enumerate(const ObjectRef& collection)
{
    if (!collection)
        throw basic::RuntimeError(basic::err::ObjectVariableNotSet,
                                  QStringLiteral("Object variable or With block variable not set"));
    Variant result;
    try {
        Args none;
        result = collection->invoke(DispIdNewEnum, Invoke::PropertyGet, none);
    } catch (const basic::RuntimeError& e) {
        // Objects written outside MemberTable may answer an unknown DISPID with the
        // automation code; For Each reports both as "cannot be enumerated".
        if (e.number() == basic::err::ObjectDoesntSupportMember ||
            e.number() == basic::err::DispMemberNotFound)
            throwNotEnumerable(*collection);
        throw;
    }
    if (!result.isObject())
        throwNotEnumerable(*collection);
    // Keep the enumerator alive for the whole walk, whoever else holds it.
    const ObjectRef enumObject = result.objectValue();
    auto* enumerator = dynamic_cast<Enumerator*>(enumObject.get());
    if (!enumerator)
        throwNotEnumerable(*collection);
    std::vector<Variant> out;
    Variant element;
    while (enumerator->next(element)) {
        out.push_back(element);
        element = Variant();
    }
    return out;
}

ObjectRef toObject(const Variant& v)
{
    if (!v.isObject() || !v.objectValue())
        throw basic::RuntimeError(basic::err::ObjectVariableNotSet,
                                  QStringLiteral("Object variable or With block variable not set"));
    return v.objectValue();
}

} // namespace automation
