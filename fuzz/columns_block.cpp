// The list and grid's stored "Columns" block: any bytes are read or refused with a
// reason; columns read write a block that reads back to the same block.
#include "fuzz/FuzzSupport.h"

#include "controls/listgrid/ColumnsBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::ensureGuiApplication();
    std::vector<listgrid::ColumnSettings> columns;
    QString error;
    if (!listgrid::readColumnsBlock(fuzzing::bytesOf(data, size), columns, error)) {
        if (error.isEmpty())
            fuzzing::fail("a block refused without a reason");
        return 0;
    }
    QString writeError;
    const QByteArray written = listgrid::writeColumnsBlock(columns, &writeError);
    if (!writeError.isEmpty())
        return 0; // more than the block can hold: refused when saving
    std::vector<listgrid::ColumnSettings> again;
    if (!listgrid::readColumnsBlock(written, again, error))
        fuzzing::fail("a written block is refused when read back");
    if (listgrid::writeColumnsBlock(again) != written)
        fuzzing::fail("columns changed between two writes");
    return 0;
}
