#pragma once

#include "app/import/LayoutSlots.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The two layout files "qfm.cfg" (one column title per line) and "qfm2.cfg" (four
// grouping titles), their templates, and the rules by which the import and the
// layout editor read them back.
namespace importer {

// Slot k's column is element k; element 0 stays 0 (an unmapped slot reads column 0).
using ColumnTable = std::array<int16_t, SlotCount + 1>;
using GroupTitles = std::array<QString, 4>;

struct ImportLayout
{
    ColumnTable colPos{};
    int16_t lastCol = 0;        // position of the last recognised title; 0 = no layout
    bool taxCodeMapped = false; // "Global-Tax Code" is in the layout
};

struct EditorLayout
{
    std::array<QString, SlotCount> columns; // column box i, as read
    GroupTitles groups;                     // grouping box j, as read
};

class LayoutFiles
{
public:
    static constexpr const char* ColumnFileName = "qfm.cfg";
    static constexpr const char* GroupFileName = "qfm2.cfg";

    // The configuration folder: the setting "pellmoorconfigdir" without outer blanks.
    static QString configFolder();
    // folder & "\" & templateName & file name; nothing adds or removes a backslash.
    static QString columnFilePath(const QString& folder, const QString& templateName = {});
    static QString groupFilePath(const QString& folder, const QString& templateName = {});

    // The import's reading of the column file. Titles past column 54 are ignored,
    // since no import line carries such a column. Raises 53 when the file is missing.
    static ImportLayout readColumnLayout(const QString& path);
    // The import's reading of the grouping file: nullopt when the file is empty (the
    // previous titles stay), else exactly four trimmed items. Raises 53 when the file
    // is missing and 62 when it holds fewer than four items.
    static std::optional<GroupTitles> readGroupTitles(const QString& path);
    // The grouping columns joined by "+": "2+4". Titles that may not group, and empty
    // ones, add nothing; a grouping title missing from the layout adds column 0.
    static QString buildGroupSpec(const GroupTitles& titles, const ColumnTable& colPos);

    // The editor's reading: up to 54 and up to 4 items, as read. Raises 53 when a
    // file is missing.
    static EditorLayout readForEditor(const QString& folder, const QString& templateName = {});
    // Writes the column file, then the grouping file (template name in front of both
    // file names when given; the name is trimmed). Each file is replaced whole or
    // not at all; a failure on the second leaves the first written.
    static void write(const QString& folder, const std::array<QString, SlotCount>& columns,
                      const GroupTitles& groups, const QString& templateName = {});
};

} // namespace importer
