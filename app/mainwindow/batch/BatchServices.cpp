#include "app/mainwindow/batch/BatchServices.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/shell/FileOrFolderExists.h"

namespace batch {

std::vector<shell::FileEntry> RealFileSystem::listFiles(const QString& folder)
{
    return shell::listFiles(folder);
}

std::optional<shell::FileEntry> RealFileSystem::fileEntry(const QString& path)
{
    return shell::fileEntry(path);
}

bool RealFileSystem::fileExists(const QString& path)
{
    return FileOrFolderExists(path, 0);
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

} // namespace batch
