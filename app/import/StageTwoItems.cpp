// The item lines of stage two: one item of the posting object per import line.
#include "app/import/StageTwoRun.h"

#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"
#include "app/import/Rounding.h"
#include "app/import/SettingsFormView.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Strings.h"

namespace importer {

using basic::Variant;

namespace {

bool isSpecialCode(const QString& code)
{
    return code == QLatin1String("S3") || code == QLatin1String("S2") || code == QLatin1String("S1") ||
           code == QLatin1String("M");
}

double num(const Variant& v)
{
    return basic::CDbl(v);
}

double num(const QString& text)
{
    return basic::CDbl(Variant(text));
}

} // namespace

void StageTwoRun::buildItemLine()
{
    if (!m_items)
        m_items = automation::toObject(member(m_state.package.CurrentPost, m_itemsId, automation::Invoke::PropertyGet));
    const ObjectRef item = automation::toObject(member(m_items, m_addId, automation::Invoke::Method));
    m_itemLines.push_back(item);
    m_itemFields.clear();

    const QString stockCode = value(slot::ProductCode);
    const QString code = basic::Trim(stockCode);
    const bool special = isSpecialCode(code);
    const bool message = code == QLatin1String("M");

    const auto& stock = m_state.package.StockRec;
    setField(stock, "STOCK_CODE", stockCode);
    m_productFound = false;
    m_productFields.clear();
    if (!special) {
        const Variant found = member(stock, m_findId, automation::Invoke::Method, {false});
        m_productFound = found.type() == basic::VarType::Boolean && found.boolValue();
    }
    if (code == QLatin1String("S3"))
        setItemField("Service_Flag", uint8_t(2));
    else if (code == QLatin1String("S1") || code == QLatin1String("S2"))
        setItemField("Service_Flag", uint8_t(0));
    setItemField("Stock_Code", stockCode);

    setItemProduct(code);
    if (!message)
        priceItemLine(code, special);

    const double rate = setItemTax();
    setItemField("Dept_Number", mapped(slot::ItemDepartment) ? basic::CInt(numberText(slot::ItemDepartment))
                                                             : basic::CInt(customer("Dept_number")));
    if (mapped(slot::Comment1))
        setItemField("Comment_1", value(slot::Comment1));
    if (mapped(slot::Comment2))
        setItemField("Comment_2", value(slot::Comment2));
    if (!message)
        setItemField("Full_Net_Amount", num(value(slot::Quantity)) * m_linePrice);
    setItemField("Tax_Rate", rate);
    m_itemsNetTotal += num(itemField("NET_AMOUNT"));
    m_itemsTaxTotal += num(itemField("TAX_AMOUNT"));
    if (mapped(slot::PaymentValue) && basic::IsNumeric(Variant(value(slot::PaymentValue))))
        m_paymentTotal += num(value(slot::PaymentValue));
    setServiceText(item);
}

void StageTwoRun::setItemProduct(const QString& code)
{
    if (m_productFound) {
        setItemField("Unit_Of_Sale", product("UNIT_OF_SALE"));
        m_state.pass.CurrentStep = QStringLiteral("43 A");
        setItemField("Nominal_Code", mapped(slot::ItemNominalCode) && !isEmpty(slot::ItemNominalCode)
                                         ? Variant(value(slot::ItemNominalCode))
                                         : product("NOMINAL_CODE"));
        setItemField("Description", product("DESCRIPTION"));
        // The price follows in priceItemLine, which every line with a product runs.
        if (mapped(slot::ProductDescription) &&
            m_context.settingsForm.cbxoverridevorlenproductdescription() != 0 &&
            !isEmpty(slot::ProductDescription))
            setItemField("Description", value(slot::ProductDescription));
        return;
    }
    setItemField("Nominal_Code", mapped(slot::ItemNominalCode) ? Variant(value(slot::ItemNominalCode))
                                                               : customer("Def_nom_Code"));
    if (mapped(slot::ProductDescription)) {
        setItemField("Description", value(slot::ProductDescription));
        setItemField("TEXT", value(slot::ProductDescription));
    }
    if (code == QLatin1String("S3"))
        setItemField("Service_Flag", uint8_t(2));
}

// Quantity, price, customer pricing and the file's discounts: not for message lines.
void StageTwoRun::priceItemLine(const QString& code, bool special)
{
    const double quantity = num(value(slot::Quantity));
    setItemField("Qty_Order", quantity);
    m_linePrice =
        documentPrice(mapped(slot::UnitPrice) ? num(value(slot::UnitPrice)) : num(product("SALES_PRICE")));
    setItemField("Unit_Price", m_linePrice);
    setItemField("Net_Amount", RoundToTwoPlaces(quantity * m_linePrice));
    if (mapped(slot::LineInformation))
        setItemField("Job_Reference", value(slot::LineInformation));

    if (settingIsOne("CheckCustomerPricing") && !special)
        applyCustomerPricing(code, quantity);

    if (m_context.settingsForm.cbxtakevorlenpriceifpricezero() != 0 && num(itemField("Unit_Price")) == 0) {
        // The line takes the product's price, in the document's currency like any
        // other price of it, and its amounts follow that price.
        m_linePrice = documentPrice(num(product("SALES_PRICE")));
        setItemField("Unit_Price", m_linePrice);
        setItemField("Net_Amount", RoundToTwoPlaces(quantity * m_linePrice));
    }
    applyFileDiscounts();
}

// With "checkfcprice", prices are in the base currency and converted at the
// document's exchange rate.
double StageTwoRun::documentPrice(double price)
{
    if (settingIsOne("checkfcprice"))
        return price * num(header("foreign_rate"));
    return price;
}

void StageTwoRun::applyCustomerPricing(const QString& code, double quantity)
{
    if (!m_pricing)
        m_pricing = create("Pricing");
    const double price =
        num(m_pricing->call(QStringLiteral("CustomerUnitPrice"), {customer("ACCOUNT_REF"), code}));
    setItemField("Unit_Price", price);
    double net = RoundToTwoPlaces(quantity * price);
    const double customerRate = num(customer("DISCOUNT_RATE"));
    setHeader("CUST_DISC_RATE", customerRate);
    const double itemRate = num(itemField("Discount_rate"));
    double discount = 0;
    if (m_discUnitPrice == 0) {
        discount = (itemRate + customerRate) * net / 100;
    } else {
        const double discounted = RoundToTwoPlaces(price - (customerRate + itemRate) * price / 100);
        discount = quantity * (price - discounted);
    }
    discount = RoundToTwoPlaces(discount);
    net = RoundToTwoPlaces(net - discount);
    setItemField("Discount_amount", discount);
    setItemField("Net_Amount", net);
}

// The Discount Amount, Discount Rate and Unit Discount Price columns, in that order.
void StageTwoRun::applyFileDiscounts()
{
    const auto itemNumber = [&](const char* name) { return num(itemField(name)); };
    const double customerRate = num(customer("DISCOUNT_RATE"));
    const bool lessCustomerRate = v18OrLater();

    if (mapped(slot::DiscountAmount) && !isEmpty(slot::DiscountAmount)) {
        const double amount = num(value(slot::DiscountAmount));
        if (amount > 0) {
            const double gross = itemNumber("Net_Amount") + itemNumber("Discount_amount");
            setItemField("Discount_amount", itemNumber("Discount_amount") + amount);
            const double rate = RoundToTwoPlaces(gross > 0 ? amount / gross * 100 : 0);
            setItemField("Add_disc_rate", lessCustomerRate ? rate - customerRate : rate);
            setItemField("Net_Amount", itemNumber("Net_Amount") - amount);
        }
    }

    m_state.pass.CurrentStep = QStringLiteral("25 A");
    if (mapped(slot::DiscountRate) && !isEmpty(slot::DiscountRate)) {
        const double gross = itemNumber("Net_Amount") + itemNumber("Discount_amount");
        const Variant given(value(slot::DiscountRate));
        if (basic::IsNumeric(given) && basic::CDbl(given) > 0) {
            const double rate = basic::CDbl(given);
            setItemField("Add_disc_rate", rate);
            const double rates = itemNumber("Discount_rate") + rate + num(header("CUST_DISC_RATE"));
            double discount = 0;
            if (m_discUnitPrice == 0) {
                discount = RoundToTwoPlaces(rates * gross / 100);
            } else {
                const double price = itemNumber("Unit_Price");
                const double discounted = RoundToTwoPlaces(price - rates * price / 100);
                discount = (price - discounted) * itemNumber("Qty_Order");
            }
            setItemField("Discount_amount", discount);
            setItemField("Net_Amount", gross - discount);
            setItemField("Add_disc_rate", lessCustomerRate ? rate - customerRate : rate);
        }
    }

    if (mapped(slot::UnitDiscountPrice) && !isEmpty(slot::UnitDiscountPrice)) {
        const double price = itemNumber("Unit_Price");
        const double discounted = num(value(slot::UnitDiscountPrice));
        if (price != 0 && discounted != price) {
            double rate = (price - discounted) / price * 100;
            setItemField("Add_disc_rate", rate);
            const double gross = itemNumber("Net_Amount") + itemNumber("Discount_amount");
            const double discount = RoundToTwoPlaces(
                (itemNumber("Discount_rate") + rate + num(header("CUST_DISC_RATE"))) * gross / 100);
            setItemField("Discount_amount", discount);
            setItemField("Net_Amount", gross - discount);
            if (lessCustomerRate) {
                rate -= customerRate;
                setItemField("Add_disc_rate", rate);
            }
        }
    }
}

// Sets the tax code and amount; returns the rate used.
double StageTwoRun::setItemTax()
{
    // A line without a product record (not found, or a special code) takes the
    // customer's default code: it is built from the file and the customer alone.
    int16_t taxCode = basic::CBool(customer("OVERRIDE_PRODUCT_TAX")) || !m_productFound
                          ? basic::CInt(customer("DEF_TAX_CODE"))
                          : basic::CInt(product("TAX_CODE"));
    const QString lineCode = value(slot::LineTaxCode);
    if (!lineCode.isEmpty()) {
        const double given = num(lineCode);
        if (given >= 0 && given < 100)
            taxCode = basic::CInt(Variant(lineCode));
    }
    m_state.pass.CurrentStep = QStringLiteral("AFTER 46");
    const QString stockCode = basic::CStr(itemField("Stock_Code"));
    if (stockCode == QLatin1String("S2"))
        taxCode = 0;
    else if (stockCode == QLatin1String("S1"))
        taxCode = 1;
    setItemField("Tax_Code", taxCode);
    // The rate is always the rate of the code the line is posted with.
    const double rate = taxRate(taxCode);
    const double net = num(itemField("Net_Amount"));
    setItemField("Tax_Amount",
                 RoundToTwoPlaces(rate * (net - net * num(header("Settlement_Disc_Rate")) / 100) / 100));
    return rate;
}

void StageTwoRun::setServiceText(const ObjectRef& item)
{
    if (basic::CByte(itemField("Service_flag")) != 2)
        return;
    QString text;
    if (mapped(slot::DetailsLine1))
        text = value(slot::DetailsLine1);
    for (int s = slot::DetailsLine1 + 1; s <= slot::DetailsLine5; ++s) {
        if (mapped(s))
            text += QStringLiteral("\r\n") + value(s);
    }
    item->put(QStringLiteral("Text"), text);
    setItemField("TEXT", m_productFound ? product("DESCRIPTION")
                                        : field(m_state.package.SetupDataRec, "INVOICE_DEF_SRVTEXT"));
}

// The control record is read once per pass: so is each code's rate.
double StageTwoRun::taxRate(int16_t taxCode)
{
    auto it = m_taxRates.find(taxCode);
    if (it == m_taxRates.end()) {
        const QString name = QStringLiteral("T") + QString::number(taxCode) + QStringLiteral("_RATE");
        it = m_taxRates.emplace(taxCode, num(field(m_state.package.ControlDataRec, name))).first;
    }
    return it->second;
}

} // namespace importer
