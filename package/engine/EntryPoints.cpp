// The four entry points of the engine library. One library file holds every
// version's class; each installed copy registers the class of the version its
// file name belongs to (all of them under any other name).
#include "package/engine/Engine.h"
#include "package/engine/EngineClasses.h"
#include "platform/automation/InprocServer.h"
#include "platform/basic/RuntimeError.h"

#include <QFileInfo>

namespace {

class EngineFactory : public automation::ClassFactory
{
public:
    explicit EngineFactory(const char* version) : m_version(QLatin1String(version)) {}
    automation::ObjectRef createInstance() override { return std::make_shared<vdo::Engine>(m_version); }

private:
    QString m_version;
};

std::vector<const vdo::EngineClass*> classesOfThisFile(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    std::vector<const vdo::EngineClass*> out;
    for (const auto& c : vdo::engineClasses)
        if (file.compare(QLatin1String(c.library), Qt::CaseInsensitive) == 0)
            out.push_back(&c);
    if (out.empty())
        for (const auto& c : vdo::engineClasses)
            out.push_back(&c);
    return out;
}

} // namespace

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    return automation::guardedEntry([] {
        const QString path = automation::libraryPathOf(reinterpret_cast<const void*>(&DllRegisterServer));
        for (const auto* c : classesOfThisFile(path))
            automation::registerClass(
                QLatin1String(c->classId), QLatin1String(c->progId), path,
                QStringLiteral("Vorlen data engine %1").arg(QLatin1String(c->versionCode)));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    return automation::guardedEntry([] {
        const QString path = automation::libraryPathOf(reinterpret_cast<const void*>(&DllRegisterServer));
        for (const auto* c : classesOfThisFile(path))
            automation::unregisterClass(QLatin1String(c->classId), QLatin1String(c->progId));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    if (!classId || !factory)
        return basic::err::Fail;
    const QString id = QString::fromUtf16(classId);
    for (const auto& c : vdo::engineClasses) {
        if (id.compare(QLatin1String(c.classId), Qt::CaseInsensitive) == 0) {
            // The library owns its factories: one per class, kept while it is loaded.
            static std::vector<std::unique_ptr<EngineFactory>> factories(vdo::engineClasses.size());
            auto& f = factories[size_t(&c - vdo::engineClasses.data())];
            if (!f)
                f = std::make_unique<EngineFactory>(c.versionCode);
            *factory = f.get();
            return 0;
        }
    }
    *factory = nullptr;
    return basic::err::ClassNotRegistered;
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow()
{
    return vdo::liveObjects() == 0 ? 0 : 1;
}
