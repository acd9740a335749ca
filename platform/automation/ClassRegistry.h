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
// text is neither a well-formed class id nor a ProgID, when the class is not
// registered, or when its library cannot be loaded or does not make the class; the
// description names the class id or ProgID and the reason. An error raised by the
// class itself while it is made passes through unchanged.
ObjectRef createObject(const QString& classIdOrProgId);

// Registers a class into the hive the caller can write (the machine hive, else the
// user hive); used by libraries' DllRegisterServer. `progId` may be empty. Raises
// basic::RuntimeError (err::Fail) when the class id is malformed or nothing can be
// written.
void registerClass(const QString& classId, const QString& progId, const QString& libraryPath,
                   const QString& description = {});
// Removes the class from every hive this user may write; a ProgID is removed only
// while it still names this class. Not being registered is no error.
void unregisterClass(const QString& classId, const QString& progId);

// "{8-4-4-4-12}" in upper-case hex, the form class ids are stored in, from a class id
// in braces in any case; an empty text when `text` is not such a class id.
QString normalizedClassId(const QString& text);

// The registration tool, a program of this name in the same folder as the program
// (see docs/automation.md): regsvr [/u] [/s] library-path.
inline constexpr const char* RegistrationToolName = "regsvr";

// The absolute path of the shared library that holds `addressInLibrary` (for
// self-registration: pass the address of a variable of the library); an empty text
// when the address lies in no loaded file.
QString libraryPathOf(const void* addressInLibrary);

// Drops libraries that report they can be unloaded (CoFreeUnusedLibraries). Call it
// only where no call into a library is under way; objects of a library keep its
// LibraryLock counter above zero, so their code stays loaded while they live.
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
