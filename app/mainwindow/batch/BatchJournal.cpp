#include "app/mainwindow/batch/BatchJournal.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace batch {

namespace {

[[noreturn]] void fail(const QString& what, const QString& path)
{
    throw basic::RuntimeError(basic::err::PathFileAccessError,
                              QStringLiteral("The batch journal %1 cannot be %2: %3")
                                  .arg(path, what, QString::fromLocal8Bit(std::strerror(errno))));
}

QByteArray field(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

QString unfield(const QByteArray& bytes)
{
    return QUrl::fromPercentEncoding(bytes);
}

QByteArray line(const char* kind, const QString& identity, const QString& value)
{
    return QByteArray(kind) + '\t' + field(identity) + '\t' + field(value) + '\n';
}

void writeAll(int fd, const QByteArray& bytes, const QString& path)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QStringLiteral("written"), path);
        done += n;
    }
}

void syncFolderOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

BatchJournal::BatchJournal(const QString& path) : m_path(path)
{
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("read"), path);
        const QByteArray bytes = file.readAll();
        // Only whole lines count: one cut short by a crash never reached the disk whole.
        const qsizetype end = bytes.lastIndexOf('\n');
        for (const QByteArray& text : bytes.left(end + 1).split('\n')) {
            const QList<QByteArray> parts = text.split('\t');
            if (parts.size() != 3)
                continue;
            const QString identity = unfield(parts[1]);
            const QString value = unfield(parts[2]);
            if (parts[0] == "begin")
                m_open[identity] = Unfinished{value, {}};
            else if (parts[0] == "posted" && m_open.count(identity))
                m_open[identity].posted << value;
            else if (parts[0] == "filed")
                m_open.erase(identity);
        }
    }
    rewrite();
}

QString BatchJournal::defaultPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quillar/batch.journal");
}

QString BatchJournal::identify(const QString& path)
{
    const QString native = shell::nativePath(path);
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly))
        throw basic::RuntimeError(file.exists() ? basic::err::PathFileAccessError : basic::err::FileNotFound,
                                  file.errorString() + QStringLiteral(": ") + path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        throw basic::RuntimeError(basic::err::PathFileAccessError,
                                  file.errorString() + QStringLiteral(": ") + path);
    return QFileInfo(native).absoluteFilePath() + QLatin1Char('|') +
           QString::fromLatin1(hash.result().toHex());
}

std::optional<BatchJournal::Unfinished> BatchJournal::unfinished(const QString& identity) const
{
    const auto it = m_open.find(identity);
    if (it == m_open.end())
        return std::nullopt;
    return it->second;
}

void BatchJournal::begin(const QString& identity, const QString& source)
{
    append("begin", identity, source, true);
    m_open[identity] = Unfinished{source, {}};
}

void BatchJournal::posted(const QString& identity, const QString& document)
{
    append("posted", identity, document, false);
    m_open[identity].posted << document;
}

void BatchJournal::filed(const QString& identity, const QString& target)
{
    append("filed", identity, target, false);
    m_open.erase(identity);
}

void BatchJournal::append(const char* kind, const QString& identity, const QString& value, bool flush)
{
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(QStringLiteral("opened"), m_path);
    try {
        writeAll(fd, line(kind, identity, value), m_path);
        if (flush && ::fdatasync(fd) != 0)
            fail(QStringLiteral("flushed"), m_path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

void BatchJournal::rewrite()
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        fail(QStringLiteral("given a folder"), m_path);
    QByteArray bytes;
    for (const auto& [identity, entry] : m_open) {
        bytes += line("begin", identity, entry.source);
        for (const QString& document : entry.posted)
            bytes += line("posted", identity, document);
    }
    const QString temporary = m_path + QStringLiteral(".new");
    const int fd =
        ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(QStringLiteral("rewritten"), temporary);
    try {
        writeAll(fd, bytes, temporary);
        if (::fsync(fd) != 0)
            fail(QStringLiteral("flushed"), temporary);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(m_path).constData()) != 0)
        fail(QStringLiteral("rewritten"), m_path);
    syncFolderOf(m_path);
}

} // namespace batch
