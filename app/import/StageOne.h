#pragma once

#include <QString>

namespace importer {

class ImportContext;

// Stage one of an import: reads the layout, checks the import file as a whole,
// connects to the package and walks the file line by line, recording every error.
// CallerForm is "frmmain" or "frmerrlog"; Mode "validate" or "import" (either case).
// It never throws: every failure ends in a message (or a batch error list entry),
// an error entry, or both, and leaves StageOneCompleted False.
void ValidateImportFile(ImportContext& context, const QString& callerForm, const QString& mode);

} // namespace importer
