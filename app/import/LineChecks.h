#pragma once

// The per-line field checks plug in here. Stage one calls checkFields for every
// line after it was read and before its document key is worked out, and
// validateTransactionNo after the document grouping, before the row advances.
// Each failure is recorded as an error entry (ErrorEntries.h); a RuntimeError ends
// the stage through its handler.
namespace importer {

class ImportContext;

class LineChecks
{
public:
    virtual ~LineChecks() = default;
    virtual void checkFields(ImportContext& context) = 0;
    virtual void validateTransactionNo(ImportContext& context) = 0;
};

} // namespace importer
