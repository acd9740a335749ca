// A whole import killed inside the commit of one of its documents, as a crash or a
// power cut would end it: the child program runs the import with the real engine
// and VORLEN_FAULTS makes it kill itself inside the N-th commit. The ledger must
// then hold the documents before it whole, nothing of it, and take a new run.
#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <csignal>

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);
constexpr int DocumentCount = 10;

// Three customers, four products over three tax rates (0, 20 and 5 per cent).
const char* const Seed = R"({
  "version": "23.0", "name": "Crash Test Ltd", "program_type": 1,
  "users": [{"name": "MANAGER", "password": "secret"}],
  "setup": {"INVOICE_CARR_NOMINAL": "4905"},
  "control": {"T0_RATE": 0, "T1_RATE": 20, "T2_RATE": 5},
  "currencies": [{"CODE": "GBP", "EXCHANGE_RATE": 1}],
  "customers": [
    {"ACCOUNT_REF": "ALD01", "NAME": "Alder Stores", "ADDRESS_1": "2 Mill Lane"},
    {"ACCOUNT_REF": "BIR02", "NAME": "Birch Trading"},
    {"ACCOUNT_REF": "CED03", "NAME": "Cedar Works", "DEF_NOM_CODE": "4010"}
  ],
  "products": [
    {"STOCK_CODE": "BOLT", "DESCRIPTION": "Bolt", "UNIT_OF_SALE": "Box", "SALES_PRICE": 0.35, "TAX_CODE": 1},
    {"STOCK_CODE": "BOOK", "DESCRIPTION": "Manual", "SALES_PRICE": 12.5, "TAX_CODE": 0},
    {"STOCK_CODE": "LAMP", "DESCRIPTION": "Lamp", "SALES_PRICE": 24, "TAX_CODE": 2},
    {"STOCK_CODE": "SAW", "DESCRIPTION": "Saw", "SALES_PRICE": 18.99, "TAX_CODE": 1}
  ],
  "nominals": [{"ACCOUNT_REF": "4000"}, {"ACCOUNT_REF": "4010"}, {"ACCOUNT_REF": "4905"}]
})";

// The only box of an import that goes through: the confirmation, answered Yes.
const QStringList ConfirmationOnly = {QStringLiteral("box Confirm: Proceed with invoice import?")};

const QStringList Layout = {"Transaction Type", "Account Reference", "Transaction Date",
                            "Product Code",     "Quantity",          "Unit Price"};

// Ten documents of two to four lines, the seventh a credit note. Neighbours are for
// different customers: the account is the grouping column that tells them apart.
QByteArray importFile()
{
    static const char* const accounts[] = {"ALD01", "BIR02", "CED03"};
    static const char* const products[] = {"BOLT", "BOOK", "LAMP", "SAW"};
    QByteArray out;
    for (int d = 1; d <= DocumentCount; ++d) {
        const int lines = 2 + (d - 1) % 3;
        for (int l = 1; l <= lines; ++l) {
            out += QStringLiteral("%1,%2,%3/11/2026,%4,%5,%6\r\n")
                       .arg(d == 7 ? QStringLiteral("C") : QStringLiteral("I"),
                            QLatin1String(accounts[(d - 1) % 3]))
                       .arg(d, 2, 10, QLatin1Char('0'))
                       .arg(QLatin1String(products[(d + l) % 4]))
                       .arg(d + l)
                       .arg(1.25 * l + d, 0, 'f', 2)
                       .toLatin1();
        }
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

// One line per column title (54 lines) and the grouping titles (4 lines).
void writeLayout(const QString& configDir)
{
    QByteArray columns;
    for (int i = 0; i < 54; ++i)
        columns += (i < Layout.size() ? Layout.at(i).toLatin1() : QByteArray()) + "\r\n";
    writeFile(configDir + QStringLiteral("/qfm.cfg"), columns);
    writeFile(configDir + QStringLiteral("/qfm2.cfg"), QByteArray("Account Reference\r\n\r\n\r\n\r\n"));
}

QString ledgerFileOf(const QString& company)
{
    return company::folder::ledgerFileOf(company::folder::accdataOf(company));
}

// Through the engine's own open, which brings back what the journal holds.
QJsonArray postedDocuments(const QString& company)
{
    return company::Ledger::open(ledgerFileOf(company))->listDocuments();
}

struct ChildRun
{
    QProcess::ExitStatus status = QProcess::NormalExit;
    int code = -1;     // the exit code, or the signal that ended the child
    QStringList boxes; // "box <title>: <text>", every message box the import showed
    QString output;

    bool killed() const { return status == QProcess::CrashExit && code == SIGKILL; }
    bool succeeded() const { return status == QProcess::NormalExit && code == 0; }
    QString describe() const
    {
        return (status == QProcess::CrashExit ? QStringLiteral("ended by signal %1")
                                              : QStringLiteral("exit code %1"))
                   .arg(code) +
               QStringLiteral("\n") + output;
    }
};

// What the ledger's tables hold, read with SQLite itself rather than the engine.
struct TableCounts
{
    int documents = -1;
    int items = -1;
    int orphanItems = -1;      // item rows of no document
    int documentsWithout = -1; // documents without item rows
    int numberGaps = -1;       // numbers missing between the lowest and the highest
    int highestNumber = -1;
    QString integrity;
};

int scalar(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    int value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return value;
}

TableCounts countTables(const QString& ledgerFile)
{
    TableCounts c;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ledgerFile.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return c;
    }
    c.documents = scalar(db, "SELECT COUNT(*) FROM documents");
    c.items = scalar(db, "SELECT COUNT(*) FROM document_items");
    c.orphanItems =
        scalar(db, "SELECT COUNT(*) FROM document_items WHERE document_id NOT IN (SELECT id FROM documents)");
    c.documentsWithout =
        scalar(db, "SELECT COUNT(*) FROM documents WHERE id NOT IN (SELECT document_id FROM document_items)");
    c.numberGaps = scalar(db, "SELECT COALESCE(MAX(number) - MIN(number) + 1 - COUNT(*), 0) FROM documents");
    c.highestNumber = scalar(db, "SELECT COALESCE(MAX(number), 0) FROM documents");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        c.integrity = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return c;
}

int documentNumber(const QJsonObject& document)
{
    return document.value(QStringLiteral("INVOICE_NUMBER")).toInt();
}

// A posted document against the same document of the run that was not killed:
// customer, kind, number (shifted by the documents posted before the run), totals,
// and every item line.
void compareDocument(const QJsonObject& got, const QJsonObject& want, int numberShift, const QString& what)
{
    for (const char* field : {"ACCOUNT_REF", "DOCUMENT_KIND", "INVOICE_DATE"})
        QVERIFY2(got.value(QLatin1String(field)) == want.value(QLatin1String(field)),
                 qPrintable(what + QStringLiteral(": ") + QLatin1String(field) + QStringLiteral(" is ") +
                            got.value(QLatin1String(field)).toVariant().toString()));
    QVERIFY2(documentNumber(got) == documentNumber(want) + numberShift,
             qPrintable(what + QStringLiteral(": number %1").arg(documentNumber(got))));
    for (const char* field : {"ITEMS_NET", "ITEMS_TAX"}) {
        const double g = got.value(QLatin1String(field)).toDouble();
        const double w = want.value(QLatin1String(field)).toDouble();
        QVERIFY2(
            qAbs(g - w) < 0.005,
            qPrintable(what +
                       QStringLiteral(": %1 is %2, expected %3").arg(QLatin1String(field)).arg(g).arg(w)));
    }
    const QJsonArray gotItems = got.value(QStringLiteral("items")).toArray();
    const QJsonArray wantItems = want.value(QStringLiteral("items")).toArray();
    QVERIFY2(gotItems.size() == wantItems.size(),
             qPrintable(
                 what +
                 QStringLiteral(": %1 item lines, expected %2").arg(gotItems.size()).arg(wantItems.size())));
    for (qsizetype i = 0; i < gotItems.size(); ++i) {
        const QJsonObject g = gotItems.at(i).toObject();
        const QJsonObject w = wantItems.at(i).toObject();
        for (const char* field : {"STOCK_CODE", "QTY_ORDER", "NET_AMOUNT", "TAX_AMOUNT"})
            QVERIFY2(g.value(QLatin1String(field)) == w.value(QLatin1String(field)),
                     qPrintable(what +
                                QStringLiteral(": item %1 %2 differs").arg(i + 1).arg(QLatin1String(field))));
    }
}

int itemCount(const QJsonArray& documents, int first, int count)
{
    int n = 0;
    for (int i = first; i < first + count; ++i)
        n += int(documents.at(i).toObject().value(QStringLiteral("items")).toArray().size());
    return n;
}

} // namespace

class TestImportCrash : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QJsonArray m_reference; // the documents of the same import, not killed

    QString configDir() const { return m_dir.filePath(QStringLiteral("config")); }
    QString importPath() const { return m_dir.filePath(QStringLiteral("invoices.csv")); }

    static QString newCompany(const QTemporaryDir& dir)
    {
        const QString folder = dir.filePath(QStringLiteral("company"));
        company::createCompany(QJsonDocument::fromJson(Seed).object(), folder, QStringLiteral("crash seed"));
        return folder;
    }

    ChildRun runChild(const QString& company, const QString& faults) const
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VORLEN_FAULTS"));
        if (!faults.isEmpty())
            env.insert(QStringLiteral("VORLEN_FAULTS"), faults);
        child.setProcessEnvironment(env);
        child.start(BinDir + QStringLiteral("/import_crash_child"), {company, configDir(), importPath()});
        ChildRun run;
        if (!child.waitForFinished(120000)) {
            child.kill();
            child.waitForFinished();
            run.output = QStringLiteral("the child did not finish: ") + child.errorString();
            run.status = QProcess::CrashExit;
            return run;
        }
        run.status = child.exitStatus();
        run.code = child.exitCode();
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        run.boxes = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        run.output = out + QString::fromLocal8Bit(child.readAllStandardError());
        return run;
    }

    // Every document of `posted` from `first` on is the reference's from `from`.
    void compareWithReference(const QJsonArray& posted, int first, int from, int count, int numberShift,
                              const QString& what)
    {
        for (int i = 0; i < count; ++i) {
            compareDocument(posted.at(first + i).toObject(), m_reference.at(from + i).toObject(), numberShift,
                            what + QStringLiteral(", document %1").arg(first + i + 1));
            if (QTest::currentTestFailed())
                return;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(BinDir + QStringLiteral("/vdo/vlvdoengine230.dll")))
            QSKIP("the package stand-in is not built");
        QVERIFY(m_dir.isValid());
        QProcess regsvr;
        regsvr.start(BinDir + QStringLiteral("/regsvr"),
                     {BinDir + QStringLiteral("/vdo/vlvdoengine230.dll"), QStringLiteral("/s")});
        QVERIFY(regsvr.waitForFinished(60000));
        QCOMPARE(regsvr.exitCode(), 0);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
        writeLayout(configDir());
        writeFile(importPath(), importFile());

        // The same import run to its end, in a company of its own.
        QTemporaryDir dir;
        const QString company = newCompany(dir);
        const ChildRun run = runChild(company, {});
        QVERIFY2(run.succeeded(), qPrintable(run.describe()));
        QCOMPARE(run.boxes, ConfirmationOnly);
        m_reference = postedDocuments(company);
        QCOMPARE(m_reference.size(), DocumentCount);
        QCOMPARE(itemCount(m_reference, 0, DocumentCount), 29);
        QCOMPARE(m_reference.at(6).toObject().value(QStringLiteral("DOCUMENT_KIND")).toString(),
                 QStringLiteral("credit"));
        for (int i = 0; i < DocumentCount; ++i)
            QCOMPARE(documentNumber(m_reference.at(i).toObject()),
                     documentNumber(m_reference.at(0).toObject()) + i);
    }

    void killedInsideACommit_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<int>("document");
        const struct
        {
            const char* point;
            const char* where;
        } points[] = {{"header", "after the header row"},
                      {"item", "after the first item"},
                      {"commit", "just before COMMIT"}};
        const struct
        {
            int document;
            const char* which;
        } documents[] = {{1, "the first"}, {5, "a middle"}, {DocumentCount, "the last"}};
        for (const auto& p : points)
            for (const auto& d : documents)
                QTest::addRow("%s of %s document", p.where, d.which)
                    << QString::fromLatin1(p.point) << d.document;
    }

    void killedInsideACommit()
    {
        QFETCH(QString, point);
        QFETCH(int, document);
        QTemporaryDir dir;
        const QString company = newCompany(dir);
        const int before = document - 1;

        const ChildRun killed = runChild(company, QStringLiteral("kill_at=%1:%2").arg(point).arg(document));
        QVERIFY2(killed.killed(), qPrintable(killed.describe()));
        // What the killed run committed is still only in the journal: opening the
        // ledger has to bring it back.
        if (before > 0)
            QVERIFY(QFileInfo(ledgerFileOf(company) + QStringLiteral("-wal")).size() > 0);

        const QJsonArray kept = postedDocuments(company);
        QCOMPARE(kept.size(), before);
        compareWithReference(kept, 0, 0, before, 0, QStringLiteral("after the kill"));
        if (QTest::currentTestFailed())
            return;
        TableCounts tables = countTables(ledgerFileOf(company));
        QCOMPARE(tables.integrity, QStringLiteral("ok"));
        QCOMPARE(tables.documents, before);
        QCOMPARE(tables.items, itemCount(m_reference, 0, before));
        QCOMPARE(tables.orphanItems, 0);
        QCOMPARE(tables.documentsWithout, 0);
        QCOMPARE(tables.numberGaps, 0);
        // Numbers are given at commit: the killed document's would have been the next.
        QVERIFY(tables.highestNumber < documentNumber(m_reference.at(before).toObject()));

        // Run again, the file goes in whole from its first line: the documents the
        // killed run committed are posted a second time, under the next numbers.
        const ChildRun again = runChild(company, {});
        QVERIFY2(again.succeeded(), qPrintable(again.describe()));
        // Nothing tells the user that part of the file is already in the ledger.
        QCOMPARE(again.boxes, ConfirmationOnly);
        const QJsonArray all = postedDocuments(company);
        QCOMPARE(all.size(), before + DocumentCount);
        compareWithReference(all, 0, 0, before, 0, QStringLiteral("after the second run"));
        if (QTest::currentTestFailed())
            return;
        compareWithReference(all, before, 0, DocumentCount, before, QStringLiteral("after the second run"));
        if (QTest::currentTestFailed())
            return;
        tables = countTables(ledgerFileOf(company));
        QCOMPARE(tables.integrity, QStringLiteral("ok"));
        QCOMPARE(tables.documents, before + DocumentCount);
        QCOMPARE(tables.items, itemCount(m_reference, 0, before) + itemCount(m_reference, 0, DocumentCount));
        QCOMPARE(tables.orphanItems, 0);
        QCOMPARE(tables.documentsWithout, 0);
        QCOMPARE(tables.numberGaps, 0);
    }
};

QTEST_GUILESS_MAIN(TestImportCrash)
#include "tst_importcrash.moc"
