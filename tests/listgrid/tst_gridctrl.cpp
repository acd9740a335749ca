// The grid control on a container form: its stored design, the edit cycle with its
// validation events, the popup editor, Tab out to the container's next control, and
// its three data modes.
#include "ControlFixture.h"

#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/Items.h"

#include "package/listwindow/DropDownEditors.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/PropertyBag.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace listgrid;
using automation::Args;
using basic::ObjectRef;
using basic::Variant;
using controlframework::PropertyBag;

namespace {

using GridOnForm = ControlOnForm<CGridCtrl>;

void fillRows(GridOnForm& f)
{
    f.addColumns();
    for (const char* row : {"A1\tAlpha\t10", "B2\tBravo\t20", "C3\tCharlie\t30"})
        f.control->items()->call(QStringLiteral("Add"), {QString::fromLatin1(row)});
}

// Types into cell (row, column) through its in-place editor and leaves it for `to`.
void editAndLeave(GridOnForm& f, int row, int column, const QString& text, QModelIndex to)
{
    const QModelIndex cell = f.view().model()->index(row, column);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(f.view().indexWidget(cell));
    QVERIFY(editor);
    editor->setText(text);
    f.view().setCurrentIndex(to);
}

} // namespace

class TestGridCtrl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newAndLoadedGridLines();
    void validateAcceptsAndRefuses();
    void validateOnLostFocus_data();
    void validateOnLostFocus();
    void slashOpensThePopupInstead();
    void popupEditorSetsTheValue();
    void dropDownGivesTheEditorsValue_data();
    void dropDownGivesTheEditorsValue();
    void controlStyleLocksTheOpenEditor_data();
    void controlStyleLocksTheOpenEditor();
    void editorStylesAsTheEditorOpens_data();
    void editorStylesAsTheEditorOpens();
    void tabOutReachesTheNextControl();
    void pagedRowsFromOne();
    void pagedStyleBitAtCreation();
    void boundFillAndModeSwitchReleases();
    void wrongDataSourceObjectIsRefused();
    void hitTestOutsideColumnsIsNothing();
};

void TestGridCtrl::newAndLoadedGridLines()
{
    GridOnForm fresh;
    QCOMPARE(fresh.object()->get(QStringLiteral("GridLinesVisible")), Variant(false));
    QVERIFY(!fresh.view().showGrid());
    QCOMPARE(fresh.window().initialisedWith(), 1);
    const auto bag = PropertyBag::fromText(QStringLiteral(R"({"_Version": 65536})"));
    GridOnForm loaded(QStringLiteral("ctl"), false);
    loaded.placeOnForm(QStringLiteral("grdLoaded"), &*bag);
    QCOMPARE(loaded.object()->get(QStringLiteral("GridLinesVisible")), Variant(true));
    QVERIFY(loaded.view().showGrid());
    QCOMPARE(loaded.control->style() & 0x100u, 0x100u);
    // Saved and loaded again, the settings come back.
    fresh.object()->put(QStringLiteral("FixedItemCount"), int32_t(2));
    fresh.object()->put(QStringLiteral("ValidateOnLostFocus"), false);
    const PropertyBag saved = fresh.site->save();
    GridOnForm again(QStringLiteral("ctl"), false);
    again.placeOnForm(QStringLiteral("grdAgain"), &saved);
    QCOMPARE(again.object()->get(QStringLiteral("FixedItemCount")), Variant(int32_t(2)));
    QCOMPARE(again.object()->get(QStringLiteral("GridLinesVisible")), Variant(false));
    QCOMPARE(again.object()->get(QStringLiteral("ValidateOnLostFocus")), Variant(false));
    QCOMPARE(again.window().fixedRows(), 2);
}

void TestGridCtrl::validateAcceptsAndRefuses()
{
    GridOnForm f;
    fillRows(f);
    bool refuse = true;
    Variant itemChange;
    QString seen;
    f.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("ValidateCell"))
            return;
        seen = basic::CStr(args.at(0).objectValue()->get(QStringLiteral("Value")));
        itemChange = args.at(1);
        args.at(2) = Variant(refuse);
    };
    editAndLeave(f, 0, 1, QStringLiteral("Alfa"), f.view().model()->index(1, 1));
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), 1);
    QCOMPARE(seen, QStringLiteral("Alfa"));
    QCOMPARE(itemChange, Variant(true));
    QCOMPARE(f.view().currentIndex().row(), 0); // refused: the focus stays in the cell
    refuse = false;
    f.view().setCurrentIndex(f.view().model()->index(0, 2));
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), 2);
    QCOMPARE(itemChange, Variant(false)); // same row
    QCOMPARE(f.view().currentIndex().column(), 2);
    QCOMPARE(f.cellText(0, 1), QStringLiteral("Alfa"));
    // A move out of a cell that was not edited is not validated.
    f.view().setCurrentIndex(f.view().model()->index(2, 2));
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), 2);
}

void TestGridCtrl::validateOnLostFocus_data()
{
    QTest::addColumn<bool>("validate");
    QTest::addColumn<int>("raised");
    QTest::addColumn<QString>("kept");
    QTest::newRow("on: refused, the old value back") << true << 1 << QStringLiteral("Alpha");
    QTest::newRow("off: not asked") << false << 0 << QStringLiteral("Typed");
}

// A host that refuses every value; the focus leaves the grid with a typed value.
void TestGridCtrl::validateOnLostFocus()
{
    QFETCH(bool, validate);
    QFETCH(int, raised);
    QFETCH(QString, kept);
    GridOnForm f;
    fillRows(f);
    f.object()->put(QStringLiteral("ValidateOnLostFocus"), validate);
    auto* elsewhere = new QLineEdit(&f.form);
    elsewhere->show();
    f.onEvent = [](const QString& event, Args& args) {
        if (event == QLatin1String("ValidateCell"))
            args.at(2) = Variant(true);
    };
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    const QModelIndex cell = f.view().model()->index(0, 1);
    f.view().setFocus();
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(f.view().indexWidget(cell));
    QVERIFY(editor);
    editor->setFocus();
    editor->setText(QStringLiteral("Typed"));
    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), raised);
    QTRY_COMPARE(f.cellText(0, 1), kept);
}

void TestGridCtrl::slashOpensThePopupInstead()
{
    GridOnForm f;
    fillRows(f);
    f.control->columns()->at(1)->setControlType(lstCtlPopup);
    editAndLeave(f, 0, 1, QStringLiteral("/al"), f.view().model()->index(1, 1));
    QCOMPARE(f.count(QStringLiteral("Popup")), 1);
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), 0);
    QCOMPARE(f.view().currentIndex().row(), 0);
    // With IgnoreForwardSlash the cell is validated as any other.
    f.object()->put(QStringLiteral("IgnoreForwardSlash"), true);
    editAndLeave(f, 0, 1, QStringLiteral("/al"), f.view().model()->index(1, 1));
    QCOMPARE(f.count(QStringLiteral("Popup")), 1);
    QCOMPARE(f.count(QStringLiteral("ValidateCell")), 1);
}

void TestGridCtrl::popupEditorSetsTheValue()
{
    GridOnForm f;
    fillRows(f);
    f.control->columns()->at(1)->setControlType(lstCtlPopup);
    Variant x, y;
    // The host shows its pick list at (X, Y) and puts the chosen value in the cell.
    f.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("Popup"))
            return;
        x = args.at(0);
        y = args.at(1);
        f.object()->get(QStringLiteral("CurrentCell")).objectValue()->put(QStringLiteral("Value"), QStringLiteral("Picked"));
    };
    const ObjectRef cell = f.control->items()->value({int32_t(2)}).objectValue()->get(QStringLiteral("Cells"))
                               .objectValue()->value({int32_t(2)}).objectValue();
    cell->call(QStringLiteral("ShowPopup"));
    QCOMPARE(f.count(QStringLiteral("Popup")), 1);
    QCOMPARE(f.cellText(1, 1), QStringLiteral("Picked"));
    QVERIFY(x.doubleValue() > 0 && y.doubleValue() > 0);
    QVERIFY(!f.window().editingSuspended());
}

void TestGridCtrl::dropDownGivesTheEditorsValue_data()
{
    QTest::addColumn<int>("controlType");
    QTest::addColumn<QString>("expected");
    // The Double column shows the number to its two decimal places.
    QTest::addRow("calculator keypad") << int(lstCtlCalculator) << QStringLiteral("15.00");
    QTest::addRow("date calendar") << int(lstCtlDate) << QStringLiteral("05/04/2026");
}

void TestGridCtrl::dropDownGivesTheEditorsValue()
{
    QFETCH(int, controlType);
    QFETCH(QString, expected);
    GridOnForm f;
    fillRows(f);
    f.control->columns()->at(2)->setControlType(int16_t(controlType));
    const QModelIndex cell = f.view().model()->index(0, 2);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    QWidget* editor = f.view().indexWidget(cell);
    QVERIFY(editor);
    // ShowPopup on the cell being edited opens the editor's drop-down part.
    const ObjectRef cellObject = f.control->items()->value({int32_t(1)}).objectValue()->get(QStringLiteral("Cells"))
                                     .objectValue()->value({int32_t(3)}).objectValue();
    cellObject->call(QStringLiteral("ShowPopup"));
    QVERIFY(!f.window().editingSuspended());
    if (controlType == lstCtlCalculator) {
        QFrame* keypad = static_cast<vllist::LineEditorWindow*>(editor)->dropDown();
        QVERIFY(keypad && keypad->isVisible());
        QTest::keyClicks(keypad, QStringLiteral("12+3"));
        QTest::keyClick(keypad, Qt::Key_Return);
        QVERIFY(!keypad->isVisible());
    } else {
        QCalendarWidget* calendar = static_cast<QDateEdit*>(editor)->calendarWidget();
        QTRY_VERIFY(calendar->window()->isVisible());
        calendar->setSelectedDate(QDate(2026, 4, 5));
        QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
        QTRY_VERIFY(!calendar->window()->isVisible());
    }
    // Leaving the cell stores what the drop-down left in the editor.
    f.view().setCurrentIndex(f.view().model()->index(1, 2));
    QCOMPARE(f.cellText(0, 2), expected);
}

void TestGridCtrl::controlStyleLocksTheOpenEditor_data()
{
    QTest::addColumn<int>("controlType");
    QTest::addColumn<int>("lockedStyle");
    QTest::addRow("edit") << int(lstCtlEdit) << 0x800;
    QTest::addRow("numeric") << int(lstCtlNumeric) << 0x20;
    QTest::addRow("calculator") << int(lstCtlCalculator) << 0x20;
    QTest::addRow("date") << int(lstCtlDate) << 0x20;
    QTest::addRow("popup") << int(lstCtlPopup) << 0x20;
}

void TestGridCtrl::controlStyleLocksTheOpenEditor()
{
    QFETCH(int, controlType);
    QFETCH(int, lockedStyle);
    GridOnForm f;
    fillRows(f);
    CColumn& column = *f.control->columns()->at(1);
    column.setControlType(int16_t(controlType));
    const QModelIndex cell = f.view().model()->index(0, 1);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    QWidget* editor = f.view().indexWidget(cell);
    QVERIFY(editor);
    const auto locked = [editor] {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            return line->isReadOnly();
        return static_cast<QDateEdit*>(editor)->isReadOnly();
    };
    // At run time the style goes to the editor that is open, as messages to its window.
    column.setControlStyle(lockedStyle);
    QVERIFY(locked());
    column.setControlStyle(0);
    QVERIFY(!locked());
}

void TestGridCtrl::editorStylesAsTheEditorOpens_data()
{
    QTest::addColumn<int>("controlType");
    QTest::addColumn<int>("controlStyle");
    QTest::addColumn<QString>("stored");
    QTest::newRow("edit") << int(lstCtlEdit) << 0 << QStringLiteral("ab7");
    QTest::newRow("edit, locked") << int(lstCtlEdit) << 0x800 << QStringLiteral("Alpha");
    QTest::newRow("edit, upper case") << int(lstCtlEdit) << 0x8 << QStringLiteral("AB7");
    QTest::newRow("numeric, locked") << int(lstCtlNumeric) << 0x20 << QStringLiteral("Alpha");
    QTest::newRow("calculator, locked") << int(lstCtlCalculator) << 0x20 << QStringLiteral("Alpha");
    QTest::newRow("popup") << int(lstCtlPopup) << 0 << QStringLiteral("ab7");
    QTest::newRow("popup, locked") << int(lstCtlPopup) << 0x20 << QStringLiteral("Alpha");
}

// The column's styles hold in the editor the user opens, set before it opened.
void TestGridCtrl::editorStylesAsTheEditorOpens()
{
    QFETCH(int, controlType);
    QFETCH(int, controlStyle);
    QFETCH(QString, stored);
    GridOnForm f;
    fillRows(f);
    const auto name = f.control->columns()->at(1);
    name->setControlType(int16_t(controlType));
    name->put(QStringLiteral("ControlStyle"), int32_t(controlStyle));
    const QModelIndex cell = f.view().model()->index(0, 1);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(f.view().indexWidget(cell));
    QVERIFY(editor);
    if (!editor->isReadOnly())
        editor->clear();
    QTest::keyClicks(editor, QStringLiteral("ab7"));
    f.view().setCurrentIndex(f.view().model()->index(1, 1));
    QCOMPARE(f.cellText(0, 1), stored);
}

void TestGridCtrl::tabOutReachesTheNextControl()
{
    GridOnForm f;
    fillRows(f);
    QLineEdit* next = f.form.addTextBox(QStringLiteral("txtNext"), 1);
    next->setGeometry(10, 330, 200, 24);
    QLineEdit* previous = f.form.addTextBox(QStringLiteral("txtPrevious"), 2);
    previous->setGeometry(220, 330, 200, 24);
    f.form.activateWindow();
    f.view().setFocus();
    f.view().setCurrentIndex(f.view().model()->index(2, 2));
    QTest::keyClick(&f.view(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), next);
    // Shift+Tab in the first cell wraps to the highest tab index.
    f.view().setFocus();
    f.view().setCurrentIndex(f.view().model()->index(0, 0));
    QTest::keyClick(&f.view(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), previous);
}

// Created with "Paged Data", the window has the paged bit from the start and keeps it.
void TestGridCtrl::pagedStyleBitAtCreation()
{
    const auto bag = PropertyBag::fromText(QStringLiteral(R"({"_Version": 65536, "DataSource": "Paged Data"})"));
    QVERIFY(bag);
    GridOnForm f(QStringLiteral("ctl"), false);
    f.placeOnForm(QStringLiteral("grdPaged"), &*bag);
    QCOMPARE(f.window().windowStyle() & 0x1000u, 0x1000u);
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("None"));
    f.object()->put(QStringLiteral("Sort"), true);
    QCOMPARE(f.window().windowStyle() & 0x1000u, 0x1000u);
}

void TestGridCtrl::pagedRowsFromOne()
{
    GridOnForm f;
    f.addColumns();
    std::vector<std::pair<int32_t, int32_t>> asked;
    f.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("PagedFill"))
            return;
        asked.emplace_back(args.at(0).intValue(), args.at(1).intValue());
        for (int32_t row = args.at(0).intValue(); row <= args.at(1).intValue(); ++row)
            f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("G%1\tRow %1").arg(row)});
    };
    f.object()->put(QStringLiteral("PagedCount"), int32_t(100));
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("Paged Data"));
    QTRY_VERIFY(!asked.empty());
    QCOMPARE(asked.front().first, int32_t(1));
    QCOMPARE(f.cellText(0, 0), QStringLiteral("G1"));
}

void TestGridCtrl::boundFillAndModeSwitchReleases()
{
    GridOnForm f(QStringLiteral("ctl"), false);
    auto data = std::make_shared<MemoryData>();
    data->records = {{QStringLiteral("A1"), QStringLiteral("Alpha"), 1.5, false},
                     {QStringLiteral("B2"), QStringLiteral("Bravo"), 2.5, true},
                     {QStringLiteral("C3"), QStringLiteral("Charlie"), 3.5, false}};
    f.form.addObject(QStringLiteral("datCustomers"), data, QLatin1String(DataControlClassId));
    f.placeOnForm(QStringLiteral("grdCustomers"));
    f.addColumns();
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("datCustomers"));
    f.control->columns()->at(0)->setDataField(QStringLiteral("ACCOUNT_REF"));
    f.control->columns()->at(1)->setDataField(QStringLiteral("NAME"));
    f.control->columns()->at(2)->setDataField(QStringLiteral("BALANCE"));
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("datCustomers"));
    QVERIFY(f.control->isBound());
    QCOMPARE(f.view().model()->rowCount(), 3);
    QCOMPARE(f.cellText(0, 1), QStringLiteral("Alpha"));
    QCOMPARE(f.cellText(2, 2), QStringLiteral("3.50"));
    QCOMPARE(f.cellText(1, 0), QStringLiteral("Deleted"));
    QCOMPARE(f.cellText(1, 1), QString());
    // Switching the mode lets go of the data control and its rows.
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("Paged Data"));
    QVERIFY(!f.control->isBound());
    QCOMPARE(f.view().model()->rowCount(), 0);
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("datCustomers"));
    QVERIFY(f.control->isBound());
    f.object()->put(QStringLiteral("DataSource"), QStringLiteral("None"));
    QVERIFY(!f.control->isBound());
}

void TestGridCtrl::wrongDataSourceObjectIsRefused()
{
    GridOnForm f;
    expectDataSourceRefused(f, f.control->items());
}

void TestGridCtrl::hitTestOutsideColumnsIsNothing()
{
    GridOnForm f;
    fillRows(f);
    const QRect first = f.view().visualRect(f.view().model()->index(0, 1));
    const QPoint inWindow = f.view().viewport()->mapTo(&f.window(), first.center());
    const ObjectRef cell = f.object()->call(QStringLiteral("HitTest"), {double(inWindow.x() * 15), double(inWindow.y() * 15)})
                               .objectValue();
    QVERIFY(cell);
    QCOMPARE(cell->get(QStringLiteral("Index")), Variant(int16_t(2)));
    const int past = f.view().horizontalHeader()->length() + 40;
    QVERIFY(!f.object()->call(QStringLiteral("HitTest"), {double(past * 15), double(inWindow.y() * 15)}).objectValue());
}

int runGridCtrlTests(int argc, char** argv)
{
    TestGridCtrl t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_gridctrl.moc"
