#include "controls/listgrid/ComboBoxControl.h"

#include "package/listwindow/EditorWindows.h"

#include "platform/basic/Conversions.h"

#include <QByteArray>

namespace listgrid {

using automation::Args;
using basic::Variant;
namespace cb = vllist::combobox;

const automation::MemberTable<CComboBoxControl>& CComboBoxControl::members()
{
    using C = CComboBoxControl;
    static const auto t =
        automation::MemberTable<C>()
            .property(1, "Count", [](C& c, Args&) { return Variant(c.count()); })
            .property(2, "Index", [](C& c, Args&) { return Variant(c.index()); },
                      [](C& c, Args&, const Variant& v) { c.setIndex(basic::CLng(v)); })
            .method(3, "Clear", [](C& c, Args&) { c.clear(); return Variant(); })
            .method(4, "Item",
                    [](C& c, Args& a) {
                        automation::checkArgCount(a, 1, 1);
                        return Variant(c.item(basic::CLng(a[0])));
                    })
            .method(5, "Remove",
                    [](C& c, Args& a) {
                        automation::checkArgCount(a, 1, 1);
                        c.remove(basic::CLng(a[0]));
                        return Variant();
                    })
            .method(6, "Add", [](C& c, Args& a) {
                automation::checkArgCount(a, 1, 1);
                c.add(basic::CStr(a[0]));
                return Variant();
            });
    return t;
}

vllist::LParam CComboBoxControl::send(vllist::Message message, vllist::WParam wParam, vllist::LParam lParam,
                                      vllist::LParam none) const
{
    vllist::Window* editor = vllist::windowFromHandle(m_editor);
    return editor ? editor->sendMessage(message, wParam, lParam) : none;
}

int32_t CComboBoxControl::count() const { return int32_t(send(cb::GetCount, 0, 0, 0)); }

int32_t CComboBoxControl::index() const
{
    const vllist::LParam selected = send(cb::GetCurSel, 0, 0, 0);
    return selected == cb::Error ? -1 : int32_t(selected);
}

void CComboBoxControl::setIndex(int32_t index) { send(cb::SetCurSel, vllist::WParam(intptr_t(index)), 0, 0); }

void CComboBoxControl::clear() { send(cb::ResetContent, 0, 0, 0); }

QString CComboBoxControl::item(int32_t index) const
{
    const vllist::WParam at = vllist::WParam(intptr_t(index));
    const vllist::LParam length = send(cb::GetLBTextLen, at, 0, cb::Error);
    if (length < 0)
        return {};
    // A buffer of the length the editor gave, and its zero.
    QByteArray buffer(qsizetype(length) + 1, '\0');
    if (send(cb::GetLBText, at, reinterpret_cast<vllist::LParam>(buffer.data()), cb::Error) < 0)
        return {};
    buffer[buffer.size() - 1] = '\0';
    return QString::fromLatin1(buffer.constData());
}

void CComboBoxControl::remove(int32_t index) { send(cb::DeleteString, vllist::WParam(intptr_t(index)), 0, 0); }

void CComboBoxControl::add(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    send(cb::AddString, 0, reinterpret_cast<vllist::LParam>(bytes.constData()), 0);
}

} // namespace listgrid
