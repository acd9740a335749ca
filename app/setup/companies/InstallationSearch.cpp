#include "app/setup/companies/InstallationSearch.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"

#include <QHash>

namespace companies {

namespace {

// A drive must yield more matches than one folder's company file and one program file.
constexpr qsizetype MinimumFilesOnDrive = 3;
constexpr int MinimumFilesInFolder = 2;

QString fileName(const QString& filePath)
{
    return filePath.mid(filePath.lastIndexOf(QLatin1Char('\\')) + 1);
}

automation::ObjectRef searchObject(const FileSearchObjectProvider& provider)
{
    automation::ObjectRef object = provider ? provider() : nullptr;
    if (!object)
        throw basic::RuntimeError(basic::err::ObjectVariableNotSet,
                                  basic::errorDescription(basic::err::ObjectVariableNotSet),
                                  QStringLiteral("InstallationSearch"));
    return object;
}

} // namespace

InstallationSearch::InstallationSearch(FileSearchObjectProvider fileSearch, Progress progress)
    : m_fileSearch(std::move(fileSearch)), m_progress(std::move(progress))
{
}

QStringList InstallationSearch::GetVorlenPath()
{
    const automation::ObjectRef fileSearch = searchObject(m_fileSearch);
    const auto fixedDrives = [&] { return basic::CStr(fileSearch->call(QStringLiteral("GetLogSysDrive"))); };

    QStringList found;
    const qsizetype driveCount = fixedDrives().size();
    for (qsizetype d = 0; d < driveCount; ++d) {
        // Mounts come and go while a search runs: each drive's letter is read afresh,
        // and a position the fresh reading no longer has is passed over.
        const QString drives = fixedDrives();
        if (d >= drives.size())
            continue;
        const QString letter = drives.mid(d, 1);
        if (m_progress)
            m_progress(QStringLiteral("Searching in Drive ") + letter);
        forms::DoEvents();
        if (m_stopSearch)
            return found;
        const QStringList files =
            FindFiles(*fileSearch, letter + QLatin1Char(':'), QString::fromLatin1(PackageFileMasks), true);
        for (const QString& folder : installationFolders(files))
            if (!found.contains(folder))
                found << folder;
    }
    return found;
}

void InstallationSearch::setObjectStop(bool stop) noexcept
{
    // The object's flag only shortens the walk under way; without an object the
    // search's own flag still stops it at the next drive.
    try {
        searchObject(m_fileSearch)->put(QStringLiteral("SearchStopDll"), automation::Variant(stop));
    } catch (const basic::RuntimeError&) {
    }
}

void InstallationSearch::stop() noexcept
{
    m_stopSearch = true;
    setObjectStop(true);
}

void InstallationSearch::reportCanceled()
{
    forms::MsgBox(QStringLiteral("Search Canceled by User."), forms::Exclamation);
    m_stopSearch = false;
    setObjectStop(false);
}

std::optional<QString> InstallationSearch::askForInstallation(const QStringList& folders) const
{
    const std::optional<QString> answer = forms::messageService().inputBox(
        report(folders), QStringLiteral("Vorlen Installation Search Report"), QStringLiteral("1"),
        forms::InputEcho::Normal);
    const std::optional<QString> folder = answer ? selectedFolder(*answer, folders) : std::nullopt;
    if (!folder)
        forms::MsgBox(QStringLiteral("Invalid Selection"), forms::Critical);
    return folder;
}

QString InstallationSearch::report(const QStringList& folders)
{
    // Only the heading turns plural: a folder whose name holds "Installation" is
    // shown as it is.
    const qsizetype count = folders.size();
    QString text = QStringLiteral("Found %1 %2 of Vorlen in this Computer.\r"
                                  "Please select the desired path, Default is 1.")
                       .arg(count)
                       .arg(count > 1 ? QStringLiteral("Installations") : QStringLiteral("Installation"));
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            text += QStringLiteral(" and");
        text += QStringLiteral("\r%1) ").arg(i + 1) + folders.at(i);
    }
    return text;
}

std::optional<QString> InstallationSearch::selectedFolder(const QString& answer, const QStringList& folders)
{
    const basic::Variant typed(answer);
    if (answer.isEmpty() || !basic::IsNumeric(typed))
        return std::nullopt;
    int32_t selection = 0;
    try {
        selection = basic::CLng(typed);
    } catch (const basic::RuntimeError&) {
        return std::nullopt; // too large for a whole number: out of range all the same
    }
    if (selection < 1 || selection > folders.size())
        return std::nullopt;
    return folders.at(selection - 1);
}

QStringList InstallationSearch::installationFolders(const QStringList& driveFiles)
{
    QStringList folders;
    if (driveFiles.size() < MinimumFilesOnDrive)
        return folders;
    QHash<QString, int> filesIn;
    QHash<QString, bool> companyIn;
    for (const QString& file : driveFiles) {
        const QString folder = parentFolder(file);
        ++filesIn[folder];
        if (basic::UCase(fileName(file)) == QLatin1String("COMPANY"))
            companyIn[folder] = true;
    }
    for (const QString& file : driveFiles) {
        const QString folder = parentFolder(file);
        if (filesIn.value(folder) >= MinimumFilesInFolder && companyIn.value(folder) &&
            !folders.contains(folder))
            folders << folder;
    }
    return folders;
}

QString InstallationSearch::parentFolder(const QString& filePath)
{
    const qsizetype cut = filePath.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0)
        return QString();
    const QString folder = filePath.left(cut);
    // A drive root keeps its backslash.
    if (folder.size() == 2 && folder.at(1) == QLatin1Char(':'))
        return folder + QLatin1Char('\\');
    return folder;
}

} // namespace companies
