// Posts one two-line invoice into a company; run with VORLEN_FAULTS=kill_at=<point>
// it dies inside the commit, as a crash or power cut would.
#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    using namespace company;
    auto ledger = Ledger::open(folder::ledgerFileOf(folder::accdataOf(QString::fromLocal8Bit(argv[1]))));
    Document doc;
    doc.header = fields::invoiceHeader().initialValues();
    doc.headerAssigned.assign(doc.header.size(), false);
    const auto set = [&](const char* name, const QVariant& v) {
        doc.header[size_t(fields::invoiceHeader().indexOf(QLatin1String(name)))] = v;
    };
    set("ACCOUNT_REF", QStringLiteral("HOME01"));
    set("ITEMS_NET", 20.0);
    set("ITEMS_TAX", 4.0);
    for (int i = 0; i < 2; ++i) {
        Document::Item item{fields::item().initialValues(), QString()};
        item.fields[size_t(fields::item().indexOf(QStringLiteral("STOCK_CODE")))] = QStringLiteral("WIDGET");
        item.fields[size_t(fields::item().indexOf(QStringLiteral("TAX_CODE")))] = 1;
        doc.items.push_back(item);
    }
    const PostResult r = ledger->post(doc);
    std::printf("%s %d\n", r.posted ? "posted" : "refused", r.number);
    return r.posted ? 0 : 1;
}
