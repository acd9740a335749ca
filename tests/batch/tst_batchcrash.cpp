// Batch mode killed while it imports a file: inside the commit of one of its
// documents, and after the import committed everything but before the file was
// moved. The next run must not post the file's documents a second time: it files
// the file into the error folder, its error file naming what was posted.
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

} // namespace

class TestBatchCrash : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_problem;

    ChildRun runChild(const QString& work, const QString& company, const QString& faults, bool killBeforeMove)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VORLEN_FAULTS"));
        if (!faults.isEmpty())
            env.insert(QStringLiteral("VORLEN_FAULTS"), faults);
        child.setProcessEnvironment(env);
        QStringList arguments{work, company, m_dir.filePath(QStringLiteral("config"))};
        if (killBeforeMove)
            arguments << QStringLiteral("--kill-before-move");
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
        QTest::addColumn<bool>("killBeforeMove");
        QTest::addColumn<int>("postedBefore"); // documents the killed run committed
        QTest::newRow("inside the commit of the second document") << "kill_at=commit:2" << false << 1;
        QTest::newRow("inside the commit of the first document") << "kill_at=item:1" << false << 0;
        QTest::newRow("between the last commit and the move") << "" << true << 3;
    }
    void killedWhileImporting()
    {
        QFETCH(QString, faults);
        QFETCH(bool, killBeforeMove);
        QFETCH(int, postedBefore);
        QTemporaryDir dir;
        const QString company = dir.filePath(QStringLiteral("company"));
        const QString work = dir.filePath(QStringLiteral("work"));
        BatchCompany::create(company);
        QDir(work).mkpath(QStringLiteral("source"));
        QFile file(work + QStringLiteral("/source/orders.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BatchCompany::importFile(3, 2));
        file.close();

        const ChildRun killed = runChild(work, company, faults, killBeforeMove);
        QVERIFY2(killed.killed(), qPrintable(killed.output));
        const QJsonArray posted = BatchCompany::posted(company);
        QCOMPARE(posted.size(), postedBefore);
        QCOMPARE(filesOf(work + QStringLiteral("/source")), QStringList{"orders.csv"});

        // The next run finds the file begun and never filed.
        const ChildRun again = runChild(work, company, {}, false);
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
        QCOMPARE(readFile(work + QStringLiteral("/error/") + filed[0]), BatchCompany::importFile(3, 2));

        QStringList lines = QString::fromLatin1(readFile(work + QStringLiteral("/error/") + filed[1]))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2 + qMax(postedBefore, 1));
        QVERIFY(lines[0].startsWith(QStringLiteral("\"Error Description ")));
        QCOMPARE(lines[1],
                 QStringLiteral("\"The import of this file was interrupted before the file was filed; it "
                                "was not imported again\""));
        if (postedBefore == 0)
            QCOMPARE(lines[2], QStringLiteral("\"No document of this file was recorded as posted\""));
        for (int i = 0; i < postedBefore; ++i)
            QCOMPARE(lines[2 + i],
                     QStringLiteral("\"Already posted: Invoice No %1\"").arg(number(posted.at(i))));
    }
};

QTEST_GUILESS_MAIN(TestBatchCrash)
#include "tst_batchcrash.moc"
