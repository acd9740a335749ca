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

// Puts the commit hook back however the import ends.
class CommitHook
{
public:
    CommitHook(importer::BatchState& batch, std::function<void(const QString&)> hook) : m_batch(batch)
    {
        m_batch.DocumentCommitted = std::move(hook);
    }
    ~CommitHook() { m_batch.DocumentCommitted = nullptr; }
    CommitHook(const CommitHook&) = delete;
    CommitHook& operator=(const CommitHook&) = delete;

private:
    importer::BatchState& m_batch;
};

} // namespace

BatchUpload::BatchUpload(BatchSession session) : m(std::move(session)) {}

QStringList BatchUpload::interruptedLines(const QStringList& posted)
{
    QStringList lines{
        QStringLiteral("The import of this file was interrupted before the file was filed; it was "
                       "not imported again")};
    if (posted.isEmpty())
        lines << QStringLiteral("No document of this file was recorded as posted");
    for (const QString& document : posted)
        lines << QStringLiteral("Already posted: ") + document;
    return lines;
}

bool BatchUpload::BatchUploadFile(const QString& fileName)
{
    auto& context = m.context;
    auto& batch = context.state.batch;
    auto& package = context.state.package;
    auto& window = context.mainWindow;
    try {
        // RefFrmMain
        window.setErrorsFoundIMG(false, false);
        window.setNoErrorFoundIMG(true, true);
        window.setAnimation1Visible(false);

        const QString source = filePath(basic::Trim(batch.SourceFolder), fileName);
        QString identity;
        if (m.files.fileExists(source)) {
            identity = BatchJournal::identify(source);
            if (const auto unfinished = m.journal.unfinished(identity)) {
                fileInterrupted(fileName, identity, unfinished->posted);
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
            CommitHook hook(batch, [this, identity](const QString& document) {
                if (!identity.isEmpty())
                    m.journal.posted(identity, document);
            });
            result = ValidateAndImportBatchFile();
        }
        const bool imported = result == QLatin1String(True);

        batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
        const QString target = basic::Trim(imported ? batch.SuccessFolder : batch.ErrorFolder);
        if (m.files.fileExists(batch.CurrentFilePath)) {
            const QString name = fileInto(fileName, target);
            if (!imported)
                WriteBatchErrorCsv(context, name, basic::Trim(batch.ErrorFolder));
            if (!identity.isEmpty())
                m.journal.filed(identity, joinPath(target, name));
        } else if (!identity.isEmpty() && m.journal.unfinished(identity)->posted.isEmpty()) {
            // Gone while it was imported, nothing of it posted: nothing to guard.
            m.journal.filed(identity, QString());
        }
        window.setMnuFilenewEnabled(false);
        if (imported)
            window.setLblStatus(QStringLiteral("Import Successfull"));
        finishFile();
        return imported;
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(e.description(), forms::Critical);
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
// already there; returns the name.
QString BatchUpload::fileInto(const QString& fileName, const QString& target)
{
    auto& batch = m.context.state.batch;
    QString name = filedName(fileName, basic::Clock::now(), batch.FilingCounter);
    for (int tries = 0; m.files.fileExists(filePath(target, name)); ++tries) {
        if (tries > 65536)
            throw basic::RuntimeError(58, QStringLiteral("File already exists: ") + joinPath(target, name));
        name = stampedFiledName(fileName, basic::Clock::now(), batch.FilingCounter);
        batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
    }
    m.files.moveFile(batch.CurrentFilePath, filePath(target, name));
    return name;
}

// A file whose import began and was never filed goes into the error folder, with
// an error file that says so and names what was posted; it is not imported again.
void BatchUpload::fileInterrupted(const QString& fileName, const QString& identity, const QStringList& posted)
{
    auto& batch = m.context.state.batch;
    batch.CurrentFilePath = filePath(basic::Trim(batch.SourceFolder), fileName);
    batch.FilingCounter = nextFilingCounter(batch.FilingCounter);
    const QString errorFolder = basic::Trim(batch.ErrorFolder);
    const QString name = fileInto(fileName, errorFolder);
    writeErrorFile(m.context, name, errorFolder, interruptedLines(posted));
    m.journal.filed(identity, joinPath(errorFolder, name));
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
    const QString name = fileInto(shortenedFileName(fileName, nameMax), errorFolder);
    writeErrorFile(m.context, name, errorFolder,
                   {QStringLiteral("The file name is too long to be filed; the file was not imported"),
                    QStringLiteral("File name: ") + fileName});
    m.context.mainWindow.setMnuFilenewEnabled(false);
    finishFile();
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
