// Items, cells and selection through their automation objects, by name and DISPID,
// on a real list or grid window offscreen.
#include "TestHost.h"

#include "controls/listgrid/Enumerators.h"
#include "controls/listgrid/Items.h"

#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"

#include <QTableView>
#include <QTest>

using namespace listgrid;
using automation::Args;
using automation::Invoke;
using basic::ObjectRef;
using basic::Variant;

namespace {

const Variant missing = Variant::missing();

struct Control
{
    explicit Control(bool grid, QStringList keys = {QStringLiteral("Code"), QStringLiteral("Qty")}) : host(grid)
    {
        host.createRealWindow();
        for (const QString& key : keys)
            host.cols->add(missing, key, key, missing);
        items = std::make_shared<CItems>(host.wnd);
        selected = std::make_shared<CSelectedItems>(host.wnd);
    }
    ObjectRef add(const QString& text) { return items->call(QStringLiteral("Add"), {text}).objectValue(); }

    TestHost host;
    std::shared_ptr<CItems> items;
    std::shared_ptr<CSelectedItems> selected;
};

int32_t rowOf(const Variant& v)
{
    const auto* item = dynamic_cast<const CItem*>(v.objectValue().get());
    return item ? item->row() : -99;
}

} // namespace

class TestItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addSplitsTextIntoCells();
    void addPositionsAndImages();
    void itemMembersByDispId();
    void itemColours();
    void cellsByKeyAndNumber();
    void typedCellValues();
    void longListValueShownAsRead();
    void floatingValuesKeptWhole_data();
    void floatingValuesKeptWhole();
    void rebuiltColumnKeepsItsCells_data();
    void rebuiltColumnKeepsItsCells();
    void bitmapReadsBackWhatWasSet_data();
    void bitmapReadsBackWhatWasSet();
    void gridRowsHaveNoSelectionOrImage();
    void selectionWalk();
    void selectionClear();
    void enumeration();
    void itemsOfADestroyedControl();
    void screenshot();
};

void TestItems::addSplitsTextIntoCells()
{
    Control c(false);
    const ObjectRef item = c.add(QStringLiteral("A1\t5"));
    QCOMPARE(item->get(QStringLiteral("Text")), Variant(QStringLiteral("A1\t5")));
    QCOMPARE(c.host.real->view()->model()->index(0, 1).data().toString(), QStringLiteral("5"));
    const ObjectRef cells = item->get(QStringLiteral("Cells")).objectValue();
    QCOMPARE(cells->get(QStringLiteral("Count")), Variant(int32_t(2)));
    QCOMPARE(cells->value({int32_t(1)}).objectValue()->value(), Variant(QStringLiteral("A1")));
    item->put(QStringLiteral("Text"), QStringLiteral("B2\t6"));
    QCOMPARE(cells->value({QStringLiteral("Qty")}).objectValue()->value(), Variant(QStringLiteral("6")));
    QCOMPARE(c.items->get(QStringLiteral("Count")), Variant(int32_t(1)));
    c.items->call(QStringLiteral("Clear"));
    QCOMPARE(c.items->get(QStringLiteral("Count")), Variant(int32_t(0)));
}

void TestItems::addPositionsAndImages()
{
    Control c(false);
    QCOMPARE(rowOf(c.items->call(QStringLiteral("Add"), {QStringLiteral("a")})), 0);
    QCOMPARE(rowOf(c.items->call(QStringLiteral("Add"), {QStringLiteral("b"), int32_t(0)})), 1);
    QCOMPARE(rowOf(c.items->call(QStringLiteral("Add"), {QStringLiteral("c"), missing, int32_t(1)})), 2);
    // With three rows, Index 10 becomes position 2.
    const ObjectRef tenth = c.items->call(QStringLiteral("Add"), {QStringLiteral("d"), int32_t(10)}).objectValue();
    QCOMPARE(tenth->get(QStringLiteral("Index")), Variant(int32_t(3)));
    QCOMPARE(c.items->value({int32_t(4)}).objectValue()->get(QStringLiteral("Text")), Variant(QStringLiteral("c\t")));
    // Bitmap 1 and no Bitmap both give the window's image 0, read back as 1.
    QCOMPARE(c.host.real->sendMessage(vllist::list::GetRowImage, 0, 0), 0);
    QCOMPARE(c.host.real->sendMessage(vllist::list::GetRowImage, 0, 3), 0);
    QCOMPARE(c.items->value({int32_t(1)}).objectValue()->get(QStringLiteral("Bitmap")), Variant(int16_t(1)));
    QCOMPARE(c.items->value({int32_t(4)}).objectValue()->get(QStringLiteral("Bitmap")), Variant(int16_t(1)));
    // AddEx carries the row's key.
    const ObjectRef keyed = c.items->call(QStringLiteral("AddEx"), {QStringLiteral("e"), int32_t(4711)}).objectValue();
    QCOMPARE(keyed->get(QStringLiteral("Key")), Variant(int32_t(4711)));
    // An argument that does not convert counts as missing.
    QCOMPARE(rowOf(c.items->call(QStringLiteral("Add"), {QStringLiteral("f"), QStringLiteral("not a number")})), 5);
    QCOMPARE(c.items->get(QStringLiteral("Count")), Variant(int32_t(6)));
    c.items->call(QStringLiteral("Remove"), {int32_t(1)});
    c.items->call(QStringLiteral("Remove"), {int32_t(99)}); // ignored
    c.items->call(QStringLiteral("Remove"), {Variant(keyed)});
    QCOMPARE(c.items->get(QStringLiteral("Count")), Variant(int32_t(4)));
    QVERIFY(!c.items->value({int32_t(0)}).objectValue());
}

void TestItems::itemMembersByDispId()
{
    Control c(false);
    const ObjectRef item = c.add(QStringLiteral("x\ty"));
    Args none;
    QCOMPARE(item->invoke(1, Invoke::PropertyGet, none), Variant(int32_t(1)));
    QCOMPARE(item->invoke(2, Invoke::PropertyGet, none), Variant(QStringLiteral("x\ty")));
    item->invoke(6, Invoke::PropertyPut, none, int32_t(12));
    QCOMPARE(item->invoke(6, Invoke::PropertyGet, none), Variant(int32_t(12)));
    item->invoke(4, Invoke::PropertyPut, none, true);
    QCOMPARE(item->invoke(4, Invoke::PropertyGet, none), Variant(true));
    item->invoke(5, Invoke::PropertyPut, none, int16_t(3));
    QCOMPARE(item->invoke(5, Invoke::PropertyGet, none), Variant(int16_t(3)));
    QCOMPARE(item->idOfName(QStringLiteral("highlightedforecolor")), 10);
    Args first{int32_t(1)};
    const ObjectRef same = c.items->invoke(automation::DispIdValue, Invoke::PropertyGet, first).objectValue();
    QVERIFY(same != item); // a new object for every request
    QCOMPARE(same->get(QStringLiteral("Key")), Variant(int32_t(12)));
}

void TestItems::itemColours()
{
    Control c(false);
    const ObjectRef item = c.add(QStringLiteral("x"));
    QCOMPARE(item->get(QStringLiteral("BackColor")), Variant(int32_t(-1)));
    item->put(QStringLiteral("BackColor"), int32_t(0x0000FF));
    item->put(QStringLiteral("ForeColor"), int32_t(0x80000008u)); // its default: back to the window's own
    QCOMPARE(item->get(QStringLiteral("BackColor")), Variant(int32_t(0x0000FF)));
    QCOMPARE(item->get(QStringLiteral("ForeColor")), Variant(int32_t(-1)));
    QCOMPARE(c.host.real->view()->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    const ObjectRef cell = item->get(QStringLiteral("Cells")).objectValue()->value({int32_t(2)}).objectValue();
    cell->put(QStringLiteral("HighlightedBackColor"), int32_t(0x00FF00));
    QCOMPARE(cell->get(QStringLiteral("HighlightedBackColor")), Variant(int32_t(0x00FF00)));
    QCOMPARE(item->get(QStringLiteral("HighlightedBackColor")), Variant(int32_t(-1)));
}

void TestItems::cellsByKeyAndNumber()
{
    Control c(false);
    const ObjectRef cells = c.add(QStringLiteral("x\t7"))->get(QStringLiteral("Cells")).objectValue();
    const ObjectRef qty = cells->value({QStringLiteral("Qty")}).objectValue();
    QCOMPARE(qty->get(QStringLiteral("Index")), Variant(int16_t(2)));
    QCOMPARE(qty->get(QStringLiteral("Item")).objectValue()->get(QStringLiteral("Index")), Variant(int32_t(1)));
    try {
        cells->value({int32_t(99)});
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), int32_t(0x8002000Bu));
        QCOMPARE(e.description(), QStringLiteral("Invalid index specified for item retrieval"));
    }
}

void TestItems::typedCellValues()
{
    Control c(true, {QStringLiteral("Name"), QStringLiteral("Qty"), QStringLiteral("Due")});
    c.host.cols->at(0)->setMaxLength(5);
    c.host.cols->at(1)->setDataType(lstDataLong);
    c.host.cols->at(2)->setDataType(lstDataDate);
    const ObjectRef cells = c.add(QString())->get(QStringLiteral("Cells")).objectValue();
    const ObjectRef name = cells->value({int32_t(1)}).objectValue();
    const ObjectRef qty = cells->value({int32_t(2)}).objectValue();
    const ObjectRef due = cells->value({int32_t(3)}).objectValue();
    name->setValue({}, QStringLiteral("Abcdefgh"));
    QCOMPARE(name->value(), Variant(QStringLiteral("Abcde")));
    qty->setValue({}, QStringLiteral("42"));
    QCOMPARE(qty->value(), Variant(int32_t(42)));
    qty->setValue({}, QStringLiteral("many")); // does not convert: unchanged
    QCOMPARE(qty->value(), Variant(int32_t(42)));
    const basic::DateValue date = basic::DateSerial(2026, 3, 31);
    due->put(QStringLiteral("Value"), date);
    QCOMPARE(due->get(QStringLiteral("Value")), Variant(date));
    QCOMPARE(c.host.real->view()->model()->index(0, 2).data().toString(), QStringLiteral("31/03/2026"));
    qty->put(QStringLiteral("Enabled"), false);
    QCOMPARE(qty->get(QStringLiteral("Enabled")), Variant(false));
    QVERIFY(!(c.host.real->view()->model()->index(0, 1).flags() & Qt::ItemIsEditable));
}

// The list sends a long value whole; the cell shows what Value reads: MaxLength characters.
void TestItems::longListValueShownAsRead()
{
    Control c(false, {QStringLiteral("Name")});
    c.host.cols->at(0)->setMaxLength(5);
    const ObjectRef cell =
        c.add(QString())->get(QStringLiteral("Cells")).objectValue()->value({int32_t(1)}).objectValue();
    cell->setValue({}, QStringLiteral("Abcdefgh"));
    QCOMPARE(cell->value(), Variant(QStringLiteral("Abcde")));
    QCOMPARE(c.host.real->view()->model()->index(0, 0).data().toString(), QStringLiteral("Abcde"));
}

void TestItems::floatingValuesKeptWhole_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("dataType");
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("grid double") << true << int(lstDataDouble) << Variant(0.125) << QStringLiteral("0.13");
    QTest::newRow("list double") << false << int(lstDataDouble) << Variant(0.125) << QStringLiteral("0.13");
    QTest::newRow("double, tiny") << true << int(lstDataDouble) << Variant(1e-7) << QStringLiteral("0.00");
    QTest::newRow("double, 0.1") << true << int(lstDataDouble) << Variant(0.1) << QStringLiteral("0.10");
    QTest::newRow("single") << true << int(lstDataSingle) << Variant(double(1.0625f)) << QStringLiteral("1.06");
    QTest::newRow("single, 1.1") << false << int(lstDataSingle) << Variant(double(1.1f)) << QStringLiteral("1.10");
}

// Numbers are kept in their own width; only what the cell shows is rounded.
void TestItems::floatingValuesKeptWhole()
{
    QFETCH(bool, grid);
    QFETCH(int, dataType);
    QFETCH(Variant, value);
    QFETCH(QString, shown);
    Control c(grid, {QStringLiteral("Amount")});
    c.host.cols->at(0)->setDataType(int16_t(dataType));
    const ObjectRef cell =
        c.add(QString())->get(QStringLiteral("Cells")).objectValue()->value({int32_t(1)}).objectValue();
    cell->setValue({}, value);
    QCOMPARE(cell->value(), value);
    QCOMPARE(c.host.real->view()->model()->index(0, 0).data().toString(), shown);
    // More decimals show more of the same value.
    c.host.cols->at(0)->setDecimalPlaces(4);
    QCOMPARE(cell->value(), value);
}

void TestItems::rebuiltColumnKeepsItsCells_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QString>("property");
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("text");
    const QString kept = QStringLiteral("A\talpha\t1.5");
    for (const bool grid : {false, true}) {
        const char* kind = grid ? "grid" : "list";
        QTest::addRow("%s MaxLength", kind) << grid << QStringLiteral("MaxLength") << Variant(int16_t(50)) << kept;
        QTest::addRow("%s MaxLength shorter", kind) << grid << QStringLiteral("MaxLength") << Variant(int16_t(3))
                                                   << QStringLiteral("A\talp\t1.5");
        QTest::addRow("%s ControlType", kind) << grid << QStringLiteral("ControlType") << Variant(int16_t(4)) << kept;
        QTest::addRow("%s DataType", kind) << grid << QStringLiteral("DataType") << Variant(int16_t(0)) << kept;
        QTest::addRow("%s DecimalPlaces", kind) << grid << QStringLiteral("DecimalPlaces") << Variant(int16_t(4)) << kept;
        QTest::addRow("%s DataField", kind) << grid << QStringLiteral("DataField") << Variant(QStringLiteral("NAME"))
                                           << kept;
    }
}

// A change that re-creates the column in the window leaves its cells filled.
void TestItems::rebuiltColumnKeepsItsCells()
{
    QFETCH(bool, grid);
    QFETCH(QString, property);
    QFETCH(Variant, value);
    QFETCH(QString, text);
    Control c(grid, {QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("Amount")});
    c.host.cols->at(2)->setDataType(lstDataDouble);
    c.add(QStringLiteral("A\talpha\t1.5"));
    c.add(QStringLiteral("B\tbeta\t2.5"));
    c.host.cols->value({QStringLiteral("Name")}).objectValue()->put(property, value);
    QCOMPARE(c.items->value({int32_t(1)}).objectValue()->get(QStringLiteral("Text")), Variant(text));
    QCOMPARE(c.host.real->view()->model()->index(1, 1).data().toString(),
             text.contains(QLatin1String("alp\t")) ? QStringLiteral("bet") : QStringLiteral("beta"));
    // Once the rebuild is over, a column deleted for good takes its cells with it.
    c.host.cols->remove(Variant(int32_t(2)));
    c.host.cols->add(missing, QStringLiteral("Again"), missing, missing);
    QCOMPARE(c.host.real->view()->model()->index(0, 2).data().toString(), QString());
}

void TestItems::bitmapReadsBackWhatWasSet_data()
{
    QTest::addColumn<int>("bitmap");
    QTest::addColumn<int>("windowImage");
    QTest::newRow("first image") << 1 << 0;
    QTest::newRow("third image") << 3 << 2;
    QTest::newRow("none") << 0 << -1;
}

void TestItems::bitmapReadsBackWhatWasSet()
{
    QFETCH(int, bitmap);
    QFETCH(int, windowImage);
    Control c(false);
    const ObjectRef item = c.add(QStringLiteral("x"));
    item->put(QStringLiteral("Bitmap"), int16_t(bitmap));
    QCOMPARE(c.host.real->sendMessage(vllist::list::GetRowImage, 0, 0), vllist::LParam(windowImage));
    QCOMPARE(item->get(QStringLiteral("Bitmap")), Variant(int16_t(bitmap)));
    // Added with a Bitmap, the same.
    const ObjectRef added =
        c.items->call(QStringLiteral("Add"), {QStringLiteral("y"), missing, int16_t(bitmap == 0 ? 1 : bitmap)})
            .objectValue();
    QCOMPARE(added->get(QStringLiteral("Bitmap")), Variant(int16_t(bitmap == 0 ? 1 : bitmap)));
}

void TestItems::gridRowsHaveNoSelectionOrImage()
{
    Control c(true);
    const ObjectRef item = c.add(QStringLiteral("x"));
    item->put(QStringLiteral("Selected"), true);
    QCOMPARE(item->get(QStringLiteral("Selected")), Variant(false));
    item->put(QStringLiteral("Bitmap"), int16_t(3));
    QCOMPARE(item->get(QStringLiteral("Bitmap")), Variant(int16_t(-1)));
}

void TestItems::selectionWalk()
{
    Control c(false);
    for (int i = 0; i < 6; ++i)
        c.add(QStringLiteral("row %1").arg(i));
    for (int i : {1, 3, 4})
        c.items->value({int32_t(i + 1)}).objectValue()->put(QStringLiteral("Selected"), true);
    const auto& s = c.selected;
    QCOMPARE(s->get(QStringLiteral("Count")), Variant(int32_t(3)));
    QCOMPARE(rowOf(s->get(QStringLiteral("CurrentItem"))), 1); // no position yet: as First
    QCOMPARE(rowOf(s->call(QStringLiteral("Next"))), 3);
    QCOMPARE(s->get(QStringLiteral("IsEOF")), Variant(false));
    QCOMPARE(rowOf(s->get(QStringLiteral("CurrentItem"))), 3); // IsEOF left the cursor
    QCOMPARE(rowOf(s->call(QStringLiteral("Next"))), 4);
    QCOMPARE(s->get(QStringLiteral("IsEOF")), Variant(true));
    QVERIFY(!s->call(QStringLiteral("Next")).objectValue());
    QCOMPARE(rowOf(s->call(QStringLiteral("Last"))), 4);
    QCOMPARE(rowOf(s->call(QStringLiteral("Previous"))), 3);
    QCOMPARE(rowOf(s->call(QStringLiteral("First"))), 1);
    QCOMPARE(s->get(QStringLiteral("IsBOF")), Variant(true));
    QCOMPARE(rowOf(s->value({int32_t(2)})), 3);
    QVERIFY(!s->value({int32_t(4)}).objectValue());
    Args none;
    QCOMPARE(rowOf(s->invoke(3, Invoke::Method, none)), 4); // Last by DISPID
}

void TestItems::selectionClear()
{
    Control c(false);
    for (int i = 0; i < 4; ++i)
        c.add(QStringLiteral("row %1").arg(i));
    c.selected->call(QStringLiteral("Clear"));
    QCOMPARE(c.host.currentItemSets, 0); // nothing selected: nothing changes, not even the current item
    for (int i : {0, 2, 3})
        c.items->value({int32_t(i + 1)}).objectValue()->put(QStringLiteral("Selected"), true);
    c.selected->call(QStringLiteral("Clear"));
    QCOMPARE(c.selected->get(QStringLiteral("Count")), Variant(int32_t(0)));
    QCOMPARE(c.host.currentItemSets, 1);
    QVERIFY(!c.host.currentItem);
}

void TestItems::enumeration()
{
    Control c(false);
    QVERIFY(automation::enumerate(c.items).empty());
    Args none;
    auto emptyEnum = std::dynamic_pointer_cast<CEnum>(c.items->invoke(automation::DispIdNewEnum, Invoke::Method, none).objectValue());
    std::vector<Variant> got;
    QCOMPARE(emptyEnum->Next(1, got), S_False);
    QVERIFY(got.empty());

    for (int i = 0; i < 3; ++i)
        c.add(QStringLiteral("r%1\t%1").arg(i));
    const auto items = automation::enumerate(c.items);
    QCOMPARE(items.size(), size_t(3));
    QCOMPARE(items[2].objectValue()->get(QStringLiteral("Text")), Variant(QStringLiteral("r2\t2")));
    const auto cells = automation::enumerate(items[1].objectValue()->get(QStringLiteral("Cells")).objectValue());
    QCOMPARE(cells.size(), size_t(2));
    QCOMPARE(cells[1].objectValue()->value(), Variant(QStringLiteral("1")));

    items[0].objectValue()->put(QStringLiteral("Selected"), true);
    items[2].objectValue()->put(QStringLiteral("Selected"), true);
    auto e = std::dynamic_pointer_cast<CEnum>(c.selected->invoke(automation::DispIdNewEnum, Invoke::Method, none).objectValue());
    QCOMPARE(e->Next(1, got), S_Ok);
    QCOMPARE(rowOf(got[0]), 0);
    const auto clone = e->Clone();
    QCOMPARE(e->Next(2, got), S_False);
    QCOMPARE(got.size(), size_t(1));
    QCOMPARE(rowOf(got[0]), 2);
    QCOMPARE(clone->Skip(1), S_Ok);
    QCOMPARE(clone->Skip(1), S_False);
    e->Reset();
    QCOMPARE(e->Next(2, got), S_Ok);
}

void TestItems::itemsOfADestroyedControl()
{
    auto c = std::make_unique<Control>(false);
    const ObjectRef item = c->add(QStringLiteral("x"));
    const auto items = c->items;
    c->host.destroy();
    QCOMPARE(item->get(QStringLiteral("Text")), Variant(QString()));
    QCOMPARE(items->get(QStringLiteral("Count")), Variant(int32_t(0)));
    QVERIFY(automation::enumerate(items).empty());
    c.reset();
    QCOMPARE(item->get(QStringLiteral("Index")), Variant(int32_t(1)));
}

// Renders a filled list and grid for a look (set QUILLAR_SCREENSHOT_DIR).
void TestItems::screenshot()
{
    const QString folder = qEnvironmentVariable("QUILLAR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("QUILLAR_SCREENSHOT_DIR is not set");
    for (const bool grid : {false, true}) {
        Control c(grid, {QStringLiteral("Code"), QStringLiteral("Description"), QStringLiteral("Qty")});
        c.host.cols->at(1)->setCaption(QStringLiteral("Product description"));
        c.host.cols->at(1)->setWidth(24);
        c.host.cols->at(2)->setDataType(lstDataLong);
        c.host.cols->at(2)->setColumnAlignment(1);
        c.host.cols->at(0)->setCaptionColour(&ColumnSettings::captionBackColor, 0x00C0E0FF);
        const QStringList rows{"A100\tBlue widget\t12", "B220\tRed gadget, boxed\t3", "C310\tSpare part\t150",
                               "D400\tService hour\t1"};
        for (const QString& r : rows)
            c.add(r);
        c.items->value({int32_t(2)}).objectValue()->put(QStringLiteral("BackColor"), int32_t(0x00CCFFFF));
        c.items->value({int32_t(3)}).objectValue()->put(QStringLiteral("Selected"), true);
        c.host.wnd->SetCurrentCell(2, 1);
        c.host.real->resize(420, 160);
        c.host.real->show();
        QVERIFY(QTest::qWaitForWindowExposed(c.host.real.get()));
        QTest::qWait(50);
        QVERIFY(c.host.real->grab().save(folder + (grid ? "/gridwindow.png" : "/listwindow.png")));
    }
}

int runItemsTests(int argc, char** argv)
{
    TestItems t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_items.moc"
