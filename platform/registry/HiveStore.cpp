#include "platform/registry/HiveStore.h"

#include "platform/registry/HiveFormat.h"

#include <QFileInfo>
#include <QSaveFile>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace registry {

namespace {

QString errnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Closes a descriptor (and so drops its flock) when it goes out of scope.
class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The folder may be written: access(2) agrees and the owner-write bit is set (root
// passes access(2) for any folder, the mode bits say what the owner meant).
bool folderWritable(const QString& dir, QString* why)
{
    struct stat st
    {
    };
    if (::stat(native(dir).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        if (why)
            *why = QStringLiteral("\"%1\" is not a folder").arg(dir);
        return false;
    }
    if (::access(native(dir).constData(), W_OK | X_OK) != 0 || !(st.st_mode & S_IWUSR)) {
        if (why)
            *why = QStringLiteral("the folder \"%1\" is not writable").arg(dir);
        return false;
    }
    return true;
}

// Creates the missing folders of `dir`, private ones when `ownerOnly`.
bool makeFolders(const QString& dir, bool ownerOnly, QString& why)
{
    struct stat st
    {
    };
    if (::stat(native(dir).constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const QString parent = QFileInfo(dir).absolutePath();
    if (parent != dir && !makeFolders(parent, ownerOnly, why))
        return false;
    if (::mkdir(native(dir).constData(), ownerOnly ? 0700 : 0755) != 0 && errno != EEXIST) {
        why = QStringLiteral("cannot create the folder \"%1\": %2").arg(dir, errnoText(errno));
        return false;
    }
    return true;
}

} // namespace

HiveStore& HiveStore::instance()
{
    static HiveStore store;
    return store;
}

HiveStore::Stamp HiveStore::stampOf(const struct stat& st)
{
    Stamp s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.ctimeNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

bool HiveStore::stampNow(const QString& file, Stamp& stamp)
{
    struct stat st
    {
    };
    if (::stat(native(file).constData(), &st) == 0) {
        stamp = stampOf(st);
        return true;
    }
    stamp = Stamp{};
    // Only a file that is plainly absent counts as an empty hive; anything else is
    // read again so that its failure is reported.
    return errno == ENOENT;
}

HiveStore::Loaded HiveStore::load(const QString& file)
{
    Loaded out;
    // Never blocks (a named pipe put in its place) and never follows a link: what
    // is opened is checked to be a regular file before anything is read.
    const Fd fd(::open(native(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    if (fd.get() < 0) {
        const int err = errno;
        if (err == ENOENT) {
            out.root = std::make_unique<HiveNode>();
            return out;
        }
        out.status = (err == EACCES || err == EPERM) ? AccessDenied : InvalidData;
        out.detail = err == ELOOP ? QStringLiteral("is a symbolic link, not a regular file")
                                  : QStringLiteral("cannot be read: %1").arg(errnoText(err));
        return out;
    }
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        out.status = InvalidData;
        out.detail = QStringLiteral("is not a regular file");
        return out;
    }
    const auto tooLarge = [](Loaded& refused) {
        refused.status = InvalidData;
        refused.detail = QStringLiteral("is larger than %1 bytes, the most a hive may hold")
                             .arg(HiveFormat::MaxHiveBytes);
    };
    if (st.st_size > HiveFormat::MaxHiveBytes) {
        tooLarge(out);
        return out;
    }
    out.stamp = stampOf(st);
    QByteArray bytes;
    bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        if (bytes.size() > HiveFormat::MaxHiveBytes) { // grown while being read
            tooLarge(out);
            return out;
        }
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.status = InvalidData;
            out.detail = QStringLiteral("cannot be read: %1").arg(errnoText(errno));
            return out;
        }
        bytes.append(buffer, n);
    }
    QString error;
    out.root = HiveFormat::parse(bytes, error);
    if (!out.root) {
        out.status = InvalidData;
        out.detail = error;
    }
    return out;
}

void HiveStore::remember(const QString& file, Status status, const QString& detail)
{
    if (status != Success)
        m_details[{file, status}] = detail;
}

QString HiveStore::detail(const QString& file, Status status) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_details.find({file, status});
    return it == m_details.end() ? QString() : it->second;
}

HiveStore::Snapshot HiveStore::current(const QString& file)
{
    std::lock_guard lock(m_mutex);
    Stamp now;
    const bool known = stampNow(file, now);
    const auto it = m_cache.find(file);
    if (known && it != m_cache.end() && it->second.stamp == now)
        return it->second.snapshot;

    Loaded loaded = load(file);
    remember(file, loaded.status, loaded.detail);
    Cached entry;
    entry.snapshot.status = loaded.status;
    entry.snapshot.root = std::shared_ptr<const HiveNode>(std::move(loaded.root));
    entry.stamp = loaded.stamp;
    if (loaded.status == Success)
        m_cache[file] = entry;
    else
        m_cache.erase(file); // read again next time: it may have been mended
    return entry.snapshot;
}

bool HiveStore::mayWrite(const QString& file, QString* why) const
{
    const QFileInfo info(file);
    struct stat st
    {
    };
    if (::stat(native(file).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (why)
                *why = QStringLiteral("\"%1\" is not a regular file").arg(file);
            return false;
        }
        if (::access(native(file).constData(), W_OK) != 0 || !(st.st_mode & S_IWUSR)) {
            if (why)
                *why = QStringLiteral("the file \"%1\" is read-only").arg(file);
            return false;
        }
        return folderWritable(info.absolutePath(), why);
    }
    if (errno != ENOENT) {
        if (why)
            *why = QStringLiteral("\"%1\": %2").arg(file, errnoText(errno));
        return false;
    }
    // Not there yet: the nearest folder that exists must let us create it.
    QString dir = info.absolutePath();
    for (;;) {
        if (::stat(native(dir).constData(), &st) == 0)
            return folderWritable(dir, why);
        const QString parent = QFileInfo(dir).absolutePath();
        if (errno != ENOENT || parent == dir) {
            if (why)
                *why = QStringLiteral("\"%1\": %2").arg(dir, errnoText(errno));
            return false;
        }
        dir = parent;
    }
}

bool HiveStore::checkWritable(const QString& file)
{
    QString why;
    if (mayWrite(file, &why))
        return true;
    std::lock_guard lock(m_mutex);
    remember(file, AccessDenied, why);
    return false;
}

Status HiveStore::modify(const QString& file, bool ownerOnly, const std::function<Status(HiveNode&)>& change)
{
    std::lock_guard lock(m_mutex);
    QString why;
    if (!mayWrite(file, &why)) {
        remember(file, AccessDenied, why);
        return AccessDenied;
    }
    if (!makeFolders(QFileInfo(file).absolutePath(), ownerOnly, why)) {
        remember(file, WriteFault, why);
        return WriteFault;
    }

    // Another process (regsvr, a second instance) may change the hive at the same
    // time: read, change and write it under one exclusive lock.
    const QString lockPath = file + QStringLiteral(".lock");
    const Fd lockFd(
        ::open(native(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, ownerOnly ? 0600 : 0644));
    if (lockFd.get() < 0) {
        remember(file, WriteFault,
                 QStringLiteral("cannot open the lock file \"%1\": %2").arg(lockPath, errnoText(errno)));
        return WriteFault;
    }
    while (::flock(lockFd.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            remember(file, WriteFault,
                     QStringLiteral("cannot lock \"%1\": %2").arg(lockPath, errnoText(errno)));
            return WriteFault;
        }
    }

    Loaded loaded = load(file);
    if (loaded.status != Success) {
        remember(file, loaded.status, loaded.detail);
        m_cache.erase(file);
        return loaded.status;
    }
    const Status changed = change(*loaded.root);
    if (changed != Success)
        return changed;

    QString tooLarge;
    const QByteArray bytes = HiveFormat::serialize(*loaded.root, tooLarge);
    if (bytes.isEmpty()) {
        remember(file, WriteFault, tooLarge);
        return WriteFault;
    }
    QSaveFile out(file);
    bool ok = out.open(QIODevice::WriteOnly);
    if (ok && ownerOnly)
        ok = out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    else if (ok && !loaded.stamp.exists)
        ok = out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                QFileDevice::ReadOther);
    // flush() before commit(): a buffered write that fails only at the final flush
    // (a full disk, a size limit) would otherwise be committed as a cut-off file.
    // errno is taken at the failing step: Qt's text is often "Unknown error" then.
    int reason = ok ? 0 : errno;
    const auto step = [&](bool stepOk) {
        if (!stepOk && reason == 0)
            reason = errno;
        return stepOk;
    };
    errno = 0;
    ok = ok && step(out.write(bytes) == bytes.size());
    ok = ok && step(out.flush());
    ok = ok && step(out.commit());
    if (!ok) {
        const QString error = reason != 0 ? errnoText(reason) : out.errorString();
        out.cancelWriting();
        remember(file, WriteFault, error);
        return WriteFault;
    }

    Cached entry;
    entry.snapshot.root = std::shared_ptr<const HiveNode>(std::move(loaded.root));
    if (stampNow(file, entry.stamp) && entry.stamp.exists)
        m_cache[file] = entry;
    else
        m_cache.erase(file);
    return Success;
}

} // namespace registry
