#include "controls/usercontrols/vlHmLinkLabel.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Font.h"
#include "platform/shell/ProgramStarter.h"

#include <QUrl>
#include <QWidget>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::DragState;
using controlframework::Element;
using controlframework::fromOleColor;
using controlframework::MousePointer;
using controlframework::toOleColor;

namespace {

constexpr int32_t MultiLineWidth = 1350;
constexpr int32_t MultiLineHeight = 390;
const QString BackStyleSource = QStringLiteral("HyperLabel.BackStyle");

// The desktop opens what it is given with its own default program; only web and
// mail addresses are handed over, never a file or a command.
bool mayOpen(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    return scheme == QLatin1String("mailto") && !url.path().isEmpty();
}

} // namespace

vlHmLinkLabel::vlHmLinkLabel() : vlHmLinkLabel(Lines::Single) {}

vlHmLinkLabel::vlHmLinkLabel(Lines lines)
    : m_lock(liveObjects()),
      m_lines(lines),
      m_lblCaption(addLabel(QStringLiteral("lblCaption"))),
      m_imgCursor(addImage(QStringLiteral("imgCursor")))
{
    const bool multi = m_lines == Lines::Multi;
    m_lblCaption.setOpaque(false);
    m_lblCaption.setAlignment(controlframework::Alignment::Left);
    if (multi) {
        m_lblCaption.move(0, 0, MultiLineWidth, MultiLineHeight);
        m_lblCaption.setWordWrap(true);
        // The fixed area is sized for the design font: a wider substitute font would
        // cut the caption's last words.
        m_lblCaption.setFitsTextToBox(true);
    } else {
        m_lblCaption.setAutoSize(true);
    }
    m_lblCaption.onChange = [this] {
        sizeToCaption();
        fireEvent(*this, linklabel::event::Change, QStringLiteral("Change"));
    };
    m_lblCaption.onMouseMove = [this] {
        if (m_selected || m_busy || !m_hover)
            return;
        m_lblCaption.beginDrag();
        m_hoverFlag = true;
        refresh();
    };
    m_lblCaption.onDragOver = [this](Element*, DragState state) {
        if (state != DragState::Leave || m_selected || !m_hover)
            return;
        m_lblCaption.endDrag();
        m_hoverFlag = false;
        refresh();
    };
    m_lblCaption.onDragDrop = [this](Element*) { captionDropped(); };
    m_lblCaption.onClick = [this] { captionClicked(); };

    // A copy of the hand the pointer shows; no code uses it.
    const QPoint hotSpot = multi ? HandHotSpot : LinkLabelHotSpot;
    m_imgCursor.setPicture(controlframework::pointingHandCursor(hotSpot).pixmap());
    if (multi)
        m_imgCursor.move(240, 840);
    else
        m_imgCursor.move(480, 900);
    m_imgCursor.bringToFront();

    setMouseIcon(controlframework::pointingHandCursor(hotSpot));
    if (!multi)
        setMousePointer(MousePointer::Custom);
    // Acts like a label: never takes the focus.
    widget()->setFocusPolicy(Qt::NoFocus);
}

const automation::MemberTable<vlHmLinkLabel>& vlHmLinkLabel::table()
{
    using L = vlHmLinkLabel;
    static const auto t = automation::MemberTable<vlHmLinkLabel>()
        .property(linklabel::BackColor, "BackColor", [](L& l, Args&) { return fromOleColor(l.m_backColor); },
                  [](L& l, Args&, const Variant& v) { l.setBackColorProperty(toOleColor(v)); })
        .property(linklabel::BackStyle, "BackStyle", [](L& l, Args&) { return Variant(l.backStyle()); },
                  [](L& l, Args&, const Variant& v) { l.setBackStyle(basic::CLng(v)); })
        .property(linklabel::Caption, "Caption", [](L& l, Args&) { return Variant(l.caption()); },
                  [](L& l, Args&, const Variant& v) { l.setCaption(basic::CStr(v)); })
        .property(linklabel::ForeColor, "ForeColor", [](L& l, Args&) { return fromOleColor(l.m_foreColor); },
                  [](L& l, Args&, const Variant& v) { l.setForeColor(toOleColor(v)); })
        .property(linklabel::Enabled, "Enabled", [](L& l, Args&) { return Variant(l.m_enabled); },
                  [](L& l, Args&, const Variant& v) { l.setEnabled(basic::CBool(v)); })
        .property(linklabel::Font, "Font",
                  [](L& l, Args&) {
                      return labelFontObject(l, l.m_lblCaption, [&l](const controlframework::FontInfo& f) { l.fontChanged(f); });
                  },
                  [](L& l, Args&, const Variant& v) { l.setFont(assignedFont(v)); })
        .property(linklabel::Hover, "Hover", [](L& l, Args&) { return Variant(l.m_hover); },
                  [](L& l, Args&, const Variant& v) { l.setHover(basic::CBool(v)); })
        .property(linklabel::URL, "URL", [](L& l, Args&) { return Variant(l.m_url); },
                  [](L& l, Args&, const Variant& v) { l.setUrl(basic::CStr(v)); })
        .property(linklabel::ScaleHeight, "ScaleHeight", [](L& l, Args&) { return Variant(l.height()); })
        .property(linklabel::ScaleWidth, "ScaleWidth", [](L& l, Args&) { return Variant(l.width()); })
        .method(linklabel::HyperJump, "HyperJump",
                [](L& l, Args& a) { return Variant(l.hyperJump(basic::CStr(argument(a, 0)))); })
        .method(linklabel::Refresh, "Refresh", [](L& l, Args&) { l.refresh(); return Variant(); })
        .property(linklabel::Selected, "Selected", [](L& l, Args&) { return Variant(l.m_selected); },
                  [](L& l, Args&, const Variant& v) { l.setSelected(basic::CBool(v)); });
    return t;
}

void vlHmLinkLabel::setBackColorProperty(forms::OleColor color)
{
    m_backColor = color;
    setBackColor(color);
    propertyChanged(QStringLiteral("BackColor"));
}

void vlHmLinkLabel::setBackStyle(int32_t style)
{
    if (style != 0 && style != 1)
        throw basic::RuntimeError(basic::err::InvalidPropertyValue, QStringLiteral("Illegal Property Value"), BackStyleSource);
    setOpaque(style == 1);
    propertyChanged(QStringLiteral("BackStyle"));
}

QString vlHmLinkLabel::caption() const
{
    return m_lblCaption.caption();
}

void vlHmLinkLabel::setCaption(const QString& caption)
{
    m_lblCaption.setCaption(caption);
    propertyChanged(QStringLiteral("Caption"));
}

void vlHmLinkLabel::setForeColor(forms::OleColor color)
{
    m_foreColor = color;
    refresh();
    propertyChanged(QStringLiteral("ForeColor"));
}

void vlHmLinkLabel::setEnabled(bool enabled)
{
    // A disabled control gets no mouse input: it neither hovers nor clicks.
    m_enabled = enabled;
    widget()->setEnabled(enabled);
    propertyChanged(QStringLiteral("Enabled"));
}

controlframework::FontInfo vlHmLinkLabel::font() const
{
    return m_lblCaption.font();
}

void vlHmLinkLabel::setFont(const controlframework::FontInfo& font)
{
    m_lblCaption.setFont(font);
    sizeToCaption();
    refresh();
    propertyChanged(QStringLiteral("Font"));
}

void vlHmLinkLabel::fontChanged(const controlframework::FontInfo& font)
{
    // A change made through the font object: the caption takes it as it is (the next
    // Refresh brings the weight and underline back in line with the state).
    m_lblCaption.setFont(font);
    sizeToCaption();
    propertyChanged(QStringLiteral("Font"));
}

void vlHmLinkLabel::setHover(bool hover)
{
    m_hover = hover;
    refresh();
    propertyChanged(QStringLiteral("Hover"));
}

void vlHmLinkLabel::setUrl(const QString& url)
{
    m_url = url;
    propertyChanged(QStringLiteral("URL"));
}

void vlHmLinkLabel::setSelected(bool selected)
{
    m_selected = selected;
    refresh();
    propertyChanged(QStringLiteral("Selected"));
}

int32_t vlHmLinkLabel::hyperJump(const QString& url)
{
    if (url.isEmpty())
        return 0;
    // Like a failed open, a refused address is only the result code.
    if (!mayOpen(url))
        return Refused;
    setMousePointer(MousePointer::Hourglass);
    const bool started = shell::startProgram(QStringLiteral("xdg-open"), {url});
    setMousePointer(MousePointer::Custom);
    return started ? Opened : NotOpened;
}

void vlHmLinkLabel::refresh()
{
    controlframework::FontInfo font = m_lblCaption.font();
    auto applyFont = [&] {
        m_lblCaption.setFont(font);
    };
    if (m_selected) {
        if (m_lblCaption.foreColor() != m_foreColor)
            m_lblCaption.setForeColor(m_foreColor);
        if (font.underline) {
            font.underline = false;
            applyFont();
        }
        if (!font.bold) {
            font.bold = true;
            applyFont();
            sizeToCaption();
        }
    } else {
        if (font.bold) {
            font.bold = false;
            applyFont();
            sizeToCaption();
        }
        const bool underline = m_hover ? m_hoverFlag : true;
        if (!m_hover || !m_hoverFlag) {
            if (m_lblCaption.foreColor() != m_foreColor)
                m_lblCaption.setForeColor(m_foreColor);
        }
        if (font.underline != underline) {
            font.underline = underline;
            applyFont();
        }
    }
    m_busy = true;
    m_lblCaption.refresh();
    m_busy = false;
}

void vlHmLinkLabel::sizeToCaption()
{
    m_busy = true;
    if (!m_lblCaption.isVisible())
        m_lblCaption.setVisible(true);
    setExtent(m_lblCaption.width(), m_lblCaption.height());
    m_busy = false;
    fireEvent(*this, linklabel::event::Resize, QStringLiteral("Resize"));
}

void vlHmLinkLabel::jumpUnlessCancelled()
{
    Args cancel{Variant(false)};
    raiseEvent(linklabel::event::HyperJump, QStringLiteral("HyperJump"), cancel);
    if (!cancel.empty() && basic::CBool(cancel[0]))
        return;
    hyperJump(m_url);
}

void vlHmLinkLabel::captionDropped()
{
    if (m_selected)
        return;
    m_busy = true;
    jumpUnlessCancelled();
    fireEvent(*this, linklabel::event::Click, QStringLiteral("Click"));
    m_busy = false;
    m_hoverFlag = false;
    refresh();
}

void vlHmLinkLabel::captionClicked()
{
    m_busy = true;
    jumpUnlessCancelled();
    m_busy = false;
    fireEvent(*this, linklabel::event::Click, QStringLiteral("Click"));
}

void vlHmLinkLabel::initialize()
{
    m_lblCaption.setDragIcon(controlframework::pointingHandCursor(m_lines == Lines::Multi ? HandHotSpot : LinkLabelHotSpot));
    m_lblCaption.move(0, 0);
}

void vlHmLinkLabel::initProperties()
{
    m_backColor = 0x8000000F;
    m_foreColor = 0x80000012;
    m_selected = false;
    m_hover = true;
    m_url.clear();
    m_busy = true;
    if (m_lines == Lines::Multi) {
        m_lblCaption.setHeight(MultiLineHeight);
        m_lblCaption.setWordWrap(true);
    }
    m_lblCaption.setCaption(host().ambientDisplayName());
    m_lblCaption.setForeColor(m_foreColor);
    m_lblCaption.setFont(host().ambientFont());
    setBackColor(m_backColor);
    setOpaque(true);
    m_busy = false;
    sizeToCaption();
}

QString vlHmLinkLabel::readCaptionDefault() const
{
    const QString name = host().ambientDisplayName();
    return m_lines == Lines::Multi ? name + QStringLiteral("Multi Line") : name;
}

void vlHmLinkLabel::readProperties(const controlframework::PropertyBag& bag)
{
    m_backColor = readColor(bag, QStringLiteral("BackColor"), 0x8000000F);
    m_foreColor = readColor(bag, QStringLiteral("ForeColor"), 0x80000012);
    m_hover = readBool(bag, QStringLiteral("Hover"), true);
    m_url = readText(bag, QStringLiteral("URL"), QString());
    m_busy = true;
    m_lblCaption.setCaption(readText(bag, QStringLiteral("Caption"), readCaptionDefault()));
    m_lblCaption.setFont(readFont(bag, QStringLiteral("Font"), host().ambientFont()));
    if (m_lines == Lines::Multi)
        m_lblCaption.setWordWrap(true);
    setBackColor(m_backColor);
    // Applied directly: neither the 0-or-1 check nor a change notice.
    setOpaque(readInteger(bag, QStringLiteral("BackStyle"), 1) != 0);
    m_enabled = readBool(bag, QStringLiteral("Enabled"), true);
    widget()->setEnabled(m_enabled);
    m_busy = false;
    sizeToCaption();
}

void vlHmLinkLabel::writeProperties(controlframework::PropertyBag& bag) const
{
    const QString name = host().ambientDisplayName();
    bag.write(QStringLiteral("Caption"), m_lblCaption.caption(), name);
    bag.write(QStringLiteral("Font"), controlframework::makeFont(m_lblCaption.font()),
              controlframework::makeFont(host().ambientFont()));
    bag.write(QStringLiteral("BackStyle"), int16_t(backStyle()), int16_t(1));
    bag.write(QStringLiteral("Enabled"), m_enabled, true);
    bag.write(QStringLiteral("BackColor"), fromOleColor(m_backColor), fromOleColor(0x8000000F));
    bag.write(QStringLiteral("ForeColor"), fromOleColor(m_foreColor), fromOleColor(0x80000012));
    bag.write(QStringLiteral("Hover"), m_hover, true);
    bag.write(QStringLiteral("URL"), m_url, QString());
}

void vlHmLinkLabel::resize()
{
    if (!m_busy)
        sizeToCaption();
}

void vlHmLinkLabel::show()
{
    if (!m_busy)
        refresh();
}

} // namespace usercontrols
