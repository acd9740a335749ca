// The combo-box column's object (Column.Control): its members on the grid's editor,
// the editor the cell is edited with, and what it does without a live editor.
#include "ControlFixture.h"

#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"

#include <QComboBox>
#include <QTest>

using namespace listgrid;
using automation::Args;
using basic::ObjectRef;
using basic::Variant;

namespace {

using GridOnForm = ControlOnForm<CGridCtrl>;
using ListOnForm = ControlOnForm<CListCtrl>;

// A grid with a "Code" column and a combo-box column of `dataType`.
std::shared_ptr<CColumn> comboColumn(GridOnForm& f, int16_t dataType)
{
    auto cols = f.control->columns();
    cols->clear();
    cols->add(Variant::missing(), QStringLiteral("Code"), QStringLiteral("Code"), int16_t(8));
    const auto combo = cols->add(Variant::missing(), QStringLiteral("Paid"), QStringLiteral("Paid"), int16_t(8));
    combo->setDataType(dataType);
    combo->setControlType(lstCtlComboBox);
    return combo;
}

QStringList entries(const ObjectRef& control)
{
    QStringList texts;
    const int32_t count = control->get(QStringLiteral("Count")).intValue();
    for (int32_t i = 0; i < count; ++i)
        texts << control->call(QStringLiteral("Item"), {i}).stringValue();
    return texts;
}

} // namespace

class TestComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitColumnOffersNoAndYes();
    void membersChangeTheEditorsEntries();
    void onlyComboBoxColumnsHaveOne();
    void withoutALiveEditorNothingHappens();
    void theCellIsEditedWithTheseEntries();
    void screenshot();
};

void TestComboBox::bitColumnOffersNoAndYes()
{
    GridOnForm f;
    const auto column = comboColumn(f, lstDataBit);
    const ObjectRef control = column->get(QStringLiteral("Control")).objectValue();
    QVERIFY(control);
    QCOMPARE(control->get(QStringLiteral("Count")), Variant(int32_t(2)));
    QCOMPARE(control->call(QStringLiteral("Item"), {int32_t(0)}), Variant(QStringLiteral("No")));
    QCOMPARE(entries(control), (QStringList{"No", "Yes"}));
    // The same object on each request.
    QCOMPARE(column->get(QStringLiteral("Control")).objectValue(), control);
    // A string column of the same kind starts empty.
    const auto names = f.control->columns()->add(Variant::missing(), QStringLiteral("Kind"), QStringLiteral("Kind"),
                                                 int16_t(8));
    names->setControlType(lstCtlComboBox);
    QCOMPARE(names->get(QStringLiteral("Control")).objectValue()->get(QStringLiteral("Count")), Variant(int32_t(0)));
}

void TestComboBox::membersChangeTheEditorsEntries()
{
    GridOnForm f;
    const ObjectRef control = comboColumn(f, lstDataString)->get(QStringLiteral("Control")).objectValue();
    QCOMPARE(control->get(QStringLiteral("Index")), Variant(int32_t(-1)));
    for (const char* text : {"Invoice", "Credit note", "Order"})
        control->call(QStringLiteral("Add"), {QString::fromLatin1(text)});
    QCOMPARE(entries(control), (QStringList{"Invoice", "Credit note", "Order"}));
    control->put(QStringLiteral("Index"), int32_t(2));
    QCOMPARE(control->get(QStringLiteral("Index")), Variant(int32_t(2)));
    QCOMPARE(control->call(QStringLiteral("Item"), {int32_t(3)}), Variant(QString()));
    QCOMPARE(control->call(QStringLiteral("Item"), {int32_t(-1)}), Variant(QString()));
    control->call(QStringLiteral("Remove"), {int32_t(0)});
    control->call(QStringLiteral("Remove"), {int32_t(7)});
    QCOMPARE(entries(control), (QStringList{"Credit note", "Order"}));
    control->put(QStringLiteral("Index"), int32_t(-1));
    QCOMPARE(control->get(QStringLiteral("Index")), Variant(int32_t(-1)));
    control->call(QStringLiteral("Clear"));
    QCOMPARE(control->get(QStringLiteral("Count")), Variant(int32_t(0)));
}

void TestComboBox::onlyComboBoxColumnsHaveOne()
{
    GridOnForm f;
    f.addColumns();
    const auto code = f.control->columns()->at(0);
    QVERIFY(code->get(QStringLiteral("Control")).isObject());
    QVERIFY(!code->get(QStringLiteral("Control")).objectValue());
    // A column that becomes a combo box has one from then on; turned back, none.
    code->setControlType(lstCtlComboBox);
    QVERIFY(code->get(QStringLiteral("Control")).objectValue());
    code->setControlType(lstCtlEdit);
    QVERIFY(!code->get(QStringLiteral("Control")).objectValue());
}

void TestComboBox::withoutALiveEditorNothingHappens()
{
    // The list has no editors: the object is there, but holds nothing.
    ListOnForm list;
    const auto column = list.control->columns()->at(0);
    column->setControlType(lstCtlComboBox);
    const ObjectRef none = column->get(QStringLiteral("Control")).objectValue();
    none->call(QStringLiteral("Add"), {QStringLiteral("lost")});
    QCOMPARE(none->get(QStringLiteral("Count")), Variant(int32_t(0)));
    QCOMPARE(none->get(QStringLiteral("Index")), Variant(int32_t(0)));
    QCOMPARE(none->call(QStringLiteral("Item"), {int32_t(0)}), Variant(QString()));

    // A grid column's object kept after the column (and its editor) went.
    GridOnForm f;
    const ObjectRef kept = comboColumn(f, lstDataBit)->get(QStringLiteral("Control")).objectValue();
    f.control->columns()->remove(int32_t(2));
    QCOMPARE(kept->get(QStringLiteral("Count")), Variant(int32_t(0)));
    kept->call(QStringLiteral("Add"), {QStringLiteral("gone")});
    kept->call(QStringLiteral("Clear"));
    QCOMPARE(kept->call(QStringLiteral("Item"), {int32_t(0)}), Variant(QString()));
}

void TestComboBox::theCellIsEditedWithTheseEntries()
{
    GridOnForm f;
    comboColumn(f, lstDataBit);
    f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("A1\tNo")});
    const QModelIndex cell = f.view().model()->index(0, 1);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    auto* editor = qobject_cast<QComboBox*>(f.view().indexWidget(cell));
    QVERIFY(editor);
    QCOMPARE(editor->count(), 2);
    QCOMPARE(editor->itemText(1), QStringLiteral("Yes"));
    // The user picks "Yes": the grid tells its host which entry.
    editor->setCurrentIndex(1);
    Q_EMIT editor->activated(1);
    QCOMPARE(f.count(QStringLiteral("ComboboxSelChange")), 1);
    QCOMPARE(f.raised.back().args.at(0), Variant(int32_t(1)));
    // Leaving the cell keeps the value and the editor's entries.
    f.view().setCurrentIndex(f.view().model()->index(0, 0));
    QCOMPARE(f.cellText(0, 1), QStringLiteral("Yes"));
    QCOMPARE(entries(f.control->columns()->at(1)->get(QStringLiteral("Control")).objectValue()),
             (QStringList{"No", "Yes"}));
    // Only the entries can be picked; a value that is none of them stays until one is.
    f.control->items()->call(QStringLiteral("Add"), {QStringLiteral("A2\tUnknown")});
    const QModelIndex other = f.view().model()->index(1, 1);
    f.view().setCurrentIndex(other);
    f.view().edit(other);
    editor = qobject_cast<QComboBox*>(f.view().indexWidget(other));
    QVERIFY(editor && !editor->isEditable());
    QCOMPARE(editor->currentIndex(), -1);
    f.view().setCurrentIndex(f.view().model()->index(1, 0));
    QCOMPARE(f.cellText(1, 1), QStringLiteral("Unknown"));
}

void TestComboBox::screenshot()
{
    const QString folder = qEnvironmentVariable("QUILLAR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("QUILLAR_SCREENSHOT_DIR is not set");
    GridOnForm f;
    const auto paid = comboColumn(f, lstDataBit);
    f.control->columns()->at(0)->setCaption(QStringLiteral("Invoice"));
    f.control->columns()->at(0)->setWidth(11);
    const auto kind = f.control->columns()->add(Variant::missing(), QStringLiteral("Kind"), QStringLiteral("Kind"),
                                                int16_t(17));
    kind->setControlType(lstCtlComboBox);
    const ObjectRef kinds = kind->get(QStringLiteral("Control")).objectValue();
    for (const char* text : {"Invoice", "Credit note", "Sales order"})
        kinds->call(QStringLiteral("Add"), {QString::fromLatin1(text)});
    for (const char* row : {"INV0101	Yes	Invoice", "INV0102	No	Credit note", "INV0103	No	Sales order"})
        f.control->items()->call(QStringLiteral("Add"), {QString::fromLatin1(row)});
    const QModelIndex cell = f.view().model()->index(1, 2);
    f.view().setCurrentIndex(cell);
    f.view().edit(cell);
    f.form.resize(460, 200);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QTest::qWait(50);
    QVERIFY(f.form.grab().save(folder + "/gridcombobox.png"));
}

int runComboBoxTests(int argc, char** argv)
{
    TestComboBox t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_combobox.moc"
