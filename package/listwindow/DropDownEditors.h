#pragma once

#include "package/listwindow/EditorWindows.h"
#include "package/listwindow/ListMessages.h"

#include <QDateEdit>
#include <QLineEdit>

#include <functional>

class QFrame;
class QToolButton;

// The grid's in-place editors of the edit, numeric, calculator, date and popup
// classes as windows of this layer: GetColumnEditor gives the window (the handle is
// the Window's address), and the editors take their lock messages and, for the
// calculator and date classes, the message that opens their drop-down part.
namespace vllist {

namespace editor {
inline constexpr Message SetReadOnly = 0x00CF;      // edit: wParam non-zero locks
inline constexpr Message OpenCalculator = 0x1406;   // calculator: shows its keypad
inline constexpr Message OpenCalendar = 0x140C;     // date: shows its calendar
// Editor style bits of the column: an edit's lock and upper case, the others' lock.
inline constexpr uint32_t EditLocked = 0x800;
inline constexpr uint32_t EditUppercase = 0x8;
inline constexpr uint32_t Locked = 0x20;
inline constexpr uint32_t PopupButtonHidden = 0x400;
inline constexpr Message PopupButton = 0x1408;      // popup: lParam 1 shows its button, 0 hides it
} // namespace editor

// The handle GetColumnEditor gives for an editor that is a window (0 for another).
LParam editorHandle(QWidget* editor);
// The editor's widget from its handle (null for 0 or a window that has gone).
QWidget* editorWidget(LParam handle);

class LineEditorWindow : public QLineEdit, public LiveWindow
{
public:
    // `editorClass`: "EDIT", "#VL32NUMBEREDIT", "#VL32CALCEDIT" or "#VL32POPUP".
    LineEditorWindow(const QByteArray& editorClass, QWidget* parent);
    LParam sendMessage(Message message, WParam wParam, LParam lParam) override;
    // The column's editor style as the editor opens: locked (an edit 0x800, the
    // others 0x20) and, for an edit, upper case (0x8).
    void applyStyle(uint32_t style);
    // The popup editor's button was pressed.
    std::function<void()> onButton;
    // The user changed the text; false takes the change back.
    std::function<bool()> onEdited;

    // The calculator's keypad (null until it was first shown).
    QFrame* dropDown() const { return m_dropDown; }

private:
    void openCalculator();
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void placeButton();

    bool m_calculator = false;
    bool m_edit = false;
    Message m_lock = 0;
    QFrame* m_dropDown = nullptr;
    QToolButton* m_button = nullptr; // the popup editor's
    QString m_accepted;
    bool m_checking = false;
};

class DateEditorWindow : public QDateEdit, public LiveWindow
{
public:
    explicit DateEditorWindow(QWidget* parent);
    LParam sendMessage(Message message, WParam wParam, LParam lParam) override;
    // Locked (0x20) as the editor opens.
    void applyStyle(uint32_t style) { setReadOnly(style & editor::Locked); }
};

} // namespace vllist
