#pragma once

#include <QString>

#include <cstdint>

namespace importer {
class ImportContext;
}

// The batch part of the main window's load: the three folders, the interval and
// whether batch mode is offered, from the settings form and the settings store.
namespace batch {

// "BatchInterval" as milliseconds: numeric text rounded to a whole number (half
// to even), anything else 60.
int32_t batchIntervalFrom(const QString& setting);

// Fills SuccessFolder (the settings form's box), ErrorFolder ("BatchErrorlogPath"),
// SourceFolder ("BatchSourcePath"), BatchIntervalMs ("BatchInterval") and
// BatchModeEnabled ("BatchUpdateEnabled", default 0, as a number); resets
// FilingCounter. Returns Timer2's interval. Raises basic::RuntimeError for a
// "BatchUpdateEnabled" that is no number (the load reports it).
int loadBatchSettings(importer::ImportContext& context);

// ChkBatchEnabled: whether the batch controls are enabled (BatchModeEnabled not 0).
bool batchControlsEnabled(const importer::ImportContext& context);

} // namespace batch
