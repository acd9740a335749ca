#include "controls/listgrid/Registration.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"

#include <QFileInfo>

namespace listgrid {

namespace {

using registry::Hive;

struct RegisteredClass
{
    const char* classId;
    const char* progId;
    const char* userTypeName;
    int toolboxBitmap; // 0 for a property page
};

const RegisteredClass classes[] = {
    {ListControlClassId, ListControlProgId, "Vorlen List Control", 1},
    {GridControlClassId, GridControlProgId, "Vorlen Grid Control", 2},
    {ListPageClassId, ListPageProgId, "Vorlen List Property Page", 0},
    {GridPageClassId, GridPageProgId, "Vorlen Grid Property Page", 0},
    {ColumnsPageClassId, ColumnsPageProgId, "VLOList Columns Property Page", 0},
};

const struct
{
    const char* id;
    const char* description;
} categories[] = {
    {SafeForScriptingCategory, "Controls that are safely scriptable"},
    {SafeForInitializingCategory, "Controls safely initializable from persistent data"},
};

Hive writableHive() { return registry::hiveWritable(Hive::LocalMachine) ? Hive::LocalMachine : Hive::CurrentUser; }

bool setValue(const QString& path, const QString& name, const QString& value)
{
    std::optional<registry::Key> key;
    return registry::createKey(writableHive(), path, key) == registry::Success &&
           key->setValue(name, registry::Value::fromString(value)) == registry::Success;
}

QString classKey(const char* classId) { return QStringLiteral("Software\\Classes\\CLSID\\") + QLatin1String(classId); }
QString typeLibKey() { return QStringLiteral("Software\\Classes\\TypeLib\\") + QLatin1String(TypeLibraryId); }

bool registerTypeLibrary(const QString& libraryPath)
{
    const QString version = typeLibKey() + QStringLiteral("\\1.0");
    return setValue(version, {}, QLatin1String(TypeLibraryName)) &&
           setValue(version + QStringLiteral("\\0\\linux"), {}, libraryPath) &&
           setValue(version + QStringLiteral("\\FLAGS"), {}, QStringLiteral("0")) &&
           setValue(version + QStringLiteral("\\HELPDIR"), {}, QFileInfo(libraryPath).absolutePath()) &&
           setValue(version + QStringLiteral("\\HELPFILE"), {}, QLatin1String(TypeLibraryHelpFile));
}

bool registerOneClass(const RegisteredClass& c, const QString& libraryPath)
{
    try {
        automation::registerClass(QLatin1String(c.classId), QLatin1String(c.progId), libraryPath,
                                  QLatin1String(c.userTypeName));
    } catch (const basic::RuntimeError&) {
        return false;
    }
    const QString key = classKey(c.classId);
    bool ok = setValue(key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"), QStringLiteral("Apartment"));
    if (c.toolboxBitmap == 0)
        return ok;
    return ok && setValue(key + QStringLiteral("\\Control"), {}, {}) &&
           setValue(key + QStringLiteral("\\MiscStatus"), {}, QStringLiteral("0")) &&
           setValue(key + QStringLiteral("\\MiscStatus\\1"), {}, QString::number(ControlMiscStatus)) &&
           setValue(key + QStringLiteral("\\ToolboxBitmap32"), {}, QStringLiteral("%1, %2").arg(libraryPath).arg(c.toolboxBitmap)) &&
           setValue(key + QStringLiteral("\\TypeLib"), {}, QLatin1String(TypeLibraryId)) &&
           setValue(key + QStringLiteral("\\Version"), {}, QStringLiteral("1.0"));
}

bool registerCategory(const char* id, const char* description)
{
    // Locale 1033 ("409"), the description cut to 127 characters.
    return setValue(QStringLiteral("Software\\Classes\\Component Categories\\") + QLatin1String(id), QStringLiteral("409"),
                    QString::fromLatin1(description).left(127));
}

bool markImplemented(const char* classId, const char* categoryId)
{
    std::optional<registry::Key> key;
    return registry::createKey(writableHive(),
                               classKey(classId) + QStringLiteral("\\Implemented Categories\\") + QLatin1String(categoryId),
                               key) == registry::Success;
}

} // namespace

int32_t registerLibrary(const QString& libraryPath)
{
    if (libraryPath.isEmpty() || !registerTypeLibrary(libraryPath))
        return SelfRegTypeLibError;
    for (const auto& c : classes)
        if (!registerOneClass(c, libraryPath))
            return SelfRegClassError;
    for (const auto& category : categories)
        if (!registerCategory(category.id, category.description))
            return SelfRegClassError;
    for (const char* control : {ListControlClassId, GridControlClassId})
        for (const auto& category : categories)
            if (!markImplemented(control, category.id))
                return SelfRegClassError;
    return 0;
}

int32_t unregisterLibrary()
{
    const Hive hive = writableHive();
    const registry::Status status = registry::deleteKey(hive, typeLibKey());
    if (status != registry::Success && status != registry::FileNotFound)
        return SelfRegTypeLibError;
    try {
        for (const auto& c : classes) {
            // The categories the controls implement stay registered.
            std::optional<registry::Key> implemented;
            const bool keepCategories =
                registry::openKey(hive, classKey(c.classId) + QStringLiteral("\\Implemented Categories"),
                                  registry::Access::Read, implemented) == registry::Success;
            automation::unregisterClass(QLatin1String(c.classId), QLatin1String(c.progId));
            if (keepCategories)
                for (const auto& category : categories)
                    markImplemented(c.classId, category.id);
        }
    } catch (const basic::RuntimeError&) {
        return SelfRegClassError;
    }
    return 0;
}

} // namespace listgrid
