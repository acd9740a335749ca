#include "app/setup/FrmFileStructure.h"
#include "ui_FrmFileStructure.h"

#include "app/import/LayoutSlots.h"
#include "app/setup/LayoutPairWrite.h"
#include "app/setup/SettingsOptions.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

#include <algorithm>
#include <vector>

using importer::EditorLayout;
using importer::LayoutFiles;
namespace slot = importer::slot;

namespace {

const QString Title = QStringLiteral("Quillar - File Structure");
const QString SettlementTitle = QStringLiteral("Quillar-File Structure");
const QString ErrorText = QStringLiteral("An error has occurred, error number ");

// The editor's orders: "Account Reference" first, then "Transaction Type", then
// the others by slot; the column list ends with "Payment Value" and
// "Transaction No". Which of them are offered is the slot table's business.
const std::vector<int>& columnListOrder()
{
    static const std::vector<int> order = [] {
        std::vector<int> slots{slot::AccountReference, slot::TransactionType};
        for (int s = slot::TransactionDate; s <= importer::SlotCount; ++s) {
            if (s != slot::PaymentValue && s != slot::TransactionNo)
                slots.push_back(s);
        }
        slots.push_back(slot::PaymentValue);
        slots.push_back(slot::TransactionNo);
        return slots;
    }();
    return order;
}

const std::vector<int>& groupListOrder()
{
    static const std::vector<int> order = [] {
        std::vector<int> slots{slot::AccountReference, slot::TransactionType};
        for (int s = slot::TransactionDate; s <= importer::SlotCount; ++s)
            slots.push_back(s);
        return slots;
    }();
    return order;
}

QString title(int s)
{
    return importer::slotTitle(s);
}

void removeEntries(QListWidget* list, const QString& text)
{
    for (int row = list->count() - 1; row >= 0; --row) {
        if (list->item(row)->text() == text)
            delete list->takeItem(row);
    }
}

void message(const QString& text, const QString& boxTitle = Title)
{
    forms::MsgBox(text, forms::OKOnly, boxTitle);
}

bool askYesNo(const QString& text, const QString& boxTitle = Title)
{
    return forms::MsgBox(text, forms::YesNo | forms::Question, boxTitle) == forms::AnswerYes;
}

// An open-or-create that leaves an existing file as it is.
void createIfMissing(const QString& path)
{
    if (QFileInfo::exists(basic::resolvePath(path)))
        return;
    basic::SequentialFile file;
    file.open(path, basic::OpenMode::Append);
    file.close();
}

QString restoreErrorText(int32_t number)
{
    switch (number) {
    case basic::err::BadFileNameOrNumber:
        return QStringLiteral("ERROR 52 : File does not exist please select another file to restore");
    case basic::err::FileNotFound:
        return QStringLiteral("ERROR 53: File does not exist please select another file to restore");
    case basic::err::PathFileAccessError:
        return QStringLiteral("ERROR 75: File does not exist please select another file to restore");
    default:
        return ErrorText + QString::number(number);
    }
}

} // namespace

FrmFileStructure::FrmFileStructure() : m_ui(std::make_unique<Ui::FrmFileStructure>())
{
    // The boxes keep their fixed layout; on a screen lower than the form they scroll.
    auto* content = new QWidget;
    m_ui->setupUi(content);
    setObjectName(content->objectName());
    content->setObjectName(QStringLiteral("FrmFileStructureContent"));
    setWindowTitle(content->windowTitle());
    setScrollableContent(content);
    for (int i = 1; i <= FieldCount; ++i)
        m_fields[size_t(i - 1)] = findChild<QLineEdit*>(QStringLiteral("TxtField_%1").arg(i));
    for (int i = 1; i <= IndexCount; ++i)
        m_index[size_t(i - 1)] = findChild<QLineEdit*>(QStringLiteral("TxtIndex_%1").arg(i));
    for (QLineEdit* box : m_fields)
        box->installEventFilter(this);
    for (QLineEdit* box : m_index)
        box->installEventFilter(this);
    // Boxes 53 and 54 exist for layouts written by other means, but are not shown.
    for (const char* hidden : {"TxtField_53", "TxtField_54", "lblField_53", "lblField_54"})
        findChild<QWidget*>(QLatin1String(hidden))->hide();

    for (QListWidget* list : {m_ui->LstVorlenFields, m_ui->LstVorlenFields2}) {
        QSizePolicy policy = list->sizePolicy();
        policy.setRetainSizeWhenHidden(true); // the window keeps its size when a list shows
        list->setSizePolicy(policy);
        list->hide();
    }

    connect(m_ui->LstVorlenFields, &QListWidget::itemDoubleClicked, this,
            &FrmFileStructure::LstVorlenFields_DblClick);
    connect(m_ui->LstVorlenFields2, &QListWidget::itemDoubleClicked, this,
            &FrmFileStructure::LstVorlenFields2_DblClick);
    connect(m_ui->btnSave, &QPushButton::clicked, this, &FrmFileStructure::btnSave_Click);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &FrmFileStructure::btnCancel_Click);
    connect(m_ui->CmdStore, &QPushButton::clicked, this, &FrmFileStructure::CmdStore_Click);
    connect(m_ui->CmdRestorefromFile, &QPushButton::clicked, this,
            &FrmFileStructure::CmdRestorefromFile_Click);
}

FrmFileStructure::~FrmFileStructure() = default;

QString FrmFileStructure::TxtField(int i) const
{
    return i >= 1 && i <= FieldCount ? m_fields[size_t(i - 1)]->text() : QString();
}

QString FrmFileStructure::TxtIndex(int i) const
{
    return i >= 1 && i <= IndexCount ? m_index[size_t(i - 1)]->text() : QString();
}

std::array<QString, FrmFileStructure::FieldCount> FrmFileStructure::fieldTexts() const
{
    std::array<QString, FieldCount> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = m_fields[i]->text();
    return texts;
}

importer::GroupTitles FrmFileStructure::indexTexts() const
{
    importer::GroupTitles texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = m_index[i]->text();
    return texts;
}

void FrmFileStructure::faddvorlenfields()
{
    const setup::SettingsOptions& options = setup::settingsOptions();
    const int16_t importToSop = options.ImportToSop();
    const bool cashWithInvoice = options.cbxCashWithInvoice() != 0;
    const bool transNo = options.cbximporttransno() == 1;
    const auto& slots = importer::layoutSlots();
    for (const int s : columnListOrder()) {
        if (importer::editorOffers(slots[size_t(s - 1)].columnList, importToSop, cashWithInvoice, transNo))
            m_ui->LstVorlenFields->addItem(title(s));
    }
    for (const int s : groupListOrder()) {
        if (importer::editorOffers(slots[size_t(s - 1)].groupList, importToSop, cashWithInvoice, transNo))
            m_ui->LstVorlenFields2->addItem(title(s));
    }
}

void FrmFileStructure::showLayout(const EditorLayout& layout)
{
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        m_fields[i]->setText(layout.columns[i]);
        removeEntries(m_ui->LstVorlenFields, basic::Trim(layout.columns[i]));
    }
    for (size_t i = 0; i < layout.groups.size(); ++i) {
        m_index[i]->setText(layout.groups[i]);
        removeEntries(m_ui->LstVorlenFields2, basic::Trim(layout.groups[i]));
    }
}

FrmFileStructure& FrmFileStructure::current()
{
    using Instance = forms::DefaultInstance<FrmFileStructure>;
    if (Instance::isLoaded()) {
        const FrmFileStructure& loaded = Instance::get();
        if (basic::resolvePath(loaded.m_loadedFolder) != basic::resolvePath(LayoutFiles::configFolder()) ||
            loaded.m_loadedImportToSop != setup::settingsOptions().ImportToSop())
            Instance::unload();
    }
    return Instance::get();
}

void FrmFileStructure::formLoad()
{
    m_currentBoxIndex = 0;
    const QString folder = LayoutFiles::configFolder();
    m_loadedFolder = folder;
    m_loadedImportToSop = setup::settingsOptions().ImportToSop();
    faddvorlenfields();

    const QString columnFile = LayoutFiles::columnFilePath(folder);
    const QString groupFile = LayoutFiles::groupFilePath(folder);
    bool columnsReadable = true;
    try {
        createIfMissing(columnFile);
    } catch (const basic::RuntimeError& e) {
        // Reported once; the boxes stay empty, since the pair cannot be read.
        message(ErrorText + QString::number(e.number()));
        columnsReadable = false;
    }
    try {
        createIfMissing(groupFile);
    } catch (const basic::RuntimeError& e) {
        message(ErrorText + QString::number(e.number()));
        unload();
        return;
    }
    if (!columnsReadable)
        return;
    try {
        showLayout(LayoutFiles::readForEditor(folder));
    } catch (const basic::RuntimeError& e) {
        message(ErrorText + QString::number(e.number()));
        if (basic::resolvePath(e.source()) == basic::resolvePath(groupFile))
            unload();
    }
}

bool FrmFileStructure::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (size_t i = 0; i < m_fields.size(); ++i) {
            if (watched == m_fields[i]) {
                TxtField_DblClick(int(i + 1));
                return true;
            }
        }
        for (size_t i = 0; i < m_index.size(); ++i) {
            if (watched == m_index[i]) {
                TxtIndex_DblClick(int(i + 1));
                return true;
            }
        }
    }
    return forms::Form::eventFilter(watched, event);
}

void FrmFileStructure::TxtField_DblClick(int index)
{
    if (index < 1 || index > FieldCount)
        return;
    m_ui->LstVorlenFields->show();
    QLineEdit* box = m_fields[size_t(index - 1)];
    const QString held = box->text();
    if (!held.isEmpty()) {
        // Titles the present import mode does not offer go nowhere.
        const int16_t importToSop = setup::settingsOptions().ImportToSop();
        const bool dropped = (held == title(slot::TransactionType) && importToSop != 0) ||
                             (held == title(slot::DespatchDueDate) && importToSop != 1);
        if (!dropped)
            m_ui->LstVorlenFields->addItem(held);
        box->clear();
    }
    m_currentBoxIndex = index;
}

void FrmFileStructure::TxtIndex_DblClick(int index)
{
    if (index < 1 || index > IndexCount)
        return;
    m_ui->LstVorlenFields2->show();
    QLineEdit* box = m_index[size_t(index - 1)];
    if (!box->text().isEmpty()) {
        m_ui->LstVorlenFields2->addItem(box->text());
        box->clear();
    }
    m_currentBoxIndex = index;
}

void FrmFileStructure::LstVorlenFields_DblClick(QListWidgetItem* item)
{
    // The box last double-clicked may have been a grouping box; its number names a
    // column box all the same. Before any double-click there is no box to fill.
    if (item && m_currentBoxIndex >= 1 && m_currentBoxIndex <= FieldCount) {
        m_fields[size_t(m_currentBoxIndex - 1)]->setText(item->text());
        delete m_ui->LstVorlenFields->takeItem(m_ui->LstVorlenFields->row(item));
    }
    m_ui->LstVorlenFields->hide();
}

void FrmFileStructure::LstVorlenFields2_DblClick(QListWidgetItem* item)
{
    if (item) {
        const QString chosen = item->text();
        const auto fields = fieldTexts();
        if (std::find(fields.begin(), fields.end(), chosen) == fields.end()) {
            message(QStringLiteral("That item has not been selected for import"));
        } else if (m_currentBoxIndex >= 1 && m_currentBoxIndex <= IndexCount) {
            // A column box double-clicked last leaves no grouping box to fill.
            m_index[size_t(m_currentBoxIndex - 1)]->setText(chosen);
            delete m_ui->LstVorlenFields2->takeItem(m_ui->LstVorlenFields2->row(item));
        }
    }
    m_ui->LstVorlenFields2->hide();
}

bool FrmFileStructure::checkLayout()
{
    // 1. Grouping boxes: each one given names a column box's title exactly.
    const auto fields = fieldTexts();
    const QSet<QString> present(fields.begin(), fields.end());
    bool anyIndex = false;
    for (const QLineEdit* box : m_index) {
        if (basic::Trim(box->text()).isEmpty())
            continue;
        anyIndex = true;
        if (!present.contains(box->text())) {
            message(QStringLiteral("Index fields are invalid - please reselect"));
            return false;
        }
    }
    if (!anyIndex) {
        message(QStringLiteral("At least one index field must be selected"));
        return false;
    }

    // 2. The titles the checks ask about.
    const auto has = [&](int s) { return present.contains(title(s)); };
    bool transactionDate = has(slot::TransactionDate);
    bool transactionType = has(slot::TransactionType);
    const bool settlementRate = has(slot::SettlementDiscountRate);
    const bool settlementDays = has(slot::SettlementDueDays);
    const bool transactionNo = has(slot::TransactionNo);

    // 3.
    if (!transactionDate)
        transactionDate = askYesNo(QStringLiteral("Confirm taking system date as transaction date"));
    // 4.
    if (settlementRate && !settlementDays) {
        message(QStringLiteral("Cannot have Settlement Discount without Settlement Due Days"),
                SettlementTitle);
        return false;
    }
    if (settlementDays && !settlementRate) {
        message(QStringLiteral("Cannot have Settlement Due Days without Settlement Discount"),
                SettlementTitle);
        return false;
    }
    // 5.
    const double settlementSetting =
        basic::Val(settings::readSetting(QStringLiteral("CheckSettlementDiscount"), QStringLiteral("0")));
    if (settlementSetting == 1 && settlementRate && settlementDays &&
        !askYesNo(QStringLiteral("You have selected Settlement Options, however you have also selected "
                                 "Settlement Discount from settings. Any values supplied in the import file "
                                 "will override the values in Vorlen. Do you wish to continue?"),
                  SettlementTitle))
        return false;
    // 6.
    const int importTransNo = setup::settingsOptions().cbximporttransno();
    if (importTransNo == 1 && !transactionNo) {
        message(QStringLiteral("Import Transaction no is ticked, must select transaction."));
        return false;
    }
    if (importTransNo == 0 && transactionNo) {
        message(QStringLiteral(
            "Import Transaction no is not selected in options, Cannot import transaction no."));
        return false;
    }
    // 7.
    if (setup::settingsOptions().ImportToSop() == 1) {
        if (transactionType) {
            message(QStringLiteral("Transaction Type Not Allowed In SOP Inport. Remove And Try again"));
            return false;
        }
        transactionType = true;
    }
    // 8.
    if (!(has(slot::AccountReference) && transactionDate && transactionType && has(slot::Quantity) &&
          has(slot::ProductCode))) {
        message(QStringLiteral("Not all mandatory fields have been selected"));
        return false;
    }
    // 9.
    if (setup::settingsOptions().cbxCashWithInvoice() == 1 && has(slot::PaymentValue)) {
        message(QStringLiteral("Cannot import payment value if cash with invoice ticked"));
        return false;
    }
    // 10.
    if (has(slot::UnitDiscountPrice) && !has(slot::UnitPrice)) {
        message(QStringLiteral("Cannot give discount unit price without Unit price"));
        return false;
    }
    return true;
}

void FrmFileStructure::btnSave_Click()
{
    if (!checkLayout())
        return;
    try {
        setup::writeLayoutPair(LayoutFiles::configFolder(), fieldTexts(), indexTexts());
    } catch (const setup::LayoutWriteError& e) {
        message(QString::number(e.number()), e.file() == 1
                                                 ? QStringLiteral("Quillar Structure File 1 Error")
                                                 : QStringLiteral("Quillar Structure File 2 Error"));
        message(e.description(), {}); // under the program's title
        return;
    }
    unload();
}

void FrmFileStructure::btnCancel_Click()
{
    unload();
}

bool FrmFileStructure::acceptTemplateName(const QString& name)
{
    // The name goes in front of both file names in the template folder: it must
    // neither leave that folder (a "\" or "/") nor be left empty, which would be the
    // layout in use. Dots are part of a file name ("v1..2qfm.cfg" stays in the folder).
    const QString trimmed = basic::Trim(name);
    const bool unsafe =
        trimmed.isEmpty() || trimmed.contains(QLatin1Char('\\')) || trimmed.contains(QLatin1Char('/')) ||
        std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.unicode() < 0x20; });
    if (unsafe)
        message(QStringLiteral("A structure name cannot be blank or contain \\ or / - please enter another name"));
    return !unsafe;
}

void FrmFileStructure::CmdStore_Click()
{
    const QString answer = forms::InputBox(QStringLiteral("Enter Name for this structure "),
                                           QStringLiteral("Quillar -Save File Structure Template"));
    if (answer.isEmpty() || !acceptTemplateName(answer))
        return;
    const QString name = basic::Trim(answer);
    const QString folder = LayoutFiles::configFolder();
    if (QFileInfo::exists(basic::resolvePath(LayoutFiles::columnFilePath(folder, name))) &&
        !askYesNo(QStringLiteral("A structure with that prefix already exists, Overwrite?")))
        return;
    try {
        setup::writeLayoutPair(folder, fieldTexts(), indexTexts(), name);
    } catch (const setup::LayoutWriteError& e) {
        message(ErrorText + QString::number(e.number()), e.file() == 1
                                                             ? QStringLiteral("Quillar - File Structure 1")
                                                             : QStringLiteral("Quillar - File Structure 2"));
    }
}

void FrmFileStructure::CmdRestorefromFile_Click()
{
    forms::FileOpenRequest request;
    request.title = QStringLiteral("Select Structure template file");
    request.control = QStringLiteral("CommonDialog1");
    request.filter = QStringLiteral("Import File(*qfm.cfg)|*qfm.cfg");
    request.initialFolder = settings::readSetting(QStringLiteral("pellmoorconfigdir"));
    const std::optional<QString> chosen = forms::ShowOpen(request);
    if (!chosen || chosen->isEmpty())
        return;

    // The template's name is what stands before "qfm.cfg", in any case; its
    // partner "qfm2.cfg" lies in the same folder, kept as chosen.
    const QFileInfo info(*chosen);
    const QString suffix = QString::fromLatin1(LayoutFiles::ColumnFileName);
    const QString fileName = info.fileName();
    const QString name = fileName.left(fileName.size() - suffix.size());
    if (!fileName.endsWith(suffix, Qt::CaseInsensitive) || name != basic::Trim(name)) {
        message(QStringLiteral("That file is not a structure template (its name must end in qfm.cfg) - "
                               "please select another file to restore"));
        return;
    }
    // Both files are read before anything is shown, so a template that cannot be
    // read whole changes nothing.
    EditorLayout layout;
    try {
        layout = LayoutFiles::readForEditor(info.path(), name);
    } catch (const basic::RuntimeError& e) {
        message(restoreErrorText(e.number()));
        return;
    }
    m_ui->LstVorlenFields->clear();
    m_ui->LstVorlenFields2->clear();
    faddvorlenfields();
    showLayout(layout);
}
