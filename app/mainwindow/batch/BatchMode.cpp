#include "app/mainwindow/batch/BatchMode.h"

#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/BatchStatus.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/FileSystem.h"

#include <algorithm>
#include <cstdlib>

namespace batch {

namespace {

constexpr int32_t Tick = 60000; // Timer2 counts longer intervals in ticks of this

const char* const Running = "&Running";

} // namespace

int passTimerInterval(int32_t batchIntervalMs)
{
    return batchIntervalMs <= Tick ? batchIntervalMs : Tick;
}

QString countdownText(const QDateTime& next, const QDateTime& now)
{
    // A time of day of the difference: past due counts up the same way, a day
    // and more shows only the hours of the last day.
    const int64_t seconds = std::llabs(now.secsTo(next)) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

BatchMode::BatchMode(importer::ImportContext& context, BatchWindowView& window, BatchTimers timers,
                     BatchFileSystem& files, StatusListView& list, Uploader upload)
    : m_context(context), m_window(window), m_timers(timers), m_files(files), m_list(list),
      m_upload(std::move(upload))
{
}

void BatchMode::marker(const char* text)
{
    m_window.setTxtwhereat(QLatin1String(text));
}

void BatchMode::setNextBatchTime()
{
    const double seconds = basic::roundHalfEven(double(m_context.state.batch.BatchIntervalMs) / 1000.0);
    m_nextBatchTime = basic::Clock::now().addSecs(int64_t(seconds));
}

void BatchMode::showCountdown()
{
    m_window.setLabelCountDown(countdownText(m_nextBatchTime, basic::Clock::now()));
}

void BatchMode::start()
{
    auto& batch = m_context.state.batch;
    auto& mainWindow = m_context.mainWindow;
    m_window.setStatusBarPanel1(QString());
    batch.BatchErrors.clear();

    const bool success = m_files.folderExists(batch.SuccessFolder);
    const bool error = m_files.folderExists(batch.ErrorFolder);
    const bool source = m_files.folderExists(batch.SourceFolder);
    if (!success || !error || !source) {
        if (!error)
            forms::MsgBox(batch.ErrorFolder +
                              QStringLiteral(" Error file destination path not defined or invalid "),
                          forms::Critical);
        if (!success)
            forms::MsgBox(
                batch.SuccessFolder +
                    QStringLiteral(" Successful Upload destination file path not defined or invalid "),
                forms::Critical);
        if (!source)
            forms::MsgBox(batch.SourceFolder + QStringLiteral(" Source file path not defined or invalid "),
                          forms::Critical);
        return;
    }
    if (folderSettingsRefused())
        return;
    if (m_window.commandStartCaption() == QLatin1String(Running))
        return;

    m_window.setLabel1Visible(true);
    marker("MainSST");
    setNextBatchTime();
    marker("MainSSTC");
    showCountdown();
    m_window.setLabelCountDownVisible(true);
    if (batch.BatchModeEnabled != 1)
        return;
    batch.BatchRunning = true;
    m_stopRequested = false;
    m_timers.Timer2.setEnabled(true);
    m_timers.Timer1.setEnabled(true);
    m_timers.Timer3.setEnabled(true);
    m_window.setCommandStartBold(true);
    m_window.setCommandStartCaption(QLatin1String(Running));
    mainWindow.setMnuFileStartImportEnabled(false);
    mainWindow.setMnuFilenewEnabled(false);
    batch.CurrentFilePath.clear();
    importer::ResetImportStatus(m_context);
    mainWindow.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
    mainWindow.setToolbarButtonEnabled(2, false);
    mainWindow.setToolbarButtonEnabled(1, false);
    mainWindow.setToolbarButtonEnabled(6, false);
    m_window.setSettingsMenuEnabled(false);
}

// A filing folder that is the source folder, or lies inside it, would have each
// pass take the filed files again: refused, error folder first.
bool BatchMode::folderSettingsRefused()
{
    const auto& batch = m_context.state.batch;
    const QString inside = QStringLiteral(" is the Source file path or lies inside it: ") +
                           batch.SourceFolder + QLatin1Char(' ');
    const bool error = shell::folderWithin(batch.ErrorFolder, batch.SourceFolder);
    const bool success = shell::folderWithin(batch.SuccessFolder, batch.SourceFolder);
    if (error)
        forms::MsgBox(batch.ErrorFolder + QStringLiteral(" Error file destination path") + inside,
                      forms::Critical);
    if (success)
        forms::MsgBox(batch.SuccessFolder + QStringLiteral(" Successful Upload destination file path") +
                          inside,
                      forms::Critical);
    return error || success;
}

bool BatchMode::stop()
{
    if (m_fileInProgress) {
        m_stopRequested = true;
        return false;
    }
    stopNow();
    return true;
}

void BatchMode::stopNow()
{
    auto& mainWindow = m_context.mainWindow;
    m_timers.Timer2.setEnabled(false);
    m_timers.Timer1.setEnabled(false);
    m_timers.Timer3.setEnabled(false);
    m_window.setCommandStartBold(false);
    m_window.setLabel1Visible(false);
    mainWindow.setMnuFilenewEnabled(true);
    mainWindow.setToolbarButtonEnabled(1, true);
    mainWindow.setToolbarButtonEnabled(6, true);
    mainWindow.setToolbarButtonEnabled(5, true);
    m_window.setLabelCountDownVisible(false);
    m_window.setCommandStartCaption(QStringLiteral("&Start"));
    m_queue.clear();
    m_seen.clear();
    m_refused.clear();
    m_elapsedMs = 0;
    m_list.clear();
    m_context.state.batch.BatchRunning = false;
    m_stopRequested = false;
}

void BatchMode::scanTick()
{
    const auto& batch = m_context.state.batch;
    // Each folder is read once a scan: the source folder's reading serves the
    // queue and the list.
    const shell::FolderListing source = m_files.listFolder(batch.SourceFolder);
    queueFrom(source);
    m_status.refresh(m_list, m_files, batch.SuccessFolder, batch.ErrorFolder, batch.SourceFolder, &source.files);
}

bool BatchMode::queued(const QString& name) const
{
    return m_queue.contains(name);
}

void BatchMode::unqueue(const QString& name)
{
    m_queue.removeAll(name);
}

void BatchMode::QueueSourceFiles()
{
    queueFrom(m_files.listFolder(m_context.state.batch.SourceFolder));
}

void BatchMode::queueFrom(const shell::FolderListing& source)
{
    std::map<QString, Seen> seen;
    for (const shell::FileEntry& f : source.files) {
        if (!queued(f.name))
            m_queue << f.name;
        Seen now{f.size, f.modified, false};
        const auto before = m_seen.find(f.name);
        now.steady =
            before != m_seen.end() && before->second.size == f.size && before->second.modified == f.modified;
        seen[f.name] = now;
    }
    m_seen = std::move(seen);
    std::erase_if(m_refused, [&](const QString& name) { return !source.links.contains(name); });
    for (const QString& name : source.links)
        refuseLink(name);
}

// A symbolic link is never followed: not imported, not moved, not listed, and
// written to the error log once while it stays.
void BatchMode::refuseLink(const QString& name)
{
    unqueue(name);
    if (!m_refused.insert(name).second)
        return;
    if (errorLog)
        errorLog(QStringLiteral("Symbolic link refused, not imported: ") +
                 joinPath(m_context.state.batch.SourceFolder, name));
}

void BatchMode::RefreshBatchStatus()
{
    const auto& batch = m_context.state.batch;
    m_status.refresh(m_list, m_files, batch.SuccessFolder, batch.ErrorFolder, batch.SourceFolder);
}

// A file is taken once two scans in a row found it the same, and it is still so:
// one still being written waits.
bool BatchMode::takeNow(const QString& name, const QString& path)
{
    const auto seen = m_seen.find(name);
    if (seen == m_seen.end() || !seen->second.steady)
        return false;
    const auto entry = m_files.fileEntry(path);
    return entry && entry->size == seen->second.size && entry->modified == seen->second.modified;
}

void BatchMode::passTick()
{
    if (m_inPass)
        return; // a tick while the pass lets window events run
    const int32_t interval = m_context.state.batch.BatchIntervalMs;
    marker("T2LI");
    m_elapsedMs += Tick;
    if (m_elapsedMs < interval && interval > Tick)
        return;
    marker("T2IST");
    setNextBatchTime();
    marker("T2ISTC");
    showCountdown();
    m_timers.Timer3.setEnabled(false);
    runPass();
    marker("T2LI0");
    m_elapsedMs = 0;
    marker("T2XE");
    if (m_timers.Timer2.enabled())
        m_timers.Timer3.setEnabled(true);
    marker("T2ST");
    setNextBatchTime();
    if (m_stopRequested) {
        stopNow();
        if (stopped)
            stopped();
    }
}

void BatchMode::runPass()
{
    m_inPass = true;
    QStringList dealt;
    for (;;) {
        const auto next = std::find_if(m_queue.begin(), m_queue.end(),
                                       [&](const QString& n) { return !dealt.contains(n); });
        if (next == m_queue.end())
            break;
        const QString name = *next;
        dealt << name;
        try {
            uploadQueued(name, filePath(m_context.state.batch.SourceFolder, name));
        } catch (...) {
            // Errors of the pass are passed over; the next name follows.
            m_fileInProgress = false;
        }
        if (m_stopRequested)
            break; // a stop asked for during the file takes effect now
    }
    m_inPass = false;
}

void BatchMode::uploadQueued(const QString& name, const QString& path)
{
    const auto& batch = m_context.state.batch;
    m_context.mainWindow.setTxtImportFile(joinPath(batch.SourceFolder, name));
    if (!m_files.fileExists(path)) {
        unqueue(name);
        return;
    }
    // The setting may end in a separator or differ in case from the file system.
    if (!shell::sameFolder(path.chopped(name.size()), batch.SourceFolder))
        return;
    if (!takeNow(name, path))
        return;
    // Taken without following a link (one swapped in since the scan is refused)
    // and held while no one has it open for writing, until it is filed.
    const shell::TakenFile taken(path);
    if (taken.outcome() == shell::TakenFile::Outcome::Link) {
        refuseLink(name);
        return;
    }
    if (!taken.taken())
        return; // still open for writing somewhere: the next pass
    m_fileInProgress = true;
    const bool imported = m_upload(name);
    m_fileInProgress = false;
    if (imported)
        m_context.mainWindow.setLblStatus(QStringLiteral("Import Successfull!"));
    if (!m_files.fileExists(path))
        unqueue(name);
}

void BatchMode::countdownTick()
{
    marker("T3Cap");
    showCountdown();
    m_context.mainWindow.setMnuFilenewEnabled(false);
}

} // namespace batch
