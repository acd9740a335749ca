// The VLOList library registers itself with regsvr; the container helpers find
// controls, fill the page lists and move the focus by tab order.
#include "TestHost.h"

#include "controls/listgrid/ContainerHelpers.h"
#include "controls/listgrid/Registration.h"

#include "platform/controlframework/Control.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/InprocServer.h"
#include "platform/automation/MemberTable.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"

#include <QComboBox>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTest>

#include <dlfcn.h>

using namespace listgrid;
using basic::ObjectRef;
using basic::Variant;

namespace {

std::optional<QString> readDefault(const QString& path, const QString& name = {})
{
    for (const auto hive : {registry::Hive::CurrentUser, registry::Hive::LocalMachine}) {
        registry::Value v;
        if (registry::readValue(hive, path, name, v) == registry::Success)
            return v.string;
    }
    return std::nullopt;
}

bool keyExists(const QString& path)
{
    for (const auto hive : {registry::Hive::CurrentUser, registry::Hive::LocalMachine}) {
        std::optional<registry::Key> key;
        if (registry::openKey(hive, path, registry::Access::Read, key) == registry::Success)
            return true;
    }
    return false;
}

int regsvr(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(REGSVR_PATH), args);
    p.waitForFinished();
    return p.exitCode();
}

// A control on the form as the container shows it: properties by name, any of which
// may be missing or raise.
class FakeControl : public automation::Object
{
public:
    QString className() const override { return QStringLiteral("FakeControl"); }
    automation::DispId idOfName(const QString& name) const override
    {
        const int at = m_names.indexOf(name.toCaseFolded());
        if (at < 0)
            automation::throwUnknownName(name);
        return at + 1;
    }
    Variant invoke(automation::DispId id, automation::Invoke, automation::Args&, const Variant&) override
    {
        const QString& name = m_names[id - 1];
        if (m_raising.contains(name))
            throw basic::RuntimeError(basic::err::InvalidPropertyValue);
        return m_values.value(name);
    }
    FakeControl& set(const char* name, const Variant& v)
    {
        const QString n = QString::fromLatin1(name).toCaseFolded();
        if (!m_names.contains(n))
            m_names << n;
        m_values.insert(n, v);
        m_raising.removeAll(n);
        return *this;
    }
    FakeControl& raising(const char* name)
    {
        set(name, {});
        m_raising << QString::fromLatin1(name).toCaseFolded();
        return *this;
    }

private:
    QStringList m_names;
    QStringList m_raising;
    QHash<QString, Variant> m_values;
};

class FakeSite : public ClientSite
{
public:
    std::shared_ptr<FakeControl> add(const QString& classId, const char* name, int tabIndex = -1)
    {
        auto c = std::make_shared<FakeControl>();
        c->set("Name", QString::fromLatin1(name)).raising("Index");
        if (tabIndex >= 0)
            c->set("TabIndex", int32_t(tabIndex)).set("TabStop", true).set("hWnd", QString::fromLatin1(name));
        objects.push_back({c, c, classId});
        return c;
    }
    std::vector<ContainerObject> containerObjects() const override { return objects; }
    void setFocusToWindow(const Variant& hWnd) override { focused << hWnd.stringValue(); }

    std::vector<ContainerObject> objects;
    QStringList focused;
};

const QString Grid = QLatin1String(GridControlClassId);
const QString List = QLatin1String(ListControlClassId);

} // namespace

class TestLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registersWithRegsvr();
    void unregisterKeepsTheCategories();
    void entryPoints();
    void findByNameAndClass();
    void controlArrayMembers();
    void pageLists();
    void focusMoveSkipsHiddenAndWraps_data();
    void focusMoveSkipsHiddenAndWraps();
    void focusMoveStopsAfterOneCycle();
};

void TestLibrary::registersWithRegsvr()
{
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(VLOLIST_PATH)}), 0);
    const QString list = QStringLiteral("Software\\Classes\\CLSID\\") + List;
    QCOMPARE(readDefault(list + QStringLiteral("\\InprocServer32")), QStringLiteral(VLOLIST_PATH));
    QCOMPARE(readDefault(list + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel")), QStringLiteral("Apartment"));
    QCOMPARE(readDefault(list + QStringLiteral("\\ProgID")), QStringLiteral("Vorlen.ListCtrl.1"));
    QCOMPARE(readDefault(list + QStringLiteral("\\MiscStatus\\1")), QStringLiteral("131473"));
    QCOMPARE(readDefault(list + QStringLiteral("\\TypeLib")), QLatin1String(TypeLibraryId));
    QVERIFY(keyExists(list + QStringLiteral("\\Control")));
    // The user type names, as the served classes give them.
    QCOMPARE(readDefault(list), QStringLiteral("Vorlen List Control"));
    QCOMPARE(readDefault(QStringLiteral("Software\\Classes\\CLSID\\") + Grid), QStringLiteral("Vorlen Grid Control"));
    for (const QString& control : {List, Grid})
        for (const char* category : {SafeForScriptingCategory, SafeForInitializingCategory})
            QVERIFY(keyExists(QStringLiteral("Software\\Classes\\CLSID\\") + control + QStringLiteral("\\Implemented Categories\\") +
                              QLatin1String(category)));
    QCOMPARE(readDefault(QStringLiteral("Software\\Classes\\Component Categories\\") + QLatin1String(SafeForScriptingCategory),
                         QStringLiteral("409")),
             QStringLiteral("Controls that are safely scriptable"));
    QCOMPARE(readDefault(QStringLiteral("Software\\Classes\\TypeLib\\") + QLatin1String(TypeLibraryId) + QStringLiteral("\\1.0")),
             QStringLiteral("Vorlen List Controls 1.0"));
    for (const char* progId : {"Vorlen.GridCtrl.1", "Vorlen.ListPropPage.1", "Vorlen.GridPropPage.1", "VLOList.CColumnsPropPage"})
        QVERIFY2(readDefault(QStringLiteral("Software\\Classes\\") + QLatin1String(progId) + QStringLiteral("\\CLSID")), progId);
    // The list control is made by the library; a control of it is a control.
    const ObjectRef made = automation::createObject(QStringLiteral("Vorlen.ListCtrl.1"));
    QVERIFY(dynamic_cast<controlframework::Control*>(made.get()));
    QCOMPARE(made->idOfName(QStringLiteral("PagedCount")), 16);
}

void TestLibrary::unregisterKeepsTheCategories()
{
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(VLOLIST_PATH)}), 0);
    QCOMPARE(regsvr({QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(VLOLIST_PATH)}), 0);
    const QString list = QStringLiteral("Software\\Classes\\CLSID\\") + List;
    QVERIFY(!readDefault(list + QStringLiteral("\\InprocServer32")));
    QVERIFY(!readDefault(QStringLiteral("Software\\Classes\\Vorlen.ListCtrl.1\\CLSID")));
    QVERIFY(!keyExists(QStringLiteral("Software\\Classes\\TypeLib\\") + QLatin1String(TypeLibraryId)));
    QVERIFY(keyExists(list + QStringLiteral("\\Implemented Categories\\") + QLatin1String(SafeForScriptingCategory)));
    QVERIFY(keyExists(QStringLiteral("Software\\Classes\\Component Categories\\") + QLatin1String(SafeForInitializingCategory)));
}

void TestLibrary::entryPoints()
{
    void* library = dlopen(VLOLIST_PATH, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow"})
        QVERIFY2(dlsym(library, name), name);
    auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(library, "DllCanUnloadNow"));
    QCOMPARE(canUnload(), 0);
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
    automation::ClassFactory* factory = nullptr;
    // The property pages are registered but not served.
    QCOMPARE(getClassObject(u"{06504DF8-BB3E-4FEF-996E-847F5F388E2C}", &factory), automation::ClassNotAvailable);
    dlclose(library);
}

void TestLibrary::findByNameAndClass()
{
    FakeSite site;
    const auto listNamedItems = site.add(List, "lstItems");
    const auto gridNamedItems = site.add(Grid, "lstItems");
    QCOMPARE(FindContainerControl(QStringLiteral("lstItems"), Grid, &site), ObjectRef(gridNamedItems));
    QCOMPARE(FindContainerControl(QStringLiteral("lstItems"), {}, &site), ObjectRef(listNamedItems));
    QVERIFY(!FindContainerControl(QStringLiteral("LSTITEMS"), {}, &site)); // exact, case included
    QVERIFY(!FindContainerControl(QStringLiteral("lstItems"), Grid, nullptr));
    // A plain dispatch object takes no part when a class is asked for.
    auto plain = std::make_shared<FakeControl>();
    plain->set("Name", QStringLiteral("plain"));
    site.objects.push_back({plain, plain, {}});
    QVERIFY(!FindContainerControl(QStringLiteral("plain"), Grid, &site));
    QCOMPARE(FindContainerControl(QStringLiteral("plain"), {}, &site), ObjectRef(plain));
}

void TestLibrary::controlArrayMembers()
{
    FakeSite site;
    auto member = site.add(List, "lstLines");
    member->set("Index", int32_t(0));
    QCOMPARE(GetControlDisplayName(member), QStringLiteral("lstLines(0)"));
    QCOMPARE(FindContainerControl(QStringLiteral("lstLines(0)"), {}, &site), ObjectRef(member));
    QVERIFY(!FindContainerControl(QStringLiteral("lstLines"), {}, &site));
    member->set("Index", int32_t(2));
    QCOMPARE(GetControlDisplayName(member), QStringLiteral("lstLines(2)"));
    auto single = site.add(List, "lstOther"); // Index raises: no index
    QCOMPARE(GetControlDisplayName(single), QStringLiteral("lstOther"));
}

void TestLibrary::pageLists()
{
    FakeSite site;
    site.add(QLatin1String(DataControlClassId), "datCustomers");
    site.add(List, "lstItems");
    site.add(QLatin1String(ImageListClassIds[2]), "imgSmall");
    site.add(QLatin1String(ImageListClassIds[0]), "imgLarge");
    site.add(QLatin1String(DataControlClassId), "datProducts");
    QCOMPARE(dataSourceNames(&site), (QStringList{"None", "Paged Data", "datCustomers", "datProducts"}));
    QCOMPARE(imageListNames(&site), (QStringList{"None", "imgLarge", "imgSmall"}));
    QCOMPARE(dataSourceNames(nullptr), (QStringList{"None", "Paged Data"}));
    QComboBox combo;
    FillDataSourceCombo(&site, &combo);
    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.currentIndex(), 0);
    FillImageListCombo(&site, &combo);
    QCOMPARE(combo.currentText(), QStringLiteral("None"));
}

void TestLibrary::focusMoveSkipsHiddenAndWraps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<QString>("focused");
    QTest::addRow("forward to the next") << 0 << false << QStringLiteral("c1");
    QTest::addRow("forward skips hidden and disabled") << 1 << false << QStringLiteral("c4");
    QTest::addRow("forward wraps after the highest") << 4 << false << QStringLiteral("c0");
    QTest::addRow("backward skips hidden and disabled") << 4 << true << QStringLiteral("c1");
    QTest::addRow("backward wraps below 0") << 0 << true << QStringLiteral("c4");
}

void TestLibrary::focusMoveSkipsHiddenAndWraps()
{
    QFETCH(int, from);
    QFETCH(bool, backward);
    QFETCH(QString, focused);
    FakeSite site;
    std::vector<std::shared_ptr<FakeControl>> c;
    for (int i = 0; i < 5; ++i)
        c.push_back(site.add(Grid, qPrintable(QStringLiteral("c%1").arg(i)), i));
    c[2]->set("Visible", false);
    c[3]->set("Enabled", false);
    c[1]->raising("Visible"); // a property that cannot be read counts as true
    MoveFocusByTabIndex(c[size_t(from)], &site, backward);
    QCOMPARE(site.focused, QStringList{focused});
}

void TestLibrary::focusMoveStopsAfterOneCycle()
{
    // The grid as the form's only tab stop keeps the focus.
    FakeSite alone;
    const auto grid = alone.add(Grid, "grdLines", 0);
    alone.add(List, "lstNoStop")->set("TabStop", false).set("TabIndex", int32_t(1));
    MoveFocusByTabIndex(grid, &alone, false);
    QCOMPARE(alone.focused, QStringList{"grdLines"});

    // Every stop hidden or disabled, the caller included: the search ends without a move.
    FakeSite nowhere;
    const auto self = nowhere.add(Grid, "grdSelf", 1);
    self->set("Enabled", false);
    nowhere.add(List, "lstHidden", 0)->set("Visible", false);
    nowhere.add(List, "lstDisabled", 2)->set("Enabled", false);
    MoveFocusByTabIndex(self, &nowhere, false);
    MoveFocusByTabIndex(self, &nowhere, true);
    QVERIFY(nowhere.focused.isEmpty());

    // A caller that is no tab stop moves nothing.
    FakeSite off;
    const auto notStop = off.add(Grid, "grdOff", 0);
    notStop->set("TabStop", false);
    off.add(List, "lstNext", 1);
    MoveFocusByTabIndex(notStop, &off, false);
    QVERIFY(off.focused.isEmpty());
}

int runLibraryTests(int argc, char** argv)
{
    TestLibrary t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_library.moc"
