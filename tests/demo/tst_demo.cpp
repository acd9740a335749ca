// The demo kit of scripts/run-demo: the set-up tool is run into a temporary folder
// as the script runs it, then the real import (RunImport with the field checks,
// against the package stand-in) runs on each demo file with the settings the tool
// stored. The demo files must keep doing what docs/demo.md promises.
#include "tools/demo/DemoKit.h"

#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"
#include "app/import/LayoutFiles.h"
#include "app/import/VorlenConnection.h"
#include "app/import/driver/ImportDriver.h"
#include "app/mainwindow/password/LoginPassword.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using demo::DemoPaths;

namespace {

struct SetupRun
{
    int exitCode = -1;
    QString output, errors;
};

// What one import showed and posted, as a user would read it.
struct ImportOutcome
{
    QStringList messages; // title, tab, text
    QStringList log;      // lines of the import log
    QStringList errors;   // error-list rows: line | column | message | value
    QStringList posted;   // documents posted by this import
    QStringList problems; // the registration command failed
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonArray postedDocuments(const DemoPaths& paths)
{
    const QString accdata = company::folder::accdataOf(paths.company);
    return company::Ledger::open(company::folder::ledgerFileOf(accdata))->listDocuments();
}

QString money(const QJsonValue& value)
{
    return QString::number(value.toDouble(), 'f', 2);
}

QString summary(const QJsonObject& document)
{
    const QString kind = document.value(QStringLiteral("DOCUMENT_KIND")).toString();
    const QString numberField =
        kind == QLatin1String("order") ? QStringLiteral("ORDER_NUMBER") : QStringLiteral("INVOICE_NUMBER");
    return QStringLiteral("%1 %2 %3 net %4 tax %5, %6 items")
        .arg(kind, document.value(numberField).toVariant().toString(),
             document.value(QStringLiteral("ACCOUNT_REF")).toString(),
             money(document.value(QStringLiteral("ITEMS_NET"))),
             money(document.value(QStringLiteral("ITEMS_TAX"))))
        .arg(document.value(QStringLiteral("items")).toArray().size());
}

QStringList summaries(const QJsonArray& documents, qsizetype from = 0)
{
    QStringList lines;
    for (qsizetype i = from; i < documents.size(); ++i)
        lines << summary(documents.at(i).toObject());
    return lines;
}

// The seed's own documents, posted before any import.
const QStringList SeedDocuments = {QStringLiteral("invoice 1001 ABB001 net 85.00 tax 17.00, 1 items"),
                                   QStringLiteral("order 501 BOS006 net 113.19 tax 0.00, 1 items")};

QString setting(const char* key)
{
    return settings::readSetting(QLatin1String(key));
}

// Runs the registration command the import starts to its end, so the engine is
// registered before the import creates it.
void runCommand(const QString& program, const QStringList& arguments, QStringList& problems)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        problems << QStringLiteral("%1 %2 failed: %3")
                        .arg(program, arguments.join(QLatin1Char(' ')),
                             QString::fromLocal8Bit(process.readAllStandardError()));
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_callerUserHive, m_callerMachineHive;
    int m_demos = 0;

    // Runs the tool as scripts/run-demo does, with the caller's hives pointed at
    // files of the test, so that a write to them would show.
    SetupRun runSetup(const DemoPaths& paths, const QStringList& options = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUILLAR_USER_HIVE"), m_callerUserHive);
        environment.insert(QStringLiteral("QUILLAR_MACHINE_HIVE"), m_callerMachineHive);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUILLAR_BIN_DIR "/quillar-demo-setup"),
                      QStringList{paths.root} + options);
        SetupRun run;
        if (!process.waitForFinished(60000))
            return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.output = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    // A demo folder of its own, set up by the tool; this process then reads the
    // demo's settings store.
    DemoPaths freshDemo(const QStringList& options = {})
    {
        const DemoPaths paths(m_work.filePath(QStringLiteral("demo%1").arg(++m_demos)));
        const SetupRun run = runSetup(paths, options);
        if (run.exitCode != 0)
            QTest::qFail(
                qPrintable(
                    QStringLiteral("quillar-demo-setup failed (%1): %2").arg(run.exitCode).arg(run.errors)),
                __FILE__, __LINE__);
        demo::useDemoHives(paths);
        return paths;
    }

    ImportOutcome runImport(const DemoPaths& paths, const QString& file,
                            const std::vector<forms::Answer>& answers)
    {
        demo::useDemoHives(paths);
        FakeMainWindow window;
        FakeImportLog log;
        FakeErrorList errorList;
        FakeSettingsForm form;
        // The boxes as the settings form's load fills them from the store.
        form.datapath = setting("VorlenDataPath");
        form.hiddenVersion = setting("VorlenVersion");
        form.companyName = setting("VorlenCompanyName");
        form.userName = setting("VorlenUsername");
        form.password = setting("VorlenPassword");
        window.corvelVersion = importer::versionCodeFor(form.hiddenVersion).value_or(QString());
        window.coname = form.companyName;
        window.importFile = file;

        forms::ScopedScriptedMessages boxes;
        for (const forms::Answer answer : answers)
            boxes.service().queueAnswer(answer);
        const qsizetype before = postedDocuments(paths).size();
        ImportOutcome outcome;
        {
            importer::ImportContext context(window, log, errorList, form);
            context.createEngine = [](const QString& id) { return automation::createObject(id); };
            context.programFolder = QStringLiteral(QUILLAR_BIN_DIR);
            context.startCommand = [&outcome](const QString& program, const QStringList& arguments) {
                runCommand(program, arguments, outcome.problems);
            };
            importer::RunImport(context);
        }
        for (const auto& box : boxes.service().shown())
            outcome.messages << box.title + QLatin1Char('\t') + box.text;
        outcome.log = log.text.split(QStringLiteral("\r\n"));
        if (outcome.log.constLast().isEmpty())
            outcome.log.removeLast();
        for (const ErrorRow& row : errorList.rows)
            outcome.errors << QStringList{row.lineNo, row.column, row.description, row.value}.join(
                QStringLiteral(" | "));
        outcome.posted = summaries(postedDocuments(paths), before);
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(QStringLiteral(QUILLAR_BIN_DIR "/vdo/") +
                           importer::engineLibraryFor(QStringLiteral("V23"))))
            QSKIP("the package stand-in's engine is not built");
        QVERIFY(m_work.isValid());
        m_callerUserHive = m_work.filePath(QStringLiteral("caller-user.hive"));
        m_callerMachineHive = m_work.filePath(QStringLiteral("caller-machine.hive"));
    }

    // Every setting the import and batch mode read, in the demo's own store.
    void storesTheSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // {root}: the demo folder
        const auto row = [](const char* key, const char* value) { QTest::newRow(key) << key << value; };
        row("VorlenProgramPath", "{root}/Vorlen");
        row("VorlenDataPath", "{root}/Demo");
        row("VorlenCompanyName", "Harbourside Trading Ltd");
        row("VorlenVersion", "23.0");
        row("VorlenUsername", "MANAGER");
        row("VorlenPassword", "letmein");
        row("pellmoorconfigdir", "{root}/config");
        row("iors", "0");
        row("BatchSourcePath", "{root}/batch/in");
        row("BatchSuccessPath", "{root}/batch/done");
        row("BatchErrorLogPath", "{root}/batch/errors");
        row("BatchInterval", "60000");
        row("BatchUpdateEnabled", "1");
        row("QuillarLogin", "demo");
    }
    void storesTheSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const DemoPaths paths = freshDemo();
        QCOMPARE(settings::readSetting(key, QStringLiteral("<missing>")),
                 expected.replace(QStringLiteral("{root}"), paths.root));
    }

    void storesTheLoginScrambled()
    {
        freshDemo();
        const QString stored = setting("QuillarPassword");
        QVERIFY(stored != QLatin1String(demo::DemoPassword));
        QCOMPARE(password::UnscrambleLoginPassword(stored), QLatin1String(demo::DemoPassword));
        QVERIFY(password::isStorablePassword(QLatin1String(demo::DemoPassword)));
    }

    void makesTheFolders()
    {
        const DemoPaths paths = freshDemo();
        for (const QString& folder : {paths.config, paths.batchSource, paths.batchSuccess, paths.batchErrors})
            QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
        for (const char* name : {"qfm.cfg", "qfm2.cfg", "invoicesqfm.cfg", "invoicesqfm2.cfg",
                                 "ordersqfm.cfg", "ordersqfm2.cfg"})
            QVERIFY2(QFileInfo::exists(paths.config + QLatin1Char('/') + QLatin1String(name)), name);
        for (const QString& file : {paths.cleanInvoices, paths.invoiceErrors, paths.salesOrders, paths.batchInvoices})
            QCOMPARE(fileBytes(file), fileBytes(QStringLiteral(QUILLAR_SOURCE_DIR "/tools/demo/files/") +
                                                QFileInfo(file).fileName()));
        QCOMPARE(company::folder::readCompanyFile(paths.program), QStringList{paths.company});
        QCOMPARE(summaries(postedDocuments(paths)), SeedDocuments);
    }

    void leavesTheCallersSettingsAlone()
    {
        const DemoPaths paths = freshDemo();
        QVERIFY(QFileInfo::exists(paths.userHive));
        QVERIFY(!QFileInfo::exists(m_callerUserHive));
        QVERIFY(!QFileInfo::exists(m_callerMachineHive));
    }

    // Each demo file, imported as docs/demo.md tells the user to.
    void importsTheDemoFiles_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("posted");

        const QString failed = QStringLiteral(
            "Quillar Validation\tUnable to import the invoice file as the file has failed validation. Please "
            "correct these problems before retrying the import.");
        // Every document carries the company's default carriage of 7.50 (no tax
        // code, so no carriage tax): the net is the items' net plus 7.50.
        QTest::newRow("clean invoices")
            << QStringList() << QStringLiteral("invoices.csv")
            << QStringList{QStringLiteral("Confirm\tProceed with invoice import?")}
            << QStringList{QStringLiteral("Invoice No 1002 for ABBEY GARDEN SUPPLIES (Unique No. "
                                          "ABB001PO-4471) created."),
                           QStringLiteral(
                               "Invoice No 1003 for BROOKFIELD HARDWARE (Unique No. BRO002BH-208) created."),
                           QStringLiteral(
                               "Credit No 1004 for CHARITY SHOP NETWORK (Unique No. CHA003RET-17) created.")}
            << QStringList()
            << QStringList{QStringLiteral("invoice 1002 ABB001 net 126.50 tax 23.80, 2 items"),
                           QStringLiteral("invoice 1003 BRO002 net 347.44 tax 51.99, 2 items"),
                           QStringLiteral("credit 1004 CHA003 net 31.50 tax 0.00, 1 items")};
        const QStringList errorTexts = {
            QStringLiteral("Account No XYZ999 does not exist on row 2 column2."),
            QStringLiteral("Stock Code ANCHOR-5 does not exist on row 3 column 5."),
            QStringLiteral("Invalid Transaction Type  X should be I or C.  Row 4 column 1."),
            QStringLiteral("Date is Invalid 31/11/2026 Row 5 column 3."),
            QStringLiteral(
                "Too many decimals on Quantity 2.555 rounding not turned on in settings. Row 6 column 6."),
        };
        QTest::newRow("invoices with errors")
            << QStringList() << QStringLiteral("invoices-with-errors.csv") << QStringList{failed}
            << errorTexts
            << QStringList{QStringLiteral("2 | 2 | ") + errorTexts[0] + QStringLiteral(" | XYZ999"),
                           QStringLiteral("3 | 5 | ") + errorTexts[1] + QStringLiteral(" | ANCHOR-5"),
                           QStringLiteral("4 | 1 | ") + errorTexts[2] + QStringLiteral(" | X"),
                           QStringLiteral("5 | 3 | ") + errorTexts[3] + QStringLiteral(" | 31/11/2026"),
                           QStringLiteral("6 | 6 | ") + errorTexts[4] + QStringLiteral(" | 2.555")}
            << QStringList();
        QTest::newRow("batch invoices")
            << QStringList() << QStringLiteral("batch-invoices.csv")
            << QStringList{QStringLiteral("Confirm\tProceed with invoice import?")}
            << QStringList{QStringLiteral("Invoice No 1002 for ABBEY GARDEN SUPPLIES (Unique No. "
                                          "ABB001PO-4495) created."),
                           QStringLiteral(
                               "Invoice No 1003 for BROOKFIELD HARDWARE (Unique No. BRO002BH-215) created.")}
            << QStringList()
            << QStringList{QStringLiteral("invoice 1002 ABB001 net 149.00 tax 28.30, 2 items"),
                           QStringLiteral("invoice 1003 BRO002 net 127.47 tax 0.00, 1 items")};
        QTest::newRow("sales orders")
            << QStringList{QStringLiteral("--orders")} << QStringLiteral("sales-orders.csv")
            << QStringList{QStringLiteral("Confirm\tProceed with SOP import?")}
            << QStringList{QStringLiteral(
                               "Order No 502 for BOSTON MARINE INC (Unique No. BOS006BM-5521) created."),
                           QStringLiteral(
                               "Order No 503 for ABBEY GARDEN SUPPLIES (Unique No. ABB001PO-4490) created.")}
            << QStringList()
            << QStringList{QStringLiteral("order 502 BOS006 net 729.78 tax 0.00, 2 items"),
                           QStringLiteral("order 503 ABB001 net 177.50 tax 34.00, 1 items")};
    }
    void importsTheDemoFiles()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, file);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, log);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, posted);
        const DemoPaths paths = freshDemo(options);
        const ImportOutcome outcome = runImport(paths, QDir(paths.root).filePath(file), {forms::AnswerYes});
        QCOMPARE(outcome.problems, QStringList());
        QCOMPARE(outcome.messages, messages);
        QCOMPARE(outcome.log, log);
        QCOMPARE(outcome.errors, errors);
        QCOMPARE(outcome.posted, posted);
    }

    // The README has the user import invoices.csv and then drop the batch file into
    // the batch folder: every file dropped there is posted, so the two must hold
    // different documents (a customer's order number makes the document).
    void batchFileHoldsOtherDocuments()
    {
        const DemoPaths paths = freshDemo();
        const auto documents = [](const QString& file) {
            QSet<QString> keys;
            for (const QByteArray& line : fileBytes(file).split('\n')) {
                const QList<QByteArray> fields = line.trimmed().split(',');
                if (fields.size() > 3)
                    keys.insert(QString::fromLatin1(fields[1] + fields[3]));
            }
            return keys;
        };
        const QSet<QString> batch = documents(paths.batchInvoices);
        QVERIFY(!batch.isEmpty());
        QVERIFY(!batch.intersects(documents(paths.cleanInvoices)));
        const ImportOutcome first = runImport(paths, paths.cleanInvoices, {forms::AnswerYes});
        const ImportOutcome second = runImport(paths, paths.batchInvoices, {forms::AnswerYes});
        QCOMPARE(first.posted.size(), 3);
        QCOMPARE(second.posted.size(), batch.size());
        for (const QString& line : second.log)
            for (const QString& before : first.log)
                QVERIFY2(line.section(QStringLiteral("(Unique No."), 1) != before.section(QStringLiteral("(Unique No."), 1),
                         qPrintable(line));
    }

    // Running the set-up again keeps what the user did with the demo.
    void runningAgainKeepsTheDemo()
    {
        const DemoPaths paths = freshDemo();
        const ImportOutcome imported = runImport(paths, paths.cleanInvoices, {forms::AnswerYes});
        QCOMPARE(imported.posted.size(), 3);
        QVERIFY(settings::writeSetting(QStringLiteral("BatchInterval"), QStringLiteral("120000")));
        const QString changedPassword = password::ScrambleLoginPassword(QStringLiteral("changed1"));
        QVERIFY(settings::writeSetting(QStringLiteral("QuillarPassword"), changedPassword));
        const QByteArray layout = "Account Reference\r\n";
        {
            QFile f(paths.config + QStringLiteral("/qfm.cfg"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(layout);
        }

        const SetupRun run = runSetup(paths);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.output.contains(QStringLiteral("Company: kept")), qPrintable(run.output));
        QCOMPARE(summaries(postedDocuments(paths)), SeedDocuments + imported.posted);
        QCOMPARE(company::folder::readCompanyFile(paths.program), QStringList{paths.company});
        QCOMPARE(setting("BatchInterval"), QStringLiteral("120000"));
        QCOMPARE(setting("QuillarPassword"), changedPassword);
        QCOMPARE(fileBytes(paths.config + QStringLiteral("/qfm.cfg")), layout);
    }

    // A reset makes the demo afresh and removes nothing but the demo's own files.
    void resetMakesItAfresh()
    {
        const DemoPaths paths = freshDemo();
        QCOMPARE(runImport(paths, paths.cleanInvoices, {forms::AnswerYes}).posted.size(), 3);
        QVERIFY(settings::writeSetting(QStringLiteral("BatchInterval"), QStringLiteral("120000")));
        const QString own = paths.root + QStringLiteral("/my-notes.txt");
        {
            QFile f(own);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("mine\n");
        }

        // An owned name that is a link: the link goes, not what it points to.
        const QString elsewhere = m_work.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QFile(own).copy(elsewhere + QStringLiteral("/kept.txt")));
        QVERIFY(QDir(paths.batch).removeRecursively());
        QVERIFY(QFile::link(elsewhere, paths.batch));

        const SetupRun run = runSetup(paths, {QStringLiteral("--reset")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(summaries(postedDocuments(paths)), SeedDocuments);
        QCOMPARE(setting("BatchInterval"), QLatin1String(demo::DemoBatchIntervalMs));
        QCOMPARE(fileBytes(own), QByteArray("mine\n"));
        QCOMPARE(fileBytes(elsewhere + QStringLiteral("/kept.txt")), QByteArray("mine\n"));
        QVERIFY(!QFileInfo(paths.batch).isSymLink());
        QVERIFY(QFileInfo(paths.batchSource).isDir());
    }

    // The mode switch sets "iors" and puts the mode's layout in force, in both directions.
    void switchesTheImportMode_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("iors");
        QTest::addColumn<QString>("firstColumn");
        QTest::newRow("orders") << QStringList{QStringLiteral("--orders")} << "1"
                                << "Account Reference";
        QTest::newRow("back to invoices")
            << QStringList{QStringLiteral("--orders"), QStringLiteral("--invoices")} << "0"
            << "Transaction Type";
    }
    void switchesTheImportMode()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, iors);
        QFETCH(QString, firstColumn);
        const DemoPaths paths = freshDemo();
        QVERIFY(settings::writeSetting(QStringLiteral("Checkcashwithinvoice"), QStringLiteral("1")));
        for (const QString& option : switches)
            QCOMPARE(runSetup(paths, {option}).exitCode, 0);
        QCOMPARE(setting("iors"), iors);
        if (iors == QLatin1String("1"))
            QCOMPARE(setting("CheckCashWithInvoice"), QStringLiteral("0"));
        const importer::EditorLayout layout = importer::LayoutFiles::readForEditor(paths.config);
        QCOMPARE(layout.columns[0], firstColumn);
        const QString mode =
            iors == QLatin1String("1") ? QStringLiteral("orders") : QStringLiteral("invoices");
        QCOMPARE(fileBytes(paths.config + QStringLiteral("/qfm.cfg")),
                 fileBytes(paths.config + QLatin1Char('/') + mode + QStringLiteral("qfm.cfg")));
    }

    void refusesBadUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("two modes") << QStringList{QStringLiteral("--orders"), QStringLiteral("--invoices")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--fresh")};
    }
    void refusesBadUsage()
    {
        QFETCH(QStringList, arguments);
        const DemoPaths paths(m_work.filePath(QStringLiteral("refused")));
        const SetupRun run = runSetup(paths, arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.startsWith(QStringLiteral("usage:")), qPrintable(run.errors));
        QVERIFY(!QFileInfo::exists(paths.root));
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
