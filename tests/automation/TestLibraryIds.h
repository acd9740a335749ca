#pragma once

// The class of the automation tests' in-process library.
namespace testlib {
inline constexpr const char* CounterClassId = "{5C1D2E3F-4A5B-4C6D-8E9F-0A1B2C3D4E5F}";
inline constexpr const char* CounterProgId = "QuillarTest.Counter";
} // namespace testlib
