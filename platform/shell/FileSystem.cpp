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
#include <limits>
#include <utility>

#include <csignal>

#include <dirent.h>
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
    // In UTC: a local time would cost a look at the zone file for every entry.
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1000000, Qt::UTC);
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
    Descriptor in(::open(encoded(from).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
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
        if (!writeAll(out.get(), buffer, size_t(n)))
            raise(errno, to);
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

constexpr unsigned EntryMask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;

FileEntry entryFrom(const struct statx& sx, const QString& path, const QString& name)
{
    FileEntry entry;
    entry.path = path;
    entry.name = name;
    entry.size = int64_t(sx.stx_size);
    entry.modified = fromTimestamp(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    entry.created = (sx.stx_mask & STATX_BTIME) ? fromTimestamp(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                                                : entry.modified;
    return entry;
}

// The file itself, never what a link points to.
std::optional<FileEntry> entryOf(const QString& nativeFile)
{
    struct statx sx
    {
    };
    if (::statx(AT_FDCWD, encoded(nativeFile).constData(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                EntryMask, &sx) != 0)
        return std::nullopt;
    if (!S_ISREG(sx.stx_mode))
        return std::nullopt;
    return entryFrom(sx, nativeFile, QFileInfo(nativeFile).fileName());
}

// A lease that is broken (a writer opens the file) signals its holder with SIGIO,
// whose default ends the program; the holder gives the lease up when it is done.
void ignoreLeaseSignal()
{
    static const bool done = [] {
        struct sigaction current
        {
        };
        if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGIO, SIG_IGN);
        return true;
    }();
    (void)done;
}

} // namespace

FolderListing listFolder(const QString& folder)
{
    FolderListing listing;
    if (folder.trimmed().isEmpty())
        return listing;
    const QString native = nativePath(folder);
    const int fd = ::open(encoded(native).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return listing;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return listing;
    }
    const QString prefix = native.endsWith(QLatin1Char('/')) ? native : native + QLatin1Char('/');
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_type == DT_DIR || std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct statx sx
        {
        };
        if (::statx(::dirfd(dir), e->d_name, AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, EntryMask, &sx) !=
            0)
            continue;
        const QString name = QFile::decodeName(e->d_name);
        if (S_ISLNK(sx.stx_mode))
            listing.links << name;
        else if (S_ISREG(sx.stx_mode))
            listing.files.push_back(entryFrom(sx, prefix + name, name));
    }
    ::closedir(dir);
    std::sort(listing.files.begin(), listing.files.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    std::sort(listing.links.begin(), listing.links.end());
    return listing;
}

FolderReading::FolderReading(const QString& folder)
{
    if (folder.trimmed().isEmpty())
        return;
    m_fd = ::open(encoded(nativePath(folder)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    // readdir on a duplicate, so that the stats asked for later have a folder
    // descriptor of their own after closedir.
    const int readFd = ::dup(m_fd);
    DIR* dir = readFd < 0 ? nullptr : ::fdopendir(readFd);
    if (!dir) {
        if (readFd >= 0)
            ::close(readFd);
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_type == DT_DIR || std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        const size_t length = std::strlen(e->d_name);
        const Kind kind = e->d_type == DT_REG ? File : e->d_type == DT_UNKNOWN ? Unknown : Other;
        m_items.push_back(Item{uint32_t(m_names.size()), uint32_t(length), kind, false, 0});
        m_names.append(e->d_name, length + 1);
    }
    ::closedir(dir);
}

FolderReading FolderReading::of(const std::vector<FileEntry>& files)
{
    FolderReading reading;
    reading.m_listed = true;
    for (const FileEntry& f : files) {
        const QByteArray name = encoded(f.name);
        const int64_t created =
            f.created.isValid() ? f.created.toMSecsSinceEpoch() * 1000000 : std::numeric_limits<int64_t>::min();
        reading.m_items.push_back(
            Item{uint32_t(reading.m_names.size()), uint32_t(name.size()), File, true, created});
        reading.m_names.append(name.constData(), size_t(name.size()) + 1);
    }
    return reading;
}

FolderReading::~FolderReading()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderReading::FolderReading(FolderReading&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_listed(other.m_listed), m_names(std::move(other.m_names)), m_items(std::move(other.m_items))
{
}

std::string_view FolderReading::name(size_t i) const
{
    const Item& item = m_items.at(i);
    return std::string_view(m_names.data() + item.offset, item.length);
}

bool FolderReading::isFile(size_t i)
{
    Item& item = m_items.at(i);
    if (item.kind == Unknown) // the file system does not tell: ask it
        item.kind = createdNs(i) ? File : Other;
    return item.kind == File;
}

std::optional<int64_t> FolderReading::createdNs(size_t i)
{
    Item& item = m_items.at(i);
    if (item.dated)
        return item.created;
    if (item.kind == Other || m_fd < 0)
        return std::nullopt;
    struct statx sx
    {
    };
    const unsigned mask = STATX_TYPE | STATX_MTIME | STATX_BTIME;
    if (::statx(m_fd, m_names.data() + item.offset, AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, mask, &sx) !=
            0 ||
        !S_ISREG(sx.stx_mode)) {
        item.kind = Other;
        return std::nullopt;
    }
    const statx_timestamp& at = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime;
    item.kind = File;
    item.dated = true;
    item.created = int64_t(at.tv_sec) * 1000000000 + at.tv_nsec;
    return item.created;
}

std::vector<FileEntry> listFiles(const QString& folder)
{
    return listFolder(folder).files;
}

QString nativeFilePath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (slash < 0 || name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return nativePath(path);
    const QString folder = slash == 0 ? QStringLiteral("/") : nativePath(path.left(slash));
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

std::optional<FileEntry> fileEntry(const QString& path)
{
    if (path.trimmed().isEmpty())
        return std::nullopt;
    return entryOf(nativeFilePath(path));
}

bool isSymbolicLink(const QString& path)
{
    struct stat st
    {
    };
    return !path.trimmed().isEmpty() && ::lstat(encoded(nativeFilePath(path)).constData(), &st) == 0 &&
           S_ISLNK(st.st_mode);
}

bool folderWithin(const QString& folder, const QString& outer)
{
    if (folder.trimmed().isEmpty() || outer.trimmed().isEmpty())
        return false;
    const QFileInfo inner(QFileInfo(nativePath(folder)).canonicalFilePath());
    const QFileInfo around(QFileInfo(nativePath(outer)).canonicalFilePath());
    if (!inner.isDir() || !around.isDir())
        return false;
    const QString a = inner.filePath(), b = around.filePath();
    return a == b || a.startsWith(b.endsWith(QLatin1Char('/')) ? b : b + QLatin1Char('/'));
}

int nameMax(const QString& folder)
{
    const long limit = ::pathconf(encoded(nativePath(folder)).constData(), _PC_NAME_MAX);
    return limit > 0 && limit < 4096 ? int(limit) : 255;
}

TakenFile::TakenFile(const QString& path)
{
    ignoreLeaseSignal();
    if (path.trimmed().isEmpty())
        return;
    // Non-blocking: a file someone else holds a lease on is busy, not a wait.
    m_fd = ::open(encoded(nativeFilePath(path)).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        // A file this program may not read is left to its caller, which reports it.
        m_outcome = errno == ELOOP                        ? Outcome::Link
                    : errno == EWOULDBLOCK                ? Outcome::Busy
                    : errno == ENOENT || errno == ENOTDIR ? Outcome::Missing
                                                          : Outcome::Unchecked;
        return;
    }
    struct stat st
    {
    };
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (::fcntl(m_fd, F_SETLEASE, F_RDLCK) == 0) {
        m_outcome = Outcome::Taken;
        return;
    }
    if (errno == EAGAIN || errno == EBUSY) {
        ::close(m_fd);
        m_fd = -1;
        m_outcome = Outcome::Busy;
        return;
    }
    // No lease to be had here (not the file's owner without CAP_LEASE, or a file
    // system without leases): the two steady scans are all that holds.
    m_outcome = Outcome::Unchecked;
}

TakenFile::~TakenFile()
{
    if (m_fd < 0)
        return;
    if (m_outcome == Outcome::Taken)
        ::fcntl(m_fd, F_SETLEASE, F_UNLCK);
    ::close(m_fd);
}

bool writeAll(int fd, const char* data, size_t size)
{
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += size_t(n);
    }
    return true;
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
    const QString source = nativeFilePath(from);
    const QString target = nativeFilePath(to);
    const auto sourceKind = [&] {
        struct stat st
        {
        };
        return ::lstat(encoded(source).constData(), &st) == 0 ? st.st_mode & S_IFMT : mode_t(0);
    };
    const mode_t kind = sourceKind();
    if (kind == S_IFLNK)
        throw RuntimeError(basic::err::PathFileAccessError,
                           QStringLiteral("Symbolic link, not moved: ") + from);
    if (kind != S_IFREG)
        throw RuntimeError(basic::err::FileNotFound, QStringLiteral("File not found: ") + from);
    const QString sourceFolder = QFileInfo(source).absolutePath();
    const QString targetFolder = QFileInfo(target).absolutePath();

    if (renameNoReplace(source, target) == 0) {
        syncFolder(targetFolder);
        if (sourceFolder != targetFolder)
            syncFolder(sourceFolder);
        return;
    }
    // A path not found while the source is still there is the target's.
    if (errno != EXDEV) {
        const int error = errno;
        raise(error, error == EEXIST || (error == ENOENT && sourceKind() == S_IFREG) ? to : from);
    }

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
