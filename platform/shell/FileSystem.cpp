#include "platform/shell/FileSystem.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {

namespace {

using basic::RuntimeError;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QDateTime fromTimestamp(int64_t seconds, uint32_t nanoseconds)
{
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1000000);
}

// The run-time error of a failed system call on `path`.
[[noreturn]] void raise(int error, const QString& path)
{
    const QString text = QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(": ") + path;
    switch (error) {
    case ENOENT:
        throw RuntimeError(basic::err::PathNotFound, text);
    case EEXIST:
        throw RuntimeError(58, text); // file already exists
    default:
        throw RuntimeError(basic::err::PathFileAccessError, text);
    }
}

// Flushes a folder's entries, so that a rename or an unlink in it is on disk.
void syncFolder(const QString& folder)
{
    const int fd = ::open(encoded(folder.isEmpty() ? QStringLiteral(".") : folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raise(errno, folder);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0 && error != EINVAL) // some file systems cannot flush a folder
        raise(error, folder);
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Copies `from` into the new file `to` (which must not exist) and flushes it.
void copyAndSync(const QString& from, const QString& to)
{
    Descriptor in(::open(encoded(from).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        raise(errno, from);
    struct stat st
    {
    };
    if (::fstat(in.get(), &st) != 0)
        raise(errno, from);
    Descriptor out(
        ::open(encoded(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777));
    if (out.get() < 0)
        raise(errno, to);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            raise(errno, from);
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out.get(), buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                raise(errno, to);
            done += w;
        }
    }
    // Keep the modification time, so that the copy reads as the same file.
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.get(), times);
    if (::fsync(out.get()) != 0)
        raise(errno, to);
    if (::close(out.release()) != 0)
        raise(errno, to);
}

// rename() that refuses to replace an existing target.
int renameNoReplace(const QString& from, const QString& to)
{
    return ::renameat2(AT_FDCWD, encoded(from).constData(), AT_FDCWD, encoded(to).constData(),
                       RENAME_NOREPLACE);
}

std::optional<FileEntry> entryOf(const QString& nativeFile)
{
    struct statx sx
    {
    };
    if (::statx(AT_FDCWD, encoded(nativeFile).constData(), AT_STATX_SYNC_AS_STAT,
                STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &sx) != 0)
        return std::nullopt;
    if (!S_ISREG(sx.stx_mode))
        return std::nullopt;
    FileEntry entry;
    entry.path = nativeFile;
    entry.name = QFileInfo(nativeFile).fileName();
    entry.size = int64_t(sx.stx_size);
    entry.modified = fromTimestamp(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    entry.created = (sx.stx_mask & STATX_BTIME) ? fromTimestamp(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                                                : entry.modified;
    return entry;
}

} // namespace

std::vector<FileEntry> listFiles(const QString& folder)
{
    std::vector<FileEntry> files;
    if (folder.trimmed().isEmpty())
        return files;
    const QDir dir(nativePath(folder));
    if (!dir.exists())
        return files;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : names) {
        if (auto entry = entryOf(dir.filePath(name)))
            files.push_back(std::move(*entry));
    }
    std::sort(files.begin(), files.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    return files;
}

std::optional<FileEntry> fileEntry(const QString& path)
{
    if (path.trimmed().isEmpty())
        return std::nullopt;
    return entryOf(nativePath(path));
}

QDateTime creationTime(const QString& path)
{
    const auto entry = fileEntry(path);
    return entry ? entry->created : QDateTime();
}

QString fileName(const QString& path)
{
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path.at(cut)))
        --cut;
    return path.mid(cut + 1);
}

QString baseName(const QString& path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString parentFolder(const QString& path)
{
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path.at(cut)))
        --cut;
    while (cut > 0 && isSeparator(path.at(cut - 1)))
        --cut;
    return cut <= 0 ? (cut == 0 ? path.left(1) : QString()) : path.left(cut);
}

bool sameFolder(const QString& a, const QString& b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    const QString first = QFileInfo(nativePath(a)).canonicalFilePath();
    const QString second = QFileInfo(nativePath(b)).canonicalFilePath();
    return !first.isEmpty() && first == second && QFileInfo(first).isDir();
}

void moveFile(const QString& from, const QString& to)
{
    const QString source = nativePath(from);
    const QString target = nativePath(to);
    if (!QFileInfo(source).isFile())
        throw RuntimeError(basic::err::FileNotFound, QStringLiteral("File not found: ") + from);
    const QString sourceFolder = QFileInfo(source).absolutePath();
    const QString targetFolder = QFileInfo(target).absolutePath();

    if (renameNoReplace(source, target) == 0) {
        syncFolder(targetFolder);
        if (sourceFolder != targetFolder)
            syncFolder(sourceFolder);
        return;
    }
    if (errno != EXDEV)
        raise(errno, errno == EEXIST ? to : from);

    // Another file system: a whole, flushed copy under a name no one reads, then
    // the target name, and only then the source goes.
    const QString part =
        targetFolder + QStringLiteral("/.") + QFileInfo(target).fileName() + QStringLiteral(".moving");
    QFile::remove(part);
    try {
        copyAndSync(source, part);
        if (renameNoReplace(part, target) != 0)
            raise(errno, errno == EEXIST ? to : part);
        syncFolder(targetFolder);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    if (::unlink(encoded(source).constData()) != 0)
        raise(errno, from);
    syncFolder(sourceFolder);
}

} // namespace shell
