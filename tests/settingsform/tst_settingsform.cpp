#include "app/session/ProgramSession.h"
#include "app/import/LayoutFiles.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmSettings.h"
#include "ui_frmDirPath.h"
#include "ui_frmSettings.h"
#include "tests/settingsform/SettingsFixture.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "tests/support/WidgetInputBoxes.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using forms::DefaultInstance;
using settings::readSetting;
using settings::writeSetting;

namespace {

const QString SettingsTitle = QStringLiteral("Quillar - Settings");
const QString Missing = QStringLiteral("<missing>");

const QString LoginMissing = QStringLiteral("Vorlen login has not been entered - please setup");
const QString Unsupported =
    QStringLiteral("Selected path does not contain a supported version of Vorlen Corvel,please reselect");
const QString NoCompany = QStringLiteral("Vorlen company has not been selected - please select");
const QString NoLayout = QStringLiteral("File Structure Setup has not been completed");
const QString TransNoTicked = QStringLiteral(
    "Import Transaction no is ticked, must select transaction no. Please select in filestructure.");
const QString TransNoNotTicked = QStringLiteral(
    "Import Transaction no is not selected, Cannot import transaction no. Please deselect in filestructure.");
const QString CashAndPayment = QStringLiteral(
    "Cannot import payment value if cash with invoice ticked.  Please deselect in filestructure.");
const QString SopAndCash = QStringLiteral("Cannot import payment value to SOP.  Please amend options");
const QString DiscountWithoutPrice =
    QStringLiteral("Cannot give discount unit price without Unit price. Please select in filestructure.");
const QString IntervalRefused =
    QStringLiteral("The batch Interval must be more than 0 and at most 35791 Minutes - please correct it");

frmSettings& form()
{
    return DefaultInstance<frmSettings>::get();
}
Ui::frmSettings& ui()
{
    return *form().m_ui;
}
TestMainWindow& mainWindow()
{
    return DefaultInstance<TestMainWindow>::get();
}

QMap<QString, QString> storeSnapshot()
{
    QMap<QString, QString> values;
    for (const settings::KeyInfo& key : settings::knownKeys())
        values.insert(QLatin1String(key.key), readSetting(QLatin1String(key.key), Missing));
    return values;
}

// The keys whose values differ between two snapshots.
QStringList changedKeys(const QMap<QString, QString>& before, const QMap<QString, QString>& after)
{
    QStringList changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            changed << it.key();
    return changed;
}

void showForm()
{
    form().show();
    if (!QTest::qWaitForWindowExposed(&form()))
        qFatal("the settings form was not shown");
}

// A click on a row of the company list: on its check box, or on its company name.
void clickRow(int row, bool onCheckBox)
{
    widgets::ListView* list = ui().ListViewCompanyName;
    const QRect rect = list->visualItemRect(list->item(row));
    const int x = onCheckBox ? rect.left() + 10 : list->columnViewportPosition(1) + 20;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, rect.center().y()));
}

} // namespace

class tst_settingsform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // Load
    void loadsEveryKey();
    void loadsDefaultsAndBadValues_data();
    void loadsDefaultsAndBadValues();
    void importReadsWhatTheUserTyped();
    void captionsAndToolTips_data();
    void captionsAndToolTips();

    // Save
    void saveChecks_data();
    void saveChecks();
    void savePassesAndWritesEveryKey_data();
    void savePassesAndWritesEveryKey();
    void cancelWritesNothing();
    void customerPricingRule_data();
    void customerPricingRule();
    void tabChangeAppliesCustomerPricingRule();
    void interlockOfCashAndSop();
    void enableImportForVersion_data();
    void enableImportForVersion();
    void fileStructureEditorHooks();
    void saveWhenTheCompanyWentAway();
    void saveTakesTheTickedRow();

    // Company list
    void companyListOfPackageFolder();
    void companyWithMissingSetupFile();
    void unreadableCompanyFile();
    void folderWithoutCompanyFile();
    void tickAndClickRows();
    void typedFolderThatDoesNotExist();
    void driveNotReady();
    void driveChangeMovesTheFolderList();
    void browseShowsAndHidesThePickers();
    void withoutDrivewalk();

    // Installation search
    void searchFindsInstallationsAndFillsTheList();
    void searchInvalidSelection_data();
    void searchInvalidSelection();
    void searchStopped();
    void searchReportShowsItsLines();

    // Folder picker
    void browseButtons_data();
    void browseButtons();
    void browseCancelled();
    void layoutFolderChosenWithThePicker();
    void editorFollowsTheTemplatesFolderAndImportMode();
    void folderPickerStartFolder_data();
    void folderPickerStartFolder();

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString config(const QString& name) const { return name.isEmpty() ? QString() : path("config/" + name); }
    // A store as a user left it after a good Save, with the given company chosen.
    void storeBaseline(const QString& company);
    forms::ScriptedMessageService& messages() { return m_messages->service(); }
    QStringList messageTexts() const;

    QTemporaryDir m_dir;
    automation::ObjectRef m_fileSearch;
    std::unique_ptr<session::ProgramSession> m_session;
    std::unique_ptr<forms::ScopedScriptedMessages> m_messages;
    int m_hives = 0;
    QString m_driveD, m_driveE, m_driveF;
};

void tst_settingsform::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(path("machine.hive")));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(path("user0.hive")));
    m_fileSearch = registeredFileSearch();

    // D: the demo program folder with three companies, a program folder with a stale
    // company, and a folder without a company file. E: a company file and one program
    // file alone (too few on the drive). F: one more installation and a decoy.
    m_driveD = path("driveD");
    m_driveE = path("driveE");
    m_driveF = path("driveF");
    const QString program = m_driveD + "/Vorlen";
    makeCompany(m_driveD + "/Data/First", "23.0", "First Trading Ltd", program);
    makeCompany(m_driveD + "/Data/Second", "11.0", "Second Ltd", program);
    makeCompany(m_driveD + "/Data/Old", "9.5", "Old Books Ltd", program);
    for (const char* name : {"One", "Two", "Three"})
        makeCompany(m_driveD + "/Stale/" + name, "23.0", QLatin1String(name), m_driveD + "/Broken");
    QVERIFY(QFile::remove(m_driveD + "/Stale/Two/ACCDATA/setup.dta"));
    QVERIFY(QDir().mkpath(m_driveD + "/Plain"));
    // A link to the program folder is not searched a second time.
    QVERIFY(QDir().mkpath(m_driveD + "/Links"));
    QVERIFY(QFile::link(program, m_driveD + "/Links/Vorlen"));
    writeFile(m_driveE + "/Pair/company", "x");
    writeFile(m_driveE + "/Pair/vorlen.exe", "x");
    writeFile(m_driveF + "/Apps/Vorlen2/COMPANY", "x");
    writeFile(m_driveF + "/Apps/Vorlen2/VLW.EXE", "x");
    writeFile(m_driveF + "/Tools/vorlen.exe", "x");

    const QStringList layout{"Transaction Type", "Account Reference", "Transaction Date",
                             "Product Code",     "Quantity",          "Unit Price"};
    writeLayout(config("older"), layout);
    writeLayout(config("base"), layout);
    writeLayout(config("transno"), layout + QStringList{"Transaction No"});
    writeLayout(config("payment"), layout + QStringList{"Payment Value"});
    writeLayout(config("discount"), {"Account Reference", "Product Code", "Unit Discount Price"});
    QVERIFY(QDir().mkpath(config("nolayout")));
}

void tst_settingsform::init()
{
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(path(QStringLiteral("user%1.hive").arg(++m_hives))));
    mountDrives(path("mounts"), {m_driveD, m_driveE, m_driveF});
    m_fileSearch->put(QStringLiteral("SearchStopDll"), automation::Variant(false));
    // The program folder holds the clip "Search.AVI".
    m_session = std::make_unique<session::ProgramSession>(QStringLiteral(QUILLAR_BIN_DIR));
    wireSession(*m_session, m_fileSearch);
    m_messages = std::make_unique<forms::ScopedScriptedMessages>();
}

void tst_settingsform::cleanup()
{
    unloadForms();
    frmSettings::fileStructureEditor() = {};
    m_messages.reset();
    m_session.reset();
}

void tst_settingsform::storeBaseline(const QString& company)
{
    writeSetting("VorlenUsername", "manager");
    writeSetting("VorlenPassword", "secret");
    writeSetting("VorlenProgramPath", "D:\\Vorlen");
    writeSetting("pellmoorconfigdir", config("older"));
    writeSetting("BatchInterval", "300000");
    const QMap<QString, std::pair<QString, QString>> companies{{"First", {"First Trading Ltd", "23.0"}},
                                                               {"Second", {"Second Ltd", "11.0"}},
                                                               {"Old", {"Old Books Ltd", "9.5"}}};
    if (companies.contains(company)) {
        writeSetting("VorlenDataPath", m_driveD + "/Data/" + company);
        writeSetting("VorlenCompanyName", companies[company].first);
        writeSetting("VorlenVersion", companies[company].second);
    }
}

QStringList tst_settingsform::messageTexts() const
{
    QStringList texts;
    for (const auto& shown : m_messages->service().shown())
        texts << shown.text;
    return texts;
}

// ---- Load ----

void tst_settingsform::loadsEveryKey()
{
    storeBaseline("First");
    const QList<std::pair<const char*, const char*>> keys{{"ImportHeaders", "1"},
                                                          {"CheckFileFormat", "1"},
                                                          {"CheckRndQty", "1"},
                                                          {"CheckRndPrice", "1"},
                                                          {"CheckCustomerPricing", "1"},
                                                          {"CheckSettlementDiscount", "1"},
                                                          {"CheckCarriageCharge", "1"},
                                                          {"CheckDeliveryAddress", "1"},
                                                          {"Checkfcprice", "1"},
                                                          {"Checkcashwithinvoice", "1"},
                                                          {"iors", "1"},
                                                          {"OverrideVorlenProductDescription", "1"},
                                                          {"TakeVorlenPriceIfPriceZEro", "1"},
                                                          {"ImportTransno", "1"},
                                                          {"BatchUpdateEnabled", "1"},
                                                          {"BatchSourcePath", "D:\\In"},
                                                          {"BatchErrorlogPath", "D:\\Failed"},
                                                          {"BatchSuccessPath", "D:\\Done"},
                                                          {"BatchInterval", "120000"}};
    for (const auto& [key, value] : keys)
        writeSetting(QLatin1String(key), QLatin1String(value));
    mainWindow().LblCorvelVersion = "V23";

    // Reading a box through the import's view loads the form hidden from the store.
    QCOMPARE(m_session->settingsForm().txtUserName(), QStringLiteral("manager"));
    QVERIFY(DefaultInstance<frmSettings>::isLoaded());
    QVERIFY(!form().isVisible());

    Ui::frmSettings& u = ui();
    QCOMPARE(u.txtPassword->text(), QStringLiteral("secret"));
    QCOMPARE(u.Vorlenpath->text(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(u.TxtDatapath->text(), m_driveD + "/Data/First");
    QCOMPARE(u.TxtHiddenVersion->text(), QStringLiteral("23.0"));
    QCOMPARE(u.txthiddencompanyname->text(), QStringLiteral("First Trading Ltd"));
    QCOMPARE(u.TxtConfigPath->text(), config("older"));
    for (QCheckBox* box : {u.chxColumn, u.CbxFileFormat, u.cbxrndqty, u.Cbxrndprice, u.CbxCustomerPricing,
                           u.CbxSettlementDiscount, u.CbxCarriageCharge, u.cbxdeliveryaddress, u.cbxfcprice,
                           u.CbxImportToSop, u.Cbxoverridevorlenproductdescription,
                           u.Cbxtakevorlenpriceifpricezero, u.cbximporttransno, u.CheckEnableTranImport})
        QVERIFY2(box->checkState() == Qt::Checked, qPrintable(box->objectName()));
    // Both stored as "1": Import to SOP, set later, clears Cash With Invoice.
    QCOMPARE(u.cbxCashWithInvoice->checkState(), Qt::Unchecked);
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(1));
    QCOMPARE(u.TextSourcePath->text(), QStringLiteral("D:\\In"));
    QCOMPARE(u.TextErrorLogPath->text(), QStringLiteral("D:\\Failed"));
    QCOMPARE(u.TextSuccessPath->text(), QStringLiteral("D:\\Done"));
    QCOMPARE(u.TextInterval->text(), QStringLiteral("2"));
    QCOMPARE(m_session->state().batch.BatchIntervalMs, 120000);
    // The folder list opened the saved program folder and ticked the saved company.
    QCOMPARE(u.Dir1->path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(u.Drive1->drive(), QStringLiteral("d:"));
    QCOMPARE(u.ListViewCompanyName->count(), 3);
    QVERIFY(u.ListViewCompanyName->item(1)->checked());
    QCOMPARE(u.TXTCompName->text(), QStringLiteral("First Trading Ltd"));
    QVERIFY(!u.CbxCustomerPricing->isHidden());
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::loadsDefaultsAndBadValues_data()
{
    QTest::addColumn<QString>("headers"); // empty: not stored
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("shownInterval");
    QTest::addRow("fresh store") << ""
                                 << ""
                                 << "";
    QTest::addRow("check key not a whole number, interval not a number") << "yes"
                                                                         << "abc"
                                                                         << "abc";
    QTest::addRow("check key out of the box's range") << "7"
                                                      << "90000"
                                                      << "1.5";
}

void tst_settingsform::loadsDefaultsAndBadValues()
{
    QFETCH(QString, headers);
    QFETCH(QString, interval);
    QFETCH(QString, shownInterval);
    if (!headers.isEmpty())
        writeSetting("ImportHeaders", headers);
    if (!interval.isEmpty())
        writeSetting("BatchInterval", interval);
    mainWindow().LblCorvelVersion = "V23";

    Ui::frmSettings& u = ui();
    for (QLineEdit* box : {u.txtUserName, u.txtPassword, u.Vorlenpath, u.TxtDatapath, u.TxtConfigPath,
                           u.TextSourcePath, u.TextErrorLogPath, u.TextSuccessPath, u.TXTCompName})
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    const QList<QCheckBox*> boxes = form().findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 15);
    for (QCheckBox* box : boxes)
        QVERIFY2(box->checkState() == Qt::Unchecked, qPrintable(box->objectName()));
    QCOMPARE(u.TextInterval->text(), shownInterval);
    QCOMPARE(u.ListViewCompanyName->count(), 0);
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::importReadsWhatTheUserTyped()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    session::ForwardingSettingsForm& view = m_session->settingsForm();
    QCOMPARE(view.txtUserName(), QStringLiteral("manager"));
    ui().txtUserName->setText("typed, not saved");
    ui().txtPassword->setText("pw");
    ui().CbxCustomerPricing->setCheckState(Qt::Checked);
    ui().Cbxtakevorlenpriceifpricezero->setCheckState(Qt::Checked);
    ui().TextSourcePath->setText("D:\\Source");
    ui().TextSuccessPath->setText("D:\\Loaded");
    ui().TextErrorLogPath->setText("D:\\Errors");
    QCOMPARE(view.txtUserName(), QStringLiteral("typed, not saved"));
    QCOMPARE(view.txtPassword(), QStringLiteral("pw"));
    QCOMPARE(view.cbxCustomerPricing(), 1);
    QCOMPARE(view.cbxtakevorlenpriceifpricezero(), 1);
    QCOMPARE(view.cbxoverridevorlenproductdescription(), 0);
    QCOMPARE(view.textSourcePath(), QStringLiteral("D:\\Source"));
    QCOMPARE(view.textSuccessPath(), QStringLiteral("D:\\Loaded"));
    QCOMPARE(view.textErrorLogPath(), QStringLiteral("D:\\Errors"));
    // The main window's load applies the Customer Pricing rule through the view.
    view.setCbxCustomerPricingVisible(false);
    view.setCbxCustomerPricing(0);
    QVERIFY(ui().CbxCustomerPricing->isHidden());
    QCOMPARE(view.cbxCustomerPricing(), 0);
    view.setCbxCustomerPricingVisible(true);
    view.setCbxCustomerPricing(1);
    QVERIFY(!ui().CbxCustomerPricing->isHidden());
    QCOMPARE(ui().CbxCustomerPricing->checkState(), Qt::Checked);
    QCOMPARE(readSetting("VorlenUsername"), QStringLiteral("manager"));

    // Unloaded, the next read loads the form again from the store.
    unloadForms();
    QCOMPARE(view.txtUserName(), QStringLiteral("manager"));
}

void tst_settingsform::captionsAndToolTips_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](const char* control, const char* caption, const char* toolTip = "") {
        QTest::addRow("%s", control) << QString::fromLatin1(control) << QString::fromLatin1(caption)
                                     << QString::fromLatin1(toolTip);
    };
    row("btnSave", "&Save");
    row("btnCancel", "&Cancel");
    row("fradatasetup", "Vorlen Data Setup");
    row("fradatapath", "Vorlen Data Path");
    row("fraLogin", "Vorlen  Login");
    row("lblLoginHelp",
        "Enter Vorlen Username and Password. Quillar uses this user to import data to Vorlen.");
    row("SearchBtn", "&Search for Vorlen");
    row("BrowseBtn", "&Browse");
    row("CmdFileStructure", "&File Structure");
    row("FraOptions", "Options");
    row("cbximporttransno", "Import Transaction No.",
        "If unticked Vorlen will generate the number, if ticked number must be given in the import file");
    row("cbxCashWithInvoice", "Cash With Invoice",
        "Post the cash with the invoice, will be posted to the ledger when the invoice is updated in Vorlen");
    row("cbxfcprice", "Convert Foreign Currency Price?",
        "If the customery is set to  foreign currency in Vorlen Corvel, is the price supplied in "
        "currency(unticked) or does it need to be converted to the currency (Ticked)");
    row("cbxdeliveryaddress", "Use customer default delivery address",
        "Set delivery address to customer default");
    row("CbxCarriageCharge", "Apply Default Carriage Charge", "Apply Vorlen's default carriage charges?");
    row("CbxSettlementDiscount", "Apply Settlement Discount", "Apply customer's settlement discount ?");
    row("Cbxrndprice", "Round Price",
        "If decimals places are more than vorlen is set to, do you wish to round the price or reject the "
        "file?");
    row("cbxrndqty", "Round Quantity",
        "If decimal places are more than Vorlen is set to , do you wish to round the quantity or reject the "
        "file?");
    row("CbxFileFormat", "Validate File Format", "Check each row of the file is same format as the first");
    row("chxColumn", "Column Headings   ", "Is first line column Headings?");
    row("CbxImportToSop", "Import to SOP", "Import to SOP (ticked) instead of Invoicing");
    row("CbxCustomerPricing", "Apply Customer Pricing",
        "Apply Vorlen customer pricing. If selected is applied on top of the supplied price/discount "
        "information.");
    row("Cbxtakevorlenpriceifpricezero", "Take Vorlen price if price is zero",
        "If the supplied price is zero, set as a zero value line(unticked) or apply vorlen price (ticked)");
    row("Cbxoverridevorlenproductdescription", "Override Vorlen Product Description",
        "Use the supplied product description on the order line. NB will be used for S1,S2,S3 special "
        "product "
        "lines.");
    row("Frame1", "Template File Location");
    row("lblTxtConfigPath", "Templates File Path");
    row("Frame6", "Source File Setup");
    row("lblTextSourcePath", "Source File Path");
    row("Frame7", "Succesful Upload Setup");
    row("lblTextSuccessPath", "Successfull Upload File Stored at");
    row("Frame8", "Error Log Setup");
    row("lblTextErrorLogPath", "Error Log File Path");
    row("Frame9", "Interval");
    row("lblTextInterval", "Start the next batch after every");
    row("lblMinutes", "Minutes");
    row("CheckEnableTranImport", "Enabled Batch Upload");
    for (const char* browse : {"CmdBrowseConfig", "Command2", "Command3", "Command4"})
        row(browse, "_");
}

void tst_settingsform::captionsAndToolTips()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    mainWindow().LblCorvelVersion = "V23";
    QWidget* widget = form().findChild<QWidget*>(control);
    QVERIFY(widget);
    const QByteArray property = widget->inherits("QGroupBox") ? "title" : "text";
    QCOMPARE(widget->property(property).toString(), caption);
    QCOMPARE(widget->toolTip(), toolTip);
    if (control == "btnSave") {
        QCOMPARE(form().windowTitle(), QStringLiteral("Settings"));
        const QTabWidget* tabs = ui().SSTab1;
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Vorlen Data and Quillar Settings"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Quillar Options"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Batch Settings"));
        const QTreeWidgetItem* header = ui().ListViewCompanyName->headerItem();
        QCOMPARE(header->text(0), QStringLiteral("No"));
        QCOMPARE(header->text(1), QStringLiteral("Company Name"));
        QCOMPARE(header->text(2), QStringLiteral("Version"));
        QCOMPARE(header->text(3), QStringLiteral("Company Data Path"));
        for (QWidget* hidden : std::initializer_list<QWidget*>{ui().TxtDatapath, ui().txthiddencompanyname,
                                                               ui().TxtHiddenVersion, ui().BTNStopSearch,
                                                               ui().VorlenDrivewalkAVI})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    }
}

// ---- Save ----

void tst_settingsform::saveChecks_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("company"); // the saved company, ticked when the form loads
    QTest::addColumn<QString>("configFolder");
    QTest::addColumn<bool>("importTransNo");
    QTest::addColumn<bool>("cashWithInvoice");
    QTest::addColumn<bool>("importToSop");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("configStored");

    const QString folderMissing = QStringLiteral(
        "Templates File Path '%1' does not exist - please select the folder of the file structure");
    QTest::addRow("1 login missing") << ""
                                     << "First" << config("base") << false << false << false << "5"
                                     << QStringList{LoginMissing} << true;
    QTest::addRow("4 version not supported")
        << "manager"
        << "Old" << config("base") << false << false << false << "5" << QStringList{Unsupported} << true;
    QTest::addRow("5 no company ticked")
        << "manager"
        << "none" << config("base") << false << false << false << "5" << QStringList{NoCompany} << true;
    QTest::addRow("7 no column layout file")
        << "manager"
        << "First" << config("nolayout") << false << false << false << "5" << QStringList{NoLayout} << true;
    QTest::addRow("9 transaction no ticked, not in the layout")
        << "manager"
        << "First" << config("base") << true << false << false << "5" << QStringList{TransNoTicked} << true;
    QTest::addRow("10 transaction no in the layout, not ticked")
        << "manager"
        << "First" << config("transno") << false << false << false << "5" << QStringList{TransNoNotTicked}
        << true;
    QTest::addRow("11 cash with invoice and payment value")
        << "manager"
        << "First" << config("payment") << false << true << false << "5" << QStringList{CashAndPayment}
        << true;
    QTest::addRow("12 sales orders and cash with invoice")
        << "manager"
        << "First" << config("base") << false << true << true << "5" << QStringList{SopAndCash} << true;
    QTest::addRow("13 unit discount price without unit price")
        << "manager"
        << "First" << config("discount") << false << false << false << "5"
        << QStringList{DiscountWithoutPrice} << true;
    QTest::addRow("1 and 13 together") << ""
                                       << "First" << config("discount") << false << false << false << "5"
                                       << QStringList{LoginMissing, DiscountWithoutPrice} << true;
    QTest::addRow("4 and 9 together") << "manager"
                                      << "Old" << config("base") << true << false << false << "5"
                                      << QStringList{Unsupported, TransNoTicked} << true;
    QTest::addRow("5 left out after 1")
        << ""
        << "none" << config("base") << false << false << false << "5" << QStringList{LoginMissing} << true;
    QTest::addRow("configuration folder that does not exist is not stored")
        << "manager"
        << "First" << config("nowhere") << false << false << false << "5"
        << QStringList{folderMissing.arg(config("nowhere"))} << false;
    QTest::addRow("configuration folder empty is not stored")
        << "manager"
        << "First"
        << "" << false << false << false << "5"
        << QStringList{"Templates File Path has not been entered - please select the folder of the file "
                       "structure"}
        << false;
    QTest::addRow("interval 0 refused") << "manager"
                                        << "First" << config("base") << false << false << false << "0"
                                        << QStringList{IntervalRefused} << true;
    QTest::addRow("interval below 0 refused") << "manager"
                                              << "First" << config("base") << false << false << false << "-2"
                                              << QStringList{IntervalRefused} << true;
    QTest::addRow("interval past the timer's range refused")
        << "manager"
        << "First" << config("base") << false << false << false << "40000" << QStringList{IntervalRefused}
        << true;
}

void tst_settingsform::saveChecks()
{
    QFETCH(QString, user);
    QFETCH(QString, company);
    QFETCH(QString, configFolder);
    QFETCH(bool, importTransNo);
    QFETCH(bool, cashWithInvoice);
    QFETCH(bool, importToSop);
    QFETCH(QString, interval);
    QFETCH(QStringList, shown);
    QFETCH(bool, configStored);

    storeBaseline(company);
    mainWindow().LblCorvelVersion = "V23"; // as the main window shows the saved company
    Ui::frmSettings& u = ui();
    showForm();
    u.txtUserName->setText(user);
    u.TxtConfigPath->setText(configFolder);
    u.cbximporttransno->setCheckState(importTransNo ? Qt::Checked : Qt::Unchecked);
    u.cbxCashWithInvoice->setCheckState(cashWithInvoice ? Qt::Checked : Qt::Unchecked);
    if (importToSop) { // the form never ticks both: only a state set behind its back has them
        const QSignalBlocker quiet(u.CbxImportToSop);
        u.CbxImportToSop->setCheckState(Qt::Checked);
    }
    u.TextInterval->setText(interval);
    const QMap<QString, QString> before = storeSnapshot();
    const int32_t intervalMs = m_session->state().batch.BatchIntervalMs;

    u.btnSave->click();

    QCOMPARE(messageTexts(), shown);
    for (const auto& box : messages().shown()) {
        QCOMPARE(box.buttons(), int(forms::OKOnly));
        QCOMPARE(box.title, box.text == NoLayout ? QStringLiteral("Quillar") : SettingsTitle);
    }
    QVERIFY(DefaultInstance<frmSettings>::isLoaded());
    QVERIFY(form().isVisible());
    QCOMPARE(u.txtUserName->text(), user);
    QCOMPARE(changedKeys(before, storeSnapshot()),
             configStored ? QStringList{"pellmoorconfigdir"} : QStringList{});
    if (configStored)
        QCOMPARE(readSetting("pellmoorconfigdir"), configFolder);
    QCOMPARE(m_session->state().batch.BatchIntervalMs, intervalMs);
    QVERIFY(!mainWindow().mnuFilenew);
}

void tst_settingsform::savePassesAndWritesEveryKey_data()
{
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("storedInterval");
    QTest::addColumn<int>("intervalMs");
    QTest::addRow("1.5 minutes") << "1.5"
                                 << "90000" << 90000;
    QTest::addRow("2 minutes") << "2"
                               << "120000" << 120000;
    QTest::addRow("empty box leaves the interval") << ""
                                                   << "300000" << 300000;
    QTest::addRow("box not a number leaves the interval") << "soon"
                                                          << "300000" << 300000;
}

void tst_settingsform::savePassesAndWritesEveryKey()
{
    QFETCH(QString, interval);
    QFETCH(QString, storedInterval);
    QFETCH(int, intervalMs);

    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    Ui::frmSettings& u = ui();
    showForm();
    u.txtUserName->setText("clerk ");
    u.txtPassword->setText(" pass word");
    u.TxtConfigPath->setText(" " + config("base") + " ");
    for (QCheckBox* box :
         {u.chxColumn, u.cbxrndqty, u.CbxCustomerPricing, u.CbxSettlementDiscount, u.cbxdeliveryaddress,
          u.CbxImportToSop, u.Cbxoverridevorlenproductdescription, u.CheckEnableTranImport})
        box->click();
    u.TextSourcePath->setText("D:\\In");
    u.TextSuccessPath->setText("D:\\Done");
    u.TextErrorLogPath->setText("D:\\Failed");
    u.TextInterval->setText(interval);

    u.btnSave->click();

    QCOMPARE(messageTexts(), QStringList{});
    QVERIFY(!DefaultInstance<frmSettings>::isLoaded());
    const QMap<QString, QString> expected{{"VorlenUsername", "clerk "},
                                          {"VorlenPassword", " pass word"},
                                          {"ImportHeaders", "1"},
                                          {"CheckFileFormat", "0"},
                                          {"CheckRndQty", "1"},
                                          {"CheckRndPrice", "0"},
                                          {"CheckCustomerPricing", "1"},
                                          {"CheckSettlementDiscount", "1"},
                                          {"CheckCarriageCharge", "0"},
                                          {"CheckDeliveryAddress", "1"},
                                          {"Checkfcprice", "0"},
                                          {"Checkcashwithinvoice", "0"},
                                          {"iors", "1"},
                                          {"OverrideVorlenProductDescription", "1"},
                                          {"TakeVorlenPriceIfPriceZEro", "0"},
                                          {"ImportTransno", "0"},
                                          {"BatchUpdateEnabled", "1"},
                                          {"BatchSourcePath", "D:\\In"},
                                          {"BatchErrorlogPath", "D:\\Failed"},
                                          {"BatchSuccessPath", "D:\\Done"},
                                          {"BatchInterval", storedInterval},
                                          {"VorlenCompanyName", "First Trading Ltd"},
                                          {"VorlenVersion", "23.0"},
                                          {"VorlenProgramPath", "D:\\Vorlen"},
                                          {"VorlenDataPath", m_driveD + "/Data/First"},
                                          {"pellmoorconfigdir", " " + config("base") + " "}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(readSetting(it.key(), Missing) == it.value(),
                 qPrintable(it.key() + ": " + readSetting(it.key(), Missing)));
    QCOMPARE(readSetting("QuillarLogin", Missing), Missing);
    QCOMPARE(readSetting("ImportPath", Missing), Missing);

    const importer::BatchState& batch = m_session->state().batch;
    QVERIFY(batch.BatchModeEnabled);
    QCOMPARE(batch.SourceFolder, QStringLiteral("D:\\In"));
    QCOMPARE(batch.SuccessFolder, QStringLiteral("D:\\Done"));
    QCOMPARE(batch.ErrorFolder, QStringLiteral("D:\\Failed"));
    QCOMPARE(batch.BatchIntervalMs, intervalMs);
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(1));
    QCOMPARE(mainWindow().LblCorvelVersion, QStringLiteral("V23"));
    QCOMPARE(mainWindow().lblconame, QStringLiteral("First Trading Ltd"));
    QVERIFY(mainWindow().mnuFilenew);
    QVERIFY(mainWindow().toolbarEnabled.value(1));

    // The next touch loads the saved values.
    QCOMPARE(ui().txtUserName->text(), QStringLiteral("clerk "));
    QCOMPARE(ui().TextInterval->text(), QString::number(intervalMs / 60000.0));
}

void tst_settingsform::cancelWritesNothing()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    const QMap<QString, QString> before = storeSnapshot();
    ui().txtUserName->setText("someone else");
    ui().chxColumn->click();
    ui().TxtConfigPath->setText(config("base"));
    ui().btnCancel->click();
    QVERIFY(!DefaultInstance<frmSettings>::isLoaded());
    QCOMPARE(changedKeys(before, storeSnapshot()), QStringList{});
    QCOMPARE(ui().txtUserName->text(), QStringLiteral("manager"));
    QCOMPARE(ui().chxColumn->checkState(), Qt::Unchecked);
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::customerPricingRule_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("shown");
    QTest::addRow("V11 hides and clears it") << "V11" << false;
    QTest::addRow("V9 hides it") << "V9" << false;
    QTest::addRow("V12 shows it") << "V12" << true;
    QTest::addRow("V23 shows it") << "V23" << true;
    QTest::addRow("V24 hides it") << "V24" << false;
    QTest::addRow("version not recognised hides it")
        << "Vorlen Version not recognised - check Vorlen data path" << false;
}

void tst_settingsform::customerPricingRule()
{
    QFETCH(QString, label);
    QFETCH(bool, shown);
    storeBaseline("Second");
    writeSetting("CheckCustomerPricing", "1");
    mainWindow().LblCorvelVersion = label;

    QCOMPARE(ui().CbxCustomerPricing->isHidden(), !shown);
    QCOMPARE(ui().CbxCustomerPricing->checkState(), shown ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(m_session->settingsForm().cbxCustomerPricing(), shown ? 1 : 0);
    if (label != "V11")
        return;
    // The company of version 11 saves the box as it stands: clear.
    ui().TxtConfigPath->setText(config("base"));
    ui().btnSave->click();
    QCOMPARE(messageTexts(), QStringList{});
    QCOMPARE(readSetting("CheckCustomerPricing"), QStringLiteral("0"));
    QCOMPARE(mainWindow().LblCorvelVersion, QStringLiteral("V11"));
}

void tst_settingsform::tabChangeAppliesCustomerPricingRule()
{
    writeSetting("CheckCustomerPricing", "1");
    mainWindow().LblCorvelVersion = "V23";
    QVERIFY(!ui().CbxCustomerPricing->isHidden());
    mainWindow().LblCorvelVersion = "V11";
    ui().SSTab1->setCurrentIndex(1);
    QVERIFY(ui().CbxCustomerPricing->isHidden());
    QCOMPARE(ui().CbxCustomerPricing->checkState(), Qt::Unchecked);
    mainWindow().LblCorvelVersion = "V15";
    ui().SSTab1->setCurrentIndex(2);
    QVERIFY(!ui().CbxCustomerPricing->isHidden());
}

void tst_settingsform::interlockOfCashAndSop()
{
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    ui().SSTab1->setCurrentIndex(1);
    Ui::frmSettings& u = ui();
    u.cbxCashWithInvoice->click();
    QCOMPARE(u.cbxCashWithInvoice->checkState(), Qt::Checked);
    u.CbxImportToSop->click();
    QCOMPARE(u.CbxImportToSop->checkState(), Qt::Checked);
    QCOMPARE(u.cbxCashWithInvoice->checkState(), Qt::Unchecked);
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(1));
    u.cbxCashWithInvoice->click();
    QCOMPARE(u.cbxCashWithInvoice->checkState(), Qt::Checked);
    QCOMPARE(u.CbxImportToSop->checkState(), Qt::Unchecked);
    // Import to SOP takes effect at once, also when the form is then cancelled.
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(0));
    u.CbxImportToSop->click();
    u.btnCancel->click();
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(1));
    QCOMPARE(readSetting("iors", Missing), Missing);
}

void tst_settingsform::enableImportForVersion_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("enabled");
    QTest::addRow("V9 leaves them") << "V9" << false;
    QTest::addRow("V10") << "V10" << true;
    QTest::addRow("V23") << "V23" << true;
    QTest::addRow("blanks around V15") << "  V15 " << true;
    QTest::addRow("V24 leaves them") << "V24" << false;
    QTest::addRow("error text leaves them")
        << "Unable to read version information please check datapath in settings" << false;
}

void tst_settingsform::enableImportForVersion()
{
    QFETCH(QString, label);
    QFETCH(bool, enabled);
    mainWindow().LblCorvelVersion = label;
    form().EnableImportForVersion();
    QCOMPARE(mainWindow().mnuFilenew, enabled);
    QCOMPARE(mainWindow().toolbarEnabled.contains(1), enabled);
    QCOMPARE(mainWindow().toolbarEnabled.value(1), enabled);
}

void tst_settingsform::fileStructureEditorHooks()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    QWidget* shownOver = nullptr;
    QString askedFolder;
    frmSettings::fileStructureEditor().showModal = [&](QWidget* owner) { shownOver = owner; };
    // The editor's boxes, not the file, decide: they hold what the user has not saved yet.
    frmSettings::fileStructureEditor().fieldTexts = [&](const QString& folder) {
        askedFolder = folder;
        return QStringList{"Account Reference", "Unit Discount Price"};
    };
    ui().CmdFileStructure->click();
    QCOMPARE(shownOver, static_cast<QWidget*>(&form()));
    ui().TxtConfigPath->setText(" " + config("base") + " ");
    ui().btnSave->click();
    QCOMPARE(askedFolder, config("base"));
    QCOMPARE(messageTexts(), QStringList{DiscountWithoutPrice});
}

void tst_settingsform::saveWhenTheCompanyWentAway()
{
    const QString program = path("gone/Vorlen");
    makeCompany(path("gone/Company"), "23.0", "Gone Ltd", program);
    writeSetting("VorlenUsername", "manager");
    writeSetting("VorlenProgramPath", program);
    writeSetting("VorlenDataPath", path("gone/Company"));
    mainWindow().LblCorvelVersion = "V23";
    QVERIFY(ui().ListViewCompanyName->item(1)->checked());
    QVERIFY(QFile::remove(path("gone/Company/ACCDATA/setup.dta")));
    ui().TxtConfigPath->setText(config("base"));
    ui().btnSave->click();
    QCOMPARE(messageTexts(), (QStringList{"Vorlen data not found - check settings ", Unsupported}));
    QCOMPARE(messages().shown()[0].title, QStringLiteral("Quillar"));
    QCOMPARE(mainWindow().LblCorvelVersion,
             QStringLiteral("Unable to read version information please check datapath in settings"));
    QVERIFY(ui().TxtDatapath->text().isEmpty());
    QCOMPARE(readSetting("VorlenDataPath"), path("gone/Company"));
    QVERIFY(DefaultInstance<frmSettings>::isLoaded());
}

void tst_settingsform::saveTakesTheTickedRow()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    widgets::ListView* list = ui().ListViewCompanyName;
    // The selection moved by the keys, away from the ticked company.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->selectedItem(), list->item(2));
    QVERIFY(list->item(1)->checked());
    ui().TxtConfigPath->setText(config("base"));
    ui().btnSave->click();
    QCOMPARE(messageTexts(), QStringList{});
    QCOMPARE(readSetting("VorlenDataPath"), m_driveD + "/Data/First");
    QCOMPARE(readSetting("VorlenVersion"), QStringLiteral("23.0"));
    QCOMPARE(readSetting("VorlenCompanyName"), QStringLiteral("First Trading Ltd"));
}

// ---- Company list ----

void tst_settingsform::companyListOfPackageFolder()
{
    storeBaseline("Second");
    mainWindow().LblCorvelVersion = "V11";
    const widgets::ListView* list = ui().ListViewCompanyName;
    QCOMPARE(list->count(), 3);
    const QStringList names{"First Trading Ltd", "Second Ltd", "Old Books Ltd"};
    const QStringList versions{"23.0", "11.0", "9.5"};
    const QStringList folders{"First", "Second", "Old"};
    for (int i = 1; i <= 3; ++i) {
        const widgets::ListItem* row = list->item(i);
        QCOMPARE(row->text(), QString::number(i));
        QCOMPARE(row->subItem(1), names[i - 1]);
        QCOMPARE(row->subItem(2), versions[i - 1]);
        QCOMPARE(row->subItem(3), m_driveD + "/Data/" + folders[i - 1]);
        // The saved company: bold, red, ticked and selected.
        QCOMPARE(row->checked(), i == 2);
        QCOMPARE(row->bold(), i == 2);
        QCOMPARE(row->foreground(1).color() == QColor(255, 0, 0), i == 2);
    }
    QCOMPARE(list->selectedItem(), list->item(2));
    QCOMPARE(ui().TXTCompName->text(), QStringLiteral("Second Ltd"));
    QCOMPARE(messageTexts(), QStringList{});

    // The public method gives the same companies, three entries each.
    QCOMPARE(
        form().GetCompanyName("D:\\Vorlen\\company"),
        (QStringList{"First Trading Ltd", m_driveD + "/Data/First", "23.0", "Second Ltd",
                     m_driveD + "/Data/Second", "11.0", "Old Books Ltd", m_driveD + "/Data/Old", "9.5"}));
}

void tst_settingsform::companyWithMissingSetupFile()
{
    writeSetting("VorlenProgramPath", "D:\\Broken");
    mainWindow().LblCorvelVersion = "V23";
    const widgets::ListView* list = ui().ListViewCompanyName;
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->subItem(1), QStringLiteral("One"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("2"));
    QCOMPARE(list->item(2)->subItem(1), QStringLiteral("Three"));
    const auto& shown = messages().shown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("Vorlen Data Path '%1' in the Company File located at path "
                                           "D:\\Broken\\company, does not exist.")
                                .arg(m_driveD + "/Stale/Two"));
    QCOMPARE(shown[0].title, QStringLiteral("Vorlen Company File Data Path Error"));
    QCOMPARE(shown[0].icon(), int(forms::Critical));
}

void tst_settingsform::unreadableCompanyFile()
{
    mainWindow().LblCorvelVersion = "V23";
    QCOMPARE(form().GetCompanyName(m_driveD + "/Data"), QStringList{});
    const auto& shown = messages().shown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("75  Path/File access error"));
    QCOMPARE(shown[0].buttons(), int(forms::OKOnly));
}

void tst_settingsform::folderWithoutCompanyFile()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    QCOMPARE(ui().ListViewCompanyName->count(), 3);
    ui().Dir1->setPath("D:\\Plain");
    QCOMPARE(ui().Vorlenpath->text(), QStringLiteral("D:\\Plain"));
    QCOMPARE(ui().ListViewCompanyName->count(), 0);
    QVERIFY(ui().TXTCompName->text().isEmpty());
    QVERIFY(ui().TxtDatapath->text().isEmpty());
    // The hidden name and version stay.
    QCOMPARE(ui().txthiddencompanyname->text(), QStringLiteral("First Trading Ltd"));
    QCOMPARE(ui().TxtHiddenVersion->text(), QStringLiteral("23.0"));
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::tickAndClickRows()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    Ui::frmSettings& u = ui();
    widgets::ListView* list = u.ListViewCompanyName;
    u.btnSave->setEnabled(false);

    // Ticking row 2 while row 1 is ticked.
    clickRow(2, true);
    QVERIFY(!list->item(1)->checked());
    QVERIFY(list->item(2)->checked());
    QCOMPARE(list->selectedItem(), list->item(2));
    QCOMPARE(u.TXTCompName->text(), QStringLiteral("Second Ltd"));
    QCOMPARE(u.txthiddencompanyname->text(), QStringLiteral("Second Ltd"));
    QCOMPARE(u.TxtDatapath->text(), m_driveD + "/Data/Second");
    QCOMPARE(u.TxtHiddenVersion->text(), QStringLiteral("11.0"));
    QVERIFY(u.btnSave->isEnabled());
    QCOMPARE(mainWindow().LblCorvelVersion, QStringLiteral("V11"));
    QCOMPARE(mainWindow().lblconame, QStringLiteral("Second Ltd"));

    // Unticking it by its check box empties the name and data-path boxes.
    clickRow(2, true);
    QVERIFY(!list->item(2)->checked());
    QVERIFY(u.TXTCompName->text().isEmpty());
    QVERIFY(u.TxtDatapath->text().isEmpty());
    QVERIFY(u.txthiddencompanyname->text().isEmpty());
    QCOMPARE(u.TxtHiddenVersion->text(), QStringLiteral("11.0"));

    // A click on the text of row 3 ticks it; a second click unticks it and empties
    // only the name box.
    clickRow(3, false);
    QVERIFY(list->item(3)->checked());
    QCOMPARE(u.TXTCompName->text(), QStringLiteral("Old Books Ltd"));
    QCOMPARE(u.TxtDatapath->text(), m_driveD + "/Data/Old");
    QCOMPARE(mainWindow().LblCorvelVersion, QStringLiteral("V9"));
    clickRow(3, false);
    QVERIFY(!list->item(3)->checked());
    QVERIFY(u.TXTCompName->text().isEmpty());
    QCOMPARE(u.TxtDatapath->text(), m_driveD + "/Data/Old");
    QCOMPARE(u.txthiddencompanyname->text(), QStringLiteral("Old Books Ltd"));
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!list->item(i)->checked());
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::typedFolderThatDoesNotExist()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    ui().Vorlenpath->setFocus();
    ui().Vorlenpath->setText("D:\\Nowhere");
    QTest::keyClick(ui().Vorlenpath, Qt::Key_Return);
    QCOMPARE(messageTexts(), QStringList{"Not a valid system path."});
    QCOMPARE(ui().Vorlenpath->text(), QStringLiteral("D:\\Nowhere"));
    QCOMPARE(ui().Dir1->path(), QStringLiteral("D:\\Vorlen"));

    // A folder that exists is taken as the folder list's.
    messages().clear();
    ui().Vorlenpath->setText(m_driveD + "/Broken/");
    QTest::keyClick(ui().Vorlenpath, Qt::Key_Return);
    QCOMPARE(ui().Dir1->path(), QStringLiteral("D:\\Broken"));
    QCOMPARE(ui().Vorlenpath->text(), QStringLiteral("D:\\Broken"));
    QCOMPARE(ui().ListViewCompanyName->count(), 2);
}

void tst_settingsform::driveNotReady()
{
    // G: is in the mount table, but its folder cannot be read.
    mountDrives(path("mounts"), {m_driveD, m_driveE, m_driveF, path("unmounted")});
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    ui().Drive1->setDrive("G");
    QCOMPARE(messageTexts(), QStringList{"g: Drive not ready."});
    QCOMPARE(ui().Drive1->drive(), QStringLiteral("c:"));
    QVERIFY(ui().Dir1->path().startsWith(QLatin1String("C:\\")));
}

void tst_settingsform::driveChangeMovesTheFolderList()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    ui().Drive1->setDrive("F");
    QCOMPARE(ui().Dir1->path().left(3), QStringLiteral("F:\\"));
    QCOMPARE(ui().Vorlenpath->text(), ui().Dir1->path());
    QCOMPARE(ui().ListViewCompanyName->count(), 0);
    // Back on D: the folder list opens the folder last open there.
    ui().Drive1->setDrive("d:");
    QCOMPARE(ui().Dir1->path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(ui().ListViewCompanyName->count(), 3);
    QCOMPARE(messageTexts(), QStringList{});
}

void tst_settingsform::browseShowsAndHidesThePickers()
{
    mainWindow().LblCorvelVersion = "V23";
    QVERIFY(!ui().Drive1->isHidden());
    ui().BrowseBtn->click();
    QVERIFY(ui().Drive1->isHidden());
    QVERIFY(ui().Dir1->isHidden());
    ui().BrowseBtn->click();
    QVERIFY(!ui().Drive1->isHidden());
    QVERIFY(!ui().Dir1->isHidden());
    ui().Dir1->hide(); // one of them hidden: both are shown
    ui().BrowseBtn->click();
    QVERIFY(!ui().Drive1->isHidden());
    QVERIFY(!ui().Dir1->isHidden());
}

void tst_settingsform::withoutDrivewalk()
{
    m_session->createObject = [](const QString&) -> automation::ObjectRef {
        throw basic::RuntimeError(basic::err::CantCreateObject, "ActiveX component can't create object");
    };
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    form();
    QCOMPARE(messageTexts(), QStringList{"429 ActiveX component can't create object"});
    QCOMPARE(ui().ListViewCompanyName->count(), 0);

    messages().clear();
    ui().SearchBtn->click();
    QCOMPARE(messageTexts(), QStringList{"429  ActiveX component can't create object"});
    QCOMPARE(int(messages().inputsShown().size()), 0);
    QVERIFY(ui().SearchBtn->isEnabled());
    QVERIFY(ui().BTNStopSearch->isHidden());
    ui().BTNStopSearch->click(); // Stop without an object still does no harm
}

// ---- Installation search ----

void tst_settingsform::searchFindsInstallationsAndFillsTheList()
{
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    Ui::frmSettings& u = ui();
    const QString before = u.Dir1->path();
    messages().queueInput(QStringLiteral("2"));
    u.SearchBtn->click();

    const auto& asked = messages().inputsShown();
    QCOMPARE(int(asked.size()), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Vorlen Installation Search Report"));
    // E: holds two matching files only; a folder of F: with one program file is no installation.
    QCOMPARE(asked[0].text, QStringLiteral("Found 3 Installations of Vorlen in this Computer.\r"
                                           "Please select the desired path, Default is 1.\r"
                                           "1) D:\\Broken and\r2) D:\\Vorlen and\r3) F:\\Apps\\Vorlen2"));
    QCOMPARE(messageTexts(), QStringList{});
    QVERIFY(before != u.Dir1->path());
    QCOMPARE(u.Dir1->path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(u.Drive1->drive(), QStringLiteral("d:"));
    QCOMPARE(u.Vorlenpath->text(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(u.ListViewCompanyName->count(), 3);
    QCOMPARE(u.ListViewCompanyName->item(1)->subItem(1), QStringLiteral("First Trading Ltd"));
    QVERIFY(u.TXTCompName->text().isEmpty());
    // The form is unlocked again, Save stays disabled until a company is ticked.
    for (QWidget* control :
         std::initializer_list<QWidget*>{u.SearchBtn, u.CmdFileStructure, u.btnCancel, u.BrowseBtn,
                                         u.fraLogin, u.fradatasetup, u.Drive1, u.Dir1})
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(!u.btnSave->isEnabled());
    QVERIFY(u.BTNStopSearch->isHidden());
    QVERIFY(u.VorlenDrivewalkAVI->isHidden());
    QVERIFY(u.LBLSearchDisp->text().isEmpty());
    clickRow(1, true);
    QVERIFY(u.btnSave->isEnabled());
}

// The report as the program shows it: one line per entry, the box within the screen.
void tst_settingsform::searchReportShowsItsLines()
{
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    QStringList lines;
    QRect box;
    {
        testsupport::WidgetInputBoxes boxes([&](QInputDialog* dialog) {
            lines = dialog->findChild<QLabel*>()->text().split(QLatin1Char('\n'));
            box = dialog->frameGeometry();
            dialog->setTextValue(QStringLiteral("2"));
            dialog->accept();
        });
        ui().SearchBtn->click();
    }
    QCOMPARE(lines, (QStringList{"Found 3 Installations of Vorlen in this Computer.",
                                 "Please select the desired path, Default is 1.", "1) D:\\Broken and",
                                 "2) D:\\Vorlen and", "3) F:\\Apps\\Vorlen2"}));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(box.width() <= screen.width() && box.height() <= screen.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
    QCOMPARE(ui().Vorlenpath->text(), QStringLiteral("D:\\Vorlen"));
}

void tst_settingsform::searchInvalidSelection_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addRow("0") << std::optional<QString>("0");
    QTest::addRow("4 of 3") << std::optional<QString>("4");
    QTest::addRow("abc") << std::optional<QString>("abc");
    QTest::addRow("empty") << std::optional<QString>("");
    QTest::addRow("cancelled") << std::optional<QString>();
}

void tst_settingsform::searchInvalidSelection()
{
    QFETCH(std::optional<QString>, answer);
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    messages().queueInput(answer);
    ui().SearchBtn->click();
    QCOMPARE(int(messages().inputsShown().size()), 1);
    QCOMPARE(messageTexts(), QStringList{"Invalid Selection"});
    QCOMPARE(messages().shown()[0].icon(), int(forms::Critical));
    QCOMPARE(ui().Dir1->path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(ui().TXTCompName->text(), QStringLiteral("First Trading Ltd"));
    QVERIFY(ui().BTNStopSearch->isHidden());
    QVERIFY(ui().SearchBtn->isEnabled());
}

void tst_settingsform::searchStopped()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    Ui::frmSettings& u = ui();
    QStringList during;
    bool closed = true;
    // Stop is pressed as soon as the search lets events run.
    QTimer::singleShot(0, this, [&] {
        for (QWidget* control :
             std::initializer_list<QWidget*>{u.SearchBtn, u.CmdFileStructure, u.btnCancel, u.btnSave,
                                             u.BrowseBtn, u.fraLogin, u.fradatasetup, u.Drive1, u.Dir1})
            if (control->isEnabled())
                during << control->objectName() + " enabled";
        if (u.BTNStopSearch->isHidden())
            during << "stop hidden";
        if (!u.VorlenDrivewalkAVI->isPlaying())
            during << "clip not playing";
        during << u.LBLSearchDisp->text();
        closed = form().close();
        u.BTNStopSearch->click();
    });
    u.SearchBtn->click();

    QCOMPARE(during, QStringList{"Searching in Drive D"});
    QVERIFY(!closed);
    QVERIFY(DefaultInstance<frmSettings>::isLoaded());
    QCOMPARE(messageTexts(), QStringList{"Search Canceled by User."});
    QCOMPARE(messages().shown()[0].icon(), int(forms::Exclamation));
    QCOMPARE(int(messages().inputsShown().size()), 0);
    QCOMPARE(u.Dir1->path(), QStringLiteral("D:\\Vorlen"));
    QVERIFY(u.SearchBtn->isEnabled());
    QVERIFY(u.fraLogin->isEnabled());
    QVERIFY(!u.btnSave->isEnabled());
    QVERIFY(u.BTNStopSearch->isHidden());
    QVERIFY(u.VorlenDrivewalkAVI->isHidden());
    QVERIFY(!u.VorlenDrivewalkAVI->isPlaying());
    QVERIFY(u.LBLSearchDisp->text().isEmpty());
    QCOMPARE(m_fileSearch->get(QStringLiteral("SearchStopDll")), automation::Variant(false));

    // The next search starts clean.
    messages().clear();
    messages().queueInput(QStringLiteral("3"));
    u.SearchBtn->click();
    QCOMPARE(u.Dir1->path(), QStringLiteral("F:\\Apps\\Vorlen2"));
    // That folder's company file names a folder that holds no company.
    QCOMPARE(messageTexts(), QStringList{"Vorlen Data Path 'x' in the Company File located at path "
                                         "F:\\Apps\\Vorlen2\\company, does not exist."});
    QCOMPARE(u.ListViewCompanyName->count(), 0);
}

// ---- Folder picker ----

void tst_settingsform::browseButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");
    QTest::addRow("templates") << "CmdBrowseConfig"
                               << "TxtConfigPath"
                               << "Select the template configuration files Path....";
    QTest::addRow("source") << "Command2"
                            << "TextSourcePath"
                            << "Select CSV file Source Path....";
    QTest::addRow("success") << "Command3"
                             << "TextSuccessPath"
                             << "Select Successfully Loaded Csv Path....";
    QTest::addRow("errors") << "Command4"
                            << "TextErrorLogPath"
                            << "Select Error Log Csv Path....";
}

void tst_settingsform::browseButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(QString, caption);
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    auto* text = form().findChild<QLineEdit*>(box);
    text->setText(m_driveF + "/Apps");
    QString seenCaption, seenStart;
    QTimer::singleShot(0, this, [&] {
        frmDirPath& picker = DefaultInstance<frmDirPath>::get();
        seenCaption = picker.windowTitle();
        seenStart = picker.m_ui->Label3->text();
        picker.m_ui->Dir1->setPath("D:\\Data\\Second");
        picker.m_ui->Command1->click();
    });
    form().findChild<QPushButton*>(button)->click();
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenStart, QStringLiteral("F:\\Apps"));
    QCOMPARE(text->text(), QStringLiteral("D:\\Data\\Second"));
    QCOMPARE(m_session->DirPathResult, QStringLiteral("D:\\Data\\Second"));
    QVERIFY(!DefaultInstance<frmDirPath>::isLoaded());
}

void tst_settingsform::browseCancelled()
{
    mainWindow().LblCorvelVersion = "V23";
    showForm();
    ui().TextSourcePath->setText("D:\\In");
    m_session->DirPathResult = "left from before";
    QTimer::singleShot(0, this, [&] {
        frmDirPath& picker = DefaultInstance<frmDirPath>::get();
        picker.m_ui->Dir1->setPath("D:\\Data");
        picker.m_ui->Dir1->setPath("D:\\Data\\First");
        picker.m_ui->Command2->click();
    });
    ui().Command2->click();
    QCOMPARE(ui().TextSourcePath->text(), QStringLiteral("D:\\In"));
    QVERIFY(m_session->DirPathResult.isEmpty());
    QVERIFY(!DefaultInstance<frmDirPath>::isLoaded());
}

void tst_settingsform::folderPickerStartFolder_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("shown"); // empty: the current folder
    QTest::addRow("empty start path") << ""
                                      << "";
    QTest::addRow("folder that does not exist") << "D:\\Nowhere"
                                                << "";
    QTest::addRow("drive root") << "F:\\"
                                << "F:\\";
    QTest::addRow("native path") << m_driveD + "/Data/"
                                 << "D:\\Data";
    QTest::addRow("folder in another case") << "d:\\data\\FIRST"
                                            << "D:\\Data\\First";
}

void tst_settingsform::folderPickerStartFolder()
{
    QFETCH(QString, start);
    QFETCH(QString, shown);
    frmDirPath& picker = DefaultInstance<frmDirPath>::get();
    const QString current = picker.m_ui->Dir1->path();
    picker.FormLoadValue(start);
    const QString expected = shown.isEmpty() ? current : shown;
    QCOMPARE(picker.m_ui->Dir1->path(), expected);
    QCOMPARE(picker.m_ui->Label3->text(), expected);
    QCOMPARE(picker.m_ui->Drive1->drive(), expected.left(2).toLower());
    QCOMPARE(picker.m_ui->Label1->text(), QStringLiteral("Select Drive"));
    QCOMPARE(picker.m_ui->Label2->text(), QStringLiteral("Select Driectory"));
    QCOMPARE(picker.m_ui->Command1->text(), QStringLiteral("&Select"));
    QCOMPARE(picker.m_ui->Command2->text(), QStringLiteral("&Cancel"));
}

QTEST_MAIN(tst_settingsform)
// The picker gives the folder in its drive form ("D:\\Layouts\\Picked"): the
// settings form, the layout editor and the import read and write the layout files
// in that folder, not in a relative "D:/..." one.
void tst_settingsform::layoutFolderChosenWithThePicker()
{
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    const QString picked = m_driveD + "/Layouts/Picked";
    writeLayout(picked, {"Transaction Type", "Account Reference", "Transaction Date", "Product Code", "Quantity",
                         "Unit Price"});
    writeFile(picked + "/qfm2.cfg", "Account Reference\r\n\r\n\r\n\r\n");
    showForm();
    QTimer::singleShot(0, this, [] {
        frmDirPath& picker = DefaultInstance<frmDirPath>::get();
        picker.m_ui->Dir1->setPath("D:\\Layouts\\Picked");
        picker.m_ui->Command1->click();
    });
    ui().CmdBrowseConfig->click();
    QCOMPARE(ui().TxtConfigPath->text(), QStringLiteral("D:\\Layouts\\Picked"));
    ui().btnSave->click();
    QCOMPARE(messageTexts(), QStringList{});
    QCOMPARE(readSetting("pellmoorconfigdir"), QStringLiteral("D:\\Layouts\\Picked"));

    const QString folder = importer::LayoutFiles::configFolder();
    QCOMPARE(importer::LayoutFiles::readForEditor(folder).columns[1], QStringLiteral("Account Reference"));
    FrmFileStructure& editor = DefaultInstance<FrmFileStructure>::get();
    QCOMPARE(editor.TxtField(1), QStringLiteral("Transaction Type"));
    QCOMPARE(editor.TxtIndex(1), QStringLiteral("Account Reference"));
    QFile::remove(picked + "/qfm.cfg");
    editor.btnSave_Click();
    QCOMPARE(messageTexts(), QStringList{});
    QFile written(picked + "/qfm.cfg");
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().startsWith("Transaction Type\r\nAccount Reference\r\n"));
    QVERIFY(!QFileInfo::exists("D:"));
}

// The editor Save loads hidden is loaded again once the templates folder or the
// import mode changed: Save checks the layout of the folder now set, and the editor
// shows it with the titles of the mode now chosen, leaving the files as they are.
void tst_settingsform::editorFollowsTheTemplatesFolderAndImportMode()
{
    const auto bytes = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    };
    storeBaseline("First");
    mainWindow().LblCorvelVersion = "V23";
    const QString folderA = config("base"), folderB = config("transno");
    const QByteArray layoutA = bytes(folderA + "/qfm.cfg"), layoutB = bytes(folderB + "/qfm.cfg");
    showForm();
    ui().TxtConfigPath->setText(folderA);
    ui().btnSave->click();
    QCOMPARE(messageTexts(), QStringList{});
    QVERIFY(DefaultInstance<FrmFileStructure>::isLoaded());

    showForm();
    ui().TxtConfigPath->setText(folderB); // B's layout holds "Transaction No", A's not
    ui().cbximporttransno->setCheckState(Qt::Checked);
    ui().btnSave->click();
    QCOMPARE(messageTexts(), QStringList{});

    showForm();
    ui().CbxImportToSop->click();
    QCOMPARE(m_session->state().pass.ImportToSop, int16_t(1));
    QString seventh;
    QStringList offered;
    QTimer::singleShot(0, this, [&] {
        FrmFileStructure& editor = DefaultInstance<FrmFileStructure>::get();
        seventh = editor.TxtField(7);
        const QListWidget* list = editor.findChild<QListWidget*>("LstVorlenFields");
        for (int row = 0; row < list->count(); ++row)
            offered << list->item(row)->text();
        editor.btnCancel_Click();
    });
    ui().CmdFileStructure->click();
    QCOMPARE(seventh, QStringLiteral("Transaction No"));
    QVERIFY(offered.contains("Despatch Due Date"));
    QVERIFY(!offered.contains("Transaction Type"));
    QCOMPARE(bytes(folderA + "/qfm.cfg"), layoutA);
    QCOMPARE(bytes(folderB + "/qfm.cfg"), layoutB);
}

#include "tst_settingsform.moc"
