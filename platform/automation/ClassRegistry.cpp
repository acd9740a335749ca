#include "platform/automation/ClassRegistry.h"

#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <dlfcn.h>

#include <mutex>
#include <optional>
#include <vector>

namespace automation {

ClassFactory::~ClassFactory() = default;

namespace {

using registry::Hive;

const QString ClassesKey = QStringLiteral("Software\\Classes");

QString classKey(const QString& classId)
{
    return ClassesKey + QStringLiteral("\\CLSID\\") + classId;
}

QString progIdKey(const QString& progId)
{
    return ClassesKey + QLatin1Char('\\') + progId;
}

// A ProgID: letters, digits and dots, not starting with a digit or dot (Program.Component.Version).
bool isProgId(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]{0,38}$"));
    return re.match(text).hasMatch();
}

// The default value of a key, or an empty optional when the key or its value is missing.
std::optional<QString> defaultValue(Hive hive, const QString& path)
{
    std::optional<registry::Key> key;
    if (registry::openKey(hive, path, registry::Access::Read, key) != registry::Success)
        return std::nullopt;
    registry::Value value;
    if (key->queryValue(QString(), value) != registry::Success || value.type != registry::ValueType::String)
        return std::nullopt;
    return value.string;
}

// Looks a key's default value up the way the class registry does: user hive first.
std::optional<QString> lookUp(const QString& path)
{
    for (const Hive hive : {Hive::CurrentUser, Hive::LocalMachine})
        if (auto found = defaultValue(hive, path); found && !found->isEmpty())
            return found;
    return std::nullopt;
}

[[noreturn]] void cantCreate(const QString& name, const QString& reason)
{
    throw basic::RuntimeError(
        basic::err::CantCreateObject,
        QStringLiteral("ActiveX component can't create object: %1 (%2)").arg(name, reason));
}

[[noreturn]] void registrationFailed(const QString& what, registry::Status status, Hive hive)
{
    throw basic::RuntimeError(basic::err::Fail,
                              QStringLiteral("%1: %2").arg(what, registry::statusText(status, hive)));
}

void setDefault(Hive hive, const QString& path, const QString& text)
{
    std::optional<registry::Key> key;
    registry::Status status = registry::createKey(hive, path, key);
    if (status == registry::Success)
        status = key->setValue(QString(), registry::Value::fromString(text));
    if (status != registry::Success)
        registrationFailed(QStringLiteral("Unable to write \"%1\"").arg(path), status, hive);
}

void removeKey(Hive hive, const QString& path)
{
    const registry::Status status = registry::deleteKey(hive, path);
    if (status != registry::Success && status != registry::FileNotFound)
        registrationFailed(QStringLiteral("Unable to delete \"%1\"").arg(path), status, hive);
}

// One loaded in-process library. dlopen counts references itself; we hold exactly
// one per entry, so one dlclose per entry unloads it.
struct Library
{
    QString path;
    void* handle = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

class LibraryCache
{
public:
    static LibraryCache& instance()
    {
        // Never destroyed: objects held in statics may outlive this cache at exit,
        // and their libraries must stay mapped until the process is gone.
        static LibraryCache* cache = new LibraryCache;
        return *cache;
    }

    // The library at `path`, loaded on first use; raises 429 for `name` on failure.
    Library load(const QString& path, const QString& name)
    {
        const std::lock_guard lock(m_mutex);
        for (const Library& lib : m_libraries)
            if (lib.path == path)
                return lib;

        const QByteArray native = QFile::encodeName(path);
        void* handle = ::dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            cantCreate(name,
                       QStringLiteral("cannot load \"%1\": %2")
                           .arg(path, why ? QString::fromLocal8Bit(why) : QStringLiteral("unknown error")));
        }
        // The same file under another spelling: keep the one entry we have.
        for (const Library& lib : m_libraries) {
            if (lib.handle == handle) {
                ::dlclose(handle);
                return lib;
            }
        }
        Library lib;
        lib.path = path;
        lib.handle = handle;
        lib.getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
        lib.canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
        if (!lib.getClassObject) {
            ::dlclose(handle);
            cantCreate(name, QStringLiteral("\"%1\" exports no DllGetClassObject").arg(path));
        }
        m_libraries.push_back(lib);
        return lib;
    }

    void freeUnused()
    {
        const std::lock_guard lock(m_mutex);
        for (auto it = m_libraries.begin(); it != m_libraries.end();) {
            // A library that cannot say whether it is in use stays loaded.
            if (it->canUnloadNow && it->canUnloadNow() == 0) {
                ::dlclose(it->handle);
                it = m_libraries.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    std::recursive_mutex m_mutex; // a library's initialisers may create objects themselves
    std::vector<Library> m_libraries;
};

} // namespace

QString normalizedClassId(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}$"));
    return re.match(text).hasMatch() ? text.toUpper() : QString();
}

ObjectRef createObject(const QString& classIdOrProgId)
{
    const QString name = classIdOrProgId.trimmed();
    QString classId;
    if (name.startsWith(QLatin1Char('{'))) {
        classId = normalizedClassId(name);
        if (classId.isEmpty())
            cantCreate(name, QStringLiteral("not a valid class id"));
    } else {
        if (!isProgId(name))
            cantCreate(name, QStringLiteral("not a valid ProgID"));
        const auto found = lookUp(progIdKey(name) + QStringLiteral("\\CLSID"));
        if (!found)
            cantCreate(name, QStringLiteral("the ProgID is not registered"));
        classId = normalizedClassId(found->trimmed());
        if (classId.isEmpty())
            cantCreate(name, QStringLiteral("the ProgID names the malformed class id \"%1\"").arg(*found));
    }

    const auto path = lookUp(classKey(classId) + QStringLiteral("\\InprocServer32"));
    if (!path)
        cantCreate(name, QStringLiteral("class %1 is not registered").arg(classId));

    const Library lib = LibraryCache::instance().load(*path, name);
    ClassFactory* factory = nullptr;
    const std::u16string wide = classId.toStdU16String();
    const int32_t status = lib.getClassObject(wide.c_str(), &factory);
    if (status != 0 || !factory)
        cantCreate(name, QStringLiteral("\"%1\" does not make class %2 (code 0x%3)")
                             .arg(*path, classId)
                             .arg(uint32_t(status), 8, 16, QLatin1Char('0')));
    ObjectRef object = factory->createInstance();
    if (!object)
        cantCreate(name, QStringLiteral("the class factory of %1 made no object").arg(classId));
    return object;
}

void registerClass(const QString& classId, const QString& progId, const QString& libraryPath,
                   const QString& description)
{
    const QString id = normalizedClassId(classId);
    if (id.isEmpty())
        throw basic::RuntimeError(basic::err::Fail,
                                  QStringLiteral("\"%1\" is not a valid class id").arg(classId));
    if (!progId.isEmpty() && !isProgId(progId))
        throw basic::RuntimeError(basic::err::Fail,
                                  QStringLiteral("\"%1\" is not a valid ProgID").arg(progId));
    if (libraryPath.isEmpty())
        throw basic::RuntimeError(basic::err::Fail, QStringLiteral("No library path for class %1").arg(id));

    const Hive hive = registry::hiveWritable(Hive::LocalMachine) ? Hive::LocalMachine : Hive::CurrentUser;
    setDefault(hive, classKey(id), description);
    setDefault(hive, classKey(id) + QStringLiteral("\\InprocServer32"), libraryPath);
    if (!progId.isEmpty()) {
        setDefault(hive, classKey(id) + QStringLiteral("\\ProgID"), progId);
        setDefault(hive, progIdKey(progId), description);
        setDefault(hive, progIdKey(progId) + QStringLiteral("\\CLSID"), id);
    }
}

void unregisterClass(const QString& classId, const QString& progId)
{
    const QString id = normalizedClassId(classId);
    if (id.isEmpty())
        throw basic::RuntimeError(basic::err::Fail,
                                  QStringLiteral("\"%1\" is not a valid class id").arg(classId));
    for (const Hive hive : {Hive::LocalMachine, Hive::CurrentUser}) {
        if (!registry::hiveWritable(hive))
            continue;
        removeKey(hive, classKey(id));
        if (progId.isEmpty())
            continue;
        // Another library may have taken the ProgID over since: leave it to that one.
        const auto owner = defaultValue(hive, progIdKey(progId) + QStringLiteral("\\CLSID"));
        if (owner && normalizedClassId(owner->trimmed()) != id)
            continue;
        removeKey(hive, progIdKey(progId));
    }
}

QString libraryPathOf(const void* addressInLibrary)
{
    Dl_info info{};
    if (!addressInLibrary || ::dladdr(addressInLibrary, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    const QFileInfo file(QFile::decodeName(info.dli_fname));
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

void freeUnusedLibraries()
{
    LibraryCache::instance().freeUnused();
}

} // namespace automation
