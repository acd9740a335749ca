// Imports one file into a company the way the import tests do (the windows faked,
// the real engine, the confirmation answered Yes), as a process of its own so that
// VORLEN_FAULTS=kill_at=<point>:<N> can kill it inside the N-th document's commit.
//
//   import_crash_child <company folder> <config folder> <import file>
//
// The company's login is MANAGER / "secret"; the engine must already be registered
// in the registry hives the environment names. Exit 0 when the import went through,
// 1 when it did not (what the import said goes to stderr), 2 for bad usage. Every
// message box shown is a line "box <title>: <text>" on stdout.
#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"
#include "app/import/driver/ImportDriver.h"

#include "package/company/CompanyFolder.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

bool writeSettings(const QString& companyFolder, const QString& configFolder)
{
    // What the import tests set: every key at its default, then the layout folder,
    // the company and its login; transaction numbers are left to the commit.
    const QList<QPair<QString, QString>> own = {
        {QStringLiteral("pellmoorconfigdir"), configFolder},
        {QStringLiteral("iors"), QStringLiteral("0")},
        {QStringLiteral("importtransno"), QStringLiteral("0")},
        {QStringLiteral("CheckFileFormat"), QStringLiteral("0")},
        {QStringLiteral("ImportHeaders"), QStringLiteral("0")},
        {QStringLiteral("VorlenDataPath"), companyFolder},
        {QStringLiteral("VorlenUsername"), QStringLiteral("MANAGER")},
        {QStringLiteral("VorlenPassword"), QStringLiteral("secret")},
    };
    // Each write rewrites and syncs the whole hive, and the runs of one test mostly
    // find the values there already: a key is written only when it is missing or differs.
    const auto put = [](const QString& key, const QString& value) {
        const QString missing = QStringLiteral("\x01missing"); // no setting holds a control character
        return settings::readSetting(key, missing) == value || settings::writeSetting(key, value);
    };
    bool ok = true;
    for (const auto& key : settings::knownKeys()) {
        const QString name = QLatin1String(key.key);
        const bool ownKey = std::any_of(own.begin(), own.end(), [&](const auto& o) {
            return o.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!ownKey)
            ok = put(name, QLatin1String(key.defaultValue)) && ok;
    }
    for (const auto& [key, value] : own)
        ok = put(key, value) && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        say(QStringLiteral("usage: import_crash_child <company folder> <config folder> <import file>"));
        return 2;
    }
    const QString companyFolder = QString::fromLocal8Bit(argv[1]);
    const QString configFolder = QString::fromLocal8Bit(argv[2]);
    const QString importFile = QString::fromLocal8Bit(argv[3]);
    if (!writeSettings(companyFolder, configFolder)) {
        say(QStringLiteral("the settings could not be written"));
        return 1;
    }

    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm settingsForm;
    importer::ImportContext context(window, log, errors, settingsForm);
    context.createEngine = [](const QString& id) { return automation::createObject(id); };
    // The caller registered the engine; a registration started here would write the
    // machine hive while the import reads it.
    context.startCommand = [](const QString&, const QStringList&) {};
    context.programFolder = QCoreApplication::applicationDirPath();
    window.importFile = importFile;
    try {
        const auto setup = company::folder::readSetupFile(company::folder::accdataOf(companyFolder));
        window.corvelVersion = QStringLiteral("V%1").arg(setup.major);
    } catch (const std::exception& e) {
        say(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    settingsForm.datapath = companyFolder;

    forms::ScopedScriptedMessages boxes;
    boxes.service().queueAnswer(forms::AnswerYes);
    importer::RunImport(context);

    // What the user saw, for the caller to check.
    for (const auto& box : boxes.service().shown())
        std::printf("box %s: %s\n", box.title.toLocal8Bit().constData(), box.text.toLocal8Bit().constData());
    if (context.state.pass.ImportOK)
        return 0;
    say(QStringLiteral("the import did not go through"));
    for (const ErrorRow& row : errors.rows)
        say(QStringLiteral("error list: %1 (line %2, column %3, \"%4\")")
                .arg(row.description, row.lineNo, row.column, row.value));
    if (!log.text.isEmpty())
        say(QStringLiteral("import log:\n") + log.text);
    return 1;
}
