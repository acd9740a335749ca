#pragma once

#include "package/listwindow/EditorWindows.h"
#include "package/listwindow/ListMessages.h"
#include "package/listwindow/ListWindowModel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>

class QTableView;

namespace vllist {

inline constexpr const char* ListViewClass = "#VL32LISTVIEW";
inline constexpr const char* GridViewClass = "#VL32GRIDVIEW";

// The vendor's list window and grid window, drawn with a Qt table view: rows, cells,
// captions, selection, the grid's in-place editors and scrolling. Everything the
// controls do to it goes through sendMessage with the numbers of ListMessages.h;
// what the user does comes back to the owner as notification codes.
class ListWindow : public QWidget, public Window, public EditorOwner
{
public:
    enum class Kind { List, Grid };

    ListWindow(Kind kind, WindowOwner* owner, QWidget* parent = nullptr);
    ~ListWindow() override;

    // A window of a registered class ("#VL32LISTVIEW" or "#VL32GRIDVIEW"); null for
    // any other class name.
    static std::unique_ptr<ListWindow> create(const QString& className, WindowOwner* owner,
                                              QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    QString className() const;
    LParam sendMessage(Message message, WParam wParam, LParam lParam) override;
    // Style bits: the list hides its captions with 0x100, the grid with 0x20; the
    // grid draws its lines with 0x100.
    void setWindowStyle(uint32_t style) override;
    uint32_t windowStyle() const override { return m_style; }

    QTableView* view() const { return m_view; }
    // Rows as tall as the view's font needs, with a margin of 6 pixels; done when the
    // window is made, and again by its owner after it gives the window another font.
    void fitRowsToFont();
    QSize sizeHint() const override;

    // What the window was told that has no drawing of its own, for the controls' tests.
    int32_t visibleRows() const { return m_visibleRows; }
    int32_t fixedRows() const { return m_fixedRows; }
    int32_t viewStyle() const { return m_viewStyle; }
    bool dragEnabled() const { return m_dragEnabled; }
    bool autoCalculate() const { return m_autoCalculate; }
    bool moveRefused() const { return m_moveRefused; }
    bool editingSuspended() const { return m_editingSuspended; }
    bool rebuilding() const { return m_rebuilding; }
    int32_t initialisedWith() const { return m_initialisedWith; }

    enum class Op; // one per message, whichever number the class gives it

    // The grid asks its owner before the current cell leaves a cell the user edited
    // (notification 12); a refusal (0x1413) keeps it there. Called by the view.
    bool allowCellMove(const QModelIndex& from, const QModelIndex& to);
    void cellMoved();
    // The focus left the grid: with ValidateOnLostFocus (0x800) an edited cell is
    // validated, and a refused value gives way to the one the cell had.
    void focusLeft();
    // Before the current row (or the grid's current column) moves: 106 and 103, or
    // the grid's 104.
    void aboutToMove(const QModelIndex& from, const QModelIndex& to);
    // The popup editor's button: notification 15 with the sub-code 3.
    void popupButtonPressed();
    // The user changed the text in a cell's editor: notification 14; false when the
    // host refused the change.
    bool editorChanged(const QModelIndex& cell);
    // Sends a validation (12 or 14) with `next` as the cell moved to; false when the
    // owner refused (0x1413).
    bool askOwner(uint16_t code, const QModelIndex& next);

    // The combo box of a grid column whose editor class is "ComboBox" (null for others).
    ComboBoxWindow* comboBoxOf(uint16_t columnId) const
    {
        const auto it = m_comboBoxes.find(columnId);
        return it == m_comboBoxes.end() ? nullptr : it->second.data();
    }
    // An editor's notification goes on to the owner.
    void editorNotification(Window& editor, uint16_t code) override
    {
        if (m_owner)
            m_owner->editorCommand(editor, code);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LParam handle(Op op, WParam wParam, LParam lParam);
    void notify(uint16_t code);
    int logical(int32_t windowColumn) const;
    int32_t windowOrder(int logicalColumn) const;
    int currentRow() const;
    QList<int> selectedRows() const;
    int32_t walkSelection(Op op, int32_t* cursor) const;
    void setCurrentCell(int32_t windowColumn, int32_t row);
    void applyColumnLayout(int logicalColumn);
    int charWidth() const;
    void loadPage(int row);
    int insertRow(const RowInsert& insert);
    void fillRowFromPacked(int row, const void* packed);
    bool getColumnRect(int32_t windowColumn, Rect& rect) const;

    Kind m_kind;
    WindowOwner* m_owner;
    QTableView* m_view = nullptr;
    ListWindowModel* m_model = nullptr;

    int32_t m_visibleRows = -1;
    int32_t m_fixedRows = -1;
    int32_t m_viewStyle = 1;
    bool m_dragEnabled = false;
    bool m_autoCalculate = false;
    bool m_moveRefused = false;
    bool m_editingSuspended = false;
    bool m_rebuilding = false;
    // Between the rebuild messages: the cells of the columns deleted, by column id,
    // for the column inserted again with that id.
    std::map<uint16_t, std::vector<ListWindowModel::Cell>> m_rebuiltCells;
    int32_t m_dirty = 0;
    int32_t m_initialisedWith = 0;
    int32_t m_clickedColumn = -1;
    int32_t m_clickedButton = 0;
    int32_t m_stateChangeRow = -1;
    int32_t m_notifySubCode = 0;
    bool m_rowAdded = false;

    // Paged data: the window's virtual rows and who fills them.
    int32_t m_virtualRows = -1;
    PagedProc m_pagedProc = nullptr;
    LParam m_pagedUserData = 0;
    int m_fillNext = -1; // while the callback fills: the row the next append lands on
    int m_fillEnd = -1;

    uint32_t m_style = 0;
    // Grid validation: a cell edited since it became current, the cell a move goes to.
    bool m_cellEdited = false;
    QMetaObject::Connection m_focusWatch;
    QPersistentModelIndex m_editedCell;
    QString m_valueBefore;
    bool m_validating = false;
    int32_t m_nextRow = -1;
    int32_t m_nextColumn = -1;

    // The combo boxes of the grid's combo-box columns, by column id: children of the
    // rows' viewport, deleted with their column (or with the window).
    std::map<uint16_t, QPointer<ComboBoxWindow>> m_comboBoxes;

    // Incremental find: what the user typed, and when.
    QByteArray m_typed;
    QElapsedTimer m_typedAt;
};

// The text of an editor window that GetColumnEditor gave (0: none; DropDownEditors.h
// names the editor windows).
QString editorWindowText(LParam editor);

} // namespace vllist
