#include "bench/common/BenchImportFile.h"

#include "bench/common/BenchCompany.h"

#include <QFile>

#include <iterator>

namespace bench {

namespace {

struct LinePlace
{
    int document;
    int item; // 0-based within the document
    int line; // 0-based within the file
    int customers;
    int products;
};

struct Column
{
    const char* title;
    QByteArray (*value)(const LinePlace&);
};

QByteArray number(int n)
{
    return QByteArray::number(n);
}

// The file's columns in order. Values stay within every limit of the checks:
// quantities and prices to two places, codes in range, texts short, the nominal
// account and tax code known to the company.
const Column Columns[] = {
    {"Transaction Type", [](const LinePlace&) { return QByteArray("I"); }},
    {"Account Reference",
     [](const LinePlace& p) { return customerRef(p.document % p.customers).toLatin1(); }},
    {"Transaction Date", [](const LinePlace&) { return QByteArray("10/12/2026"); }},
    {"Order Number", [](const LinePlace& p) { return number(100000 + p.document); }},
    {"Notes 1", [](const LinePlace& p) { return "Bench order " + number(p.document); }},
    {"Product Code", [](const LinePlace& p) { return productCode(p.line % p.products).toLatin1(); }},
    {"Comment 1", [](const LinePlace& p) { return "Item " + number(p.item + 1); }},
    {"Quantity", [](const LinePlace& p) { return QByteArray(p.item % 2 ? "1.5" : "2"); }},
    {"Unit Price", [](const LinePlace& p) { return number(1 + p.line % 100) + ".25"; }},
    {"Discount Rate", [](const LinePlace&) { return QByteArray("5"); }},
    {"Product Description", [](const LinePlace& p) { return "Bench product " + number(p.line); }},
    {"Customer Telephone Number", [](const LinePlace&) { return QByteArray("01632 960000"); }},
    {"Customer Order Number", [](const LinePlace& p) { return "PO-" + number(p.document); }},
    {"Courier Number", [](const LinePlace&) { return QByteArray("1"); }},
    {"Global-Department Number", [](const LinePlace&) { return QByteArray("1"); }},
    {"Global-Nominal Code", [](const LinePlace&) { return QByteArray(SalesNominal); }},
    {"Global-Tax Code", [](const LinePlace&) { return QByteArray("1"); }},
    {"Settlement Discount Rate", [](const LinePlace&) { return QByteArray("2.5"); }},
    {"Settlement Due Days", [](const LinePlace&) { return QByteArray("30"); }},
    {"Item Nominal Code", [](const LinePlace&) { return QByteArray(SalesNominal); }},
    {"Item Department Number", [](const LinePlace&) { return QByteArray("1"); }},
    {"Line Information", [](const LinePlace& p) { return "JOB-" + number(p.document); }},
    {"Line Tax Code", [](const LinePlace&) { return QByteArray("1"); }},
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

void writeLayout(const QString& configFolder)
{
    QByteArray titles;
    for (const Column& c : Columns)
        titles += QByteArray(c.title) + "\r\n";
    for (size_t i = std::size(Columns); i < 54; ++i)
        titles += "\r\n";
    writeFile(configFolder + QStringLiteral("/qfm.cfg"), titles);
    writeFile(configFolder + QStringLiteral("/qfm2.cfg"), "Account Reference\r\nOrder Number\r\n\r\n\r\n");
}

void writeImportFile(const QString& path, int documents, int linesPerDocument, int customers, int products)
{
    QByteArray out;
    out.reserve(qsizetype(documents) * linesPerDocument * 200);
    for (int d = 0; d < documents; ++d) {
        for (int n = 0; n < linesPerDocument; ++n) {
            const LinePlace place{d, n, d * linesPerDocument + n, customers, products};
            for (size_t c = 0; c < std::size(Columns); ++c) {
                if (c > 0)
                    out += ',';
                out += Columns[c].value(place);
            }
            out += "\r\n";
        }
    }
    writeFile(path, out);
}

} // namespace bench
