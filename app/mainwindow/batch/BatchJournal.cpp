#include "app/mainwindow/batch/BatchJournal.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/FileSystem.h"
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
    if (!shell::writeAll(fd, bytes))
        fail(QStringLiteral("written"), path);
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

QStringList BatchJournal::Unfinished::posted() const
{
    QStringList documents;
    for (const QString& outcome : outcomes) {
        if (!outcome.isEmpty())
            documents << outcome;
    }
    return documents;
}

BatchJournal::BatchJournal(const QString& path) : m_path(path)
{
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("read"), path);
        read(file.readAll());
    }
    rewrite();
}

void BatchJournal::read(const QByteArray& bytes)
{
    // Only whole lines count: one cut short by a crash never reached the disk whole.
    const qsizetype end = bytes.lastIndexOf('\n');
    for (const QByteArray& text : bytes.left(end + 1).split('\n')) {
        const QList<QByteArray> parts = text.split('\t');
        if (parts.size() != 3)
            continue;
        const QByteArray& kind = parts[0];
        const QString identity = unfield(parts[1]);
        const QString value = unfield(parts[2]);
        if (kind == "begin") {
            Unfinished& entry = m_open[identity] = Unfinished{};
            entry.identity = identity;
            entry.source = value;
            continue;
        }
        const auto it = m_open.find(identity);
        if (it == m_open.end())
            continue;
        Unfinished& entry = it->second;
        if (kind == "plan") {
            // First row, last row, then the account, which may hold anything.
            const qsizetype first = value.indexOf(QLatin1Char('\t'));
            const qsizetype second = value.indexOf(QLatin1Char('\t'), first + 1);
            if (first > 0 && second > first)
                entry.planned.push_back(Planned{value.left(first).toInt(),
                                                value.mid(first + 1, second - first - 1).toInt(),
                                                value.mid(second + 1)});
        } else if (kind == "posted" || kind == "unposted") {
            entry.outcomes << value;
        } else if (kind == "error") {
            entry.errors << value;
        } else if (kind == "interrupted") {
            entry.interrupted = true;
            entry.changed = value == QLatin1String("changed");
        } else if (kind == "moving" || kind == "failing") {
            entry.target = value;
            entry.failing = kind == "failing";
        } else if (kind == "vanished") {
            entry.vanished = true;
        } else if (kind == "filed") {
            m_open.erase(it);
        }
    }
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

namespace {

QString pathPart(const QString& identity)
{
    return identity.left(identity.lastIndexOf(QLatin1Char('|')));
}

QByteArray planLine(const QString& identity, const BatchJournal::Planned& document)
{
    return line("plan", identity,
                QString::number(document.firstRow) + QLatin1Char('\t') + QString::number(document.lastRow) +
                    QLatin1Char('\t') + document.account);
}

QByteArray outcomeLine(const QString& identity, const QString& document)
{
    return line(document.isEmpty() ? "unposted" : "posted", identity, document);
}

QByteArray interruptedLine(const QString& identity, bool changed)
{
    return line("interrupted", identity, changed ? QStringLiteral("changed") : QString());
}

QByteArray movingLine(const QString& identity, const QString& target, bool failing)
{
    return line(failing ? "failing" : "moving", identity, target);
}

// The records that bring a fresh journal to `entry`.
QByteArray linesOf(const BatchJournal::Unfinished& entry)
{
    const QString& identity = entry.identity;
    QByteArray bytes = line("begin", identity, entry.source);
    for (const auto& document : entry.planned)
        bytes += planLine(identity, document);
    for (const QString& outcome : entry.outcomes)
        bytes += outcomeLine(identity, outcome);
    for (const QString& error : entry.errors)
        bytes += line("error", identity, error);
    if (entry.interrupted)
        bytes += interruptedLine(identity, entry.changed);
    if (!entry.target.isEmpty())
        bytes += movingLine(identity, entry.target, entry.failing);
    if (entry.vanished)
        bytes += line("vanished", identity, QString());
    return bytes;
}

} // namespace

QString BatchJournal::pathIdentity(const QString& path)
{
    return QFileInfo(shell::nativePath(path)).absoluteFilePath() + QLatin1Char('|');
}

std::optional<BatchJournal::Unfinished> BatchJournal::unfinished(const QString& identity) const
{
    const auto it = m_open.find(identity);
    if (it != m_open.end())
        return it->second;
    // The same path, other bytes: a writer added to the file after the interruption.
    const QString path = pathPart(identity);
    for (const auto& [recorded, entry] : m_open) {
        if (!entry.vanished && pathPart(recorded) == path) {
            Unfinished found = entry;
            found.changed = true;
            return found;
        }
    }
    return std::nullopt;
}

std::vector<BatchJournal::Unfinished> BatchJournal::moving() const
{
    std::vector<Unfinished> entries;
    for (const auto& [identity, entry] : m_open) {
        if (!entry.target.isEmpty())
            entries.push_back(entry);
    }
    return entries;
}

void BatchJournal::begin(const QString& identity, const QString& source)
{
    Unfinished entry;
    entry.identity = identity;
    entry.source = source;
    append(linesOf(entry), true);
    m_open[identity] = entry;
}

void BatchJournal::planned(const QString& identity, const std::vector<Planned>& documents)
{
    QByteArray bytes;
    for (const auto& document : documents)
        bytes += planLine(identity, document);
    append(bytes, true);
    auto& entry = m_open[identity];
    entry.planned.insert(entry.planned.end(), documents.begin(), documents.end());
}

void BatchJournal::done(const QString& identity, const QString& document)
{
    append(outcomeLine(identity, document), false);
    m_open[identity].outcomes << document;
}

void BatchJournal::errors(const QString& identity, const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& error : entries)
        bytes += line("error", identity, error);
    append(bytes, false);
    m_open[identity].errors << entries;
}

void BatchJournal::interrupted(const QString& identity, bool changed)
{
    append(interruptedLine(identity, changed), false);
    auto& entry = m_open[identity];
    entry.interrupted = true;
    entry.changed = changed;
}

void BatchJournal::moving(const QString& identity, const QString& target, bool failing)
{
    append(movingLine(identity, target, failing), false);
    auto& entry = m_open[identity];
    entry.target = target;
    entry.failing = failing;
}

void BatchJournal::vanished(const QString& identity)
{
    append(line("vanished", identity, QString()), false);
    m_open[identity].vanished = true;
}

void BatchJournal::filed(const QString& identity, const QString& target)
{
    append(line("filed", identity, target), false);
    m_open.erase(identity);
}

void BatchJournal::append(const QByteArray& lines, bool flush)
{
    if (lines.isEmpty() && !flush)
        return;
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(QStringLiteral("opened"), m_path);
    try {
        writeAll(fd, lines, m_path);
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
    for (const auto& [identity, entry] : m_open)
        bytes += linesOf(entry);
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
