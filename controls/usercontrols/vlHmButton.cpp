#include "controls/usercontrols/vlHmButton.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"
#include "platform/forms/Pump.h"

#include <QWidget>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::DragState;
using controlframework::Element;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t CaptionHeight = 195;
constexpr int32_t ClickHoldMs = 100;
constexpr int CharEnter = 13;
constexpr int CharEscape = 27;

bool extenderFlag(const controlframework::ControlHost& host, const QString& name)
{
    const Variant v = host.extenderProperty(name);
    return !v.isNull() && basic::CBool(v);
}

} // namespace

vlHmButton::vlHmButton()
    : m_lock(liveObjects()),
      m_shpBtn(addShape(QStringLiteral("shpBtn"))),
      m_lblCaption(addLabel(QStringLiteral("lblCaption"))),
      m_shpFocus(addShape(QStringLiteral("shpFocus"))),
      m_shpDefault(addShape(QStringLiteral("shpDefault"))),
      m_lblDragArea(addLabel(QStringLiteral("lblDragArea")))
{
    m_shpBtn.setFilled(true);
    m_shpBtn.setFillColor(m_backColor);
    m_shpBtn.setBorderColor(m_borderColor);
    m_shpBtn.setBorderWidth(1);

    m_lblCaption.setOpaque(false);
    m_lblCaption.setAlignment(controlframework::Alignment::Left);
    m_lblCaption.setForeColor(m_foreColor);
    m_lblCaption.move(60, 60, 1035, CaptionHeight);

    m_shpFocus.setFilled(false);
    m_shpFocus.setBorderColor(m_clickColor);
    m_shpFocus.setVisible(false);
    m_shpDefault.setFilled(false);
    m_shpDefault.setBorderColor(m_borderColor);
    m_shpDefault.setVisible(false);

    m_lblDragArea.setOpaque(false);
    m_lblDragArea.onMouseMove = [this] {
        if (!m_enabled)
            return;
        m_lblDragArea.beginDrag();
        m_hover = true;
        refresh();
    };
    m_lblDragArea.onDragOver = [this](Element*, DragState state) {
        if (state == DragState::Leave)
            endHover();
    };
    m_lblDragArea.onDragDrop = [this](Element*) {
        if (m_enabled && m_hover)
            clickSequence();
    };

    // Acts like a button: it takes the focus.
    widget()->setFocusPolicy(Qt::StrongFocus);
    setExtent(1095, 315);
}

const automation::MemberTable<vlHmButton>& vlHmButton::table()
{
    using B = vlHmButton;
    static const auto t = automation::MemberTable<vlHmButton>()
        .property(button::Enabled, "Enabled", [](B& b, Args&) { return Variant(b.m_enabled); },
                  [](B& b, Args&, const Variant& v) { b.setEnabled(basic::CBool(v)); })
        .property(button::Caption, "Caption", [](B& b, Args&) { return Variant(b.m_caption); },
                  [](B& b, Args&, const Variant& v) { b.setCaption(basic::CStr(v)); })
        .property(button::BackColor, "BackColor", [](B& b, Args&) { return fromOleColor(b.m_backColor); },
                  [](B& b, Args&, const Variant& v) { b.setBackColorProperty(toOleColor(v)); })
        .property(button::BorderColor, "BorderColor", [](B& b, Args&) { return fromOleColor(b.m_borderColor); },
                  [](B& b, Args&, const Variant& v) { b.setBorderColor(toOleColor(v)); })
        .property(button::HoverColor, "HoverColor", [](B& b, Args&) { return fromOleColor(b.m_hoverColor); },
                  [](B& b, Args&, const Variant& v) { b.setHoverColor(toOleColor(v)); })
        .property(button::ClickColor, "ClickColor", [](B& b, Args&) { return fromOleColor(b.m_clickColor); },
                  [](B& b, Args&, const Variant& v) { b.setClickColor(toOleColor(v)); })
        .property(button::ForeColor, "ForeColor", [](B& b, Args&) { return fromOleColor(b.m_foreColor); },
                  [](B& b, Args&, const Variant& v) { b.setForeColor(toOleColor(v)); })
        .method(button::Refresh, "Refresh", [](B& b, Args&) { b.refresh(); return Variant(); });
    return t;
}

void vlHmButton::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_lblCaption.setEnabled(enabled);
}

void vlHmButton::setCaption(const QString& caption)
{
    m_caption = caption;
    m_lblCaption.setCaption(caption);
}

void vlHmButton::setBackColorProperty(forms::OleColor color)
{
    m_backColor = color;
    m_shpBtn.setFillColor(color);
}

void vlHmButton::setBorderColor(forms::OleColor color)
{
    m_borderColor = color;
    m_shpBtn.setBorderColor(color);
    m_shpDefault.setBorderColor(color);
}

void vlHmButton::setHoverColor(forms::OleColor color)
{
    // Shows at the next repaint of the face.
    m_hoverColor = color;
}

void vlHmButton::setClickColor(forms::OleColor color)
{
    m_clickColor = color;
    m_shpFocus.setBorderColor(color);
}

void vlHmButton::setForeColor(forms::OleColor color)
{
    m_foreColor = color;
    m_lblCaption.setForeColor(color);
}

void vlHmButton::refresh()
{
    m_shpBtn.setFillColor(m_hover ? m_hoverColor : m_backColor);
    m_shpBtn.refresh();
}

void vlHmButton::initialize()
{
    const QCursor hand = controlframework::pointingHandCursor(HandHotSpot);
    setMouseIcon(hand);
    m_lblDragArea.setDragIcon(hand);
    layout();
}

void vlHmButton::initProperties()
{
    setCaption(basic::CStr(host().extenderProperty(QStringLiteral("Name"))));
    setBackColorProperty(0xE0E0E0);
    setForeColor(0x80000008);
    setBorderColor(0x80000008);
    setHoverColor(0xC0C0C0);
    setClickColor(0x808080);
    setEnabled(true);
    setExtent(1095, 315);
}

void vlHmButton::readProperties(const controlframework::PropertyBag& bag)
{
    setCaption(readText(bag, QStringLiteral("Caption"), host().ambientDisplayName()));
    setBackColorProperty(readColor(bag, QStringLiteral("BackColor"), 0xE0E0E0));
    setForeColor(readColor(bag, QStringLiteral("ForeColor"), 0x80000008));
    setBorderColor(readColor(bag, QStringLiteral("BorderColor"), 0x80000008));
    setClickColor(readColor(bag, QStringLiteral("ClickColor"), 0x808080));
    setHoverColor(readColor(bag, QStringLiteral("HoverColor"), 0xC0C0C0));
    setEnabled(readBool(bag, QStringLiteral("Enabled"), true));
}

void vlHmButton::writeProperties(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("Caption"), m_caption);
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor));
    bag.write(QStringLiteral("ForeColor"), fromOleColor(m_foreColor));
    bag.write(QStringLiteral("BorderColor"), fromOleColor(m_borderColor));
    bag.write(QStringLiteral("HoverColor"), fromOleColor(m_hoverColor));
    bag.write(QStringLiteral("ClickColor"), fromOleColor(m_clickColor));
    bag.write(QStringLiteral("Enabled"), m_enabled);
}

void vlHmButton::resize()
{
    layout();
}

void vlHmButton::layout()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    const int32_t w = width();
    const int32_t h = height();
    m_shpBtn.move(0, 0, w, h);
    m_shpDefault.move(15, 15, m_shpBtn.width() - 30, m_shpBtn.height() - 30);
    m_shpFocus.move(45, 45, m_shpBtn.width() - 90, m_shpBtn.height() - 90);
    // Twips are whole numbers here: half a twip is dropped.
    m_lblCaption.move(60, (h - m_lblCaption.height()) / 2, m_shpBtn.width() - 60);
    m_lblDragArea.move(0, 0, w, h);
    m_lblDragArea.bringToFront();
}

void vlHmButton::endHover()
{
    if (!m_enabled)
        return;
    m_lblDragArea.endDrag();
    m_hover = false;
    refresh();
}

void vlHmButton::dragOver(Element*, DragState state)
{
    if (state == DragState::Leave)
        endHover();
}

void vlHmButton::click()
{
    clickSequence();
}

void vlHmButton::accessKeyPress(int character)
{
    // Default and Cancel are read at the moment the key comes.
    if ((character == CharEnter && extenderFlag(host(), QStringLiteral("Default")))
        || (character == CharEscape && extenderFlag(host(), QStringLiteral("Cancel"))))
        clickSequence();
}

void vlHmButton::ambientChanged(const QString& name)
{
    if (name != QLatin1String("DisplayAsDefault"))
        return;
    m_showDefault = host().ambientDisplayAsDefault();
    m_shpDefault.setVisible(m_showDefault);
}

void vlHmButton::enterFocus()
{
    m_shpFocus.setVisible(true);
    m_shpFocus.refresh();
}

void vlHmButton::exitFocus()
{
    m_shpFocus.setVisible(false);
    m_shpFocus.refresh();
}

void vlHmButton::clickSequence()
{
    // A disabled button never clicks, whichever way the click comes.
    if (!m_enabled)
        return;
    m_shpBtn.setFillColor(m_clickColor);
    if (QWidget* w = widget(); w && w->isVisible())
        w->repaint();
    fireEvent(*this, button::event::Click, QStringLiteral("Click"));
    forms::Sleep(ClickHoldMs);
    m_hover = false;
    refresh();
}

} // namespace usercontrols
