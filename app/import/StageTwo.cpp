#include "app/import/StageTwo.h"

namespace importer {

void PostImportFile(ImportContext&, const QString&, const QString&) {}

} // namespace importer
