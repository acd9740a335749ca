#pragma once

#include <cstdint>

namespace drivewalk {

// Objects of this library still alive; the library may be unloaded at zero.
int32_t& liveObjects();

} // namespace drivewalk
