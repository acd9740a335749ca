// Times a whole import of a generated 32,000-line file (4,000 invoices of 8 lines)
// against a stand-in company of 10,000 customers and 20,000 products: stage one,
// the validate pass and the import pass of stage two, called in the driver's order,
// with the process's peak memory after each, beside baselines measured in the same
// run. Fails when a stage reports an error or not exactly 4,000 invoices were posted.
#include "bench/common/BenchCompany.h"
#include "bench/common/ImportBench.h"

#include "app/import/StageOne.h"
#include "app/import/StageTwo.h"
#include "app/import/VorlenConnection.h"
#include "app/import/checks/FieldChecks.h"

#include "package/company/Ledger.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>

using automation::ObjectRef;
using basic::Variant;

namespace {

constexpr int Customers = 10000;
constexpr int Products = 20000;
constexpr int Documents = 4000;
constexpr int LinesPerDocument = 8;
constexpr int Lines = Documents * LinesPerDocument;

// From /proc/self/status, in MB; -1 when it cannot be read.
double procStatusMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return double(line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong()) /
                   1024;
    return -1;
}

// Lets VmHWM start again from the present resident size, so that building the
// company and the file does not count as the import's peak.
bool resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

double seconds(qint64 ns)
{
    return double(ns) / 1e9;
}

qint64 readFileNs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    qint64 commas = 0;
    while (!f.atEnd())
        commas += f.readLine().count(',');
    if (commas == 0)
        qFatal("empty bench file");
    return timer.nsecsElapsed();
}

// One product Find per line through a workspace of its own: the least a pass that
// looks each line's product up must spend in the package.
qint64 rawFindsNs(const QString& companyFolder)
{
    const ObjectRef engine = automation::createObject(importer::engineClassFor(QStringLiteral("V23")));
    const ObjectRef ws = automation::toObject(automation::toObject(engine->get(QStringLiteral("Workspaces")))
                                                  ->call(QStringLiteral("Add"), {Variant("Bench")}));
    ws->call(QStringLiteral("Connect"), {Variant(companyFolder + QStringLiteral("\\accdata")),
                                         Variant("MANAGER"), Variant(""), Variant("Bench")});
    const ObjectRef stock =
        automation::toObject(ws->call(QStringLiteral("CreateObject"), {Variant("StockRecord")}));
    QElapsedTimer timer;
    timer.start();
    int found = 0;
    for (int i = 0; i < Lines; ++i) {
        stock->setValue({Variant("STOCK_CODE")}, Variant(bench::productCode(i % Products)));
        found += basic::CBool(stock->call(QStringLiteral("Find"), {Variant(false)})) ? 1 : 0;
    }
    const qint64 ns = timer.nsecsElapsed();
    ws->call(QStringLiteral("Disconnect"));
    if (found != Lines)
        qFatal("raw Finds missed %d products", Lines - found);
    return ns;
}

void report(const char* stage, qint64 ns, qint64 baselineNs, double targetSeconds)
{
    const char* verdict = targetSeconds <= 0 ? "" : seconds(ns) < targetSeconds ? "within" : "OVER";
    std::printf("%-14s %7.3f s  %6.1f x raw Finds  peak %6.1f MB", stage, seconds(ns),
                double(ns) / double(baselineNs), procStatusMb("VmHWM:"));
    if (targetSeconds > 0)
        std::printf("  (target %.1f s: %s)", targetSeconds, verdict);
    std::printf("\n");
}

int fail(bench::ImportBench& bench, const char* stage)
{
    std::fprintf(stderr, "%s did not pass the bench file (%d errors):\n%s", stage,
                 int(bench.context.state.pass.ErrCount), qPrintable(bench.problems()));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bench::ImportBench bench(Customers, Products);
    const QString path = bench.writeImportFile(Documents, LinesPerDocument);
    importer::FieldChecks checks;
    importer::ImportContext& context = bench.context;
    context.lineChecks = &checks;

    const qint64 readNs = readFileNs(path);
    const qint64 findsNs = rawFindsNs(bench.companyFolder);
    std::printf("baselines: the file read once %.3f s; %d raw product Finds %.3f s\n", seconds(readNs), Lines,
                seconds(findsNs));
    const bool peakReset = resetPeakMemory();
    std::printf("resident before the import %.1f MB%s\n", procStatusMb("VmRSS:"),
                peakReset ? "" : " (peak could not be reset: it includes building the company)");

    QElapsedTimer timer;
    timer.start();
    context.state.pass.StageOneCompleted = true;
    importer::ValidateImportFile(context, QStringLiteral("frmmain"), QStringLiteral("validate"));
    const qint64 stageOneNs = timer.nsecsElapsed();
    if (!context.state.pass.StageOneCompleted || !bench.problems().isEmpty())
        return fail(bench, "stage one");
    report("stage one", stageOneNs, findsNs, 0);

    timer.restart();
    importer::PostImportFile(context, QStringLiteral("frmmain"), QStringLiteral("validate"));
    const qint64 validateNs = timer.nsecsElapsed();
    if (!context.state.pass.ValidateOK || !bench.problems().isEmpty())
        return fail(bench, "the validate pass");
    report("validate pass", validateNs, findsNs, 1.5);

    timer.restart();
    importer::PostImportFile(context, QStringLiteral("frmmain"), QStringLiteral("import"));
    const qint64 importNs = timer.nsecsElapsed();
    report("import pass", importNs, findsNs, 5.0);
    const double peakMb = procStatusMb("VmHWM:");
    std::printf("peak memory %.1f MB (target 150 MB: %s)\n", peakMb, peakMb < 150 ? "within" : "OVER");
    importer::DisconnectFromVorlen(context);

    // Every document must have been committed, with all its lines.
    const int created = int(bench.log.text.count(QStringLiteral(") created.")));
    const int refused = int(bench.log.text.count(QStringLiteral(") failed on update.")));
    const QJsonArray posted =
        company::Ledger::open(bench.companyFolder + QStringLiteral("/ACCDATA/ledger.sqlite"))
            ->listDocuments();
    qsizetype items = 0;
    for (const auto& document : posted)
        items += document.toObject().value(QStringLiteral("items")).toArray().size();
    if (posted.size() != Documents || items != Lines || created != Documents || refused != 0 ||
        !context.state.pass.ImportOK) {
        std::fprintf(stderr,
                     "the import pass posted %d documents of %d lines (%d reported created, %d refused); "
                     "expected %d of %d\n%s",
                     int(posted.size()), int(items), created, refused, Documents, Lines,
                     qPrintable(bench.log.text.left(600)));
        return 1;
    }
    std::printf("posted %d invoices of %d lines in all\n", Documents, Lines);
    return 0;
}
