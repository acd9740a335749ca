#pragma once

#include <QString>

// The routines join paths with "\" and spell folders in any case ("accdata",
// "ACCDATA"). These turn such a path into the native path of what exists.
namespace shell {

// basic::resolvePath, with the drives of this layer: "\" becomes "/", a leading
// drive "X:" becomes that drive's mount point (see
// Drives.h), and each existing component is resolved without regard to case (an
// exact match first). From the first component that does not exist on, the rest
// stays as written. A drive letter that names no drive is left as written.
QString nativePath(const QString& path);

// True when the path starts with a drive "X:" that names no drive.
bool namesUnknownDrive(const QString& path);

} // namespace shell
