#pragma once

#include <QString>

// Import files generated for the benchmarks: a layout that maps many columns, so
// that every per-line field check has work to do, and lines whose values pass every
// check of both stages against the company of buildCompany.
namespace bench {

// Writes "qfm.cfg" (the column titles) and "qfm2.cfg" (documents grouped by
// account and order number) into `configFolder`.
void writeLayout(const QString& configFolder);

// Writes `documents` invoices of `linesPerDocument` lines each: document d goes to
// customer d % customers, line n of the file sells product n % products.
void writeImportFile(const QString& path, int documents, int linesPerDocument, int customers, int products);

} // namespace bench
