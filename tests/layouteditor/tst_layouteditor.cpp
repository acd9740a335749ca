// The layout editor driven as a user drives it: double-clicks on its boxes and
// lists, its buttons, the message boxes answered by script, and the layout files
// it writes read back by the import's own reader.
#include "tests/layouteditor/EditorFixture.h"

#include "app/import/LayoutFiles.h"
#include "app/import/LayoutSlots.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/LayoutPairWrite.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

using namespace layouteditor;
using importer::LayoutFiles;

namespace {

const QString Title = QStringLiteral("Quillar - File Structure");
const QString Settlement = QStringLiteral("Quillar-File Structure");

QString line(const QString& title, const QString& text)
{
    return title + QLatin1Char('|') + text;
}

QLineEdit* field(int i)
{
    return qobject_cast<QLineEdit*>(EditorFixture::child(qPrintable(QStringLiteral("TxtField_%1").arg(i))));
}
QLineEdit* index(int i)
{
    return qobject_cast<QLineEdit*>(EditorFixture::child(qPrintable(QStringLiteral("TxtIndex_%1").arg(i))));
}
QListWidget* list(const char* name)
{
    return qobject_cast<QListWidget*>(EditorFixture::child(name));
}

void click(const char* button)
{
    QTest::mouseClick(qobject_cast<QPushButton*>(EditorFixture::child(button)), Qt::LeftButton);
}

QStringList boxes()
{
    QStringList texts;
    for (int i = 1; i <= 54; ++i)
        texts << EditorFixture::editor().TxtField(i);
    return texts;
}
QStringList groupBoxes()
{
    QStringList texts;
    for (int i = 1; i <= 4; ++i)
        texts << EditorFixture::editor().TxtIndex(i);
    return texts;
}

// The plainest layout every check passes: an invoice import grouped by customer.
const QStringList Valid = {QStringLiteral("Transaction Type"), QStringLiteral("Account Reference"),
                           QStringLiteral("Transaction Date"), QStringLiteral("Product Code"),
                           QStringLiteral("Quantity"),         QStringLiteral("Unit Price")};
const QStringList ByAccount = {QStringLiteral("Account Reference")};

QStringList with(QStringList titles, const QStringList& more)
{
    return titles << more;
}
QStringList without(QStringList titles, const QString& title)
{
    titles.removeAll(title);
    return titles;
}

void writeLayout(const EditorFixture& f, const QStringList& columns, const QStringList& groups,
                 const QString& prefix = {})
{
    writeLines(f.path(prefix + QStringLiteral("qfm.cfg")), columnLines(columns));
    writeLines(f.path(prefix + QStringLiteral("qfm2.cfg")), groupLines(groups));
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestLayoutEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caption()
    {
        EditorFixture f;
        FrmFileStructure& form = EditorFixture::editor();
        QCOMPARE(form.windowTitle(), QStringLiteral("CSV file Structure & Grouping"));
        QCOMPARE(qobject_cast<QPushButton*>(EditorFixture::child("btnSave"))->toolTip(),
                 QStringLiteral("Save Settings"));
        QCOMPARE(qobject_cast<QPushButton*>(EditorFixture::child("CmdStore"))->text(),
                 QStringLiteral("Store To &File"));
        QCOMPARE(field(1)->toolTip(), QStringLiteral("Double Click to select fields"));
        QCOMPARE(index(4)->toolTip(), QStringLiteral("Double Click to select fields"));
        EditorFixture::shownEditor();
        QVERIFY(field(52)->isVisible());
        QVERIFY(!field(53)->isVisible());
        QVERIFY(!field(54)->isVisible());
        QVERIFY(!list("LstVorlenFields")->isVisible());
        QVERIFY(!list("LstVorlenFields2")->isVisible());
        QCOMPARE(form.CurrentBoxIndex(), 0);
    }

    void offeredLists_data()
    {
        QTest::addColumn<int>("sop");
        QTest::addColumn<int>("cash");
        QTest::addColumn<int>("transNo");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("notOffered");
        QTest::addColumn<QStringList>("groupOffered");
        QTest::addColumn<QStringList>("groupNotOffered");
        const QString tt = QStringLiteral("Transaction Type"), ddd = QStringLiteral("Despatch Due Date"),
                      pv = QStringLiteral("Payment Value"), tn = QStringLiteral("Transaction No");
        QTest::addRow("invoices") << 0 << 0 << 0 << QStringList{tt, pv} << QStringList{ddd, tn}
                                  << QStringList{tt} << QStringList{tn, pv};
        QTest::addRow("sales orders")
            << 1 << 0 << 0 << QStringList{ddd, pv} << QStringList{tt, tn} << QStringList{} << QStringList{tt};
        QTest::addRow("cash with invoice")
            << 0 << 1 << 0 << QStringList{tt} << QStringList{pv} << QStringList{tt} << QStringList{};
        QTest::addRow("transaction no from file")
            << 0 << 0 << 1 << QStringList{tn} << QStringList{} << QStringList{tn} << QStringList{};
        QTest::addRow("grey cash box offers no payment")
            << 0 << 2 << 2 << QStringList{} << QStringList{pv, tn} << QStringList{} << QStringList{tn};
    }
    void offeredLists()
    {
        QFETCH(int, sop);
        QFETCH(int, cash);
        QFETCH(int, transNo);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, notOffered);
        QFETCH(QStringList, groupOffered);
        QFETCH(QStringList, groupNotOffered);
        EditorFixture f;
        f.options().importToSop = int16_t(sop);
        f.options().cashWithInvoice = cash;
        f.options().importTransNo = transNo;
        const QStringList columns = EditorFixture::entries("LstVorlenFields");
        const QStringList groups = EditorFixture::entries("LstVorlenFields2");
        for (const QString& t : offered)
            QVERIFY2(columns.contains(t), qPrintable(t));
        for (const QString& t : notOffered)
            QVERIFY2(!columns.contains(t), qPrintable(t));
        for (const QString& t : groupOffered)
            QVERIFY2(groups.contains(t), qPrintable(t));
        for (const QString& t : groupNotOffered)
            QVERIFY2(!groups.contains(t), qPrintable(t));
        QCOMPARE(columns.first(), QStringLiteral("Account Reference"));
        QVERIFY(columns.size() <= 51);
        QVERIFY(!columns.contains(QStringLiteral("Net Value Discount Amount")));
    }

    void offeredOrder()
    {
        EditorFixture f;
        f.options().importTransNo = 1;
        const QStringList columns = EditorFixture::entries("LstVorlenFields");
        QCOMPARE(columns.size(), 51);
        QCOMPARE(columns.mid(0, 4),
                 (QStringList{"Account Reference", "Transaction Type", "Transaction Date", "Order Number"}));
        QCOMPARE(columns.mid(columns.indexOf("Global-Tax Code"), 2),
                 (QStringList{"Global-Tax Code", "Settlement Discount Rate"}));
        QCOMPARE(columns.mid(48), (QStringList{"Bank Account", "Payment Value", "Transaction No"}));
        QCOMPARE(EditorFixture::entries("LstVorlenFields2"), (QStringList{"Account Reference",
                                                                          "Transaction Type",
                                                                          "Transaction Date",
                                                                          "Order Number",
                                                                          "Notes 1",
                                                                          "Notes 2",
                                                                          "Notes 3",
                                                                          "Product Code",
                                                                          "Comment 1",
                                                                          "Comment 2",
                                                                          "Details Line 1",
                                                                          "Details Line 2",
                                                                          "Details Line 3",
                                                                          "Details Line 4",
                                                                          "Details Line 5",
                                                                          "Delivery Address Name",
                                                                          "Delivery Address 1",
                                                                          "Delivery Address 2",
                                                                          "Delivery Address 3",
                                                                          "Delivery Address 4",
                                                                          "Delivery Address 5",
                                                                          "Transaction No",
                                                                          "Customer Order Number",
                                                                          "Consignment Reference"}));
    }

    void loadShowsFilesAsRead()
    {
        EditorFixture f;
        QStringList columns = columnLines({});
        columns[1] = "Unknown Title";
        columns[2] = "Transaction Date";
        columns[3] = "Quantity";
        columns[8] = "Quantity";
        writeLines(f.path("qfm.cfg"), columns);
        writeLines(f.path("qfm2.cfg"), {"Order Number", "", "", ""});
        QCOMPARE(boxes(), columns);
        QCOMPARE(groupBoxes(), (QStringList{"Order Number", "", "", ""}));
        const QStringList offered = EditorFixture::entries("LstVorlenFields");
        QVERIFY(!offered.contains("Quantity"));
        QVERIFY(!offered.contains("Transaction Date"));
        QVERIFY(offered.contains("Order Number"));
        QVERIFY(!EditorFixture::entries("LstVorlenFields2").contains("Order Number"));
        QVERIFY(f.shown().isEmpty());
    }

    void loadCreatesMissingFiles()
    {
        EditorFixture f;
        EditorFixture::editor();
        QVERIFY(QFile::exists(f.path("qfm.cfg")));
        QCOMPARE(QFileInfo(f.path("qfm2.cfg")).size(), 0);
        QCOMPARE(boxes(), columnLines({}));
        QVERIFY(f.shown().isEmpty());
    }

    void loadErrors_data()
    {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<bool>("staysLoaded");
        QTest::addRow("column file unreadable") << "qfm.cfg" << true;
        QTest::addRow("grouping file unreadable") << "qfm2.cfg" << false;
    }
    void loadErrors()
    {
        QFETCH(QString, folderName);
        QFETCH(bool, staysLoaded);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        QFile::remove(f.path(folderName));
        QDir().mkdir(f.path(folderName));
        EditorFixture::editor();
        QCOMPARE(f.shown(), QStringList{line(Title, "An error has occurred, error number 75")});
        QCOMPARE(EditorFixture::editorLoaded(), staysLoaded);
    }

    // The settings form's Save reads the boxes through the default instance.
    void fieldBoxesThroughDefaultInstance()
    {
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        QVERIFY(!EditorFixture::editorLoaded());
        QCOMPARE(forms::DefaultInstance<FrmFileStructure>::get().TxtField(3),
                 QStringLiteral("Transaction Date"));
        QVERIFY(!EditorFixture::editor().isVisible());
        QCOMPARE(EditorFixture::editor().TxtField(54), QString());
        QCOMPARE(EditorFixture::editor().TxtField(55), QString());
    }

    void doubleClickMovesTitleIntoBox()
    {
        EditorFixture f;
        QVERIFY(EditorFixture::pickColumn(5, "Quantity"));
        QCOMPARE(field(5)->text(), QStringLiteral("Quantity"));
        QVERIFY(!EditorFixture::entries("LstVorlenFields").contains("Quantity"));
        QVERIFY(!list("LstVorlenFields")->isVisible());
        QCOMPARE(EditorFixture::editor().CurrentBoxIndex(), 5);

        // Double-clicking the box again puts the title back at the end of the list.
        EditorFixture::doubleClick(field(5));
        QVERIFY(list("LstVorlenFields")->isVisible());
        QCOMPARE(field(5)->text(), QString());
        QCOMPARE(EditorFixture::entries("LstVorlenFields").last(), QStringLiteral("Quantity"));
    }

    void clearedTitleGoesBack_data()
    {
        QTest::addColumn<int>("sop");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("back");
        QTest::addRow("invoices keep Transaction Type") << 0 << "Transaction Type" << true;
        QTest::addRow("sales orders drop Transaction Type") << 1 << "Transaction Type" << false;
        QTest::addRow("invoices drop Despatch Due Date") << 0 << "Despatch Due Date" << false;
        QTest::addRow("sales orders keep Despatch Due Date") << 1 << "Despatch Due Date" << true;
        QTest::addRow("a title the list did not offer goes back") << 0 << "Transaction No" << true;
    }
    void clearedTitleGoesBack()
    {
        QFETCH(int, sop);
        QFETCH(QString, title);
        QFETCH(bool, back);
        EditorFixture f;
        f.options().importToSop = int16_t(sop);
        writeLayout(f, {"", "", "", "", title}, {});
        EditorFixture::shownEditor();
        QVERIFY(!EditorFixture::entries("LstVorlenFields").contains(title));
        EditorFixture::doubleClick(field(5));
        QCOMPARE(field(5)->text(), QString());
        QCOMPARE(EditorFixture::entries("LstVorlenFields").contains(title), back);
    }

    void groupingTakesOnlyColumnTitles()
    {
        EditorFixture f;
        QVERIFY(EditorFixture::pickGroup(1, "Order Number"));
        QCOMPARE(f.shown(), QStringList{line(Title, "That item has not been selected for import")});
        QCOMPARE(index(1)->text(), QString());
        QVERIFY(EditorFixture::entries("LstVorlenFields2").contains("Order Number"));
        QVERIFY(!list("LstVorlenFields2")->isVisible());

        QVERIFY(EditorFixture::pickColumn(9, "Order Number"));
        QVERIFY(EditorFixture::pickGroup(1, "Order Number"));
        QCOMPARE(index(1)->text(), QStringLiteral("Order Number"));
        QVERIFY(!EditorFixture::entries("LstVorlenFields2").contains("Order Number"));
        QCOMPARE(f.shown().size(), 1);

        // Clearing the grouping box puts the title back in the grouping list.
        EditorFixture::doubleClick(index(1));
        QCOMPARE(index(1)->text(), QString());
        QCOMPARE(EditorFixture::entries("LstVorlenFields2").last(), QStringLiteral("Order Number"));
    }

    void lastBoxDoubleClickedDecides()
    {
        EditorFixture f;
        EditorFixture::shownEditor();
        EditorFixture::doubleClick(field(7));
        EditorFixture::doubleClick(index(2));
        QVERIFY(EditorFixture::doubleClickEntry("LstVorlenFields", "Notes 1"));
        QCOMPARE(field(2)->text(), QStringLiteral("Notes 1"));
        QCOMPARE(field(7)->text(), QString());
    }

    // A column box double-clicked last names no grouping box: the entry stays.
    void groupingEntryAfterColumnBoxChangesNothing()
    {
        EditorFixture f;
        writeLayout(f, Valid, {});
        EditorFixture::shownEditor();
        EditorFixture::doubleClick(index(1));
        EditorFixture::doubleClick(field(30));
        QVERIFY(EditorFixture::doubleClickEntry("LstVorlenFields2", "Account Reference"));
        QCOMPARE(groupBoxes(), (QStringList{"", "", "", ""}));
        QVERIFY(EditorFixture::entries("LstVorlenFields2").contains("Account Reference"));
        QVERIFY(f.shown().isEmpty());
    }

    void savedLayoutIsWhatTheImportReads()
    {
        EditorFixture f;
        const QStringList picks = {"Transaction Type",
                                   "Account Reference",
                                   "Transaction Date",
                                   "Product Code",
                                   "Quantity",
                                   "Unit Price",
                                   "",
                                   "Order Number"};
        for (int i = 0; i < picks.size(); ++i) {
            if (!picks[i].isEmpty())
                QVERIFY2(EditorFixture::pickColumn(i + 1, picks[i]), qPrintable(picks[i]));
        }
        QVERIFY(EditorFixture::pickGroup(1, "Account Reference"));
        QVERIFY(EditorFixture::pickGroup(2, "Order Number"));
        click("btnSave");
        QCOMPARE(f.shown(), QStringList{});
        QVERIFY(!EditorFixture::editorLoaded());

        QCOMPARE(readLines(f.path("qfm.cfg")), columnLines(picks));
        QCOMPARE(readLines(f.path("qfm2.cfg")), (QStringList{"Account Reference", "Order Number", "", ""}));
        const importer::ImportLayout layout = LayoutFiles::readColumnLayout(f.folder() + "\\qfm.cfg");
        namespace slot = importer::slot;
        QCOMPARE(layout.colPos[slot::TransactionType], 1);
        QCOMPARE(layout.colPos[slot::AccountReference], 2);
        QCOMPARE(layout.colPos[slot::TransactionDate], 3);
        QCOMPARE(layout.colPos[slot::ProductCode], 4);
        QCOMPARE(layout.colPos[slot::Quantity], 5);
        QCOMPARE(layout.colPos[slot::UnitPrice], 6);
        QCOMPARE(layout.colPos[slot::OrderNumber], 8);
        QCOMPARE(layout.lastCol, 8);
        const auto groups = LayoutFiles::readGroupTitles(f.folder() + "\\qfm2.cfg");
        QVERIFY(groups);
        QCOMPARE(LayoutFiles::buildGroupSpec(*groups, layout.colPos), QStringLiteral("2+8"));
        QCOMPARE(filesIn(f.folder()), (QStringList{"qfm.cfg", "qfm2.cfg"}));
    }

    // Each of Save's checks alone, in a layout that passes every other one.
    void saveChecks_data()
    {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QList<int>>("options"); // ImportToSop, cash with invoice, transaction no
        QTest::addColumn<QString>("settlementSetting");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("saved");
        const QList<int> invoices{0, 0, 0};
        const QString mandatory = line(Title, "Not all mandatory fields have been selected");
        const QString dateQuestion = line(Title, "Confirm taking system date as transaction date");
        const QString settlementQuestion = line(
            Settlement, "You have selected Settlement Options, however you have also selected Settlement "
                        "Discount from settings. Any values supplied in the import file will override the "
                        "values in Vorlen. Do you wish to continue?");
        const QStringList settlement = with(Valid, {"Settlement Discount Rate", "Settlement Due Days"});

        QTest::addRow("valid") << Valid << ByAccount << invoices << "0" << QList<int>{} << QStringList{}
                               << true;
        QTest::addRow("1 grouping title not a column")
            << Valid << QStringList{"Account Reference", "Order Number"} << invoices << "0" << QList<int>{}
            << QStringList{line(Title, "Index fields are invalid - please reselect")} << false;
        QTest::addRow("1 grouping title must match exactly")
            << Valid << QStringList{"\" Account Reference\""} << invoices << "0" << QList<int>{}
            << QStringList{line(Title, "Index fields are invalid - please reselect")} << false;
        QTest::addRow("1 no grouping title")
            << Valid << QStringList{} << invoices << "0" << QList<int>{}
            << QStringList{line(Title, "At least one index field must be selected")} << false;
        QTest::addRow("3 no date, system date taken")
            << without(Valid, "Transaction Date") << ByAccount << invoices << "0"
            << QList<int>{forms::AnswerYes} << QStringList{dateQuestion} << true;
        QTest::addRow("3 no date, refused")
            << without(Valid, "Transaction Date") << ByAccount << invoices << "0"
            << QList<int>{forms::AnswerNo} << QStringList{dateQuestion, mandatory} << false;
        QTest::addRow("4 discount without due days")
            << with(Valid, {"Settlement Discount Rate"}) << ByAccount << invoices << "0" << QList<int>{}
            << QStringList{line(Settlement, "Cannot have Settlement Discount without Settlement Due Days")}
            << false;
        QTest::addRow("4 due days without discount")
            << with(Valid, {"Settlement Due Days"}) << ByAccount << invoices << "0" << QList<int>{}
            << QStringList{line(Settlement, "Cannot have Settlement Due Days without Settlement Discount")}
            << false;
        QTest::addRow("5 settlement also in settings, go on")
            << settlement << ByAccount << invoices << "1" << QList<int>{forms::AnswerYes}
            << QStringList{settlementQuestion} << true;
        QTest::addRow("5 settlement also in settings, stop")
            << settlement << ByAccount << invoices << "1" << QList<int>{forms::AnswerNo}
            << QStringList{settlementQuestion} << false;
        QTest::addRow("5 settlement setting off asks nothing")
            << settlement << ByAccount << invoices << "0" << QList<int>{} << QStringList{} << true;
        QTest::addRow("6 transaction no ticked but absent")
            << Valid << ByAccount << QList<int>{0, 0, 1} << "0" << QList<int>{}
            << QStringList{line(Title, "Import Transaction no is ticked, must select transaction.")} << false;
        QTest::addRow("6 transaction no present but not ticked")
            << with(Valid, {"Transaction No"}) << ByAccount << invoices << "0" << QList<int>{}
            << QStringList{line(
                   Title, "Import Transaction no is not selected in options, Cannot import transaction no.")}
            << false;
        QTest::addRow("6 grey transaction no box passes")
            << with(Valid, {"Transaction No"}) << ByAccount << QList<int>{0, 0, 2} << "0" << QList<int>{}
            << QStringList{} << true;
        QTest::addRow("7 transaction type in a sales-order import")
            << Valid << ByAccount << QList<int>{1, 0, 0} << "0" << QList<int>{}
            << QStringList{line(Title, "Transaction Type Not Allowed In SOP Inport. Remove And Try again")}
            << false;
        QTest::addRow("7 sales orders need no transaction type")
            << without(Valid, "Transaction Type") << ByAccount << QList<int>{1, 0, 0} << "0" << QList<int>{}
            << QStringList{} << true;
        QTest::addRow("8 no quantity") << without(Valid, "Quantity") << ByAccount << invoices << "0"
                                       << QList<int>{} << QStringList{mandatory} << false;
        QTest::addRow("8 no transaction type in invoices")
            << without(Valid, "Transaction Type") << ByAccount << invoices << "0" << QList<int>{}
            << QStringList{mandatory} << false;
        QTest::addRow("9 payment value with cash with invoice")
            << with(Valid, {"Payment Value"}) << ByAccount << QList<int>{0, 1, 0} << "0" << QList<int>{}
            << QStringList{line(Title, "Cannot import payment value if cash with invoice ticked")} << false;
        QTest::addRow("10 discount price without unit price")
            << with(without(Valid, "Unit Price"), {"Unit Discount Price"}) << ByAccount << invoices << "0"
            << QList<int>{} << QStringList{line(Title, "Cannot give discount unit price without Unit price")}
            << false;
        QTest::addRow("first failing check alone speaks")
            << with(without(Valid, "Quantity"), {"Settlement Due Days"}) << ByAccount << invoices << "0"
            << QList<int>{}
            << QStringList{line(Settlement, "Cannot have Settlement Due Days without Settlement Discount")}
            << false;
    }
    void saveChecks()
    {
        QFETCH(QStringList, columns);
        QFETCH(QStringList, groups);
        QFETCH(QList<int>, options);
        QFETCH(QString, settlementSetting);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, saved);
        EditorFixture f;
        f.options().importToSop = int16_t(options[0]);
        f.options().cashWithInvoice = options[1];
        f.options().importTransNo = options[2];
        settings::writeSetting("CheckSettlementDiscount", settlementSetting);
        for (const int answer : answers)
            f.boxes().queueAnswer(forms::Answer(answer));
        // The boxes hold the layout; the files hold something else until a save.
        writeLayout(f, columns, groups);
        EditorFixture::shownEditor();
        writeLayout(f, {"Old"}, {"Old"});

        click("btnSave");
        QCOMPARE(f.shown(), messages);
        QCOMPARE(EditorFixture::editorLoaded(), !saved);
        QCOMPARE(readLines(f.path("qfm.cfg")), saved ? columnLines(columns) : columnLines({"Old"}));
        QCOMPARE(readLines(f.path("qfm2.cfg")), saved ? groupLines(groups) : groupLines({"Old"}));
    }

    void cancelWritesNothing()
    {
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        QVERIFY(EditorFixture::pickColumn(10, "Notes 1"));
        click("btnCancel");
        QVERIFY(!EditorFixture::editorLoaded());
        QCOMPARE(readLines(f.path("qfm.cfg")), columnLines(Valid));
    }

    // Neither file is replaced unless both are.
    void saveIsOneUnit_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("title");
        QTest::addRow("column file cannot be replaced") << "qfm.cfg"
                                                        << "Quillar Structure File 1 Error";
        QTest::addRow("grouping file cannot be replaced") << "qfm2.cfg"
                                                          << "Quillar Structure File 2 Error";
    }
    void saveIsOneUnit()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, title);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        EditorFixture::shownEditor();
        QVERIFY(EditorFixture::pickColumn(10, "Notes 1"));
        // A folder where the file should be: renaming a file over it fails.
        QFile::remove(f.path(blocked));
        QVERIFY(QDir().mkdir(f.path(blocked)));
        QVERIFY(writeFileInto(f.path(blocked)));

        click("btnSave");
        QCOMPARE(f.shown().size(), 2);
        QCOMPARE(f.shown()[0], line(title, "75"));
        QVERIFY(f.shown()[1].startsWith("Quillar|Path/File access error"));
        QVERIFY(EditorFixture::editorLoaded());
        const QString other = blocked == "qfm.cfg" ? "qfm2.cfg" : "qfm.cfg";
        QCOMPARE(readLines(f.path(other)), other == "qfm.cfg" ? columnLines(Valid) : groupLines(ByAccount));
        QVERIFY(QFileInfo(f.path(blocked)).isDir());
        QCOMPARE(filesIn(f.folder()), (QStringList{"qfm.cfg", "qfm2.cfg"}));
    }

    // A write that fails only at its last flush (here a file-size limit, as a full
    // disk would) leaves the old layout whole and says why.
    void saveUnderAFileSizeLimitKeepsTheOldLayout()
    {
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        const QStringList before = readLines(f.path("qfm.cfg"));
        EditorFixture::shownEditor();
        QVERIFY(EditorFixture::pickColumn(10, "Notes 1"));

        struct rlimit old
        {
        };
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 150; // the new column file is some 230 bytes
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        click("btnSave");
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(f.shown().size(), 2);
        QCOMPARE(f.shown()[0], line("Quillar Structure File 1 Error", "75"));
        QVERIFY2(f.shown()[1].contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(f.shown()[1]));
        QVERIFY(EditorFixture::editorLoaded());
        QCOMPARE(readLines(f.path("qfm.cfg")), before);
        QCOMPARE(filesIn(f.folder()), (QStringList{"qfm.cfg", "qfm2.cfg"}));
    }

    void unitWriteOfANewPair()
    {
        QTemporaryDir dir;
        std::array<QString, 54> columns;
        columns[0] = "Account Reference";
        setup::writeLayoutPair(dir.path(), columns, {"Account Reference", "", "", ""}, " ACME ");
        QCOMPARE(filesIn(dir.path()), (QStringList{"ACMEqfm.cfg", "ACMEqfm2.cfg"}));
        QCOMPARE(readLines(dir.path() + "/ACMEqfm.cfg"), columnLines({"Account Reference"}));

        // With no column file before, a failed grouping file leaves none after.
        QVERIFY(QDir().mkdir(dir.path() + "/qfm2.cfg"));
        QVERIFY(writeFileInto(dir.path() + "/qfm2.cfg"));
        try {
            setup::writeLayoutPair(dir.path(), columns, {"Account Reference", "", "", ""});
            QFAIL("the write did not fail");
        } catch (const setup::LayoutWriteError& e) {
            QCOMPARE(e.file(), 2);
            QCOMPARE(e.number(), 75);
        }
        QCOMPARE(filesIn(dir.path()), (QStringList{"ACMEqfm.cfg", "ACMEqfm2.cfg", "qfm2.cfg"}));
    }

    void storeAndRestore()
    {
        EditorFixture f;
        const QStringList stored = with(Valid, {"", "Order Number"});
        writeLayout(f, stored, {"Account Reference", "Order Number"});
        EditorFixture::shownEditor();
        f.boxes().queueInput(QStringLiteral(" ACME "));
        click("CmdStore");
        QCOMPARE(f.boxes().inputsShown().size(), size_t(1));
        QCOMPARE(f.boxes().inputsShown()[0].text, QStringLiteral("Enter Name for this structure "));
        QCOMPARE(f.boxes().inputsShown()[0].title, QStringLiteral("Quillar -Save File Structure Template"));
        QCOMPARE(f.shown(), QStringList{});
        QVERIFY(EditorFixture::editorLoaded());
        QCOMPARE(readLines(f.path("ACMEqfm.cfg")), columnLines(stored));
        QCOMPARE(readLines(f.path("ACMEqfm2.cfg")), groupLines({"Account Reference", "Order Number"}));

        // Changed boxes come back from the template; the lists follow.
        EditorFixture::doubleClick(field(8));
        EditorFixture::doubleClick(index(2));
        QVERIFY(EditorFixture::pickColumn(12, "Notes 2"));
        f.dialogs().queueFile(f.path("ACMEqfm.cfg"));
        click("CmdRestorefromFile");
        QCOMPARE(boxes(), columnLines(stored));
        QCOMPARE(groupBoxes(), groupLines({"Account Reference", "Order Number"}));
        QVERIFY(!EditorFixture::entries("LstVorlenFields").contains("Order Number"));
        QVERIFY(EditorFixture::entries("LstVorlenFields").contains("Notes 2"));
        QCOMPARE(EditorFixture::entries("LstVorlenFields").count("Notes 2"), 1);
        QVERIFY(!EditorFixture::entries("LstVorlenFields2").contains("Order Number"));
        QCOMPARE(f.shown(), QStringList{});

        QCOMPARE(f.dialogs().requests().size(), size_t(1));
        const forms::FileOpenRequest& request = f.dialogs().requests()[0];
        QCOMPARE(request.title, QStringLiteral("Select Structure template file"));
        QCOMPARE(request.filter, QStringLiteral("Import File(*qfm.cfg)|*qfm.cfg"));
        QCOMPARE(request.initialFolder, f.folder());
        QCOMPARE(request.fileName, QString());
        // Nothing of the layout in use changed.
        QCOMPARE(readLines(f.path("qfm.cfg")), columnLines(stored));
    }

    void storeOverAnExistingTemplateAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("overwritten");
        QTest::addRow("yes") << int(forms::AnswerYes) << true;
        QTest::addRow("no") << int(forms::AnswerNo) << false;
    }
    void storeOverAnExistingTemplateAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, overwritten);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        writeLayout(f, {"Before"}, {"Before"}, "ACME");
        EditorFixture::shownEditor();
        f.boxes().queueInput(QStringLiteral("ACME"));
        f.boxes().queueAnswer(forms::Answer(answer));
        click("CmdStore");
        QCOMPARE(f.shown(),
                 QStringList{line(Title, "A structure with that prefix already exists, Overwrite?")});
        QCOMPARE(readLines(f.path("ACMEqfm.cfg")),
                 overwritten ? columnLines(Valid) : columnLines({"Before"}));
        QCOMPARE(readLines(f.path("ACMEqfm2.cfg")),
                 overwritten ? groupLines(ByAccount) : groupLines({"Before"}));
    }

    void storeFailureIsReported_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("title");
        QTest::addRow("column template cannot be replaced") << "ACMEqfm.cfg"
                                                            << "Quillar - File Structure 1";
        QTest::addRow("grouping template cannot be replaced") << "ACMEqfm2.cfg"
                                                              << "Quillar - File Structure 2";
    }
    void storeFailureIsReported()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, title);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        writeLayout(f, {"Before"}, {"Before"}, "ACME");
        QFile::remove(f.path(blocked));
        QVERIFY(QDir().mkdir(f.path(blocked)));
        QVERIFY(writeFileInto(f.path(blocked)));
        EditorFixture::shownEditor();
        f.boxes().queueInput(QStringLiteral("ACME"));
        click("CmdStore");
        QCOMPARE(f.shown(),
                 (QStringList{line(Title, "A structure with that prefix already exists, Overwrite?"),
                              line(title, "An error has occurred, error number 75")}));
        const QString other = blocked == "ACMEqfm.cfg" ? "ACMEqfm2.cfg" : "ACMEqfm.cfg";
        QCOMPARE(readLines(f.path(other)),
                 other == "ACMEqfm.cfg" ? columnLines({"Before"}) : groupLines({"Before"}));
        QVERIFY(EditorFixture::editorLoaded());
        QCOMPARE(filesIn(f.folder()), (QStringList{"ACMEqfm.cfg", "ACMEqfm2.cfg", "qfm.cfg", "qfm2.cfg"}));
    }

    void storeRefusesUnsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("blanks only would overwrite the layout in use") << "   ";
        QTest::addRow("parent folder") << "../evil";
        QTest::addRow("slash") << "sub/evil";
        QTest::addRow("backslash") << "sub\\evil";
        QTest::addRow("line break") << "two\nlines";
    }
    void storeRefusesUnsafeNames()
    {
        QFETCH(QString, name);
        QTemporaryDir outer;
        const QString folder = outer.path() + "/config";
        QVERIFY(QDir().mkpath(folder + "/sub"));
        EditorFixture f(folder);
        writeLayout(f, Valid, ByAccount);
        EditorFixture::shownEditor();
        f.boxes().queueInput(name);
        click("CmdStore");
        QCOMPARE(
            f.shown(),
            QStringList{line(Title, "A structure name cannot be blank or contain \\ or / - please enter another name")});
        QCOMPARE(filesIn(folder), (QStringList{"qfm.cfg", "qfm2.cfg", "sub"}));
        QCOMPARE(filesIn(folder + "/sub"), QStringList{});
        QCOMPARE(filesIn(outer.path()), QStringList{"config"});
        QCOMPARE(readLines(f.path("qfm.cfg")), columnLines(Valid));
    }

    void storeTakesNamesWithDots_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("two dots inside") << "v1..2";
        QTest::addRow("two dots alone") << "..";
    }
    // Dots keep the files in the template folder: the name is stored as given.
    void storeTakesNamesWithDots()
    {
        QFETCH(QString, name);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        EditorFixture::shownEditor();
        f.boxes().queueInput(name);
        click("CmdStore");
        QCOMPARE(f.shown(), QStringList{});
        QStringList expected{name + "qfm.cfg", name + "qfm2.cfg", "qfm.cfg", "qfm2.cfg"};
        expected.sort();
        QCOMPARE(filesIn(f.folder()), expected);
        QCOMPARE(readLines(f.path(name + "qfm.cfg")), columnLines(Valid));
    }

    void storeCancelledDoesNothing()
    {
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        f.boxes().queueInput(std::nullopt);
        EditorFixture::shownEditor();
        click("CmdStore");
        QCOMPARE(f.shown(), QStringList{});
        QCOMPARE(filesIn(f.folder()), (QStringList{"qfm.cfg", "qfm2.cfg"}));
    }

    // The template's file name is matched without regard to case; its folder is
    // used as chosen.
    void restoreFindsTemplatesInAnyCase_data()
    {
        QTest::addColumn<QString>("columnFile");
        QTest::addColumn<QString>("groupFile");
        QTest::addRow("capitals in the folder and name") << "ACMEqfm.cfg"
                                                         << "ACMEqfm2.cfg";
        QTest::addRow("file names in capitals") << "ACMEQFM.CFG"
                                                << "ACMEQFM2.CFG";
    }
    void restoreFindsTemplatesInAnyCase()
    {
        QFETCH(QString, columnFile);
        QFETCH(QString, groupFile);
        EditorFixture f;
        const QString templates = f.path("Templates");
        QVERIFY(QDir().mkdir(templates));
        writeLines(templates + "/" + columnFile, columnLines(Valid));
        writeLines(templates + "/" + groupFile, groupLines(ByAccount));
        EditorFixture::shownEditor();
        f.dialogs().queueFile(templates + "/" + columnFile);
        click("CmdRestorefromFile");
        QCOMPARE(f.shown(), QStringList{});
        QCOMPARE(boxes(), columnLines(Valid));
        QCOMPARE(groupBoxes(), groupLines(ByAccount));
    }

    void restoreAllOrNothing_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("grouping partner missing")
            << "LONEqfm.cfg"
            << QStringList{
                   line(Title, "ERROR 53: File does not exist please select another file to restore")};
        QTest::addRow("template missing")
            << "GONEqfm.cfg"
            << QStringList{
                   line(Title, "ERROR 53: File does not exist please select another file to restore")};
        QTest::addRow("not a template")
            << "notes.txt"
            << QStringList{line(Title,
                                "That file is not a structure template (its name must end in qfm.cfg) - "
                                "please select another file to restore")};
        QTest::addRow("a grouping file chosen")
            << "ACMEqfm2.cfg"
            << QStringList{line(Title,
                                "That file is not a structure template (its name must end in qfm.cfg) - "
                                "please select another file to restore")};
        QTest::addRow("dialog cancelled") << QString() << QStringList{};
    }
    void restoreAllOrNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, messages);
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        writeLines(f.path("LONEqfm.cfg"), columnLines({"Order Number"}));
        writeLayout(f, {"Notes 1"}, {"Notes 1"}, "ACME");
        writeLines(f.path("notes.txt"), {"Notes 1"});
        EditorFixture::shownEditor();
        const QStringList offered = EditorFixture::entries("LstVorlenFields");
        f.dialogs().queueFile(chosen.isEmpty() ? std::nullopt : std::optional<QString>(f.path(chosen)));
        click("CmdRestorefromFile");
        QCOMPARE(f.shown(), messages);
        QCOMPARE(boxes(), columnLines(Valid));
        QCOMPARE(groupBoxes(), groupLines(ByAccount));
        QCOMPARE(EditorFixture::entries("LstVorlenFields"), offered);
    }

    // A restore shows the template and nothing else: a hand-made grouping file of
    // fewer than four lines leaves the other grouping boxes empty.
    void restoreReplacesEveryGroupingBox()
    {
        EditorFixture f;
        writeLayout(f, with(Valid, {"Order Number"}), {"Account Reference", "Order Number"});
        writeLines(f.path("ACMEqfm.cfg"), columnLines(Valid));
        writeLines(f.path("ACMEqfm2.cfg"), {"Account Reference"});
        EditorFixture::shownEditor();
        f.dialogs().queueFile(f.path("ACMEqfm.cfg"));
        click("CmdRestorefromFile");
        QCOMPARE(f.shown(), QStringList{});
        QCOMPARE(groupBoxes(), groupLines({"Account Reference"}));
        QVERIFY(EditorFixture::entries("LstVorlenFields2").contains("Order Number"));
    }

    // A plain "qfm.cfg" chosen reloads the layout in use, with the lists as the
    // options now stand.
    void restoreOfTheLayoutInUse()
    {
        EditorFixture f;
        writeLayout(f, Valid, ByAccount);
        EditorFixture::shownEditor();
        QVERIFY(EditorFixture::pickColumn(20, "Notes 3"));
        f.options().importToSop = 1;
        f.dialogs().queueFile(f.path("qfm.cfg"));
        click("CmdRestorefromFile");
        QCOMPARE(boxes(), columnLines(Valid));
        QVERIFY(EditorFixture::entries("LstVorlenFields").contains("Despatch Due Date"));
        QVERIFY(EditorFixture::entries("LstVorlenFields").contains("Notes 3"));
    }

private:
    static bool writeFileInto(const QString& folder)
    {
        QFile file(folder + "/keep");
        return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
    }
};

QTEST_MAIN(TestLayoutEditor)

#include "tst_layouteditor.moc"
