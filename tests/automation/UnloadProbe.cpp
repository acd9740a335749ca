// A library that makes no objects and whose "in use" answer the tests set, to see
// that freeUnusedLibraries unloads exactly the libraries that allow it. It includes
// nothing, so that it has no process-wide symbols that would keep it loaded.

#include <cstdint>

namespace automation {
class ClassFactory;
}

namespace {
int32_t g_busy = 0;
}

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

PROBE_EXPORT void ProbeSetBusy(int32_t busy)
{
    g_busy = busy;
}

PROBE_EXPORT int32_t DllGetClassObject(const char16_t*, automation::ClassFactory** factory)
{
    *factory = nullptr;
    return int32_t(0x80040111u); // the class is not available
}

PROBE_EXPORT int32_t DllCanUnloadNow()
{
    return g_busy ? 1 : 0;
}
