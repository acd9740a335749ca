#include "package/listwindow/EditorWindows.h"

#include <cstring>
#include <unordered_set>

namespace vllist {

namespace {

std::unordered_set<LParam>& liveHandles()
{
    static std::unordered_set<LParam> handles;
    return handles;
}

} // namespace

Window* windowFromHandle(LParam handle)
{
    if (handle == 0 || !liveHandles().count(handle))
        return nullptr;
    return reinterpret_cast<Window*>(handle);
}

LiveWindow::LiveWindow() { liveHandles().insert(handle()); }
LiveWindow::~LiveWindow() { liveHandles().erase(handle()); }

ComboBoxWindow::ComboBoxWindow(EditorOwner* owner, QWidget* parent) : QComboBox(parent), m_owner(owner)
{
    hide();
    // Only the user's choice notifies, as the platform's combo box does.
    connect(this, &QComboBox::activated, this, [this] {
        if (m_owner)
            m_owner->editorNotification(*this, combobox::SelChange);
    });
}

void ComboBoxWindow::setWindowStyle(uint32_t style)
{
    m_style = style;
    setEditable((style & DropDownList) != DropDownList);
}

LParam ComboBoxWindow::sendMessage(Message message, WParam wParam, LParam lParam)
{
    using namespace combobox;
    const int index = int(intptr_t(wParam));
    switch (message) {
    case AddString: {
        const char* text = reinterpret_cast<const char*>(lParam);
        addItem(QString::fromLatin1(text ? text : ""));
        return count() - 1;
    }
    case DeleteString:
        if (index < 0 || index >= count())
            return Error;
        removeItem(index);
        return count();
    case GetCount: return count();
    case GetCurSel: return currentIndex() < 0 ? Error : currentIndex();
    case GetLBTextLen:
        return index < 0 || index >= count() ? Error : LParam(itemText(index).toLatin1().size());
    case GetLBText: {
        if (index < 0 || index >= count() || !lParam)
            return Error;
        const QByteArray text = itemText(index).toLatin1();
        std::memcpy(reinterpret_cast<char*>(lParam), text.constData(), size_t(text.size()) + 1);
        return text.size();
    }
    case ResetContent: clear(); return 0;
    case SetCurSel:
        if (index < -1 || index >= count()) {
            setCurrentIndex(-1);
            return Error;
        }
        setCurrentIndex(index);
        return index;
    default: return 0;
    }
}

} // namespace vllist
