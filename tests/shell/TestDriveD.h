#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// Tests: a temporary folder mounted as D: through a mount table of the test's own
// ($QUILLAR_MOUNT_TABLE, see docs/drives.md), with the given folders below it,
// for the guard's lifetime.
class TestDriveD
{
public:
    explicit TestDriveD(const QStringList& folders)
    {
        m_ok = m_dir.isValid();
        for (const QString& folder : folders)
            m_ok = m_ok && QDir().mkpath(mountPoint() + QLatin1Char('/') + folder);
        QFile table(m_dir.filePath(QStringLiteral("mounts")));
        m_ok = m_ok && table.open(QIODevice::WriteOnly) &&
               table.write("overlay / overlay rw 0 0\n/dev/sdb1 " + QFile::encodeName(mountPoint()) +
                           " ext4 rw 0 0\n") > 0;
        table.close();
        qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(table.fileName()));
    }
    ~TestDriveD() { qunsetenv("QUILLAR_MOUNT_TABLE"); }
    TestDriveD(const TestDriveD&) = delete;
    TestDriveD& operator=(const TestDriveD&) = delete;

    bool isValid() const { return m_ok; }
    // The folder that is D:\ .
    QString mountPoint() const { return m_dir.filePath(QStringLiteral("mnt")); }
    // The temporary folder holding the mount point (on C:).
    QString tempPath() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};
