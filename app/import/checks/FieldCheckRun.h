#pragma once

#include "app/import/ImportState.h"
#include "app/import/checks/FieldChecks.h"

#include <QString>

#include <cstdint>
#include <span>

// The checks of one line, shared by the field checks and their validators. Not
// part of the module's interface: FieldChecks is.
namespace importer {

namespace checks {

using namespace importer::slot;

using Flag = bool PassState::*;

// Where the decimal places allowed come from.
enum class Limit : uint8_t
{
    QtyDP,
    UnitDP,
    Six
};

// A decimal-place check: too many decimals, then a second point. The first message
// is prefix & value & " rounding not turned on in settings. Row " & R & " column "
// & C & "."; the second the same, or with ". Row " for the middle part.
struct DecimalRule
{
    const char* step; // nullptr keeps the marker
    int slot;
    Limit limit;
    const char* tooManyPrefix;
    const char* extraPointPrefix;
    bool extraPointMentionsRounding;
    Flag flag; // nullptr clears none
};

// A characters check: bad characters (which also clear FileValid), then more than
// one point. Messages: prefix & value & ". Row " ..., points & prefix & value &
// ". Row " ...
struct CharacterRule
{
    const char* step;
    int slot;
    const char* badPrefix;
    const char* pointsPrefix;
    Flag flag;
};

// A code field that, when given, must be numeric (first message) and a whole
// number in a range (second message); both read prefix & value & " Row " ...
struct CodeRangeRule
{
    const char* numericStep;
    const char* rangeStep;
    int slot;
    int lowest;
    int highest;
    const char* notNumericPrefix;
    const char* outOfRangePrefix;
};

} // namespace checks

class FieldCheckRun
{
public:
    FieldCheckRun(FieldChecks& owner, ImportContext& context);

    void checkFields();

    // The validators, each at its place in the line.
    void ValidatePaymentDecimals();
    void ValidateRateDecimals();
    void ValidateBankAccount();
    void ValidateNetValueDiscount();
    void ValidateNetValueDescription();
    void ValidateCarriageFields();
    void ValidateTransactionNo();

private:
    void checkAccountAndProduct();
    void checkDecimalPlaces();
    void checkCodesDatesAndRanges();
    void checkSettlementDueDays();
    void checkTextsAndDiscounts();
    void checkPayment();
    void checkLineCodes();

    void runDecimalRules(std::span<const checks::DecimalRule> rules);
    void runCharacterRules(std::span<const checks::CharacterRule> rules);

    // Forgets what the checks read for an earlier pass, when this is a new one.
    void followPass();
    // A setting the checks test, as a number (read once per pass).
    double settingNumber(const char* key);
    int16_t column(int slot) const;
    bool mapped(int slot) const;
    QString value(int slot) const;
    // The checks that count an empty field as 0 write the 0 into the line.
    void replaceEmptyWithZero(int slot);
    void step(const char* marker);
    QString row() const;
    // " Row " & R & " column " & C & "."
    QString rowColumn(int slot) const;
    // ". Row " & R & " column " & C & "."
    QString dotRowColumn(int slot) const;
    // " on row " & R & " column" & C & "." (no blank before the column number)
    QString onRowColumn(int slot) const;
    // Records the entry with the slot's column and value.
    void fail(const QString& message, int slot);
    void failLength(int slot, int limit, const char* prefix);
    bool nonZero(int slot) const;
    double number(int slot) const;
    bool numeric(int slot) const;
    // The 16-bit conversion (half to even; overflow outside -32768..32767).
    bool wholeNumberIn(int slot, int lowest, int highest) const;
    // A code that must be numeric and within a range; empty passes.
    void checkCodeRange(const checks::CodeRangeRule& rule);
    static bool passesDateTest(const QString& value);
    bool find(const ObjectRef& record, const char* keyField, const QString& key);
    QString editionLabel();
    double limitOf(checks::Limit limit) const;

    FieldChecks& m_owner;
    ImportContext& m_context;
    ImportState& m_state;
    PassState& m_pass;
};

} // namespace importer
