#include "package/company/CompanyFolder.h"
#include "package/company/Seed.h"
#include "package/engine/EngineClasses.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using automation::Args;
using automation::ObjectRef;
using basic::Variant;

namespace {

const QString Vdo = QStringLiteral(QUILLAR_BIN_DIR "/vdo");

ObjectRef obj(const Variant& v)
{
    return automation::toObject(v);
}

QJsonObject smallSeed()
{
    QFile f(QStringLiteral(QUILLAR_TEST_DATA "/package/small.json"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture small.json missing");
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The error number a call raises, or 0.
template <class F> int errorOf(F&& call, QString* description = nullptr)
{
    try {
        call();
    } catch (const basic::RuntimeError& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

struct Faults
{
    explicit Faults(const char* faults) { qputenv("VORLEN_FAULTS", faults); }
    ~Faults() { qunsetenv("VORLEN_FAULTS"); }
};

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_company;

    // The data folder as the system passes it: "\accdata" appended, any case.
    QString dataFolder() const { return m_company + QStringLiteral("\\accdata"); }

    ObjectRef connected(const char* progId = "VorlenVDO.Engine.23")
    {
        ObjectRef engine = automation::createObject(QLatin1String(progId));
        ObjectRef ws = obj(obj(engine->get(QStringLiteral("Workspaces")))
                               ->call(QStringLiteral("Add"), {Variant("Quillar")}));
        const Variant ok = ws->call(QStringLiteral("Connect"), {Variant(dataFolder()), Variant("MANAGER"),
                                                                Variant("secret"), Variant("Quillar")});
        if (!(ok == Variant(true)))
            qFatal("Connect failed");
        return ws;
    }

    QJsonArray listed()
    {
        QProcess tool;
        tool.start(QStringLiteral(QUILLAR_BIN_DIR "/vorlentool"), {QStringLiteral("list"), m_company});
        tool.waitForFinished();
        return QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
    }

    // A one-line invoice for HOME01: 2 WIDGETs at 10, tax 4.
    ObjectRef invoice(const ObjectRef& ws)
    {
        ObjectRef post = obj(ws->call(QStringLiteral("CreateObject"), {Variant("InvoicePost")}));
        post->put(QStringLiteral("Type"), Variant(int32_t(261)));
        post->put(QStringLiteral("Header"), Variant("HOME01"), {Variant("Account_Ref")});
        post->put(QStringLiteral("Header"), Variant("Home Customer"), {Variant("name")});
        post->put(QStringLiteral("Header"), Variant(uint8_t(0)), {Variant("INVOICE_TYPE_CODE")});
        post->put(QStringLiteral("Header"), Variant("10/12/2026"), {Variant("Invoice_Date")});
        ObjectRef item = obj(obj(post->get(QStringLiteral("Items")))->call(QStringLiteral("Add")));
        item->setValue({Variant("Stock_Code")}, Variant("WIDGET"));
        item->setValue({Variant("Qty_Order")}, Variant(2.0));
        item->setValue({Variant("Unit_Price")}, Variant(10.0));
        item->setValue({Variant("Net_Amount")}, Variant(20.0));
        item->setValue({Variant("Tax_Code")}, Variant(int16_t(1)));
        item->setValue({Variant("Tax_Amount")}, Variant(4.0));
        post->put(QStringLiteral("Header"), Variant(20.0), {Variant("Items_Net")});
        post->put(QStringLiteral("Header"), Variant(4.0), {Variant("Items_Tax")});
        return post;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const auto& c : vdo::engineClasses) {
            const int rc =
                QProcess::execute(QStringLiteral(QUILLAR_BIN_DIR "/regsvr"),
                                  {QStringLiteral("/s"), Vdo + QLatin1Char('/') + QLatin1String(c.library)});
            QCOMPARE(rc, 0);
        }
        m_company = m_dir.filePath(QStringLiteral("Small"));
        company::createCompany(smallSeed(), m_company, QStringLiteral("small.json"));

        // Two damaged companies: a cut setup.dta, and a ledger of a later schema.
        const QString truncated = m_dir.filePath(QStringLiteral("Truncated"));
        company::createCompany(smallSeed(), truncated, QStringLiteral("small.json"));
        QFile setup(truncated + QStringLiteral("/ACCDATA/setup.dta"));
        QVERIFY(setup.resize(20));
        const QString newer = m_dir.filePath(QStringLiteral("Newer"));
        company::createCompany(smallSeed(), newer, QStringLiteral("small.json"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open((newer + QStringLiteral("/ACCDATA/ledger.sqlite")).toUtf8().constData(), &db),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "PRAGMA user_version=2", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    void oneClassPerVersion_data()
    {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < vdo::engineClasses.size(); ++i)
            QTest::addRow("%s", vdo::engineClasses[i].versionCode) << int(i);
    }
    void oneClassPerVersion()
    {
        QFETCH(int, index);
        const auto& c = vdo::engineClasses[size_t(index)];
        for (const char* id : {c.classId, c.progId}) {
            ObjectRef engine = automation::createObject(QLatin1String(id));
            QCOMPARE(basic::CStr(engine->get(QStringLiteral("Version"))), QLatin1String(c.versionCode));
        }
        ObjectRef ws = connected(c.progId);
        QCOMPARE(basic::CLng(ws->get(QStringLiteral("ProgramType"))), 4);
    }

    void connect_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QVariant>("result"); // bool, or the error number raised
        QTest::addColumn<QString>("mentions");
        QTest::addRow("good login") << ""
                                    << "secret" << QByteArray() << QVariant(true) << "";
        QTest::addRow("wrong password") << ""
                                        << "guess" << QByteArray() << QVariant(false) << "";
        QTest::addRow("no company there") << "@/none\\accdata"
                                          << "secret" << QByteArray() << QVariant(53) << "setup.dta";
        QTest::addRow("truncated setup.dta") << "@/Truncated\\ACCDATA"
                                             << "secret" << QByteArray() << QVariant(75) << "truncated";
        QTest::addRow("ledger of a newer schema")
            << "@/newer\\accdata"
            << "secret" << QByteArray() << QVariant(75) << "ledger.sqlite has schema version 2";
        QTest::addRow("fault: Connect returns False")
            << ""
            << "secret" << QByteArray("connect_false") << QVariant(false) << "";
        QTest::addRow("fault: Connect raises")
            << ""
            << "secret" << QByteArray("connect_raise=-2147221504") << QVariant(-2147221504) << "";
    }
    void connect()
    {
        QFETCH(QString, folder);
        QFETCH(QString, password);
        QFETCH(QByteArray, faults);
        QFETCH(QVariant, result);
        QFETCH(QString, mentions);
        if (!faults.isEmpty())
            qputenv("VORLEN_FAULTS", faults);
        folder = folder.isEmpty() ? dataFolder() : folder.replace(QLatin1Char('@'), m_dir.path());
        ObjectRef engine = automation::createObject(QStringLiteral("VorlenVDO.Engine.20"));
        ObjectRef ws = obj(obj(engine->get(QStringLiteral("Workspaces")))
                               ->call(QStringLiteral("Add"), {Variant("Quillar")}));
        Variant got;
        QString description;
        const int error = errorOf(
            [&] {
                got = ws->call(QStringLiteral("Connect"),
                               {Variant(folder), Variant("manager"), Variant(password), Variant("Quillar")});
            },
            &description);
        qunsetenv("VORLEN_FAULTS");
        if (result.typeId() == QMetaType::Bool) {
            QCOMPARE(error, 0);
            QCOMPARE(got, Variant(result.toBool()));
        } else {
            QCOMPARE(error, result.toInt());
            QVERIFY2(description.contains(mentions), qPrintable(description));
        }
    }

    void isValidUserDoesNotConnect()
    {
        ObjectRef engine = automation::createObject(QStringLiteral("VorlenVDO.Engine.23"));
        ObjectRef ws = obj(obj(engine->get(QStringLiteral("Workspaces")))
                               ->call(QStringLiteral("Add"), {Variant("Quillar")}));
        const Args args{Variant(dataFolder()), Variant("MANAGER"), Variant("secret"),
                        Variant("Quillar Vorlen Import")};
        QCOMPARE(ws->call(QStringLiteral("IsValidUser"), args), Variant(true));
        QCOMPARE(errorOf([&] { ws->call(QStringLiteral("CreateObject"), {Variant("SalesRecord")}); }),
                 vdo::errors::NotConnected);
    }

    void recordsFindByKey()
    {
        ObjectRef ws = connected();
        ObjectRef sales = obj(ws->call(QStringLiteral("CreateObject"), {Variant("SalesRecord")}));
        sales->setValue({Variant("account_ref")}, Variant("EURO01"));
        QCOMPARE(sales->call(QStringLiteral("Find"), {Variant(false)}), Variant(true));
        QCOMPARE(basic::CStr(sales->value({Variant("Name")})), QStringLiteral("Euro Customer"));
        QCOMPARE(basic::CStr(sales->value({Variant("Currency")})), QStringLiteral("1"));
        ObjectRef field = obj(obj(sales->get(QStringLiteral("Fields")))
                                  ->call(QStringLiteral("Item"), {Variant("DEF_TAX_CODE")}));
        QCOMPARE(basic::CLng(field->get(QStringLiteral("Value"))), 0);

        sales->setValue({Variant("ACCOUNT_REF")}, Variant("NOBODY"));
        QCOMPARE(sales->call(QStringLiteral("Find"), {Variant(false)}), Variant(false));

        QString description;
        QCOMPARE(errorOf([&] { sales->value({Variant("SHOE_SIZE")}); }, &description),
                 vdo::errors::UnknownField);
        QVERIFY(description.contains(QStringLiteral("SHOE_SIZE")));

        // A product miss leaves an empty record that still holds the code looked for.
        ObjectRef stock = obj(ws->call(QStringLiteral("CreateObject"), {Variant("StockRecord")}));
        stock->setValue({Variant("STOCK_CODE")}, Variant("GADGET"));
        QCOMPARE(stock->call(QStringLiteral("Find"), {Variant(false)}), Variant(true));
        QCOMPARE(basic::CDbl(stock->value({Variant("Sales_Price")})), 25.5);
        stock->setValue({Variant("STOCK_CODE")}, Variant("NOTHING"));
        QCOMPARE(stock->call(QStringLiteral("Find"), {Variant(false)}), Variant(false));
        QCOMPARE(basic::CDbl(stock->value({Variant("SALES_PRICE")})), 0.0);
        QCOMPARE(basic::CStr(stock->value({Variant("STOCK_CODE")})), QStringLiteral("NOTHING"));

        ObjectRef price = obj(ws->call(QStringLiteral("CreateObject"), {Variant("PriceRecord")}));
        price->setValue({Variant("ACCOUNT_REF")}, Variant("HOME01"));
        price->setValue({Variant("STOCK_CODE")}, Variant("GADGET"));
        QCOMPARE(price->call(QStringLiteral("Find"), {Variant(false)}), Variant(true));
        QCOMPARE(basic::CDbl(price->value({Variant("PRICE")})), 22.0);

        ObjectRef bank = obj(ws->call(QStringLiteral("CreateObject"), {Variant("BankRecord")}));
        QStringList banks;
        for (bool more = basic::CBool(bank->call(QStringLiteral("MoveFirst"))); more;
             more = basic::CBool(bank->call(QStringLiteral("MoveNext"))))
            banks << basic::CStr(bank->value({Variant("ACCOUNT_REF")})) + QLatin1Char('/') +
                         basic::CStr(bank->value({Variant("CURRENCY")}));
        QCOMPARE(banks, QStringList({"1200/0", "1210/1"}));
    }

    void dataObjects()
    {
        ObjectRef ws = connected();
        ObjectRef setup = obj(ws->call(QStringLiteral("CreateObject"), {Variant("SetupData")}));
        setup->call(QStringLiteral("Open"), {Variant(int32_t(0))});
        QCOMPARE(setup->call(QStringLiteral("Read"), {Variant(int32_t(1))}), Variant(true));
        QCOMPARE(basic::CStr(setup->value({Variant("BASE_CURRENCY")})), QStringLiteral("GBP"));
        QCOMPARE(basic::CStr(setup->value({Variant("invoice_carr_nominal")})), QStringLiteral("4905"));
        QCOMPARE(basic::CDbl(setup->value({Variant("SALES_AMOUNT_SOLD_10")})), 0.0);
        QCOMPARE(setup->value({Variant("CLOSED_LEDGER_DATE_CONTROL_ENABLED")}), Variant(false));
        ObjectRef control = obj(ws->call(QStringLiteral("CreateObject"), {Variant("ControlData")}));
        control->call(QStringLiteral("Read"), {Variant(int32_t(1))});
        QCOMPARE(basic::CDbl(control->value({Variant("T1_RATE")})), 20.0);
        QCOMPARE(basic::CDbl(control->value({Variant("T99_RATE")})), 0.0);
        ObjectRef currency = obj(ws->call(QStringLiteral("CreateObject"), {Variant("CurrencyData")}));
        QCOMPARE(currency->call(QStringLiteral("Read"), {Variant(int32_t(2))}), Variant(true));
        QCOMPARE(basic::CDbl(currency->value({Variant("EXCHANGE_RATE")})), 1.15);
        QCOMPARE(currency->call(QStringLiteral("Read"), {Variant(int32_t(3))}), Variant(false));
        ObjectRef pricing = obj(ws->call(QStringLiteral("CreateObject"), {Variant("Pricing")}));
        QCOMPARE(basic::CDbl(pricing->call(QStringLiteral("CustomerUnitPrice"),
                                           {Variant("HOME01"), Variant("GADGET")})),
                 22.0);
        QCOMPARE(basic::CDbl(pricing->call(QStringLiteral("CustomerUnitPrice"),
                                           {Variant("EURO01"), Variant("GADGET")})),
                 25.5);
        QCOMPARE(errorOf([&] { ws->call(QStringLiteral("CreateObject"), {Variant("PurchaseRecord")}); }),
                 vdo::errors::UnknownObject);
    }

    void postInvoiceAndReadBack()
    {
        ObjectRef ws = connected();
        ObjectRef post = invoice(ws);
        const int next = basic::CLng(post->call(QStringLiteral("GetNextNumber")));
        QCOMPARE(basic::CLng(post->call(QStringLiteral("GetNextNumber"))), next);
        post->put(QStringLiteral("Header"), Variant(24.0), {Variant("Amount_prepaid")});
        post->put(QStringLiteral("Header"), Variant("1200"), {Variant("BANK_CODE")});
        post->put(QStringLiteral("Header"), Variant(int16_t(3)), {Variant("Payment_type")});
        ObjectRef items = obj(post->get(QStringLiteral("Items")));
        ObjectRef service = obj(items->call(QStringLiteral("Add")));
        service->setValue({Variant("STOCK_CODE")}, Variant("S3"));
        service->setValue({Variant("SERVICE_FLAG")}, Variant(uint8_t(2)));
        service->setValue({Variant("Tax_Code")}, Variant(int16_t(0)));
        service->put(QStringLiteral("Text"), Variant("first\r\nsecond"));
        obj(obj(service->get(QStringLiteral("Fields")))->call(QStringLiteral("Item"), {Variant("TEXT")}))
            ->put(QStringLiteral("Value"), Variant("Services rendered"));
        QCOMPARE(basic::CLng(items->get(QStringLiteral("Count"))), 2);
        QCOMPARE(basic::CStr(obj(items->call(QStringLiteral("Item"), {Variant(int32_t(1))}))
                                 ->value({Variant("stock_code")})),
                 QStringLiteral("WIDGET"));
        // The customer's default tax code came with the account.
        QCOMPARE(basic::CLng(post->get(QStringLiteral("Header"), {Variant("def_tax_code")})), 1);
        // Nothing paid reads as empty text before a payment is given.
        QCOMPARE(basic::CStr(invoice(ws)->get(QStringLiteral("Header"), {Variant("AMOUNT_PREPAID")})),
                 QString());

        QCOMPARE(post->call(QStringLiteral("Update")), Variant(true));
        QCOMPARE(basic::CLng(post->get(QStringLiteral("Header"), {Variant("INVOICE_NUMBER")})), next);
        // Posting the same object again would post the document twice.
        QCOMPARE(post->call(QStringLiteral("Update")), Variant(false));

        // The next lookup sees the number at once.
        ObjectRef record = obj(ws->call(QStringLiteral("CreateObject"), {Variant("InvoiceRecord")}));
        obj(obj(record->get(QStringLiteral("Fields")))
                ->call(QStringLiteral("Item"), {Variant("invoice_number")}))
            ->put(QStringLiteral("Value"), Variant(int16_t(next)));
        QCOMPARE(record->call(QStringLiteral("Find"), {Variant(false)}), Variant(true));

        const QJsonObject doc = listed().last().toObject();
        QCOMPARE(doc.value(QStringLiteral("INVOICE_NUMBER")).toInt(), next);
        QCOMPARE(doc.value(QStringLiteral("TYPE")).toInt(), 261);
        QCOMPARE(doc.value(QStringLiteral("INVOICE_DATE")).toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(doc.value(QStringLiteral("ITEMS_NET")).toDouble() +
                     doc.value(QStringLiteral("ITEMS_TAX")).toDouble(),
                 24.0);
        QCOMPARE(doc.value(QStringLiteral("AMOUNT_PREPAID")).toDouble(), 24.0);
        const QJsonArray items2 = doc.value(QStringLiteral("items")).toArray();
        QCOMPARE(items2.size(), 2);
        QCOMPARE(items2[0].toObject().value(QStringLiteral("QTY_ORDER")).toDouble(), 2.0);
        QCOMPARE(items2[1].toObject().value(QStringLiteral("TEXT")).toString(),
                 QStringLiteral("Services rendered"));
        QCOMPARE(items2[1].toObject().value(QStringLiteral("SERVICE_TEXT")).toString(),
                 QStringLiteral("first\r\nsecond"));
    }

    void postCreditAndOrder()
    {
        ObjectRef ws = connected();
        ObjectRef credit = invoice(ws);
        credit->put(QStringLiteral("Type"), Variant(int32_t(265)));
        credit->put(QStringLiteral("Header"), Variant(uint8_t(3)), {Variant("INVOICE_TYPE_CODE")});
        credit->put(QStringLiteral("Header"), Variant(""), {Variant("INVOICE_NUMBER")}); // given at commit
        const int next = basic::CLng(credit->call(QStringLiteral("GetNextNumber")));
        QCOMPARE(credit->call(QStringLiteral("Update")), Variant(true));
        QCOMPARE(basic::CLng(credit->get(QStringLiteral("Header"), {Variant("INVOICE_NUMBER")})), next);

        ObjectRef order = obj(ws->call(QStringLiteral("CreateObject"), {Variant("SOPPost")}));
        order->put(QStringLiteral("Header"), Variant("EURO01"), {Variant("ACCOUNT_REF")});
        order->put(QStringLiteral("Header"), Variant(int32_t(0)), {Variant("STATUS")});
        order->put(QStringLiteral("Header"), Variant("PO-7"), {Variant("CUST_ORDER_NUMBER")});
        order->put(QStringLiteral("Header"),
                   Variant(int32_t(order->call(QStringLiteral("GetNextNumber")).intValue())),
                   {Variant("Order_Number")});
        ObjectRef line = obj(obj(order->get(QStringLiteral("Items")))->call(QStringLiteral("Add")));
        line->setValue({Variant("STOCK_CODE")}, Variant("GADGET"));
        line->setValue({Variant("TAX_CODE")}, Variant(int16_t(0)));
        QCOMPARE(order->call(QStringLiteral("Update")), Variant(true));

        const QJsonArray docs = listed();
        const QJsonObject last = docs.last().toObject();
        QCOMPARE(last.value(QStringLiteral("DOCUMENT_KIND")).toString(), QStringLiteral("order"));
        QCOMPARE(last.value(QStringLiteral("ORDER_NUMBER")).toInt(), 1);
        QCOMPARE(last.value(QStringLiteral("CUST_ORDER_NUMBER")).toString(), QStringLiteral("PO-7"));
        QCOMPARE(docs[docs.size() - 2].toObject().value(QStringLiteral("DOCUMENT_KIND")).toString(),
                 QStringLiteral("credit"));
    }

    void refusedUpdateChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("reason");
        QTest::addRow("unknown customer") << QByteArray() << "NOBODY"
                                          << "unknown customer";
        QTest::addRow("fault: commit refused") << QByteArray("refuse_commit") << "HOME01"
                                               << "fault injection";
    }
    void refusedUpdateChangesNothing()
    {
        QFETCH(QByteArray, faults);
        QFETCH(QString, account);
        QFETCH(QString, reason);
        ObjectRef ws = connected();
        const QJsonArray before = listed();
        ObjectRef post = invoice(ws);
        post->put(QStringLiteral("Header"), Variant(account), {Variant("ACCOUNT_REF")});
        if (!faults.isEmpty())
            qputenv("VORLEN_FAULTS", faults);
        const Variant result = post->call(QStringLiteral("Update"));
        qunsetenv("VORLEN_FAULTS");
        QCOMPARE(result, Variant(false));
        QVERIFY(basic::CStr(post->get(QStringLiteral("RefusalReason"))).contains(reason));
        QCOMPARE(listed(), before);
    }

    void lockedLedgerRaisesOnUpdate()
    {
        ObjectRef ws = connected();
        ObjectRef post = invoice(ws);
        const QJsonArray before = listed();
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open((m_company + QStringLiteral("/ACCDATA/ledger.sqlite")).toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        QString description;
        const int error = errorOf([&] { post->call(QStringLiteral("Update")); }, &description);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(error, vdo::errors::CompanyDataLocked);
        QVERIFY2(description.contains(QStringLiteral("ledger.sqlite")), qPrintable(description));
        QCOMPARE(listed(), before);
        // Once the other program lets go, the same document posts.
        QCOMPARE(post->call(QStringLiteral("Update")), Variant(true));
    }

    void memberRaisesInjectedError()
    {
        // Set before the object is made: the engine reads the variable then.
        const Faults f("raise=find:3021");
        ObjectRef ws = connected();
        ObjectRef stock = obj(ws->call(QStringLiteral("CreateObject"), {Variant("StockRecord")}));
        stock->setValue({Variant("STOCK_CODE")}, Variant("WIDGET"));
        QCOMPARE(errorOf([&] { stock->call(QStringLiteral("Find"), {Variant(false)}); }), 3021);
    }

    void disconnectedObjectsRaise()
    {
        ObjectRef ws = connected();
        ObjectRef stock = obj(ws->call(QStringLiteral("CreateObject"), {Variant("StockRecord")}));
        ws->call(QStringLiteral("Disconnect"));
        stock->setValue({Variant("STOCK_CODE")}, Variant("WIDGET"));
        QCOMPARE(errorOf([&] { stock->call(QStringLiteral("Find"), {Variant(false)}); }),
                 vdo::errors::NotConnected);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
