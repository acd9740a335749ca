#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "app/import/ImportContext.h"
#include "app/import/SettingsFormView.h"
#include "app/import/VorlenConnection.h"
#include "app/import/driver/ImportDriver.h"
#include "app/mainwindow/MainWindowBatch.h"
#include "app/mainwindow/OtherForms.h"
#include "app/mainwindow/ReadOnlyFileViewer.h"
#include "app/mainwindow/batch/BatchMode.h"
#include "app/mainwindow/batch/BatchSettings.h"
#include "app/mainwindow/batch/BatchStatus.h"
#include "app/mainwindow/password/ChangeLoginPassword.h"
#include "app/session/ProgramSession.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/controlframework/ControlSite.h"
#include "platform/controlframework/PropertyBag.h"
#include "platform/forms/BeforeModal.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Paths.h"
#include "platform/shell/TextEditor.h"
#include "platform/widgets/Animation.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <functional>
#include <utility>

using basic::RuntimeError;
using basic::Variant;
using forms::MsgBox;

namespace {

constexpr int MaxStepTries = 3;
constexpr qint64 PaintEveryMs = 60; // the display stands still no longer than 100 ms

struct MenuItem
{
    const char* name;
    const char* caption; // "-" for a separator
    const char* shortcut;
};

struct ToolbarButton
{
    const char* caption;
    const char* key; // nullptr: the button has none
    const char* toolTip;
    QStyle::StandardPixmap icon;
};

// tbToolBar, by index 1 to 7; icons from imlToolbarIcons (the style's own here).
const ToolbarButton ToolbarButtons[] = {
    {"Select &File", "SelectFile", "Select the file to upload", QStyle::SP_DialogOpenButton},
    {"&Validate", "ImportFile", "Start Uploading file", QStyle::SP_DialogApplyButton},
    {"&Import Log", "ErrorLog", "View Import Log", QStyle::SP_FileDialogDetailedView},
    {"&View File", "ViewFile", "Open selected file in Notepad", QStyle::SP_FileIcon},
    {"&Settings", "settings", "Quillar Settings", QStyle::SP_FileDialogContentsView},
    {"&Hide Me", nullptr, nullptr, QStyle::SP_ArrowDown},
    {"&About", "about", "About Quillar", QStyle::SP_MessageBoxInformation},
};

QString lit(const char* text)
{
    return QString::fromLatin1(text);
}

// The versions whose companies price by customer.
bool pricesByCustomer(const QString& versionCode)
{
    for (int v = 12; v <= 23; ++v)
        if (versionCode == QStringLiteral("V%1").arg(v))
            return true;
    return false;
}

// A small round lamp for the indicator images.
QPixmap lamp(const QColor& colour)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1.5));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(2, 2, 16, 16));
    return pixmap;
}

// A handler's errors stop at the handler: they are shown, never passed on.
void guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const RuntimeError& e) {
        MsgBox(e.description(), forms::OKOnly);
    } catch (const std::exception& e) {
        MsgBox(QString::fromLocal8Bit(e.what()), forms::OKOnly);
    }
}

// The batch timers' errors are passed over, step by step as the mode does.
void ignoringErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception&) {
    }
}

} // namespace

frmmain::frmmain() : m_ui(std::make_unique<Ui::frmmain>())
{
    m_ui->setupUi(this);
    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildHistoryFrame();
    // The version label's design value is one blank (Designer drops it).
    m_ui->LblCorvelVersion->setText(QStringLiteral(" "));

    m_ui->ErrorsFoundIMG->setPixmap(lamp(QColor(200, 30, 30)));
    m_ui->NoErrorFoundIMG->setPixmap(lamp(QColor(30, 160, 60)));
    m_ui->imgRed->setPixmap(lamp(QColor(240, 140, 0)));

    Timer1.setInterval(2000);
    Timer3.setInterval(1000);
    if (session::ProgramSession::current()) {
        m_batch = std::make_unique<mainwindow::MainWindowBatch>(
            context(),
            mainwindow::BatchControls{m_ui->CommandStart, m_ui->Label1, m_ui->LabelCountDown, m_ui->txtwhereat,
                                      m_panels[0], Settings, m_ui->ListViewBatchStatus},
            Timer1, Timer2, Timer3, [this](const std::function<void()>& work) { runWithDisplayPaced(work); });
        m_batch->setStopped([this] {
            if (std::exchange(m_closeAfterFile, false))
                unload();
        });
        Timer1.setHandler([this] { ignoringErrors([this] { m_batch->mode().scanTick(); }); });
        Timer2.setHandler([this] { ignoringErrors([this] { m_batch->mode().passTick(); }); });
        Timer3.setHandler([this] { ignoringErrors([this] { m_batch->mode().countdownTick(); }); });
    }

    connect(m_ui->Command1, &QPushButton::clicked, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(m_ui->Command2, &QPushButton::clicked, this, [this] { guarded([this] { Command2_Click(); }); });
    connect(m_ui->CommandStart, &QPushButton::clicked, this, [this] { guarded([this] { CommandStart_Click(); }); });
    connect(m_ui->CommandStop, &QPushButton::clicked, this, [this] { guarded([this] { CommandStop_Click(); }); });
    connect(m_ui->ListViewBatchStatus, &widgets::ListView::columnClick, this,
            [this](int column) { guarded([this, column] { ListViewBatchStatus_ColumnClick(column); }); });
    m_ui->Label1->installEventFilter(this);
    m_sincePaint.start();
}

frmmain::~frmmain() = default;

void frmmain::buildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    m_ui->formLayout->setMenuBar(menuBar);

    const auto addMenu = [this](const char* name, const char* caption) {
        QMenu* menu = menuBar->addMenu(lit(caption));
        menu->setObjectName(lit(name));
        menu->menuAction()->setObjectName(lit(name));
        return menu;
    };
    const auto addItem = [this](QMenu* menu, const MenuItem& item, void (frmmain::*handler)()) {
        QAction* action = QString::fromLatin1(item.caption) == QLatin1String("-") ? menu->addSeparator()
                                                                                 : menu->addAction(lit(item.caption));
        action->setObjectName(lit(item.name));
        if (item.shortcut)
            action->setShortcut(QKeySequence(lit(item.shortcut)));
        if (handler)
            connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
        return action;
    };

    File = addMenu("File", "File");
    mnuFilenew = addItem(File, {"mnuFilenew", "Select &File", "Ctrl+F"}, &frmmain::mnuFilenew_Click);
    MnuFileViewErrors = addItem(File, {"MnuFileViewErrors", "&View Import Log", "Ctrl+V"}, &frmmain::MnuFileViewErrors_Click);
    MnuFileStartImport = addItem(File, {"MnuFileStartImport", "&Validate", "Ctrl+I"}, &frmmain::MnuFileStartImport_Click);
    mnuFileBar0 = addItem(File, {"mnuFileBar0", "-", nullptr}, nullptr);
    MnuFileExit = addItem(File, {"MnuFileExit", "&Exit", "F4"}, &frmmain::MnuFileExit_Click);

    Settings = addMenu("Settings", "Settings");
    ChangePassword = addItem(Settings, {"ChangePassword", "Change &Password", "Ctrl+P"}, &frmmain::ChangePassword_Click);
    mnuSettingsSettings = addItem(Settings, {"mnuSettingsSettings", "&Settings", "Ctrl+S"}, &frmmain::mnuSettingsSettings_Click);

    mnuHelp = addMenu("mnuHelp", "&Help");
    MnuHelpAbout = addItem(mnuHelp, {"MnuHelpAbout", "&About", nullptr}, &frmmain::MnuHelpAbout_Click);
}

void frmmain::buildToolbar()
{
    tbToolBar = new widgets::ToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(24, 24));
    m_ui->formLayout->insertWidget(0, tbToolBar);
    for (const ToolbarButton& b : ToolbarButtons)
        tbToolBar->addButton(lit(b.caption), b.key ? lit(b.key) : QString(), b.toolTip ? lit(b.toolTip) : QString(),
                             style()->standardIcon(b.icon));
    connect(tbToolBar, &widgets::ToolBar::buttonClick, this,
            [this](int, const QString& key) { tbToolBar_ButtonClick(key); });
}

void frmmain::buildStatusBar()
{
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(m_ui->StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        m_panels[i] = panel;
        if (i == 0)
            m_ui->StatusBar1->addWidget(panel, 1);
        else
            m_ui->StatusBar1->addPermanentWidget(panel);
    }
    m_panels[0]->setText(QStringLiteral("Status"));
    m_clock.setHandler([this] { showClock(); });
    m_clock.setInterval(1000);
    m_clock.setEnabled(true);
    showClock();
}

void frmmain::buildHistoryFrame()
{
    widgets::ListView* list = m_ui->ListViewBatchStatus;
    list->setToolTip(QStringLiteral("Double Click to view the selected file in Notepad."));
    const int widths[] = {210, 110, 150, 260};
    int column = 0;
    for (const QString& header : batch::statusColumns())
        list->addColumn(header, widths[std::min(column++, 3)]);
    // The frame's design properties; its title bar lies above the list.
    const auto design = controlframework::PropertyBag::fromText(QStringLiteral(
        R"({"Caption": "Batch Upload History", "TitleColor": 8388608, "BackColor": -2147483633})"));
    try {
        m_frameHistroy = std::make_unique<controlframework::ControlSite>(
            QStringLiteral("VLHMComCtl.vlHmFrame"), QStringLiteral("FrameHistroy"), m_ui->body);
        m_frameHistroy->load(*design);
        m_frameHistroy->replace(m_ui->FrameHistroy);
        auto* inside = new QVBoxLayout(m_frameHistroy->widget());
        inside->setContentsMargins(8, 36, 8, 8);
        inside->addWidget(list);
        inside->addWidget(m_ui->Command1, 0, Qt::AlignRight);
    } catch (const RuntimeError& e) {
        // Without the control library the list and its button stay on a plain
        // panel in the frame's place, so batch mode can still be followed.
        m_frameHistroy.reset();
        qWarning("FrameHistroy: the titled frame cannot be created (%s)", qPrintable(e.description()));
        m_ui->FrameHistroy->setAutoFillBackground(true);
    }
}

QWidget* frmmain::frameHistroy() const
{
    return m_frameHistroy ? m_frameHistroy->widget() : m_ui->FrameHistroy;
}

void frmmain::showClock()
{
    const QDateTime now = basic::Clock::now();
    m_panels[1]->setText(basic::formatDate(basic::fromQDate(now.date())));
    m_panels[2]->setText(now.time().toString(QStringLiteral("HH:mm")));
}

QLabel* frmmain::statusPanel(int index) const
{
    return m_panels.at(size_t(index - 1));
}

importer::ImportContext& frmmain::context() const
{
    return session::ProgramSession::current()->context();
}

// Form_Load: the batch settings, the package version and company, the Customer
// Pricing box and the batch controls.
void frmmain::formLoad()
{
    QString progress;
    try {
        progress = QStringLiteral("Before source path");
        loadBatchSettings(progress);
        progress = QStringLiteral("Before get vorlen version");
        importer::ShowVorlenVersion(context(), settings::readSetting(QStringLiteral("VorlenDataPath")) +
                                                   QStringLiteral("\\accdata"));
        importer::SettingsFormView& settingsForm = context().settingsForm;
        if (pricesByCustomer(m_ui->LblCorvelVersion->text())) {
            settingsForm.setCbxCustomerPricingVisible(true);
            // The settings form was loaded by the batch step above, while this
            // window's version label was still blank, so its own rule hid and
            // cleared the box; the stored choice is put back, or the import would
            // ignore it and the next Save would store "0".
            settingsForm.setCbxCustomerPricing(
                settings::readSetting(QStringLiteral("CheckCustomerPricing")) == QLatin1String("1") ? 1 : 0);
        } else {
            settingsForm.setCbxCustomerPricingVisible(false);
            settingsForm.setCbxCustomerPricing(0);
        }
        ChkBatchEnabled();
        m_ui->txtwhereat->setText(QStringLiteral("MLT2"));
        Timer2.setInterval(batch::passTimerInterval(context().state.batch.BatchIntervalMs));
        m_ui->txtwhereat->setText(QStringLiteral("MLT2A"));
        progress = QStringLiteral("After Timer");
    } catch (const RuntimeError& e) {
        MsgBox(progress + QStringLiteral(":") + e.description(), forms::OKOnly, QStringLiteral("mAIN LOAD"));
    } catch (const std::exception& e) {
        MsgBox(progress + QStringLiteral(":") + QString::fromLocal8Bit(e.what()), forms::OKOnly,
               QStringLiteral("mAIN LOAD"));
    }
}

// The batch part of the load: the folders from the settings form's boxes, then from
// the store, the interval and whether batch mode is offered. Each step leaves its
// progress text, which an error message quotes.
void frmmain::loadBatchSettings(QString& progress)
{
    importer::BatchState& batch = context().state.batch;
    importer::SettingsFormView& settingsForm = context().settingsForm;
    const auto read = [](const char* key, const char* defaultValue = "") {
        return settings::readSetting(lit(key), lit(defaultValue));
    };

    batch.SourceFolder = settingsForm.textSourcePath();
    progress = QStringLiteral("source path  ") + batch.SourceFolder;
    batch.SuccessFolder = settingsForm.textSuccessPath();
    progress = QStringLiteral("sucesspath ") + batch.SuccessFolder;
    batch.ErrorFolder = settingsForm.textErrorLogPath();
    progress = QStringLiteral("errorpath ") + batch.ErrorFolder;
    batch.FilingCounter = 0;

    progress = QStringLiteral("check strdatapath ") + read("VorlenDataPath");
    progress = QStringLiteral("Successpath  ") + read("BatchSuccessPath");
    batch.ErrorFolder = read("BatchErrorlogPath");
    progress = QStringLiteral("errorpath  ") + batch.ErrorFolder;
    batch.SourceFolder = read("BatchSourcePath");
    progress = QStringLiteral("sourcpath ") + batch.SourceFolder;
    const QString interval = read("BatchInterval");
    batch.BatchIntervalMs = batch::batchIntervalFrom(interval);
    progress = QStringLiteral("interval ") + interval;
    const QString enabled = read("BatchUpdateEnabled", "0");
    batch.BatchModeEnabled = basic::CLng(Variant(enabled));
    progress = QStringLiteral("Batchuploadenabled   ") + enabled;
}

void frmmain::formUnload()
{
    importer::ImportContext& ctx = context();
    if (ctx.state.batch.BatchRunning) {
        // The stop of batch mode: its timers first, then the status list. A file
        // being imported (an unload by code, not by the user, who waits for it)
        // still finishes as a batch import.
        m_ui->txtwhereat->setText(QStringLiteral("MainUL"));
        if (!m_batch || !m_batch->stop()) {
            Timer2.setEnabled(false);
            Timer1.setEnabled(false);
            Timer3.setEnabled(false);
            m_ui->ListViewBatchStatus->clearItems();
        }
    }
    mainwindow::otherforms::unloadOthers();
    Timer2.setEnabled(false);
    Timer1.setEnabled(false);
    Timer3.setEnabled(false);
    m_clock.setEnabled(false);
    try {
        importer::DisconnectFromVorlen(ctx);
    } catch (const RuntimeError&) {
        importer::disconnectAfterError(ctx);
    }
    mainwindow::otherforms::unloadLogin();
}

void frmmain::RefFrmMain()
{
    setErrorsFoundIMG(false, false);
    setNoErrorFoundIMG(true, true);
    setAnimation1Visible(false);
    repaint();
}

void frmmain::ChkBatchEnabled()
{
    const bool enabled = batch::batchControlsEnabled(context());
    m_ui->Command2->setEnabled(enabled);
    m_ui->FrameBatchUPLoad->setEnabled(enabled);
    m_ui->ListViewBatchStatus->setEnabled(enabled);
    m_ui->CommandStart->setEnabled(enabled);
    m_ui->CommandStop->setEnabled(enabled);
}

Variant frmmain::ReplaceStr(const Variant& TextIn, const QString& SearchStr, const QString& Replacement, int CompMode)
{
    if (TextIn.isNull())
        return Variant::null();
    QString text = basic::CStr(TextIn);
    // An empty search text would be found at every position without end.
    if (SearchStr.isEmpty())
        return Variant(text);
    int32_t position = 1;
    while (position <= text.size()) {
        position = basic::InStr(position, text, SearchStr, CompMode != 0);
        if (position == 0)
            break;
        text = text.left(position - 1) + Replacement + text.mid(position - 1 + SearchStr.size());
        position += int32_t(Replacement.size());
    }
    return Variant(text);
}

// Select File. Each step that fails shows its error and is tried again, at most
// three times in all; after the third failure the handler ends.
void frmmain::mnuFilenew_Click()
{
    const auto step = [](const std::function<void()>& body) {
        for (int attempt = 1; attempt <= MaxStepTries; ++attempt) {
            try {
                body();
                return true;
            } catch (const RuntimeError& e) {
                MsgBox(e.description(), forms::OKOnly);
            } catch (const std::exception& e) {
                MsgBox(QString::fromLocal8Bit(e.what()), forms::OKOnly);
            }
        }
        return false;
    };

    std::optional<QString> chosen;
    const bool done =
        step([&] {
            forms::FileOpenRequest request;
            request.fileName.clear();
            request.filter = QStringLiteral("Import File(*.csv)|*.csv");
            request.title = QStringLiteral("Select import file");
            request.control = QStringLiteral("CommonDialog1");
            request.initialFolder = settings::readSetting(QStringLiteral("ImportPath"));
            chosen = forms::ShowOpen(request);
        }) &&
        step([&] {
            // Shown in lower case; the file used stays the one chosen.
            if (chosen) {
                setTxtImportFile(chosen->toLower());
                m_chosenImportFile = *chosen;
            }
        }) &&
        step([&] { setMnuFileStartImportCaption(QStringLiteral("&Validate")); }) && step([&] {
            if (txtImportFile().isEmpty())
                return;
            setMnuFileStartImportCaption(QStringLiteral("&Validate"));
            setToolbarButtonCaption(2, QStringLiteral("&Validate"));
            setMnuFilenewEnabled(true);
            setToolbarButtonEnabled(1, true);
            setMnuFileStartImportEnabled(true);
            setToolbarButtonEnabled(2, true);
            setMnuFileViewErrorsEnabled(false);
            setToolbarButtonEnabled(3, false);
            setToolbarButtonEnabled(4, true);
            if (context().settingsForm.txtDatapath().isEmpty()) {
                setToolbarButtonEnabled(2, false);
                setMnuFileStartImportEnabled(false);
                MsgBox(QStringLiteral("Vorlen Data Path not selected, Please go to settings and select."),
                       forms::Critical, QStringLiteral("Quillar Settings Status"));
            } else {
                setToolbarButtonEnabled(2, true);
                setMnuFileStartImportEnabled(true);
            }
        }) &&
        step([&] {
            if (!txtImportFile().isEmpty())
                return;
            setToolbarButtonEnabled(2, false);
            setToolbarButtonEnabled(4, false);
        });
    if (!done)
        return;
    step([&] {
        setLblStatus(QString());
        setTxtLineNo(QString());
        setTxtCurrentLine(QString());
        setValidationProgressBarValue(0);
    });
}

void frmmain::MnuFileStartImport_Click()
{
    if (txtImportFile().isEmpty()) {
        MsgBox(QStringLiteral("Import file not selected"), forms::OKOnly, QStringLiteral("Invoicing Import"));
        return;
    }
    runWithDisplayPaced([this] { importer::RunImport(context()); });
}

void frmmain::runWithDisplayPaced(const std::function<void()>& work)
{
    // The import log's window gets the log's new lines with the display, not one
    // document at a time.
    session::ForwardingImportLog* log = nullptr;
    if (session::ProgramSession* s = session::ProgramSession::current())
        log = &s->importLog();
    struct Pace
    {
        frmmain& w;
        session::ForwardingImportLog* log;
        bool was;
        bool logWasHeld;
        ~Pace()
        {
            w.m_paced = was;
            if (log)
                log->setHeld(logWasHeld);
            if (!was)
                w.showPendingProgress();
        }
    } pace{*this, log, std::exchange(m_paced, true), log && log->held()};
    if (log)
        log->setHeld(true);
    // A box or a modal window the routine opens stands over the display as it is
    // then, not as it was at the last paint.
    const forms::ScopedBeforeModal beforeBox([log, this] {
        if (log)
            log->showHeldText();
        paintProgressNow(PaintWhole);
    });
    work();
}

void frmmain::showPendingProgress()
{
    // While a paced routine runs, only the import area is painted (the event loop
    // does not run), so even a shown log window would not show new lines: it gets
    // them in one piece before a box, when it is shown, or when the routine ends.
    if (session::ProgramSession* s = session::ProgramSession::current(); s && !m_paced)
        s->importLog().showHeldText();
    PendingProgress pending = std::exchange(m_pending, {});
    if (pending.lineNo)
        m_ui->TxtLineNo->setText(*pending.lineNo);
    if (pending.currentLine) {
        m_ui->TxtCurrentLine->setText(*pending.currentLine);
        m_ui->TxtCurrentLine->setCursorPosition(0);
    }
    if (pending.status)
        m_ui->lblStatus->setText(*pending.status);
    if (pending.value) {
        // The bar's range follows the value: a value past the maximum widens it
        // rather than being dropped.
        if (*pending.value > m_ui->ValidationProgressBar->maximum())
            m_ui->ValidationProgressBar->setMaximum(*pending.value);
        m_ui->ValidationProgressBar->setValue(*pending.value);
    }
}

void frmmain::ViewFile_Click()
{
    if (txtImportFile().isEmpty()) {
        MsgBox(QStringLiteral("Must select import file to view"), forms::OKOnly, QStringLiteral("Invoicing Import"));
        return;
    }
    // The system's text editor, handed the path as one argument; where none can be
    // started, our read-only viewer.
    if (!shell::openInEditor(txtImportFile()))
        mainwindow::ReadOnlyFileViewer::showFile(txtImportFile(), 1, QString(), this);
}

void frmmain::MnuFileViewErrors_Click()
{
    if (context().state.batch.BatchRunning)
        return;
    // Exactly "Import Log" opens the log; any other caption, the design caption
    // "&Import Log" too, opens the error list.
    if (tbToolBar->caption(3) == QLatin1String("Import Log"))
        mainwindow::otherforms::showImportLog(this);
    else
        mainwindow::otherforms::showErrorList(this);
}

void frmmain::mnuSettingsSettings_Click()
{
    mainwindow::otherforms::showSettings(this);
}

void frmmain::MnuHelpAbout_Click()
{
    mainwindow::otherforms::showAbout(this);
}

void frmmain::Label1_Click()
{
    mainwindow::otherforms::showAboutModeless();
}

void frmmain::ChangePassword_Click()
{
    password::ChangeLoginPassword();
}

void frmmain::Command1_Click()
{
    if (m_frameHistroy)
        m_frameHistroy->setVisible(false);
    else
        m_ui->FrameHistroy->setVisible(false);
}

void frmmain::Command2_Click()
{
    if (m_frameHistroy)
        m_frameHistroy->setVisible(true);
    else
        m_ui->FrameHistroy->setVisible(true);
}

void frmmain::MnuFileExit_Click()
{
    if (!closeAfterBatchFile())
        unload();
}

// A close while a batch file is being imported stops batch mode after that file,
// and the window closes then: true when the close waits.
bool frmmain::closeAfterBatchFile()
{
    if (!m_batch || !m_batch->fileInProgress())
        return false;
    m_closeAfterFile = true;
    m_batch->stop();
    return true;
}

void frmmain::closeEvent(QCloseEvent* event)
{
    if (closeAfterBatchFile()) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

void frmmain::CommandStart_Click()
{
    if (m_batch)
        m_batch->start();
}

void frmmain::CommandStop_Click()
{
    if (m_batch)
        m_batch->stop();
}

void frmmain::ListViewBatchStatus_ColumnClick(int column)
{
    if (m_batch)
        m_batch->ListViewBatchStatus_ColumnClick(column);
}

void frmmain::tbToolBar_ButtonClick(const QString& key)
{
    // Errors here are ignored, as the toolbar always did.
    try {
        if (key == QLatin1String("SelectFile"))
            mnuFilenew_Click();
        else if (key == QLatin1String("ImportFile"))
            MnuFileStartImport_Click();
        else if (key == QLatin1String("ErrorLog"))
            MnuFileViewErrors_Click();
        else if (key == QLatin1String("ViewFile"))
            ViewFile_Click();
        else if (key == QLatin1String("settings"))
            mnuSettingsSettings_Click();
        else if (key == QLatin1String("about"))
            MnuHelpAbout_Click();
        else if (key == QLatin1String("Hide Me"))
            hide();
    } catch (const std::exception&) {
    }
}

bool frmmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Label1 && event->type() == QEvent::MouseButtonRelease)
        guarded([this] { Label1_Click(); });
    return Form::eventFilter(watched, event);
}

void frmmain::paintProgress()
{
    if (m_sincePaint.elapsed() < PaintEveryMs) {
        showPendingProgressLater();
        return;
    }
    paintProgressNow(PaintStatusOnly);
}

// What a paced routine sets between paints is shown once the event loop runs again:
// inside a modal window it opened (the error list's Refresh runs a whole validation
// there), it would otherwise wait for the routine's end.
void frmmain::showPendingProgressLater()
{
    if (m_showLaterArmed)
        return;
    m_showLaterArmed = true;
    QTimer::singleShot(0, this, [this] {
        m_showLaterArmed = false;
        showPendingProgress();
    });
}

void frmmain::paintProgressNow(PaintArea area)
{
    m_sincePaint.restart();
    showPendingProgress();
    if (!isVisible())
        return;
    if (m_ui->Animation1->isPlaying())
        m_ui->Animation1->step();
    // Between boxes a tick changes the two line boxes, the status and the clip: only
    // they are painted. The progress bar paints itself whenever its look changes;
    // painting it, the rest of the window and the backgrounds at every tick cost most
    // of the window's extra time. What else changed is painted when the event loop
    // runs again.
    if (area == PaintStatusOnly) {
        QRegion changed;
        for (QWidget* w : std::initializer_list<QWidget*>{m_ui->TxtLineNo, m_ui->TxtCurrentLine, m_ui->lblStatus,
                                                          m_ui->Animation1})
            if (w->isVisible())
                changed += QRect(w->mapTo(m_ui->importArea, QPoint()), w->size());
        m_ui->importArea->repaint(changed);
    } else {
        repaint();
    }
}

void frmmain::setToolbarButtonEnabled(int index, bool enabled)
{
    tbToolBar->setButtonEnabled(index, enabled);
}

void frmmain::setToolbarButtonCaption(int index, const QString& caption)
{
    tbToolBar->setCaption(index, caption);
}

QString frmmain::txtImportFile() const
{
    const QString shown = m_ui->txtImportFile->text();
    if (!m_chosenImportFile.isEmpty() && shown == m_chosenImportFile.toLower())
        return m_chosenImportFile;
    return shown;
}

void frmmain::setTxtImportFile(const QString& text)
{
    m_chosenImportFile.clear();
    m_ui->txtImportFile->setText(text);
}

void frmmain::setTxtLineNo(const QString& text)
{
    m_pending.lineNo = text;
    m_paced ? paintProgress() : showPendingProgress();
}

void frmmain::setTxtCurrentLine(const QString& text)
{
    m_pending.currentLine = text;
    if (!m_paced)
        showPendingProgress();
}

void frmmain::setLblStatus(const QString& caption)
{
    m_pending.status = caption;
    m_paced ? paintProgress() : showPendingProgress();
}

void frmmain::setValidationProgressBarValue(int value)
{
    m_pending.value = value;
    m_paced ? paintProgress() : showPendingProgress();
}

void frmmain::setValidationProgressBarMax(int maximum)
{
    m_ui->ValidationProgressBar->setMaximum(maximum);
}

void frmmain::setValidationProgressBarVisible(bool visible)
{
    m_ui->ValidationProgressBar->setVisible(visible);
}

void frmmain::playAnimation1(const QString& clipPath)
{
    // A clip that cannot be read shows nothing; the import goes on.
    if (m_ui->Animation1->open(shell::nativePath(clipPath)))
        m_ui->Animation1->play();
}

void frmmain::stopAnimation1()
{
    m_ui->Animation1->stop();
}

void frmmain::setAnimation1Visible(bool visible)
{
    m_ui->Animation1->setVisible(visible);
}

void frmmain::setErrorsFoundIMG(bool visible, bool enabled)
{
    m_ui->ErrorsFoundIMG->setVisible(visible);
    m_ui->ErrorsFoundIMG->setEnabled(enabled);
}

void frmmain::setNoErrorFoundIMG(bool visible, bool enabled)
{
    m_ui->NoErrorFoundIMG->setVisible(visible);
    m_ui->NoErrorFoundIMG->setEnabled(enabled);
}

void frmmain::setImgRedVisible(bool visible)
{
    m_ui->imgRed->setVisible(visible);
}

void frmmain::setMnuFilenewEnabled(bool enabled)
{
    mnuFilenew->setEnabled(enabled);
}

void frmmain::setMnuFileViewErrorsEnabled(bool enabled)
{
    MnuFileViewErrors->setEnabled(enabled);
}

void frmmain::setMnuFileStartImportEnabled(bool enabled)
{
    MnuFileStartImport->setEnabled(enabled);
}

void frmmain::setMnuFileStartImportCaption(const QString& caption)
{
    MnuFileStartImport->setText(caption);
}

QString frmmain::lblCorvelVersion() const
{
    return m_ui->LblCorvelVersion->text();
}

void frmmain::setLblCorvelVersion(const QString& caption)
{
    m_ui->LblCorvelVersion->setText(caption);
}

void frmmain::setLblconame(const QString& caption)
{
    m_ui->lblconame->setText(caption);
}

QString frmmain::lblVersion() const
{
    return m_ui->lblVersion->text();
}

void frmmain::setLblVersion(const QString& caption)
{
    m_ui->lblVersion->setText(caption);
}
