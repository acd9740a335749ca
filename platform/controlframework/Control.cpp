#include "platform/controlframework/Control.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace controlframework {

ControlHost::~ControlHost() = default;

// The one widget of a control: paints its background and elements, and hands the
// mouse to the control. Knows nothing of the control's members.
class ControlWidget : public QWidget
{
public:
    explicit ControlWidget(Control& control) : m_control(&control)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    void detach() { m_control = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_control)
            return;
        QPainter painter(this);
        if (m_control->isOpaque())
            painter.fillRect(rect(), forms::toQColor(m_control->backColor()));
        for (const auto& element : m_control->elements())
            if (element->isVisible())
                element->paint(painter);
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (m_control)
            m_control->widgetResized(width(), height());
    }
    void showEvent(QShowEvent* event) override
    {
        if (m_control && !event->spontaneous())
            m_control->show();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_control)
            m_control->pointerMoved(event->position().toPoint());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (m_control && event->button() == Qt::LeftButton)
            m_control->buttonPressed(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (m_control && event->button() == Qt::LeftButton)
            m_control->buttonReleased(event->position().toPoint());
    }
    void focusInEvent(QFocusEvent*) override
    {
        if (m_control)
            m_control->enterFocus();
    }
    void focusOutEvent(QFocusEvent*) override
    {
        if (m_control)
            m_control->exitFocus();
    }
    void leaveEvent(QEvent*) override
    {
        if (m_control)
            m_control->pointerLeft();
    }

private:
    Control* m_control;
};

Control::Control() : m_widget(new ControlWidget(*this)) {}

Control::~Control()
{
    // Elements forget themselves in their destructors; drop the drag first.
    m_dragSource = nullptr;
    m_dragOver.reset();
    m_pressed.reset();
    if (m_widget) {
        m_widget->detach();
        delete m_widget.data();
    }
    m_elements.clear();
}

void Control::setHost(ControlHost& host)
{
    m_host = &host;
}

QWidget* Control::widget() const
{
    return m_widget.data();
}

ControlHost& Control::host() const
{
    if (!m_host)
        throw basic::RuntimeError(basic::err::ObjectVariableNotSet, QStringLiteral("The control has no host"),
                                  className());
    return *m_host;
}

void Control::propertyChanged(const QString& name)
{
    if (m_host)
        m_host->propertyChanged(name);
}

void Control::raiseEvent(automation::DispId id, const QString& name, automation::Args& args)
{
    if (m_host)
        m_host->raiseEvent(id, name, args);
}

void Control::setExtent(int32_t width, int32_t height)
{
    m_width = width;
    m_height = height;
    if (m_widget) {
        m_settingExtent = true;
        m_widget->resize(std::max(0, forms::twipsToPixels(width)), std::max(0, forms::twipsToPixels(height)));
        m_settingExtent = false;
    }
    resize();
}

void Control::widgetResized(int pixelWidth, int pixelHeight)
{
    if (m_settingExtent)
        return;
    // Sized by the host's own layout: keep the twips where they still round to the widget.
    if (forms::twipsToPixels(m_width) == pixelWidth && forms::twipsToPixels(m_height) == pixelHeight)
        return;
    m_width = forms::pixelsToTwips(pixelWidth);
    m_height = forms::pixelsToTwips(pixelHeight);
    resize();
}

void Control::setBackColor(forms::OleColor color)
{
    m_backColor = color;
    repaint();
}

void Control::setOpaque(bool opaque)
{
    m_opaque = opaque;
    repaint();
}

void Control::setMouseIcon(const QCursor& icon)
{
    m_mouseIcon = icon;
    updateCursor();
}

void Control::setMousePointer(MousePointer pointer)
{
    m_pointer = pointer;
    updateCursor();
}

void Control::updateCursor()
{
    if (!m_widget)
        return;
    if (m_dragSource && m_dragSource->dragIcon())
        m_widget->setCursor(*m_dragSource->dragIcon());
    else if (m_pointer == MousePointer::Custom && m_mouseIcon)
        m_widget->setCursor(*m_mouseIcon);
    else if (m_pointer == MousePointer::Hourglass)
        m_widget->setCursor(Qt::WaitCursor);
    else
        m_widget->unsetCursor();
}

template <class T>
T& Control::add(const QString& name)
{
    auto element = std::make_unique<T>(*this, name);
    T& ref = *element;
    m_elements.push_back(std::move(element));
    repaint();
    return ref;
}

Shape& Control::addShape(const QString& name) { return add<Shape>(name); }
Label& Control::addLabel(const QString& name) { return add<Label>(name); }
Image& Control::addImage(const QString& name) { return add<Image>(name); }

Element* Control::element(const QString& name) const
{
    for (const auto& e : m_elements)
        if (e->name().compare(name, Qt::CaseInsensitive) == 0)
            return e.get();
    return nullptr;
}

void Control::bringToFront(Element& element)
{
    const auto it = std::find_if(m_elements.begin(), m_elements.end(), [&](const auto& e) { return e.get() == &element; });
    if (it != m_elements.end())
        std::rotate(it, it + 1, m_elements.end());
    repaint();
}

void Control::repaint()
{
    if (m_widget)
        m_widget->update();
}

void Control::forget(Element& element)
{
    if (m_dragSource == &element) {
        m_dragSource = nullptr;
        updateCursor();
    }
    if (m_dragOver && *m_dragOver == &element)
        m_dragOver.reset();
    if (m_pressed && *m_pressed == &element)
        m_pressed.reset();
}

// --- Hover by drag

void Control::beginDrag(Element& element)
{
    if (m_dragSource == &element)
        return;
    m_dragSource = &element;
    m_dragOver = &element; // the drag starts with the pointer over the element
    m_pressed.reset();
    updateCursor();
}

void Control::endDrag(Element& element)
{
    if (m_dragSource != &element)
        return;
    m_dragSource = nullptr;
    m_dragOver.reset();
    updateCursor();
}

Element* Control::elementAt(const QPoint& pos) const
{
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
        const Element& e = **it;
        if (e.isVisible() && e.isEnabled() && e.takesMouse() && e.pixelRect().contains(pos))
            return it->get();
    }
    return nullptr;
}

namespace {

void notifyDragOver(Control& control, Element* target, Element* source, DragState state)
{
    if (!target)
        control.dragOver(source, state);
    else if (target->onDragOver)
        target->onDragOver(source, state);
}

} // namespace

void Control::pointerMoved(const QPoint& pos)
{
    const bool inside = m_widget && m_widget->rect().contains(pos);
    if (m_dragSource) {
        Element* source = m_dragSource;
        const std::optional<Element*> under = inside ? std::optional<Element*>(elementAt(pos)) : std::nullopt;
        if (under == m_dragOver) {
            if (under)
                notifyDragOver(*this, *under, source, DragState::Over);
            return;
        }
        const std::optional<Element*> left = m_dragOver;
        m_dragOver = under;
        if (left)
            notifyDragOver(*this, *left, source, DragState::Leave);
        // The leave notification may have ended the drag.
        if (under && m_dragSource == source)
            notifyDragOver(*this, *under, source, DragState::Enter);
        return;
    }
    if (!inside)
        return;
    if (Element* e = elementAt(pos)) {
        if (e->onMouseMove)
            e->onMouseMove();
    } else {
        mouseMove();
    }
}

void Control::buttonPressed(const QPoint& pos)
{
    // A drag holds the mouse: the press belongs to it.
    if (m_dragSource)
        return;
    m_pressed = elementAt(pos);
}

void Control::buttonReleased(const QPoint& pos)
{
    const bool inside = m_widget && m_widget->rect().contains(pos);
    if (Element* source = m_dragSource) {
        // Releasing the button ends the drag with a drop on what lies under the pointer.
        m_dragSource = nullptr;
        m_dragOver.reset();
        updateCursor();
        if (!inside)
            return;
        if (Element* target = elementAt(pos)) {
            if (target->onDragDrop)
                target->onDragDrop(source);
        } else {
            dragDrop(source);
        }
        return;
    }
    const std::optional<Element*> pressed = m_pressed;
    m_pressed.reset();
    if (!pressed || !inside || elementAt(pos) != *pressed)
        return;
    if (Element* e = *pressed) {
        if (e->onClick)
            e->onClick();
    } else {
        click();
    }
}

void Control::pointerLeft()
{
    if (!m_dragSource || !m_dragOver)
        return;
    Element* source = m_dragSource;
    const std::optional<Element*> left = m_dragOver;
    m_dragOver.reset();
    notifyDragOver(*this, *left, source, DragState::Leave);
}

// --- Cursor and colours

QCursor pointingHandCursor(const QPoint& hotSpot)
{
    // A hand with its index finger up; the finger tip at (0, 0) before it is moved
    // to the hot spot.
    QPainterPath hand;
    hand.moveTo(0, 2);
    hand.arcTo(-2, 0, 4, 4, 180, -180); // finger tip
    hand.lineTo(2, 9);
    hand.lineTo(4, 8.5);
    hand.lineTo(6, 9.5);
    hand.lineTo(8, 9);
    hand.lineTo(10, 10.5);
    hand.lineTo(11, 17);
    hand.lineTo(9, 21);
    hand.lineTo(0, 21);
    hand.lineTo(-6, 14);
    hand.lineTo(-5, 12.5);
    hand.lineTo(-2, 14);
    hand.closeSubpath();

    auto draw = [&](QPixmap& target, const QColor& fill, const QColor& outline) {
        target.fill(Qt::transparent);
        QPainter p(&target);
        p.translate(hotSpot.x() + 0.5, hotSpot.y() + 0.5);
        p.setPen(QPen(outline, 1));
        p.setBrush(fill);
        p.drawPath(hand);
        // The knuckles between the fingers.
        p.drawLine(QPointF(2, 9), QPointF(2, 13));
        p.drawLine(QPointF(6, 9.5), QPointF(6, 13));
    };
    QPixmap picture(32, 32);
    draw(picture, Qt::white, Qt::black);
    return QCursor(picture, hotSpot.x(), hotSpot.y());
}

forms::OleColor toOleColor(const basic::Variant& value)
{
    const double d = value.isString() ? double(basic::CLng(value)) : basic::CDbl(value);
    const double whole = basic::roundHalfEven(d);
    if (whole < -2147483648.0 || whole > 4294967295.0 || std::isnan(whole))
        throw basic::RuntimeError(basic::err::Overflow, QStringLiteral("Overflow"));
    return whole < 0 ? forms::OleColor(int32_t(whole)) : forms::OleColor(uint32_t(whole));
}

} // namespace controlframework
