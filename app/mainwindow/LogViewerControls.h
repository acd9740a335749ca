#pragma once

#include <QString>

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

// The row both log viewers (frmErrors, FrmErrlog) share: lblPrinter, cmbPrinter,
// btnPrint, CmdOpeninNotePad and btnClose. Both windows print the import log and
// hand the import log to the text editor, whichever of them the user is in.
namespace mainwindow {

class LogViewerControls
{
public:
    struct Controls
    {
        QLabel* lblPrinter = nullptr;
        QComboBox* cmbPrinter = nullptr;
        QPushButton* btnPrint = nullptr;
        QPushButton* CmdOpeninNotePad = nullptr;
        QPushButton* btnClose = nullptr;
    };

    explicit LogViewerControls(const Controls& controls);

    // Form_Load: every installed printer in the system's order with the default one
    // selected, then the printer stored as "DefaultPrinter" when it is one of them.
    void load();
    // Form_Unload: stores the shown printer as "DefaultPrinter" only when the user
    // chose it in this window, so an unchanged combo never overwrites a choice made
    // in the other viewer.
    void unload();
    bool printerChosenByUser() const { return m_chosenByUser; }

    // Form_Resize for the moved controls, the window's inner size W by H in twips.
    // CmdOpeninNotePad moves only in the import log; the error list keeps it.
    void layOut(int32_t width, int32_t height, bool moveOpenInNotepad);

    // btnPrint_Click: the import log on the printer named in the combo.
    void printClicked();
    // CmdOpeninNotePad_Click: the import log in the text editor.
    void openInNotepadClicked();

private:
    Controls m_controls;
    bool m_chosenByUser = false;
};

// Places a control at a position in twips, keeping its size.
void moveTwips(QWidget* control, int32_t left, int32_t top);
// A control's width and height in twips.
int32_t widthTwips(const QWidget* control);
int32_t heightTwips(const QWidget* control);

} // namespace mainwindow
