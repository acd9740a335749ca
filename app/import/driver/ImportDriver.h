#pragma once

namespace importer {

class ImportContext;

// Runs a whole import of the file named in the main window's txtImportFile: stage
// one, the validate pass of stage two, the lock-down-date check, the confirmation
// (not in batch mode) and the import pass. Installs the per-line field checks when
// the context has none. Never throws.
void RunImport(ImportContext& context);

} // namespace importer
