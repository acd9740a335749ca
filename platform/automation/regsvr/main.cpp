// regsvr: registers or unregisters an in-process library by calling its
// DllRegisterServer or DllUnregisterServer entry point.
//
//   regsvr [/u] [/s] library-path
//
// Options may stand before or after the path, in any case. Exit codes are listed in
// docs/automation.md; every failure prints one line on stderr that names the library.

#include "platform/automation/ClassRegistry.h"
#include "platform/registry/RegistryStore.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <dlfcn.h>

#include <cstdio>
#include <exception>
#include <optional>

namespace {

enum ExitCode : int
{
    Ok = 0,
    Usage = 1,
    NoSuchFile = 2,
    NotALibrary = 3,
    NoEntryPoint = 4,
    EntryPointFailed = 5,
};

void printLine(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

int fail(ExitCode code, const QString& text)
{
    printLine(stderr, QStringLiteral("regsvr: ") + text);
    return code;
}

// An entry point reports only a code; when a hive the registration reads or
// writes cannot be read, that hive and the reason are what the user needs.
QString unreadableHives()
{
    QString text;
    for (const registry::Hive hive : {registry::Hive::LocalMachine, registry::Hive::CurrentUser}) {
        std::optional<registry::Key> key;
        const registry::Status status = registry::openKey(hive, QString(), registry::Access::Read, key);
        if (status != registry::Success && status != registry::FileNotFound)
            text += QStringLiteral(": ") + registry::statusText(status, hive);
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    bool unregister = false;
    bool silent = false;
    QStringList paths;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.compare(QLatin1String("/u"), Qt::CaseInsensitive) == 0)
            unregister = true;
        else if (arg.compare(QLatin1String("/s"), Qt::CaseInsensitive) == 0)
            silent = true;
        else if (arg.size() == 2 && arg.startsWith(QLatin1Char('/')) && arg.at(1).isLetter())
            return fail(
                Usage,
                QStringLiteral("unknown option \"%1\"\nusage: regsvr [/u] [/s] library-path").arg(arg));
        else if (!arg.isEmpty())
            paths << arg;
    }
    if (paths.size() != 1)
        return fail(Usage, QStringLiteral("name exactly one library\nusage: regsvr [/u] [/s] library-path"));

    const QFileInfo file(paths.first());
    // The library registers the path it was loaded from, so load it by its full path.
    const QString path = file.absoluteFilePath();
    if (!file.exists())
        return fail(NoSuchFile, QStringLiteral("the library \"%1\" was not found").arg(path));
    if (!file.isFile())
        return fail(NoSuchFile, QStringLiteral("\"%1\" is not a file").arg(path));

    void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        return fail(NotALibrary,
                    QStringLiteral("the library \"%1\" could not be loaded: %2")
                        .arg(path, why ? QString::fromLocal8Bit(why) : QStringLiteral("unknown error")));
    }

    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const auto entry = reinterpret_cast<DllRegisterServerFn>(::dlsym(handle, entryName));
    if (!entry)
        return fail(NoEntryPoint, QStringLiteral("\"%1\" was loaded, but the entry point %2 was not found")
                                      .arg(path, QLatin1String(entryName)));

    int32_t result = 0;
    try {
        result = entry();
    } catch (const std::exception& e) {
        return fail(EntryPointFailed,
                    QStringLiteral("%1 in \"%2\" failed: %3")
                        .arg(QLatin1String(entryName), path, QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return fail(EntryPointFailed,
                    QStringLiteral("%1 in \"%2\" failed").arg(QLatin1String(entryName), path));
    }
    if (result != 0)
        return fail(EntryPointFailed, QStringLiteral("%1 in \"%2\" failed with code 0x%3")
                                              .arg(QLatin1String(entryName), path)
                                              .arg(uint32_t(result), 8, 16, QLatin1Char('0')) +
                                          unreadableHives());
    if (!silent)
        printLine(stdout, QStringLiteral("%1 in \"%2\" succeeded.").arg(QLatin1String(entryName), path));
    // The library stays loaded until the process ends: its static objects may still be
    // in use by exit handlers it registered.
    return Ok;
}
