#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QSaveFile;

// Sequential and binary file access as the system's routines use it. Text is
// single-byte Windows-1252. Errors are RuntimeError: 53 file not found, 76 path
// not found, 75 access denied, 62 input past end of file, 52 bad file number.
namespace basic {

enum class OpenMode { Input, Output, Append, Binary };
// Whether opening a path that is a symbolic link opens what it points to.
enum class Links { Follow, Refuse };

class SequentialFile
{
public:
    SequentialFile();
    ~SequentialFile();
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;

    // Paths may be written with "\" and in any case (see resolvePath below).
    // With Links::Refuse a path that is a symbolic link is not opened (75), also
    // when the link was put there just before.
    void open(const QString& path, OpenMode mode, Links links = Links::Follow);
    void close();
    bool isOpen() const;

    // Line Input: a line ends at CR LF, LF or CR; the ending of the last line adds
    // no empty line. Raises 62 at end of file.
    QString lineInput();
    // Line Input that keeps at most `characters` of the line: the rest of a longer
    // line is passed over (never held) and `cut` is set.
    QString lineInput(qsizetype characters, bool& cut);
    // A bound for lineInput() and inputItem(): a longer line or item raises 14 (out
    // of string space) as soon as it passes the bound, before it is held. 0: none.
    void setLineLimit(qsizetype characters);
    // Input #: one item; a comma or a line end ends it, an item in double quotes
    // loses them (and may hold commas), blanks around an unquoted item are dropped,
    // an empty line is one empty item. Raises 62 at end of file.
    QString inputItem();
    // Input only, before the first read: passes over a UTF-8 byte-order mark (EF BB
    // BF) at the start of the file; true when there was one.
    bool skipByteOrderMark();
    // Print #: writes the text and CR LF.
    void printLine(const QString& text);
    // Print # without the line end.
    void print(const QString& text);
    bool eof() const;
    // LOF: the length of the open file in bytes.
    int64_t lof() const;
    // Binary reads: up to count bytes from the current position (fewer at the end).
    QByteArray readBytes(int64_t count);
    // The reading position as a byte offset from the start of the file (0 first).
    int64_t position() const;
    void seek(int64_t position);

private:
    QString readLine(qsizetype keep, bool stopWhenCut, bool& cut);

    struct Impl;
    std::unique_ptr<Impl> m;
};

// Turns a path into the native path of what exists: a leading drive "X:" becomes
// the folder that drive stands for (the display form the folder picker and the
// settings hold, "C:\tmp\config"), "\" becomes "/", and each existing component
// is resolved without regard to case (an exact match first). Components that do
// not exist are kept as written, and so is a drive letter that names no drive. A
// path with "\" that exists just as written is returned unchanged (a Linux name
// may hold "\").
QString resolvePath(const QString& path);

// Whether the path begins "X:" with X an ASCII letter (a drive as written, whether
// or not it names one).
bool startsWithDriveLetter(const QString& path);

// The folder a drive letter stands for, or nothing when it names no drive. The
// layer that knows the drives installs it (platform/shell); with none installed no
// letter names a drive.
using DriveRootLookup = std::optional<QString> (*)(QChar letter);
void setDriveRootLookup(DriveRootLookup lookup);

// FileLen: size in bytes of a closed file; 53 when missing.
int64_t FileLen(const QString& path);
// Reads a whole file as Windows-1252 text; 53 when missing.
QString readTextFile(const QString& path);
// Writes text as Windows-1252 through a temporary file and a rename, so that a
// failed write leaves the old file whole. A failed write is 75 with the system's
// reason in the description ("Path/File access error (File too large)").
void writeTextFileAtomic(const QString& path, const QString& text);

// Writes the bytes into an opened QSaveFile, flushes and checks them and only then
// commits: a write that fails at the final flush (full disk, size limit) would
// otherwise still be renamed over the target. On failure the save is cancelled (the
// old file stays) and the system's reason is returned; an empty text on success.
QString commitWhole(QSaveFile& file, const QByteArray& bytes);

} // namespace basic
