#pragma once

#include "platform/automation/Object.h"

#include <QString>

#include <cstdint>

// Creating objects by class id or ProgID, as CreateObject and New do.
//
// Registration lives in the registry store, as on the original platform:
//   Software\Classes\CLSID\{class id}\InprocServer32   (default value) = library path
//   Software\Classes\CLSID\{class id}\ProgID            (default value) = ProgID
//   Software\Classes\{ProgID}\CLSID                     (default value) = {class id}
// looked up in the user hive first, then the machine hive. A library is loaded on
// first use and kept loaded while it reports that it cannot be unloaded.
namespace automation {

// An in-process class factory, handed out by a library's DllGetClassObject.
class ClassFactory
{
public:
    virtual ~ClassFactory();
    virtual ObjectRef createInstance() = 0;
};

// CreateObject("Prog.Id") or New {class id}: raises CantCreateObject (429) when the
// class is not registered or its library cannot be loaded.
ObjectRef createObject(const QString& classIdOrProgId);

// Registers a class into the hive the caller can write (the machine hive, else the
// user hive); used by libraries' DllRegisterServer.
void registerClass(const QString& classId, const QString& progId, const QString& libraryPath,
                   const QString& description = {});
void unregisterClass(const QString& classId, const QString& progId);

// The path of the shared library that holds `addressInLibrary` (for self-registration).
QString libraryPathOf(const void* addressInLibrary);

// Drops libraries that report they can be unloaded (CoFreeUnusedLibraries).
void freeUnusedLibraries();

// Live object counting for DllCanUnloadNow: each library keeps one counter.
class LibraryLock
{
public:
    explicit LibraryLock(int32_t& counter) : m_counter(counter) { ++m_counter; }
    ~LibraryLock() { --m_counter; }
    LibraryLock(const LibraryLock&) = delete;
    LibraryLock& operator=(const LibraryLock&) = delete;

private:
    int32_t& m_counter;
};

} // namespace automation

// The four entry points every in-process library exports (0 = success, else an
// automation error code). `factory` is owned by the library.
#define QUILLAR_INPROC_EXPORT extern "C" __attribute__((visibility("default")))
using DllRegisterServerFn = int32_t (*)();
using DllUnregisterServerFn = int32_t (*)();
using DllGetClassObjectFn = int32_t (*)(const char16_t* classId, automation::ClassFactory** factory);
using DllCanUnloadNowFn = int32_t (*)(); // 0 = may unload, 1 = still in use
