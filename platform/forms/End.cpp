#include "platform/forms/End.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace forms {

namespace {

EndFunction& installedEnd()
{
    static EndFunction function = endProcess;
    return function;
}

} // namespace

void End(int exitCode)
{
    // A copy: the end function may install another one while it runs.
    const EndFunction function = installedEnd();
    function(exitCode);
}

EndFunction setEndFunction(EndFunction function)
{
    if (!function)
        function = endProcess;
    return std::exchange(installedEnd(), std::move(function));
}

void endProcess(int exitCode)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

ScopedRecordedEnd::ScopedRecordedEnd()
{
    m_previous = setEndFunction([this](int exitCode) {
        ++m_count;
        m_lastExitCode = exitCode;
    });
}

ScopedRecordedEnd::~ScopedRecordedEnd()
{
    setEndFunction(std::move(m_previous));
}

} // namespace forms
