#pragma once

#include "package/listwindow/ListMessages.h"

#include <QString>

// The storage forms of cell values (typed cell values and packed-row slots) by the
// column's SQL type: String an ANSI (Latin-1) zero-terminated text, Date a
// vldt::TimeStamp, Integer 16-bit, Long 32-bit, Single float, Double double, Bit a byte.
namespace vllist {

// True for the types stored as text (every type not named above).
bool isTextType(int16_t sqlType);
// Single and Double: their cells keep the value whole, the display rounds it.
bool isFloatingType(int16_t sqlType);
// What a cell shows of its stored text: a Single or Double number with the column's
// decimal places, any other text as it is.
QString displayText(const ColumnDefinition& column, const QString& stored);
// The bytes of one slot of a packed row of this column (a String adds its zero).
int32_t slotSize(const ColumnDefinition& column);
// The cell's text from a value in storage form of `size` bytes at most.
QString textFromStorage(const ColumnDefinition& column, const void* data, int32_t size);
// Writes the cell's text in storage form, at most `size` bytes (a text is cut to
// fit with its terminating zero); a text that does not read as the type gives 0.
void storageFromText(const ColumnDefinition& column, const QString& text, void* data, int32_t size);

} // namespace vllist
