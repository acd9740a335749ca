#pragma once

#include <cstdint>
#include <functional>

// The pump and the sleep the routines call. The sleep is injectable so that tests
// neither wait nor depend on the clock.
namespace forms {

// DoEvents: runs the pending events once and returns (nothing without an application).
void DoEvents();

// Sleep: blocks for the given milliseconds (a negative time counts as 0) through the
// installed sleep function; the default one sleeps the thread without pumping.
void Sleep(int32_t milliseconds);

using SleepFunction = std::function<void(int32_t milliseconds)>;
// Installs a sleep function and returns the previous one; an empty one puts back
// the real sleep.
SleepFunction setSleepFunction(SleepFunction function);

} // namespace forms
