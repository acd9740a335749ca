#pragma once

#include <QString>

// The library's string table: the captions, tab names and list entries of the
// property pages and the property browser, by their numbers.
namespace listgrid {

// The string of that number; empty for a number the table does not have.
QString resourceString(int id);

namespace strings {
inline constexpr int ListPageCaption = 200, GridPageCaption = 201, FirstListStyle = 202, FirstAppearance = 206,
                     ColumnsPageCaption = 208, GeneralTab = 209, AdvancedTab = 210, DataTab = 211,
                     FirstSelectStyle = 212, None = 215, FirstBorderStyle = 216, ControlTab = 218, PagedData = 219;
} // namespace strings

} // namespace listgrid
