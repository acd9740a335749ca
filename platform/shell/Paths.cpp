#include "platform/shell/Paths.h"

#include "platform/basic/FileIO.h"
#include "platform/shell/Drives.h"

namespace shell {

bool namesUnknownDrive(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 128 && !mountPointOf(path.at(0));
}

QString nativePath(const QString& path)
{
    return basic::resolvePath(path);
}

} // namespace shell
