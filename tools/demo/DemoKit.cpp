#include "tools/demo/DemoKit.h"

#include "app/import/LayoutFiles.h"
#include "app/import/LayoutSlots.h"
#include "app/mainwindow/password/LoginPassword.h"

#include "package/company/CompanyFolder.h"
#include "package/company/LedgerError.h"
#include "package/company/Seed.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/registry/RegistryStore.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <initializer_list>
#include <utility>
#include <vector>

namespace demo {

namespace {

using importer::LayoutFiles;
namespace slot = importer::slot;

const char* const MachineHiveVariable = "QUILLAR_MACHINE_HIVE";
const char* const UserHiveVariable = "QUILLAR_USER_HIVE";

// The two layouts, column by column, and the fields that group lines into one
// document: a customer's lines with one order number are one document.
struct Layout
{
    std::vector<int> columns;
    std::vector<int> groups;
};

Layout layoutFor(ImportMode mode)
{
    if (mode == ImportMode::SalesOrders)
        return {{slot::AccountReference, slot::TransactionDate, slot::CustomerOrderNumber, slot::ProductCode,
                 slot::Quantity, slot::UnitPrice, slot::DespatchDueDate},
                {slot::AccountReference, slot::CustomerOrderNumber}};
    return {{slot::TransactionType, slot::AccountReference, slot::TransactionDate, slot::CustomerOrderNumber,
             slot::ProductCode, slot::Quantity, slot::UnitPrice},
            {slot::AccountReference, slot::CustomerOrderNumber}};
}

void writeLayout(const QString& folder, ImportMode mode, const QString& templateName = {})
{
    const Layout layout = layoutFor(mode);
    std::array<QString, importer::SlotCount> columns;
    for (size_t i = 0; i < layout.columns.size(); ++i)
        columns[i] = importer::slotTitle(layout.columns[i]);
    importer::GroupTitles groups;
    for (size_t i = 0; i < layout.groups.size(); ++i)
        groups[i] = importer::slotTitle(layout.groups[i]);
    try {
        LayoutFiles::write(folder, columns, groups, templateName);
    } catch (const basic::RuntimeError& e) {
        throw DemoError(
            QStringLiteral("The layout files in %1 cannot be written: %2").arg(folder, e.description()));
    }
}

bool layoutExists(const QString& folder, const QString& templateName = {})
{
    return QFileInfo::exists(
               company::folder::resolvePath(LayoutFiles::columnFilePath(folder, templateName))) &&
           QFileInfo::exists(company::folder::resolvePath(LayoutFiles::groupFilePath(folder, templateName)));
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw DemoError(QStringLiteral("The folder %1 cannot be made").arg(path));
}

QJsonObject readSeed(const QString& seedFile)
{
    QFile f(seedFile);
    if (!f.open(QIODevice::ReadOnly))
        throw DemoError(QStringLiteral("The demo company's seed %1 cannot be read").arg(seedFile));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw DemoError(QStringLiteral("The demo company's seed %1 is not a JSON object").arg(seedFile));
    return document.object();
}

// The package login the import connects with: the seed's first user.
std::pair<QString, QString> packageLogin(const QJsonObject& seed, const QString& seedFile)
{
    const QJsonObject user = seed.value(QStringLiteral("users")).toArray().at(0).toObject();
    const QString name = user.value(QStringLiteral("name")).toString();
    if (name.isEmpty())
        throw DemoError(QStringLiteral("The demo company's seed %1 has no user").arg(seedFile));
    return {name, user.value(QStringLiteral("password")).toString()};
}

QString setUpCompany(const DemoPaths& paths, const QJsonObject& seed, const QString& seedFile,
                     company::SetupInfo& info)
{
    QString line;
    const QString accdata = company::folder::accdataOf(paths.company);
    try {
        if (QFileInfo::exists(accdata)) {
            line = QStringLiteral("Company: kept %1").arg(paths.company);
        } else {
            company::createCompany(seed, paths.company, QFileInfo(seedFile).fileName());
            line = QStringLiteral("Company: created %1").arg(paths.company);
        }
        info = company::folder::readSetupFile(accdata);
        company::folder::addToCompanyFile(paths.program, paths.company);
        company::folder::writeProgramMarkers(paths.program);
    } catch (const company::LedgerError& e) {
        throw DemoError(
            QStringLiteral("The demo company in %1: %2 (scripts/run-demo --reset makes it afresh)")
                .arg(paths.company, e.message()));
    }
    return line + QStringLiteral(" (%1, data version %2)").arg(info.name, info.versionText());
}

bool settingStored(const QString& key)
{
    registry::Value value;
    const QString path = settings::settingsKeyPath(QLatin1String(settings::ApplicationName),
                                                   QLatin1String(settings::SectionName));
    return registry::readValue(registry::Hive::CurrentUser, path, key, value) == registry::Success;
}

void storeSetting(const QString& key, const QString& value)
{
    if (!settings::writeSetting(key, value))
        throw DemoError(QStringLiteral("The setting %1 cannot be written to %2")
                            .arg(key, registry::hivePath(registry::Hive::CurrentUser)));
}

using Settings = std::vector<std::pair<QString, QString>>;

Settings demoSettings(const DemoPaths& paths, const company::SetupInfo& info,
                      const std::pair<QString, QString>& login)
{
    return {
        {QStringLiteral("VorlenProgramPath"), paths.program},
        {QStringLiteral("VorlenDataPath"), paths.company},
        {QStringLiteral("VorlenCompanyName"), info.name},
        {QStringLiteral("VorlenVersion"), info.versionText()},
        {QStringLiteral("VorlenUsername"), login.first},
        {QStringLiteral("VorlenPassword"), login.second},
        {QStringLiteral("pellmoorconfigdir"), paths.config},
        {QStringLiteral("iors"), QStringLiteral("0")},
        {QStringLiteral("BatchSourcePath"), paths.batchSource},
        {QStringLiteral("BatchSuccessPath"), paths.batchSuccess},
        {QStringLiteral("BatchErrorlogPath"), paths.batchErrors},
        {QStringLiteral("BatchInterval"), QLatin1String(DemoBatchIntervalMs)},
        {QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1")},
        {QStringLiteral("QuillarLogin"), QLatin1String(DemoLogin)},
        {QStringLiteral("QuillarPassword"), password::ScrambleLoginPassword(QLatin1String(DemoPassword))},
    };
}

// A setting the user changed since (in the settings form, or the password change)
// is kept; only missing ones are written.
QString setUpSettings(const Settings& values)
{
    int written = 0;
    for (const auto& [key, value] : values) {
        if (settingStored(key))
            continue;
        storeSetting(key, value);
        ++written;
    }
    return QStringLiteral("Settings: %1 written, %2 kept, in %3")
        .arg(written)
        .arg(int(values.size()) - written)
        .arg(registry::hivePath(registry::Hive::CurrentUser));
}

ImportMode storedMode()
{
    return settings::readSetting(QStringLiteral("iors"), QStringLiteral("0")).trimmed() == QLatin1String("1")
               ? ImportMode::SalesOrders
               : ImportMode::Invoices;
}

QString modeName(ImportMode mode)
{
    return mode == ImportMode::SalesOrders ? QStringLiteral("sales orders")
                                           : QStringLiteral("invoices and credit notes");
}

QStringList setUpLayouts(const DemoPaths& paths, const std::optional<ImportMode>& mode)
{
    QStringList lines;
    makeFolder(paths.config);
    for (const ImportMode each : {ImportMode::Invoices, ImportMode::SalesOrders}) {
        if (!layoutExists(paths.config, templateName(each)))
            writeLayout(paths.config, each, templateName(each));
    }
    if (mode) {
        // As the settings form's interlock: sales orders take no cash with the invoice.
        storeSetting(QStringLiteral("iors"),
                     *mode == ImportMode::SalesOrders ? QStringLiteral("1") : QStringLiteral("0"));
        if (*mode == ImportMode::SalesOrders)
            storeSetting(QStringLiteral("Checkcashwithinvoice"), QStringLiteral("0"));
        writeLayout(paths.config, *mode);
        lines << QStringLiteral("Import mode: %1 (setting iors and the layout files)").arg(modeName(*mode));
    } else if (!layoutExists(paths.config)) {
        writeLayout(paths.config, storedMode());
        lines
            << QStringLiteral("Layout files: written for %1 in %2").arg(modeName(storedMode()), paths.config);
    } else {
        lines << QStringLiteral("Layout files: kept in %1 (import mode: %2)")
                     .arg(paths.config, modeName(storedMode()));
    }
    return lines;
}

// Copied whole or not at all, so a broken copy is never kept as the demo's file.
QString setUpImportFile(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target))
        return QStringLiteral("Import file: kept %1").arg(target);
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly))
        throw DemoError(QStringLiteral("The demo import file %1 cannot be read").arg(source));
    const QByteArray bytes = in.readAll();
    const QString why = out.open(QIODevice::WriteOnly) ? basic::commitWhole(out, bytes) : out.errorString();
    if (!why.isEmpty())
        throw DemoError(QStringLiteral("The import file %1 cannot be written: %2").arg(target, why));
    return QStringLiteral("Import file: written %1").arg(target);
}

void removeOwned(const DemoPaths& paths)
{
    for (const QString& entry : paths.ownedEntries()) {
        const QFileInfo info(entry);
        // A link is removed itself, never what it points to.
        const bool removed = !info.exists() && !info.isSymLink() ? true
                             : info.isDir() && !info.isSymLink() ? QDir(entry).removeRecursively()
                                                                 : QFile::remove(entry);
        if (!removed)
            throw DemoError(QStringLiteral("%1 cannot be removed").arg(entry));
    }
}

} // namespace

DemoPaths::DemoPaths(const QString& folder)
    : root(QDir(folder).absolutePath()), company(root + QStringLiteral("/Demo")),
      program(root + QStringLiteral("/Vorlen")), hives(root + QStringLiteral("/hives")),
      machineHive(hives + QStringLiteral("/machine.hive")), userHive(hives + QStringLiteral("/user.hive")),
      config(root + QStringLiteral("/config")), batch(root + QStringLiteral("/batch")),
      batchSource(batch + QStringLiteral("/in")), batchSuccess(batch + QStringLiteral("/done")),
      batchErrors(batch + QStringLiteral("/errors")), cleanInvoices(root + QStringLiteral("/invoices.csv")),
      invoiceErrors(root + QStringLiteral("/invoices-with-errors.csv")),
      salesOrders(root + QStringLiteral("/sales-orders.csv")),
      batchInvoices(root + QStringLiteral("/batch-invoices.csv"))
{
}

QStringList DemoPaths::ownedEntries() const
{
    return {company, program, hives, config, batch, cleanInvoices, invoiceErrors, salesOrders, batchInvoices};
}

QString templateName(ImportMode mode)
{
    return mode == ImportMode::SalesOrders ? QStringLiteral("orders") : QStringLiteral("invoices");
}

void useDemoHives(const DemoPaths& paths)
{
    qputenv(MachineHiveVariable, QFile::encodeName(paths.machineHive));
    qputenv(UserHiveVariable, QFile::encodeName(paths.userHive));
}

QStringList setUpDemo(const DemoPaths& paths, const SetupOptions& options)
{
    if (registry::hivePath(registry::Hive::CurrentUser) != paths.userHive)
        throw DemoError(QStringLiteral("The settings store is not the demo's own (%1)").arg(paths.userHive));
    const QJsonObject seed = readSeed(options.seedFile);
    const auto login = packageLogin(seed, options.seedFile);

    QStringList lines;
    if (options.reset) {
        removeOwned(paths);
        lines << QStringLiteral("Reset: removed the demo's files in %1").arg(paths.root);
    }
    makeFolder(paths.root);
    makeFolder(paths.hives);

    company::SetupInfo info;
    lines << setUpCompany(paths, seed, options.seedFile, info);
    lines << setUpSettings(demoSettings(paths, info, login));
    lines << setUpLayouts(paths, options.mode);
    const QDir files(options.importFiles);
    for (const QString& target : {paths.cleanInvoices, paths.invoiceErrors, paths.salesOrders, paths.batchInvoices})
        lines << setUpImportFile(files.filePath(QFileInfo(target).fileName()), target);
    for (const QString& folder : {paths.batchSource, paths.batchSuccess, paths.batchErrors})
        makeFolder(folder);
    lines << QStringLiteral("Batch folders: %1 (in, done, errors)").arg(paths.batch);
    return lines;
}

} // namespace demo
