// The column layout file (qfm.cfg) as the import reads it: any file gives a layout
// whose positions stay within the line's columns, or the reader's own error.
#include "fuzz/FuzzSupport.h"

#include "app/import/LayoutSlots.h"
#include "app/import/LayoutFiles.h"
#include "platform/basic/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzing::inputFile(data, size, "qfm.cfg");
    try {
        const importer::ImportLayout layout = importer::LayoutFiles::readColumnLayout(path);
        if (layout.lastCol < 0 || layout.lastCol > importer::MaxColumns)
            fuzzing::fail("last column outside the line");
        for (const auto position : layout.colPos)
            if (position < 0 || position > importer::MaxColumns)
                fuzzing::fail("a column position outside the line");
    } catch (const basic::RuntimeError&) {
    }
    return 0;
}
