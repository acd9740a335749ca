// Batch mode killed while it imports a file: inside the commit of one of its
// documents, just after a commit and before the import heard of it, after the
// import committed everything but before the file was moved, and after the move.
// The next run must not post the file's documents a second time, even when the
// file grew meanwhile: it files the file into the error folder, its error file
// naming every document that was or may have been posted.
#include "tests/batch/BatchRig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace batchtest;

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

struct ChildRun
{
    QProcess::ExitStatus status = QProcess::NormalExit;
    int code = -1;
    QString output;
    bool killed() const { return status == QProcess::CrashExit && code == SIGKILL; }
    bool succeeded() const { return status == QProcess::NormalExit && code == 0; }
};

int number(const QJsonValue& document)
{
    return document.toObject().value(QStringLiteral("INVOICE_NUMBER")).toInt();
}

QStringList errorFileLines(const QString& path)
{
    return QString::fromLatin1(readFile(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// Document d (from 0) of BatchCompany::importFile(n, 2): its rows and customer.
QString rowsOf(int d)
{
    static const char* const accounts[] = {"ALD01", "BIR02", "CED03"};
    return QStringLiteral("rows %1 to %2, Account Reference %3")
        .arg(2 * d + 1)
        .arg(2 * d + 2)
        .arg(QLatin1String(accounts[d % 3]));
}

// A fresh company and a work folder with its source folder.
struct Folders
{
    QTemporaryDir dir;
    QString company = dir.filePath(QStringLiteral("company"));
    QString work = dir.filePath(QStringLiteral("work"));
    Folders()
    {
        BatchCompany::create(company);
        QDir(work).mkpath(QStringLiteral("source"));
    }
};

} // namespace

class TestBatchCrash : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_problem;

    ChildRun runChild(const QString& work, const QString& company, const QString& faults,
                      const QString& kill = {})
    {
        QProcess child;
        child.setProcessEnvironment(childEnvironment(faults));
        QStringList arguments{work, company, m_dir.filePath(QStringLiteral("config"))};
        if (!kill.isEmpty())
            arguments << kill;
        child.start(BinDir + QStringLiteral("/batch_crash_child"), arguments);
        ChildRun run;
        if (!child.waitForFinished(120000)) {
            child.kill();
            child.waitForFinished();
            run.status = QProcess::CrashExit;
            run.output = QStringLiteral("the child did not finish");
            return run;
        }
        run.status = child.exitStatus();
        run.code = child.exitCode();
        run.output = QString::fromLocal8Bit(child.readAllStandardOutput() + child.readAllStandardError());
        return run;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (!registerEngine(m_problem))
            QSKIP(qPrintable(m_problem));
        BatchCompany::writeLayout(m_dir.filePath(QStringLiteral("config")));
    }

    void killedWhileImporting_data()
    {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<QString>("kill");
        QTest::addColumn<bool>("grown");       // the file was added to before the next run
        QTest::addColumn<int>("postedBefore"); // documents the killed run committed
        QTest::addColumn<int>("recorded");     // of those, the ones it heard of
        QTest::newRow("inside the commit of the second document") << "kill_at=commit:2"
                                                                  << "" << false << 1 << 1;
        QTest::newRow("inside the commit of the first document") << "kill_at=item:1"
                                                                 << "" << false << 0 << 0;
        QTest::newRow("just after the second commit") << "kill_at=committed:2"
                                                      << "" << false << 2 << 1;
        QTest::newRow("just after the first commit, then the file grew") << "kill_at=committed:1"
                                                                         << "" << true << 1 << 0;
        QTest::newRow("between the last commit and the move") << ""
                                                              << "--kill-before-move" << false << 3 << 3;
        QTest::newRow("before the move, then the file grew") << ""
                                                             << "--kill-before-move" << true << 3 << 3;
    }
    void killedWhileImporting()
    {
        QFETCH(QString, faults);
        QFETCH(QString, kill);
        QFETCH(bool, grown);
        QFETCH(int, postedBefore);
        QFETCH(int, recorded);
        const Folders folders;
        const QString& company = folders.company;
        const QString& work = folders.work;
        const QString source = work + QStringLiteral("/source/orders.csv");
        writeFile(source, BatchCompany::importFile(3, 2));

        const ChildRun killed = runChild(work, company, faults, kill);
        QVERIFY2(killed.killed(), qPrintable(killed.output));
        const QJsonArray posted = BatchCompany::posted(company);
        QCOMPARE(posted.size(), postedBefore);
        QCOMPARE(filesOf(work + QStringLiteral("/source")), QStringList{"orders.csv"});
        QByteArray bytes = BatchCompany::importFile(3, 2);
        if (grown) {
            // The writer finished its job: two more documents.
            bytes = BatchCompany::importFile(5, 2);
            writeFile(source, bytes);
        }

        // The next run finds the file begun and never filed.
        const ChildRun again = runChild(work, company, {});
        QVERIFY2(again.succeeded(), qPrintable(again.output));
        QCOMPARE(again.output, QString()); // no box
        QCOMPARE(BatchCompany::posted(company).size(), postedBefore);
        QCOMPARE(filesOf(work + QStringLiteral("/source")), QStringList());
        QCOMPARE(filesOf(work + QStringLiteral("/success")), QStringList());
        const QStringList filed = filesOf(work + QStringLiteral("/error"));
        QCOMPARE(filed.size(), 2);
        QVERIFY2(filed[1].endsWith(QLatin1String("_ERRORLOG.CSV")) &&
                     filed[1].startsWith(QFileInfo(filed[0]).baseName()),
                 qPrintable(filed.join(QLatin1Char(' '))));
        QCOMPARE(readFile(work + QStringLiteral("/error/") + filed[0]), bytes);

        QStringList expected{QStringLiteral("\"The import of this file was interrupted before the file was "
                                            "filed; it was not imported again\"")};
        if (grown)
            expected << QStringLiteral("\"The file changed after the interruption; what it holds now was "
                                       "not imported\"");
        for (int i = 0; i < recorded; ++i)
            expected << QStringLiteral("\"Already posted: Invoice No %1\"").arg(number(posted.at(i)));
        // The document after the last one recorded may have been posted: it is named
        // with its rows, the others are listed as not posted.
        for (int d = recorded; d < 3; ++d)
            expected << (d == recorded ? QStringLiteral("\"May have been posted, check the ledger: %1\"")
                                       : QStringLiteral("\"Not posted: %1\""))
                            .arg(rowsOf(d));
        QStringList lines = errorFileLines(work + QStringLiteral("/error/") + filed[1]);
        QVERIFY(!lines.isEmpty() && lines.takeFirst().startsWith(QStringLiteral("\"Error Description ")));
        QCOMPARE(lines, expected);
    }

    // An Update that raises part-way: the file fails, and its error file names the
    // document whose commit raised as one that may have been posted.
    void updateRaisesWhileImporting()
    {
        const Folders folders;
        const QString& work = folders.work;
        writeFile(work + QStringLiteral("/source/orders.csv"), BatchCompany::importFile(3, 2));
        const ChildRun run = runChild(work, folders.company, QStringLiteral("raise=Update:3021"));
        QVERIFY2(run.succeeded(), qPrintable(run.output));
        const QStringList filed = filesOf(work + QStringLiteral("/error"));
        QCOMPARE(filed.size(), 2);
        const QStringList lines = errorFileLines(work + QStringLiteral("/error/") + filed[1]);
        QVERIFY2(lines.contains(QStringLiteral("\"May have been posted, check the ledger: %1\"").arg(rowsOf(0))),
                 qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // A failed file killed after its move, before its error file: the next run
    // writes the error file from what the journal kept, with the file's errors.
    void killedAfterMovingAFailedFile()
    {
        const Folders folders;
        const QString& company = folders.company;
        const QString& work = folders.work;
        writeFile(work + QStringLiteral("/source/bad.csv"),
                  BatchCompany::importFile(2, 2).replace("BIR02", "ZZZ99"));

        const ChildRun killed = runChild(work, company, {}, QStringLiteral("--kill-after-move"));
        QVERIFY2(killed.killed(), qPrintable(killed.output));
        QCOMPARE(filesOf(work + QStringLiteral("/error")).size(), 1); // no error file yet

        const ChildRun again = runChild(work, company, {});
        QVERIFY2(again.succeeded(), qPrintable(again.output));
        QCOMPARE(again.output, QString());
        QCOMPARE(BatchCompany::posted(company).size(), 0);
        const QStringList filed = filesOf(work + QStringLiteral("/error"));
        QCOMPARE(filed.size(), 2);
        QVERIFY(filed[1].startsWith(QFileInfo(filed[0]).baseName() + QStringLiteral("_ERRORLOG")));
        const QStringList lines = errorFileLines(work + QStringLiteral("/error/") + filed[1]);
        QVERIFY2(lines.size() >= 2 &&
                     lines[1].startsWith(QStringLiteral("\"Account No ZZZ99 does not exist")),
                 qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // A file killed after its move, its filing not recorded, then a new file of the
    // same name: the new one is a file of its own and is imported.
    void killedAfterMovingThenANewFileOfTheSameName()
    {
        const Folders folders;
        const QString& company = folders.company;
        const QString& work = folders.work;
        const QString source = work + QStringLiteral("/source/orders.csv");
        writeFile(source, BatchCompany::importFile(2, 2));
        const ChildRun killed = runChild(work, company, {}, QStringLiteral("--kill-after-move"));
        QVERIFY2(killed.killed(), qPrintable(killed.output));
        QCOMPARE(BatchCompany::posted(company).size(), 2);

        writeFile(source, BatchCompany::importFile(3, 1, 10));
        const ChildRun again = runChild(work, company, {});
        QVERIFY2(again.succeeded(), qPrintable(again.output));
        QCOMPARE(BatchCompany::posted(company).size(), 5);
        QCOMPARE(filesOf(work + QStringLiteral("/source")), QStringList());
        QCOMPARE(filesOf(work + QStringLiteral("/success")).size(), 2);
        QCOMPARE(filesOf(work + QStringLiteral("/error")), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestBatchCrash)
#include "tst_batchcrash.moc"
