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

const automation::ServedClass servedClasses[] = {
    {FilesechClassId, FilesechProgId, "Drivewalk drive list and file search", [] { return automation::ObjectRef(std::make_shared<filesech>()); }},
};

} // namespace

} // namespace drivewalk

QUILLAR_INPROC_SERVER(drivewalk::servedClasses, drivewalk::liveObjects)
