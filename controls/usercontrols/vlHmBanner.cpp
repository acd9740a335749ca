#include "controls/usercontrols/vlHmBanner.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"

#include <QWidget>

#include <algorithm>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

controlframework::FontInfo verdana(double size, bool bold)
{
    controlframework::FontInfo font;
    font.name = QStringLiteral("Verdana");
    font.size = size;
    font.bold = bold;
    return font;
}

} // namespace

vlHmBanner::vlHmBanner()
    : m_lock(liveObjects()),
      m_shpBanner(addShape(QStringLiteral("shpBanner"))),
      m_lblSubCaption(addLabel(QStringLiteral("lblSubCaption"))),
      m_lblCaption(addLabel(QStringLiteral("lblCaption")))
{
    m_shpBanner.setKind(controlframework::ShapeKind::RoundedRectangle);
    m_shpBanner.setFilled(true);
    m_shpBanner.setFillColor(m_backColor);
    m_shpBanner.setBorderColor(m_backColor);
    m_shpBanner.move(0, 0, 4800, FixedHeight);

    m_lblSubCaption.setOpaque(false);
    m_lblSubCaption.setAlignment(controlframework::Alignment::Right);
    m_lblSubCaption.setFont(verdana(9.75, true));
    m_lblSubCaption.setForeColor(m_foreColor);
    m_lblSubCaption.move(60, 120, 4650, 255);

    m_lblCaption.setOpaque(false);
    m_lblCaption.setAlignment(controlframework::Alignment::Left);
    m_lblCaption.setFont(verdana(14.25, false));
    m_lblCaption.setForeColor(m_foreColor);
    m_lblCaption.move(60, 60, 4680, 375);

    widget()->setFocusPolicy(Qt::NoFocus);
    setExtent(4800, FixedHeight);
}

const automation::MemberTable<vlHmBanner>& vlHmBanner::table()
{
    using B = vlHmBanner;
    static const auto t = automation::MemberTable<vlHmBanner>()
        .property(banner::BackColor, "BackColor", [](B& b, Args&) { return fromOleColor(b.m_backColor); },
                  [](B& b, Args&, const Variant& v) { b.setBackColorProperty(toOleColor(v)); })
        .property(banner::BorderColor, "BorderColor", [](B& b, Args&) { return fromOleColor(b.m_borderColor); },
                  [](B& b, Args&, const Variant& v) { b.setBorderColor(toOleColor(v)); })
        .property(banner::ForeColor, "ForeColor", [](B& b, Args&) { return fromOleColor(b.m_foreColor); },
                  [](B& b, Args&, const Variant& v) { b.setForeColor(toOleColor(v)); })
        .property(banner::Caption, "Caption", [](B& b, Args&) { return Variant(b.m_caption); },
                  [](B& b, Args&, const Variant& v) { b.setCaption(basic::CStr(v)); })
        .property(banner::SubCaption, "SubCaption", [](B& b, Args&) { return Variant(b.m_subCaption); },
                  [](B& b, Args&, const Variant& v) { b.setSubCaption(basic::CStr(v)); })
        .property(banner::SubCaptionVisible, "SubCaptionVisible", [](B& b, Args&) { return Variant(b.m_subCaptionVisible); },
                  [](B& b, Args&, const Variant& v) { b.setSubCaptionVisible(basic::CBool(v)); })
        .property(banner::LockBorderColor, "LockBorderColor", [](B& b, Args&) { return Variant(b.m_lockBorderColor); },
                  [](B& b, Args&, const Variant& v) { b.setLockBorderColor(basic::CBool(v)); })
        .property(banner::BorderWidth, "BorderWidth", [](B& b, Args&) { return Variant(b.m_borderWidth); },
                  [](B& b, Args&, const Variant& v) { b.setBorderWidth(basic::CInt(v)); });
    return t;
}

void vlHmBanner::setBackColorProperty(forms::OleColor color)
{
    m_backColor = color;
    m_shpBanner.setFillColor(color);
    if (m_lockBorderColor)
        m_shpBanner.setBorderColor(color);
}

void vlHmBanner::setBorderColor(forms::OleColor color)
{
    m_borderColor = color;
    m_shpBanner.setBorderColor(color);
}

void vlHmBanner::setForeColor(forms::OleColor color)
{
    m_foreColor = color;
    m_lblCaption.setForeColor(color);
    m_lblSubCaption.setForeColor(color);
}

void vlHmBanner::setCaption(const QString& caption)
{
    m_caption = caption;
    m_lblCaption.setCaption(caption);
}

void vlHmBanner::setSubCaption(const QString& caption)
{
    m_subCaption = caption;
    m_lblSubCaption.setCaption(caption);
}

void vlHmBanner::setSubCaptionVisible(bool visible)
{
    m_subCaptionVisible = visible;
    m_lblSubCaption.setVisible(visible);
}

void vlHmBanner::setLockBorderColor(bool lock)
{
    m_lockBorderColor = lock;
    m_shpBanner.setBorderColor(lock ? m_shpBanner.fillColor() : m_borderColor);
}

void vlHmBanner::setBorderWidth(int16_t width)
{
    // The shape's own range decides: nothing below 1.
    m_borderWidth = width;
    m_shpBanner.setBorderWidth(std::max<int>(1, width));
}

void vlHmBanner::initProperties()
{
    setCaption(basic::CStr(host().extenderProperty(QStringLiteral("Name"))));
    setSubCaption(QStringLiteral("Sub Banner"));
    setSubCaptionVisible(true);
    setLockBorderColor(true);
    setBackColorProperty(0);
    setForeColor(0xFFFFFF);
    setBorderColor(0);
    setBorderWidth(1);
}

void vlHmBanner::readProperties(const controlframework::PropertyBag& bag)
{
    setCaption(readText(bag, QStringLiteral("Caption"), QStringLiteral("Caption")));
    setSubCaption(readText(bag, QStringLiteral("SubCaption"), QStringLiteral("SubCaption")));
    setSubCaptionVisible(basic::CBool(bag.read(QStringLiteral("SubCaptionVisible"), QStringLiteral("True"))));
    setBackColorProperty(readColor(bag, QStringLiteral("BackColor"), 0));
    setForeColor(readColor(bag, QStringLiteral("ForeColor"), 0xFFFFFF));
    setBorderColor(readColor(bag, QStringLiteral("BorderColor"), 0));
    setBorderWidth(readInteger(bag, QStringLiteral("BorderWidth"), 1));
    setLockBorderColor(basic::CBool(bag.read(QStringLiteral("LockBorderColor"), QStringLiteral("True"))));
}

void vlHmBanner::writeProperties(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("Caption"), m_caption);
    bag.write(QStringLiteral("SubCaption"), m_subCaption);
    bag.write(QStringLiteral("SubCaptionVisible"), m_subCaptionVisible);
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor));
    bag.write(QStringLiteral("BorderColor"), fromOleColor(m_borderColor));
    bag.write(QStringLiteral("ForeColor"), fromOleColor(m_foreColor));
    bag.write(QStringLiteral("LockBorderColor"), m_lockBorderColor);
    bag.write(QStringLiteral("BorderWidth"), m_borderWidth);
}

void vlHmBanner::resize()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    setExtent(std::max(width(), MinWidth), FixedHeight);
    m_shpBanner.setWidth(width());
    m_lblCaption.move(60, 60, m_shpBanner.width() - 120);
    m_lblSubCaption.move(60, 120, m_shpBanner.width() - 150);
    m_lblSubCaption.bringToFront();
    m_lblCaption.bringToFront();
}

} // namespace usercontrols
