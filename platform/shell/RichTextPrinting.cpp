#include "platform/shell/RichTextPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>
#include <memory>

namespace shell {

namespace {

constexpr double TwipsPerInch = 1440.0;

} // namespace

int PrintRichText(const QTextDocument& text, QPrinter& target, int32_t leftMargin, double topMargin,
                  double rightMargin, double bottomMargin)
{
    // Margins count from the paper's edge, so the painter works on the whole sheet.
    target.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&target))
        return 0;

    const QRectF paper = target.paperRect(QPrinter::DevicePixel);
    const double dpiX = target.logicalDpiX() / TwipsPerInch;
    const double dpiY = target.logicalDpiY() / TwipsPerInch;
    const QRectF body(paper.left() + leftMargin * dpiX, paper.top() + topMargin * dpiY,
                      std::max(1.0, paper.width() - (leftMargin + rightMargin) * dpiX),
                      std::max(1.0, paper.height() - (topMargin + bottomMargin) * dpiY));

    // Laid out on a copy for the printer's resolution; the shown text is not touched.
    std::unique_ptr<QTextDocument> copy(text.clone());
    copy->documentLayout()->setPaintDevice(&target);
    copy->setPageSize(body.size());
    const int pages = std::max(1, copy->pageCount());

    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            target.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        const QRectF visible(0, page * body.height(), body.width(), body.height());
        painter.setClipRect(visible);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    painter.end();
    return pages;
}

} // namespace shell
