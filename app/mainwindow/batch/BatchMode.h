#pragma once

#include "app/mainwindow/batch/BatchStatus.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <set>

namespace importer {
class ImportContext;
}

namespace shell {
struct FolderListing;
}

namespace batch {

class BatchFileSystem;
class BatchTimer;
class BatchWindowView;

// The main window's three timers.
struct BatchTimers
{
    BatchTimer& Timer1; // the scan, every 2,000 ms
    BatchTimer& Timer2; // the pass
    BatchTimer& Timer3; // the countdown, every 1,000 ms
};

// Timer2's interval for a pass interval: the interval itself up to 60,000 ms,
// else 60,000 (longer intervals are counted in 60-second ticks).
int passTimerInterval(int32_t batchIntervalMs);

// The countdown as LabelCountDown shows it: the time of day of the difference, in
// the pattern "h:mm:ss".
QString countdownText(const QDateTime& next, const QDateTime& now);

// Batch-upload mode: Start and Stop, the scan, the pass and the countdown, as
// handlers the window's buttons and timers call. It runs while BatchRunning is
// True; the pass hands each queued file to `upload` (BatchUpload::BatchUploadFile).
class BatchMode
{
public:
    using Uploader = std::function<bool(const QString& fileName)>;

    BatchMode(importer::ImportContext& context, BatchWindowView& window, BatchTimers timers,
              BatchFileSystem& files, StatusListView& list, Uploader upload);

    // CommandStart_Click: the three folders tested (a message for each missing one,
    // error folder first), then the mode started when BatchModeEnabled is exactly 1.
    void start();
    // CommandStop_Click and the stop of the window's unload. While a file is being
    // imported the stop waits until that file is done (its import finishes as a
    // batch import); then it returns false, and `stopped` is called once it has
    // taken effect. True when the mode stopped at once.
    bool stop();
    // Called when a stop that had to wait has taken effect (the window may close).
    std::function<void()> stopped;
    // Appends a line to the error log (WriteErrorLog): a symbolic link in the
    // source folder is refused there, once while it stays.
    std::function<void(const QString& message)> errorLog;

    void scanTick();      // Timer1_Timer: QueueSourceFiles, then RefreshBatchStatus
    void passTick();      // Timer2_Timer
    void countdownTick(); // Timer3_Timer

    // QueueSourceFiles: every file of the source folder not yet queued is appended
    // (names compare exactly: on Linux "A.csv" and "a.csv" are two files). A
    // symbolic link is never queued.
    void QueueSourceFiles();
    void RefreshBatchStatus();

    // What the window and tests look at.
    const QStringList& queue() const { return m_queue; }
    const QDateTime& nextBatchTime() const { return m_nextBatchTime; }
    int64_t elapsedMs() const { return m_elapsedMs; }
    bool fileInProgress() const { return m_fileInProgress; }
    bool stopRequested() const { return m_stopRequested; }

private:
    // Size and modification time of a source file at the last two scans.
    struct Seen
    {
        int64_t size = -1;
        QDateTime modified;
        bool steady = false; // the same at the last two scans
    };

    void queueFrom(const shell::FolderListing& source);
    void refuseLink(const QString& name);
    bool folderSettingsRefused();
    void marker(const char* text);
    void showCountdown();
    void setNextBatchTime();
    bool takeNow(const QString& name, const QString& path);
    void runPass();
    void uploadQueued(const QString& name, const QString& path);
    void stopNow();
    bool queued(const QString& name) const;
    void unqueue(const QString& name);

    importer::ImportContext& m_context;
    BatchWindowView& m_window;
    BatchTimers m_timers;
    BatchFileSystem& m_files;
    StatusListView& m_list;
    BatchStatusScan m_status; // what the status list's folders gave at the last scan
    Uploader m_upload;

    QStringList m_queue;            // BatchQueue: names, compared exactly
    std::set<QString> m_refused;    // links of the source folder written to the error log
    std::map<QString, Seen> m_seen; // by the name as listed
    int64_t m_elapsedMs = 0;        // BatchElapsedMs, wide so that a long run cannot overflow it
    QDateTime m_nextBatchTime;      // NextBatchTime
    bool m_inPass = false;
    bool m_fileInProgress = false;
    bool m_stopRequested = false;
};

} // namespace batch
