#include "platform/shell/DisplayPath.h"

#include "platform/shell/Drives.h"

#include <QDir>
#include <QFileInfo>

namespace shell {

namespace {

bool inDriveForm(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
}

// "rest" of `path` below `mountPoint`, or a null string when the path is not below it.
QString below(const QString& path, const QString& mountPoint)
{
    if (mountPoint == QStringLiteral("/"))
        return path.mid(1);
    if (path == mountPoint)
        return QStringLiteral("");
    if (path.startsWith(mountPoint) && path.at(mountPoint.size()) == QLatin1Char('/'))
        return path.mid(mountPoint.size() + 1);
    return {};
}

} // namespace

QString displayPath(const QString& nativePath)
{
    if (nativePath.isEmpty() || inDriveForm(nativePath))
        return nativePath;
    const QString path = QDir::cleanPath(QFileInfo(nativePath).absoluteFilePath());
    const Drive* best = nullptr;
    QString rest;
    const std::vector<Drive> drives = logicalDrives();
    for (const Drive& drive : drives) {
        const QString mount = QDir::cleanPath(drive.mountPoint);
        const QString r = below(path, mount);
        if (!r.isNull() && (!best || mount.size() > QDir::cleanPath(best->mountPoint).size())) {
            best = &drive;
            rest = r;
        }
    }
    if (!best) // the root is always C:, so only a path outside "/" lands here
        return path;
    return best->root + QString(rest).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace shell
