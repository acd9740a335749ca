#include "platform/controlframework/Elements.h"

#include "platform/controlframework/Control.h"
#include "platform/forms/Twips.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

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
    m_left = left;
    m_top = top.value_or(m_top);
    m_width = width.value_or(m_width);
    m_height = height.value_or(m_height);
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

void Shape::paint(QPainter& painter) const
{
    QRectF r = pixelRect();
    if (m_kind == ShapeKind::Square || m_kind == ShapeKind::Circle || m_kind == ShapeKind::RoundedSquare) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    if (r.width() <= 0 || r.height() <= 0)
        return;
    // The border lies inside the outline, so a one-pixel border is the outermost pixels.
    const double inset = m_borderWidth / 2.0;
    const QRectF outline = r.adjusted(inset, inset, -inset, -inset);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, m_kind != ShapeKind::Rectangle && m_kind != ShapeKind::Square);
    painter.setBrush(m_filled ? QBrush(forms::toQColor(m_fillColor)) : QBrush(Qt::NoBrush));
    if (m_borderWidth > 0) {
        QPen pen(forms::toQColor(m_borderColor), m_borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    const double radius = std::min(r.width(), r.height()) / 6.0;
    switch (m_kind) {
    case ShapeKind::Rectangle:
    case ShapeKind::Square: painter.drawRect(outline); break;
    case ShapeKind::Oval:
    case ShapeKind::Circle: painter.drawEllipse(outline); break;
    case ShapeKind::RoundedRectangle:
    case ShapeKind::RoundedSquare: painter.drawRoundedRect(outline, radius, radius); break;
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

void Label::paint(QPainter& painter) const
{
    const QRect r = pixelRect();
    if (m_opaque)
        painter.fillRect(r, forms::toQColor(m_backColor));
    painter.save();
    painter.setFont(m_font.toQFont());
    painter.setPen(isEnabled() ? forms::toQColor(m_foreColor)
                               : forms::toQColor(forms::systemOleColor(forms::SystemColor::GrayText)));
    int flags = m_alignment == Alignment::Left    ? Qt::AlignLeft
                : m_alignment == Alignment::Right ? Qt::AlignRight
                                                  : Qt::AlignHCenter;
    flags |= Qt::AlignTop | (m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    painter.setClipRect(r);
    painter.drawText(r, flags, m_caption);
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
