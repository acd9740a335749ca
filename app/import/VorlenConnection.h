#pragma once

#include <QString>

#include <optional>

// The one connection to the package's engine, and the version display.
namespace importer {

class ImportContext;

// The version code shown for a company's data version ("23.1" gives "V23", "9.0"
// "V9"); the not-recognised caption for empty text; nullopt when the caption stays.
std::optional<QString> versionCodeFor(const QString& dataVersion);
// The engine library registered for a version code ("V14" is "vlvdo0engine140.dll");
// empty for a code that has no engine.
QString engineLibraryFor(const QString& versionCode);
// The ProgID of the engine class of a version code.
QString engineClassFor(const QString& versionCode);
// Whether a version code ("V18" to "V23", exactly) has the package's closed-ledger
// (lock-down) date.
bool hasLockDownDate(const QString& versionCode);

// True when a connection is open afterwards. Messages go through the import's
// message path, so batch mode never waits for a click.
bool ConnectToVorlen(ImportContext& context);
// Closes the connection when one is open. A failing Disconnect raises to the
// caller with VdoConnected still True.
void DisconnectFromVorlen(ImportContext& context);
// The same for an error handler: the connection is given up even when Disconnect
// fails, and nothing is raised.
void disconnectAfterError(ImportContext& context);
// Checks that dataFolder holds "setup.dta" and shows the version code and the
// company name of the settings form's hidden boxes on the main window.
void ShowVorlenVersion(ImportContext& context, const QString& dataFolder);

} // namespace importer
