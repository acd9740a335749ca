#include "app/import/driver/ImportDriver.h"

namespace importer {

void RunImport(ImportContext&) {}

} // namespace importer
