#pragma once

#include <functional>

// End: ends the program at once. No form's unload handler runs and no statement
// after the call runs: the installed end function does not return. Tests install a
// recording end function instead; with one installed End returns to its caller,
// which then leaves as if nothing came after.
namespace forms {

using EndFunction = std::function<void(int exitCode)>;

void End(int exitCode = 0);

// Installs an end function and returns the previous one; an empty one puts back
// endProcess.
EndFunction setEndFunction(EndFunction function);

// The default end: flushes the standard streams and ends the process with the code,
// without unwinding (no destructor and no event runs any more).
[[noreturn]] void endProcess(int exitCode);

// Tests: records each End (its exit code) for the lifetime of the guard.
class ScopedRecordedEnd
{
public:
    ScopedRecordedEnd(const ScopedRecordedEnd&) = delete;
    ScopedRecordedEnd& operator=(const ScopedRecordedEnd&) = delete;
    ScopedRecordedEnd();
    ~ScopedRecordedEnd();
    int count() const { return m_count; }
    int lastExitCode() const { return m_lastExitCode; }

private:
    int m_count = 0;
    int m_lastExitCode = 0;
    EndFunction m_previous;
};

} // namespace forms
