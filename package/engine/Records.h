#pragma once

#include "package/engine/EngineSupport.h"

namespace vdo {

// A record of customers, products, nominal or bank accounts, prices or delivery
// addresses: the key field is set through the default member, then Find(False).
class Record : public automation::Object
{
    VDO_OBJECT(Record)
public:
    Record(ConnectionRef c, company::Table t, QString name)
        : m_connection(std::move(c)), m_table(t), m_name(std::move(name)),
          m_values(std::make_shared<FieldValues>(company::fieldsOf(t)))
    {
    }

private:
    bool find();
    bool move(bool first);

    ConnectionRef m_connection;
    company::Table m_table;
    QString m_name;
    FieldValuesRef m_values;
    int64_t m_rowId = 0;
};

// The posted invoices and credit notes (InvoiceRecord) or sales orders (SOPRecord),
// found by INVOICE_NUMBER / ORDER_NUMBER.
class DocumentRecord : public automation::Object
{
    VDO_OBJECT(DocumentRecord)
public:
    DocumentRecord(ConnectionRef c, company::Sequence s);

private:
    bool find();
    bool move(bool first);

    ConnectionRef m_connection;
    company::Sequence m_sequence;
    FieldValuesRef m_values;
    int64_t m_id = 0;
};

// SetupData, ControlData (record 1) and CurrencyData (record = currency number + 1).
class DataObject : public automation::Object
{
    VDO_OBJECT(DataObject)
public:
    enum class Kind
    {
        Setup,
        Control,
        Currency
    };
    DataObject(ConnectionRef c, Kind k);

private:
    bool read(int record);

    ConnectionRef m_connection;
    Kind m_kind;
    FieldValuesRef m_values;
};

// Pricing.CustomerUnitPrice(account, product): the customer's own price, else the
// product's sales price.
class Pricing : public automation::Object
{
    VDO_OBJECT(Pricing)
public:
    explicit Pricing(ConnectionRef c) : m_connection(std::move(c)) {}

private:
    ConnectionRef m_connection;
};

} // namespace vdo
