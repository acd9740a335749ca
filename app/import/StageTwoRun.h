#pragma once

#include "app/import/ImportState.h"
#include "app/import/PackageNames.h"

#include "platform/automation/Object.h"
#include "platform/basic/Variant.h"

#include <QString>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

// One pass of stage two. Not part of the module's interface: PostImportFile is.
// The frame (documents, header, commit, failure handling) is in StageTwo.cpp, the
// item lines in StageTwoItems.cpp, carriage, totals and payment in StageTwoTotals.cpp.
namespace importer {

class ImportContext;
class MainWindowView;

// Values by field name (packageName's text, so its address): a few dozen at most,
// emptied per document or line and filled again, so kept in one block that is
// searched straight through rather than in a node per entry.
class NameValues
{
public:
    const basic::Variant* find(const QString* key) const
    {
        for (const auto& [k, v] : m_entries)
            if (k == key)
                return &v;
        return nullptr;
    }
    void set(const QString* key, const basic::Variant& v)
    {
        for (auto& [k, held] : m_entries)
            if (k == key) {
                held = v;
                return;
            }
        m_entries.emplace_back(key, v);
    }
    void erase(const QString* key)
    {
        for (auto& entry : m_entries)
            if (entry.first == key) {
                entry = std::move(m_entries.back());
                m_entries.pop_back();
                return;
            }
    }
    void clear() { m_entries.clear(); }

private:
    std::vector<std::pair<const QString*, basic::Variant>> m_entries;
};

class StageTwoRun
{
public:
    StageTwoRun(ImportContext& context, const QString& callerForm, const QString& mode);
    void run();

private:
    // The frame.
    void openFile();
    void createPassObjects();
    // False when the file ended before a first data line.
    bool readFirstLine();
    void postDocuments();
    void startDocument();
    bool findCustomer();
    void skipDocument();
    void setHeaderFields();
    void setDocumentDate();
    void setExchangeRate();
    void setSettlementTerms();
    void testLockDown();
    // Reads the next line of the document; false when the document's lines ended.
    bool nextLineOfDocument();
    void commitDocument();
    void finishPass();
    void handleFailure(int32_t number);
    void recordEntry(const QString& message, int32_t column = 0, const QString& value = {});

    // Item lines.
    void buildItemLine();
    void setItemProduct(const QString& code);
    void priceItemLine(const QString& code, bool special);
    double documentPrice(double price);
    void applyCustomerPricing(const QString& code, double quantity);
    void applyFileDiscounts();
    double setItemTax();
    void setServiceText(const ObjectRef& item);

    // Carriage, totals and payment.
    void setLineCarriage();
    void finishDocument();
    void applyCarriageOption();
    void applyInvoiceValueDiscount();
    double postedTotal();
    void setPayment();
    void findBankForCurrency();
    double carriageTax(double net, int16_t taxCode);
    double taxRate(int16_t taxCode);

    // Slots of the current line: mapped when the layout names a column for them.
    bool mapped(int slot) const;
    QString value(int slot) const;
    bool isEmpty(int slot) const { return value(slot).isEmpty(); }
    // A whole-number slot that stage one accepted empty as 0 converts as 0 here too.
    basic::Variant numberText(int slot) const;
    bool settingIsOne(const char* key);
    // "V18" to "V23": the closed-ledger date, and discounts less the customer's rate.
    bool v18OrLater() const;

    // The package objects.
    ObjectRef create(const char* name);
    basic::Variant header(const char* name);
    void setHeader(const char* name, const basic::Variant& v);
    basic::Variant member(const ObjectRef& object, MemberId& id, automation::Invoke kind, automation::Args args = {});
    basic::Variant byName(const ObjectRef& object, automation::DispId id, automation::Invoke kind,
                          const QString& name, const basic::Variant& v = {});
    basic::Variant field(const ObjectRef& object, const QString& name);
    basic::Variant field(const ObjectRef& object, const char* name);
    void setField(const ObjectRef& object, const char* name, const basic::Variant& v);
    // The fields of the item line being built.
    basic::Variant itemField(const char* name);
    void setItemField(const char* name, const basic::Variant& v);
    void forgetHeader();
    basic::Variant customer(const char* name);
    // The product of the current line; a line whose product was not found, or not
    // looked up, reads an empty record rather than what an earlier line found.
    basic::Variant product(const char* name);

    ImportContext& m_context;
    ImportState& m_state;
    MainWindowView& m_window;
    QString m_callerForm;
    bool m_validate;
    bool m_import;
    bool m_v18OrLater;
    MemberId m_headerId{"Header"};
    MemberId m_findId{"Find"};
    MemberId m_itemsId{"Items"};
    MemberId m_addId{"Add"};
    automation::Args m_nameArg;
    // Read once: the pass's settings, the document's customer, the line's product
    // (keyed by the literal naming the setting or field), the tax rates by code.
    std::unordered_map<const char*, bool> m_settings;
    std::unordered_map<const char*, basic::Variant> m_customerFields;
    std::unordered_map<const char*, basic::Variant> m_productFields;
    std::unordered_map<int16_t, double> m_taxRates;
    // What the package holds, as far as this pass wrote or read it, by field name
    // (packageName's text): the document's header, the current item line.
    NameValues m_headerRead;
    NameValues m_headerWritten;
    NameValues m_itemFields;

    // Set-up values of the pass.
    double m_carrNetDefault = 0;
    int16_t m_carrDeptDefault = 0;
    int16_t m_carrNomDefault = 4000;
    double m_discUnitPrice = 0;
    ObjectRef m_pricing;

    // The current document.
    QString m_accountRef;
    QString m_docTransType;
    QString m_docBankAccount;
    double m_itemsNetTotal = 0;
    double m_itemsTaxTotal = 0;
    double m_paymentTotal = 0;
    double m_netValueDiscount = 0;
    QString m_netValueDiscountText;
    double m_exchangeRate = 0;
    int32_t m_itemNo = 0;
    ObjectRef m_items; // the document's item lines, taken with its first line
    std::vector<ObjectRef> m_itemLines;
    bool m_customerFound = false;
    bool m_productFound = false;
    double m_linePrice = 0;

    // The pass.
    bool m_atEnd = false;
    bool m_everyDocumentCommitted = true;
};

} // namespace importer
