#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QString>

#include <memory>
#include <vector>

namespace drivewalk {

// The collection GetAllFiles returns: full paths, read-only.
//   Item(index)  (default member, DISPID 0) 1-based; an index outside 1..Count raises 5
//   Count        (DISPID 1)
//   _NewEnum     (DISPID -4) for For Each, in order
class FileCollection : public automation::Object
{
public:
    explicit FileCollection(std::vector<QString> paths);
    ~FileCollection() override;

    QString className() const override { return QStringLiteral("Collection"); }
    automation::DispId idOfName(const QString& name) const override;
    automation::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                               const automation::Variant& value) override;

    const std::vector<QString>& paths() const { return *m_paths; }

private:
    static const automation::MemberTable<FileCollection>& table();
    automation::Variant item(const automation::Args& args) const;

    std::shared_ptr<const std::vector<QString>> m_paths;
    automation::LibraryLock m_lock;
};

} // namespace drivewalk
