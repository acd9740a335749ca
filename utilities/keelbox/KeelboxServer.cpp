#include "utilities/keelbox/KeelboxServer.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/automation/InprocServer.h"

namespace keelbox {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

namespace {

// Any address inside this library tells the loader which file it is.
const char libraryAnchor = 0;

const automation::ServedClass servedClasses[] = {
    {DoSecurityClassId, DoSecurityProgId, "Keelbox registry value reader and CSV routines", [] { return automation::ObjectRef(std::make_shared<DoSecurity>()); }},
};

} // namespace

} // namespace keelbox

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    return automation::registerServedClasses(keelbox::servedClasses, &keelbox::libraryAnchor);
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    return automation::unregisterServedClasses(keelbox::servedClasses);
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    return automation::getServedClassObject(keelbox::servedClasses, classId, factory);
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow()
{
    return keelbox::liveObjects() == 0 ? 0 : 1;
}
