#include "app/mainwindow/batch/ErrorFiles.h"

#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/FileOrFolderExists.h"
#include "platform/shell/FileSystem.h"
#include "platform/shell/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace batch {

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

[[noreturn]] void fail(int error, const QString& path)
{
    throw basic::RuntimeError(error == ENOENT ? basic::err::PathNotFound : basic::err::PathFileAccessError,
                              QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(": ") + path);
}

// Writes the lines, each quoted and ended by CR LF, and closes the file.
void writeLinesAndClose(int fd, const QStringList& lines, const QString& path)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += basic::toWindows1252(quoted(line)) + "\r\n";
    if (!shell::writeAll(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        fail(error, path);
    }
    if (::close(fd) != 0)
        fail(errno, path);
}

// Creates the error file afresh: never through a link and never over anything
// already there, also one put there after the name was chosen. A taken name
// moves on to the stamped one; within one second the stamp comes out the same,
// so a taken stamped name waits for the clock, for a few seconds at most. A
// missing error folder is made once (one level).
int createErrorFile(const importer::ImportContext& context, const QString& fileName, const QString& folder,
                    QString& name)
{
    const QString& errorFolder = context.state.batch.ErrorFolder;
    if (fileName.isEmpty())
        throw basic::RuntimeError(basic::err::BadFileNameOrNumber);
    const QString first = errorFileLeaf(fileName);
    QString leaf = first;
    QElapsedTimer waited;
    waited.start();
    bool folderMade = false;
    for (;;) {
        name = filePath(folder, leaf);
        const int fd =
            ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        const int error = errno;
        if (error == ENOENT && !folderMade) {
            folderMade = true;
            QDir().mkdir(shell::nativePath(errorFolder));
            continue;
        }
        if (error != EEXIST)
            fail(error, name);
        const QString stamped = stampedErrorFileName(first, basic::Clock::now());
        if (stamped == leaf) {
            if (waited.elapsed() > 3000)
                throw basic::RuntimeError(58, QStringLiteral("File already exists: ") + name);
            QThread::msleep(50);
        }
        leaf = stamped;
    }
}

void writeErrorFileLines(importer::ImportContext& context, const QString& fileName, const QString& folder,
                         const QStringList& lines)
{
    QString name;
    const int fd = createErrorFile(context, fileName, folder, name);
    writeLinesAndClose(
        fd, QStringList{QStringLiteral("Error Description ") + basic::formatDate(basic::Today())} + lines,
        name);
}

} // namespace

void WriteBatchErrorCsv(importer::ImportContext& context, const QString& fileName, const QString& folder)
{
    auto& batch = context.state.batch;
    try {
        QStringList entries;
        for (const QString& entry : batch.BatchErrors) {
            if (!entry.isEmpty())
                entries << entry;
        }
        writeErrorFileLines(context, fileName, folder, entries);
        batch.BatchErrors.clear();
        context.mainWindow.setMnuFilenewEnabled(false);
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(QString::number(e.number()) + QLatin1Char(' ') + e.description() +
                          QStringLiteral("Please Try Again."),
                      forms::Critical, QStringLiteral("Create Error File -Error"));
    }
}

void writeErrorFile(importer::ImportContext& context, const QString& fileName, const QString& folder,
                    const QStringList& lines)
{
    writeErrorFileLines(context, fileName, folder, lines);
}

void WriteErrorLog(DoSecurityProvider& security, const QString& programFolder, const QString& message)
{
    try {
        automation::Args args{basic::Variant(QStringLiteral("DefaultLogPath")), basic::Variant(false)};
        const basic::ObjectRef keelbox = security.doSecurity();
        if (!keelbox)
            throw basic::RuntimeError(basic::err::ObjectVariableNotSet);
        const QString value =
            basic::Trim(basic::CStr(keelbox->callByRef(QStringLiteral("GetRegKeyValue"), args)));
        const bool found = basic::CBool(args[1]);
        const QString path = found && FileOrFolderExists(value, 1)
                                 ? value + QStringLiteral("Errorlog.log")
                                 : programFolder + QStringLiteral("/ErrorLOG/Errorlog.log");
        // Appended to the log itself only: a link or anything but a regular file
        // put in its place is refused (and a pipe does not block).
        const int fd = ::open(QFile::encodeName(shell::nativePath(path)).constData(),
                              O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0)
            fail(errno, path);
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            throw basic::RuntimeError(basic::err::PathFileAccessError,
                                      QStringLiteral("The error log is not a regular file: ") + path);
        }
        writeLinesAndClose(fd, {message}, path);
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(e.description(), forms::OKOnly, QStringLiteral("Writing Error Log"));
    }
}

} // namespace batch
