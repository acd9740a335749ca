#pragma once

#include <QString>

#include <cstdint>

// Whether a file or a folder exists, as the batch mode and the error-file writers
// ask it. The path may be written with "\" and in any case, and may start with a
// drive. A folder flag above 0 tests a folder (a "\" is appended when missing, so
// the folder's own entries match); any other nonzero flag lets folders and files
// match the path as written; 0 lets only ordinary files match. The last component
// may hold the wildcards "*" and "?". A path of blanks, or any failure of the test
// (an unknown drive, a malformed path), answers false.
bool FileOrFolderExists(QString path, int32_t folderFlag);
