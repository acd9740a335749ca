// End-to-end import scenarios: every folder under cases/, and under
// $QUILLAR_EXTRA_SCENARIOS when that is set, runs one whole import against the
// package stand-in and is checked against its expected files (see README.md).
#include "tests/scenarios/Scenario.h"
#include "tests/scenarios/ScenarioCheck.h"
#include "tests/scenarios/ScenarioRun.h"

#include "app/import/VorlenConnection.h"

#include "platform/automation/ClassRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace scenarios;

namespace {

const char* const ExtraVariable = "QUILLAR_EXTRA_SCENARIOS";

QString scenarioIni(const QString& folder)
{
    return QDir(folder).filePath(QLatin1String(file::Ini));
}

QStringList actualErrors(const Outcome& outcome)
{
    QStringList lines;
    for (size_t i = 0; i < outcome.errors.size(); ++i) {
        const ErrorRow& row = outcome.errors[i];
        lines << errorLine(int(i + 1), row.lineNo, row.column, row.description, row.value);
    }
    return lines;
}

QStringList actualMessages(const Outcome& outcome)
{
    QStringList lines;
    for (const auto& box : outcome.messages)
        lines << messageLine(box.title, box.text);
    return lines;
}

} // namespace

class TestScenarios : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString bin = programFolder();
        if (!QFile::exists(bin + QStringLiteral("/vdo/") + importer::engineLibraryFor(QStringLiteral("V23"))))
            QSKIP("the package stand-in's engine is not built");
        // As the package's installer would: every engine version is registered
        // before the program runs (the oldest is created before the program's own
        // registration command).
        for (int version = 10; version <= 23; ++version) {
            const QString library = importer::engineLibraryFor(QStringLiteral("V%1").arg(version));
            QProcess regsvr;
            regsvr.start(bin + QLatin1Char('/') + QLatin1String(automation::RegistrationToolName),
                         {bin + QStringLiteral("/vdo/") + library, QStringLiteral("/s")});
            QVERIFY2(regsvr.waitForFinished(60000) && regsvr.exitStatus() == QProcess::NormalExit &&
                         regsvr.exitCode() == 0,
                     qPrintable(QStringLiteral("regsvr %1 failed: %2")
                                    .arg(library, QString::fromLocal8Bit(regsvr.readAllStandardError()))));
        }
    }

    void run_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("problem");
        QStringList names;
        const auto addFolders = [&](const QString& root, const QString& origin) {
            const QFileInfoList folders =
                QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
            for (const QFileInfo& folder : folders) {
                QString name = folder.fileName();
                if (names.contains(name))
                    name += QStringLiteral(" (") + origin + QLatin1Char(')');
                names << name;
                QTest::addRow("%s", qPrintable(name)) << folder.absoluteFilePath() << QString();
            }
        };
        addFolders(QStringLiteral(QUILLAR_SCENARIO_CASES), QStringLiteral("cases"));

        const QString extra = qEnvironmentVariable(ExtraVariable);
        if (extra.isEmpty())
            return;
        const QFileInfo root(extra);
        if (!root.isDir())
            QTest::addRow("%s", ExtraVariable) << extra
                                               << QStringLiteral("$%1 names %2, which is not a folder")
                                                      .arg(QLatin1String(ExtraVariable), extra);
        else if (QFileInfo::exists(scenarioIni(extra)))
            QTest::addRow("%s", ExtraVariable)
                << extra
                << QStringLiteral(
                       "$%1 names the scenario %2 itself; it must name a folder of scenario folders")
                       .arg(QLatin1String(ExtraVariable), extra);
        else
            addFolders(root.absoluteFilePath(), QLatin1String(ExtraVariable));
    }

    void run()
    {
        QFETCH(QString, folder);
        QFETCH(QString, problem);
        if (!problem.isEmpty())
            QFAIL(qPrintable(problem));
        if (!QFileInfo::exists(scenarioIni(folder)))
            QSKIP(qPrintable(QStringLiteral("%1 holds no %2: not a scenario, skipped")
                                 .arg(folder, QLatin1String(file::Ini))));

        Scenario scenario;
        Outcome outcome;
        QTemporaryDir work;
        QVERIFY2(work.isValid(), qPrintable(work.errorString()));
        try {
            scenario = loadScenario(folder);
            outcome = runScenario(scenario, work.path());
        } catch (const ScenarioError& e) {
            QFAIL(qPrintable(QStringLiteral("Scenario %1 cannot be run: %2").arg(folder, e.message())));
        }

        QStringList differences = outcome.problems;
        if (scenario.log) {
            const QStringList log = logLines(outcome.log, differences);
            differences += compareLines(QLatin1String(file::Log), *scenario.log, log);
        }
        if (scenario.errors)
            differences += compareLines(QLatin1String(file::Errors), *scenario.errors, actualErrors(outcome));
        if (scenario.messages)
            differences +=
                compareLines(QLatin1String(file::Messages), *scenario.messages, actualMessages(outcome));
        if (scenario.posted)
            differences += comparePosted(*scenario.posted, outcome.posted);
        if (scenario.batchFiles)
            differences += compareLines(QLatin1String(file::BatchFiles), *scenario.batchFiles, outcome.batchFiles);
        differences += compareErrorFiles(scenario.errorFiles, outcome.errorFolder);
        if (!differences.isEmpty())
            QFAIL(qPrintable(QStringLiteral("Scenario %1: %2 difference(s)\n  %3")
                                 .arg(folder)
                                 .arg(differences.size())
                                 .arg(differences.join(QStringLiteral("\n  ")))));
    }
};

QTEST_GUILESS_MAIN(TestScenarios)

#include "tst_scenarios.moc"
