#pragma once

#include "package/company/FieldSet.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace company {

// The record tables of the ledger, each with its field set and key field.
enum class Table
{
    Customers,
    Products,
    Nominals,
    Banks,
    Prices,
    Deliveries
};
const FieldSet& fieldsOf(Table t);

// Invoices and credit notes share one number sequence, sales orders have their own.
enum class Sequence
{
    Invoice,
    Order
};

constexpr int TypeInvoice = 261;
constexpr int TypeCredit = 265;

// A document as a posting object hands it to the ledger.
struct Document
{
    Sequence sequence = Sequence::Invoice;
    int type = TypeInvoice;           // 261 or 265 for invoices, 0 for orders
    std::vector<QVariant> header;     // by the header field set of the sequence
    std::vector<bool> headerAssigned; // which header fields the caller set
    struct Item
    {
        std::vector<QVariant> fields; // by fields::item()
        QString text;                 // the item's Text property
    };
    std::vector<Item> items;

    const FieldSet& headerFields() const;
    QVariant headerValue(const char* name) const;
};

struct PostResult
{
    bool posted = false;
    int number = 0;
    QString reason; // why the document was refused
};

// One open company ledger (a SQLite database beside setup.dta). Not thread-safe;
// one per workspace.
class Ledger
{
public:
    static constexpr int SchemaVersion = 1;

    // Creates a new, empty ledger file (refuses an existing one).
    static std::unique_ptr<Ledger> create(const QString& file);
    // Opens an existing ledger: an older schema is brought up to date, a newer one
    // is refused; errors name the file.
    static std::unique_ptr<Ledger> open(const QString& file);
    ~Ledger();
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    const QString& file() const { return m_file; }

    bool isValidUser(const QString& name, const QString& password);
    void addUser(const QString& name, const QString& password);

    void setInfo(const QString& key, const QVariant& value);
    QVariant info(const QString& key);

    // Records: found by key (Prices: key is "ACCOUNT_REF\nSTOCK_CODE"), walked by row id.
    void insertRecord(Table t, const std::vector<QVariant>& values);
    bool find(Table t, const QString& key, std::vector<QVariant>& out);
    // The record after row id `after` (0 for the first); false past the last.
    bool next(Table t, int64_t& rowId, std::vector<QVariant>& out);

    std::vector<QVariant> setupValues();
    void setSetupValue(const QString& field, const QVariant& value);
    std::vector<QVariant> controlValues();
    void setControlValue(const QString& field, const QVariant& value);
    bool taxCodeKnown(int code);
    bool readCurrency(int number, std::vector<QVariant>& out);
    void insertCurrency(int number, const std::vector<QVariant>& values);

    // The customer's own unit price for a product, or the product's sales price.
    double customerUnitPrice(const QString& account, const QString& stockCode);

    int nextNumber(Sequence s);
    // A posted document's header by its number; false when there is none.
    bool findDocument(Sequence s, int number, std::vector<QVariant>& header);
    bool nextDocument(Sequence s, int64_t& id, std::vector<QVariant>& header);

    // Checks the document against the refusal rules and commits it in one
    // transaction, or refuses it and changes nothing. A number of 0 is given at commit.
    // Raises LedgerError when the database is locked or fails.
    PostResult post(const Document& doc);

    // Every posted document in posting order, header fields and "items".
    QJsonArray listDocuments();

    void begin();
    void commit();
    void rollback();

private:
    Ledger(sqlite3* db, QString file);
    void migrate();
    void readSnapshot();
    void endRead();
    void exec(const char* sql);
    sqlite3_stmt* statement(const QString& sql);
    [[noreturn]] void fail(const QString& what);
    QString refusalReason(const Document& doc, int& number);

    sqlite3* m_db = nullptr;
    QString m_file;
    QHash<QString, sqlite3_stmt*> m_statements;
    std::array<sqlite3_stmt*, 6> m_findStatements{};
    static constexpr qint64 SnapshotMs = 20;
    bool m_readOpen = false;
    QElapsedTimer m_readTimer;
};

// Conversions between field values and JSON, used by the seed and the listing.
QJsonValue toJson(const QVariant& v, FieldKind kind);
std::optional<QVariant> fromJson(const QJsonValue& v, FieldKind kind);

} // namespace company
