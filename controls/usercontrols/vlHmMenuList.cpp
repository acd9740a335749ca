#include "controls/usercontrols/vlHmMenuList.h"

#include "controls/usercontrols/ControlSupport.h"
#include "controls/usercontrols/MemberIds.h"
#include "platform/basic/Conversions.h"

namespace usercontrols {

using automation::Args;
using basic::Variant;
using controlframework::fromOleColor;
using controlframework::toOleColor;

namespace {

constexpr int32_t FirstTop = 540;
constexpr int32_t Pitch = 300;
constexpr int32_t BottomMargin = 30;

std::vector<int32_t> optionTops()
{
    std::vector<int32_t> tops;
    for (int32_t i = 0; i < vlHmMenuList::MaxOptions; ++i)
        tops.push_back(FirstTop + i * Pitch);
    return tops;
}

} // namespace

vlHmMenuList::vlHmMenuList() : WithMembers(MaxOptions, optionTops())
{
    setExtent(2400, 1800);
}

const automation::MemberTable<vlHmMenuList>& vlHmMenuList::table()
{
    using M = vlHmMenuList;
    static const auto t = titleAndColours(
        automation::MemberTable<vlHmMenuList>()
            .property(menulist::AutoSize, "AutoSize", [](M& m, Args&) { return Variant(m.m_autoSize); },
                      [](M& m, Args&, const Variant& v) { m.setAutoSize(basic::CBool(v)); }),
        {menulist::TitleColor, menulist::ListColor, menulist::Caption, menulist::ListItemColor, menulist::ListItemAltColor})
        .property(menulist::Options, "Options", [](M& m, Args&) { return Variant(m.m_options); },
                  [](M& m, Args&, const Variant& v) { m.setOptions(basic::CLng(v)); })
        .method(menulist::SetOption, "SetOption", [](M& m, Args& a) {
            m.setOption(basic::CLng(argument(a, 0)), basic::CStr(argument(a, 1)), basic::CLng(argument(a, 2)));
            return Variant();
        })
        .method(menulist::DrawOptions, "DrawOptions", [](M& m, Args&) { m.drawOptions(); return Variant(); })
        .method(menulist::SetAltColor, "SetAltColor", [](M& m, Args& a) {
            m.setAltColor(basic::CLng(argument(a, 0)), basic::CBool(argument(a, 1)));
            return Variant();
        })
        .method(menulist::SelectOption, "SelectOption", [](M& m, Args& a) {
            m.selectOption(basic::CLng(argument(a, 0)));
            return Variant();
        })
        .method(menulist::SelectOptionbyID, "SelectOptionbyID", [](M& m, Args& a) {
            Variant& arg = argument(a, 0);
            int32_t id = basic::CLng(arg);
            m.selectOptionById(id);
            arg = Variant(id);
            return Variant();
        });
    return t;
}

void vlHmMenuList::setAutoSize(bool autoSize)
{
    // Takes effect at the next Resize.
    m_autoSize = autoSize;
    propertyChanged(QStringLiteral("AutoSize"));
}

void vlHmMenuList::setListColor(forms::OleColor color)
{
    storeListColor(color);
    propertyChanged(QStringLiteral("ListColor"));
}

void vlHmMenuList::setOptions(int32_t options)
{
    m_options = options < 0 ? 1 : options;
    drawOptions();
    propertyChanged(QStringLiteral("Options"));
}

void vlHmMenuList::setOption(int32_t option, const QString& caption, int32_t id)
{
    storeOption(std::span<udtMenuListItem>(m_items), option, caption, id);
    put(*m_links[size_t(option - 1)], linklabel::Caption, caption);
}

void vlHmMenuList::drawOptions()
{
    for (size_t i = 0; i < m_links.size(); ++i) {
        const controlframework::ControlSite& option = *m_links[i];
        if (int32_t(i) + 1 > m_options) {
            put(option, linklabel::Enabled, false);
            put(option, controlframework::extender::Visible, false);
        } else {
            put(option, linklabel::Caption, m_items[i].sCaption);
            put(option, linklabel::Enabled, true);
            put(option, controlframework::extender::Visible, true);
            put(option, linklabel::Selected, m_items[i].bSelected);
        }
    }
    layout();
}

void vlHmMenuList::setAltColor(int32_t option, bool showAltColor)
{
    if (option < 1 || option > m_options)
        return;
    checkOptionNumber(option, MaxOptions);
    MenuListBase::setAltColor(option, showAltColor);
}

void vlHmMenuList::selectOption(int32_t option)
{
    // Checked first: a failed selection changes nothing.
    checkOptionNumber(option, MaxOptions);
    if (!selectWhere([option](size_t i) { return int32_t(i) + 1 == option; }))
        return;
    raiseOptionClicked(m_items[size_t(option - 1)].lID);
}

void vlHmMenuList::selectOptionById(int32_t& id)
{
    const int32_t wanted = id;
    if (!selectWhere([this, wanted](size_t i) { return m_items[i].lID == wanted; }))
        return;
    raiseOptionClicked(id);
}

void vlHmMenuList::optionClicked(size_t element)
{
    selectOption(int32_t(element) + 1);
}

void vlHmMenuList::initProperties()
{
    initTitleAndColours();
    initItems();
    m_items[0].bSelected = true;
    setOptions(1);
}

void vlHmMenuList::readProperties(const controlframework::PropertyBag& bag)
{
    readItems(bag, std::span<udtMenuListItem>(m_items));
    m_items[0].bSelected = true;
    setOptions(readLong(bag, QStringLiteral("Options"), 1));
    readTitleAndColours(bag);
    setAutoSize(readBool(bag, QStringLiteral("AutoSize"), true));
}

void vlHmMenuList::writeProperties(controlframework::PropertyBag& bag) const
{
    writeItems(bag, std::span<const udtMenuListItem>(m_items));
    bag.write(QStringLiteral("Options"), m_options, int32_t(1));
    writeTitleAndColours(bag);
    bag.write(QStringLiteral("AutoSize"), m_autoSize, true);
}

void vlHmMenuList::resize()
{
    layout();
}

void vlHmMenuList::layout()
{
    controlframework::LayoutGuard guard(m_layoutBusy);
    if (!guard)
        return;
    if (m_autoSize)
        setExtent(width(), m_options * Pitch + FirstTop + BottomMargin);
    placeFrame();
}

} // namespace usercontrols
