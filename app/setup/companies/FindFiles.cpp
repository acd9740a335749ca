#include "app/setup/companies/FindFiles.h"

#include "utilities/drivewalk/filesech.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/Conversions.h"

namespace companies {

automation::ObjectRef createFileSearchObject()
{
    return automation::createObject(QString::fromLatin1(drivewalk::FilesechClassId));
}

QStringList FindFiles(automation::Object& fileSearch, const QString& folder, const QString& patterns,
                      bool recurse)
{
    const automation::Variant found = fileSearch.call(
        QStringLiteral("GetAllFiles"),
        {automation::Variant(folder), automation::Variant(patterns), automation::Variant(recurse)});
    QStringList paths;
    if (!found.isObject() || !found.objectValue())
        return paths;
    for (const automation::Variant& path : automation::enumerate(found.objectValue()))
        paths << basic::CStr(path);
    return paths;
}

} // namespace companies
