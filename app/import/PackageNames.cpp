#include "app/import/PackageNames.h"

#include "platform/automation/Object.h"

#include <QHash>

#include <unordered_map>
#include <unordered_set>

namespace importer {

const QString& packageName(const char* name)
{
    static std::unordered_set<QString> canonical;
    static std::unordered_map<const char*, const QString*> names;
    auto it = names.find(name);
    if (it == names.end())
        it = names.emplace(name, &*canonical.insert(QString::fromLatin1(name).toUpper()).first).first;
    return *it->second;
}

int32_t MemberId::of(const basic::ObjectRef& object)
{
    for (auto it = m_ids.begin(); it != m_ids.end();) {
        const basic::ObjectRef known = it->first.lock();
        if (!known) {
            it = m_ids.erase(it); // gone: a new object may take its address
            continue;
        }
        if (known == object)
            return it->second;
        ++it;
    }
    const int32_t id = object->idOfName(packageName(m_member));
    m_ids.emplace_back(object, id);
    return id;
}

} // namespace importer
