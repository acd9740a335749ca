#pragma once

#include <QString>

#include <cstdint>

// Writes an import file of `lines` invoice lines in the four-column bench layout
// (type, account, date, order), 20 lines per document, across `customers` accounts.
void generateImportFile(const QString& path, int32_t lines, int32_t customers);
// Writes "qfm.cfg" and "qfm2.cfg" for that layout into `folder`.
void generateLayout(const QString& folder);
