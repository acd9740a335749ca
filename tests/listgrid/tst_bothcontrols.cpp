// What the list and the grid control share, each case run on both: a stored design
// whose columns are damaged, and what the user does with the keyboard and the mouse
// as the events report it.
#include "ControlFixture.h"

#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/PropertyBag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QTest>

using namespace listgrid;
using automation::Args;
using basic::ObjectRef;
using basic::Variant;
using controlframework::PropertyBag;

namespace {

// Runs `test` on a control of the class the row names.
template <class Test>
void onEither(bool grid, Test&& test)
{
    if (grid) {
        ControlOnForm<CGridCtrl> f(QStringLiteral("ctl"), false);
        test(f);
    } else {
        ControlOnForm<CListCtrl> f(QStringLiteral("ctl"), false);
        test(f);
    }
}

void addClassRows()
{
    QTest::addColumn<bool>("grid");
    QTest::newRow("list") << false;
    QTest::newRow("grid") << true;
}

} // namespace

class TestBothControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedColumnsLeaveAWholeControl_data() { addClassRows(); }
    void damagedColumnsLeaveAWholeControl();
    void emptyDataSourceReadsBackEmpty_data() { addClassRows(); }
    void emptyDataSourceReadsBackEmpty();
    void notifications_data();
    void notifications();
    void mousePointer_data() { addClassRows(); }
    void mousePointer();
    void keyEvents_data();
    void keyEvents();
    void mouseClickReportsTheClickedRow_data();
    void mouseClickReportsTheClickedRow();
};

// The block is refused, once, but the control still gets its window, one default
// column and the properties stored after the block.
void TestBothControls::damagedColumnsLeaveAWholeControl()
{
    QFETCH(bool, grid);
    onEither(grid, [](auto& f) {
        PropertyBag bag;
        {
            std::remove_reference_t<decltype(f)> saved;
            saved.addColumns();
            saved.object()->put(QStringLiteral("OLEDragMode"), int16_t(1));
            bag = saved.site->save();
        }
        QByteArray block = *bag.readBinary(QStringLiteral("Columns"));
        block[12] = char(99); // more columns than the block holds
        bag.writeBinary(QStringLiteral("Columns"), block);
        int refusals = 0;
        try {
            f.placeOnForm(QStringLiteral("ctlDamaged"), &bag);
        } catch (const basic::RuntimeError& e) {
            ++refusals;
            QCOMPARE(e.number(), basic::err::InvalidPropertyValue);
            QVERIFY2(e.description().startsWith(QStringLiteral("The stored \"Columns\" design is damaged")),
                     qPrintable(e.description()));
        }
        QCOMPARE(refusals, 1);
        QVERIFY(f.control->window());
        QCOMPARE(f.control->columns()->count(), 1);
        QCOMPARE(f.view().model()->columnCount(), 1);
        QCOMPARE(f.object()->get(QStringLiteral("OLEDragMode")), Variant(int16_t(1)));
        const ObjectRef item = f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("row")}).objectValue();
        QVERIFY(item);
        QCOMPARE(item->get(QStringLiteral("Text")), Variant(QStringLiteral("row")));
        // Saved again: the one column, and nothing refused the next time.
        const PropertyBag again = f.site->save();
        std::remove_reference_t<decltype(f)> reloaded(QStringLiteral("ctl"), false);
        reloaded.placeOnForm(QStringLiteral("ctlAgain"), &again);
        QCOMPARE(reloaded.control->columns()->count(), 1);
    });
}

void TestBothControls::notifications_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("events");
    QTest::newRow("list, row changes") << false << "row 1"
                                       << "PreItemLostFocus PreSelChange StateChange StateChange PostStateChange SelChange";
    QTest::newRow("list, a click selects") << false << "click row 1"
                                           << "PreItemLostFocus PreSelChange SelChange StateChange StateChange "
                                              "PostStateChange MouseClick";
    QTest::newRow("list, drill-down button") << false << "drill down" << "MouseClick DrillDownButtonClick";
    QTest::newRow("grid, row changes") << true << "row 1"
                                       << "PreItemLostFocus PreItemSelChange PreSelChange ItemSelChange SelChange";
    QTest::newRow("grid, column changes") << true << "column 2"
                                          << "PreColumnSelChange PreSelChange ColumnSelChange SelChange";
    QTest::newRow("grid, drill-down button") << true << "drill down"
                                             << "PreColumnSelChange PreSelChange ColumnSelChange SelChange MouseClick "
                                                "DrillDownButtonClick";
    QTest::newRow("grid, typing, the host refuses") << true << "type" << "ValidateOnChange ValidateOnChange";
    QTest::newRow("grid, the blank last row") << true << "blank row"
                                              << "PreItemLostFocus PreItemSelChange PreSelChange NewItem ItemSelChange "
                                                 "SelChange";
    QTest::newRow("grid, the popup button") << true << "popup button" << "Popup";
}

// What the user does, and the events it raises in their order (the selection and
// editing events only).
void TestBothControls::notifications()
{
    QFETCH(bool, grid);
    QFETCH(QString, action);
    QFETCH(QString, events);
    onEither(grid, [&](auto& f) {
        f.placeOnForm(QStringLiteral("ctl"));
        f.addColumns();
        for (const char* row : {"A\ta\t1", "B\tb\t2", "C\tc\t3"})
            f.control->items()->call(QStringLiteral("Add"), {QString::fromLatin1(row)});
        QAbstractItemModel& model = *f.view().model();
        f.view().setCurrentIndex(model.index(0, 0));
        const auto column = f.control->columns()->at(1);
        if (action == QLatin1String("blank row"))
            f.object()->put(QStringLiteral("AllowBlankLastRow"), true);
        if (action == QLatin1String("popup button"))
            column->setControlType(lstCtlPopup);
        if (action == QLatin1String("drill down"))
            column->put(QStringLiteral("AllowDrillDown"), true);
        f.onEvent = [](const QString& event, Args& args) {
            if (event == QLatin1String("ValidateOnChange"))
                args.at(2) = Variant(true);
        };
        f.raised.clear();
        const auto editorOf = [&](const QModelIndex& cell) {
            f.view().setCurrentIndex(cell);
            f.view().edit(cell);
            return qobject_cast<QLineEdit*>(f.view().indexWidget(cell));
        };
        if (action == QLatin1String("row 1")) {
            f.view().setCurrentIndex(model.index(1, 0));
        } else if (action == QLatin1String("column 2")) {
            f.view().setCurrentIndex(model.index(0, 1));
        } else if (action == QLatin1String("click row 1")) {
            QTest::mouseClick(f.view().viewport(), Qt::LeftButton, {}, f.view().visualRect(model.index(1, 0)).center());
        } else if (action == QLatin1String("drill down")) {
            const QRect cell = f.view().visualRect(model.index(0, 1));
            QTest::mouseClick(f.view().viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 2, cell.center().y()));
        } else if (action == QLatin1String("type")) {
            QLineEdit* editor = editorOf(model.index(0, 1));
            QVERIFY(editor);
            f.raised.clear();
            QTest::keyClicks(editor, QStringLiteral("xy"));
            QCOMPARE(editor->text(), QStringLiteral("a")); // each change refused
        } else if (action == QLatin1String("blank row")) {
            QCOMPARE(model.rowCount(), 4);
            QLineEdit* editor = editorOf(model.index(3, 1));
            QVERIFY(editor);
            editor->setText(QStringLiteral("new"));
            f.raised.clear();
            f.view().setCurrentIndex(model.index(0, 1));
            QCOMPARE(f.control->items()->get(QStringLiteral("Count")), Variant(int32_t(4)));
            QCOMPARE(model.rowCount(), 5); // a blank row again below the new one
            QCOMPARE(f.cellText(3, 1), QStringLiteral("new"));
        } else if (action == QLatin1String("popup button")) {
            QLineEdit* editor = editorOf(model.index(0, 1));
            QVERIFY(editor);
            auto* button = editor->findChild<QToolButton*>();
            QVERIFY(button && button->isVisible());
            f.raised.clear();
            button->click();
            QTRY_COMPARE(f.count(QStringLiteral("Popup")), 1);
        }
        static const QStringList shown{
            "PreItemLostFocus", "PreSelChange", "PreItemSelChange", "PreColumnSelChange", "SelChange", "ItemSelChange",
            "ColumnSelChange", "StateChange", "PostStateChange", "MouseClick", "DrillDownButtonClick",
            "ValidateOnChange", "NewItem", "Popup"};
        QStringList seen;
        for (const auto& r : f.raised)
            if (shown.contains(r.name))
                seen << r.name;
        QCOMPARE(seen.join(QLatin1Char(' ')), events);
    });
}

void TestBothControls::emptyDataSourceReadsBackEmpty()
{
    QFETCH(bool, grid);
    onEither(grid, [](auto& f) {
        f.placeOnForm(QStringLiteral("ctl"));
        f.object()->put(QStringLiteral("DataSource"), QString());
        QCOMPARE(f.object()->get(QStringLiteral("DataSource")), Variant(QString()));
        QVERIFY(!f.control->isBound());
    });
}

// 1 (the initial value) is the ordinary pointer, 0 the busy one, and a later
// value takes the busy pointer away again.
void TestBothControls::mousePointer()
{
    QFETCH(bool, grid);
    onEither(grid, [](auto& f) {
        f.placeOnForm(QStringLiteral("ctl"));
        const auto busy = [&] {
            return (f.window().testAttribute(Qt::WA_SetCursor) && f.window().cursor().shape() == Qt::WaitCursor) ||
                   (f.control->widget()->testAttribute(Qt::WA_SetCursor) &&
                    f.control->widget()->cursor().shape() == Qt::WaitCursor);
        };
        QCOMPARE(f.object()->get(QStringLiteral("MousePointer")), Variant(int32_t(1)));
        f.object()->put(QStringLiteral("MousePointer"), int32_t(1));
        QVERIFY(!busy());
        f.object()->put(QStringLiteral("MousePointer"), int32_t(0));
        QVERIFY(busy());
        f.object()->put(QStringLiteral("MousePointer"), int32_t(1));
        QVERIFY(!busy());
    });
}

void TestBothControls::keyEvents_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("events");
    struct Key
    {
        const char* name;
        int key;
        int modifiers;
        const char* text;
        const char* events;
    };
    const Key keys[] = {
        {"F1", Qt::Key_F1, 0, "", "KeyDown 112 0|KeyUp 112 0"},
        {"Delete", Qt::Key_Delete, 0, "", "KeyDown 46 0|KeyUp 46 0"},
        {"Home", Qt::Key_Home, 0, "", "KeyDown 36 0|KeyUp 36 0"},
        {"PageDown", Qt::Key_PageDown, 0, "", "KeyDown 34 0|KeyUp 34 0"},
        {"Insert", Qt::Key_Insert, 0, "", "KeyDown 45 0|KeyUp 45 0"},
        {"Shift", Qt::Key_Shift, 0, "", "KeyDown 16 1|KeyUp 16 1"},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", "KeyDown 9 1|KeyUp 9 1"},
        {"Backspace", Qt::Key_Backspace, 0, "\b", "KeyDown 8 0|KeyPress 8|KeyUp 8 0"},
        {"Escape", Qt::Key_Escape, 0, "\x1b", "KeyDown 27 0|KeyPress 27|KeyUp 27 0"},
        {"Enter", Qt::Key_Return, 0, "\r", "KeyDown 13 0|KeyPress 13|KeyUp 13 0"},
        {"letter", Qt::Key_K, 0, "k", "KeyDown 75 0|KeyPress 107|KeyUp 75 0"},
        {"Ctrl+digit", Qt::Key_7, Qt::ControlModifier, "", "KeyDown 55 2|KeyUp 55 2"},
    };
    for (const bool grid : {false, true})
        for (const Key& k : keys)
            QTest::addRow("%s %s", grid ? "grid" : "list", k.name)
                << grid << k.key << k.modifiers << QString::fromLatin1(k.text) << QString::fromLatin1(k.events);
}

// One key, pressed and let go on the rows: each event once, with the key's code.
void TestBothControls::keyEvents()
{
    QFETCH(bool, grid);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, events);
    onEither(grid, [&](auto& f) {
        f.placeOnForm(QStringLiteral("ctl"));
        f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("row")});
        f.raised.clear();
        const auto mods = Qt::KeyboardModifiers(modifiers);
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(&f.view(), &press);
        QApplication::sendEvent(&f.view(), &release);
        QStringList seen;
        for (const auto& r : f.raised)
            if (r.name.startsWith(QLatin1String("Key"))) {
                QStringList parts{r.name};
                for (const Variant& a : r.args)
                    parts << basic::CStr(a);
                seen << parts.join(QLatin1Char(' '));
            }
        QCOMPARE(seen.join(QLatin1Char('|')), events);
    });
}

void TestBothControls::mouseClickReportsTheClickedRow_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("button");
    QTest::newRow("list, left") << false << int(Qt::LeftButton);
    QTest::newRow("list, right") << false << int(Qt::RightButton);
    QTest::newRow("grid, left") << true << int(Qt::LeftButton);
    QTest::newRow("grid, right") << true << int(Qt::RightButton);
}

void TestBothControls::mouseClickReportsTheClickedRow()
{
    QFETCH(bool, grid);
    QFETCH(int, button);
    onEither(grid, [&](auto& f) {
        f.placeOnForm(QStringLiteral("ctl"));
        f.addColumns();
        for (const char* row : {"A\ta\t1", "B\tb\t2", "C\tc\t3"})
            f.control->items()->call(QStringLiteral("Add"), {QString::fromLatin1(row)});
        f.view().setCurrentIndex(f.view().model()->index(0, 0));
        QString clicked;
        f.onEvent = [&](const QString& event, Args& args) {
            if (event != QLatin1String("MouseClick"))
                return;
            const ObjectRef target = args.at(2).objectValue();
            clicked = basic::CStr(args.at(0)) + QLatin1Char(' ') +
                      basic::CStr(grid ? target->get(QStringLiteral("Value")) : target->get(QStringLiteral("Text")));
        };
        const QRect cell = f.view().visualRect(f.view().model()->index(2, 1));
        QTest::mouseClick(f.view().viewport(), Qt::MouseButton(button), {}, cell.center());
        const QString buttonNumber = button == Qt::LeftButton ? QStringLiteral("1") : QStringLiteral("2");
        QCOMPARE(clicked, buttonNumber + (grid ? QStringLiteral(" c") : QStringLiteral(" C\tc\t3")));
    });
}

int runBothControlsTests(int argc, char** argv)
{
    TestBothControls t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_bothcontrols.moc"
