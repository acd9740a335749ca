#pragma once

#include "platform/forms/Form.h"

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;

// What the two log viewers (frmErrors, FrmErrlog) share: loaded hidden and only
// hidden when closed, and the row of lblPrinter, cmbPrinter, btnPrint,
// CmdOpeninNotePad and btnClose. Both windows print the import log and hand the
// import log to the text editor, whichever of them the user is in.
namespace mainwindow {

class LogViewerForm : public forms::Form
{
public:
    // btnClose_Click: hides the window; it stays loaded with its contents.
    void btnClose_Click();
    // btnPrint_Click: the import log on the printer named in the combo.
    void btnPrint_Click();
    // CmdOpeninNotePad_Click: the import log in the text editor.
    void CmdOpeninNotePad_Click();

    bool printerChosenByUser() const { return m_printerChosenByUser; }

protected:
    // Call once the form's controls are made (after setupUi).
    void connectSharedControls();

    // Form_Load: every installed printer in the system's order with the default one
    // selected, then the printer stored as "DefaultPrinter" when it is one of them;
    // then loaded() and the layout.
    void formLoad() override;
    // Form_Unload: stores the shown printer as "DefaultPrinter" only when the user
    // chose it in this window, so an unchanged combo never overwrites a choice made
    // in the other viewer.
    void formUnload() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    virtual void loaded() {}
    // Form_Resize: the window's own controls, then layOutSharedRow.
    virtual void Form_Resize() = 0;
    // Moves the shared row after the window's inner size (W and H of the layout
    // table). CmdOpeninNotePad moves only when asked; the error list keeps it.
    void layOutSharedRow(bool moveOpenInNotepad);

private:
    QLabel* m_lblPrinter = nullptr;
    QComboBox* m_cmbPrinter = nullptr;
    QPushButton* m_btnPrint = nullptr;
    QPushButton* m_CmdOpeninNotePad = nullptr;
    QPushButton* m_btnClose = nullptr;
    bool m_printerChosenByUser = false;
};

// A form's inner width and height, and a control's size, in twips.
int32_t widthTwips(const QWidget* widget);
int32_t heightTwips(const QWidget* widget);
// Places a control at a position in twips, keeping its size.
void moveTwips(QWidget* control, int32_t left, int32_t top);

} // namespace mainwindow
