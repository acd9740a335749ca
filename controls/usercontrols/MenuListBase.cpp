#include "controls/usercontrols/MenuListBase.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmFrame.h"
#include "controls/usercontrols/vlHmLinkLabel.h"
#include "platform/basic/Conversions.h"
#include "platform/controlframework/Font.h"

#include <QWidget>

namespace usercontrols {

using automation::Args;
using automation::Invoke;
using basic::Variant;
using controlframework::ControlSite;
using controlframework::fromOleColor;

namespace {

constexpr int32_t OptionLeft = 120;

} // namespace

std::unique_ptr<ControlSite> embeddedLinkLabel(automation::ObjectRef label, const QString& name, QWidget* parent, bool opaque)
{
    auto site = std::make_unique<ControlSite>(std::move(label), name, parent);
    controlframework::PropertyBag design;
    design.write(QStringLiteral("Caption"), name);
    design.write(QStringLiteral("Font"), controlframework::makeFont(controlframework::FontInfo{}));
    design.write(QStringLiteral("BackStyle"), int16_t(opaque ? 1 : 0));
    design.write(QStringLiteral("Hover"), true);
    design.write(QStringLiteral("URL"), QString());
    site->load(design);
    site->setVisible(true);
    return site;
}

MenuListBase::MenuListBase(size_t items, const std::vector<int32_t>& tops) : m_lock(liveObjects()), m_items(items)
{
    m_frame = std::make_unique<ControlSite>(std::make_shared<vlHmFrame>(), QStringLiteral("vlfOptions"), widget());
    m_frame->load(controlframework::PropertyBag());
    m_frame->setVisible(true);
    for (size_t i = 0; i < items; ++i) {
        auto site = embeddedLinkLabel(std::make_shared<vlHmLinkLabel>(), QStringLiteral("vllOption(%1)").arg(i),
                                      m_frame->widget(), false);
        Args place{Variant(OptionLeft), Variant(tops.at(i))};
        call(*site, controlframework::extender::Move, place);
        site->onEvent = [this, i](automation::DispId id, const QString&, Args&) {
            if (id == linklabel::event::Click)
                optionClicked(i);
        };
        m_links.push_back(std::move(site));
    }
    widget()->setFocusPolicy(Qt::NoFocus);
}

void MenuListBase::put(const ControlSite& site, automation::DispId id, const Variant& value)
{
    Args none;
    site.object()->invoke(id, Invoke::PropertyPut, none, value);
}

void MenuListBase::call(const ControlSite& site, automation::DispId id, Args args)
{
    site.object()->invoke(id, Invoke::Method, args);
}

void MenuListBase::setTitleColor(forms::OleColor color)
{
    m_titleColor = color;
    put(*m_frame, frame::TitleColor, fromOleColor(color));
    propertyChanged(QStringLiteral("TitleColor"));
}

void MenuListBase::storeListColor(forms::OleColor color)
{
    m_listColor = color;
    put(*m_frame, frame::BackColor, fromOleColor(color));
}

void MenuListBase::setCaption(const QString& caption)
{
    m_caption = caption;
    put(*m_frame, frame::Caption, caption);
    propertyChanged(QStringLiteral("Caption"));
}

void MenuListBase::setListItemColor(forms::OleColor color)
{
    m_listItemColor = color;
    applyAltColors();
    propertyChanged(QStringLiteral("ListItemColor"));
}

void MenuListBase::setListItemAltColor(forms::OleColor color)
{
    m_listItemAltColor = color;
    applyAltColors();
    propertyChanged(QStringLiteral("ListItemAltColor"));
}

void MenuListBase::placeFrame()
{
    call(*m_frame, controlframework::extender::Move,
         {Variant(int32_t(0)), Variant(int32_t(0)), Variant(width()), Variant(height())});
}

void MenuListBase::applyAltColor(size_t element)
{
    const ControlSite& option = *m_links[element];
    put(option, linklabel::ForeColor, fromOleColor(m_items[element].bAltColor ? m_listItemAltColor : m_listItemColor));
    call(option, linklabel::Refresh);
}

void MenuListBase::applyAltColors()
{
    for (size_t i = 0; i < m_links.size(); ++i)
        applyAltColor(i);
}

void MenuListBase::setAltColor(int32_t option, bool showAltColor)
{
    udtMenuListItem& item = m_items.at(size_t(option - 1));
    item.bAltColor = showAltColor;
    applyAltColor(size_t(option - 1));
}

bool MenuListBase::selectWhere(const std::function<bool(size_t index)>& wanted)
{
    bool deselected = false;
    bool selected = false;
    for (size_t i = 0; i < m_items.size(); ++i) {
        udtMenuListItem& item = m_items[i];
        if (item.bSelected) {
            if (wanted(i))
                return false;
            item.bSelected = false;
            put(*m_links[i], linklabel::Selected, false);
            call(*m_links[i], linklabel::Refresh);
            deselected = true;
            if (selected)
                break;
        } else if (wanted(i)) {
            item.bSelected = true;
            put(*m_links[i], linklabel::Selected, true);
            call(*m_links[i], linklabel::Refresh);
            selected = true;
            if (deselected)
                break;
        }
    }
    return true;
}

void MenuListBase::initTitleAndColours()
{
    setCaption(QStringLiteral("Menu List"));
    setTitleColor(0);
    setListColor(0xFFFFFF);
    setListItemColor(0);
    setListItemAltColor(255);
}

void MenuListBase::readTitleAndColours(const controlframework::PropertyBag& bag)
{
    setCaption(readText(bag, QStringLiteral("Caption"), QStringLiteral("Menu List")));
    setTitleColor(readColor(bag, QStringLiteral("TitleColor"), 0));
    setListColor(readColor(bag, QStringLiteral("ListColor"), 0xFFFFFF));
    setListItemColor(readColor(bag, QStringLiteral("ListItemColor"), 0));
    setListItemAltColor(readColor(bag, QStringLiteral("ListItemAltColor"), 255));
}

void MenuListBase::writeTitleAndColours(controlframework::PropertyBag& bag) const
{
    bag.write(QStringLiteral("Caption"), m_caption, QStringLiteral("Menu List"));
    bag.write(QStringLiteral("TitleColor"), fromOleColor(m_titleColor), fromOleColor(0));
    bag.write(QStringLiteral("ListColor"), fromOleColor(m_listColor), fromOleColor(0xFFFFFF));
    bag.write(QStringLiteral("ListItemColor"), fromOleColor(m_listItemColor), fromOleColor(0));
    bag.write(QStringLiteral("ListItemAltColor"), fromOleColor(m_listItemAltColor), fromOleColor(255));
}

void MenuListBase::initItems()
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].bSelected = false;
        m_items[i].lID = int32_t(i + 1);
        m_items[i].sCaption = QStringLiteral("Menu Option %1").arg(i + 1);
        m_items[i].bAltColor = false;
    }
}

void MenuListBase::raiseOptionClicked(int32_t& id)
{
    Args args{Variant(id)};
    raiseEvent(menulist::event::OptionClicked, QStringLiteral("OptionClicked"), args);
    if (!args.empty())
        id = basic::CLng(args[0]);
}

} // namespace usercontrols
