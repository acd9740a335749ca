// The list control on a container form: its properties and style bits, its stored
// design, its methods and events, and its three data modes on a real window.
#include "ControlFixture.h"

#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/ImageList.h"
#include "platform/controlframework/PropertyBag.h"

#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>

using namespace listgrid;
using automation::Args;
using basic::ObjectRef;
using basic::Variant;
using controlframework::PropertyBag;

namespace {

using ListOnForm = ControlOnForm<CListCtrl>;

ObjectRef addRow(ListOnForm& f, const QString& text)
{
    return f.control->items()->call(QStringLiteral("Add"), {text}).objectValue();
}

QStringList rowTexts(ListOnForm& f)
{
    QStringList rows;
    for (int r = 0; r < f.view().model()->rowCount(); ++r)
        rows << f.cellText(r, 0);
    return rows;
}

} // namespace

class TestListCtrl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newControlDefaults();
    void styleBits_data();
    void styleBits();
    void smallIconsSendTheWindowsNumber();
    void selectStyleOfTheClicks_data();
    void selectStyleOfTheClicks();
    void storedDesignRoundTrip();
    void missingAutoRedrawLoadsOff();
    void findAndCurrentItem();
    void eventsWithCurrentItemAndFrozen();
    void captionClickGivesTheColumn();
    void placedAwayDisablesAndRestores();
    void hostRowsAddedSortedRemoved();
    void pagedRowsFetchedAsTheViewScrolls();
    void pagedWithoutColumnsRegistersNothing();
    void boundRowsPackedPageByPage();
    void boundIncrementalFind();
    void wrongDataSourceObjectIsRefused();
    void layoutFailureLeavesUnbound();
    void dataClearEmptiesTheDraggedText();
    void imagesFromTheImageListOnTheForm_data();
    void imagesFromTheImageListOnTheForm();
    void automaticMoveDeletesTheRowThatMoved();
};

void TestListCtrl::newControlDefaults()
{
    ListOnForm f;
    const ObjectRef list = f.object();
    QCOMPARE(list->get(QStringLiteral("Style")), Variant(int16_t(0)));
    QCOMPARE(list->get(QStringLiteral("IntegralHeight")), Variant(true));
    QCOMPARE(list->get(QStringLiteral("DataSource")), Variant(QStringLiteral("None")));
    QCOMPARE(list->get(QStringLiteral("AutoRedraw")), Variant(true));
    QCOMPARE(list->get(QStringLiteral("Appearance")), Variant(int16_t(1)));
    QCOMPARE(list->get(QStringLiteral("AlternateBackColor")), Variant(int32_t(0x80000005u)));
    QCOMPARE(list->get(QStringLiteral("MousePointer")), Variant(int32_t(1)));
    // Columns is the default member: one column on a new control.
    QCOMPARE(list->value().objectValue()->get(QStringLiteral("Count")), Variant(int32_t(1)));
    QCOMPARE(list->idOfName(QStringLiteral("Columns")), 19);
    QCOMPARE(f.window().initialisedWith(), 2);
    QVERIFY(f.control->controlId() > 0);
    QCOMPARE(f.control->style(), 0x200u); // AllowRowSize false
}

void TestListCtrl::styleBits_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<Variant>("value");
    QTest::addColumn<uint32_t>("bits");
    QTest::addRow("Sort") << "Sort" << Variant(true) << 0x1200u;
    QTest::addRow("AllowRowSize clears 0x200") << "AllowRowSize" << Variant(true) << 0x0u;
    QTest::addRow("IntegralHeight off") << "IntegralHeight" << Variant(false) << 0x220u;
    QTest::addRow("CaptionVisible off") << "CaptionVisible" << Variant(false) << 0x300u;
    QTest::addRow("GuideVisible off") << "GuideVisible" << Variant(false) << 0x280u;
    QTest::addRow("RefreshOnScroll") << "RefreshOnScroll" << Variant(true) << 0x2200u;
    QTest::addRow("AlwaysShowIcon") << "AlwaysShowIcon" << Variant(true) << 0x4200u;
    QTest::addRow("SelectStyle 1") << "SelectStyle" << Variant(int16_t(1)) << 0x210u;
    QTest::addRow("SelectStyle 2 sets both bits") << "SelectStyle" << Variant(int16_t(2)) << 0x610u;
}

void TestListCtrl::styleBits()
{
    QFETCH(QString, property);
    QFETCH(Variant, value);
    QFETCH(uint32_t, bits);
    ListOnForm f;
    f.object()->put(property, value);
    QCOMPARE(f.control->style(), bits);
    QCOMPARE(f.window().windowStyle(), bits);
    QCOMPARE(f.object()->get(property), value);
}

void TestListCtrl::selectStyleOfTheClicks_data()
{
    QTest::addColumn<int>("selectStyle");
    QTest::addColumn<int>("afterCtrlClick");
    QTest::addColumn<int>("afterShiftClick");
    QTest::newRow("single") << 0 << 1 << 1;
    QTest::newRow("multiple: each click toggles") << 1 << 2 << 3;
    QTest::newRow("extended") << 2 << 2 << 3;
}

// Row 1 clicked, row 3 Ctrl+clicked, row 4 Shift+clicked: how many rows are selected.
void TestListCtrl::selectStyleOfTheClicks()
{
    QFETCH(int, selectStyle);
    QFETCH(int, afterCtrlClick);
    QFETCH(int, afterShiftClick);
    ListOnForm f;
    f.object()->put(QStringLiteral("SelectStyle"), int16_t(selectStyle));
    for (const char* row : {"A", "B", "C", "D", "E"})
        addRow(f, QString::fromLatin1(row));
    const auto click = [&](int row, Qt::KeyboardModifiers keys) {
        QTest::mouseClick(f.view().viewport(), Qt::LeftButton, keys,
                          f.view().visualRect(f.view().model()->index(row, 0)).center());
    };
    const auto selected = [&] { return f.control->selectedItems()->get(QStringLiteral("Count")).intValue(); };
    click(0, {});
    QCOMPARE(selected(), 1);
    click(2, Qt::ControlModifier);
    QCOMPARE(selected(), afterCtrlClick);
    click(3, Qt::ShiftModifier);
    QCOMPARE(selected(), afterShiftClick);
}

void TestListCtrl::smallIconsSendTheWindowsNumber()
{
    ListOnForm f;
    f.object()->put(QStringLiteral("Style"), int16_t(3));
    QCOMPARE(f.window().viewStyle(), 4);
    f.object()->put(QStringLiteral("Style"), int16_t(1));
    QCOMPARE(f.window().viewStyle(), 1);
    // The view bits of the style word stay those of the window's creation.
    QCOMPARE(f.control->style() & 0xFu, 0u);
}

void TestListCtrl::storedDesignRoundTrip()
{
    PropertyBag bag;
    {
        ListOnForm f;
        f.addColumns();
        const ObjectRef list = f.object();
        list->put(QStringLiteral("Sort"), true);
        list->put(QStringLiteral("VisibleItems"), int32_t(12));
        list->put(QStringLiteral("AlternateItems"), int16_t(2));
        list->put(QStringLiteral("AlternateBackColor"), int32_t(0xE0FFE0));
        list->put(QStringLiteral("PagedCount"), int32_t(40));
        list->put(QStringLiteral("OLEDragMode"), int16_t(1));
        bag = f.site->save();
    }
    QCOMPARE(bag.read(QStringLiteral("_Version"), 0), Variant(int32_t(0x10000)));
    QVERIFY(bag.readBinary(QStringLiteral("Columns")).has_value());
    ListOnForm loaded(QStringLiteral("ctl"), false);
    loaded.placeOnForm(QStringLiteral("lstLoaded"), &bag);
    const ObjectRef list = loaded.object();
    QCOMPARE(list->get(QStringLiteral("Sort")), Variant(true));
    QCOMPARE(list->get(QStringLiteral("VisibleItems")), Variant(int32_t(12)));
    QCOMPARE(list->get(QStringLiteral("AlternateBackColor")), Variant(int32_t(0xE0FFE0)));
    QCOMPARE(list->get(QStringLiteral("PagedCount")), Variant(int32_t(40)));
    QCOMPARE(list->get(QStringLiteral("AutoRedraw")), Variant(true));
    QCOMPARE(list->get(QStringLiteral("OLEDragMode")), Variant(int16_t(1)));
    QCOMPARE(loaded.control->columns()->count(), 3);
    QCOMPARE(loaded.view().model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
    QCOMPARE(loaded.window().visibleRows(), 12);
    QVERIFY(loaded.window().dragEnabled());
}

void TestListCtrl::missingAutoRedrawLoadsOff()
{
    const auto bag = PropertyBag::fromText(QStringLiteral(R"({"_Version": 65536, "Style": 1})"));
    QVERIFY(bag);
    ListOnForm f(QStringLiteral("ctl"), false);
    f.placeOnForm(QStringLiteral("lst"), &*bag);
    QCOMPARE(f.object()->get(QStringLiteral("AutoRedraw")), Variant(false));
    QCOMPARE(f.window().viewStyle(), 1);
    QCOMPARE(f.control->columns()->count(), 1);
}

void TestListCtrl::findAndCurrentItem()
{
    ListOnForm f;
    for (const char* name : {"Alpha", "Beta", "Bravo"})
        addRow(f, QLatin1String(name));
    const ObjectRef list = f.object();
    QCOMPARE(list->call(QStringLiteral("Find"), {QStringLiteral("beta")}), Variant(int32_t(2)));
    QCOMPARE(list->call(QStringLiteral("Find"), {QStringLiteral("Br"), Variant::missing(), int16_t(1)}),
             Variant(int32_t(3)));
    QCOMPARE(list->call(QStringLiteral("Find"), {QStringLiteral("Br")}), Variant(int32_t(0)));
    QCOMPARE(list->call(QStringLiteral("Find"), {QStringLiteral("Alpha"), int32_t(1)}), Variant(int32_t(0)));

    QVERIFY(!list->get(QStringLiteral("CurrentItem")).objectValue());
    const ObjectRef second = f.control->items()->value({int32_t(2)}).objectValue();
    list->put(QStringLiteral("CurrentItem"), second);
    QCOMPARE(list->get(QStringLiteral("CurrentItem")).objectValue()->get(QStringLiteral("Index")), Variant(int32_t(2)));
    // An object of another kind changes nothing; Nothing clears the current row.
    list->put(QStringLiteral("CurrentItem"), Variant(ObjectRef(f.control->columns())));
    QCOMPARE(f.control->wrapper()->GetCurrentRow(), 1);
    list->put(QStringLiteral("CurrentItem"), Variant::nothing());
    QCOMPARE(f.control->wrapper()->GetCurrentRow(), -1);
}

void TestListCtrl::eventsWithCurrentItemAndFrozen()
{
    ListOnForm f;
    addRow(f, QStringLiteral("one"));
    addRow(f, QStringLiteral("two"));
    f.raised.clear();
    f.view().setCurrentIndex(f.view().model()->index(1, 0));
    QCOMPARE(f.count(QStringLiteral("SelChange")), 1);
    const ObjectRef item = f.raised.back().args.at(0).objectValue();
    QCOMPARE(item->get(QStringLiteral("Text")), Variant(QStringLiteral("two")));
    // Frozen: nothing is raised.
    f.control->freezeEvents(true);
    f.view().setCurrentIndex(f.view().model()->index(0, 0));
    QCOMPARE(f.count(QStringLiteral("SelChange")), 1);
    f.control->freezeEvents(false);
    // No current row: the events with CurrentItem stay silent.
    f.object()->put(QStringLiteral("CurrentItem"), Variant::nothing());
    f.raised.clear();
    f.control->windowCommand(f.window(), 2);
    QCOMPARE(f.count(QStringLiteral("DblClk")), 0);
    f.control->windowCommand(f.window(), 105);
    f.control->windowCommand(f.window(), 150); // beyond the table
    QCOMPARE(f.raised.size(), size_t(1));
    QCOMPARE(f.raised.back().name, QStringLiteral("PostStateChange"));
}

void TestListCtrl::captionClickGivesTheColumn()
{
    ListOnForm f;
    f.addColumns();
    f.raised.clear();
    QHeaderView* header = f.view().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(f.count(QStringLiteral("CaptionMouseClick")), 1);
    const auto clicked = std::find_if(f.raised.begin(), f.raised.end(),
                                      [](const auto& r) { return r.name == QLatin1String("CaptionMouseClick"); });
    QCOMPARE(clicked->args.at(0), Variant(int16_t(1)));
    const ObjectRef column = clicked->args.at(2).objectValue();
    QVERIFY(column);
    QCOMPARE(column->get(QStringLiteral("Key")), Variant(QStringLiteral("Name")));
}

void TestListCtrl::placedAwayDisablesAndRestores()
{
    ListOnForm f;
    f.site->move(-9000, 150, 7500, 4500);
    QCOMPARE(f.object()->get(QStringLiteral("Enabled")), Variant(false));
    f.site->move(150, 150, 7500, 4500);
    QCOMPARE(f.object()->get(QStringLiteral("Enabled")), Variant(true));
    // Disabled by the host while away: it stays disabled when it comes back.
    f.site->move(-9000, 150, 7500, 4500);
    f.object()->put(QStringLiteral("Enabled"), false);
    f.site->move(150, 150, 7500, 4500);
    QCOMPARE(f.object()->get(QStringLiteral("Enabled")), Variant(false));
}

void TestListCtrl::hostRowsAddedSortedRemoved()
{
    ListOnForm f;
    f.addColumns();
    for (const char* row : {"C3\tCharlie\t30", "A1\tAlpha\t10", "B2\tBravo\t20"})
        addRow(f, QLatin1String(row));
    QCOMPARE(rowTexts(f), (QStringList{"C3", "A1", "B2"}));
    f.control->columns()->at(1)->setSort(1);
    QCOMPARE(rowTexts(f), (QStringList{"A1", "B2", "C3"}));
    f.control->items()->call(QStringLiteral("Remove"), {int32_t(2)});
    QCOMPARE(rowTexts(f), (QStringList{"A1", "C3"}));
    QCOMPARE(f.object()->get(QStringLiteral("Items")).objectValue()->get(QStringLiteral("Count")), Variant(int32_t(2)));
    f.control->items()->call(QStringLiteral("Clear"));
    QCOMPARE(f.view().model()->rowCount(), 0);
}

void TestListCtrl::pagedRowsFetchedAsTheViewScrolls()
{
    ListOnForm f;
    f.addColumns();
    std::vector<std::pair<int32_t, int32_t>> asked;
    f.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("PagedFill"))
            return;
        const int32_t from = args.at(0).intValue(), to = args.at(1).intValue();
        asked.emplace_back(from, to);
        for (int32_t row = from; row <= to; ++row)
            addRow(f, QStringLiteral("R%1\tName %1\t%1").arg(row));
    };
    f.object()->put(QStringLiteral("PagedCount"), int32_t(500));
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("Paged Data"));
    QTRY_VERIFY(!asked.empty());
    QCOMPARE(asked.front(), std::make_pair(int32_t(1), int32_t(32))); // 1-based, both ends
    QCOMPARE(f.cellText(0, 0), QStringLiteral("R1"));
    QCOMPARE(f.view().model()->rowCount(), 500);
    f.view().scrollToBottom();
    QTRY_COMPARE(asked.back().second, int32_t(500));
    QCOMPARE(f.cellText(499, 1), QStringLiteral("Name 500"));
    for (const auto& [from, to] : asked)
        QVERIFY(from >= 1 && to <= 500 && to - from < 32);
    // A PagedCount of 0 reaches the window as none.
    f.object()->put(QStringLiteral("PagedCount"), int32_t(0));
    f.object()->call(QStringLiteral("Refresh"));
    QCOMPARE(f.view().model()->rowCount(), 0);
}

void TestListCtrl::pagedWithoutColumnsRegistersNothing()
{
    ListOnForm f;
    f.control->columns()->clear();
    int fills = 0;
    f.onEvent = [&](const QString& event, Args&) { fills += event == QLatin1String("PagedFill"); };
    f.object()->put(QStringLiteral("PagedCount"), int32_t(10));
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("Paged Data"));
    QCOMPARE(f.object()->call(QStringLiteral("Refresh")), Variant(int32_t(1)));
    QTest::qWait(20);
    QCOMPARE(fills, 0);
    // Only the exact name is paged mode: another case names a data control.
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("paged data"));
    QVERIFY(!f.control->isPaged());
}

void TestListCtrl::boundRowsPackedPageByPage()
{
    ListOnForm f(QStringLiteral("ctl"), false);
    auto data = std::make_shared<MemoryData>();
    for (int i = 1; i <= 100; ++i)
        data->records.push_back({QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Customer %1").arg(i),
                                 i * 1.5, i == 3});
    f.form.addObject(QStringLiteral("datCustomers"), data, QLatin1String(DataControlClassId));
    f.placeOnForm(QStringLiteral("lstCustomers"));
    f.addColumns();
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("datCustomers"));
    QVERIFY(f.control->isBound());
    f.control->columns()->at(0)->setDataField(QStringLiteral("ACCOUNT_REF"));
    f.control->columns()->at(1)->setDataField(QStringLiteral("NAME"));
    f.control->columns()->at(2)->setDataField(QStringLiteral("BALANCE"));
    // The field's layout reached the column.
    QCOMPARE(f.control->columns()->at(1)->settings().maxLength, int16_t(30));
    QCOMPARE(f.control->columns()->at(2)->settings().dataType, int16_t(lstDataDouble));
    f.object()->call(QStringLiteral("Refresh"));
    QCOMPARE(f.view().model()->rowCount(), 100);
    QTRY_COMPARE(f.cellText(0, 1), QStringLiteral("Customer 1"));
    QCOMPARE(data->moves.front(), 1); // records from 1
    QCOMPARE(f.cellText(1, 2), QStringLiteral("3.00"));
    QCOMPARE(f.cellText(2, 0), QStringLiteral("Deleted"));
    QCOMPARE(f.cellText(2, 1), QString());
    const int readBefore = data->reads;
    f.view().scrollToBottom();
    QTRY_COMPARE(f.cellText(99, 0), QStringLiteral("C100"));
    QVERIFY(data->reads > readBefore);
    QVERIFY(data->reads <= 100);
    // An edit of the record shows after Refresh.
    data->records[0].name = QStringLiteral("Renamed");
    f.object()->call(QStringLiteral("Refresh"));
    f.view().scrollToTop();
    QTRY_COMPARE(f.cellText(0, 1), QStringLiteral("Renamed"));
    // Back to host rows: the binding is let go.
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("None"));
    QVERIFY(!f.control->isBound());
}

void TestListCtrl::boundIncrementalFind()
{
    ListOnForm f(QStringLiteral("ctl"), false);
    auto data = std::make_shared<MemoryData>();
    for (const char* name : {"Apple", "Banana", "Cherry"})
        data->records.push_back({QStringLiteral("X"), QLatin1String(name), 0, false});
    f.form.addObject(QStringLiteral("datFruit"), data, QLatin1String(DataControlClassId));
    f.placeOnForm(QStringLiteral("lstFruit"));
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("datFruit"));
    f.control->columns()->at(0)->setDataField(QStringLiteral("NAME"));
    f.object()->call(QStringLiteral("Refresh"));
    f.view().setFocus();
    f.view().setCurrentIndex(f.view().model()->index(0, 0));
    QTest::keyClick(&f.view(), Qt::Key_C);
    QCOMPARE(f.control->wrapper()->GetCurrentRow(), 2);
    QVERIFY(!data->finds.empty());
    QCOMPARE(data->finds.front().at(1), Variant(QStringLiteral("NAME")));
    QCOMPARE(f.count(QStringLiteral("KeyPress")), 1);
}

void TestListCtrl::wrongDataSourceObjectIsRefused()
{
    ListOnForm f;
    expectDataSourceRefused(f, f.control->columns());
}

void TestListCtrl::layoutFailureLeavesUnbound()
{
    ListOnForm f;
    auto data = std::make_shared<MemoryData>();
    data->noLayout = true;
    try {
        f.object()->put(QStringLiteral("DataSource"), Variant(ObjectRef(data)));
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.description(), QStringLiteral("Data Source is not valid"));
    }
    QVERIFY(!f.control->isBound());
}

void TestListCtrl::dataClearEmptiesTheDraggedText()
{
    ListOnForm f;
    addRow(f, QStringLiteral("dragged"));
    f.object()->put(QStringLiteral("CurrentItem"), f.control->items()->value({int32_t(1)}));
    f.onEvent = [](const QString& event, Args& args) {
        if (event == QLatin1String("OLEStartDrag"))
            args.at(0).objectValue()->call(QStringLiteral("Clear"));
    };
    Variant carried = QStringLiteral("not asked");
    bool hadText = true;
    ListGridControl::setDragLoop([&](ListGridControl& source, int32_t) {
        carried = source.dataObject()->getData(1);
        hadText = source.dataObject()->getFormat(1);
        return 1;
    });
    f.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    f.control->oleDrag();
    ListGridControl::setDragLoop({});
    QCOMPARE(carried, Variant());
    QVERIFY(!hadText);
    QCOMPARE(f.count(QStringLiteral("OLECompleteDrag")), 1);
    // Outside a drag the data object changes nothing and gives nothing.
    f.control->dataObject()->setData(QStringLiteral("late"), int16_t(1));
    QCOMPARE(f.control->dataObject()->getData(1), Variant());
}

void TestListCtrl::automaticMoveDeletesTheRowThatMoved()
{
    ListOnForm f;
    for (const char* row : {"A", "B", "C"})
        addRow(f, QLatin1String(row));
    f.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    f.object()->put(QStringLiteral("CurrentItem"), f.control->items()->value({int32_t(3)}));
    QString text;
    // The drop lands in the same list, above the dragged row.
    ListGridControl::setDragLoop([&](ListGridControl& source, int32_t allowed) {
        text = source.dataObject()->getData(1).stringValue();
        f.control->items()->call(QStringLiteral("Add"), {text, int32_t(1)});
        return allowed & 2;
    });
    f.control->oleDrag();
    ListGridControl::setDragLoop({});
    QCOMPARE(text, QStringLiteral("C"));
    QCOMPARE(rowTexts(f), (QStringList{"C", "A", "B"}));
}

void TestListCtrl::imagesFromTheImageListOnTheForm_data()
{
    QTest::addColumn<int>("imageWidth");
    QTest::addColumn<QSize>("shownSize");
    QTest::addRow("the list's image size") << 16 << QSize(16, 16);
    QTest::addRow("each picture's own size") << 0 << QSize(20, 12);
}

void TestListCtrl::imagesFromTheImageListOnTheForm()
{
    QFETCH(int, imageWidth);
    QFETCH(QSize, shownSize);
    ListOnForm f(QStringLiteral("ctl"), false);
    auto icons = std::make_shared<forms::ImageList>();
    for (const QColor& colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage image(20, 12, QImage::Format_RGB32);
        image.fill(colour);
        icons->addImage(image);
    }
    icons->m_imageWidth = imageWidth;
    icons->m_imageHeight = imageWidth;
    f.form.addObject(QStringLiteral("imlIcons"), icons, forms::ImageList::ClassId);
    f.placeOnForm(QStringLiteral("lstFiles"));
    f.object()->put(QStringLiteral("ImageList"), QStringLiteral("imlIcons"));
    const ObjectRef item =
        f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("second image"), Variant::missing(), int16_t(2)})
            .objectValue();
    QCOMPARE(item->get(QStringLiteral("Bitmap")), Variant(int16_t(2))); // reads back what was set
    const QPixmap shown = f.view().model()->index(0, 0).data(Qt::DecorationRole).value<QPixmap>();
    QCOMPARE(shown.size(), shownSize);
    QCOMPARE(shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::blue));
    // A name that resolves to no image list leaves the list without images, and no error.
    f.object()->put(QStringLiteral("ImageList"), QStringLiteral("imlMissing"));
    QVERIFY(f.view().model()->index(0, 0).data(Qt::DecorationRole).isNull());
}

int runListCtrlTests(int argc, char** argv)
{
    TestListCtrl t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_listctrl.moc"
