#pragma once

#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

// A control whose members are the static member table of its class (`Self::table()`):
// names and DISPIDs are answered from it, calls dispatched through it.
namespace usercontrols {

template <class Self, class Base = controlframework::Control>
class WithMembers : public Base
{
public:
    using Base::Base;

    automation::DispId idOfName(const QString& name) const override { return Self::table().idOfName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value) override
    {
        return Self::table().invoke(static_cast<Self&>(*this), id, kind, args, value);
    }
    void invokePutByRef(automation::DispId id, automation::Args& args, basic::Variant& value) override
    {
        Self::table().putByRef(static_cast<Self&>(*this), id, args, value);
    }
};

} // namespace usercontrols
