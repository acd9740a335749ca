#include "tests/scenarios/ScenarioRun.h"

#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"
#include "app/import/VorlenConnection.h"
#include "app/import/driver/ImportDriver.h"
#include "app/mainwindow/batch/BatchSettings.h"

#include "tests/batch/BatchRig.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/LedgerError.h"
#include "package/company/Seed.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace scenarios {

namespace {

const char* const UserHiveVariable = "QUILLAR_USER_HIVE";

// The settings whose paths the folder cannot know; a relative value a scenario
// gives for them is taken from the scenario's files.
const QStringList PathKeys = {QStringLiteral("pellmoorconfigdir"), QStringLiteral("VorlenDataPath"),
                              QStringLiteral("BatchSourcePath"), QStringLiteral("BatchSuccessPath"),
                              QStringLiteral("BatchErrorlogPath")};

// The versions for which the settings form shows (and keeps) Customer Pricing.
const QStringList PricingVersions = {QStringLiteral("V12"), QStringLiteral("V13"), QStringLiteral("V14"),
                                     QStringLiteral("V15"), QStringLiteral("V16"), QStringLiteral("V17"),
                                     QStringLiteral("V18"), QStringLiteral("V19"), QStringLiteral("V20"),
                                     QStringLiteral("V21"), QStringLiteral("V22"), QStringLiteral("V23")};

// Points the user hive, and with it the settings store, at a file of this run.
// Classes registered into the user hive (when the machine hive cannot be
// written) come along; the settings section is emptied.
class ScopedUserHive
{
public:
    explicit ScopedUserHive(const QString& file)
        : m_wasSet(qEnvironmentVariableIsSet(UserHiveVariable)), m_previous(qgetenv(UserHiveVariable))
    {
        const QString current = registry::hivePath(registry::Hive::CurrentUser);
        if (QFileInfo::exists(current) && !QFile::copy(current, file))
            throw ScenarioError(QStringLiteral("the user hive %1 cannot be copied to %2").arg(current, file));
        qputenv(UserHiveVariable, QFile::encodeName(file));
        const registry::Status status = registry::deleteKey(
            registry::Hive::CurrentUser, settings::settingsKeyPath(QLatin1String(settings::ApplicationName),
                                                                   QLatin1String(settings::SectionName)));
        if (status != registry::Success && status != registry::FileNotFound)
            throw ScenarioError(QStringLiteral("the settings store %1 cannot be emptied: %2")
                                    .arg(file, registry::statusText(status, registry::Hive::CurrentUser)));
    }
    ~ScopedUserHive()
    {
        if (m_wasSet)
            qputenv(UserHiveVariable, m_previous);
        else
            qunsetenv(UserHiveVariable);
    }
    ScopedUserHive(const ScopedUserHive&) = delete;
    ScopedUserHive& operator=(const ScopedUserHive&) = delete;

private:
    bool m_wasSet;
    QByteArray m_previous;
};

// Copies the scenario's files, all but "expected", so that nothing the import
// does can touch the folder it came from.
void copyFiles(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir source(from);
    const QString expected = QLatin1String(file::Expected);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = source.relativeFilePath(entry.filePath());
        if (relative == expected || relative.startsWith(expected + QLatin1Char('/')))
            continue;
        const QString target = QDir(to).filePath(relative);
        const bool copied = entry.isDir() ? QDir().mkpath(target) : QFile::copy(entry.filePath(), target);
        if (!copied)
            throw ScenarioError(QStringLiteral("%1: cannot be copied to %2").arg(entry.filePath(), target));
    }
}

bool given(const Entries& entries, const QString& key)
{
    return std::any_of(entries.begin(), entries.end(),
                       [&](const auto& entry) { return entry.first.compare(key, Qt::CaseInsensitive) == 0; });
}

QString valueOf(const Entries& entries, const QString& key)
{
    for (const auto& [k, v] : entries) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return {};
}

// A relative path is made absolute from `base`; the blanks around it and its
// spelling (case, "\" or "/") stay as given, for the program to resolve.
QString placed(const QString& value, const QString& base)
{
    const QString core = value.trimmed();
    if (core.isEmpty() || core.startsWith(QLatin1Char('/')) || core.startsWith(QLatin1Char('\\')))
        return value;
    const qsizetype lead = value.indexOf(core);
    return value.left(lead) + base + QLatin1Char('/') + core + value.mid(lead + core.size());
}

void writeSetting(const QString& key, const QString& value)
{
    if (!settings::writeSetting(key, value))
        throw ScenarioError(
            QStringLiteral("the setting %1 cannot be written to the settings store").arg(key));
}

void writeSettings(const Scenario& scenario, const QString& files, const QString& companyFolder)
{
    Entries runner = {
        {QStringLiteral("pellmoorconfigdir"), files},
        {QStringLiteral("VorlenDataPath"), companyFolder},
        {QStringLiteral("VorlenVersion"), scenario.seed.value(QStringLiteral("version")).toString()},
        {QStringLiteral("VorlenCompanyName"), scenario.seed.value(QStringLiteral("name")).toString()},
    };
    if (scenario.batch) {
        runner.emplace_back(QStringLiteral("BatchSourcePath"), QDir(files).filePath(scenario.batch->source));
        runner.emplace_back(QStringLiteral("BatchSuccessPath"),
                            QDir(files).filePath(scenario.batch->success));
        runner.emplace_back(QStringLiteral("BatchErrorlogPath"), QDir(files).filePath(scenario.batch->error));
        runner.emplace_back(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1"));
    }
    for (const auto& [key, value] : runner) {
        if (!given(scenario.settings, key))
            writeSetting(key, value);
    }
    for (const auto& [key, value] : scenario.settings) {
        if (!settings::findKnownKey(key))
            qWarning().noquote() << QStringLiteral("%1/%2: [settings] %3 is not a key the program uses")
                                        .arg(scenario.folder, QLatin1String(file::Ini), key);
        writeSetting(key, PathKeys.contains(key, Qt::CaseInsensitive) ? placed(value, files) : value);
    }
}

// What the settings form's load puts into a box: its key's stored text, or
// the key's default.
QString loadedText(const QString& box)
{
    for (const settings::KeyInfo& info : settings::knownKeys()) {
        if (QLatin1String(info.form) == QLatin1String("frmSettings") &&
            box.compare(QLatin1String(info.control), Qt::CaseInsensitive) == 0)
            return settings::readSetting(QLatin1String(info.key), QLatin1String(info.defaultValue));
    }
    return {};
}

// A check box takes the stored text as a whole number; text that is not one, or
// a value a check box cannot hold, leaves it clear.
int loadedCheckBox(const QString& box)
{
    try {
        const int16_t value = basic::CInt(basic::Variant(loadedText(box)));
        return value >= 0 && value <= 2 ? value : 0;
    } catch (const basic::RuntimeError&) {
        return 0;
    }
}

void fillForm(const Scenario& scenario, FakeSettingsForm& form, FakeMainWindow& window)
{
    const auto text = [&](const char* box) {
        const QString name = QLatin1String(box);
        return given(scenario.form, name) ? valueOf(scenario.form, name) : loadedText(name);
    };
    const auto check = [&](const char* box) {
        const QString name = QLatin1String(box);
        return given(scenario.form, name) ? valueOf(scenario.form, name).toInt() : loadedCheckBox(name);
    };
    form.datapath = text("TxtDatapath");
    form.hiddenVersion = text("TxtHiddenVersion");
    form.companyName = text("txthiddencompanyname");
    form.userName = text("txtUserName");
    form.password = text("txtPassword");
    form.customerPricing = check("CbxCustomerPricing");
    form.overrideDescription = check("Cbxoverridevorlenproductdescription");
    form.takePriceIfZero = check("Cbxtakevorlenpriceifpricezero");

    // The main window's load shows the version and company of the hidden boxes,
    // and unticks Customer Pricing where the version does not offer it.
    window.corvelVersion = importer::versionCodeFor(form.hiddenVersion).value_or(QString());
    window.coname = form.companyName;
    if (!given(scenario.form, QStringLiteral("CbxCustomerPricing")) &&
        !PricingVersions.contains(window.corvelVersion))
        form.customerPricing = 0;
}

QJsonArray postedDocuments(const QString& companyFolder)
{
    const QString accdata = company::folder::accdataOf(companyFolder);
    return company::Ledger::open(company::folder::ledgerFileOf(accdata))->listDocuments();
}

void runCommand(const QString& program, const QStringList& arguments, QStringList& problems)
{
    // Run to its end, so the registration is done before the engine is created.
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        problems << QStringLiteral("the import started %1 %2: %3")
                        .arg(program, arguments.join(QLatin1Char(' ')),
                             finished
                                 ? QStringLiteral("exit code %1 %2")
                                       .arg(process.exitCode())
                                       .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed())
                                 : process.errorString());
}

// One import through RunImport, with the import tests' windows.
void runImport(const Scenario& scenario, const QString& files, Outcome& outcome)
{
    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errorList;
    FakeSettingsForm form;
    fillForm(scenario, form, window);
    window.importFile = QDir(files).filePath(QLatin1String(file::Import));

    importer::ImportContext context(window, log, errorList, form);
    context.createEngine = [](const QString& id) { return automation::createObject(id); };
    context.programFolder = programFolder();
    context.startCommand = [&outcome](const QString& program, const QStringList& arguments) {
        runCommand(program, arguments, outcome.problems);
    };
    try {
        importer::RunImport(context);
    } catch (const basic::RuntimeError& e) {
        outcome.problems
            << QStringLiteral("RunImport let run-time error %1 out: %2").arg(e.number()).arg(e.description());
    } catch (const std::exception& e) {
        outcome.problems << QStringLiteral("RunImport threw: %1").arg(QString::fromLocal8Bit(e.what()));
    }
    // The context's end releases the package objects and with them the ledger.
    outcome.log = log.text;
    outcome.errors = errorList.rows;
}

// Batch mode over the scenario's folders: Start, then for each pass two scans 2 s
// apart and the pass, then Stop.
void runBatch(const Scenario& scenario, const QString& work, const QString& files,
              const QString& companyFolder, Outcome& outcome)
{
    const BatchRun& batchRun = *scenario.batch;
    const QList<QPair<QString, QString>> folders = {{batchRun.source, QDir(files).filePath(batchRun.source)},
                                                    {batchRun.success, QDir(files).filePath(batchRun.success)},
                                                    {batchRun.error, QDir(files).filePath(batchRun.error)}};
    for (const auto& folder : folders)
        QDir().mkpath(folder.second);
    batchtest::ScopedClock clock(batchRun.now);
    batchtest::BatchRig rig(QDir(work).filePath(QStringLiteral("batch")), companyFolder);
    fillForm(scenario, rig.form, rig.window);
    rig.context.programFolder = programFolder();
    rig.context.startCommand = [&outcome](const QString& program, const QStringList& arguments) {
        runCommand(program, arguments, outcome.problems);
    };
    try {
        rig.timer2.setInterval(batch::loadBatchSettings(rig.context));
        rig.mode->start();
        for (int pass = 0; pass < batchRun.passes; ++pass) {
            rig.mode->scanTick();
            clock.advance(2);
            rig.mode->scanTick();
            clock.advance(2);
            if (pass == 0) {
                for (const QString& name : batchRun.vanish)
                    QFile::remove(QDir(folders[0].second).filePath(name));
            }
            rig.mode->passTick();
        }
        rig.mode->stop();
    } catch (const basic::RuntimeError& e) {
        outcome.problems << QStringLiteral("batch mode let run-time error %1 out: %2")
                                .arg(e.number())
                                .arg(e.description());
    } catch (const std::exception& e) {
        outcome.problems << QStringLiteral("batch mode threw: %1").arg(QString::fromLocal8Bit(e.what()));
    }
    outcome.batchFiles = batchtest::folderListing(folders);
    const QDir errorFolder(folders[2].second);
    for (const QString& name : errorFolder.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(errorFolder.filePath(name));
        outcome.errorFolder[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
}

} // namespace

QString programFolder()
{
    return QStringLiteral(QUILLAR_BIN_DIR);
}

Outcome runScenario(const Scenario& scenario, const QString& work)
{
    Outcome outcome;
    const QString files = QDir(work).filePath(QStringLiteral("files"));
    const QString companyFolder = QDir(work).filePath(QStringLiteral("company"));
    copyFiles(scenario.folder, files);
    try {
        company::createCompany(scenario.seed, companyFolder,
                               QDir(scenario.folder).filePath(QLatin1String(file::Seed)));
    } catch (const company::LedgerError& e) {
        throw ScenarioError(e.message());
    }

    ScopedUserHive hive(QDir(work).filePath(QStringLiteral("user.hive")));
    writeSettings(scenario, files, companyFolder);

    forms::ScopedScriptedMessages boxes;
    for (const forms::Answer answer : scenario.answers)
        boxes.service().queueAnswer(answer);

    QJsonArray before;
    try {
        before = postedDocuments(companyFolder);
    } catch (const company::LedgerError& e) {
        throw ScenarioError(QStringLiteral("the fresh company cannot be listed: %1").arg(e.message()));
    }

    if (scenario.batch)
        runBatch(scenario, work, files, companyFolder, outcome);
    else
        runImport(scenario, files, outcome);
    outcome.messages = boxes.service().shown();
    if (scenario.answers.size() > outcome.messages.size())
        outcome.problems << QStringLiteral("answers: %1 answer(s) given, but only %2 message box(es) shown")
                                .arg(scenario.answers.size())
                                .arg(outcome.messages.size());

    QJsonArray after;
    try {
        after = postedDocuments(companyFolder);
    } catch (const company::LedgerError& e) {
        outcome.problems
            << QStringLiteral("the company cannot be listed after the import: %1").arg(e.message());
        return outcome;
    }
    // The seeded documents stand first; the import's follow them.
    if (after.size() < before.size() || !std::equal(before.begin(), before.end(), after.begin()))
        outcome.problems << QStringLiteral("the documents of company.json changed during the import");
    for (qsizetype i = before.size(); i < after.size(); ++i)
        outcome.posted.append(after.at(i));
    return outcome;
}

} // namespace scenarios
