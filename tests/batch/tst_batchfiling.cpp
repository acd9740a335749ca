// Batch mode against files that try to trick it: symbolic links, a writer that
// still holds the file, filing folders inside the source folder, names that
// differ only in case, hold "\" or are too long to file, a move into a folder
// that is gone, planted links where an error file or the error log goes, and a
// scan that must not grow with the error folder.
#include "tests/batch/BatchRig.h"

#include "app/mainwindow/batch/ErrorFiles.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace batchtest;

namespace {

const QDateTime March5 = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));

QStringList errorLogLines(const QString& programFolder)
{
    const QByteArray bytes = readFile(programFolder + QStringLiteral("/ErrorLOG/Errorlog.log"));
    if (bytes == "<missing>")
        return {};
    return QString::fromLatin1(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

bool link(const QString& target, const QString& at)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0;
}

// Counts what a scan asks of the file system.
struct CountingFileSystem : batch::RealFileSystem
{
    std::map<QString, int> listed;
    int lookups = 0;
    shell::FolderListing listFolder(const QString& folder) override
    {
        ++listed[folder];
        return batch::RealFileSystem::listFolder(folder);
    }
    shell::FolderReading readFolder(const QString& folder) override
    {
        ++listed[folder];
        return batch::RealFileSystem::readFolder(folder);
    }
    bool fileExists(const QString& path) override
    {
        ++lookups;
        return batch::RealFileSystem::fileExists(path);
    }
    std::optional<shell::FileEntry> fileEntry(const QString& path) override
    {
        ++lookups;
        return batch::RealFileSystem::fileEntry(path);
    }
};

} // namespace

class TestBatchFiling : public QObject
{
    Q_OBJECT

    QString m_engineProblem;

    // The shared fixture, with the error log in the program folder's "ErrorLOG".
    struct Fixture
    {
        std::unique_ptr<BatchFixture> shared = BatchFixture::make();
        QTemporaryDir& dir = shared->dir;
        QString& company = shared->company;
        BatchRig* rig = shared->rig.get();
        QString program = dir.filePath(QStringLiteral("program"));
        QString source(const QString& name) const { return rig->folder("source") + QLatin1Char('/') + name; }
    };
    std::unique_ptr<Fixture> fixture()
    {
        auto f = std::make_unique<Fixture>();
        QDir(f->dir.path()).mkpath(QStringLiteral("program/ErrorLOG"));
        f->rig->context.programFolder = f->program;
        return f;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerEngine(m_engineProblem);
        QCOMPARE(QProcess::execute(QStringLiteral(REGSVR_PATH),
                                   {QStringLiteral("/s"), QStringLiteral(KEELBOX_PATH)}),
                 0);
        registry::deleteKey(registry::Hive::CurrentUser, QLatin1String(keelbox::ConfigKeyPath));
    }

    // ---- symbolic links

    void linksAreNeverFollowed_data()
    {
        QTest::addColumn<QString>("target"); // what a.csv (and b.csv) point to
        QTest::addColumn<int>("links");
        QTest::newRow("a link to a file beside it is not posted again") << "z.csv" << 1;
        QTest::newRow("a link to a file outside is not posted") << "outside" << 1;
        QTest::newRow("two links to one file post nothing") << "outside" << 2;
        QTest::newRow("a link to a folder") << "folder" << 1;
        QTest::newRow("a dangling link") << "nowhere" << 1;
    }
    void linksAreNeverFollowed()
    {
        QFETCH(QString, target);
        QFETCH(int, links);
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        const QString outside = f->dir.filePath(QStringLiteral("outside.csv"));
        const QByteArray outsideBytes = BatchCompany::importFile(2, 1, 7);
        writeFile(outside, outsideBytes);
        QDir(f->dir.path()).mkdir(QStringLiteral("folder"));
        writeFile(f->source(QStringLiteral("z.csv")), BatchCompany::importFile(1, 2));
        const QString pointed = target == QLatin1String("z.csv")     ? f->source(QStringLiteral("z.csv"))
                                : target == QLatin1String("outside") ? outside
                                                                     : f->dir.filePath(target);
        QStringList names{QStringLiteral("a.csv"), QStringLiteral("b.csv")};
        names = names.mid(0, links);
        for (const QString& name : names)
            QVERIFY(link(pointed, f->source(name)));

        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(BatchCompany::posted(f->company).size(), 1); // z.csv's one document, once
        QCOMPARE(filesOf(rig.folder("success")), QStringList{"z202612101.csv"});
        QCOMPARE(filesOf(rig.folder("error")), QStringList());
        for (const QString& name : names) {
            QVERIFY2(QFileInfo(f->source(name)).isSymLink(), qPrintable(name)); // nothing moved
            QCOMPARE(QFileInfo(f->source(name)).symLinkTarget(), QFileInfo(pointed).absoluteFilePath());
        }
        QCOMPARE(readFile(outside), outsideBytes);
        for (const batch::StatusRow& row : rig.list.rows)
            QVERIFY2(row.state != QLatin1String("Pending"), qPrintable(row.path));
        QStringList expected;
        for (const QString& name : names)
            expected << QStringLiteral("\"Symbolic link refused, not imported: %1\"").arg(f->source(name));
        QCOMPARE(errorLogLines(f->program), expected); // once, however many passes
    }

    // A link put in the file's place after the scans found it steady is refused
    // when the file is taken, and one put there after it was taken is not read.
    void linkSwappedInAfterTheCheckIsRefused_data()
    {
        QTest::addColumn<bool>("taken");
        QTest::newRow("after the scans") << false;
        QTest::newRow("after the file was taken, before the import reads it") << true;
    }
    void linkSwappedInAfterTheCheckIsRefused()
    {
        QFETCH(bool, taken);
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        const QString file = f->source(QStringLiteral("a.csv"));
        const QString outside = f->dir.filePath(QStringLiteral("outside.csv"));
        writeFile(file, BatchCompany::importFile(1, 1));
        writeFile(outside, BatchCompany::importFile(2, 1, 7));
        bool swap = false;
        const auto swapIn = [&] {
            swap = false;
            QFile::remove(file);
            QVERIFY(link(outside, file));
        };
        rig.files.afterFileEntry = [&](const QString& path) {
            if (swap && !taken && path == file)
                swapIn();
        };
        rig.pump = [&] { // the upload lets window events run once before the import
            if (swap && taken)
                swapIn();
        };
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.mode->scanTick();
        rig.mode->scanTick();
        swap = true;
        rig.mode->passTick();
        rig.scanTwiceAndPass();
        QCOMPARE(BatchCompany::posted(f->company).size(), 0);
        QVERIFY(QFileInfo(file).isSymLink());
        QCOMPARE(filesOf(rig.folder("success")) + filesOf(rig.folder("error")), QStringList());
        QCOMPARE(errorLogLines(f->program),
                 QStringList{QStringLiteral("\"Symbolic link refused, not imported: %1\"").arg(file)});
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
    }

    // ---- the filing folders

    void startRefusesFilingIntoTheSource_data()
    {
        QTest::addColumn<QString>("success"); // relative to the work folder
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("boxes"); // "%S" the source, "%U" success, "%E" error
        const QString error = QStringLiteral(
            "Quillar: %E Error file destination path is the Source file path or lies inside it: %S ");
        const QString success = QStringLiteral("Quillar: %U Successful Upload destination file path is the "
                                               "Source file path or lies inside it: %S ");
        QTest::newRow("success folder is the source") << "source"
                                                      << "error" << QStringList{success};
        QTest::newRow("error folder is the source, spelled otherwise") << "success"
                                                                       << "SOURCE/" << QStringList{error};
        QTest::newRow("both inside the source") << "source/ok"
                                                << "source/failed" << QStringList{error, success};
        QTest::newRow("beside it: started") << "success"
                                            << "error" << QStringList();
    }
    void startRefusesFilingIntoTheSource()
    {
        QFETCH(QString, success);
        QFETCH(QString, error);
        QFETCH(QStringList, boxes);
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        QDir(dir.path()).mkpath(QStringLiteral("source/ok"));
        QDir(dir.path()).mkpath(QStringLiteral("source/failed"));
        const QString s = rig.folder("source"), u = dir.filePath(success), e = dir.filePath(error);
        rig.setFolders(s, u, e);
        forms::ScopedScriptedMessages shown;
        rig.mode->start();
        QStringList expected;
        for (const QString& box : boxes)
            expected << QString(box)
                            .replace(QLatin1String("%S"), s)
                            .replace(QLatin1String("%U"), u)
                            .replace(QLatin1String("%E"), e);
        QCOMPARE(shownBoxes(shown.service()), expected);
        QCOMPARE(rig.context.state.batch.BatchRunning, boxes.isEmpty());
        QCOMPARE(rig.timer1.enabled(), boxes.isEmpty());
        QCOMPARE(rig.batchWindow.startCaption,
                 boxes.isEmpty() ? QStringLiteral("&Running") : QStringLiteral("&Start"));
    }

    // ---- a writer that pauses

    void fileStillOpenForWritingWaits()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        const QString file = rig.folder("source") + QStringLiteral("/a.csv");
        QFile writer(file);
        QVERIFY(writer.open(QIODevice::WriteOnly));
        writer.write("I,ALD01,01/11/2026,BOLT,1,1.00\r\n");
        writer.flush(); // and then it pauses, longer than two scans
        QStringList attempts;
        int writerKeptOut = 0;
        rig.uploader = [&](const QString& name) {
            attempts << name;
            // While the file is being dealt with a new writer has to wait.
            const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0 && errno == EWOULDBLOCK)
                ++writerKeptOut;
            if (fd >= 0)
                ::close(fd);
            return false;
        };
        rig.mode->start();
        rig.scanTwiceAndPass();
        rig.scanTwiceAndPass();
        QCOMPARE(attempts, QStringList());
        QCOMPARE(rig.mode->queue(), QStringList{"a.csv"});
        writer.close();
        rig.scanTwiceAndPass();
        QCOMPARE(attempts, QStringList{"a.csv"});
        QCOMPARE(writerKeptOut, 1);
        // Given up after the file: a writer may open it again.
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        ::close(fd);
    }

    // ---- names

    void namesThatDifferOnlyInCase()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        writeFile(f->source(QStringLiteral("A.csv")), BatchCompany::importFile(1, 1));
        writeFile(f->source(QStringLiteral("a.csv")), BatchCompany::importFile(1, 2, 5));
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        for (int pass = 0; pass < 3; ++pass)
            rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(filesOf(rig.folder("success")), (QStringList{"A202612101.csv", "a202612102.csv"}));
        QCOMPARE(BatchCompany::posted(f->company).size(), 2);
    }

    void nameWithABackslash()
    {
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        writeFile(f->source(QStringLiteral("north\\orders.csv")), BatchCompany::importFile(1, 1));
        writeFile(f->source(QStringLiteral("south\\bad.csv")), "I,NOBODY,01/11/2026,BOLT,1,1.00\r\n");
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(filesOf(rig.folder("success")), QStringList{"north\\orders202612101.csv"});
        QCOMPARE(filesOf(rig.folder("error")),
                 (QStringList{"south\\bad202612102.csv", "south\\bad202612102_ERRORLOG.CSV"}));
        QCOMPARE(BatchCompany::posted(f->company).size(), 1);
        rig.mode->scanTick();
        QCOMPARE(rig.list.rows.size(), size_t(2));
        QCOMPARE(rig.list.rows[1].state, QStringLiteral("Error(s) Found"));
    }

    void longNames_data()
    {
        QTest::addColumn<int>("length"); // of the base name, in characters
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("good");
        QTest::addColumn<bool>("imported");
        QTest::newRow("250 characters, good: not posted, filed shortened") << 250 << "n" << true << false;
        QTest::newRow("240 characters, failing: filed shortened with its error file")
            << 240 << "n" << false << false;
        QTest::newRow("208 characters fit every name") << 208 << "n" << true << true;
        QTest::newRow("120 two-byte characters: cut to 208 bytes") << 120 << "\u00e9" << true << false;
        QTest::newRow("60 four-byte characters: cut at a whole one")
            << 60 << QString::fromUtf8("\xF0\x9F\x93\x84") << true << false;
    }
    void longNames()
    {
        QFETCH(int, length);
        QFETCH(QString, character);
        QFETCH(bool, good);
        QFETCH(bool, imported);
        NEEDS_ENGINE();
        auto f = fixture();
        BatchRig& rig = *f->rig;
        const QString base = character.repeated(length);
        writeFile(f->source(base + QStringLiteral(".csv")),
                  good ? BatchCompany::importFile(1, 1) : QByteArray("I,NOBODY,01/11/2026,BOLT,1,1.00\r\n"));
        forms::ScopedScriptedMessages boxes;
        rig.mode->start();
        rig.scanTwiceAndPass();
        rig.scanTwiceAndPass();
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(filesOf(rig.folder("source")), QStringList());
        QCOMPARE(BatchCompany::posted(f->company).size(), imported ? 1 : 0);
        const QString kept = character.repeated(208 / int(character.toUtf8().size()));
        if (imported) {
            QCOMPARE(filesOf(rig.folder("success")), QStringList{kept + QStringLiteral("202612101.csv")});
            return;
        }
        QCOMPARE(filesOf(rig.folder("success")), QStringList());
        QCOMPARE(filesOf(rig.folder("error")),
                 (QStringList{kept + QStringLiteral("202612101.csv"),
                              kept + QStringLiteral("202612101_ERRORLOG.CSV")}));
        const QByteArray errorFile = readFile(rig.folder("error") + QLatin1Char('/') + kept +
                                              QStringLiteral("202612101_ERRORLOG.CSV"));
        QCOMPARE(errorFile,
                 basic::toWindows1252(QStringLiteral("\"Error Description 10/12/2026\"\r\n"
                                                     "\"The file name is too long to be filed; the "
                                                     "file was not imported\"\r\n\"File name: %1.csv\"\r\n")
                                          .arg(base)));
    }

    // ---- moves and error files

    void failedMoveNamesTheMissingTarget()
    {
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("bad.csv"));
        const QString to = dir.filePath(QStringLiteral("gone/bad2024351.csv"));
        writeFile(from, "x");
        try {
            shell::moveFile(from, to);
            QFAIL("moved into a missing folder");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::PathNotFound);
            QCOMPARE(e.description(), QStringLiteral("No such file or directory: ") + to);
        }
        QCOMPARE(readFile(from), QByteArray("x"));
    }

    void errorFilesNeverFollowAPlantedLink_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("dangling link") << false;
        QTest::newRow("link to a file") << true;
    }
    void errorFilesNeverFollowAPlantedLink()
    {
        QFETCH(bool, targetExists);
        ScopedClock clock(March5);
        QTemporaryDir dir;
        FakeMainWindow window;
        FakeImportLog log;
        FakeErrorList errors;
        FakeSettingsForm form;
        importer::ImportContext context(window, log, errors, form);
        QDir(dir.path()).mkpath(QStringLiteral("error"));
        QDir(dir.path()).mkpath(QStringLiteral("elsewhere"));
        QDir(dir.path()).mkpath(QStringLiteral("program/ErrorLOG"));
        const QString errorFolder = dir.filePath(QStringLiteral("error"));
        const QString target = dir.filePath(QStringLiteral("elsewhere/target.txt"));
        if (targetExists)
            writeFile(target, "keep");
        const QString planted = errorFolder + QStringLiteral("/orders2024351_ERRORLOG.CSV");
        QVERIFY(link(target, planted));
        context.state.batch.ErrorFolder = errorFolder;
        context.state.batch.BatchErrors.push_back(QStringLiteral("Account not found  row 2 Column 2"));
        forms::ScopedScriptedMessages boxes;
        batch::WriteBatchErrorCsv(context, QStringLiteral("orders2024351.csv"), errorFolder);
        QCOMPARE(shownBoxes(boxes.service()), QStringList());
        QCOMPARE(readFile(target), targetExists ? QByteArray("keep") : QByteArray("<missing>"));
        QVERIFY(QFileInfo(planted).isSymLink());
        QCOMPARE(readFile(errorFolder + QStringLiteral("/orders2024351_ERRORLOG2024351479.CSV")),
                 QByteArray("\"Error Description 05/03/2024\"\r\n\"Account not found  row 2 Column 2\"\r\n"));

        // The error log: a planted link is refused, its target left alone.
        const QString program = dir.filePath(QStringLiteral("program"));
        QVERIFY(link(target, program + QStringLiteral("/ErrorLOG/Errorlog.log")));
        batch::KeptDoSecurity security;
        batch::WriteErrorLog(security, program, QStringLiteral("message"));
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Writing Error Log"));
        QCOMPARE(readFile(target), targetExists ? QByteArray("keep") : QByteArray("<missing>"));
    }

    // ---- the scan's cost

    // Each folder is read once a scan; companions are paired from that reading,
    // not looked up one by one (which lists the folder again on every miss).
    void scanReadsEachFolderOnce()
    {
        QTemporaryDir dir;
        BatchRig rig(dir.path(), dir.filePath(QStringLiteral("company")));
        for (int i = 0; i < 20; ++i) {
            const QString name = QStringLiteral("f%1").arg(i);
            writeFile(rig.folder("error") + QLatin1Char('/') + name + QStringLiteral(".csv"), "x");
            writeFile(rig.folder("error") + QLatin1Char('/') + name +
                          (i % 2 ? QStringLiteral("_ERRORLOG.CSV") : QStringLiteral("_RowsNotLoaded.CSV")),
                      "x");
            writeFile(rig.folder("success") + QLatin1Char('/') + name + QStringLiteral(".csv"), "x");
        }
        writeFile(rig.folder("source") + QStringLiteral("/new.csv"), "x");
        CountingFileSystem counting;
        batch::StatusRows list;
        batch::BatchMode mode(rig.context, rig.batchWindow,
                              batch::BatchTimers{rig.timer1, rig.timer2, rig.timer3}, counting, list,
                              [](const QString&) { return false; });
        mode.start();
        mode.scanTick();
        const auto& b = rig.context.state.batch;
        QCOMPARE(counting.listed,
                 (std::map<QString, int>{{b.SourceFolder, 1}, {b.SuccessFolder, 1}, {b.ErrorFolder, 1}}));
        QCOMPARE(counting.lookups, 0);
        QCOMPARE(list.rows.size(), size_t(41));
        QCOMPARE(list.rows[20].state, QStringLiteral("Partially Loaded")); // f0, companion in another case
        QCOMPARE(list.rows[20].path, b.ErrorFolder + QStringLiteral("/f0_RowsNotLoaded.CSV"));
        QCOMPARE(list.rows[21].state, QStringLiteral("Error(s) Found"));
        QCOMPARE(list.rows[40].state, QStringLiteral("Pending"));
    }
};

QTEST_GUILESS_MAIN(TestBatchFiling)
#include "tst_batchfiling.moc"
