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

    // Parses a hive file's bytes. On failure returns null and says why in `error`;
    // a hive that cannot be parsed whole is never half-read.
    static std::unique_ptr<HiveNode> parse(const QByteArray& bytes, QString& error);
    static QByteArray serialize(const HiveNode& root);
};

} // namespace registry
