#include "utilities/drivewalk/DrivewalkServer.h"

#include "utilities/drivewalk/filesech.h"

#include "platform/automation/InprocServer.h"

namespace drivewalk {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

namespace {

// Any address inside this library tells the loader which file it is.
const char libraryAnchor = 0;

const automation::ServedClass servedClasses[] = {
    {FilesechClassId, FilesechProgId, "Drivewalk drive list and file search", [] { return automation::ObjectRef(std::make_shared<filesech>()); }},
};

} // namespace

} // namespace drivewalk

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    return automation::registerServedClasses(drivewalk::servedClasses, &drivewalk::libraryAnchor);
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    return automation::unregisterServedClasses(drivewalk::servedClasses);
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    return automation::getServedClassObject(drivewalk::servedClasses, classId, factory);
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow()
{
    return drivewalk::liveObjects() == 0 ? 0 : 1;
}
