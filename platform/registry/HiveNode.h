#pragma once

#include "platform/registry/RegistryStore.h"

#include <QString>

#include <map>
#include <memory>

namespace registry {

// One key of a hive in memory. Children and values are indexed by their case-folded
// name and keep the spelling they were created with.
struct HiveNode
{
    struct NamedValue
    {
        QString name;
        Value value;
    };

    QString name;
    std::map<QString, NamedValue> values;
    std::map<QString, std::unique_ptr<HiveNode>> children;

    static QString fold(const QString& name) { return name.toCaseFolded(); }

    const HiveNode* child(const QString& name) const;
    HiveNode* child(const QString& name);
    // The child of that name, created with this spelling when missing.
    HiveNode& ensureChild(const QString& name);
};

} // namespace registry
