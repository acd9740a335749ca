#include "platform/shell/Paths.h"

#include "platform/basic/FileIO.h"
#include "platform/shell/Drives.h"

namespace shell {

bool namesUnknownDrive(const QString& path)
{
    return basic::startsWithDriveLetter(path) && !mountPointOf(path.at(0));
}

QString nativePath(const QString& path)
{
    return basic::resolvePath(path);
}

} // namespace shell
