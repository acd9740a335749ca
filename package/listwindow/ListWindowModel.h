#pragma once

#include "package/listwindow/ListMessages.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <QString>

#include <functional>
#include <vector>

namespace vllist {

// What the list window keeps: columns in the order they were inserted (the
// control's order) and rows of text cells. The header's moves give the window's
// (display) order; the window translates before it comes here.
class ListWindowModel : public QAbstractTableModel
{
public:
    enum Role { HighlightBackRole = Qt::UserRole + 1, HighlightForeRole };

    struct Column
    {
        ColumnDefinition definition;
        ColourQuartet colours;
        int32_t captionBack = -1;
        int32_t captionFore = -1;
    };
    struct Cell
    {
        QString text;
        ColourQuartet colours;
        bool enabled = true;
    };
    struct Row
    {
        std::vector<Cell> cells;
        int32_t key = 0;
        int32_t image = 0;
        ColourQuartet colours;
        bool loaded = true; // false: a paged row not asked for yet
    };

    explicit ListWindowModel(bool grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Columns by the control's order.
    int columns() const { return int(m_columns.size()); }
    Column& column(int c) { return m_columns[size_t(c)]; }
    const Column& column(int c) const { return m_columns[size_t(c)]; }
    // The column's horizontal alignment, from its definition's alignment bits.
    Qt::Alignment columnAlignment(int c) const;
    void insertColumnAt(int c, const ColumnDefinition& definition);
    // A column's cells, row by row, and the same put back (a column re-created with
    // new settings keeps its values; a text column cut to its new length).
    std::vector<Cell> columnCells(int c) const;
    void setColumnCells(int c, std::vector<Cell> cells);
    // What a cell shows: its text, a Single or Double number to the column's decimals.
    QString displayText(int r, int c) const;
    void removeColumnAt(int c);
    void columnChanged(int c);

    int rows() const { return int(m_rows.size()); }
    bool validRow(int r) const { return r >= 0 && r < rows(); }
    Row& row(int r) { return m_rows[size_t(r)]; }
    int insertRowAt(int r, Row row);
    void removeRowAt(int r);
    void clearRows();
    void setPlaceholderRows(int count);
    void rowChanged(int r);
    void rowsChanged(int first, int last);
    void sortBy(int c, int order);

    Row makeRow() const;
    void setRowText(Row& row, const QString& tabSeparated) const;
    QString rowText(const Row& row) const;

    // For drawing: the row, filled first when it is a paged row not asked for yet;
    // a cell's colour of one slot after cell, row, column and alternate colours (-1 none).
    const Row& rowForDrawing(int r) const { return loadedRow(r); }
    int32_t cellColour(int r, int c, int32_t ColourQuartet::*slot) const { return colourAt(r, c, slot); }
    const QPixmap* image(int32_t i) const
    {
        return !m_grid && i >= 0 && size_t(i) < m_images.size() ? &m_images[size_t(i)] : nullptr;
    }

    void setAlternate(int32_t count, const ColourQuartet& colours);
    void clearImages() { m_images.clear(); }
    void addImage(const QPixmap& image) { m_images.push_back(image); }
    // Asked for a row that is not loaded yet (paged data).
    void setLoader(std::function<void(int row)> loader) { m_loader = std::move(loader); }
    // The user edited a cell; told the cell and the text it held before.
    void setDirtyHandler(std::function<void(const QModelIndex&, const QString&)> handler) { m_onEdit = std::move(handler); }
    // The grid's blank last row (AllowBlankLastRow): one more row than rows(), empty;
    // the user's first edit in it makes it a row, and a new blank row follows.
    void setBlankRow(bool on);
    bool isBlankRow(int r) const { return m_grid && m_blankRow && r == rows(); }
    void setNewRowHandler(std::function<void()> handler) { m_onNewRow = std::move(handler); }

private:
    const Row& loadedRow(int r) const;
    int32_t colourAt(int r, int c, int32_t ColourQuartet::*slot) const;

    bool m_grid;
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    int32_t m_alternateCount = 1;
    ColourQuartet m_alternate;
    std::vector<QPixmap> m_images;
    std::function<void(int)> m_loader;
    std::function<void(const QModelIndex&, const QString&)> m_onEdit;
    std::function<void()> m_onNewRow;
    bool m_blankRow = false;
};

// An RGB value of the records as a colour; invalid for -1.
QColor colourFromRgb(int32_t rgb);

} // namespace vllist
