#pragma once

#include "package/listwindow/ListMessages.h"

#include <QComboBox>

// The windows of the general layer that the grid uses as cell editors, and the
// handles that name them. A handle is the window's address as an LParam; a handle
// that no longer names a live window is recognised, so a caller holding an old one
// reaches nothing.
namespace vllist {

// The live window a handle names, or null (never a window that has gone).
Window* windowFromHandle(LParam handle);
inline bool isWindow(LParam handle) { return windowFromHandle(handle) != nullptr; }

// Messages of the general layer's combo box ("ComboBox"). Indexes are from 0; texts
// are Latin-1 and zero-terminated.
namespace combobox {
inline constexpr Message AddString = 0x0143;    // lParam: text; result: the new entry's index
inline constexpr Message DeleteString = 0x0144; // wParam: index; result: entries left, or Error
inline constexpr Message GetCount = 0x0146;
inline constexpr Message GetCurSel = 0x0147;    // result: the selected entry, or Error for none
inline constexpr Message GetLBText = 0x0148;    // wParam: index, lParam: buffer of GetLBTextLen + 1 bytes
inline constexpr Message GetLBTextLen = 0x0149; // wParam: index; result: the length, or Error
inline constexpr Message ResetContent = 0x014B;
inline constexpr Message SetCurSel = 0x014E;    // wParam: index (-1 clears); result: the index, or Error
inline constexpr LParam Error = -1;
inline constexpr uint32_t DropDownList = 0x3; // style: pick from the entries only
// The notification an editor sends its parent when the user picks another entry.
inline constexpr uint16_t SelChange = 1;
} // namespace combobox

// Registers a window under its handle for as long as it lives.
class LiveWindow : public Window
{
public:
    LiveWindow();
    ~LiveWindow() override;
    LiveWindow(const LiveWindow&) = delete;
    LiveWindow& operator=(const LiveWindow&) = delete;
    LParam handle() const { return reinterpret_cast<LParam>(static_cast<const Window*>(this)); }
};

// Who hears an editor's notifications (the grid window it belongs to).
class EditorOwner
{
public:
    virtual ~EditorOwner() = default;
    virtual void editorNotification(Window& editor, uint16_t code) = 0;
};

// The combo box a combo-box column of the grid edits its cells with. It lives as
// long as its column; the grid shows it over the cell being edited.
class ComboBoxWindow : public QComboBox, public LiveWindow
{
public:
    explicit ComboBoxWindow(EditorOwner* owner, QWidget* parent = nullptr);
    LParam sendMessage(Message message, WParam wParam, LParam lParam) override;
    // The style's low two bits: 3, a drop-down list (only its entries); else the
    // entries and any text typed.
    void setWindowStyle(uint32_t style) override;
    uint32_t windowStyle() const override { return m_style; }

private:
    static constexpr uint32_t DropDownList = combobox::DropDownList;
    EditorOwner* m_owner;
    uint32_t m_style = 0;
};

} // namespace vllist
