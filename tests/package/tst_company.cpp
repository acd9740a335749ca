#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/LedgerError.h"
#include "package/company/Seed.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace company;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(QUILLAR_TEST_DATA "/package/%1").arg(QLatin1String(name));
}

QJsonObject smallSeed()
{
    QFile f(fixture("small.json"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture small.json missing");
    return QJsonDocument::fromJson(f.readAll()).object();
}

// A document as stage two would hand it over: the customer HOME01, one WIDGET line.
Document invoice(double net = 10, double tax = 2)
{
    Document doc;
    doc.header = fields::invoiceHeader().initialValues();
    doc.headerAssigned.assign(doc.header.size(), false);
    Document::Item item{fields::item().initialValues(), QString()};
    doc.items.push_back(item);
    auto h = [&](const char* n, const QVariant& v) {
        const int i = fields::invoiceHeader().indexOf(QLatin1String(n));
        doc.header[size_t(i)] = v;
        doc.headerAssigned[size_t(i)] = true;
    };
    h("ACCOUNT_REF", QStringLiteral("HOME01"));
    h("ITEMS_NET", net);
    h("ITEMS_TAX", tax);
    auto& f = doc.items[0].fields;
    f[size_t(fields::item().indexOf(QStringLiteral("STOCK_CODE")))] = QStringLiteral("WIDGET");
    f[size_t(fields::item().indexOf(QStringLiteral("TAX_CODE")))] = 1;
    f[size_t(fields::item().indexOf(QStringLiteral("NET_AMOUNT")))] = net;
    return doc;
}

void setHeader(Document& doc, const char* name, const QVariant& v)
{
    const int i = doc.headerFields().indexOf(QLatin1String(name));
    doc.header[size_t(i)] = v;
    doc.headerAssigned[size_t(i)] = true;
}

} // namespace

class TestCompany : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Ledger> openSmall(QTemporaryDir& dir)
    {
        createCompany(smallSeed(), dir.filePath(QStringLiteral("co")), QStringLiteral("small.json"));
        return Ledger::open(folder::ledgerFileOf(folder::accdataOf(dir.filePath(QStringLiteral("co")))));
    }

private Q_SLOTS:
    void demoSeedCreatesCompany()
    {
        QTemporaryDir dir;
        const QString co = dir.filePath(QStringLiteral("Demo"));
        createCompanyFromFile(QStringLiteral(QUILLAR_SOURCE_DIR "/tools/demo/demo.json"), co);
        const SetupInfo info = folder::readSetupFile(folder::accdataOf(co));
        QCOMPARE(info.versionText(), QStringLiteral("23.0"));
        QCOMPARE(info.name, QStringLiteral("Harbourside Trading Ltd"));
        auto l = Ledger::open(folder::ledgerFileOf(folder::accdataOf(co)));
        QVERIFY(l->isValidUser(QStringLiteral("manager"), QStringLiteral("letmein")));
        QVERIFY(!l->isValidUser(QStringLiteral("MANAGER"), QStringLiteral("wrong")));
        std::vector<QVariant> row;
        QVERIFY(l->readCurrency(1, row));
        QCOMPARE(row[size_t(fields::currency().indexOf(QStringLiteral("CODE")))].toString(),
                 QStringLiteral("EUR"));
        QCOMPARE(l->listDocuments().size(), 2);
    }

    void setupFileBytes()
    {
        QTemporaryDir dir;
        folder::writeSetupFile(
            dir.path(), 23, 0,
            QStringLiteral("A name that is rather longer than sixty characters, so it is cut here"));
        QFile f(dir.filePath(QStringLiteral("setup.dta")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        QCOMPARE(uint8_t(b[0]), uint8_t(23));
        QCOMPARE(uint8_t(b[1]), uint8_t(0));
        QCOMPARE(b.mid(63, 2), QByteArray("\r\n"));
        QCOMPARE(folder::readSetupFile(dir.path()).name.size(), 60);
    }

    void companyFileAndMarkers()
    {
        QTemporaryDir dir;
        const QString prog = dir.filePath(QStringLiteral("Vorlen"));
        folder::addToCompanyFile(prog, dir.filePath(QStringLiteral("A")));
        folder::addToCompanyFile(prog, dir.filePath(QStringLiteral("B")));
        folder::addToCompanyFile(prog, dir.filePath(QStringLiteral("A")));
        folder::writeProgramMarkers(prog);
        QCOMPARE(folder::readCompanyFile(prog),
                 QStringList({dir.filePath(QStringLiteral("A")), dir.filePath(QStringLiteral("B"))}));
        QVERIFY(QFile::exists(prog + QStringLiteral("/vorlen.exe")));
    }

    void mixedCasePathResolves()
    {
        QTemporaryDir dir;
        createCompany(smallSeed(), dir.filePath(QStringLiteral("Co")), QStringLiteral("small.json"));
        const QString written = dir.path() + QStringLiteral("\\co\\accdata");
        QCOMPARE(folder::resolvePath(written), dir.filePath(QStringLiteral("Co/ACCDATA")));
    }

    void badSetupFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<int>("kind");
        QTest::addRow("missing setup.dta") << QByteArray() << int(LedgerError::Kind::FileNotFound);
        QTest::addRow("truncated setup.dta")
            << QByteArray("\x17\x00 Short", 8) << int(LedgerError::Kind::BadFile);
    }
    void badSetupFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QTemporaryDir dir;
        if (!bytes.isEmpty()) {
            QFile f(dir.filePath(QStringLiteral("setup.dta")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        try {
            folder::readSetupFile(dir.path());
            QFAIL("no error");
        } catch (const LedgerError& e) {
            QCOMPARE(int(e.kind()), kind);
            QVERIFY2(e.message().contains(QStringLiteral("setup.dta")), qPrintable(e.message()));
        }
    }

    void badSeed_data()
    {
        QTest::addColumn<QString>("path"); // "customers/0/COLOUR" adds a field; "" edits nothing
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("expected");
        QTest::addRow("unknown customer field")
            << "customers/0/COLOUR" << QJsonValue("red") << "unknown field \"COLOUR\" in customers[0]";
        QTest::addRow("unknown top-level key")
            << "suppliers" << QJsonValue(QJsonArray()) << "unknown key \"suppliers\"";
        QTest::addRow("text in a number field")
            << "products/1/SALES_PRICE" << QJsonValue("cheap") << "SALES_PRICE";
        QTest::addRow("duplicate account")
            << "customers/1/account_ref" << QJsonValue("HOME01") << "duplicate ACCOUNT_REF";
        QTest::addRow("field given twice in two cases")
            << "customers/1/ACCOUNT_REF" << QJsonValue("X1") << "given twice";
        QTest::addRow("bad date") << "setup/CLOSED_LEDGER_CHECK_DATE" << QJsonValue("31/12/2026")
                                  << "CLOSED_LEDGER_CHECK_DATE";
        QTest::addRow("seed invoice refused")
            << "invoices/0/ACCOUNT_REF" << QJsonValue("NOBODY") << "unknown customer";
        QTest::addRow("unknown setup field")
            << "setup/COLOUR" << QJsonValue(1) << "unknown field \"COLOUR\" in setup";
    }
    void badSeed()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QString, expected);
        QJsonObject seed = smallSeed();
        const QStringList p = path.split(QLatin1Char('/'));
        if (p.size() == 1) {
            seed.insert(p[0], value);
        } else if (p.size() == 2) {
            QJsonObject o = seed.value(p[0]).toObject();
            o.insert(p[1], value);
            seed.insert(p[0], o);
        } else {
            QJsonArray a = seed.value(p[0]).toArray();
            QJsonObject o = a.at(p[1].toInt()).toObject();
            o.insert(p[2], value);
            a.replace(p[1].toInt(), o);
            seed.insert(p[0], a);
        }
        QTemporaryDir dir;
        const QString co = dir.filePath(QStringLiteral("co"));
        try {
            createCompany(seed, co, QStringLiteral("bad.json"));
            QFAIL("seed accepted");
        } catch (const LedgerError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("bad.json")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(expected), qPrintable(e.message()));
        }
        // Nothing is left behind.
        QVERIFY(!QFileInfo::exists(co + QStringLiteral("/ACCDATA")));
        QVERIFY(!QFileInfo::exists(co + QStringLiteral("/ACCDATA.new")));
    }

    void newerSchemaRefused()
    {
        QTemporaryDir dir;
        QString file;
        {
            auto l = openSmall(dir);
            file = l->file();
        }
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        try {
            Ledger::open(file);
            QFAIL("newer schema opened");
        } catch (const LedgerError& e) {
            QCOMPARE(e.kind(), LedgerError::Kind::NewerSchema);
            QVERIFY2(e.message().contains(file), qPrintable(e.message()));
        }
    }

    void lockedDatabaseReported()
    {
        QTemporaryDir dir;
        auto l = openSmall(dir);
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(l->file().toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        try {
            l->post(invoice());
            QFAIL("posted into a locked ledger");
        } catch (const LedgerError& e) {
            QCOMPARE(e.kind(), LedgerError::Kind::Locked);
            QVERIFY2(e.message().contains(l->file()), qPrintable(e.message()));
        }
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(l->listDocuments().size(), 1);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("field"); // header field, or "item:FIELD"
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("reason");
        QTest::addRow("unknown customer") << "ACCOUNT_REF" << QVariant("NOBODY") << "unknown customer";
        QTest::addRow("unknown product") << "item:STOCK_CODE" << QVariant("NOTHING") << "unknown product";
        QTest::addRow("invoice number used") << "INVOICE_NUMBER" << QVariant(100) << "already used";
        QTest::addRow("unknown item tax code") << "item:TAX_CODE" << QVariant(7) << "unknown tax code T7";
        QTest::addRow("unknown global tax code") << "GLOBAL_TAX_CODE" << QVariant(9) << "unknown tax code T9";
        QTest::addRow("payment above total")
            << "AMOUNT_PREPAID" << QVariant(12.01) << "larger than the document total";
        QTest::addRow("payment without bank")
            << "AMOUNT_PREPAID" << QVariant(5.0) << "without a bank account";
        QTest::addRow("payment to a bank in another currency")
            << "BANK_CODE" << QVariant("1210") << "in currency 1";
        QTest::addRow("payment to an unknown bank") << "BANK_CODE" << QVariant("9999") << "unknown bank";
    }
    void refusals()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        auto l = openSmall(dir);
        const QJsonArray before = l->listDocuments();
        Document doc = invoice();
        if (field == QLatin1String("BANK_CODE"))
            setHeader(doc, "AMOUNT_PREPAID", 5.0);
        if (field.startsWith(QLatin1String("item:")))
            doc.items[0].fields[size_t(fields::item().indexOf(field.mid(5)))] = value;
        else
            setHeader(doc, field.toLatin1().constData(), value);
        const PostResult r = l->post(doc);
        QVERIFY(!r.posted);
        QVERIFY2(r.reason.contains(reason), qPrintable(r.reason));
        QCOMPARE(l->listDocuments(), before);
        QCOMPARE(l->nextNumber(Sequence::Invoice), 101);
    }

    void numbering()
    {
        QTemporaryDir dir;
        auto l = openSmall(dir);
        QCOMPARE(l->nextNumber(Sequence::Invoice), 101);
        QCOMPARE(l->nextNumber(Sequence::Invoice), 101); // asking reserves nothing
        QCOMPARE(l->nextNumber(Sequence::Order), 1);
        PostResult r = l->post(invoice());
        QVERIFY2(r.posted, qPrintable(r.reason));
        QCOMPARE(r.number, 101);

        // A credit note shares the invoices' numbers.
        Document credit = invoice();
        credit.type = TypeCredit;
        setHeader(credit, "INVOICE_NUMBER", 101);
        r = l->post(credit);
        QVERIFY(!r.posted);
        setHeader(credit, "INVOICE_NUMBER", 0);
        r = l->post(credit);
        QCOMPARE(r.number, 102);

        // Orders have their own sequence.
        Document order;
        order.sequence = Sequence::Order;
        order.type = 0;
        order.header = fields::orderHeader().initialValues();
        order.headerAssigned.assign(order.header.size(), false);
        order.items = invoice().items;
        setHeader(order, "ACCOUNT_REF", QStringLiteral("EURO01"));
        setHeader(order, "ORDER_NUMBER", 101);
        r = l->post(order);
        QVERIFY2(r.posted, qPrintable(r.reason));
        QCOMPARE(r.number, 101);
        std::vector<QVariant> header;
        QVERIFY(l->findDocument(Sequence::Order, 101, header));
        QVERIFY(!l->findDocument(Sequence::Order, 102, header));
    }

    void toolListsPostedDocuments()
    {
        QTemporaryDir dir;
        {
            auto l = openSmall(dir);
            Document doc = invoice(20, 4);
            setHeader(doc, "AMOUNT_PREPAID", 24.0);
            setHeader(doc, "BANK_CODE", QStringLiteral("1200"));
            setHeader(doc, "PAYMENT_TYPE", 3);
            doc.items.push_back(doc.items[0]);
            doc.items[1].text = QStringLiteral("line one\r\nline two");
            QVERIFY(l->post(doc).posted);
        }
        QProcess tool;
        tool.start(QStringLiteral(QUILLAR_BIN_DIR "/vorlentool"),
                   {QStringLiteral("list"), dir.filePath(QStringLiteral("CO"))});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitCode(), 0);
        const QJsonArray docs = QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
        QCOMPARE(docs.size(), 2);
        const QJsonObject d = docs[1].toObject();
        QCOMPARE(d.value(QStringLiteral("INVOICE_NUMBER")).toInt(), 101);
        QCOMPARE(d.value(QStringLiteral("DOCUMENT_KIND")).toString(), QStringLiteral("invoice"));
        QCOMPARE(d.value(QStringLiteral("ITEMS_NET")).toDouble(), 20.0);
        QCOMPARE(d.value(QStringLiteral("AMOUNT_PREPAID")).toDouble(), 24.0);
        QCOMPARE(d.value(QStringLiteral("BANK_CODE")).toString(), QStringLiteral("1200"));
        const QJsonArray items = d.value(QStringLiteral("items")).toArray();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].toObject().value(QStringLiteral("STOCK_CODE")).toString(),
                 QStringLiteral("WIDGET"));
        QCOMPARE(items[1].toObject().value(QStringLiteral("SERVICE_TEXT")).toString(),
                 QStringLiteral("line one\r\nline two"));
    }

    void toolErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::addRow("list without company") << QStringList{"list", "@/nowhere"} << "setup.dta";
        QTest::addRow("seed with unknown field")
            << QStringList{"create", QStringLiteral(QUILLAR_TEST_DATA "/package/unknown-field.json"), "@/new"}
            << "unknown field \"SHOE_SIZE\" in customers[0]";
    }
    void toolErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir dir;
        for (QString& a : args)
            a.replace(QLatin1Char('@'), dir.path());
        QProcess tool;
        tool.start(QStringLiteral(QUILLAR_BIN_DIR "/vorlentool"), args);
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitCode(), 1);
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
    }

    void toolAddsUser()
    {
        QTemporaryDir dir;
        openSmall(dir);
        QCOMPARE(QProcess::execute(QStringLiteral(QUILLAR_BIN_DIR "/vorlentool"),
                                   {QStringLiteral("adduser"), dir.filePath(QStringLiteral("co")),
                                    QStringLiteral("clerk"), QStringLiteral("pw")}),
                 0);
        auto l = Ledger::open(folder::ledgerFileOf(folder::accdataOf(dir.filePath(QStringLiteral("co")))));
        QVERIFY(l->isValidUser(QStringLiteral("CLERK"), QStringLiteral("pw")));
    }

    void killedInsideCommitLeavesNoHalfDocument_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addRow("after the header") << "header";
        QTest::addRow("after the first item") << "item";
        QTest::addRow("just before commit") << "commit";
    }
    void killedInsideCommitLeavesNoHalfDocument()
    {
        QFETCH(QString, point);
        QTemporaryDir dir;
        openSmall(dir);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VORLEN_FAULTS"), QStringLiteral("kill_at=") + point);
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(QUILLAR_BIN_DIR "/package_crash_helper"),
                    {dir.filePath(QStringLiteral("co"))});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        auto l = Ledger::open(folder::ledgerFileOf(folder::accdataOf(dir.filePath(QStringLiteral("co")))));
        QCOMPARE(l->listDocuments().size(), 1);
        QCOMPARE(l->nextNumber(Sequence::Invoice), 101);
        // And the ledger still takes the document afterwards.
        env.remove(QStringLiteral("VORLEN_FAULTS"));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(QUILLAR_BIN_DIR "/package_crash_helper"),
                    {dir.filePath(QStringLiteral("co"))});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitCode(), 0);
        l.reset();
        const QJsonArray docs =
            Ledger::open(folder::ledgerFileOf(folder::accdataOf(dir.filePath(QStringLiteral("co")))))
                ->listDocuments();
        QCOMPARE(docs.size(), 2);
        QCOMPARE(docs[1].toObject().value(QStringLiteral("items")).toArray().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCompany)
#include "tst_company.moc"
