// Carriage, the invoice-value and net-value discounts, the totals and the payment
// of each stage-two document.
#include "app/import/StageTwoRun.h"

#include "app/import/ImportContext.h"
#include "app/import/Rounding.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"

namespace importer {

using basic::Variant;

namespace {

double num(const Variant& v)
{
    return basic::CDbl(v);
}

QString num(int32_t n)
{
    return QString::number(n);
}

constexpr int InvoiceValueBands = 10;

} // namespace

double StageTwoRun::carriageTax(double net, int16_t taxCode)
{
    return RoundToTwoPlaces(net * taxRate(taxCode) / 100);
}

// After every item line: the document's last line decides the carriage.
void StageTwoRun::setLineCarriage()
{
    setHeader("CARR_NOM_CODE", m_carrNomDefault);
    setHeader("CARR_DEPT_NUMBER", m_carrDeptDefault);
    setHeader("CARR_NET", m_carrNetDefault);

    const bool netGiven = !isEmpty(slot::CarrNet);
    const bool taxCodeGiven = !isEmpty(slot::CarrTaxCode);
    const bool taxGiven = !isEmpty(slot::CarrTaxAmount);
    if (!isEmpty(slot::CarrNomCode))
        setHeader("CARR_NOM_CODE", value(slot::CarrNomCode));
    if (taxCodeGiven)
        setHeader("Carr_Tax_Code", basic::CInt(Variant(value(slot::CarrTaxCode))));
    if (!isEmpty(slot::CarrDeptNumber))
        setHeader("CARR_DEPT_NUMBER", value(slot::CarrDeptNumber));
    if (taxGiven)
        setHeader("Carr_Tax", value(slot::CarrTaxAmount));
    if (netGiven)
        setHeader("CARR_NET", value(slot::CarrNet));

    m_state.pass.CurrentStep = QStringLiteral("TAX 51 Not Supplied");
    if (!taxCodeGiven && netGiven) {
        setHeader("CARR_NET", value(slot::CarrNet));
        setHeader("Carr_Tax", carriageTax(num(header("CARR_NET")), basic::CInt(header("Carr_Tax_Code"))));
    }
    m_state.pass.CurrentStep = QStringLiteral("netno,vatno,taxyes");
    if (!taxGiven && taxCodeGiven && netGiven) {
        setHeader("CARR_NET", value(slot::CarrNet));
        setHeader("Carr_Tax",
                  carriageTax(num(header("CARR_NET")), basic::CInt(Variant(value(slot::CarrTaxCode)))));
    }

    // A line that leaves the carriage at the default net taxes that net at the
    // carriage tax code the document holds, whether or not an earlier line gave
    // carriage: the default net never goes out untaxed or with another net's tax.
    if (!netGiven && !taxGiven)
        setHeader("Carr_Tax", carriageTax(m_carrNetDefault, basic::CInt(header("Carr_Tax_Code"))));
}

// Once the document's lines have ended, before it is committed.
void StageTwoRun::finishDocument()
{
    if (settingIsOne("CheckCarriageCharge"))
        applyCarriageOption();
    setHeader("Items_Net", m_itemsNetTotal);
    setHeader("Items_Tax", m_itemsTaxTotal);
    if (settingIsOne("CheckCustomerPricing") && basic::CInt(customer("Discount_Type")) == 1)
        applyInvoiceValueDiscount();

    setHeader("Items_Net", m_itemsNetTotal + num(header("CARR_NET")));
    setHeader("Items_Tax", m_itemsTaxTotal + num(header("Carr_Tax")));
    if (m_netValueDiscount > 0) {
        const double itemsNet = num(header("Items_Net"));
        if (itemsNet == 0)
            throw basic::RuntimeError(basic::err::DivisionByZero);
        setHeader("Netvalue_discount", m_netValueDiscount);
        setHeader("Netvalue_description", m_netValueDiscountText);
        setHeader("Netvalue_discount_percent", m_netValueDiscount / itemsNet * 100);
    }
    setPayment();

    if (m_validate && postedTotal() < m_paymentTotal)
        recordEntry(QStringLiteral("Payment value cannot be greater than invoice value ") +
                    basic::formatDouble(m_paymentTotal) + QStringLiteral(" Row ") + num(m_state.line.Row) +
                    QStringLiteral("."));
    findBankForCurrency();
    if (m_validate && !basic::CStr(header("Amount_prepaid")).isEmpty() &&
        basic::CStr(header("BANK_CODE")).isEmpty())
        recordEntry(QStringLiteral("Bank account to match currency of customer not found ") +
                    QStringLiteral(" Row ") + num(m_state.line.Row) + QStringLiteral("."));
}

// The package's default carriage replaces whatever the lines gave.
void StageTwoRun::applyCarriageOption()
{
    const auto& setup = m_state.package.SetupDataRec;
    setHeader("CARR_DEPT_NUMBER", field(setup, "invoice_carr_dept"));
    setHeader("CARR_NOM_CODE", field(setup, "invoice_carr_nominal"));
    setHeader("Carr_Tax_Code", header("def_tax_code"));
    setHeader("CARR_NET", field(setup, "invoice_Carr_net"));
    setHeader("Carr_Tax", carriageTax(num(header("CARR_NET")), basic::CInt(header("Carr_Tax_Code"))));
    const double rate = num(header("foreign_rate"));
    setHeader("CARR_NET", num(header("CARR_NET")) * rate);
    setHeader("Carr_Tax", num(header("Carr_Tax")) * rate);
}

// The highest band whose non-zero threshold the item total reaches adds its rate
// to every line, and the lines are priced again from their gross value.
void StageTwoRun::applyInvoiceValueDiscount()
{
    const auto& setup = m_state.package.SetupDataRec;
    const double itemsNet = num(header("Items_Net"));
    double bandRate = 0;
    bool found = false;
    for (int n = InvoiceValueBands; n >= 1 && !found; --n) {
        const double threshold = num(field(setup, QStringLiteral("SALES_AMOUNT_SOLD_") + num(n)));
        if (threshold != 0 && itemsNet >= threshold) {
            bandRate = num(field(setup, QStringLiteral("SALES_ADD_DISC_") + num(n)));
            found = true;
        }
    }
    if (!found)
        return;

    m_itemsNetTotal = 0;
    m_itemsTaxTotal = 0;
    const double customerRate = num(header("CUST_DISC_RATE"));
    const double settlementRate = num(header("Settlement_Disc_Rate"));
    for (const ObjectRef& item : m_itemLines) {
        const auto itemNumber = [&](const char* name) { return num(field(item, name)); };
        const double itemRate = itemNumber("Discount_rate") + bandRate;
        setField(item, "Discount_rate", itemRate);
        const double price = itemNumber("UNIT_PRICE");
        const double quantity = itemNumber("QTY_ORDER");
        double net = RoundToTwoPlaces(price * quantity);
        double discount = 0;
        if (m_discUnitPrice == 0) {
            discount = (customerRate + itemRate) * net / 100;
        } else {
            const double discounted = RoundToTwoPlaces(price - (customerRate + itemRate) * price / 100);
            discount = (price - discounted) * quantity;
        }
        discount = RoundToTwoPlaces(discount);
        net = RoundToTwoPlaces(net - discount);
        setField(item, "Discount_amount", discount);
        setField(item, "Net_Amount", net);
        const double taxRateOfLine = itemNumber("TAX_RATE");
        setField(item, "Tax_Amount",
                 RoundToTwoPlaces(taxRateOfLine * (net - net * settlementRate / 100) / 100));
        setField(item, "Full_Net_Amount", price * quantity);
        m_itemsNetTotal += itemNumber("NET_AMOUNT");
        m_itemsTaxTotal += itemNumber("TAX_AMOUNT");
    }
}

// The net-value discount comes off the document's net and, in proportion, its
// tax: what the document finally totals, which is what a payment may reach.
double StageTwoRun::postedTotal()
{
    const double total = num(header("Items_Net")) + num(header("Items_Tax"));
    if (m_netValueDiscount > 0)
        return RoundToTwoPlaces(total * (1 - num(header("Netvalue_discount_percent")) / 100));
    return total;
}

void StageTwoRun::setPayment()
{
    if (settingIsOne("CheckCashwithinvoice")) {
        if (basic::UCase(m_docTransType) == QLatin1String("C"))
            return; // a credit note is not paid
        setHeader("Payment_type", int16_t(3));
        setHeader("Amount_prepaid", postedTotal());
        setHeader("BANK_CODE", m_docBankAccount);
    } else if (mapped(slot::PaymentValue) && m_paymentTotal > 0) {
        setHeader("Payment_type", int16_t(3));
        setHeader("Amount_prepaid", m_paymentTotal);
        setHeader("BANK_CODE", m_docBankAccount);
    }
}

// A payment without a bank account goes to the first bank account, in the
// package's order, whose currency is the document's.
void StageTwoRun::findBankForCurrency()
{
    if (!basic::CStr(header("BANK_CODE")).isEmpty() || basic::CStr(header("Amount_prepaid")).isEmpty())
        return;
    const auto& bank = m_state.package.BankRec;
    const int16_t currency = basic::CInt(header("currency"));
    bool more = basic::CBool(bank->call(QStringLiteral("MoveFirst")));
    while (more) {
        if (basic::CInt(field(bank, "Currency")) == currency) {
            setHeader("BANK_CODE", field(bank, "ACCOUNT_REF"));
            return;
        }
        more = basic::CBool(bank->call(QStringLiteral("MoveNext")));
    }
}

} // namespace importer
