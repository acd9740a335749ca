#pragma once

#include "package/engine/EngineSupport.h"

namespace vdo {

// One field of a record, header or item: Value (the default member) and Name.
class Field : public automation::Object
{
    VDO_OBJECT(Field)
public:
    Field(FieldValuesRef values, int index) : m_values(std::move(values)), m_index(index) {}

private:
    FieldValuesRef m_values;
    int m_index;
};

// The Fields collection: Item(name or 1-based index) and Count.
class Fields : public automation::Object
{
    VDO_OBJECT(Fields)
public:
    explicit Fields(FieldValuesRef values) : m_values(std::move(values)) {}

private:
    Variant item(const Args& a);
    FieldValuesRef m_values;
};

} // namespace vdo
