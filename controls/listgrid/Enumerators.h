#pragma once

#include "controls/listgrid/LibraryState.h"

#include "platform/automation/Object.h"

#include <functional>
#include <memory>
#include <vector>

namespace listgrid {

class CListViewWnd;

inline constexpr int32_t S_Ok = 0;
inline constexpr int32_t S_False = 1;

// The enumerators behind _NewEnum: For Each walks them through automation::
// Enumerator; Next of many, Skip, Reset and Clone keep their enumerator results.
class CEnum : public automation::Enumerator, protected LibraryObject
{
public:
    // Up to `count` elements: S_Ok when all were delivered, S_False otherwise.
    int32_t Next(uint32_t count, std::vector<basic::Variant>& elements);
    int32_t Skip(uint32_t count);
    void Reset() { reset(); }
    virtual std::shared_ptr<CEnum> Clone() const = 0;

    QString className() const override;
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override;
};

// A new Item per row, 0 to the row count - 1.
class CEnumItems : public CEnum
{
public:
    explicit CEnumItems(std::shared_ptr<CListViewWnd> owner, int32_t position = 0);
    bool next(basic::Variant& element) override;
    void reset() override { m_position = 0; }
    std::shared_ptr<CEnum> Clone() const override;

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_position;
};

// A new Cell per column of one row.
class CEnumCells : public CEnum
{
public:
    CEnumCells(std::shared_ptr<CListViewWnd> owner, int32_t row, int16_t position = 0);
    bool next(basic::Variant& element) override;
    void reset() override { m_position = 0; }
    std::shared_ptr<CEnum> Clone() const override;

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_row;
    int16_t m_position;
};

// The selected rows, first to last, with a cursor of its own (0 = before the first).
class CEnumSelectedItems : public CEnum
{
public:
    explicit CEnumSelectedItems(std::shared_ptr<CListViewWnd> owner, int32_t cursor = 0);
    bool next(basic::Variant& element) override;
    void reset() override { m_cursor = 0; }
    std::shared_ptr<CEnum> Clone() const override;

private:
    std::shared_ptr<CListViewWnd> m_owner;
    int32_t m_cursor;
};

// The objects of a collection's own array (not a copy), each with a new reference;
// holds the collection, so the array outlives the enumerator.
template <class T>
class CEnumVariant : public CEnum
{
public:
    using Array = std::vector<std::shared_ptr<T>>;
    CEnumVariant(std::shared_ptr<automation::Object> collection, const Array& array, size_t position = 0)
        : m_collection(std::move(collection)), m_array(array), m_position(position)
    {
    }
    bool next(basic::Variant& element) override
    {
        while (m_position < m_array.size()) {
            const auto& object = m_array[m_position++];
            if (object) {
                element = basic::ObjectRef(object);
                return true;
            }
        }
        return false;
    }
    void reset() override { m_position = 0; }
    std::shared_ptr<CEnum> Clone() const override
    {
        return std::make_shared<CEnumVariant>(m_collection, m_array, m_position);
    }

private:
    std::shared_ptr<automation::Object> m_collection;
    const Array& m_array;
    size_t m_position;
};

} // namespace listgrid
