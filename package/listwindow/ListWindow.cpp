#include "package/listwindow/ListWindow.h"

#include "package/listwindow/CellPainter.h"
#include "package/listwindow/CellStorage.h"
#include "package/listwindow/DropDownEditors.h"
#include "package/listwindow/EditorWindows.h"
#include "package/listwindow/ListWindowModel.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

namespace vllist {

enum class ListWindow::Op {
    InsertRow, SetPagedProc, SetPagedUserData, AddImage, SetViewStyle, GetCurrentRow,
    GetCurrentColumn, DeleteAllRows, DeleteRow, SetCurrentCell, GetRowText, SetRowText, SetRowKey,
    GetRowKey, SelectRow, GetSelectedCount, FirstSelected, LastSelected, NextSelected,
    PreviousSelected, IsRowSelected, GetClickedColumn, SetColumnSort, SetAlternateColours,
    SetRowColours, SetColumnColours, SetCellColours, GetFindRequest, SetFindResult, FindRow,
    SetColumnWidthNow, ShowColumn, SetCellText, GetColumnDefinition, CurrentSelected,
    SetColumnDefinition, SetVisibleRows, RefreshStyle, FindColumnById, DeleteColumn, InsertColumn,
    ClearImages, ColumnToWindow, ColumnFromWindow, GetRowImage, SetRowImage, GetRowColours,
    GetCellColours, SetVirtualRowCount, GetColumnWidthNow, GetRowCount, SetDragEnabled, HitTest,
    GetColumnRect, GetStateChangeRow, SetCaptionColours, Initialise, MoveColumnTo, SetMousePointer,
    Ready, TypedChar, ColumnRebuild, GetColumnEditorAt, GetColumnEditor, RefuseCellMove,
    SuspendEditing, GetDirty, SetDirty, SetCellEnabled, SetFixedRows, GetNotifyColumn, GetNextCell,
    SetAutoCalculate, SetRedraw,
};

namespace {

using Op = ListWindow::Op;

// A column's editor class name, within its fixed-size field.
QByteArray editorClassOf(const ColumnDefinition& definition)
{
    return QByteArray(definition.editorClass,
                      qsizetype(strnlen(definition.editorClass, sizeof definition.editorClass)));
}

const std::pair<Message, Op> listMessages[] = {
    {list::InsertRow, Op::InsertRow}, {list::SetPagedProc, Op::SetPagedProc},
    {list::SetPagedUserData, Op::SetPagedUserData}, {list::AddImage, Op::AddImage},
    {list::SetViewStyle, Op::SetViewStyle}, {list::GetCurrentRow, Op::GetCurrentRow},
    {list::GetCurrentColumn, Op::GetCurrentColumn}, {list::DeleteAllRows, Op::DeleteAllRows},
    {list::DeleteRow, Op::DeleteRow}, {list::SetCurrentCell, Op::SetCurrentCell},
    {list::GetRowText, Op::GetRowText}, {list::SetRowText, Op::SetRowText},
    {list::SetRowKey, Op::SetRowKey}, {list::GetRowKey, Op::GetRowKey},
    {list::SelectRow, Op::SelectRow}, {list::GetSelectedCount, Op::GetSelectedCount},
    {list::FirstSelected, Op::FirstSelected}, {list::LastSelected, Op::LastSelected},
    {list::NextSelected, Op::NextSelected}, {list::PreviousSelected, Op::PreviousSelected},
    {list::IsRowSelected, Op::IsRowSelected}, {list::GetClickedColumn, Op::GetClickedColumn},
    {list::SetColumnSort, Op::SetColumnSort}, {list::SetAlternateColours, Op::SetAlternateColours},
    {list::SetRowColours, Op::SetRowColours}, {list::SetColumnColours, Op::SetColumnColours},
    {list::SetCellColours, Op::SetCellColours}, {list::GetFindRequest, Op::GetFindRequest},
    {list::SetFindResult, Op::SetFindResult}, {list::FindRow, Op::FindRow},
    {list::SetColumnWidthNow, Op::SetColumnWidthNow}, {list::ShowColumn, Op::ShowColumn},
    {list::SetCellText, Op::SetCellText}, {list::GetColumnDefinition, Op::GetColumnDefinition},
    {list::CurrentSelected, Op::CurrentSelected}, {list::SetColumnDefinition, Op::SetColumnDefinition},
    {list::SetVisibleRows, Op::SetVisibleRows}, {list::RefreshStyle, Op::RefreshStyle},
    {list::FindColumnById, Op::FindColumnById}, {list::DeleteColumn, Op::DeleteColumn},
    {list::InsertColumn, Op::InsertColumn}, {list::ClearImages, Op::ClearImages},
    {list::ColumnToWindow, Op::ColumnToWindow}, {list::ColumnFromWindow, Op::ColumnFromWindow},
    {list::GetRowImage, Op::GetRowImage}, {list::SetRowImage, Op::SetRowImage},
    {list::GetRowColours, Op::GetRowColours}, {list::GetCellColours, Op::GetCellColours},
    {list::SetVirtualRowCount, Op::SetVirtualRowCount}, {list::GetColumnWidthNow, Op::GetColumnWidthNow},
    {list::GetRowCount, Op::GetRowCount}, {list::SetDragEnabled, Op::SetDragEnabled},
    {list::HitTest, Op::HitTest}, {list::GetColumnRect, Op::GetColumnRect},
    {list::GetStateChangeRow, Op::GetStateChangeRow}, {list::SetCaptionColours, Op::SetCaptionColours},
    {list::Initialise, Op::Initialise}, {list::MoveColumnTo, Op::MoveColumnTo},
    {list::SetMousePointer, Op::SetMousePointer}, {list::Ready, Op::Ready},
    {list::TypedChar, Op::TypedChar}, {list::ColumnRebuild, Op::ColumnRebuild},
    {SetRedraw, Op::SetRedraw},
};

const std::pair<Message, Op> gridMessages[] = {
    {grid::InsertRow, Op::InsertRow}, {grid::SetPagedProc, Op::SetPagedProc},
    {grid::SetPagedUserData, Op::SetPagedUserData}, {grid::GetCurrentRow, Op::GetCurrentRow},
    {grid::GetCurrentColumn, Op::GetCurrentColumn}, {grid::DeleteAllRows, Op::DeleteAllRows},
    {grid::DeleteRow, Op::DeleteRow}, {grid::SetCurrentCell, Op::SetCurrentCell},
    {grid::GetRowText, Op::GetRowText}, {grid::SetRowText, Op::SetRowText},
    {grid::SetRowKey, Op::SetRowKey}, {grid::GetRowKey, Op::GetRowKey},
    {grid::GetRowCount, Op::GetRowCount}, {grid::GetClickedColumn, Op::GetClickedColumn},
    {grid::GetColumnEditorAt, Op::GetColumnEditorAt}, {grid::GetColumnEditor, Op::GetColumnEditor},
    {grid::RefuseCellMove, Op::RefuseCellMove}, {grid::SuspendEditing, Op::SuspendEditing},
    {grid::GetDirty, Op::GetDirty}, {grid::SetDirty, Op::SetDirty},
    {grid::SetCellEnabled, Op::SetCellEnabled}, {grid::SetAlternateColours, Op::SetAlternateColours},
    {grid::SetRowColours, Op::SetRowColours}, {grid::SetColumnColours, Op::SetColumnColours},
    {grid::SetCellColours, Op::SetCellColours}, {grid::SetFixedRows, Op::SetFixedRows},
    {grid::SetColumnWidthNow, Op::SetColumnWidthNow}, {grid::ShowColumn, Op::ShowColumn},
    {grid::SetCellText, Op::SetCellText}, {grid::GetColumnDefinition, Op::GetColumnDefinition},
    {grid::SetColumnDefinition, Op::SetColumnDefinition}, {grid::SetVisibleRows, Op::SetVisibleRows},
    {grid::RefreshStyle, Op::RefreshStyle}, {grid::FindColumnById, Op::FindColumnById},
    {grid::DeleteColumn, Op::DeleteColumn}, {grid::InsertColumn, Op::InsertColumn},
    {grid::ColumnToWindow, Op::ColumnToWindow}, {grid::ColumnFromWindow, Op::ColumnFromWindow},
    {grid::GetRowColours, Op::GetRowColours}, {grid::GetCellColours, Op::GetCellColours},
    {grid::GetNotifyColumn, Op::GetNotifyColumn}, {grid::GetNextCell, Op::GetNextCell},
    {grid::SetVirtualRowCount, Op::SetVirtualRowCount}, {grid::SetColumnSort, Op::SetColumnSort},
    {grid::SetDragEnabled, Op::SetDragEnabled}, {grid::HitTest, Op::HitTest},
    {grid::GetColumnRect, Op::GetColumnRect}, {grid::SetAutoCalculate, Op::SetAutoCalculate},
    {grid::SetCaptionColours, Op::SetCaptionColours}, {grid::GetColumnWidthNow, Op::GetColumnWidthNow},
    {grid::MoveColumnTo, Op::MoveColumnTo}, {grid::SetMousePointer, Op::SetMousePointer},
    {grid::Initialise, Op::Initialise}, {grid::Ready, Op::Ready},
    {grid::TypedChar, Op::TypedChar}, {grid::ColumnRebuild, Op::ColumnRebuild},
    {SetRedraw, Op::SetRedraw},
};

constexpr int PageSize = 32;

// The current cell moves only when the window allows it (the grid's validation).
class ValidatingSelection : public QItemSelectionModel
{
public:
    ValidatingSelection(QAbstractItemModel* model, ListWindow& window) : QItemSelectionModel(model), m_window(window) {}

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index != currentIndex()) {
            m_window.aboutToMove(currentIndex(), index);
            if (!m_window.allowCellMove(currentIndex(), index))
                return;
        }
        QItemSelectionModel::setCurrentIndex(index, command);
        // The editor left behind commits as the cell changes: that is no new edit.
        m_window.cellMoved();
    }

private:
    ListWindow& m_window;
};

// A view that commits an open editor on request, so that the cell's value is in
// the model before the owner validates the move away from it.
class CommittingView : public QTableView
{
public:
    using QTableView::QTableView;
    // Told of a press in the rows once the view has moved the current row to it.
    std::function<void(const QMouseEvent&)> pressed;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QTableView::mousePressEvent(event);
        if (pressed)
            pressed(*event);
    }

    // Rows drawn straight; a drag over the view keeps the view's own painting, which
    // shows where a drop would land.
    void paintEvent(QPaintEvent* event) override
    {
        if (state() == QAbstractItemView::DraggingState)
            QTableView::paintEvent(event);
        else
            m_painter.paint(*this, *static_cast<const ListWindowModel*>(model()), event->rect());
    }

private:
    CellPainter m_painter;

public:
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    void commitOpenEditor()
    {
        if (isEditing())
            if (QWidget* editor = indexWidget(currentIndex()))
                commitData(editor);
    }
};

// Selected rows drawn with the row's, cell's or column's highlighted colours.
class HighlightDelegate : public QStyledItemDelegate
{
public:
    HighlightDelegate(ListWindow& window, QObject* parent) : QStyledItemDelegate(parent), m_window(window) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant back = index.data(ListWindowModel::HighlightBackRole);
        const QVariant fore = index.data(ListWindowModel::HighlightForeRole);
        if (back.isValid())
            option->palette.setColor(QPalette::Highlight, back.value<QColor>());
        if (fore.isValid())
            option->palette.setColor(QPalette::HighlightedText, fore.value<QColor>());
    }

public:
    // The grid's in-place editor of a cell, by the editor class of its column.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const auto* model = static_cast<const ListWindowModel*>(index.model());
        const ColumnDefinition& def = model->column(index.column()).definition;
        const QByteArray editor = editorClassOf(def);
        if (editor == "#VL32DATEEDIT") {
            auto* date = new DateEditorWindow(parent);
            date->applyStyle(def.editorStyle);
            return date;
        }
        if (editor == "ComboBox") {
            // The column's own combo box, with the entries its column was given.
            if (ComboBoxWindow* combo = m_window.comboBoxOf(def.columnId)) {
                combo->setParent(parent);
                return combo;
            }
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            return combo;
        }
        auto* line = new LineEditorWindow(editor, parent);
        line->setMaxLength(std::max(1, int(def.bufferSize) - 1));
        line->applyStyle(def.editorStyle);
        line->onButton = [this] { m_window.popupButtonPressed(); };
        line->onEdited = [this, index] { return m_window.editorChanged(index); };
        return line;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* date = qobject_cast<QDateEdit*>(editor)) {
            const auto parsed = basic::parseDate(text);
            date->setDate(parsed ? basic::toQDate(*parsed) : basic::toQDate(basic::Today()));
        } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            // The entry of that text is the selected one (none when it has none).
            combo->setCurrentIndex(combo->findText(text));
            if (combo->isEditable())
                combo->setCurrentText(text);
        } else {
            static_cast<QLineEdit*>(editor)->setText(text);
        }
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        // A date editor is never narrower than its date and its arrow.
        if (qobject_cast<QDateEdit*>(editor))
            editor->resize(std::max(editor->width(), editor->sizeHint().width()), editor->height());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        QString text;
        if (auto* date = qobject_cast<QDateEdit*>(editor))
            text = basic::formatDate(basic::fromQDate(date->date()));
        else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            // A list the user picked nothing from leaves the cell as it was.
            if (!combo->isEditable() && combo->currentIndex() < 0)
                return;
            text = combo->currentText();
        }
        else if (static_cast<QLineEdit*>(editor)->isReadOnly())
            return; // a locked column's cell keeps its value
        else
            text = static_cast<QLineEdit*>(editor)->text();
        model->setData(index, text, Qt::EditRole);
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        // A column's combo box outlives the edit: it is hidden, not destroyed.
        if (auto* combo = dynamic_cast<ComboBoxWindow*>(editor)) {
            combo->hide();
            return;
        }
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    ListWindow& m_window;
};

} // namespace

ListWindow::ListWindow(Kind kind, WindowOwner* owner, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_owner(owner)
{
    m_model = new ListWindowModel(kind == Kind::Grid, this);
    m_view = new CommittingView(this);
    m_view->setModel(m_model);
    {
        QItemSelectionModel* old = m_view->selectionModel();
        m_view->setSelectionModel(new ValidatingSelection(m_model, *this));
        delete old;
    }
    m_view->setItemDelegate(new HighlightDelegate(*this, m_view));
    m_view->verticalHeader()->hide();
    fitRowsToFont();
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setShowGrid(kind == Kind::Grid);
    m_view->setWordWrap(false);
    if (kind == Kind::List) {
        m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    } else {
        m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
        m_view->setSelectionMode(QAbstractItemView::SingleSelection);
        m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_model->setLoader([this](int row) { loadPage(row); });
    m_model->setDirtyHandler([this](const QModelIndex& cell, const QString& before) {
        m_dirty = 1;
        // The value the cell had when its editing began, for a refusal as the focus leaves.
        if (!m_cellEdited || m_editedCell != QPersistentModelIndex(cell)) {
            m_editedCell = cell;
            m_valueBefore = before;
        }
        m_cellEdited = true;
        if (m_kind != Kind::Grid)
            return;
        if (std::exchange(m_rowAdded, false))
            notify(notify::NewRow);
    });
    m_model->setNewRowHandler([this] { m_rowAdded = true; });
    if (kind == Kind::List)
        connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this](const QItemSelection& selected, const QItemSelection& deselected) {
                    // Each row whose selected state changed, then the end of the change.
                    QList<int> rows;
                    for (const QItemSelection* part : {&selected, &deselected})
                        for (const QModelIndex& index : part->indexes())
                            if (index.column() == 0 && !rows.contains(index.row()))
                                rows << index.row();
                    if (rows.isEmpty())
                        return;
                    for (int row : rows) {
                        m_stateChangeRow = row;
                        notify(notify::StateChange);
                    }
                    m_stateChangeRow = -1;
                    notify(notify::PostStateChange);
                });
    if (kind == Kind::Grid)
        m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (old && isAncestorOf(old) && !(now && isAncestorOf(now)))
                focusLeft();
        });

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { notify(notify::SelChange); });
    if (kind == Kind::Grid)
        connect(m_view->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
                [this] { notify(notify::ColumnSelChange); });
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this] { notify(notify::DblClk); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        m_clickedColumn = windowOrder(section);
        m_clickedButton = 1;
        notify(notify::CaptionLeftClick);
    });
    // A click in the rows is reported with the row (and cell) it made current.
    static_cast<CommittingView*>(m_view)->pressed = [this](const QMouseEvent& mouse) {
        if (!(mouse.button() == Qt::LeftButton && m_dragEnabled))
            notify(mouse.button() == Qt::RightButton ? notify::RightClick : notify::LeftClick);
        // A drill-down column's button: the right end of its cells.
        const QPoint at = mouse.position().toPoint();
        const QModelIndex pressed = m_view->indexAt(at);
        if (mouse.button() == Qt::LeftButton && pressed.isValid() &&
            (m_model->column(pressed.column()).definition.flags & ColumnFlag::DrillDown) &&
            drillDownButton(*m_view, m_view->visualRect(pressed)).contains(at))
            notify(notify::DrillDown);
    };
    m_view->viewport()->installEventFilter(this);
    m_view->horizontalHeader()->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
}

void ListWindow::fitRowsToFont()
{
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
}

// The focus moves off the window's children while QWidget takes them down: by then
// this is no ListWindow to tell.
ListWindow::~ListWindow() { disconnect(m_focusWatch); }

std::unique_ptr<ListWindow> ListWindow::create(const QString& className, WindowOwner* owner, QWidget* parent)
{
    if (className.compare(QLatin1String(ListViewClass), Qt::CaseInsensitive) == 0)
        return std::make_unique<ListWindow>(Kind::List, owner, parent);
    if (className.compare(QLatin1String(GridViewClass), Qt::CaseInsensitive) == 0)
        return std::make_unique<ListWindow>(Kind::Grid, owner, parent);
    return nullptr;
}

QString ListWindow::className() const
{
    return QLatin1String(m_kind == Kind::List ? ListViewClass : GridViewClass);
}

QSize ListWindow::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    if (m_visibleRows > 0)
        hint.setHeight(m_view->horizontalHeader()->sizeHint().height() +
                       m_visibleRows * m_view->verticalHeader()->defaultSectionSize() + 2 * m_view->frameWidth());
    return hint;
}

void ListWindow::setWindowStyle(uint32_t style)
{
    m_style = style;
    const bool grid = m_kind == Kind::Grid;
    m_view->horizontalHeader()->setVisible(!(style & (grid ? 0x20u : 0x100u)));
    if (grid) {
        m_view->setShowGrid(style & 0x100u);
        m_model->setBlankRow(style & 0x2000u);
        return;
    }
    // The list's selection: 0x410 extended (Shift and Ctrl), 0x10 each click toggles
    // its row, neither one row at a time.
    const auto mode = (style & 0x410u) == 0x410u ? QAbstractItemView::ExtendedSelection
                      : (style & 0x10u)         ? QAbstractItemView::MultiSelection
                                                : QAbstractItemView::SingleSelection;
    if (m_view->selectionMode() != mode) {
        m_view->setSelectionMode(mode);
        if (mode == QAbstractItemView::SingleSelection && m_view->selectionModel()->selectedRows().size() > 1)
            m_view->selectionModel()->select(m_view->currentIndex(),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

bool ListWindow::allowCellMove(const QModelIndex& from, const QModelIndex& to)
{
    if (m_kind != Kind::Grid || m_validating)
        return true;
    static_cast<CommittingView*>(m_view)->commitOpenEditor();
    if (!m_cellEdited || !from.isValid())
        return true;
    const bool refused = !askOwner(notify::ValidateCell, to);
    if (!refused)
        m_cellEdited = false;
    return !refused;
}

void ListWindow::aboutToMove(const QModelIndex& from, const QModelIndex& to)
{
    if (m_validating)
        return;
    if (from.row() != to.row()) {
        if (from.isValid())
            notify(notify::PreItemLostFocus);
        notify(notify::PreSelChange);
    } else if (m_kind == Kind::Grid && from.column() != to.column()) {
        notify(notify::PreColumnSelChange);
    }
}

bool ListWindow::editorChanged(const QModelIndex& cell)
{
    return m_validating || askOwner(notify::ValidateOnChange, cell);
}

bool ListWindow::askOwner(uint16_t code, const QModelIndex& next)
{
    m_validating = true;
    m_moveRefused = false;
    m_nextRow = next.isValid() ? next.row() : -1;
    m_nextColumn = next.isValid() ? windowOrder(next.column()) : -1;
    notify(code);
    m_validating = false;
    m_nextRow = m_nextColumn = -1;
    return !std::exchange(m_moveRefused, false);
}

void ListWindow::popupButtonPressed()
{
    m_notifySubCode = 3;
    notify(notify::EditorButton);
    m_notifySubCode = 0;
}

void ListWindow::focusLeft()
{
    static_cast<CommittingView*>(m_view)->commitOpenEditor();
    if (!(m_style & 0x800u) || !m_cellEdited || m_validating || !m_editedCell.isValid())
        return;
    // Validated as a move would be, to the same cell; a refused value does not stay.
    const QModelIndex cell = m_editedCell;
    if (!askOwner(notify::ValidateCell, cell) && m_model->validRow(cell.row())) {
        m_model->row(cell.row()).cells[size_t(cell.column())].text = m_valueBefore;
        m_model->rowChanged(cell.row());
    }
    m_cellEdited = false;
}

void ListWindow::cellMoved()
{
    if (!m_validating)
        m_cellEdited = false;
}

QString editorWindowText(LParam editor)
{
    QWidget* widget = editorWidget(editor);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        return spin->text();
    return {};
}

void ListWindow::notify(uint16_t code)
{
    if (m_owner)
        m_owner->windowCommand(*this, code);
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == m_view->viewport() && mouse->button() == Qt::LeftButton && m_dragEnabled) {
            // A drag may start from this click: the pressed row is the current one first.
            const QModelIndex pressed = m_view->indexAt(mouse->position().toPoint());
            if (pressed.isValid())
                m_view->setCurrentIndex(pressed);
            notify(notify::LeftClick);
        } else if (watched == m_view->horizontalHeader()->viewport() && mouse->button() == Qt::RightButton) {
            const int section = m_view->horizontalHeader()->logicalIndexAt(mouse->position().toPoint());
            m_clickedColumn = section < 0 ? -1 : windowOrder(section);
            m_clickedButton = 2;
            notify(notify::CaptionRightClick);
        }
    } else if (watched == m_view && event->type() == QEvent::FocusIn) {
        notify(notify::GotFocus);
    } else if (watched == m_view && event->type() == QEvent::FocusOut) {
        notify(notify::LostFocus);
    } else if (watched == m_view && event->type() == QEvent::KeyPress && m_kind == Kind::Grid) {
        // Tab past the grid's last cell, or Shift+Tab before its first, leaves the grid.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = m_view->currentIndex();
        const int lastColumn = m_model->columns() - 1;
        if (key->key() == Qt::Key_Tab && current.row() == m_model->rows() - 1 &&
            windowOrder(current.column()) == lastColumn) {
            notify(notify::NextControl);
            return true;
        }
        if (key->key() == Qt::Key_Backtab && current.row() <= 0 && windowOrder(current.column()) <= 0) {
            notify(notify::PreviousControl);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int ListWindow::logical(int32_t windowColumn) const
{
    if (windowColumn < 0 || windowColumn >= m_model->columns())
        return -1;
    return m_view->horizontalHeader()->logicalIndex(windowColumn);
}

int32_t ListWindow::windowOrder(int logicalColumn) const
{
    if (logicalColumn < 0 || logicalColumn >= m_model->columns())
        return -1;
    return m_view->horizontalHeader()->visualIndex(logicalColumn);
}

int ListWindow::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QList<int> ListWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The cursor holds row + 1 of the position reached, 0 for none.
int32_t ListWindow::walkSelection(Op op, int32_t* cursor) const
{
    if (!cursor)
        return -1;
    const QList<int> rows = selectedRows();
    const int at = *cursor - 1;
    int found = -1;
    switch (op) {
    case Op::FirstSelected:
        found = rows.isEmpty() ? -1 : rows.first();
        break;
    case Op::LastSelected:
        found = rows.isEmpty() ? -1 : rows.last();
        break;
    case Op::NextSelected:
        for (int r : rows)
            if (r > at) {
                found = r;
                break;
            }
        break;
    case Op::PreviousSelected:
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            if (*it < at || at < 0) {
                found = *it;
                break;
            }
        break;
    default: // CurrentSelected
        return rows.contains(at) ? at : -1;
    }
    if (found >= 0)
        *cursor = found + 1;
    return found;
}

void ListWindow::setCurrentCell(int32_t windowColumn, int32_t row)
{
    if (row < 0 || !m_model->validRow(row)) {
        m_view->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    int column = windowColumn == -2 ? m_view->currentIndex().column() : logical(windowColumn);
    if (column < 0)
        column = m_model->columns() > 0 ? logical(0) : 0;
    const QModelIndex index = m_model->index(row, column);
    m_view->selectionModel()->setCurrentIndex(
        index, m_kind == Kind::Grid ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    m_view->scrollTo(index);
}

int ListWindow::charWidth() const { return std::max(1, m_view->fontMetrics().averageCharWidth()); }

void ListWindow::applyColumnLayout(int logicalColumn)
{
    const ColumnDefinition& def = m_model->column(logicalColumn).definition;
    const int chars = def.width > 0 ? def.width : 16;
    m_view->horizontalHeader()->resizeSection(logicalColumn, chars * charWidth() + 8);
    m_model->columnChanged(logicalColumn);
}

void ListWindow::loadPage(int row)
{
    // Every row asked for counts as loaded, filled or not, so that drawing never asks twice.
    int last = row;
    while (last + 1 < m_model->rows() && last - row + 1 < PageSize && !m_model->row(last + 1).loaded)
        ++last;
    for (int r = row; r <= last; ++r)
        m_model->row(r).loaded = true;
    if (!m_pagedProc || m_fillNext >= 0)
        return;
    m_fillNext = row;
    m_fillEnd = last;
    const PagedData rows{row, last};
    m_pagedProc(this, &rows, m_pagedUserData);
    m_fillNext = m_fillEnd = -1;
    QTimer::singleShot(0, this, [this, row, last] { m_model->rowsChanged(row, last); });
}

void ListWindow::fillRowFromPacked(int row, const void* packed)
{
    auto& cells = m_model->row(row).cells;
    const auto* bytes = static_cast<const char*>(packed);
    for (int c = 0; c < m_model->columns() && size_t(c) < cells.size(); ++c) {
        const ColumnDefinition& def = m_model->column(c).definition;
        const int32_t size = slotSize(def);
        cells[size_t(c)].text = textFromStorage(def, bytes, size);
        bytes += size;
    }
}

int ListWindow::insertRow(const RowInsert& insert)
{
    // Rows a paged callback appends land on the placeholders it was asked for.
    if (m_fillNext >= 0 && m_fillNext <= m_fillEnd && insert.row == -1) {
        const int row = m_fillNext++;
        auto& target = m_model->row(row);
        target = m_model->makeRow();
        target.key = insert.key;
        if (insert.kind == 1) {
            target.image = insert.image;
            if (insert.data)
                m_model->setRowText(target, QString::fromLatin1(static_cast<const char*>(insert.data)));
        } else if (insert.data) {
            fillRowFromPacked(row, insert.data);
        }
        return row;
    }
    auto row = m_model->makeRow();
    row.key = insert.key;
    if (insert.kind == 1) {
        row.image = insert.image;
        if (insert.data)
            m_model->setRowText(row, QString::fromLatin1(static_cast<const char*>(insert.data)));
    }
    const int at = m_model->insertRowAt(insert.row, std::move(row));
    if (insert.kind == 0 && insert.data)
        fillRowFromPacked(at, insert.data);
    return at;
}

bool ListWindow::getColumnRect(int32_t windowColumn, Rect& rect) const
{
    const int column = logical(windowColumn);
    if (column < 0)
        return false;
    const QHeaderView* header = m_view->horizontalHeader();
    const QPoint origin = m_view->viewport()->mapTo(this, QPoint(0, 0));
    rect.left = origin.x() + header->sectionViewportPosition(column);
    rect.right = rect.left + header->sectionSize(column);
    rect.top = 0;
    rect.bottom = height();
    return !header->isSectionHidden(column) && rect.right > origin.x() && rect.left < origin.x() + m_view->viewport()->width();
}

LParam ListWindow::sendMessage(Message message, WParam wParam, LParam lParam)
{
    const std::span<const std::pair<Message, Op>> table = m_kind == Kind::List ? std::span<const std::pair<Message, Op>>(listMessages) : std::span<const std::pair<Message, Op>>(gridMessages);
    for (const auto& [number, op] : table)
        if (number == message)
            return handle(op, wParam, lParam);
    return 0; // not a message of this class
}

LParam ListWindow::handle(Op op, WParam wParam, LParam lParam)
{
    QHeaderView* header = m_view->horizontalHeader();
    const int16_t wColumn = int16_t(wParam & 0xFFFF);
    switch (op) {
    case Op::InsertRow:
        return lParam ? insertRow(*fromLParam<RowInsert>(lParam)) : -1;
    case Op::SetPagedProc:
        m_pagedProc = reinterpret_cast<PagedProc>(lParam);
        if (m_pagedProc)
            m_model->setPlaceholderRows(std::max(0, m_virtualRows));
        return 1;
    case Op::SetPagedUserData:
        m_pagedUserData = lParam;
        return 0;
    case Op::AddImage: {
        const auto* pair = fromLParam<ImagePair>(lParam);
        if (pair && pair->large)
            m_model->addImage(QPixmap::fromImage(*static_cast<const QImage*>(pair->large)));
        return 0;
    }
    case Op::SetViewStyle:
        m_viewStyle = int32_t(lParam);
        return 0;
    case Op::GetCurrentRow:
        return currentRow();
    case Op::GetCurrentColumn: {
        const QModelIndex current = m_view->currentIndex();
        return current.isValid() ? windowOrder(current.column()) : -1;
    }
    case Op::DeleteAllRows:
        m_model->clearRows();
        return 0;
    case Op::DeleteRow:
        m_model->removeRowAt(int(lParam));
        return 0;
    case Op::SetCurrentCell:
        setCurrentCell(wColumn, int32_t(lParam));
        return 0;
    case Op::GetRowText:
    case Op::SetRowText: {
        auto* record = fromLParam<RowText>(lParam);
        if (!record || !record->data || !m_model->validRow(record->row))
            return 0;
        if (!m_model->row(record->row).loaded)
            loadPage(record->row);
        auto& row = m_model->row(record->row);
        if (record->kind == 1) {
            if (op == Op::SetRowText) {
                m_model->setRowText(row, QString::fromLatin1(static_cast<const char*>(record->data)));
            } else {
                // The grid gives one cell's text when a column is named (a dragged cell).
                const int column = m_kind == Kind::Grid && record->column >= 0 ? logical(record->column) : -1;
                const QString whole = column >= 0 && size_t(column) < row.cells.size()
                                          ? row.cells[size_t(column)].text
                                          : m_model->rowText(row);
                const QByteArray text = whole.toLatin1().left(RowTextBufferSize - 1);
                std::memcpy(record->data, text.constData(), size_t(text.size()) + 1);
            }
        } else {
            const int column = logical(record->column);
            if (column < 0)
                return 0;
            const ColumnDefinition& def = m_model->column(column).definition;
            const int32_t size = slotSize(def);
            if (op == Op::SetRowText)
                row.cells[size_t(column)].text = textFromStorage(def, record->data, size);
            else
                storageFromText(def, row.cells[size_t(column)].text, record->data, size);
        }
        if (op == Op::SetRowText)
            m_model->rowChanged(record->row);
        return 0;
    }
    case Op::SetRowKey: {
        const auto* record = fromLParam<RowKey>(lParam);
        if (record && m_model->validRow(record->row))
            m_model->row(record->row).key = record->key;
        return 0;
    }
    case Op::GetRowKey:
        return m_model->validRow(int(lParam)) ? m_model->row(int(lParam)).key : 0;
    case Op::SelectRow:
        if (m_model->validRow(int(lParam)) && m_model->columns() > 0)
            m_view->selectionModel()->select(m_model->index(int(lParam), 0),
                                             (wParam ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                                 QItemSelectionModel::Rows);
        return 0;
    case Op::GetSelectedCount:
        return selectedRows().size();
    case Op::FirstSelected:
    case Op::LastSelected:
    case Op::NextSelected:
    case Op::PreviousSelected:
    case Op::CurrentSelected:
        return walkSelection(op, fromLParam<int32_t>(lParam));
    case Op::IsRowSelected:
        return m_model->validRow(int(lParam)) && m_view->selectionModel()->isRowSelected(int(lParam), {}) ? 1 : 0;
    case Op::GetClickedColumn:
        return LParam((uint32_t(m_clickedButton) << 16) | (uint32_t(m_clickedColumn) & 0xFFFF));
    case Op::SetColumnSort:
        m_model->sortBy(logical(wColumn), int(lParam));
        return 0;
    case Op::SetAlternateColours: {
        const auto* record = fromLParam<AlternateColours>(lParam);
        if (record)
            m_model->setAlternate(int16_t(record->count), record->colours);
        return 0;
    }
    case Op::SetRowColours:
    case Op::GetRowColours: {
        auto* record = fromLParam<RowColours>(lParam);
        if (!record || !m_model->validRow(record->row))
            return 0;
        auto& colours = m_model->row(record->row).colours;
        if (op == Op::SetRowColours) {
            colours = record->colours;
            m_model->rowChanged(record->row);
        } else {
            record->colours = colours;
        }
        return 0;
    }
    case Op::SetCellColours:
    case Op::GetCellColours: {
        auto* record = fromLParam<CellColours>(lParam);
        const int column = record ? logical(record->column) : -1;
        if (column < 0 || !m_model->validRow(record->row))
            return 0;
        auto& colours = m_model->row(record->row).cells[size_t(column)].colours;
        if (op == Op::SetCellColours) {
            colours = record->colours;
            m_model->rowChanged(record->row);
        } else {
            record->colours = colours;
        }
        return 0;
    }
    case Op::SetColumnColours: {
        const auto* record = fromLParam<ColumnColours>(lParam);
        const int column = record ? logical(int16_t(record->column)) : -1;
        if (column >= 0) {
            m_model->column(column).colours = record->colours;
            m_model->columnChanged(column);
        }
        return 0;
    }
    case Op::SetCaptionColours: {
        const auto* record = fromLParam<CaptionColours>(lParam);
        const int column = record ? logical(record->column) : -1;
        if (column >= 0) {
            m_model->column(column).captionBack = record->back;
            m_model->column(column).captionFore = record->fore;
            m_model->columnChanged(column);
        }
        return 0;
    }
    case Op::GetFindRequest: {
        auto* record = fromLParam<FindRequest>(lParam);
        if (!record)
            return 0;
        record->text = m_typed.constData();
        record->exact = 0;
        record->wrap = 1;
        record->startRow = std::max(0, currentRow());
        const QModelIndex current = m_view->currentIndex();
        record->column = current.isValid() ? windowOrder(current.column()) : 0;
        return 0;
    }
    case Op::SetFindResult:
        if (m_model->validRow(int(lParam)))
            setCurrentCell(-2, int32_t(lParam));
        return 0;
    case Op::FindRow: {
        const auto* record = fromLParam<Find>(lParam);
        if (!record || !record->text || m_model->columns() == 0)
            return -1;
        const QString wanted = QString::fromLatin1(record->text);
        const int first = logical(0);
        for (int r = std::max(0, record->start); r < m_model->rows(); ++r) {
            const QString& text = m_model->row(r).cells[size_t(first)].text;
            if (wParam & 0xFFFF ? text.startsWith(wanted, Qt::CaseInsensitive)
                                : text.compare(wanted, Qt::CaseInsensitive) == 0)
                return r;
        }
        return -1;
    }
    case Op::SetColumnWidthNow: {
        const int column = logical(wColumn);
        if (column >= 0)
            header->resizeSection(column, std::max<int>(0, int16_t(lParam)) * charWidth() + 8);
        return 0;
    }
    case Op::GetColumnWidthNow: {
        const int column = logical(int32_t(lParam));
        return column < 0 ? 0 : std::max(0, header->sectionSize(column) - 8) / charWidth();
    }
    case Op::ShowColumn: {
        const int column = logical(wColumn);
        if (column >= 0)
            header->setSectionHidden(column, lParam == 0);
        return 0;
    }
    case Op::SetCellText: {
        const auto* record = fromLParam<CellText>(lParam);
        const int column = record ? logical(record->column) : -1;
        if (column >= 0 && m_model->validRow(record->row)) {
            m_model->row(record->row).cells[size_t(column)].text =
                record->text ? QString::fromLatin1(record->text) : QString();
            m_model->rowChanged(record->row);
        }
        return 0;
    }
    case Op::GetColumnDefinition:
    case Op::SetColumnDefinition: {
        auto* record = fromLParam<ColumnDefinition>(lParam);
        const int column = logical(wColumn);
        if (!record || column < 0)
            return 0;
        if (op == Op::GetColumnDefinition) {
            *record = m_model->column(column).definition;
        } else {
            m_model->column(column).definition = *record;
            header->setSectionsMovable(header->sectionsMovable() || (record->flags & ColumnFlag::AllowMove));
            applyColumnLayout(column);
        }
        return 0;
    }
    case Op::SetVisibleRows:
        m_visibleRows = int32_t(lParam);
        updateGeometry();
        return 0;
    case Op::RefreshStyle:
        m_view->viewport()->update();
        return 0;
    case Op::FindColumnById:
        for (int c = 0; c < m_model->columns(); ++c)
            if (m_model->column(c).definition.columnId == uint16_t(lParam))
                return windowOrder(c);
        return -1;
    case Op::DeleteColumn: {
        const int column = logical(int32_t(lParam));
        if (column < 0)
            return 0;
        const uint16_t id = m_model->column(column).definition.columnId;
        if (m_rebuilding)
            m_rebuiltCells[id] = m_model->columnCells(column);
        m_model->removeColumnAt(column);
        if (const auto it = m_comboBoxes.find(id); it != m_comboBoxes.end()) {
            delete it->second.data();
            m_comboBoxes.erase(it);
        }
        return 0;
    }
    case Op::InsertColumn: {
        const auto* record = fromLParam<ColumnDefinition>(lParam);
        if (!record)
            return -1;
        const int count = m_model->columns();
        const int at = wColumn >= 0 && wColumn < count ? logical(wColumn) : count;
        m_model->insertColumnAt(at, *record);
        if (m_kind == Kind::Grid && editorClassOf(*record) == "ComboBox") {
            auto* combo = new ComboBoxWindow(this, m_view->viewport());
            combo->setWindowStyle(record->editorStyle);
            delete m_comboBoxes[record->columnId].data();
            m_comboBoxes[record->columnId] = combo;
        }
        if (record->flags & ColumnFlag::AllowMove)
            header->setSectionsMovable(true);
        const int to = wColumn >= 0 && wColumn < count ? wColumn : count;
        header->moveSection(header->visualIndex(at), to);
        applyColumnLayout(at);
        if (const auto kept = m_rebuiltCells.find(record->columnId); kept != m_rebuiltCells.end()) {
            m_model->setColumnCells(at, std::move(kept->second));
            m_rebuiltCells.erase(kept);
        }
        return to;
    }
    case Op::ClearImages:
        m_model->clearImages();
        return 0;
    case Op::ColumnToWindow:
        return windowOrder(int(lParam));
    case Op::ColumnFromWindow:
        return logical(int32_t(lParam));
    case Op::GetRowImage:
        return m_model->validRow(int(lParam)) ? m_model->row(int(lParam)).image : -1;
    case Op::SetRowImage:
        if (m_model->validRow(int(lParam))) {
            m_model->row(int(lParam)).image = int16_t(wParam & 0xFFFF);
            m_model->rowChanged(int(lParam));
        }
        return 0;
    case Op::SetVirtualRowCount:
        m_virtualRows = int32_t(lParam);
        return 0;
    case Op::GetRowCount:
        return m_model->rows();
    case Op::SetDragEnabled:
        m_dragEnabled = lParam != 0;
        m_view->setDragEnabled(m_dragEnabled);
        return 0;
    case Op::HitTest: {
        const QPoint inWindow(int16_t(lParam & 0xFFFF), int16_t((lParam >> 16) & 0xFFFF));
        const QPoint inViewport = m_view->viewport()->mapFrom(this, inWindow);
        if (!m_view->viewport()->rect().contains(inViewport))
            return -1;
        return m_view->rowAt(inViewport.y());
    }
    case Op::GetColumnRect: {
        auto* record = fromLParam<Rect>(lParam);
        return record && getColumnRect(wColumn, *record) ? 1 : 0;
    }
    case Op::GetStateChangeRow:
        return m_stateChangeRow;
    case Op::Initialise:
        m_initialisedWith = int32_t(lParam);
        return 0;
    case Op::Ready:
        return 0;
    case Op::MoveColumnTo:
        if (logical(wColumn) >= 0)
            header->moveSection(wColumn, std::clamp<int>(int16_t(lParam), 0, m_model->columns() - 1));
        return 0;
    case Op::SetMousePointer:
        // 0 (as the control sends it) and 11 are the busy pointer; 1, the initial
        // value, and every other the window's own.
        if (lParam == 0 || lParam == 11)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
        return 0;
    case Op::TypedChar: {
        if (!m_typedAt.isValid() || m_typedAt.elapsed() > 1000)
            m_typed.clear();
        m_typedAt.start();
        if (wParam >= 0x20 && wParam < 0x100)
            m_typed.append(char(wParam));
        if (m_kind == Kind::List)
            notify(notify::FindRequest);
        return 0;
    }
    case Op::ColumnRebuild:
        m_rebuilding = lParam != 0;
        // A column deleted in the rebuild and not inserted again has gone for good.
        if (!m_rebuilding)
            m_rebuiltCells.clear();
        return 0;
    case Op::GetColumnEditorAt:
    case Op::GetColumnEditor: {
        // A combo-box column's editor lives with its column; other editors only
        // while a cell of that column is being edited.
        int32_t columnId = -1;
        if (op == Op::GetColumnEditor)
            columnId = uint16_t(lParam);
        else if (const int column = logical(int32_t(lParam)); column >= 0)
            columnId = m_model->column(column).definition.columnId;
        if (const ComboBoxWindow* combo = columnId >= 0 ? comboBoxOf(uint16_t(columnId)) : nullptr)
            return combo->handle();
        const QModelIndex current = m_view->currentIndex();
        if (!current.isValid() || !static_cast<CommittingView*>(m_view)->isEditing())
            return 0;
        const bool ofColumn = op == Op::GetColumnEditorAt
                                  ? windowOrder(current.column()) == int32_t(lParam)
                                  : m_model->column(current.column()).definition.columnId == uint16_t(lParam);
        return ofColumn ? editorHandle(m_view->indexWidget(current)) : 0;
    }
    case Op::RefuseCellMove:
        m_moveRefused = lParam != 0;
        return 0;
    case Op::SuspendEditing:
        m_editingSuspended = lParam != 0;
        m_view->setEditTriggers(m_editingSuspended ? QAbstractItemView::NoEditTriggers
                                                   : QAbstractItemView::DoubleClicked |
                                                         QAbstractItemView::EditKeyPressed |
                                                         QAbstractItemView::AnyKeyPressed);
        return 0;
    case Op::GetDirty:
        return m_dirty;
    case Op::SetDirty:
        m_dirty = int32_t(lParam);
        return m_dirty;
    case Op::SetCellEnabled: {
        const auto* record = fromLParam<CellState>(lParam);
        const int column = record ? logical(record->column) : -1;
        if (column >= 0 && m_model->validRow(record->row))
            m_model->row(record->row).cells[size_t(column)].enabled = record->enabled != 0;
        return 0;
    }
    case Op::SetFixedRows:
        m_fixedRows = int32_t(lParam);
        return 0;
    case Op::GetNotifyColumn: {
        const QModelIndex current = m_view->currentIndex();
        const int32_t column = current.isValid() ? windowOrder(current.column()) : -1;
        return LParam((uint32_t(column) & 0xFFFF) | (uint32_t(m_notifySubCode) << 16));
    }
    case Op::GetNextCell: {
        auto* record = fromLParam<NextCell>(lParam);
        if (record && m_validating) {
            record->row = m_nextRow;
            record->column = m_nextColumn;
        } else if (record) {
            const QModelIndex current = m_view->currentIndex();
            record->row = current.isValid() ? current.row() : -1;
            record->column = current.isValid() ? windowOrder(current.column()) : -1;
        }
        return 0;
    }
    case Op::SetAutoCalculate:
        m_autoCalculate = lParam != 0;
        return 0;
    case Op::SetRedraw:
        setUpdatesEnabled(wParam != 0);
        return 0;
    }
    return 0;
}

} // namespace vllist
