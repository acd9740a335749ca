#include "tests/batch/BatchRig.h"

#include "app/mainwindow/batch/ErrorFiles.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/Dates.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace batchtest {

namespace {

const QStringList Layout = {QStringLiteral("Transaction Type"), QStringLiteral("Account Reference"),
                            QStringLiteral("Transaction Date"), QStringLiteral("Product Code"),
                            QStringLiteral("Quantity"),         QStringLiteral("Unit Price")};

} // namespace

ScopedClock::ScopedClock(const QDateTime& at) : m_at(std::make_shared<QDateTime>(at))
{
    basic::Clock::setNowForTesting([clock = m_at] { return *clock; });
}

ScopedClock::~ScopedClock()
{
    basic::Clock::setNowForTesting({});
}

void ScopedClock::advance(int seconds)
{
    *m_at = m_at->addSecs(seconds);
}

const char* BatchCompany::seed()
{
    return R"({
  "version": "23.0", "name": "Batch Test Ltd", "program_type": 1,
  "users": [{"name": "MANAGER", "password": "secret"}],
  "setup": {"INVOICE_CARR_NOMINAL": "4905"},
  "control": {"T0_RATE": 0, "T1_RATE": 20, "T2_RATE": 5},
  "currencies": [{"CODE": "GBP", "EXCHANGE_RATE": 1}],
  "customers": [
    {"ACCOUNT_REF": "ALD01", "NAME": "Alder Stores"},
    {"ACCOUNT_REF": "BIR02", "NAME": "Birch Trading"},
    {"ACCOUNT_REF": "CED03", "NAME": "Cedar Works"}
  ],
  "products": [
    {"STOCK_CODE": "BOLT", "DESCRIPTION": "Bolt", "SALES_PRICE": 0.35, "TAX_CODE": 1},
    {"STOCK_CODE": "BOOK", "DESCRIPTION": "Manual", "SALES_PRICE": 12.5, "TAX_CODE": 0},
    {"STOCK_CODE": "LAMP", "DESCRIPTION": "Lamp", "SALES_PRICE": 24, "TAX_CODE": 2},
    {"STOCK_CODE": "SAW", "DESCRIPTION": "Saw", "SALES_PRICE": 18.99, "TAX_CODE": 1}
  ],
  "nominals": [{"ACCOUNT_REF": "4000"}, {"ACCOUNT_REF": "4905"}]
})";
}

void BatchCompany::create(const QString& folder, const QByteArray& seedJson)
{
    company::createCompany(QJsonDocument::fromJson(seedJson).object(), folder, QStringLiteral("batch seed"));
}

void BatchCompany::writeLayout(const QString& configFolder)
{
    QDir().mkpath(configFolder);
    QByteArray columns;
    for (int i = 0; i < 54; ++i)
        columns += (i < Layout.size() ? Layout.at(i).toLatin1() : QByteArray()) + "\r\n";
    writeFile(configFolder + QStringLiteral("/qfm.cfg"), columns);
    writeFile(configFolder + QStringLiteral("/qfm2.cfg"), QByteArray("Account Reference\r\n\r\n\r\n\r\n"));
}

bool BatchCompany::writeSettings(const QString& companyFolder, const QString& configFolder)
{
    const QList<QPair<QString, QString>> own = {
        {QStringLiteral("pellmoorconfigdir"), configFolder},
        {QStringLiteral("iors"), QStringLiteral("0")},
        {QStringLiteral("importtransno"), QStringLiteral("0")},
        {QStringLiteral("CheckFileFormat"), QStringLiteral("0")},
        {QStringLiteral("ImportHeaders"), QStringLiteral("0")},
        {QStringLiteral("VorlenDataPath"), companyFolder},
        {QStringLiteral("VorlenUsername"), QStringLiteral("MANAGER")},
        {QStringLiteral("VorlenPassword"), QStringLiteral("secret")},
    };
    // Each write rewrites the hive: a key is written only when it differs.
    const auto put = [](const QString& key, const QString& value) {
        const QString missing = QStringLiteral("\x01missing");
        return settings::readSetting(key, missing) == value || settings::writeSetting(key, value);
    };
    bool ok = true;
    for (const auto& key : settings::knownKeys()) {
        const QString name = QLatin1String(key.key);
        const bool ownKey = std::any_of(own.begin(), own.end(), [&](const auto& o) {
            return o.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!ownKey)
            ok = put(name, QLatin1String(key.defaultValue)) && ok;
    }
    for (const auto& [key, value] : own)
        ok = put(key, value) && ok;
    return ok;
}

QByteArray BatchCompany::importFile(int documents, int lines, int firstDay)
{
    static const char* const accounts[] = {"ALD01", "BIR02", "CED03"};
    static const char* const products[] = {"BOLT", "BOOK", "LAMP", "SAW"};
    QByteArray out;
    for (int d = 0; d < documents; ++d) {
        for (int l = 1; l <= lines; ++l)
            out += QStringLiteral("I,%1,%2/11/2026,%3,%4,%5\r\n")
                       .arg(QLatin1String(accounts[d % 3]))
                       .arg((firstDay + d - 1) % 28 + 1, 2, 10, QLatin1Char('0'))
                       .arg(QLatin1String(products[(d + l) % 4]))
                       .arg(l)
                       .arg(1.25 * l + d, 0, 'f', 2)
                       .toLatin1();
    }
    return out;
}

QJsonArray BatchCompany::posted(const QString& companyFolder)
{
    return company::Ledger::open(company::folder::ledgerFileOf(company::folder::accdataOf(companyFolder)))
        ->listDocuments();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("%s cannot be written: %s", qPrintable(path), qPrintable(f.errorString()));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList filesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList folderListing(const QList<QPair<QString, QString>>& labelledFolders)
{
    QStringList lines;
    for (const auto& [label, path] : labelledFolders) {
        for (const QString& name : QDir(path).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            lines << label + QLatin1Char('\t') + name;
    }
    lines.sort();
    return lines;
}

QStringList shownBoxes(forms::ScriptedMessageService& service)
{
    QStringList lines;
    for (const auto& box : service.shown())
        lines << box.title + QStringLiteral(": ") + box.text;
    return lines;
}

QProcessEnvironment childEnvironment(const QString& faults)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VORLEN_FAULTS"));
    if (!faults.isEmpty())
        env.insert(QStringLiteral("VORLEN_FAULTS"), faults);
    return env;
}

bool registerEngine(QString& problem)
{
    static bool done = false;
    if (done)
        return true;
    const QString bin = QStringLiteral(QUILLAR_BIN_DIR);
    const QString library = bin + QStringLiteral("/vdo/vlvdoengine230.dll");
    if (!QFile::exists(library)) {
        problem = QStringLiteral("the package stand-in is not built");
        return false;
    }
    QProcess regsvr;
    regsvr.start(bin + QStringLiteral("/regsvr"), {library, QStringLiteral("/s")});
    if (!regsvr.waitForFinished(60000) || regsvr.exitCode() != 0) {
        problem = QStringLiteral("regsvr failed: ") + QString::fromLocal8Bit(regsvr.readAllStandardError());
        return false;
    }
    done = true;
    return true;
}

BatchRig::BatchRig(const QString& work, const QString& companyFolder) : m_work(work)
{
    for (const char* name : {"source", "success", "error"})
        QDir(work).mkpath(QLatin1String(name));
    setFolders(folder("source"), folder("success"), folder("error"));
    auto& batch = context.state.batch;
    batch.BatchModeEnabled = 1;
    batch.BatchIntervalMs = 60;
    timer2.setInterval(60);

    context.createEngine = [](const QString& id) { return automation::createObject(id); };
    // The tests register the engine before the first import.
    context.startCommand = [](const QString&, const QStringList&) {};
    context.programFolder = QStringLiteral(QUILLAR_BIN_DIR);
    window.corvelVersion = QStringLiteral("V23");
    form.datapath = companyFolder;
    form.password = QStringLiteral("secret");

    journal = std::make_unique<batch::BatchJournal>(QDir(work).filePath(QStringLiteral("batch.journal")));
    upload = std::make_unique<batch::BatchUpload>(
        batch::BatchSession{context, batchWindow, files, *journal, security, [this] {
                                if (pump)
                                    pump();
                            }});
    mode = std::make_unique<batch::BatchMode>(
        context, batchWindow, batch::BatchTimers{timer1, timer2, timer3}, files, list,
        [this](const QString& name) { return uploader ? uploader(name) : upload->BatchUploadFile(name); });
    mode->errorLog = [this](const QString& message) {
        batch::WriteErrorLog(security, context.programFolder, message);
    };
}

std::unique_ptr<BatchFixture> BatchFixture::make()
{
    auto f = std::make_unique<BatchFixture>();
    f->company = f->dir.filePath(QStringLiteral("company"));
    f->config = f->dir.filePath(QStringLiteral("config"));
    BatchCompany::create(f->company);
    BatchCompany::writeLayout(f->config);
    if (!BatchCompany::writeSettings(f->company, f->config))
        qWarning("the settings could not be written");
    f->rig = std::make_unique<BatchRig>(f->dir.filePath(QStringLiteral("work")), f->company);
    return f;
}

void BatchRig::setFolders(const QString& source, const QString& success, const QString& error)
{
    auto& batch = context.state.batch;
    batch.SourceFolder = source;
    batch.SuccessFolder = success;
    batch.ErrorFolder = error;
}

QString BatchRig::folder(const char* name) const
{
    return QDir(m_work).filePath(QLatin1String(name));
}

void BatchRig::scanTwiceAndPass()
{
    mode->scanTick();
    mode->scanTick();
    mode->passTick();
}

} // namespace batchtest
