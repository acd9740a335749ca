#pragma once

#include "app/setup/companies/FindFiles.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The search for the package's installations on every fixed drive (the Search
// button of the settings form). The form keeps one InstallationSearch, locks its
// controls and plays its busy clip around it, and calls, in this order:
//   GetVorlenPath()             the search; `progress` gets "Searching in Drive C"
//                               before each drive, then pending events run (a click
//                               on Stop calls stop())
//   stopRequested()             True: reportCanceled(), then unlock the form
//   otherwise                   unlock the form, askForInstallation(found): a
//                               folder to point the folder list at, or nothing
// A stop is seen between drives; it also cuts short the walk of the drive under way
// (the search object's own stop flag), and the search is then reported as cancelled.
namespace companies {

class InstallationSearch
{
public:
    using Progress = std::function<void(const QString& text)>;

    explicit InstallationSearch(FileSearchObjectProvider fileSearch, Progress progress = {});

    // The installation folders found on the fixed drives, each once, in the order
    // found: folders holding the company file and at least one more file of the
    // masks, on a drive where the masks matched 3 files or more. A folder is written
    // without a trailing "\" except a drive root ("D:\"). Ends after the drive under
    // way when stop() was called. Raises basic::RuntimeError when the search object
    // cannot be had (Drivewalk not registered).
    QStringList GetVorlenPath();

    // The Stop button: the search stops at the next drive. Never raises.
    void stop() noexcept;
    bool stopRequested() const { return m_stopSearch; }
    // After a stopped search: "Search Canceled by User." (exclamation), and both stop
    // flags cleared so that the next search starts clean.
    void reportCanceled();

    // Shows the report in an input box (title "Vorlen Installation Search Report",
    // default "1") and gives the folder chosen; an empty, cancelled, non-numeric or
    // out-of-range answer shows "Invalid Selection" (critical) and gives nothing.
    std::optional<QString> askForInstallation(const QStringList& folders) const;

    // The report text: a heading counting the folders, then "1) folder", " and",
    // "2) folder", ... each on a line of its own (lines end with a carriage return).
    static QString report(const QStringList& folders);
    // The folder an answer picks: a number (rounded to the nearest whole, half to
    // even) from 1 to the number of folders; nothing for any other answer.
    static std::optional<QString> selectedFolder(const QString& answer, const QStringList& folders);
    // The installation folders among one drive's matches, by the rules above.
    static QStringList installationFolders(const QStringList& driveFiles);
    // The folder of a file path written with "\": "D:\Vorlen" for "D:\Vorlen\company",
    // "D:\" for "D:\company".
    static QString parentFolder(const QString& filePath);

private:
    void setObjectStop(bool stop) noexcept;

    FileSearchObjectProvider m_fileSearch;
    Progress m_progress;
    bool m_stopSearch = false;
};

} // namespace companies
