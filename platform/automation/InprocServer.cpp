#include "platform/automation/InprocServer.h"

#include <QString>

#include <map>
#include <memory>

namespace automation {

namespace {

class ServedClassFactory : public ClassFactory
{
public:
    explicit ServedClassFactory(ObjectRef (*create)()) : m_create(create) {}
    ObjectRef createInstance() override { return m_create(); }

private:
    ObjectRef (*m_create)();
};

} // namespace

int32_t registerServedClasses(std::span<const ServedClass> classes, const void* anchor)
{
    return guardedEntry([&] {
        const QString path = libraryPathOf(anchor);
        for (const auto& c : classes)
            registerClass(QLatin1String(c.classId), QLatin1String(c.progId), path,
                          QLatin1String(c.description));
    });
}

int32_t unregisterServedClasses(std::span<const ServedClass> classes)
{
    return guardedEntry([&] {
        for (const auto& c : classes)
            unregisterClass(QLatin1String(c.classId), QLatin1String(c.progId));
    });
}

int32_t getServedClassObject(std::span<const ServedClass> classes, const char16_t* classId,
                             ClassFactory** factory)
{
    if (!factory)
        return basic::err::Fail;
    *factory = nullptr;
    if (!classId)
        return ClassNotAvailable;
    const QString id = QString::fromUtf16(classId);
    for (const auto& c : classes) {
        if (id.compare(QLatin1String(c.classId), Qt::CaseInsensitive) != 0)
            continue;
        static std::map<const ServedClass*, std::unique_ptr<ServedClassFactory>> factories;
        auto& f = factories[&c];
        if (!f)
            f = std::make_unique<ServedClassFactory>(c.create);
        *factory = f.get();
        return 0;
    }
    return ClassNotAvailable;
}

} // namespace automation
