#pragma once

#include <QString>

// The system shows and stores folders in the "X:\..." form. This gives that form of
// a native path: the drive whose mount point holds the path (the deepest one, see
// Drives.h) gives the letter, the rest follows with "\" between components. The
// inverse is nativePath (Paths.h).
namespace shell {

// "/media/data/in/a.csv" with D: on /media/data gives "D:\in\a.csv"; "/" gives "C:\";
// a mount point itself gives its root ("D:\"); no trailing "\" otherwise. A relative
// path is taken from the current folder; "." and ".." are resolved. A path already
// in the drive form, and the empty text, are returned as given.
QString displayPath(const QString& nativePath);

} // namespace shell
