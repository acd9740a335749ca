#include "controls/usercontrols/vlHmMenuListSub.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmLinkLabel.h"
#include "platform/basic/Conversions.h"

#include <QWidget>

#include <array>

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t Height = 1770;
constexpr int32_t SubOptionSpace = 600;
constexpr int32_t SubOptionLeft = 300;

const std::array<const char*, 4> Captions = {"Incoming Messages", "Processed Items", "Outgoing Messages", "Sent Items"};
const std::vector<int32_t> DesignTops = {540, 1440, 1740, 2040};

} // namespace

vlHmMenuListSub::vlHmMenuListSub() : WithMembers(MaxOptions, DesignTops)
{
    for (size_t i = 0; i < m_links.size(); ++i)
        put(*m_links[i], linklabel::Caption, QString::fromLatin1(Captions[i]));
    // On the control itself, in front of the frame.
    m_subOption = embeddedLinkLabel(std::make_shared<vlHmLinkLabelMultiLine>(), QStringLiteral("vllSubOption"), widget(), true);
    put(*m_subOption, linklabel::Caption, QStringLiteral("Collect Messages"));
    call(*m_subOption, controlframework::extender::Move, {Variant(SubOptionLeft), Variant(int32_t(840))});
    m_subOption->widget()->raise();
    m_subOption->onEvent = [this](automation::DispId id, const QString&, Args&) {
        if (id == linklabel::event::Click)
            subOptionClicked();
    };
    setExtent(2400, Height);
}

const automation::MemberTable<vlHmMenuListSub>& vlHmMenuListSub::table()
{
    using M = vlHmMenuListSub;
    static const auto t = titleAndColours(automation::MemberTable<vlHmMenuListSub>(),
                                          {menulistsub::TitleColor, menulistsub::ListColor, menulistsub::Caption,
                                           menulistsub::ListItemColor, menulistsub::ListItemAltColor})
        .method(menulistsub::SetAltColor, "SetAltColor", [](M& m, Args& a) {
            m.setAltColor(basic::CLng(argument(a, 0)), basic::CBool(argument(a, 1)));
            return Variant();
        })
        .method(menulistsub::SelectOption, "SelectOption", [](M& m, Args& a) {
            m.selectOption(basic::CLng(argument(a, 0)));
            return Variant();
        });
    return t;
}

void vlHmMenuListSub::setListColor(forms::OleColor color)
{
    storeListColor(color);
    put(*m_subOption, linklabel::BackColor, fromOleColor(color));
    propertyChanged(QStringLiteral("ListColor"));
}

void vlHmMenuListSub::setAltColor(int32_t option, bool showAltColor)
{
    if (option < 1 || option > MaxOptions)
        return;
    MenuListBase::setAltColor(option, showAltColor);
}

void vlHmMenuListSub::arrange(int32_t option)
{
    // The sub-option stands right under the option it belongs to and pushes the
    // options below it down.
    struct Arrangement
    {
        std::array<int32_t, 3> tops; // elements 1 to 3
        int32_t subTop;
        const char* subCaption;
    };
    static const Arrangement underFirst{{1440, 1740, 2040}, 840, "Collect Incoming Messages"};
    static const Arrangement underThird{{840, 1140, 2040}, 1440, "Collect Messages from Accounts"};
    static const Arrangement without{{840, 1140, 1440}, 0, nullptr};
    const Arrangement& a = option == 1 ? underFirst : option == 3 ? underThird : without;
    for (size_t i = 0; i < a.tops.size(); ++i)
        put(*m_links[i + 1], controlframework::extender::Top, a.tops[i]);
    if (a.subCaption) {
        put(*m_subOption, controlframework::extender::Top, a.subTop);
        put(*m_subOption, linklabel::Caption, QString::fromLatin1(a.subCaption));
        put(*m_subOption, controlframework::extender::Visible, true);
    } else {
        put(*m_subOption, controlframework::extender::Visible, false);
    }
}

void vlHmMenuListSub::selectOption(int32_t option)
{
    // Checked first: a failed selection changes nothing.
    checkOptionNumber(option, MaxOptions);
    arrange(option);
    if (!selectWhere([option](size_t i) { return int32_t(i) + 1 == option; }))
        return;
    layout();
    raiseOptionClicked(m_items[size_t(option - 1)].lID);
}

void vlHmMenuListSub::optionClicked(size_t element)
{
    selectOption(int32_t(element) + 1);
}

void vlHmMenuListSub::subOptionClicked()
{
    Args which{Variant(int32_t(m_items[0].bSelected ? 1 : 2))};
    raiseEvent(menulistsub::event::SubOptionClicked, QStringLiteral("SubOptionClicked"), which);
}

void vlHmMenuListSub::initProperties()
{
    initTitleAndColours();
    initItems();
}

void vlHmMenuListSub::readProperties(const controlframework::PropertyBag& bag)
{
    readItems(bag, std::span<udtMenuListItem>(m_items));
    readTitleAndColours(bag);
}

void vlHmMenuListSub::writeProperties(controlframework::PropertyBag& bag) const
{
    writeItems(bag, std::span<const udtMenuListItem>(m_items));
    writeTitleAndColours(bag);
}

void vlHmMenuListSub::resize()
{
    layout();
}

void vlHmMenuListSub::layout()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    const bool withSubOption = m_items[0].bSelected || m_items[2].bSelected;
    setExtent(width(), Height + (withSubOption ? SubOptionSpace : 0));
    placeFrame();
}

} // namespace usercontrols
