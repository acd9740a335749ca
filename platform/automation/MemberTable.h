#pragma once

#include "platform/automation/Object.h"

#include <QHash>
#include <QString>

#include <vector>

namespace automation {

// Each raises basic::RuntimeError 438 "Object doesn't support this property or method".
[[noreturn]] void throwUnknownName(const QString& name);
[[noreturn]] void throwMemberNotFound(DispId id);
[[noreturn]] void throwNotSupported(const QString& name);

// Argument helpers for members. `optionalArg` gives argument `index` (0-based), or
// Variant::missing() when the caller passed fewer or omitted it; `checkArgCount`
// raises 450 "Wrong number of arguments or invalid property assignment" unless
// min <= args.size() <= max.
const Variant& optionalArg(const Args& args, size_t index);
void checkArgCount(const Args& args, size_t min, size_t max);

// The member table of one class, declared once and shared by all its objects:
//
//   const MemberTable<Workspace>& Workspace::table() {
//       static const auto t = MemberTable<Workspace>()
//           .method(1, "Connect", [](Workspace& w, Args& a) { return w.connect(a); })
//           .property(2, "ProgramType", [](Workspace& w, Args&) { return Variant(w.m_type); });
//       return t;
//   }
//   DispId idOfName(const QString& n) const override { return table().idOfName(n); }
//   Variant invoke(DispId id, Invoke k, Args& a, const Variant& v) override {
//       return table().invoke(*this, id, k, a, v);
//   }
//
// A method may also be called as a property get and the reverse, as late-bound
// callers do not tell them apart. An unknown name, an unknown DISPID, a put on a
// read-only property and a get on a write-only one all raise 438 (err::
// ObjectDoesntSupportMember, "Object doesn't support this property or method"), the
// number a late-bound caller sees and branches on.
template <class Self>
class MemberTable
{
public:
    using Getter = Variant (*)(Self&, Args&);
    using Putter = void (*)(Self&, Args&, const Variant&);
    // A setter that takes its value by reference and may write a corrected value back.
    using RefPutter = void (*)(Self&, Args&, Variant&);

    MemberTable& method(DispId id, const char* name, Getter call)
    {
        return add(id, name, call, nullptr);
    }
    MemberTable& property(DispId id, const char* name, Getter get, Putter put = nullptr)
    {
        return add(id, name, get, put);
    }
    // A property whose setter takes its value by reference: a by-reference put
    // (invokePutByRef) sees what the setter writes back; a plain put passes a copy.
    MemberTable& propertyByRef(DispId id, const char* name, Getter get, RefPutter put)
    {
        add(id, name, get, nullptr);
        m_members.back().putRef = put;
        return *this;
    }

    DispId idOfName(const QString& name) const
    {
        const auto it = m_byName.constFind(name.toCaseFolded());
        if (it == m_byName.constEnd())
            throwUnknownName(name);
        return *it;
    }

    Variant invoke(Self& self, DispId id, Invoke kind, Args& args, const Variant& value) const
    {
        const Member* m = find(id);
        if (!m)
            throwMemberNotFound(id);
        if (kind == Invoke::PropertyPut || kind == Invoke::PropertyPutRef) {
            if (m->putRef) {
                Variant copy = value;
                m->putRef(self, args, copy);
                return {};
            }
            if (!m->put)
                throwNotSupported(m->name);
            m->put(self, args, value);
            return {};
        }
        if (!m->get)
            throwNotSupported(m->name);
        return m->get(self, args);
    }

    // A put with the value by reference; a member with a by-value setter gets a plain put.
    void putByRef(Self& self, DispId id, Args& args, Variant& value) const
    {
        const Member* m = find(id);
        if (m && m->putRef) {
            m->putRef(self, args, value);
            return;
        }
        invoke(self, id, Invoke::PropertyPut, args, value);
    }

    std::vector<std::pair<DispId, QString>> members() const
    {
        std::vector<std::pair<DispId, QString>> out;
        for (const auto& m : m_members)
            out.emplace_back(m.id, m.name);
        return out;
    }

private:
    struct Member
    {
        DispId id;
        QString name;
        Getter get;
        Putter put;
        RefPutter putRef = nullptr;
    };

    MemberTable& add(DispId id, const char* name, Getter get, Putter put)
    {
        m_members.push_back({id, QString::fromLatin1(name), get, put});
        m_byName.insert(QString::fromLatin1(name).toCaseFolded(), id);
        return *this;
    }
    const Member* find(DispId id) const
    {
        for (const auto& m : m_members)
            if (m.id == id)
                return &m;
        return nullptr;
    }

    std::vector<Member> m_members;
    QHash<QString, DispId> m_byName;
};

} // namespace automation
