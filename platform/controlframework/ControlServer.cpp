#include "platform/controlframework/ControlServer.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"

namespace controlframework {

using registry::Hive;

namespace {

const QString Classes = QStringLiteral("Software\\Classes\\");

// The hive automation::registerClass writes into.
Hive registrationHive()
{
    return registry::hiveWritable(Hive::LocalMachine) ? Hive::LocalMachine : Hive::CurrentUser;
}

void setValue(Hive hive, const QString& path, const QString& name, const QString& text)
{
    std::optional<registry::Key> key;
    registry::Status status = registry::createKey(hive, path, key);
    if (status == registry::Success)
        status = key->setValue(name, registry::Value::fromString(text));
    if (status != registry::Success)
        throw basic::RuntimeError(basic::err::Fail, QStringLiteral("Unable to write \"%1\": %2")
                                                        .arg(path, registry::statusText(status, hive)));
}

void removeKey(Hive hive, const QString& path)
{
    const registry::Status status = registry::deleteKey(hive, path);
    if (status != registry::Success && status != registry::FileNotFound)
        throw basic::RuntimeError(basic::err::Fail, QStringLiteral("Unable to delete \"%1\": %2")
                                                        .arg(path, registry::statusText(status, hive)));
}

QString versionText(const TypeLibrary& library)
{
    return QStringLiteral("%1.%2").arg(library.major).arg(library.minor);
}

} // namespace

std::vector<automation::ServedClass> servedControlClasses(std::span<const ControlClass> classes)
{
    std::vector<automation::ServedClass> served;
    for (const ControlClass& c : classes)
        if (c.create)
            served.push_back({c.classId, c.progId, c.name, c.create});
    return served;
}

int32_t registerControlLibrary(std::span<const ControlClass> classes, const TypeLibrary& library,
                               const void* anchor)
{
    const auto served = servedControlClasses(classes);
    if (const int32_t status = automation::registerServedClasses(served, anchor); status != 0)
        return status;
    const int32_t status = automation::guardedEntry([&] {
        const Hive hive = registrationHive();
        const QString path = automation::libraryPathOf(anchor);
        const QString libId = QLatin1String(library.libId);
        const QString version = versionText(library);
        for (const ControlClass& c : classes) {
            if (!c.create)
                continue;
            const QString key = Classes + QStringLiteral("CLSID\\") + QLatin1String(c.classId);
            setValue(hive, key + QStringLiteral("\\Control"), {}, {});
            setValue(hive, key + QStringLiteral("\\MiscStatus"), {}, QStringLiteral("0"));
            setValue(hive, key + QStringLiteral("\\MiscStatus\\1"), {}, QString::number(c.miscStatus));
            setValue(hive, key + QStringLiteral("\\ToolboxBitmap32"), {},
                     QStringLiteral("%1, %2").arg(path).arg(c.toolboxBitmap));
            setValue(hive, key + QStringLiteral("\\TypeLib"), {}, libId);
            setValue(hive, key + QStringLiteral("\\Version"), {}, version);
            setValue(hive, key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"),
                     QStringLiteral("Apartment"));
            const QString name = QLatin1String(c.name);
            for (const auto& [iid, interfaceName] : {std::pair{c.defaultInterface, QLatin1Char('_') + name},
                                                     std::pair{c.eventInterface, QStringLiteral("__") + name}}) {
                const QString iface = Classes + QStringLiteral("Interface\\") + QLatin1String(iid);
                setValue(hive, iface, {}, interfaceName);
                setValue(hive, iface + QStringLiteral("\\TypeLib"), {}, libId);
                setValue(hive, iface + QStringLiteral("\\TypeLib"), QStringLiteral("Version"), version);
            }
        }
        const QString lib = Classes + QStringLiteral("TypeLib\\") + libId + QLatin1Char('\\') + version;
        setValue(hive, lib, {}, QLatin1String(library.description));
        setValue(hive, lib + QStringLiteral("\\0\\lib"), {}, path);
    });
    // Half a registration would offer classes a host cannot place: take it all back.
    if (status != 0)
        unregisterControlLibrary(classes, library);
    return status;
}

int32_t unregisterControlLibrary(std::span<const ControlClass> classes, const TypeLibrary& library)
{
    const auto served = servedControlClasses(classes);
    if (const int32_t status = automation::unregisterServedClasses(served); status != 0)
        return status;
    return automation::guardedEntry([&] {
        for (const Hive hive : {Hive::LocalMachine, Hive::CurrentUser}) {
            if (!registry::hiveWritable(hive))
                continue;
            for (const ControlClass& c : classes) {
                if (!c.create)
                    continue;
                removeKey(hive, Classes + QStringLiteral("Interface\\") + QLatin1String(c.defaultInterface));
                removeKey(hive, Classes + QStringLiteral("Interface\\") + QLatin1String(c.eventInterface));
            }
            removeKey(hive, Classes + QStringLiteral("TypeLib\\") + QLatin1String(library.libId));
        }
    });
}

} // namespace controlframework
