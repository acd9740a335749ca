#pragma once

#include <QString>

namespace importer {

class ImportContext;

// Stage two of an import: reads the import file again and builds one posting
// document per run of lines sharing a document key. Mode "validate" builds every
// document without committing it and records the whole-document errors; mode
// "import" commits each document and writes one result line per document into
// the import log. CallerForm is "frmmain" or "frmerrlog". It never throws: a
// failure ends the pass through its handler with a message (or batch error list
// entry) and an error entry.
void PostImportFile(ImportContext& context, const QString& callerForm, const QString& mode);

} // namespace importer
