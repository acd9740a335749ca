#pragma once

#include "controls/listgrid/ListGridControl.h"

#include "platform/automation/MemberTable.h"

namespace listgrid {

// The grid control (coclass VLOGrid, "Vorlen.GridCtrl.1"): cells edited in place by
// per-column editors, each move out of an edited cell validated by the host, popup
// columns that raise Popup, and Tab at the grid's edges moving to the container's
// next or previous control; rows from the host, in pages, or from a data control.
class CGridCtrl : public ListGridControl
{
public:
    CGridCtrl();
    ~CGridCtrl() override;

    QString className() const override { return QStringLiteral("VLOGrid"); }
    automation::DispId idOfName(const QString& name) const override { return members().idOfName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override
    {
        return members().invoke(*this, id, kind, args, value);
    }
    static const automation::MemberTable<CGridCtrl>& members();

    static int32_t __PagedProc(vllist::Window* window, const vllist::PagedData* rows, vllist::LParam userData);

    void setCurrentItem(const basic::ObjectRef& item) override;
    void showColumnPopup(CColumn& column) override;
    basic::Variant currentCell();
    void setCurrentCell(const basic::ObjectRef& cell);
    basic::Variant currentItem();
    basic::Variant nextCell();
    basic::Variant hitTest(double x, double y);
    int32_t fixedItemCount() const { return m_fixedItems; }
    void setFixedItemCount(int32_t count);
    void setAutoCalculate(bool on);
    void setStyleFlag(bool CGridCtrl::*member, bool value);
    CGridViewWnd& grid() const { return static_cast<CGridViewWnd&>(*m_wnd); }

    bool m_allowRowSize = false;
    bool m_integralHeight = true;
    bool m_captionVisible = true;
    bool m_guideVisible = true;
    bool m_gridLinesVisible = false;
    bool m_sort = false;
    bool m_validateOnLostFocus = true;
    bool m_autoCalculate = false;
    bool m_allowBlankLastRow = false;
    bool m_ignoreForwardSlash = false;

protected:
    void resetProperties() override;
    void exchange(controlframework::PropertyExchange& px) override;
    uint32_t styleBits() const override;
    void configureNewWindow() override;
    void notification(uint16_t code) override;
    // A combo-box column's editor picked another entry: ComboboxSelChange.
    void editorCommand(vllist::Window& editor, uint16_t code) override;
    vllist::PagedProc pagedProc() const override { return &CGridCtrl::__PagedProc; }
    void bindDataControl(basic::ObjectRef object, vldata::DataControlInterface* data) override;
    void releasedByModeChange() override;
    bool pagesBoundRows() const override { return false; }
    void firstUnfreeze() override;
    DragEvents dragEvents() const override { return {18, 14, 15, 16, 17}; }

private:
    void boundFill();
    void validate(uint16_t code);
    void fireWithCurrentCell(automation::DispId id, const char* name, automation::Args before = {});

    int32_t m_fixedItems = 0;
    bool m_popupShown = false;
    bool m_createdPaged = false;
};

} // namespace listgrid
