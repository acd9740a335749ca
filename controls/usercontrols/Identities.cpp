#include "controls/usercontrols/Identities.h"

namespace usercontrols {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

} // namespace usercontrols
