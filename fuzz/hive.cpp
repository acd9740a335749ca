// The settings hive's parser: any bytes give a tree or an error, never a crash; a
// tree parsed is written within the writer's bounds, and what is written reads back
// to the same bytes when written again.
#include "fuzz/FuzzSupport.h"

#include "platform/registry/HiveFormat.h"

using registry::HiveFormat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const auto tree = HiveFormat::parse(fuzzing::bytesOf(data, size), error);
    if (!tree)
        return 0;
    const QByteArray written = HiveFormat::serialize(*tree, error);
    if (written.isEmpty())
        return 0; // a tree the writer refuses (beyond its bounds) is refused whole
    if (written.size() > HiveFormat::MaxHiveBytes)
        fuzzing::fail("a hive written past its size bound");
    const auto again = HiveFormat::parse(written, error);
    if (!again)
        fuzzing::fail("a written hive is refused by the reader");
    if (HiveFormat::serialize(*again, error) != written)
        fuzzing::fail("a hive changed between two writes");
    return 0;
}
