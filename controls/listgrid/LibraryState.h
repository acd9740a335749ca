#pragma once

#include "platform/automation/ClassRegistry.h"

#include <QString>

#include <cstdint>

namespace listgrid {

// Objects of the library alive; the library may be unloaded at zero.
int32_t& liveObjects();

// Each automation object of the library counts itself alive.
class LibraryObject
{
protected:
    LibraryObject() : m_lock(liveObjects()) {}

private:
    automation::LibraryLock m_lock;
};

// DISP_E_BADINDEX, "Invalid index specified for item retrieval".
inline constexpr int32_t DispBadIndex = int32_t(0x8002000Bu);
[[noreturn]] void throwBadIndex(const QString& source);

// "Optional argument" rule of the library: missing, or not convertible, gives nullopt.
} // namespace listgrid
