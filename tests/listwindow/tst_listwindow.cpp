// The list-window stand-in answers its private messages as docs/listwindow.md says:
// a real window, offscreen, driven by sendMessage only.
#include "package/datetime/TimeStamp.h"
#include "package/listwindow/CellPainter.h"
#include "package/listwindow/CellStorage.h"
#include "package/listwindow/ListWindow.h"

#include "platform/basic/Dates.h"

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstring>

using namespace vllist;

namespace {

class Owner : public WindowOwner
{
public:
    void windowCommand(Window&, uint16_t code) override { codes.push_back(code); }
    std::vector<uint16_t> codes;
};

ColumnDefinition column(const char* caption, uint16_t id, int16_t sqlType = sql::Varchar, uint16_t maxLength = 32,
                        uint32_t flags = 0)
{
    ColumnDefinition d;
    d.sqlType = sqlType;
    d.width = 10;
    d.bufferSize = uint16_t(maxLength + 1);
    d.flags = flags;
    d.columnId = id;
    d.editorStyle = EditorStyle::Base | EditorStyle::Visible | EditorStyle::Enabled;
    std::strncpy(d.caption, caption, sizeof d.caption - 1);
    return d;
}

int32_t addRow(Window& w, Message insert, const char* text, int32_t row = -1, int32_t key = 0)
{
    RowInsert r{1, text, row, key, 0};
    return int32_t(w.sendMessage(insert, 1, toLParam(&r)));
}

QString rowText(Window& w, Message get, int32_t row)
{
    char buffer[RowTextBufferSize] = {};
    RowText r{row, -1, buffer, 1};
    w.sendMessage(get, 0, toLParam(&r));
    return QString::fromLatin1(buffer);
}

} // namespace

class TestListWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowClasses();
    void rowsAndText();
    void typedCellValues_data();
    void typedCellValues();
    void columnsByIdAndOrder();
    void selectionWalk();
    void coloursAreKept();
    void findAndHitTest();
    void pagedRowsComeFromTheCallback();
    void gridSettings();
    void notificationsReachTheOwner();
    void drillDownOnlyOnItsButton();
    void gridEditorsByColumnKind_data();
    void gridEditorsByColumnKind();
    void sortKeepsTheSelectionOnItsRows();
    void rowImagesAreDrawn();
    void rowsArePaintedWithTheirColours();
    void tabLeavesTheGridAtItsEdges();
    void timestamps_data();
    void timestamps();
};

void TestListWindow::windowClasses()
{
    Owner owner;
    QCOMPARE(ListWindow::create(QStringLiteral("#VL32LISTVIEW"), &owner)->kind(), ListWindow::Kind::List);
    QCOMPARE(ListWindow::create(QStringLiteral("#VL32GRIDVIEW"), &owner)->kind(), ListWindow::Kind::Grid);
    QVERIFY(!ListWindow::create(QStringLiteral("EDIT"), &owner));
    ListWindow w(ListWindow::Kind::List, &owner);
    QCOMPARE(w.className(), QStringLiteral("#VL32LISTVIEW"));
    QCOMPARE(w.sendMessage(0x1401, 0, 0), 0); // not a message of the class
}

void TestListWindow::rowsAndText()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto a = column("Code", 10000), b = column("Name", 10001);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    w.sendMessage(list::InsertColumn, 1, toLParam(&b));
    QCOMPARE(addRow(w, list::InsertRow, "A1\tAlpha"), 0);
    QCOMPARE(addRow(w, list::InsertRow, "B2\tBeta"), 1);
    QCOMPARE(addRow(w, list::InsertRow, "C3\tGamma", 0, 77), 0);
    QCOMPARE(w.sendMessage(list::GetRowCount, 0, 0), 3);
    QCOMPARE(rowText(w, list::GetRowText, 0), QStringLiteral("C3\tGamma"));
    QCOMPARE(w.sendMessage(list::GetRowKey, 0, 0), 77);
    RowKey key{1, 5};
    w.sendMessage(list::SetRowKey, 0, toLParam(&key));
    QCOMPARE(w.sendMessage(list::GetRowKey, 0, 1), 5);
    QByteArray text("X\tY");
    RowText set{2, -1, text.data(), 1};
    w.sendMessage(list::SetRowText, 0, toLParam(&set));
    QCOMPARE(rowText(w, list::GetRowText, 2), QStringLiteral("X\tY"));
    CellText deleted{2, 0, "Deleted"};
    w.sendMessage(list::SetCellText, 0, toLParam(&deleted));
    QCOMPARE(rowText(w, list::GetRowText, 2), QStringLiteral("Deleted\tY"));
    QCOMPARE(w.view()->model()->index(2, 0).data().toString(), QStringLiteral("Deleted"));
    w.sendMessage(list::SetRowImage, 3, 1);
    QCOMPARE(w.sendMessage(list::GetRowImage, 0, 1), 3);
    w.sendMessage(list::DeleteRow, 0, 0);
    QCOMPARE(rowText(w, list::GetRowText, 0), QStringLiteral("A1\tAlpha"));
    w.sendMessage(list::DeleteAllRows, 0, 0);
    QCOMPARE(w.sendMessage(list::GetRowCount, 0, 0), 0);
}

void TestListWindow::typedCellValues_data()
{
    QTest::addColumn<int>("sqlType");
    QTest::addColumn<QString>("text");
    QTest::addRow("string") << int(sql::Varchar) << QStringLiteral("hello");
    QTest::addRow("long") << int(sql::Integer) << QStringLiteral("-123456");
    QTest::addRow("integer") << int(sql::SmallInt) << QStringLiteral("321");
    // The value whole: only the display has the two decimal places.
    QTest::addRow("double") << int(sql::Double) << QStringLiteral("12.5");
    QTest::addRow("double, full precision") << int(sql::Double) << QStringLiteral("0.125");
    QTest::addRow("single") << int(sql::Float) << QStringLiteral("1.0625");
    QTest::addRow("bit") << int(sql::Bit) << QStringLiteral("1");
    QTest::addRow("date") << int(sql::Timestamp) << QStringLiteral("24/12/2025");
}

void TestListWindow::typedCellValues()
{
    QFETCH(int, sqlType);
    QFETCH(QString, text);
    ListWindow w(ListWindow::Kind::Grid, nullptr);
    auto d = column("Value", 10000, int16_t(sqlType), 10);
    d.decimalPlaces = 2;
    w.sendMessage(grid::InsertColumn, 0, toLParam(&d));
    addRow(w, grid::InsertRow, text.toLatin1().constData());
    // Read in the storage form, write it back into a second row: the same text.
    QByteArray value(slotSize(d), '\0');
    RowText get{0, 0, value.data(), 0};
    w.sendMessage(grid::GetRowText, 0, toLParam(&get));
    addRow(w, grid::InsertRow, "");
    RowText set{1, 0, value.data(), 0};
    w.sendMessage(grid::SetRowText, 0, toLParam(&set));
    QCOMPARE(rowText(w, grid::GetRowText, 1), text);
}

void TestListWindow::columnsByIdAndOrder()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto a = column("A", 10000, sql::Varchar, 32, ColumnFlag::AllowMove), b = column("B", 10001), c = column("C", 10002);
    for (auto* d : {&a, &b, &c})
        w.sendMessage(list::InsertColumn, WParam(-1), toLParam(d));
    QCOMPARE(w.sendMessage(list::FindColumnById, 0, 10002), 2);
    // The user drags C to the front: the window's order changes, the control's stays.
    w.view()->horizontalHeader()->moveSection(2, 0);
    QCOMPARE(w.sendMessage(list::FindColumnById, 0, 10002), 0);
    QCOMPARE(w.sendMessage(list::ColumnToWindow, 0, 2), 0);
    QCOMPARE(w.sendMessage(list::ColumnFromWindow, 0, 0), 2);
    ColumnDefinition read;
    w.sendMessage(list::GetColumnDefinition, 0, toLParam(&read));
    QCOMPARE(QByteArray(read.caption), QByteArray("C"));
    std::strcpy(read.caption, "Third");
    w.sendMessage(list::SetColumnDefinition, 0, toLParam(&read));
    QCOMPARE(w.view()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Third"));
    w.sendMessage(list::ShowColumn, 1, 0);
    QVERIFY(w.view()->horizontalHeader()->isSectionHidden(0));
    Rect rect;
    QCOMPARE(w.sendMessage(list::GetColumnRect, 1, toLParam(&rect)), 0);
    w.sendMessage(list::DeleteColumn, 0, 0);
    QCOMPARE(w.sendMessage(list::FindColumnById, 0, 10002), -1);
    QCOMPARE(w.sendMessage(list::FindColumnById, 0, 10001), 1);
}

void TestListWindow::selectionWalk()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto a = column("A", 10000);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    for (const char* t : {"r0", "r1", "r2", "r3", "r4"})
        addRow(w, list::InsertRow, t);
    w.sendMessage(list::SelectRow, 1, 1);
    w.sendMessage(list::SelectRow, 1, 3);
    w.sendMessage(list::SelectRow, 1, 4);
    w.sendMessage(list::SelectRow, 0, 4);
    QCOMPARE(w.sendMessage(list::GetSelectedCount, 0, 0), 2);
    QCOMPARE(w.sendMessage(list::IsRowSelected, 0, 3), 1);
    QCOMPARE(w.sendMessage(list::IsRowSelected, 0, 4), 0);
    int32_t cursor = 0;
    QCOMPARE(w.sendMessage(list::CurrentSelected, 0, toLParam(&cursor)), -1);
    QCOMPARE(w.sendMessage(list::FirstSelected, 0, toLParam(&cursor)), 1);
    QCOMPARE(w.sendMessage(list::CurrentSelected, 0, toLParam(&cursor)), 1);
    QCOMPARE(w.sendMessage(list::NextSelected, 0, toLParam(&cursor)), 3);
    QCOMPARE(w.sendMessage(list::NextSelected, 0, toLParam(&cursor)), -1);
    QCOMPARE(w.sendMessage(list::PreviousSelected, 0, toLParam(&cursor)), 1);
    QCOMPARE(w.sendMessage(list::PreviousSelected, 0, toLParam(&cursor)), -1);
    QCOMPARE(w.sendMessage(list::LastSelected, 0, toLParam(&cursor)), 3);
    w.sendMessage(list::SetCurrentCell, WParam(uint16_t(-2)), 2);
    QCOMPARE(w.sendMessage(list::GetCurrentRow, 0, 0), 2);
    QCOMPARE(w.sendMessage(list::GetSelectedCount, 0, 0), 2); // moving the focus keeps the selection
    w.sendMessage(list::SetCurrentCell, WParam(uint16_t(-2)), -1);
    QCOMPARE(w.sendMessage(list::GetCurrentRow, 0, 0), -1);
}

void TestListWindow::coloursAreKept()
{
    ListWindow w(ListWindow::Kind::Grid, nullptr);
    auto a = column("A", 10000), b = column("B", 10001);
    w.sendMessage(grid::InsertColumn, 0, toLParam(&a));
    w.sendMessage(grid::InsertColumn, 1, toLParam(&b));
    addRow(w, grid::InsertRow, "x\ty");
    RowColours row{0, {0x0000FF, -1, -1, -1}};
    w.sendMessage(grid::SetRowColours, 0, toLParam(&row));
    CellColours cell{0, 1, {0x00FF00, 0xFFFFFF, -1, -1}};
    w.sendMessage(grid::SetCellColours, 0, toLParam(&cell));
    RowColours readRow{0, {}};
    w.sendMessage(grid::GetRowColours, 0, toLParam(&readRow));
    QCOMPARE(readRow.colours.back, 0x0000FF);
    QCOMPARE(readRow.colours.fore, -1);
    CellColours readCell{0, 1, {}};
    w.sendMessage(grid::GetCellColours, 0, toLParam(&readCell));
    QCOMPARE(readCell.colours.fore, 0xFFFFFF);
    const QAbstractItemModel* m = w.view()->model();
    QCOMPARE(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(m->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 0));
    CaptionColours caption{1, 0x808080, 0, -1, -1};
    w.sendMessage(grid::SetCaptionColours, 0, toLParam(&caption));
    QCOMPARE(m->headerData(1, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(), QColor(128, 128, 128));
    ColumnColours colours{0, {-1, 0x000080, -1, -1}};
    w.sendMessage(grid::SetColumnColours, 0, toLParam(&colours));
    QCOMPARE(m->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(128, 0, 0));
}

void TestListWindow::findAndHitTest()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    w.resize(300, 200);
    auto a = column("Name", 10000);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    for (const char* t : {"Apple", "Banana", "Blueberry"})
        addRow(w, list::InsertRow, t);
    Find exact{"banana", 1, 0};
    QCOMPARE(w.sendMessage(list::FindRow, 0, toLParam(&exact)), 1);
    Find partial{"Blu", 1, 0};
    QCOMPARE(w.sendMessage(list::FindRow, 1, toLParam(&partial)), 2);
    Find from{"Apple", 1, 1};
    QCOMPARE(w.sendMessage(list::FindRow, 0, toLParam(&from)), -1);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect second = w.view()->visualRect(w.view()->model()->index(1, 0));
    const QPoint p = w.view()->viewport()->mapTo(&w, second.center());
    QCOMPARE(w.sendMessage(list::HitTest, 0, LParam((p.y() << 16) | p.x())), 1);
    QCOMPARE(w.sendMessage(list::HitTest, 0, LParam((190 << 16) | 5)), -1);
}

namespace {

int32_t fillPage(Window* window, const PagedData* rows, LParam userData)
{
    auto* asked = reinterpret_cast<std::vector<std::pair<int, int>>*>(userData);
    asked->emplace_back(rows->first, rows->last);
    for (int32_t r = rows->first; r <= rows->last; ++r) {
        // One Long slot and one String slot of 8 + 1 bytes.
        char packed[4 + 9] = {};
        std::memcpy(packed, &r, 4);
        std::snprintf(packed + 4, 9, "row %d", r);
        RowInsert insert{0, packed, -1, 0, 0};
        window->sendMessage(list::InsertRow, 1, toLParam(&insert));
    }
    return 1;
}

} // namespace

void TestListWindow::pagedRowsComeFromTheCallback()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto number = column("No", 10000, sql::Integer, 4), name = column("Name", 10001, sql::Varchar, 8);
    w.sendMessage(list::InsertColumn, 0, toLParam(&number));
    w.sendMessage(list::InsertColumn, 1, toLParam(&name));
    std::vector<std::pair<int, int>> asked;
    w.sendMessage(list::SetVirtualRowCount, 0, 100);
    w.sendMessage(list::SetPagedUserData, 0, reinterpret_cast<LParam>(&asked));
    QCOMPARE(w.sendMessage(list::SetPagedProc, 0, reinterpret_cast<LParam>(&fillPage)), 1);
    QCOMPARE(w.sendMessage(list::GetRowCount, 0, 0), 100);
    QVERIFY(asked.empty());
    QCOMPARE(rowText(w, list::GetRowText, 40), QStringLiteral("40\trow 40"));
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].first, 40);
    QCOMPARE(rowText(w, list::GetRowText, 41), QStringLiteral("41\trow 41"));
    QCOMPARE(asked.size(), size_t(1)); // the page held it
    QCOMPARE(rowText(w, list::GetRowText, 99), QStringLiteral("99\trow 99"));
}

void TestListWindow::gridSettings()
{
    ListWindow w(ListWindow::Kind::Grid, nullptr);
    w.sendMessage(grid::Initialise, 0, 1);
    QCOMPARE(w.initialisedWith(), 1);
    w.sendMessage(grid::SetFixedRows, 0, 2);
    QCOMPARE(w.fixedRows(), 2);
    w.sendMessage(grid::SetVisibleRows, 0, 5);
    QCOMPARE(w.visibleRows(), 5);
    // 0x1413 and 0x1414 mean something else to the grid than to the list.
    w.sendMessage(grid::RefuseCellMove, 0, 1);
    QVERIFY(w.moveRefused());
    w.sendMessage(grid::SuspendEditing, 0, 1);
    QVERIFY(w.editingSuspended());
    QCOMPARE(w.view()->editTriggers(), QAbstractItemView::NoEditTriggers);
    w.sendMessage(grid::SuspendEditing, 0, 0);
    QVERIFY(w.view()->editTriggers() != QAbstractItemView::NoEditTriggers);
    QCOMPARE(w.sendMessage(grid::SetDirty, 0, 1), 1);
    QCOMPARE(w.sendMessage(grid::GetDirty, 0, 0), 1);
    w.sendMessage(grid::SetAutoCalculate, 0, 1);
    QVERIFY(w.autoCalculate());
    auto a = column("Qty", 10000, sql::Varchar, 3);
    w.sendMessage(grid::InsertColumn, 0, toLParam(&a));
    addRow(w, grid::InsertRow, "1");
    CellState off{0, 0, 0};
    w.sendMessage(grid::SetCellEnabled, 0, toLParam(&off));
    QVERIFY(!(w.view()->model()->index(0, 0).flags() & Qt::ItemIsEditable));
    // An edit longer than the column's MaxLength is cut to it.
    CellState on{0, 0, 1};
    w.sendMessage(grid::SetCellEnabled, 0, toLParam(&on));
    QVERIFY(w.view()->model()->setData(w.view()->model()->index(0, 0), QStringLiteral("12345")));
    QCOMPARE(rowText(w, grid::GetRowText, 0), QStringLiteral("123"));
}

// The click reports a drill-down exactly where the button is painted, not a pixel
// to its left.
void TestListWindow::drillDownOnlyOnItsButton()
{
    Owner owner;
    ListWindow w(ListWindow::Kind::List, &owner);
    w.resize(300, 200);
    auto a = column("A", 10000, sql::Varchar, 32, ColumnFlag::DrillDown);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    addRow(w, list::InsertRow, "x");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect button = drillDownButton(*w.view(), w.view()->visualRect(w.view()->model()->index(0, 0)));
    const auto drilled = [&] { return std::count(owner.codes.begin(), owner.codes.end(), notify::DrillDown); };
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, QPoint(button.left() - 1, button.center().y()));
    QCOMPARE(drilled(), 0);
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, QPoint(button.left(), button.center().y()));
    QCOMPARE(drilled(), 1);
}

void TestListWindow::notificationsReachTheOwner()
{
    Owner owner;
    ListWindow w(ListWindow::Kind::List, &owner);
    w.resize(300, 200);
    auto a = column("A", 10000), b = column("B", 10001);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    w.sendMessage(list::InsertColumn, 1, toLParam(&b));
    addRow(w, list::InsertRow, "x\ty");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect cell = w.view()->visualRect(w.view()->model()->index(0, 1));
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(std::find(owner.codes.begin(), owner.codes.end(), notify::LeftClick) != owner.codes.end());
    QVERIFY(std::find(owner.codes.begin(), owner.codes.end(), notify::SelChange) != owner.codes.end());
    QHeaderView* header = w.view()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(owner.codes.back(), notify::CaptionLeftClick);
    QCOMPARE(w.sendMessage(list::GetClickedColumn, 0, 0) & 0xFFFF, 1);
    owner.codes.clear();
    w.sendMessage(list::TypedChar, 'x', 0);
    QCOMPARE(owner.codes, std::vector<uint16_t>{notify::FindRequest});
    FindRequest request;
    w.sendMessage(list::GetFindRequest, 0, toLParam(&request));
    QCOMPARE(QByteArray(request.text), QByteArray("x"));
    QCOMPARE(request.startRow, 0);
}

void TestListWindow::gridEditorsByColumnKind_data()
{
    QTest::addColumn<QByteArray>("editorClass");
    QTest::addColumn<QByteArray>("widget");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addRow("edit") << QByteArray("EDIT") << QByteArray("QLineEdit") << QStringLiteral("abcdefghijkl") << QStringLiteral("abcdefghij");
    QTest::addRow("numeric") << QByteArray("#VL32NUMBEREDIT") << QByteArray("QLineEdit") << QStringLiteral("12.5") << QStringLiteral("12.5");
    QTest::addRow("date") << QByteArray("#VL32DATEEDIT") << QByteArray("QDateEdit") << QStringLiteral("05/04/2026") << QStringLiteral("05/04/2026");
    QTest::addRow("combo box") << QByteArray("ComboBox") << QByteArray("QComboBox") << QStringLiteral("Yes") << QStringLiteral("Yes");
}

void TestListWindow::gridEditorsByColumnKind()
{
    QFETCH(QByteArray, editorClass);
    QFETCH(QByteArray, widget);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    ListWindow w(ListWindow::Kind::Grid, nullptr);
    auto d = column("Value", 10000, sql::Varchar, 10);
    std::strncpy(d.editorClass, editorClass.constData(), sizeof d.editorClass - 1);
    w.sendMessage(grid::InsertColumn, 0, toLParam(&d));
    addRow(w, grid::InsertRow, typed.toLatin1().constData());
    QAbstractItemDelegate* delegate = w.view()->itemDelegate();
    const QModelIndex cell = w.view()->model()->index(0, 0);
    QWidget* editor = delegate->createEditor(w.view()->viewport(), {}, cell);
    QCOMPARE(QByteArray(editor->metaObject()->className()), widget);
    w.view()->model()->setData(cell, typed); // the window itself cuts to MaxLength
    delegate->setEditorData(editor, cell);
    delegate->setModelData(editor, w.view()->model(), cell);
    QCOMPARE(rowText(w, grid::GetRowText, 0), stored);
    delete editor;
}

void TestListWindow::sortKeepsTheSelectionOnItsRows()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto d = column("Due", 10000, sql::Timestamp, 16);
    w.sendMessage(list::InsertColumn, 0, toLParam(&d));
    for (const char* t : {"01/02/2026", "15/01/2026", "03/12/2025"})
        addRow(w, list::InsertRow, t);
    w.sendMessage(list::SelectRow, 1, 0); // 01/02/2026
    w.sendMessage(list::SetColumnSort, 0, 1);
    QCOMPARE(rowText(w, list::GetRowText, 0), QStringLiteral("03/12/2025"));
    QCOMPARE(rowText(w, list::GetRowText, 2), QStringLiteral("01/02/2026")); // by date, not by text
    QCOMPARE(w.sendMessage(list::IsRowSelected, 0, 2), 1);
    QCOMPARE(w.sendMessage(list::IsRowSelected, 0, 0), 0);
}

void TestListWindow::rowImagesAreDrawn()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    auto d = column("Name", 10000);
    w.sendMessage(list::InsertColumn, 0, toLParam(&d));
    QImage red(16, 16, QImage::Format_RGB32), blue(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    w.sendMessage(list::ClearImages, 0, 0);
    for (const QImage* image : {&red, &blue}) {
        ImagePair pair{image, nullptr, 0};
        w.sendMessage(list::AddImage, 1, toLParam(&pair));
    }
    RowInsert insert{1, "with an image", -1, 0, 1};
    w.sendMessage(list::InsertRow, 1, toLParam(&insert));
    const QPixmap shown = w.view()->model()->index(0, 0).data(Qt::DecorationRole).value<QPixmap>();
    QCOMPARE(shown.toImage().pixelColor(8, 8), QColor(Qt::blue));
}

void TestListWindow::rowsArePaintedWithTheirColours()
{
    ListWindow w(ListWindow::Kind::List, nullptr);
    w.resize(400, 200);
    auto a = column("A", 10000), b = column("B", 10001);
    w.sendMessage(list::InsertColumn, 0, toLParam(&a));
    w.sendMessage(list::InsertColumn, 1, toLParam(&b));
    for (const char* text : {"x\ty", "x\ty", "x\ty"})
        addRow(w, list::InsertRow, text);
    CellColours red{0, 1, {0x0000FF, -1, -1, -1}};
    w.sendMessage(list::SetCellColours, 0, toLParam(&red));
    w.sendMessage(list::SelectRow, 1, 2);
    w.show();
    QTableView* view = w.view();
    const QImage picture = view->viewport()->grab().toImage();
    // A point of each cell right of its short text.
    const auto at = [&](int row, int c) {
        const QRect cell = view->visualRect(view->model()->index(row, c));
        return picture.pixelColor(cell.right() - 4, cell.center().y());
    };
    QCOMPARE(at(0, 1), QColor(Qt::red));
    QCOMPARE(at(0, 0), view->palette().color(QPalette::Base));
    const QColor highlight = view->palette().color(QPalette::Inactive, QPalette::Highlight);
    const QColor activeHighlight = view->palette().color(QPalette::Active, QPalette::Highlight);
    QVERIFY(at(2, 0) == highlight || at(2, 0) == activeHighlight);
    QVERIFY(at(2, 1) == highlight || at(2, 1) == activeHighlight);
    // Text is drawn: the cell's first pixels are not all its background.
    const QRect first = view->visualRect(view->model()->index(1, 0));
    bool inked = false;
    for (int x = first.left(); x < first.left() + 16 && !inked; ++x)
        for (int y = first.top(); y <= first.bottom() && !inked; ++y)
            inked = picture.pixelColor(x, y) != view->palette().color(QPalette::Base);
    QVERIFY(inked);
}

void TestListWindow::tabLeavesTheGridAtItsEdges()
{
    Owner owner;
    ListWindow w(ListWindow::Kind::Grid, &owner);
    auto a = column("A", 10000), b = column("B", 10001);
    w.sendMessage(grid::InsertColumn, 0, toLParam(&a));
    w.sendMessage(grid::InsertColumn, 1, toLParam(&b));
    addRow(w, grid::InsertRow, "1\t2");
    addRow(w, grid::InsertRow, "3\t4");
    w.sendMessage(grid::SetCurrentCell, 1, 1);
    owner.codes.clear();
    QTest::keyClick(w.view(), Qt::Key_Tab);
    QCOMPARE(owner.codes, std::vector<uint16_t>{notify::NextControl});
    w.sendMessage(grid::SetCurrentCell, 0, 0);
    owner.codes.clear();
    QTest::keyClick(w.view(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(owner.codes, std::vector<uint16_t>{notify::PreviousControl});
}

void TestListWindow::timestamps_data()
{
    QTest::addColumn<double>("serial");
    QTest::addRow("a date") << basic::DateSerial(2024, 2, 29).serial;
    QTest::addRow("with a time") << basic::DateSerial(1999, 12, 31).serial + 0.75;
    QTest::addRow("the epoch") << 0.0;
}

void TestListWindow::timestamps()
{
    QFETCH(double, serial);
    vldt::TimeStamp stamp;
    QVERIFY(vldt::timeStampFromDate(serial, stamp));
    double back = -1;
    QVERIFY(vldt::dateFromTimeStamp(stamp, back));
    QCOMPARE(back, serial);
    QVERIFY(!vldt::timeStampFromDate(1e12, stamp));
    QVERIFY(!vldt::dateFromTimeStamp(vldt::TimeStamp{}, back));
}

QTEST_MAIN(TestListWindow)
#include "tst_listwindow.moc"
