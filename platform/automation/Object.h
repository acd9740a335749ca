#pragma once

#include "platform/basic/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace automation {

using basic::ObjectRef;
using basic::Variant;
using DispId = int32_t;

constexpr DispId DispIdValue = 0;     // the default member
constexpr DispId DispIdNewEnum = -4;  // enumeration
constexpr DispId DispIdUnknown = -1;

enum class Invoke : uint8_t { Method = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8 };

// Arguments in the order the caller writes them (first argument first). A callee
// writes by-reference arguments back into the list; an omitted optional argument is
// Variant::missing(). For a property put, the value is NOT in this list.
using Args = std::vector<Variant>;

// An automation object: answers member names (without regard to case) and DISPIDs,
// and raises basic::RuntimeError on failure. Objects are shared: the last reference
// releases them, and the side that creates an object drops its reference.
class Object : public std::enable_shared_from_this<Object>
{
public:
    virtual ~Object();

    // The class name as reported to callers (for TypeName and error sources).
    virtual QString className() const = 0;
    // The DISPID of a member; raises 438 (err::ObjectDoesntSupportMember, as a
    // late-bound caller reports it) when the name is not a member.
    virtual DispId idOfName(const QString& name) const = 0;
    // Calls a member. For PropertyPut/PropertyPutRef, `value` is the value put.
    virtual Variant invoke(DispId id, Invoke kind, Args& args, const Variant& value = {}) = 0;
    // A put (Let) whose value travels by reference, as a variable does to a setter
    // that takes its value by reference: a member that corrects the value writes it
    // back into `value`. Members that take their value by value leave it alone, and
    // so does an object that knows no by-reference puts (the default).
    virtual void invokePutByRef(DispId id, Args& args, Variant& value);

    // Late-bound helpers, as "obj.Name(args)" is written in the system's routines.
    Variant get(const QString& name, Args args = {});
    Variant call(const QString& name, Args args = {});
    // The same with by-reference arguments written back into `args`.
    Variant callByRef(const QString& name, Args& args);
    void put(const QString& name, const Variant& value, Args index = {});
    // The same with the value by reference (invokePutByRef).
    void putByRef(const QString& name, Variant& value, Args index = {});
    // The default member: obj(args) and obj(args) = value.
    Variant value(Args args = {});
    void setValue(Args index, const Variant& value);
};

// Enumeration (For Each): an object whose DISPID -4 returns an Enumerator.
class Enumerator : public Object
{
public:
    // False past the last element.
    virtual bool next(Variant& element) = 0;
    virtual void reset() = 0;
};

// Everything For Each would visit, in order. Raises 438 when the object cannot be enumerated.
std::vector<Variant> enumerate(const ObjectRef& collection);

// The object held by a Variant; raises 91 when it is Nothing or not an object.
ObjectRef toObject(const Variant& v);

} // namespace automation
