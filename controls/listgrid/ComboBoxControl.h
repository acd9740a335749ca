#pragma once

#include "controls/listgrid/MemberObject.h"

#include "package/listwindow/ListMessages.h"

#include "platform/automation/MemberTable.h"

namespace listgrid {

// The entries of a combo-box column's editor (Column.Control). It holds only the
// editor's handle: without one, or once the handle names no window, every member
// gives 0 or the empty string and changes nothing.
class CComboBoxControl : public MemberObject<CComboBoxControl>
{
public:
    QString className() const override { return QStringLiteral("ComboBoxControl"); }
    static const automation::MemberTable<CComboBoxControl>& members();

    void bind(vllist::LParam editor) { m_editor = editor; }
    vllist::LParam editor() const { return m_editor; }

    int32_t count() const;
    int32_t index() const; // from 0, -1 for none
    void setIndex(int32_t index);
    void clear();
    QString item(int32_t index) const;
    void remove(int32_t index);
    void add(const QString& text);

private:
    vllist::LParam send(vllist::Message message, vllist::WParam wParam, vllist::LParam lParam, vllist::LParam none) const;

    vllist::LParam m_editor = 0;
};

} // namespace listgrid
