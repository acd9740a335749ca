#pragma once

#include <QString>

#include <cstdint>

// Error entries (number, row, column, message, value) and the main window's import
// status display.
namespace importer {

class ImportContext;

// Adds the entry as row ErrNo of the error list and, while batch mode runs, as
// "message  row R Column C" to the batch error list.
void AddErrorLogEntry(ImportContext& context, int32_t errNo, int32_t row, int32_t column,
                      const QString& message, const QString& fieldValue);

// The whole recording of one error: ErrMsg, ErrCount + 1, the import-log line,
// then AddErrorLogEntry.
void recordError(ImportContext& context, const QString& message, int32_t row, int32_t column,
                 const QString& fieldValue = {});

void ShowErrorIndicator(ImportContext& context);
void ShowValidationFailed(ImportContext& context);
void ShowValidationPassed(ImportContext& context);
void ResetImportStatus(ImportContext& context);

} // namespace importer
