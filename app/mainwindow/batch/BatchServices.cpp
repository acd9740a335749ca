#include "app/mainwindow/batch/BatchServices.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/shell/FileOrFolderExists.h"
#include "platform/shell/Paths.h"

namespace batch {

shell::FolderListing RealFileSystem::listFolder(const QString& folder)
{
    return shell::listFolder(folder);
}

shell::FolderReading RealFileSystem::readFolder(const QString& folder)
{
    return shell::FolderReading(folder);
}

std::optional<shell::FileEntry> RealFileSystem::fileEntry(const QString& path)
{
    return shell::fileEntry(path);
}

bool RealFileSystem::fileExists(const QString& path)
{
    // Not FileOrFolderExists: that reads "\" as a separator and "*" or "?" as
    // wildcards, all of which a Linux name may hold.
    return shell::fileEntry(path).has_value();
}

bool RealFileSystem::folderExists(const QString& path)
{
    return FileOrFolderExists(path, 1);
}

void RealFileSystem::moveFile(const QString& from, const QString& to)
{
    shell::moveFile(from, to);
}

basic::ObjectRef KeptDoSecurity::doSecurity()
{
    if (!m_object)
        m_object = automation::createObject(QLatin1String(keelbox::DoSecurityClassId));
    return m_object;
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString filePath(const QString& folder, const QString& name)
{
    const QString native = shell::nativePath(folder);
    return native.endsWith(QLatin1Char('/')) ? native + name : native + QLatin1Char('/') + name;
}

} // namespace batch
