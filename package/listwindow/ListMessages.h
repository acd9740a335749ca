#pragma once

#include <cstdint>

// The private messages of the vendor's list window ("#VL32LISTVIEW") and grid window
// ("#VL32GRIDVIEW"), and the records passed with them: the contract between the list
// and grid controls and the window that draws them, declared once for both sides.
// docs/listwindow.md describes every message. Rows and columns are 0-based; column
// indexes are in the window's (display) order unless a message says otherwise.
namespace vllist {

using Message = uint32_t;
using WParam = uintptr_t;
using LParam = intptr_t;

// Window messages of the general layer that the controls send too.
inline constexpr Message SetRedraw = 0x000B; // wParam 0 stops drawing, 1 resumes

// Messages of the list window class.
namespace list {
inline constexpr Message InsertRow = 0x1402;            // wParam 1, RowInsert*; result: the new row
inline constexpr Message SetPagedProc = 0x1403;         // lParam: PagedProc or 0; result: 1 when registered
inline constexpr Message SetPagedUserData = 0x1404;     // lParam: user data for the paged callback
inline constexpr Message AddImage = 0x1405;             // wParam 1, ImagePair*
inline constexpr Message SetViewStyle = 0x1406;         // lParam: Report 1, Icon 2, SmallIcon 4, List 0
inline constexpr Message GetCurrentRow = 0x1408;
inline constexpr Message GetCurrentColumn = 0x1409;
inline constexpr Message DeleteAllRows = 0x140A;
inline constexpr Message DeleteRow = 0x140B;            // lParam: row
inline constexpr Message SetCurrentCell = 0x140C;       // wParam: column (-2 keeps), lParam: row (-1 none)
inline constexpr Message GetRowText = 0x140D;           // RowText*: kind 1 text, 0 typed cell value
inline constexpr Message SetRowText = 0x140E;           // RowText*
inline constexpr Message SetRowKey = 0x140F;            // RowKey*
inline constexpr Message GetRowKey = 0x1410;            // lParam: row
inline constexpr Message SelectRow = 0x1412;            // wParam: flag, lParam: row
inline constexpr Message GetSelectedCount = 0x1413;
inline constexpr Message FirstSelected = 0x1414;        // lParam: int32_t* cursor
inline constexpr Message LastSelected = 0x1415;
inline constexpr Message NextSelected = 0x1416;
inline constexpr Message PreviousSelected = 0x1417;
inline constexpr Message IsRowSelected = 0x1418;        // lParam: row
inline constexpr Message GetClickedColumn = 0x1419;
inline constexpr Message SetColumnSort = 0x141B;        // wParam: column, lParam: 0 none, 1 up, 2 down
inline constexpr Message SetAlternateColours = 0x1421;  // AlternateColours*
inline constexpr Message SetRowColours = 0x1422;        // RowColours*
inline constexpr Message SetColumnColours = 0x1423;     // ColumnColours*
inline constexpr Message SetCellColours = 0x1424;       // CellColours*
inline constexpr Message GetFindRequest = 0x1425;       // FindRequest*, filled
inline constexpr Message SetFindResult = 0x1426;        // lParam: row or -1
inline constexpr Message FindRow = 0x1427;              // wParam: partial, Find*; result: row or -1
inline constexpr Message SetColumnWidthNow = 0x1428;    // wParam: column, lParam: width
inline constexpr Message ShowColumn = 0x142B;           // wParam: column, lParam: flag
inline constexpr Message SetCellText = 0x142C;          // CellText*
inline constexpr Message GetColumnDefinition = 0x142E;  // wParam: column, ColumnDefinition*, filled
inline constexpr Message CurrentSelected = 0x1430;      // lParam: int32_t* cursor
inline constexpr Message SetColumnDefinition = 0x1431;  // wParam: column, ColumnDefinition*
inline constexpr Message SetVisibleRows = 0x1432;       // lParam: count, -1 = the window's own
inline constexpr Message RefreshStyle = 0x1433;
inline constexpr Message FindColumnById = 0x1435;       // lParam: id; result: window column or -1
inline constexpr Message DeleteColumn = 0x1436;         // lParam: column
inline constexpr Message InsertColumn = 0x1437;         // wParam: column, ColumnDefinition*
inline constexpr Message ClearImages = 0x1438;
inline constexpr Message ColumnToWindow = 0x1439;       // lParam: column in the control's order
inline constexpr Message ColumnFromWindow = 0x143A;     // lParam: column in the window's order
inline constexpr Message GetRowImage = 0x143B;          // lParam: row
inline constexpr Message SetRowImage = 0x143C;          // wParam: image, lParam: row
inline constexpr Message GetRowColours = 0x143E;        // RowColours*, quartet filled
inline constexpr Message GetCellColours = 0x1440;       // CellColours*, quartet filled
inline constexpr Message SetVirtualRowCount = 0x1441;   // lParam: count, -1 = none
inline constexpr Message GetColumnWidthNow = 0x1442;    // lParam: column
inline constexpr Message GetRowCount = 0x1443;
inline constexpr Message SetDragEnabled = 0x1444;       // lParam: flag
inline constexpr Message HitTest = 0x1445;              // lParam: y << 16 | x; result: row or -1
inline constexpr Message GetColumnRect = 0x1446;        // wParam: column, Rect*; result: shown
inline constexpr Message GetStateChangeRow = 0x1447;
inline constexpr Message SetCaptionColours = 0x144D;    // CaptionColours*
inline constexpr Message Initialise = 0x1450;           // lParam: 2
inline constexpr Message MoveColumnTo = 0x1452;         // wParam: column, lParam: position
inline constexpr Message SetMousePointer = 0x1453;      // lParam: 0 default, 1 busy
inline constexpr Message Ready = 0x1459;
inline constexpr Message TypedChar = 0x145A;            // wParam: the character
inline constexpr Message ColumnRebuild = 0x145B;        // lParam: 1 begins, 0 ends
} // namespace list

// Messages of the grid window class. The same number can mean something else to the
// list (0x1413, 0x1414), so each is sent only to the class it belongs to.
namespace grid {
inline constexpr Message InsertRow = 0x1402;
inline constexpr Message SetPagedProc = 0x1403;
inline constexpr Message SetPagedUserData = 0x1404;
inline constexpr Message GetCurrentRow = 0x1405;
inline constexpr Message GetCurrentColumn = 0x1406;
inline constexpr Message DeleteAllRows = 0x1407;
inline constexpr Message DeleteRow = 0x1408;
inline constexpr Message SetCurrentCell = 0x1409;
inline constexpr Message GetRowText = 0x140A;
inline constexpr Message SetRowText = 0x140B;
inline constexpr Message SetRowKey = 0x140C;
inline constexpr Message GetRowKey = 0x140D;
inline constexpr Message GetRowCount = 0x140E;
inline constexpr Message GetClickedColumn = 0x140F;
inline constexpr Message GetColumnEditorAt = 0x1410;    // lParam: window column; result: editor or 0
inline constexpr Message GetColumnEditor = 0x1411;      // lParam: column id; result: editor or 0
inline constexpr Message RefuseCellMove = 0x1413;       // lParam: 1
inline constexpr Message SuspendEditing = 0x1414;       // lParam: 1 suspends, 0 resumes
inline constexpr Message GetDirty = 0x1418;
inline constexpr Message SetDirty = 0x1419;             // lParam: the new value
inline constexpr Message SetCellEnabled = 0x141A;       // CellState*
inline constexpr Message SetAlternateColours = 0x141B;
inline constexpr Message SetRowColours = 0x141C;
inline constexpr Message SetColumnColours = 0x141D;
inline constexpr Message SetCellColours = 0x141E;
inline constexpr Message SetFixedRows = 0x141F;         // lParam: count, -1 = none
inline constexpr Message SetColumnWidthNow = 0x1420;
inline constexpr Message ShowColumn = 0x1423;
inline constexpr Message SetCellText = 0x1424;
inline constexpr Message GetColumnDefinition = 0x1426;  // the grid has no incremental find
inline constexpr Message SetColumnDefinition = 0x1428;
inline constexpr Message SetVisibleRows = 0x1429;
inline constexpr Message RefreshStyle = 0x142A;
inline constexpr Message FindColumnById = 0x142C;
inline constexpr Message DeleteColumn = 0x142D;
inline constexpr Message InsertColumn = 0x142E;
inline constexpr Message ColumnToWindow = 0x142F;
inline constexpr Message ColumnFromWindow = 0x1430;
inline constexpr Message GetRowColours = 0x1432;
inline constexpr Message GetCellColours = 0x1434;
inline constexpr Message GetNotifyColumn = 0x1435;      // result: column | sub-code << 16
inline constexpr Message GetNextCell = 0x1436;          // NextCell*, filled
inline constexpr Message SetVirtualRowCount = 0x1437;
inline constexpr Message SetColumnSort = 0x1438;
inline constexpr Message SetDragEnabled = 0x143A;
inline constexpr Message HitTest = 0x143B;
inline constexpr Message GetColumnRect = 0x143C;
inline constexpr Message SetAutoCalculate = 0x143D;
inline constexpr Message SetCaptionColours = 0x144A;
inline constexpr Message GetColumnWidthNow = 0x144D;
inline constexpr Message MoveColumnTo = 0x144E;
inline constexpr Message SetMousePointer = 0x144F;
inline constexpr Message Initialise = 0x1450;           // lParam: 1
inline constexpr Message Ready = 0x1459;
inline constexpr Message TypedChar = 0x145A;
inline constexpr Message ColumnRebuild = 0x145B;
} // namespace grid

// Notification codes the window sends its owner (the high 16 bits of the command).
namespace notify {
inline constexpr uint16_t SelChange = 0;        // list: current row; grid: row changed
inline constexpr uint16_t ColumnSelChange = 1;  // grid: current column changed
inline constexpr uint16_t DblClk = 2;
inline constexpr uint16_t RightClick = 3;
inline constexpr uint16_t LeftClick = 4;
inline constexpr uint16_t CaptionLeftClick = 5;
inline constexpr uint16_t CaptionRightClick = 6;
inline constexpr uint16_t GotFocus = 7;
inline constexpr uint16_t LostFocus = 8;
inline constexpr uint16_t FindRequest = 9;     // list: the user typed; GetFindRequest tells what
inline constexpr uint16_t NewRow = 11;         // grid: the user added a row
inline constexpr uint16_t ValidateCell = 12;   // grid: the user leaves an edited cell
inline constexpr uint16_t PreviousControl = 101; // grid: Shift+Tab in the first cell
inline constexpr uint16_t NextControl = 102;     // grid: Tab in the last cell
inline constexpr uint16_t ValidateOnChange = 14; // grid: an edited cell changed
inline constexpr uint16_t EditorButton = 15;    // grid: an editor's button; GetNotifyColumn's sub-code 3 the popup's
inline constexpr uint16_t StateChange = 100;    // list: a row's selected state changed (GetStateChangeRow)
inline constexpr uint16_t PreSelChange = 103;   // the current row is about to change
inline constexpr uint16_t PreColumnSelChange = 104; // grid: the current column is about to change
inline constexpr uint16_t PostStateChange = 105; // list: after the rows' state changes
inline constexpr uint16_t PreItemLostFocus = 106; // the current row is about to lose the focus
inline constexpr uint16_t DrillDown = 107;      // a drill-down column's button
} // namespace notify

// Records passed by pointer in lParam. Pointers have the machine's width; every
// other field is 32-bit, in this order.
struct RowInsert
{
    int32_t kind = 0;         // 1: data is the row's text (tabs split cells); 0: a packed row or none
    const void* data = nullptr;
    int32_t row = -1;         // where to insert; -1 appends
    int32_t key = 0;
    int32_t image = 0;        // kind 1 only
};

struct RowText
{
    int32_t row = 0;
    int32_t column = -1;      // -1: the row's own text
    void* data = nullptr;     // the caller's buffer (get) or value (set)
    int32_t kind = 1;         // 1: row text (at most RowTextBufferSize bytes); 0: a cell value
};
inline constexpr int32_t RowTextBufferSize = 1024;

// RGB colours (0x00BBGGRR), -1 for the window's own default.
struct ColourQuartet
{
    int32_t back = -1;
    int32_t fore = -1;
    int32_t highlightedBack = -1;
    int32_t highlightedFore = -1;
};

struct CellColours
{
    int32_t row = 0;
    int32_t column = 0;
    ColourQuartet colours;
};

struct RowColours
{
    int32_t row = 0;
    ColourQuartet colours;
};

struct ColumnColours
{
    int32_t column = 0;       // a 16-bit value
    ColourQuartet colours;
};

struct AlternateColours
{
    int32_t count = 1;        // every count-th row takes these colours; 1 = none
    ColourQuartet colours;
};

struct CaptionColours
{
    int32_t column = 0;
    int32_t back = -1;
    int32_t fore = -1;
    int32_t unused1 = -1;
    int32_t unused2 = -1;
};

struct RowKey
{
    int32_t row = 0;
    int32_t key = 0;
};

struct CellText
{
    int32_t row = 0;
    int32_t column = 0;
    const char* text = nullptr;
};

struct CellState
{
    int32_t row = 0;
    int32_t column = 0;
    int32_t enabled = 1;
};

struct Find
{
    const char* text = nullptr;
    int32_t one = 1;
    int32_t start = 0;
};

struct FindRequest
{
    const char* text = nullptr; // the typed text, owned by the window
    int32_t exact = 0;          // passed on negated by the list
    int32_t wrap = 0;           // a second search from the first record is allowed
    int32_t startRow = 0;
    int32_t column = 0;         // window order
};

struct Rect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct NextCell
{
    int32_t row = -1;
    int32_t column = -1;
};

struct ImagePair
{
    const void* large = nullptr; // a QImage
    const void* small = nullptr; // a QImage, or null without a small image list
    int32_t mask = 0;            // RGB mask colour
};

// The rows a paged window is about to show; both 0-based and inclusive.
struct PagedData
{
    int32_t first = 0;
    int32_t last = 0;
};

// The column definition record, 116 bytes, little-endian, zero-filled before use.
struct ColumnDefinition
{
    int16_t sqlType = 0;       // String 12, Long 4, Integer 5, Double 8, Single 6, Date 11, Bit -7
    int16_t decimalPlaces = 0; // for SQL types 6 and 8
    int16_t width = 0;         // in average characters
    uint16_t bufferSize = 0;   // MaxLength + 1
    uint32_t flags = 0;        // ColumnFlag
    int16_t zero = 0;
    uint16_t columnId = 0;
    uint32_t editorStyle = 0;  // EditorStyle bits, the editor's base style and ControlStyle
    char editorClass[32] = {};
    char caption[64] = {};
};
static_assert(sizeof(ColumnDefinition) == 116);

namespace ColumnFlag {
inline constexpr uint32_t CaptionAlignMask = 0x3;   // 1 right, 2 centre
inline constexpr uint32_t AllowMove = 0x4;
inline constexpr uint32_t AllowSize = 0x8;
inline constexpr uint32_t AllowSelect = 0x10;
inline constexpr uint32_t Fixed = 0x20;
inline constexpr uint32_t SortAscending = 0x40;
inline constexpr uint32_t SortDescending = 0x80;
inline constexpr uint32_t SortMask = 0xC0;
inline constexpr uint32_t ColumnAlignMask = 0x300;  // 0x100 right, 0x200 centre
inline constexpr uint32_t AutoSize = 0x400;
inline constexpr uint32_t DrillDown = 0x10000;
} // namespace ColumnFlag

namespace EditorStyle {
inline constexpr uint32_t Base = 0x50000000;
inline constexpr uint32_t Visible = 0x10000000;
inline constexpr uint32_t Enabled = 0x10000;
} // namespace EditorStyle

// SQL types of the column storage forms.
namespace sql {
inline constexpr int16_t Char = 1, Numeric = 2, Decimal = 3, Integer = 4, SmallInt = 5, Float = 6,
                         Real = 7, Double = 8, DateTime = 9, Varchar = 12, Timestamp = 11,
                         TinyInt = -6, Bit = -7, Binary = -2, VarBinary = -3;
} // namespace sql

// Bytes of a value of `sqlType` in a packed row or a typed cell value: the text's
// length for strings (the caller adds one byte for the terminating zero).
int32_t sizeFromSqlType(int16_t sqlType, int32_t maxLength);

// The paged-data callback: the window calls it, while it handles a message or draws,
// for the rows it is about to show; the callee inserts them with InsertRow (kind 0,
// appended) and returns 1.
class Window;
using PagedProc = int32_t (*)(Window* window, const PagedData* rows, LParam userData);

// A window of this layer: one entry that takes every message synchronously.
class Window
{
public:
    virtual ~Window() = default;
    virtual LParam sendMessage(Message message, WParam wParam, LParam lParam) = 0;
    // The window's style bits (the general layer's window style word): the list and
    // grid controls set theirs at creation and on each property change.
    virtual void setWindowStyle(uint32_t style) { (void)style; }
    virtual uint32_t windowStyle() const { return 0; }
};


// Who a window notifies: its owner (the control), with the notification code.
class WindowOwner
{
public:
    virtual ~WindowOwner() = default;
    virtual void windowCommand(Window& window, uint16_t code) = 0;
    // A command from one of the window's cell editors (a combo box's selection change).
    virtual void editorCommand(Window& editor, uint16_t code)
    {
        (void)editor;
        (void)code;
    }
};

template <class T>
LParam toLParam(T* record) { return reinterpret_cast<LParam>(record); }
template <class T>
T* fromLParam(LParam lParam) { return reinterpret_cast<T*>(lParam); }

} // namespace vllist
