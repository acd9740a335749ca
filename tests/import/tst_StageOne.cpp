#include "tests/import/ImportHarness.h"

#include "app/import/LineChecks.h"
#include "app/import/StageOne.h"

#include "platform/forms/MessageService.h"
#include "tests/support/ChildRun.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>

namespace {

const QStringList StandardColumns{"Transaction Type", "Account Reference", "Transaction Date",
                                  "Order Number"};
const QStringList GroupByAccount{"Account Reference"};

QByteArray line(const QByteArray& account, int n)
{
    return "I," + account + ",01/12/2026," + QByteArray::number(n);
}

QByteArray sameAccount(int count, const QByteArray& account = "C001")
{
    return linesOf(count, [&](int i) { return line(account, i); });
}

void run(ImportHarness& h, const QString& caller = QStringLiteral("frmmain"))
{
    h.context.state.pass.StageOneCompleted = true;
    importer::ValidateImportFile(h.context, caller, QStringLiteral("validate"));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Counts the calls the walk makes into the seam.
struct CountingChecks : importer::LineChecks
{
    QStringList seen;
    void checkFields(importer::ImportContext& c) override
    {
        seen << QStringLiteral("fields %1 %2").arg(c.state.line.Row).arg(c.state.line.field(2));
    }
    void validateTransactionNo(importer::ImportContext& c) override
    {
        seen << QStringLiteral("transno %1").arg(c.state.line.Row);
    }
};

} // namespace

class TestStageOne : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void earlyExits_data()
    {
        QTest::addColumn<QByteArray>("file"); // "(none)": no file named
        QTest::addColumn<bool>("noLayout");
        QTest::addColumn<QString>("text"); // empty: no message at all
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("batch");

        const QByteArray tooLong = sameAccount(32001);
        const QString limit = QStringLiteral(
            "Quillar will not import files greater than 32,000 lines, please split into smaller files");
        const QString commas = QStringLiteral(
            "File is not in the correct format , commas found  2.  File structure of  4 fields expected");
        const QString noLayout =
            QStringLiteral("File Structure has not been setup - Please setup in settings");
        for (const bool batch : {false, true}) {
            const char* mode = batch ? "batch" : "interactive";
            QTest::addRow("no import file named, %s", mode)
                << QByteArray("(none)") << false << QString() << QString() << batch;
            QTest::addRow("empty file, %s", mode) << QByteArray() << false << "This File is Empty"
                                                  << "Quillar" << batch;
            QTest::addRow("32,001 lines, %s", mode) << tooLong << false << limit << "Quillar" << batch;
            QTest::addRow("no layout, %s", mode) << sameAccount(2) << true << noLayout << "Quillar" << batch;
            QTest::addRow("first line commas, %s", mode)
                << QByteArray("I,C001,x\r\n") + sameAccount(2) << false << commas << "Tarnby" << batch;
            QTest::addRow("header line is counted too, %s", mode)
                << QByteArray("Type,Account,Date\r\n") + sameAccount(2) << false << commas << "Tarnby"
                << batch;
        }
    }

    void earlyExits()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, noLayout);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.setSetting(QStringLiteral("ImportHeaders"), QStringLiteral("1"));
        h.writeLayout(noLayout ? QStringList{"Unknown"} : StandardColumns, GroupByAccount);
        if (file != "(none)")
            h.writeImport(file);
        h.context.state.batch.BatchRunning = batch;

        run(h);

        QVERIFY(!h.context.state.pass.StageOneCompleted);
        QVERIFY(h.window.errorsFoundVisible);
        QVERIFY(!h.window.imgRed);
        QCOMPARE(h.log.text, QString());
        QVERIFY(h.errors.rows.empty());
        QCOMPARE(h.package.count(QStringLiteral("Workspaces.Add")), 0);
        if (text.isEmpty()) {
            QVERIFY(boxes.service().shown().empty());
            QVERIFY(h.context.state.batch.BatchErrors.empty());
        } else if (batch) {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.context.state.batch.BatchErrors, std::vector<QString>{text});
            QVERIFY(!h.window.mnuFilenew || file.isEmpty());
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text, text);
            QCOMPARE(boxes.service().shown()[0].title, title);
            QCOMPARE(boxes.service().shown()[0].icon(), 0);
        }
    }

    void exactly32000LinesPass()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.writeLayout(StandardColumns, {"Account Reference", "Order Number"});
        h.writeImport(sameAccount(32000));
        run(h);
        QVERIFY(h.context.state.pass.StageOneCompleted);
        QVERIFY(boxes.service().shown().empty());
        QCOMPARE(h.log.text, QString());
        QCOMPARE(h.context.state.line.TotalRows, 32001);
        QCOMPARE(h.window.progressMax, 32001);
    }

    void oneLineFile()
    {
        ImportHarness h;
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(line("C001", 1)); // no line end at all
        run(h);
        QVERIFY(h.context.state.pass.StageOneCompleted);
        QCOMPARE(h.window.progressMax, 2);
        QCOMPARE(h.context.state.line.TotalRows, 2);
        QCOMPARE(h.context.state.line.DocKey, QStringLiteral("C001"));
    }

    void perLineCommaCheck_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addRow("interactive") << false;
        QTest::addRow("batch") << true;
    }

    void perLineCommaCheck()
    {
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.setSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("1"));
        h.writeLayout(StandardColumns, GroupByAccount);
        QByteArray file = sameAccount(4) + line("C001", 5) + ",extra\r\n" + sameAccount(2) + "I,C001\r\n";
        h.writeImport(file);
        h.context.state.batch.BatchRunning = batch;
        run(h);

        QVERIFY(!h.context.state.pass.StageOneCompleted);
        // Rows as they stand in the file: the fifth line is row 5.
        const QString first = QStringLiteral("Line  5 has 4 Commas, should have 3 for a 4 column file");
        const QString second = QStringLiteral("Line  8 has 1 Commas, should have 3 for a 4 column file");
        QCOMPARE(h.log.text, first + QStringLiteral("\r\n") + second + QStringLiteral("\r\n"));
        QCOMPARE(h.errors.rows.size(), size_t(2));
        QCOMPARE(h.errors.rows[0].lineNo, QStringLiteral("5"));
        QCOMPARE(h.errors.rows[0].column, QStringLiteral("0"));
        QCOMPARE(h.errors.rows[1].lineNo, QStringLiteral("8"));
        QCOMPARE(h.window.toolbarCaption.value(3), QStringLiteral("Error Log"));
        QCOMPARE(h.window.status, QString());
        QVERIFY(h.window.errorsFoundVisible);
        QCOMPARE(h.package.count(QStringLiteral("Workspaces.Add")), 0);
        if (batch) {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.errors.modalShown, 0);
            QCOMPARE(h.context.state.batch.BatchErrors,
                     (std::vector<QString>{first + QStringLiteral("  row 5 Column 0"),
                                           second + QStringLiteral("  row 8 Column 0")}));
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text,
                     QStringLiteral(
                         "Unable to import the customer file as some lines do not have correct number of "
                         "fields"));
            QCOMPARE(boxes.service().shown()[0].icon(), int(forms::Exclamation));
            QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Line Columns"));
            QCOMPARE(h.errors.modalShown, 1);
        }
    }

    void perLineCommaCheckPasses()
    {
        ImportHarness h;
        h.setSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("1"));
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(sameAccount(10));
        run(h);
        QVERIFY(h.context.state.pass.StageOneCompleted);
        QCOMPARE(h.log.text, QString());
        QCOMPARE(h.context.state.line.TotalRows, 11);
    }

    void grouping_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QStringList>("groupTitles");
        QTest::addColumn<QStringList>("errors"); // "row:text"

        const QString limit = QStringLiteral("Maximum of 1000 lines per document allowed  Row %1.");
        QTest::addRow("1,000 lines in one document")
            << sameAccount(1000) << false << GroupByAccount << QStringList{};
        QTest::addRow("1,001 lines in one document")
            << sameAccount(1001) << false << GroupByAccount << QStringList{"1001:" + limit.arg(1001)};
        QTest::addRow("1,001 lines, then another document")
            << sameAccount(1001) + sameAccount(3, "C002") << false << GroupByAccount
            << QStringList{"1001:" + limit.arg(1001)};
        QTest::addRow("key comes back after another key")
            << sameAccount(600) + sameAccount(1, "C002") + sameAccount(600) << false << GroupByAccount
            << QStringList{};
        QTest::addRow("the same key throughout is one document")
            << sameAccount(1200) << false << GroupByAccount << QStringList{"1200:" + limit.arg(1200)};
        QTest::addRow("header on: data rows from 1")
            << QByteArray("Type,Account,Date,Order\r\n") + sameAccount(1001) << true << GroupByAccount
            << QStringList{"1001:" + limit.arg(1001)};
        QTest::addRow("header off: header line is a data line")
            << QByteArray("Type,Account,Date,Order\r\n") + sameAccount(1000) << false << GroupByAccount
            << QStringList{};
        // Joined without a separator both documents' keys read C0011; they must not merge.
        QTest::addRow("split values keep customers apart")
            << linesOf(600, [](int) { return QByteArray("I,C001,x,1"); }) +
                   linesOf(600, [](int) { return QByteArray("I,C00,x,11"); })
            << false << QStringList{"Account Reference", "Order Number"} << QStringList{};
    }

    void grouping()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, header);
        QFETCH(QStringList, groupTitles);
        QFETCH(QStringList, errors);
        ImportHarness h;
        h.setSetting(QStringLiteral("ImportHeaders"), header ? QStringLiteral("1") : QStringLiteral("0"));
        h.writeLayout(StandardColumns, groupTitles);
        h.writeImport(file);
        run(h);
        QVERIFY(h.context.state.pass.StageOneCompleted);
        QCOMPARE(h.errors.rows.size(), size_t(errors.size()));
        for (int i = 0; i < errors.size(); ++i) {
            const QString row = errors[i].section(QLatin1Char(':'), 0, 0);
            const QString text = errors[i].section(QLatin1Char(':'), 1);
            QCOMPARE(h.errors.rows[size_t(i)].lineNo, row);
            QCOMPARE(h.errors.rows[size_t(i)].description, text);
        }
        QCOMPARE(h.context.state.pass.FileValid, errors.isEmpty());
    }

    void nothingToImport()
    {
        ImportHarness h;
        h.setSetting(QStringLiteral("ImportHeaders"), QStringLiteral("1"));
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport("Type,Account,Date,Order\r\n");
        run(h);
        QCOMPARE(h.log.text, QStringLiteral("Nothing to Import \r\n"));
        QCOMPARE(h.errors.rows.size(), size_t(1));
        QCOMPARE(h.errors.rows[0].lineNo, QStringLiteral("0"));
        QCOMPARE(h.errors.rows[0].column, QStringLiteral("0"));
        QCOMPARE(h.errors.rows[0].value, QString());
    }

    void walkThrough_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<bool>("fileLeftOpen");
        QTest::addRow("frmmain leaves the file for stage two") << "frmmain" << true;
        QTest::addRow("frmerrlog closes it") << "frmerrlog" << false;
    }

    void walkThrough()
    {
        QFETCH(QString, caller);
        QFETCH(bool, fileLeftOpen);
        ImportHarness h;
        CountingChecks checks;
        h.context.lineChecks = &checks;
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(sameAccount(2) + sameAccount(1, "C002"));
        run(h, caller);
        auto& st = h.context.state;
        QVERIFY(st.pass.StageOneCompleted);
        QVERIFY(st.pass.FileValid);
        QVERIFY(!st.pass.ValidateOK);
        QCOMPARE(st.line.TotalRows, 4);
        QCOMPARE(st.line.DocKey, QStringLiteral("C002"));
        QCOMPARE(st.layout.GroupSpec, QStringLiteral("2"));
        QCOMPARE(st.pass.StockUnitDP, 2.0);
        QCOMPARE(st.pass.StockQtyDP, 3.0);
        QCOMPARE(bool(st.line.ImportFile), fileLeftOpen);
        QVERIFY(st.package.VdoConnected); // the caller closes the connection
        QCOMPARE(checks.seen, (QStringList{"fields 1 C001", "transno 1", "fields 2 C001", "transno 2",
                                           "fields 3 C002", "transno 3"}));
        const QStringList created{"CreateObject InvoiceRecord",       "CreateObject SalesRecord",
                                  "CreateObject StockRecord",         "CreateObject PriceRecord",
                                  "CreateObject SalesDeliveryRecord", "CreateObject CurrencyData",
                                  "CreateObject BankRecord",          "CreateObject NominalRecord",
                                  "CreateObject ControlData",         "CreateObject SetupData"};
        QStringList made;
        for (const auto& entry : h.package.log)
            if (entry.startsWith(QLatin1String("CreateObject")))
                made << entry;
        QCOMPARE(made, created);
        QCOMPARE(h.package.count(QStringLiteral("ControlData.Close")), 1);
        QCOMPARE(h.package.count(QStringLiteral("SetupData.Close")), 1);
        QVERIFY(!st.package.SalesRec);
        QVERIFY(!st.package.DocumentRec);
        QVERIFY(st.package.NominalRec);
        QVERIFY(st.package.SetupDataRec);
    }

    void salesOrderImportUsesSopRecord()
    {
        ImportHarness h;
        h.setSetting(QStringLiteral("iors"), QStringLiteral("1"));
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(sameAccount(1));
        run(h);
        QCOMPARE(h.context.state.pass.ImportToSop, int16_t(1));
        QVERIFY(h.package.log.contains(QStringLiteral("CreateObject SOPRecord")));
    }

    void connectionFailed()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.package.connectResult = FakePackage::ConnectResult::False;
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(sameAccount(3));
        h.errors.rows.push_back({QStringLiteral("stale"), {}, {}, {}});
        run(h);
        QVERIFY(!h.context.state.pass.StageOneCompleted);
        QVERIFY(!h.context.state.line.ImportFile);
        QVERIFY(h.errors.rows.empty());
        QCOMPARE(h.log.text, QString());
        QVERIFY(boxes.service().shown().empty());
    }

    void runtimeErrors_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("batch");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("entryRow");
        QTest::addColumn<bool>("stillConnected");

        const QString numeric = QStringLiteral("Numeric field contains invalid characters, Please check file "
                                               "structure in settings and try again.");
        const QString notFound =
            QStringLiteral("File not found, Please check file structure in settings and try again.");
        for (const bool batch : {false, true}) {
            const char* mode = batch ? "batch" : "interactive";
            QTest::addRow("missing qfm.cfg (53), %s", mode)
                << "no column file" << batch << notFound << int(forms::Information) << "Import"
                << "Error no53"
                << "0" << false;
            QTest::addRow("missing import file (53), %s", mode)
                << "no import file" << batch << notFound << int(forms::Information) << "Import"
                << "Error no53"
                << "0" << false;
            QTest::addRow("no grouping column (13), %s", mode)
                << "no grouping" << batch << numeric << int(forms::Information) << "Quillar - Validation"
                << "Error no13"
                << "1" << true;
            QTest::addRow("grouping file of 2 items (62), %s", mode)
                << "short grouping" << batch
                << "An error has occurred , error number 62 . Please check file structure" << 0
                << "Quillar Error"
                << "Error no62"
                << "0" << false;
            QTest::addRow("engine fails after connect, %s", mode)
                << "engine" << batch
                << "An error has occurred , error number -2147467259 LineCountChk. Please check file "
                   "structure"
                << 0 << "Quillar Error"
                << "Error no-2147467259"
                << "1" << false;
        }
    }

    void runtimeErrors()
    {
        QFETCH(QString, fault);
        QFETCH(bool, batch);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, title);
        QFETCH(QString, entry);
        QFETCH(QString, entryRow);
        QFETCH(bool, stillConnected);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.context.state.batch.BatchRunning = batch;
        h.writeLayout(StandardColumns,
                      fault == QLatin1String("no grouping") ? QStringList{} : GroupByAccount);
        h.writeImport(sameAccount(3));
        if (fault == QLatin1String("no column file"))
            QVERIFY(QFile::remove(h.configDir() + QStringLiteral("/qfm.cfg")));
        if (fault == QLatin1String("no import file"))
            QVERIFY(QFile::remove(h.window.importFile));
        if (fault == QLatin1String("short grouping"))
            h.writeFile(QStringLiteral("config/qfm2.cfg"), "Account Reference\r\n\r\n");
        if (fault == QLatin1String("engine"))
            h.package.failCreateObject = true;

        run(h);

        QVERIFY(!h.context.state.pass.StageOneCompleted);
        QVERIFY(!h.context.state.line.ImportFile);
        QCOMPARE(h.log.text, entry + QStringLiteral("\r\n"));
        QCOMPARE(h.errors.rows.size(), size_t(1));
        QCOMPARE(h.errors.rows[0].description, entry);
        QCOMPARE(h.errors.rows[0].lineNo, entryRow);
        QCOMPARE(h.context.state.package.VdoConnected, stillConnected);
        QCOMPARE(h.package.connected, stillConnected);
        QVERIFY(h.window.errorsFoundVisible);
        QCOMPARE(h.window.status, QString());
        if (batch) {
            QVERIFY(boxes.service().shown().empty());
            // The fixed text explains the bare entry in the failed file's error file.
            QCOMPARE(h.context.state.batch.BatchErrors,
                     (std::vector<QString>{text, entry + QStringLiteral("  row ") + entryRow +
                                                     QStringLiteral(" Column 0")}));
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text, text);
            QCOMPARE(boxes.service().shown()[0].icon(), icon);
            QCOMPARE(boxes.service().shown()[0].title, title);
        }
    }

    // A line beyond the reader's bound (here a run of NULs to the end of a 256 MiB
    // file that takes no disk room) stops the import with its own error, holding
    // no more than the bound.
    void overlongLineEndsInTheImportsOwnError_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addRow("the first line") << QByteArray();
        QTest::addRow("after good lines") << sameAccount(2);
    }
    void overlongLineEndsInTheImportsOwnError()
    {
        QFETCH(QByteArray, before);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.writeLayout(StandardColumns, GroupByAccount);
        const QString path = h.writeImport(before);
        QVERIFY(QFile::resize(path, 256 * 1024 * 1024));
        const testsupport::ChildOutcome outcome = testsupport::runInChild([&] {
            run(h);
            const auto& shown = boxes.service().shown();
            const bool ok = !h.context.state.pass.StageOneCompleted && shown.size() == 1 &&
                            shown[0].text.startsWith(QStringLiteral("An error has occurred , error number 14 ")) &&
                            h.log.text == QStringLiteral("Error no14\r\n");
            if (!ok)
                std::fprintf(stderr, "%s | %s\n", shown.empty() ? "" : qPrintable(shown[0].text),
                             qPrintable(h.log.text));
            return ok ? 0 : 1;
        });
        QVERIFY(outcome.exited);
        QCOMPARE(outcome.code, 0);
        QVERIFY2(outcome.peakGrowthKiB < 32 * 1024, qPrintable(QString::number(outcome.peakGrowthKiB)));
    }

    void badInputNeverCrashes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("checkEveryLine");

        QByteArray garbage(64 * 1024, '\0');
        auto* rng = QRandomGenerator::global();
        for (auto& b : garbage)
            b = char(rng->bounded(256));
        QTest::addRow("binary garbage") << garbage << false;
        QTest::addRow("binary garbage, every line checked") << garbage << true;
        QTest::addRow("a line of 100,000 characters") << QByteArray(100000, 'x') + "\r\n" << false;
        QTest::addRow("a 100,000-character line among good ones")
            << sameAccount(2) + "I," + QByteArray(100000, 'y') + ",x,1\r\n" + sameAccount(2) << true;
        static const char nul[] = "I,C0\0\0"
                                  "01,x\0,1\r\n\0\0\0\r\nI,C001,\0\r\n";
        QTest::addRow("NUL bytes") << QByteArray(nul, sizeof(nul) - 1) << true;
        QByteArray wide;
        for (int i = 0; i < 60; ++i)
            wide += "v,";
        QTest::addRow("line of 60 fields") << wide + "\r\n" << false;
    }

    void badInputNeverCrashes()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, checkEveryLine);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.setSetting(QStringLiteral("CheckFileFormat"),
                     checkEveryLine ? QStringLiteral("1") : QStringLiteral("0"));
        h.writeLayout(StandardColumns, GroupByAccount);
        const QString path = h.writeImport(file);
        const QByteArray column = readAll(h.configDir() + QStringLiteral("/qfm.cfg"));
        run(h);
        const bool reported = !boxes.service().shown().empty() || !h.errors.rows.empty();
        QVERIFY(reported || h.context.state.pass.StageOneCompleted);
        h.context.state.line.ImportFile.reset();
        QCOMPARE(readAll(path), file);
        QCOMPARE(readAll(h.configDir() + QStringLiteral("/qfm.cfg")), column);
    }

    void layoutOfSixtyItems()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.writeFile(QStringLiteral("config/qfm.cfg"),
                    readAll(QStringLiteral(QUILLAR_TEST_DATA "/import/qfm60.cfg")));
        h.writeFile(QStringLiteral("config/qfm2.cfg"), "Account Reference\r\n\r\n\r\n\r\n");
        QByteArray wide = "I,C001";
        for (int i = 3; i <= 58; ++i)
            wide += ",v";
        h.writeImport(wide + "\r\n");
        run(h);
        // The title in column 58 is not taken, so the line does not fit the layout.
        QCOMPARE(int(h.context.state.layout.LastCol), 2);
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Tarnby"));
        QVERIFY(!h.context.state.pass.StageOneCompleted);
    }

    void emptyGroupingFileKeepsPreviousTitles()
    {
        ImportHarness h;
        h.writeLayout(StandardColumns, {"Order Number"});
        h.writeImport(sameAccount(2));
        run(h);
        QCOMPARE(h.context.state.layout.GroupSpec, QStringLiteral("4"));
        h.context.state.line.ImportFile.reset();
        h.writeFile(QStringLiteral("config/qfm2.cfg"), {});
        run(h);
        QCOMPARE(h.context.state.layout.GroupSpec, QStringLiteral("4"));
        QVERIFY(h.context.state.pass.StageOneCompleted);
    }

    void progressDisplay_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("clip");
        QTest::addRow("validate") << "validate" << false;
        QTest::addRow("VALIDATE") << "VALIDATE" << false;
        QTest::addRow("import") << "import" << true;
    }

    void progressDisplay()
    {
        QFETCH(QString, mode);
        QFETCH(bool, clip);
        ImportHarness h;
        h.window.recordStatus = true;
        h.writeLayout(StandardColumns, GroupByAccount);
        h.writeImport(sameAccount(2));
        h.context.state.pass.StageOneCompleted = true;
        importer::ValidateImportFile(h.context, QStringLiteral("frmmain"), mode);
        QCOMPARE(h.window.clipPlayed.isEmpty(), !clip);
        if (clip)
            QCOMPARE(h.window.clipPlayed, h.context.programFolder + QStringLiteral("/import.dll"));
        else
            QVERIFY(!h.window.animationVisible);
        QVERIFY(h.window.statusHistory.contains(QStringLiteral("Stage One - Opening File. ")));
        QVERIFY(h.window.statusHistory.contains(QStringLiteral("Stage One - Reading File. Record 1")));
        QVERIFY(h.window.statusHistory.contains(QStringLiteral("Stage One - Validating File. Record 2")));
        QCOMPARE(h.window.progressValue, 3);
    }
};

int runStageOneTests(int argc, char** argv)
{
    TestStageOne t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_StageOne.moc"
