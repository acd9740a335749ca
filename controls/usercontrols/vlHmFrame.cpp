#include "controls/usercontrols/vlHmFrame.h"

#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"

#include <QWidget>

#include <cmath>
#include <cstdlib>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t TitleHeight = 495;
constexpr int32_t CaptionHeight = 375;
constexpr int32_t CaptionLeft = 60;
constexpr int32_t InternalMargin = 60;

} // namespace

vlHmFrame::vlHmFrame()
    : m_lock(liveObjects()),
      m_shpTitle(addShape(QStringLiteral("shpTitle"))),
      m_shpFrame(addShape(QStringLiteral("shpFrame"))),
      m_lblCaption(addLabel(QStringLiteral("lblCaption")))
{
    setBackColor(forms::systemOleColor(forms::SystemColor::ButtonFace));
    setOpaque(true);

    m_shpTitle.setKind(controlframework::ShapeKind::RoundedRectangle);
    m_shpTitle.setFilled(true);
    m_shpTitle.setFillColor(m_titleColor);
    m_shpTitle.setBorderColor(m_titleColor);
    m_shpTitle.move(0, 0, 4800, TitleHeight);

    m_shpFrame.setKind(controlframework::ShapeKind::Rectangle);
    m_shpFrame.setFilled(true);
    m_shpFrame.setFillColor(m_backColor);
    m_shpFrame.setBorderColor(m_titleColor);
    m_shpFrame.setBorderWidth(1);
    m_shpFrame.move(0, m_bodyOffset, 4800, 3600 - m_bodyOffset);

    controlframework::FontInfo font;
    font.name = QStringLiteral("Tahoma");
    font.bold = true;
    font.size = 8;
    font.charset = 0;
    m_lblCaption.setFont(font);
    m_lblCaption.setOpaque(false);
    m_lblCaption.setAlignment(controlframework::Alignment::Left);
    m_lblCaption.setWordWrap(false);
    m_lblCaption.setForeColor(forms::systemOleColor(forms::SystemColor::HighlightText));
    m_lblCaption.move(CaptionLeft, m_captionTop, 4800 - 2 * CaptionLeft, CaptionHeight);
    m_lblCaption.setCaption(DesignCaption);
    m_captionText = DesignCaption;

    // A container that never takes the focus.
    widget()->setFocusPolicy(Qt::NoFocus);
    setExtent(4800, 3600);
}

const automation::MemberTable<vlHmFrame>& vlHmFrame::table()
{
    using F = vlHmFrame;
    static const auto t = automation::MemberTable<vlHmFrame>()
        .property(frame::BackColor, "BackColor", [](F& f, Args&) { return fromOleColor(f.m_backColor); },
                  [](F& f, Args&, const Variant& v) { f.setBackColorProperty(toOleColor(v)); })
        .property(frame::TitleColor, "TitleColor", [](F& f, Args&) { return fromOleColor(f.m_titleColor); },
                  [](F& f, Args&, const Variant& v) { f.setTitleColor(toOleColor(v)); })
        .property(frame::Caption, "Caption", [](F& f, Args&) { return Variant(f.m_captionText); },
                  [](F& f, Args&, const Variant& v) { f.setCaption(basic::CStr(v)); })
        .property(frame::InternalHeight, "InternalHeight", [](F& f, Args&) { return Variant(f.internalHeight()); })
        .property(frame::InternalWidth, "InternalWidth", [](F& f, Args&) { return Variant(f.internalWidth()); })
        .property(frame::LargeFont, "LargeFont", [](F& f, Args&) { return Variant(f.m_largeFont); },
                  [](F& f, Args&, const Variant& v) { f.setLargeFont(basic::CBool(v)); });
    return t;
}

automation::DispId vlHmFrame::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

Variant vlHmFrame::invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

void vlHmFrame::setBackColorProperty(forms::OleColor color)
{
    m_backColor = color;
    m_shpFrame.setFillColor(color);
    propertyChanged(QStringLiteral("BackColor"));
}

void vlHmFrame::setTitleColor(forms::OleColor color)
{
    m_titleColor = color;
    m_shpTitle.setFillColor(color);
    m_shpTitle.setBorderColor(color);
    m_shpFrame.setBorderColor(color);
    propertyChanged(QStringLiteral("TitleColor"));
}

void vlHmFrame::setCaption(const QString& caption)
{
    m_captionText = caption;
    m_lblCaption.setCaption(caption);
    propertyChanged(QStringLiteral("Caption"));
}

void vlHmFrame::setLargeFont(bool large)
{
    m_largeFont = large;
    layout();
    propertyChanged(QStringLiteral("LargeFont"));
}

int32_t vlHmFrame::internalWidth() const
{
    return m_shpFrame.width() - InternalMargin;
}

int32_t vlHmFrame::internalHeight() const
{
    return m_shpFrame.height() - InternalMargin;
}

void vlHmFrame::initProperties()
{
    setCaption(host().ambientDisplayName());
    setTitleColor(0);
    setBackColorProperty(0xFFFFFF);
    setLargeFont(false);
}

void vlHmFrame::readProperties(const controlframework::PropertyBag& bag)
{
    setCaption(basic::CStr(bag.read(QStringLiteral("Caption"), host().ambientDisplayName())));
    setTitleColor(toOleColor(bag.read(QStringLiteral("TitleColor"), int32_t(0))));
    setBackColorProperty(toOleColor(bag.read(QStringLiteral("BackColor"), int32_t(0xFFFFFF))));
    setLargeFont(basic::CBool(bag.read(QStringLiteral("LargeFont"), false)));
}

void vlHmFrame::writeProperties(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("Caption"), m_lblCaption.caption(), DesignCaption);
    bag.write(QStringLiteral("TitleColor"), fromOleColor(m_titleColor), int32_t(0));
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor), int32_t(0xFFFFFF));
    bag.write(QStringLiteral("LargeFont"), m_largeFont, false);
}

void vlHmFrame::resize()
{
    layout();
}

void vlHmFrame::layout()
{
    const int32_t w = width();
    const int32_t h = height();

    controlframework::FontInfo font = m_lblCaption.font();
    if (m_largeFont) {
        font.size = 12;
        m_captionTop = 60;
        m_bodyOffset = 450;
    } else {
        font.size = 8;
        m_captionTop = 120;
        m_bodyOffset = 420;
    }
    m_lblCaption.setFont(font);
    m_shpTitle.setHeight(TitleHeight);

    // A frame this narrow keeps the caption where the last wider layout put it.
    if (w > 2 * CaptionLeft)
        m_lblCaption.move(CaptionLeft, m_captionTop, w - 2 * CaptionLeft);
    m_shpTitle.move(0, 0, w);
    const int32_t bodyTop = m_shpTitle.top() + m_bodyOffset;
    m_shpFrame.move(0, bodyTop, w, std::abs(h - bodyTop));
    m_lblCaption.bringToFront();
}

} // namespace usercontrols
