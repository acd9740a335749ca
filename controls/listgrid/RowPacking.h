#pragma once

#include "package/datacontrol/DataControlInterface.h"

#include <QVariant>

#include <vector>

// A bound record in the outside window's packed-row form: one slot per column, in
// the order of Columns, each the storage form of the column's SQL type
// (docs/listwindow.md), sized as the window sizes it.
namespace listgrid {

class CColumns;

// The row buffer of these columns, zeroed; empty when there are no columns or no bytes.
std::vector<char> rowBuffer(const CColumns& columns);
// Fills the slot of every column with a DataField from the record's field of that
// (dotted) name, converted to the column's data type; a column without a field, a
// field not found and a value that is empty or does not convert keep their zeros.
void packRecord(const CColumns& columns, vldata::FieldLayout& layout, std::vector<char>& row);
// One slot from a value, for a column of `dataType` (enum DataType).
void packValue(const QVariant& value, int16_t dataType, char* slot, int32_t size);

} // namespace listgrid
