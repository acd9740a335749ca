#include "controls/usercontrols/vlHmWarnMsg.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Font.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t MessageLeft = 300;
constexpr int32_t MessageTop = 30;
constexpr int32_t IconSize = 240;

// The 16-by-16 status icons: information, critical, warning.
QPixmap statusIcon(WarnIconStyles style)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    switch (style) {
    case WarnIconStyles::Information:
        p.setPen(QColor(0, 60, 160));
        p.setBrush(QColor(40, 110, 220));
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
        break;
    case WarnIconStyles::Critical:
        p.setPen(QColor(140, 0, 0));
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
        break;
    case WarnIconStyles::Warning: {
        QPainterPath triangle;
        triangle.moveTo(8, 0.5);
        triangle.lineTo(15.5, 15);
        triangle.lineTo(0.5, 15);
        triangle.closeSubpath();
        p.setPen(QColor(150, 110, 0));
        p.setBrush(QColor(250, 200, 30));
        p.drawPath(triangle);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 3, 16, 13), Qt::AlignCenter, QStringLiteral("!"));
        break;
    }
    case WarnIconStyles::None: break;
    }
    return picture;
}

} // namespace

vlHmWarnMsg::vlHmWarnMsg()
    : m_lock(liveObjects()),
      m_imgDisplayIcon(addImage(QStringLiteral("imgDisplayIcon"))),
      m_lblCaption(addLabel(QStringLiteral("lblCaption")))
{
    for (size_t i = 0; i < m_imgIconXP.size(); ++i) {
        controlframework::Image& icon = addImage(QStringLiteral("imgIconXP(%1)").arg(i));
        icon.setPicture(statusIcon(WarnIconStyles(i)));
        icon.setVisible(false);
        m_imgIconXP[i] = &icon;
    }
    m_imgDisplayIcon.move(0, 0, IconSize, IconSize);
    m_imgDisplayIcon.onClick = [this] { fireEvent(*this, warnmsg::event::IconClick, QStringLiteral("IconClick")); };

    m_lblCaption.setOpaque(false);
    m_lblCaption.setWordWrap(true);
    m_lblCaption.setForeColor(m_foreColor);
    m_lblCaption.onChange = [this] { arrange(); };
    m_lblCaption.onClick = [this] { fireEvent(*this, warnmsg::event::Click, QStringLiteral("Click")); };

    setBackColor(m_backColor);
    setOpaque(true);
    // Acts like a label: never takes the focus.
    widget()->setFocusPolicy(Qt::NoFocus);
    setExtent(4800, 300);
}

const automation::MemberTable<vlHmWarnMsg>& vlHmWarnMsg::table()
{
    using W = vlHmWarnMsg;
    static const auto t = automation::MemberTable<vlHmWarnMsg>()
        .property(warnmsg::BackColor, "BackColor", [](W& w, Args&) { return fromOleColor(w.m_backColor); },
                  [](W& w, Args&, const Variant& v) { w.setBackColorProperty(toOleColor(v)); })
        .property(warnmsg::BackStyle, "BackStyle", [](W& w, Args&) { return Variant(w.backStyle()); },
                  [](W& w, Args&, const Variant& v) { w.setBackStyle(basic::CLng(v)); })
        .property(warnmsg::ForeColor, "ForeColor", [](W& w, Args&) { return fromOleColor(w.m_foreColor); },
                  [](W& w, Args&, const Variant& v) { w.setForeColor(toOleColor(v)); })
        .property(warnmsg::Font, "Font",
                  [](W& w, Args&) {
                      return labelFontObject(w, w.m_lblCaption, [&w](const controlframework::FontInfo& f) { w.setFont(f); });
                  },
                  [](W& w, Args&, const Variant& v) { w.setFont(assignedFont(v)); })
        .property(warnmsg::ScaleHeight, "ScaleHeight", [](W& w, Args&) { return Variant(w.height()); })
        .property(warnmsg::ScaleWidth, "ScaleWidth", [](W& w, Args&) { return Variant(w.width()); })
        .method(warnmsg::Show, "Show", [](W& w, Args& a) {
            w.showMessage(basic::CLng(argument(a, 0)), basic::CStr(argument(a, 1)));
            return Variant();
        })
        .method(warnmsg::Hide, "Hide", [](W& w, Args&) { w.hideMessage(); return Variant(); });
    return t;
}

void vlHmWarnMsg::setBackColorProperty(forms::OleColor color)
{
    m_backColor = color;
    setBackColor(color);
    propertyChanged(QStringLiteral("BackColor"));
}

void vlHmWarnMsg::setBackStyle(int32_t style)
{
    if (style != 0 && style != 1)
        return;
    setOpaque(style == 1);
    propertyChanged(QStringLiteral("BackStyle"));
}

void vlHmWarnMsg::setForeColor(forms::OleColor color)
{
    m_foreColor = color;
    m_lblCaption.setForeColor(color);
    m_lblCaption.refresh();
    propertyChanged(QStringLiteral("ForeColor"));
}

controlframework::FontInfo vlHmWarnMsg::font() const
{
    return m_lblCaption.font();
}

void vlHmWarnMsg::setFont(const controlframework::FontInfo& font)
{
    m_lblCaption.setFont(font);
    arrange();
    m_lblCaption.refresh();
    propertyChanged(QStringLiteral("Font"));
}

void vlHmWarnMsg::setIconStyle(int32_t style)
{
    if (style >= 0) {
        m_iconStyle = style;
        m_imgDisplayIcon.setVisible(true);
        if (style < int32_t(m_imgIconXP.size()))
            m_imgDisplayIcon.setPicture(m_imgIconXP[size_t(style)]->picture());
        else if (style == int32_t(WarnIconStyles::None))
            m_imgDisplayIcon.setPicture(QPixmap());
        m_imgDisplayIcon.refresh();
    }
    propertyChanged(QStringLiteral("IconStyle"));
}

void vlHmWarnMsg::setMessage(const QString& text)
{
    m_lblCaption.setVisible(true);
    m_lblCaption.setCaption(text);
    m_lblCaption.refresh();
    propertyChanged(QStringLiteral("Caption"));
}

void vlHmWarnMsg::showMessage(int32_t iconStyle, const QString& caption)
{
    setIconStyle(iconStyle);
    setMessage(caption);
    repaint();
}

void vlHmWarnMsg::hideMessage()
{
    setIconStyle(int32_t(WarnIconStyles::None));
    setMessage(QString());
    m_imgDisplayIcon.setVisible(false);
    m_lblCaption.setVisible(false);
    repaint();
}

void vlHmWarnMsg::initialize()
{
    m_lblCaption.move(MessageLeft, MessageTop);
}

void vlHmWarnMsg::initProperties()
{
    m_backColor = 0x8000000F;
    m_foreColor = 0x80000012;
    setIconStyle(int32_t(WarnIconStyles::Information));
    setMessage(host().ambientDisplayName());
    m_lblCaption.setFont(host().ambientFont());
    setBackColor(m_backColor);
    setOpaque(true);
    arrange();
    repaint();
}

void vlHmWarnMsg::readProperties(const controlframework::PropertyBag& bag)
{
    setBackColorProperty(readColor(bag, QStringLiteral("BackColor"), 0x8000000F));
    setForeColor(readColor(bag, QStringLiteral("ForeColor"), 0x80000012));
    m_lblCaption.setFont(readFont(bag, QStringLiteral("Font"), host().ambientFont()));
    setBackStyle(readInteger(bag, QStringLiteral("BackStyle"), 1));
    arrange();
    // At run time the strip starts empty; in a designer it shows what it is.
    if (host().ambientUserMode())
        hideMessage();
    else
        showMessage(int32_t(WarnIconStyles::Information), host().ambientDisplayName());
}

void vlHmWarnMsg::writeProperties(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("Font"), controlframework::makeFont(m_lblCaption.font()),
              controlframework::makeFont(host().ambientFont()));
    bag.write(QStringLiteral("BackStyle"), int16_t(backStyle()), int16_t(1));
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor), fromOleColor(0x8000000F));
    bag.write(QStringLiteral("ForeColor"), fromOleColor(m_foreColor), fromOleColor(0x80000012));
}

void vlHmWarnMsg::resize()
{
    arrange();
}

void vlHmWarnMsg::arrange()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    if (width() < MinWidth || height() < MinHeight)
        setExtent(std::max(width(), MinWidth), std::max(height(), MinHeight));
    // The arrangement's height holds over the label's own: it runs after every text change.
    m_lblCaption.move(m_lblCaption.left(), m_lblCaption.top(), width() - m_lblCaption.left(), height() - m_lblCaption.top());
    m_lblCaption.bringToFront();
}

} // namespace usercontrols
