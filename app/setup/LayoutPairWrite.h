#pragma once

#include "app/import/LayoutFiles.h"

#include "platform/basic/RuntimeError.h"

#include <QString>

#include <array>

// Writes the column file and the grouping file of a layout (or of a template) as
// one unit: after the call both files are the new ones, or, when it raises, both
// are what they were before.
namespace setup {

// A write that failed, and on which file of the pair: 1 the column file, 2 the
// grouping file. Neither file has changed.
class LayoutWriteError : public basic::RuntimeError
{
public:
    LayoutWriteError(int file, const basic::RuntimeError& error) : basic::RuntimeError(error), m_file(file) {}
    int file() const { return m_file; }

private:
    int m_file;
};

// Both files are first written in full beside their targets (through the layout
// files' own writer, under a temporary template name), then renamed over them,
// column file first. Should the second rename fail, the column file is put back
// from a copy kept for that moment. Only when that too fails does the error name
// the copy, so the user can put it back by hand. Raises LayoutWriteError.
void writeLayoutPair(const QString& folder, const std::array<QString, importer::SlotCount>& columns,
                     const importer::GroupTitles& groups, const QString& templateName = {});

} // namespace setup
