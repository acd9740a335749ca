#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/RuntimeError.h"

#include <cstdint>
#include <exception>
#include <span>

// The bodies of the four entry points of an in-process library, so that each
// library only lists the classes it serves:
//
//   const automation::ServedClass served[] = {{ClassId, ProgId, "Description", &create}};
//   QUILLAR_INPROC_EXPORT int32_t DllRegisterServer() { return automation::registerServedClasses(served, &anchor); }
//   ...
namespace automation {

// CLASS_E_CLASSNOTAVAILABLE: the library does not serve the class asked for.
constexpr int32_t ClassNotAvailable = int32_t(0x80040111u);

struct ServedClass
{
    const char* classId;
    const char* progId;
    const char* description;
    ObjectRef (*create)();
};

// Runs an entry point's work; no exception crosses into the loader.
template <class F>
int32_t guardedEntry(F&& work) noexcept
{
    try {
        work();
        return 0;
    } catch (const basic::RuntimeError& e) {
        return e.number() != 0 ? e.number() : basic::err::Fail;
    } catch (const std::exception&) {
        return basic::err::Fail;
    } catch (...) {
        return basic::err::Fail;
    }
}

// `anchor`: any address inside the library, to find its file.
int32_t registerServedClasses(std::span<const ServedClass> classes, const void* anchor);
int32_t unregisterServedClasses(std::span<const ServedClass> classes);
// The library keeps one factory per served class for as long as it is loaded.
int32_t getServedClassObject(std::span<const ServedClass> classes, const char16_t* classId,
                             ClassFactory** factory);

} // namespace automation

// Defines the four exported entry points of a library that serves the classes of
// the array `served`, with `liveObjects()` counting its objects alive.
#define QUILLAR_INPROC_SERVER(served, liveObjects)                                                       \
    namespace {                                                                                          \
    const char quillarLibraryAnchor = 0;                                                                 \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()                                                    \
    {                                                                                                    \
        return automation::registerServedClasses(served, &quillarLibraryAnchor);                         \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer() { return automation::unregisterServedClasses(served); } \
    QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory) \
    {                                                                                                    \
        return automation::getServedClassObject(served, classId, factory);                               \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow() { return liveObjects() == 0 ? 0 : 1; }
