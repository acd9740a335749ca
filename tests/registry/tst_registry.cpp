#include "platform/registry/HiveFormat.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/ChildRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

using namespace registry;

Q_DECLARE_METATYPE(registry::Value)

namespace {

const QString ConfigKey = QStringLiteral("Software\\Dunmere\\Config");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

Status setIn(Hive hive, const QString& path, const QString& name, const Value& value)
{
    std::optional<Key> key;
    const Status status = createKey(hive, path, key);
    return status == Success ? key->setValue(name, value) : status;
}

Status getFrom(Hive hive, const QString& path, const QString& name, Value& out)
{
    std::optional<Key> key;
    const Status status = openKey(hive, path, Access::Read, key);
    return status == Success ? key->queryValue(name, out) : status;
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void hivePathsComeFromTheEnvironment();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void namesCompareWithoutCaseAndKeepTheirSpelling();
    void hivesAreSeparate();
    void missingKeysAndValues();
    void malformedPathsAreRefused_data();
    void malformedPathsAreRefused();
    void keyOpenedForReadIsNotWritten();
    void accessRule_data();
    void accessRule();
    void userHiveIsPrivateMachineHiveIsReadable();
    void corruptHiveIsReportedAndNeverReplaced_data();
    void corruptHiveIsReportedAndNeverReplaced();
    void failedWriteLeavesTheOldHiveWhole();
    void hostileHiveIsRefusedWithoutBlocking_data();
    void hostileHiveIsRefusedWithoutBlocking();
    void writesStayWithinWhatTheReaderTakes();
    void changesOnDiskAreSeen();
    void twoProcessesWritingTheSameHiveLoseNothing();
    void deleteKeyRemovesTheSubtree();
    void bufferQuery_data();
    void bufferQuery();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_machine;
    QString m_user;
};

void TestRegistry::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_machine = m_dir->filePath(QStringLiteral("etc/machine.hive"));
    m_user = m_dir->filePath(QStringLiteral("home/.config/quillar/user.hive"));
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_machine));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_user));
}

void TestRegistry::cleanup()
{
    // A folder a test made read-only must be removable again.
    if (m_dir)
        ::chmod(QFile::encodeName(QFileInfo(m_machine).absolutePath()).constData(), 0755);
    m_dir.reset();
}

void TestRegistry::hivePathsComeFromTheEnvironment()
{
    QCOMPARE(hivePath(Hive::LocalMachine), m_machine);
    QCOMPARE(hivePath(Hive::CurrentUser), m_user);

    const QByteArray machine = qgetenv("QUILLAR_MACHINE_HIVE");
    const QByteArray user = qgetenv("QUILLAR_USER_HIVE");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("QUILLAR_MACHINE_HIVE");
    qunsetenv("QUILLAR_USER_HIVE");
    qputenv("XDG_CONFIG_HOME", "/tmp/some-config");
    QCOMPARE(hivePath(Hive::LocalMachine), QStringLiteral("/etc/quillar/machine.hive"));
    QCOMPARE(hivePath(Hive::CurrentUser), QStringLiteral("/tmp/some-config/quillar/user.hive"));
    qputenv("QUILLAR_MACHINE_HIVE", machine);
    qputenv("QUILLAR_USER_HIVE", user);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
}

void TestRegistry::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<Value>("value");
    QTest::addRow("string") << Value::fromString(QStringLiteral("C:\\Vorlen\\accdata"));
    QTest::addRow("empty string") << Value::fromString(QString());
    QTest::addRow("string with quotes, NUL and accents")
        << Value::fromString(QStringLiteral("a\"b") + QChar(0) + QStringLiteral("\u00e9\u20ac"));
    QTest::addRow("dword 0") << Value::fromDWord(0);
    QTest::addRow("dword 261") << Value::fromDWord(261);
    QTest::addRow("dword 2^32-1") << Value::fromDWord(4294967295u);
    QTest::addRow("binary") << Value::fromBinary(QByteArray("\x00\xff\x10", 3));
    QTest::addRow("empty binary") << Value::fromBinary(QByteArray());
}

void TestRegistry::valuesRoundTripThroughTheFile()
{
    QFETCH(Value, value);
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("Item"), value), Success);

    Value back;
    QCOMPARE(getFrom(Hive::CurrentUser, ConfigKey, QStringLiteral("Item"), back), Success);
    QCOMPARE(back.type, value.type);
    QCOMPARE(back.rawBytes(), value.rawBytes());

    // What is on disk is the same, read as another process would.
    QString error;
    const auto root = HiveFormat::parse(readAll(m_user), error);
    QVERIFY2(root, qPrintable(error));
    const HiveNode* node = root->child(QStringLiteral("Software"));
    node = node ? node->child(QStringLiteral("Dunmere")) : nullptr;
    node = node ? node->child(QStringLiteral("Config")) : nullptr;
    QVERIFY(node);
    const auto it = node->values.find(HiveNode::fold(QStringLiteral("Item")));
    QVERIFY(it != node->values.end());
    QCOMPARE(it->second.value.rawBytes(), value.rawBytes());
    QVERIFY(readAll(m_user).contains("\"format\": \"quillar-registry-hive\""));
}

void TestRegistry::namesCompareWithoutCaseAndKeepTheirSpelling()
{
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("DataPath"),
                   Value::fromString(QStringLiteral("one"))),
             Success);
    QCOMPARE(setIn(Hive::CurrentUser, QStringLiteral("SOFTWARE\\dunmere\\CONFIG"), QStringLiteral("DATAPATH"),
                   Value::fromString(QStringLiteral("two"))),
             Success);

    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, QStringLiteral("software\\DUNMERE\\config"), Access::Read, key),
             Success);
    Value v;
    QCOMPARE(key->queryValue(QStringLiteral("datapath"), v), Success);
    QCOMPARE(v.string, QStringLiteral("two"));
    QCOMPARE(key->valueNames(), QStringList{QStringLiteral("DataPath")});

    std::optional<Key> software;
    QCOMPARE(openKey(Hive::CurrentUser, QStringLiteral("Software"), Access::Read, software), Success);
    QCOMPARE(software->subKeyNames(), QStringList{QStringLiteral("Dunmere")});
}

void TestRegistry::hivesAreSeparate()
{
    QCOMPARE(setIn(Hive::LocalMachine, ConfigKey, QStringLiteral("Shared"),
                   Value::fromString(QStringLiteral("machine"))),
             Success);
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("Shared"),
                   Value::fromString(QStringLiteral("user"))),
             Success);
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("UserOnly"), Value::fromDWord(5)), Success);

    Value v;
    QCOMPARE(getFrom(Hive::LocalMachine, ConfigKey, QStringLiteral("Shared"), v), Success);
    QCOMPARE(v.string, QStringLiteral("machine"));
    QCOMPARE(getFrom(Hive::CurrentUser, ConfigKey, QStringLiteral("Shared"), v), Success);
    QCOMPARE(v.string, QStringLiteral("user"));
    QCOMPARE(getFrom(Hive::LocalMachine, ConfigKey, QStringLiteral("UserOnly"), v), FileNotFound);
    QCOMPARE(getFrom(Hive::CurrentUser, ConfigKey, QStringLiteral("UserOnly"), v), Success);
    QVERIFY(QFileInfo::exists(m_machine));
    QVERIFY(QFileInfo::exists(m_user));
}

void TestRegistry::missingKeysAndValues()
{
    // No hive file yet: an empty hive whose root opens, nothing else.
    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, QString(), Access::Read, key), Success);
    QVERIFY(key->subKeyNames().isEmpty());
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), FileNotFound);
    QVERIFY(!key);
    QVERIFY(!QFileInfo::exists(m_user));

    QCOMPARE(createKey(Hive::CurrentUser, ConfigKey, key), Success);
    Value v;
    QCOMPARE(key->queryValue(QStringLiteral("Nothing"), v), FileNotFound);
    QCOMPARE(key->deleteValue(QStringLiteral("Nothing")), FileNotFound);
    QCOMPARE(key->setValue(QString(), Value::fromString(QStringLiteral("default value"))), Success);
    QCOMPARE(key->queryValue(QString(), v), Success);
    QCOMPARE(v.string, QStringLiteral("default value"));
    QCOMPARE(key->deleteValue(QString()), Success);
    QCOMPARE(key->queryValue(QString(), v), FileNotFound);
}

void TestRegistry::malformedPathsAreRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("leading backslash") << QStringLiteral("\\Software");
    QTest::addRow("empty name inside") << QStringLiteral("Software\\\\Dunmere");
    QTest::addRow("name of 256 characters") << QStringLiteral("Software\\") + QString(256, u'x');
}

void TestRegistry::malformedPathsAreRefused()
{
    QFETCH(QString, path);
    std::optional<Key> key;
    QCOMPARE(createKey(Hive::CurrentUser, path, key), InvalidParameter);
    QCOMPARE(openKey(Hive::CurrentUser, path, Access::Read, key), InvalidParameter);
    QCOMPARE(deleteKey(Hive::CurrentUser, path), InvalidParameter);
    QVERIFY(!key);
    QVERIFY(!QFileInfo::exists(m_user));
}

void TestRegistry::keyOpenedForReadIsNotWritten()
{
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("A"), Value::fromString(QStringLiteral("1"))),
             Success);
    const QByteArray before = readAll(m_user);

    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), Success);
    QCOMPARE(key->setValue(QStringLiteral("A"), Value::fromString(QStringLiteral("2"))), AccessDenied);
    QCOMPARE(key->deleteValue(QStringLiteral("A")), AccessDenied);
    Value unknown = Value::fromDWord(1);
    unknown.type = static_cast<ValueType>(7);
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::ReadWrite, key), Success);
    QCOMPARE(key->setValue(QStringLiteral("A"), unknown), InvalidParameter);
    QCOMPARE(readAll(m_user), before);
}

void TestRegistry::accessRule_data()
{
    QTest::addColumn<bool>("hiveExists");
    QTest::addColumn<QString>("readOnlyPath"); // relative to the machine hive's folder; "" = the hive file
    QTest::addColumn<bool>("writable");
    QTest::addRow("writable hive") << true << QStringLiteral("-") << true;
    QTest::addRow("no hive yet, folder writable") << false << QStringLiteral("-") << true;
    QTest::addRow("read-only hive file") << true << QString() << false;
    QTest::addRow("hive in a read-only folder") << true << QStringLiteral(".") << false;
    QTest::addRow("no hive yet, read-only folder") << false << QStringLiteral(".") << false;
}

void TestRegistry::accessRule()
{
    QFETCH(bool, hiveExists);
    QFETCH(QString, readOnlyPath);
    QFETCH(bool, writable);

    // Made writable first so that a key opened for writing exists before the change.
    QVERIFY(QDir().mkpath(QFileInfo(m_machine).absolutePath()));
    std::optional<Key> early;
    if (hiveExists) {
        QCOMPARE(setIn(Hive::LocalMachine, ConfigKey, QStringLiteral("Value"),
                       Value::fromString(QStringLiteral("old"))),
                 Success);
        QCOMPARE(openKey(Hive::LocalMachine, ConfigKey, Access::ReadWrite, early), Success);
    }
    if (readOnlyPath.isNull())
        QVERIFY(QFile::setPermissions(m_machine, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                     QFileDevice::ReadOther));
    else if (readOnlyPath == u".")
        QCOMPARE(::chmod(QFile::encodeName(QFileInfo(m_machine).absolutePath()).constData(), 0555), 0);
    const QByteArray before = readAll(m_machine);

    QCOMPARE(hiveWritable(Hive::LocalMachine), writable);
    std::optional<Key> key;
    const Status expected = writable ? Success : AccessDenied;
    QCOMPARE(createKey(Hive::LocalMachine, ConfigKey, key), expected);
    if (hiveExists) {
        QCOMPARE(openKey(Hive::LocalMachine, ConfigKey, Access::ReadWrite, key), expected);
        // Reading is always allowed; that is how a reader falls back from a machine
        // hive it may not write to the user hive.
        QCOMPARE(openKey(Hive::LocalMachine, ConfigKey, Access::Read, key), Success);
        QCOMPARE(early->setValue(QStringLiteral("Value"), Value::fromString(QStringLiteral("new"))),
                 expected);
        QCOMPARE(deleteKey(Hive::LocalMachine, ConfigKey), writable ? Success : AccessDenied);
        if (!writable) {
            QCOMPARE(readAll(m_machine), before);
            const QString text = statusText(AccessDenied, Hive::LocalMachine);
            QVERIFY2(text.contains(m_machine) && (text.contains(QStringLiteral("read-only")) ||
                                                  text.contains(QStringLiteral("not writable"))),
                     qPrintable(text));
        }
    } else {
        QCOMPARE(QFileInfo::exists(m_machine), writable);
    }
}

void TestRegistry::userHiveIsPrivateMachineHiveIsReadable()
{
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("A"), Value::fromDWord(1)), Success);
    QCOMPARE(modeOf(m_user), mode_t(0600));
    QCOMPARE(modeOf(QFileInfo(m_user).absolutePath()), mode_t(0700));
    QCOMPARE(modeOf(m_dir->filePath(QStringLiteral("home/.config"))), mode_t(0700));

    // A user hive someone opened up is made private again by the next write.
    QVERIFY(QFile::setPermissions(m_user,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("A"), Value::fromDWord(2)), Success);
    QCOMPARE(modeOf(m_user), mode_t(0600));

    QCOMPARE(setIn(Hive::LocalMachine, ConfigKey, QStringLiteral("A"), Value::fromDWord(1)), Success);
    QCOMPARE(modeOf(m_machine), mode_t(0644));
}

void TestRegistry::corruptHiveIsReportedAndNeverReplaced_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("reason");
    QTest::addRow("not JSON") << QStringLiteral("not-json.hive") << QStringLiteral("not valid JSON");
    QTest::addRow("cut off mid-way") << QStringLiteral("truncated.hive") << QStringLiteral("not valid JSON");
    QTest::addRow("no format marker") << QStringLiteral("no-marker.hive") << QStringLiteral("format marker");
    QTest::addRow("newer format version")
        << QStringLiteral("newer-version.hive") << QStringLiteral("version 2");
    QTest::addRow("negative dword") << QStringLiteral("bad-dword.hive") << QStringLiteral("\"Count\"");
    QTest::addRow("unknown value type") << QStringLiteral("unknown-type.hive") << QStringLiteral("\"qword\"");
    QTest::addRow("bad hex in binary") << QStringLiteral("bad-binary.hive") << QStringLiteral("hex digits");
    QTest::addRow("two keys differing only in case")
        << QStringLiteral("same-name-twice.hive") << QStringLiteral("two sub-keys");
    QTest::addRow("two keys of exactly the same name")
        << QStringLiteral("exact-key-twice.hive") << QStringLiteral("two sub-keys named \"Software\"");
    QTest::addRow("two values of exactly the same name, one escaped")
        << QStringLiteral("exact-value-twice.hive")
        << QStringLiteral("key \"Software\\Quillar\" holds two values named \"Count\"");
}

void TestRegistry::corruptHiveIsReportedAndNeverReplaced()
{
    QFETCH(QString, fixture);
    QFETCH(QString, reason);
    QVERIFY(QDir().mkpath(QFileInfo(m_user).absolutePath()));
    const QByteArray corrupt = readAll(QStringLiteral(QUILLAR_TEST_DATA "/registry/") + fixture);
    QVERIFY(!corrupt.isEmpty());
    QVERIFY(writeAll(m_user, corrupt));

    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, QString(), Access::Read, key), InvalidData);
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::ReadWrite, key), InvalidData);
    QCOMPARE(createKey(Hive::CurrentUser, ConfigKey, key), InvalidData);
    QCOMPARE(deleteKey(Hive::CurrentUser, QStringLiteral("Software")), InvalidData);
    QVERIFY(!key);
    const QString text = statusText(InvalidData, Hive::CurrentUser);
    QVERIFY2(text.contains(m_user) && text.contains(QStringLiteral("corrupt")) && text.contains(reason),
             qPrintable(text));
    QCOMPARE(readAll(m_user), corrupt);

    // Once the file is mended it is read again.
    QVERIFY(writeAll(m_user, readAll(QStringLiteral(QUILLAR_TEST_DATA "/registry/valid.hive"))));
    Value v;
    QCOMPARE(getFrom(Hive::CurrentUser, ConfigKey, QStringLiteral("count"), v), Success);
    QCOMPARE(v.dword, 261u);
}

void TestRegistry::failedWriteLeavesTheOldHiveWhole()
{
    QCOMPARE(
        setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("Keep"), Value::fromString(QStringLiteral("me"))),
        Success);
    const QByteArray before = readAll(m_user);

    // A file-size limit makes the write of the new hive fail half-way, as a full disk would.
    struct rlimit old
    {
    };
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = rlim_t(before.size() + 100);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::optional<Key> key;
    const Status opened = openKey(Hive::CurrentUser, ConfigKey, Access::ReadWrite, key);
    const Status written =
        key ? key->setValue(QStringLiteral("Big"), Value::fromBinary(QByteArray(4096, 'x'))) : opened;
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(opened, Success);
    QCOMPARE(written, WriteFault);
    QCOMPARE(readAll(m_user), before);
    QCOMPARE(QDir(QFileInfo(m_user).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("user.hive"), QStringLiteral("user.hive.lock")}));
    QVERIFY(statusText(WriteFault, Hive::CurrentUser).contains(m_user));
    // The system's reason, not Qt's "Unknown error".
    QVERIFY2(statusText(WriteFault, Hive::CurrentUser).contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
             qPrintable(statusText(WriteFault, Hive::CurrentUser)));
    Value v;
    QCOMPARE(key->queryValue(QStringLiteral("Keep"), v), Success);
    QCOMPARE(key->queryValue(QStringLiteral("Big"), v), FileNotFound);
}

namespace {

// A hive whose root holds keys nested `depth` deep, each named "k".
QByteArray nestedHive(int depth)
{
    QByteArray inner = "{}";
    for (int i = 1; i < depth; ++i)
        inner = "{\"keys\": {\"k\": " + inner + "}}";
    return "{\"format\": \"quillar-registry-hive\", \"version\": 1, \"keys\": {\"k\": " + inner + "}}";
}

QString nestedPath(int depth)
{
    QStringList parts;
    for (int i = 0; i < depth; ++i)
        parts << QStringLiteral("k");
    return parts.join(u'\\');
}

} // namespace

void TestRegistry::hostileHiveIsRefusedWithoutBlocking_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addRow("named pipe") << QStringLiteral("pipe") << QStringLiteral("not a regular file");
    QTest::addRow("symbolic link") << QStringLiteral("link") << QStringLiteral("symbolic link");
    QTest::addRow("larger than the bound") << QStringLiteral("large") << QStringLiteral("larger than 16777216 bytes");
    QTest::addRow("value longer than the bound")
        << QStringLiteral("value") << QStringLiteral("longer than 1048576 characters");
    QTest::addRow("keys deeper than the bound") << QStringLiteral("deep") << QStringLiteral("more than 256 deep");
}

void TestRegistry::hostileHiveIsRefusedWithoutBlocking()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QVERIFY(QDir().mkpath(QFileInfo(m_user).absolutePath()));
    const QByteArray file = QFile::encodeName(m_user);
    const QByteArray valid = readAll(QStringLiteral(QUILLAR_TEST_DATA "/registry/valid.hive"));
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(file.constData(), 0600), 0);
    } else if (kind == QLatin1String("link")) {
        const QString target = m_dir->filePath(QStringLiteral("elsewhere.hive"));
        QVERIFY(writeAll(target, valid));
        QCOMPARE(::symlink(QFile::encodeName(target).constData(), file.constData()), 0);
    } else if (kind == QLatin1String("large")) {
        // Valid text followed by blanks, then a long run of NULs that takes no disk room.
        QVERIFY(writeAll(m_user, valid + QByteArray(1024, ' ')));
        QVERIFY(QFile::resize(m_user, 256 * 1024 * 1024));
    } else if (kind == QLatin1String("value")) {
        QVERIFY(writeAll(m_user, "{\"format\": \"quillar-registry-hive\", \"version\": 1, \"values\": {\"v\": "
                                 "{\"type\": \"string\", \"data\": \"" +
                                     QByteArray(HiveFormat::MaxValueLength + 1, 'x') + "\"}}}"));
    } else {
        QVERIFY(writeAll(m_user, nestedHive(HiveFormat::MaxKeyDepth + 1)));
        QString error;
        QVERIFY(HiveFormat::parse(nestedHive(HiveFormat::MaxKeyDepth), error));
    }

    const testsupport::ChildOutcome run = testsupport::runInChild([&] {
        ::alarm(20); // a read that blocks ends the child, and the test fails
        std::optional<Key> key;
        const Status status = openKey(Hive::CurrentUser, QString(), Access::Read, key);
        const QString text = statusText(status, Hive::CurrentUser);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return status == InvalidData && text.contains(m_user) && text.contains(reason) ? 0 : 1;
    });
    QVERIFY(run.exited);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.peakGrowthKiB < 24 * 1024, qPrintable(QString::number(run.peakGrowthKiB)));
}

void TestRegistry::writesStayWithinWhatTheReaderTakes()
{
    // Deep paths: refused before anything is built (20,000 names once overflowed
    // the stack), and every path that is written reads back.
    const testsupport::ChildOutcome run = testsupport::runInChild([] {
        std::optional<Key> key;
        return createKey(Hive::CurrentUser, nestedPath(20000), key) == InvalidParameter ? 0 : 1;
    });
    QVERIFY(run.exited);
    QCOMPARE(run.code, 0);
    std::optional<Key> key;
    QCOMPARE(createKey(Hive::CurrentUser, nestedPath(600), key), InvalidParameter);
    QCOMPARE(createKey(Hive::CurrentUser, nestedPath(HiveFormat::MaxKeyDepth + 1), key), InvalidParameter);
    QCOMPARE(createKey(Hive::CurrentUser, nestedPath(HiveFormat::MaxKeyDepth), key), Success);
    QString error;
    QVERIFY2(HiveFormat::parse(readAll(m_user), error), qPrintable(error));

    // Values: one above the bound is refused, one at it is written and read back.
    QCOMPARE(key->setValue(QStringLiteral("long"), Value::fromString(QString(HiveFormat::MaxValueLength + 1, u'x'))),
             InvalidParameter);
    QCOMPARE(key->setValue(QStringLiteral("long"), Value::fromBinary(QByteArray(HiveFormat::MaxValueLength + 1, 'x'))),
             InvalidParameter);
    QCOMPARE(key->setValue(QStringLiteral("long"), Value::fromString(QString(HiveFormat::MaxValueLength, u'x'))),
             Success);

    // The whole hive: the write that would pass the bound is refused and names the
    // file; what is on disk still reads.
    Status status = Success;
    int written = 0;
    while (status == Success && written < 40)
        status = key->setValue(QStringLiteral("blob%1").arg(written++),
                               Value::fromBinary(QByteArray(HiveFormat::MaxValueLength, '\x5a')));
    QCOMPARE(status, WriteFault);
    QVERIFY(statusText(status, Hive::CurrentUser).contains(m_user));
    QVERIFY(statusText(status, Hive::CurrentUser).contains(QStringLiteral("larger than 16777216 bytes")));
    const QByteArray onDisk = readAll(m_user);
    QVERIFY(onDisk.size() <= HiveFormat::MaxHiveBytes);
    QVERIFY2(HiveFormat::parse(onDisk, error), qPrintable(error));
}

void TestRegistry::changesOnDiskAreSeen()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_user).absolutePath()));
    QByteArray text = readAll(QStringLiteral(QUILLAR_TEST_DATA "/registry/valid.hive"));
    QVERIFY(writeAll(m_user, text));
    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), Success);
    Value v;
    QCOMPARE(key->queryValue(QStringLiteral("Path"), v), Success);
    QCOMPARE(v.string, QStringLiteral("C:\\Vorlen"));

    // Rewritten in place by someone else, same size, different text.
    text.replace("C:\\\\Vorlen", "D:\\\\Vorlen");
    QVERIFY(writeAll(m_user, text));
    QCOMPARE(key->queryValue(QStringLiteral("Path"), v), Success);
    QCOMPARE(v.string, QStringLiteral("D:\\Vorlen"));

    // The key removed by someone else: the open key finds nothing.
    QVERIFY(writeAll(m_user, "{ \"format\": \"quillar-registry-hive\", \"version\": 1 }"));
    QCOMPARE(key->queryValue(QStringLiteral("Path"), v), FileNotFound);
}

void TestRegistry::twoProcessesWritingTheSameHiveLoseNothing()
{
    constexpr int PerProcess = 40;
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        bool ok = true;
        for (int i = 0; i < PerProcess; ++i)
            ok = setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("child%1").arg(i), Value::fromDWord(i)) ==
                     Success &&
                 ok;
        ::_exit(ok ? 0 : 1);
    }
    bool ok = true;
    for (int i = 0; i < PerProcess; ++i)
        ok = setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("parent%1").arg(i), Value::fromDWord(i)) ==
                 Success &&
             ok;
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(ok);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);

    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), Success);
    QCOMPARE(key->valueNames().size(), 2 * PerProcess);
}

void TestRegistry::deleteKeyRemovesTheSubtree()
{
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("A"), Value::fromDWord(1)), Success);
    QCOMPARE(
        setIn(Hive::CurrentUser, QStringLiteral("Software\\Other"), QStringLiteral("B"), Value::fromDWord(2)),
        Success);
    QCOMPARE(deleteKey(Hive::CurrentUser, QStringLiteral("software\\DUNMERE")), Success);
    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), FileNotFound);
    QCOMPARE(openKey(Hive::CurrentUser, QStringLiteral("Software"), Access::Read, key), Success);
    QCOMPARE(key->subKeyNames(), QStringList{QStringLiteral("Other")});
    QCOMPARE(deleteKey(Hive::CurrentUser, QStringLiteral("Software\\Dunmere")), FileNotFound);
    QCOMPARE(deleteKey(Hive::CurrentUser, QString()), InvalidParameter);
}

void TestRegistry::bufferQuery_data()
{
    QTest::addColumn<Value>("value");
    QTest::addColumn<Chars>("chars");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Status>("status");
    QTest::addRow("wide string") << Value::fromString(QStringLiteral("ab")) << Chars::Wide
                                 << QByteArray("a\0b\0\0\0", 6) << Success;
    QTest::addRow("narrow string") << Value::fromString(QStringLiteral("ab")) << Chars::Narrow
                                   << QByteArray("ab\0", 3) << Success;
    QTest::addRow("dword 261") << Value::fromDWord(261) << Chars::Narrow << QByteArray("\x05\x01\x00\x00", 4)
                               << Success;
    QTest::addRow("1,023 characters fill 1,024 bytes")
        << Value::fromString(QString(1023, u'x')) << Chars::Narrow
        << QString(1023, u'x').toLatin1().append('\0') << Success;
    QTest::addRow("1,024 characters need 1,025 bytes")
        << Value::fromString(QString(1024, u'x')) << Chars::Narrow << QByteArray() << MoreData;
    QTest::addRow("600 characters do not fit as UTF-16")
        << Value::fromString(QString(600, u'x')) << Chars::Wide << QByteArray() << MoreData;
}

void TestRegistry::bufferQuery()
{
    QFETCH(Value, value);
    QFETCH(Chars, chars);
    QFETCH(QByteArray, bytes);
    QFETCH(Status, status);
    QCOMPARE(setIn(Hive::CurrentUser, ConfigKey, QStringLiteral("V"), value), Success);
    std::optional<Key> key;
    QCOMPARE(openKey(Hive::CurrentUser, ConfigKey, Access::Read, key), Success);
    ValueType type = ValueType::Binary;
    QByteArray data("stale");
    uint32_t needed = 0;
    QCOMPARE(key->queryValue(QStringLiteral("V"), type, data, 1024, chars, &needed), status);
    QCOMPARE(type, value.type);
    QCOMPARE(data, bytes);
    QCOMPARE(needed, uint32_t(value.rawBytes(chars).size()));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
