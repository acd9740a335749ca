#pragma once

#include "controls/usercontrols/Identities.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/controlframework/Control.h"
#include "platform/controlframework/ControlSite.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// What the two menu lists share: a titled frame of this library filling the
// control, with a column of link labels of this library on its body, both reached
// only through their members by DISPID; the options' records; the colours; the
// selection scan and the alternate text colours.
namespace usercontrols {

class MenuListBase : public controlframework::Control
{
public:
    forms::OleColor titleColor() const { return m_titleColor; }
    void setTitleColor(forms::OleColor color);
    forms::OleColor listColor() const { return m_listColor; }
    virtual void setListColor(forms::OleColor color) = 0;
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    forms::OleColor listItemColor() const { return m_listItemColor; }
    void setListItemColor(forms::OleColor color);
    forms::OleColor listItemAltColor() const { return m_listItemAltColor; }
    void setListItemAltColor(forms::OleColor color);

    const udtMenuListItem& item(int32_t option) const { return m_items.at(size_t(option - 1)); }
    int32_t itemCount() const { return int32_t(m_items.size()); }
    // The embedded controls' sites (their object() answers extender and members).
    const controlframework::ControlSite& frameSite() const { return *m_frame; }
    const controlframework::ControlSite& optionSite(int32_t element) const { return *m_links.at(size_t(element)); }

protected:
    // `items` options, element i at `tops[i]` on the frame's body.
    MenuListBase(size_t items, const std::vector<int32_t>& tops);

    // Calls on an embedded control by DISPID.
    static void put(const controlframework::ControlSite& site, automation::DispId id, const basic::Variant& value);
    static void call(const controlframework::ControlSite& site, automation::DispId id, automation::Args args = {});

    // The frame's BackColor = the list colour (the sub-option follows it too).
    void storeListColor(forms::OleColor color);
    // The frame fills the control.
    void placeFrame();
    // Element `element`'s text colour from its item's alternate mark, and Refresh.
    void applyAltColor(size_t element);
    void applyAltColors();
    // SetAltColor for an option already checked to be shown.
    void setAltColor(int32_t option, bool showAltColor);

    // The selection scan: items that `wanted` names get selected, the one selected
    // before is deselected, and the scan stops once both happened. False (and
    // nothing changed) when the first wanted item met is the selected one.
    bool selectWhere(const std::function<bool(size_t index)>& wanted);
    // OptionClicked with `id` by reference.
    void raiseOptionClicked(int32_t& id);

    // Caption, TitleColor, ListColor, ListItemColor and ListItemAltColor, in this
    // order: InitProperties' values through the setters, read from the bag through
    // them, and written.
    void initTitleAndColours();
    void readTitleAndColours(const controlframework::PropertyBag& bag);
    void writeTitleAndColours(controlframework::PropertyBag& bag) const;
    // Items 1 to n of a newly placed control: ID i, "Menu Option i", no marks.
    void initItems();

    // An option element was clicked (after its own HyperJump and empty jump).
    virtual void optionClicked(size_t element) = 0;

    automation::LibraryLock m_lock;
    std::unique_ptr<controlframework::ControlSite> m_frame;
    std::vector<std::unique_ptr<controlframework::ControlSite>> m_links;
    std::vector<udtMenuListItem> m_items;
    forms::OleColor m_titleColor = 0;
    forms::OleColor m_listColor = 0xFFFFFF;
    forms::OleColor m_listItemColor = 0;
    forms::OleColor m_listItemAltColor = 255;
    QString m_caption;
    bool m_layoutBusy = false;
};

// The DISPIDs of the five members both menu lists declare, in their order.
struct TitleAndColourIds
{
    automation::DispId titleColor, listColor, caption, listItemColor, listItemAltColor;
};

// Adds TitleColor, ListColor, Caption, ListItemColor and ListItemAltColor (get, let)
// to a menu list's member table.
template <class M>
automation::MemberTable<M> titleAndColours(automation::MemberTable<M> t, const TitleAndColourIds& ids)
{
    using automation::Args;
    using basic::Variant;
    using controlframework::fromOleColor;
    using controlframework::toOleColor;
    t.property(ids.titleColor, "TitleColor", [](M& m, Args&) { return fromOleColor(m.titleColor()); },
               [](M& m, Args&, const Variant& v) { m.setTitleColor(toOleColor(v)); })
        .property(ids.listColor, "ListColor", [](M& m, Args&) { return fromOleColor(m.listColor()); },
                  [](M& m, Args&, const Variant& v) { m.setListColor(toOleColor(v)); })
        .property(ids.caption, "Caption", [](M& m, Args&) { return Variant(m.caption()); },
                  [](M& m, Args&, const Variant& v) { m.setCaption(basic::CStr(v)); })
        .property(ids.listItemColor, "ListItemColor", [](M& m, Args&) { return fromOleColor(m.listItemColor()); },
                  [](M& m, Args&, const Variant& v) { m.setListItemColor(toOleColor(v)); })
        .property(ids.listItemAltColor, "ListItemAltColor", [](M& m, Args&) { return fromOleColor(m.listItemAltColor()); },
                  [](M& m, Args&, const Variant& v) { m.setListItemAltColor(toOleColor(v)); });
    return t;
}

// An embedded link label of the menu lists: transparent unless told otherwise,
// Hover on, no URL, MS Sans Serif 8.25.
std::unique_ptr<controlframework::ControlSite> embeddedLinkLabel(automation::ObjectRef label, const QString& name,
                                                                 QWidget* parent, bool opaque);

} // namespace usercontrols
