// The grouping file (qfm2.cfg) as the import reads it: four trimmed titles, nothing,
// or the reader's own error; the grouping built from them names only columns.
#include "fuzz/FuzzSupport.h"

#include "app/import/LayoutFiles.h"
#include "platform/basic/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzing::inputFile(data, size, "qfm2.cfg");
    try {
        const auto titles = importer::LayoutFiles::readGroupTitles(path);
        if (titles) {
            // Blanks around an item are dropped; other white space (a tab, a
            // vertical tab) is part of the title, as the file's reading has it.
            for (const QString& title : *titles)
                if (title.startsWith(QLatin1Char(' ')) || title.endsWith(QLatin1Char(' ')))
                    fuzzing::fail("a grouping title kept its blanks");
            importer::ColumnTable none{};
            const QString grouping = importer::LayoutFiles::buildGroupSpec(*titles, none);
            for (const QChar c : grouping)
                if (!c.isDigit() && c != QLatin1Char('+'))
                    fuzzing::fail("the grouping names something other than columns");
        }
    } catch (const basic::RuntimeError&) {
    }
    return 0;
}
