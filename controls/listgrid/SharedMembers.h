#pragma once

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListGridControl.h"

#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

// The members the list and the grid control share, each under the DISPID its class
// gives it, and the stock members both have.
namespace listgrid {

struct SharedIds
{
    automation::DispId visibleItems, alternateItems, alternateColours, pagedCount, autoRedraw, dataSource,
        columns, items, oleDragMode, oleDropMode;
};

template <class T>
void addSharedMembers(automation::MemberTable<T>& t, const SharedIds& ids)
{
    using automation::Args;
    using basic::Variant;
    static const char* const colourNames[] = {"AlternateBackColor", "AlternateForeColor",
                                              "AlternateHighlightedBackColor", "AlternateHighlightedForeColor"};
    t.property(ids.visibleItems, "VisibleItems", [](T& c, Args&) { return Variant(c.visibleItems()); },
               [](T& c, Args&, const Variant& v) { c.setVisibleItems(basic::CLng(v)); })
        .property(ids.alternateItems, "AlternateItems", [](T& c, Args&) { return Variant(c.alternateItems()); },
                  [](T& c, Args&, const Variant& v) { c.setAlternateItems(basic::CInt(v)); });
    t.property(ids.alternateColours, colourNames[0],
               [](T& c, Args&) { return controlframework::fromOleColor(c.alternateColour(0)); },
               [](T& c, Args&, const Variant& v) { c.setAlternateColour(0, controlframework::toOleColor(v)); })
        .property(ids.alternateColours + 1, colourNames[1],
                  [](T& c, Args&) { return controlframework::fromOleColor(c.alternateColour(1)); },
                  [](T& c, Args&, const Variant& v) { c.setAlternateColour(1, controlframework::toOleColor(v)); })
        .property(ids.alternateColours + 2, colourNames[2],
                  [](T& c, Args&) { return controlframework::fromOleColor(c.alternateColour(2)); },
                  [](T& c, Args&, const Variant& v) { c.setAlternateColour(2, controlframework::toOleColor(v)); })
        .property(ids.alternateColours + 3, colourNames[3],
                  [](T& c, Args&) { return controlframework::fromOleColor(c.alternateColour(3)); },
                  [](T& c, Args&, const Variant& v) { c.setAlternateColour(3, controlframework::toOleColor(v)); });
    t.property(ids.pagedCount, "PagedCount", [](T& c, Args&) { return Variant(c.pagedCount()); },
               [](T& c, Args&, const Variant& v) { c.setPagedCount(basic::CLng(v)); })
        .property(ids.autoRedraw, "AutoRedraw", [](T& c, Args&) { return Variant(c.isAutoRedraw()); },
                  [](T& c, Args&, const Variant& v) { c.setAutoRedraw(basic::CBool(v)); })
        .property(ids.dataSource, "DataSource", [](T& c, Args&) { return c.dataSource(); },
                  [](T& c, Args&, const Variant& v) { c.setDataSource(v); })
        // Columns is also the default member; its name answers its own DISPID.
        .property(automation::DispIdValue, "Columns", [](T& c, Args&) { return Variant(basic::ObjectRef(c.columns())); })
        .property(ids.columns, "Columns", [](T& c, Args&) { return Variant(basic::ObjectRef(c.columns())); })
        .property(ids.items, "Items", [](T& c, Args&) { return Variant(basic::ObjectRef(c.items())); })
        .property(ids.oleDragMode, "OLEDragMode", [](T& c, Args&) { return Variant(c.oleDragMode()); },
                  [](T& c, Args&, const Variant& v) { c.setOleDragMode(basic::CInt(v)); })
        .property(ids.oleDropMode, "OLEDropMode", [](T& c, Args&) { return Variant(c.oleDropMode()); },
                  [](T& c, Args&, const Variant& v) { c.setOleDropMode(basic::CInt(v)); });
    // Stock members.
    t.property(-520, "Appearance", [](T& c, Args&) { return Variant(c.appearance()); },
               [](T& c, Args&, const Variant& v) { c.setAppearance(basic::CInt(v)); })
        .property(-504, "BorderStyle", [](T& c, Args&) { return Variant(c.borderStyle()); },
                  [](T& c, Args&, const Variant& v) { c.setBorderStyle(basic::CInt(v)); })
        .property(-512, "Font", [](T& c, Args&) { return controlframework::makeFont(c.font()); },
                  [](T& c, Args&, const Variant& v) {
                      const auto font = controlframework::fontOf(v);
                      if (!font)
                          throw basic::RuntimeError(basic::err::TypeMismatch);
                      c.setFont(*font);
                  })
        .property(-515, "hWnd", [](T& c, Args&) { return Variant(c.controlId()); })
        .property(-514, "Enabled", [](T& c, Args&) { return Variant(c.widget() && c.widget()->isEnabled()); },
                  [](T& c, Args&, const Variant& v) { c.setEnabled(basic::CBool(v)); })
        .method(-550, "Refresh", [](T& c, Args&) { return Variant(c.refresh()); })
        .property(-521, "MousePointer", [](T& c, Args&) { return Variant(c.mousePointerValue()); },
                  [](T& c, Args&, const Variant& v) { c.setMousePointerValue(basic::CLng(v)); })
        .method(-552, "AboutBox", [](T&, Args&) { return Variant(); });
}

// A Boolean property kept in a member of the control, whose change runs `changed`.
template <class T, bool T::*member>
void addFlag(automation::MemberTable<T>& t, automation::DispId id, const char* name)
{
    t.property(id, name, [](T& c, automation::Args&) { return basic::Variant(c.*member); },
               [](T& c, automation::Args&, const basic::Variant& v) { c.setStyleFlag(member, basic::CBool(v)); });
}

} // namespace listgrid
