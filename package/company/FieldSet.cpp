#include "package/company/FieldSet.h"

#include <QDate>

#include <cmath>

namespace company {

FieldSet& FieldSet::add(const char* name, FieldKind kind, QVariant initial)
{
    const QString n = QString::fromLatin1(name).toUpper();
    if (!initial.isValid()) {
        switch (kind) {
        case FieldKind::Text:
            initial = QString();
            break;
        case FieldKind::Integer:
        case FieldKind::Long:
        case FieldKind::Byte:
        case FieldKind::DocNumber:
            initial = 0;
            break;
        case FieldKind::Double:
            initial = 0.0;
            break;
        case FieldKind::Bool:
            initial = false;
            break;
        case FieldKind::Date:
            break; // no date until one is set
        }
    }
    m_index.insert(n, int(m_fields.size()));
    m_fields.push_back({n, kind, initial});
    return *this;
}

FieldSet& FieldSet::addRange(const char* prefix, int from, int to, FieldKind kind, QVariant initial,
                             const char* suffix)
{
    for (int i = from; i <= to; ++i)
        add(QStringLiteral("%1%2%3")
                .arg(QLatin1String(prefix))
                .arg(i)
                .arg(QLatin1String(suffix))
                .toLatin1()
                .constData(),
            kind, initial);
    return *this;
}

int FieldSet::indexOf(const QString& name) const
{
    // Most callers name fields in upper case already: no copy for them.
    auto it = m_index.constFind(name);
    if (it == m_index.constEnd())
        it = m_index.constFind(name.toUpper());
    return it == m_index.constEnd() ? -1 : *it;
}

std::vector<QVariant> FieldSet::initialValues() const
{
    std::vector<QVariant> out;
    out.reserve(m_fields.size());
    for (const auto& f : m_fields)
        out.push_back(f.initial);
    return out;
}

static std::optional<double> asNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -1.0 : 0.0;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString: {
        const QString t = v.toString().trimmed();
        if (t.isEmpty())
            return 0.0;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return d;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> coerce(const QVariant& value, FieldKind kind)
{
    if (!value.isValid())
        return QVariant();
    switch (kind) {
    case FieldKind::Text:
        if (value.typeId() == QMetaType::QDate)
            return QVariant(value.toDate().toString(Qt::ISODate));
        if (value.typeId() == QMetaType::Double)
            return QVariant(QString::number(value.toDouble(), 'g', 15));
        if (value.typeId() == QMetaType::Bool)
            return QVariant(value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return QVariant(value.toString());
    case FieldKind::Integer:
    case FieldKind::Long:
    case FieldKind::Byte: {
        const auto d = asNumber(value);
        if (!d || !std::isfinite(*d))
            return std::nullopt;
        const double r = std::nearbyint(*d);
        const double lo = kind == FieldKind::Byte ? 0 : kind == FieldKind::Integer ? -32768 : -2147483648.0;
        const double hi = kind == FieldKind::Byte ? 255 : kind == FieldKind::Integer ? 32767 : 2147483647.0;
        if (r < lo || r > hi)
            return std::nullopt;
        return QVariant(int(r));
    }
    case FieldKind::DocNumber: {
        // Empty text leaves the number to be given at commit.
        const auto d = asNumber(value);
        if (!d || !std::isfinite(*d) || *d != std::floor(*d) || *d < 0 || *d > 2147483647.0)
            return std::nullopt;
        return QVariant(int(*d));
    }
    case FieldKind::Double: {
        const auto d = asNumber(value);
        if (!d)
            return std::nullopt;
        return QVariant(*d);
    }
    case FieldKind::Bool: {
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed();
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return QVariant(true);
            if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return QVariant(false);
        }
        const auto d = asNumber(value);
        if (!d)
            return std::nullopt;
        return QVariant(*d != 0.0);
    }
    case FieldKind::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value;
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed();
            if (t.isEmpty())
                return QVariant();
            QDate d = QDate::fromString(t, Qt::ISODate);
            if (!d.isValid())
                d = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
            if (!d.isValid())
                return std::nullopt;
            return QVariant(d);
        }
        return std::nullopt;
    }
    }
    return std::nullopt;
}

namespace fields {

using K = FieldKind;

const FieldSet& customer()
{
    static const FieldSet s = FieldSet()
                                  .add("ACCOUNT_REF", K::Text)
                                  .add("NAME", K::Text)
                                  .addRange("ADDRESS_", 1, 5, K::Text)
                                  .add("DEL_NAME", K::Text)
                                  .addRange("DEL_ADDRESS_", 1, 5, K::Text)
                                  .add("CONTACT_NAME", K::Text)
                                  .add("TELEPHONE", K::Text)
                                  .add("CURRENCY", K::Byte)
                                  .add("DEF_TAX_CODE", K::Integer, 1)
                                  .add("OVERRIDE_PRODUCT_TAX", K::Bool)
                                  .add("DEF_NOM_CODE", K::Text, QStringLiteral("4000"))
                                  .add("DEPT_NUMBER", K::Integer)
                                  .add("DISCOUNT_RATE", K::Double)
                                  .add("DISCOUNT_TYPE", K::Integer)
                                  .add("SETTLEMENT_DISC_RATE", K::Double)
                                  .add("SETTLEMENT_DUE_DAYS", K::Integer)
                                  .add("BALANCE", K::Double)
                                  .add("CREDIT_LIMIT", K::Double);
    return s;
}

const FieldSet& product()
{
    static const FieldSet s = FieldSet()
                                  .add("STOCK_CODE", K::Text)
                                  .add("DESCRIPTION", K::Text)
                                  .add("UNIT_OF_SALE", K::Text)
                                  .add("NOMINAL_CODE", K::Text, QStringLiteral("4000"))
                                  .add("SALES_PRICE", K::Double)
                                  .add("TAX_CODE", K::Integer, 1)
                                  .add("DEPT_NUMBER", K::Integer)
                                  .add("QTY_IN_STOCK", K::Double);
    return s;
}

const FieldSet& nominal()
{
    static const FieldSet s = FieldSet().add("ACCOUNT_REF", K::Text).add("NAME", K::Text);
    return s;
}

const FieldSet& bank()
{
    static const FieldSet s = FieldSet()
                                  .add("ACCOUNT_REF", K::Text)
                                  .add("NAME", K::Text)
                                  .add("CURRENCY", K::Byte)
                                  .add("BALANCE", K::Double);
    return s;
}

const FieldSet& price()
{
    static const FieldSet s =
        FieldSet().add("ACCOUNT_REF", K::Text).add("STOCK_CODE", K::Text).add("PRICE", K::Double);
    return s;
}

const FieldSet& delivery()
{
    static const FieldSet s =
        FieldSet().add("ACCOUNT_REF", K::Text).add("NAME", K::Text).addRange("ADDRESS_", 1, 5, K::Text);
    return s;
}

const FieldSet& currency()
{
    static const FieldSet s = FieldSet()
                                  .add("NUMBER", K::Byte)
                                  .add("CODE", K::Text)
                                  .add("NAME", K::Text)
                                  .add("SYMBOL", K::Text)
                                  .add("EXCHANGE_RATE", K::Double, 1.0);
    return s;
}

const FieldSet& setup()
{
    static const FieldSet s = FieldSet()
                                  .add("STOCK_UNITDP", K::Integer, 2)
                                  .add("STOCK_QTYDP", K::Integer, 2)
                                  .add("INV_SHOW_SPECIAL_CODES", K::Integer, 1)
                                  .add("BASE_CURRENCY", K::Text, QStringLiteral("GBP"))
                                  .add("INVOICE_CARR_NET", K::Double)
                                  .add("INVOICE_CARR_DEPT", K::Integer)
                                  .add("INVOICE_CARR_NOMINAL", K::Text, QStringLiteral("4905"))
                                  .add("INVOICE_DISC_UNITPRICE", K::Integer)
                                  .add("INVOICE_DEF_SRVTEXT", K::Text)
                                  .addRange("SALES_AMOUNT_SOLD_", 1, 10, K::Double)
                                  .addRange("SALES_ADD_DISC_", 1, 10, K::Double)
                                  .add("CLOSED_LEDGER_DATE_CONTROL_ENABLED", K::Bool)
                                  .add("CLOSED_LEDGER_CHECK_DATE", K::Date);
    return s;
}

const FieldSet& control()
{
    static const FieldSet s = FieldSet().addRange("T", 0, 99, K::Double, {}, "_RATE");
    return s;
}

static FieldSet header(bool order)
{
    FieldSet s;
    s.add("INVOICE_NUMBER", order ? K::Text : K::DocNumber)
        .add("ORDER_NUMBER", order ? K::DocNumber : K::Text)
        .add("ACCOUNT_REF", K::Text)
        .add("NAME", K::Text)
        .addRange("ADDRESS_", 1, 5, K::Text)
        .add("INVOICE_DATE", K::Date)
        .add("ORDER_DATE", K::Date)
        .add("DESPATCH_DATE", K::Date)
        .add("INVOICE_TYPE_CODE", K::Byte)
        .add("STATUS", K::Long)
        .add("GLOBAL_TAX_CODE", K::Integer)
        .add("GLOBAL_NOM_CODE", K::Text)
        .add("GLOBAL_DETAILS", K::Text)
        .add("GLOBAL_DEPT_NUMBER", K::Integer)
        .add("DEF_TAX_CODE", K::Integer)
        .add("CUST_TEL_NUMBER", K::Text)
        .add("CUST_ORDER_NUMBER", K::Text)
        .add("CONTACT_NAME", K::Text)
        .add("CONSIGNMENT_REF", K::Text)
        .add("COURIER", K::Integer)
        .add("FOREIGN_RATE", K::Double, 1.0)
        .add("CURRENCY", K::Byte)
        .add("CURRENCY_USED", K::Byte)
        .add("DELIVERY_NAME", K::Text)
        .addRange("DEL_ADDRESS_", 1, 5, K::Text)
        .addRange("NOTES_", 1, 3, K::Text)
        .add("TAKEN_BY", K::Text)
        .add("PAYMENT_REF", K::Text)
        .add("SETTLEMENT_DISC_RATE", K::Double)
        .add("SETTLEMENT_DUE_DAYS", K::Integer)
        .add("CUST_DISC_RATE", K::Double)
        .add("CARR_NOM_CODE", K::Text)
        .add("CARR_DEPT_NUMBER", K::Integer)
        .add("CARR_NET", K::Double)
        .add("CARR_TAX_CODE", K::Integer)
        .add("CARR_TAX", K::Double)
        .add("ITEMS_NET", K::Double)
        .add("ITEMS_TAX", K::Double)
        .add("NETVALUE_DISCOUNT", K::Double)
        .add("NETVALUE_DESCRIPTION", K::Text)
        .add("NETVALUE_DISCOUNT_PERCENT", K::Double)
        .add("PAYMENT_TYPE", K::Integer)
        // Reads as empty until a payment is given, so that a document without one
        // is not taken for a payment of 0.
        .add("AMOUNT_PREPAID", K::Double, QVariant(QString()))
        .add("BANK_CODE", K::Text);
    return s;
}

const FieldSet& invoiceHeader()
{
    static const FieldSet s = header(false);
    return s;
}

const FieldSet& orderHeader()
{
    static const FieldSet s = header(true);
    return s;
}

const FieldSet& item()
{
    static const FieldSet s = FieldSet()
                                  .add("STOCK_CODE", K::Text)
                                  .add("SERVICE_FLAG", K::Byte)
                                  .add("UNIT_OF_SALE", K::Text)
                                  .add("NOMINAL_CODE", K::Text)
                                  .add("DESCRIPTION", K::Text)
                                  .add("TEXT", K::Text)
                                  .add("UNIT_PRICE", K::Double)
                                  .add("QTY_ORDER", K::Double)
                                  .add("NET_AMOUNT", K::Double)
                                  .add("FULL_NET_AMOUNT", K::Double)
                                  .add("DISCOUNT_AMOUNT", K::Double)
                                  .add("DISCOUNT_RATE", K::Double)
                                  .add("ADD_DISC_RATE", K::Double)
                                  .add("JOB_REFERENCE", K::Text)
                                  .add("TAX_CODE", K::Integer)
                                  .add("TAX_AMOUNT", K::Double)
                                  .add("TAX_RATE", K::Double)
                                  .add("DEPT_NUMBER", K::Integer)
                                  .add("COMMENT_1", K::Text)
                                  .add("COMMENT_2", K::Text);
    return s;
}

} // namespace fields
} // namespace company
