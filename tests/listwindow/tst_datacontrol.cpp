// The data-control stand-in serves a table of a company's ledger record by record,
// with the field layout the bound controls pack rows by.
#include "package/company/CompanyFolder.h"
#include "package/company/Seed.h"
#include "package/datacontrol/DataControl.h"
#include "package/listwindow/ListMessages.h"

#include "platform/basic/RuntimeError.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using basic::Variant;

class TestDataControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void recordsInOrder();
    void fieldLayout();
    void findRecord();
    void badSourcesFailClearly();

private:
    QTemporaryDir m_dir;
    QString m_ledger;
};

void TestDataControl::initTestCase()
{
    QFile seed(QStringLiteral(QUILLAR_TEST_DATA "/package/small.json"));
    QVERIFY(seed.open(QIODevice::ReadOnly));
    const QString folder = m_dir.filePath(QStringLiteral("company"));
    company::createCompany(QJsonDocument::fromJson(seed.readAll()).object(), folder, QStringLiteral("small.json"));
    m_ledger = company::folder::ledgerFileOf(folder + QStringLiteral("/ACCDATA"));
    QVERIFY(QFile::exists(m_ledger));
}

void TestDataControl::recordsInOrder()
{
    vldata::DataControl data;
    data.put(QStringLiteral("DatabaseName"), m_ledger);
    data.put(QStringLiteral("RecordSource"), QStringLiteral("Customers"));
    data.call(QStringLiteral("Refresh"));
    int32_t count = -1;
    QCOMPARE(data.GetRecordCount(count), 0);
    QCOMPARE(count, 2);
    std::shared_ptr<vldata::FieldLayout> layout;
    QCOMPARE(data.GetFieldLayout(layout), 0);
    QStringList names;
    uint8_t eof = 0;
    int32_t status = -1;
    for (data.MoveToFirstRecord(), data.IsEOF(eof); !eof; data.MoveToNextRecord(), data.IsEOF(eof)) {
        QCOMPARE(data.ReadRecord(status), 0);
        QCOMPARE(status, 0);
        names << layout->field(QStringLiteral("name"))->value.toString();
    }
    QCOMPARE(names, (QStringList{"Home Customer", "Euro Customer"}));
    data.MoveToRecord(2);
    data.ReadRecord(status);
    QCOMPARE(layout->fieldByPath(QStringLiteral("ACCOUNT_REF"))->value.toString(), QStringLiteral("EURO01"));
    QVERIFY(!layout->fieldByPath(QStringLiteral("ACCOUNT_REF.PART")));
    data.MoveToRecord(3);
    data.IsEOF(eof);
    QCOMPARE(eof, uint8_t(1));
    QVERIFY(data.ReadRecord(status) < 0);
}

void TestDataControl::fieldLayout()
{
    vldata::DataControl data;
    QString error;
    QVERIFY2(data.open(m_ledger, QStringLiteral("products"), error), qPrintable(error));
    std::shared_ptr<vldata::FieldLayout> layout;
    QCOMPARE(data.GetFieldLayout(layout), 0);
    const vldata::Field* code = layout->field(QStringLiteral("STOCK_CODE"));
    QCOMPARE(code->sqlType, vllist::sql::Varchar);
    QCOMPARE(code->size, 60);
    const vldata::Field* price = layout->field(QStringLiteral("SALES_PRICE"));
    QCOMPARE(price->sqlType, vllist::sql::Double);
    QCOMPARE(price->size, 8);
    QCOMPARE(price->decimalPlaces, int16_t(2));
    QCOMPARE(layout->field(0)->name, QStringLiteral("STOCK_CODE"));
    QVERIFY(!layout->field(layout->count()));
}

void TestDataControl::findRecord()
{
    vldata::DataControl data;
    QString error;
    QVERIFY(data.open(m_ledger, QStringLiteral("customers"), error));
    int32_t row = 0;
    QCOMPARE(data.FindRecord(QStringLiteral("EURO"), QStringLiteral("ACCOUNT_REF"), int32_t(0), false, row), 0);
    QCOMPARE(row, 1);
    data.FindRecord(QStringLiteral("EURO"), QStringLiteral("ACCOUNT_REF"), int32_t(0), true, row);
    QCOMPARE(row, -1);
    data.FindRecord(QStringLiteral("home01"), QStringLiteral("ACCOUNT_REF"), int32_t(1), true, row);
    QCOMPARE(row, -1); // searched from row 1 on
    QVERIFY(data.FindRecord(QStringLiteral("x"), QStringLiteral("NO_SUCH_FIELD"), int32_t(0), true, row) < 0);
}

void TestDataControl::badSourcesFailClearly()
{
    vldata::DataControl data;
    std::shared_ptr<vldata::FieldLayout> layout;
    QVERIFY(data.GetFieldLayout(layout) < 0); // never opened
    QString error;
    QVERIFY(!data.open(m_ledger, QStringLiteral("documents"), error));
    QCOMPARE(error, QStringLiteral("\"documents\" is no table of the company data"));
    QVERIFY(!data.open(m_dir.filePath(QStringLiteral("missing.db")), QStringLiteral("customers"), error));
    QVERIFY(!error.isEmpty());
    data.put(QStringLiteral("RecordSource"), QStringLiteral("documents"));
    try {
        data.call(QStringLiteral("Refresh"));
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QVERIFY(e.description().contains(QStringLiteral("documents")));
    }
}

QTEST_GUILESS_MAIN(TestDataControl)
#include "tst_datacontrol.moc"
