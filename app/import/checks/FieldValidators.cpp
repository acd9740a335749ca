#include "app/import/ErrorEntries.h"
#include "app/import/ImportContext.h"
#include "app/import/checks/FieldCheckRun.h"
#include "app/import/checks/FieldScans.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"

#include <array>

// The validators the line checks hand fields over to.
namespace importer {

using basic::Variant;
using namespace checks;

namespace {

constexpr std::array PaymentDecimals{
    DecimalRule{nullptr, PaymentValue, Limit::UnitDP, "Too many decimals on Payment Value ",
                "More than one decimal point found in payment value ", false, &PassState::PaymentValid},
};

// The discount rate and the carriage net are held to six places, whatever the
// package allows on prices.
constexpr std::array RateDecimals{
    DecimalRule{nullptr, DiscountRate, Limit::Six, "Too many decimals on Discount Rate ",
                "More than one decimal point found in discount rate ", false, &PassState::RateValid},
    DecimalRule{"48", CarrNet, Limit::Six, "Too many decimals on carriage net ",
                "More than one decimal point found in carriage net ", false, nullptr},
};

constexpr std::array NetValueDiscountRule{
    CharacterRule{nullptr, NetValueDiscountAmount, "Characters in the net value discount amount ",
                  " Decimal points in the discount rate field", nullptr},
};

constexpr CodeRangeRule CarriageDeptRule{"val 47",
                                         "val 47 2",
                                         CarrDeptNumber,
                                         0,
                                         999,
                                         "Carriage Dept code must be numeric and in range 0-999",
                                         "Carriage Dept code must be in range 0-999"};
constexpr CodeRangeRule CarriageTaxCodeRule{"val 51",
                                            "val 51 2",
                                            CarrTaxCode,
                                            0,
                                            99,
                                            "Carriage Tax code must be numeric and in range 0-99",
                                            "Carriage Tax code must be in range 0-99"};

// Document numbers from 10000 up are the package's own range and are never looked up.
constexpr double FirstUnlookedNumber = 10000;
constexpr double HighestTransactionNo = 9999999;

} // namespace

void FieldCheckRun::ValidatePaymentDecimals()
{
    runDecimalRules(PaymentDecimals);
}

void FieldCheckRun::ValidateRateDecimals()
{
    runDecimalRules(RateDecimals);
}

void FieldCheckRun::ValidateCarriageFields()
{
    checkCodeRange(CarriageDeptRule);
    checkCodeRange(CarriageTaxCodeRule);

    step("val 49cnc");
    const QString nominal = value(CarrNomCode);
    if (!nominal.isEmpty()) {
        if (nominal.size() > 8) {
            fail(QStringLiteral("Carriage Nominal Code cannot be longer than 8 characters ") + nominal +
                     rowColumn(CarrNomCode),
                 CarrNomCode);
        } else {
            m_owner.m_recordFound = find(m_state.package.NominalRec, "ACCOUNT_REF", nominal);
            if (!m_owner.m_recordFound)
                fail(QStringLiteral("Carriage NL Account No ") + nominal + QStringLiteral(" does not exist") +
                         onRowColumn(CarrNomCode),
                     CarrNomCode);
        }
    }

    step("val 48");
    if (!value(CarrNet).isEmpty() && !numeric(CarrNet))
        fail(QStringLiteral("Carriage Net amount ") + value(CarrNet) + QStringLiteral(" is not numeric") +
                 onRowColumn(CarrNet),
             CarrNet);
    step("val 50 3");
    if (!value(CarrTaxAmount).isEmpty() && !numeric(CarrTaxAmount))
        fail(QStringLiteral("Carriage Tax amount ") + value(CarrTaxAmount) +
                 QStringLiteral(" is not numeric") + onRowColumn(CarrTaxAmount),
             CarrTaxAmount);
}

void FieldCheckRun::ValidateBankAccount()
{
    if (!mapped(BankAccount))
        return;
    const QString account = value(BankAccount);
    if (account.size() > 8) {
        fail(QStringLiteral("Bank Nominal Code cannot be longer than 8 characters ") + account +
                 rowColumn(BankAccount),
             BankAccount);
        return;
    }
    if (!find(m_state.package.NominalRec, "ACCOUNT_REF", account))
        fail(QStringLiteral("Bank - NL Account No ") + account + QStringLiteral(" does not exist") +
                 onRowColumn(BankAccount),
             BankAccount);
    m_owner.m_recordFound = find(m_state.package.BankRec, "ACCOUNT_REF", account);
    if (!m_owner.m_recordFound) {
        fail(QStringLiteral("Bank Account No ") + account + QStringLiteral(" does not exist") +
                 onRowColumn(BankAccount),
             BankAccount);
        return;
    }
    // Without a customer on this line (not found, or not looked up) there is no
    // currency to compare with; its account has its own entry already, and an
    // earlier line's customer must not stand in for it.
    if (!m_owner.m_customerFound)
        return;
    const QString bankCurrency = basic::CStr(
        automation::toObject(Variant(m_state.package.BankRec))->value({QStringLiteral("Currency")}));
    const QString customerCurrency = basic::CStr(
        automation::toObject(Variant(m_state.package.SalesRec))->value({QStringLiteral("Currency")}));
    if (bankCurrency != customerCurrency)
        fail(QStringLiteral("Bank Account No ") + account +
                 QStringLiteral(" not same currency as customer ") + row() + QStringLiteral(" column") +
                 QString::number(column(BankAccount)) + QStringLiteral("."),
             BankAccount);
}

void FieldCheckRun::ValidateNetValueDiscount()
{
    runCharacterRules(NetValueDiscountRule);
}

void FieldCheckRun::ValidateNetValueDescription()
{
    failLength(NetValueDiscountDescription, 60,
               "Net value discount description  Invalid. cannot be longer than 60 characters");
}

void FieldCheckRun::ValidateTransactionNo()
{
    if (!mapped(TransactionNo))
        return;
    const QString v = value(TransactionNo);
    const auto record = [&](const QString& text) {
        fail(text + v + dotRowColumn(TransactionNo), TransactionNo);
    };

    const CharacterScanResult scan = characterScan(v);
    if (scan.bad) {
        m_pass.FileValid = false;
        record(QStringLiteral("Transaction No must be numeric "));
    }
    if (scan.points > 0)
        record(QString::number(scan.points) +
               QStringLiteral(" decimal points found in transaction number, no must be an integer. "));
    if (scan.bad || scan.points > 0)
        return;
    if (v.isEmpty()) {
        record(QStringLiteral("Transaction no cannot be empty "));
        return;
    }
    const double n = basic::CDbl(Variant(v));
    if (n == 0) {
        record(QStringLiteral("Transaction no cannot be 0. "));
        return;
    }
    if (n > HighestTransactionNo) {
        record(QStringLiteral("Transaction no cannot be greater than 9999999. "));
        return;
    }
    if (n >= FirstUnlookedNumber)
        return;
    const bool sop = m_pass.ImportToSop == 1;
    const ObjectRef document = automation::toObject(Variant(m_state.package.DocumentRec));
    const ObjectRef fields = automation::toObject(document->get(QStringLiteral("Fields")));
    const ObjectRef field = automation::toObject(fields->call(
        QStringLiteral("Item"), {sop ? QStringLiteral("order_number") : QStringLiteral("invoice_number")}));
    field->put(QStringLiteral("Value"), Variant(basic::CInt(Variant(n))));
    m_owner.m_recordFound = basic::CBool(document->call(QStringLiteral("Find"), {Variant(false)}));
    if (m_owner.m_recordFound) {
        m_pass.FileValid = false;
        record(sop ? QStringLiteral("Transaction no already in Vorlen SOP. ")
                   : QStringLiteral("Transaction no already in Vorlen invoicing. "));
    }
}

} // namespace importer
