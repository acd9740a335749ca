#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace importer {
class ImportContext;
}

namespace batch {

class BatchFileSystem;
class BatchJournal;
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
    explicit BatchUpload(BatchSession session);

    // `fileName` is a bare name in the source folder. True when the file was
    // imported and filed into the success folder. The file stays in the source
    // folder when the login fails or an error strikes before the move.
    //
    // No file is posted twice: before its import begins the file is recorded in the
    // journal, each committed document is added, and once filed that is recorded
    // too. A file found with an import begun and never filed is not imported again
    // but filed into the error folder, its error file saying so and naming the
    // documents already posted.
    bool BatchUploadFile(const QString& fileName);

    // Runs the import of txtImportFile in batch mode: "true" when ImportOK is set
    // afterwards, "ShowErrorLog" when a run-time error escaped the import, else "".
    QString ValidateAndImportBatchFile();

    // Drops the engine and the workspace (without disconnecting).
    void ReleaseVdoObjects();

    // The error file's lines for a file whose import was interrupted.
    static QStringList interruptedLines(const QStringList& posted);

private:
    bool loginWorks();
    void readSetupAndDisconnect();
    QString fileInto(const QString& fileName, const QString& target);
    void fileInterrupted(const QString& fileName, const QString& identity, const QStringList& posted);
    void fileTooLong(const QString& fileName, const QString& source, int nameMax);
    void finishFile();

    BatchSession m;
};

} // namespace batch
