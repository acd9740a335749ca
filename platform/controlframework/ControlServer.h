#pragma once

#include "platform/automation/InprocServer.h"

#include <cstdint>
#include <span>
#include <vector>

// In-process servers of controls: the classes with their identities, registered
// with what a host needs to place them (the control mark, misc status, toolbox
// bitmap, type library id and version, interfaces), beside the class id and ProgID
// that automation::registerClass writes:
//
//   Software\Classes\CLSID\{id}\Control                 (default) = ""
//   Software\Classes\CLSID\{id}\MiscStatus\1            (default) = misc status, decimal
//   Software\Classes\CLSID\{id}\ToolboxBitmap32         (default) = "<library path>, <bitmap id>"
//   Software\Classes\CLSID\{id}\TypeLib                 (default) = {library id}
//   Software\Classes\CLSID\{id}\Version                 (default) = "<major>.<minor>"
//   Software\Classes\CLSID\{id}\InprocServer32          ThreadingModel = "Apartment"
//   Software\Classes\Interface\{iid}                    (default) = interface name; \TypeLib = {library id}
//   Software\Classes\TypeLib\{library id}\<major>.<minor> (default) = description; \0\lib = library path
namespace controlframework {

struct ControlClass
{
    const char* name;             // the class name, "vlHmFrame"
    const char* classId;
    const char* progId;
    const char* defaultInterface; // IID of _<name>
    const char* eventInterface;   // IID of __<name>
    int toolboxBitmap;
    uint32_t miscStatus;
    automation::ObjectRef (*create)(); // nullptr: identity known, class not served
};

struct TypeLibrary
{
    const char* libId;
    const char* name;
    int major;
    int minor;
    const char* description;
};

// The classes a library serves (those with a `create`).
std::vector<automation::ServedClass> servedControlClasses(std::span<const ControlClass> classes);

int32_t registerControlLibrary(std::span<const ControlClass> classes, const TypeLibrary& library,
                               const void* anchor);
int32_t unregisterControlLibrary(std::span<const ControlClass> classes, const TypeLibrary& library);

} // namespace controlframework

// The four exported entry points of a control library serving `classes` (an array
// of ControlClass) with type library `library`.
#define QUILLAR_CONTROL_SERVER(classes, library, liveObjects)                                            \
    namespace {                                                                                          \
    const char quillarControlAnchor = 0;                                                                 \
    const std::vector<automation::ServedClass>& quillarServedControls()                                  \
    {                                                                                                    \
        static const auto served = controlframework::servedControlClasses(classes);                     \
        return served;                                                                                   \
    }                                                                                                    \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()                                                    \
    {                                                                                                    \
        return controlframework::registerControlLibrary(classes, library, &quillarControlAnchor);        \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()                                                  \
    {                                                                                                    \
        return controlframework::unregisterControlLibrary(classes, library);                             \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory) \
    {                                                                                                    \
        return automation::getServedClassObject(quillarServedControls(), classId, factory);              \
    }                                                                                                    \
    QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow() { return liveObjects() == 0 ? 0 : 1; }
