#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Variant.h"
#include "platform/registry/RegistryStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using automation::Args;
using automation::Invoke;
using automation::ObjectRef;
using basic::Variant;

namespace {

const QString ClassId = QStringLiteral("{D1F9989D-5E70-4BC0-BED5-1581A4A299B7}");
const QString ProgId = QStringLiteral("Keelbox.DoSecurity");
const QString ConfigKey = QStringLiteral("Software\\Dunmere\\Config");

// The caller's string array: arr(i) = v and arr(i) for 0 <= i < size, else error 9.
class StringArray : public automation::Object
{
public:
    StringArray(int size, const QString& fill) : m_items(size_t(size), fill) {}

    QString className() const override { return QStringLiteral("String()"); }
    automation::DispId idOfName(const QString& name) const override
    {
        throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember, name);
    }
    Variant invoke(automation::DispId id, Invoke kind, Args& args, const Variant& value) override
    {
        if (id != automation::DispIdValue || args.size() != 1 || args[0].type() != basic::VarType::Long)
            throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember);
        const int index = args[0].intValue();
        if (index < 0 || size_t(index) >= m_items.size())
            throw basic::RuntimeError(basic::err::SubscriptOutOfRange);
        if (kind == Invoke::PropertyPut) {
            m_items[size_t(index)] = value.stringValue();
            return {};
        }
        return Variant(m_items[size_t(index)]);
    }

    QStringList items() const { return QStringList(m_items.begin(), m_items.end()); }

private:
    std::vector<QString> m_items;
};

// One value to put into a hive: type 0 means none.
struct HiveValue
{
    int type = 0;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(HiveValue)

class tst_keelbox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void createdByClassIdAndProgId();
    void getRegKeyValue_data();
    void getRegKeyValue();
    void getRegKeyValueByDispId();
    void getRegKeyValueSkipsMachineHiveUserMayNotWrite();
    void getRegKeyValueMissingArgument();

    void funcCsvStringRead_data();
    void funcCsvStringRead();
    void funcCsvStringReadArrayTooSmall();

    void funcFileRead();
    void funcFileReadPathInSystemSpelling();
    void funcFileReadFails_data();
    void funcFileReadFails();
    void textStreamIsReadOnly();

    void unregistered();

private:
    static void putValue(registry::Hive hive, const QString& name, const HiveValue& value);
    Variant getRegKeyValue(const QString& name, bool& found);

    QTemporaryDir m_dir;
    QString m_machineHive;
    ObjectRef m_object;
};

void tst_keelbox::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_machineHive = m_dir.filePath(QStringLiteral("machine.hive"));
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_machineHive));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("user.hive"))));
    QCOMPARE(
        QProcess::execute(QStringLiteral(REGSVR_PATH), {QStringLiteral("/s"), QStringLiteral(KEELBOX_PATH)}),
        0);
    m_object = automation::createObject(ClassId);
    QVERIFY(m_object);
}

void tst_keelbox::init()
{
    QFile::setPermissions(m_machineHive, QFile::ReadOwner | QFile::WriteOwner);
    for (const registry::Hive hive : {registry::Hive::LocalMachine, registry::Hive::CurrentUser}) {
        const registry::Status status = registry::deleteKey(hive, ConfigKey);
        QVERIFY(status == registry::Success || status == registry::FileNotFound);
    }
}

void tst_keelbox::putValue(registry::Hive hive, const QString& name, const HiveValue& value)
{
    if (value.type == 0)
        return;
    std::optional<registry::Key> key;
    QCOMPARE(registry::createKey(hive, ConfigKey, key), registry::Success);
    registry::Value v;
    switch (value.type) {
    case 1:
        v = registry::Value::fromString(value.text);
        break;
    case 3:
        v = registry::Value::fromBinary(value.text.toLatin1());
        break;
    case 4:
        v = registry::Value::fromDWord(uint32_t(value.text.toLongLong()));
        break;
    }
    QCOMPARE(key->setValue(name, v), registry::Success);
}

Variant tst_keelbox::getRegKeyValue(const QString& name, bool& found)
{
    Args args{Variant(name), Variant(!found)};
    const Variant result = m_object->callByRef(QStringLiteral("getregkeyvalue"), args);
    found = args[1].boolValue();
    if (args[0] != Variant(name))
        qWarning("SubKeyRef was changed");
    return result;
}

void tst_keelbox::createdByClassIdAndProgId()
{
    QCOMPARE(m_object->className(), QStringLiteral("DoSecurity"));
    const ObjectRef byProgId = automation::createObject(ProgId);
    QVERIFY(byProgId);
    QCOMPARE(byProgId->idOfName(QStringLiteral("GetRegKeyValue")), 1);
    QCOMPARE(byProgId->idOfName(QStringLiteral("FuncCsvStringRead")), 2);
    QCOMPARE(byProgId->idOfName(QStringLiteral("FuncFileRead")), 3);
}

void tst_keelbox::getRegKeyValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<HiveValue>("machine");
    QTest::addColumn<HiveValue>("user");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("expectedFound");

    const QString name = QStringLiteral("DefaultLogPath");
    const HiveValue none;
    auto str = [](const QString& s) { return HiveValue{1, s}; };
    auto dword = [](qint64 n) { return HiveValue{4, QString::number(n)}; };

    QTest::addRow("in both hives: machine wins") << name << name << str("/m") << str("/u") << "/m" << true;
    QTest::addRow("only per-user") << name << name << none << str("/u") << "/u" << true;
    QTest::addRow("in neither hive") << name << name << none << none << "" << false;
    QTest::addRow("other value in both") << name << "Other" << str("/m") << str("/u") << "" << false;
    QTest::addRow("name without regard to case")
        << name << "defaultlogpath" << str("/m") << none << "/m" << true;
    QTest::addRow("empty string is found") << name << name << str("") << str("/u") << "" << true;
    QTest::addRow("binary type: empty but found")
        << name << name << HiveValue{3, "ab"} << str("/u") << "" << true;
    QTest::addRow("dword 261") << name << name << dword(261) << none << "261" << true;
    QTest::addRow("dword 0") << name << name << dword(0) << none << "0" << true;
    QTest::addRow("dword 2^31 reads negative")
        << name << name << dword(0x80000000LL) << none << "-2147483648" << true;
    QTest::addRow("dword all bits") << name << name << dword(0xFFFFFFFFLL) << none << "-1" << true;
    QTest::addRow("string cut at first zero")
        << name << name << str(QStringLiteral("abc") + QChar(0) + "def") << none << "abc" << true;
    QTest::addRow("non-ASCII text") << name << name << str(QStringLiteral("C:\\Bücher")) << none
                                    << QStringLiteral("C:\\Bücher") << true;
    QTest::addRow("1023 bytes fit the buffer")
        << name << name << str(QString(1023, 'x')) << none << QString(1023, 'x') << true;
    QTest::addRow("1024 bytes do not fit: missing")
        << name << name << str(QString(1024, 'x')) << none << "" << false;
    QTest::addRow("too long in machine hive: per-user value")
        << name << name << str(QString(5000, 'x')) << str("/u") << "/u" << true;
    QTest::addRow("too long in both")
        << name << name << str(QString(1024, 'x')) << str(QString(2000, 'y')) << "" << false;
}

void tst_keelbox::getRegKeyValue()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(HiveValue, machine);
    QFETCH(HiveValue, user);
    QFETCH(QString, expected);
    QFETCH(bool, expectedFound);

    putValue(registry::Hive::LocalMachine, stored, machine);
    putValue(registry::Hive::CurrentUser, stored, user);

    bool found = !expectedFound;
    const Variant result = getRegKeyValue(asked, found);
    QCOMPARE(result, Variant(expected));
    QCOMPARE(found, expectedFound);
}

void tst_keelbox::getRegKeyValueByDispId()
{
    putValue(registry::Hive::CurrentUser, QStringLiteral("BatchInterval"), HiveValue{4, "5"});
    Args args{Variant(QStringLiteral("BatchInterval")), Variant(false)};
    QCOMPARE(m_object->invoke(1, Invoke::Method, args), Variant(QStringLiteral("5")));
    QCOMPARE(args[1], Variant(true));
}

// The key is opened read-write, as it always was: a machine hive this user may not
// write is passed over, and the per-user value (or nothing) is the answer.
void tst_keelbox::getRegKeyValueSkipsMachineHiveUserMayNotWrite()
{
    putValue(registry::Hive::LocalMachine, QStringLiteral("DefaultLogPath"), HiveValue{1, "/m"});
    QFile::setPermissions(m_machineHive, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (registry::hiveWritable(registry::Hive::LocalMachine))
        QSKIP("the registry store lets this user write a read-only hive file");

    bool found = true;
    QCOMPARE(getRegKeyValue(QStringLiteral("DefaultLogPath"), found), Variant(QString()));
    QCOMPARE(found, false);

    putValue(registry::Hive::CurrentUser, QStringLiteral("DefaultLogPath"), HiveValue{1, "/u"});
    QCOMPARE(getRegKeyValue(QStringLiteral("DefaultLogPath"), found), Variant(QStringLiteral("/u")));
    QCOMPARE(found, true);
}

void tst_keelbox::getRegKeyValueMissingArgument()
{
    try {
        m_object->call(QStringLiteral("GetRegKeyValue"), {Variant(QStringLiteral("DefaultLogPath"))});
        QFAIL("no error raised");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::WrongNumberOfArguments);
    }
}

void tst_keelbox::funcCsvStringRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("colNo");
    QTest::addColumn<int>("chrCode");
    QTest::addColumn<QStringList>("expected"); // the whole array of 5 slots afterwards

    const QString s = QStringLiteral("stale");
    QTest::addRow("blanks around a field are trimmed")
        << "a , b ,c" << 3 << 44 << QStringList{"a", "b", "c", s, s};
    QTest::addRow("nothing between two commas") << "a,,c" << 3 << 44 << QStringList{"a", "", "c", s, s};
    QTest::addRow("line ends with the delimiter") << "a,b," << 3 << 44 << QStringList{"a", "b", "", s, s};
    QTest::addRow("no delimiter: whole line trimmed")
        << "  one field  " << 1 << 44 << QStringList{"one field", s, s, s, s};
    QTest::addRow("empty line: one empty field") << "" << 1 << 44 << QStringList{"", s, s, s, s};
    QTest::addRow("quotes are ordinary characters")
        << "\"a,b\",c" << 3 << 44 << QStringList{"\"a", "b\"", "c", s, s};
    QTest::addRow("only blanks are trimmed") << " \ta\t ,b" << 2 << 44 << QStringList{"\ta\t", "b", s, s, s};
    QTest::addRow("semicolon by code 59") << "a;b,c;d" << 3 << 59 << QStringList{"a", "b,c", "d", s, s};
    QTest::addRow("tab by code 9") << "a\t b" << 2 << 9 << QStringList{"a", "b", s, s, s};
    QTest::addRow("fewer fields than asked: exactly that many")
        << "a,b,c,d" << 2 << 44 << QStringList{"a", "b", s, s, s};
    QTest::addRow("fields after the last one are empty, not the line again")
        << "a,b" << 4 << 44 << QStringList{"a", "b", "", "", s};
    QTest::addRow("line starting with the delimiter") << ",a" << 2 << 44 << QStringList{"", "a", s, s, s};
    QTest::addRow("no field asked writes nothing") << "a,b" << 0 << 44 << QStringList{s, s, s, s, s};
}

void tst_keelbox::funcCsvStringRead()
{
    QFETCH(QString, line);
    QFETCH(int, colNo);
    QFETCH(int, chrCode);
    QFETCH(QStringList, expected);

    const auto array = std::make_shared<StringArray>(5, QStringLiteral("stale"));
    Args args{Variant(line), Variant(int16_t(colNo)), Variant(ObjectRef(array)), Variant(int16_t(chrCode))};
    QCOMPARE(m_object->callByRef(QStringLiteral("FuncCsvStringRead"), args), Variant());
    QCOMPARE(array->items(), expected);

    // The same through the DISPID.
    const auto again = std::make_shared<StringArray>(5, QStringLiteral("stale"));
    args[2] = Variant(ObjectRef(again));
    m_object->invoke(2, Invoke::Method, args);
    QCOMPARE(again->items(), expected);
}

// A call with a smaller array is the caller's error: it gets its own array's error.
void tst_keelbox::funcCsvStringReadArrayTooSmall()
{
    const auto array = std::make_shared<StringArray>(2, QString());
    Args args{Variant(QStringLiteral("a,b,c")), Variant(int16_t(3)), Variant(ObjectRef(array)),
              Variant(int16_t(44))};
    try {
        m_object->callByRef(QStringLiteral("FuncCsvStringRead"), args);
        QFAIL("no error raised");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::SubscriptOutOfRange);
    }
    QCOMPARE(array->items(), (QStringList{"a", "b"}));

    args[2] = Variant(QStringLiteral("not an array"));
    QVERIFY_THROWS_EXCEPTION(basic::RuntimeError,
                             m_object->callByRef(QStringLiteral("FuncCsvStringRead"), args));
}

void tst_keelbox::funcFileRead()
{
    const QString path = QStringLiteral(QUILLAR_TEST_DATA "/keelbox/sample.txt");
    const Variant stream = m_object->call(QStringLiteral("FuncFileRead"), {Variant(path)});
    QVERIFY(stream.isObject());
    const ObjectRef s = stream.objectValue();
    QCOMPARE(s->get(QStringLiteral("AtEndOfStream")), Variant(false));
    QCOMPARE(s->call(QStringLiteral("Read"), {Variant(int32_t(5))}), Variant(QStringLiteral("first")));
    QCOMPARE(s->get(QStringLiteral("Column")), Variant(int32_t(6)));
    QCOMPARE(s->call(QStringLiteral("ReadLine")), Variant(QStringLiteral(" line")));
    QCOMPARE(s->get(QStringLiteral("Line")), Variant(int32_t(2)));
    QCOMPARE(s->call(QStringLiteral("ReadLine")), Variant(QStringLiteral("second, line ")));
    // Single-byte text: 0xE9 is "é"; a lone CR ends a line too.
    QCOMPARE(s->call(QStringLiteral("ReadLine")), Variant(QStringLiteral("Café")));
    QCOMPARE(s->call(QStringLiteral("ReadAll")), Variant(QStringLiteral("last")));
    QCOMPARE(s->get(QStringLiteral("AtEndOfStream")), Variant(true));
    try {
        s->call(QStringLiteral("ReadLine"));
        QFAIL("read past the end");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::InputPastEndOfFile);
    }
    s->call(QStringLiteral("Close"));
    try {
        s->call(QStringLiteral("ReadAll"));
        QFAIL("read after close");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::BadFileNameOrNumber);
    }
}

void tst_keelbox::funcFileReadPathInSystemSpelling()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(QUILLAR_TEST_DATA "/keelbox/sample.txt"), dir.filePath("Sample.TXT")));
    const QString written = QString(dir.path()).replace('/', '\\') + QStringLiteral("\\sample.txt");
    Args args{Variant(written)};
    const Variant stream = m_object->invoke(3, Invoke::Method, args);
    QVERIFY(stream.isObject());
    QCOMPARE(stream.objectValue()->call(QStringLiteral("ReadLine")), Variant(QStringLiteral("first line")));
    QCOMPARE(args[0], Variant(written));
}

void tst_keelbox::funcFileReadFails_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("missing file") << QStringLiteral(QUILLAR_TEST_DATA "/keelbox/missing.txt");
    QTest::addRow("missing folder") << QStringLiteral(QUILLAR_TEST_DATA "/keelbox/nowhere/sample.txt");
    QTest::addRow("a folder, not a file") << QStringLiteral(QUILLAR_TEST_DATA "/keelbox");
    QTest::addRow("empty name") << QString();
    QTest::addRow("drive that does not exist") << QStringLiteral("Q:\\sample.txt");
}

void tst_keelbox::funcFileReadFails()
{
    QFETCH(QString, path);
    try {
        m_object->call(QStringLiteral("FuncFileRead"), {Variant(path)});
        QFAIL("no error raised");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::FileNotFound);
        QCOMPARE(e.description(), QStringLiteral("File not found"));
    }
}

void tst_keelbox::textStreamIsReadOnly()
{
    const Variant stream = m_object->call(QStringLiteral("FuncFileRead"),
                                          {Variant(QStringLiteral(QUILLAR_TEST_DATA "/keelbox/sample.txt"))});
    try {
        stream.objectValue()->call(QStringLiteral("WriteLine"), {Variant(QStringLiteral("x"))});
        QFAIL("no error raised");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), 54); // bad file mode
    }
    QCOMPARE(stream.objectValue()->call(QStringLiteral("ReadLine")), Variant(QStringLiteral("first line")));
}

void tst_keelbox::unregistered()
{
    m_object.reset();
    QCOMPARE(QProcess::execute(QStringLiteral(REGSVR_PATH),
                               {QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(KEELBOX_PATH)}),
             0);
    try {
        automation::createObject(ClassId);
        QFAIL("created after unregistering");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::CantCreateObject);
    }
}

QTEST_GUILESS_MAIN(tst_keelbox)
#include "tst_keelbox.moc"
