#include "controls/usercontrols/vlHmOptionList.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"

#include <QWidget>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::DragState;
using controlframework::Element;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t Margin = 30;
constexpr int32_t TitleInset = 180;
constexpr int32_t OptionLeft = 360;
constexpr int32_t OptionHeight = 195;
constexpr int32_t FirstOptionGap = 240;
constexpr int32_t OptionPitch = 300;

} // namespace

vlHmOptionList::vlHmOptionList()
    : m_lock(liveObjects()),
      m_shpOptions(addShape(QStringLiteral("shpOptions"))),
      m_lblCaption(addLabel(QStringLiteral("lblCaption"))),
      m_imgCursor(addImage(QStringLiteral("imgCursor")))
{
    setBackColor(forms::systemOleColor(forms::SystemColor::Window));
    setOpaque(true);

    m_shpOptions.setKind(controlframework::ShapeKind::RoundedRectangle);
    m_shpOptions.setFilled(true);
    m_shpOptions.setBorderWidth(2);
    m_shpOptions.setFillColor(m_listColor);
    m_shpOptions.setBorderColor(m_borderColor);
    m_shpOptions.move(Margin, Margin, 2400 - 2 * Margin, 1665 - 2 * Margin);

    controlframework::FontInfo bold;
    bold.bold = true;
    m_lblCaption.setOpaque(false);
    m_lblCaption.setWordWrap(true);
    m_lblCaption.move(TitleInset, TitleInset, m_shpOptions.width() - TitleInset, OptionHeight);
    m_lblCaption.setAutoSize(true);
    m_lblCaption.setFont(bold);

    for (size_t i = 0; i < m_lblOption.size(); ++i) {
        controlframework::Label& option = addLabel(QStringLiteral("lblOption(%1)").arg(i));
        option.setOpaque(false);
        option.move(OptionLeft, 0, 0, OptionHeight);
        option.setAutoSize(true);
        option.onMouseMove = [this, i] {
            m_lblOption[i]->beginDrag();
            if (!m_items[i].bHovering) {
                m_items[i].bHovering = true;
                showOptionHover(i);
            }
        };
        option.onDragOver = [this, i](Element*, DragState state) {
            if (state != DragState::Leave)
                return;
            m_lblOption[i]->endDrag();
            if (m_items[i].bHovering) {
                m_items[i].bHovering = false;
                showOptionHover(i);
            }
        };
        // Only the option itself dropped on itself is its click.
        option.onDragDrop = [this, i](Element* source) {
            if (source == m_lblOption[i])
                optionClicked(i);
        };
        option.onClick = [this, i] { optionClicked(i); };
        m_lblOption[i] = &option;
    }

    // A copy of the hand the pointer shows; no code uses it.
    m_imgCursor.setPicture(controlframework::pointingHandCursor(HandHotSpot).pixmap());
    m_imgCursor.move(OptionLeft, 4860);

    widget()->setFocusPolicy(Qt::NoFocus);
    setExtent(2400, 1665);
}

const automation::MemberTable<vlHmOptionList>& vlHmOptionList::table()
{
    using O = vlHmOptionList;
    static const auto t = automation::MemberTable<vlHmOptionList>()
        .property(optionlist::AutoSize, "AutoSize", [](O& o, Args&) { return Variant(o.m_autoSize); },
                  [](O& o, Args&, const Variant& v) { o.setAutoSize(basic::CBool(v)); })
        .property(optionlist::BorderColor, "BorderColor", [](O& o, Args&) { return fromOleColor(o.m_borderColor); },
                  [](O& o, Args&, const Variant& v) { o.setBorderColor(toOleColor(v)); })
        .property(optionlist::ListColor, "ListColor", [](O& o, Args&) { return fromOleColor(o.m_listColor); },
                  [](O& o, Args&, const Variant& v) { o.setListColor(toOleColor(v)); })
        .property(optionlist::ListItemColor, "ListItemColor", [](O& o, Args&) { return fromOleColor(o.m_listItemColor); },
                  [](O& o, Args&, const Variant& v) { o.setListItemColor(toOleColor(v)); })
        .property(optionlist::Caption, "Caption", [](O& o, Args&) { return Variant(o.m_caption); },
                  [](O& o, Args&, const Variant& v) { o.setCaption(basic::CStr(v)); })
        .property(optionlist::Options, "Options", [](O& o, Args&) { return Variant(o.m_options); },
                  [](O& o, Args&, const Variant& v) { o.setOptions(basic::CLng(v)); })
        .method(optionlist::SetOption, "SetOption", [](O& o, Args& a) {
            o.setOption(basic::CLng(argument(a, 0)), basic::CStr(argument(a, 1)), basic::CLng(argument(a, 2)));
            return Variant();
        })
        .method(optionlist::DrawOptions, "DrawOptions", [](O& o, Args&) { o.drawOptions(); return Variant(); });
    return t;
}

void vlHmOptionList::setAutoSize(bool autoSize)
{
    // Takes effect at the next Resize.
    m_autoSize = autoSize;
    propertyChanged(QStringLiteral("AutoSize"));
}

void vlHmOptionList::setBorderColor(forms::OleColor color)
{
    m_borderColor = color;
    m_shpOptions.setBorderColor(color);
    propertyChanged(QStringLiteral("BorderColor"));
}

void vlHmOptionList::setListColor(forms::OleColor color)
{
    m_listColor = color;
    m_shpOptions.setFillColor(color);
    m_shpOptions.refresh();
    propertyChanged(QStringLiteral("ListColor"));
}

void vlHmOptionList::setListItemColor(forms::OleColor color)
{
    m_listItemColor = color;
    applyListItemColor();
    propertyChanged(QStringLiteral("ListItemColor"));
}

void vlHmOptionList::setCaption(const QString& caption)
{
    m_caption = caption;
    m_lblCaption.setCaption(caption);
    m_lblCaption.setWidth(m_shpOptions.width() - TitleInset);
    positionOptions();
    layout();
    propertyChanged(QStringLiteral("Caption"));
}

void vlHmOptionList::setOptions(int32_t options)
{
    m_options = options < 0 ? 1 : options;
    drawOptions();
    propertyChanged(QStringLiteral("Options"));
}

void vlHmOptionList::setOption(int32_t option, const QString& caption, int32_t id)
{
    storeOption(std::span<udtOptionListItem>(m_items), option, caption, id);
    m_lblOption[size_t(option - 1)]->setCaption(caption);
}

void vlHmOptionList::drawOptions()
{
    for (size_t i = 0; i < m_lblOption.size(); ++i) {
        controlframework::Label& option = *m_lblOption[i];
        if (int32_t(i) + 1 > m_options) {
            option.setEnabled(false);
            option.setVisible(false);
        } else {
            option.setCaption(m_items[i].sCaption);
            option.setEnabled(true);
            option.setVisible(true);
        }
    }
    layout();
}

void vlHmOptionList::positionOptions()
{
    for (size_t i = 0; i < m_lblOption.size(); ++i)
        m_lblOption[i]->setTop(m_lblCaption.height() + FirstOptionGap + int32_t(i) * OptionPitch);
}

void vlHmOptionList::applyListItemColor()
{
    for (controlframework::Label* option : m_lblOption)
        option->setForeColor(m_listItemColor);
}

void vlHmOptionList::showOptionHover(size_t i)
{
    controlframework::FontInfo font = m_lblOption[i]->font();
    font.underline = m_items[i].bHovering;
    m_lblOption[i]->setFont(font);
    m_lblOption[i]->refresh();
}

void vlHmOptionList::optionClicked(size_t i)
{
    // The handler's lOptionID is the item's ID itself.
    Args id{Variant(m_items[i].lID)};
    raiseEvent(optionlist::event::OptionClicked, QStringLiteral("OptionClicked"), id);
    if (!id.empty())
        m_items[i].lID = basic::CLng(id[0]);
}

void vlHmOptionList::initialize()
{
    const QCursor hand = controlframework::pointingHandCursor(HandHotSpot);
    setMouseIcon(hand);
    for (controlframework::Label* option : m_lblOption)
        option->setDragIcon(hand);
}

void vlHmOptionList::initProperties()
{
    setAutoSize(true);
    setCaption(QStringLiteral("Option List"));
    setBorderColor(0);
    setListColor(0xE0E0E0);
    setListItemColor(0);
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].lID = int32_t(i + 1);
        m_items[i].sCaption = QStringLiteral("Menu Option %1").arg(i + 1);
    }
    setOptions(4);
}

void vlHmOptionList::readProperties(const controlframework::PropertyBag& bag)
{
    readItems(bag, std::span<udtOptionListItem>(m_items));
    setOptions(readLong(bag, QStringLiteral("Options"), 4));
    setCaption(readText(bag, QStringLiteral("Caption"), QStringLiteral("Menu List")));
    setBorderColor(readColor(bag, QStringLiteral("BorderColor"), 0));
    setListColor(readColor(bag, QStringLiteral("ListColor"), 0xE0E0E0));
    setListItemColor(readColor(bag, QStringLiteral("ListItemColor"), 0));
    setAutoSize(readBool(bag, QStringLiteral("AutoSize"), true));
}

void vlHmOptionList::writeProperties(controlframework::PropertyBag& bag) const
{
    writeItems(bag, std::span<const udtOptionListItem>(m_items));
    bag.write(QStringLiteral("Options"), m_options, int32_t(4));
    bag.write(QStringLiteral("Caption"), m_caption, QStringLiteral("Menu List"));
    bag.write(QStringLiteral("BorderColor"), fromOleColor(m_borderColor), fromOleColor(0));
    bag.write(QStringLiteral("ListColor"), fromOleColor(m_listColor), fromOleColor(0xE0E0E0));
    bag.write(QStringLiteral("ListItemColor"), fromOleColor(m_listItemColor), fromOleColor(0));
    bag.write(QStringLiteral("AutoSize"), m_autoSize, true);
}

void vlHmOptionList::resize()
{
    layout();
}

void vlHmOptionList::layout()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    if (m_autoSize) {
        const int32_t titleHeight = m_lblCaption.height();
        const int32_t h = m_options != 0 ? titleHeight + FirstOptionGap + m_options * OptionPitch + Margin
                                         : titleHeight + FirstOptionGap + 3 * Margin;
        setExtent(width(), h);
    }
    // The title takes the box's width from before this layout.
    m_lblCaption.setWidth(m_shpOptions.width() - TitleInset);
    m_shpOptions.move(Margin, Margin, width() - 2 * Margin, height() - 2 * Margin);
    m_shpOptions.refresh();
    repaint();
}

} // namespace usercontrols
