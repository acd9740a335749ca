#pragma once

#include "controls/listgrid/ListGridControl.h"

#include "platform/automation/MemberTable.h"

namespace listgrid {

class CSelectedItems;

// The list control (coclass VLOList, "Vorlen.ListCtrl.1"): rows of columns in one of
// four views, single or multiple selection, rows from the host, in pages through
// PagedFill, or from a bound data control read page by page.
class CListCtrl : public ListGridControl
{
public:
    // enum ListStyle and the view bits each sends.
    enum ListStyle : int16_t { lstStyleList = 0, lstStyleReport = 1, lstStyleIcon = 2, lstStyleSmallIcon = 3 };

    CListCtrl();
    ~CListCtrl() override;

    QString className() const override { return QStringLiteral("VLOList"); }
    automation::DispId idOfName(const QString& name) const override { return members().idOfName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override
    {
        return members().invoke(*this, id, kind, args, value);
    }
    static const automation::MemberTable<CListCtrl>& members();

    // The exported paged-data callback: `userData` is the control.
    static int32_t __PagedProc(vllist::Window* window, const vllist::PagedData* rows, vllist::LParam userData);

    void setCurrentItem(const basic::ObjectRef& item) override;
    basic::Variant currentItem();
    // 1-based row of the first match, 0 for none.
    int32_t find(const basic::Variant& text, const basic::Variant& start, const basic::Variant& partial);
    basic::Variant hitTest(double x, double y);
    const std::shared_ptr<CSelectedItems>& selectedItems() const { return m_selected; }

    int16_t listStyle() const { return m_listStyle; }
    void setListStyle(int16_t style);
    int16_t selectStyle() const { return m_selectStyle; }
    void setSelectStyle(int16_t style);
    void setStyleFlag(bool CListCtrl::*member, bool value, bool persisted = true);
    const QString& imageList(bool small) const { return small ? m_smallImageList : m_imageList; }
    void setImageList(bool small, const QString& name);

    bool m_sort = false;
    bool m_allowRowSize = false;
    bool m_integralHeight = true;
    bool m_captionVisible = true;
    bool m_guideVisible = true;
    bool m_refreshOnScroll = false;
    bool m_alwaysShowIcon = false;

    static int32_t viewBits(int16_t style);

protected:
    void resetProperties() override;
    void exchange(controlframework::PropertyExchange& px) override;
    uint32_t styleBits() const override;
    void configureNewWindow() override;
    void notification(uint16_t code) override;
    vllist::PagedProc pagedProc() const override { return &CListCtrl::__PagedProc; }
    void bindDataControl(basic::ObjectRef object, vldata::DataControlInterface* data) override;
    void firstUnfreeze() override;
    DragEvents dragEvents() const override { return {11, 7, 8, 9, 10}; }
    bool keyEvent(QEvent* event) override;
    void ensureImageLists() override { loadImageLists(); }

private:
    // Once, in user mode, from the ImageList controls the two names give.
    void loadImageLists();
    void pagedFill(const vllist::PagedData& rows);
    void incrementalFind();
    void fireWithCurrentItem(automation::DispId id, const char* name, automation::Args before = {});

    std::shared_ptr<CSelectedItems> m_selected;
    int16_t m_listStyle = lstStyleList;
    int16_t m_selectStyle = 0;
    QString m_imageList = NoSource;
    QString m_smallImageList = NoSource;
    int32_t m_createdView = -1; // the view bits the window was created with
    bool m_imagesLoaded = false;
};

} // namespace listgrid
