#include "app/setup/frmSettings.h"
#include "ui_frmSettings.h"

#include "app/import/LayoutFiles.h"
#include "app/import/VorlenConnection.h"
#include "app/session/ProgramSession.h"
#include "app/setup/frmDirPath.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/CheckBoxValue.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Paths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QFileInfo>

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

const QString SettingsTitle = QStringLiteral("Quillar - Settings");

// The trimmed label is one of "V<from>" to "V<to>", exactly.
bool versionCodeIn(const QString& label, int from, int to)
{
    const QString code = basic::Trim(label);
    for (int major = from; major <= to; ++major)
        if (code == QStringLiteral("V%1").arg(major))
            return true;
    return false;
}

// A stored check-box key: the text as a whole number; anything but 0, 1 (ticked)
// and 2 (grey) leaves the box as it was.
void setCheckValue(QCheckBox* box, const QString& stored)
{
    const int16_t value = basic::CInt(basic::Variant(stored));
    if (value < 0 || value > 2)
        throw basic::RuntimeError(basic::err::InvalidPropertyValue,
                                  basic::errorDescription(basic::err::InvalidPropertyValue));
    forms::setCheckBoxValue(*box, value);
}

QString numberAndText(const basic::RuntimeError& e, const QString& separator)
{
    return QString::number(e.number()) + separator + e.description();
}

// One step of a routine whose errors skip the step and go on with the next.
template <class Step> void skipOnError(Step&& step)
{
    try {
        step();
    } catch (const basic::RuntimeError&) {
    }
}

// The check boxes of the store in Save's order: the key as Save writes it, the
// spelling Load reads it in (the store compares names without regard to case).
struct StoredCheckBox
{
    const char* key;
    const char* loadKey;
    QCheckBox* Ui::frmSettings::*box;
};

const std::vector<StoredCheckBox>& storedCheckBoxes()
{
    using U = Ui::frmSettings;
    static const std::vector<StoredCheckBox> boxes{
        {"ImportHeaders", "ImportHeaders", &U::chxColumn},
        {"CheckFileFormat", "CheckFileFormat", &U::CbxFileFormat},
        {"CheckRndQty", "CheckRndQty", &U::cbxrndqty},
        {"CheckRndPrice", "CheckRndPrice", &U::Cbxrndprice},
        {"CheckCustomerPricing", "CheckCustomerPricing", &U::CbxCustomerPricing},
        {"CheckSettlementDiscount", "CheckSettlementDiscount", &U::CbxSettlementDiscount},
        {"CheckCarriageCharge", "CheckCarriageCharge", &U::CbxCarriageCharge},
        {"CheckDeliveryAddress", "CheckDeliveryAddress", &U::cbxdeliveryaddress},
        {"Checkfcprice", "CheckFcPrice", &U::cbxfcprice},
        {"Checkcashwithinvoice", "CheckCashWithInvoice", &U::cbxCashWithInvoice},
        {"iors", "iors", &U::CbxImportToSop},
        {"OverrideVorlenProductDescription", "OverrideVorlenProductDescription",
         &U::Cbxoverridevorlenproductdescription},
        {"TakeVorlenPriceIfPriceZEro", "TakeVorlenPriceIfPriceZero", &U::Cbxtakevorlenpriceifpricezero},
        {"ImportTransno", "Importtransno", &U::cbximporttransno},
        {"BatchUpdateEnabled", "BatchUpdateEnabled", &U::CheckEnableTranImport},
    };
    return boxes;
}

// The Interval box in milliseconds; nothing when the box is not a number or the
// result is not a whole number of the timer's range.
std::optional<int32_t> intervalMilliseconds(const QString& minutes)
{
    try {
        return basic::CLng(basic::Variant(basic::CDbl(basic::Variant(minutes)) * 60000.0));
    } catch (const basic::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

frmSettings::frmSettings()
    : m_ui(std::make_unique<Ui::frmSettings>()),
      m_search([this] { return programSession().fileSearchObj(); },
               [this](const QString& text) { m_ui->LBLSearchDisp->setText(text); })
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("frmSettings"));
    m_ui->TxtDatapath->hide();
    m_ui->txthiddencompanyname->hide();
    m_ui->TxtHiddenVersion->hide();
    m_ui->BTNStopSearch->hide();
    m_ui->VorlenDrivewalkAVI->hide();

    widgets::ListView* list = m_ui->ListViewCompanyName;
    list->addColumn(QStringLiteral("No"), 40);
    list->addColumn(QStringLiteral("Company Name"), 190);
    list->addColumn(QStringLiteral("Version"), 60);
    list->addColumn(QStringLiteral("Company Data Path"), 260);
    list->setCheckboxes(true);
    connectControls();
}

frmSettings::~frmSettings() = default;

int frmSettings::cbxCashWithInvoice() const
{
    return forms::checkBoxValue(*m_ui->cbxCashWithInvoice);
}

int frmSettings::cbximporttransno() const
{
    return forms::checkBoxValue(*m_ui->cbximporttransno);
}

int16_t frmSettings::ImportToSop() const
{
    return programSession().state().pass.ImportToSop;
}

frmSettings::FileStructureEditor& frmSettings::fileStructureEditor()
{
    static FileStructureEditor editor;
    return editor;
}

session::ProgramSession& frmSettings::programSession() const
{
    session::ProgramSession* session = session::ProgramSession::current();
    if (!session)
        throw std::logic_error("the settings form needs the program session");
    return *session;
}

void frmSettings::connectControls()
{
    Ui::frmSettings& ui = *m_ui;
    connect(ui.btnSave, &QPushButton::clicked, this, [this] { btnSave_Click(); });
    connect(ui.btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
    connect(ui.CmdFileStructure, &QPushButton::clicked, this, [this] { CmdFileStructure_Click(); });
    connect(ui.CmdBrowseConfig, &QPushButton::clicked, this, [this] {
        browseFolder(m_ui->TxtConfigPath, QStringLiteral("Select the template configuration files Path...."));
    });
    connect(ui.Command2, &QPushButton::clicked, this, [this] {
        browseFolder(m_ui->TextSourcePath, QStringLiteral("Select CSV file Source Path...."));
    });
    connect(ui.Command3, &QPushButton::clicked, this, [this] {
        browseFolder(m_ui->TextSuccessPath, QStringLiteral("Select Successfully Loaded Csv Path...."));
    });
    connect(ui.Command4, &QPushButton::clicked, this, [this] {
        browseFolder(m_ui->TextErrorLogPath, QStringLiteral("Select Error Log Csv Path...."));
    });
    // A box set from code raises its handler as a click does.
    connect(ui.cbxCashWithInvoice, &QCheckBox::stateChanged, this, [this] { cbxCashWithInvoice_Click(); });
    connect(ui.CbxImportToSop, &QCheckBox::stateChanged, this, [this] { CbxImportToSop_Click(); });
    connect(ui.SSTab1, &QTabWidget::currentChanged, this, [this](int) { applyCustomerPricingRule(); });
    connect(ui.SSTab1, &QTabWidget::tabBarClicked, this, [this](int) { applyCustomerPricingRule(); });

    connect(ui.Dir1, &widgets::FolderList::change, this, [this] { Dir1_Change(); });
    connect(ui.Drive1, &widgets::DriveList::driveChange, this, [this] { Drive1_Change(); });
    connect(ui.BrowseBtn, &QPushButton::clicked, this, [this] { BrowseBtn_Click(); });
    // Enter and leaving the box both take the typed folder.
    connect(ui.Vorlenpath, &QLineEdit::editingFinished, this, [this] { Vorlenpath_LostFocus(); });
    connect(ui.ListViewCompanyName, &widgets::ListView::itemCheck, this,
            [this](widgets::ListItem* item) { ListViewCompanyName_ItemCheck(item); });
    connect(ui.ListViewCompanyName, &widgets::ListView::itemClick, this,
            [this](widgets::ListItem*) { ListViewCompanyName_Click(); });

    connect(ui.SearchBtn, &QPushButton::clicked, this, [this] { SearchBtn_Click(); });
    connect(ui.BTNStopSearch, &QPushButton::clicked, this, [this] { BTNStopSearch_Click(); });
}

// ---- The boxes other parts read ----

QString frmSettings::txtDatapath() const
{
    return m_ui->TxtDatapath->text();
}
void frmSettings::setTxtDatapath(const QString& text)
{
    m_ui->TxtDatapath->setText(text);
}
QString frmSettings::txtHiddenVersion() const
{
    return m_ui->TxtHiddenVersion->text();
}
QString frmSettings::txthiddencompanyname() const
{
    return m_ui->txthiddencompanyname->text();
}
QString frmSettings::txtUserName() const
{
    return m_ui->txtUserName->text();
}
QString frmSettings::txtPassword() const
{
    return m_ui->txtPassword->text();
}
int frmSettings::cbxCustomerPricing() const
{
    return forms::checkBoxValue(*m_ui->CbxCustomerPricing);
}
int frmSettings::cbxoverridevorlenproductdescription() const
{
    return forms::checkBoxValue(*m_ui->Cbxoverridevorlenproductdescription);
}
int frmSettings::cbxtakevorlenpriceifpricezero() const
{
    return forms::checkBoxValue(*m_ui->Cbxtakevorlenpriceifpricezero);
}
QString frmSettings::textSourcePath() const
{
    return m_ui->TextSourcePath->text();
}
QString frmSettings::textSuccessPath() const
{
    return m_ui->TextSuccessPath->text();
}
QString frmSettings::textErrorLogPath() const
{
    return m_ui->TextErrorLogPath->text();
}
void frmSettings::setCbxCustomerPricingVisible(bool visible)
{
    m_ui->CbxCustomerPricing->setVisible(visible);
}
void frmSettings::setCbxCustomerPricing(int value)
{
    forms::setCheckBoxValue(*m_ui->CbxCustomerPricing, value);
}

// ---- Public methods ----

void frmSettings::EnableImportForVersion()
{
    importer::MainWindowView& main = programSession().mainWindow();
    if (!versionCodeIn(main.lblCorvelVersion(), 10, 23))
        return;
    main.setMnuFilenewEnabled(true);
    main.setToolbarButtonEnabled(1, true); // "SelectFile"
}

void frmSettings::applyCustomerPricingRule()
{
    if (versionCodeIn(programSession().mainWindow().lblCorvelVersion(), 12, 23)) {
        setCbxCustomerPricingVisible(true);
        return;
    }
    setCbxCustomerPricingVisible(false);
    setCbxCustomerPricing(0);
}

QStringList frmSettings::GetCompanyName(const QString& companyFile)
{
    QStringList triples;
    for (const companies::CompanyEntry& company : companies::GetCompanyName(companyFile))
        triples << company.name << company.dataFolder << company.version;
    return triples;
}

QStringList frmSettings::GetVorlenPath()
{
    return m_search.GetVorlenPath();
}

// ---- Load ----

void frmSettings::formLoad()
{
    using settings::readSetting;
    Ui::frmSettings& ui = *m_ui;
    session::ProgramSession& session = programSession();

    skipOnError([&] {
        ui.txthiddencompanyname->setText(readSetting(QStringLiteral("VorlenCompanyName")));
        ui.TxtHiddenVersion->setText(readSetting(QStringLiteral("VorlenVersion")));
        ui.Vorlenpath->setText(readSetting(QStringLiteral("VorlenProgramPath")));
        ui.TxtDatapath->setText(readSetting(QStringLiteral("VorlenDataPath")));
        ui.TxtConfigPath->setText(readSetting(QStringLiteral("pellmoorconfigdir")));
        ui.txtUserName->setText(readSetting(QStringLiteral("VorlenUsername")));
        ui.txtPassword->setText(readSetting(QStringLiteral("VorlenPassword")));
    });

    // Load reads the keys in spellings of its own; the order of the two pricing and
    // settlement boxes does not matter, as neither has a handler.
    for (const StoredCheckBox& stored : storedCheckBoxes())
        skipOnError([&] {
            setCheckValue(ui.*stored.box, readSetting(QLatin1String(stored.loadKey), QStringLiteral("0")));
        });

    skipOnError([&] {
        ui.TextSourcePath->setText(readSetting(QStringLiteral("BatchSourcePath")));
        ui.TextErrorLogPath->setText(readSetting(QStringLiteral("BatchErrorlogPath")));
        ui.TextSuccessPath->setText(readSetting(QStringLiteral("BatchSuccessPath")));
        ui.TextInterval->setText(readSetting(QStringLiteral("BatchInterval")));
    });
    skipOnError([&] {
        if (!ui.TextInterval->text().isEmpty())
            ui.TextInterval->setText(
                basic::formatDouble(basic::CDbl(basic::Variant(ui.TextInterval->text())) / 60000.0));
    });
    if (const std::optional<int32_t> ms = intervalMilliseconds(ui.TextInterval->text()))
        session.state().batch.BatchIntervalMs = *ms;
    session.state().pass.ImportToSop = int16_t(forms::checkBoxValue(*ui.CbxImportToSop));

    skipOnError([&] { ui.Dir1->setPath(ui.Vorlenpath->text()); });
    skipOnError([&] { ui.Drive1->setDrive(ui.Dir1->path().left(1)); });
    applyCustomerPricingRule();
}

// ---- Save ----

void frmSettings::btnSave_Click()
{
    Ui::frmSettings& ui = *m_ui;
    session::ProgramSession& session = programSession();
    bool failed = false;
    const auto fail = [&](const QString& text) {
        forms::MsgBox(text, forms::OKOnly, SettingsTitle);
        failed = true;
    };

    if (ui.txtUserName->text().isEmpty())
        fail(QStringLiteral("Vorlen login has not been entered - please setup"));

    // The ticked row is the company: it is the selected row whenever the mouse chose
    // it, and moving the selection with the keys does not choose another company.
    bool companyChosen = false;
    ui.TxtDatapath->clear();
    for (int i = 1; i <= ui.ListViewCompanyName->count(); ++i) {
        const widgets::ListItem* row = ui.ListViewCompanyName->item(i);
        if (!row->checked())
            continue;
        ui.TxtDatapath->setText(row->subItem(3));
        ui.TxtHiddenVersion->setText(row->subItem(2));
        ui.txthiddencompanyname->setText(ui.TXTCompName->text());
        companyChosen = true;
        break;
    }

    importer::ShowVorlenVersion(session.context(), ui.TxtDatapath->text() + QStringLiteral("\\accdata"));

    if (!versionCodeIn(session.mainWindow().lblCorvelVersion(), 10, 23))
        fail(QStringLiteral(
            "Selected path does not contain a supported version of Vorlen Corvel,please reselect"));
    if (!companyChosen && !failed)
        fail(QStringLiteral("Vorlen company has not been selected - please select"));

    session.state().batch.BatchModeEnabled = ui.CheckEnableTranImport->checkState() == Qt::Checked;
    const bool configFolderValid = checkConfigFolder();
    const bool layoutPassed = checkLayout(configFolderValid);
    const bool intervalPassed = checkInterval();
    if (failed || !configFolderValid || !layoutPassed || !intervalPassed)
        return; // the form stays open with the user's entries

    writeSettings();
    importer::BatchState& batch = session.state().batch;
    batch.SuccessFolder = ui.TextSuccessPath->text();
    batch.ErrorFolder = ui.TextErrorLogPath->text();
    batch.SourceFolder = ui.TextSourcePath->text();
    if (const std::optional<int32_t> ms = intervalMilliseconds(ui.TextInterval->text()))
        batch.BatchIntervalMs = *ms;
    settings::writeSetting(QStringLiteral("VorlenCompanyName"), ui.txthiddencompanyname->text());
    settings::writeSetting(QStringLiteral("VorlenVersion"), ui.TxtHiddenVersion->text());
    settings::writeSetting(QStringLiteral("VorlenProgramPath"), ui.Vorlenpath->text());
    settings::writeSetting(QStringLiteral("VorlenDataPath"), ui.TxtDatapath->text());

    EnableImportForVersion();
    unload();
}

// The configuration folder is stored before the outcome of Save is known, as the
// layout editor and the next import read it; a folder that does not exist is never
// stored, since the next start would end at once on it.
bool frmSettings::checkConfigFolder()
{
    const QString typed = m_ui->TxtConfigPath->text();
    const QString folder = basic::Trim(typed);
    QString problem;
    if (folder.isEmpty())
        problem = QStringLiteral("Templates File Path has not been entered - please select the folder of the "
                                 "file structure");
    else if (!QFileInfo(shell::nativePath(folder)).isDir())
        problem = QStringLiteral("Templates File Path '%1' does not exist - please select the folder of the "
                                 "file structure")
                      .arg(folder);
    if (!problem.isEmpty()) {
        forms::MsgBox(problem, forms::OKOnly, SettingsTitle);
        return false;
    }
    settings::writeSetting(QStringLiteral("pellmoorconfigdir"), typed);
    return true;
}

// The layout against the options. True when it passes.
bool frmSettings::checkLayout(bool configFolderValid)
{
    const Ui::frmSettings& ui = *m_ui;
    const QString folder = basic::Trim(ui.TxtConfigPath->text());
    bool passed = true;
    const auto fail = [&](const QString& text, const QString& title = SettingsTitle) {
        forms::MsgBox(text, forms::OKOnly, title);
        passed = false;
    };

    if (configFolderValid) {
        try {
            basic::SequentialFile layout;
            layout.open(importer::LayoutFiles::columnFilePath(folder), basic::OpenMode::Input);
            layout.close();
        } catch (const basic::RuntimeError&) {
            fail(QStringLiteral("File Structure Setup has not been completed"), QString());
        }
    }

    QStringList fields;
    try {
        const FileStructureEditor& editor = fileStructureEditor();
        if (editor.fieldTexts) {
            fields = editor.fieldTexts(folder);
        } else if (configFolderValid) { // no folder: no layout file, never one elsewhere
            for (const QString& text : importer::LayoutFiles::readForEditor(folder).columns)
                fields << text;
        }
    } catch (const basic::RuntimeError&) {
        fields.clear(); // no layout to read: every field box counts as empty
    }
    const auto holds = [&fields](const char* title) { return fields.contains(QLatin1String(title)); };
    const bool transactionNo = holds("Transaction No");
    const bool unitPrice = holds("Unit Price");
    const bool unitDiscountPrice = holds("Unit Discount Price");
    const bool paymentValue = holds("Payment Value");

    const bool importTransNo = ui.cbximporttransno->checkState() == Qt::Checked;
    const bool cashWithInvoice = ui.cbxCashWithInvoice->checkState() == Qt::Checked;
    if (importTransNo && !transactionNo)
        fail(QStringLiteral("Import Transaction no is ticked, must select transaction no. Please select in "
                            "filestructure."));
    if (!importTransNo && transactionNo)
        fail(QStringLiteral("Import Transaction no is not selected, Cannot import transaction no. Please "
                            "deselect in filestructure."));
    if (cashWithInvoice && paymentValue)
        fail(QStringLiteral("Cannot import payment value if cash with invoice ticked.  Please deselect in "
                            "filestructure."));
    if (ui.CbxImportToSop->checkState() == Qt::Checked && cashWithInvoice)
        fail(QStringLiteral("Cannot import payment value to SOP.  Please amend options"));
    if (unitDiscountPrice && !unitPrice)
        fail(QStringLiteral(
            "Cannot give discount unit price without Unit price. Please select in filestructure."));
    return passed;
}

// A pass timer of 0 or less would run one pass after the other without a pause,
// and one past the timer's range could not be kept. An empty box, or one that is not
// a number, leaves the stored interval as it is.
bool frmSettings::checkInterval()
{
    const QString text = m_ui->TextInterval->text();
    if (text.isEmpty() || !basic::IsNumeric(basic::Variant(text)))
        return true;
    const std::optional<int32_t> ms = intervalMilliseconds(text);
    if (ms && *ms > 0)
        return true;
    forms::MsgBox(
        QStringLiteral("The batch Interval must be more than 0 and at most %1 Minutes - please correct it")
            .arg(std::numeric_limits<int32_t>::max() / 60000),
        forms::OKOnly, SettingsTitle);
    return false;
}

// A key that cannot be written is skipped; Save goes on with the next.
void frmSettings::writeSettings()
{
    using settings::writeSetting;
    const Ui::frmSettings& ui = *m_ui;
    writeSetting(QStringLiteral("VorlenUsername"), ui.txtUserName->text());
    writeSetting(QStringLiteral("VorlenPassword"), ui.txtPassword->text());
    for (const StoredCheckBox& stored : storedCheckBoxes())
        writeSetting(QLatin1String(stored.key), QString::number(forms::checkBoxValue(*(ui.*stored.box))));
    writeSetting(QStringLiteral("BatchSourcePath"), ui.TextSourcePath->text());
    writeSetting(QStringLiteral("BatchErrorlogPath"), ui.TextErrorLogPath->text());
    writeSetting(QStringLiteral("BatchSuccessPath"), ui.TextSuccessPath->text());
    skipOnError([&] {
        writeSetting(QStringLiteral("BatchInterval"),
                     basic::formatDouble(basic::CDbl(basic::Variant(ui.TextInterval->text())) * 60000.0));
    });
}

void frmSettings::btnCancel_Click()
{
    unload();
}

void frmSettings::CmdFileStructure_Click()
{
    if (const FileStructureEditor& editor = fileStructureEditor(); editor.showModal)
        editor.showModal(this);
}

void frmSettings::browseFolder(QLineEdit* box, const QString& caption)
{
    session::ProgramSession& session = programSession();
    session.DirPathResult.clear();
    frmDirPath& picker = forms::DefaultInstance<frmDirPath>::get();
    picker.setWindowTitle(caption);
    picker.FormLoadValue(box->text());
    picker.showModal(this);
    if (!session.DirPathResult.isEmpty())
        box->setText(session.DirPathResult);
}

// ---- Interlock of Cash With Invoice and Import to SOP ----

void frmSettings::cbxCashWithInvoice_Click()
{
    if (m_ui->cbxCashWithInvoice->checkState() == Qt::Checked)
        m_ui->CbxImportToSop->setCheckState(Qt::Unchecked);
}

void frmSettings::CbxImportToSop_Click()
{
    const int value = forms::checkBoxValue(*m_ui->CbxImportToSop);
    programSession().state().pass.ImportToSop = int16_t(value);
    if (value == 1)
        m_ui->cbxCashWithInvoice->setCheckState(Qt::Unchecked);
}

// ---- The program folder and the company list ----

void frmSettings::Dir1_Change()
{
    Ui::frmSettings& ui = *m_ui;
    ui.Vorlenpath->setText(ui.Dir1->path());
    ui.ListViewCompanyName->clearItems();
    companies::CompanyListing listing;
    try {
        const automation::ObjectRef fileSearch = programSession().fileSearchObj();
        listing = companies::readProgramFolder(*fileSearch, ui.Vorlenpath->text(), ui.TxtDatapath->text());
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(numberAndText(e, QStringLiteral(" ")));
        return;
    }
    if (!listing.packageFolder) {
        ui.TXTCompName->clear();
        ui.TxtDatapath->clear();
        return;
    }
    FillCompanyList(listing);
}

void frmSettings::FillCompanyList(const companies::CompanyListing& listing)
{
    widgets::ListView* list = m_ui->ListViewCompanyName;
    for (size_t i = 0; i < listing.rows.size(); ++i) {
        const companies::CompanyRow& company = listing.rows[i];
        widgets::ListItem* row = list->addItem(company.number);
        row->setSubItem(1, company.name);
        row->setSubItem(2, company.version);
        row->setSubItem(3, company.dataFolder);
        if (company.saved) {
            row->setBold(true);
            row->setForeColor(QColor(255, 0, 0));
        }
        if (int(i) == listing.savedRow) {
            row->setChecked(true);
            list->setSelectedItem(row);
            m_ui->TXTCompName->setText(company.name);
        }
    }
}

void frmSettings::Drive1_Change()
{
    Ui::frmSettings& ui = *m_ui;
    const QString drive = ui.Drive1->drive();
    try {
        if (basic::UCase(drive.left(1)) != ui.Dir1->path().left(1))
            ui.Dir1->setPath(drive);
    } catch (const basic::RuntimeError&) {
        forms::MsgBox(drive + QStringLiteral(" Drive not ready."));
        skipOnError([&] { ui.Drive1->setDrive(QStringLiteral("C:\\")); });
    }
}

void frmSettings::BrowseBtn_Click()
{
    const bool shown = !m_ui->Drive1->isHidden() && !m_ui->Dir1->isHidden();
    m_ui->Drive1->setHidden(shown);
    m_ui->Dir1->setHidden(shown);
}

void frmSettings::Vorlenpath_LostFocus()
{
    try {
        m_ui->Dir1->setPath(m_ui->Vorlenpath->text());
    } catch (const basic::RuntimeError&) {
        forms::MsgBox(QStringLiteral("Not a valid system path."));
    }
}

void frmSettings::takeCompany(widgets::ListItem* row)
{
    m_ui->TXTCompName->setText(row->subItem(1));
    m_ui->txthiddencompanyname->setText(row->subItem(1));
    m_ui->TxtDatapath->setText(row->subItem(3));
    m_ui->TxtHiddenVersion->setText(row->subItem(2));
}

void frmSettings::showVorlenVersion()
{
    importer::ShowVorlenVersion(programSession().context(),
                                basic::Trim(m_ui->TxtDatapath->text()) + QStringLiteral("\\accdata"));
}

// The user ticked or unticked a row by its check box; its click follows.
void frmSettings::ListViewCompanyName_ItemCheck(widgets::ListItem* item)
{
    Ui::frmSettings& ui = *m_ui;
    widgets::ListView* list = ui.ListViewCompanyName;
    const QString acted = item->text();
    widgets::ListItem* actedRow = nullptr;
    for (int i = 1; i <= list->count(); ++i) {
        widgets::ListItem* row = list->item(i);
        if (acted == QString::number(i))
            actedRow = row;
        else
            row->setChecked(false);
    }
    if (!actedRow)
        return;
    list->setSelectedItem(actedRow);
    if (actedRow->checked()) {
        takeCompany(actedRow);
        ui.btnSave->setEnabled(true);
        showVorlenVersion();
    } else {
        ui.TXTCompName->clear();
        ui.TxtDatapath->clear();
        ui.txthiddencompanyname->clear();
    }
    m_checkEventSeen = true;
}

// A click on a row's text toggles its tick; a click on its check box was handled
// by the tick event just before.
void frmSettings::ListViewCompanyName_Click()
{
    widgets::ListView* list = m_ui->ListViewCompanyName;
    widgets::ListItem* selected = m_checkEventSeen ? nullptr : list->selectedItem();
    m_checkEventSeen = false;
    if (!selected)
        return;
    for (int i = 1; i <= list->count(); ++i)
        if (list->item(i) != selected)
            list->item(i)->setChecked(false);
    if (selected->checked()) {
        selected->setChecked(false);
        m_ui->TXTCompName->clear();
        return;
    }
    selected->setChecked(true);
    takeCompany(selected);
    showVorlenVersion();
}

// ---- The installation search ----

void frmSettings::lockForSearch(bool locked)
{
    Ui::frmSettings& ui = *m_ui;
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.SearchBtn, ui.CmdFileStructure, ui.btnCancel, ui.BrowseBtn,
                                         ui.fraLogin, ui.fradatasetup, ui.Drive1, ui.Dir1})
        control->setEnabled(!locked);
    // Save stays disabled after a search until a company row is ticked.
    ui.btnSave->setEnabled(false);
}

void frmSettings::endSearchDisplay()
{
    m_ui->LBLSearchDisp->clear();
    m_ui->BTNStopSearch->hide();
    m_ui->VorlenDrivewalkAVI->hide();
    m_searching = false;
}

void frmSettings::SearchBtn_Click()
{
    Ui::frmSettings& ui = *m_ui;
    m_searching = true;
    ui.BTNStopSearch->show();
    ui.VorlenDrivewalkAVI->show();
    if (ui.VorlenDrivewalkAVI->open(programSession().programFolder() + QStringLiteral("/Search.AVI")))
        ui.VorlenDrivewalkAVI->play();
    lockForSearch(true);
    ui.BTNStopSearch->setFocus();

    QStringList found;
    bool searched = true;
    try {
        found = GetVorlenPath();
    } catch (const basic::RuntimeError& e) {
        searched = false;
        forms::MsgBox(numberAndText(e, QStringLiteral("  ")), forms::Critical);
    }

    if (m_search.stopRequested()) {
        ui.LBLSearchDisp->clear();
        ui.VorlenDrivewalkAVI->stop();
        m_search.reportCanceled();
        endSearchDisplay();
        lockForSearch(false);
        return;
    }
    lockForSearch(false);
    ui.VorlenDrivewalkAVI->stop();
    if (searched) {
        if (const std::optional<QString> folder = m_search.askForInstallation(found)) {
            ui.TXTCompName->clear();
            skipOnError([&] {
                ui.Dir1->setPath(*folder);
                ui.Drive1->setDrive(ui.Dir1->path().left(1));
            });
        }
    }
    endSearchDisplay();
}

void frmSettings::BTNStopSearch_Click()
{
    m_search.stop();
}

// While a search runs the form cannot be closed: the search is under way in its
// own handler.
void frmSettings::closeEvent(QCloseEvent* event)
{
    if (m_searching) {
        event->ignore();
        return;
    }
    forms::Form::closeEvent(event);
}
