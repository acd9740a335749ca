#include "package/listwindow/CellPainter.h"

#include "package/listwindow/ListWindowModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace vllist {

void CellPainter::prepare(const QFont& font)
{
    if (m_prepared && font == m_font)
        return;
    m_font = font;
    m_prepared = true;
    m_raw = QRawFont::fromFont(font);
    QString latin1(256, QChar(u' '));
    for (int c = 0x20; c < 256; ++c)
        latin1[c] = QChar(char16_t(c));
    int count = 256;
    m_glyph.fill(0);
    m_advance.fill(0);
    if (!m_raw.isValid() || !m_raw.glyphIndexesForChars(latin1.constData(), 256, m_glyph.data(), &count) || count != 256) {
        m_glyph.fill(0);
        return;
    }
    QPointF advances[256];
    m_raw.advancesForGlyphIndexes(m_glyph.data(), advances, 256);
    for (int c = 0; c < 256; ++c)
        m_advance[size_t(c)] = advances[c].x();
    // Control characters have no glyph of their own.
    for (int c = 0; c < 0x20; ++c)
        m_glyph[size_t(c)] = 0;
    m_glyph[0x7F] = 0;
    const QChar ellipsis(u'\x2026');
    int one = 1;
    if (!m_raw.glyphIndexesForChars(&ellipsis, 1, &m_ellipsis, &one) || m_ellipsis == 0) {
        // Three dots where the font has no ellipsis.
        m_ellipsis = m_glyph['.'];
        m_ellipsisAdvance = m_advance['.'];
    } else {
        QPointF advance;
        m_raw.advancesForGlyphIndexes(&m_ellipsis, &advance, 1);
        m_ellipsisAdvance = advance.x();
    }
    m_ascent = m_raw.ascent();
    m_height = m_raw.ascent() + m_raw.descent();
    m_run.setRawFont(m_raw);
}

bool CellPainter::queueText(const QString& text, const QRect& rect, int alignment)
{
    const qsizetype n = text.size();
    if (n == 0)
        return true;
    const QChar* chars = text.constData();
    qreal width = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = chars[i].unicode();
        if (u > 0xFF || m_glyph[u] == 0)
            return false;
        width += m_advance[u];
    }
    qsizetype shown = n;
    bool elided = false;
    if (width > rect.width()) {
        // As many characters as fit with the ellipsis after them.
        const qreal room = rect.width() - m_ellipsisAdvance;
        width = 0;
        shown = 0;
        while (shown < n && width + m_advance[chars[shown].unicode()] <= room)
            width += m_advance[chars[shown++].unicode()];
        width += m_ellipsisAdvance;
        elided = true;
    }
    qreal x = rect.left();
    if (alignment & Qt::AlignRight)
        x = rect.right() + 1 - width;
    else if (alignment & Qt::AlignHCenter)
        x = rect.left() + (rect.width() - width) / 2;
    x = std::round(std::max<qreal>(x, rect.left()));
    const qreal baseline = std::round(rect.top() + (rect.height() - m_height) / 2 + m_ascent);
    for (qsizetype i = 0; i < shown; ++i) {
        const char16_t u = chars[i].unicode();
        m_indexes.push_back(m_glyph[u]);
        m_positions.push_back(QPointF(x, baseline));
        x += m_advance[u];
    }
    if (elided) {
        m_indexes.push_back(m_ellipsis);
        m_positions.push_back(QPointF(x, baseline));
    }
    return true;
}

void CellPainter::flush(QPainter& painter)
{
    if (m_indexes.isEmpty())
        return;
    m_run.setGlyphIndexes(m_indexes);
    m_run.setPositions(m_positions);
    painter.drawGlyphRun(QPointF(0, 0), m_run);
    // The run lets go of the lists, so that refilling them reuses their memory.
    m_run.setGlyphIndexes({});
    m_run.setPositions({});
    m_indexes.clear();
    m_positions.clear();
}

QRect drillDownButton(const QTableView& view, const QRect& cell)
{
    const int side = std::max(10, view.fontMetrics().height() * 3 / 4);
    return {cell.right() - side + 1, cell.top(), side, cell.height()};
}

void CellPainter::paint(QTableView& view, const ListWindowModel& model, const QRect& exposed)
{
    const int rows = model.rowCount(); // the grid's blank last row too
    const int columns = model.columns();
    if (rows == 0 || columns == 0)
        return;
    QWidget* viewport = view.viewport();
    prepare(view.font());
    QPainter painter(viewport);
    painter.setFont(view.font());

    const QHeaderView* header = view.horizontalHeader();
    int firstRow = view.rowAt(exposed.top());
    int lastRow = view.rowAt(exposed.bottom());
    if (firstRow < 0)
        firstRow = 0;
    if (lastRow < 0)
        lastRow = rows - 1;
    int firstVisual = header->visualIndexAt(exposed.left());
    int lastVisual = header->visualIndexAt(exposed.right());
    if (firstVisual < 0)
        firstVisual = 0;
    if (lastVisual < 0)
        lastVisual = columns - 1;

    QStyle* style = view.style();
    QStyleOptionViewItem option;
    option.initFrom(&view);
    const QPalette::ColorGroup group = !view.isEnabled()         ? QPalette::Disabled
                                       : view.isActiveWindow() ? QPalette::Active
                                                                : QPalette::Inactive;
    const QPalette& palette = view.palette();
    const QColor text = palette.color(group, QPalette::Text);
    const QColor highlight = palette.color(group, QPalette::Highlight);
    const QColor highlightedText = palette.color(group, QPalette::HighlightedText);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const int gridSize = view.showGrid() ? 1 : 0;
    const QColor gridColour = QColor::fromRgba(QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &option, &view)));
    const int iconSize = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);

    const QItemSelectionModel* selectionModel = view.selectionModel();
    const QItemSelection selection = selectionModel ? selectionModel->selection() : QItemSelection();
    const bool wholeRows = view.selectionBehavior() == QAbstractItemView::SelectRows;
    const QModelIndex current = view.currentIndex();
    QRect focusRect;

    struct Shown
    {
        int column, x, width;
        Qt::Alignment alignment;
    };
    std::vector<Shown> shown;
    for (int visual = firstVisual; visual <= lastVisual; ++visual) {
        const int c = header->logicalIndex(visual);
        if (c < 0 || header->isSectionHidden(c))
            continue;
        shown.push_back(
            {c, header->sectionViewportPosition(c), header->sectionSize(c), model.columnAlignment(c)});
    }

    QColor pen;
    for (int r = firstRow; r <= lastRow; ++r) {
        if (view.isRowHidden(r))
            continue;
        const int y = view.rowViewportPosition(r);
        const int height = view.rowHeight(r);
        const ListWindowModel::Row& row = model.rowForDrawing(r);
        const bool rowSelected = wholeRows && selection.contains(model.index(r, shown.empty() ? 0 : shown.front().column));
        for (const Shown& s : shown) {
            const QRect cell(s.x, y, s.width - gridSize, height - gridSize);
            const bool selected = wholeRows ? rowSelected : selection.contains(model.index(r, s.column));
            QColor back, fore;
            if (selected) {
                const int32_t b = model.cellColour(r, s.column, &ColourQuartet::highlightedBack);
                const int32_t f = model.cellColour(r, s.column, &ColourQuartet::highlightedFore);
                back = b == -1 ? highlight : colourFromRgb(b);
                fore = f == -1 ? highlightedText : colourFromRgb(f);
            } else {
                const int32_t b = model.cellColour(r, s.column, &ColourQuartet::back);
                const int32_t f = model.cellColour(r, s.column, &ColourQuartet::fore);
                if (b != -1)
                    back = colourFromRgb(b);
                fore = f == -1 || group == QPalette::Disabled ? text : colourFromRgb(f);
            }
            if (back.isValid())
                painter.fillRect(cell, back);
            QRect textRect = cell.adjusted(margin, 0, -margin, 0);
            if (s.column == 0) {
                if (const QPixmap* image = model.image(row.image)) {
                    const QSize size = image->size().scaled(iconSize, iconSize, Qt::KeepAspectRatio);
                    painter.drawPixmap(QRect(QPoint(textRect.left(), cell.top() + (cell.height() - size.height()) / 2), size),
                                       *image);
                    textRect.setLeft(textRect.left() + size.width() + 2 * margin);
                }
            }
            if (current.row() == r && current.column() == s.column)
                focusRect = cell;
            if (model.column(s.column).definition.flags & ColumnFlag::DrillDown) {
                // The drill-down button: an arrow at the cell's right end.
                const QRect button = drillDownButton(view, cell);
                const int side = button.width();
                const QPointF middle(button.center().x() + side / 6.0, button.center().y() + 0.5);
                const QPointF arrow[3] = {middle + QPointF(-side / 4.0, -side / 3.0), middle + QPointF(side / 4.0, 0),
                                          middle + QPointF(-side / 4.0, side / 3.0)};
                flush(painter);
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(fore);
                painter.drawPolygon(arrow, 3);
                painter.restore();
                textRect.setRight(button.left() - 1);
            }
            if (size_t(s.column) >= row.cells.size())
                continue;
            const QString value = model.displayText(r, s.column);
            if (value.isEmpty())
                continue;
            if (fore != pen) {
                flush(painter);
                pen = fore;
                painter.setPen(pen);
            }
            if (!queueText(value, textRect, s.alignment)) {
                // A character outside the table: the painter lays that text out itself.
                flush(painter);
                painter.drawText(textRect, int(s.alignment | Qt::AlignVCenter),
                                 painter.fontMetrics().elidedText(value, Qt::ElideRight, textRect.width()));
            }
        }
        flush(painter);
        if (gridSize) {
            painter.setPen(gridColour);
            for (const Shown& s : shown)
                painter.drawLine(s.x + s.width - 1, y, s.x + s.width - 1, y + height - 1);
            if (!shown.empty())
                painter.drawLine(shown.front().x, y + height - 1, shown.back().x + shown.back().width - 1, y + height - 1);
            painter.setPen(pen);
        }
    }
    if (focusRect.isValid() && view.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(&view);
        focus.rect = focusRect;
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
        focus.backgroundColor = highlight;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, &view);
    }
}

} // namespace vllist
