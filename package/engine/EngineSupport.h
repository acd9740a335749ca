#pragma once

#include "package/company/Faults.h"
#include "package/company/FieldSet.h"
#include "package/company/Ledger.h"
#include "package/company/LedgerError.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QString>

#include <memory>
#include <vector>

// What the engine's objects share: the connection, field values, argument
// helpers and the dispatch with its test-only fault injection.
namespace vdo {

using automation::Args;
using automation::DispId;
using automation::Invoke;
using automation::MemberTable;
using basic::Variant;

// Live objects of the library, for DllCanUnloadNow.
int32_t& liveObjects();

[[noreturn]] void raise(int number, const QString& description);
[[noreturn]] void raiseLedger(const company::LedgerError& e);

// The argument at `index`, raising 450 when it is missing.
const Variant& argAt(const Args& args, size_t index);
bool hasArg(const Args& args, size_t index);

// The connection of one workspace; objects it created keep it and raise once it
// is closed.
struct Connection
{
    std::unique_ptr<company::Ledger> ledger;
    int programType = 0;
    company::Ledger& require();
};
using ConnectionRef = std::shared_ptr<Connection>;

// The field values of a record, header or item line.
struct FieldValues
{
    explicit FieldValues(const company::FieldSet& s)
        : set(&s), values(s.initialValues()), assigned(size_t(s.size()), false)
    {
    }
    void reset()
    {
        values = set->initialValues();
        assigned.assign(values.size(), false);
    }
    int index(const QString& name) const; // raises 438 naming the field
    Variant get(int i) const;
    void put(int i, const Variant& v);
    Variant get(const QString& name) const { return get(index(name)); }
    void put(const QString& name, const Variant& v) { put(index(name), v); }
    QVariant raw(const char* name) const
    {
        const int i = set->indexOf(QLatin1String(name));
        return i < 0 ? QVariant() : values[size_t(i)];
    }

    const company::FieldSet* set;
    std::vector<QVariant> values;
    std::vector<bool> assigned;
};
using FieldValuesRef = std::shared_ptr<FieldValues>;

Variant toVariant(const QVariant& v, company::FieldKind kind);
QVariant fromVariant(const Variant& v, company::FieldKind kind);

// Test-only: "raise=Member:N" in VORLEN_FAULTS makes that member raise error N.
void checkMemberFault(const QString& member);

// Every engine class dispatches through this: fault check, then the member table.
template <class Self>
Variant dispatch(const MemberTable<Self>& table, Self& self, DispId id, Invoke kind, Args& args,
                 const Variant& value)
{
    if (company::faults::active()) {
        for (const auto& [mid, name] : table.members())
            if (mid == id)
                checkMemberFault(name);
    }
    return table.invoke(self, id, kind, args, value);
}

// The boilerplate of one engine class: class name, live count, dispatch.
#define VDO_OBJECT(Class)                                                                                    \
public:                                                                                                      \
    QString className() const override                                                                       \
    {                                                                                                        \
        return QStringLiteral(#Class);                                                                       \
    }                                                                                                        \
    DispId idOfName(const QString& n) const override                                                         \
    {                                                                                                        \
        return table().idOfName(n);                                                                          \
    }                                                                                                        \
    Variant invoke(DispId id, Invoke k, Args& a, const Variant& v = {}) override                             \
    {                                                                                                        \
        return dispatch(table(), *this, id, k, a, v);                                                        \
    }                                                                                                        \
    static const MemberTable<Class>& table();                                                                \
                                                                                                             \
private:                                                                                                     \
    automation::LibraryLock m_lock{liveObjects()};

} // namespace vdo
