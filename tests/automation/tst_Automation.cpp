#include "TestLibraryIds.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

using automation::Args;
using automation::Invoke;
using automation::ObjectRef;
using automation::Variant;

Q_DECLARE_METATYPE(Args)
Q_DECLARE_METATYPE(Variant)

namespace {

const QString ClassId = QString::fromLatin1(testlib::CounterClassId);
const QString ProgId = QString::fromLatin1(testlib::CounterProgId);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run regsvr(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(REGSVR_PATH), args);
    Run r;
    if (!p.waitForFinished(30000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString testLibrary()
{
    return QFileInfo(QStringLiteral(TESTLIB_PATH)).canonicalFilePath();
}

std::optional<QString> defaultValue(registry::Hive hive, const QString& path)
{
    std::optional<registry::Key> key;
    if (registry::openKey(hive, path, registry::Access::Read, key) != registry::Success)
        return std::nullopt;
    registry::Value v;
    if (key->queryValue(QString(), v) != registry::Success)
        return std::nullopt;
    return v.string;
}

void writeDefault(registry::Hive hive, const QString& path, const QString& text)
{
    std::optional<registry::Key> key;
    QCOMPARE(registry::createKey(hive, path, key), registry::Success);
    QCOMPARE(key->setValue(QString(), registry::Value::fromString(text)), registry::Success);
}

// The number of the run-time error `f` raises, or 0 when it raises none.
int32_t errorOf(const std::function<void()>& f, QString* description = nullptr)
{
    try {
        f();
    } catch (const basic::RuntimeError& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

bool libraryLoaded(const QString& path)
{
    void* h = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!h)
        return false;
    ::dlclose(h);
    return true;
}

// A setter that raises a value below 1 to 1 in its caller's variable too, beside
// one that takes its value by value.
class Clamp final : public automation::Object
{
public:
    QString className() const override { return QStringLiteral("Clamp"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }
    void invokePutByRef(automation::DispId id, Args& args, Variant& value) override
    {
        table().putByRef(*this, id, args, value);
    }

    int32_t width = 0;
    int32_t copy = 0;

private:
    static const automation::MemberTable<Clamp>& table()
    {
        static const auto t = automation::MemberTable<Clamp>()
            .propertyByRef(1, "Width", [](Clamp& c, Args&) { return Variant(c.width); },
                           [](Clamp& c, Args&, Variant& v) {
                               c.width = std::max<int32_t>(1, v.intValue());
                               v = Variant(c.width);
                           })
            .property(2, "Copy", [](Clamp& c, Args&) { return Variant(c.copy); },
                      [](Clamp& c, Args&, const Variant& v) { c.copy = std::max<int32_t>(1, v.intValue()); });
        return t;
    }
};

} // namespace

class tst_Automation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void registerWritesClassKeys();
    void registerFallsBackToUserHive();
    void unregisterRemovesClass();
    void unregisterLeavesProgIdOfAnotherClass();
    void regsvrFailures_data();
    void regsvrFailures();
    void regsvrNamesTheHiveItCannotRead();
    void regsvrSilentOption_data();
    void regsvrSilentOption();

    void createObject_data();
    void createObject();
    void createObjectFailures_data();
    void createObjectFailures();
    void userHiveWinsOverMachineHive();

    void callByNameAndDispId_data();
    void callByNameAndDispId();
    void byReferenceArguments();
    void byReferencePuts();
    void properties();
    void memberErrors_data();
    void memberErrors();
    void defaultMember();
    void enumeration();
    void enumerationErrors();
    void errorsInsideMembersPropagate();
    void toObjectRaises91();
    void liveObjectsKeepTheirLibrary();
    void freeUnusedLibrariesUnloadsIdleLibraries();

private:
    ObjectRef registeredCounter();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Automation::init()
{
    // Fresh hives for every test, in a folder of its own.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir->filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_dir->filePath(QStringLiteral("user/user.hive"))));
    qunsetenv("QUILLAR_TESTLIB_FAIL_REGISTER");
}

void tst_Automation::cleanup()
{
    automation::freeUnusedLibraries();
    m_dir.reset();
}

ObjectRef tst_Automation::registeredCounter()
{
    const Run r = regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)});
    if (r.exitCode != 0)
        qWarning("regsvr failed: %s", qPrintable(r.err));
    return automation::createObject(ProgId);
}

void tst_Automation::registerWritesClassKeys()
{
    const Run r = regsvr({QStringLiteral(TESTLIB_PATH)});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains(QLatin1String("DllRegisterServer")) && r.out.contains(testLibrary()),
             qPrintable(r.out));

    using registry::Hive;
    const QString clsid = QStringLiteral("Software\\Classes\\CLSID\\") + ClassId;
    QCOMPARE(defaultValue(Hive::LocalMachine, clsid + QStringLiteral("\\InprocServer32")), testLibrary());
    QCOMPARE(defaultValue(Hive::LocalMachine, clsid + QStringLiteral("\\ProgID")), ProgId);
    QCOMPARE(
        defaultValue(Hive::LocalMachine, QStringLiteral("Software\\Classes\\QuillarTest.Counter\\CLSID")),
        ClassId);
    QCOMPARE(defaultValue(Hive::CurrentUser, clsid + QStringLiteral("\\InprocServer32")), std::nullopt);
}

void tst_Automation::registerFallsBackToUserHive()
{
    using registry::Hive;
    // A machine hive this user may not write.
    writeDefault(Hive::LocalMachine, QStringLiteral("Software\\Other"), QStringLiteral("x"));
    const QString machine = registry::hivePath(Hive::LocalMachine);
    QVERIFY(::chmod(QFile::encodeName(machine).constData(), 0444) == 0);
    QVERIFY(!registry::hiveWritable(Hive::LocalMachine));

    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    const QString server =
        QStringLiteral("Software\\Classes\\CLSID\\") + ClassId + QStringLiteral("\\InprocServer32");
    QCOMPARE(defaultValue(Hive::CurrentUser, server), testLibrary());
    QCOMPARE(defaultValue(Hive::LocalMachine, server), std::nullopt);
    QVERIFY(automation::createObject(ProgId));
}

void tst_Automation::unregisterRemovesClass()
{
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    const Run r = regsvr({QStringLiteral(TESTLIB_PATH), QStringLiteral("/U")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains(QLatin1String("DllUnregisterServer")), qPrintable(r.out));
    QCOMPARE(errorOf([] { automation::createObject(ProgId); }), basic::err::CantCreateObject);
    QCOMPARE(errorOf([] { automation::createObject(ClassId); }), basic::err::CantCreateObject);
    // Unregistering what is not registered is no failure.
    QCOMPARE(regsvr({QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
}

void tst_Automation::unregisterLeavesProgIdOfAnotherClass()
{
    using registry::Hive;
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    const QString other = QStringLiteral("{11111111-2222-3333-4444-555555555555}");
    writeDefault(Hive::LocalMachine, QStringLiteral("Software\\Classes\\QuillarTest.Counter\\CLSID"), other);
    QCOMPARE(regsvr({QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    QCOMPARE(
        defaultValue(Hive::LocalMachine, QStringLiteral("Software\\Classes\\QuillarTest.Counter\\CLSID")),
        other);
    QCOMPARE(defaultValue(Hive::LocalMachine, QStringLiteral("Software\\Classes\\CLSID\\") + ClassId),
             std::nullopt);
}

void tst_Automation::regsvrFailures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("failRegister");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("named"); // what the message must name

    const QString data = QStringLiteral(QUILLAR_TEST_DATA "/automation/");
    const QString notLib = QFileInfo(data + QStringLiteral("not-a-library.so")).absoluteFilePath();
    const QString missing = QFileInfo(data + QStringLiteral("no-such-library.so")).absoluteFilePath();
    void* qt = ::dlsym(RTLD_DEFAULT, "qVersion");
    const QString qtCore = automation::libraryPathOf(qt);

    QTest::addRow("no library named") << QStringList{} << false << 1 << QStringLiteral("usage");
    QTest::addRow("two libraries named")
        << QStringList{notLib, missing} << false << 1 << QStringLiteral("usage");
    QTest::addRow("unknown option") << QStringList{QStringLiteral("/x"), notLib} << false << 1
                                    << QStringLiteral("/x");
    QTest::addRow("missing file") << QStringList{missing} << false << 2 << missing;
    QTest::addRow("missing file, silent")
        << QStringList{QStringLiteral("/s"), missing} << false << 2 << missing;
    QTest::addRow("text file is no library") << QStringList{notLib} << false << 3 << notLib;
    QTest::addRow("folder is no library")
        << QStringList{data} << false << 2 << QFileInfo(data).absoluteFilePath();
    QTest::addRow("library without entry points") << QStringList{qtCore} << false << 4 << qtCore;
    QTest::addRow("DllRegisterServer fails")
        << QStringList{QStringLiteral(TESTLIB_PATH)} << true << 5 << testLibrary();
}

void tst_Automation::regsvrFailures()
{
    QFETCH(QStringList, args);
    QFETCH(bool, failRegister);
    QFETCH(int, exitCode);
    QFETCH(QString, named);
    if (failRegister)
        qputenv("QUILLAR_TESTLIB_FAIL_REGISTER", "1");

    const Run r = regsvr(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(named), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void tst_Automation::regsvrNamesTheHiveItCannotRead()
{
    // A machine hive that is no hive: the registration's failure says which file
    // and why, not only the entry point's code.
    const QString machine = QFile::decodeName(qgetenv("QUILLAR_MACHINE_HIVE"));
    QFile file(machine);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a hive");
    file.close();
    const Run r = regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)});
    QCOMPARE(r.exitCode, 5);
    QVERIFY2(
        r.err.contains(testLibrary()) && r.err.contains(QStringLiteral("machine hive file \"") + machine) &&
            r.err.contains(QStringLiteral("corrupt")) && r.err.contains(QStringLiteral("not valid JSON")),
        qPrintable(r.err));
}

void tst_Automation::regsvrSilentOption_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("silent");
    QTest::addRow("register") << QStringList{QStringLiteral(TESTLIB_PATH)} << false;
    QTest::addRow("register /s") << QStringList{QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)} << true;
    // The connection starts it as "library   /s": options after the path.
    QTest::addRow("register, /S after path")
        << QStringList{QStringLiteral(TESTLIB_PATH), QStringLiteral("/S")} << true;
    QTest::addRow("unregister /u /s")
        << QStringList{QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)} << true;
}

void tst_Automation::regsvrSilentOption()
{
    QFETCH(QStringList, args);
    QFETCH(bool, silent);
    const Run r = regsvr(args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.isEmpty(), silent);
    QCOMPARE(r.err, QString());
}

void tst_Automation::createObject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("class id") << ClassId;
    QTest::addRow("class id in lower case") << ClassId.toLower();
    QTest::addRow("ProgID") << ProgId;
    QTest::addRow("ProgID in another case") << ProgId.toUpper();
    QTest::addRow("ProgID with blanks around") << QStringLiteral("  ") + ProgId + QStringLiteral(" ");
}

void tst_Automation::createObject()
{
    QFETCH(QString, name);
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    ObjectRef counter = automation::createObject(name);
    QVERIFY(counter);
    QCOMPARE(counter->className(), QStringLiteral("Counter"));
    QCOMPARE(counter->call(QStringLiteral("Add"), {Variant(int32_t(2))}), Variant(int32_t(2)));
}

void tst_Automation::createObjectFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("serverPath"); // registered for the class, when not empty

    const QString data = QStringLiteral(QUILLAR_TEST_DATA "/automation/");
    const QString unknownId = QStringLiteral("{00000000-0000-0000-0000-00000000ABCD}");
    QTest::addRow("empty text") << QString() << QString();
    QTest::addRow("malformed class id") << QStringLiteral("{5C1D2E3F-4A5B}") << QString();
    QTest::addRow("malformed ProgID") << QStringLiteral("Quillar Test!") << QString();
    QTest::addRow("ProgID not registered") << QStringLiteral("Nobody.Here") << QString();
    QTest::addRow("class id not registered") << unknownId << QString();
    QTest::addRow("library file missing") << unknownId << data + QStringLiteral("no-such-library.so");
    QTest::addRow("library is a text file") << unknownId << data + QStringLiteral("not-a-library.so");
    QTest::addRow("library without DllGetClassObject")
        << unknownId << automation::libraryPathOf(::dlsym(RTLD_DEFAULT, "qVersion"));
    QTest::addRow("library does not make the class") << unknownId << testLibrary();
}

void tst_Automation::createObjectFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, serverPath);
    if (!serverPath.isEmpty())
        writeDefault(registry::Hive::CurrentUser,
                     QStringLiteral("Software\\Classes\\CLSID\\") + name + QStringLiteral("\\InprocServer32"),
                     serverPath);

    QString description;
    QCOMPARE(errorOf([&] { automation::createObject(name); }, &description), basic::err::CantCreateObject);
    QVERIFY2(description.startsWith(QLatin1String("ActiveX component can't create object")),
             qPrintable(description));
    QVERIFY2(description.contains(name), qPrintable(description));
}

void tst_Automation::userHiveWinsOverMachineHive()
{
    using registry::Hive;
    // The machine hive names a library that is not there; the user's registration wins.
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(TESTLIB_PATH)}).exitCode, 0);
    const QString server =
        QStringLiteral("Software\\Classes\\CLSID\\") + ClassId + QStringLiteral("\\InprocServer32");
    writeDefault(Hive::CurrentUser, server, testLibrary());
    writeDefault(Hive::LocalMachine, server, m_dir->filePath(QStringLiteral("gone.so")));
    QVERIFY(automation::createObject(ProgId));

    // And the other way round: a user entry that fails is not skipped.
    writeDefault(Hive::CurrentUser, server, m_dir->filePath(QStringLiteral("gone.so")));
    writeDefault(Hive::LocalMachine, server, testLibrary());
    QCOMPARE(errorOf([] { automation::createObject(ProgId); }), basic::err::CantCreateObject);
}

void tst_Automation::callByNameAndDispId_data()
{
    QTest::addColumn<QString>("name"); // empty: call by DISPID
    QTest::addColumn<Args>("args");
    QTest::addColumn<Variant>("result");

    const Variant five(int32_t(5));
    QTest::addRow("by name") << QStringLiteral("Add") << Args{five} << Variant(int32_t(5));
    QTest::addRow("by name in another case") << QStringLiteral("aDD") << Args{five} << Variant(int32_t(5));
    QTest::addRow("by DISPID") << QString() << Args{five} << Variant(int32_t(5));
    QTest::addRow("optional step given")
        << QStringLiteral("Add") << Args{five, Variant(int32_t(3))} << Variant(int32_t(15));
    QTest::addRow("optional step missing")
        << QStringLiteral("Add") << Args{five, Variant::missing()} << Variant(int32_t(5));
}

void tst_Automation::callByNameAndDispId()
{
    QFETCH(QString, name);
    QFETCH(Args, args);
    QFETCH(Variant, result);
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    if (name.isEmpty()) {
        QCOMPARE(counter->idOfName(QStringLiteral("add")), 1);
        QCOMPARE(counter->invoke(1, Invoke::Method, args), result);
    } else {
        QCOMPARE(counter->call(name, args), result);
    }
}

void tst_Automation::byReferenceArguments()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    Args args{Variant("left"), Variant(int32_t(7))};
    counter->callByRef(QStringLiteral("Swap"), args);
    QCOMPARE(args[0], Variant(int32_t(7)));
    QCOMPARE(args[1], Variant("left"));
}

void tst_Automation::byReferencePuts()
{
    Clamp clamp;
    // By reference: the correction comes back into the caller's variable.
    Variant width(int32_t(-5));
    clamp.putByRef(QStringLiteral("Width"), width);
    QCOMPARE(clamp.width, 1);
    QCOMPARE(width, Variant(int32_t(1)));
    // A plain put of the same member hands over a copy.
    const Variant constant(int32_t(0));
    clamp.put(QStringLiteral("width"), constant);
    QCOMPARE(clamp.width, 1);
    QCOMPARE(constant, Variant(int32_t(0)));
    // A setter that takes its value by value leaves the variable alone.
    Variant copy(int32_t(-5));
    clamp.putByRef(QStringLiteral("Copy"), copy);
    QCOMPARE(clamp.copy, 1);
    QCOMPARE(copy, Variant(int32_t(-5)));
    // So does an object that knows no by-reference puts.
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    Variant name("abc");
    counter->putByRef(QStringLiteral("Name"), name);
    QCOMPARE(counter->get(QStringLiteral("Name")), Variant("abc"));
    QCOMPARE(name, Variant("abc"));
    QCOMPARE(errorOf([&] { clamp.putByRef(QStringLiteral("Missing"), name); }), 438);
}

void tst_Automation::properties()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    QCOMPARE(counter->get(QStringLiteral("Name")), Variant(QString()));
    counter->put(QStringLiteral("NAME"), Variant("abc"));
    QCOMPARE(counter->get(QStringLiteral("name")), Variant("abc"));
    counter->put(QStringLiteral("WriteOnly"), Variant("set through a write-only property"));
    QCOMPARE(counter->get(QStringLiteral("Name")), Variant("set through a write-only property"));
    QCOMPARE(counter->get(QStringLiteral("ReadOnly")), Variant(true));
}

void tst_Automation::memberErrors_data()
{
    QTest::addColumn<QString>("name"); // empty: DISPID 99, which the class lacks
    QTest::addColumn<int>("kind");     // Invoke
    QTest::addColumn<Args>("args");
    QTest::addColumn<int>("error");

    const int get = int(Invoke::PropertyGet);
    const int put = int(Invoke::PropertyPut);
    QTest::addRow("unknown name") << QStringLiteral("NoSuchMember") << get << Args{}
                                  << basic::err::ObjectDoesntSupportMember;
    QTest::addRow("put on read-only property")
        << QStringLiteral("ReadOnly") << put << Args{} << basic::err::ObjectDoesntSupportMember;
    QTest::addRow("get of write-only property")
        << QStringLiteral("WriteOnly") << get << Args{} << basic::err::ObjectDoesntSupportMember;
    QTest::addRow("too few arguments")
        << QStringLiteral("Swap") << get << Args{Variant(int32_t(1))} << basic::err::WrongNumberOfArguments;
    QTest::addRow("too many arguments")
        << QStringLiteral("Add") << get << Args{Variant(int32_t(1)), Variant(int32_t(1)), Variant(int32_t(1))}
        << basic::err::WrongNumberOfArguments;
    QTest::addRow("wrong type put") << QStringLiteral("Name") << put << Args{} << basic::err::TypeMismatch;
    QTest::addRow("unknown DISPID") << QString() << int(Invoke::Method) << Args{}
                                    << basic::err::ObjectDoesntSupportMember;
}

void tst_Automation::memberErrors()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(Args, args);
    QFETCH(int, error);
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    QCOMPARE(errorOf([&] {
                 Args a = args;
                 if (name.isEmpty())
                     counter->invoke(99, Invoke(kind), a);
                 else if (Invoke(kind) == Invoke::PropertyPut)
                     counter->put(name, Variant(int32_t(1)), a);
                 else
                     counter->get(name, a);
             }),
             error);
}

void tst_Automation::defaultMember()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    counter->setValue({}, Variant(int32_t(40)));
    counter->call(QStringLiteral("Add"), {Variant(int32_t(2))});
    QCOMPARE(counter->value(), Variant(int32_t(42)));

    ObjectRef items = automation::toObject(counter->get(QStringLiteral("Items")));
    QCOMPARE(items->value({Variant(int32_t(2))}), Variant(int32_t(2)));
    QCOMPARE(errorOf([&] { items->value({Variant(int32_t(4))}); }), basic::err::SubscriptOutOfRange);
}

void tst_Automation::enumeration()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    const ObjectRef items = automation::toObject(counter->get(QStringLiteral("Items")));
    const std::vector<Variant> expected{Variant("one"), Variant(int32_t(2)), Variant(3.5)};
    QCOMPARE(automation::enumerate(items), expected);
    // Each walk starts at the first element.
    QCOMPARE(automation::enumerate(items), expected);
}

void tst_Automation::enumerationErrors()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    QCOMPARE(errorOf([&] { automation::enumerate(counter); }), basic::err::ObjectDoesntSupportMember);
    QCOMPARE(errorOf([] { automation::enumerate(ObjectRef()); }), basic::err::ObjectVariableNotSet);
}

void tst_Automation::errorsInsideMembersPropagate()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    try {
        counter->call(QStringLiteral("Fail"));
        QFAIL("no error raised");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), 5);
        QCOMPARE(e.description(), QStringLiteral("Counter failed on purpose"));
        QCOMPARE(e.source(), QStringLiteral("QuillarTest.Counter"));
    }
}

void tst_Automation::toObjectRaises91()
{
    QCOMPARE(errorOf([] { automation::toObject(Variant::nothing()); }), basic::err::ObjectVariableNotSet);
    QCOMPARE(errorOf([] { automation::toObject(Variant("text")); }), basic::err::ObjectVariableNotSet);
    QCOMPARE(errorOf([] { automation::toObject(Variant()); }), basic::err::ObjectVariableNotSet);
}

void tst_Automation::liveObjectsKeepTheirLibrary()
{
    ObjectRef counter = registeredCounter();
    QVERIFY(counter);
    ObjectRef items = automation::toObject(counter->get(QStringLiteral("Items")));
    counter.reset();

    // A live object of the library keeps it loaded (a crash here under the sanitizers
    // would mean its code went away).
    automation::freeUnusedLibraries();
    QVERIFY(libraryLoaded(testLibrary()));
    QCOMPARE(items->get(QStringLiteral("Count")), Variant(int32_t(3)));
    QCOMPARE(automation::enumerate(items).size(), size_t(3));

    items.reset();
    automation::freeUnusedLibraries();
    // Loaded again on the next use.
    counter = automation::createObject(ClassId);
    QCOMPARE(counter->call(QStringLiteral("Add"), {Variant(int32_t(1))}), Variant(int32_t(1)));
}

void tst_Automation::freeUnusedLibrariesUnloadsIdleLibraries()
{
    const QString probe = QFileInfo(QStringLiteral(PROBE_PATH)).canonicalFilePath();
    const QString id = QStringLiteral("{0F0F0F0F-1E1E-2D2D-3C3C-4B4B4B4B4B4B}");
    writeDefault(registry::Hive::CurrentUser,
                 QStringLiteral("Software\\Classes\\CLSID\\") + id + QStringLiteral("\\InprocServer32"),
                 probe);
    // The probe makes no object, but it is loaded to be asked.
    QCOMPARE(errorOf([&] { automation::createObject(id); }), basic::err::CantCreateObject);
    QVERIFY(libraryLoaded(probe));

    const auto setBusy = [&](int32_t busy) {
        void* h = ::dlopen(QFile::encodeName(probe).constData(), RTLD_NOW | RTLD_NOLOAD);
        QVERIFY(h);
        reinterpret_cast<void (*)(int32_t)>(::dlsym(h, "ProbeSetBusy"))(busy);
        ::dlclose(h);
    };
    setBusy(1);
    automation::freeUnusedLibraries();
    QVERIFY(libraryLoaded(probe));

    setBusy(0);
    automation::freeUnusedLibraries();
    QVERIFY(!libraryLoaded(probe));
}

QTEST_GUILESS_MAIN(tst_Automation)
#include "tst_Automation.moc"
