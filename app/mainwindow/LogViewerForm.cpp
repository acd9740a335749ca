#include "app/mainwindow/LogViewerForm.h"

#include "app/mainwindow/ImportLogFile.h"
#include "app/mainwindow/ImportLogPrinting.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/Twips.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Printers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace mainwindow {

namespace {

const QString DefaultPrinterKey = QStringLiteral("DefaultPrinter");

template <class W> W* sharedControl(QWidget* form, const char* name)
{
    W* control = form->findChild<W*>(QLatin1String(name));
    Q_ASSERT(control);
    return control;
}

int findPrinter(const QComboBox* combo, const QString& name)
{
    return combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace

int32_t widthTwips(const QWidget* widget)
{
    return forms::pixelsToTwips(widget->width());
}
int32_t heightTwips(const QWidget* widget)
{
    return forms::pixelsToTwips(widget->height());
}

void moveTwips(QWidget* control, int32_t left, int32_t top)
{
    control->move(forms::twipsToPixels(left), forms::twipsToPixels(top));
}

void LogViewerForm::connectSharedControls()
{
    m_lblPrinter = sharedControl<QLabel>(this, "lblPrinter");
    m_cmbPrinter = sharedControl<QComboBox>(this, "cmbPrinter");
    m_btnPrint = sharedControl<QPushButton>(this, "btnPrint");
    m_CmdOpeninNotePad = sharedControl<QPushButton>(this, "CmdOpeninNotePad");
    m_btnClose = sharedControl<QPushButton>(this, "btnClose");
    // Only a choice the user makes counts as a change; filling the list does not.
    connect(m_cmbPrinter, &QComboBox::activated, this, [this](int) { m_printerChosenByUser = true; });
    connect(m_btnPrint, &QPushButton::clicked, this, [this] { btnPrint_Click(); });
    connect(m_CmdOpeninNotePad, &QPushButton::clicked, this, [this] { CmdOpeninNotePad_Click(); });
    connect(m_btnClose, &QPushButton::clicked, this, [this] { btnClose_Click(); });
}

void LogViewerForm::formLoad()
{
    const shell::PrinterCatalog& catalog = shell::printers();
    m_cmbPrinter->clear();
    m_cmbPrinter->addItems(catalog.printerNames());
    m_cmbPrinter->setCurrentIndex(findPrinter(m_cmbPrinter, catalog.defaultPrinterName()));
    // A stored name that is no installed printer leaves the default printer shown,
    // which is also the one printing then uses.
    const int stored = findPrinter(m_cmbPrinter, settings::readSetting(DefaultPrinterKey));
    if (stored >= 0)
        m_cmbPrinter->setCurrentIndex(stored);
    m_printerChosenByUser = false;
    loaded();
    Form_Resize();
}

void LogViewerForm::formUnload()
{
    if (m_printerChosenByUser)
        settings::writeSetting(DefaultPrinterKey, m_cmbPrinter->currentText());
}

void LogViewerForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    btnClose_Click();
}

void LogViewerForm::resizeEvent(QResizeEvent* event)
{
    forms::Form::resizeEvent(event);
    if (isFormLoaded())
        Form_Resize();
}

void LogViewerForm::layOutSharedRow(bool moveOpenInNotepad)
{
    const int32_t width = widthTwips(this);
    const int32_t height = heightTwips(this);
    const auto place = [&](QWidget* control, int32_t fromRight, int32_t fromBottom) {
        moveTwips(control, width - widthTwips(control) - fromRight,
                  height - heightTwips(control) - fromBottom);
    };
    place(m_btnClose, 120, 200);
    place(m_btnPrint, 1620, 200);
    place(m_cmbPrinter, 3620, 210);
    place(m_lblPrinter, 6020, 210);
    if (moveOpenInNotepad)
        place(m_CmdOpeninNotePad, 7400, 200);
}

void LogViewerForm::btnClose_Click()
{
    hide();
}

void LogViewerForm::btnPrint_Click()
{
    printImportLog(m_cmbPrinter->currentText());
}

void LogViewerForm::CmdOpeninNotePad_Click()
{
    if (session::ProgramSession* s = session::ProgramSession::current())
        openImportLogInEditor(s->importLog().text(), this);
}

} // namespace mainwindow
