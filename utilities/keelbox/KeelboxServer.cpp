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

const automation::ServedClass servedClasses[] = {
    {DoSecurityClassId, DoSecurityProgId, "Keelbox registry value reader and CSV routines", [] { return automation::ObjectRef(std::make_shared<DoSecurity>()); }},
};

} // namespace

} // namespace keelbox

QUILLAR_INPROC_SERVER(keelbox::servedClasses, keelbox::liveObjects)
