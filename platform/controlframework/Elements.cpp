#include "platform/controlframework/Elements.h"

#include "platform/controlframework/Control.h"
#include "platform/forms/Twips.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace controlframework {

QRect twipsToPixels(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return QRect(forms::twipsToPixels(left), forms::twipsToPixels(top), forms::twipsToPixels(width),
                 forms::twipsToPixels(height));
}

Element::Element(Control& owner, QString name) : m_owner(owner), m_name(std::move(name)) {}

Element::~Element()
{
    m_owner.forget(*this);
}

void Element::move(int32_t left, std::optional<int32_t> top, std::optional<int32_t> width,
                   std::optional<int32_t> height)
{
    const int32_t oldWidth = m_width;
    m_left = left;
    m_top = top.value_or(m_top);
    m_width = width.value_or(m_width);
    m_height = height.value_or(m_height);
    if (m_width != oldWidth)
        widthChanged();
    changed();
}

void Element::setVisible(bool visible)
{
    m_visible = visible;
    if (!visible && isDragging())
        endDrag();
    changed();
}

void Element::setEnabled(bool enabled)
{
    m_enabled = enabled;
    changed();
}

void Element::bringToFront()
{
    m_owner.bringToFront(*this);
}

void Element::refresh()
{
    changed();
}

void Element::changed()
{
    m_owner.repaint();
}

QRect Element::pixelRect() const
{
    return twipsToPixels(m_left, m_top, m_width, m_height);
}

void Element::beginDrag()
{
    m_owner.beginDrag(*this);
}

void Element::endDrag()
{
    m_owner.endDrag(*this);
}

bool Element::isDragging() const
{
    return m_owner.dragSource() == this;
}

// --- Shape

void Shape::setKind(ShapeKind kind) { m_kind = kind; changed(); }
void Shape::setFilled(bool filled) { m_filled = filled; changed(); }
void Shape::setFillColor(forms::OleColor color) { m_fillColor = color; changed(); }
void Shape::setBorderColor(forms::OleColor color) { m_borderColor = color; changed(); }
void Shape::setBorderWidth(int width) { m_borderWidth = std::max(0, width); changed(); }

namespace {

// Where a border band `width` pixels wide, centred on an outline edge at `edge`
// (pixels, not rounded), starts on the pixel grid. A band that falls half a pixel
// off the grid goes to the shape's inside (`leading`: the left or top edge), so a
// one-pixel border on whole pixels lies just inside the shape, as it always did. A
// band that would reach past the control's client area (0 to `limit`) is moved in
// to lie along its edge.
int bandStart(double edge, int width, bool leading, int limit)
{
    const double start = edge - width / 2.0;
    const int pixel = int(leading ? std::floor(start + 0.5) : std::ceil(start - 0.5));
    return std::clamp(pixel, 0, std::max(0, limit - width));
}

} // namespace

void Shape::paint(QPainter& painter) const
{
    const double px = forms::TwipsPerPixel;
    QRectF r(left() / px, top() / px, width() / px, height() / px);
    if (m_kind == ShapeKind::Square || m_kind == ShapeKind::Circle || m_kind == ShapeKind::RoundedSquare) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QWidget* surface = owner().widget();
    const int limitX = surface ? surface->width() : int(std::ceil(r.right()));
    const int limitY = surface ? surface->height() : int(std::ceil(r.bottom()));
    const int w = m_borderWidth;
    // The border is centred on the outline: half of it lies outside the shape's
    // rectangle, so a control that insets its shape by half the border's thickness
    // gets a border that reaches its edges.
    const int x0 = bandStart(r.left(), w, true, limitX);
    const int y0 = bandStart(r.top(), w, true, limitY);
    const int x1 = std::max(x0, bandStart(r.right(), w, false, limitX));
    const int y1 = std::max(y0, bandStart(r.bottom(), w, false, limitY));
    const QRect outer(x0, y0, x1 + w - x0, y1 + w - y0);
    const QColor fill = forms::toQColor(m_fillColor);
    const QColor border = forms::toQColor(m_borderColor);

    painter.save();
    if (m_kind == ShapeKind::Rectangle || m_kind == ShapeKind::Square) {
        // Whole pixels, so the border's outermost pixels are exactly where the bands say.
        if (m_filled)
            painter.fillRect(w > 0 ? outer : r.toRect(), fill);
        if (w > 0) {
            painter.fillRect(QRect(x0, y0, outer.width(), w), border);
            painter.fillRect(QRect(x0, y1, outer.width(), w), border);
            painter.fillRect(QRect(x0, y0, w, outer.height()), border);
            painter.fillRect(QRect(x1, y0, w, outer.height()), border);
        }
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(m_filled ? QBrush(fill) : QBrush(Qt::NoBrush));
    QRectF outline = r;
    if (w > 0) {
        // The pen runs along the middle of the bands.
        const double half = w / 2.0;
        outline = QRectF(QPointF(x0 + half, y0 + half), QPointF(x1 + half, y1 + half));
        painter.setPen(QPen(border, w));
    } else {
        painter.setPen(Qt::NoPen);
    }
    const double radius = std::min(r.width(), r.height()) / 6.0;
    switch (m_kind) {
    case ShapeKind::Oval:
    case ShapeKind::Circle: painter.drawEllipse(outline); break;
    default: painter.drawRoundedRect(outline, radius, radius); break;
    }
    painter.restore();
}

// --- Label

void Label::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitText();
    changed();
    if (onChange)
        onChange();
}

void Label::setFont(const FontInfo& font) { m_font = font; fitText(); changed(); }
void Label::setForeColor(forms::OleColor color) { m_foreColor = color; changed(); }
void Label::setBackColor(forms::OleColor color) { m_backColor = color; changed(); }
void Label::setOpaque(bool opaque) { m_opaque = opaque; changed(); }
void Label::setAlignment(Alignment alignment) { m_alignment = alignment; changed(); }
void Label::setWordWrap(bool wrap) { m_wordWrap = wrap; fitText(); changed(); }
void Label::setAutoSize(bool autoSize) { m_autoSize = autoSize; fitText(); changed(); }

void Label::widthChanged()
{
    if (m_wordWrap)
        fitText();
}

void Label::fitText()
{
    if (!m_autoSize)
        return;
    const QFontMetrics metrics(m_font.toQFont());
    if (m_wordWrap) {
        const QRect r = metrics.boundingRect(QRect(0, 0, std::max(1, forms::twipsToPixels(width())), 100000),
                                             Qt::TextWordWrap, m_caption);
        move(left(), top(), width(), forms::pixelsToTwips(std::max(r.height(), metrics.height())));
    } else {
        const QSize s = metrics.size(0, m_caption);
        move(left(), top(), forms::pixelsToTwips(s.width()), forms::pixelsToTwips(std::max(s.height(), metrics.height())));
    }
}

void Label::setFitsTextToBox(bool fit) { m_fitToBox = fit; changed(); }

int Label::drawingFlags() const
{
    const int flags = m_alignment == Alignment::Left    ? Qt::AlignLeft
                      : m_alignment == Alignment::Right ? Qt::AlignRight
                                                        : Qt::AlignHCenter;
    return flags | Qt::AlignTop | (m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
}

QFont Label::drawingFont() const
{
    QFont font = m_font.toQFont();
    if (!m_fitToBox || !m_wordWrap || m_autoSize || m_caption.isEmpty())
        return font;
    // Below this the text would no longer be readable; it is then cut as it was.
    constexpr int SmallestPixels = 7;
    const QRect box = pixelRect();
    for (int pixels = font.pixelSize(); pixels >= SmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 100000), drawingFlags(), m_caption);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return font;
    }
    return m_font.toQFont();
}

void Label::paint(QPainter& painter) const
{
    const QRect r = pixelRect();
    if (m_opaque)
        painter.fillRect(r, forms::toQColor(m_backColor));
    painter.save();
    painter.setFont(drawingFont());
    painter.setPen(isEnabled() ? forms::toQColor(m_foreColor)
                               : forms::toQColor(forms::systemOleColor(forms::SystemColor::GrayText)));
    painter.setClipRect(r);
    painter.drawText(r, drawingFlags(), m_caption);
    painter.restore();
}

// --- Image

void Image::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (!picture.isNull())
        move(left(), top(), forms::pixelsToTwips(picture.width()), forms::pixelsToTwips(picture.height()));
    changed();
}

void Image::paint(QPainter& painter) const
{
    if (!m_picture.isNull())
        painter.drawPixmap(pixelRect().topLeft(), m_picture);
}

} // namespace controlframework
