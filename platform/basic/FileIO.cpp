#include "platform/basic/FileIO.h"

#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace basic {

namespace {

constexpr qsizetype kBufferSize = 64 * 1024;

// Files this process holds open, so that a file open for writing is not opened
// a second time (error 55).
struct OpenFiles
{
    std::mutex mutex;
    std::map<QString, std::pair<int, bool>> files; // path -> (open count, open for writing)
};

OpenFiles& openFiles()
{
    // Never destroyed: a file object of static lifetime may close after exit begins.
    static OpenFiles* f = new OpenFiles;
    return *f;
}

[[noreturn]] void fail(int32_t number, const QString& path)
{
    throw RuntimeError(number, {}, path);
}

// Why a file cannot be opened: 76 when its folder is missing, 53 when the file
// is missing and was to be read, 75 otherwise.
[[noreturn]] void failOpen(const QString& path, bool forReading)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        fail(err::PathNotFound, path);
    if (forReading && !info.exists())
        fail(err::FileNotFound, path);
    fail(err::PathFileAccessError, path);
}

} // namespace

namespace {

std::atomic<DriveRootLookup> g_driveRoot{nullptr};

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// "X:..." with X a drive: the drive's folder and the rest after it.
QString mapDrive(const QString& path)
{
    if (!startsWithDriveLetter(path))
        return path;
    const DriveRootLookup lookup = g_driveRoot.load();
    const std::optional<QString> mount = lookup ? lookup(path.at(0)) : std::nullopt;
    if (!mount)
        return path;
    const QString rest = path.mid(2);
    QString root = *mount;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    if (rest.isEmpty())
        return root;
    if (root == QLatin1String("/"))
        return isSeparator(rest.front()) ? rest : QLatin1Char('/') + rest;
    return isSeparator(rest.front()) ? root + rest : root + QLatin1Char('/') + rest;
}

} // namespace

void setDriveRootLookup(DriveRootLookup lookup)
{
    g_driveRoot.store(lookup);
}

bool startsWithDriveLetter(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

QString resolvePath(const QString& path)
{
    // A Linux name may hold "\": a path that names something just as written is
    // that thing, not one with "\" read as a separator.
    if (path.contains(QLatin1Char('\\'))) {
        const QFileInfo asWritten(path);
        if (asWritten.exists() || asWritten.isSymLink())
            return path;
    }
    QString p = mapDrive(path);
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty())
        return p;
    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    bool resolving = true;
    for (const QString& part : parts) {
        QString name = part;
        if (resolving && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString base = current.isEmpty() ? QStringLiteral(".") : current;
            if (!QFileInfo::exists(base + QLatin1Char('/') + part)) {
                QDir dir(base);
                QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                    QDir::Name);
                resolving = false;
                for (const QString& e : entries) {
                    if (e.compare(part, Qt::CaseInsensitive) == 0) {
                        name = e;
                        resolving = true;
                        break;
                    }
                }
            }
        }
        if (!current.isEmpty() && !current.endsWith(QLatin1Char('/')))
            current += QLatin1Char('/');
        current += name;
    }
    if (p.endsWith(QLatin1Char('/')) && !current.endsWith(QLatin1Char('/')))
        current += QLatin1Char('/');
    return current;
}

struct SequentialFile::Impl
{
    QFile file;
    QString key;
    OpenMode mode = OpenMode::Input;
    QByteArray buffer;
    qsizetype bufferPos = 0;
    int64_t bufferStart = 0; // file offset of buffer[0]
    bool afterComma = false;
    qsizetype lineLimit = 0; // 0: lines of any length

    int64_t pos() const { return bufferStart + bufferPos; }

    // Makes at least one unread byte available; false at end of file.
    bool fill()
    {
        if (bufferPos < buffer.size())
            return true;
        bufferStart += buffer.size();
        bufferPos = 0;
        buffer.resize(kBufferSize);
        const qint64 got = file.read(buffer.data(), kBufferSize);
        buffer.resize(got > 0 ? qsizetype(got) : 0);
        return !buffer.isEmpty();
    }

    int peek()
    {
        if (!fill())
            return -1;
        return static_cast<unsigned char>(buffer[bufferPos]);
    }

    void skipLineEnd(int c)
    {
        ++bufferPos;
        if (c == '\r' && peek() == '\n')
            ++bufferPos;
    }

    bool atEnd() { return peek() < 0; }
};

SequentialFile::SequentialFile() : m(std::make_unique<Impl>()) {}

SequentialFile::~SequentialFile() { close(); }

void SequentialFile::open(const QString& path, OpenMode mode, Links links)
{
    if (isOpen())
        throw RuntimeError(err::FileAlreadyOpen, {}, path);
    if (path.trimmed().isEmpty())
        fail(err::BadFileNameOrNumber, path);
    const QString resolved = resolvePath(path);
    const QFileInfo info(resolved);
    if (info.isDir())
        fail(err::PathFileAccessError, path);
    const bool writing = mode == OpenMode::Output || mode == OpenMode::Append;
    const QString key = info.absoluteFilePath();
    {
        OpenFiles& open = openFiles();
        std::lock_guard lock(open.mutex);
        const auto it = open.files.find(key);
        if (it != open.files.end() && (writing || it->second.second))
            fail(err::FileAlreadyOpen, path);
    }
    m->file.setFileName(resolved);
    QIODevice::OpenMode flags;
    switch (mode) {
    case OpenMode::Input:
    case OpenMode::Binary:
        // Binary access only reads; a missing file is not created.
        flags = QIODevice::ReadOnly;
        break;
    case OpenMode::Output:
        flags = QIODevice::WriteOnly | QIODevice::Truncate;
        break;
    case OpenMode::Append:
        flags = QIODevice::WriteOnly | QIODevice::Append;
        break;
    }
    if (links == Links::Refuse) {
        const int access = mode == OpenMode::Input || mode == OpenMode::Binary ? O_RDONLY
                           : mode == OpenMode::Output                          ? O_WRONLY | O_CREAT | O_TRUNC
                                                                               : O_WRONLY | O_CREAT | O_APPEND;
        const int fd = ::open(QFile::encodeName(resolved).constData(), access | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == ELOOP)
            throw RuntimeError(err::PathFileAccessError, QStringLiteral("Symbolic link refused: ") + path);
        if (fd < 0 || !m->file.open(fd, flags, QFileDevice::AutoCloseHandle)) {
            if (fd >= 0)
                ::close(fd);
            failOpen(resolved, !writing);
        }
    } else if (!m->file.open(flags)) {
        failOpen(resolved, !writing);
    }
    m->mode = mode;
    m->key = key;
    m->buffer.clear();
    m->bufferPos = 0;
    m->bufferStart = 0;
    m->afterComma = false;
    m->lineLimit = 0;
    OpenFiles& open = openFiles();
    std::lock_guard lock(open.mutex);
    auto& entry = open.files[key];
    ++entry.first;
    entry.second = entry.second || writing;
}

void SequentialFile::close()
{
    if (!m->file.isOpen())
        return;
    m->file.close();
    OpenFiles& open = openFiles();
    std::lock_guard lock(open.mutex);
    const auto it = open.files.find(m->key);
    if (it != open.files.end() && --it->second.first <= 0)
        open.files.erase(it);
    m->key.clear();
}

bool SequentialFile::isOpen() const { return m->file.isOpen(); }

namespace {

void requireOpen(const QFile& f)
{
    if (!f.isOpen())
        throw RuntimeError(err::BadFileNameOrNumber);
}

} // namespace

namespace {

[[noreturn]] void failTooLong(qsizetype limit, const QString& path)
{
    throw RuntimeError(err::OutOfStringSpace,
                       errorDescription(err::OutOfStringSpace) +
                           QStringLiteral(" (a line longer than %1 characters)").arg(limit),
                       path);
}

} // namespace

QString SequentialFile::lineInput()
{
    bool cut = false;
    const qsizetype limit = m->lineLimit > 0 ? m->lineLimit : std::numeric_limits<qsizetype>::max();
    const QString line = readLine(limit, true, cut);
    if (cut)
        failTooLong(m->lineLimit, m->file.fileName());
    return line;
}

QString SequentialFile::lineInput(qsizetype characters, bool& cut)
{
    return readLine(std::max<qsizetype>(characters, 0), false, cut);
}

void SequentialFile::setLineLimit(qsizetype characters)
{
    m->lineLimit = std::max<qsizetype>(characters, 0);
}

// One line, at most `keep` bytes of it held; a longer line sets `cut` and either
// stops there or passes over the rest of the line.
QString SequentialFile::readLine(qsizetype keep, bool stopWhenCut, bool& cut)
{
    requireOpen(m->file);
    if (m->mode != OpenMode::Input)
        throw RuntimeError(err::BadFileMode);
    if (m->atEnd())
        fail(err::InputPastEndOfFile, m->file.fileName());
    m->afterComma = false;
    cut = false;
    QByteArray line;
    while (m->fill()) {
        const char* data = m->buffer.constData();
        const qsizetype size = m->buffer.size();
        qsizetype i = m->bufferPos;
        while (i < size && data[i] != '\r' && data[i] != '\n')
            ++i;
        const qsizetype room = keep - line.size();
        if (i - m->bufferPos > room) {
            cut = true;
            line.append(data + m->bufferPos, room);
            if (stopWhenCut)
                return fromWindows1252(line);
        } else if (!cut) {
            line.append(data + m->bufferPos, i - m->bufferPos);
        }
        m->bufferPos = i;
        if (i < size) {
            m->skipLineEnd(static_cast<unsigned char>(data[i]));
            break;
        }
    }
    return fromWindows1252(line);
}

bool SequentialFile::skipByteOrderMark()
{
    requireOpen(m->file);
    if (m->mode != OpenMode::Input)
        throw RuntimeError(err::BadFileMode);
    if (m->pos() != 0 || !m->fill() || !m->buffer.startsWith("\xEF\xBB\xBF"))
        return false;
    m->bufferPos = 3;
    return true;
}

QString SequentialFile::inputItem()
{
    requireOpen(m->file);
    if (m->mode != OpenMode::Input)
        throw RuntimeError(err::BadFileMode);
    Impl& f = *m;
    while (f.peek() == ' ' || f.peek() == '\t')
        ++f.bufferPos;
    int c = f.peek();
    if (c < 0) {
        // "a," at the very end still holds an empty last item.
        if (f.afterComma) {
            f.afterComma = false;
            return {};
        }
        fail(err::InputPastEndOfFile, f.file.fileName());
    }
    QByteArray item;
    const auto appendBounded = [&](QByteArray& to, char byte) {
        if (f.lineLimit > 0 && to.size() >= f.lineLimit)
            failTooLong(f.lineLimit, f.file.fileName());
        to.append(byte);
    };
    bool quoted = false;
    if (c == '"') {
        quoted = true;
        ++f.bufferPos;
        while ((c = f.peek()) >= 0 && c != '"') {
            appendBounded(item, char(c));
            ++f.bufferPos;
        }
        if (c == '"')
            ++f.bufferPos;
        // Anything between the closing quote and the delimiter is dropped.
        while ((c = f.peek()) >= 0 && c != ',' && c != '\r' && c != '\n')
            ++f.bufferPos;
    } else {
        while ((c = f.peek()) >= 0 && c != ',' && c != '\r' && c != '\n') {
            appendBounded(item, char(c));
            ++f.bufferPos;
        }
    }
    f.afterComma = c == ',';
    if (c == ',')
        ++f.bufferPos;
    else if (c == '\r' || c == '\n')
        f.skipLineEnd(c);
    if (!quoted) {
        qsizetype n = item.size();
        while (n > 0 && (item[n - 1] == ' ' || item[n - 1] == '\t'))
            --n;
        item.truncate(n);
    }
    return fromWindows1252(item);
}

void SequentialFile::print(const QString& text)
{
    requireOpen(m->file);
    if (m->mode != OpenMode::Output && m->mode != OpenMode::Append)
        throw RuntimeError(err::BadFileMode);
    const QByteArray bytes = toWindows1252(text);
    if (m->file.write(bytes) != bytes.size())
        fail(err::PathFileAccessError, m->file.fileName());
}

void SequentialFile::printLine(const QString& text)
{
    print(text + QStringLiteral("\r\n"));
}

bool SequentialFile::eof() const
{
    requireOpen(m->file);
    if (m->mode == OpenMode::Output || m->mode == OpenMode::Append)
        return true;
    return m->atEnd();
}

int64_t SequentialFile::lof() const
{
    requireOpen(m->file);
    if (m->mode == OpenMode::Output || m->mode == OpenMode::Append)
        m->file.flush();
    return m->file.size();
}

QByteArray SequentialFile::readBytes(int64_t count)
{
    requireOpen(m->file);
    if (count < 0)
        throw RuntimeError(err::InvalidProcedureCall);
    if (m->mode != OpenMode::Input && m->mode != OpenMode::Binary)
        throw RuntimeError(err::BadFileMode);
    QByteArray out;
    while (count > 0 && m->fill()) {
        const qsizetype take = qsizetype(std::min<int64_t>(count, m->buffer.size() - m->bufferPos));
        out.append(m->buffer.constData() + m->bufferPos, take);
        m->bufferPos += take;
        count -= take;
    }
    return out;
}

int64_t SequentialFile::position() const
{
    requireOpen(m->file);
    if (m->mode == OpenMode::Output || m->mode == OpenMode::Append)
        return m->file.pos();
    return m->pos();
}

void SequentialFile::seek(int64_t position)
{
    requireOpen(m->file);
    if (position < 0)
        throw RuntimeError(err::BadFileNameOrNumber);
    if (m->mode == OpenMode::Output || m->mode == OpenMode::Append) {
        m->file.flush();
        if (!m->file.seek(position))
            fail(err::PathFileAccessError, m->file.fileName());
        return;
    }
    if (!m->file.seek(position))
        fail(err::PathFileAccessError, m->file.fileName());
    m->buffer.clear();
    m->bufferPos = 0;
    m->bufferStart = position;
    m->afterComma = false;
}

int64_t FileLen(const QString& path)
{
    const QFileInfo info(resolvePath(path));
    if (!info.exists() || info.isDir())
        fail(err::FileNotFound, path);
    return info.size();
}

QString readTextFile(const QString& path)
{
    const QString resolved = resolvePath(path);
    if (QFileInfo(resolved).isDir())
        fail(err::PathFileAccessError, path);
    QFile file(resolved);
    if (!file.open(QIODevice::ReadOnly))
        failOpen(resolved, true);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(err::PathFileAccessError, path);
    return fromWindows1252(bytes);
}

QString commitWhole(QSaveFile& file, const QByteArray& bytes)
{
    // errno is taken right after the step that failed: Qt's own text for a failed
    // flush is often only "Unknown error".
    int reason = 0;
    const auto step = [&](bool ok) {
        if (!ok && reason == 0)
            reason = errno;
        return ok;
    };
    errno = 0;
    bool ok = step(file.write(bytes) == bytes.size());
    ok = ok && step(file.flush());
    ok = ok && step(file.commit());
    if (ok)
        return {};
    QString why = reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) : file.errorString();
    file.cancelWriting();
    return why.isEmpty() ? QStringLiteral("the file could not be written") : why;
}

void writeTextFileAtomic(const QString& path, const QString& text)
{
    const QString resolved = resolvePath(path);
    if (!QFileInfo(resolved).absoluteDir().exists())
        fail(err::PathNotFound, path);
    QSaveFile file(resolved);
    if (!file.open(QIODevice::WriteOnly))
        throw RuntimeError(err::PathFileAccessError,
                           errorDescription(err::PathFileAccessError) + QStringLiteral(" (") +
                               file.errorString() + QLatin1Char(')'),
                           path);
    const QString why = commitWhole(file, toWindows1252(text));
    if (!why.isEmpty())
        throw RuntimeError(err::PathFileAccessError,
                           errorDescription(err::PathFileAccessError) + QStringLiteral(" (") + why +
                               QLatin1Char(')'),
                           path);
}

} // namespace basic
