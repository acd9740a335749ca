// Stage two and the driver against the package stand-in: each case imports a small
// file into a fresh company and reads back what was posted.
#include "tests/import/ImportHarness.h"

#include "app/import/Rounding.h"
#include "app/import/StageOne.h"
#include "app/import/StageTwo.h"
#include "app/import/driver/ImportDriver.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

// The edition that allows service lines ("S3"). Tax rates 0, 20 and 5 per cent;
// pounds (rate 1), euros (1.5), a currency whose rate was never set (0) and dollars
// (2); a bank account in pounds and one in euros, none in dollars.
const char* const BaseSeed = R"({
  "version": "23.0", "name": "Posting Test Ltd", "program_type": 1,
  "users": [{"name": "MANAGER", "password": "secret"}],
  "setup": {"STOCK_UNITDP": 4, "STOCK_QTYDP": 3, "INVOICE_CARR_NET": 0, "INVOICE_CARR_NOMINAL": "4905",
            "INVOICE_DEF_SRVTEXT": "Service"},
  "control": {"T0_RATE": 0, "T1_RATE": 20, "T2_RATE": 5, "T9_RATE": 17.5},
  "currencies": [{"CODE": "GBP", "EXCHANGE_RATE": 1}, {"CODE": "EUR", "EXCHANGE_RATE": 1.5},
                 {"CODE": "XXX", "EXCHANGE_RATE": 0}, {"CODE": "USD", "EXCHANGE_RATE": 2}],
  "customers": [
    {"ACCOUNT_REF": "C001", "NAME": "First Customer", "ADDRESS_1": "1 High St", "DEF_NOM_CODE": "4010",
     "DEPT_NUMBER": 3, "DEL_NAME": "Goods In", "DEL_ADDRESS_1": "Dock 4",
     "SETTLEMENT_DISC_RATE": 2.5, "SETTLEMENT_DUE_DAYS": 14},
    {"ACCOUNT_REF": "C002", "NAME": "Second Customer"},
    {"ACCOUNT_REF": "E001", "NAME": "Euro Customer", "CURRENCY": 1},
    {"ACCOUNT_REF": "T001", "NAME": "Taxed Customer", "OVERRIDE_PRODUCT_TAX": true, "DEF_TAX_CODE": 2},
    {"ACCOUNT_REF": "D001", "NAME": "Discount Customer", "DISCOUNT_RATE": 10, "DISCOUNT_TYPE": 1},
    {"ACCOUNT_REF": "X001", "NAME": "Rateless Customer", "CURRENCY": 2},
    {"ACCOUNT_REF": "U001", "NAME": "Dollar Customer", "CURRENCY": 3}
  ],
  "products": [
    {"STOCK_CODE": "P1", "DESCRIPTION": "Widget", "UNIT_OF_SALE": "Each", "NOMINAL_CODE": "4000",
     "SALES_PRICE": 10, "TAX_CODE": 1},
    {"STOCK_CODE": "P2", "DESCRIPTION": "Gadget", "SALES_PRICE": 4, "TAX_CODE": 2},
    {"STOCK_CODE": "P0", "DESCRIPTION": "Free sample", "SALES_PRICE": 0, "TAX_CODE": 1}
  ],
  "nominals": [{"ACCOUNT_REF": "4000"}, {"ACCOUNT_REF": "4010"}, {"ACCOUNT_REF": "4905"},
               {"ACCOUNT_REF": "1200"}],
  "banks": [{"ACCOUNT_REF": "1200", "NAME": "Current", "CURRENCY": 0},
            {"ACCOUNT_REF": "1210", "NAME": "Euro account", "CURRENCY": 1}],
  "prices": [{"ACCOUNT_REF": "D001", "STOCK_CODE": "P1", "PRICE": 8}]
})";

// Takes the "seed.section.FIELD=value" entries out of a settings list, as changes
// to the base seed's objects ("seed.setup.INVOICE_CARR_NET=5").
QJsonObject takeSeedChanges(QStringList& settings)
{
    QJsonObject changes;
    for (auto it = settings.begin(); it != settings.end();) {
        if (!it->startsWith(QLatin1String("seed."))) {
            ++it;
            continue;
        }
        const QString path = it->section(QLatin1Char('='), 0, 0);
        const QString text = it->section(QLatin1Char('='), 1);
        const QString section = path.section(QLatin1Char('.'), 1, 1);
        if (path.count(QLatin1Char('.')) == 1) {
            changes.insert(section, text); // a top-level value: "seed.version=17.0"
            it = settings.erase(it);
            continue;
        }
        QJsonObject object = changes.value(section).toObject();
        const auto number = basic::parseNumber(text);
        QJsonValue v = number ? QJsonValue(*number) : QJsonValue(text);
        if (text == QLatin1String("true") || text == QLatin1String("false"))
            v = QJsonValue(text == QLatin1String("true"));
        object.insert(path.section(QLatin1Char('.'), 2), v);
        changes.insert(section, object);
        it = settings.erase(it);
    }
    return changes;
}

// A fresh company, the driver's settings, and the posted documents read back.
struct PostingFixture
{
    explicit PostingFixture(const QJsonObject& changes = {})
    {
        QJsonObject seed = QJsonDocument::fromJson(BaseSeed).object();
        for (auto it = changes.begin(); it != changes.end(); ++it) {
            if (it.value().isObject() && seed.value(it.key()).isObject()) {
                QJsonObject merged = seed.value(it.key()).toObject();
                const QJsonObject more = it.value().toObject();
                for (auto m = more.begin(); m != more.end(); ++m)
                    merged.insert(m.key(), m.value());
                seed.insert(it.key(), merged);
            } else {
                seed.insert(it.key(), it.value());
            }
        }
        folder = h.dir.filePath(QStringLiteral("real"));
        company::createCompany(seed, folder, QStringLiteral("test seed"));
        // Each case starts from the defaults: the settings store outlives a case.
        static const QStringList keptFromHarness = {"pellmoorconfigdir", "VorlenDataPath", "VorlenUsername",
                                                    "iors", "importtransno", "CheckFileFormat", "ImportHeaders"};
        for (const auto& key : settings::knownKeys()) {
            if (!keptFromHarness.contains(QLatin1String(key.key), Qt::CaseInsensitive))
                h.setSetting(QLatin1String(key.key), QLatin1String(key.defaultValue));
        }
        h.setSetting(QStringLiteral("VorlenDataPath"), folder);
        h.setSetting(QStringLiteral("VorlenPassword"), QStringLiteral("secret"));
        h.settingsForm.datapath = folder;
        h.context.createEngine = [](const QString& id) { return automation::createObject(id); };
        // The connection shows the version of the settings form's hidden box.
        h.settingsForm.hiddenVersion = seed.value(QStringLiteral("version")).toString();
        h.window.corvelVersion = QStringLiteral("V") + h.settingsForm.hiddenVersion.left(2);
    }

    QJsonArray posted()
    {
        auto ledger = company::Ledger::open(
            company::folder::ledgerFileOf(company::folder::accdataOf(folder)));
        return ledger->listDocuments();
    }

    // "key=value" pairs of the settings store; "form.box=n" ticks a settings-form box.
    void setSettings(const QStringList& pairs)
    {
        for (const QString& pair : pairs) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            const QString value = pair.section(QLatin1Char('='), 1);
            if (key == QLatin1String("form.takePriceIfZero"))
                h.settingsForm.takePriceIfZero = value.toInt();
            else if (key == QLatin1String("form.overrideDescription"))
                h.settingsForm.overrideDescription = value.toInt();
            else if (key == QLatin1String("form.customerPricing"))
                h.settingsForm.customerPricing = value.toInt();
            else if (key.startsWith(QLatin1String("env.")))
                qputenv(key.mid(4).toLatin1().constData(), value.toLatin1());
            else
                h.setSetting(key, value);
        }
    }

    ImportHarness h;
    QString folder;
};

const QStringList ItemLayout = {"Transaction Type", "Account Reference", "Transaction Date", "Product Code",
                                "Quantity",         "Unit Price"};

// "FIELD" of a document, or "items.N.FIELD" of its item N (from 1).
QJsonValue valueAt(const QJsonObject& document, const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    if (parts.size() == 3 && parts[0] == QLatin1String("items"))
        return document.value(QStringLiteral("items")).toArray().at(parts[1].toInt() - 1).toObject().value(
            parts[2]);
    return document.value(path);
}

// Compares "PATH=value" expectations; numbers to the cent.
void compareFields(const QJsonObject& document, const QStringList& expected)
{
    for (const QString& e : expected) {
        const QString path = e.section(QLatin1Char('='), 0, 0);
        const QString want = e.section(QLatin1Char('='), 1);
        const QJsonValue got = valueAt(document, path);
        if (got.isDouble()) {
            const auto wanted = basic::parseNumber(want);
            QVERIFY2(wanted && qAbs(got.toDouble() - *wanted) < 0.005,
                     qPrintable(path + QStringLiteral(": got ") + QString::number(got.toDouble(), 'f', 6) +
                                QStringLiteral(", expected ") + want));
        } else if (got.isNull() || got.isUndefined()) {
            QVERIFY2(want == QLatin1String("null"), qPrintable(path + QStringLiteral(": unset, expected ") + want));
        } else {
            const QString text = got.isBool() ? (got.toBool() ? QStringLiteral("true") : QStringLiteral("false"))
                                              : got.toString();
            QVERIFY2(text == want, qPrintable(path + QStringLiteral(": got ") + text + QStringLiteral(", expected ") +
                                              want));
        }
    }
}

} // namespace

class TestStageTwo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(BinDir + QStringLiteral("/vdo/vlvdoengine230.dll")))
            QSKIP("the package stand-in is not built");
        for (const char* library : {"vlvdoengine230.dll", "vlvdoengine170.dll"}) {
            QProcess p;
            p.start(BinDir + QStringLiteral("/regsvr"),
                    {BinDir + QStringLiteral("/vdo/") + QLatin1String(library), QStringLiteral("/s")});
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.exitCode(), 0);
        }
    }

    void cleanup() { qunsetenv("VORLEN_FAULTS"); }

    void roundToTwoPlaces_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::addRow("exact") << 12.34 << 12.34;
        QTest::addRow("half rounds up") << 0.125 << 0.13;
        QTest::addRow("negative half rounds towards plus infinity") << -0.125 << -0.12;
        QTest::addRow("negative half, larger") << -1.235 << -1.23;
        QTest::addRow("a hair below a half still rounds up") << 1.005 << 1.01;
        QTest::addRow("below a half rounds down") << 2.344 << 2.34;
        QTest::addRow("negative below a half") << -2.344 << -2.34;
        QTest::addRow("negative above a half") << -2.346 << -2.35;
        QTest::addRow("quarter of a penny") << 0.005 << 0.01;
        QTest::addRow("zero") << 0.0 << 0.0;
        QTest::addRow("largest that fits") << 21474836.47 << 21474836.47;
    }

    void roundToTwoPlaces()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(importer::RoundToTwoPlaces(value), rounded);
    }

    void roundToTwoPlacesOverflows_data()
    {
        QTest::addColumn<double>("value");
        QTest::addRow("just past the 32-bit hundredths") << 21474836.48;
        QTest::addRow("large negative") << -21474836.50;
        QTest::addRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    }

    void roundToTwoPlacesOverflows()
    {
        QFETCH(double, value);
        try {
            importer::RoundToTwoPlaces(value);
            QFAIL("no overflow raised");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::Overflow);
        }
    }

    // One document of a few lines; each row names what the posted document holds.
    void postsDocument_data()
    {
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");

        const QStringList base = ItemLayout;
        QTest::addRow("plain invoice line from the product")
            << base << QStringList() << QByteArray("I,C001,01/12/2026,P1,3,10\r\n")
            << QStringList{"DOCUMENT_KIND=invoice", "TYPE=261", "INVOICE_TYPE_CODE=0", "NAME=First Customer",
                           "ADDRESS_1=1 High St", "INVOICE_DATE=2026-12-01", "PAYMENT_REF=IMPORT",
                           "TAKEN_BY=MANAGER", "GLOBAL_NOM_CODE=", "FOREIGN_RATE=1", "CURRENCY=0",
                           "items.1.DESCRIPTION=Widget", "items.1.UNIT_OF_SALE=Each", "items.1.NOMINAL_CODE=4000",
                           "items.1.QTY_ORDER=3", "items.1.UNIT_PRICE=10", "items.1.NET_AMOUNT=30",
                           "items.1.FULL_NET_AMOUNT=30", "items.1.TAX_CODE=1", "items.1.TAX_RATE=20",
                           "items.1.TAX_AMOUNT=6", "items.1.DEPT_NUMBER=3", "ITEMS_NET=30", "ITEMS_TAX=6"};
        QTest::addRow("lower-case c is a credit note")
            << base << QStringList() << QByteArray("c,C001,01/12/2026,P1,1,10\r\n")
            << QStringList{"DOCUMENT_KIND=credit", "TYPE=265", "INVOICE_TYPE_CODE=3"};
        QTest::addRow("date of eight digits is day, month, year")
            << base << QStringList() << QByteArray("I,C001,05112026,P1,1,10\r\n")
            << QStringList{"INVOICE_DATE=2026-11-05"};
        QTest::addRow("a hair below a half rounds the net up")
            << base << QStringList() << QByteArray("I,C001,01/12/2026,P1,1,1.005\r\n")
            << QStringList{"items.1.NET_AMOUNT=1.01", "items.1.UNIT_PRICE=1.005"};
        QTest::addRow("quantity 2 at 0.0025")
            << base << QStringList() << QByteArray("I,C001,01/12/2026,P1,2,0.0025\r\n")
            << QStringList{"items.1.NET_AMOUNT=0.01"};
        QTest::addRow("foreign price option multiplies by the rate")
            << base << QStringList{"checkfcprice=1"} << QByteArray("I,E001,01/12/2026,P1,3,10\r\n")
            << QStringList{"FOREIGN_RATE=1.5", "CURRENCY=1", "items.1.UNIT_PRICE=15", "items.1.NET_AMOUNT=45",
                           "items.1.FULL_NET_AMOUNT=45"};
        QTest::addRow("no price column takes the product's price")
            << QStringList{"Transaction Type", "Account Reference", "Transaction Date", "Product Code", "Quantity"}
            << QStringList() << QByteArray("I,C001,01/12/2026,P2,2\r\n")
            << QStringList{"items.1.UNIT_PRICE=4", "items.1.NET_AMOUNT=8", "items.1.TAX_CODE=2",
                           "items.1.TAX_AMOUNT=0.4"};
        const QStringList amount = base + QStringList{"Discount Amount"};
        QTest::addRow("discount amount 10 on 100")
            << amount << QStringList() << QByteArray("I,C001,01/12/2026,P1,10,10,10\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=10", "items.1.NET_AMOUNT=90", "items.1.ADD_DISC_RATE=10",
                           "items.1.TAX_AMOUNT=18"};
        QTest::addRow("discount amount 0 changes nothing")
            << amount << QStringList() << QByteArray("I,C001,01/12/2026,P1,10,10,0\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=0", "items.1.NET_AMOUNT=100"};
        QTest::addRow("discount amount less the customer's rate")
            << amount << QStringList() << QByteArray("I,D001,01/12/2026,P1,10,10,10\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=10", "items.1.NET_AMOUNT=90", "items.1.ADD_DISC_RATE=0"};
        const QStringList rate = base + QStringList{"Discount Rate"};
        QTest::addRow("discount rate 12.5 on 200")
            << rate << QStringList() << QByteArray("I,C001,01/12/2026,P1,20,10,12.5\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=25", "items.1.NET_AMOUNT=175", "items.1.ADD_DISC_RATE=12.5"};
        QTest::addRow("discount rate rounds the discount")
            << rate << QStringList() << QByteArray("I,C001,01/12/2026,P1,3,9.99,12.5\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=3.75", "items.1.NET_AMOUNT=26.22"};
        const QStringList unitDiscount = base + QStringList{"Unit Discount Price"};
        QTest::addRow("unit discount price 8 on 10")
            << unitDiscount << QStringList() << QByteArray("I,C001,01/12/2026,P1,5,10,8\r\n")
            << QStringList{"items.1.ADD_DISC_RATE=20", "items.1.DISCOUNT_AMOUNT=10", "items.1.NET_AMOUNT=40"};
        QTest::addRow("unit discount price equal to the price changes nothing")
            << unitDiscount << QStringList() << QByteArray("I,C001,01/12/2026,P1,5,10,10\r\n")
            << QStringList{"items.1.DISCOUNT_AMOUNT=0", "items.1.NET_AMOUNT=50"};
        QTest::addRow("zero price takes the product's price and its net")
            << base << QStringList{"form.takePriceIfZero=1"} << QByteArray("I,C001,01/12/2026,P1,3,0\r\n")
            << QStringList{"items.1.UNIT_PRICE=10", "items.1.NET_AMOUNT=30", "items.1.FULL_NET_AMOUNT=30",
                           "items.1.TAX_AMOUNT=6"};
        QTest::addRow("zero price without the option stays zero")
            << base << QStringList() << QByteArray("I,C001,01/12/2026,P1,3,0\r\n")
            << QStringList{"items.1.UNIT_PRICE=0", "items.1.NET_AMOUNT=0"};
        QTest::addRow("the file's description over the product's")
            << base + QStringList{"Product Description"} << QStringList{"form.overrideDescription=1"}
            << QByteArray("I,C001,01/12/2026,P1,1,10,Blue widget\r\n")
            << QStringList{"items.1.DESCRIPTION=Blue widget"};
        const QStringList tax = base + QStringList{"Line Tax Code", "Product Description"};
        QTest::addRow("line tax code 0 is taken")
            << tax << QStringList() << QByteArray("I,C001,01/12/2026,P1,1,10,0,\r\n")
            << QStringList{"items.1.TAX_CODE=0", "items.1.TAX_AMOUNT=0", "items.1.TAX_RATE=0"};
        QTest::addRow("S1 is tax code 1 whatever the line says")
            << tax << QStringList() << QByteArray("I,C001,01/12/2026,S1,1,10,2,Delivery\r\n")
            << QStringList{"items.1.TAX_CODE=1", "items.1.TAX_AMOUNT=2", "items.1.SERVICE_FLAG=0"};
        QTest::addRow("S2 is tax code 0")
            << tax << QStringList() << QByteArray("I,C001,01/12/2026,S2,1,10,1,Insurance\r\n")
            << QStringList{"items.1.TAX_CODE=0", "items.1.TAX_AMOUNT=0"};
        QTest::addRow("customer overriding product tax: the line's rate is its code's")
            << base << QStringList() << QByteArray("I,T001,01/12/2026,P1,1,100\r\n")
            << QStringList{"items.1.TAX_CODE=2", "items.1.TAX_RATE=5", "items.1.TAX_AMOUNT=5",
                           "GLOBAL_TAX_CODE=2"};
        QTest::addRow("settlement terms from the customer")
            << base << QStringList{"CheckSettlementDiscount=1"} << QByteArray("I,C001,01/12/2026,P1,10,10\r\n")
            << QStringList{"SETTLEMENT_DISC_RATE=2.5", "SETTLEMENT_DUE_DAYS=14", "items.1.TAX_AMOUNT=19.5"};
        QTest::addRow("delivery address from the customer")
            << base << QStringList{"CheckDeliveryAddress=1"} << QByteArray("I,C001,01/12/2026,P1,1,10\r\n")
            << QStringList{"DELIVERY_NAME=Goods In", "DEL_ADDRESS_1=Dock 4"};
        QTest::addRow("delivery name mapped but empty: the file wins")
            << base + QStringList{"Delivery Address Name"} << QStringList{"CheckDeliveryAddress=1"}
            << QByteArray("I,C001,01/12/2026,P1,1,10,\r\n")
            << QStringList{"DELIVERY_NAME=", "DEL_ADDRESS_1=Dock 4"};
        QTest::addRow("customer price and discount")
            << base << QStringList{"CheckCustomerPricing=1"} << QByteArray("I,D001,01/12/2026,P1,10,10\r\n")
            << QStringList{"items.1.UNIT_PRICE=8", "items.1.DISCOUNT_AMOUNT=8", "items.1.NET_AMOUNT=72",
                           "CUST_DISC_RATE=10"};
        QTest::addRow("message line carries no amounts")
            << base + QStringList{"Product Description"} << QStringList()
            << QByteArray("I,C001,01/12/2026,P1,1,10,\r\nI,C001,01/12/2026,M,,,Note to customer\r\n")
            << QStringList{"items.2.STOCK_CODE=M", "items.2.DESCRIPTION=Note to customer", "items.2.NET_AMOUNT=0",
                           "items.2.QTY_ORDER=0", "ITEMS_NET=10", "ITEMS_TAX=2"};
        QTest::addRow("service line text")
            << base + QStringList{"Details Line 1", "Details Line 2", "Details Line 3", "Product Description"}
            << QStringList()
            << QByteArray("I,C001,01/12/2026,S3,1,50,First,,Third,Labour\r\nI,C001,01/12/2026,P1,1,10,,,,\r\n")
            << QStringList{"items.1.SERVICE_FLAG=2", "items.1.SERVICE_TEXT=First\r\n\r\nThird",
                           "items.1.TEXT=Service", "items.1.NOMINAL_CODE=4010", "items.2.SERVICE_FLAG=0"};

        const QStringList carriage = base + QStringList{"Carr Net", "Carr Tax Code", "Carr Tax Amount"};
        QTest::addRow("carriage tax computed from the code")
            << carriage << QStringList() << QByteArray("I,C001,01/12/2026,P1,1,10,10,9,\r\n")
            << QStringList{"CARR_NET=10", "CARR_TAX_CODE=9", "CARR_TAX=1.75", "CARR_NOM_CODE=4905",
                           "ITEMS_NET=20", "ITEMS_TAX=3.75"};
        QTest::addRow("carriage tax amount given is kept")
            << carriage << QStringList() << QByteArray("I,C001,01/12/2026,P1,1,10,10,9,2\r\n")
            << QStringList{"CARR_TAX=2", "ITEMS_TAX=4"};
        QTest::addRow("no code on a line: the document's code decides the tax")
            << carriage << QStringList()
            << QByteArray("I,C001,01/12/2026,P1,1,10,10,1,\r\nI,C001,01/12/2026,P1,1,10,10,,5\r\n")
            << QStringList{"CARR_NET=10", "CARR_TAX=2"};
        QTest::addRow("carriage dropped by the last line takes no tax")
            << carriage << QStringList()
            << QByteArray("I,C001,01/12/2026,P1,1,10,10,1,\r\nI,C001,01/12/2026,P1,1,10,,,\r\n")
            << QStringList{"CARR_NET=0", "CARR_TAX=0", "CARR_NOM_CODE=4905", "ITEMS_NET=20", "ITEMS_TAX=4"};
        QTest::addRow("carriage option in a foreign currency")
            << base << QStringList{"CheckCarriageCharge=1", "seed.setup.INVOICE_CARR_NET=5"}
            << QByteArray("I,E001,01/12/2026,P1,1,10\r\n")
            << QStringList{"CARR_NET=7.5", "CARR_TAX=1.5", "CARR_TAX_CODE=1", "ITEMS_NET=17.5"};
        const QStringList bands = {"CheckCustomerPricing=1", "seed.setup.SALES_AMOUNT_SOLD_10=0",
                                   "seed.setup.SALES_ADD_DISC_10=50", "seed.setup.SALES_AMOUNT_SOLD_9=1000",
                                   "seed.setup.SALES_ADD_DISC_9=5", "seed.setup.SALES_AMOUNT_SOLD_5=500",
                                   "seed.setup.SALES_ADD_DISC_5=2"};
        QTest::addRow("invoice-value band 9 re-prices the lines")
            << base << bands << QByteArray("I,D001,01/12/2026,P1,150,8\r\n")
            << QStringList{"items.1.DISCOUNT_RATE=5", "items.1.DISCOUNT_AMOUNT=180", "items.1.NET_AMOUNT=1020",
                           "items.1.TAX_AMOUNT=204", "ITEMS_NET=1020", "ITEMS_TAX=204"};
        QTest::addRow("invoice-value band 5")
            << base << bands << QByteArray("I,D001,01/12/2026,P1,80,8\r\n")
            << QStringList{"items.1.DISCOUNT_RATE=2", "items.1.DISCOUNT_AMOUNT=76.8", "ITEMS_NET=563.2",
                           "ITEMS_TAX=112.64"};
        QTest::addRow("below every band")
            << base << bands << QByteArray("I,D001,01/12/2026,P1,50,8\r\n")
            << QStringList{"items.1.DISCOUNT_RATE=0", "ITEMS_NET=360"};
        QTest::addRow("cash with invoice pays the total")
            << base + QStringList{"Bank Account"} << QStringList{"CheckCashwithinvoice=1"}
            << QByteArray("I,C001,01/12/2026,P1,10,10,1200\r\n")
            << QStringList{"PAYMENT_TYPE=3", "AMOUNT_PREPAID=120", "BANK_CODE=1200"};
        QTest::addRow("cash with invoice finds the bank in the customer's currency")
            << base << QStringList{"CheckCashwithinvoice=1"} << QByteArray("I,E001,01/12/2026,P1,10,10\r\n")
            << QStringList{"AMOUNT_PREPAID=120", "BANK_CODE=1210"};
        QTest::addRow("cash with invoice pays nothing on a credit note")
            << base << QStringList{"CheckCashwithinvoice=1"} << QByteArray("C,C001,01/12/2026,P1,10,10\r\n")
            << QStringList{"PAYMENT_TYPE=0", "AMOUNT_PREPAID=null", "BANK_CODE="};
        QTest::addRow("cash with invoice pays after the net-value discount")
            << base + QStringList{"Net Value Discount Amount", "Net Value Discount Description"}
            << QStringList{"CheckCashwithinvoice=1"} << QByteArray("I,C001,01/12/2026,P1,10,10,10,Loyalty\r\n")
            << QStringList{"NETVALUE_DISCOUNT=10", "NETVALUE_DESCRIPTION=Loyalty", "NETVALUE_DISCOUNT_PERCENT=10",
                           "AMOUNT_PREPAID=108"};
        QTest::addRow("payment values of the lines add up")
            << base + QStringList{"Payment Value", "Bank Account"} << QStringList()
            << QByteArray("I,C001,01/12/2026,P1,10,10,50,1200\r\nI,C001,01/12/2026,P1,10,10,50,1200\r\n"
                          "I,C001,01/12/2026,P1,10,10,50,1200\r\n")
            << QStringList{"PAYMENT_TYPE=3", "AMOUNT_PREPAID=150", "BANK_CODE=1200", "ITEMS_NET=300"};
        QTest::addRow("a payment total of 0 posts no payment")
            << base + QStringList{"Payment Value", "Bank Account"} << QStringList()
            << QByteArray("I,C001,01/12/2026,P1,10,10,0,1200\r\n")
            << QStringList{"PAYMENT_TYPE=0", "AMOUNT_PREPAID=null"};    }

    void postsDocument()
    {
        QFETCH(QStringList, layout);
        QFETCH(QStringList, settings);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        forms::ScopedScriptedMessages boxes;
        PostingFixture f(takeSeedChanges(settings));
        f.setSettings(settings);
        f.h.writeLayout(layout, {"Account Reference"});
        f.h.writeImport(file);
        boxes.service().queueAnswer(forms::AnswerYes);

        importer::RunImport(f.h.context);

        const QJsonArray docs = f.posted();
        QVERIFY2(docs.size() == 1, qPrintable(f.h.log.text));
        compareFields(docs.at(0).toObject(), expected);
        QVERIFY(f.h.context.state.pass.ImportOK);
    }

    // Whole imports through the driver: what the user is shown, the import log, what
    // is posted and whether the import counts as done.
    void driverOutcome_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("batch");
        QTest::addColumn<QString>("log"); // "*": not compared
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("posted");
        QTest::addColumn<bool>("importOK");
        QTest::addColumn<QStringList>("batchErrors");

        const QString confirm = QStringLiteral("Confirm\tProceed with invoice import?");
        const QString failed = QStringLiteral(
            "Quillar Validation\tUnable to import the invoice file as the file has failed validation. Please "
            "correct these problems before retrying the import.");
        const QString override = QStringLiteral("Override Lock Down Date\tLock down date is 30/11/2026 There are "
                                                "transactions on or before this date - do you want to override");
        const QString lockDownEntry = QStringLiteral(
            "Lock down date is  30/11/2026 There are transactions on or before this date 29/11/2026. Row 0 column "
            "0.");
        const QStringList lockDown = {"seed.setup.CLOSED_LEDGER_DATE_CONTROL_ENABLED=true",
                                      "seed.setup.CLOSED_LEDGER_CHECK_DATE=2026-11-30"};
        const QByteArray lockedFile = "I,C001,01/12/2026,P1,1,10\r\nI,C002,29/11/2026,P1,1,10\r\n";
        const QStringList pay = ItemLayout + QStringList{"Payment Value", "Bank Account"};

        QTest::addRow("keys A, A, B, A make three documents")
            << QStringList() << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\nI,C001,01/12/2026,P2,1,4\r\nI,E001,01/12/2026,P1,1,10\r\n"
                          "I,C001,01/12/2026,P1,2,10\r\n")
            << QStringList{"Yes"} << false
            << QStringLiteral("Invoice No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n"
                              "Invoice No 2 for EURO CUSTOMER (Unique No. E001) created.\r\n"
                              "Invoice No 3 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{confirm} << 3 << true << QStringList();
        QTest::addRow("lower-case i is an invoice")
            << QStringList() << ItemLayout << QByteArray("i,C001,01/12/2026,P1,1,10\r\n") << QStringList{"Yes"}
            << false << QStringLiteral("Invoice No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{confirm} << 1 << true << QStringList();
        QTest::addRow("credit note result line")
            << QStringList() << ItemLayout << QByteArray("C,C001,01/12/2026,P1,1,10\r\n") << QStringList{"Yes"}
            << false << QStringLiteral("Credit No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{confirm} << 1 << true << QStringList();
        QTest::addRow("sales orders")
            << QStringList{"iors=1"}
            << QStringList{"Account Reference", "Transaction Date", "Product Code", "Quantity", "Unit Price"}
            << QByteArray("C001,01/12/2026,P1,1,10\r\n") << QStringList{"Yes"} << false
            << QStringLiteral("Order No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{QStringLiteral("Confirm\tProceed with SOP import?")} << 1 << true << QStringList();
        QTest::addRow("document numbers from the file")
            << QStringList{"importtransno=1"} << ItemLayout + QStringList{"Transaction No"}
            << QByteArray("I,C001,01/12/2026,P1,1,10,5001\r\n") << QStringList{"Yes"} << false
            << QStringLiteral("Invoice No 5001 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{confirm} << 1 << true << QStringList();
        QTest::addRow("numbers of an older version come before the commit")
            << QStringList{"seed.version=17.0"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\n")
            << QStringList{"Yes"} << false
            << QStringLiteral("Invoice No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n")
            << QStringList{confirm} << 1 << true << QStringList();
        QTest::addRow("confirmation answered No posts nothing")
            << QStringList() << ItemLayout << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList{"No"}
            << false << QString() << QStringList{confirm} << 0 << false << QStringList();
        QTest::addRow("a stage-one error stops before stage two")
            << QStringList() << ItemLayout << QByteArray("I,ZZZZ,01/12/2026,P1,1,10\r\n") << QStringList()
            << false << QStringLiteral("*") << QStringList{failed} << 0 << false << QStringList();
        QTest::addRow("exchange rate of zero fails the validate pass")
            << QStringList() << ItemLayout << QByteArray("I,X001,01/12/2026,P1,1,10\r\n") << QStringList()
            << false << QStringLiteral("Customer Currency exchange rate in Vorlen is zero   Row 1.\r\n")
            << QStringList{failed} << 0 << false << QStringList();
        QTest::addRow("payment above the document's total")
            << QStringList() << pay << QByteArray("I,C001,01/12/2026,P1,1,100,150.5,1200\r\n") << QStringList()
            << false << QStringLiteral("Payment value cannot be greater than invoice value 150.5 Row 1.\r\n")
            << QStringList{failed} << 0 << false << QStringList();
        QTest::addRow("no bank account in the customer's currency")
            << QStringList{"CheckCashwithinvoice=1"} << ItemLayout << QByteArray("I,U001,01/12/2026,P1,1,100\r\n")
            << QStringList() << false
            << QStringLiteral("Bank account to match currency of customer not found  Row 1.\r\n")
            << QStringList{failed} << 0 << false << QStringList();
        QTest::addRow("refused commit is a failed import")
            << QStringList{"env.VORLEN_FAULTS=refuse_commit"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\nI,E001,01/12/2026,P1,1,10\r\n") << QStringList{"Yes"}
            << false
            << QStringLiteral("Invoice No 0 for FIRST CUSTOMER (Unique No. C001) failed on update.\r\n"
                              "Invoice No 0 for EURO CUSTOMER (Unique No. E001) failed on update.\r\n")
            << QStringList{confirm} << 0 << false << QStringList();
        QTest::addRow("type mismatch in the validate pass")
            << QStringList{"env.VORLEN_FAULTS=raise=Items:13"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList() << false << QStringLiteral("Error 13\r\n")
            << QStringList{QStringLiteral("Quillar - Validate and Import\tNumeric field contains invalid characters, "
                                          "Please check file structure in settings and try again."),
                           failed}
            << 0 << false << QStringList();
        QTest::addRow("package failure in the validate pass")
            << QStringList{"env.VORLEN_FAULTS=raise=Items:5"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList() << false << QStringLiteral("Error 5\r\n")
            << QStringList{QStringLiteral("Quillar Error\tAn error has occurred, the error number is 5 CTelNo. Please "
                                          "check file structure"),
                           failed}
            << 0 << false << QStringList();
        QTest::addRow("package failure in the import pass")
            << QStringList{"env.VORLEN_FAULTS=raise=Update:5"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList{"Yes"} << false
            << QStringLiteral("Error 5\r\n")
            << QStringList{confirm, QStringLiteral("Quillar Error\tAn error has occurred, the error number is 5 "
                                                   "netno,vatno,taxyes. Please check file structure")}
            << 0 << false << QStringList();
        QTest::addRow("lock-down overridden")
            << lockDown << ItemLayout << lockedFile << QStringList{"Yes", "Yes"} << false << QStringLiteral("*")
            << QStringList{override, confirm} << 2 << true << QStringList();
        QTest::addRow("lock-down not overridden")
            << lockDown << ItemLayout << lockedFile << QStringList{"No"} << false << lockDownEntry + "\r\n"
            << QStringList{override, failed} << 0 << false << QStringList();
        QTest::addRow("no lock-down before version 18")
            << lockDown + QStringList{"seed.version=17.0"} << ItemLayout << lockedFile << QStringList{"Yes"}
            << false << QStringLiteral("*") << QStringList{confirm} << 2 << true << QStringList();
        QTest::addRow("batch: lock-down is an error without a question")
            << lockDown << ItemLayout << lockedFile << QStringList() << true << lockDownEntry + "\r\n"
            << QStringList() << 0 << false << QStringList{lockDownEntry + "  row 0 Column 0"};
        QTest::addRow("batch: imports without asking")
            << QStringList() << ItemLayout << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList() << true
            << QStringLiteral("Invoice No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n") << QStringList()
            << 1 << true << QStringList();
        QTest::addRow("batch: a refused document goes into the batch list")
            << QStringList{"env.VORLEN_FAULTS=refuse_commit"} << ItemLayout
            << QByteArray("I,C001,01/12/2026,P1,1,10\r\n") << QStringList() << true << QStringLiteral("*")
            << QStringList() << 0 << false
            << QStringList{"Invoice No 0 for FIRST CUSTOMER (Unique No. C001) failed on update."};
        QTest::addRow("batch: stage-one errors end with one driver entry")
            << QStringList() << ItemLayout << QByteArray("I,ZZZZ,01/12/2026,P1,1,10\r\n") << QStringList() << true
            << QStringLiteral("*") << QStringList() << 0 << false
            << QStringList{"*", "Unable to import the invoice file as the file has failed validation"};
    }

    void driverOutcome()
    {
        QFETCH(QStringList, settings);
        QFETCH(QStringList, layout);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, answers);
        QFETCH(bool, batch);
        QFETCH(QString, log);
        QFETCH(QStringList, boxes);
        QFETCH(int, posted);
        QFETCH(bool, importOK);
        QFETCH(QStringList, batchErrors);
        forms::ScopedScriptedMessages scripted;
        PostingFixture f(takeSeedChanges(settings));
        f.setSettings(settings);
        f.h.writeLayout(layout, {"Account Reference"});
        f.h.writeImport(file);
        for (const QString& a : answers)
            scripted.service().queueAnswer(*forms::answerFromName(a));
        f.h.context.state.batch.BatchRunning = batch;

        importer::RunImport(f.h.context);

        if (log != QLatin1String("*"))
            QCOMPARE(f.h.log.text, log);
        QStringList shown;
        for (const auto& box : scripted.service().shown())
            shown << box.title + QLatin1Char('\t') + box.text;
        QCOMPARE(shown.join(QLatin1Char('|')), boxes.join(QLatin1Char('|')));
        QCOMPARE(f.posted().size(), posted);
        QCOMPARE(f.h.context.state.pass.ImportOK, importOK);
        QVERIFY(!f.h.context.state.package.VdoConnected || importOK);
        if (!batchErrors.isEmpty()) {
            const auto& list = f.h.context.state.batch.BatchErrors;
            QVERIFY(list.size() >= size_t(batchErrors.size()));
            // The expected entries end the list; "*" stands for any one entry.
            for (qsizetype i = 0; i < batchErrors.size(); ++i) {
                const QString want = batchErrors.at(batchErrors.size() - 1 - i);
                if (want != QLatin1String("*"))
                    QCOMPARE(list[list.size() - 1 - size_t(i)], want);
            }
        }
    }

    // Stage one found every customer; one went away before stage two.
    void customerGoneBetweenThePasses()
    {
        forms::ScopedScriptedMessages boxes;
        PostingFixture f;
        f.h.writeLayout(ItemLayout, {"Account Reference"});
        f.h.writeImport("I,C001,01/12/2026,P1,1,10\r\nI,C002,01/12/2026,P1,1,10\r\nI,C002,01/12/2026,P1,1,10\r\n"
                        "I,E001,01/12/2026,P1,1,10\r\n");
        f.h.context.state.pass.StageOneCompleted = true;
        importer::ValidateImportFile(f.h.context, QStringLiteral("frmmain"), QStringLiteral("validate"));
        QVERIFY(f.h.log.text.isEmpty());
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(company::folder::ledgerFileOf(
                                                        company::folder::accdataOf(f.folder)))
                                      .constData(),
                                  &db),
                     SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "DELETE FROM customers WHERE ACCOUNT_REF = 'C002'", nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
        }
        QTest::qWait(30); // past the engine's read snapshot

        importer::PostImportFile(f.h.context, QStringLiteral("frmmain"), QStringLiteral("validate"));
        QCOMPARE(f.h.log.text,
                 QStringLiteral("Account Reference C002 not found in Vorlen, document not imported. Row 2.\r\n"));
        QCOMPARE(f.h.errors.rows.size(), size_t(1));
        QCOMPARE(f.h.errors.rows[0].column, QStringLiteral("2"));
        QCOMPARE(f.h.errors.rows[0].value, QStringLiteral("C002"));
        QVERIFY(!f.h.context.state.pass.ValidateOK);
        QCOMPARE(f.h.context.state.line.TotalRows, 5);

        f.h.log.text.clear();
        importer::PostImportFile(f.h.context, QStringLiteral("frmmain"), QStringLiteral("import"));
        QCOMPARE(f.h.log.text,
                 QStringLiteral("Invoice No 1 for FIRST CUSTOMER (Unique No. C001) created.\r\n"
                                "Account Reference C002 not found in Vorlen, document not imported. Row 2.\r\n"
                                "Invoice No 2 for EURO CUSTOMER (Unique No. E001) created.\r\n"));
        QCOMPARE(f.posted().size(), 2);
        QVERIFY(!f.h.context.state.pass.ImportOK);
    }
};

int runStageTwoTests(int argc, char** argv)
{
    TestStageTwo t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_StageTwo.moc"
