#include "controls/listgrid/Items.h"

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/Enumerators.h"
#include "controls/listgrid/ListViewWnd.h"
#include "controls/listgrid/OptionalArgs.h"

#include "platform/basic/Conversions.h"

namespace listgrid {

using automation::Args;
using automation::DispId;
using automation::Invoke;
using automation::MemberTable;
using automation::optionalArg;
using basic::Variant;

Variant newItem(const std::shared_ptr<CListViewWnd>& owner, int32_t row)
{
    if (row < 0)
        return Variant::nothing();
    return Variant(basic::ObjectRef(std::make_shared<CItem>(owner, row)));
}

namespace {

// The four colour slots of a row or a cell, by their default.
using Slot = int32_t vllist::ColourQuartet::*;

template <class Self>
vllist::ColourQuartet coloursOf(Self& self);
template <>
vllist::ColourQuartet coloursOf(CItem& item) { return item.owner()->GetRowColours(item.row()); }
template <>
vllist::ColourQuartet coloursOf(CCell& cell) { return cell.owner()->GetCellColours(cell.row(), cell.column()); }

void storeColours(CItem& item, const vllist::ColourQuartet& q) { item.owner()->SetRowColours(item.row(), q); }
void storeColours(CCell& cell, const vllist::ColourQuartet& q) { cell.owner()->SetCellColours(cell.row(), cell.column(), q); }

template <class Self, Slot S, uint32_t Default>
MemberTable<Self>& colourProperty(MemberTable<Self>& t, DispId id, const char* name)
{
    return t.property(
        id, name, [](Self& self, Args&) { return Variant(coloursOf(self).*S); },
        [](Self& self, Args&, const Variant& v) {
            vllist::ColourQuartet q = coloursOf(self);
            q.*S = windowColour(uint32_t(basic::CLng(v)), Default);
            storeColours(self, q);
        });
}

template <class Self>
void colourProperties(MemberTable<Self>& t, DispId back, DispId fore, DispId highBack, DispId highFore)
{
    colourProperty<Self, &vllist::ColourQuartet::back, colours::Back>(t, back, "BackColor");
    colourProperty<Self, &vllist::ColourQuartet::fore, colours::Fore>(t, fore, "ForeColor");
    colourProperty<Self, &vllist::ColourQuartet::highlightedBack, colours::HighlightedBack>(t, highBack, "HighlightedBackColor");
    colourProperty<Self, &vllist::ColourQuartet::highlightedFore, colours::HighlightedFore>(t, highFore, "HighlightedForeColor");
}

} // namespace

const MemberTable<CItem>& CItem::members()
{
    static const MemberTable<CItem> t = [] {
        MemberTable<CItem> t;
        t.property(1, "Index", [](CItem& i, Args&) { return Variant(i.row() + 1); })
            .property(2, "Text", [](CItem& i, Args&) { return Variant(i.owner()->GetRowText(i.row())); },
                      [](CItem& i, Args&, const Variant& v) { i.owner()->SetRowText(i.row(), basic::CStr(v)); })
            .property(3, "Cells", [](CItem& i, Args&) { return Variant(basic::ObjectRef(i.cells())); })
            .property(4, "Selected", [](CItem& i, Args&) { return Variant(i.owner()->IsRowSelected(i.row())); },
                      [](CItem& i, Args&, const Variant& v) { i.owner()->SelectRow(i.row(), basic::CBool(v)); })
            // From 1, as it is set: the window numbers its images from 0 (the grid has none).
            .property(5, "Bitmap",
                      [](CItem& i, Args&) {
                          const int32_t image = i.owner()->GetRowImage(i.row());
                          return Variant(int16_t(i.owner()->isGrid() ? -1 : image + 1));
                      },
                      [](CItem& i, Args&, const Variant& v) { i.owner()->SetRowImage(i.row(), int16_t(basic::CInt(v) - 1)); })
            .property(6, "Key", [](CItem& i, Args&) { return Variant(i.owner()->GetRowKey(i.row())); },
                      [](CItem& i, Args&, const Variant& v) { i.owner()->SetRowKey(i.row(), basic::CLng(v)); });
        colourProperties(t, 7, 8, 9, 10);
        return t;
    }();
    return t;
}

const MemberTable<CCell>& CCell::members()
{
    static const MemberTable<CCell> t = [] {
        MemberTable<CCell> t;
        const auto value = [](CCell& c, Args&) { return c.owner()->GetCellValue(c.row(), c.column()); };
        const auto setValue = [](CCell& c, Args&, const Variant& v) { c.owner()->SetCellValue(c.row(), c.column(), v); };
        t.property(1, "Enabled", [](CCell& c, Args&) { return Variant(c.m_enabled); },
                   [](CCell& c, Args&, const Variant& v) {
                       c.m_enabled = basic::CBool(v);
                       c.owner()->SetCellEnabled(c.row(), c.column(), c.m_enabled);
                   })
            .property(2, "Value", value, setValue)
            .property(automation::DispIdValue, "_Value", value, setValue)
            .property(5, "Index", [](CCell& c, Args&) { return Variant(int16_t(c.column() + 1)); })
            .property(6, "Item", [](CCell& c, Args&) { return newItem(c.owner(), c.row()); })
            .method(9, "ShowPopup", [](CCell& c, Args&) { c.showPopup(); return Variant(); });
        colourProperties(t, 3, 4, 7, 8);
        return t;
    }();
    return t;
}

const MemberTable<CCells>& CCells::members()
{
    static const auto item = [](CCells& c, Args& a) {
        const auto cols = c.owner()->host() ? c.owner()->host()->columns() : nullptr;
        const int32_t column = cols ? cols->findColumn(optionalArg(a, 0)) : -1;
        if (column < 0)
            throwBadIndex(QStringLiteral("Cells"));
        return Variant(basic::ObjectRef(std::make_shared<CCell>(c.owner(), c.row(), column)));
    };
    static const auto t =
        MemberTable<CCells>()
            .property(1, "Count", [](CCells& c, Args&) { return Variant(c.owner()->ColumnCount()); })
            .property(2, "Item", item)
            .property(automation::DispIdValue, "_Item", item)
            .method(automation::DispIdNewEnum, "_NewEnum", [](CCells& c, Args&) {
                return Variant(basic::ObjectRef(std::make_shared<CEnumCells>(c.owner(), c.row())));
            });
    return t;
}

const MemberTable<CItems>& CItems::members()
{
    static const auto item = [](CItems& i, Args& a) { return newItem(i.owner(), i.resolve(optionalArg(a, 0))); };
    static const auto t =
        MemberTable<CItems>()
            .property(1, "Count", [](CItems& i, Args&) { return Variant(i.owner()->GetRowCount()); })
            .method(2, "Clear", [](CItems& i, Args&) { i.owner()->DeleteAllRows(); return Variant(); })
            .method(3, "Add",
                    [](CItems& i, Args& a) {
                        return i.addEx(optionalArg(a, 0), Variant::missing(), optionalArg(a, 1), optionalArg(a, 2));
                    })
            .method(4, "Remove",
                    [](CItems& i, Args& a) {
                        const int32_t row = i.resolve(optionalArg(a, 0));
                        if (row >= 0)
                            i.owner()->DeleteRow(row);
                        return Variant();
                    })
            .property(5, "Item", item)
            .property(automation::DispIdValue, "_Item", item)
            .method(automation::DispIdNewEnum, "_NewEnum",
                    [](CItems& i, Args&) { return Variant(basic::ObjectRef(std::make_shared<CEnumItems>(i.owner()))); })
            .method(6, "AddEx", [](CItems& i, Args& a) {
                return i.addEx(optionalArg(a, 0), optionalArg(a, 1), optionalArg(a, 2), optionalArg(a, 3));
            });
    return t;
}

const MemberTable<CSelectedItems>& CSelectedItems::members()
{
    static const auto item = [](CSelectedItems& s, Args& a) { return s.item(optionalArg(a, 0)); };
    static const auto t =
        MemberTable<CSelectedItems>()
            .property(1, "Count", [](CSelectedItems& s, Args&) { return Variant(s.owner()->GetSelectedCount()); })
            .method(2, "First", [](CSelectedItems& s, Args&) { return s.first(); })
            .method(3, "Last", [](CSelectedItems& s, Args&) { return s.last(); })
            .method(4, "Next", [](CSelectedItems& s, Args&) { return s.next(); })
            .method(5, "Previous", [](CSelectedItems& s, Args&) { return s.previous(); })
            .property(6, "CurrentItem", [](CSelectedItems& s, Args&) { return s.current(); })
            .property(7, "IsBOF", [](CSelectedItems& s, Args&) { return Variant(s.isBof()); })
            .property(8, "IsEOF", [](CSelectedItems& s, Args&) { return Variant(s.isEof()); })
            .property(9, "Item", item)
            .property(automation::DispIdValue, "_Item", item)
            .method(10, "Clear", [](CSelectedItems& s, Args&) { s.clear(); return Variant(); })
            .method(automation::DispIdNewEnum, "_NewEnum", [](CSelectedItems& s, Args&) {
                return Variant(basic::ObjectRef(std::make_shared<CEnumSelectedItems>(s.owner())));
            });
    return t;
}


// ---- Item ----

CItem::CItem(std::shared_ptr<CListViewWnd> owner, int32_t row)
    : m_owner(std::move(owner)), m_row(row), m_cells(std::make_shared<CCells>(m_owner, row))
{
}

// ---- Cell ----

CCell::CCell(std::shared_ptr<CListViewWnd> owner, int32_t row, int32_t column)
    : m_owner(std::move(owner)), m_row(row), m_column(column)
{
}

void CCell::showPopup()
{
    const auto column = m_owner->ColumnAt(m_column);
    m_owner->SetCurrentCell(m_row, m_column);
    if (column)
        column->showPopup();
}

// ---- Cells ----

CCells::CCells(std::shared_ptr<CListViewWnd> owner, int32_t row) : m_owner(std::move(owner)), m_row(row) {}

// ---- Items ----

CItems::CItems(std::shared_ptr<CListViewWnd> owner) : m_owner(std::move(owner)) {}

Variant CItems::addEx(const Variant& text, const Variant& param, const Variant& index, const Variant& bitmap)
{
    const QString rowText = optionalString(text).value_or(QString());
    const int32_t key = optionalLong(param).value_or(0);
    const int32_t wanted = optionalLong(index).value_or(-1);
    const int16_t picture = optionalInteger(bitmap).value_or(int16_t(-1));
    const int32_t rows = m_owner->GetRowCount();
    int32_t position = wanted == -1 ? -1 : wanted - 1;
    if (position > rows && rows != 0)
        position = rows - 1;
    const int16_t image = picture == -1 ? 0 : int16_t(picture - 1);
    if (m_owner->IsCreated())
        position = m_owner->InsertTextRow(position, rowText, key, image);
    return newItem(m_owner, position);
}

int32_t CItems::resolve(const Variant& index) const
{
    if (index.isObject()) {
        const auto* item = dynamic_cast<const CItem*>(index.objectValue().get());
        return item ? item->row() : -1;
    }
    const auto number = optionalLong(index);
    return number && *number >= 1 && *number <= m_owner->GetRowCount() ? *number - 1 : -1;
}

// ---- SelectedItems ----

CSelectedItems::CSelectedItems(std::shared_ptr<CListViewWnd> owner) : m_owner(std::move(owner)) {}

Variant CSelectedItems::itemFor(int32_t row) const { return newItem(m_owner, row); }
Variant CSelectedItems::first() { return itemFor(m_owner->FirstSelected(m_cursor)); }
Variant CSelectedItems::last() { return itemFor(m_owner->LastSelected(m_cursor)); }
Variant CSelectedItems::next() { return m_cursor == 0 ? first() : itemFor(m_owner->NextSelected(m_cursor)); }
Variant CSelectedItems::previous() { return m_cursor == 0 ? last() : itemFor(m_owner->PreviousSelected(m_cursor)); }
Variant CSelectedItems::current() { return m_cursor == 0 ? first() : itemFor(m_owner->CurrentSelected(m_cursor)); }

bool CSelectedItems::isEof()
{
    const int32_t saved = m_cursor;
    const bool none = next().objectValue() == nullptr;
    m_cursor = saved;
    return none;
}

bool CSelectedItems::isBof()
{
    const int32_t saved = m_cursor;
    const bool none = previous().objectValue() == nullptr;
    m_cursor = saved;
    return none;
}

Variant CSelectedItems::item(const Variant& index)
{
    const auto number = optionalLong(index);
    if (!number || *number < 1 || *number > m_owner->GetSelectedCount())
        return Variant::nothing();
    Variant found = first();
    for (int32_t i = 1; i < *number && found.objectValue(); ++i)
        found = next();
    return found;
}

void CSelectedItems::clear()
{
    if (m_owner->GetSelectedCount() < 1)
        return;
    int32_t cursor = 0;
    int32_t row = m_owner->FirstSelected(cursor);
    while (row >= 0) {
        const int32_t following = m_owner->NextSelected(cursor);
        m_owner->SelectRow(row, false);
        row = following;
    }
    m_owner->SetCurrentItemObject(nullptr);
}

} // namespace listgrid
