// Whole imports on layouts the editor wrote: a scenario folder of tests/scenarios
// without its layout files, the layout built in the editor by double-clicks and
// saved, then the import run on it against the package stand-in, and its outcome
// checked against the folder's expected files.
#include "tests/layouteditor/EditorFixture.h"
#include "tests/scenarios/Scenario.h"
#include "tests/scenarios/ScenarioCheck.h"
#include "tests/scenarios/ScenarioRun.h"

#include "app/import/VorlenConnection.h"

#include "platform/automation/ClassRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace layouteditor;

namespace {

// The scenario's files, all but its layout and what it expects.
bool copyWithoutLayout(const QString& from, const QString& to)
{
    const QStringList left = {"qfm.cfg", "qfm2.cfg", scenarios::file::Expected};
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::NoDotAndDotDot)) {
        if (!left.contains(entry.fileName()) &&
            !QFile::copy(entry.filePath(), QDir(to).filePath(entry.fileName())))
            return false;
    }
    return true;
}

bool registerEngine(const QString& version)
{
    const QString bin = scenarios::programFolder();
    QProcess regsvr;
    regsvr.start(bin + QLatin1Char('/') + QLatin1String(automation::RegistrationToolName),
                 {bin + QStringLiteral("/vdo/") + importer::engineLibraryFor(version), QStringLiteral("/s")});
    return regsvr.waitForFinished(60000) && regsvr.exitStatus() == QProcess::NormalExit &&
           regsvr.exitCode() == 0;
}

} // namespace

class TestLayoutEditorScenario : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(scenarios::programFolder() + QStringLiteral("/vdo/") +
                           importer::engineLibraryFor(QStringLiteral("V23"))))
            QSKIP("the package stand-in's engine is not built");
        QVERIFY(registerEngine(QStringLiteral("V23")));
    }

    void importOnEditorLayout_data()
    {
        QTest::addColumn<QString>("caseName");
        QTest::addColumn<int>("importToSop");
        QTest::addColumn<QStringList>("columns"); // picked into boxes 1, 2, ...
        QTest::addColumn<QStringList>("groups");
        QTest::addRow("two invoices")
            << "two-invoices" << 0 << QStringList{"Transaction Type", "Account Reference", "Transaction Date",
                                                  "Product Code",     "Quantity",          "Unit Price"}
            << QStringList{"Account Reference"};
        QTest::addRow("sales order") << "sales-order" << 1
                                     << QStringList{"Account Reference", "Transaction Date",
                                                    "Product Code",      "Quantity",
                                                    "Unit Price",        "Despatch Due Date"}
                                     << QStringList{"Account Reference"};
        QTest::addRow("grouped by two columns")
            << "grouping-two-columns-headings" << 0
            << QStringList{"Transaction Type", "Account Reference", "Transaction Date", "Order Number",
                           "Product Code",     "Quantity",          "Unit Price"}
            << QStringList{"Account Reference", "Order Number"};
    }
    void importOnEditorLayout()
    {
        QFETCH(QString, caseName);
        QFETCH(int, importToSop);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, groups);
        const QString source = QStringLiteral(QUILLAR_SCENARIO_CASES "/") + caseName;
        QTemporaryDir folder;
        QTemporaryDir work;
        QVERIFY(copyWithoutLayout(source, folder.path()));
        QVERIFY(QDir(folder.path()).mkdir(scenarios::file::Expected));
        for (const QFileInfo& entry : QDir(source + "/expected").entryInfoList(QDir::Files))
            QVERIFY(QFile::copy(entry.filePath(), folder.path() + "/expected/" + entry.fileName()));

        {
            EditorFixture f(folder.path());
            f.options().importToSop = int16_t(importToSop);
            for (int i = 0; i < columns.size(); ++i)
                QVERIFY2(EditorFixture::pickColumn(i + 1, columns[i]), qPrintable(columns[i]));
            for (int i = 0; i < groups.size(); ++i)
                QVERIFY2(EditorFixture::pickGroup(i + 1, groups[i]), qPrintable(groups[i]));
            QTest::mouseClick(qobject_cast<QPushButton*>(EditorFixture::child("btnSave")), Qt::LeftButton);
            QCOMPARE(f.shown(), QStringList{});
            QVERIFY(!EditorFixture::editorLoaded());
        }

        scenarios::Scenario scenario;
        scenarios::Outcome outcome;
        try {
            scenario = scenarios::loadScenario(folder.path());
            outcome = scenarios::runScenario(scenario, work.path());
        } catch (const scenarios::ScenarioError& e) {
            QFAIL(qPrintable(e.message()));
        }
        QStringList differences = outcome.problems;
        QVERIFY(scenario.log && scenario.messages && scenario.posted && scenario.errors);
        differences +=
            scenarios::compareLines("log.txt", *scenario.log, scenarios::logLines(outcome.log, differences));
        QStringList messages;
        for (const auto& box : outcome.messages)
            messages << scenarios::messageLine(box.title, box.text);
        differences += scenarios::compareLines("messages.txt", *scenario.messages, messages);
        differences += scenarios::comparePosted(*scenario.posted, outcome.posted);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
        QVERIFY(scenario.errors->isEmpty());
        QVERIFY(outcome.errors.empty());
    }
};

QTEST_MAIN(TestLayoutEditorScenario)

#include "tst_layouteditor_scenario.moc"
