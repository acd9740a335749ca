#include "app/setup/LayoutPairWrite.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/Strings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace setup {

namespace {

namespace fs = std::filesystem;
using importer::LayoutFiles;

constexpr int ColumnFile = 1;
constexpr int GroupFile = 2;

fs::path nativePath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

[[noreturn]] void fail(int file, const QString& path, const QString& why = {})
{
    QString description = basic::errorDescription(basic::err::PathFileAccessError);
    if (!why.isEmpty())
        description += QStringLiteral(" (") + why + QLatin1Char(')');
    throw LayoutWriteError(file, basic::RuntimeError(basic::err::PathFileAccessError, description, path));
}

void removeQuietly(const QString& path)
{
    std::error_code ignored;
    fs::remove(nativePath(path), ignored);
}

// Makes the renames themselves durable; a folder that cannot be synced changes
// nothing about the outcome.
void syncFolder(const QString& file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A second name for the file's present content, kept until both renames are done.
bool keepCopy(const QString& file, const QString& copy)
{
    removeQuietly(copy);
    std::error_code error;
    fs::create_hard_link(nativePath(file), nativePath(copy), error);
    return !error || QFile::copy(file, copy);
}

} // namespace

void writeLayoutPair(const QString& folder, const std::array<QString, importer::SlotCount>& columns,
                     const importer::GroupTitles& groups, const QString& templateName)
{
    const QString name = basic::Trim(templateName);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString stagingName = QStringLiteral(".~new") + pid + QLatin1Char('-') + name;
    const QString keptName = QStringLiteral(".~old") + pid + QLatin1Char('-') + name;

    const QString stagedColumns = basic::resolvePath(LayoutFiles::columnFilePath(folder, stagingName));
    const QString stagedGroups = basic::resolvePath(LayoutFiles::groupFilePath(folder, stagingName));
    const QString columnFile = basic::resolvePath(LayoutFiles::columnFilePath(folder, name));
    const QString groupFile = basic::resolvePath(LayoutFiles::groupFilePath(folder, name));
    const QString keptColumns = basic::resolvePath(LayoutFiles::columnFilePath(folder, keptName));

    const auto dropStaged = [&] {
        removeQuietly(stagedColumns);
        removeQuietly(stagedGroups);
    };

    // 1. Both new files in full, each synced to disk, beside their targets.
    try {
        LayoutFiles::write(folder, columns, groups, stagingName);
    } catch (const basic::RuntimeError& e) {
        dropStaged();
        const bool onGroups = basic::resolvePath(e.source()) == stagedGroups;
        throw LayoutWriteError(
            onGroups ? GroupFile : ColumnFile,
            basic::RuntimeError(e.number(), e.description(), onGroups ? groupFile : columnFile));
    }
    // 2. The present column file keeps a second name, to put it back should the
    // grouping file's rename fail.
    const bool hadColumns = QFileInfo::exists(columnFile);
    if (hadColumns && !keepCopy(columnFile, keptColumns)) {
        dropStaged();
        removeQuietly(keptColumns);
        fail(ColumnFile, columnFile);
    }
    const auto dropKept = [&] {
        if (hadColumns)
            removeQuietly(keptColumns);
    };

    // 3. The renames, column file first.
    std::error_code error;
    fs::rename(nativePath(stagedColumns), nativePath(columnFile), error);
    if (error) {
        dropStaged();
        dropKept();
        fail(ColumnFile, columnFile, QString::fromLocal8Bit(error.message()));
    }
    fs::rename(nativePath(stagedGroups), nativePath(groupFile), error);
    if (error) {
        const QString why = QString::fromLocal8Bit(error.message());
        std::error_code undo;
        if (hadColumns)
            fs::rename(nativePath(keptColumns), nativePath(columnFile), undo);
        else
            fs::remove(nativePath(columnFile), undo);
        dropStaged();
        if (undo && hadColumns)
            fail(GroupFile, groupFile,
                 QStringLiteral("%1; the previous %2 could not be put back and is kept as %3")
                     .arg(why, QFileInfo(columnFile).fileName(), keptColumns));
        if (undo)
            fail(GroupFile, groupFile,
                 QStringLiteral("%1; the new %2 could not be removed").arg(why, columnFile));
        syncFolder(columnFile);
        fail(GroupFile, groupFile, why);
    }
    dropKept();
    syncFolder(columnFile);
}

} // namespace setup
