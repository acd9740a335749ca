#include "controls/listgrid/GridCtrl.h"

#include "controls/listgrid/RowPacking.h"
#include "controls/listgrid/SharedMembers.h"

#include "package/listwindow/DropDownEditors.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QTableView>

namespace listgrid {

using automation::Args;
using automation::MemberTable;
using basic::Variant;
using controlframework::PropertyExchange;

namespace {

namespace event {
constexpr automation::DispId ColumnSelChange = 1, ItemSelChange = 2, SelChange = 3, ValidateCell = 4, DblClk = 5,
                             NewItem = 6, MouseClick = 7, CaptionMouseClick = 8, PreColumnSelChange = 9,
                             PreItemSelChange = 10, PreSelChange = 11, ValidateOnChange = 12, Popup = 13,
                             PagedFill = 19, ComboboxSelChange = 20, PreItemLostFocus = 21, DrillDownButtonClick = 22;
}

// The deferred popup a popup column's button asks for.
constexpr uint16_t DeferredPopup = 119;
constexpr int32_t PopButtonInvisible = 0x400;

Variant newCell(const std::shared_ptr<CListViewWnd>& owner, int32_t row, int32_t column)
{
    if (row < 0)
        return Variant::nothing();
    return Variant(basic::ObjectRef(std::make_shared<CCell>(owner, row, column)));
}

} // namespace

const MemberTable<CGridCtrl>& CGridCtrl::members()
{
    using C = CGridCtrl;
    static const auto t = [] {
        MemberTable<C> t;
        addFlag<C, &C::m_allowRowSize>(t, 1, "AllowRowSize");
        addFlag<C, &C::m_integralHeight>(t, 2, "IntegralHeight");
        addFlag<C, &C::m_captionVisible>(t, 3, "CaptionVisible");
        addFlag<C, &C::m_guideVisible>(t, 4, "GuideVisible");
        addFlag<C, &C::m_gridLinesVisible>(t, 5, "GridLinesVisible");
        t.property(6, "FixedItemCount", [](C& c, Args&) { return Variant(c.fixedItemCount()); },
                   [](C& c, Args&, const Variant& v) { c.setFixedItemCount(basic::CLng(v)); });
        addSharedMembers(t, {7, 8, 9, 28, 13, 14, 15, 16, 22, 23});
        t.property(17, "CurrentCell", [](C& c, Args&) { return c.currentCell(); },
                   [](C& c, Args&, const Variant& v) {
                       if (v.isObject())
                           c.setCurrentCell(v.objectValue());
                   })
            .property(18, "CurrentItem", [](C& c, Args&) { return c.currentItem(); },
                      [](C& c, Args&, const Variant& v) {
                          if (v.isObject())
                              c.setCurrentItem(v.objectValue());
                      })
            .property(19, "Dirty", [](C& c, Args&) { return Variant(c.window() && c.grid().GetDirty()); },
                      [](C& c, Args&, const Variant& v) { c.grid().SetDirty(basic::CBool(v)); });
        addFlag<C, &C::m_sort>(t, 20, "Sort");
        addFlag<C, &C::m_validateOnLostFocus>(t, 21, "ValidateOnLostFocus");
        t.method(24, "OLEDrag", [](C& c, Args&) { c.oleDrag(); return Variant(); })
            .method(25, "HitTest",
                    [](C& c, Args& a) {
                        automation::checkArgCount(a, 2, 2);
                        return c.hitTest(basic::CDbl(a[0]), basic::CDbl(a[1]));
                    })
            .property(26, "AutoCalculate", [](C& c, Args&) { return Variant(c.m_autoCalculate); },
                      [](C& c, Args&, const Variant& v) { c.setAutoCalculate(basic::CBool(v)); })
            .property(27, "NextCell", [](C& c, Args&) { return c.nextCell(); });
        addFlag<C, &C::m_allowBlankLastRow>(t, 29, "AllowBlankLastRow");
        t.property(30, "IgnoreForwardSlash", [](C& c, Args&) { return Variant(c.m_ignoreForwardSlash); },
                   [](C& c, Args&, const Variant& v) { c.m_ignoreForwardSlash = basic::CBool(v); });
        return t;
    }();
    return t;
}

CGridCtrl::CGridCtrl() : ListGridControl(true) {}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::resetProperties()
{
    resetShared();
    m_allowRowSize = m_gridLinesVisible = m_sort = m_autoCalculate = m_allowBlankLastRow = false;
    m_integralHeight = m_captionVisible = m_guideVisible = m_validateOnLostFocus = true;
    m_fixedItems = 0;
}

void CGridCtrl::exchange(PropertyExchange& px)
{
    px.exchange(QStringLiteral("AllowRowSize"), m_allowRowSize, false);
    px.exchange(QStringLiteral("IntegralHeight"), m_integralHeight, true);
    px.exchange(QStringLiteral("CaptionVisible"), m_captionVisible, true);
    px.exchange(QStringLiteral("GuideVisible"), m_guideVisible, true);
    px.exchange(QStringLiteral("DataSource"), m_dataSource, NoSource);
    // A saved grid without the value shows its lines, though a new one does not.
    px.exchange(QStringLiteral("GridLinesVisible"), m_gridLinesVisible, true);
    px.exchange(QStringLiteral("FixedItemCount"), m_fixedItems, 0);
    px.exchange(QStringLiteral("VisibleItems"), m_visibleItems, 0);
    px.exchange(QStringLiteral("VisibleItems"), m_visibleItems, 0);
    px.exchange(QStringLiteral("Sort"), m_sort, false);
    px.exchange(QStringLiteral("AlternateItems"), m_alternateItems, int16_t(0));
    px.exchange(QStringLiteral("AlternateBackColor"), m_alternate[0], colours::Back);
    px.exchange(QStringLiteral("AlternateForeColor"), m_alternate[1], colours::Fore);
    px.exchange(QStringLiteral("AlternateHighlightedBackColor"), m_alternate[2], colours::HighlightedBack);
    px.exchange(QStringLiteral("AlternateHighlightedForeColor"), m_alternate[3], colours::HighlightedFore);
    px.exchange(QStringLiteral("AutoRedraw"), m_autoRedraw, false);
    px.exchange(QStringLiteral("ValidateOnLostFocus"), m_validateOnLostFocus, true);
    px.exchange(QStringLiteral("AutoCalculate"), m_autoCalculate, false);
    exchangeColumns(px);
    px.exchange(QStringLiteral("OLEDragMode"), m_oleDragMode, int16_t(0));
    px.exchange(QStringLiteral("OLEDropMode"), m_oleDropMode, int16_t(0));
    px.exchange(QStringLiteral("PagedCount"), m_pagedCount, 0);
    px.exchange(QStringLiteral("AllowBlankLastRow"), m_allowBlankLastRow, false);
}

uint32_t CGridCtrl::styleBits() const
{
    uint32_t bits = flagBits({{!m_allowRowSize, 0x40}, {!m_integralHeight, 0x1}, {!m_captionVisible, 0x20},
                              {!m_guideVisible, 0x10}, {m_gridLinesVisible, 0x100}, {m_sort, 0x400},
                              {m_validateOnLostFocus, 0x800}, {m_allowBlankLastRow, 0x2000}});
    // Paged at creation; a later change of DataSource leaves the bit.
    if (m_createdPaged || (!window() && isPaged()))
        bits |= 0x1000;
    return bits;
}

void CGridCtrl::configureNewWindow()
{
    m_createdPaged = isPaged();
    m_wnd->Initialise(1);
    sendAlternateColours();
    m_wnd->SetDragEnabled(m_oleDragMode != 0);
    m_columns->applyAll();
    grid().SetFixedRows(m_fixedItems);
    m_wnd->SetVisibleRows(m_visibleItems);
    grid().SetAutoCalculate(m_autoCalculate);
    try {
        connectByName();
    } catch (const basic::RuntimeError&) {
        // Left unbound.
    }
    if (!m_autoRedraw)
        m_wnd->SetRedraw(false);
}

void CGridCtrl::firstUnfreeze()
{
    if (!m_refreshed)
        connectByName();
}

void CGridCtrl::setStyleFlag(bool CGridCtrl::*member, bool value)
{
    this->*member = value;
    updateStyle();
    setModified();
}

void CGridCtrl::setFixedItemCount(int32_t count)
{
    m_fixedItems = count;
    grid().SetFixedRows(count);
    setModified();
    repaint();
}

void CGridCtrl::setAutoCalculate(bool on)
{
    m_autoCalculate = on;
    grid().SetAutoCalculate(on);
    setModified();
}

// ---- data ----

void CGridCtrl::bindDataControl(basic::ObjectRef object, vldata::DataControlInterface* data)
{
    if (!isUserMode())
        return;
    // A data control without a layout stays bound, without rows.
    if (keepDataControl(std::move(object), data))
        boundFill();
    m_layout.reset();
}

void CGridCtrl::releasedByModeChange()
{
    // The rows were the data control's.
    m_wnd->DeleteAllRows();
}

void CGridCtrl::boundFill()
{
    std::vector<char> buffer = rowBuffer(*m_columns);
    m_wnd->DeleteAllRows();
    if (buffer.empty())
        return;
    m_data->MoveToFirstRecord();
    uint8_t eof = 0;
    m_data->IsEOF(eof);
    while (!eof) {
        bool deleted = false;
        packCurrentRecord(buffer, deleted);
        const int32_t row = grid().InsertGridDataRow(deleted ? nullptr : buffer.data());
        if (deleted) {
            m_wnd->SetCellText(row, 0, QStringLiteral("Deleted"));
            for (int32_t c = 1; c < m_columns->count(); ++c)
                m_wnd->SetCellText(row, c, QString());
        }
        m_data->MoveToNextRecord();
        m_data->IsEOF(eof);
    }
}

int32_t CGridCtrl::__PagedProc(vllist::Window*, const vllist::PagedData* rows, vllist::LParam userData)
{
    auto* control = reinterpret_cast<CGridCtrl*>(userData);
    if (control && rows && control->m_columns->count() > 0 && control->isPaged())
        control->fire(event::PagedFill, "PagedFill", {Variant(rows->first + 1), Variant(rows->last + 1)});
    return 1;
}

// ---- cells ----

Variant CGridCtrl::currentCell() { return newCell(m_wnd, m_wnd->GetCurrentRow(), m_wnd->GetCurrentColumn()); }

void CGridCtrl::setCurrentCell(const basic::ObjectRef& cell)
{
    if (const auto* c = dynamic_cast<const CCell*>(cell.get()))
        m_wnd->SetCurrentCell(c->row(), c->column());
}

Variant CGridCtrl::currentItem() { return newItem(m_wnd, m_wnd->GetCurrentRow()); }

void CGridCtrl::setCurrentItem(const basic::ObjectRef& item)
{
    if (const auto* it = dynamic_cast<const CItem*>(item.get()))
        m_wnd->SetCurrentCell(it->row(), -2);
}

Variant CGridCtrl::nextCell()
{
    const vllist::NextCell next = grid().GetNextCell();
    return Variant(basic::ObjectRef(std::make_shared<CCell>(m_wnd, next.row, next.column)));
}

Variant CGridCtrl::hitTest(double x, double y)
{
    const int32_t px = forms::twipsToPixels(int32_t(x)), py = forms::twipsToPixels(int32_t(y));
    const int32_t row = m_wnd->HitTestRow(px, py);
    if (row < 0)
        return Variant::nothing();
    for (int32_t c = 0; c < m_columns->count(); ++c) {
        vllist::Rect rect;
        if (m_wnd->GetColumnRect(c, rect) && px >= rect.left && px < rect.right && py >= rect.top && py < rect.bottom)
            return newCell(m_wnd, row, c);
    }
    return Variant::nothing();
}

void CGridCtrl::showColumnPopup(CColumn& column)
{
    const auto editor = m_wnd->GetColumnEditor(column.columnId());
    switch (column.settings().controlType) {
    case lstCtlCalculator:
    case lstCtlDate:
        // The editor opens its own drop-down part.
        grid().SuspendEditing(true);
        if (auto* editorWindow = vllist::fromLParam<vllist::Window>(editor))
            editorWindow->sendMessage(column.settings().controlType == lstCtlCalculator ? vllist::editor::OpenCalculator
                                                                                        : vllist::editor::OpenCalendar,
                                      0, 0);
        m_popupShown = true;
        grid().SuspendEditing(false);
        break;
    case lstCtlPopup: {
        // Just below the editor's left edge (the cell's, without an editor), in the
        // container's coordinates.
        QRect place;
        if (auto* widget = vllist::editorWidget(editor))
            place = QRect(widget->mapTo(this->widget(), QPoint(0, 0)), widget->size());
        else if (window())
            place = window()->view()->visualRect(window()->view()->currentIndex())
                        .translated(window()->view()->viewport()->mapTo(this->widget(), QPoint(0, 0)));
        const QPoint at = this->widget()->mapToParent(QPoint(place.left() - 2, place.bottom() + 1));
        grid().SuspendEditing(true);
        fire(event::Popup, "Popup",
             {Variant(double(forms::pixelsToTwips(at.x()))), Variant(double(forms::pixelsToTwips(at.y())))});
        grid().SuspendEditing(false);
        if (auto* widget = vllist::editorWidget(m_wnd->GetColumnEditor(column.columnId())))
            widget->setFocus();
        break;
    }
    default: break;
    }
}

// ---- notifications ----

void CGridCtrl::editorCommand(vllist::Window& editor, uint16_t code)
{
    if (m_frozen || code != vllist::combobox::SelChange)
        return;
    const auto column = m_columns->at(m_wnd->GetCurrentColumn());
    if (!column || column->settings().controlType != lstCtlComboBox)
        return;
    const auto handle = m_wnd->GetColumnEditor(column->columnId());
    if (vllist::windowFromHandle(handle) != &editor)
        return;
    const vllist::LParam selected = editor.sendMessage(vllist::combobox::GetCurSel, 0, 0);
    fire(event::ComboboxSelChange, "ComboboxSelChange",
         {Variant(int32_t(selected == vllist::combobox::Error ? -1 : selected))});
}

void CGridCtrl::fireWithCurrentCell(automation::DispId id, const char* name, Args before)
{
    const int32_t row = m_wnd->GetCurrentRow();
    if (row < 0)
        return;
    before.push_back(newCell(m_wnd, row, m_wnd->GetCurrentColumn()));
    fireByRef(id, name, before);
}

void CGridCtrl::validate(uint16_t code)
{
    const int32_t row = m_wnd->GetCurrentRow();
    if (row < 0)
        return;
    const auto column = m_columns->at(m_wnd->GetCurrentColumn());
    bool popup = false;
    if (!m_ignoreForwardSlash && column && column->settings().controlType == lstCtlPopup &&
        !(column->settings().controlStyle & PopButtonInvisible)) {
        const QString text = vllist::editorWindowText(m_wnd->GetColumnEditor(column->columnId()));
        if (text.startsWith(QLatin1Char('/'))) {
            showColumnPopup(*column);
            m_popupShown = popup = true;
        }
    }
    bool cancel = false;
    if (!popup) {
        const vllist::NextCell next = grid().GetNextCell();
        Args args{newCell(m_wnd, row, m_wnd->GetCurrentColumn()), Variant(next.row != row), Variant(false)};
        if (code == vllist::notify::ValidateCell)
            fireByRef(event::ValidateCell, "ValidateCell", args);
        else
            fireByRef(event::ValidateOnChange, "ValidateOnChange", args);
        cancel = basic::CBool(args.at(2));
    }
    if (cancel || popup) {
        grid().RefuseCellMove();
        m_popupShown = false;
    }
}

void CGridCtrl::notification(uint16_t code)
{
    if (code > DeferredPopup)
        return;
    switch (code) {
    case 0:
        fireWithCurrentCell(event::ItemSelChange, "ItemSelChange");
        fireWithCurrentCell(event::SelChange, "SelChange");
        break;
    case 1:
        fireWithCurrentCell(event::ColumnSelChange, "ColumnSelChange");
        fireWithCurrentCell(event::SelChange, "SelChange");
        break;
    case 2: fireWithCurrentCell(event::DblClk, "DblClk"); break;
    case 3: fireWithCurrentCell(event::MouseClick, "MouseClick", {Variant(int16_t(2)), Variant(shiftState())}); break;
    case 4:
        fireWithCurrentCell(event::MouseClick, "MouseClick", {Variant(int16_t(1)), Variant(shiftState())});
        if (m_oleDragMode == 2)
            armAutomaticDrag();
        break;
    case 5:
    case 6: {
        const int32_t column = int16_t(m_wnd->GetClickedColumn() & 0xFFFF);
        if (column >= 0)
            fire(event::CaptionMouseClick, "CaptionMouseClick",
                 {Variant(int16_t(code == 5 ? 1 : 2)), Variant(shiftState()),
                  Variant(basic::ObjectRef(m_columns->at(column)))});
        break;
    }
    case 11: {
        const int32_t rows = m_wnd->GetRowCount();
        if (rows > 0)
            fire(event::NewItem, "NewItem", {newItem(m_wnd, rows - 1)});
        break;
    }
    case 12:
    case 14: validate(code); break;
    case 15: {
        const int32_t notify = grid().GetNotifyColumn();
        const auto column = m_columns->at(int16_t(notify & 0xFFFF));
        if (column && column->settings().controlType == lstCtlPopup && (uint32_t(notify) >> 16) == 3)
            // Posted: the popup opens once the window has finished with this notification.
            QMetaObject::invokeMethod(
                widget(), [this] { windowCommand(*window(), DeferredPopup); }, Qt::QueuedConnection);
        break;
    }
    case 101: moveFocusByTabIndex(true); break;
    case 102: moveFocusByTabIndex(false); break;
    case 103:
        fireWithCurrentCell(event::PreItemSelChange, "PreItemSelChange");
        fireWithCurrentCell(event::PreSelChange, "PreSelChange");
        break;
    case 104:
        fireWithCurrentCell(event::PreColumnSelChange, "PreColumnSelChange");
        fireWithCurrentCell(event::PreSelChange, "PreSelChange");
        break;
    case 106: fire(event::PreItemLostFocus, "PreItemLostFocus"); break;
    case 107: fire(event::DrillDownButtonClick, "DrillDownButtonClick"); break;
    case DeferredPopup:
        if (const auto column = m_columns->at(m_wnd->GetCurrentColumn()))
            showColumnPopup(*column);
        break;
    default: break;
    }
}

} // namespace listgrid
