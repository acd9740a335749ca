// The import file's reader: every line of any file is read within the line bound
// and split into fields, or the read ends in the reader's own error.
#include "fuzz/FuzzSupport.h"

#include "app/import/ImportLine.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzing::inputFile(data, size, "import.csv");
    try {
        auto file = importer::openImportFile(path, true);
        importer::LineFieldArray fields{};
        while (!file->eof()) {
            const QString line = file->lineInput();
            if (line.size() > importer::MaxImportLineLength)
                fuzzing::fail("a line longer than the bound was held");
            importer::splitImportLine(line, fields);
            (void)importer::countCommas(line);
        }
    } catch (const basic::RuntimeError&) {
        // The reader's own error: what the import reports for such a file.
    }
    return 0;
}
