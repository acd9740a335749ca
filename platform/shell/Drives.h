#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

// Drive letters on Linux. The mount table ($QUILLAR_MOUNT_TABLE, else
// /proc/self/mounts) is read in order; "C:" is always the root file system "/".
// Every further mount of a local disk file system (ext2/3/4, xfs, btrfs, vfat,
// exfat, ntfs, f2fs, zfs, ...) gets the next free letter from "D:" on, in mount
// order. Pseudo file systems (proc, sysfs, tmpfs, overlay, ...) and network file
// systems (nfs, cifs, sshfs, ...) get no letter. See docs/drives.md.
namespace shell {

enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct Drive
{
    QChar letter;       // 'C'
    QString root;       // "C:\"
    QString mountPoint; // "/"
    DriveType type = DriveType::Fixed;
};

// The drives in letter order. An unreadable mount table gives just "C:".
std::vector<Drive> logicalDrives();
// The same from a given mount table text (for tests).
std::vector<Drive> drivesFromMountTable(const QString& mountTableText);
// The folder a drive letter (either case) stands for; nothing for no drive. The
// path resolver of platform/basic maps "X:\..." through it.
std::optional<QString> mountPointOf(QChar letter);
// GetDriveType of "X:\"; NoRootDir for a letter that names no drive.
DriveType driveType(const QString& root);

} // namespace shell
