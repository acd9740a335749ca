#pragma once

#include "app/import/LayoutSlots.h"

#include "platform/basic/FileIO.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

// The one reader of import-file lines and the one maker of document keys, shared
// by both stages so that they see the same fields and the same document breaks.
namespace importer {

class ImportContext;

using LineFieldArray = std::array<QString, MaxColumns + 1>;

// Splits at every comma (quotes protect nothing), drops every double quote and trims
// blanks from each field. Fields past the 54th are dropped; element 0 stays empty.
void splitImportLine(const QString& line, LineFieldArray& fields);
// Every comma of the line, inside double quotes too.
int32_t countCommas(const QString& line);

// Whether the first line of the import file is a heading line that both stages skip
// (setting "ImportHeaders" read as a number: "1" and "01" skip it). Both stages ask
// here, so that their rows never disagree.
bool headingLineSkipped();

// The longest line of an import file: a longer one raises 14 (out of string space)
// as soon as it is read that far, so a file of one endless line never fills memory.
constexpr qsizetype MaxImportLineLength = 1024 * 1024;

// Opens the import file for reading. A byte-order mark at its start (a spreadsheet's
// "CSV UTF-8" export has one) is passed over, so no check and no field sees it.
// A batch import refuses a link (`refuseLinks`): batch mode never follows one.
// Lines are bounded by MaxImportLineLength.
std::unique_ptr<basic::SequentialFile> openImportFile(const QString& path, bool refuseLinks = false);
// No bytes at all, or nothing but a byte-order mark. Raises 53 when it is missing.
bool importFileIsEmpty(const QString& path);

// Reads the next line of the open import file into LineFields. Raises 62 past the end.
void ReadImportLine(ImportContext& context);

// The document key of the current line: the grouping fields in GroupSpec order
// joined with nothing between them. Raises 13 when GroupSpec holds an empty column
// number (no grouping columns, or a trailing "+").
void BuildGroupKey(ImportContext& context, QString& key);
void AppendGroupKey(ImportContext& context, QString& key);

// The key by which documents are told apart: the same fields with a comma between
// them, which no field can hold, so "AB"+"C" and "A"+"BC" stay different.
QString groupCompareKey(ImportContext& context);

} // namespace importer
