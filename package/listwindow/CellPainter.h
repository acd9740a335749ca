#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRawFont>

#include <array>

class QPainter;
class QRect;
class QTableView;

namespace vllist {

class ListWindowModel;

// Draws the rows of a list or grid view straight onto its viewport: only the rows
// and columns the exposed area touches, each cell's colours, selection, alignment,
// image and grid lines, the texts as glyph runs from one table of the Latin-1
// characters of the view's font (the window's texts are Latin-1). It draws what
// the view's own per-cell painting drew, without a style option, a variant or a
// text layout per cell.
// A drill-down column's button: the right end of the cell, as painted and as clicked.
QRect drillDownButton(const QTableView& view, const QRect& cell);

class CellPainter
{
public:
    void paint(QTableView& view, const ListWindowModel& model, const QRect& exposed);

private:
    void prepare(const QFont& font);
    // Queues the glyphs of one cell's text in its rectangle (elided at the right when
    // it does not fit); false when a character has no glyph in the table.
    bool queueText(const QString& text, const QRect& rect, int alignment);
    void flush(QPainter& painter);

    QFont m_font;
    bool m_prepared = false;
    QRawFont m_raw;
    std::array<quint32, 256> m_glyph{};
    std::array<qreal, 256> m_advance{};
    quint32 m_ellipsis = 0;
    qreal m_ellipsisAdvance = 0;
    qreal m_ascent = 0;
    qreal m_height = 0;

    // The glyphs queued for one colour.
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
    QGlyphRun m_run;
};

} // namespace vllist
