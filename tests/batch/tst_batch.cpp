// Batch-upload mode below the window: filed names, error files and the error log,
// the status list, the interval and pass rules, Start and Stop, and the uploads of
// real files into the package stand-in, with the faults batch mode must not have.
#include "tests/batch/BatchRig.h"

#include "app/mainwindow/batch/BatchSettings.h"
#include "app/mainwindow/batch/ErrorFiles.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"
#include "platform/registry/RegistryStore.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace batchtest;
using batch::StatusRow;

namespace {

const QDateTime March5 = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));

// A file system that lists what a table row gives; files exist when listed.
struct ListedFileSystem : batch::RealFileSystem
{
    std::map<QString, QStringList> folders;
    shell::FolderListing listFolder(const QString& folder) override
    {
        shell::FolderListing out;
        for (const QString& name : folders[folder])
            out.files.push_back(shell::FileEntry{name, folder + QLatin1Char('/') + name, 1, March5, March5});
        return out;
    }
    shell::FolderReading readFolder(const QString& folder) override
    {
        return batch::BatchFileSystem::readFolder(folder); // from the listing above
    }
    bool fileExists(const QString& path) override
    {
        const QString folder = shell::parentFolder(path), name = shell::fileName(path);
        return folders[folder].contains(name, Qt::CaseInsensitive); // the path helper's rule
    }
};

// Root reads any file whatever its mode: while this lives the calling thread
// honours file modes as any other user does (root's two overrides of them are
// taken out of its effective capabilities, and put back at the end).
class FileModesHonoured
{
public:
    FileModesHonoured()
    {
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~FileModesHonoured()
    {
        if (m_lowered)
            syscall(SYS_capset, &m_header, m_saved);
    }
    FileModesHonoured(const FileModesHonoured&) = delete;
    FileModesHonoured& operator=(const FileModesHonoured&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

StatusRow row(const char* name, const char* state, const char* path, const char* date = "05/03/2024 14:07:09")
{
    return StatusRow{QLatin1String(name), QLatin1String(state), QLatin1String(date), QLatin1String(path)};
}

} // namespace

Q_DECLARE_METATYPE(std::vector<batch::StatusRow>)

class TestBatch : public QObject
{
    Q_OBJECT

    QString m_engineProblem;

    std::unique_ptr<BatchFixture> fixture() { return BatchFixture::make(); }

    // The error log goes to "ErrorLOG" of a program folder of the fixture's own;
    // returns the log's path.
    static QString logIntoProgramFolder(BatchFixture& f)
    {
        QDir(f.dir.path()).mkpath(QStringLiteral("program/ErrorLOG"));
        f.rig->context.programFolder = f.dir.filePath(QStringLiteral("program"));
        return f.dir.filePath(QStringLiteral("program/ErrorLOG/Errorlog.log"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerEngine(m_engineProblem);
        QCOMPARE(QProcess::execute(QStringLiteral(REGSVR_PATH),
                                   {QStringLiteral("/s"), QStringLiteral(KEELBOX_PATH)}),
                 0);
    }

    // ---- filed names and error-file names

    void filedNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<int>("counter");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("stamped");
        QTest::newRow("first choice and stamp") << "orders.csv" << March5 << 1 << "orders2024351.csv"
                                                << "orders20243514791.csv";
        QTest::newRow("another extension becomes .csv") << "a.txt" << March5 << 2 << "a2024352.csv"
                                                        << "a20243514792.csv";
        QTest::newRow("only the last extension goes") << "a.b.CSV" << March5 << 3 << "a.b2024353.csv"
                                                      << "a.b20243514793.csv";
        QTest::newRow("base name trimmed") << " pay .csv" << March5 << 4 << "pay2024354.csv"
                                           << "pay20243514794.csv";
        QTest::newRow("15 January unpadded") << "x.csv" << QDateTime(QDate(2024, 1, 15), QTime(0, 0, 5)) << 7
                                             << "x2024115"
                                                "7.csv"
                                             << "x2024115005"
                                                "7.csv";
        QTest::newRow("5 November unpadded") << "x.csv" << QDateTime(QDate(2024, 11, 5), QTime(9, 30, 0)) << 7
                                             << "x2024115"
                                                "7.csv"
                                             << "x20241159300"
                                                "7.csv";
        QTest::newRow("counter wrapped") << "x.csv" << March5 << -32768 << "x202435-32768.csv"
                                         << "x2024351479-32768.csv";
    }
    void filedNames()
    {
        QFETCH(QString, file);
        QFETCH(QDateTime, at);
        QFETCH(int, counter);
        QFETCH(QString, first);
        QFETCH(QString, stamped);
        QCOMPARE(batch::filedName(file, at, int16_t(counter)), first);
        QCOMPARE(batch::stampedFiledName(file, at, int16_t(counter)), stamped);
    }

    void filingCounterWraps()
    {
        QCOMPARE(batch::nextFilingCounter(1), int16_t(2));
        QCOMPARE(batch::nextFilingCounter(32767), int16_t(-32768));
        QCOMPARE(batch::nextFilingCounter(-1), int16_t(0));
    }

    void errorFileNames_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("separator added") << "/e"
                                         << "/e"
                                         << "/e/orders2024351_ERRORLOG.CSV";
        QTest::newRow("setting ends in /") << "/e/"
                                           << "/e/"
                                           << "/e/orders2024351_ERRORLOG.CSV";
        QTest::newRow("setting ends in \\") << "c:\\e\\"
                                            << "c:\\e\\"
                                            << "c:\\e\\orders2024351_ERRORLOG.CSV";
        QTest::newRow("the trimmed folder is written") << "/e "
                                                       << "/e"
                                                       << "/e/orders2024351_ERRORLOG.CSV";
    }
    void errorFileNames()
    {
        QFETCH(QString, setting);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(batch::errorFileName(setting, folder, QStringLiteral("/s/orders2024351.csv")), expected);
        QCOMPARE(batch::stampedErrorFileName(QStringLiteral("orders2024351_ERRORLOG.CSV"), March5),
                 QStringLiteral("orders2024351_ERRORLOG2024351479.CSV"));
    }

    // ---- the error file and the error log

    void errorFileContents_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no errors: the heading alone")
            << QStringList() << QByteArray("\"Error Description 05/03/2024\"\r\n");
        QTest::newRow("empty entries skipped, quotes kept")
            << QStringList{QStringLiteral("Account not found  row 2 Column 2"), QString(),
                           QStringLiteral("say \"no\"")}
            << QByteArray("\"Error Description 05/03/2024\"\r\n\"Account not found  row 2 Column 2\"\r\n"
                          "\"say \"no\"\"\r\n");
    }
    void errorFileContents()
    {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, expected);
        ScopedClock clock(March5);
        QTemporaryDir dir;
        FakeMainWindow window;
        FakeImportLog log;
        FakeErrorList errors;
        FakeSettingsForm form;
        importer::ImportContext context(window, log, errors, form);
        context.state.batch.ErrorFolder = dir.path();
        for (const QString& e : entries)
            context.state.batch.BatchErrors.push_back(e);
        batch::WriteBatchErrorCsv(context, QStringLiteral("/src/orders2024351.csv"), dir.path());
        QCOMPARE(readFile(dir.filePath(QStringLiteral("orders2024351_ERRORLOG.CSV"))), expected);
        QCOMPARE(context.state.batch.BatchErrorCount(), 0);
        QVERIFY(!window.mnuFilenew);

        // A second file of the same name is never written over: the stamp goes before ".CSV".
        context.state.batch.BatchErrors.push_back(QStringLiteral("second"));
        batch::WriteBatchErrorCsv(context, QStringLiteral("orders2024351.csv"), dir.path());
        QCOMPARE(readFile(dir.filePath(QStringLiteral("orders2024351_ERRORLOG.CSV"))), expected);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("orders2024351_ERRORLOG2024351479.CSV"))),
                 QByteArray("\"Error Description 05/03/2024\"\r\n\"second\"\r\n"));
    }

    void errorFileFolderMadeOrReported()
    {
        ScopedClock clock(March5);
        QTemporaryDir dir;
        FakeMainWindow window;
        FakeImportLog log;
        FakeErrorList errors;
        FakeSettingsForm form;
        importer::ImportContext context(window, log, errors, form);
        forms::ScopedScriptedMessages boxes;

        // A missing error folder is made (one level).
        const QString missing = dir.filePath(QStringLiteral("errors"));
        context.state.batch.ErrorFolder = missing;
        context.state.batch.BatchErrors.push_back(QStringLiteral("e1"));
        batch::WriteBatchErrorCsv(context, QStringLiteral("a.csv"), missing);
        QCOMPARE(filesOf(missing), QStringList{QStringLiteral("a_ERRORLOG.CSV")});
        QVERIFY(boxes.service().shown().empty());

        // Two levels missing: reported, and the list is kept.
        const QString deep = dir.filePath(QStringLiteral("no/such"));
        context.state.batch.ErrorFolder = deep;
        context.state.batch.BatchErrors.push_back(QStringLiteral("e2"));
        window.mnuFilenew = true;
        batch::WriteBatchErrorCsv(context, QStringLiteral("a.csv"), deep);
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Create Error File -Error"));
        QVERIFY(boxes.service().shown()[0].text.startsWith(QStringLiteral("76 ")));
        QVERIFY(boxes.service().shown()[0].text.endsWith(QStringLiteral("Please Try Again.")));
        QCOMPARE(context.state.batch.BatchErrorCount(), 1);
        QVERIFY(window.mnuFilenew);
    }

    void errorLog_data()
    {
        QTest::addColumn<QString>("value"); // "-" for no value; "%1" stands for the temporary folder
        QTest::addColumn<bool>("fallbackExists");
        QTest::addColumn<QString>("expectedFile"); // relative to the temporary folder; "" none
        QTest::addColumn<QString>("box");
        QTest::newRow("value of a folder ending in /") << "%1/logs/" << true << "logs/Errorlog.log"
                                                       << "";
        QTest::newRow("value without the separator: joined as it stands")
            << " %1/logs " << true << "logsErrorlog.log"
            << "";
        QTest::newRow("no value: the program's ErrorLOG") << "-" << true << "program/ErrorLOG/Errorlog.log"
                                                          << "";
        QTest::newRow("value of no folder: the program's ErrorLOG")
            << "%1/none/" << true << "program/ErrorLOG/Errorlog.log"
            << "";
        QTest::newRow("ErrorLOG missing: reported, not made") << "-" << false << ""
                                                              << "Writing Error Log";
    }
    void errorLog()
    {
        QFETCH(QString, value);
        QFETCH(bool, fallbackExists);
        QFETCH(QString, expectedFile);
        QFETCH(QString, box);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("logs"));
        QDir(dir.path()).mkpath(QStringLiteral("program"));
        if (fallbackExists)
            QDir(dir.path()).mkpath(QStringLiteral("program/ErrorLOG"));
        const QString key = QLatin1String(keelbox::ConfigKeyPath);
        registry::deleteKey(registry::Hive::CurrentUser, key);
        if (value != QLatin1String("-")) {
            std::optional<registry::Key> k;
            QCOMPARE(registry::createKey(registry::Hive::CurrentUser, key, k), registry::Success);
            QCOMPARE(k->setValue(QStringLiteral("DefaultLogPath"),
                                 registry::Value::fromString(value.arg(dir.path()))),
                     registry::Success);
        }
        forms::ScopedScriptedMessages boxes;
        batch::KeptDoSecurity security;
        const QString message = QStringLiteral("Path not found -76--While Upload StartBatchUpload-\"a\".csv");
        batch::WriteErrorLog(security, dir.filePath(QStringLiteral("program")), message);
        batch::WriteErrorLog(security, dir.filePath(QStringLiteral("program")), QStringLiteral("second"));
        if (expectedFile.isEmpty()) {
            QCOMPARE(boxes.service().shown().size(), size_t(2));
            QCOMPARE(boxes.service().shown()[0].title, box);
            QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("program/ErrorLOG"))));
        } else {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(
                readFile(dir.filePath(expectedFile)),
                QByteArray(
                    "\"Path not found -76--While Upload StartBatchUpload-\"a\".csv\"\r\n\"second\"\r\n"));
        }
        registry::deleteKey(registry::Hive::CurrentUser, key);
    }

    void doSecurityKept()
    {
        batch::KeptDoSecurity security;
        const basic::ObjectRef first = security.doSecurity();
        QVERIFY(first);
        QCOMPARE(security.doSecurity().get(), first.get());
    }

    // ---- the status list

    void derivation_data()
    {
        QTest::addColumn<QStringList>("success");
        QTest::addColumn<QStringList>("error");
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<std::vector<StatusRow>>("expected");
        QTest::newRow("one of each, in folder order")
            << QStringList{"b.csv", "a.csv"} << QStringList{"f.csv", "f_ERRORLOG.CSV"} << QStringList{"p.csv"}
            << std::vector<StatusRow>{row("b.csv", "Loaded", "/ok/b.csv"),
                                      row("a.csv", "Loaded", "/ok/a.csv"),
                                      row("f.csv", "Error(s) Found", "/err/f_ERRORLOG.CSV"),
                                      row("p.csv", "Pending", "/src/p.csv")};
        QTest::newRow("both companions: partially loaded, the .CSV path")
            << QStringList() << QStringList{"g.csv", "g_ERRORLOG.CSV", "g_RowsNotLoaded.csv"} << QStringList()
            << std::vector<StatusRow>{row("g.csv", "Partially Loaded", "/err/g_RowsNotLoaded.CSV")};
        QTest::newRow("companion written in capitals still pairs")
            << QStringList() << QStringList{"h.csv", "H_ERRORLOG.CSV"} << QStringList()
            << std::vector<StatusRow>{row("h.csv", "Error(s) Found", "/err/h_ERRORLOG.CSV")};
        QTest::newRow("no companion: listed by its own path")
            << QStringList() << QStringList{"lost.csv"} << QStringList()
            << std::vector<StatusRow>{row("lost.csv", "Error(s) Found", "/err/lost.csv")};
        QTest::newRow("a name starting with a marker is an ordinary file")
            << QStringList() << QStringList{"_ERRORLOG.txt"} << QStringList()
            << std::vector<StatusRow>{row("_ERRORLOG.txt", "Error(s) Found", "/err/_ERRORLOG.txt")};
        QTest::newRow("the marker search is case-sensitive")
            << QStringList() << QStringList{"k_errorlog.csv"} << QStringList()
            << std::vector<StatusRow>{row("k_errorlog.csv", "Error(s) Found", "/err/k_errorlog.csv")};
        QTest::newRow("two error files of one base name: listed once, first wins")
            << QStringList() << QStringList{"m.csv", "m.txt", "m_ERRORLOG.CSV"} << QStringList()
            << std::vector<StatusRow>{row("m.csv", "Error(s) Found", "/err/m_ERRORLOG.CSV")};
    }
    void derivation()
    {
        QFETCH(QStringList, success);
        QFETCH(QStringList, error);
        QFETCH(QStringList, source);
        QFETCH(std::vector<StatusRow>, expected);
        ListedFileSystem files;
        files.folders[QStringLiteral("/ok")] = success;
        files.folders[QStringLiteral("/err")] = error;
        files.folders[QStringLiteral("/src")] = source;
        const auto got = batch::deriveBatchStatus(files, QStringLiteral("/ok"), QStringLiteral("/err"),
                                                  QStringLiteral("/src"));
        QCOMPARE(got, expected);
    }

    void reconcile_data()
    {
        QTest::addColumn<std::vector<StatusRow>>("before");
        QTest::addColumn<std::vector<StatusRow>>("entries");
        QTest::addColumn<std::vector<StatusRow>>("after");
        QTest::addColumn<int>("changes");
        const auto a = row("a.csv", "Pending", "/src/a.csv");
        const auto b = row("b.csv", "Pending", "/src/b.csv");
        const auto aLoaded = row("a.csv", "Loaded", "/ok/a2026121.csv");
        const auto e = row("e.csv", "Error(s) Found", "/err/e_ERRORLOG.CSV");
        auto ePartial = row("e.csv", "Partially Loaded", "/err/e_ERRORLOG.CSV");
        auto bRedated = row("b.csv", "Pending", "/src/b.csv", "06/03/2024 10:00:00");
        QTest::newRow("empty list takes every entry")
            << std::vector<StatusRow>{} << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{a, b} << 2;
        QTest::newRow("rows that match are left untouched")
            << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{a, b}
            << 0;
        QTest::newRow("a filed file loses its row and gets one at the end")
            << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{aLoaded, b}
            << std::vector<StatusRow>{b, aLoaded} << 3;
        QTest::newRow("a state that changes keeps the row's place")
            << std::vector<StatusRow>{e, b} << std::vector<StatusRow>{ePartial, b}
            << std::vector<StatusRow>{ePartial, b} << 1;
        QTest::newRow("only the date changes")
            << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{a, bRedated}
            << std::vector<StatusRow>{a, bRedated} << 1;
        QTest::newRow("everything gone")
            << std::vector<StatusRow>{a, b} << std::vector<StatusRow>{} << std::vector<StatusRow>{} << 4;
    }
    void reconcile()
    {
        QFETCH(std::vector<StatusRow>, before);
        QFETCH(std::vector<StatusRow>, entries);
        QFETCH(std::vector<StatusRow>, after);
        QFETCH(int, changes);
        batch::StatusRows list;
        list.rows = before;
        batch::reconcileBatchStatus(list, entries);
        QCOMPARE(list.rows, after);
        QCOMPARE(list.changes, changes);
    }

    // A scan kept between ticks answers from what it held only where nothing
    // changed: a companion written (in other letters) or gone, a name that
    // differs only in case, a file gone; a link is never listed.
    void keptScanFollowsChanges()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ok = dir.filePath(QStringLiteral("ok")), err = dir.filePath(QStringLiteral("err"));
        QVERIFY(QDir().mkpath(ok) && QDir().mkpath(err));
        const auto put = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
        };
        QVERIFY(put(ok + QStringLiteral("/a.csv")) && put(err + QStringLiteral("/f.csv")));
        batch::RealFileSystem files;
        batch::BatchStatusScan scan;
        const auto states = [&] {
            QStringList out;
            for (const StatusRow& r : scan.derive(files, ok, err, dir.filePath(QStringLiteral("none"))))
                out << r.name + QLatin1Char(' ') + r.state + QLatin1Char(' ') + shell::fileName(r.path);
            return out;
        };
        QCOMPARE(states(), (QStringList{"a.csv Loaded a.csv", "f.csv Error(s) Found f.csv"}));
        QCOMPARE(states(), (QStringList{"a.csv Loaded a.csv", "f.csv Error(s) Found f.csv"}));
        QVERIFY(put(err + QStringLiteral("/F_ERRORLOG.CSV")) && put(ok + QStringLiteral("/A.csv")));
        QCOMPARE(::symlink("a.csv", QFile::encodeName(ok + QStringLiteral("/b.csv")).constData()), 0);
        QCOMPARE(states(), (QStringList{"A.csv Loaded A.csv", "a.csv Loaded a.csv",
                                        "f.csv Error(s) Found f_ERRORLOG.CSV"}));
        QVERIFY(QFile::remove(err + QStringLiteral("/F_ERRORLOG.CSV")) && QFile::remove(ok + QStringLiteral("/A.csv")));
        QCOMPARE(states(), (QStringList{"a.csv Loaded a.csv", "f.csv Error(s) Found f.csv"}));
        QVERIFY(QFile::remove(ok + QStringLiteral("/a.csv")));
        QCOMPARE(states(), (QStringList{"f.csv Error(s) Found f.csv"}));
    }

    void columnClickSetsSortKey()
    {
        batch::StatusRows list;
        QCOMPARE(batch::statusColumns().size(), size_t(4));
        for (int column = 1; column <= 4; ++column) {
            batch::ListViewBatchStatus_ColumnClick(list, column);
            QCOMPARE(list.sortKey, column - 1);
        }
    }

    // ---- settings, interval, countdown

    void interval_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<int>("timer2");
        QTest::addColumn<int>("ticksToFirstPass");
        QTest::addColumn<QString>("countdownAtStart");
        QTest::newRow("empty") << "" << 60 << 60 << 1 << "0:00:00";
        QTest::newRow("abc") << "abc" << 60 << 60 << 1 << "0:00:00";
        QTest::newRow("60000") << "60000" << 60000 << 60000 << 1 << "0:01:00";
        QTest::newRow("90000") << "90000" << 90000 << 60000 << 2 << "0:01:30";
        QTest::newRow("150000") << "150000" << 150000 << 60000 << 3 << "0:02:30";
        QTest::newRow("rounded") << "1500.5" << 1500 << 1500 << 1 << "0:00:02";
    }
    void interval()
    {
        QFETCH(QString, setting);
        QFETCH(int, intervalMs);
        QFETCH(int, timer2);
        QFETCH(int, ticksToFirstPass);
        QFETCH(QString, countdownAtStart);
        ScopedClock clock(March5);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchInterval"), setting));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1")));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchSourcePath"), rig.folder("source")));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchErrorlogPath"), rig.folder("error")));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchSuccessPath"), rig.folder("success")));
        QCOMPARE(batch::loadBatchSettings(rig.context), timer2);
        QCOMPARE(rig.context.state.batch.BatchIntervalMs, intervalMs);
        QCOMPARE(rig.context.state.batch.SuccessFolder, rig.folder("success"));
        rig.timer2.setInterval(timer2);

        int passes = 0;
        rig.uploader = [](const QString&) { return false; };
        rig.mode->start();
        QCOMPARE(rig.batchWindow.countdown, countdownAtStart);
        writeFile(rig.folder("source") + QStringLiteral("/a.csv"), "x");
        rig.mode->scanTick();
        rig.mode->scanTick();
        for (int tick = 1; tick <= ticksToFirstPass; ++tick) {
            rig.batchWindow.markers.clear();
            rig.mode->passTick();
            passes = rig.batchWindow.markers.contains(QStringLiteral("T2IST")) ? passes + 1 : passes;
            QCOMPARE(passes, tick == ticksToFirstPass ? 1 : 0);
        }
        rig.mode->stop();
    }

    void countdownText_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("due now") << 0 << "0:00:00";
        QTest::newRow("two and a half minutes") << 150 << "0:02:30";
        QTest::newRow("over an hour") << 3723 << "1:02:03";
        QTest::newRow("past due counts the same") << -9 << "0:00:09";
        QTest::newRow("a day and more shows the last day's hours") << 86400 + 60 << "0:01:00";
    }
    void countdownText()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(batch::countdownText(March5.addSecs(seconds), March5), text);
    }

    void batchModeEnabledIsANumber()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("2")));
        batch::loadBatchSettings(rig.context);
        QCOMPARE(rig.context.state.batch.BatchModeEnabled, 2);
        QVERIFY(batch::batchControlsEnabled(rig.context)); // offered: not 0
        rig.setFolders(rig.folder("source"), rig.folder("success"), rig.folder("error"));
        rig.mode->start(); // but not started: not exactly 1
        QVERIFY(!rig.context.state.batch.BatchRunning);
        QVERIFY(rig.batchWindow.countdownVisible);
        QVERIFY(!rig.timer2.enabled());
        QCOMPARE(rig.batchWindow.startCaption, QStringLiteral("&Start"));
        QVERIFY(settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("0")));
        batch::loadBatchSettings(rig.context);
        QVERIFY(!batch::batchControlsEnabled(rig.context));
    }

    // ---- Start and Stop

    void startWithMissingFolders_data()
    {
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("error and source missing: error first")
            << QStringList{"error", "source"}
            << QStringList{"Quillar: %1/error Error file destination path not defined or invalid ",
                           "Quillar: %1/source Source file path not defined or invalid "};
        QTest::newRow("all three, in order")
            << QStringList{"success", "error", "source"}
            << QStringList{
                   "Quillar: %1/error Error file destination path not defined or invalid ",
                   "Quillar: %1/success Successful Upload destination file path not defined or invalid ",
                   "Quillar: %1/source Source file path not defined or invalid "};
    }
    void startWithMissingFolders()
    {
        QFETCH(QStringList, missing);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        for (const QString& name : missing)
            QVERIFY(QDir(rig.folder(qPrintable(name))).removeRecursively());
        rig.context.state.batch.BatchErrors.push_back(QStringLiteral("old"));
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        for (QString& m : messages)
            m = m.arg(dir.path());
        QCOMPARE(shownBoxes(boxes.service()), messages);
        for (const auto& box : boxes.service().shown())
            QCOMPARE(box.icon(), int(forms::Critical));
        QVERIFY(!rig.context.state.batch.BatchRunning);
        QVERIFY(!rig.timer1.enabled() && !rig.timer2.enabled() && !rig.timer3.enabled());
        QCOMPARE(rig.batchWindow.statusPanel1, QString());
        QCOMPARE(rig.context.state.batch.BatchErrorCount(), 0);
        QCOMPARE(rig.batchWindow.markers, QStringList());
    }

    void startAndStop()
    {
        ScopedClock clock(March5);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        rig.mode->start();
        auto& w = rig.batchWindow;
        QVERIFY(rig.context.state.batch.BatchRunning);
        QVERIFY(rig.timer1.enabled() && rig.timer2.enabled() && rig.timer3.enabled());
        QCOMPARE(w.startCaption, QStringLiteral("&Running"));
        QVERIFY(w.startBold && w.label1Visible && w.countdownVisible && !w.settingsMenu);
        QCOMPARE(w.markers, (QStringList{"MainSST", "MainSSTC"}));
        QVERIFY(!rig.window.mnuFilenew && !rig.window.mnuFileStartImport);
        QCOMPARE(rig.window.toolbarEnabled.value(1, true), false);
        QCOMPARE(rig.window.toolbarEnabled.value(6, true), false);
        QCOMPARE(rig.window.status, QString()); // ResetImportStatus

        // A click while running only empties the panel, the error list and tests the folders.
        w.markers.clear();
        w.statusPanel1 = QStringLiteral("x");
        rig.mode->start();
        QCOMPARE(w.statusPanel1, QString());
        QCOMPARE(w.markers, QStringList());

        writeFile(rig.folder("source") + QStringLiteral("/a.csv"), "x");
        rig.mode->scanTick();
        QCOMPARE(rig.list.rows.size(), size_t(1));
        QVERIFY(rig.mode->stop());
        QVERIFY(!rig.context.state.batch.BatchRunning);
        QVERIFY(!rig.timer1.enabled() && !rig.timer2.enabled() && !rig.timer3.enabled());
        QCOMPARE(w.startCaption, QStringLiteral("&Start"));
        QVERIFY(!w.startBold && !w.label1Visible && !w.countdownVisible);
        QVERIFY(!w.settingsMenu); // stays disabled; toolbar button 5 opens the settings
        QVERIFY(rig.window.toolbarEnabled.value(5) && rig.window.toolbarEnabled.value(1) &&
                rig.window.toolbarEnabled.value(6));
        QVERIFY(rig.window.mnuFilenew);
        QVERIFY(!rig.window.mnuFileStartImport);
        QVERIFY(rig.mode->queue().isEmpty());
        QVERIFY(rig.list.rows.empty());
    }

    void passMarkersAndCountdown()
    {
        ScopedClock clock(March5);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        rig.context.state.batch.BatchIntervalMs = 150000;
        rig.mode->start();
        clock.advance(30);
        rig.mode->countdownTick();
        QCOMPARE(rig.batchWindow.countdown, QStringLiteral("0:02:00"));
        QCOMPARE(rig.batchWindow.markers.last(), QStringLiteral("T3Cap"));
        QVERIFY(!rig.window.mnuFilenew);
        rig.batchWindow.markers.clear();
        rig.mode->passTick();
        rig.mode->passTick();
        QCOMPARE(rig.batchWindow.markers, (QStringList{"T2LI", "T2LI"}));
        rig.batchWindow.markers.clear();
        rig.mode->passTick();
        QCOMPARE(rig.batchWindow.markers, (QStringList{"T2LI", "T2IST", "T2ISTC", "T2LI0", "T2XE", "T2ST"}));
        QCOMPARE(rig.mode->elapsedMs(), int64_t(0));
        QVERIFY(rig.timer3.enabled());
        QCOMPARE(rig.mode->nextBatchTime(), March5.addSecs(30 + 150));
    }

    // ---- the pass rules, with an upload that only records

    void passRules()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        const QString source = rig.folder("source");
        for (const char* name : {"a.csv", "b.csv", "c.csv"})
            writeFile(source + QLatin1Char('/') + QLatin1String(name), name);
        QStringList attempts;
        rig.uploader = [&](const QString& name) {
            attempts << name;
            rig.mode->scanTick();               // a scan during the pass queues nothing twice
            if (name == QLatin1String("a.csv")) // a is filed, c stays unfiled
                QFile::rename(source + QStringLiteral("/a.csv"),
                              rig.folder("success") + QStringLiteral("/a.csv"));
            return name == QLatin1String("a.csv");
        };
        rig.mode->start();
        rig.mode->scanTick();
        QCOMPARE(rig.mode->queue(), (QStringList{"a.csv", "b.csv", "c.csv"}));
        rig.mode->scanTick();
        QFile::remove(source + QStringLiteral("/b.csv")); // vanishes before its turn
        rig.mode->passTick();
        QCOMPARE(attempts, (QStringList{"a.csv", "c.csv"}));
        QCOMPARE(rig.mode->queue(), QStringList{"c.csv"});
        QCOMPARE(rig.window.status, QStringLiteral("Import Successfull!"));
        rig.mode->passTick();
        QCOMPARE(attempts, (QStringList{"a.csv", "c.csv", "c.csv"})); // once in each pass
    }

    // A Stop clicked while a file is imported (the upload lets window events run)
    // ends the pass after that file: the other files stay queued no more.
    void stopMidPass()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        for (const char* name : {"a.csv", "b.csv", "c.csv"})
            writeFile(rig.folder("source") + QLatin1Char('/') + QLatin1String(name), name);
        QStringList attempts;
        bool stoppedAtOnce = true, runningDuringTheFile = false;
        int stopped = 0;
        rig.uploader = [&](const QString& name) {
            attempts << name;
            stoppedAtOnce = rig.mode->stop();
            runningDuringTheFile = rig.context.state.batch.BatchRunning; // it ends as a batch import
            return false;
        };
        rig.mode->stopped = [&] { ++stopped; };
        rig.mode->start();
        rig.scanTwiceAndPass();
        QVERIFY(!stoppedAtOnce);
        QVERIFY(runningDuringTheFile);
        QCOMPARE(stopped, 1);
        QCOMPARE(attempts, QStringList{"a.csv"});
        QVERIFY(rig.mode->queue().isEmpty());
        QVERIFY(!rig.context.state.batch.BatchRunning);
        QVERIFY(!rig.timer1.enabled() && !rig.timer2.enabled() && !rig.timer3.enabled());
        QVERIFY(rig.list.rows.empty());
        QVERIFY(rig.mode->stop()); // stopped already: at once
    }

    // A file still being written is taken only once two scans agree on it.
    void halfWrittenFileWaits()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        const QString file = rig.folder("source") + QStringLiteral("/a.csv");
        QStringList attempts;
        rig.uploader = [&](const QString& name) {
            attempts << name;
            return false;
        };
        rig.mode->start();
        writeFile(file, "I,ALD01");
        rig.mode->scanTick();
        rig.mode->passTick();                  // seen once
        writeFile(file, "I,ALD01,01/11/2026"); // still growing
        rig.mode->scanTick();
        rig.mode->passTick();
        QCOMPARE(attempts, QStringList());
        rig.mode->scanTick(); // the same as the scan before
        QFile f(file);        // but written again before the pass
        QVERIFY(f.open(QIODevice::Append));
        f.write(",BOLT");
        f.close();
        rig.mode->passTick();
        QCOMPARE(attempts, QStringList());
        rig.mode->scanTick();
        rig.mode->scanTick();
        rig.mode->passTick();
        QCOMPARE(attempts, QStringList{"a.csv"});
    }

    void sourceFolderComparedAsTheSameFolder_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("upperCase");
        QTest::newRow("as the file system spells it") << "" << false;
        QTest::newRow("with a trailing /") << "/" << false;
        QTest::newRow("with a trailing \\") << "\\" << false;
        QTest::newRow("in capitals") << "" << true;
    }
    void sourceFolderComparedAsTheSameFolder()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, upperCase);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        writeFile(rig.folder("source") + QStringLiteral("/a.csv"), "x");
        QString setting = rig.folder("source");
        if (upperCase)
            setting = setting.left(setting.size() - 6) + QStringLiteral("SOURCE");
        rig.context.state.batch.SourceFolder = setting + suffix;
        QStringList attempts;
        rig.uploader = [&](const QString& name) {
            attempts << name;
            return false;
        };
        rig.mode->start();
        rig.scanTwiceAndPass();
        QCOMPARE(attempts, QStringList{"a.csv"});
        QCOMPARE(rig.list.rows.size(), size_t(1));
        QCOMPARE(rig.list.rows[0].state, QStringLiteral("Pending"));
    }

    // ---- whole uploads into the package stand-in

    void goodAndFailingFiles()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        writeFile(rig.folder("source") + QStringLiteral("/good.csv"), BatchCompany::importFile(2, 2));
        writeFile(rig.folder("source") + QStringLiteral("/bad.csv"), "I,NOBODY,01/11/2026,BOLT,1,1.00\r\n");
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(filesOf(rig.folder("success")), QStringList{"good202612102.csv"});
        QCOMPARE(filesOf(rig.folder("error")),
                 (QStringList{"bad202612101.csv", "bad202612101_ERRORLOG.CSV"}));
        const QByteArray errorFile =
            readFile(rig.folder("error") + QStringLiteral("/bad202612101_ERRORLOG.CSV"));
        QVERIFY2(errorFile.startsWith("\"Error Description 10/12/2026\"\r\n\""), errorFile.constData());
        QVERIFY2(
            errorFile.endsWith("\"Unable to import the invoice file as the file has failed validation\"\r\n"),
            errorFile.constData());
        QCOMPARE(BatchCompany::posted(f->company).size(), 2);
        QCOMPARE(rig.context.state.batch.FilingCounter, int16_t(2));
        rig.mode->scanTick();
        QCOMPARE(rig.list.rows.size(), size_t(2));
        QCOMPARE(rig.list.rows[0].state, QStringLiteral("Loaded"));
        QCOMPARE(rig.list.rows[1].state, QStringLiteral("Error(s) Found"));
        // Nothing is left open: reopened, the journal keeps nothing.
        batch::BatchJournal reopened(rig.journal->path());
        QVERIFY(readFile(rig.journal->path()).isEmpty());
    }

    void loginFailsOrNoDataPath_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("dataPath");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("wrong password: silently left") << "wrong"
                                                       << "-" << QStringList();
        QTest::newRow("empty data path: the message each pass")
            << "secret"
            << ""
            << QStringList{
                   "Vorlen Data Connection Error: Not a valid Vorlen Data Path or empty....Quillar Vorlen "
                   "Import will not import data to Vorlen. Please enter the Vorlen Data Path and company "
                   "name in the Quillar Vorlen Import Settings"};
    }
    void loginFailsOrNoDataPath()
    {
        QFETCH(QString, password);
        QFETCH(QString, dataPath);
        QFETCH(QStringList, boxes);
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        rig.form.password = password;
        if (dataPath != QLatin1String("-"))
            QVERIFY(settings::writeSetting(QStringLiteral("VorlenDataPath"), dataPath));
        writeFile(rig.folder("source") + QStringLiteral("/good.csv"), BatchCompany::importFile(1, 1));
        forms::ScopedScriptedMessages shown;
        rig.mode->start();
        rig.scanTwiceAndPass();
        rig.mode->passTick();
        QCOMPARE(filesOf(rig.folder("source")), QStringList{"good.csv"});
        QCOMPARE(rig.mode->queue(), QStringList{"good.csv"});
        QStringList twice = boxes + boxes;
        QCOMPARE(shownBoxes(shown.service()), twice);
        QCOMPARE(BatchCompany::posted(f->company).size(), 0);
    }

    // Each error file holds its own file's errors, not those an earlier file left
    // in the list (a vanished file, a run-time error, a failed write).
    void errorFileHoldsOnlyItsOwnErrors()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        writeFile(rig.folder("source") + QStringLiteral("/bad.csv"), "I,NOBODY,01/11/2026,BOLT,1,1.00\r\n");
        rig.mode->start();
        rig.context.state.batch.BatchErrors.push_back(QStringLiteral("left over from another file"));
        rig.scanTwiceAndPass();
        const QByteArray errorFile =
            readFile(rig.folder("error") + QStringLiteral("/bad202612101_ERRORLOG.CSV"));
        QVERIFY2(!errorFile.contains("left over"), errorFile.constData());
        QVERIFY2(errorFile.contains("failed validation"), errorFile.constData());
    }

    // A Stop (or a close) while a file is imported waits for that file: its import
    // ends as a batch import, asks nothing and files the file as imported.
    void stopDuringAFileTakesEffectAfterIt()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        writeFile(rig.folder("source") + QStringLiteral("/a.csv"), BatchCompany::importFile(1, 2));
        writeFile(rig.folder("source") + QStringLiteral("/b.csv"), BatchCompany::importFile(1, 2, 5));
        bool stoppedNow = true;
        int stoppedCalls = 0;
        rig.mode->stopped = [&] { ++stoppedCalls; };
        rig.pump = [&] {
            if (rig.context.state.batch.CurrentFilePath.isEmpty() && rig.context.state.batch.BatchRunning &&
                stoppedCalls == 0 && rig.mode->fileInProgress())
                stoppedNow = rig.mode->stop();
        };
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        QVERIFY(!stoppedNow);
        QCOMPARE(stoppedCalls, 1);
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(filesOf(rig.folder("success")), QStringList{"a202612101.csv"});
        QCOMPARE(filesOf(rig.folder("error")), QStringList());
        QCOMPARE(filesOf(rig.folder("source")), QStringList{"b.csv"}); // the pass ended after a
        QCOMPARE(BatchCompany::posted(f->company).size(), 1);
        QVERIFY(!rig.context.state.batch.BatchRunning);
        QVERIFY(!rig.timer1.enabled() && !rig.timer2.enabled() && !rig.timer3.enabled());
        QCOMPARE(rig.batchWindow.startCaption, QStringLiteral("&Start"));
    }

    // A file imported whose move fails stays in the source folder; the next pass
    // does not post it again but files it as interrupted, naming its documents.
    void moveThatFailsPostsNothingTwice()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        const QString errorLog = logIntoProgramFolder(*f);
        writeFile(rig.folder("source") + QStringLiteral("/a.csv"), BatchCompany::importFile(2, 2));
        rig.files.beforeMove = [](const QString&, const QString&) {
            throw basic::RuntimeError(basic::err::PathFileAccessError,
                                      QStringLiteral("Path/File access error"));
        };
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList{"Quillar: Path/File access error"});
        QCOMPARE(readFile(errorLog),
                 QByteArray("\"Path/File access error -75--While Upload StartBatchUpload-a.csv\"\r\n"));
        QCOMPARE(filesOf(rig.folder("source")), QStringList{"a.csv"});
        const QJsonArray posted = BatchCompany::posted(f->company);
        QCOMPARE(posted.size(), 2);

        rig.files.beforeMove = nullptr;
        rig.mode->passTick();
        QCOMPARE(BatchCompany::posted(f->company).size(), 2);
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(filesOf(rig.folder("error")), (QStringList{"a202612102.csv", "a202612102_ERRORLOG.CSV"}));
        const int first = posted.at(0).toObject().value(QStringLiteral("INVOICE_NUMBER")).toInt();
        QCOMPARE(
            readFile(rig.folder("error") + QStringLiteral("/a202612102_ERRORLOG.CSV")),
            QStringLiteral("\"Error Description 10/12/2026\"\r\n"
                           "\"The import of this file was interrupted before the file was filed; it was not "
                           "imported again\"\r\n"
                           "\"Already posted: Invoice No %1\"\r\n\"Already posted: Invoice No %2\"\r\n")
                .arg(first)
                .arg(first + 1)
                .toLatin1());
        batch::BatchJournal reopened(rig.journal->path());
        QVERIFY(readFile(rig.journal->path()).isEmpty());
    }

    // A failing file whose move failed keeps its errors: once it can be filed, its
    // error file has them beside the note of the interruption.
    void failingFileWhoseMoveFailedKeepsItsErrors()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        logIntoProgramFolder(*f);
        writeFile(rig.folder("source") + QStringLiteral("/bad.csv"), "I,NOBODY,01/11/2026,BOLT,1,1.00\r\n");
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        QVERIFY(QDir(rig.folder("error")).removeRecursively());
        rig.scanTwiceAndPass();
        QCOMPARE(filesOf(rig.folder("source")), QStringList{"bad.csv"});

        QVERIFY(QDir().mkpath(rig.folder("error")));
        rig.mode->passTick();
        QCOMPARE(filesOf(rig.folder("error")),
                 (QStringList{"bad202612102.csv", "bad202612102_ERRORLOG.CSV"}));
        const QStringList lines =
            QString::fromLatin1(readFile(rig.folder("error") + QStringLiteral("/bad202612102_ERRORLOG.CSV")))
                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1],
                 QStringLiteral("\"The import of this file was interrupted before the file was filed; "
                                "it was not imported again\""));
        QCOMPARE(lines[2], QStringLiteral("\"No document of this file was recorded as posted\""));
        QVERIFY2(lines[3].startsWith(QStringLiteral("\"Account No NOBODY does not exist")),
                 qPrintable(lines[3]));
        QCOMPARE(lines[4],
                 QStringLiteral("\"Unable to import the invoice file as the file has failed validation\""));
        QCOMPARE(BatchCompany::posted(f->company).size(), 0);
    }

    // A file that may not be read goes the way of one the import cannot open: it
    // fails and is filed with its error file. One that cannot be moved either is
    // written to the error log once and left, without a box.
    void unreadableFile_data()
    {
        QTest::addColumn<bool>("movable");
        QTest::newRow("filed as failed") << true;
        QTest::newRow("that cannot be moved either") << false;
    }
    void unreadableFile()
    {
        QFETCH(bool, movable);
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        const QString errorLog = logIntoProgramFolder(*f);
        const QString path = rig.folder("source") + QStringLiteral("/locked.csv");
        writeFile(path, BatchCompany::importFile(1, 2));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        FileModesHonoured modes;
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("a file of mode 000 can be read here");
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        if (!movable)
            QVERIFY(QDir(rig.folder("error")).removeRecursively());
        rig.scanTwiceAndPass();
        rig.mode->passTick();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(BatchCompany::posted(f->company).size(), 0);
        const QByteArray log = readFile(errorLog);
        if (!movable) {
            QCOMPARE(filesOf(rig.folder("source")), QStringList{"locked.csv"});
            QCOMPARE(log.count("\r\n"), 1);
            QVERIFY2(log.contains("--While Upload StartBatchUpload-locked.csv"), log.constData());
            return;
        }
        QCOMPARE(log, QByteArray("<missing>"));
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(filesOf(rig.folder("error")),
                 (QStringList{"locked202612101.csv", "locked202612101_ERRORLOG.CSV"}));
        const QByteArray errorFile =
            readFile(rig.folder("error") + QStringLiteral("/locked202612101_ERRORLOG.CSV"));
        QVERIFY2(errorFile.contains("error number 75"), errorFile.constData());
    }

    // An unfinished import is the file at its path whatever its bytes are now; one
    // that went away is only its own bytes coming back. Every record survives
    // the rewrite of a reopening.
    void journalKnowsAFileByItsPath()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("batch.journal"));
        {
            batch::BatchJournal journal(path);
            journal.begin(QStringLiteral("/src/a.csv|h1"), QStringLiteral("/src/a.csv"));
            journal.planned(QStringLiteral("/src/a.csv|h1"),
                            {{1, 2, QStringLiteral("ALD01")}, {3, 5, QStringLiteral("B\tR")}});
            journal.done(QStringLiteral("/src/a.csv|h1"), QStringLiteral("Invoice No 4"));
            journal.errors(QStringLiteral("/src/a.csv|h1"), {QStringLiteral("an error  row 1 Column 2")});
            journal.moving(QStringLiteral("/src/a.csv|h1"), QStringLiteral("/err/a1.csv"), true);
            journal.begin(QStringLiteral("/src/v.csv|h3"), QStringLiteral("/src/v.csv"));
            journal.done(QStringLiteral("/src/v.csv|h3"), QStringLiteral("Invoice No 5"));
            journal.vanished(QStringLiteral("/src/v.csv|h3"));
        }
        batch::BatchJournal journal(path);
        const auto grown = journal.unfinished(QStringLiteral("/src/a.csv|h2"));
        QVERIFY(grown);
        QVERIFY(grown->changed);
        QCOMPARE(grown->identity, QStringLiteral("/src/a.csv|h1"));
        QCOMPARE(grown->planned.size(), size_t(2));
        QCOMPARE(grown->planned[1].lastRow, 5);
        QCOMPARE(grown->planned[1].account, QStringLiteral("B\tR"));
        QCOMPARE(grown->outcomes, QStringList{"Invoice No 4"});
        QCOMPARE(grown->errors, QStringList{"an error  row 1 Column 2"});
        QCOMPARE(grown->target, QStringLiteral("/err/a1.csv"));
        QVERIFY(grown->failing);
        QVERIFY(!journal.unfinished(QStringLiteral("/src/a.csv|h1"))->changed);
        QVERIFY(journal.unfinished(QStringLiteral("/src/v.csv|h3")));
        QVERIFY(!journal.unfinished(QStringLiteral("/src/v.csv|h4")));
        QVERIFY(!journal.unfinished(QStringLiteral("/src/b.csv|h1")));
        QCOMPARE(journal.moving().size(), size_t(1));
    }

    void journalSurvivesReopeningAndTornLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cfg/batch.journal"));
        {
            batch::BatchJournal journal(path);
            journal.begin(QStringLiteral("id1"), QStringLiteral("/src/a.csv"));
            journal.done(QStringLiteral("id1"), QStringLiteral("Invoice No 7"));
            journal.begin(QStringLiteral("id2"), QStringLiteral("/src/b\tc.csv"));
            journal.filed(QStringLiteral("id2"), QStringLiteral("/ok/b.csv"));
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("posted\tid1\tInvoice No 8"); // cut short by a crash: no line end
        f.close();
        batch::BatchJournal again(path);
        const auto open = again.unfinished(QStringLiteral("id1"));
        QVERIFY(open);
        QCOMPARE(open->source, QStringLiteral("/src/a.csv"));
        QCOMPARE(open->posted(), QStringList{"Invoice No 7"});
        QVERIFY(!again.unfinished(QStringLiteral("id2")));
        // Reopening kept only what is unfinished.
        QCOMPARE(readFile(path), QByteArray("begin\tid1\t%2Fsrc%2Fa.csv\nposted\tid1\tInvoice%20No%207\n"));
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
