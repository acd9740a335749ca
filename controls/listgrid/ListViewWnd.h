#pragma once

#include "controls/listgrid/ListControlHost.h"

#include "package/listwindow/ListMessages.h"

#include "platform/basic/Variant.h"

#include <memory>

namespace listgrid {

// The message numbers of one window class; 0 where that class has no such message.
struct WindowMessages;

// The list-window wrapper: every operation on the control's outside window sends one
// message with the packing of docs/listwindow.md. Column arguments are in the
// control's order (the Columns collection); once a movable column has been applied
// the wrapper maps them to the window's order, once, here, and maps column results
// back. Reference-counted: the control and every Columns, Column, Items, Item, Cells,
// Cell and SelectedItems object holds it; detach() leaves held objects with no
// control, so that they see IsCreated() false instead of a destroyed control.
class CListViewWnd : public std::enable_shared_from_this<CListViewWnd>
{
public:
    explicit CListViewWnd(ListControlHost* host);
    virtual ~CListViewWnd();

    ListControlHost* host() const { return m_host; }
    void detach() { m_host = nullptr; }
    bool isGrid() const;
    bool columnMapping() const { return m_columnMapping != 0; }
    void setColumnMapping() { m_columnMapping = 1; }

    // A row number that follows the rows inserted and deleted through the wrapper
    // until it is released with nullptr (the row a drag moves); -1 once it is deleted.
    void trackRow(int32_t* row) { m_tracked = row; }

    // The container-side operations (no message).
    bool IsCreated() const;
    bool IsUserMode() const;
    bool IsAutoRedraw() const;
    int32_t ColumnCount() const;
    std::shared_ptr<CColumn> ColumnAt(int32_t column) const;
    std::shared_ptr<CColumn> ColumnByIndexOrKey(const basic::Variant& index) const;
    void SetCurrentItemObject(const basic::ObjectRef& item);
    bool ReadFieldInfo(const QString& dataField, FieldInfo& info);
    void ShowColumnPopup(CColumn& column);
    void Repaint();
    void RepaintColumn(int32_t column);
    void SetModified();
    double ToContainerUnits(int32_t pixels) const;

    // Columns.
    void DeleteColumn(int32_t column);
    void InsertColumn(int32_t column, vllist::ColumnDefinition& definition);
    int32_t FindColumnById(uint32_t columnId);
    void GetColumnDefinition(int32_t column, vllist::ColumnDefinition& definition);
    void SetColumnDefinition(int32_t column, vllist::ColumnDefinition& definition);
    void SetColumnSort(int32_t column, int16_t sort);
    void ShowColumn(int32_t column, bool visible);
    int32_t ColumnToWindow(int32_t column);
    int32_t ColumnFromWindow(int32_t column);
    void SetColumnColours(int32_t column, const vllist::ColourQuartet& colours);
    void SetCaptionColours(int32_t column, int32_t back, int32_t fore);
    intptr_t GetColumnEditor(uint32_t columnId);
    intptr_t GetColumnEditorAt(int32_t column);
    bool GetColumnRect(int32_t column, vllist::Rect& rect);
    void SetColumnWidthNow(int32_t column, int16_t width);
    int32_t GetColumnWidthNow(int32_t column);
    void MoveColumnTo(int32_t column, int16_t position);
    int32_t GetColumnPosition(int32_t column);
    void BeginColumnRebuild();
    void EndColumnRebuild();
    void SetRedraw(bool on);

    // Rows.
    int32_t GetRowCount();
    void DeleteRow(int32_t row);
    void DeleteAllRows();
    int32_t GetCurrentRow();
    int32_t GetStateChangeRow();
    int32_t GetCurrentColumn();
    int32_t InsertTextRow(int32_t row, const QString& text, int32_t key, int16_t image);
    int32_t InsertDataRow(const void* packedRow);
    void SetRowText(int32_t row, const QString& text);
    QString GetRowText(int32_t row);
    // The text an automatic drag carries: the list's row, the grid's current cell
    // (at most 1,024 bytes with the zero).
    QString GetDragText(int32_t row);
    basic::Variant GetCellValue(int32_t row, int32_t column);
    void SetCellValue(int32_t row, int32_t column, const basic::Variant& value);
    void SetCellEnabled(int32_t row, int32_t column, bool enabled);
    void SetCellText(int32_t row, int32_t column, const QString& text);
    void SetCurrentCell(int32_t row, int32_t column);
    int32_t GetClickedColumn();
    int32_t GetRowImage(int32_t row);
    void SetRowImage(int32_t row, int16_t image);
    int32_t GetRowKey(int32_t row);
    void SetRowKey(int32_t row, int32_t key);
    void SetVisibleRows(int32_t count);
    void SetVirtualRowCount(int32_t count);
    // The paged callback and its user data (0x1403 / 0x1404); the result of 0x1403.
    int32_t SetPagedProc(vllist::PagedProc proc);
    void SetPagedUserData(vllist::LParam userData);
    // 0x1450 with the class's number (list 2, grid 1), then 0x1459.
    void Initialise(int32_t kind);
    void SetViewStyle(int32_t viewBits); // list only
    void SetMousePointer(int32_t pointer);
    void SendTypedChar(uint16_t character);
    // The row under a point in window pixels, or -1.
    int32_t HitTestRow(int32_t x, int32_t y);

    // Selection (list only).
    bool IsRowSelected(int32_t row);
    void SelectRow(int32_t row, bool selected);
    int32_t GetSelectedCount();
    int32_t FirstSelected(int32_t& cursor);
    int32_t LastSelected(int32_t& cursor);
    int32_t NextSelected(int32_t& cursor);
    int32_t PreviousSelected(int32_t& cursor);
    int32_t CurrentSelected(int32_t& cursor);

    // Colours (RGB, -1 for the window's default).
    void SetCellColours(int32_t row, int32_t column, const vllist::ColourQuartet& colours);
    vllist::ColourQuartet GetCellColours(int32_t row, int32_t column);
    void SetRowColours(int32_t row, const vllist::ColourQuartet& colours);
    vllist::ColourQuartet GetRowColours(int32_t row);
    void SetAlternateColours(int16_t alternateItems, const vllist::ColourQuartet& colours);

    // The rest of the window's settings.
    void RefreshStyle();
    void GetFindRequest(vllist::FindRequest& request);
    void SetFindResult(int32_t row);
    int32_t FindRow(const QString& text, int32_t start, int16_t partial);
    void SetDragEnabled(bool enabled);

protected:
    CListViewWnd(ListControlHost* host, const WindowMessages& messages);
    vllist::LParam send(vllist::Message message, vllist::WParam wParam, vllist::LParam lParam) const;
    // A message of this class, or `none` without sending when the class has none.
    vllist::LParam sendOr(vllist::Message message, vllist::WParam wParam, vllist::LParam lParam,
                          vllist::LParam none) const;
    int32_t in(int32_t column);
    int32_t out(int32_t column);
    // A result with a column in its low 16 bits, that column mapped back.
    int32_t outLow16(vllist::LParam result);
    int32_t walk(vllist::Message message, int32_t& cursor);
    // A row inserted at `row`: the tracked row moves down when it lay at or below it.
    int32_t inserted(int32_t row);

    const WindowMessages& m_messages;

private:
    // The row's text from the window (a grid cell's when the window column is >= 0).
    QString rowText(int32_t row, int32_t windowColumn);

    ListControlHost* m_host;
    uint32_t m_columnMapping = 0;
    int32_t* m_tracked = nullptr;
};

// The grid's wrapper: the grid's message numbers and the grid's own operations.
class CGridViewWnd : public CListViewWnd
{
public:
    explicit CGridViewWnd(ListControlHost* host);

    int32_t InsertGridDataRow(const void* packedRow);
    void SetFixedRows(int32_t count);
    int32_t GetNotifyColumn(); // low 16 bits the column (control order), high 16 the sub-code
    void SuspendEditing(bool suspend);
    vllist::NextCell GetNextCell();
    void SetAutoCalculate(bool on);
    bool GetDirty();
    void SetDirty(bool dirty);
    // Keeps the current cell where it is (a refused validation).
    void RefuseCellMove();
};

// An OLE colour as the window's records take it: -1 when it is the slot's default,
// else its RGB value (a system colour gives its current RGB value).
int32_t windowColour(uint32_t oleColor, uint32_t slotDefault);

// Default colours by slot.
namespace colours {
inline constexpr uint32_t Back = 0x80000005u;
inline constexpr uint32_t Fore = 0x80000008u;
inline constexpr uint32_t HighlightedBack = 0x8000000Du;
inline constexpr uint32_t HighlightedFore = 0x8000000Eu;
inline constexpr uint32_t CaptionBack = 0x8000000Fu;
inline constexpr uint32_t CaptionFore = 0x80000008u;
} // namespace colours

} // namespace listgrid
