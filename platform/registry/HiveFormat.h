#pragma once

#include "platform/registry/HiveNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace registry {

// The hive file format: an indented JSON document with a format marker and a
// version, keys nested under "keys" and values under "values" (see docs/registry.md).
class HiveFormat
{
public:
    static constexpr const char* Marker = "quillar-registry-hive";
    static constexpr int Version = 1;

    // Bounds that the reader and the writers share, so that nothing is written that
    // the next read refuses, and no file makes a read hold without limit.
    static constexpr qsizetype MaxKeyNameLength = 255;
    static constexpr qsizetype MaxValueNameLength = 16383;
    static constexpr qint64 MaxHiveBytes = 16 * 1024 * 1024; // the whole file
    static constexpr qsizetype MaxValueLength = 1024 * 1024; // characters of a string, bytes of a binary
    static constexpr int MaxKeyDepth = 256;                  // key names in a path below the root

    // Whether a value's data is within MaxValueLength.
    static bool valueFits(const Value& value);

    // Parses a hive file's bytes. On failure returns null and says why in `error`;
    // a hive that cannot be parsed whole is never half-read.
    static std::unique_ptr<HiveNode> parse(const QByteArray& bytes, QString& error);
    // The file's bytes; a tree that breaks a bound above gives an empty array and
    // says why in `error`.
    static QByteArray serialize(const HiveNode& root, QString& error);
};

} // namespace registry
