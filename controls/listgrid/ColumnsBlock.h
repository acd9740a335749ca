#pragma once

#include "controls/listgrid/ColumnSettings.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The stored form of a control's columns, the binary property "Columns":
// docs/listwindow.md gives both layouts. Reading checks every count and size against
// the block's length, so that a damaged or hostile stored design is refused whole.
namespace listgrid {

inline constexpr int32_t ColumnsHeaderSize = 24;
inline constexpr int32_t ColumnRecordSize = 224;
inline constexpr int32_t PopupRecordSize = 72;
// Caption back and fore colour, in the column record's spare bytes (214 to 223).
inline constexpr int32_t CaptionColoursOffset = 214;
inline constexpr int32_t LegacyHeaderSize = 16;
inline constexpr int32_t LegacyRecordSize = 172;

// The most popup columns a column record can count.
inline constexpr int32_t MaxPopupColumns = 0xFFFF;

// The block of `columns`; empty, with the reason in `error`, when a column holds
// more than the block can store (more than MaxPopupColumns popup columns).
QByteArray writeColumnsBlock(const std::vector<ColumnSettings>& columns, QString* error = nullptr);

// Reads a block in either layout into `columns` (replaced only on success). An empty
// block gives no columns. False, with a message naming what does not fit, for a
// block that is damaged.
bool readColumnsBlock(const QByteArray& block, std::vector<ColumnSettings>& columns, QString& error);

} // namespace listgrid
