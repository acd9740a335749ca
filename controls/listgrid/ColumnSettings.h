#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace listgrid {

// enum DataType
enum ColumnDataType : int16_t {
    lstDataString = 0, lstDataLong = 1, lstDataInteger = 2, lstDataDouble = 3, lstDataSingle = 4,
    lstDataDate = 5, lstDataBit = 6,
};
// enum ControlType
enum ColumnControlType : int16_t {
    lstCtlEdit = 0, lstCtlNumeric = 1, lstCtlCalculator = 2, lstCtlDate = 3, lstCtlPopup = 4,
    lstCtlComboBox = 5,
};

// The longest value a column holds: the window keeps MaxLength + 1 in 16 bits and
// sizes its cell buffers from it.
inline constexpr int32_t MaxColumnLength = 32767;
inline constexpr int16_t DataTypeCount = 7;
inline constexpr int16_t ControlTypeCount = 6;

// Every setting of one column that the control keeps and stores.
struct ColumnSettings
{
    QString key;
    QString caption = QStringLiteral("Column");
    int16_t dataType = lstDataString;
    int16_t maxLength = 32;
    int16_t decimalPlaces = 2;
    QString dataField;
    int16_t controlType = lstCtlEdit;
    int16_t width = 16;
    int16_t captionAlignment = 0;
    int16_t columnAlignment = 0;
    bool visible = true;
    bool enabled = true;
    bool allowMove = false;
    bool allowSelect = false;
    bool allowSize = false;
    bool autoSize = false;
    bool fixed = false;
    int16_t sort = 0;
    int32_t controlStyle = 0;
    uint32_t backColor = 0x80000005u;
    uint32_t foreColor = 0x80000008u;
    uint32_t highlightedBackColor = 0x8000000Du;
    uint32_t highlightedForeColor = 0x8000000Eu;
    uint32_t captionBackColor = 0x8000000Fu;
    uint32_t captionForeColor = 0x80000008u;
    QStringList popupFields; // DataField of each popup column, in order

    friend bool operator==(const ColumnSettings&, const ColumnSettings&) = default;
};

} // namespace listgrid
