// Times the package stand-in's lookups and commits at the size of a full import:
// a company of 10,000 customers and 20,000 products, Find by key through the
// engine (as stage one does per line), and Update of a ten-line invoice.
#include "bench/common/BenchCompany.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLibrary>
#include <QTemporaryDir>

#include <cstdio>

using automation::ObjectRef;
using basic::Variant;
using bench::customerRef;
using bench::productCode;

namespace {

constexpr int Customers = 10000;
constexpr int Products = 20000;
constexpr int Finds = 32000;
constexpr int Updates = 500;

ObjectRef createEngine(const QString& library)
{
    QLibrary lib(library);
    if (!lib.load())
        qFatal("cannot load %s: %s", qPrintable(library), qPrintable(lib.errorString()));
    auto get = reinterpret_cast<DllGetClassObjectFn>(lib.resolve("DllGetClassObject"));
    automation::ClassFactory* factory = nullptr;
    if (!get || get(u"{7A1D0023-5644-4F45-8E47-000000000023}", &factory) != 0 || !factory)
        qFatal("no engine class in %s", qPrintable(library));
    return factory->createInstance();
}

void report(const char* what, int count, qint64 ns)
{
    std::printf("%-34s %8d ops %10.3f ms total %9.2f us/op\n", what, count, double(ns) / 1e6,
                double(ns) / 1e3 / count);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    const QString company = dir.filePath(QStringLiteral("Bench"));
    QElapsedTimer t;
    t.start();
    bench::buildCompany(company, Customers, Products);
    std::printf("company of %d customers and %d products built in %.0f ms\n", Customers, Products,
                double(t.nsecsElapsed()) / 1e6);

    ObjectRef engine = createEngine(QStringLiteral(QUILLAR_BIN_DIR "/vdo/vlvdoengine230.dll"));
    ObjectRef ws = automation::toObject(automation::toObject(engine->get(QStringLiteral("Workspaces")))
                                            ->call(QStringLiteral("Add"), {Variant("Bench")}));
    ws->call(QStringLiteral("Connect"), {Variant(company + QStringLiteral("\\accdata")), Variant("MANAGER"),
                                         Variant(""), Variant("Bench")});
    ObjectRef sales =
        automation::toObject(ws->call(QStringLiteral("CreateObject"), {Variant("SalesRecord")}));
    ObjectRef stock =
        automation::toObject(ws->call(QStringLiteral("CreateObject"), {Variant("StockRecord")}));

    // Baseline: the dispatch alone (a field put), to set the Find cost beside it.
    t.restart();
    for (int i = 0; i < Finds; ++i)
        sales->setValue({Variant("ACCOUNT_REF")}, Variant(customerRef(i % Customers)));
    report("field put (dispatch baseline)", Finds, t.nsecsElapsed());

    int found = 0;
    t.restart();
    for (int i = 0; i < Finds; ++i) {
        sales->setValue({Variant("ACCOUNT_REF")}, Variant(customerRef((i * 7919) % Customers)));
        found += basic::CBool(sales->call(QStringLiteral("Find"), {Variant(false)})) ? 1 : 0;
    }
    report("SalesRecord put key + Find", Finds, t.nsecsElapsed());
    t.restart();
    for (int i = 0; i < Finds; ++i) {
        stock->setValue({Variant("STOCK_CODE")}, Variant(productCode(int((int64_t(i) * 104729) % Products))));
        found += basic::CBool(stock->call(QStringLiteral("Find"), {Variant(false)})) ? 1 : 0;
    }
    report("StockRecord put key + Find", Finds, t.nsecsElapsed());
    if (found != 2 * Finds)
        qFatal("lookups missed: %d of %d", found, 2 * Finds);

    t.restart();
    int posted = 0;
    for (int d = 0; d < Updates; ++d) {
        ObjectRef post =
            automation::toObject(ws->call(QStringLiteral("CreateObject"), {Variant("InvoicePost")}));
        post->put(QStringLiteral("Header"), Variant(customerRef(d)), {Variant("ACCOUNT_REF")});
        ObjectRef items = automation::toObject(post->get(QStringLiteral("Items")));
        for (int n = 0; n < 10; ++n) {
            ObjectRef item = automation::toObject(items->call(QStringLiteral("Add")));
            item->setValue({Variant("STOCK_CODE")}, Variant(productCode(d * 10 + n)));
            item->setValue({Variant("QTY_ORDER")}, Variant(1.0));
            item->setValue({Variant("TAX_CODE")}, Variant(int16_t(1)));
        }
        posted += basic::CBool(post->call(QStringLiteral("Update"))) ? 1 : 0;
    }
    report("InvoicePost of 10 lines + Update", Updates, t.nsecsElapsed());
    if (posted != Updates)
        qFatal("updates refused: %d of %d", Updates - posted, Updates);
    ws->call(QStringLiteral("Disconnect"));
    return 0;
}
