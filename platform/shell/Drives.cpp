#include "platform/shell/Drives.h"

#include "platform/basic/FileIO.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace shell {

namespace {

// File systems that live on a local block device. Anything not named here (pseudo,
// memory-backed, network, fuse other than fuseblk) gets no letter, so an unknown
// new file system type is left out rather than searched by mistake.
const QSet<QString>& localDiskFileSystems()
{
    static const QSet<QString> types = {
        QStringLiteral("ext2"),     QStringLiteral("ext3"),   QStringLiteral("ext4"),
        QStringLiteral("xfs"),      QStringLiteral("btrfs"),  QStringLiteral("bcachefs"),
        QStringLiteral("vfat"),     QStringLiteral("msdos"),  QStringLiteral("exfat"),
        QStringLiteral("ntfs"),     QStringLiteral("ntfs3"),  QStringLiteral("fuseblk"),
        QStringLiteral("f2fs"),     QStringLiteral("zfs"),    QStringLiteral("jfs"),
        QStringLiteral("reiserfs"), QStringLiteral("nilfs2"), QStringLiteral("hfs"),
        QStringLiteral("hfsplus"),  QStringLiteral("ufs"),    QStringLiteral("minix"),
        QStringLiteral("iso9660"),  QStringLiteral("udf"),
    };
    return types;
}

bool isOpticalFileSystem(const QString& type)
{
    return type == QLatin1String("iso9660") || type == QLatin1String("udf");
}

// The mount table escapes blanks, tabs, newlines and backslashes as \ooo.
QString unescapeMountField(const QString& field)
{
    if (!field.contains(QLatin1Char('\\')))
        return field;
    QByteArray in = field.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size()) {
            const char a = in[i + 1], b = in[i + 2], c = in[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out.append(char(((a - '0') << 6) | ((b - '0') << 3) | (c - '0')));
                i += 3;
                continue;
            }
        }
        out.append(in[i]);
    }
    return QString::fromUtf8(out);
}

QString rootOf(QChar letter)
{
    return QString(letter) + QStringLiteral(":\\");
}

Drive systemDrive()
{
    return Drive{QLatin1Char('C'), rootOf(QLatin1Char('C')), QStringLiteral("/"), DriveType::Fixed};
}

QString mountTablePath()
{
    const QString configured = qEnvironmentVariable("QUILLAR_MOUNT_TABLE");
    return configured.isEmpty() ? QStringLiteral("/proc/self/mounts") : configured;
}

} // namespace

std::vector<Drive> drivesFromMountTable(const QString& mountTableText)
{
    std::vector<Drive> drives{systemDrive()};
    QSet<QString> mountPoints{QStringLiteral("/")};
    char16_t next = u'D';

    const QStringList lines = mountTableText.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (next > u'Z')
            break;
        const QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue;
        const QString mountPoint = unescapeMountField(fields.at(1));
        const QString type = fields.at(2);
        if (!localDiskFileSystems().contains(type) || !mountPoint.startsWith(QLatin1Char('/')))
            continue;
        // A mount point mounted over again keeps the letter it first got.
        if (mountPoints.contains(mountPoint))
            continue;
        // A single file bind-mounted into place (as containers do for /etc/hosts) is
        // no drive root; a mount point that cannot be seen keeps its letter.
        const QFileInfo info(mountPoint);
        if (info.exists() && !info.isDir())
            continue;
        mountPoints.insert(mountPoint);
        const QChar letter(next++);
        drives.push_back(Drive{letter, rootOf(letter), mountPoint,
                               isOpticalFileSystem(type) ? DriveType::CdRom : DriveType::Fixed});
    }
    return drives;
}

std::vector<Drive> logicalDrives()
{
    QFile file(mountTablePath());
    if (!file.open(QIODevice::ReadOnly))
        return {systemDrive()};
    // /proc files report size 0: read to the end rather than by size.
    return drivesFromMountTable(QString::fromUtf8(file.readAll()));
}

DriveType driveType(const QString& root)
{
    // "C:", "C:\" and "C:/" name the same root; anything else names no drive.
    if (root.size() < 2 || root.size() > 3 || root.at(1) != QLatin1Char(':'))
        return DriveType::NoRootDir;
    if (root.size() == 3 && root.at(2) != QLatin1Char('\\') && root.at(2) != QLatin1Char('/'))
        return DriveType::NoRootDir;
    const QChar letter = root.at(0).toUpper();
    for (const Drive& drive : logicalDrives())
        if (drive.letter == letter)
            return drive.type;
    return DriveType::NoRootDir;
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

namespace {

// Every program that knows the drives resolves "X:\..." paths in all its file
// access, the layout files and the import file included.
[[maybe_unused]] const bool g_driveRootsInstalled = (basic::setDriveRootLookup(&mountPointOf), true);

} // namespace

} // namespace shell
