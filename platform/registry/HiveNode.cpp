#include "platform/registry/HiveNode.h"

namespace registry {

const HiveNode* HiveNode::child(const QString& childName) const
{
    const auto it = children.find(fold(childName));
    return it == children.end() ? nullptr : it->second.get();
}

HiveNode* HiveNode::child(const QString& childName)
{
    const auto it = children.find(fold(childName));
    return it == children.end() ? nullptr : it->second.get();
}

HiveNode& HiveNode::ensureChild(const QString& childName)
{
    auto& slot = children[fold(childName)];
    if (!slot) {
        slot = std::make_unique<HiveNode>();
        slot->name = childName;
    }
    return *slot;
}

} // namespace registry
