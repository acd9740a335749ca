#pragma once

#include "platform/automation/Object.h"

#include <QHash>
#include <QString>

#include <vector>

namespace automation {

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
// callers do not tell them apart. Unknown names raise DispUnknownName; a put on a
// read-only property or a get on a write-only one raises ObjectDoesntSupportMember.
template <class Self>
class MemberTable
{
public:
    using Getter = Variant (*)(Self&, Args&);
    using Putter = void (*)(Self&, Args&, const Variant&);

    MemberTable& method(DispId id, const char* name, Getter call)
    {
        return add(id, name, call, nullptr);
    }
    MemberTable& property(DispId id, const char* name, Getter get, Putter put = nullptr)
    {
        return add(id, name, get, put);
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
            if (!m->put)
                throwNotSupported(m->name);
            m->put(self, args, value);
            return {};
        }
        if (!m->get)
            throwNotSupported(m->name);
        return m->get(self, args);
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

[[noreturn]] void throwUnknownName(const QString& name);
[[noreturn]] void throwMemberNotFound(DispId id);
[[noreturn]] void throwNotSupported(const QString& name);

} // namespace automation
