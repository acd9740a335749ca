#include "platform/shell/FileOrFolderExists.h"
#include "platform/shell/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// "/tmp/x/y" written as the routines write it: "C:\tmp\x\y".
QString asWindowsPath(const QString& nativePath)
{
    QString path = nativePath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QStringLiteral("C:") + path;
}

void makeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nativePath_data();
    void nativePath();
    void exactCaseWinsOverOtherSpelling();
    void fileOrFolderExists_data();
    void fileOrFolderExists();
    void specialFileIsNoOrdinaryFile();

private:
    QTemporaryDir m_root;       // the tree the paths point into
    QTemporaryDir m_driveD;     // the folder mounted as drive D:
    QTemporaryDir m_mountTable; // holds the mount table the drives are read from
};

void TestPaths::initTestCase()
{
    QVERIFY(m_root.isValid());
    QVERIFY(m_driveD.isValid());
    QVERIFY(m_mountTable.isValid());

    // C: is the root file system, D: the second local disk.
    const QString table = m_mountTable.filePath(QStringLiteral("mounts"));
    QFile mounts(table);
    QVERIFY(mounts.open(QIODevice::WriteOnly));
    mounts.write("/dev/sda1 / ext4 rw,relatime 0 0\n");
    mounts.write("proc /proc proc rw 0 0\n");
    mounts.write(QStringLiteral("/dev/sdb1 %1 ext4 rw 0 0\n").arg(m_driveD.path()).toUtf8());
    mounts.close();
    qputenv("QUILLAR_MOUNT_TABLE", table.toUtf8());

    const QDir root(m_root.path());
    QVERIFY(root.mkpath(QStringLiteral("Company/ACCDATA")));
    makeFile(root.filePath(QStringLiteral("Company/ACCDATA/Setup.DTA")));
    QVERIFY(root.mkpath(QStringLiteral("Batch/Source")));
    makeFile(root.filePath(QStringLiteral("Batch/Source/file1.csv")));
    makeFile(root.filePath(QStringLiteral("Batch/Source/Other.TXT")));
    makeFile(root.filePath(QStringLiteral("Batch/Source/README")));
    QVERIFY(root.mkpath(QStringLiteral("Batch/Empty")));
    QVERIFY(root.mkpath(QStringLiteral("Batch/OnlyFolders/sub")));
    QVERIFY(QDir(m_driveD.path()).mkpath(QStringLiteral("Vorlen/Data")));
}

void TestPaths::nativePath_data()
{
    QTest::addColumn<QString>("path");     // "@" stands for the temporary root, "D:" is drive D
    QTest::addColumn<QString>("expected"); // "@" the root, "%" the folder mounted as D:

    QTest::addRow("slashes kept") << "@/Company/ACCDATA/Setup.DTA"
                                  << "@/Company/ACCDATA/Setup.DTA";
    QTest::addRow("backslashes") << "@\\Company\\ACCDATA\\Setup.DTA"
                                 << "@/Company/ACCDATA/Setup.DTA";
    QTest::addRow("mixed case") << "@\\company\\accdata\\setup.dta"
                                << "@/Company/ACCDATA/Setup.DTA";
    QTest::addRow("mixed separators") << "@/COMPANY\\Accdata/SETUP.dta"
                                      << "@/Company/ACCDATA/Setup.DTA";
    QTest::addRow("missing component keeps the rest as written") << "@\\company\\Missing\\accdata\\setup.dta"
                                                                 << "@/Company/Missing/accdata/setup.dta";
    QTest::addRow("missing last component") << "@\\company\\accdata\\New File.csv"
                                            << "@/Company/ACCDATA/New File.csv";
    QTest::addRow("drive D") << "D:\\vorlen\\DATA"
                             << "%/Vorlen/Data";
    QTest::addRow("drive d lower case") << "d:\\VORLEN\\data\\"
                                        << "%/Vorlen/Data/";
    QTest::addRow("drive D alone") << "D:"
                                   << "%";
    QTest::addRow("drive D root") << "D:\\"
                                  << "%/";
    QTest::addRow("unknown drive left as written") << "Q:\\Data\\x.csv"
                                                   << "Q:/Data/x.csv";
}

void TestPaths::nativePath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    path.replace(QLatin1Char('@'), m_root.path());
    expected.replace(QLatin1Char('@'), m_root.path());
    expected.replace(QLatin1Char('%'), m_driveD.path());
    QCOMPARE(shell::nativePath(path), expected);
}

void TestPaths::exactCaseWinsOverOtherSpelling()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("DATA")));
    const QString written = asWindowsPath(dir.path());
    QCOMPARE(shell::nativePath(written + QStringLiteral("\\DATA")), dir.path() + QStringLiteral("/DATA"));
    QCOMPARE(shell::nativePath(written + QStringLiteral("\\Data")), dir.path() + QStringLiteral("/Data"));
    QVERIFY(shell::namesUnknownDrive(QStringLiteral("Q:\\x")));
    QVERIFY(!shell::namesUnknownDrive(written));
    QVERIFY(!shell::namesUnknownDrive(dir.path()));
}

void TestPaths::fileOrFolderExists_data()
{
    QTest::addColumn<QString>("path"); // "@" stands for the temporary root written as "C:\..."
    QTest::addColumn<int>("folderFlag");
    QTest::addColumn<bool>("exists");

    QTest::addRow("empty") << "" << 0 << false;
    QTest::addRow("blanks as file") << "   " << 0 << false;
    QTest::addRow("blanks as folder") << "   " << 1 << false;
    QTest::addRow("file") << "@\\Batch\\Source\\file1.csv" << 0 << true;
    QTest::addRow("file in other case") << "@\\BATCH\\source\\FILE1.CSV" << 0 << true;
    QTest::addRow("file written with slashes") << "@/Batch/Source/Other.TXT" << 0 << true;
    QTest::addRow("missing file") << "@\\Batch\\Source\\file2.csv" << 0 << false;
    QTest::addRow("file in missing folder") << "@\\Batch\\Nowhere\\file1.csv" << 0 << false;
    QTest::addRow("folder as file") << "@\\Batch\\Source" << 0 << false;
    QTest::addRow("folder") << "@\\Batch\\Source" << 1 << true;
    QTest::addRow("folder with closing separator") << "@\\Batch\\Source\\" << 1 << true;
    QTest::addRow("empty folder") << "@\\Batch\\Empty" << 1 << true;
    QTest::addRow("folder in other case") << "@\\batch\\EMPTY" << 1 << true;
    QTest::addRow("missing folder") << "@\\Batch\\Nowhere" << 1 << false;
    QTest::addRow("file as folder") << "@\\Batch\\Source\\file1.csv" << 1 << false;
    QTest::addRow("negative flag takes the path as written") << "@\\Batch\\Source\\file1.csv" << -1 << true;
    QTest::addRow("negative flag folder") << "@\\Batch\\Empty" << -1 << true;
    QTest::addRow("wildcard extension") << "@\\Batch\\Source\\*.csv" << 0 << true;
    QTest::addRow("wildcard other case") << "@\\Batch\\Source\\*.CSV" << 0 << true;
    QTest::addRow("wildcard no match") << "@\\Batch\\Source\\*.xls" << 0 << false;
    QTest::addRow("question mark") << "@\\Batch\\Source\\file?.csv" << 0 << true;
    QTest::addRow("question mark needs a character") << "@\\Batch\\Source\\file1?.csv" << 0 << false;
    QTest::addRow("star dot star matches a name without extension")
        << "@\\Batch\\OnlyFolders\\..\\Source\\READ*.*" << 0 << true;
    QTest::addRow("wildcard in empty folder") << "@\\Batch\\Empty\\*" << 0 << false;
    QTest::addRow("wildcard never matches a folder as file") << "@\\Batch\\OnlyFolders\\*" << 0 << false;
    QTest::addRow("wildcard with folders") << "@\\Batch\\OnlyFolders\\s*" << -1 << true;
    QTest::addRow("wildcard in a folder part") << "@\\Batch\\Sour*\\file1.csv" << 0 << false;
    QTest::addRow("closing separator as file lists the files") << "@\\Batch\\Source\\" << 0 << true;
    QTest::addRow("closing separator as file in folder of folders")
        << "@\\Batch\\OnlyFolders\\" << 0 << false;
    QTest::addRow("root drive") << "C:\\" << 1 << true;
    QTest::addRow("bare drive as folder") << "C:" << 1 << true;
    QTest::addRow("unknown drive") << "Q:\\" << 1 << false;
    QTest::addRow("unknown drive file") << "Q:\\Batch\\file1.csv" << 0 << false;
    QTest::addRow("malformed path with NUL")
        << QStringLiteral("@\\Batch") + QChar(0) + QStringLiteral("x") << 1 << false;
}

void TestPaths::fileOrFolderExists()
{
    QFETCH(QString, path);
    QFETCH(int, folderFlag);
    QFETCH(bool, exists);
    path.replace(QLatin1Char('@'), asWindowsPath(m_root.path()));
    QCOMPARE(FileOrFolderExists(path, folderFlag), exists);
}

void TestPaths::specialFileIsNoOrdinaryFile()
{
    const QString fifo = m_root.filePath(QStringLiteral("Batch/Empty/pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString written = asWindowsPath(fifo);
    QVERIFY(!FileOrFolderExists(written, 0));
    QVERIFY(!FileOrFolderExists(asWindowsPath(m_root.path()) + QStringLiteral("\\Batch\\Empty\\*"), 0));
    QVERIFY(QFile::remove(fifo));
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
