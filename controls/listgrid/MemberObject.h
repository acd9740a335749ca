#pragma once

#include "controls/listgrid/LibraryState.h"

#include "platform/automation/MemberTable.h"

namespace listgrid {

// An automation object of the library answering through its class's member table
// (`static const automation::MemberTable<Self>& members()`), counted alive.
template <class Self>
class MemberObject : public automation::Object, private LibraryObject
{
public:
    automation::DispId idOfName(const QString& name) const override { return Self::members().idOfName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override
    {
        return Self::members().invoke(static_cast<Self&>(*this), id, kind, args, value);
    }
};

} // namespace listgrid
