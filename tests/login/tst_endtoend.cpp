// The program from its login window as a user goes, on a fresh settings store: the
// first start, the settings pointed at a package company, a layout made in the layout
// editor, a file with errors validated, a good file imported, the program closed.
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/ListClicks.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "app/session/ProgramSession.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/SetupForms.h"
#include "app/setup/frmLogin.h"
#include "ui_frmLogin.h"
#include "app/setup/frmSettings.h"
#include "ui_frmSettings.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"
#include "platform/settings/SettingsStore.h"
#include "platform/widgets/FolderList.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <deque>
#include <functional>
#include <utility>

using forms::DefaultInstance;

namespace {

// What a user does in each modal window as it comes up, in order: the first step
// waits for its window to be the active modal one, runs, and the next one waits.
class ModalScript : public QObject
{
public:
    ModalScript()
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && !m_steps.empty() && modal->objectName() == m_steps.front().first) {
                std::function<void()> step = std::move(m_steps.front().second);
                m_steps.pop_front();
                m_waited.restart();
                // Not in this timer's own handler: a step that opens another modal
                // window waits in it, and this timer must go on for the next step.
                QTimer::singleShot(0, this, std::move(step));
                return;
            }
            // A window the script does not expect (or one a step left open) would
            // hold the test for good: it is named and closed.
            if (modal && modal->isVisible() && m_waited.elapsed() > 10000) {
                unexpected << modal->objectName();
                modal->hide();
                m_waited.restart();
            }
        });
        m_waited.start();
        m_poll.start();
    }
    void when(const QString& window, std::function<void()> step) { m_steps.emplace_back(window, std::move(step)); }
    bool done() const { return m_steps.empty(); }
    QStringList unexpected;

private:
    QElapsedTimer m_waited;
    std::deque<std::pair<QString, std::function<void()>>> m_steps;
    QTimer m_poll;
};

QWidget* child(QWidget* form, const QString& name)
{
    QWidget* widget = form->findChild<QWidget*>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// A double-click on a box of the layout editor, then on the entry of the list that opened.
bool pick(FrmFileStructure& editor, const QString& box, const char* listName, const QString& title)
{
    QTest::mouseDClick(child(&editor, box), Qt::LeftButton);
    return testsupport::doubleClickEntry(qobject_cast<QListWidget*>(child(&editor, QLatin1String(listName))), title);
}

// The columns of the demo's invoice files, and the fields that make one document.
const QStringList Columns{"Transaction Type", "Account Reference", "Transaction Date", "Customer Order Number",
                          "Product Code",     "Quantity",          "Unit Price"};
const QStringList Groups{"Account Reference", "Customer Order Number"};

const QStringList ErrorRows{
    "2 | 2 | Account No XYZ999 does not exist on row 2 column2. | XYZ999",
    "3 | 5 | Stock Code ANCHOR-5 does not exist on row 3 column 5. | ANCHOR-5",
    "4 | 1 | Invalid Transaction Type  X should be I or C.  Row 4 column 1. | X",
    "5 | 3 | Date is Invalid 31/11/2026 Row 5 column 3. | 31/11/2026",
    "6 | 6 | Too many decimals on Quantity 2.555 rounding not turned on in settings. Row 6 column 6. | 2.555",
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromLoginToImport()
    {
        // A fresh settings store and registry of the test's own.
        QTemporaryDir dir;
        qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("hives/machine.hive"))));
        qputenv("QUILLAR_USER_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("hives/user.hive"))));
        if (!MainWindowFixture::registerLibraries())
            QSKIP("the package stand-in is not built");
        for (const char* library : {DRIVEWALK_PATH, KEELBOX_PATH})
            QCOMPARE(QProcess::execute(QStringLiteral(QUILLAR_BIN_DIR "/regsvr"),
                                       {QStringLiteral("/s"), QLatin1String(library)}),
                     0);

        // The package: its program folder listing one company, made from the demo's seed.
        const QString program = dir.filePath(QStringLiteral("Vorlen"));
        const QString company = dir.filePath(QStringLiteral("Harbourside"));
        QFile seedFile(QStringLiteral(QUILLAR_DEMO_SEED));
        QVERIFY(seedFile.open(QIODevice::ReadOnly));
        company::createCompany(QJsonDocument::fromJson(seedFile.readAll()).object(), company,
                               QStringLiteral("demo.json"));
        company::folder::addToCompanyFile(program, company);
        company::folder::writeProgramMarkers(program);
        for (const char* file : {"invoices.csv", "invoices-with-errors.csv"})
            QVERIFY(QFile::copy(QStringLiteral(QUILLAR_DEMO_FILES "/") + QLatin1String(file),
                                dir.filePath(QLatin1String(file))));
        const QString programFolder = dir.filePath(QStringLiteral("quillar"));
        QVERIFY(QDir().mkpath(programFolder));

        forms::ScopedRecordedEnd end;
        forms::ScopedScriptedMessages boxes;
        forms::ScopedScriptedFileDialogs dialogs;
        const forms::SleepFunction realSleep = forms::setSleepFunction([](int32_t) {});
        const QString before = QDir::currentPath();
        session::ProgramSession programSession(programFolder);
        mainwindow::registerForms(programSession);
        setup::registerForms(programSession);
        programSession.context().startCommand = [](const QString&, const QStringList&) {};
        ModalScript script;

        // The first start: the pair typed becomes the login.
        frmLogin& login = DefaultInstance<frmLogin>::get();
        login.show();
        QDir::setCurrent(before);
        QCOMPARE(login.windowTitle(), QStringLiteral("Setup Login and Password"));
        const QString config = QDir(programFolder).absoluteFilePath(QStringLiteral("hrnconfig"));
        QCOMPARE(settings::readSetting(QStringLiteral("pellmoorconfigdir")), config);
        QTest::keyClicks(login.m_ui->txtUserName, QStringLiteral("clerk"));
        QTest::keyClicks(login.m_ui->txtPassword, QStringLiteral("Ledger2026"));
        QTest::mouseClick(login.m_ui->cmdOK, Qt::LeftButton);
        QCOMPARE(shownTexts(boxes.service()), QStringList{"Quillar - Login: Setting Login and Password"});
        frmmain& w = DefaultInstance<frmmain>::get();
        QVERIFY(w.isVisible());
        QVERIFY(!login.isVisible());
        QVERIFY(!w.mnuFilenew->isEnabled());
        boxes.service().clear();

        // Settings: the package's folder, its company ticked, the package login; the
        // File Structure button opens the layout editor, where the columns and the
        // grouping fields are picked and saved; then the settings are saved.
        int companies = 0;
        bool layoutPicked = true;
        script.when(QStringLiteral("frmSettings"), [&] {
            frmSettings& form = DefaultInstance<frmSettings>::get();
            Ui::frmSettings& u = *form.m_ui;
            u.Dir1->setPath(program);
            widgets::ListView* list = u.ListViewCompanyName;
            companies = list->count();
            if (companies > 0) {
                const QRect row = list->visualItemRect(list->item(1));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(row.left() + 10, row.center().y()));
            }
            u.txtUserName->setText(QStringLiteral("MANAGER"));
            u.txtPassword->setText(QStringLiteral("letmein"));
            script.when(QStringLiteral("FrmFileStructure"), [&] {
                FrmFileStructure& editor = DefaultInstance<FrmFileStructure>::get();
                for (int i = 0; i < Columns.size(); ++i)
                    layoutPicked = pick(editor, QStringLiteral("TxtField_%1").arg(i + 1), "LstVorlenFields",
                                        Columns[i]) && layoutPicked;
                for (int i = 0; i < Groups.size(); ++i)
                    layoutPicked = pick(editor, QStringLiteral("TxtIndex_%1").arg(i + 1), "LstVorlenFields2",
                                        Groups[i]) && layoutPicked;
                QTest::mouseClick(qobject_cast<QPushButton*>(child(&editor, QStringLiteral("btnSave"))),
                                  Qt::LeftButton);
            });
            QTest::mouseClick(u.CmdFileStructure, Qt::LeftButton);
            QTest::mouseClick(u.btnSave, Qt::LeftButton);
        });
        w.mnuSettingsSettings->trigger();
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join(", ") + " | " + shownTexts(boxes.service()).join(" | ")));
        QVERIFY(script.done());
        QCOMPARE(companies, 1);
        QVERIFY(layoutPicked);
        QCOMPARE(shownTexts(boxes.service()), QStringList());
        QCOMPARE(settings::readSetting(QStringLiteral("VorlenDataPath")), company);
        QCOMPARE(settings::readSetting(QStringLiteral("VorlenUsername")), QStringLiteral("MANAGER"));
        QVERIFY(QFileInfo::exists(config + QStringLiteral("/qfm.cfg")));
        QVERIFY(QFileInfo::exists(config + QStringLiteral("/qfm2.cfg")));
        QCOMPARE(w.m_ui->LblCorvelVersion->text(), QStringLiteral("V23"));
        QVERIFY(w.mnuFilenew->isEnabled());

        // A file with errors: the message, then the error list with a row for each.
        QStringList rows;
        dialogs.service().queueFile(dir.filePath(QStringLiteral("invoices-with-errors.csv")));
        w.tbToolBar->click(1);
        script.when(QStringLiteral("FrmErrlog"), [&] {
            FrmErrlog& errorList = DefaultInstance<FrmErrlog>::get();
            widgets::ListView* list = errorList.listView1();
            for (int i = 1; i <= list->count(); ++i) {
                const widgets::ListItem* item = list->item(i);
                rows << QStringList{item->subItem(1), item->subItem(2), item->subItem(0), item->subItem(3)}.join(
                            QStringLiteral(" | "));
            }
            errorList.hide();
        });
        w.tbToolBar->click(2);
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join(", ") + " | " + shownTexts(boxes.service()).join(" | ")));
        QVERIFY(script.done());
        QCOMPARE(shownTexts(boxes.service()),
                 QStringList{"Quillar Validation: Unable to import the invoice file as the file has failed "
                             "validation. Please correct these problems before retrying the import."});
        QCOMPARE(rows, ErrorRows);
        // The demo's seed holds an invoice and an order posted before: nothing is added.
        const auto documents = [&company] {
            return company::Ledger::open(company::folder::ledgerFileOf(company::folder::accdataOf(company)))
                ->listDocuments();
        };
        const qsizetype seeded = documents().size();
        QCOMPARE(seeded, 2);
        boxes.service().clear();

        // A good file: validated, confirmed, imported; a result line for each document.
        dialogs.service().queueFile(dir.filePath(QStringLiteral("invoices.csv")));
        w.tbToolBar->click(1);
        boxes.service().queueAnswer(forms::AnswerYes);
        w.tbToolBar->click(2);
        QCOMPARE(shownTexts(boxes.service()), QStringList{"Confirm: Proceed with invoice import?"});
        const QString log = DefaultInstance<frmErrors>::get().importTextDocument()->toPlainText();
        for (const char* line : {"Invoice No 1002 for ABBEY GARDEN SUPPLIES (Unique No. ABB001PO-4471) created.",
                                 "Invoice No 1003 for BROOKFIELD HARDWARE (Unique No. BRO002BH-208) created.",
                                 "Credit No 1004 for CHARITY SHOP NETWORK (Unique No. CHA003RET-17) created."})
            QVERIFY2(log.contains(QLatin1String(line)), line);
        const QJsonArray posted = documents();
        QCOMPARE(posted.size(), seeded + 3);
        QStringList added;
        for (qsizetype i = seeded; i < posted.size(); ++i) {
            const QJsonObject document = posted.at(i).toObject();
            added << document.value(QStringLiteral("DOCUMENT_KIND")).toString() + QLatin1Char(' ') +
                         document.value(QStringLiteral("INVOICE_NUMBER")).toVariant().toString() + QLatin1Char(' ') +
                         document.value(QStringLiteral("ACCOUNT_REF")).toString();
        }
        QCOMPARE(added, (QStringList{"invoice 1002 ABB001", "invoice 1003 BRO002", "credit 1004 CHA003"}));

        // Closing the main window ends the program, through the login form's unload.
        QCOMPARE(end.count(), 0);
        w.MnuFileExit->trigger();
        QCOMPARE(end.count(), 1);
        QVERIFY(login.isUnloaded());
        QVERIFY(!DefaultInstance<frmmain>::isLoaded());
        QVERIFY(!DefaultInstance<frmSettings>::isLoaded());
        QVERIFY(!DefaultInstance<frmErrors>::isLoaded());
        QVERIFY(!DefaultInstance<FrmErrlog>::isLoaded());
        QVERIFY(!programSession.state().package.VdoConnected);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        forms::setSleepFunction(realSleep);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
