#include "controls/listgrid/ListViewWnd.h"

#include "controls/listgrid/Columns.h"

#include "package/datetime/TimeStamp.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/OleColor.h"

#include <QByteArray>

namespace listgrid {

using namespace vllist;

struct WindowMessages
{
    Message deleteColumn, insertColumn, findColumnById, getColumnDefinition, setColumnDefinition,
        setColumnSort, showColumn, getRowCount, deleteRow, deleteAllRows, getCurrentRow,
        getStateChangeRow, getCurrentColumn, insertRow, setRowText, getRowText, setCellEnabled,
        isRowSelected, selectRow, getSelectedCount, firstSelected, lastSelected, nextSelected,
        previousSelected, currentSelected, columnToWindow, columnFromWindow, refreshStyle,
        setCurrentCell, getClickedColumn, getRowImage, setRowImage, getRowKey, setRowKey,
        setVisibleRows, setCellColours, getCellColours, setColumnColours, setRowColours,
        getRowColours, setAlternateColours, setCaptionColours, getFindRequest, setFindResult,
        getColumnEditor, getColumnEditorAt, setVirtualRowCount, findRow, setDragEnabled,
        getColumnRect, setCellText, setColumnWidthNow, getColumnWidthNow, moveColumnTo,
        columnRebuild, setPagedProc, setPagedUserData, initialise, ready, setViewStyle,
        setMousePointer, typedChar, hitTest;
};

namespace {

// The grid has no selection walk, no row images and no incremental find: the list's
// numbers for them mean other things to the grid (0x1413 refuses a cell move, 0x1414
// suspends editing, 0x1426 reads a column definition), so nothing is sent.
constexpr WindowMessages listNumbers{
    list::DeleteColumn, list::InsertColumn, list::FindColumnById, list::GetColumnDefinition,
    list::SetColumnDefinition, list::SetColumnSort, list::ShowColumn, list::GetRowCount,
    list::DeleteRow, list::DeleteAllRows, list::GetCurrentRow, list::GetStateChangeRow,
    list::GetCurrentColumn, list::InsertRow, list::SetRowText, list::GetRowText, 0,
    list::IsRowSelected, list::SelectRow, list::GetSelectedCount, list::FirstSelected,
    list::LastSelected, list::NextSelected, list::PreviousSelected, list::CurrentSelected,
    list::ColumnToWindow, list::ColumnFromWindow, list::RefreshStyle, list::SetCurrentCell,
    list::GetClickedColumn, list::GetRowImage, list::SetRowImage, list::GetRowKey, list::SetRowKey,
    list::SetVisibleRows, list::SetCellColours, list::GetCellColours, list::SetColumnColours,
    list::SetRowColours, list::GetRowColours, list::SetAlternateColours, list::SetCaptionColours,
    list::GetFindRequest, list::SetFindResult, 0, 0, list::SetVirtualRowCount, list::FindRow,
    list::SetDragEnabled, list::GetColumnRect, list::SetCellText, list::SetColumnWidthNow,
    list::GetColumnWidthNow, list::MoveColumnTo, list::ColumnRebuild, list::SetPagedProc,
    list::SetPagedUserData, list::Initialise, list::Ready, list::SetViewStyle, list::SetMousePointer,
    list::TypedChar, list::HitTest};

constexpr WindowMessages gridNumbers{
    grid::DeleteColumn, grid::InsertColumn, grid::FindColumnById, grid::GetColumnDefinition,
    grid::SetColumnDefinition, grid::SetColumnSort, grid::ShowColumn, grid::GetRowCount,
    grid::DeleteRow, grid::DeleteAllRows, grid::GetCurrentRow, list::GetStateChangeRow,
    grid::GetCurrentColumn, grid::InsertRow, grid::SetRowText, grid::GetRowText, grid::SetCellEnabled,
    0, 0, 0, 0, 0, 0, 0, 0,
    grid::ColumnToWindow, grid::ColumnFromWindow, grid::RefreshStyle, grid::SetCurrentCell,
    grid::GetClickedColumn, 0, 0, grid::GetRowKey, grid::SetRowKey,
    grid::SetVisibleRows, grid::SetCellColours, grid::GetCellColours, grid::SetColumnColours,
    grid::SetRowColours, grid::GetRowColours, grid::SetAlternateColours, grid::SetCaptionColours,
    0, 0, grid::GetColumnEditor, grid::GetColumnEditorAt, grid::SetVirtualRowCount, 0,
    grid::SetDragEnabled, grid::GetColumnRect, grid::SetCellText, grid::SetColumnWidthNow,
    grid::GetColumnWidthNow, grid::MoveColumnTo, grid::ColumnRebuild, grid::SetPagedProc,
    grid::SetPagedUserData, grid::Initialise, grid::Ready, 0, grid::SetMousePointer,
    grid::TypedChar, grid::HitTest};

// A count of 0 reaches the window as -1 (the window's own choice).
constexpr LParam zeroAsNone(int32_t count) { return count == 0 ? -1 : count; }

WParam low16(int32_t value) { return WParam(uint16_t(int16_t(value))); }

} // namespace

int32_t windowColour(uint32_t oleColor, uint32_t slotDefault)
{
    if (oleColor == slotDefault)
        return -1;
    const QColor c = forms::toQColor(oleColor);
    return int32_t(uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16));
}

CListViewWnd::CListViewWnd(ListControlHost* host) : CListViewWnd(host, listNumbers) {}
CListViewWnd::CListViewWnd(ListControlHost* host, const WindowMessages& messages)
    : m_messages(messages), m_host(host)
{
}
CListViewWnd::~CListViewWnd() = default;

bool CListViewWnd::isGrid() const { return &m_messages == &gridNumbers; }

LParam CListViewWnd::send(Message message, WParam wParam, LParam lParam) const
{
    Window* window = m_host ? m_host->listWindow() : nullptr;
    return window ? window->sendMessage(message, wParam, lParam) : 0;
}

LParam CListViewWnd::sendOr(Message message, WParam wParam, LParam lParam, LParam none) const
{
    return message == 0 ? none : send(message, wParam, lParam);
}

int32_t CListViewWnd::in(int32_t column)
{
    return m_columnMapping && column != -1 ? ColumnToWindow(column) : column;
}

int32_t CListViewWnd::out(int32_t column)
{
    return m_columnMapping && column != -1 ? ColumnFromWindow(column) : column;
}

bool CListViewWnd::IsCreated() const { return m_host && m_host->listWindow(); }
bool CListViewWnd::IsUserMode() const { return m_host && m_host->isUserMode(); }
bool CListViewWnd::IsAutoRedraw() const { return m_host && m_host->isAutoRedraw(); }

int32_t CListViewWnd::ColumnCount() const
{
    const auto cols = m_host ? m_host->columns() : nullptr;
    return cols ? cols->count() : 0;
}

std::shared_ptr<CColumn> CListViewWnd::ColumnAt(int32_t column) const
{
    const auto cols = m_host ? m_host->columns() : nullptr;
    return cols ? cols->at(column) : nullptr;
}

std::shared_ptr<CColumn> CListViewWnd::ColumnByIndexOrKey(const basic::Variant& index) const
{
    const auto cols = m_host ? m_host->columns() : nullptr;
    return cols ? cols->at(cols->findColumn(index)) : nullptr;
}

void CListViewWnd::SetCurrentItemObject(const basic::ObjectRef& item)
{
    if (m_host)
        m_host->setCurrentItem(item);
}

bool CListViewWnd::ReadFieldInfo(const QString& dataField, FieldInfo& info)
{
    return m_host && m_host->readFieldInfo(dataField, info);
}

void CListViewWnd::ShowColumnPopup(CColumn& column)
{
    if (m_host && isGrid())
        m_host->showColumnPopup(column);
}

void CListViewWnd::Repaint()
{
    if (m_host)
        m_host->repaint();
}

void CListViewWnd::RepaintColumn(int32_t) { Repaint(); }

void CListViewWnd::SetModified()
{
    if (m_host)
        m_host->setModified();
}

double CListViewWnd::ToContainerUnits(int32_t pixels) const
{
    return m_host ? m_host->toContainerUnits(pixels) : double(forms::pixelsToTwips(pixels));
}

void CListViewWnd::DeleteColumn(int32_t column) { send(m_messages.deleteColumn, 0, in(column)); }

void CListViewWnd::InsertColumn(int32_t column, ColumnDefinition& definition)
{
    if (definition.flags & ColumnFlag::AllowMove)
        setColumnMapping();
    send(m_messages.insertColumn, WParam(in(column)), toLParam(&definition));
}

// The window answers in its own order; callers pass the index on to operations that
// map it again, so it comes back in the control's order.
int32_t CListViewWnd::FindColumnById(uint32_t columnId)
{
    return out(int32_t(send(m_messages.findColumnById, 0, LParam(columnId & 0xFFFF))));
}

void CListViewWnd::GetColumnDefinition(int32_t column, ColumnDefinition& definition)
{
    send(m_messages.getColumnDefinition, WParam(in(column)), toLParam(&definition));
}

void CListViewWnd::SetColumnDefinition(int32_t column, ColumnDefinition& definition)
{
    send(m_messages.setColumnDefinition, WParam(in(column)), toLParam(&definition));
}

void CListViewWnd::SetColumnSort(int32_t column, int16_t sort)
{
    send(m_messages.setColumnSort, WParam(in(column)), sort);
}

void CListViewWnd::ShowColumn(int32_t column, bool visible)
{
    send(m_messages.showColumn, low16(in(column)), visible ? 1 : 0);
}

int32_t CListViewWnd::ColumnToWindow(int32_t column)
{
    return int32_t(send(m_messages.columnToWindow, 0, column));
}

int32_t CListViewWnd::ColumnFromWindow(int32_t column)
{
    return int32_t(send(m_messages.columnFromWindow, 0, column));
}

void CListViewWnd::SetColumnColours(int32_t column, const ColourQuartet& colours)
{
    ColumnColours record{int32_t(int16_t(in(column))), colours};
    send(m_messages.setColumnColours, 0, toLParam(&record));
}

void CListViewWnd::SetCaptionColours(int32_t column, int32_t back, int32_t fore)
{
    CaptionColours record{in(column), back, fore, -1, -1};
    send(m_messages.setCaptionColours, 0, toLParam(&record));
}

intptr_t CListViewWnd::GetColumnEditor(uint32_t columnId)
{
    return sendOr(m_messages.getColumnEditor, 0, LParam(columnId & 0xFFFF), 0);
}

intptr_t CListViewWnd::GetColumnEditorAt(int32_t column)
{
    return sendOr(m_messages.getColumnEditorAt, 0, in(column), 0);
}

// Mapped like every other column argument: the callers address a column by its
// place in Columns.
bool CListViewWnd::GetColumnRect(int32_t column, Rect& rect)
{
    return send(m_messages.getColumnRect, WParam(in(column)), toLParam(&rect)) != 0;
}

void CListViewWnd::SetColumnWidthNow(int32_t column, int16_t width)
{
    send(m_messages.setColumnWidthNow, WParam(in(column)), width);
}

int32_t CListViewWnd::GetColumnWidthNow(int32_t column)
{
    return int32_t(send(m_messages.getColumnWidthNow, 0, in(column)));
}

void CListViewWnd::MoveColumnTo(int32_t column, int16_t position)
{
    send(m_messages.moveColumnTo, WParam(in(column)), position);
}

int32_t CListViewWnd::GetColumnPosition(int32_t column)
{
    return out(int32_t(send(m_messages.columnToWindow, 0, in(column))));
}

void CListViewWnd::BeginColumnRebuild() { send(m_messages.columnRebuild, 0, 1); }
void CListViewWnd::EndColumnRebuild() { send(m_messages.columnRebuild, 0, 0); }
void CListViewWnd::SetRedraw(bool on) { send(vllist::SetRedraw, on ? 1 : 0, 0); }

int32_t CListViewWnd::GetRowCount() { return int32_t(send(m_messages.getRowCount, 0, 0)); }
void CListViewWnd::DeleteRow(int32_t row)
{
    send(m_messages.deleteRow, 0, row);
    if (m_tracked && *m_tracked >= 0 && row >= 0)
        *m_tracked = row == *m_tracked ? -1 : row < *m_tracked ? *m_tracked - 1 : *m_tracked;
}

void CListViewWnd::DeleteAllRows()
{
    send(m_messages.deleteAllRows, 0, 0);
    if (m_tracked)
        *m_tracked = -1;
}

int32_t CListViewWnd::inserted(int32_t row)
{
    if (m_tracked && *m_tracked >= 0 && row >= 0 && row <= *m_tracked)
        ++*m_tracked;
    return row;
}
int32_t CListViewWnd::GetCurrentRow() { return int32_t(send(m_messages.getCurrentRow, 0, 0)); }
int32_t CListViewWnd::GetStateChangeRow() { return int32_t(send(m_messages.getStateChangeRow, 0, 0)); }
int32_t CListViewWnd::GetCurrentColumn() { return out(int32_t(send(m_messages.getCurrentColumn, 0, 0))); }

int32_t CListViewWnd::InsertTextRow(int32_t row, const QString& text, int32_t key, int16_t image)
{
    if (!isGrid() && m_host)
        m_host->ensureImageLists();
    const QByteArray ansi = text.toLatin1();
    RowInsert record{1, ansi.constData(), row, key, int32_t(image)};
    return inserted(int32_t(send(m_messages.insertRow, 1, toLParam(&record))));
}

int32_t CListViewWnd::InsertDataRow(const void* packedRow)
{
    RowInsert record{0, packedRow, -1, 0, 0};
    return inserted(int32_t(send(m_messages.insertRow, 1, toLParam(&record))));
}

void CListViewWnd::SetRowText(int32_t row, const QString& text)
{
    QByteArray ansi = text.toLatin1();
    RowText record{row, -1, ansi.data(), 1};
    send(m_messages.setRowText, 0, toLParam(&record));
}

QString CListViewWnd::rowText(int32_t row, int32_t windowColumn)
{
    QByteArray buffer(RowTextBufferSize, '\0');
    RowText record{row, windowColumn, buffer.data(), 1};
    send(m_messages.getRowText, 0, toLParam(&record));
    buffer[RowTextBufferSize - 1] = '\0';
    return QString::fromLatin1(buffer.constData());
}

QString CListViewWnd::GetRowText(int32_t row) { return rowText(row, -1); }

QString CListViewWnd::GetDragText(int32_t row)
{
    const int32_t column = isGrid() ? GetCurrentColumn() : 0;
    return rowText(row, column >= 0 && isGrid() ? in(column) : column);
}

namespace {

enum DataType : int16_t { String = 0, Long = 1, Integer = 2, Double = 3, Single = 4, Date = 5, Bit = 6 };

} // namespace

basic::Variant CListViewWnd::GetCellValue(int32_t row, int32_t column)
{
    const auto col = ColumnAt(column);
    if (!col)
        return {};
    const ColumnSettings& s = col->settings();
    RowText record{row, in(column), nullptr, 0};
    // The window writes the value in its storage form straight into `v`.
    const auto read = [&](auto v) {
        record.data = &v;
        send(m_messages.getRowText, 0, toLParam(&record));
        return v;
    };
    switch (s.dataType) {
    case Long: return read(int32_t(0));
    case Integer: return read(int16_t(0));
    case Double: return read(0.0);
    case Single: return double(read(0.0f));
    case Bit: return read(uint8_t(0));
    case Date: {
        double serial = 0;
        vldt::dateFromTimeStamp(read(vldt::TimeStamp{}), serial);
        return basic::DateValue{serial};
    }
    default: {
        QByteArray buffer(int(s.maxLength) + 1, '\0');
        record.data = buffer.data();
        send(m_messages.getRowText, 0, toLParam(&record));
        buffer[buffer.size() - 1] = '\0';
        return QString::fromLatin1(buffer.constData());
    }
    }
}

void CListViewWnd::SetCellValue(int32_t row, int32_t column, const basic::Variant& value)
{
    const auto col = ColumnAt(column);
    if (!col)
        return;
    const ColumnSettings& s = col->settings();
    RowText record{row, in(column), nullptr, 0};
    const auto sendValue = [&](auto v) {
        record.data = &v;
        send(m_messages.setRowText, 0, toLParam(&record));
    };
    try {
        switch (s.dataType) {
        case Long: return sendValue(basic::CLng(value));
        case Integer: return sendValue(basic::CInt(value));
        case Double: return sendValue(basic::CDbl(value));
        case Single: return sendValue(float(basic::CDbl(value)));
        case Bit: return sendValue(basic::CByte(value));
        case Date: {
            vldt::TimeStamp stamp;
            vldt::timeStampFromDate(basic::CDate(value).serial, stamp);
            return sendValue(stamp);
        }
        default: {
            QString text = basic::CStr(value);
            if (isGrid())
                text.truncate(s.maxLength);
            QByteArray ansi = text.toLatin1();
            record.data = ansi.data();
            send(m_messages.setRowText, 0, toLParam(&record));
            return;
        }
        }
    } catch (const basic::RuntimeError&) {
        // A value that does not convert to the column's type leaves the cell as it is.
    }
}

void CListViewWnd::SetCellEnabled(int32_t row, int32_t column, bool enabled)
{
    CellState record{row, in(column), enabled ? 1 : 0};
    sendOr(m_messages.setCellEnabled, 0, toLParam(&record), 0);
}

void CListViewWnd::SetCellText(int32_t row, int32_t column, const QString& text)
{
    const QByteArray ansi = text.toLatin1();
    CellText record{row, in(column), ansi.constData()};
    send(m_messages.setCellText, 0, toLParam(&record));
}

void CListViewWnd::SetCurrentCell(int32_t row, int32_t column)
{
    send(m_messages.setCurrentCell, low16(column == -2 ? -2 : in(column)), row);
}

int32_t CListViewWnd::outLow16(LParam result)
{
    const auto packed = uint32_t(result);
    const int32_t column = int16_t(packed & 0xFFFF);
    return int32_t((packed & 0xFFFF0000u) | (uint32_t(out(column)) & 0xFFFF));
}

int32_t CListViewWnd::GetClickedColumn() { return outLow16(send(m_messages.getClickedColumn, 0, 0)); }

int32_t CListViewWnd::GetRowImage(int32_t row) { return int32_t(sendOr(m_messages.getRowImage, 0, row, -1)); }
void CListViewWnd::SetRowImage(int32_t row, int16_t image) { sendOr(m_messages.setRowImage, low16(image), row, 0); }
int32_t CListViewWnd::GetRowKey(int32_t row) { return int32_t(send(m_messages.getRowKey, 0, row)); }

void CListViewWnd::SetRowKey(int32_t row, int32_t key)
{
    RowKey record{row, key};
    send(m_messages.setRowKey, 0, toLParam(&record));
}

void CListViewWnd::SetVisibleRows(int32_t count) { send(m_messages.setVisibleRows, 0, zeroAsNone(count)); }
void CListViewWnd::SetVirtualRowCount(int32_t count) { send(m_messages.setVirtualRowCount, 0, zeroAsNone(count)); }
void CListViewWnd::SetPagedUserData(LParam userData) { send(m_messages.setPagedUserData, 0, userData); }
int32_t CListViewWnd::SetPagedProc(PagedProc proc)
{
    return int32_t(send(m_messages.setPagedProc, 0, reinterpret_cast<LParam>(proc)));
}
void CListViewWnd::Initialise(int32_t kind)
{
    send(m_messages.initialise, 0, kind);
    send(m_messages.ready, 0, 0);
}
void CListViewWnd::SetViewStyle(int32_t viewBits) { sendOr(m_messages.setViewStyle, 0, viewBits, 0); }
void CListViewWnd::SetMousePointer(int32_t pointer) { send(m_messages.setMousePointer, 0, pointer); }
void CListViewWnd::SendTypedChar(uint16_t character) { send(m_messages.typedChar, character, 0); }
int32_t CListViewWnd::HitTestRow(int32_t x, int32_t y)
{
    return int32_t(send(m_messages.hitTest, 0, LParam((uint32_t(y & 0xFFFF) << 16) | uint32_t(x & 0xFFFF))));
}

bool CListViewWnd::IsRowSelected(int32_t row) { return sendOr(m_messages.isRowSelected, 0, row, 0) != 0; }
void CListViewWnd::SelectRow(int32_t row, bool selected) { sendOr(m_messages.selectRow, selected ? 1 : 0, row, 0); }
int32_t CListViewWnd::GetSelectedCount() { return int32_t(sendOr(m_messages.getSelectedCount, 0, 0, 0)); }

int32_t CListViewWnd::walk(Message message, int32_t& cursor)
{
    return int32_t(sendOr(message, 0, toLParam(&cursor), -1));
}

int32_t CListViewWnd::FirstSelected(int32_t& cursor) { return walk(m_messages.firstSelected, cursor); }
int32_t CListViewWnd::LastSelected(int32_t& cursor) { return walk(m_messages.lastSelected, cursor); }
int32_t CListViewWnd::NextSelected(int32_t& cursor) { return walk(m_messages.nextSelected, cursor); }
int32_t CListViewWnd::PreviousSelected(int32_t& cursor) { return walk(m_messages.previousSelected, cursor); }
int32_t CListViewWnd::CurrentSelected(int32_t& cursor) { return walk(m_messages.currentSelected, cursor); }

void CListViewWnd::SetCellColours(int32_t row, int32_t column, const ColourQuartet& colours)
{
    CellColours record{row, in(column), colours};
    send(m_messages.setCellColours, 0, toLParam(&record));
}

ColourQuartet CListViewWnd::GetCellColours(int32_t row, int32_t column)
{
    CellColours record{row, in(column), {}};
    send(m_messages.getCellColours, 0, toLParam(&record));
    return record.colours;
}

void CListViewWnd::SetRowColours(int32_t row, const ColourQuartet& colours)
{
    RowColours record{row, colours};
    send(m_messages.setRowColours, 0, toLParam(&record));
}

ColourQuartet CListViewWnd::GetRowColours(int32_t row)
{
    RowColours record{row, {}};
    send(m_messages.getRowColours, 0, toLParam(&record));
    return record.colours;
}

void CListViewWnd::SetAlternateColours(int16_t alternateItems, const ColourQuartet& colours)
{
    AlternateColours record{int32_t(int16_t(alternateItems + 1)), colours};
    send(m_messages.setAlternateColours, 0, toLParam(&record));
}

void CListViewWnd::RefreshStyle() { send(m_messages.refreshStyle, 0, 0); }

void CListViewWnd::GetFindRequest(FindRequest& request)
{
    request = {};
    sendOr(m_messages.getFindRequest, 0, toLParam(&request), 0);
}

void CListViewWnd::SetFindResult(int32_t row) { sendOr(m_messages.setFindResult, 0, row, 0); }

int32_t CListViewWnd::FindRow(const QString& text, int32_t start, int16_t partial)
{
    const QByteArray ansi = text.toLatin1();
    Find record{ansi.constData(), 1, start};
    return int32_t(sendOr(m_messages.findRow, low16(partial), toLParam(&record), -1));
}

void CListViewWnd::SetDragEnabled(bool enabled) { send(m_messages.setDragEnabled, 0, enabled ? 1 : 0); }

CGridViewWnd::CGridViewWnd(ListControlHost* host) : CListViewWnd(host, gridNumbers) {}

int32_t CGridViewWnd::InsertGridDataRow(const void* packedRow)
{
    RowInsert record{0, packedRow, -1, 0, 0};
    return inserted(int32_t(send(grid::InsertRow, 1, toLParam(&record))));
}

void CGridViewWnd::SetFixedRows(int32_t count) { send(grid::SetFixedRows, 0, zeroAsNone(count)); }

int32_t CGridViewWnd::GetNotifyColumn() { return outLow16(send(grid::GetNotifyColumn, 0, 0)); }

bool CGridViewWnd::GetDirty() { return send(grid::GetDirty, 0, 0) != 0; }
void CGridViewWnd::SetDirty(bool dirty) { send(grid::SetDirty, 0, dirty ? 1 : 0); }
void CGridViewWnd::RefuseCellMove() { send(grid::RefuseCellMove, 0, 1); }

void CGridViewWnd::SuspendEditing(bool suspend) { send(grid::SuspendEditing, 0, suspend ? 1 : 0); }

NextCell CGridViewWnd::GetNextCell()
{
    NextCell record;
    send(grid::GetNextCell, 0, toLParam(&record));
    record.column = out(record.column);
    return record;
}

void CGridViewWnd::SetAutoCalculate(bool on) { send(grid::SetAutoCalculate, 0, on ? 1 : 0); }

} // namespace listgrid
