#include "app/import/checks/FieldChecks.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ImportContext.h"
#include "app/import/ImportLogView.h"
#include "app/import/MainWindowView.h"
#include "app/import/checks/FieldCheckRun.h"
#include "app/import/checks/FieldScans.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/settings/SettingsStore.h"

#include <array>
#include <unordered_map>

namespace importer {

using basic::Variant;
using namespace checks;

namespace {

constexpr const char* RoundingRow = " rounding not turned on in settings. Row ";

constexpr std::array QuantityDecimals{
    DecimalRule{"11 qty", Quantity, Limit::QtyDP, "Too many decimals on Quantity ",
                "More than one decimal point found", true, &PassState::QtyValid},
};

constexpr std::array UnitPriceDecimals{
    DecimalRule{"11 qty", UnitPrice, Limit::UnitDP, "Too many decimals on Unit Price ",
                "More than one decimal point found in Unit Price ", false, &PassState::PriceValid},
    DecimalRule{"27", UnitDiscountPrice, Limit::UnitDP, "Too many decimals on Discount Price ",
                "More than one decimal point found in Unit Price ", false, &PassState::DiscPriceValid},
};

// Slot 50 is mapped: the carriage tax amount is held to six places. The texts
// speak of the carriage net, as they always have.
constexpr std::array CarriageTaxDecimals{
    DecimalRule{"50", CarrTaxAmount, Limit::Six, "Too many decimals on Carriage net ",
                "More than one decimal point found in carriage net ", false, nullptr},
};

constexpr std::array DiscountAmountDecimals{
    DecimalRule{"26", DiscountAmount, Limit::UnitDP, "Too many decimals on Discount Amount ",
                "More than one decimal point found in Discount Amount ", true, &PassState::AmountValid},
};

constexpr std::array FirstCharacterRules{
    CharacterRule{nullptr, Quantity, "Characters in the quantity field ",
                  " decimal points found in quantity ", &PassState::QtyValid},
    CharacterRule{"12", UnitPrice, "Characters in the unit price field ",
                  " decimal points found in the unit price field", &PassState::PriceValid},
    CharacterRule{"18", PaymentValue, "Characters in the payment field ",
                  " Decimal points in the payment field", &PassState::PaymentValid},
    CharacterRule{"18", DiscountRate, "Characters in the discount rate ",
                  " Decimal points in the discount rate field", &PassState::RateValid},
    CharacterRule{"26-2", DiscountAmount, "Characters in the discount amount field ",
                  " Decimal points in the discount amount field", &PassState::AmountValid},
};

constexpr std::array SecondCharacterRules{
    CharacterRule{"5-2", DiscountRate, "Characters in the discount rate field ",
                  " decimal points found in the discount rate field ", &PassState::RateValid},
    CharacterRule{"26z", DiscountAmount, "Characters in the discount amount field ",
                  " decimal places found in the discount amount field ", &PassState::AmountValid},
};

struct LengthRule
{
    int slot;
    const char* message;
};

// The free-text fields, 60 characters each; Comment 2 comes before Comment 1.
constexpr std::array SixtyCharacterFields{
    LengthRule{5, "Notes field 1  cannot be more than 60 characters "},
    LengthRule{6, "Notes field 2  cannot be more than 60 characters "},
    LengthRule{7, "Notes field 3  cannot be more than 60 characters "},
    LengthRule{10, "Comment field 2 cannot be more than 60 characters "},
    LengthRule{9, "Comment field 1 cannot be more than 60 characters "},
    LengthRule{13, "Details field 1  cannot be more than 60 characters "},
    LengthRule{14, "Details field 2 cannot be more than 60 characters "},
    LengthRule{15, "Details field 3  cannot be more than 60 characters "},
    LengthRule{16, "Details field 4 cannot be more than 60 characters "},
    LengthRule{17, "Details field 5  cannot be more than 60 characters "},
    LengthRule{19, "Delivery address name  cannot be more than 60 characters "},
    LengthRule{20, "Delivery field 1  cannot be more than 60 characters "},
    LengthRule{21, "Delivery address field 2 cannot be more than 60 characters "},
    LengthRule{22, "Delivery address field 3 cannot be more than 60 characters "},
    LengthRule{23, "Delivery address field 4 cannot be more than 60 characters "},
    LengthRule{24, "Delivery address field 5 cannot be more than 60 characters "},
    LengthRule{28, "Product Description cannot be more than 60 characters "},
};

constexpr CodeRangeRule LineTaxCodeRule{"46x",
                                        "46x2",
                                        LineTaxCode,
                                        0,
                                        99,
                                        "Line Tax code must be numeric and in range 0-99",
                                        "Line Tax code must be in range 0-99"};

// The discount rate is a percentage; its message has always named 9.999999, but
// rates of 10 and more are in use and the bound has been 99.999999.
constexpr double DiscountRateBound = 99.999999;
constexpr double SettlementRateBound = 99.9999;

QString lit(const char* text)
{
    return QString::fromLatin1(text);
}

bool isSpecialCode(const QString& code)
{
    return code == QLatin1String("S1") || code == QLatin1String("S2") || code == QLatin1String("S3") ||
           code == QLatin1String("M");
}

} // namespace

FieldCheckRun::FieldCheckRun(FieldChecks& owner, ImportContext& context)
    : m_owner(owner), m_context(context), m_state(context.state), m_pass(context.state.pass)
{
}

int16_t FieldCheckRun::column(int slot) const
{
    return m_state.layout.ColPos[size_t(slot)];
}

bool FieldCheckRun::mapped(int slot) const
{
    return column(slot) > 0;
}

QString FieldCheckRun::value(int slot) const
{
    return m_state.line.field(column(slot));
}

void FieldCheckRun::replaceEmptyWithZero(int slot)
{
    if (mapped(slot) && value(slot).isEmpty())
        m_state.line.LineFields[size_t(column(slot))] = QStringLiteral("0");
}

void FieldCheckRun::step(const char* marker)
{
    if (!marker)
        return;
    // Markers are literals, set dozens of times a line: each is made a QString once.
    static std::unordered_map<const char*, QString> made;
    auto it = made.find(marker);
    if (it == made.end())
        it = made.emplace(marker, lit(marker)).first;
    m_pass.CurrentStep = it->second;
}

QString FieldCheckRun::row() const
{
    return QString::number(m_state.line.Row);
}

QString FieldCheckRun::rowColumn(int slot) const
{
    return QStringLiteral(" Row ") + row() + QStringLiteral(" column ") + QString::number(column(slot)) +
           QStringLiteral(".");
}

QString FieldCheckRun::dotRowColumn(int slot) const
{
    return QStringLiteral(".") + rowColumn(slot);
}

QString FieldCheckRun::onRowColumn(int slot) const
{
    return QStringLiteral(" on row ") + row() + QStringLiteral(" column") + QString::number(column(slot)) +
           QStringLiteral(".");
}

void FieldCheckRun::fail(const QString& message, int slot)
{
    recordError(m_context, message, m_state.line.Row, column(slot), value(slot));
}

void FieldCheckRun::failLength(int slot, int limit, const char* prefix)
{
    const QString v = value(slot);
    if (v.size() > limit)
        fail(lit(prefix) + v + rowColumn(slot), slot);
}

bool FieldCheckRun::nonZero(int slot) const
{
    const QString v = value(slot);
    return !v.isEmpty() && basic::CDbl(Variant(v)) != 0;
}

double FieldCheckRun::number(int slot) const
{
    return basic::CDbl(Variant(value(slot)));
}

bool FieldCheckRun::numeric(int slot) const
{
    return basic::IsNumeric(Variant(value(slot)));
}

bool FieldCheckRun::wholeNumberIn(int slot, int lowest, int highest) const
{
    const int16_t n = basic::CInt(Variant(value(slot)));
    return n >= lowest && n <= highest;
}

void FieldCheckRun::checkCodeRange(const CodeRangeRule& rule)
{
    step(rule.numericStep);
    const QString v = value(rule.slot);
    if (v.isEmpty())
        return;
    if (!numeric(rule.slot)) {
        fail(lit(rule.notNumericPrefix) + v + rowColumn(rule.slot), rule.slot);
        return;
    }
    step(rule.rangeStep);
    if (!wholeNumberIn(rule.slot, rule.lowest, rule.highest))
        fail(lit(rule.outOfRangePrefix) + v + rowColumn(rule.slot), rule.slot);
}

bool FieldCheckRun::passesDateTest(const QString& v)
{
    if (basic::IsDate(Variant(v)))
        return true;
    const QString dayFirst = v.mid(0, 2) + QLatin1Char('/') + v.mid(2, 2) + QLatin1Char('/') + v.mid(4, 8);
    return basic::IsDate(Variant(dayFirst));
}

bool FieldCheckRun::find(const ObjectRef& record, const char* keyField, const QString& key)
{
    const ObjectRef rec = automation::toObject(Variant(record));
    rec->setValue({packageName(keyField)}, Variant(key));
    automation::Args args{Variant(false)};
    return basic::CBool(rec->invoke(m_owner.m_findId.of(rec), automation::Invoke::Method, args));
}

void FieldCheckRun::followPass()
{
    const ObjectRef& setup = m_state.package.SetupDataRec;
    if (setup && m_owner.m_pass.lock() == setup)
        return;
    // A new pass (or none to tell by): nothing read for the last one holds.
    m_owner.m_pass = setup;
    m_owner.m_settings.clear();
    m_owner.m_edition.reset();
    m_owner.m_showSpecialCodes.reset();
}

double FieldCheckRun::settingNumber(const char* key)
{
    auto it = m_owner.m_settings.find(key);
    if (it == m_owner.m_settings.end()) {
        const double number = basic::CDbl(Variant(settings::readSetting(lit(key), QStringLiteral("0"))));
        it = m_owner.m_settings.emplace(key, number).first;
    }
    return it->second;
}

QString FieldCheckRun::editionLabel()
{
    if (m_owner.m_editionLabel)
        return m_owner.m_editionLabel();
    // The main window's edition label, as the connection captioned it.
    if (!m_owner.m_edition)
        m_owner.m_edition = m_context.mainWindow.lblVersion();
    return *m_owner.m_edition;
}

double FieldCheckRun::limitOf(Limit limit) const
{
    switch (limit) {
    case Limit::QtyDP:
        return m_pass.StockQtyDP;
    case Limit::UnitDP:
        return m_pass.StockUnitDP;
    case Limit::Six:
        break;
    }
    return 6;
}

void FieldCheckRun::runDecimalRules(std::span<const DecimalRule> rules)
{
    for (const DecimalRule& rule : rules) {
        step(rule.step);
        if (!mapped(rule.slot))
            continue;
        const QString v = value(rule.slot);
        const checks::DecimalScanResult scan = decimalScan(v);
        if (scan.decimals > limitOf(rule.limit)) {
            fail(lit(rule.tooManyPrefix) + v + lit(RoundingRow) + row() + QStringLiteral(" column ") +
                     QString::number(column(rule.slot)) + QStringLiteral("."),
                 rule.slot);
            if (rule.flag)
                m_pass.*rule.flag = false;
        }
        if (scan.extraPoint) {
            const QString message = rule.extraPointMentionsRounding
                                        ? lit(rule.extraPointPrefix) + v + lit(RoundingRow) + row() +
                                              QStringLiteral(" column ") +
                                              QString::number(column(rule.slot)) + QStringLiteral(".")
                                        : lit(rule.extraPointPrefix) + v + dotRowColumn(rule.slot);
            fail(message, rule.slot);
            if (rule.flag)
                m_pass.*rule.flag = false;
        }
    }
}

void FieldCheckRun::runCharacterRules(std::span<const CharacterRule> rules)
{
    for (const CharacterRule& rule : rules) {
        step(rule.step);
        if (!mapped(rule.slot))
            continue;
        const QString v = value(rule.slot);
        const checks::CharacterScanResult scan = characterScan(v);
        if (scan.bad) {
            fail(lit(rule.badPrefix) + v + dotRowColumn(rule.slot), rule.slot);
            m_pass.FileValid = false;
            if (rule.flag)
                m_pass.*rule.flag = false;
        }
        if (scan.points > 1) {
            fail(QString::number(scan.points) + lit(rule.pointsPrefix) + v + dotRowColumn(rule.slot),
                 rule.slot);
            if (rule.flag)
                m_pass.*rule.flag = false;
        }
    }
}

// Checks 1 to 7: the customer and the product.
void FieldCheckRun::checkAccountAndProduct()
{
    // A layout without the column checks empty text, never a value of an earlier file.
    m_owner.m_accountRef = value(AccountReference);
    const QString account = m_owner.m_accountRef;
    m_owner.m_customerFound = false;
    if (account.size() > 8) {
        recordError(m_context,
                    QStringLiteral("Account No ") + account + QStringLiteral(" greater than 8 characters") +
                        onRowColumn(AccountReference),
                    m_state.line.Row, column(AccountReference), account);
    } else {
        m_owner.m_recordFound = find(m_state.package.SalesRec, "ACCOUNT_REF", account);
        m_owner.m_customerFound = m_owner.m_recordFound;
        if (!m_owner.m_recordFound)
            recordError(m_context,
                        QStringLiteral("Account No ") + account + QStringLiteral(" does not exist") +
                            onRowColumn(AccountReference),
                        m_state.line.Row, column(AccountReference), account);
    }

    m_owner.m_stockCode = value(ProductCode);
    const QString code = m_owner.m_stockCode;
    const int32_t r = m_state.line.Row;
    const int16_t c = column(ProductCode);
    const QString rowCol = row() + QStringLiteral(" column ") + QString::number(c);
    m_owner.m_productFound = false;
    m_owner.m_recordFound = true;
    if (code.size() > 30) {
        recordError(m_context,
                    QStringLiteral("Stock Code ") + code +
                        QStringLiteral(" is greater than 30 characters.  Row ") + rowCol,
                    r, c, code);
        m_owner.m_recordFound = false;
    }
    if (!m_owner.m_showSpecialCodes)
        m_owner.m_showSpecialCodes = basic::CStr(automation::toObject(Variant(m_state.package.SetupDataRec))
                                                     ->value({QStringLiteral("INV_SHOW_SPECIAL_CODES")}));
    const QString& showSpecial = *m_owner.m_showSpecialCodes;
    if (showSpecial == QLatin1String("0") && isSpecialCode(code)) {
        recordError(m_context,
                    QStringLiteral("Special Code ") + code +
                        QStringLiteral(" not allowed, turned off in settings.  Row ") + rowCol,
                    r, c, code);
        m_owner.m_recordFound = false;
    }
    const QString edition = editionLabel();
    if (edition != QLatin1String("Ferriby") && code == QLatin1String("S3")) {
        // The import log keeps the empty line after this entry; the error list and
        // the batch error list get the text without the break, which would split
        // the entry in two in the per-file error file.
        const QString text = QStringLiteral("Special Code S3 not allowed in this version of Vorlen row ") +
                             rowCol + QStringLiteral(".");
        m_pass.ErrMsg = text + QStringLiteral("\r\n");
        m_pass.ErrCount += 1;
        m_context.importLog.appendTxtImportText(m_pass.ErrMsg + QStringLiteral("\r\n"));
        AddErrorLogEntry(m_context, m_pass.ErrCount, r, c, text, code);
        m_owner.m_recordFound = false;
    }
    if (edition == QLatin1String("Aldwick") && code.isEmpty()) {
        recordError(m_context,
                    QStringLiteral("Service Invoices are not allowed in this version of Vorlen.  row ") +
                        rowCol + QStringLiteral("."),
                    r, c, code);
        m_owner.m_recordFound = false;
    }
    if (!m_owner.m_recordFound)
        return;
    if (isSpecialCode(code))
        return; // nothing to look up; RecordFound stays True
    m_owner.m_recordFound = find(m_state.package.StockRec, "STOCK_CODE", code);
    m_owner.m_productFound = m_owner.m_recordFound;
    if (!m_owner.m_recordFound)
        recordError(m_context,
                    QStringLiteral("Stock Code ") + code + QStringLiteral(" does not exist on row ") +
                        rowCol + QStringLiteral("."),
                    r, c, code);
}

// Checks 8 to 16: decimal places, where rounding is off.
void FieldCheckRun::checkDecimalPlaces()
{
    const bool roundQuantity = settingNumber("CheckRndQty") != 0;
    step("11 qty");
    if (!roundQuantity)
        runDecimalRules(QuantityDecimals);
    if (settingNumber("CheckRndPrice") != 0)
        return;
    runDecimalRules(UnitPriceDecimals);
    step("27");
    ValidatePaymentDecimals();
    ValidateRateDecimals();
    if (mapped(CarrTaxAmount))
        runDecimalRules(CarriageTaxDecimals);
    runDecimalRules(DiscountAmountDecimals);
}

// Checks 27 to 50.
void FieldCheckRun::checkCodesDatesAndRanges()
{
    const bool messageLine = m_owner.m_stockCode == QLatin1String("M");
    // Every value of "iors" but 1 imports invoices.
    const bool sopImport = m_pass.ImportToSop == 1;
    const bool invoiceImport = !sopImport;

    step("26-2");
    if (messageLine && m_pass.PriceValid && nonZero(UnitPrice))
        fail(QStringLiteral("Message line has a price  ") + value(UnitPrice) + rowColumn(UnitPrice),
             UnitPrice);
    if (messageLine && mapped(DiscountRate) && m_pass.RateValid && nonZero(DiscountRate))
        fail(QStringLiteral("Message line has a discount rate  ") + value(DiscountRate) +
                 rowColumn(DiscountRate),
             DiscountRate);
    step("26-3");
    if (messageLine && mapped(DiscountAmount) && m_pass.AmountValid && nonZero(DiscountAmount))
        fail(QStringLiteral("Message line has a discount amount  ") + value(DiscountAmount) +
                 rowColumn(DiscountAmount),
             DiscountAmount);
    if (invoiceImport) {
        const QString type = value(TransactionType);
        if (type != QLatin1String("I") && type != QLatin1String("C") && type != QLatin1String("i") &&
            type != QLatin1String("c"))
            fail(QStringLiteral("Invalid Transaction Type  ") + type +
                     QStringLiteral(" should be I or C.  Row ") + row() + QStringLiteral(" column ") +
                     QString::number(column(TransactionType)) + QStringLiteral("."),
                 TransactionType);
    }
    if (messageLine && m_pass.QtyValid && nonZero(Quantity))
        fail(QStringLiteral("Message line has a quantity  ") + value(Quantity) + rowColumn(Quantity),
             Quantity);
    if (mapped(TransactionDate) && !passesDateTest(value(TransactionDate)))
        fail(QStringLiteral("Date is Invalid ") + value(TransactionDate) + rowColumn(TransactionDate),
             TransactionDate);
    if (mapped(OrderNumber)) {
        failLength(OrderNumber, 7, "Order number cannot be more than 7 characters ");
        if (sopImport && !numeric(OrderNumber))
            fail(QStringLiteral("SOP Import - Order number must be numeric ") + value(OrderNumber) +
                     rowColumn(OrderNumber),
                 OrderNumber);
    }

    step("30");
    if (mapped(CustomerTelephone))
        failLength(CustomerTelephone, 30, "Customer Telephone cannot be more than 30 characters ");
    step("31");
    if (mapped(CustomerOrderNumber))
        failLength(CustomerOrderNumber, 30, "Customer Order Number cannot be longer than 30 characters ");
    step("32");
    if (mapped(CustomerContactName))
        failLength(CustomerContactName, 30, "Customer Contact Name cannot be longer than 30 characters ");
    step("33");
    if (mapped(CourierNumber)) {
        replaceEmptyWithZero(CourierNumber);
        if (!wholeNumberIn(CourierNumber, 1, 99))
            fail(QStringLiteral("Courier Number Invalid. Must be in range 1-99 ") + value(CourierNumber) +
                     rowColumn(CourierNumber),
                 CourierNumber);
    }
    step("34");
    if (mapped(ConsignmentReference))
        failLength(ConsignmentReference, 30, "Consignment Reference cannot be longer than 30 characters ");
    step("35");
    if (mapped(PaymentReference))
        failLength(PaymentReference, 8, "Payment Reference cannot be longer than 8 characters ");
    step("36");
    if (mapped(GlobalDepartment)) {
        replaceEmptyWithZero(GlobalDepartment);
        if (!wholeNumberIn(GlobalDepartment, 0, 999))
            fail(QStringLiteral("Global Department Number Invalid. Needs to be in the range 0-999 ") +
                     value(GlobalDepartment) + rowColumn(GlobalDepartment),
                 GlobalDepartment);
    }
    step("37");
    if (mapped(GlobalDetails))
        failLength(GlobalDetails, 60, "Global Details Cannot be longer than 60 characters ");
    step("38");
    if (mapped(GlobalNominalCode)) {
        const QString code = value(GlobalNominalCode);
        if (code.size() <= 8) {
            m_owner.m_recordFound = find(m_state.package.NominalRec, "ACCOUNT_REF", code);
            if (!m_owner.m_recordFound)
                fail(QStringLiteral("NL Account No ") + code + QStringLiteral(" does not exist") +
                         onRowColumn(GlobalNominalCode),
                     GlobalNominalCode);
        }
        failLength(GlobalNominalCode, 8, "Global Nominal Code cannot be longer than 8 characters ");
    }
    step("39");
    if (mapped(GlobalTaxCode)) {
        replaceEmptyWithZero(GlobalTaxCode);
        if (numeric(GlobalTaxCode) && !wholeNumberIn(GlobalTaxCode, 0, 99))
            fail(QStringLiteral("Global Tax Code Invalid. Needs to be in the range 0-99") +
                     value(GlobalTaxCode) + rowColumn(GlobalTaxCode),
                 GlobalTaxCode);
        if (!numeric(GlobalTaxCode))
            fail(QStringLiteral("Global Tax Code Invalid. Needs to be in the range 0-99 ") +
                     value(GlobalTaxCode) + rowColumn(GlobalTaxCode),
                 GlobalTaxCode);
    }
    step("40");
    if (mapped(DespatchDueDate)) {
        if (!sopImport) {
            fail(QStringLiteral("Despatch Due Date For SOP Import Only! Remove from file structure ") +
                     value(DespatchDueDate) + rowColumn(DespatchDueDate),
                 DespatchDueDate);
        } else if (value(DespatchDueDate).isEmpty()) {
            replaceEmptyWithZero(DespatchDueDate);
        } else if (!passesDateTest(value(DespatchDueDate))) {
            fail(QStringLiteral("Despatch Due Date is Invalid ") + value(DespatchDueDate) +
                     rowColumn(DespatchDueDate),
                 DespatchDueDate);
        }
    }
    step("41");
    if (mapped(SettlementDiscountRate)) {
        replaceEmptyWithZero(SettlementDiscountRate);
        if (numeric(SettlementDiscountRate)) {
            const double rate = number(SettlementDiscountRate);
            if (rate < 0 || rate > SettlementRateBound)
                fail(QStringLiteral("Settlement Discount rate Invalid. Needs to be in the range 0-99.9999 ") +
                         value(SettlementDiscountRate) + rowColumn(SettlementDiscountRate),
                     SettlementDiscountRate);
        } else {
            fail(QStringLiteral("Settlement Discount rate not numeric. Needs to be in the range 0-99.9999 ") +
                     value(SettlementDiscountRate) + rowColumn(SettlementDiscountRate),
                 SettlementDiscountRate);
        }
        // Check 51 belongs to the same block.
        step("42");
        if (!mapped(SettlementDueDays))
            fail(QStringLiteral("Cannot have Settlemment Discount without Settlement Due Days ") +
                     value(SettlementDiscountRate) + rowColumn(SettlementDiscountRate),
                 SettlementDiscountRate);
    }
}

// Checks 52 to 54.
void FieldCheckRun::checkSettlementDueDays()
{
    step("42-b");
    if (!mapped(SettlementDueDays))
        return;
    replaceEmptyWithZero(SettlementDueDays);
    if (!numeric(SettlementDueDays))
        fail(QStringLiteral("Settlement Due Days are not numeric. Needs to be in the range 0-99 ") +
                 value(SettlementDueDays) + rowColumn(SettlementDueDays),
             SettlementDueDays);
    else if (!wholeNumberIn(SettlementDueDays, 0, 99))
        fail(QStringLiteral("Settlement Due Days Invalid. Needs to be in the range 0-99 ") +
                 value(SettlementDueDays) + rowColumn(SettlementDueDays),
             SettlementDueDays);
    if (!mapped(SettlementDiscountRate))
        fail(QStringLiteral("Cannot have Settlement Due Days without Settlemment Discount ") +
                 value(SettlementDueDays) + rowColumn(SettlementDueDays),
             SettlementDueDays);
}

// Checks 55 to 81.
void FieldCheckRun::checkTextsAndDiscounts()
{
    step("5-2");
    for (const LengthRule& rule : SixtyCharacterFields)
        if (mapped(rule.slot))
            failLength(rule.slot, 60, rule.message);

    runCharacterRules(SecondCharacterRules);

    // Check 76: both a rate and an amount.
    if (m_pass.RateValid && m_pass.AmountValid && mapped(DiscountRate) && mapped(DiscountAmount) &&
        !value(DiscountRate).isEmpty() && !value(DiscountAmount).isEmpty() && number(DiscountRate) > 0 &&
        number(DiscountAmount) > 0)
        fail(QStringLiteral("Cannot have both discount amount and discount rate ") + value(DiscountRate) +
                 QStringLiteral(" Rate") + value(DiscountAmount) + rowColumn(DiscountRate),
             DiscountRate);
    if (m_pass.RateValid && !value(DiscountRate).isEmpty()) {
        const double rate = number(DiscountRate);
        if (rate < 0 || rate > DiscountRateBound)
            fail(QStringLiteral("Discount rate must in range 0.00 to 9.999999 ") + value(DiscountRate) +
                     rowColumn(DiscountRate),
                 DiscountRate);
    }

    step("26x");
    if (mapped(DiscountAmount) && m_pass.AmountValid && !value(DiscountAmount).isEmpty()) {
        if (mapped(UnitPrice)) {
            if (number(DiscountAmount) > number(Quantity) * number(UnitPrice))
                fail(QStringLiteral("Discount amount cannot be greater than line value") +
                         value(DiscountAmount) + rowColumn(DiscountAmount),
                     DiscountAmount);
        } else if (!isSpecialCode(m_owner.m_stockCode) && m_owner.m_productFound) {
            // Without the product there is no price to hold the amount against;
            // check 7 has reported the product already.
            const double price = basic::CDbl(automation::toObject(Variant(m_state.package.StockRec))
                                                 ->value({QStringLiteral("SALES_PRICE")}));
            if (number(DiscountAmount) > number(Quantity) * price)
                fail(QStringLiteral("Discount amount cannot be greater than line value ") +
                         value(DiscountAmount) + rowColumn(DiscountAmount),
                     DiscountAmount);
        }
    }

    step("12x");
    if (mapped(UnitDiscountPrice) && mapped(UnitPrice) && m_pass.DiscPriceValid && m_pass.PriceValid &&
        !value(UnitDiscountPrice).isEmpty() && number(UnitDiscountPrice) > number(UnitPrice))
        fail(QStringLiteral("Unit Price must be greater than discounted unit price ") +
                 value(UnitDiscountPrice) + rowColumn(UnitDiscountPrice),
             UnitDiscountPrice);
    if (mapped(UnitDiscountPrice) && !mapped(UnitPrice))
        fail(QStringLiteral("Cannot give a discounted Unit Price without giving a unit price ") +
                 value(UnitDiscountPrice) + rowColumn(UnitDiscountPrice),
             UnitDiscountPrice);
}

// Checks 82 to 86.
void FieldCheckRun::checkPayment()
{
    const bool paymentGiven = mapped(PaymentValue) && m_pass.PaymentValid && !value(PaymentValue).isEmpty();
    // A lower-case "c" is a credit note as much as "C".
    const bool creditNote = value(TransactionType).toUpper() == QLatin1String("C");
    if (paymentGiven && m_pass.ImportToSop != 1 && creditNote && number(PaymentValue) > 0)
        fail(QStringLiteral("Cannot have a payment with a credit ") + value(PaymentValue) +
                 rowColumn(PaymentValue),
             PaymentValue);
    if (paymentGiven && m_pass.ImportToSop == 1 && number(PaymentValue) > 0)
        fail(QStringLiteral("Payment with SOP orders is not supported ") + value(PaymentValue) +
                 rowColumn(PaymentValue),
             PaymentValue);
    step("18x");
    if (mapped(PaymentValue) && settingNumber("CheckCashwithinvoice") == 1 && m_pass.PaymentValid &&
        !value(PaymentValue).isEmpty() && number(PaymentValue) > 0)
        fail(QStringLiteral("Payment value not allowed if cash with invoice is ticked ") +
                 value(PaymentValue) + rowColumn(PaymentValue),
             PaymentValue);
    // The layout alone decides these two; they name the discounted price.
    if (mapped(UnitDiscountPrice) && mapped(DiscountRate))
        fail(QStringLiteral("Cannot have Discounted Price & line discount percent ") +
                 value(UnitDiscountPrice) + rowColumn(UnitDiscountPrice),
             UnitDiscountPrice);
    if (mapped(UnitDiscountPrice) && mapped(DiscountAmount))
        fail(QStringLiteral("Cannot have Discounted Price & line discount value ") +
                 value(UnitDiscountPrice) + rowColumn(UnitDiscountPrice),
             UnitDiscountPrice);
}

// Checks 87 to 97.
void FieldCheckRun::checkLineCodes()
{
    step("43x");
    if (mapped(ItemNominalCode) &&
        !(value(ItemNominalCode).isEmpty() && basic::Trim(value(ProductCode)) == QLatin1String("M"))) {
        const QString code = value(ItemNominalCode);
        if (code.size() > 8) {
            fail(QStringLiteral("Item Nominal Code Invalid. cannot be longer than 8 characters") + code +
                     rowColumn(ItemNominalCode),
                 ItemNominalCode);
        } else {
            m_owner.m_recordFound = find(m_state.package.NominalRec, "ACCOUNT_REF", basic::Trim(code));
            if (!m_owner.m_recordFound)
                fail(QStringLiteral("Line NL Account No ") + code + QStringLiteral(" does not exist") +
                         onRowColumn(ItemNominalCode),
                     ItemNominalCode);
        }
    }
    step("44x");
    if (mapped(ItemDepartment)) {
        replaceEmptyWithZero(ItemDepartment);
        if (!wholeNumberIn(ItemDepartment, 0, 999))
            fail(QStringLiteral("Item department Invalid. Needs to be in the range 0-999") +
                     value(ItemDepartment) + rowColumn(ItemDepartment),
                 ItemDepartment);
    }
    step("52");
    ValidateBankAccount();
    step("53");
    ValidateNetValueDiscount();
    step("54");
    ValidateNetValueDescription();
    step("45x");
    failLength(LineInformation, 20, "Line information  Invalid. cannot be longer than 20 characters");
    checkCodeRange(LineTaxCodeRule);
    step("valcar");
    ValidateCarriageFields();
    step("valcarend");
    const QString code = m_owner.m_stockCode;
    if ((code == QLatin1String("S1") || code == QLatin1String("S2") || code == QLatin1String("S3")) &&
        (!mapped(ProductDescription) || value(ProductDescription).isEmpty()))
        fail(QStringLiteral("Special codes must have product description supplied ") + value(ProductCode) +
                 rowColumn(ProductCode),
             ProductCode);
}

void FieldCheckRun::checkFields()
{
    followPass();
    checkAccountAndProduct();
    checkDecimalPlaces();
    runCharacterRules(FirstCharacterRules);
    checkCodesDatesAndRanges();
    checkSettlementDueDays();
    checkTextsAndDiscounts();
    checkPayment();
    checkLineCodes();
}

FieldChecks::FieldChecks(EditionLabel editionLabel) : m_editionLabel(std::move(editionLabel)) {}

void FieldChecks::checkFields(ImportContext& context)
{
    FieldCheckRun(*this, context).checkFields();
}

void FieldChecks::validateTransactionNo(ImportContext& context)
{
    FieldCheckRun(*this, context).ValidateTransactionNo();
}

} // namespace importer
