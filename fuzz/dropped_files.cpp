// The dropped-files block: any bytes give names that each fit the name buffer, or
// a refusal with a reason; the names read make a block that reads back the same.
#include "fuzz/FuzzSupport.h"

#include "controls/listgrid/DataTransfer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const listgrid::FileList read = listgrid::readFileListBlock(fuzzing::bytesOf(data, size));
    if (!read.error.isEmpty())
        return 0;
    for (const QString& name : read.files)
        if (name.isEmpty() || name.size() >= listgrid::MaxPathChars)
            fuzzing::fail("a dropped name outside the name buffer");
    const listgrid::FileList again = listgrid::readFileListBlock(listgrid::fileListBlock(read.files));
    if (!again.error.isEmpty() || again.files != read.files)
        fuzzing::fail("dropped names changed on a second reading");
    return 0;
}
