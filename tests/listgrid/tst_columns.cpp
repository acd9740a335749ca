// Columns, Column and PopupColumns through their automation members, on a real
// window and without one, and the stored "Columns" block in both layouts.
#include "TestHost.h"

#include "controls/listgrid/ColumnsBlock.h"
#include "controls/listgrid/Enumerators.h"

#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"

#include <QHeaderView>
#include <QRandomGenerator>
#include <QTableView>
#include <QTest>
#include <QtEndian>

#include <cstring>

using namespace listgrid;
using automation::Args;
using automation::Invoke;
using basic::Variant;

namespace {

const Variant missing = Variant::missing();

std::shared_ptr<CColumn> columnOf(const Variant& v) { return std::dynamic_pointer_cast<CColumn>(v.objectValue()); }

ColumnSettings sample(int i)
{
    ColumnSettings s;
    s.key = QStringLiteral("K%1").arg(i);
    s.caption = QStringLiteral("Caption %1").arg(i);
    s.dataType = int16_t(i % DataTypeCount);
    s.maxLength = int16_t(10 + i);
    s.decimalPlaces = int16_t(i % 4);
    s.dataField = QStringLiteral("Field%1").arg(i);
    s.controlType = int16_t(i % ControlTypeCount);
    s.width = int16_t(8 + i);
    s.captionAlignment = 1;
    s.columnAlignment = 2;
    s.visible = i % 2 == 0;
    s.enabled = i % 3 != 0;
    s.allowMove = true;
    s.allowSize = i % 2 == 1;
    s.autoSize = true;
    s.fixed = i == 1;
    s.sort = int16_t(i % 3);
    s.controlStyle = 0x40 | i;
    s.backColor = 0x00112233u + uint32_t(i);
    s.foreColor = 0x80000012u;
    if (s.controlType == lstCtlPopup)
        s.popupFields = QStringList{QStringLiteral("Code"), QStringLiteral("Name")};
    return s;
}

QByteArray legacyBlock(const QList<ColumnSettings>& columns)
{
    QByteArray b(LegacyHeaderSize + LegacyRecordSize * columns.size(), '\0');
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<uint32_t>(uint32_t(b.size()), p);
    qToLittleEndian<uint32_t>(16, p + 4); // anything but 24
    qToLittleEndian<int16_t>(int16_t(columns.size()), p + 12);
    for (int i = 0; i < columns.size(); ++i) {
        uchar* r = p + LegacyHeaderSize + i * LegacyRecordSize;
        std::memcpy(r, columns[i].key.toLatin1().constData(), size_t(columns[i].key.size()));
        std::memcpy(r + 32, columns[i].caption.toLatin1().constData(), size_t(columns[i].caption.size()));
        qToLittleEndian<int16_t>(columns[i].controlType, r + 96);
        qToLittleEndian<int16_t>(columns[i].dataType, r + 98);
        qToLittleEndian<int16_t>(columns[i].maxLength, r + 100);
        qToLittleEndian<int16_t>(columns[i].decimalPlaces, r + 102);
        qToLittleEndian<int16_t>(columns[i].width, r + 104);
        std::memcpy(r + 106, columns[i].dataField.toLatin1().constData(), size_t(columns[i].dataField.size()));
    }
    return b;
}

void put32(QByteArray& b, int offset, uint32_t v) { qToLittleEndian<uint32_t>(v, reinterpret_cast<uchar*>(b.data()) + offset); }
void put16(QByteArray& b, int offset, int16_t v) { qToLittleEndian<int16_t>(v, reinterpret_cast<uchar*>(b.data()) + offset); }

} // namespace

class TestColumns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newColumnDefaults();
    void addPositions();
    void lookupByKeyObjectAndNumber();
    void popupColumnsLookup();
    void idsFrom10000AndNeverReused();
    void maxLengthOutsideTheWindowsRangeIsRefused_data();
    void maxLengthOutsideTheWindowsRangeIsRefused();
    void settersReachTheWindow();
    void widthFromTheDataType();
    void sortLivesInTheWindow();
    void lookupsAfterTheUserMovedColumns();
    void drillDownFollowsAMovedColumn();
    void dataFieldFillsFromTheField();
    void enumerationVisitsTheLiveArray();

    void blockRoundTrip();
    void blockColoursAllZeroLoadDefaults();
    void blockOlderLayout();
    void blockEmptyLeavesOneDefaultColumn();
    void popupCountBeyondItsFieldIsNotSaved();
    void damagedBlockIsRefusedWhole_data();
    void damagedBlockIsRefusedWhole();
    void fuzzedBlocksNeverReadPastTheirEnd();
};

void TestColumns::newColumnDefaults()
{
    TestHost host(false);
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    QCOMPARE(c->get(QStringLiteral("Caption")), Variant(QStringLiteral("Column")));
    QCOMPARE(c->get(QStringLiteral("Width")), Variant(int16_t(16)));
    QCOMPARE(c->get(QStringLiteral("MaxLength")), Variant(int16_t(32)));
    QCOMPARE(c->get(QStringLiteral("DecimalPlaces")), Variant(int16_t(2)));
    QCOMPARE(c->get(QStringLiteral("Visible")), Variant(true));
    QCOMPARE(c->get(QStringLiteral("Enabled")), Variant(true));
    QCOMPARE(c->get(QStringLiteral("BackColor")), Variant(int32_t(0x80000005u)));
    QCOMPARE(c->get(QStringLiteral("Index")), Variant(int16_t(1)));
    QCOMPARE(host.modified, 1);
}

void TestColumns::addPositions()
{
    TestHost host(false);
    host.cols->call(QStringLiteral("Add"), {missing, QStringLiteral("a")});
    host.cols->call(QStringLiteral("Add"), {int32_t(0), QStringLiteral("b")});
    host.cols->call(QStringLiteral("Add"), {int32_t(1), QStringLiteral("c")});
    host.cols->call(QStringLiteral("Add"), {int32_t(99), QStringLiteral("d")});
    host.cols->call(QStringLiteral("Add"), {int32_t(-5), QStringLiteral("e")});
    QStringList keys;
    for (int i = 1; i <= 5; ++i) {
        const auto c = columnOf(host.cols->value({int32_t(i)}));
        keys << c->settings().key;
        QCOMPARE(c->index(), int16_t(i));
    }
    QCOMPARE(keys, (QStringList{"c", "b", "a", "d", "e"}));
    host.cols->call(QStringLiteral("Remove"), {int32_t(2)});
    host.cols->call(QStringLiteral("Remove"), {int32_t(42)}); // no such column: nothing
    QCOMPARE(host.cols->get(QStringLiteral("Count")), Variant(int32_t(4)));
    QCOMPARE(columnOf(host.cols->value({int32_t(2)}))->index(), int16_t(2));
    const int before = host.modified;
    host.cols->call(QStringLiteral("Clear"));
    QCOMPARE(host.cols->count(), 0);
    QCOMPARE(host.modified, before); // Clear does not mark the control modified
}

void TestColumns::lookupByKeyObjectAndNumber()
{
    TestHost host(false);
    host.cols->call(QStringLiteral("Add"), {missing, QStringLiteral("A"), QStringLiteral("first")});
    host.cols->call(QStringLiteral("Add"), {missing, QStringLiteral("A"), QStringLiteral("second")});
    const auto first = columnOf(host.cols->value({QStringLiteral("A")}));
    QCOMPARE(first->settings().caption, QStringLiteral("first"));
    QCOMPARE(host.cols->findColumn(QStringLiteral("a")), -1); // keys are case-sensitive
    QCOMPARE(host.cols->findColumn(Variant(basic::ObjectRef(first))), 0);
    QCOMPARE(host.cols->findColumn(QStringLiteral("2")), -1); // a text is a key, never a number
    try {
        host.cols->value({int32_t(3)});
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), int32_t(0x8002000Bu));
        QCOMPARE(e.description(), QStringLiteral("Invalid index specified for item retrieval"));
    }
    // By DISPID: Item is 5 and the default member.
    Args args{int32_t(2)};
    QCOMPARE(columnOf(host.cols->invoke(5, Invoke::PropertyGet, args))->settings().caption, QStringLiteral("second"));
}

void TestColumns::popupColumnsLookup()
{
    TestHost host(false);
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    const auto popups = c->get(QStringLiteral("PopupColumns")).objectValue();
    popups->call(QStringLiteral("Add"), {QStringLiteral("2")});
    popups->call(QStringLiteral("Add"), {QStringLiteral("Name")});
    QCOMPARE(popups->value({QStringLiteral("2")}).objectValue()->get(QStringLiteral("DataField")), Variant(QStringLiteral("Name")));
    QCOMPARE(popups->value({QStringLiteral("Name")}).objectValue()->get(QStringLiteral("DataField")), Variant(QStringLiteral("Name")));
    QVERIFY(!popups->value({int32_t(3)}).objectValue());
    popups->call(QStringLiteral("Remove"), {int32_t(7)});
    QCOMPARE(popups->get(QStringLiteral("Count")), Variant(int32_t(2)));
}

void TestColumns::idsFrom10000AndNeverReused()
{
    TestHost host(false);
    const auto kept = host.cols->add(missing, missing, missing, missing);
    QVERIFY(kept->columnId() >= 10000);
    const auto other = host.cols->add(missing, missing, missing, missing);
    QCOMPARE(other->columnId(), kept->columnId() + 1);
    // Many adds and removes wrap the 16 bits the window sees; a live column's id is skipped.
    for (int i = 0; i < 0x10000; ++i) {
        const uint32_t id = allocateColumnId();
        QVERIFY(uint16_t(id) != uint16_t(kept->columnId()));
        QVERIFY(uint16_t(id) != uint16_t(other->columnId()));
        releaseColumnId(id);
    }
}

void TestColumns::maxLengthOutsideTheWindowsRangeIsRefused_data()
{
    QTest::addColumn<int>("value");
    QTest::addRow("zero") << 0;
    QTest::addRow("negative") << -5;
    QTest::addRow("beyond 32767") << 40000;
}

void TestColumns::maxLengthOutsideTheWindowsRangeIsRefused()
{
    QFETCH(int, value);
    TestHost host(true);
    host.createRealWindow();
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    try {
        c->put(QStringLiteral("MaxLength"), int32_t(value));
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::InvalidPropertyValue);
    }
    QCOMPARE(c->settings().maxLength, int16_t(32));
    c->put(QStringLiteral("MaxLength"), int32_t(32767));
    QCOMPARE(c->settings().maxLength, int16_t(32767));
}

void TestColumns::settersReachTheWindow()
{
    TestHost host(false);
    auto& window = host.createRealWindow();
    const auto c = columnOf(host.cols->call(QStringLiteral("Add"), {missing, QStringLiteral("k"), QStringLiteral("Name")}));
    const QAbstractItemModel* model = window.view()->model();
    QCOMPARE(model->columnCount(), 1);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
    c->put(QStringLiteral("Caption"), QStringLiteral("Customer"));
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Customer"));
    c->put(QStringLiteral("ColumnAlignment"), int16_t(1));
    vllist::ColumnDefinition d;
    host.wnd->GetColumnDefinition(0, d);
    QCOMPARE(d.flags & vllist::ColumnFlag::ColumnAlignMask, 0x100u);
    QCOMPARE(d.sqlType, vllist::sql::Varchar);
    QCOMPARE(d.bufferSize, uint16_t(33));
    QCOMPARE(QByteArray(d.editorClass), QByteArray("EDIT"));
    c->put(QStringLiteral("ControlType"), int16_t(lstCtlDate));
    host.wnd->GetColumnDefinition(0, d);
    QCOMPARE(QByteArray(d.editorClass), QByteArray("#VL32DATEEDIT"));
    QCOMPARE(QByteArray(d.caption), QByteArray("Customer")); // re-created with its settings
    c->put(QStringLiteral("CurrentWidth"), int16_t(20));
    QCOMPARE(c->get(QStringLiteral("CurrentWidth")), Variant(int16_t(20)));
    c->put(QStringLiteral("Enabled"), false);
    host.wnd->GetColumnDefinition(0, d);
    QCOMPARE(d.editorStyle & vllist::EditorStyle::Enabled, 0u);
    c->put(QStringLiteral("Visible"), false);
    QVERIFY(window.view()->horizontalHeader()->isSectionHidden(0));
    c->put(QStringLiteral("BackColor"), int32_t(0x000000FF));
    host.wnd->InsertTextRow(-1, QStringLiteral("x"), 0, 0);
    QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    c->put(QStringLiteral("AllowDrillDown"), true);
    QCOMPARE(c->get(QStringLiteral("AllowDrillDown")), Variant(true));
    host.cols->call(QStringLiteral("Remove"), {int32_t(1)});
    QCOMPARE(model->columnCount(), 0);
}

void TestColumns::widthFromTheDataType()
{
    TestHost host(false);
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    c->put(QStringLiteral("DataType"), int16_t(lstDataDouble));
    c->put(QStringLiteral("Width"), int16_t(-1));
    QCOMPARE(c->get(QStringLiteral("Width")), Variant(int16_t(-1))); // no window: stays
    host.createRealWindow();
    c->put(QStringLiteral("Width"), int16_t(-1));
    QCOMPARE(c->get(QStringLiteral("Width")), Variant(int16_t(12)));
}

void TestColumns::sortLivesInTheWindow()
{
    TestHost host(false);
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    c->put(QStringLiteral("Sort"), int16_t(2));
    QCOMPARE(c->get(QStringLiteral("Sort")), Variant(int16_t(0)));
    auto& window = host.createRealWindow();
    host.cols->applyAll();
    for (const char* t : {"b", "c", "a"})
        host.wnd->InsertTextRow(-1, QLatin1String(t), 0, 0);
    c->put(QStringLiteral("Sort"), int16_t(1));
    QCOMPARE(c->get(QStringLiteral("Sort")), Variant(int16_t(1)));
    QCOMPARE(window.view()->model()->index(0, 0).data().toString(), QStringLiteral("a"));
    c->put(QStringLiteral("Sort"), int16_t(2));
    QCOMPARE(window.view()->model()->index(0, 0).data().toString(), QStringLiteral("c"));
}

void TestColumns::lookupsAfterTheUserMovedColumns()
{
    TestHost host(false);
    auto& window = host.createRealWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    std::vector<std::shared_ptr<CColumn>> c;
    for (const char* key : {"A", "B", "C"})
        c.push_back(columnOf(host.cols->call(QStringLiteral("Add"), {missing, QString::fromLatin1(key), QString::fromLatin1(key)})));
    c[0]->put(QStringLiteral("AllowMove"), true);
    QVERIFY(host.wnd->columnMapping());
    // The user drags C to the front.
    QHeaderView* header = window.view()->horizontalHeader();
    header->moveSection(2, 0);
    // Each column still answers for itself.
    c[1]->put(QStringLiteral("Caption"), QStringLiteral("Bee"));
    QCOMPARE(window.view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Bee"));
    QCOMPARE(window.view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("A"));
    c[2]->put(QStringLiteral("AllowDrillDown"), true);
    QCOMPARE(c[2]->get(QStringLiteral("AllowDrillDown")), Variant(true));
    QCOMPARE(c[0]->get(QStringLiteral("AllowDrillDown")), Variant(false));
    QCOMPARE(c[1]->get(QStringLiteral("AllowDrillDown")), Variant(false));
    QCOMPARE(c[2]->get(QStringLiteral("CurrentIndex")), Variant(int16_t(1)));
    QCOMPARE(c[0]->get(QStringLiteral("CurrentIndex")), Variant(int16_t(2)));
    const double left = c[2]->get(QStringLiteral("Left")).doubleValue();
    const double right = c[2]->get(QStringLiteral("Right")).doubleValue();
    const int expectedLeft = window.view()->viewport()->mapTo(&window, QPoint(header->sectionViewportPosition(2), 0)).x();
    QCOMPARE(left, double(expectedLeft) * 15.0);
    QCOMPARE(right - left, double(header->sectionSize(2)) * 15.0);
    // Moving a column back through CurrentIndex.
    c[2]->put(QStringLiteral("CurrentIndex"), int16_t(3));
    QCOMPARE(header->visualIndex(2), 2);
}

// Without a movable column nothing is mapped, yet after CurrentIndex moved a column
// AllowDrillDown still marks that column in the window.
void TestColumns::drillDownFollowsAMovedColumn()
{
    TestHost host(true);
    auto& window = host.createRealWindow();
    std::vector<std::shared_ptr<CColumn>> c;
    for (const char* key : {"A", "B", "C"})
        c.push_back(columnOf(host.cols->call(QStringLiteral("Add"), {missing, QString::fromLatin1(key), QString::fromLatin1(key)})));
    c[0]->put(QStringLiteral("CurrentIndex"), int16_t(3));
    QVERIFY(!host.wnd->columnMapping());
    c[0]->put(QStringLiteral("AllowDrillDown"), true);
    const auto drillDownAt = [&](int windowColumn) {
        vllist::ColumnDefinition d;
        window.sendMessage(vllist::grid::GetColumnDefinition, vllist::WParam(windowColumn), vllist::toLParam(&d));
        return QString::fromLatin1(d.caption) + ((d.flags & vllist::ColumnFlag::DrillDown) ? "+" : "-");
    };
    QCOMPARE(drillDownAt(0) + drillDownAt(1) + drillDownAt(2), QStringLiteral("B-C-A+"));
    QCOMPARE(c[0]->get(QStringLiteral("AllowDrillDown")), Variant(true));
    QCOMPARE(c[1]->get(QStringLiteral("AllowDrillDown")), Variant(false));
}

void TestColumns::dataFieldFillsFromTheField()
{
    TestHost host(false);
    const auto c = columnOf(host.cols->call(QStringLiteral("Add")));
    c->put(QStringLiteral("DataField"), QStringLiteral("Price"));
    QCOMPARE(c->settings().dataType, int16_t(lstDataDouble));
    QCOMPARE(c->settings().maxLength, int16_t(12));
    QCOMPARE(c->settings().decimalPlaces, int16_t(3));
    QCOMPARE(c->settings().columnAlignment, int16_t(1));
    c->put(QStringLiteral("DataField"), QStringLiteral("Unknown"));
    QCOMPARE(c->settings().dataType, int16_t(lstDataDouble)); // a field not found changes nothing
}

void TestColumns::enumerationVisitsTheLiveArray()
{
    TestHost host(false);
    for (int i = 0; i < 3; ++i)
        host.cols->call(QStringLiteral("Add"), {missing, QStringLiteral("k%1").arg(i)});
    const auto all = automation::enumerate(host.cols);
    QCOMPARE(all.size(), size_t(3));
    QCOMPARE(columnOf(all[2])->settings().key, QStringLiteral("k2"));
    Args none;
    auto e = std::dynamic_pointer_cast<CEnum>(host.cols->invoke(automation::DispIdNewEnum, Invoke::Method, none).objectValue());
    QVERIFY(e);
    std::vector<Variant> got;
    QCOMPARE(e->Skip(1), S_Ok);
    const auto clone = e->Clone();
    QCOMPARE(e->Next(5, got), S_False);
    QCOMPARE(got.size(), size_t(2));
    QCOMPARE(clone->Next(1, got), S_Ok);
    QCOMPARE(columnOf(got[0])->settings().key, QStringLiteral("k1"));
    QCOMPARE(e->Skip(1), S_False);
    e->Reset();
    QCOMPARE(e->Next(3, got), S_Ok);
    // The enumerator keeps the collection alive.
    std::weak_ptr<CColumns> weak = host.cols;
    host.cols.reset();
    QVERIFY(!weak.expired());
    e->Reset();
    QCOMPARE(e->Next(3, got), S_Ok);
}

void TestColumns::blockRoundTrip()
{
    TestHost host(false);
    std::vector<ColumnSettings> written;
    for (int i = 0; i < 7; ++i)
        written.push_back(sample(i));
    std::vector<ColumnSettings> read;
    QString error;
    QVERIFY(readColumnsBlock(writeColumnsBlock(written), read, error));
    QCOMPARE(read.size(), written.size());
    for (size_t i = 0; i < written.size(); ++i)
        QVERIFY2(read[i] == written[i], qPrintable(QStringLiteral("column %1").arg(i)));

    // Through the collection, with popup columns.
    host.cols->load(writeColumnsBlock(written));
    QCOMPARE(host.cols->count(), 7);
    const auto popup = host.cols->at(4);
    QCOMPARE(popup->settings().controlType, int16_t(lstCtlPopup));
    QCOMPARE(popup->popupColumns()->fields(), (QStringList{"Code", "Name"}));
    QCOMPARE(host.cols->save(), writeColumnsBlock(written));
    // Caption colours are stored too.
    host.cols->at(0)->put(QStringLiteral("CaptionBackColor"), int32_t(0xFF));
    host.cols->load(host.cols->save());
    QCOMPARE(host.cols->at(0)->settings().captionBackColor, 0xFFu);
    // Texts longer than their fields are cut, never written past them.
    ColumnSettings longTexts;
    longTexts.key = QString(100, QLatin1Char('k'));
    longTexts.caption = QString(100, QLatin1Char('c'));
    QVERIFY(readColumnsBlock(writeColumnsBlock({longTexts}), read, error));
    QCOMPARE(read[0].key, QString(31, QLatin1Char('k')));
    QCOMPARE(read[0].caption, QString(63, QLatin1Char('c')));
}

void TestColumns::blockColoursAllZeroLoadDefaults()
{
    ColumnSettings s = sample(0);
    s.backColor = s.foreColor = s.highlightedBackColor = s.highlightedForeColor = 0;
    std::vector<ColumnSettings> read;
    QString error;
    QVERIFY(readColumnsBlock(writeColumnsBlock({s}), read, error));
    QCOMPARE(read[0].backColor, 0x80000005u);
    QCOMPARE(read[0].highlightedForeColor, 0x8000000Eu);
}

void TestColumns::blockOlderLayout()
{
    ColumnSettings a;
    a.key = QStringLiteral("Qty");
    a.caption = QStringLiteral("Quantity");
    a.controlType = lstCtlNumeric;
    a.dataType = lstDataLong;
    a.maxLength = 8;
    a.decimalPlaces = 0;
    a.width = 9;
    a.dataField = QStringLiteral("QTY_ORDER");
    ColumnSettings b;
    b.caption = QStringLiteral("Second");
    TestHost host(false);
    host.cols->load(legacyBlock({a, b}));
    QCOMPARE(host.cols->count(), 2);
    ColumnSettings loaded = host.cols->at(0)->storedSettings();
    QCOMPARE(loaded, a); // everything else default
    QCOMPARE(host.cols->at(1)->settings().caption, QStringLiteral("Second"));
}

void TestColumns::blockEmptyLeavesOneDefaultColumn()
{
    TestHost host(false);
    host.cols->add(missing, QStringLiteral("x"), missing, missing);
    host.cols->add(missing, QStringLiteral("y"), missing, missing);
    host.cols->load({});
    QCOMPARE(host.cols->count(), 1);
    QCOMPARE(host.cols->at(0)->storedSettings(), ColumnSettings());
    host.cols->load(writeColumnsBlock({}));
    QCOMPARE(host.cols->count(), 1);
}

// The record counts popup columns in 16 bits: 65,535 are stored and read back,
// one more is refused when saving rather than stored as none.
void TestColumns::popupCountBeyondItsFieldIsNotSaved()
{
    TestHost host(true);
    const auto column = host.cols->add(missing, QStringLiteral("Pick"), missing, missing);
    column->setControlType(lstCtlPopup);
    const auto popups = column->popupColumns();
    for (int i = 0; i < MaxPopupColumns; ++i)
        popups->add(QStringLiteral("F%1").arg(i));
    const QByteArray block = host.cols->save();
    std::vector<ColumnSettings> read;
    QString error;
    QVERIFY(readColumnsBlock(block, read, error));
    QCOMPARE(read.at(0).popupFields.size(), MaxPopupColumns);
    QCOMPARE(read.at(0).popupFields.last(), QStringLiteral("F65534"));
    popups->add(QStringLiteral("F65535"));
    try {
        host.cols->save();
        QFAIL("saved");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), CColumns::SaveFailed);
        QVERIFY2(e.description().contains(QStringLiteral("column 1 has 65536 popup columns")), qPrintable(e.description()));
    }
    QVERIFY(writeColumnsBlock({host.cols->at(0)->storedSettings()}).isEmpty());
}

void TestColumns::damagedBlockIsRefusedWhole_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("why");
    const QByteArray good = writeColumnsBlock({sample(1), sample(4)});
    QByteArray b;
    b = good; put32(b, 12, 3);
    QTest::addRow("more columns than the block holds") << b << QStringLiteral("columns do not fit");
    b = good; put32(b, 12, 0x7FFFFFFF);
    QTest::addRow("a huge column count") << b << QStringLiteral("columns do not fit");
    b = good; put32(b, 0, uint32_t(good.size() + 1000));
    QTest::addRow("a total beyond the block") << b << QStringLiteral("claims");
    b = good; put32(b, 8, 172);
    QTest::addRow("another record size") << b << QStringLiteral("records are 172 bytes");
    b = good; put16(b, 24 + 224 + 212, 30000);
    QTest::addRow("popup count past the end") << b << QStringLiteral("popup columns of column 2");
    b = good; put16(b, 24 + 184, 0);
    QTest::addRow("MaxLength 0") << b << QStringLiteral("maximum length 0");
    b = good; put16(b, 24 + 184, -3);
    QTest::addRow("MaxLength negative") << b << QStringLiteral("maximum length -3");
    b = good; put16(b, 24 + 118, 9);
    QTest::addRow("unknown data type") << b << QStringLiteral("unknown data type 9");
    b = good; put16(b, 24 + 102, 17);
    QTest::addRow("unknown control type") << b << QStringLiteral("unknown control type 17");
    QTest::addRow("cut short") << good.left(100) << QStringLiteral("claims");
    QTest::addRow("too short for a header") << good.left(10) << QStringLiteral("too few");
    b = legacyBlock({ColumnSettings()}); put16(b, 12, 5);
    QTest::addRow("older layout, count too high") << b << QStringLiteral("older layout do not fit");
    b = legacyBlock({ColumnSettings()}); put16(b, 16 + 100, 0);
    QTest::addRow("older layout, MaxLength 0") << b << QStringLiteral("maximum length 0");
}

void TestColumns::damagedBlockIsRefusedWhole()
{
    QFETCH(QByteArray, block);
    QFETCH(QString, why);
    TestHost host(false);
    host.cols->add(missing, QStringLiteral("kept"), missing, missing);
    try {
        host.cols->load(block);
        QFAIL("loaded");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::InvalidPropertyValue);
        QVERIFY2(e.description().contains(why), qPrintable(e.description()));
        QVERIFY(e.description().startsWith(QStringLiteral("The stored \"Columns\" design is damaged")));
    }
    QCOMPARE(host.cols->count(), 1);
    QCOMPARE(host.cols->at(0)->settings().key, QStringLiteral("kept"));
}

// A seeded random loop over damaged blocks; under AddressSanitizer any read past a
// block's end stops the test.
void TestColumns::fuzzedBlocksNeverReadPastTheirEnd()
{
    std::vector<ColumnSettings> columns;
    for (int i = 0; i < 6; ++i)
        columns.push_back(sample(i));
    const QByteArray good = writeColumnsBlock(columns);
    const QByteArray legacy = legacyBlock({sample(0), sample(1)});
    QRandomGenerator random(20251210);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray b = random.bounded(4) == 0 ? legacy : good;
        switch (random.bounded(4)) {
        case 0: // flip bytes
            for (int i = 0, n = int(random.bounded(8)) + 1; i < n; ++i)
                b[int(random.bounded(b.size()))] = char(random.bounded(256));
            break;
        case 1: // cut
            b.truncate(int(random.bounded(b.size())));
            break;
        case 2: // random counts and sizes in the header and a record
            put32(b, int(random.bounded(4)) * 4, random.generate());
            put16(b, 24 + int(random.bounded(224 / 2)) * 2, int16_t(random.generate()));
            break;
        default: // random bytes of a random length
            b = QByteArray(int(random.bounded(600)), '\0');
            for (auto& c : b)
                c = char(random.bounded(256));
            break;
        }
        // A heap copy of exactly this size, so that a read past it is caught.
        const QByteArray exact(b.constData(), b.size());
        std::vector<ColumnSettings> read;
        QString error;
        if (readColumnsBlock(exact, read, error)) {
            ++accepted;
            for (const auto& s : read) {
                QVERIFY(s.maxLength >= 1 && s.maxLength <= MaxColumnLength);
                QVERIFY(s.dataType >= 0 && s.dataType < DataTypeCount);
                QVERIFY(s.controlType >= 0 && s.controlType < ControlTypeCount);
            }
        } else {
            QVERIFY(!error.isEmpty());
        }
    }
    QVERIFY(accepted > 0);
}

int runColumnsTests(int argc, char** argv)
{
    TestColumns t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_columns.moc"
