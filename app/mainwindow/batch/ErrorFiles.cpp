#include "app/mainwindow/batch/ErrorFiles.h"

#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/FileOrFolderExists.h"
#include "platform/shell/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

namespace batch {

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A free name for the error file. Within one second the stamp comes out the same,
// so a taken stamped name waits for the clock, for a few seconds at most.
QString freeErrorFileName(const QString& first)
{
    QString name = first;
    QElapsedTimer waited;
    waited.start();
    while (FileOrFolderExists(name, 0)) {
        const QString stamped = stampedErrorFileName(first, basic::Clock::now());
        if (stamped == name) {
            if (waited.elapsed() > 3000)
                throw basic::RuntimeError(58, QStringLiteral("File already exists: ") + name);
            QThread::msleep(50);
        }
        name = stamped;
    }
    return name;
}

// Opens the error file; a missing error folder is made once, then tried again.
void openErrorFile(basic::SequentialFile& file, const QString& name, const QString& errorFolder)
{
    try {
        file.open(name, basic::OpenMode::Output);
    } catch (const basic::RuntimeError& e) {
        if (e.number() != basic::err::PathNotFound)
            throw;
        QDir().mkdir(shell::nativePath(errorFolder));
        file.open(name, basic::OpenMode::Output);
    }
}

void writeHeading(basic::SequentialFile& file, const QString& fileName, const QString& folder,
                  const importer::ImportContext& context)
{
    const QString& errorFolder = context.state.batch.ErrorFolder;
    if (fileName.isEmpty())
        return; // nothing is opened; the first line written fails
    const QString name = freeErrorFileName(errorFileName(errorFolder, folder, fileName));
    openErrorFile(file, name, errorFolder);
    file.printLine(quoted(QStringLiteral("Error Description ") + basic::formatDate(basic::Today())));
}

} // namespace

void WriteBatchErrorCsv(importer::ImportContext& context, const QString& fileName, const QString& folder)
{
    auto& batch = context.state.batch;
    basic::SequentialFile file;
    try {
        writeHeading(file, fileName, folder, context);
        for (const QString& entry : batch.BatchErrors) {
            if (!entry.isEmpty())
                file.printLine(quoted(entry));
        }
        batch.BatchErrors.clear();
        context.mainWindow.setMnuFilenewEnabled(false);
        file.close();
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(QString::number(e.number()) + QLatin1Char(' ') + e.description() +
                          QStringLiteral("Please Try Again."),
                      forms::Critical, QStringLiteral("Create Error File -Error"));
        file.close();
    }
}

void writeErrorFile(importer::ImportContext& context, const QString& fileName, const QString& folder,
                    const QStringList& lines)
{
    basic::SequentialFile file;
    writeHeading(file, fileName, folder, context);
    for (const QString& line : lines)
        file.printLine(quoted(line));
    file.close();
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
        basic::SequentialFile file;
        file.open(path, basic::OpenMode::Append);
        file.printLine(quoted(message));
        file.close();
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(e.description(), forms::OKOnly, QStringLiteral("Writing Error Log"));
    }
}

} // namespace batch
