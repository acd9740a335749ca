#include "package/engine/Records.h"

#include "package/engine/FieldObjects.h"
#include "platform/basic/Conversions.h"

namespace vdo {

const MemberTable<Record>& Record::table()
{
    static const auto t =
        MemberTable<Record>()
            .property(
                0, "Value", [](Record& r, Args& a) { return r.m_values->get(basic::CStr(argAt(a, 0))); },
                [](Record& r, Args& a, const Variant& v) { r.m_values->put(basic::CStr(argAt(a, 0)), v); })
            .property(1, "Fields",
                      [](Record& r, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Fields>(r.m_values)));
                      })
            .method(2, "Find", [](Record& r, Args&) { return Variant(r.find()); })
            .method(3, "MoveFirst", [](Record& r, Args&) { return Variant(r.move(true)); })
            .method(4, "MoveNext", [](Record& r, Args&) { return Variant(r.move(false)); })
            .property(5, "Count", [](Record& r, Args&) {
                int64_t id = 0;
                int32_t n = 0;
                std::vector<QVariant> row;
                while (r.m_connection->require().next(r.m_table, id, row))
                    ++n;
                return Variant(n);
            });
    return t;
}

bool Record::find()
{
    company::Ledger& l = m_connection->require();
    const bool price = m_table == company::Table::Prices;
    const QString key = price ? m_values->raw("ACCOUNT_REF").toString() + QLatin1Char('\n') +
                                    m_values->raw("STOCK_CODE").toString()
                              : m_values->values[0].toString(); // every other record's key is its first field
    std::vector<QVariant> row;
    if (l.find(m_table, key, row)) {
        m_values->values = std::move(row);
        return true;
    }
    // A failed search leaves an empty record holding the key that was looked for.
    const std::vector<QVariant> keep = m_values->values;
    m_values->reset();
    for (const char* k : {"ACCOUNT_REF", "STOCK_CODE"}) {
        const int i = m_values->set->indexOf(QLatin1String(k));
        if (i >= 0 && (price || m_values->set->at(0).name == QLatin1String(k)))
            m_values->values[size_t(i)] = keep[size_t(i)];
    }
    return false;
}

bool Record::move(bool first)
{
    company::Ledger& l = m_connection->require();
    if (first)
        m_rowId = 0;
    std::vector<QVariant> row;
    if (!l.next(m_table, m_rowId, row))
        return false;
    m_values->values = std::move(row);
    return true;
}

DocumentRecord::DocumentRecord(ConnectionRef c, company::Sequence s)
    : m_connection(std::move(c)), m_sequence(s),
      m_values(std::make_shared<FieldValues>(s == company::Sequence::Invoice
                                                 ? company::fields::invoiceHeader()
                                                 : company::fields::orderHeader()))
{
}

const MemberTable<DocumentRecord>& DocumentRecord::table()
{
    static const auto t =
        MemberTable<DocumentRecord>()
            .property(
                0, "Value",
                [](DocumentRecord& r, Args& a) { return r.m_values->get(basic::CStr(argAt(a, 0))); },
                [](DocumentRecord& r, Args& a, const Variant& v) {
                    r.m_values->put(basic::CStr(argAt(a, 0)), v);
                })
            .property(1, "Fields",
                      [](DocumentRecord& r, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Fields>(r.m_values)));
                      })
            .method(2, "Find", [](DocumentRecord& r, Args&) { return Variant(r.find()); })
            .method(3, "MoveFirst", [](DocumentRecord& r, Args&) { return Variant(r.move(true)); })
            .method(4, "MoveNext", [](DocumentRecord& r, Args&) { return Variant(r.move(false)); });
    return t;
}

bool DocumentRecord::find()
{
    company::Ledger& l = m_connection->require();
    const char* key = m_sequence == company::Sequence::Invoice ? "INVOICE_NUMBER" : "ORDER_NUMBER";
    const int number = m_values->raw(key).toInt();
    std::vector<QVariant> header;
    if (number > 0 && l.findDocument(m_sequence, number, header)) {
        m_values->values = std::move(header);
        return true;
    }
    m_values->reset();
    m_values->values[size_t(m_values->set->indexOf(QLatin1String(key)))] = number;
    return false;
}

bool DocumentRecord::move(bool first)
{
    company::Ledger& l = m_connection->require();
    if (first)
        m_id = 0;
    std::vector<QVariant> header;
    if (!l.nextDocument(m_sequence, m_id, header))
        return false;
    m_values->values = std::move(header);
    return true;
}

DataObject::DataObject(ConnectionRef c, Kind k)
    : m_connection(std::move(c)), m_kind(k),
      m_values(std::make_shared<FieldValues>(k == Kind::Setup     ? company::fields::setup()
                                             : k == Kind::Control ? company::fields::control()
                                                                  : company::fields::currency()))
{
}

const MemberTable<DataObject>& DataObject::table()
{
    static const auto t =
        MemberTable<DataObject>()
            .property(
                0, "Value", [](DataObject& d, Args& a) { return d.m_values->get(basic::CStr(argAt(a, 0))); },
                [](DataObject& d, Args& a, const Variant& v) {
                    d.m_values->put(basic::CStr(argAt(a, 0)), v);
                })
            .property(1, "Fields",
                      [](DataObject& d, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Fields>(d.m_values)));
                      })
            .method(2, "Open",
                    [](DataObject& d, Args&) {
                        d.m_connection->require();
                        return Variant(true);
                    })
            .method(3, "Read",
                    [](DataObject& d, Args& a) { return Variant(d.read(basic::CLng(argAt(a, 0)))); })
            .method(4, "Close", [](DataObject&, Args&) { return Variant(); })
            .property(5, "Count", [](DataObject& d, Args&) {
                if (d.m_kind != Kind::Currency)
                    return Variant(int32_t(1));
                int32_t n = 0;
                std::vector<QVariant> row;
                while (d.m_connection->require().readCurrency(n, row))
                    ++n;
                return Variant(n);
            });
    return t;
}

bool DataObject::read(int record)
{
    company::Ledger& l = m_connection->require();
    switch (m_kind) {
    case Kind::Setup:
        if (record != 1)
            return false;
        m_values->values = l.setupValues();
        return true;
    case Kind::Control:
        if (record != 1)
            return false;
        m_values->values = l.controlValues();
        return true;
    case Kind::Currency: {
        std::vector<QVariant> row;
        if (!l.readCurrency(record - 1, row)) {
            m_values->reset();
            return false;
        }
        m_values->values = std::move(row);
        return true;
    }
    }
    return false;
}

const MemberTable<Pricing>& Pricing::table()
{
    static const auto t = MemberTable<Pricing>().method(1, "CustomerUnitPrice", [](Pricing& p, Args& a) {
        return Variant(p.m_connection->require().customerUnitPrice(basic::CStr(argAt(a, 0)).trimmed(),
                                                                   basic::CStr(argAt(a, 1)).trimmed()));
    });
    return t;
}

} // namespace vdo
