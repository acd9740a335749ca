#include "bench/common/BenchCompany.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"

#include <QDir>
#include <QProcess>

namespace bench {

QString customerRef(int i)
{
    return QStringLiteral("C%1").arg(i, 6, 10, QLatin1Char('0'));
}

QString productCode(int i)
{
    return QStringLiteral("P-%1").arg(i, 6, 10, QLatin1Char('0'));
}

void buildCompany(const QString& folder, int customers, int products)
{
    using namespace company;
    const QString accdata = folder + QStringLiteral("/ACCDATA");
    QDir().mkpath(accdata);
    folder::writeSetupFile(accdata, 23, 0, QStringLiteral("Bench Co"));
    auto l = Ledger::create(accdata + QStringLiteral("/ledger.sqlite"));
    l->begin();
    l->setInfo(QStringLiteral("program_type"), 2);
    l->setInfo(QStringLiteral("name"), QStringLiteral("Bench Co"));
    l->setInfo(QStringLiteral("version"), QStringLiteral("23.0"));
    l->addUser(QStringLiteral("MANAGER"), QString());
    l->setControlValue(QStringLiteral("T0_RATE"), 0.0);
    l->setControlValue(QStringLiteral("T1_RATE"), 20.0);
    l->insertCurrency(0, fields::currency().initialValues());
    for (const char* nominal : {SalesNominal, "4905"}) {
        auto v = fields::nominal().initialValues();
        v[size_t(fields::nominal().indexOf(QStringLiteral("ACCOUNT_REF")))] = QString::fromLatin1(nominal);
        l->insertRecord(Table::Nominals, v);
    }
    for (int i = 0; i < customers; ++i) {
        auto v = fields::customer().initialValues();
        v[size_t(fields::customer().indexOf(QStringLiteral("ACCOUNT_REF")))] = customerRef(i);
        v[size_t(fields::customer().indexOf(QStringLiteral("NAME")))] = QStringLiteral("Customer %1").arg(i);
        l->insertRecord(Table::Customers, v);
    }
    for (int i = 0; i < products; ++i) {
        auto v = fields::product().initialValues();
        v[size_t(fields::product().indexOf(QStringLiteral("STOCK_CODE")))] = productCode(i);
        v[size_t(fields::product().indexOf(QStringLiteral("DESCRIPTION")))] =
            QStringLiteral("Product %1").arg(i);
        v[size_t(fields::product().indexOf(QStringLiteral("SALES_PRICE")))] = 1.0 + i % 100;
        l->insertRecord(Table::Products, v);
    }
    l->commit();
}

void registerEngine(const QString& binDir, const QString& library)
{
    QProcess regsvr;
    regsvr.start(binDir + QStringLiteral("/regsvr"),
                 {binDir + QStringLiteral("/vdo/") + library, QStringLiteral("/s")});
    if (!regsvr.waitForFinished(60000) || regsvr.exitStatus() != QProcess::NormalExit ||
        regsvr.exitCode() != 0)
        qFatal("regsvr could not register %s: %s", qPrintable(library),
               qPrintable(regsvr.errorString() + QString::fromLocal8Bit(regsvr.readAllStandardError())));
}

} // namespace bench
