#pragma once

#include "package/engine/EngineSupport.h"

namespace vdo {

// What a posting object and its item lines share.
struct PostingState
{
    struct Item
    {
        explicit Item() : fields(std::make_shared<FieldValues>(company::fields::item())) {}
        FieldValuesRef fields;
        QString text;
    };
    explicit PostingState(company::Sequence s)
        : sequence(s), header(std::make_shared<FieldValues>(s == company::Sequence::Invoice
                                                                ? company::fields::invoiceHeader()
                                                                : company::fields::orderHeader()))
    {
    }
    company::Sequence sequence;
    int type = company::TypeInvoice;
    FieldValuesRef header;
    std::vector<std::shared_ptr<Item>> items;
    bool posted = false;
    QString refusal;
};
using PostingStateRef = std::shared_ptr<PostingState>;

// InvoicePost and SOPPost: Type, Header(name), Items, GetNextNumber, Update.
class Posting : public automation::Object
{
    VDO_OBJECT(Posting)
public:
    Posting(ConnectionRef c, company::Sequence s)
        : m_connection(std::move(c)), m_state(std::make_shared<PostingState>(s))
    {
        if (s == company::Sequence::Order)
            m_state->type = 0;
    }

private:
    void putHeader(const QString& name, const Variant& v);
    bool update();

    ConnectionRef m_connection;
    PostingStateRef m_state;
};

// The item lines of a posting object: Add, Count, Item(n) (1-based).
class Items : public automation::Object
{
    VDO_OBJECT(Items)
public:
    explicit Items(PostingStateRef s) : m_state(std::move(s)) {}

private:
    PostingStateRef m_state;
};

// One item line: fields through the default member or Fields, and Text.
class Item : public automation::Object
{
    VDO_OBJECT(Item)
public:
    explicit Item(std::shared_ptr<PostingState::Item> i) : m_item(std::move(i)) {}

private:
    std::shared_ptr<PostingState::Item> m_item;
};

} // namespace vdo
