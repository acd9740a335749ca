// The property pages of the list and grid controls, driven through their items on
// the property frame, each change read back from the control and from its saved
// and reloaded design.
#include "FakeObjects.h"

#include "tests/listgrid/ControlFixture.h"

#include "controls/listgrid/ColumnsBlock.h"
#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/Registration.h"
#include "controls/listgrid/pages/ColumnsPage.h"
#include "controls/listgrid/pages/GeneralPages.h"
#include "controls/listgrid/pages/PageItems.h"

#include "platform/basic/Conversions.h"
#include "platform/controlframework/ControlSite.h"
#include "platform/controlframework/PropertyPage.h"
#include "platform/controlframework/StockPages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using basic::Variant;

namespace controlframework {
// How a failed comparison of fonts reads.
char* toString(const FontInfo& f)
{
    return QTest::toString(QStringLiteral("%1 %2 b%3 i%4 u%5 s%6")
                               .arg(f.name).arg(f.size).arg(f.bold).arg(f.italic).arg(f.underline).arg(f.strikethrough));
}
} // namespace controlframework
using controlframework::PropertyFrame;
using listgrid::CColumnsPropPage;
using listgrid::CGridCtrl;
using listgrid::CListCtrl;

namespace {

const QString ImageListClass = QLatin1String(listgrid::ImageListClassIds[1]);

// An object standing for an ImageList control on the form.
std::shared_ptr<PropertyObject> imageList() { return std::make_shared<PropertyObject>(); }

// A data control whose field layout has a group and a field that is never offered.
class GroupedData : public PropertyObject, public vldata::DataControlInterface
{
public:
    GroupedData()
    {
        layout = std::make_shared<vldata::FieldLayout>();
        auto address = std::make_shared<vldata::FieldLayout>();
        auto geo = std::make_shared<vldata::FieldLayout>();
        geo->m_fields = {field("LAT", 8, 8, 4)};
        address->m_fields = {field("LINE1", 40, 12, 0), field("GEO", 0, -2, 0, geo), field("LINE2", 40, 12, 0)};
        layout->m_fields = {field("ACCOUNT_REF", 8, 12, 0), field("PICTURE", 0, -3, 0), field("ADDRESS", 0, -2, 0, address),
                            field("BALANCE", 8, 8, 2), field("OPENED", 16, 11, 0)};
    }
    int32_t IsEOF(uint8_t& eof) const override { eof = 1; return 0; }
    int32_t GetFieldLayout(std::shared_ptr<vldata::FieldLayout>& out) override { out = layout; return 0; }
    int32_t GetRecordCount(int32_t& count) const override { count = 0; return 0; }
    int32_t MoveToRecord(int32_t) override { return 0; }
    int32_t MoveToFirstRecord() override { return 0; }
    int32_t MoveToNextRecord() override { return 0; }
    int32_t FindRecord(const Variant&, const Variant&, const Variant&, const Variant&, int32_t& r) const override
    {
        r = -1;
        return 0;
    }
    int32_t ReadRecord(int32_t& status) override { status = 0; return 0; }

    std::shared_ptr<vldata::FieldLayout> layout;

private:
    static vldata::Field field(const char* name, int32_t size, int16_t sqlType, int16_t decimals,
                               std::shared_ptr<vldata::FieldLayout> nested = {})
    {
        vldata::Field f;
        f.name = QLatin1String(name);
        f.size = size;
        f.sqlType = sqlType;
        f.decimalPlaces = decimals;
        f.nested = std::move(nested);
        return f;
    }
};

// A site whose form holds one data control, a member of a control array (index 2).
struct ArraySite : controlframework::ControlSite, listgrid::ClientSite
{
    explicit ArraySite(automation::ObjectRef control) : ControlSite(std::move(control), QStringLiteral("ctl"), nullptr) {}
    std::vector<listgrid::ContainerObject> containerObjects() const override
    {
        auto extended = std::make_shared<PropertyObject>();
        extended->set(QStringLiteral("Name"), QStringLiteral("datArr")).set(QStringLiteral("Index"), int16_t(2));
        return {{extended, std::make_shared<PropertyObject>(), QLatin1String(listgrid::DataControlClassId)}};
    }
    void setFocusToWindow(const Variant&) override {}
};

// A control of either class on a form with an ImageList and a data control, and
// its property frame.
template <class C>
struct PagesOnForm : ControlOnForm<C>
{
    PagesOnForm() : ControlOnForm<C>(QStringLiteral("ctl"), false)
    {
        this->form.addObject(QStringLiteral("imgIcons"), imageList(), ImageListClass);
        this->form.addObject(QStringLiteral("datCustomers"), data, QLatin1String(listgrid::DataControlClassId));
        this->placeOnForm(QStringLiteral("ctl"));
    }
    PropertyFrame& open()
    {
        frame = PropertyFrame::forControl(QStringLiteral("ctl Properties"), this->control);
        frame->show();
        return *frame;
    }
    controlframework::PropertyPage& page(int index) { return frame->page(index); }
    template <class W>
    W* item(int page, const char* name)
    {
        W* w = frame->page(page).template findChild<W*>(QLatin1String(name));
        if (!w)
            qFatal("no item %s", name);
        return w;
    }
    void apply() { QTest::mouseClick(frame->applyButton(), Qt::LeftButton); }
    // The control's property read back from its saved design, loaded on a new form.
    automation::ObjectRef reloadedControl()
    {
        reloadedForm = std::make_unique<listgrid::ContainerForm>();
        reloadedForm->loadDesign(this->form.saveDesign(), [](const QString&) { return std::make_shared<C>(); });
        return reloadedForm->site(QStringLiteral("ctl"))->object();
    }
    Variant reloaded(const char* property, bool column = false)
    {
        automation::ObjectRef object = reloadedControl();
        if (column)
            object = object->get(QStringLiteral("Columns")).objectValue()->get(QStringLiteral("Item"), {Variant(int16_t(1))}).objectValue();
        return object->get(QLatin1String(property));
    }
    automation::ObjectRef firstColumn() const
    {
        return this->object()->get(QStringLiteral("Columns")).objectValue()->get(QStringLiteral("Item"), {Variant(int16_t(1))}).objectValue();
    }

    std::shared_ptr<GroupedData> data = std::make_shared<GroupedData>();
    std::unique_ptr<PropertyFrame> frame;
    std::unique_ptr<listgrid::ContainerForm> reloadedForm;
};

// The stock pages' place in the frame of both controls.
constexpr int FontPage = 2;
constexpr int ColourPage = 3;
const QStringList colourProperties{"AlternateBackColor", "AlternateForeColor", "AlternateHighlightedBackColor",
                                   "AlternateHighlightedForeColor"};

// A list or a grid on its form, for the pages both controls share.
struct StockPages
{
    explicit StockPages(bool grid)
    {
        if (grid)
            grids = std::make_unique<PagesOnForm<CGridCtrl>>();
        else
            lists = std::make_unique<PagesOnForm<CListCtrl>>();
    }
    automation::ObjectRef object() const { return grids ? grids->object() : lists->object(); }
    listgrid::ListGridControl* control() const
    {
        return grids ? static_cast<listgrid::ListGridControl*>(grids->control.get()) : lists->control.get();
    }
    listgrid::ContainerForm& form() const { return grids ? grids->form : lists->form; }
    PropertyFrame& open()
    {
        frame = grids ? &grids->open() : &lists->open();
        return *frame;
    }
    template <class W>
    W* item(int page, const char* name)
    {
        return grids ? grids->template item<W>(page, name) : lists->template item<W>(page, name);
    }
    void apply() { QTest::mouseClick(frame->applyButton(), Qt::LeftButton); }
    Variant reloaded(const char* property) { return grids ? grids->reloaded(property) : lists->reloaded(property); }

    std::unique_ptr<PagesOnForm<CListCtrl>> lists;
    std::unique_ptr<PagesOnForm<CGridCtrl>> grids;
    PropertyFrame* frame = nullptr;
};

// The font a value holds; a value that is no font gives a face no font has.
controlframework::FontInfo fontIn(const Variant& value)
{
    return controlframework::fontOf(value).value_or(controlframework::FontInfo{QStringLiteral("(no font)")});
}

// A control of another library: one font and one colour property of its own.
struct ReportingObject : PropertyObject, controlframework::PropertyPageProvider
{
    ReportingObject()
    {
        set(QStringLiteral("TitleFont"), controlframework::makeFont({}));
        set(QStringLiteral("TitleColor"), int32_t(0));
    }
    QStringList propertyPageIds() const override { return {}; }
    QStringList fontProperties() const override { return {QStringLiteral("TitleFont")}; }
    QStringList colourProperties() const override { return {QStringLiteral("TitleColor")}; }
};

// Changes an item as a user would: a check box is clicked, a list gets the entry
// of that text or index, a spin the number, an edit field the text.
void change(QWidget* w, const QVariant& value)
{
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        if (box->isChecked() != value.toBool())
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const int at = value.typeId() == QMetaType::QString ? combo->findText(value.toString()) : value.toInt();
        QVERIFY2(at >= 0, qPrintable(value.toString()));
        combo->setCurrentIndex(at);
        Q_EMIT combo->activated(at);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        spin->setValue(value.toInt());
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(value.toString());
        Q_EMIT edit->textEdited(value.toString());
    } else {
        QFAIL("unknown item");
    }
}

QVariant toQt(const Variant& v)
{
    switch (v.type()) {
    case basic::VarType::Boolean: return v.boolValue();
    case basic::VarType::String: return v.stringValue();
    default: return basic::CLng(v);
    }
}

QStringList entries(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

class PagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { listgrid::registerPropertyPages(); }

    // ---- the general pages ----

    void listPageShowsTheControl()
    {
        PagesOnForm<CListCtrl> f;
        auto o = f.object();
        o->put(QStringLiteral("Style"), Variant(int16_t(1)));
        o->put(QStringLiteral("SelectStyle"), Variant(int16_t(2)));
        o->put(QStringLiteral("Sort"), Variant(true));
        o->put(QStringLiteral("GuideVisible"), Variant(false));
        o->put(QStringLiteral("ImageList"), Variant(QStringLiteral("imgIcons")));
        o->put(QStringLiteral("DataSource"), Variant(QStringLiteral("Paged Data")));
        o->put(QStringLiteral("AlternateItems"), Variant(int16_t(3)));
        PropertyFrame& frame = f.open();

        // The library's pages in the control's order, then the framework's stock pages.
        QCOMPARE(frame.pageCount(), 4);
        QCOMPARE(frame.tabs()->tabText(0), QStringLiteral("General"));
        QCOMPARE(frame.tabs()->tabText(1), QStringLiteral("Columns"));
        auto* style = f.item<QComboBox>(0, "Style");
        QCOMPARE(entries(style), (QStringList{"0 - List", "1 - Report", "2 - Icon", "3 - Small Icon"}));
        QCOMPARE(style->currentIndex(), 1);
        auto* select = f.item<QComboBox>(0, "SelectStyle");
        QCOMPARE(entries(select), (QStringList{"0 - Single", "1 - Multi Select", "2 - Multi Select Order"}));
        QCOMPARE(select->currentIndex(), 2);
        QCOMPARE(entries(f.item<QComboBox>(0, "ImageList")), (QStringList{"None", "imgIcons"}));
        QCOMPARE(f.item<QComboBox>(0, "ImageList")->currentText(), QStringLiteral("imgIcons"));
        QCOMPARE(f.item<QComboBox>(0, "SmallImageList")->currentText(), QStringLiteral("None"));
        QCOMPARE(entries(f.item<QComboBox>(0, "DataSource")), (QStringList{"None", "Paged Data", "datCustomers"}));
        QCOMPARE(f.item<QComboBox>(0, "DataSource")->currentText(), QStringLiteral("Paged Data"));
        QVERIFY(f.item<QCheckBox>(0, "Sort")->isChecked());
        QVERIFY(!f.item<QCheckBox>(0, "GuideVisible")->isChecked());
        QVERIFY(f.item<QCheckBox>(0, "IntegralHeight")->isChecked());
        QCOMPARE(f.item<QSpinBox>(0, "AlternateItems")->value(), 3);
        QVERIFY(!frame.applyButton()->isEnabled());
    }

    void listPageApplies_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("Style") << "Style" << QVariant(3) << "Style" << QVariant(3);
        QTest::newRow("SelectStyle") << "SelectStyle" << QVariant(1) << "SelectStyle" << QVariant(1);
        QTest::newRow("ImageList") << "ImageList" << QVariant("imgIcons") << "ImageList" << QVariant("imgIcons");
        QTest::newRow("SmallImageList") << "SmallImageList" << QVariant("imgIcons") << "SmallImageList" << QVariant("imgIcons");
        QTest::newRow("Sort") << "Sort" << QVariant(true) << "Sort" << QVariant(true);
        QTest::newRow("GuideVisible") << "GuideVisible" << QVariant(false) << "GuideVisible" << QVariant(false);
        QTest::newRow("IntegralHeight") << "IntegralHeight" << QVariant(false) << "IntegralHeight" << QVariant(false);
        QTest::newRow("AllowRowSize") << "AllowRowSize" << QVariant(true) << "AllowRowSize" << QVariant(true);
        QTest::newRow("CaptionVisible") << "CaptionVisible" << QVariant(false) << "CaptionVisible" << QVariant(false);
        QTest::newRow("RefreshOnScroll") << "RefreshOnScroll" << QVariant(true) << "RefreshOnScroll" << QVariant(true);
        QTest::newRow("DataSource") << "DataSource" << QVariant("Paged Data") << "DataSource" << QVariant("Paged Data");
        QTest::newRow("AlternateItems") << "AlternateItems" << QVariant(7) << "AlternateItems" << QVariant(7);
    }
    void listPageApplies()
    {
        QFETCH(QString, item);
        QFETCH(QVariant, value);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        PagesOnForm<CListCtrl> f;
        PropertyFrame& frame = f.open();
        change(f.frame->page(0).findChild<QWidget*>(item), value);
        QVERIFY(frame.applyButton()->isEnabled());
        f.apply();
        QVERIFY(!frame.applyButton()->isEnabled());
        QCOMPARE(toQt(f.object()->get(property)), expected);
        QCOMPARE(toQt(f.reloaded(qPrintable(property))), expected);
    }

    void gridPageApplies_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("GridLinesVisible") << "GridLinesVisible" << QVariant(true) << QVariant(true);
        QTest::newRow("GuideVisible") << "GuideVisible" << QVariant(false) << QVariant(false);
        QTest::newRow("IntegralHeight") << "IntegralHeight" << QVariant(false) << QVariant(false);
        QTest::newRow("AllowRowSize") << "AllowRowSize" << QVariant(true) << QVariant(true);
        QTest::newRow("CaptionVisible") << "CaptionVisible" << QVariant(false) << QVariant(false);
        QTest::newRow("DataSource") << "DataSource" << QVariant("Paged Data") << QVariant("Paged Data");
        QTest::newRow("AlternateItems") << "AlternateItems" << QVariant(256) << QVariant(256);
        QTest::newRow("Sort") << "Sort" << QVariant(true) << QVariant(true);
        QTest::newRow("ValidateOnLostFocus") << "ValidateOnLostFocus" << QVariant(false) << QVariant(false);
        QTest::newRow("AllowBlankLastRow") << "AllowBlankLastRow" << QVariant(true) << QVariant(true);
    }
    void gridPageApplies()
    {
        QFETCH(QString, item);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        PagesOnForm<CGridCtrl> f;
        f.open();
        QVERIFY(f.item<QCheckBox>(0, "ValidateOnLostFocus")->isChecked());
        QVERIFY(!f.item<QCheckBox>(0, "GridLinesVisible")->isChecked());
        change(f.frame->page(0).findChild<QWidget*>(item), value);
        QTest::mouseClick(f.frame->okButton(), Qt::LeftButton);
        QVERIFY(!f.frame->isVisible());
        QCOMPARE(toQt(f.object()->get(item)), expected);
        QCOMPARE(toQt(f.reloaded(qPrintable(item))), expected);
    }

    // Applying writes only what the user changed on the page: a value the control
    // took after the page opened stays.
    void applyWritesOnlyChangedItems()
    {
        PagesOnForm<CListCtrl> f;
        f.open();
        f.object()->put(QStringLiteral("Sort"), Variant(true));
        change(f.item<QCheckBox>(0, "CaptionVisible"), false);
        f.apply();
        QCOMPARE(f.object()->get(QStringLiteral("Sort")).boolValue(), true);
        QCOMPARE(f.object()->get(QStringLiteral("CaptionVisible")).boolValue(), false);
        // Cancel leaves a further change unapplied.
        change(f.item<QCheckBox>(0, "GuideVisible"), false);
        QTest::mouseClick(f.frame->cancelButton(), Qt::LeftButton);
        QCOMPARE(f.object()->get(QStringLiteral("GuideVisible")).boolValue(), true);
    }

    // The window style bits the page does not show (AlwaysShowIcon) survive its apply.
    void unshownWindowStyleBitsAreKept()
    {
        PagesOnForm<CListCtrl> f;
        f.object()->put(QStringLiteral("AlwaysShowIcon"), Variant(true));
        f.object()->put(QStringLiteral("SelectStyle"), Variant(int16_t(2)));
        f.open();
        change(f.item<QCheckBox>(0, "Sort"), true);
        change(f.item<QCheckBox>(0, "GuideVisible"), false);
        f.apply();
        QCOMPARE(f.control->style() & 0x54F0u, 0x4000u | 0x1000u | 0x410u | 0x80u);
        QCOMPARE(f.object()->get(QStringLiteral("AlwaysShowIcon")).boolValue(), true);
    }

    void alternateItemsSpinStopsAt256()
    {
        PagesOnForm<CGridCtrl> f;
        f.open();
        auto* spin = f.item<QSpinBox>(0, "AlternateItems");
        spin->setValue(255);
        spin->stepUp();
        QCOMPARE(spin->value(), 256);
        spin->stepUp();
        QCOMPARE(spin->value(), 256);
        spin->setValue(0);
        spin->stepDown();
        QCOMPARE(spin->value(), 0);
    }

    // Without ImageList controls only "None" is offered; a data control that is a
    // member of a control array shows its index; without a selected control the
    // style lists stay empty and the name lists hold their fixed entries.
    void nameListsAndMissingObjects()
    {
        auto control = std::make_shared<CListCtrl>();
        ArraySite site(control);
        site.initNew();
        auto frame = PropertyFrame::forControl(QStringLiteral("p"), control);
        auto* images = frame->page(0).findChild<QComboBox*>(QStringLiteral("ImageList"));
        QCOMPARE(entries(images), QStringList{"None"});
        QCOMPARE(images->currentText(), QStringLiteral("None"));
        QCOMPARE(entries(frame->page(0).findChild<QComboBox*>(QStringLiteral("DataSource"))),
                 (QStringList{"None", "Paged Data", "datArr(2)"}));

        std::vector<std::unique_ptr<controlframework::PropertyPage>> pages;
        pages.push_back(std::make_unique<listgrid::CListPropPage>());
        PropertyFrame empty(QStringLiteral("p"), {}, std::move(pages));
        QCOMPARE(empty.page(0).findChild<QComboBox*>(QStringLiteral("Style"))->count(), 0);
        QCOMPARE(entries(empty.page(0).findChild<QComboBox*>(QStringLiteral("DataSource"))),
                 (QStringList{"None", "Paged Data"}));
        QCOMPARE(empty.page(0).findChild<QComboBox*>(QStringLiteral("Style"))->currentIndex(), -1);
    }

    // The property browser's display strings and predefined values.
    void predefinedValues_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<int>("dispId");
        QTest::addColumn<QStringList>("strings");
        QTest::newRow("list Style") << false << 1 << QStringList{"0 - List", "1 - Report", "2 - Icon", "3 - Small Icon"};
        QTest::newRow("list Appearance") << false << -520 << QStringList{"0 - Flat", "1 - 3D"};
        QTest::newRow("list BorderStyle") << false << -504 << QStringList{"0 - None", "1 - Fixed Single"};
        QTest::newRow("list SelectStyle") << false << 2 << QStringList{"0 - Single", "1 - Multi Select", "2 - Multi Select Order"};
        QTest::newRow("list ImageList") << false << 8 << QStringList{"None", "imgIcons"};
        QTest::newRow("list DataSource") << false << 18 << QStringList{"None", "Paged Data", "datCustomers"};
        QTest::newRow("grid Appearance") << true << -520 << QStringList{"0 - Flat", "1 - 3D"};
        QTest::newRow("grid DataSource") << true << 14 << QStringList{"None", "Paged Data", "datCustomers"};
    }
    void predefinedValues()
    {
        QFETCH(bool, grid);
        QFETCH(int, dispId);
        QFETCH(QStringList, strings);
        PagesOnForm<CListCtrl> list;
        PagesOnForm<CGridCtrl> gridForm;
        listgrid::ListGridControl& c = grid ? static_cast<listgrid::ListGridControl&>(*gridForm.control)
                                            : static_cast<listgrid::ListGridControl&>(*list.control);
        QStringList offered;
        std::vector<uint32_t> cookies;
        QVERIFY(c.predefinedStrings(dispId, offered, cookies));
        QCOMPARE(offered, strings);
        Variant last;
        QVERIFY(c.predefinedValue(dispId, cookies.back(), last));
        if (strings.first() == QLatin1String("None")) {
            QCOMPARE(last.stringValue(), strings.last()); // a name's value is the name
        } else {
            QCOMPARE(last.type(), basic::VarType::Integer); // a 16-bit value
            QCOMPARE(last.intValue(), int(strings.size()) - 1);
        }
        QString shown;
        QVERIFY(c.displayString(dispId, shown));
        QVERIFY(strings.contains(shown));
    }
    void otherPropertiesAreLeftToTheDefault()
    {
        PagesOnForm<CGridCtrl> f;
        QStringList offered;
        std::vector<uint32_t> cookies;
        QString shown;
        QVERIFY(!f.control->predefinedStrings(1, offered, cookies)); // the grid's AllowRowSize
        QVERIFY(!f.control->displayString(5, shown));
        PagesOnForm<CListCtrl> l;
        l.object()->put(QStringLiteral("Style"), Variant(int16_t(3)));
        QVERIFY(l.control->displayString(1, shown));
        QCOMPARE(shown, QStringLiteral("3 - Small Icon"));
    }

    // ---- the stock font and colour pages ----

    void stockPagesFollowTheLibrarysOwn_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::newRow("list") << false;
        QTest::newRow("grid") << true;
    }
    void stockPagesFollowTheLibrarysOwn()
    {
        QFETCH(bool, grid);
        StockPages f(grid);
        PropertyFrame& frame = f.open();
        QCOMPARE(frame.pageCount(), 4);
        QCOMPARE(frame.tabs()->tabText(2), QStringLiteral("Font"));
        QCOMPARE(frame.tabs()->tabText(3), QStringLiteral("Color"));
        QCOMPARE(entries(f.item<QComboBox>(FontPage, "Property")), QStringList{"Font"});
        QCOMPARE(entries(f.item<QComboBox>(ColourPage, "Property")),
                 (QStringList{"AlternateBackColor", "AlternateForeColor", "AlternateHighlightedBackColor",
                              "AlternateHighlightedForeColor"}));
    }

    // The page shows the control's font as it is: a face the machine lacks stays the
    // face, and showing it changes nothing.
    void fontPageShowsTheFont()
    {
        StockPages f(false);
        controlframework::FontInfo set{QStringLiteral("No Such Face"), 12, true, false, true, false, 0};
        f.object()->put(QStringLiteral("Font"), controlframework::makeFont(set));
        PropertyFrame& frame = f.open();
        QCOMPARE(f.item<QFontComboBox>(FontPage, "Name")->currentText(), QStringLiteral("No Such Face"));
        QCOMPARE(f.item<QComboBox>(FontPage, "Size")->currentText(), QStringLiteral("12"));
        QVERIFY(f.item<QCheckBox>(FontPage, "Bold")->isChecked());
        QVERIFY(!f.item<QCheckBox>(FontPage, "Italic")->isChecked());
        QVERIFY(f.item<QCheckBox>(FontPage, "Underline")->isChecked());
        QVERIFY(f.item<QLabel>(FontPage, "Sample")->font().bold());
        QVERIFY(!frame.applyButton()->isEnabled());

        // Only bold is changed: the face and size stay what they were.
        change(f.item<QCheckBox>(FontPage, "Bold"), false);
        f.apply();
        set.bold = false;
        QCOMPARE(fontIn(f.object()->get(QStringLiteral("Font"))), set);
        QCOMPARE(fontIn(f.reloaded("Font")), set);
    }

    void fontPageApplies_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QString>("face"); // empty: the font list's last entry
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("expectedSize");
        QTest::newRow("list bold") << false << QString() << QString() << "Bold" << 8.25;
        QTest::newRow("list face and size") << false << QString() << "14" << "" << 14.0;
        QTest::newRow("list typed face") << false << "Typed Face" << "" << "Italic" << 8.25;
        QTest::newRow("grid underline") << true << QString() << "" << "Underline" << 8.25;
        QTest::newRow("grid strikethrough, size 10.5") << true << QString() << "10.5" << "Strikethrough" << 10.5;
        // A size that is no size keeps the last one.
        QTest::newRow("grid bad size") << true << QString() << "big" << "Bold" << 8.25;
        QTest::newRow("grid zero size") << true << QString() << "0" << "Italic" << 8.25;
    }
    void fontPageApplies()
    {
        QFETCH(bool, grid);
        QFETCH(QString, face);
        QFETCH(QString, size);
        QFETCH(QString, box);
        QFETCH(double, expectedSize);
        StockPages f(grid);
        PropertyFrame& frame = f.open();
        frame.tabs()->setCurrentIndex(FontPage);
        auto* name = f.item<QFontComboBox>(FontPage, "Name");
        if (face.isEmpty()) {
            QVERIFY(name->count() > 0);
            name->setCurrentIndex(name->count() - 1);
            face = name->itemText(name->count() - 1);
        } else {
            name->setEditText(face);
        }
        if (!size.isEmpty())
            f.item<QComboBox>(FontPage, "Size")->setEditText(size);
        if (!box.isEmpty())
            change(f.item<QCheckBox>(FontPage, qPrintable(box)), true);
        QVERIFY(frame.applyButton()->isEnabled());
        f.apply();
        QVERIFY(!frame.applyButton()->isEnabled());

        controlframework::FontInfo expected;
        expected.name = face;
        expected.size = expectedSize;
        expected.bold = box == QLatin1String("Bold");
        expected.italic = box == QLatin1String("Italic");
        expected.underline = box == QLatin1String("Underline");
        expected.strikethrough = box == QLatin1String("Strikethrough");
        QCOMPARE(fontIn(f.object()->get(QStringLiteral("Font"))), expected);
        QCOMPARE(fontIn(f.reloaded("Font")), expected);
        // The control's window draws with it.
        const QFont drawn = f.control()->window()->view()->font();
        QCOMPARE(drawn.bold(), expected.bold);
        QCOMPARE(drawn.strikeOut(), expected.strikethrough);
        QCOMPARE(drawn.pixelSize(), expected.toQFont().pixelSize());
    }

    void colourPageShowsTheColour()
    {
        StockPages f(true);
        f.object()->put(QStringLiteral("AlternateBackColor"), Variant(int32_t(0x0000FF)));
        f.open();
        auto* system = f.item<QComboBox>(ColourPage, "SystemColor");
        QCOMPARE(system->currentIndex(), -1); // a plain colour is no system colour
        QCOMPARE(f.item<QLabel>(ColourPage, "Value")->text(), QStringLiteral("&H000000FF&"));
        QCOMPARE(f.item<QFrame>(ColourPage, "Swatch")->palette().color(QPalette::Window), QColor(255, 0, 0));
        change(f.item<QComboBox>(ColourPage, "Property"), QStringLiteral("AlternateHighlightedForeColor"));
        QCOMPARE(system->currentText(), QStringLiteral("Highlight Text"));
        QCOMPARE(f.item<QLabel>(ColourPage, "Value")->text(), QStringLiteral("&H8000000E&"));
        QVERIFY(!f.frame->applyButton()->isEnabled()); // choosing a property is no change
    }

    void colourPageApplies_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("way"); // a system colour's name, "Palette<n>" or "Custom"
        QTest::addColumn<int>("expected");
        QTest::newRow("list back, system") << false << "AlternateBackColor" << "Button Face" << int(0x8000000F);
        QTest::newRow("list fore, palette") << false << "AlternateForeColor" << "Palette9" << 0x0000FF;
        QTest::newRow("list highlighted back, custom") << false << "AlternateHighlightedBackColor" << "Custom" << 0x563412;
        QTest::newRow("grid back, palette") << true << "AlternateBackColor" << "Palette4" << 0x800000;
        QTest::newRow("grid highlighted fore, system") << true << "AlternateHighlightedForeColor" << "Tooltip Text"
                                                       << int(0x80000017);
        QTest::newRow("grid fore, custom") << true << "AlternateForeColor" << "Custom" << 0x563412;
    }
    void colourPageApplies()
    {
        QFETCH(bool, grid);
        QFETCH(QString, property);
        QFETCH(QString, way);
        QFETCH(int, expected);
        StockPages f(grid);
        f.open();
        QColor offered;
        controlframework::StockColourPage::setChooser([&](const QColor& initial, QWidget*) {
            offered = initial;
            return std::optional<QColor>(QColor(0x12, 0x34, 0x56));
        });
        change(f.item<QComboBox>(ColourPage, "Property"), property);
        const QColor before = forms::toQColor(controlframework::toOleColor(f.object()->get(property)));
        if (way.startsWith(QLatin1String("Palette")) || way == QLatin1String("Custom"))
            QTest::mouseClick(f.item<QPushButton>(ColourPage, qPrintable(way)), Qt::LeftButton);
        else
            change(f.item<QComboBox>(ColourPage, "SystemColor"), way);
        if (way == QLatin1String("Custom"))
            QCOMPARE(offered, before);
        QCOMPARE(f.item<QLabel>(ColourPage, "Value")->text(), controlframework::oleColourText(uint32_t(expected)));
        QCOMPARE(f.item<QFrame>(ColourPage, "Swatch")->palette().color(QPalette::Window),
                 forms::toQColor(uint32_t(expected)));
        QTest::mouseClick(f.frame->okButton(), Qt::LeftButton);
        QVERIFY(!f.frame->isVisible());
        QCOMPARE(f.object()->get(property).intValue(), expected);
        QCOMPARE(f.reloaded(qPrintable(property)).intValue(), expected);
        QCOMPARE(f.control()->alternateColour(int(colourProperties.indexOf(property))), uint32_t(expected));
    }

    // Changes to several colours apply together; a colour only looked at is not
    // written, so a value the control took since stays; a cancelled custom colour
    // is no change.
    void colourPageKeepsEachProperty()
    {
        StockPages f(false);
        f.open();
        controlframework::StockColourPage::setChooser([](const QColor&, QWidget*) { return std::nullopt; });
        QTest::mouseClick(f.item<QPushButton>(ColourPage, "Custom"), Qt::LeftButton);
        QVERIFY(!f.frame->applyButton()->isEnabled());
        QTest::mouseClick(f.item<QPushButton>(ColourPage, "Palette0"), Qt::LeftButton);
        change(f.item<QComboBox>(ColourPage, "Property"), QStringLiteral("AlternateForeColor"));
        change(f.item<QComboBox>(ColourPage, "SystemColor"), QStringLiteral("Window"));
        change(f.item<QComboBox>(ColourPage, "Property"), QStringLiteral("AlternateHighlightedBackColor"));
        f.object()->put(QStringLiteral("AlternateHighlightedBackColor"), Variant(int32_t(0x00FF00)));
        change(f.item<QComboBox>(ColourPage, "Property"), QStringLiteral("AlternateBackColor"));
        QCOMPARE(f.item<QLabel>(ColourPage, "Value")->text(), QStringLiteral("&H00000000&"));
        f.apply();
        QCOMPARE(f.reloaded("AlternateBackColor").intValue(), 0);
        QCOMPARE(f.reloaded("AlternateForeColor").intValue(), int(0x80000005));
        QCOMPARE(f.reloaded("AlternateHighlightedBackColor").intValue(), 0x00FF00);
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::newRow("list") << false;
        QTest::newRow("grid") << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, grid);
        StockPages f(grid);
        const QJsonObject design = f.form().saveDesign();
        f.open();
        change(f.item<QCheckBox>(FontPage, "Italic"), true);
        f.item<QComboBox>(FontPage, "Size")->setEditText(QStringLiteral("20"));
        QTest::mouseClick(f.item<QPushButton>(ColourPage, "Palette12"), Qt::LeftButton);
        QVERIFY(f.frame->applyButton()->isEnabled());
        QTest::mouseClick(f.frame->cancelButton(), Qt::LeftButton);
        QVERIFY(!f.frame->isVisible());
        QCOMPARE(fontIn(f.object()->get(QStringLiteral("Font"))), controlframework::FontInfo{});
        QCOMPARE(f.object()->get(QStringLiteral("AlternateBackColor")).intValue(), int(0x80000005));
        QCOMPARE(f.form().saveDesign(), design);
    }

    // The pages of any control: what it reports besides the stock members, written
    // to every selected object; a control without such properties gets empty pages.
    void stockPagesOfOtherObjects()
    {
        auto first = std::make_shared<ReportingObject>();
        auto second = std::make_shared<ReportingObject>();
        std::vector<std::unique_ptr<controlframework::PropertyPage>> pages;
        pages.push_back(controlframework::createPropertyPage(QLatin1String(controlframework::StockFontPageClassId)));
        pages.push_back(controlframework::createPropertyPage(QLatin1String(controlframework::StockColourPageClassId)));
        PropertyFrame frame(QStringLiteral("p"), {first, second}, std::move(pages));
        auto* fontList = frame.page(0).findChild<QComboBox*>(QStringLiteral("Property"));
        QCOMPARE(entries(fontList), QStringList{"TitleFont"});
        QCOMPARE(entries(frame.page(1).findChild<QComboBox*>(QStringLiteral("Property"))), QStringList{"TitleColor"});
        change(frame.page(0).findChild<QCheckBox*>(QStringLiteral("Bold")), true);
        frame.page(1).findChild<QPushButton*>(QStringLiteral("Palette15"))->click();
        frame.applyAll();
        for (const auto& object : {first, second}) {
            QCOMPARE(object->putNames(), (QStringList{"TitleFont", "TitleColor"}));
            QVERIFY(fontIn(object->values[QStringLiteral("TitleFont")]).bold);
            QCOMPARE(object->values[QStringLiteral("TitleColor")].intValue(), 0xFFFFFF);
        }

        std::vector<std::unique_ptr<controlframework::PropertyPage>> plain;
        plain.push_back(controlframework::createPropertyPage(QLatin1String(controlframework::StockFontPageClassId)));
        PropertyFrame empty(QStringLiteral("p"), {std::make_shared<PropertyObject>()}, std::move(plain));
        QCOMPARE(empty.page(0).findChild<QComboBox*>(QStringLiteral("Property"))->count(), 0);
        QVERIFY(!empty.page(0).findChild<QCheckBox*>(QStringLiteral("Bold"))->isEnabled());
    }

    // A new control has the ambient font, which its design does not store; the
    // stock Font takes only a font.
    void stockFont()
    {
        StockPages f(true);
        QCOMPARE(fontIn(f.object()->get(QStringLiteral("Font"))), f.control()->host().ambientFont());
        QVERIFY(!QJsonDocument(f.form().saveDesign()).toJson().contains("Font"));
        try {
            f.object()->put(QStringLiteral("Font"), Variant(QStringLiteral("Arial")));
            QFAIL("no error");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::TypeMismatch);
        }
    }

    // ---- the Columns page ----

    void columnsPageTabs_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("list") << false << QStringList{"General", "Advanced", "Data"};
        QTest::newRow("grid") << true << QStringList{"General", "Advanced", "Data", "Control"};
    }
    void columnsPageTabs()
    {
        QFETCH(bool, grid);
        QFETCH(QStringList, tabs);
        PagesOnForm<CListCtrl> list;
        PagesOnForm<CGridCtrl> gridForm;
        if (grid)
            gridForm.open();
        else
            list.open();
        auto& page = static_cast<CColumnsPropPage&>(grid ? gridForm.page(1) : list.page(1));
        QStringList shown;
        for (int i = 0; i < page.tabs()->count(); ++i)
            shown << page.tabs()->tabText(i);
        QCOMPARE(shown, tabs);
        QCOMPARE(page.tabs()->currentIndex(), 0);
    }

    void columnsPageApplies_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("Key") << "Key" << QVariant("CODE") << "Key" << QVariant("CODE");
        QTest::newRow("Caption") << "Caption" << QVariant("Account") << "Caption" << QVariant("Account");
        QTest::newRow("CaptionAlignment") << "CaptionAlignment" << QVariant("Center") << "CaptionAlignment" << QVariant(2);
        QTest::newRow("ColumnAlignment") << "ColumnAlignment" << QVariant("Right") << "ColumnAlignment" << QVariant(1);
        QTest::newRow("Visible") << "Visible" << QVariant(false) << "Visible" << QVariant(false);
        QTest::newRow("Enabled") << "Enabled" << QVariant(false) << "Enabled" << QVariant(false);
        QTest::newRow("AllowMove") << "AllowMove" << QVariant(true) << "AllowMove" << QVariant(true);
        QTest::newRow("AllowSelect") << "AllowSelect" << QVariant(true) << "AllowSelect" << QVariant(true);
        QTest::newRow("AllowSize") << "AllowSize" << QVariant(true) << "AllowSize" << QVariant(true);
        QTest::newRow("AutoSize") << "AutoSize" << QVariant(true) << "AutoSize" << QVariant(true);
        QTest::newRow("Fixed") << "Fixed" << QVariant(true) << "Fixed" << QVariant(true);
        QTest::newRow("DataType") << "DataType" << QVariant("Double") << "DataType" << QVariant(3);
        QTest::newRow("MaxLength") << "MaxLength" << QVariant(40) << "MaxLength" << QVariant(40);
        QTest::newRow("DecimalPlaces") << "DecimalPlaces" << QVariant(4) << "DecimalPlaces" << QVariant(4);
        QTest::newRow("Width") << "Width" << QVariant(30) << "Width" << QVariant(30);
        QTest::newRow("Sort") << "Sort" << QVariant("Descending") << "Sort" << QVariant(2);
        QTest::newRow("DataField") << "DataField" << QVariant("ADDRESS.LINE1") << "DataField" << QVariant("ADDRESS.LINE1");
        QTest::newRow("ControlType") << "ControlType" << QVariant("Popup") << "ControlType" << QVariant(4);
        QTest::newRow("Locked") << "Locked" << QVariant(true) << "ControlStyle" << QVariant(0x800);
        QTest::newRow("Uppercase") << "Uppercase" << QVariant(true) << "ControlStyle" << QVariant(0x8);
        QTest::newRow("Numeric") << "Numeric" << QVariant(true) << "ControlStyle" << QVariant(0x2000);
    }
    void columnsPageApplies()
    {
        QFETCH(QString, item);
        QFETCH(QVariant, value);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        PagesOnForm<CGridCtrl> f;
        f.object()->put(QStringLiteral("DataSource"), Variant(QStringLiteral("datCustomers")));
        PropertyFrame& frame = f.open();
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        frame.tabs()->setCurrentIndex(1);
        QWidget* w = page.findChild<QWidget*>(item);
        QVERIFY(w);
        page.tabs()->setCurrentWidget(w->parentWidget());
        change(w, value);
        QVERIFY(frame.applyButton()->isEnabled());
        f.apply();
        QCOMPARE(toQt(f.firstColumn()->get(property)), expected);
        QCOMPARE(toQt(f.reloaded(qPrintable(property), true)), expected);
    }

    void columnsPageShowsTheColumn()
    {
        PagesOnForm<CGridCtrl> f;
        f.addColumns();
        auto second = f.object()->get(QStringLiteral("Columns")).objectValue()->get(QStringLiteral("Item"), {Variant(int16_t(2))}).objectValue();
        second->put(QStringLiteral("ControlType"), Variant(int16_t(1)));
        second->put(QStringLiteral("ControlStyle"), Variant(int32_t(0x20 | 0x40)));
        PropertyFrame& frame = f.open();
        frame.tabs()->setCurrentIndex(1);
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        auto* spin = page.findChild<QSpinBox*>(QStringLiteral("Column"));
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 3);
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("Caption"))->text(), QStringLiteral("Code"));
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("DataField"))->currentText(), QStringLiteral("None"));
        spin->setValue(2);
        QCOMPARE(page.currentColumn(), 2);
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("Caption"))->text(), QStringLiteral("Name"));
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("ControlType"))->currentText(), QStringLiteral("Numeric"));
        QVERIFY(page.findChild<QCheckBox*>(QStringLiteral("Locked"))->isChecked());
        // Button Visible is checked while its bit is clear.
        QVERIFY(!page.findChild<QCheckBox*>(QStringLiteral("ButtonVisible"))->isChecked());
        // A change on one column is stored when the spin moves on.
        change(page.findChild<QLineEdit*>(QStringLiteral("Caption")), QStringLiteral("Customer"));
        spin->setValue(3);
        QCOMPARE(second->get(QStringLiteral("Caption")).stringValue(), QStringLiteral("Customer"));
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("Caption"))->text(), QStringLiteral("Balance"));
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("DataType"))->currentText(), QStringLiteral("Double"));
    }

    void addInsertRemove()
    {
        PagesOnForm<CListCtrl> f;
        f.addColumns();
        f.open();
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        auto* spin = page.findChild<QSpinBox*>(QStringLiteral("Column"));
        auto columns = f.control->columns();
        auto captions = [&] {
            QStringList out;
            for (const auto& c : columns->items())
                out << c->settings().caption;
            return out;
        };
        // Insert on column 1 puts the new column first.
        QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Insert")), Qt::LeftButton);
        QCOMPARE(captions(), (QStringList{"Column", "Code", "Name", "Balance"}));
        QCOMPARE(spin->value(), 1);
        QCOMPARE(spin->maximum(), 4);
        QCOMPARE(columns->at(0)->settings().width, int16_t(16));
        // Add on the last column appends.
        spin->setValue(4);
        change(page.findChild<QLineEdit*>(QStringLiteral("Caption")), QStringLiteral("Total"));
        QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Add")), Qt::LeftButton);
        QCOMPARE(captions(), (QStringList{"Column", "Code", "Name", "Total", "Column"})); // stored first
        QCOMPARE(spin->value(), 5);
        // Removing the last column moves the spin to the one now last.
        QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Remove")), Qt::LeftButton);
        QCOMPARE(captions(), (QStringList{"Column", "Code", "Name", "Total"}));
        QCOMPARE(spin->value(), 4);
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("Caption"))->text(), QStringLiteral("Total"));
        QVERIFY(page.findChild<QPushButton*>(QStringLiteral("Remove"))->isEnabled());
        QCOMPARE(f.reloadedControl()->get(QStringLiteral("Columns")).objectValue()->get(QStringLiteral("Count")), Variant(int32_t(4)));
        // Closing the frame lets go of the control's columns.
        QTest::mouseClick(f.frame->cancelButton(), Qt::LeftButton);
        QVERIFY(!page.holdsColumns());
    }

    // The field list: "None", then the fields, groups at the top level expanded,
    // type -3 left out; choosing a field takes its size, type and decimals.
    void fieldList()
    {
        PagesOnForm<CGridCtrl> f;
        f.open();
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        auto* field = page.findChild<QComboBox*>(QStringLiteral("DataField"));
        QCOMPARE(entries(field), QStringList{"None"}); // DataSource "None"

        f.object()->put(QStringLiteral("DataSource"), Variant(QStringLiteral("datCustomers")));
        page.refresh();
        QCOMPARE(entries(field), (QStringList{"None", "ACCOUNT_REF", "ADDRESS.LINE1", "ADDRESS.LINE2", "BALANCE", "OPENED"}));
        auto* type = page.findChild<QComboBox*>(QStringLiteral("DataType"));
        auto* maxLength = page.findChild<QSpinBox*>(QStringLiteral("MaxLength"));
        auto* decimals = page.findChild<QSpinBox*>(QStringLiteral("DecimalPlaces"));
        QVERIFY(type->isEnabled() && maxLength->isEnabled() && !decimals->isEnabled());
        change(field, QStringLiteral("BALANCE"));
        QCOMPARE(type->currentText(), QStringLiteral("Double"));
        QCOMPARE(maxLength->value(), 8);
        QCOMPARE(decimals->value(), 2);
        QVERIFY(!type->isEnabled() && !maxLength->isEnabled() && !decimals->isEnabled());
        change(field, QStringLiteral("None"));
        QVERIFY(type->isEnabled() && decimals->isEnabled()); // Double
    }

    void controlTypeFollowsDataType_data()
    {
        QTest::addColumn<QString>("controlType");
        QTest::addColumn<QString>("dataType");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Numeric on Date") << "Numeric" << "Date" << "Edit";
        QTest::newRow("Numeric on Long") << "Numeric" << "Long" << "Numeric";
        QTest::newRow("ComboBox on Bit") << "ComboBox" << "Bit" << "ComboBox";
        QTest::newRow("ComboBox on Double") << "ComboBox" << "Double" << "Edit";
        QTest::newRow("Date on String") << "Date" << "String" << "Edit";
    }
    void controlTypeFollowsDataType()
    {
        QFETCH(QString, controlType);
        QFETCH(QString, dataType);
        QFETCH(QString, expected);
        PagesOnForm<CGridCtrl> f;
        f.open();
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        change(page.findChild<QComboBox*>(QStringLiteral("ControlType")), controlType);
        change(page.findChild<QComboBox*>(QStringLiteral("DataType")), dataType);
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("ControlType"))->currentText(), expected);
    }

    // The offered boxes fill the grid's free cells in order: the first row's right
    // cell, then left and right of each row below.
    void optionBoxLayout_data()
    {
        QTest::addColumn<QString>("controlType");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Edit") << "Edit" << QStringList{"Locked", "Uppercase", "Numeric"};
        QTest::newRow("Numeric") << "Numeric" << QStringList{"Locked", "ButtonVisible", "Negatives"};
        QTest::newRow("Date") << "Date" << QStringList{"Locked", "ButtonVisible"};
        QTest::newRow("Popup") << "Popup" << QStringList{"Locked", "ButtonVisible", "Uppercase", "Numeric", "Alpha", "FwdSlash"};
        QTest::newRow("ComboBox") << "ComboBox" << QStringList{};
    }
    void optionBoxLayout()
    {
        QFETCH(QString, controlType);
        QFETCH(QStringList, shown);
        PagesOnForm<CGridCtrl> f;
        PropertyFrame& frame = f.open();
        frame.tabs()->setCurrentIndex(1);
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        auto* controlTab = page.findChild<QWidget*>(QStringLiteral("ControlTab"));
        page.tabs()->setCurrentWidget(controlTab);
        // Any type change clears the offered boxes.
        page.findChild<QCheckBox*>(QStringLiteral("Locked"))->setChecked(true);
        change(page.findChild<QComboBox*>(QStringLiteral("DataType")), QStringLiteral("Bit"));
        change(page.findChild<QComboBox*>(QStringLiteral("ControlType")), controlType);
        auto* grid = qobject_cast<QGridLayout*>(controlTab->layout());
        const QList<QPair<int, int>> cells{{0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}};
        for (const char* name : {"Locked", "ButtonVisible", "Negatives", "Uppercase", "Numeric", "Alpha", "FwdSlash"}) {
            auto* b = page.findChild<QCheckBox*>(QLatin1String(name));
            const qsizetype at = shown.indexOf(QLatin1String(name));
            QCOMPARE(b->isVisible(), at >= 0);
            if (at < 0)
                continue;
            int row, column, rs, cs;
            grid->getItemPosition(grid->indexOf(b), &row, &column, &rs, &cs);
            QCOMPARE((QPair<int, int>(row, column)), cells[at]);
            QCOMPARE(b->isChecked(), QLatin1String(name) == QLatin1String("ButtonVisible"));
        }
    }

    void numericGovernsUppercaseAndFwdSlash()
    {
        PagesOnForm<CGridCtrl> f;
        PropertyFrame& frame = f.open();
        frame.tabs()->setCurrentIndex(1);
        auto& page = static_cast<CColumnsPropPage&>(f.page(1));
        page.tabs()->setCurrentWidget(page.findChild<QWidget*>(QStringLiteral("ControlTab")));
        auto* numeric = page.findChild<QCheckBox*>(QStringLiteral("Numeric"));
        auto* upper = page.findChild<QCheckBox*>(QStringLiteral("Uppercase"));
        auto* slash = page.findChild<QCheckBox*>(QStringLiteral("FwdSlash"));
        change(numeric, true); // Edit
        QVERIFY(!upper->isEnabled());
        change(numeric, false);
        QVERIFY(upper->isEnabled());
        change(page.findChild<QComboBox*>(QStringLiteral("ControlType")), QStringLiteral("Popup"));
        QVERIFY(!slash->isEnabled());
        change(numeric, true);
        QVERIFY(slash->isEnabled());
        change(slash, true);
        change(numeric, false);
        QVERIFY(!slash->isChecked() && !slash->isEnabled());
        change(numeric, true);
        change(slash, true);
        f.apply();
        QCOMPARE(f.firstColumn()->get(QStringLiteral("ControlStyle")).intValue(), 0x100 | 0x1000); // Button Visible stays checked
    }

    // By name: changing only the caption writes only Caption, even for values the
    // spins do not reach (a width of -1, a length above 256).
    void onlyTheCaptionIsWritten()
    {
        FakeControl fake;
        fake.items = {fakeColumn(QStringLiteral("One"))};
        fake.items[0]->set(QStringLiteral("Width"), int16_t(-1)).set(QStringLiteral("MaxLength"), int16_t(500))
            .set(QStringLiteral("DataField"), QStringLiteral("None"));
        std::vector<std::unique_ptr<controlframework::PropertyPage>> pages;
        pages.push_back(std::make_unique<CColumnsPropPage>());
        PropertyFrame frame(QStringLiteral("p"), {fake.control}, std::move(pages));
        auto& page = frame.page(0);
        QCOMPARE(page.findChild<QSpinBox*>(QStringLiteral("Width"))->value(), -1);
        change(page.findChild<QLineEdit*>(QStringLiteral("Caption")), QStringLiteral("Two"));
        frame.applyAll();
        QCOMPARE(fake.items[0]->putNames(), QStringList{"Caption"});
        QCOMPARE(fake.items[0]->values[QStringLiteral("Caption")].stringValue(), QStringLiteral("Two"));
        // A page with one object that is no list control has the Control tab.
        QCOMPARE(static_cast<CColumnsPropPage&>(page).tabs()->count(), 4);
    }

    // An empty DataField shows "None"; applying writes "None".
    void emptyDataFieldBecomesNone()
    {
        FakeControl fake;
        fake.items = {fakeColumn(QStringLiteral("One"))};
        std::vector<std::unique_ptr<controlframework::PropertyPage>> pages;
        pages.push_back(std::make_unique<CColumnsPropPage>());
        PropertyFrame frame(QStringLiteral("p"), {fake.control}, std::move(pages));
        QCOMPARE(frame.page(0).findChild<QComboBox*>(QStringLiteral("DataField"))->currentText(), QStringLiteral("None"));
        change(frame.page(0).findChild<QCheckBox*>(QStringLiteral("Fixed")), true);
        frame.applyAll();
        QCOMPARE(fake.items[0]->putNames(), (QStringList{"Fixed", "DataField"}));
        QCOMPARE(fake.items[0]->values[QStringLiteral("DataField")].stringValue(), QStringLiteral("None"));
    }

    // The buttons call the collection by name, Index and Width as 16-bit values.
    void buttonsCallTheCollection()
    {
        FakeControl fake;
        fake.items = {fakeColumn(QStringLiteral("One")), fakeColumn(QStringLiteral("Two"))};
        std::vector<std::unique_ptr<controlframework::PropertyPage>> pages;
        pages.push_back(std::make_unique<CColumnsPropPage>());
        PropertyFrame frame(QStringLiteral("p"), {fake.control}, std::move(pages));
        fake.calls.clear();
        QTest::mouseClick(frame.page(0).findChild<QPushButton*>(QStringLiteral("Add")), Qt::LeftButton);
        const auto add = std::find_if(fake.calls.begin(), fake.calls.end(), [](const auto& c) { return c.first == QLatin1String("Add"); });
        QVERIFY(add != fake.calls.end());
        QCOMPARE(add->second.size(), size_t(4));
        QCOMPARE(add->second[0], Variant(int16_t(2)));
        QCOMPARE(add->second[0].type(), basic::VarType::Integer);
        QCOMPARE(add->second[1], Variant(QString()));
        QCOMPARE(add->second[2], Variant(QStringLiteral("Column")));
        QCOMPARE(add->second[3].type(), basic::VarType::Integer);
        QCOMPARE(add->second[3].intValue(), 16);
        QCOMPARE(fake.items.size(), size_t(3));
        QCOMPARE(static_cast<CColumnsPropPage&>(frame.page(0)).currentColumn(), 2);
    }

    // ---- mends ----

    // The page keeps the ControlStyle bits its boxes do not show.
    void unshownStyleBitsAreKept_data()
    {
        QTest::addColumn<int>("controlType");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("chooseType");
        QTest::addColumn<int>("expected");
        QTest::newRow("edit, caption only") << 0 << (0x800 | 0x4 | 0x10000) << QString() << (0x800 | 0x4 | 0x10000);
        QTest::newRow("numeric, caption only") << 1 << (0x40 | 0x2) << QString() << (0x40 | 0x2);
        QTest::newRow("combo box, caption only") << 5 << 0x3 << QString() << 0x3;
        // Another type clears what the old type's boxes showed, and keeps the rest.
        QTest::newRow("edit to popup") << 0 << (0x800 | 0x8 | 0x4) << QStringLiteral("Popup") << 0x4;
    }
    void unshownStyleBitsAreKept()
    {
        QFETCH(int, controlType);
        QFETCH(int, style);
        QFETCH(QString, chooseType);
        QFETCH(int, expected);
        PagesOnForm<CGridCtrl> f;
        auto column = f.firstColumn();
        column->put(QStringLiteral("DataType"), Variant(int16_t(6))); // Bit allows every type
        column->put(QStringLiteral("ControlType"), Variant(int16_t(controlType)));
        column->put(QStringLiteral("ControlStyle"), Variant(int32_t(style)));
        f.open();
        auto& page = f.page(1);
        change(page.findChild<QLineEdit*>(QStringLiteral("Caption")), QStringLiteral("Changed"));
        if (!chooseType.isEmpty())
            change(page.findChild<QComboBox*>(QStringLiteral("ControlType")), chooseType);
        f.apply();
        QCOMPARE(f.firstColumn()->get(QStringLiteral("ControlStyle")).intValue(), expected);
        QCOMPARE(f.reloaded("ControlStyle", true).intValue(), expected);
    }

    // A DataField the field list does not offer stays when another item is applied.
    void unofferedDataFieldIsKept()
    {
        PagesOnForm<CListCtrl> f;
        f.firstColumn()->put(QStringLiteral("DataField"), Variant(QStringLiteral("NAME")));
        f.open();
        auto& page = f.page(1);
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("DataField"))->currentIndex(), -1);
        change(page.findChild<QLineEdit*>(QStringLiteral("Caption")), QStringLiteral("Name"));
        f.apply();
        QCOMPARE(f.firstColumn()->get(QStringLiteral("DataField")).stringValue(), QStringLiteral("NAME"));
    }

    // Caption colours set on a column are saved with the design and reach the window
    // of the reloaded control; a block without them loads the defaults.
    void captionColoursAreSaved()
    {
        PagesOnForm<CListCtrl> f;
        f.firstColumn()->put(QStringLiteral("CaptionBackColor"), Variant(int32_t(0x0000FF)));
        f.firstColumn()->put(QStringLiteral("CaptionForeColor"), Variant(int32_t(0xFFFFFF)));
        QCOMPARE(f.reloaded("CaptionBackColor", true).intValue(), 0x0000FF);
        QCOMPARE(f.reloaded("CaptionForeColor", true).intValue(), 0xFFFFFF);

        listgrid::ColumnSettings s;
        s.captionBackColor = 0x123456;
        QByteArray block = listgrid::writeColumnsBlock({s});
        std::vector<listgrid::ColumnSettings> read;
        QString error;
        QVERIFY(listgrid::readColumnsBlock(block, read, error));
        QCOMPARE(read.at(0).captionBackColor, 0x123456u);
        QCOMPARE(read.at(0).captionForeColor, 0x80000008u);
        block.replace(listgrid::ColumnsHeaderSize + listgrid::CaptionColoursOffset, 8, QByteArray(8, '\0'));
        QVERIFY(listgrid::readColumnsBlock(block, read, error));
        QCOMPARE(read.at(0).captionBackColor, 0x8000000Fu);
        QCOMPARE(read.at(0).captionForeColor, 0x80000008u);
    }
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
