#include "app/mainwindow/LogViewerControls.h"

#include "app/mainwindow/ImportLogFile.h"
#include "app/mainwindow/ImportLogPrinting.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/Twips.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Printers.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace mainwindow {

namespace {

const QString DefaultPrinterKey = QStringLiteral("DefaultPrinter");

} // namespace

void moveTwips(QWidget* control, int32_t left, int32_t top)
{
    control->move(forms::twipsToPixels(left), forms::twipsToPixels(top));
}

int32_t widthTwips(const QWidget* control)
{
    return forms::pixelsToTwips(control->width());
}
int32_t heightTwips(const QWidget* control)
{
    return forms::pixelsToTwips(control->height());
}

LogViewerControls::LogViewerControls(const Controls& controls) : m_controls(controls)
{
    // Only a choice the user makes counts as a change; filling the list does not.
    QObject::connect(m_controls.cmbPrinter, &QComboBox::activated, m_controls.cmbPrinter,
                     [this](int) { m_chosenByUser = true; });
    QObject::connect(m_controls.btnPrint, &QPushButton::clicked, m_controls.btnPrint,
                     [this] { printClicked(); });
    QObject::connect(m_controls.CmdOpeninNotePad, &QPushButton::clicked, m_controls.CmdOpeninNotePad,
                     [this] { openInNotepadClicked(); });
}

void LogViewerControls::load()
{
    QComboBox* combo = m_controls.cmbPrinter;
    const shell::PrinterCatalog& catalog = shell::printers();
    combo->clear();
    combo->addItems(catalog.printerNames());
    combo->setCurrentIndex(
        combo->findText(catalog.defaultPrinterName(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    // A stored name that is no installed printer leaves the default printer shown,
    // which is also the one printing then uses.
    const int stored =
        combo->findText(settings::readSetting(DefaultPrinterKey), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (stored >= 0)
        combo->setCurrentIndex(stored);
    m_chosenByUser = false;
}

void LogViewerControls::unload()
{
    if (m_chosenByUser)
        settings::writeSetting(DefaultPrinterKey, m_controls.cmbPrinter->currentText());
}

void LogViewerControls::layOut(int32_t width, int32_t height, bool moveOpenInNotepad)
{
    const auto place = [&](QWidget* control, int32_t fromRight, int32_t fromBottom) {
        moveTwips(control, width - widthTwips(control) - fromRight,
                  height - heightTwips(control) - fromBottom);
    };
    place(m_controls.btnClose, 120, 200);
    place(m_controls.btnPrint, 1620, 200);
    place(m_controls.cmbPrinter, 3620, 210);
    place(m_controls.lblPrinter, 6020, 210);
    if (moveOpenInNotepad)
        place(m_controls.CmdOpeninNotePad, 7400, 200);
}

void LogViewerControls::printClicked()
{
    printImportLog(m_controls.cmbPrinter->currentText());
}

void LogViewerControls::openInNotepadClicked()
{
    if (session::ProgramSession* s = session::ProgramSession::current())
        openImportLogInEditor(s->importLog().text());
}

} // namespace mainwindow
