#include "utilities/drivewalk/FileCollection.h"

#include "utilities/drivewalk/DrivewalkServer.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace drivewalk {

using automation::Args;
using automation::Variant;

namespace {

// Walks a snapshot of the paths; shares them so it outlives the collection safely.
class FileEnumerator : public automation::Enumerator
{
public:
    explicit FileEnumerator(std::shared_ptr<const std::vector<QString>> paths)
        : m_paths(std::move(paths)), m_lock(liveObjects())
    {
    }

    QString className() const override { return QStringLiteral("Enumerator"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }
    bool next(Variant& element) override
    {
        if (m_next >= m_paths->size())
            return false;
        element = Variant(m_paths->at(m_next++));
        return true;
    }
    void reset() override { m_next = 0; }

private:
    static const automation::MemberTable<FileEnumerator>& table()
    {
        static const automation::MemberTable<FileEnumerator> t;
        return t;
    }

    std::shared_ptr<const std::vector<QString>> m_paths;
    size_t m_next = 0;
    automation::LibraryLock m_lock;
};

} // namespace

FileCollection::FileCollection(std::vector<QString> paths)
    : m_paths(std::make_shared<const std::vector<QString>>(std::move(paths))), m_lock(liveObjects())
{
}

FileCollection::~FileCollection() = default;

const automation::MemberTable<FileCollection>& FileCollection::table()
{
    static const auto t =
        automation::MemberTable<FileCollection>()
            .method(automation::DispIdValue, "Item", [](FileCollection& c, Args& a) { return c.item(a); })
            .property(1, "Count",
                      [](FileCollection& c, Args&) { return Variant(int32_t(c.m_paths->size())); })
            .method(automation::DispIdNewEnum, "_NewEnum", [](FileCollection& c, Args&) {
                return Variant(automation::ObjectRef(std::make_shared<FileEnumerator>(c.m_paths)));
            });
    return t;
}

automation::DispId FileCollection::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

Variant FileCollection::invoke(automation::DispId id, automation::Invoke kind, Args& args,
                               const Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

Variant FileCollection::item(const Args& args) const
{
    if (args.empty())
        throw basic::RuntimeError(basic::err::WrongNumberOfArguments,
                                  basic::errorDescription(basic::err::WrongNumberOfArguments),
                                  QStringLiteral("Collection"));
    const int32_t index = basic::CLng(args.front());
    if (index < 1 || size_t(index) > m_paths->size())
        throw basic::RuntimeError(basic::err::InvalidProcedureCall,
                                  basic::errorDescription(basic::err::InvalidProcedureCall),
                                  QStringLiteral("Collection"));
    return Variant(m_paths->at(size_t(index - 1)));
}

} // namespace drivewalk
