#include "platform/shell/Drives.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "C=/:3 D=/media/cd:5": letter, mount point and type code of each drive.
QString describe(const std::vector<shell::Drive>& drives)
{
    QStringList out;
    for (const shell::Drive& d : drives) {
        out << QStringLiteral("%1=%2:%3").arg(d.letter).arg(d.mountPoint).arg(int(d.type));
        if (d.root != QString(d.letter) + QStringLiteral(":\\"))
            out << QStringLiteral("bad root ") + d.root;
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class tst_drives : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromMountTable_data();
    void fromMountTable();
    void lettersEndAtZ();
    void fromEnvironment();
    void unreadableTable();
    void driveType_data();
    void driveType();
};

void tst_drives::fromMountTable_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");

    QTest::addRow("empty table: the root is C") << ""
                                                << "C=/:3";
    QTest::addRow("root only") << "/dev/sda1 / ext4 rw,relatime 0 0\n"
                               << "C=/:3";
    QTest::addRow("overlay root is still C") << "overlay / overlay rw 0 0\n"
                                             << "C=/:3";
    QTest::addRow("fixed, optical, fixed")
        << "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n/dev/sdb1 /data xfs rw 0 0\n"
        << "C=/:3 D=/media/cd:5 E=/data:3";
    QTest::addRow("pseudo and network file systems get no letter")
        << "proc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\ntmpfs /run tmpfs rw 0 0\n"
           "devtmpfs /dev devtmpfs rw 0 0\ncgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
           "overlay /var/lib/x overlay rw 0 0\nserver:/export /mnt/nfs nfs4 rw 0 0\n"
           "//server/share /mnt/smb cifs rw 0 0\nuser@host: /mnt/ssh fuse.sshfs rw 0 0\n"
           "/dev/sdb1 /home ext4 rw 0 0\n"
        << "C=/:3 D=/home:3";
    QTest::addRow("disk file systems in mount order")
        << "/dev/nvme0n1p2 / btrfs rw 0 0\n/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
           "/dev/sdc1 /srv/win ntfs3 rw 0 0\n/dev/sdd1 /srv/usb exfat rw 0 0\n"
        << "C=/:3 D=/boot/efi:3 E=/srv/win:3 F=/srv/usb:3";
    QTest::addRow("root mounted twice stays C")
        << "rootfs / rootfs rw 0 0\n/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\n"
        << "C=/:3 D=/data:3";
    QTest::addRow("mount point mounted over keeps its first letter")
        << "/dev/sdb1 /data ext4 rw 0 0\n/dev/sdc1 /data ext4 rw 0 0\n/dev/sdd1 /more ext4 rw 0 0\n"
        << "C=/:3 D=/data:3 E=/more:3";
    QTest::addRow("escaped blank and backslash in a mount point")
        << "/dev/sdb1 /mnt/my\\040disk ext4 rw 0 0\n/dev/sdc1 /mnt/a\\134b ext4 rw 0 0\n"
        << "C=/:3 D=/mnt/my disk:3 E=/mnt/a\\b:3";
    QTest::addRow("a bind-mounted file is no drive") << "/dev/sda1 /etc/passwd ext4 rw 0 0\n"
                                                     << "C=/:3";
    QTest::addRow("malformed lines are skipped")
        << "garbage\n\n/dev/sdb1\n/dev/sdb1 relative ext4 rw 0 0\n\t/dev/sdc1\t/tabbed\text4 rw 0 0\r\n"
        << "C=/:3 D=/tabbed:3";
}

void tst_drives::fromMountTable()
{
    QFETCH(QString, table);
    QFETCH(QString, expected);
    QCOMPARE(describe(shell::drivesFromMountTable(table)), expected);
}

void tst_drives::lettersEndAtZ()
{
    QString table;
    for (int i = 0; i < 30; ++i)
        table += QStringLiteral("/dev/sd%1 /mnt/d%1 ext4 rw 0 0\n").arg(i);
    const std::vector<shell::Drive> drives = shell::drivesFromMountTable(table);
    QCOMPARE(drives.size(), size_t(24));
    QCOMPARE(drives.back().letter, QChar('Z'));
    QCOMPARE(drives.back().mountPoint, QStringLiteral("/mnt/d22"));
}

void tst_drives::fromEnvironment()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mounts"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd udf ro 0 0\n/dev/sdb1 /data ext4 rw 0 0\n");
    file.close();
    qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(path));
    QCOMPARE(describe(shell::logicalDrives()), QStringLiteral("C=/:3 D=/media/cd:5 E=/data:3"));
    qunsetenv("QUILLAR_MOUNT_TABLE");
}

void tst_drives::unreadableTable()
{
    qputenv("QUILLAR_MOUNT_TABLE", "/nonexistent/mounts");
    QCOMPARE(describe(shell::logicalDrives()), QStringLiteral("C=/:3"));
    qunsetenv("QUILLAR_MOUNT_TABLE");
}

void tst_drives::driveType_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<int>("expected");
    QTest::addRow("C:\\") << "C:\\" << int(shell::DriveType::Fixed);
    QTest::addRow("C:") << "C:" << int(shell::DriveType::Fixed);
    QTest::addRow("lower case c:/") << "c:/" << int(shell::DriveType::Fixed);
    QTest::addRow("optical D:") << "D:\\" << int(shell::DriveType::CdRom);
    QTest::addRow("fixed E:") << "E:\\" << int(shell::DriveType::Fixed);
    QTest::addRow("no drive F:") << "F:\\" << int(shell::DriveType::NoRootDir);
    QTest::addRow("A: is never a drive") << "A:\\" << int(shell::DriveType::NoRootDir);
    QTest::addRow("empty") << "" << int(shell::DriveType::NoRootDir);
    QTest::addRow("a folder, not a root") << "C:\\data" << int(shell::DriveType::NoRootDir);
    QTest::addRow("no colon") << "CD" << int(shell::DriveType::NoRootDir);
}

void tst_drives::driveType()
{
    QFETCH(QString, root);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mounts"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n/dev/sdb1 /data ext4 rw 0 0\n");
    file.close();
    qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(path));
    QCOMPARE(int(shell::driveType(root)), expected);
    qunsetenv("QUILLAR_MOUNT_TABLE");
}

QTEST_GUILESS_MAIN(tst_drives)
#include "tst_drives.moc"
