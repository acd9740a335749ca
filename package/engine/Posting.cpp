#include "package/engine/Posting.h"

#include "package/engine/FieldObjects.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace vdo {

const MemberTable<Posting>& Posting::table()
{
    static const auto t =
        MemberTable<Posting>()
            .property(
                1, "Type", [](Posting& p, Args&) { return Variant(int32_t(p.m_state->type)); },
                [](Posting& p, Args&, const Variant& v) { p.m_state->type = basic::CLng(v); })
            .property(
                2, "Header",
                [](Posting& p, Args& a) {
                    if (!hasArg(a, 0))
                        return Variant(automation::ObjectRef(std::make_shared<Fields>(p.m_state->header)));
                    return p.m_state->header->get(basic::CStr(a[0]));
                },
                [](Posting& p, Args& a, const Variant& v) { p.putHeader(basic::CStr(argAt(a, 0)), v); })
            .property(3, "Items",
                      [](Posting& p, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Items>(p.m_state)));
                      })
            .method(4, "GetNextNumber",
                    [](Posting& p, Args&) {
                        return Variant(int32_t(p.m_connection->require().nextNumber(p.m_state->sequence)));
                    })
            .method(5, "Update", [](Posting& p, Args&) { return Variant(p.update()); })
            .property(6, "Fields",
                      [](Posting& p, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Fields>(p.m_state->header)));
                      })
            // Not used by the system: why the last Update refused, for tests and logs.
            .property(7, "RefusalReason", [](Posting& p, Args&) { return Variant(p.m_state->refusal); });
    return t;
}

void Posting::putHeader(const QString& name, const Variant& v)
{
    FieldValues& h = *m_state->header;
    const int i = h.index(name);
    h.put(i, v);
    // The customer's default tax code comes with the account, as the package fills it.
    if (h.set->at(i).name == QLatin1String("ACCOUNT_REF") && m_connection->ledger) {
        std::vector<QVariant> row;
        const int tax = h.set->indexOf(QStringLiteral("DEF_TAX_CODE"));
        if (!h.assigned[size_t(tax)] &&
            m_connection->ledger->find(company::Table::Customers, h.values[size_t(i)].toString(), row))
            h.values[size_t(tax)] =
                row[size_t(company::fields::customer().indexOf(QStringLiteral("DEF_TAX_CODE")))];
    }
}

bool Posting::update()
{
    company::Ledger& l = m_connection->require();
    if (m_state->posted) {
        // A posting object commits its document once; a second Update would post it twice.
        m_state->refusal = QStringLiteral("document already posted");
        return false;
    }
    company::Document doc;
    doc.sequence = m_state->sequence;
    doc.type = m_state->type;
    doc.header = m_state->header->values;
    doc.headerAssigned = m_state->header->assigned;
    for (const auto& item : m_state->items)
        doc.items.push_back({item->fields->values, item->text});
    company::PostResult r;
    try {
        r = l.post(doc);
    } catch (const company::LedgerError& e) {
        m_state->refusal = e.message();
        raiseLedger(e);
    }
    m_state->refusal = r.reason;
    if (!r.posted)
        return false;
    m_state->posted = true;
    const char* numberField = doc.sequence == company::Sequence::Invoice ? "INVOICE_NUMBER" : "ORDER_NUMBER";
    m_state->header->values[size_t(m_state->header->set->indexOf(QLatin1String(numberField)))] = r.number;
    return true;
}

const MemberTable<Items>& Items::table()
{
    static const auto t =
        MemberTable<Items>()
            .method(0, "Item",
                    [](Items& it, Args& a) {
                        const int n = basic::CLng(argAt(a, 0));
                        if (n < 1 || n > int(it.m_state->items.size()))
                            raise(basic::err::SubscriptOutOfRange,
                                  basic::errorDescription(basic::err::SubscriptOutOfRange));
                        return Variant(
                            automation::ObjectRef(std::make_shared<Item>(it.m_state->items[size_t(n - 1)])));
                    })
            .method(1, "Add",
                    [](Items& it, Args&) {
                        auto item = std::make_shared<PostingState::Item>();
                        it.m_state->items.push_back(item);
                        return Variant(automation::ObjectRef(std::make_shared<Item>(item)));
                    })
            .property(2, "Count",
                      [](Items& it, Args&) { return Variant(int32_t(it.m_state->items.size())); });
    return t;
}

const MemberTable<Item>& Item::table()
{
    static const auto t =
        MemberTable<Item>()
            .property(
                0, "Value", [](Item& i, Args& a) { return i.m_item->fields->get(basic::CStr(argAt(a, 0))); },
                [](Item& i, Args& a, const Variant& v) {
                    i.m_item->fields->put(basic::CStr(argAt(a, 0)), v);
                })
            .property(1, "Fields",
                      [](Item& i, Args&) {
                          return Variant(automation::ObjectRef(std::make_shared<Fields>(i.m_item->fields)));
                      })
            .property(
                2, "Text", [](Item& i, Args&) { return Variant(i.m_item->text); },
                [](Item& i, Args&, const Variant& v) { i.m_item->text = basic::CStr(v); });
    return t;
}

} // namespace vdo
