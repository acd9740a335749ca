#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Variant.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using automation::Args;
using automation::Invoke;
using automation::ObjectRef;
using basic::Variant;

namespace {

const QString ClassId = QStringLiteral("{2B86759F-DA98-477F-A5BC-7C2F77880A3A}");

// Counts the passes of the event pump: it handles one event per pass and posts the
// next, which the pump keeps for its following pass.
class PumpCounter : public QObject
{
public:
    explicit PumpCounter(std::function<void(int)> onPass) : m_onPass(std::move(onPass))
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    int passes() const { return m_passes; }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        m_onPass(++m_passes);
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

private:
    std::function<void(int)> m_onPass;
    int m_passes = 0;
};

void touch(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
}

QStringList paths(const Variant& collection)
{
    QStringList out;
    for (const Variant& v : automation::enumerate(automation::toObject(collection)))
        out << v.stringValue();
    return out;
}

} // namespace

class tst_drivewalk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void members();
    void getLogSysDrive_data();
    void getLogSysDrive();
    void getAllFiles_data();
    void getAllFiles();
    void getAllFilesLeavesArguments();
    void collectionMembers();
    void stopBeforeSearch();
    void stopDuringSearch();
    void pumpsOncePerFolder();
    void folderVanishingDuringSearch();
    void unreadableFolder();
    void staysOnItsFileSystem();
    void starOverLargeTree();

private:
    Variant getAllFiles(const QString& path, const QString& filespec, bool recurse);
    void writeMountTable(const QString& text);

    QTemporaryDir m_dir;
    QString m_drive; // the folder the test mount table calls D:
    ObjectRef m_object;
};

void tst_drivewalk::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("user.hive"))));
    QCOMPARE(QProcess::execute(QStringLiteral(REGSVR_PATH),
                               {QStringLiteral("/s"), QStringLiteral(DRIVEWALK_PATH)}),
             0);
    m_object = automation::createObject(ClassId);
    QVERIFY(m_object);

    // D:\ with a three-level tree, hidden entries, a pipe and links.
    m_drive = m_dir.filePath(QStringLiteral("drive"));
    QDir d;
    QVERIFY(d.mkpath(m_drive + QStringLiteral("/A/B/C")));
    QVERIFY(d.mkpath(m_drive + QStringLiteral("/Z")));
    QVERIFY(d.mkpath(m_drive + QStringLiteral("/.git")));
    for (const char* file : {"COMPANY", "vorlen.exe", "notes.txt", ".hidden.txt", "A/a1.txt", "A/vorlen.exe",
                             "A/B/b1.txt", "A/B/C/c1.txt", "Z/z1.txt", ".git/g.txt"})
        touch(m_drive + QLatin1Char('/') + QLatin1String(file));
    QVERIFY(QFile::link(QStringLiteral("notes.txt"), m_drive + QStringLiteral("/linkfile.txt")));
    QVERIFY(QFile::link(QStringLiteral("A"), m_drive + QStringLiteral("/linkdir")));
    QVERIFY(QFile::link(QStringLiteral("missing"), m_drive + QStringLiteral("/dangling.txt")));
    QCOMPARE(::mkfifo(QFile::encodeName(m_drive + QStringLiteral("/pipe.txt")).constData(), 0600), 0);
}

void tst_drivewalk::init()
{
    writeMountTable(QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sdz1 %1 ext4 rw 0 0\n").arg(m_drive));
    m_object->put(QStringLiteral("SearchStopDll"), Variant(false));
}

void tst_drivewalk::writeMountTable(const QString& text)
{
    const QString path = m_dir.filePath(QStringLiteral("mounts"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(path));
}

Variant tst_drivewalk::getAllFiles(const QString& path, const QString& filespec, bool recurse)
{
    Args args{Variant(path), Variant(filespec), Variant(recurse)};
    return m_object->callByRef(QStringLiteral("GetAllFiles"), args);
}

void tst_drivewalk::members()
{
    QCOMPARE(m_object->className(), QStringLiteral("filesech"));
    QCOMPARE(m_object->idOfName(QStringLiteral("searchstopdll")), 1);
    QCOMPARE(m_object->idOfName(QStringLiteral("GetLogSysDrive")), 2);
    QCOMPARE(m_object->idOfName(QStringLiteral("GetAllFiles")), 3);

    // A new object starts with the flag clear; the flag reads back what was put, by DISPID too.
    const ObjectRef fresh = automation::createObject(QStringLiteral("Drivewalk.filesech"));
    QCOMPARE(fresh->get(QStringLiteral("SearchStopDll")), Variant(false));
    Args none;
    fresh->invoke(1, Invoke::PropertyPut, none, Variant(true));
    QCOMPARE(fresh->invoke(1, Invoke::PropertyGet, none), Variant(true));
}

void tst_drivewalk::getLogSysDrive_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");
    QTest::addRow("C fixed, D optical, E fixed")
        << "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n/dev/sdb1 /data ext4 rw 0 0\n"
        << "CE";
    QTest::addRow("network and memory file systems left out")
        << "/dev/sda1 / ext4 rw 0 0\nsrv:/x /mnt/nfs nfs rw 0 0\ntmpfs /tmp tmpfs rw 0 0\n/dev/sdb1 /d xfs "
           "rw 0 0\n"
        << "CD";
    QTest::addRow("root only") << "overlay / overlay rw 0 0\n"
                               << "C";
}

void tst_drivewalk::getLogSysDrive()
{
    QFETCH(QString, table);
    QFETCH(QString, expected);
    writeMountTable(table);
    QCOMPARE(m_object->call(QStringLiteral("GetLogSysDrive")), Variant(expected));
    Args none;
    QCOMPARE(m_object->invoke(2, Invoke::Method, none), Variant(expected));
}

void tst_drivewalk::getAllFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("filespec");
    QTest::addColumn<bool>("recurse");
    QTest::addColumn<QStringList>("expected");

    QTest::addRow("drive without backslash") << "D:"
                                             << "company" << false << QStringList{"D:\\COMPANY"};
    QTest::addRow("drive with backslash") << "D:\\"
                                          << "company" << false << QStringList{"D:\\COMPANY"};
    QTest::addRow("masks in mask order") << "D:\\"
                                         << "notes.txt;company;vorlen.exe" << false
                                         << QStringList{"D:\\notes.txt", "D:\\COMPANY", "D:\\vorlen.exe"};
    QTest::addRow("file matching two masks is listed twice")
        << "D:\\"
        << "*.exe;VORLEN.*" << false << QStringList{"D:\\vorlen.exe", "D:\\vorlen.exe"};
    QTest::addRow("mask matching nothing adds nothing")
        << "D:\\"
        << "vlw.exe;company" << false << QStringList{"D:\\COMPANY"};
    QTest::addRow("no recursion: own folder only")
        << "D:\\"
        << "*.txt" << false << QStringList{"D:\\linkfile.txt", "D:\\notes.txt"};
    QTest::addRow("three levels, depth first")
        << "D:\\"
        << "*.txt" << true << QStringList{"D:\\linkfile.txt", "D:\\notes.txt",       "D:\\A\\a1.txt",
                                          "D:\\A\\B\\b1.txt", "D:\\A\\B\\C\\c1.txt", "D:\\Z\\z1.txt"};
    QTest::addRow("each folder grouped by mask")
        << "D:\\"
        << "*.exe;*1.txt" << true << QStringList{"D:\\vorlen.exe",   "D:\\A\\vorlen.exe",   "D:\\A\\a1.txt",
                                                 "D:\\A\\B\\b1.txt", "D:\\A\\B\\C\\c1.txt", "D:\\Z\\z1.txt"};
    QTest::addRow("question mark is one character")
        << "D:\\"
        << "?1.txt" << true
        << QStringList{"D:\\A\\a1.txt", "D:\\A\\B\\b1.txt", "D:\\A\\B\\C\\c1.txt", "D:\\Z\\z1.txt"};
    QTest::addRow("star dot star lists every plain file")
        << "D:\\"
        << "*.*" << false
        << QStringList{"D:\\COMPANY", "D:\\linkfile.txt", "D:\\notes.txt", "D:\\vorlen.exe"};
    QTest::addRow("trailing dot: names without extension") << "D:\\"
                                                           << "*." << false << QStringList{"D:\\COMPANY"};
    QTest::addRow("hidden files and folders are not listed") << "D:\\"
                                                             << "*hidden*;g.txt" << true << QStringList{};
    QTest::addRow("link to a folder is not followed") << "D:\\"
                                                      << "a1.txt" << true << QStringList{"D:\\A\\a1.txt"};
    QTest::addRow("pipes and dangling links are not plain files")
        << "D:\\"
        << "pipe.txt;dangling.txt" << true << QStringList{};
    QTest::addRow("folder spelled in another case keeps the caller's spelling")
        << "d:\\a\\b"
        << "*" << true << QStringList{"d:\\a\\b\\b1.txt", "d:\\a\\b\\C\\c1.txt"};
    QTest::addRow("sub-folder given with backslash") << "D:\\Z\\"
                                                     << "*" << false << QStringList{"D:\\Z\\z1.txt"};
    QTest::addRow("path that does not exist") << "D:\\nowhere"
                                              << "*" << true << QStringList{};
    QTest::addRow("drive that does not exist") << "Q:\\"
                                               << "*" << true << QStringList{};
    QTest::addRow("a file, not a folder") << "D:\\notes.txt"
                                          << "*" << true << QStringList{};
    QTest::addRow("empty filespec") << "D:\\"
                                    << "" << true << QStringList{};
    QTest::addRow("empty masks between separators") << "D:\\"
                                                    << ";company;" << false << QStringList{"D:\\COMPANY"};
}

void tst_drivewalk::getAllFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, filespec);
    QFETCH(bool, recurse);
    QFETCH(QStringList, expected);

    const Variant result = getAllFiles(path, filespec, recurse);
    QVERIFY(result.isObject());
    QVERIFY(result.objectValue());
    QCOMPARE(paths(result), expected);
}

void tst_drivewalk::getAllFilesLeavesArguments()
{
    Args args{Variant(QStringLiteral("D:")), Variant(QStringLiteral("company")), Variant(true)};
    const Variant result = m_object->invoke(3, Invoke::Method, args);
    QCOMPARE(paths(result), QStringList{"D:\\COMPANY"});
    QCOMPARE(args[0], Variant(QStringLiteral("D:")));
    QCOMPARE(args[1], Variant(QStringLiteral("company")));
    QCOMPARE(args[2], Variant(true));
}

void tst_drivewalk::collectionMembers()
{
    const ObjectRef files =
        automation::toObject(getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*.txt"), false));
    QCOMPARE(files->get(QStringLiteral("Count")), Variant(int32_t(2)));
    QCOMPARE(files->value({Variant(int32_t(1))}), Variant(QStringLiteral("D:\\linkfile.txt")));
    QCOMPARE(files->call(QStringLiteral("Item"), {Variant(int16_t(2))}),
             Variant(QStringLiteral("D:\\notes.txt")));
    for (const int32_t bad : {0, 3}) {
        try {
            files->value({Variant(bad)});
            QFAIL("index out of range accepted");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::InvalidProcedureCall);
        }
    }
}

void tst_drivewalk::stopBeforeSearch()
{
    m_object->put(QStringLiteral("SearchStopDll"), Variant(true));
    const Variant result = getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*"), true);
    QVERIFY(result.isObject());
    QVERIFY(!result.objectValue());
    // The flag stays set until the caller clears it.
    QCOMPARE(m_object->get(QStringLiteral("SearchStopDll")), Variant(true));
}

// The caller's stop button, pressed while the third folder is entered: the files
// of the first two folders come back, nothing after them.
void tst_drivewalk::stopDuringSearch()
{
    const QStringList all = paths(getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*"), true));
    QCOMPARE(all.size(), 9);

    PumpCounter counter([this](int pass) {
        if (pass == 3)
            m_object->put(QStringLiteral("SearchStopDll"), Variant(true));
    });
    const Variant result = getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*"), true);
    QVERIFY(result.objectValue());
    // D:\ and D:\A were searched; the stop came on entering D:\A\B.
    QCOMPARE(paths(result), all.mid(0, 6));
    QCOMPARE(paths(result).last(), QStringLiteral("D:\\A\\vorlen.exe"));
    QCOMPARE(m_object->get(QStringLiteral("SearchStopDll")), Variant(true));
}

void tst_drivewalk::pumpsOncePerFolder()
{
    PumpCounter counter([](int) {});
    getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*"), true);
    QCOMPARE(counter.passes(), 5); // D:\, A, B, C, Z
    getAllFiles(QStringLiteral("D:\\"), QStringLiteral("*"), false);
    QCOMPARE(counter.passes(), 6);
}

// A folder removed after its parent was listed contributes nothing; the search goes on.
void tst_drivewalk::folderVanishingDuringSearch()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("one")));
    QDir().mkpath(dir.filePath(QStringLiteral("two")));
    QDir().mkpath(dir.filePath(QStringLiteral("three")));
    for (const char* f : {"one/1.txt", "two/2.txt", "three/3.txt"})
        touch(dir.filePath(QLatin1String(f)));
    PumpCounter counter([&dir](int pass) {
        if (pass == 2)
            QDir(dir.filePath(QStringLiteral("two"))).removeRecursively();
    });
    const QString root = dir.path();
    QCOMPARE(paths(getAllFiles(root, QStringLiteral("*.txt"), true)),
             (QStringList{root + "\\one\\1.txt", root + "\\three\\3.txt"}));
}

void tst_drivewalk::unreadableFolder()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("closed")));
    QDir().mkpath(dir.filePath(QStringLiteral("open")));
    touch(dir.filePath(QStringLiteral("closed/secret.txt")));
    touch(dir.filePath(QStringLiteral("open/plain.txt")));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("closed")), QFileDevice::Permissions()));
    if (::geteuid() == 0) {
        QFile::setPermissions(dir.filePath(QStringLiteral("closed")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("mode bits do not keep root out of a folder; the folder-that-vanished and not-a-folder cases "
              "cover "
              "a listing that fails");
    }
    const QString root = dir.path();
    QCOMPARE(paths(getAllFiles(root, QStringLiteral("*"), true)), QStringList{root + "\\open\\plain.txt"});
    QCOMPARE(paths(getAllFiles(root + "\\closed", QStringLiteral("*"), true)), QStringList{});
    QFile::setPermissions(dir.filePath(QStringLiteral("closed")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// /dev/shm is its own file system below /dev on most systems: a file there is not
// found by a search of /dev.
void tst_drivewalk::staysOnItsFileSystem()
{
    struct stat dev
    {
    }, shm{};
    if (::stat("/dev", &dev) != 0 || ::stat("/dev/shm", &shm) != 0 || dev.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        QSKIP("no writable separate file system at /dev/shm");
    const QString name = QStringLiteral("quillar-drivewalk-%1.probe").arg(QCoreApplication::applicationPid());
    touch(QStringLiteral("/dev/shm/") + name);
    const QStringList inside = paths(getAllFiles(QStringLiteral("/dev/shm"), name, true));
    const QStringList across = paths(getAllFiles(QStringLiteral("/dev"), name, true));
    QFile::remove(QStringLiteral("/dev/shm/") + name);
    QCOMPARE(inside, QStringList{"/dev/shm\\" + name});
    QCOMPARE(across, QStringList{});
}

void tst_drivewalk::starOverLargeTree()
{
    QTemporaryDir dir;
    int expected = 0;
    for (int i = 0; i < 40; ++i) {
        const QString folder = dir.filePath(QStringLiteral("f%1/g").arg(i));
        QVERIFY(QDir().mkpath(folder));
        for (int j = 0; j < 25; ++j, ++expected)
            touch(folder + QStringLiteral("/file%1.dat").arg(j));
    }
    // A deep chain, and links back up it that must not be walked.
    QString deep = dir.filePath(QStringLiteral("deep"));
    for (int level = 0; level < 150; ++level) {
        deep += QStringLiteral("/d");
        QVERIFY(QDir().mkpath(deep));
        touch(deep + QStringLiteral("/x"));
        ++expected;
        if (level % 50 == 0)
            QVERIFY(QFile::link(dir.path(), deep + QStringLiteral("/up")));
    }
    const Variant result = getAllFiles(dir.path(), QStringLiteral("*"), true);
    QCOMPARE(automation::toObject(result)->get(QStringLiteral("Count")), Variant(int32_t(expected)));
}

QTEST_GUILESS_MAIN(tst_drivewalk)
#include "tst_drivewalk.moc"
