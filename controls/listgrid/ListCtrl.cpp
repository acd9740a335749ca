#include "controls/listgrid/ListCtrl.h"

#include "controls/listgrid/ImageLists.h"
#include "controls/listgrid/OptionalArgs.h"
#include "controls/listgrid/RowPacking.h"
#include "controls/listgrid/SharedMembers.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QKeyEvent>

namespace listgrid {

using automation::Args;
using automation::MemberTable;
using basic::Variant;
using controlframework::PropertyExchange;

namespace {

namespace event {
constexpr automation::DispId SelChange = 1, DblClk = 2, MouseClick = 3, CaptionMouseClick = 4, PreSelChange = 5,
                             PagedFill = 6, StateChange = 12, PostStateChange = 13, PreItemLostFocus = 14,
                             DrillDownButtonClick = 15;
}

} // namespace

const MemberTable<CListCtrl>& CListCtrl::members()
{
    using C = CListCtrl;
    static const auto t = [] {
        MemberTable<C> t;
        t.property(1, "Style", [](C& c, Args&) { return Variant(c.listStyle()); },
                   [](C& c, Args&, const Variant& v) { c.setListStyle(basic::CInt(v)); })
            .property(2, "SelectStyle", [](C& c, Args&) { return Variant(c.selectStyle()); },
                      [](C& c, Args&, const Variant& v) { c.setSelectStyle(basic::CInt(v)); });
        addFlag<C, &C::m_sort>(t, 3, "Sort");
        addFlag<C, &C::m_allowRowSize>(t, 4, "AllowRowSize");
        addFlag<C, &C::m_integralHeight>(t, 5, "IntegralHeight");
        addFlag<C, &C::m_captionVisible>(t, 6, "CaptionVisible");
        addFlag<C, &C::m_guideVisible>(t, 7, "GuideVisible");
        t.property(8, "ImageList", [](C& c, Args&) { return Variant(c.imageList(false)); },
                   [](C& c, Args&, const Variant& v) { c.setImageList(false, basic::CStr(v)); })
            .property(9, "SmallImageList", [](C& c, Args&) { return Variant(c.imageList(true)); },
                      [](C& c, Args&, const Variant& v) { c.setImageList(true, basic::CStr(v)); });
        addSharedMembers(t, {10, 11, 12, 16, 17, 18, 19, 20, 24, 25});
        t.property(21, "CurrentItem", [](C& c, Args&) { return c.currentItem(); },
                   [](C& c, Args&, const Variant& v) {
                       if (v.isObject())
                           c.setCurrentItem(v.objectValue());
                   })
            .property(22, "SelectedItems", [](C& c, Args&) { return Variant(basic::ObjectRef(c.selectedItems())); })
            .method(23, "Find",
                    [](C& c, Args& a) {
                        automation::checkArgCount(a, 1, 3);
                        return Variant(c.find(a[0], automation::optionalArg(a, 1), automation::optionalArg(a, 2)));
                    })
            .method(26, "OLEDrag", [](C& c, Args&) { c.oleDrag(); return Variant(); })
            .method(27, "HitTest",
                    [](C& c, Args& a) {
                        automation::checkArgCount(a, 2, 2);
                        return c.hitTest(basic::CDbl(a[0]), basic::CDbl(a[1]));
                    });
        addFlag<C, &C::m_refreshOnScroll>(t, 28, "RefreshOnScroll");
        addFlag<C, &C::m_alwaysShowIcon>(t, 29, "AlwaysShowIcon");
        return t;
    }();
    return t;
}

CListCtrl::CListCtrl() : ListGridControl(false), m_selected(std::make_shared<CSelectedItems>(m_wnd)) {}

CListCtrl::~CListCtrl() = default;

int32_t CListCtrl::viewBits(int16_t style)
{
    switch (style) {
    case lstStyleReport: return 1;
    case lstStyleIcon: return 2;
    case lstStyleSmallIcon: return 4; // not 3: the window's own numbering
    default: return 0;
    }
}

void CListCtrl::resetProperties()
{
    resetShared();
    m_listStyle = lstStyleList;
    m_selectStyle = 0;
    m_imageList = m_smallImageList = NoSource;
    m_sort = m_allowRowSize = m_refreshOnScroll = m_alwaysShowIcon = false;
    m_integralHeight = m_captionVisible = m_guideVisible = true;
}

void CListCtrl::exchange(PropertyExchange& px)
{
    px.exchange(QStringLiteral("Style"), m_listStyle, int16_t(lstStyleList));
    px.exchange(QStringLiteral("SelectStyle"), m_selectStyle, int16_t(0));
    px.exchange(QStringLiteral("ImageList"), m_imageList, NoSource);
    px.exchange(QStringLiteral("SmallImageList"), m_smallImageList, NoSource);
    px.exchange(QStringLiteral("Sort"), m_sort, false);
    px.exchange(QStringLiteral("AllowRowSize"), m_allowRowSize, false);
    px.exchange(QStringLiteral("IntegralHeight"), m_integralHeight, true);
    px.exchange(QStringLiteral("CaptionVisible"), m_captionVisible, true);
    px.exchange(QStringLiteral("GuideVisible"), m_guideVisible, true);
    px.exchange(QStringLiteral("DataSource"), m_dataSource, NoSource);
    px.exchange(QStringLiteral("VisibleItems"), m_visibleItems, 0);
    px.exchange(QStringLiteral("AlternateItems"), m_alternateItems, int16_t(0));
    px.exchange(QStringLiteral("AlternateBackColor"), m_alternate[0], colours::Back);
    px.exchange(QStringLiteral("AlternateForeColor"), m_alternate[1], colours::Fore);
    px.exchange(QStringLiteral("AlternateHighlightedBackColor"), m_alternate[2], colours::HighlightedBack);
    px.exchange(QStringLiteral("AlternateHighlightedForeColor"), m_alternate[3], colours::HighlightedFore);
    px.exchange(QStringLiteral("PagedCount"), m_pagedCount, 0);
    // A saved state without it loads with drawing off.
    px.exchange(QStringLiteral("AutoRedraw"), m_autoRedraw, false);
    exchangeColumns(px);
    px.exchange(QStringLiteral("OLEDragMode"), m_oleDragMode, int16_t(0));
    px.exchange(QStringLiteral("OLEDropMode"), m_oleDropMode, int16_t(0));
    px.exchange(QStringLiteral("RefreshOnScroll"), m_refreshOnScroll, false);
}

uint32_t CListCtrl::styleBits() const
{
    uint32_t bits = uint32_t(m_createdView >= 0 ? m_createdView : viewBits(m_listStyle));
    bits |= flagBits({{!m_allowRowSize, 0x200}, {!m_integralHeight, 0x20}, {!m_captionVisible, 0x100},
                      {!m_guideVisible, 0x80}, {m_sort, 0x1000}, {m_refreshOnScroll, 0x2000},
                      {m_alwaysShowIcon, 0x4000}});
    if (m_selectStyle == 1)
        bits |= 0x10;
    else if (m_selectStyle == 2)
        bits |= 0x410;
    return bits;
}

void CListCtrl::configureNewWindow()
{
    m_createdView = viewBits(m_listStyle);
    m_wnd->Initialise(2);
    m_wnd->SetVisibleRows(m_visibleItems);
    sendAlternateColours();
    m_columns->applyAll();
    loadImageLists();
    try {
        connectByName();
    } catch (const basic::RuntimeError&) {
        // A data source that cannot be bound leaves the list unbound.
    }
    m_wnd->SetDragEnabled(m_oleDragMode != 0);
    if (!m_autoRedraw)
        m_wnd->SetRedraw(false);
}

void CListCtrl::firstUnfreeze()
{
    loadImageLists();
    if (!m_data && !(isPaged() && m_refreshed))
        connectByName();
}

void CListCtrl::setListStyle(int16_t style)
{
    m_listStyle = style;
    m_wnd->SetViewStyle(viewBits(style));
    setModified();
    repaint();
}

void CListCtrl::setSelectStyle(int16_t style)
{
    m_selectStyle = style;
    updateStyle();
    setModified();
}

void CListCtrl::setStyleFlag(bool CListCtrl::*member, bool value, bool persisted)
{
    this->*member = value;
    updateStyle();
    if (persisted && member != &CListCtrl::m_alwaysShowIcon)
        setModified();
}

void CListCtrl::setImageList(bool small, const QString& name)
{
    (small ? m_smallImageList : m_imageList) = name;
    m_imagesLoaded = false;
    loadImageLists();
    setModified();
}

void CListCtrl::loadImageLists()
{
    const auto named = [](const QString& name) { return !name.isEmpty() && name != NoSource; };
    if (m_imagesLoaded || !m_window || !isUserMode() || !named(m_imageList))
        return;
    m_window->sendMessage(vllist::list::ClearImages, 0, 0);
    const basic::ObjectRef large = findImageList(m_imageList, clientSite());
    if (!large)
        return;
    const basic::ObjectRef small = named(m_smallImageList) ? findImageList(m_smallImageList, clientSite()) : nullptr;
    const ImageListPictures big = drawImageList(large);
    const ImageListPictures little = small ? drawImageList(small) : ImageListPictures{};
    const int32_t mask = windowColour(big.maskColor, uint32_t(-1));
    for (size_t i = 0; i < big.images.size(); ++i) {
        const vllist::ImagePair pair{&big.images[i], i < little.images.size() ? &little.images[i] : nullptr, mask};
        m_window->sendMessage(vllist::list::AddImage, 1, vllist::toLParam(&pair));
    }
    m_imagesLoaded = true;
}

void CListCtrl::bindDataControl(basic::ObjectRef object, vldata::DataControlInterface* data)
{
    if (!isUserMode())
        return;
    if (!keepDataControl(std::move(object), data)) {
        releaseDataControl();
        throw basic::RuntimeError(DataSourceInvalid, QStringLiteral("Data Source is not valid"), className());
    }
}

// ---- current item, find, hit test ----

Variant CListCtrl::currentItem() { return newItem(m_wnd, m_wnd->GetCurrentRow()); }

void CListCtrl::setCurrentItem(const basic::ObjectRef& item)
{
    if (!item) {
        m_wnd->SetCurrentCell(-1, -2);
        return;
    }
    if (const auto* it = dynamic_cast<const CItem*>(item.get()))
        m_wnd->SetCurrentCell(it->row(), -2);
}

int32_t CListCtrl::find(const Variant& text, const Variant& start, const Variant& partial)
{
    const int32_t row =
        m_wnd->FindRow(basic::CStr(text), optionalLong(start).value_or(0), optionalInteger(partial).value_or(0));
    return row < 0 ? 0 : row + 1;
}

Variant CListCtrl::hitTest(double x, double y)
{
    const int32_t row = m_wnd->HitTestRow(forms::twipsToPixels(int32_t(x)), forms::twipsToPixels(int32_t(y)));
    return newItem(m_wnd, row);
}

// ---- notifications ----

void CListCtrl::fireWithCurrentItem(automation::DispId id, const char* name, Args before)
{
    const int32_t row = m_wnd->GetCurrentRow();
    if (row < 0)
        return;
    before.push_back(newItem(m_wnd, row));
    fireByRef(id, name, before);
}

void CListCtrl::notification(uint16_t code)
{
    switch (code) {
    case 0: fireWithCurrentItem(event::SelChange, "SelChange"); break;
    case 2: fireWithCurrentItem(event::DblClk, "DblClk"); break;
    case 3: fireWithCurrentItem(event::MouseClick, "MouseClick", {Variant(int16_t(2)), Variant(shiftState())}); break;
    case 4:
        fireWithCurrentItem(event::MouseClick, "MouseClick", {Variant(int16_t(1)), Variant(shiftState())});
        if (m_oleDragMode == 2)
            armAutomaticDrag();
        break;
    case 5:
    case 6: {
        // Low 16 bits the column (0xFFFF none), high 16 the button.
        const int32_t column = int16_t(m_wnd->GetClickedColumn() & 0xFFFF);
        if (column < 0)
            break;
        const auto object = m_columns->at(column);
        fire(event::CaptionMouseClick, "CaptionMouseClick",
             {Variant(int16_t(code == 5 ? 1 : 2)), Variant(shiftState()), Variant(basic::ObjectRef(object))});
        break;
    }
    case 9: incrementalFind(); break;
    case 100: {
        const int32_t row = m_wnd->GetStateChangeRow();
        if (row >= 0)
            fire(event::StateChange, "StateChange", {newItem(m_wnd, row)});
        break;
    }
    case 103: fireWithCurrentItem(event::PreSelChange, "PreSelChange"); break;
    case 105: fire(event::PostStateChange, "PostStateChange"); break;
    case 106: fire(event::PreItemLostFocus, "PreItemLostFocus"); break;
    case 107: fire(event::DrillDownButtonClick, "DrillDownButtonClick"); break;
    default: break; // 7 and 8 (focus) the container sees itself; others are not the list's
    }
}

void CListCtrl::incrementalFind()
{
    vllist::FindRequest request;
    m_wnd->GetFindRequest(request);
    int32_t result = -1;
    if (m_data) {
        const auto column = m_columns->at(m_wnd->ColumnFromWindow(request.column));
        const Variant field(column ? column->settings().dataField : QString());
        const Variant text(QString::fromLatin1(request.text ? request.text : ""));
        const Variant exact(request.exact == 0);
        m_data->FindRecord(text, field, Variant(request.startRow), exact, result);
        if (result == 0 && request.wrap && request.startRow != 0)
            m_data->FindRecord(text, field, Variant(int32_t(0)), exact, result);
        if (result < 0)
            result = -1;
    }
    m_wnd->SetFindResult(result);
}

// ---- paged data ----

int32_t CListCtrl::__PagedProc(vllist::Window*, const vllist::PagedData* rows, vllist::LParam userData)
{
    auto* control = reinterpret_cast<CListCtrl*>(userData);
    if (control && rows) {
        try {
            control->pagedFill(*rows);
        } catch (const basic::RuntimeError&) {
            // The window asked while drawing; a failing host leaves the rows empty.
        }
    }
    return 1;
}

void CListCtrl::pagedFill(const vllist::PagedData& rows)
{
    if (m_columns->count() == 0)
        return;
    if (isPaged()) {
        fire(event::PagedFill, "PagedFill", {Variant(rows.first + 1), Variant(rows.last + 1)});
        return;
    }
    if (!m_data)
        return;
    std::vector<char> buffer = rowBuffer(*m_columns);
    if (buffer.empty())
        return;
    m_data->MoveToRecord(rows.first + 1);
    uint8_t eof = 0;
    m_data->IsEOF(eof);
    for (int32_t row = rows.first; !eof && row <= rows.last; ++row) {
        bool deleted = false;
        packCurrentRecord(buffer, deleted);
        const int32_t at = m_wnd->InsertDataRow(deleted ? nullptr : buffer.data());
        if (deleted)
            m_wnd->SetCellText(at, 0, QStringLiteral("Deleted"));
        if (row + 1 <= rows.last)
            m_data->MoveToNextRecord();
        m_data->IsEOF(eof);
    }
}

bool CListCtrl::keyEvent(QEvent* event)
{
    const bool swallowed = ListGridControl::keyEvent(event);
    // Typed characters are the window's incremental find, not the view's own search.
    const auto* key = static_cast<QKeyEvent*>(event);
    return swallowed || (event->type() == QEvent::KeyPress && key->text().size() == 1 && key->text().at(0).isPrint());
}

} // namespace listgrid
