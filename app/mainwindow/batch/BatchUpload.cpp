#include "app/mainwindow/batch/BatchUpload.h"

#include "app/mainwindow/batch/BatchJournal.h"
#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/ErrorFiles.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"
#include "app/import/VorlenConnection.h"
#include "app/import/driver/ImportDriver.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/FileSystem.h"

#include <algorithm>

namespace batch {

namespace {

const char* const True = "true";

// The version codes whose engine the batch upload creates afresh.
bool createsEngine(const QString& code)
{
    if (code.size() != 3 || !code.startsWith(QLatin1Char('V')))
        return false;
    bool ok = false;
    const int n = code.mid(1).toInt(&ok);
    return ok && n >= 10 && n <= 23;
}

// Puts the journal's hooks back however the import ends.
class JournalHooks
{
public:
    JournalHooks(importer::BatchState& batch, BatchJournal& journal, const QString& identity) : m_batch(batch)
    {
        if (identity.isEmpty())
            return;
        m_batch.ImportPassStarting = [&journal,
                                      identity](const std::vector<importer::PassDocument>& documents) {
            std::vector<BatchJournal::Planned> planned;
            planned.reserve(documents.size());
            for (const auto& d : documents)
                planned.push_back(BatchJournal::Planned{d.FirstRow, d.LastRow, d.AccountRef});
            journal.planned(identity, planned);
        };
        m_batch.DocumentDone = [&journal, identity](const QString& document) {
            journal.done(identity, document);
        };
    }
    ~JournalHooks()
    {
        m_batch.ImportPassStarting = nullptr;
        m_batch.DocumentDone = nullptr;
        m_batch.PassDocuments.clear();
    }
    JournalHooks(const JournalHooks&) = delete;
    JournalHooks& operator=(const JournalHooks&) = delete;

private:
    importer::BatchState& m_batch;
};

QString rowsAndAccount(const BatchJournal::Planned& document)
{
    return QStringLiteral("rows %1 to %2, Account Reference %3")
        .arg(document.firstRow)
        .arg(document.lastRow)
        .arg(document.account);
}

QStringList nonEmpty(const std::vector<QString>& entries)
{
    QStringList kept;
    for (const QString& entry : entries) {
        if (!entry.isEmpty())
            kept << entry;
    }
    return kept;
}

} // namespace

BatchUpload::BatchUpload(BatchSession session) : m(std::move(session))
{
    repairFilings();
}

// Each document in order: committed ones as posted; the first without an outcome
// was inside its commit or just past it, so it may have been posted; the rest were
// not. The file's own errors follow.
QStringList BatchUpload::interruptedLines(const BatchJournal::Unfinished& entry)
{
    QStringList lines{
        QStringLiteral("The import of this file was interrupted before the file was filed; it was "
                       "not imported again")};
    if (entry.changed)
        lines << QStringLiteral("The file changed after the interruption; what it holds now was not "
                                "imported");
    if (!entry.mayHavePosted())
        lines << QStringLiteral("No document of this file was recorded as posted");
    return lines << documentLines(entry) << entry.errors;
}

QStringList BatchUpload::documentLines(const BatchJournal::Unfinished& entry)
{
    QStringList lines;
    for (qsizetype i = 0; i < entry.outcomes.size(); ++i) {
        if (!entry.outcomes[i].isEmpty())
            lines << QStringLiteral("Already posted: ") + entry.outcomes[i];
        else if (size_t(i) < entry.planned.size())
            lines << QStringLiteral("Not posted: ") + rowsAndAccount(entry.planned[size_t(i)]);
    }
    for (size_t i = size_t(entry.outcomes.size()); i < entry.planned.size(); ++i) {
        if (i == size_t(entry.outcomes.size()))
            lines << QStringLiteral("May have been posted, check the ledger: ") +
                         rowsAndAccount(entry.planned[i]);
        else
            lines << QStringLiteral("Not posted: ") + rowsAndAccount(entry.planned[i]);
    }
    return lines;
}

bool BatchUpload::BatchUploadFile(const QString& fileName)
{
    auto& context = m.context;
    auto& batch = context.state.batch;
    auto& package = context.state.package;
    auto& window = context.mainWindow;
    bool unreadable = false;
    try {
        // RefFrmMain
        window.setErrorsFoundIMG(false, false);
        window.setNoErrorFoundIMG(true, true);
        window.setAnimation1Visible(false);

        repairFilings();
        const QString source = filePath(basic::Trim(batch.SourceFolder), fileName);
        QString identity;
        if (m.files.fileExists(source)) {
            try {
                identity = BatchJournal::identify(source);
            } catch (const basic::RuntimeError& e) {
                // A file that may not be read goes the way of one the import cannot
                // open: its import fails and it is filed as failed. Known by its path.
                if (e.number() != basic::err::PathFileAccessError)
                    throw;
                unreadable = true;
                identity = BatchJournal::pathIdentity(source);
            }
            // A record found by the path alone whose file was moved away (its filing
            // is repaired at the next try) belongs to a file that is gone.
            const auto unfinished = m.journal.unfinished(identity);
            if (unfinished && !(unfinished->changed && !unfinished->target.isEmpty() &&
                                m.files.fileExists(unfinished->target))) {
                fileInterrupted(fileName, *unfinished);
                return false;
            }
            // A file that could be posted but never filed is not imported.
            const int nameMax = std::min(shell::nameMax(basic::Trim(batch.SuccessFolder)),
                                         shell::nameMax(basic::Trim(batch.ErrorFolder)));
            if (!filedNamesFit(fileName, nameMax)) {
                fileTooLong(fileName, source, nameMax);
                return false;
            }
        }

        const QString code = window.lblCorvelVersion();
        if (createsEngine(code))
            package.VdoEngine = context.createEngine(importer::engineClassFor(code));
        if (!package.VdoEngine)
            throw basic::RuntimeError(basic::err::ObjectVariableNotSet);
        const basic::ObjectRef workspaces =
            automation::toObject(package.VdoEngine->get(QStringLiteral("Workspaces")));
        package.VdoWorkspace = automation::toObject(workspaces->call(
            QStringLiteral("Add"), {basic::Variant(QStringLiteral("Quillar Vorlen BatchUpload"))}));
        if (!loginWorks())
            return false;
        readSetupAndDisconnect();

        batch.CurrentFilePath = source;
        // Each error file holds its own file's errors only.
        batch.BatchErrors.clear();
        QString result;
        {
            if (!identity.isEmpty())
                m.journal.begin(identity, source);
            JournalHooks hooks(batch, m.journal, identity);
            result = ValidateAndImportBatchFile();
        }
        const bool imported = result == QLatin1String(True);

        batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
        const QString target = basic::Trim(imported ? batch.SuccessFolder : batch.ErrorFolder);
        if (m.files.fileExists(batch.CurrentFilePath)) {
            // Kept first, so that a move that fails or a kill after it loses no error.
            // A pass that failed after some commits names them, lest the file be
            // imported again whole.
            if (!imported && !identity.isEmpty()) {
                const auto entry = m.journal.unfinished(identity);
                if (entry && entry->mayHavePosted()) {
                    const QStringList documents = documentLines(*entry);
                    batch.BatchErrors.insert(batch.BatchErrors.begin(), documents.begin(), documents.end());
                }
                m.journal.errors(identity, nonEmpty(batch.BatchErrors));
            }
            const QString name = fileInto(fileName, target, identity, !imported);
            if (!imported)
                WriteBatchErrorCsv(context, name, basic::Trim(batch.ErrorFolder));
            if (!identity.isEmpty())
                m.journal.filed(identity, joinPath(target, name));
        } else if (!identity.isEmpty()) {
            const auto entry = m.journal.unfinished(identity);
            if (!entry || entry->posted().isEmpty())
                m.journal.filed(identity, QString()); // gone, nothing of it posted: nothing to guard
            else
                m.journal.vanished(identity); // only the same bytes coming back are this file
        }
        window.setMnuFilenewEnabled(false);
        if (imported)
            window.setLblStatus(QStringLiteral("Import Successfull"));
        finishFile();
        return imported;
    } catch (const basic::RuntimeError& e) {
        const QString source = joinPath(basic::Trim(batch.SourceFolder), fileName);
        // An unreadable file that cannot be moved either is logged once and left,
        // without a box while nobody watches.
        const bool quiet = unreadable && batch.BatchRunning;
        if (!quiet)
            forms::MsgBox(e.description(), forms::Critical);
        if (!quiet || m_loggedUnreadable.insert(source).second)
            WriteErrorLog(m.security, context.programFolder,
                          e.description() + QStringLiteral(" -") + QString::number(e.number()) +
                              QStringLiteral("--While Upload StartBatchUpload-") + fileName);
        try {
            if (package.VdoWorkspace)
                package.VdoWorkspace->call(QStringLiteral("Disconnect"));
        } catch (const basic::RuntimeError&) {
            // The objects go anyway.
        }
        package.VdoConnected = false;
        ReleaseVdoObjects();
        importer::ResetImportStatus(context);
        window.setMnuFilenewEnabled(false);
        return false;
    }
}

// The package login, checked with the settings form's user and password. Any
// failure here leaves the file where it is, without a message, except an empty
// data path.
bool BatchUpload::loginWorks()
{
    auto& context = m.context;
    QString dataPath;
    try {
        dataPath = basic::Trim(settings::readSetting(QStringLiteral("VorlenDataPath")));
    } catch (const basic::RuntimeError&) {
        return false;
    }
    if (dataPath.isEmpty()) {
        forms::MsgBox(
            QStringLiteral("Not a valid Vorlen Data Path or empty....Quillar Vorlen Import will not import "
                           "data to Vorlen. Please enter the Vorlen Data Path and company name in the "
                           "Quillar Vorlen Import Settings"),
            forms::Critical, QStringLiteral("Vorlen Data Connection Error"));
        return false;
    }
    try {
        const basic::ObjectRef& workspace = context.state.package.VdoWorkspace;
        const automation::Args login{basic::Variant(dataPath + QStringLiteral("\\ACCDATA")),
                                     basic::Variant(context.settingsForm.txtUserName()),
                                     basic::Variant(context.settingsForm.txtPassword()),
                                     basic::Variant(QStringLiteral("Quillar Vorlen Import"))};
        if (!basic::CBool(workspace->call(QStringLiteral("IsValidUser"), login)))
            return false;
        return basic::CBool(workspace->call(QStringLiteral("Connect"), login));
    } catch (const basic::RuntimeError&) {
        return false;
    }
}

void BatchUpload::readSetupAndDisconnect()
{
    auto& package = m.context.state.package;
    const basic::ObjectRef setup = automation::toObject(package.VdoWorkspace->call(
        QStringLiteral("CreateObject"), {basic::Variant(QStringLiteral("SetupData"))}));
    setup->call(QStringLiteral("Open"), {basic::Variant(int16_t(0))});
    setup->call(QStringLiteral("Read"), {basic::Variant(int16_t(1))});
    setup->value({basic::Variant(QStringLiteral("BASE_CURRENCY"))});
    setup->call(QStringLiteral("Close"));
    if (m.pumpEvents)
        m.pumpEvents();
    package.VdoWorkspace->call(QStringLiteral("Disconnect"));
    package.VdoWorkspace.reset();
}

// Moves the current file into `target` under its new name, never over a file
// already there, the target recorded first; returns the name.
QString BatchUpload::fileInto(const QString& fileName, const QString& target, const QString& identity,
                              bool failing)
{
    auto& batch = m.context.state.batch;
    QString name = filedName(fileName, basic::Clock::now(), batch.FilingCounter);
    for (int tries = 0; m.files.fileExists(filePath(target, name)); ++tries) {
        if (tries > 65536)
            throw basic::RuntimeError(58, QStringLiteral("File already exists: ") + joinPath(target, name));
        name = stampedFiledName(fileName, basic::Clock::now(), batch.FilingCounter);
        batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
    }
    if (!identity.isEmpty())
        m.journal.moving(identity, joinPath(target, name), failing);
    m.files.moveFile(batch.CurrentFilePath, filePath(target, name));
    return name;
}

// A file whose import began and was never filed goes into the error folder, with
// an error file that says so and names what was posted; it is not imported again.
void BatchUpload::fileInterrupted(const QString& fileName, BatchJournal::Unfinished entry)
{
    auto& batch = m.context.state.batch;
    batch.CurrentFilePath = filePath(basic::Trim(batch.SourceFolder), fileName);
    batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
    const QString errorFolder = basic::Trim(batch.ErrorFolder);
    m.journal.interrupted(entry.identity, entry.changed);
    entry.interrupted = true;
    const QString name = fileInto(fileName, errorFolder, entry.identity, true);
    writeErrorFile(m.context, name, errorFolder, interruptedLines(entry));
    m.journal.filed(entry.identity, joinPath(errorFolder, name));
    m.context.mainWindow.setMnuFilenewEnabled(false);
    finishFile();
}

// A file whose filed name or error file's name would not fit the file system is
// not imported: filed into the error folder under a shortened dated name, its
// error file saying why and giving the whole name.
void BatchUpload::fileTooLong(const QString& fileName, const QString& source, int nameMax)
{
    auto& batch = m.context.state.batch;
    batch.CurrentFilePath = source;
    batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
    const QString errorFolder = basic::Trim(batch.ErrorFolder);
    const QString name = fileInto(shortenedFileName(fileName, nameMax), errorFolder, QString(), true);
    writeErrorFile(m.context, name, errorFolder,
                   {QStringLiteral("The file name is too long to be filed; the file was not imported"),
                    QStringLiteral("File name: ") + fileName});
    m.context.mainWindow.setMnuFilenewEnabled(false);
    finishFile();
}

// A file moved by a run that ended before it was recorded as filed: a failed
// one gets the error file it may lack, from what the journal kept. One whose
// move never happened is found again in the source folder.
void BatchUpload::repairFilings()
{
    for (const BatchJournal::Unfinished& entry : m.journal.moving()) {
        if (!m.files.fileExists(entry.target))
            continue;
        try {
            const QString folder = shell::parentFolder(entry.target);
            const QString errorFile =
                errorFileName(m.context.state.batch.ErrorFolder, folder, shell::fileName(entry.target));
            if (entry.failing && !m.files.fileExists(errorFile))
                writeErrorFile(m.context, shell::fileName(entry.target), folder,
                               entry.interrupted ? interruptedLines(entry) : entry.errors);
            m.journal.filed(entry.identity, entry.target);
        } catch (const basic::RuntimeError&) {
            // Tried again before the next file.
        }
    }
}

void BatchUpload::finishFile()
{
    auto& context = m.context;
    context.state.batch.CurrentFilePath.clear();
    m.window.setTxtwhereat(QStringLiteral("VBURSFM"));
    importer::ResetImportStatus(context);
    m.window.setTxtwhereat(QStringLiteral("VBURSFM2"));
    importer::ResetImportStatus(context);
    context.mainWindow.setMnuFilenewEnabled(false);
}

QString BatchUpload::ValidateAndImportBatchFile()
{
    auto& context = m.context;
    auto& window = context.mainWindow;
    auto& pass = context.state.pass;
    window.setToolbarButtonEnabled(2, false);
    pass.ValidateOK = false;
    pass.ImportOK = false;
    try {
        importer::RunImport(context);
    } catch (const basic::RuntimeError&) {
        return QStringLiteral("ShowErrorLog");
    }
    if (context.state.batch.BatchRunning) {
        window.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
        window.setToolbarButtonEnabled(2, false);
        window.setToolbarButtonEnabled(1, false);
        window.setToolbarButtonEnabled(6, false);
    }
    if (pass.ImportOK) {
        window.setToolbarButtonEnabled(2, false);
        window.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
        return QLatin1String(True);
    }
    return QString();
}

void BatchUpload::ReleaseVdoObjects()
{
    m.context.state.package.VdoEngine.reset();
    m.context.state.package.VdoWorkspace.reset();
}

} // namespace batch
