#pragma once

#include <cstdint>

namespace keelbox {

// Objects of this library still alive; the library may be unloaded at zero.
int32_t& liveObjects();

} // namespace keelbox
