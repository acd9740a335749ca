#include "package/listwindow/ListWindowModel.h"

#include "package/listwindow/CellStorage.h"

#include "platform/basic/Conversions.h"

#include <QColor>

#include <algorithm>
#include <utility>

namespace vllist {

QColor colourFromRgb(int32_t rgb)
{
    if (rgb == -1)
        return {};
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

ListWindowModel::ListWindowModel(bool grid, QObject* parent) : QAbstractTableModel(parent), m_grid(grid) {}

int ListWindowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows() + (m_grid && m_blankRow ? 1 : 0);
}

void ListWindowModel::setBlankRow(bool on)
{
    if (!m_grid || on == m_blankRow)
        return;
    if (on) {
        beginInsertRows({}, rows(), rows());
        m_blankRow = true;
        endInsertRows();
    } else {
        beginRemoveRows({}, rows(), rows());
        m_blankRow = false;
        endRemoveRows();
    }
}
int ListWindowModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns(); }

const ListWindowModel::Row& ListWindowModel::loadedRow(int r) const
{
    if (!validRow(r)) {
        static const Row blank;
        return blank; // the blank last row
    }
    if (!m_rows[size_t(r)].loaded && m_loader)
        m_loader(r);
    return m_rows[size_t(r)];
}

int32_t ListWindowModel::colourAt(int r, int c, int32_t ColourQuartet::*slot) const
{
    const Row& row = loadedRow(r);
    if (size_t(c) < row.cells.size() && row.cells[size_t(c)].colours.*slot != -1)
        return row.cells[size_t(c)].colours.*slot;
    if (row.colours.*slot != -1)
        return row.colours.*slot;
    if (m_columns[size_t(c)].colours.*slot != -1)
        return m_columns[size_t(c)].colours.*slot;
    if (m_alternateCount > 1 && r % m_alternateCount == m_alternateCount - 1)
        return m_alternate.*slot;
    return -1;
}

Qt::Alignment ListWindowModel::columnAlignment(int c) const
{
    const uint32_t align = m_columns[size_t(c)].definition.flags & ColumnFlag::ColumnAlignMask;
    return align == 0x100 ? Qt::AlignRight : align == 0x200 ? Qt::AlignHCenter : Qt::AlignLeft;
}

QVariant ListWindowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || index.column() >= columns())
        return {};
    const int r = index.row();
    const int c = index.column();
    const Row& row = loadedRow(r);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(r, c);
    case Qt::EditRole:
        return size_t(c) < row.cells.size() ? row.cells[size_t(c)].text : QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(c) | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        const QColor colour = colourFromRgb(colourAt(r, c, &ColourQuartet::back));
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor colour = colourFromRgb(colourAt(r, c, &ColourQuartet::fore));
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case HighlightBackRole: {
        const QColor colour = colourFromRgb(colourAt(r, c, &ColourQuartet::highlightedBack));
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case HighlightForeRole: {
        const QColor colour = colourFromRgb(colourAt(r, c, &ColourQuartet::highlightedFore));
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::DecorationRole:
        if (c == 0 && !m_grid && row.image >= 0 && size_t(row.image) < m_images.size())
            return m_images[size_t(row.image)];
        return {};
    default:
        return {};
    }
}

bool ListWindowModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    if (isBlankRow(index.row())) {
        // The blank row becomes a row of its own; a new blank row follows it.
        beginInsertRows({}, rows() + 1, rows() + 1);
        m_rows.push_back(makeRow());
        endInsertRows();
        if (m_onNewRow)
            m_onNewRow();
    }
    if (!validRow(index.row()))
        return false;
    Row& row = m_rows[size_t(index.row())];
    if (size_t(index.column()) >= row.cells.size())
        return false;
    QString text = value.toString();
    const Column& col = m_columns[size_t(index.column())];
    text.truncate(std::max(0, int(col.definition.bufferSize) - 1));
    const QString before = std::exchange(row.cells[size_t(index.column())].text, text);
    Q_EMIT dataChanged(index, index);
    if (m_onEdit)
        m_onEdit(index, before);
    return true;
}

QVariant ListWindowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& col = m_columns[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(col.definition.caption, qsizetype(strnlen(col.definition.caption, sizeof col.definition.caption)));
    case Qt::TextAlignmentRole: {
        const uint32_t align = col.definition.flags & ColumnFlag::CaptionAlignMask;
        const Qt::Alignment h = align == 1 ? Qt::AlignRight : align == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole: {
        const QColor colour = colourFromRgb(col.captionBack);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor colour = colourFromRgb(col.captionFore);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    default:
        return {};
    }
}

Qt::ItemFlags ListWindowModel::flags(const QModelIndex& index) const
{
    if (index.isValid() && isBlankRow(index.row()) && index.column() < columns())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
               ((m_columns[size_t(index.column())].definition.editorStyle & EditorStyle::Enabled) ? Qt::ItemIsEditable
                                                                                              : Qt::NoItemFlags);
    if (!index.isValid() || !validRow(index.row()) || index.column() >= columns())
        return Qt::NoItemFlags;
    const Row& row = m_rows[size_t(index.row())];
    const bool columnEnabled = m_columns[size_t(index.column())].definition.editorStyle & EditorStyle::Enabled;
    const bool cellEnabled = size_t(index.column()) >= row.cells.size() || row.cells[size_t(index.column())].enabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid && columnEnabled && cellEnabled)
        f |= Qt::ItemIsEditable;
    return f;
}

void ListWindowModel::insertColumnAt(int c, const ColumnDefinition& definition)
{
    c = std::clamp(c, 0, columns());
    beginInsertColumns({}, c, c);
    Column col;
    col.definition = definition;
    m_columns.insert(m_columns.begin() + c, col);
    for (Row& row : m_rows)
        row.cells.insert(row.cells.begin() + std::min<int>(c, int(row.cells.size())), Cell{});
    endInsertColumns();
}

void ListWindowModel::removeColumnAt(int c)
{
    if (c < 0 || c >= columns())
        return;
    beginRemoveColumns({}, c, c);
    m_columns.erase(m_columns.begin() + c);
    for (Row& row : m_rows)
        if (size_t(c) < row.cells.size())
            row.cells.erase(row.cells.begin() + c);
    endRemoveColumns();
}

QString ListWindowModel::displayText(int r, int c) const
{
    const Row& row = loadedRow(r);
    if (size_t(c) >= row.cells.size())
        return {};
    return vllist::displayText(m_columns[size_t(c)].definition, row.cells[size_t(c)].text);
}

std::vector<ListWindowModel::Cell> ListWindowModel::columnCells(int c) const
{
    std::vector<Cell> cells;
    cells.reserve(m_rows.size());
    for (const Row& row : m_rows)
        cells.push_back(size_t(c) < row.cells.size() ? row.cells[size_t(c)] : Cell{});
    return cells;
}

void ListWindowModel::setColumnCells(int c, std::vector<Cell> cells)
{
    if (c < 0 || c >= columns())
        return;
    const ColumnDefinition& def = m_columns[size_t(c)].definition;
    const int keep = std::max(0, int(def.bufferSize) - 1);
    for (size_t r = 0; r < m_rows.size() && r < cells.size(); ++r) {
        if (size_t(c) >= m_rows[r].cells.size())
            continue;
        Cell& cell = m_rows[r].cells[size_t(c)];
        cell = std::move(cells[r]);
        // A text column keeps what its new length holds.
        if (isTextType(def.sqlType))
            cell.text.truncate(keep);
    }
    columnChanged(c);
}

void ListWindowModel::columnChanged(int c)
{
    Q_EMIT headerDataChanged(Qt::Horizontal, c, c);
    if (rows() > 0)
        Q_EMIT dataChanged(index(0, c), index(rows() - 1, c));
}

ListWindowModel::Row ListWindowModel::makeRow() const
{
    Row row;
    row.cells.resize(m_columns.size());
    return row;
}

void ListWindowModel::setRowText(Row& row, const QString& tabSeparated) const
{
    const QStringList parts = tabSeparated.split(QLatin1Char('\t'));
    for (size_t c = 0; c < row.cells.size(); ++c) {
        QString text = c < size_t(parts.size()) ? parts[qsizetype(c)] : QString();
        text.truncate(std::max(0, int(m_columns[c].definition.bufferSize) - 1));
        row.cells[c].text = text;
    }
}

QString ListWindowModel::rowText(const Row& row) const
{
    QStringList parts;
    for (const Cell& cell : row.cells)
        parts << cell.text;
    return parts.join(QLatin1Char('\t'));
}

int ListWindowModel::insertRowAt(int r, Row row)
{
    if (r < 0 || r > rows())
        r = rows();
    beginInsertRows({}, r, r);
    m_rows.insert(m_rows.begin() + r, std::move(row));
    endInsertRows();
    return r;
}

void ListWindowModel::removeRowAt(int r)
{
    if (!validRow(r))
        return;
    beginRemoveRows({}, r, r);
    m_rows.erase(m_rows.begin() + r);
    endRemoveRows();
}

void ListWindowModel::clearRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ListWindowModel::setPlaceholderRows(int count)
{
    beginResetModel();
    m_rows.clear();
    for (int i = 0; i < count; ++i) {
        Row row = makeRow();
        row.loaded = false;
        m_rows.push_back(std::move(row));
    }
    endResetModel();
}

void ListWindowModel::rowChanged(int r)
{
    if (validRow(r) && columns() > 0)
        Q_EMIT dataChanged(index(r, 0), index(r, columns() - 1));
}

void ListWindowModel::rowsChanged(int first, int last)
{
    last = std::min(last, rows() - 1);
    if (first >= 0 && first <= last && columns() > 0)
        Q_EMIT dataChanged(index(first, 0), index(last, columns() - 1));
}

void ListWindowModel::sortBy(int c, int order)
{
    if (c < 0 || c >= columns() || order == 0)
        return;
    const int16_t type = m_columns[size_t(c)].definition.sqlType;
    const bool text = isTextType(type);
    const bool date = type == sql::Timestamp || type == sql::DateTime;
    const auto number = [&](const QString& t) {
        if (date) {
            const auto d = basic::parseDate(t);
            return d ? d->serial : 0.0;
        }
        return basic::parseNumber(t).value_or(0.0);
    };
    const auto cell = [&](int r) { return size_t(c) < m_rows[size_t(r)].cells.size() ? m_rows[size_t(r)].cells[size_t(c)].text : QString(); };
    std::vector<int> order_(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = int(i);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const QString x = cell(a), y = cell(b);
        int cmp = 0;
        if (text) {
            cmp = QString::compare(x, y, Qt::CaseInsensitive);
        } else {
            const double dx = number(x), dy = number(y);
            cmp = dx < dy ? -1 : dx > dy ? 1 : 0;
        }
        return order == 2 ? cmp > 0 : cmp < 0;
    });
    // Selection and the current row move with their rows.
    Q_EMIT layoutAboutToBeChanged();
    std::vector<int> newPlace(order_.size());
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i) {
        newPlace[size_t(order_[i])] = int(i);
        sorted.push_back(std::move(m_rows[size_t(order_[i])]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before)
        after << this->index(validRow(index.row()) ? newPlace[size_t(index.row())] : index.row(), index.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void ListWindowModel::setAlternate(int32_t count, const ColourQuartet& colours)
{
    m_alternateCount = count;
    m_alternate = colours;
    if (rows() > 0 && columns() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows() - 1, columns() - 1));
}

} // namespace vllist
