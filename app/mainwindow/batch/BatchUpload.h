#pragma once

#include "app/mainwindow/batch/BatchJournal.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <set>

namespace importer {
class ImportContext;
}

namespace batch {

class BatchFileSystem;
class BatchWindowView;
class DoSecurityProvider;

// What one batch file's upload works with.
struct BatchSession
{
    importer::ImportContext& context; // state, main window, settings form, engine factory
    BatchWindowView& window;
    BatchFileSystem& files;
    BatchJournal& journal;
    DoSecurityProvider& security;
    // Lets pending window events run once (the window gives the event loop's).
    std::function<void()> pumpEvents;
};

// The batch upload of one file of the source folder: the package login checked
// with a connection of its own, the whole import without a question, then the
// file filed under a new dated name into the success folder, or into the error
// folder beside its error file.
class BatchUpload
{
public:
    // Repairs what a run that ended after a move left undone (see repairFilings).
    explicit BatchUpload(BatchSession session);

    // `fileName` is a bare name in the source folder. True when the file was
    // imported and filed into the success folder. The file stays in the source
    // folder when the login fails or an error strikes before the move.
    //
    // No file is posted twice: before its import begins the file is recorded in the
    // journal, each committed document is added, and once filed that is recorded
    // too. A file found with an import begun and never filed, at the same path
    // whatever its bytes are now, is not imported again but filed into the error
    // folder, its error file saying so and naming the documents that were or may
    // have been posted.
    bool BatchUploadFile(const QString& fileName);

    // Runs the import of txtImportFile in batch mode: "true" when ImportOK is set
    // afterwards, "ShowErrorLog" when a run-time error escaped the import, else "".
    QString ValidateAndImportBatchFile();

    // Drops the engine and the workspace (without disconnecting).
    void ReleaseVdoObjects();

    // The error file's lines for a file whose import was interrupted.
    static QStringList interruptedLines(const BatchJournal::Unfinished& entry);
    // Each planned document of the file: posted, may have been posted or not posted.
    static QStringList documentLines(const BatchJournal::Unfinished& entry);

    // A file moved whose filing was not recorded: a failed one gets its missing
    // error file from the journal, and the filing is recorded.
    void repairFilings();

private:
    bool loginWorks();
    void readSetupAndDisconnect();
    QString fileInto(const QString& fileName, const QString& target, const QString& identity, bool failing);
    void fileInterrupted(const QString& fileName, BatchJournal::Unfinished entry);
    void fileTooLong(const QString& fileName, const QString& source, int nameMax);
    void finishFile();

    BatchSession m;
    std::set<QString> m_loggedUnreadable; // unreadable files already written to the error log
};

} // namespace batch
