#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The file-system work of batch mode: listing a folder, a move that never loses
// the file, base and parent names, creation dates. Paths may be written with "\"
// or "/" and in any case; each existing component is found without regard to case
// (Paths.h). Failures are basic::RuntimeError: 53 file not found, 58 file already
// exists, 75 path/file access error, 76 path not found.
namespace shell {

struct FileEntry
{
    QString name; // the file's name as the file system spells it
    QString path; // its native path
    int64_t size = 0;
    QDateTime modified;
    QDateTime created; // see creationTime()
};

// The ordinary files of a folder (no sub-folders, hidden files included), sorted by
// name in code-unit order so that every listing of the same folder agrees. A
// missing or unreadable folder lists nothing.
std::vector<FileEntry> listFiles(const QString& folder);

// The entry of one ordinary file, or nullopt when there is none.
std::optional<FileEntry> fileEntry(const QString& path);

// The birth time of a file where the file system records one (statx), else its
// last modification time; an invalid time when the file cannot be read.
QDateTime creationTime(const QString& path);

// The name without its folder and without its last extension ("a.b.csv" gives
// "a.b", ".profile" stays ".profile", "a." gives "a").
QString baseName(const QString& path);
// The name without its folder.
QString fileName(const QString& path);
// The folder part of a path, without a trailing separator ("" for a bare name).
QString parentFolder(const QString& path);

// Whether two folder paths name the same existing folder: separators at the end,
// "\" or "/", letter case and symbolic links do not matter. False when either
// does not exist.
bool sameFolder(const QString& a, const QString& b);

// Moves a file to `to`, which must not exist yet (58 otherwise), also onto another
// file system: there the file is copied beside the target under a temporary name,
// flushed to disk, renamed to the target and only then removed from its source.
// The folders are flushed too, so that the move survives a power cut. At any
// moment the file exists whole under at least one of the two names.
void moveFile(const QString& from, const QString& to);

} // namespace shell
