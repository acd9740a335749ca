#include "controls/usercontrols/vlHmContainer.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QWidget>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t TwipsPerUnit = 15;

} // namespace

vlHmContainer::vlHmContainer() : m_lock(liveObjects()), m_shpBorder(addShape(QStringLiteral("shpBorder")))
{
    setBackColor(forms::systemOleColor(forms::SystemColor::Window));
    setOpaque(true);
    m_shpBorder.setFilled(true);
    m_shpBorder.setFillColor(m_backColor);
    m_shpBorder.setBorderColor(m_borderColor);
    m_shpBorder.setBorderWidth(m_borderWidth);
    // A container that never takes the focus.
    widget()->setFocusPolicy(Qt::NoFocus);
    setExtent(2400, 1800);
}

const automation::MemberTable<vlHmContainer>& vlHmContainer::table()
{
    using C = vlHmContainer;
    static const auto t = automation::MemberTable<vlHmContainer>()
        .propertyByRef(container::BorderWidth, "BorderWidth", [](C& c, Args&) { return Variant(c.m_borderWidth); },
                       [](C& c, Args&, Variant& v) {
                           const int16_t given = basic::CInt(v);
                           int16_t w = given;
                           c.setBorderWidth(w);
                           // The corrected width goes back into the caller's variable.
                           if (w != given)
                               v = Variant(w);
                       })
        .property(container::BorderStyle, "BorderStyle", [](C& c, Args&) { return Variant(c.m_borderStyle); },
                  [](C& c, Args&, const Variant& v) { int32_t s = basic::CLng(v); c.setBorderStyle(s); })
        .property(container::BorderColor, "BorderColor", [](C& c, Args&) { return fromOleColor(c.m_borderColor); },
                  [](C& c, Args&, const Variant& v) { forms::OleColor k = toOleColor(v); c.setBorderColor(k); })
        .property(container::BackColor, "BackColor", [](C& c, Args&) { return fromOleColor(c.m_backColor); },
                  [](C& c, Args&, const Variant& v) { forms::OleColor k = toOleColor(v); c.setBackColorProperty(k); })
        .method(container::Refresh, "Refresh", [](C& c, Args&) { c.refresh(); return Variant(); });
    return t;
}

void vlHmContainer::setBorderWidth(int16_t& width)
{
    if (width < 1)
        width = 1;
    // Refused before it is stored: a stored width the layout cannot take would make
    // the host's saved design impossible to load again.
    if (width > MaxBorderWidth)
        throw basic::RuntimeError(basic::err::Overflow, basic::errorDescription(basic::err::Overflow));
    m_borderWidth = width;
    m_shpBorder.setBorderWidth(width);
    m_shpBorder.refresh();
    layout();
    propertyChanged(QStringLiteral("BorderWidth"));
}

void vlHmContainer::setBorderStyle(int32_t& style)
{
    // Checked before it is stored, for the same reason as the width.
    if (style < -32768 || style > 32767)
        throw basic::RuntimeError(basic::err::Overflow, basic::errorDescription(basic::err::Overflow));
    if (style < int32_t(controlframework::ShapeKind::Rectangle) || style > int32_t(controlframework::ShapeKind::RoundedSquare))
        throw basic::RuntimeError(basic::err::InvalidPropertyValue, basic::errorDescription(basic::err::InvalidPropertyValue));
    m_borderStyle = style;
    m_shpBorder.setKind(controlframework::ShapeKind(style));
    m_shpBorder.refresh();
    propertyChanged(QStringLiteral("BorderStyle"));
}

void vlHmContainer::setBorderColor(forms::OleColor& color)
{
    m_borderColor = color;
    m_shpBorder.setBorderColor(color);
    propertyChanged(QStringLiteral("BorderColor"));
}

void vlHmContainer::setBackColorProperty(forms::OleColor& color)
{
    m_backColor = color;
    m_shpBorder.setFillColor(color);
    propertyChanged(QStringLiteral("BackColor"));
}

void vlHmContainer::refresh()
{
    m_shpBorder.refresh();
}

void vlHmContainer::initProperties()
{
    forms::OleColor back = 0xE0E0E0;
    forms::OleColor border = 0;
    int32_t style = 0;
    int16_t width = 1;
    setBackColorProperty(back);
    setBorderColor(border);
    setBorderStyle(style);
    setBorderWidth(width);
}

void vlHmContainer::readProperties(const controlframework::PropertyBag& bag)
{
    forms::OleColor back = readColor(bag, QStringLiteral("BackColor"), 0xE0E0E0);
    setBackColorProperty(back);
    forms::OleColor border = readColor(bag, QStringLiteral("BorderColor"), 0);
    setBorderColor(border);
    int32_t style = readInteger(bag, QStringLiteral("BorderStyle"), 0);
    setBorderStyle(style);
    int16_t width = readInteger(bag, QStringLiteral("BorderWidth"), 1);
    setBorderWidth(width);
}

void vlHmContainer::writeProperties(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor), int32_t(0xE0E0E0));
    bag.write(QStringLiteral("BorderColor"), fromOleColor(m_borderColor), int32_t(0));
    bag.write(QStringLiteral("BorderStyle"), m_borderStyle, int32_t(0));
    bag.write(QStringLiteral("BorderWidth"), m_borderWidth, int16_t(1));
}

void vlHmContainer::resize()
{
    layout();
}

void vlHmContainer::layout()
{
    const int32_t t = m_borderWidth * TwipsPerUnit;
    m_shpBorder.move(t / 2, t / 2, width() - t, height() - t);
}

} // namespace usercontrols
