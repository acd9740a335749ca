#pragma once

#include "controls/listgrid/MemberObject.h"

#include "platform/automation/MemberTable.h"

#include <memory>

namespace listgrid {

class CListViewWnd;
class CCells;

// Views onto the rows of the outside window: nothing of a row is kept here, every
// read and write goes to the window through the wrapper.
class CItem : public MemberObject<CItem>
{
public:
    CItem(std::shared_ptr<CListViewWnd> owner, int32_t row);
    QString className() const override { return QStringLiteral("Item"); }
    static const automation::MemberTable<CItem>& members();

    int32_t row() const { return m_row; }
    const std::shared_ptr<CListViewWnd>& owner() const { return m_owner; }
    const std::shared_ptr<CCells>& cells() const { return m_cells; }

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_row;
    std::shared_ptr<CCells> m_cells;
};

class CCell : public MemberObject<CCell>
{
public:
    CCell(std::shared_ptr<CListViewWnd> owner, int32_t row, int32_t column);
    QString className() const override { return QStringLiteral("Cell"); }
    static const automation::MemberTable<CCell>& members();

    const std::shared_ptr<CListViewWnd>& owner() const { return m_owner; }
    int32_t row() const { return m_row; }
    int32_t column() const { return m_column; }
    bool m_enabled = true; // what was last set through this object
    void showPopup();

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_row;
    int32_t m_column;
};

class CCells : public MemberObject<CCells>
{
public:
    CCells(std::shared_ptr<CListViewWnd> owner, int32_t row);
    QString className() const override { return QStringLiteral("Cells"); }
    static const automation::MemberTable<CCells>& members();

    const std::shared_ptr<CListViewWnd>& owner() const { return m_owner; }
    int32_t row() const { return m_row; }

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_row;
};

class CItems : public MemberObject<CItems>
{
public:
    explicit CItems(std::shared_ptr<CListViewWnd> owner);
    QString className() const override { return QStringLiteral("Items"); }
    static const automation::MemberTable<CItems>& members();

    const std::shared_ptr<CListViewWnd>& owner() const { return m_owner; }
    basic::Variant addEx(const basic::Variant& text, const basic::Variant& param, const basic::Variant& index,
                         const basic::Variant& bitmap);
    // 0-based row of an Item or of a number from 1; -1 when none.
    int32_t resolve(const basic::Variant& index) const;

private:
    std::shared_ptr<CListViewWnd> m_owner;
};

// The list's selected rows, walked with a cursor that the window moves.
class CSelectedItems : public MemberObject<CSelectedItems>
{
public:
    explicit CSelectedItems(std::shared_ptr<CListViewWnd> owner);
    QString className() const override { return QStringLiteral("SelectedItems"); }
    static const automation::MemberTable<CSelectedItems>& members();

    const std::shared_ptr<CListViewWnd>& owner() const { return m_owner; }
    basic::Variant first();
    basic::Variant last();
    basic::Variant next();
    basic::Variant previous();
    basic::Variant current();
    bool isEof();
    bool isBof();
    basic::Variant item(const basic::Variant& index);
    void clear();

private:
    basic::Variant itemFor(int32_t row) const;

    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_cursor = 0;
};

// A new Item for a row, or Nothing for -1.
basic::Variant newItem(const std::shared_ptr<CListViewWnd>& owner, int32_t row);

} // namespace listgrid
