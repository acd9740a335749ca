// Times a whole import of a generated 32,000-line file (4,000 invoices of 8 lines)
// against a stand-in company of 10,000 customers and 20,000 products: stage one,
// the validate pass and the import pass of stage two, called in the driver's order,
// with the process's peak memory after each, beside baselines measured in the same
// run: stage one and the validate pass against the raw customer and product lookups
// of the file, the import pass against bare durable commits of the rows it posted.
// Fails when a stage reports an error or not exactly 4,000 invoices were posted.
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

#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <vector>

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

// The lookups of the file straight through a workspace of its own: one product Find
// per line, then one customer and one product Find per line, the least a pass that
// looks each line's customer and product up must spend in the package.
struct RawLookups
{
    qint64 productsNs = 0;
    qint64 bothNs = 0;
};

RawLookups rawLookups(const QString& companyFolder, int customers)
{
    const ObjectRef engine = automation::createObject(importer::engineClassFor(QStringLiteral("V23")));
    const ObjectRef ws = automation::toObject(automation::toObject(engine->get(QStringLiteral("Workspaces")))
                                                  ->call(QStringLiteral("Add"), {Variant("Bench")}));
    ws->call(QStringLiteral("Connect"), {Variant(companyFolder + QStringLiteral("\\accdata")),
                                         Variant("MANAGER"), Variant(""), Variant("Bench")});
    const auto record = [&](const char* name) {
        return automation::toObject(ws->call(QStringLiteral("CreateObject"), {Variant(name)}));
    };
    const ObjectRef stock = record("StockRecord");
    const ObjectRef sales = record("SalesRecord");
    const auto find = [](const ObjectRef& rec, const char* key, const QString& value) {
        rec->setValue({Variant(key)}, Variant(value));
        return basic::CBool(rec->call(QStringLiteral("Find"), {Variant(false)})) ? 1 : 0;
    };
    RawLookups out;
    QElapsedTimer timer;
    timer.start();
    int found = 0;
    for (int i = 0; i < Lines; ++i)
        found += find(stock, "STOCK_CODE", bench::productCode(i % Products));
    out.productsNs = timer.nsecsElapsed();
    timer.restart();
    for (int i = 0; i < Lines; ++i) {
        found += find(sales, "ACCOUNT_REF", bench::customerRef((i / LinesPerDocument) % customers));
        found += find(stock, "STOCK_CODE", bench::productCode(i % Products));
    }
    out.bothNs = timer.nsecsElapsed();
    ws->call(QStringLiteral("Disconnect"));
    if (found != 3 * Lines)
        qFatal("raw lookups missed %d records", 3 * Lines - found);
    return out;
}

// The rows the import pass posted (documents and their items, as the ledger holds
// them), committed again straight into a fresh ledger of the same schema and
// journal, one durable transaction per document: what the import pass's commits
// cost at the least.
qint64 bareCommitsNs(const QString& postedLedger, const QString& freshLedger)
{
    struct Row
    {
        QByteArray sequence, account, header;
        int number = 0, type = 0;
        std::vector<std::pair<QByteArray, QByteArray>> items; // fields, text
    };
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    const auto check = [&](int rc, const char* what) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
            qFatal("bare commits: %s: %s", what, db ? sqlite3_errmsg(db) : "no database");
    };
    const auto text = [](sqlite3_stmt* st, int column) {
        return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                          sqlite3_column_bytes(st, column));
    };
    check(sqlite3_open_v2(postedLedger.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), "open");
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(
              db, "SELECT id, sequence, number, type, account_ref, header FROM documents ORDER BY id", -1,
              &st, nullptr),
          "read documents");
    std::map<int64_t, size_t> byId;
    while (sqlite3_step(st) == SQLITE_ROW) {
        byId[sqlite3_column_int64(st, 0)] = rows.size();
        rows.push_back({text(st, 1),
                        text(st, 4),
                        text(st, 5),
                        sqlite3_column_int(st, 2),
                        sqlite3_column_int(st, 3),
                        {}});
    }
    sqlite3_finalize(st);
    check(sqlite3_prepare_v2(
              db, "SELECT document_id, fields, text FROM document_items ORDER BY document_id, line_no", -1,
              &st, nullptr),
          "read items");
    while (sqlite3_step(st) == SQLITE_ROW)
        rows[byId.at(sqlite3_column_int64(st, 0))].items.emplace_back(text(st, 1), text(st, 2));
    sqlite3_finalize(st);
    sqlite3_close_v2(db);

    company::Ledger::create(freshLedger).reset(); // the schema and the journal of a ledger
    db = nullptr;
    check(sqlite3_open_v2(freshLedger.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
          "open fresh");
    sqlite3_stmt* document = nullptr;
    sqlite3_stmt* item = nullptr;
    check(sqlite3_prepare_v2(
              db, "INSERT INTO documents(sequence, number, type, account_ref, header) VALUES(?, ?, ?, ?, ?)",
              -1, &document, nullptr),
          "prepare");
    check(sqlite3_prepare_v2(
              db, "INSERT INTO document_items(document_id, line_no, fields, text) VALUES(?, ?, ?, ?)", -1,
              &item, nullptr),
          "prepare");
    const auto bind = [](sqlite3_stmt* s, int n, const QByteArray& v) {
        sqlite3_bind_text(s, n, v.constData(), int(v.size()), SQLITE_TRANSIENT);
    };
    QElapsedTimer timer;
    timer.start();
    for (const Row& row : rows) {
        check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), "begin");
        bind(document, 1, row.sequence);
        sqlite3_bind_int(document, 2, row.number);
        sqlite3_bind_int(document, 3, row.type);
        bind(document, 4, row.account);
        bind(document, 5, row.header);
        check(sqlite3_step(document), "insert document");
        sqlite3_reset(document);
        const int64_t id = sqlite3_last_insert_rowid(db);
        int lineNo = 0;
        for (const auto& [fields, itemText] : row.items) {
            sqlite3_bind_int64(item, 1, id);
            sqlite3_bind_int(item, 2, ++lineNo);
            bind(item, 3, fields);
            bind(item, 4, itemText);
            check(sqlite3_step(item), "insert item");
            sqlite3_reset(item);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
    }
    const qint64 ns = timer.nsecsElapsed();
    sqlite3_finalize(document);
    sqlite3_finalize(item);
    sqlite3_close_v2(db);
    if (rows.size() != size_t(Documents))
        qFatal("bare commits: %d documents to commit, %d expected", int(rows.size()), Documents);
    return ns;
}

// The documents the import pass posted, handed again to the ledger's own commit
// (its refusal checks, its records, one durable transaction each) into the same
// company with new numbers: the part of the package's commit that lies below its
// posting objects.
qint64 ledgerPostsNs(const QJsonArray& posted, const QString& ledgerFile)
{
    using company::fromJson;
    const auto values = [](const QJsonObject& json, const company::FieldSet& set,
                           std::vector<bool>* assigned) {
        std::vector<QVariant> out = set.initialValues();
        if (assigned)
            assigned->assign(size_t(set.size()), false);
        for (int i = 0; i < set.size(); ++i) {
            const QJsonValue v = json.value(set.at(i).name);
            if (v.isUndefined())
                continue;
            if (const auto converted = fromJson(v, set.at(i).kind))
                out[size_t(i)] = *converted;
            if (assigned)
                (*assigned)[size_t(i)] = true;
        }
        return out;
    };
    std::vector<company::Document> documents;
    for (const auto& entry : posted) {
        const QJsonObject json = entry.toObject();
        company::Document doc;
        doc.type = json.value(QStringLiteral("TYPE")).toInt();
        doc.header = values(json, doc.headerFields(), &doc.headerAssigned);
        doc.header[size_t(doc.headerFields().indexOf(QStringLiteral("INVOICE_NUMBER")))] = 0;
        for (const auto& item : json.value(QStringLiteral("items")).toArray())
            doc.items.push_back({values(item.toObject(), company::fields::item(), nullptr),
                                 item.toObject().value(QStringLiteral("SERVICE_TEXT")).toString()});
        documents.push_back(std::move(doc));
    }
    const auto ledger = company::Ledger::open(ledgerFile);
    QElapsedTimer timer;
    timer.start();
    int refused = 0;
    for (const auto& doc : documents)
        refused += ledger->post(doc).posted ? 0 : 1;
    const qint64 ns = timer.nsecsElapsed();
    if (refused != 0)
        qFatal("the ledger refused %d of the posted documents", refused);
    return ns;
}

struct Pass
{
    const char* name;
    qint64 ns;
    double peakMb;        // after the pass
    double secondsTarget; // 0: none
};

// One line per pass: its time (against a target in seconds where it has one), its
// ratio to its baseline against the target ratio, and the peak memory after it.
bool report(const Pass& pass, qint64 baselineNs, const char* baseline, double target)
{
    const double ratio = double(pass.ns) / double(baselineNs);
    std::printf("%-14s %7.3f s  %5.2f x %s (target %.1f x: %s)  peak %6.1f MB", pass.name, seconds(pass.ns),
                ratio, baseline, target, ratio <= target ? "within" : "OVER", pass.peakMb);
    if (pass.secondsTarget > 0)
        std::printf("  (target %.1f s: %s)", pass.secondsTarget,
                    seconds(pass.ns) < pass.secondsTarget ? "within" : "OVER");
    std::printf("\n");
    return ratio <= target;
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
    const RawLookups raw = rawLookups(bench.companyFolder, Customers);
    std::printf("baselines: the file read once %.3f s; %d product Finds %.3f s; raw lookups (%d customer and "
                "%d product Finds) %.3f s\n",
                seconds(readNs), Lines, seconds(raw.productsNs), Lines, Lines, seconds(raw.bothNs));
    const bool peakReset = resetPeakMemory();
    std::printf("resident before the import %.1f MB%s\n", procStatusMb("VmRSS:"),
                peakReset ? "" : " (peak could not be reset: it includes building the company)");

    QElapsedTimer timer;
    timer.start();
    context.state.pass.StageOneCompleted = true;
    importer::ValidateImportFile(context, QStringLiteral("frmmain"), QStringLiteral("validate"));
    const Pass stageOne{"stage one", timer.nsecsElapsed(), procStatusMb("VmHWM:"), 0};
    if (!context.state.pass.StageOneCompleted || !bench.problems().isEmpty())
        return fail(bench, "stage one");

    timer.restart();
    importer::PostImportFile(context, QStringLiteral("frmmain"), QStringLiteral("validate"));
    const Pass validate{"validate pass", timer.nsecsElapsed(), procStatusMb("VmHWM:"), 1.5};
    if (!context.state.pass.ValidateOK || !bench.problems().isEmpty())
        return fail(bench, "the validate pass");

    timer.restart();
    importer::PostImportFile(context, QStringLiteral("frmmain"), QStringLiteral("import"));
    const Pass import{"import pass", timer.nsecsElapsed(), procStatusMb("VmHWM:"), 5.0};
    const double peakMb = import.peakMb;
    importer::DisconnectFromVorlen(context);
    const QString ledgerFile = bench.companyFolder + QStringLiteral("/ACCDATA/ledger.sqlite");
    const qint64 commitsNs =
        bareCommitsNs(ledgerFile, bench.companyFolder + QStringLiteral("/ACCDATA/bare.sqlite"));
    std::printf("baseline: %d bare durable commits of the posted rows %.3f s\n", Documents,
                seconds(commitsNs));

    // Every document must have been committed, with all its lines.
    const int created = int(bench.log.text.count(QStringLiteral(") created.")));
    const int refused = int(bench.log.text.count(QStringLiteral(") failed on update.")));
    const QJsonArray posted = company::Ledger::open(ledgerFile)->listDocuments();
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
    bool within = report(stageOne, raw.bothNs, "raw lookups", 5);
    within = report(validate, raw.bothNs, "raw lookups", 8) && within;
    within = report(import, commitsNs, "bare commits", 1.5) && within;
    // Where the import pass's time goes: it builds every document again as the validate
    // pass did, and the package commits each one.
    const qint64 packageCommitsNs = import.ns - validate.ns;
    std::printf("  of which the package's commits (import pass less validate pass) ~%.3f s = %.2f x bare "
                "commits\n",
                seconds(packageCommitsNs), double(packageCommitsNs) / double(commitsNs));
    const qint64 ledgerNs = ledgerPostsNs(posted, ledgerFile);
    std::printf("  the ledger's own commit of the same %d documents %.3f s = %.2f x bare commits\n",
                Documents, seconds(ledgerNs), double(ledgerNs) / double(commitsNs));
    std::printf("peak memory %.1f MB (target 150 MB: %s)\n", peakMb, peakMb < 150 ? "within" : "OVER");
    std::printf("all three ratios %s their targets\n", within ? "within" : "NOT within");

    std::printf("posted %d invoices of %d lines in all\n", Documents, Lines);
    return 0;
}
