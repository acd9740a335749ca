#include "platform/shell/Paths.h"

#include "platform/basic/FileIO.h"
#include "platform/shell/Drives.h"

#include <optional>

namespace shell {

namespace {

bool startsWithDrive(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

std::optional<QString> mountPointOf(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (const Drive& drive : logicalDrives()) {
        if (drive.letter.toUpper() == upper)
            return drive.mountPoint;
    }
    return std::nullopt;
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

} // namespace

bool namesUnknownDrive(const QString& path)
{
    return startsWithDrive(path) && !mountPointOf(path.at(0));
}

QString nativePath(const QString& path)
{
    QString mapped = path;
    if (startsWithDrive(path)) {
        if (const std::optional<QString> mount = mountPointOf(path.at(0))) {
            QString rest = path.mid(2);
            QString root = *mount;
            while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
                root.chop(1);
            if (rest.isEmpty())
                mapped = root;
            else if (root == QLatin1String("/"))
                mapped = isSeparator(rest.front()) ? rest : QLatin1Char('/') + rest;
            else
                mapped = isSeparator(rest.front()) ? root + rest : root + QLatin1Char('/') + rest;
        }
    }
    return basic::resolvePath(mapped);
}

} // namespace shell
