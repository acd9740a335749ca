#include "controls/listgrid/Enumerators.h"

#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListViewWnd.h"

#include "platform/automation/MemberTable.h"

namespace listgrid {

int32_t CEnum::Next(uint32_t count, std::vector<basic::Variant>& elements)
{
    elements.clear();
    basic::Variant element;
    while (elements.size() < count && next(element)) {
        elements.push_back(element);
        element = {};
    }
    return elements.size() == count ? S_Ok : S_False;
}

int32_t CEnum::Skip(uint32_t count)
{
    basic::Variant element;
    uint32_t skipped = 0;
    while (skipped < count && next(element))
        ++skipped;
    return skipped == count ? S_Ok : S_False;
}

QString CEnum::className() const { return QStringLiteral("IEnumVARIANT"); }
automation::DispId CEnum::idOfName(const QString& name) const { automation::throwUnknownName(name); }
basic::Variant CEnum::invoke(automation::DispId id, automation::Invoke, automation::Args&, const basic::Variant&)
{
    automation::throwMemberNotFound(id);
}

CEnumItems::CEnumItems(std::shared_ptr<CListViewWnd> owner, int32_t position)
    : m_owner(std::move(owner)), m_position(position)
{
}

bool CEnumItems::next(basic::Variant& element)
{
    if (m_position >= m_owner->GetRowCount())
        return false;
    element = newItem(m_owner, m_position++);
    return true;
}

std::shared_ptr<CEnum> CEnumItems::Clone() const { return std::make_shared<CEnumItems>(m_owner, m_position); }

CEnumCells::CEnumCells(std::shared_ptr<CListViewWnd> owner, int32_t row, int16_t position)
    : m_owner(std::move(owner)), m_row(row), m_position(position)
{
}

bool CEnumCells::next(basic::Variant& element)
{
    if (m_position >= m_owner->ColumnCount())
        return false;
    element = basic::ObjectRef(std::make_shared<CCell>(m_owner, m_row, m_position++));
    return true;
}

std::shared_ptr<CEnum> CEnumCells::Clone() const { return std::make_shared<CEnumCells>(m_owner, m_row, m_position); }

CEnumSelectedItems::CEnumSelectedItems(std::shared_ptr<CListViewWnd> owner, int32_t cursor)
    : m_owner(std::move(owner)), m_cursor(cursor)
{
}

bool CEnumSelectedItems::next(basic::Variant& element)
{
    const int32_t row = m_cursor == 0 ? m_owner->FirstSelected(m_cursor) : m_owner->NextSelected(m_cursor);
    if (row < 0)
        return false;
    element = newItem(m_owner, row);
    return true;
}

std::shared_ptr<CEnum> CEnumSelectedItems::Clone() const
{
    return std::make_shared<CEnumSelectedItems>(m_owner, m_cursor);
}

} // namespace listgrid
