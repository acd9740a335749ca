#pragma once

#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"
#include "app/mainwindow/batch/BatchJournal.h"
#include "app/mainwindow/batch/BatchMode.h"
#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/BatchStatus.h"
#include "app/mainwindow/batch/BatchUpload.h"

#include "platform/forms/MessageService.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Batch mode put together without the window, as the batch tests, the crash
// child, the scenario runner and the benchmark use it: the import's windows faked,
// the batch controls recorded, timers ticked by hand, the real file system (with a
// hook before each move) and the package stand-in's engine.
namespace batchtest {

// The clock stands at a given time while the guard lives; advance() moves it.
class ScopedClock
{
public:
    explicit ScopedClock(const QDateTime& at);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
    void advance(int seconds);

private:
    std::shared_ptr<QDateTime> m_at;
};

struct RecordingBatchWindow : batch::BatchWindowView
{
    QString startCaption = QStringLiteral("&Start");
    bool startBold = false, label1Visible = false, countdownVisible = false, settingsMenu = true;
    QString countdown = QStringLiteral("00:00:00"), statusPanel1 = QStringLiteral("Status");
    QStringList markers;

    QString commandStartCaption() const override { return startCaption; }
    void setCommandStartCaption(const QString& caption) override { startCaption = caption; }
    void setCommandStartBold(bool bold) override { startBold = bold; }
    void setLabel1Visible(bool visible) override { label1Visible = visible; }
    void setLabelCountDown(const QString& caption) override { countdown = caption; }
    void setLabelCountDownVisible(bool visible) override { countdownVisible = visible; }
    void setTxtwhereat(const QString& text) override { markers << text; }
    void setStatusBarPanel1(const QString& text) override { statusPanel1 = text; }
    void setSettingsMenuEnabled(bool enabled) override { settingsMenu = enabled; }
};

// The real file system; `beforeMove` and `afterMove` run around each move (to fail
// it, or to end the process there), `afterFileEntry` after each look at one file.
struct HookedFileSystem : batch::RealFileSystem
{
    std::function<void(const QString& from, const QString& to)> beforeMove, afterMove;
    std::function<void(const QString& path)> afterFileEntry;
    std::optional<shell::FileEntry> fileEntry(const QString& path) override
    {
        auto entry = batch::RealFileSystem::fileEntry(path);
        if (afterFileEntry)
            afterFileEntry(path);
        return entry;
    }
    void moveFile(const QString& from, const QString& to) override
    {
        if (beforeMove)
            beforeMove(from, to);
        batch::RealFileSystem::moveFile(from, to);
        if (afterMove)
            afterMove(from, to);
    }
};

// A company of the package stand-in and the settings an import of it needs.
struct BatchCompany
{
    // Three customers, four products; login MANAGER / "secret".
    static const char* seed();
    // Makes the company in `folder` from `seedJson`; raises on a refused seed.
    static void create(const QString& folder, const QByteArray& seedJson = seed());
    // A layout of the columns type, account, date, product, quantity, price,
    // grouped by the account.
    static void writeLayout(const QString& configFolder);
    // Every setting at its default, then the layout folder, the company, its login.
    static bool writeSettings(const QString& companyFolder, const QString& configFolder);
    // An import file of `documents` invoices of `lines` lines each, for the
    // customers in turn, dated in November 2026.
    static QByteArray importFile(int documents, int lines, int firstDay = 1);
    static QJsonArray posted(const QString& companyFolder);
};

// Small file helpers of the batch tests: a write that fails ends the program.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path); // "<missing>" when it cannot be read
QStringList filesOf(const QString& folder);

// Every file of the given folders, one "label<TAB>name" each, sorted.
QStringList folderListing(const QList<QPair<QString, QString>>& labelledFolders);

// This process's environment for a child, with the package's faults set to
// `faults` (none when empty).
QProcessEnvironment childEnvironment(const QString& faults);

// Registers the V23 engine into the test's hives (once per process).
bool registerEngine(QString& problem);

// The boxes shown, one "title: text" each.
QStringList shownBoxes(forms::ScriptedMessageService& service);

// The uploads into the package stand-in need its engine built and registered.
#define NEEDS_ENGINE()                                                                                       \
    if (!m_engineProblem.isEmpty())                                                                          \
    QSKIP(qPrintable(m_engineProblem))

class BatchRig;

// A rig on a fresh company, the settings pointing at it, the clock standing at
// 10 December 2026 09:05:07.
struct BatchFixture
{
    ScopedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7))};
    QTemporaryDir dir;
    QString company, config;
    std::unique_ptr<BatchRig> rig;

    static std::unique_ptr<BatchFixture> make();
};

class BatchRig
{
public:
    // `work` holds the folders "source", "success" and "error" (made here) and the
    // journal; the settings must already be written.
    explicit BatchRig(const QString& work, const QString& companyFolder);

    void setFolders(const QString& source, const QString& success, const QString& error);
    QString folder(const char* name) const;

    // Two scans (a file is taken once two scans agree), then the pass.
    void scanTwiceAndPass();

    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm form;
    importer::ImportContext context{window, log, errors, form};
    RecordingBatchWindow batchWindow;
    batch::PlainTimer timer1{2000}, timer2, timer3{1000};
    HookedFileSystem files;
    batch::StatusRows list;
    batch::KeptDoSecurity security;
    std::function<void()> pump; // what runs when the upload lets window events run
    // Stands in for the upload when set (the pass rules need no package).
    std::function<bool(const QString& fileName)> uploader;
    std::unique_ptr<batch::BatchJournal> journal;
    std::unique_ptr<batch::BatchUpload> upload;
    std::unique_ptr<batch::BatchMode> mode;

private:
    QString m_work;
};

} // namespace batchtest
