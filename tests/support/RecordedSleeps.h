#pragma once

#include "platform/forms/Pump.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace testsupport {

// Every pause the forms ask for, recorded instead of slept, for the guard's lifetime.
class RecordedSleeps
{
public:
    RecordedSleeps()
    {
        m_previous = forms::setSleepFunction([this](int32_t ms) { sleeps.push_back(ms); });
    }
    ~RecordedSleeps() { forms::setSleepFunction(std::move(m_previous)); }
    RecordedSleeps(const RecordedSleeps&) = delete;
    RecordedSleeps& operator=(const RecordedSleeps&) = delete;

    std::vector<int32_t> sleeps;

private:
    forms::SleepFunction m_previous;
};

} // namespace testsupport
