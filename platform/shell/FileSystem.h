#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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
    QDateTime modified; // in UTC
    QDateTime created;  // in UTC; see creationTime()
};

// One reading of a folder: its ordinary files (no sub-folders, hidden files
// included) and, apart, the names of its symbolic links (to a file, a folder or
// nothing), each sorted by name in code-unit order so that every listing of the
// same folder agrees. A link is never taken for what it points to.
struct FolderListing
{
    std::vector<FileEntry> files;
    QStringList links;
};

// A missing or unreadable folder lists nothing.
FolderListing listFolder(const QString& folder);
// The ordinary files alone.
std::vector<FileEntry> listFiles(const QString& folder);

// A folder read entry by entry for work repeated every few seconds: names as the
// file system gives their bytes (no conversion), their kind from the reading
// itself where it tells, and a stat relative to the open folder only when asked.
// Sub-folders, "." and ".." are left out; the order is the file system's.
class FolderReading
{
public:
    // Reads the folder (any form nativePath takes); a missing or unreadable folder
    // reads as empty.
    explicit FolderReading(const QString& folder);
    // The ordinary files of a listing already made, their creation times known.
    static FolderReading of(const std::vector<FileEntry>& files);
    ~FolderReading();
    FolderReading(FolderReading&& other) noexcept;
    FolderReading(const FolderReading&) = delete;
    FolderReading& operator=(const FolderReading&) = delete;
    FolderReading& operator=(FolderReading&&) = delete;

    size_t size() const { return m_items.size(); }
    // Whether the entries come from a listing, in its order (else from the disk,
    // in the file system's order).
    bool listed() const { return m_listed; }
    std::string_view name(size_t i) const;
    // Whether entry i is an ordinary file (never a link to one).
    bool isFile(size_t i);
    // Entry i's creation time (as FileEntry::created) in ns since the epoch (the
    // lowest value where a listing had none), or nullopt when it is no longer an
    // ordinary file.
    std::optional<int64_t> createdNs(size_t i);

private:
    FolderReading() = default;
    enum Kind : unsigned char
    {
        Unknown,
        File,
        Other,
    };
    struct Item
    {
        uint32_t offset;
        uint32_t length;
        Kind kind;
        bool dated;
        int64_t created;
    };
    int m_fd = -1;
    bool m_listed = false;
    std::string m_names; // each name followed by a NUL
    std::vector<Item> m_items;
};

// The native path of a file named by a folder (in any form nativePath takes) and,
// after the last "/", the file's own name taken exactly as it is: a name may hold
// "\" on Linux, and two names that differ only in case are two files. A path
// without "/" is resolved whole by nativePath.
QString nativeFilePath(const QString& path);

// The entry of one ordinary file (not a link to one), or nullopt when there is
// none. The path is read as nativeFilePath reads it.
std::optional<FileEntry> fileEntry(const QString& path);
// Whether the path (read as nativeFilePath reads it) is a symbolic link.
bool isSymbolicLink(const QString& path);

// Whether `folder` is the folder `outer` or lies anywhere inside it, links and
// spelling resolved. False when either does not exist.
bool folderWithin(const QString& folder, const QString& outer);

// The longest file name, in bytes, that the file system of `folder` takes
// (NAME_MAX; 255 when it cannot be asked).
int nameMax(const QString& folder);

// A file taken for batch work: opened without following a link, and held with a
// read lease, which the system grants only while no process has the file open for
// writing and which makes a writer's later open wait until the lease is given up
// (when this object goes). Readers, this program's own included, are not kept out.
class TakenFile
{
public:
    enum class Outcome
    {
        Taken,     // held until this object goes
        Busy,      // open for writing somewhere: try again later
        Link,      // a symbolic link: never taken
        Missing,   // no ordinary file there
        Unchecked, // taken, but without a lease (the file system grants none, as
                   // over a network share, or the file cannot be opened): a
                   // writer cannot be seen
    };
    explicit TakenFile(const QString& path);
    ~TakenFile();
    TakenFile(const TakenFile&) = delete;
    TakenFile& operator=(const TakenFile&) = delete;
    Outcome outcome() const { return m_outcome; }
    bool taken() const { return m_outcome == Outcome::Taken || m_outcome == Outcome::Unchecked; }

private:
    int m_fd = -1;
    Outcome m_outcome = Outcome::Missing;
};

// Writes all the bytes to the descriptor, again after a write a signal
// interrupted; false (errno set) when a write fails.
bool writeAll(int fd, const char* data, size_t size);
inline bool writeAll(int fd, const QByteArray& bytes)
{
    return writeAll(fd, bytes.constData(), size_t(bytes.size()));
}

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
// moment the file exists whole under at least one of the two names. Both paths are
// read as nativeFilePath reads them. A symbolic link is not moved (75), and a
// missing target folder is named as the path not found (76).
void moveFile(const QString& from, const QString& to);

} // namespace shell
