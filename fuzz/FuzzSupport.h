#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the harnesses share: the input as bytes, and as a file for the readers that
// take a path.
namespace fuzzing {

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// One file per process, rewritten with each input; its path.
QString inputFile(const uint8_t* data, size_t size, const char* name = "input");

// A GUI application on the offscreen platform, made once: fonts and colours need one.
void ensureGuiApplication();

// Ends the run with a finding (the fuzzer and our corpus runner both report it).
[[noreturn]] void fail(const char* what);

} // namespace fuzzing
