#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

// The demo kit behind scripts/run-demo: one folder holding everything a newcomer
// needs to try the program: the demo company and its package program folder, a
// settings store of its own, the configuration folder with the layout files, four
// import files and the batch folders.
namespace demo {

// What the demo writes into its folder. Nothing else in the folder is ever
// touched, also not by a reset.
struct DemoPaths
{
    explicit DemoPaths(const QString& root);

    QString root;
    QString company;     // the company data folder (holds ACCDATA)
    QString program;     // the package's program folder (company list, markers)
    QString hives;       // the registry hives of the demo
    QString machineHive; // engine registrations
    QString userHive;    // the settings store
    QString config;      // "pellmoorconfigdir": qfm.cfg, qfm2.cfg and two templates
    QString batch;       // the three batch folders below it
    QString batchSource, batchSuccess, batchErrors;
    QString cleanInvoices; // imports cleanly (invoices and a credit note)
    QString invoiceErrors; // fails validation: one error per bad line
    QString salesOrders;   // sales orders, for the orders set-up
    QString batchInvoices; // for batch mode: documents of its own, so none is posted twice

    // The entries of `root` the demo owns, as a reset removes them.
    QStringList ownedEntries() const;
};

// Invoices and credit notes ("iors" 0), or sales orders ("iors" 1). Each has its
// own layout: a sales-order file carries no transaction type but a despatch date.
enum class ImportMode
{
    Invoices,
    SalesOrders
};

// The names of the two layout templates in the configuration folder, as the layout
// editor's Restore From File lists them ("invoicesqfm.cfg", "ordersqfm.cfg").
QString templateName(ImportMode mode);

// The program's own login the demo stores; the password is kept scrambled.
inline constexpr const char* DemoLogin = "demo";
inline constexpr const char* DemoPassword = "demo";

// The batch interval written for the demo: one minute, the shortest pass period.
inline constexpr const char* DemoBatchIntervalMs = "60000";

struct SetupOptions
{
    QString seedFile;               // the demo company's seed (tools/demo/demo.json)
    QString importFiles;            // the folder of the import files to copy
    bool reset = false;             // remove what the demo owns first, then set up afresh
    std::optional<ImportMode> mode; // switch the import mode (setting and layout files)
};

class DemoError : public std::runtime_error
{
public:
    explicit DemoError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Points this process's registry hives, and with them the settings store, at the
// demo's own files. Every other function here expects this to have been done.
void useDemoHives(const DemoPaths& paths);

// Sets up the demo folder. Idempotent: what exists is kept (the company with what
// was posted into it, settings the user changed, layout files the user saved);
// what is missing is made. Returns one line per step, for the user to read.
// Throws DemoError naming what could not be made.
QStringList setUpDemo(const DemoPaths& paths, const SetupOptions& options);

} // namespace demo
