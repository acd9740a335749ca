#pragma once

#include "app/import/LayoutFiles.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/Variant.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The state the import routines share: stage one fills it, stage two and the
// driver read and extend it, batch mode sets the batch part. One instance lives
// for the program; each pass resets what it owns.
namespace importer {

using basic::ObjectRef;

// The layout table and the current line.
struct LayoutState
{
    ColumnTable ColPos{};
    int16_t LastCol = 0;
    int16_t ExpectedCommas = 0;
    bool TaxCodeMapped = false;
    GroupTitles GroupCol; // kept across calls when "qfm2.cfg" is empty
    QString GroupSpec;    // "2+4"
};

struct LineState
{
    // LineFields[k] is import-file column k; element 0 is never written.
    std::array<QString, MaxColumns + 1> LineFields;
    // The open import file; stage one leaves it open for stage two when called
    // from the main window.
    std::unique_ptr<basic::SequentialFile> ImportFile;
    int32_t Row = 0;
    int32_t TotalRows = 0;
    // Document keys: the field values joined as shown to the user ("Unique No.").
    QString DocKey;
    QString LineKey;
    // The same keys with the fields kept apart, for deciding where a document ends.
    QString DocCompareKey;
    QString LineCompareKey;

    QString field(int16_t column) const { return LineFields[size_t(column)]; }
};

// Results and markers of one pass.
struct PassState
{
    int32_t ErrCount = 0; // wide: a 32,000-line file may hold more errors than 32,767
    QString ErrMsg;
    QString CurrentStep;
    bool FileValid = false;
    bool ValidateOK = false;
    bool ImportOK = false;
    bool StageOneCompleted = false;
    int16_t ImportToSop = 0;
    int16_t TransNoFromFile = 0;
    double StockUnitDP = 0;
    double StockQtyDP = 0;
    bool RateValid = true;
    bool AmountValid = true;
    bool QtyValid = true;
    bool PaymentValid = true;
    bool PriceValid = true;
    bool DiscPriceValid = true;
};

// The connection to the package and the objects created from it.
struct PackageState
{
    ObjectRef VdoEngine;
    ObjectRef VdoWorkspace;
    bool VdoConnected = false;

    ObjectRef DocumentRec; // "SOPRecord" or "InvoiceRecord", held by stage one
    ObjectRef SalesRec;
    ObjectRef StockRec;
    ObjectRef PriceRec;
    ObjectRef SalesDeliveryRec;
    ObjectRef CurrencyRec;
    ObjectRef BankRec;
    ObjectRef NominalRec;
    ObjectRef ControlDataRec;
    ObjectRef SetupDataRec;
    ObjectRef CurrentPost;
};

// A document of the file: its first and last rows and its customer.
struct PassDocument
{
    int32_t FirstRow = 0;
    int32_t LastRow = 0;
    QString AccountRef;
};

struct BatchState
{
    bool BatchRunning = false;
    // The number read from "BatchUpdateEnabled": the controls are offered when it
    // is not 0, the mode starts only when it is exactly 1.
    int32_t BatchModeEnabled = 0;
    QString SourceFolder;
    QString SuccessFolder;
    QString ErrorFolder;
    QString CurrentFilePath;
    int32_t BatchIntervalMs = 0;
    // Built into filed names; 16 bits that wrap from 32767 to -32768.
    int16_t FilingCounter = 0;
    std::vector<QString> BatchErrors; // BatchErrorCount is its size
    // Told, before the pass that commits begins, the documents it is to post in
    // order (as the validate pass built them), so that batch mode can record them
    // durably first. While it is set the validate pass fills PassDocuments.
    std::function<void(const std::vector<PassDocument>& documents)> ImportPassStarting;
    std::vector<PassDocument> PassDocuments;
    // Told each document of the import pass once it is done, in order: its number
    // ("Invoice No 12") when committed, empty when it was not; batch mode records it
    // before the next commit.
    std::function<void(const QString& document)> DocumentDone;

    int32_t BatchErrorCount() const { return int32_t(BatchErrors.size()); }
};

// What the driver keeps between the passes.
struct DriverState
{
    bool LockDownEnabled = false;
    bool LockDownHit = false;
    basic::DateValue LockDownDate;
    QString OverrideAnswer;
    QString ConfirmText;
    // The date of the first document on or before LockDownDate, as the lock-down
    // entry names it.
    QString LockDownValue;
};

struct ImportState
{
    LayoutState layout;
    LineState line;
    PassState pass;
    PackageState package;
    BatchState batch;
    DriverState driver;
};

} // namespace importer
