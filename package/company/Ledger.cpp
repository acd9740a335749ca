#include "package/company/Ledger.h"

#include "package/company/Faults.h"
#include "package/company/LedgerError.h"

#include <QDate>
#include <QFileInfo>
#include <QJsonDocument>

#include <sqlite3.h>

#include <cmath>
#include <functional>

namespace company {

namespace {

struct TableInfo
{
    const char* name;
    const FieldSet& (*fields)();
    const char* key;
};

const TableInfo& tableInfo(Table t)
{
    static const TableInfo infos[] = {
        {"customers", &fields::customer, "ACCOUNT_REF"}, {"products", &fields::product, "STOCK_CODE"},
        {"nominals", &fields::nominal, "ACCOUNT_REF"},   {"banks", &fields::bank, "ACCOUNT_REF"},
        {"prices", &fields::price, "ACCOUNT_REF"},       {"deliveries", &fields::delivery, "ACCOUNT_REF"},
    };
    return infos[int(t)];
}

const char* sqlType(FieldKind k)
{
    switch (k) {
    case FieldKind::Text:
    case FieldKind::Date:
        return "TEXT";
    case FieldKind::Double:
        return "REAL";
    default:
        return "INTEGER";
    }
}

QString createTableSql(const TableInfo& info, bool unique)
{
    QStringList cols;
    const FieldSet& fs = info.fields();
    for (int i = 0; i < fs.size(); ++i)
        cols << QStringLiteral("\"%1\" %2").arg(fs.at(i).name, QLatin1String(sqlType(fs.at(i).kind)));
    QString sql = QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, %2);")
                      .arg(QLatin1String(info.name), cols.join(QStringLiteral(", ")));
    if (unique)
        sql += QStringLiteral("CREATE UNIQUE INDEX %1_key ON %1(\"%2\");")
                   .arg(QLatin1String(info.name), QLatin1String(info.key));
    return sql;
}

// Versioned migrations: entry i brings the schema from version i to i + 1.
QStringList migrations()
{
    QString v1 = QStringLiteral(
        "CREATE TABLE company_info (key TEXT PRIMARY KEY, value);"
        "CREATE TABLE users (name TEXT PRIMARY KEY COLLATE NOCASE, password TEXT NOT NULL);"
        "CREATE TABLE setup_data (field TEXT PRIMARY KEY, value);"
        "CREATE TABLE control_data (field TEXT PRIMARY KEY, value);"
        "CREATE TABLE documents (id INTEGER PRIMARY KEY AUTOINCREMENT, sequence TEXT NOT NULL,"
        " number INTEGER NOT NULL, type INTEGER NOT NULL, account_ref TEXT NOT NULL, header TEXT NOT NULL,"
        " UNIQUE(sequence, number));"
        "CREATE TABLE document_items (document_id INTEGER NOT NULL REFERENCES documents(id), line_no INTEGER "
        "NOT NULL,"
        " fields TEXT NOT NULL, text TEXT NOT NULL, PRIMARY KEY(document_id, line_no));");
    v1 += createTableSql(tableInfo(Table::Customers), true);
    v1 += createTableSql(tableInfo(Table::Products), true);
    v1 += createTableSql(tableInfo(Table::Nominals), true);
    v1 += createTableSql(tableInfo(Table::Banks), true);
    v1 += createTableSql(tableInfo(Table::Prices), false);
    v1 += QStringLiteral("CREATE UNIQUE INDEX prices_key ON prices(\"ACCOUNT_REF\", \"STOCK_CODE\");");
    v1 += createTableSql(tableInfo(Table::Deliveries), false);
    v1 += QStringLiteral("CREATE INDEX deliveries_key ON deliveries(\"ACCOUNT_REF\");");
    QString cur = QStringLiteral("CREATE TABLE currencies (number INTEGER PRIMARY KEY");
    const FieldSet& cf = fields::currency();
    for (int i = 1; i < cf.size(); ++i)
        cur += QStringLiteral(", \"%1\" %2").arg(cf.at(i).name, QLatin1String(sqlType(cf.at(i).kind)));
    v1 += cur + QStringLiteral(");");
    return {v1};
}

const char* sequenceName(Sequence s)
{
    return s == Sequence::Invoice ? "invoice" : "order";
}

void bindValue(sqlite3_stmt* st, int index, const QVariant& v, FieldKind kind)
{
    if (!v.isValid() ||
        (v.typeId() == QMetaType::QString && kind != FieldKind::Text && v.toString().isEmpty())) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (kind) {
    case FieldKind::Text: {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case FieldKind::Date: {
        const QByteArray b = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case FieldKind::Double:
        sqlite3_bind_double(st, index, v.toDouble());
        break;
    case FieldKind::Bool:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        break;
    default:
        sqlite3_bind_int64(st, index, v.toLongLong());
        break;
    }
}

void bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray b = text.toUtf8();
    sqlite3_bind_text(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* st, int col)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, col)) : QString();
}

QVariant columnValue(sqlite3_stmt* st, int col, const FieldDef& def)
{
    if (sqlite3_column_type(st, col) == SQLITE_NULL)
        return def.initial;
    switch (def.kind) {
    case FieldKind::Text:
        return columnText(st, col);
    case FieldKind::Date:
        return QDate::fromString(columnText(st, col), Qt::ISODate);
    case FieldKind::Double:
        return sqlite3_column_double(st, col);
    case FieldKind::Bool:
        return sqlite3_column_int(st, col) != 0;
    default:
        return sqlite3_column_int(st, col);
    }
}

// A value stored as text in the key-value tables (setup, control).
QVariant storedValue(sqlite3_stmt* st, int col, const FieldDef& def)
{
    if (sqlite3_column_type(st, col) == SQLITE_NULL)
        return def.initial;
    const auto v = coerce(columnText(st, col), def.kind);
    return v ? *v : def.initial;
}

struct Reset
{
    sqlite3_stmt* st;
    ~Reset()
    {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

std::vector<QVariant> fromJsonObject(const QJsonObject& o, const FieldSet& fs)
{
    std::vector<QVariant> values = fs.initialValues();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const int i = fs.indexOf(it.key());
        if (i < 0)
            continue;
        if (const auto v = fromJson(it.value(), fs.at(i).kind))
            values[size_t(i)] = *v;
    }
    return values;
}

QJsonObject toJsonObject(const std::vector<QVariant>& values, const FieldSet& fs)
{
    QJsonObject o;
    for (int i = 0; i < fs.size(); ++i)
        o.insert(fs.at(i).name, toJson(values[size_t(i)], fs.at(i).kind));
    return o;
}

} // namespace

const FieldSet& fieldsOf(Table t)
{
    return tableInfo(t).fields();
}

const FieldSet& Document::headerFields() const
{
    return sequence == Sequence::Invoice ? fields::invoiceHeader() : fields::orderHeader();
}

QVariant Document::headerValue(const char* name) const
{
    const int i = headerFields().indexOf(QLatin1String(name));
    return i < 0 ? QVariant() : header[size_t(i)];
}

QJsonValue toJson(const QVariant& v, FieldKind kind)
{
    if (!v.isValid())
        return QJsonValue::Null;
    if (v.typeId() == QMetaType::QString && kind != FieldKind::Text && v.toString().isEmpty())
        return QJsonValue::Null;
    switch (kind) {
    case FieldKind::Text:
        return v.toString();
    case FieldKind::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldKind::Double:
        return v.toDouble();
    case FieldKind::Bool:
        return v.toBool();
    default:
        return v.toInt();
    }
}

std::optional<QVariant> fromJson(const QJsonValue& v, FieldKind kind)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QVariant();
    case QJsonValue::Bool:
        if (kind == FieldKind::Text || kind == FieldKind::Date)
            return std::nullopt;
        return coerce(QVariant(v.toBool()), kind);
    case QJsonValue::Double:
        if (kind == FieldKind::Date)
            return std::nullopt;
        return coerce(QVariant(v.toDouble()), kind);
    case QJsonValue::String:
        if (kind == FieldKind::Date) {
            const QDate d = QDate::fromString(v.toString(), QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                return v.toString().isEmpty() ? std::optional<QVariant>(QVariant()) : std::nullopt;
            return QVariant(d);
        }
        return coerce(QVariant(v.toString()), kind);
    default:
        return std::nullopt;
    }
}

Ledger::Ledger(sqlite3* db, QString file) : m_db(db), m_file(std::move(file)) {}

Ledger::~Ledger()
{
    endRead();
    for (sqlite3_stmt* st : std::as_const(m_statements))
        sqlite3_finalize(st);
    sqlite3_close_v2(m_db);
}

static sqlite3* openDatabase(const QString& file, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw LedgerError(LedgerError::Kind::BadFile,
                          QStringLiteral("Company data file %1 cannot be opened: %2").arg(file, msg));
    }
    // A small wait only: a ledger held by another program is reported, not waited for.
    sqlite3_busy_timeout(db, 250);
    sqlite3_extended_result_codes(db, 0);
    return db;
}

std::unique_ptr<Ledger> Ledger::create(const QString& file)
{
    if (QFileInfo::exists(file))
        throw LedgerError(LedgerError::Kind::Exists,
                          QStringLiteral("Company data file %1 already exists").arg(file));
    std::unique_ptr<Ledger> l(
        new Ledger(openDatabase(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), file));
    l->exec("PRAGMA journal_mode=WAL");
    l->migrate();
    return l;
}

std::unique_ptr<Ledger> Ledger::open(const QString& file)
{
    if (!QFileInfo::exists(file))
        throw LedgerError(LedgerError::Kind::FileNotFound,
                          QStringLiteral("Company data file %1 not found").arg(file));
    std::unique_ptr<Ledger> l(new Ledger(openDatabase(file, SQLITE_OPEN_READWRITE), file));
    l->migrate();
    return l;
}

void Ledger::fail(const QString& what)
{
    const int rc = sqlite3_errcode(m_db);
    const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw LedgerError(
            LedgerError::Kind::Locked,
            QStringLiteral("Company data file %1 is locked by another program (%2)").arg(m_file, what));
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
        throw LedgerError(LedgerError::Kind::BadFile,
                          QStringLiteral("Company data file %1 is damaged: %2").arg(m_file, msg));
    throw LedgerError(LedgerError::Kind::Other,
                      QStringLiteral("Company data file %1: %2 failed: %3").arg(m_file, what, msg));
}

void Ledger::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sql).left(40));
}

sqlite3_stmt* Ledger::statement(const QString& sql)
{
    if (sqlite3_stmt* st = m_statements.value(sql))
        return st;
    sqlite3_stmt* st = nullptr;
    const QByteArray b = sql.toUtf8();
    if (sqlite3_prepare_v3(m_db, b.constData(), int(b.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr) !=
        SQLITE_OK)
        fail(QStringLiteral("prepare"));
    m_statements.insert(sql, st);
    return st;
}

void Ledger::begin()
{
    endRead();
    exec("BEGIN IMMEDIATE");
}

// Lookups come in bursts (a Find per line of an import). Each statement on its
// own would open and close a read transaction, which costs more than the lookup;
// so reads share one snapshot, renewed when it is older than SnapshotMs and
// ended before any write. Another program's commit is seen within that time.
void Ledger::readSnapshot()
{
    if (m_readOpen) {
        if (m_readTimer.elapsed() < SnapshotMs)
            return;
        endRead();
    }
    if (!sqlite3_get_autocommit(m_db))
        return; // inside our own write transaction
    exec("BEGIN");
    m_readOpen = true;
    m_readTimer.start();
}

void Ledger::endRead()
{
    if (!m_readOpen)
        return;
    m_readOpen = false;
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

void Ledger::commit()
{
    exec("COMMIT");
}

void Ledger::rollback()
{
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Ledger::migrate()
{
    sqlite3_stmt* st = statement(QStringLiteral("PRAGMA user_version"));
    int version = 0;
    {
        Reset r{st};
        if (sqlite3_step(st) != SQLITE_ROW)
            fail(QStringLiteral("reading the schema version"));
        version = sqlite3_column_int(st, 0);
    }
    if (version > SchemaVersion)
        throw LedgerError(
            LedgerError::Kind::NewerSchema,
            QStringLiteral("Company data file %1 has schema version %2, newer than this engine knows (%3)")
                .arg(m_file)
                .arg(version)
                .arg(SchemaVersion));
    const QStringList steps = migrations();
    for (int v = version; v < SchemaVersion; ++v) {
        begin();
        try {
            exec(steps[v].toUtf8().constData());
            exec(QStringLiteral("PRAGMA user_version=%1").arg(v + 1).toUtf8().constData());
            commit();
        } catch (...) {
            rollback();
            throw;
        }
    }
}

bool Ledger::isValidUser(const QString& name, const QString& password)
{
    readSnapshot();
    sqlite3_stmt* st = statement(QStringLiteral("SELECT password FROM users WHERE name = ?"));
    Reset r{st};
    bindText(st, 1, name.trimmed());
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("reading users"));
    return columnText(st, 0) == password;
}

void Ledger::addUser(const QString& name, const QString& password)
{
    endRead();
    sqlite3_stmt* st = statement(QStringLiteral("INSERT OR REPLACE INTO users(name, password) VALUES(?, ?)"));
    Reset r{st};
    bindText(st, 1, name.trimmed());
    bindText(st, 2, password);
    if (sqlite3_step(st) != SQLITE_DONE)
        fail(QStringLiteral("adding user"));
}

void Ledger::setInfo(const QString& key, const QVariant& value)
{
    endRead();
    sqlite3_stmt* st =
        statement(QStringLiteral("INSERT OR REPLACE INTO company_info(key, value) VALUES(?, ?)"));
    Reset r{st};
    bindText(st, 1, key);
    bindText(st, 2, value.toString());
    if (sqlite3_step(st) != SQLITE_DONE)
        fail(QStringLiteral("writing company info"));
}

QVariant Ledger::info(const QString& key)
{
    readSnapshot();
    sqlite3_stmt* st = statement(QStringLiteral("SELECT value FROM company_info WHERE key = ?"));
    Reset r{st};
    bindText(st, 1, key);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        return columnText(st, 0);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("reading company info"));
    return {};
}

void Ledger::insertRecord(Table t, const std::vector<QVariant>& values)
{
    endRead();
    const TableInfo& info = tableInfo(t);
    const FieldSet& fs = info.fields();
    QStringList cols, marks;
    for (int i = 0; i < fs.size(); ++i) {
        cols << QStringLiteral("\"%1\"").arg(fs.at(i).name);
        marks << QStringLiteral("?");
    }
    sqlite3_stmt* st = statement(
        QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
            .arg(QLatin1String(info.name), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    Reset r{st};
    for (int i = 0; i < fs.size(); ++i)
        bindValue(st, i + 1, values[size_t(i)], fs.at(i).kind);
    if (sqlite3_step(st) != SQLITE_DONE) {
        if (sqlite3_errcode(m_db) == SQLITE_CONSTRAINT)
            throw LedgerError(LedgerError::Kind::BadSeed,
                              QStringLiteral("Company data file %1: duplicate %2 \"%3\" in %4")
                                  .arg(m_file, QLatin1String(info.key),
                                       values[size_t(fs.indexOf(QLatin1String(info.key)))].toString(),
                                       QLatin1String(info.name)));
        fail(QStringLiteral("inserting into %1").arg(QLatin1String(info.name)));
    }
}

bool Ledger::find(Table t, const QString& key, std::vector<QVariant>& out)
{
    readSnapshot();
    const TableInfo& info = tableInfo(t);
    const FieldSet& fs = info.fields();
    // The import looks up every line's customer and product: keep the statement at hand.
    sqlite3_stmt*& st = m_findStatements[size_t(t)];
    if (!st)
        st = t == Table::Prices
                 ? statement(QStringLiteral(
                       "SELECT * FROM prices WHERE \"ACCOUNT_REF\" = ? AND \"STOCK_CODE\" = ?"))
                 : statement(QStringLiteral("SELECT * FROM %1 WHERE \"%2\" = ? ORDER BY id LIMIT 1")
                                 .arg(QLatin1String(info.name), QLatin1String(info.key)));
    Reset r{st};
    if (t == Table::Prices) {
        bindText(st, 1, key.section(QLatin1Char('\n'), 0, 0));
        bindText(st, 2, key.section(QLatin1Char('\n'), 1));
    } else {
        bindText(st, 1, key);
    }
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("finding in %1").arg(QLatin1String(info.name)));
    out.resize(size_t(fs.size()));
    for (int i = 0; i < fs.size(); ++i)
        out[size_t(i)] = columnValue(st, i + 1, fs.at(i));
    return true;
}

bool Ledger::next(Table t, int64_t& rowId, std::vector<QVariant>& out)
{
    readSnapshot();
    const TableInfo& info = tableInfo(t);
    const FieldSet& fs = info.fields();
    sqlite3_stmt* st = statement(
        QStringLiteral("SELECT * FROM %1 WHERE id > ? ORDER BY id LIMIT 1").arg(QLatin1String(info.name)));
    Reset r{st};
    sqlite3_bind_int64(st, 1, rowId);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("reading %1").arg(QLatin1String(info.name)));
    rowId = sqlite3_column_int64(st, 0);
    out.resize(size_t(fs.size()));
    for (int i = 0; i < fs.size(); ++i)
        out[size_t(i)] = columnValue(st, i + 1, fs.at(i));
    return true;
}

static std::vector<QVariant> keyValueRead(Ledger& l, sqlite3_stmt* st, const FieldSet& fs,
                                          const std::function<void()>& onError)
{
    std::vector<QVariant> out = fs.initialValues();
    Reset r{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const int i = fs.indexOf(columnText(st, 0));
        if (i >= 0)
            out[size_t(i)] = storedValue(st, 1, fs.at(i));
    }
    if (rc != SQLITE_DONE)
        onError();
    (void)l;
    return out;
}

std::vector<QVariant> Ledger::setupValues()
{
    readSnapshot();
    return keyValueRead(*this, statement(QStringLiteral("SELECT field, value FROM setup_data")),
                        fields::setup(), [this] { fail(QStringLiteral("reading setup data")); });
}

std::vector<QVariant> Ledger::controlValues()
{
    readSnapshot();
    return keyValueRead(*this, statement(QStringLiteral("SELECT field, value FROM control_data")),
                        fields::control(), [this] { fail(QStringLiteral("reading control data")); });
}

static QString storedText(const QVariant& v, FieldKind kind)
{
    if (kind == FieldKind::Date)
        return v.toDate().toString(Qt::ISODate);
    if (kind == FieldKind::Double)
        return QString::number(v.toDouble(), 'g', 17);
    if (kind == FieldKind::Bool)
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

void Ledger::setSetupValue(const QString& field, const QVariant& value)
{
    endRead();
    const FieldSet& fs = fields::setup();
    const int i = fs.indexOf(field);
    sqlite3_stmt* st =
        statement(QStringLiteral("INSERT OR REPLACE INTO setup_data(field, value) VALUES(?, ?)"));
    Reset r{st};
    bindText(st, 1, fs.at(i).name);
    bindText(st, 2, storedText(value, fs.at(i).kind));
    if (sqlite3_step(st) != SQLITE_DONE)
        fail(QStringLiteral("writing setup data"));
}

void Ledger::setControlValue(const QString& field, const QVariant& value)
{
    endRead();
    const FieldSet& fs = fields::control();
    const int i = fs.indexOf(field);
    sqlite3_stmt* st =
        statement(QStringLiteral("INSERT OR REPLACE INTO control_data(field, value) VALUES(?, ?)"));
    Reset r{st};
    bindText(st, 1, fs.at(i).name);
    bindText(st, 2, storedText(value, fs.at(i).kind));
    if (sqlite3_step(st) != SQLITE_DONE)
        fail(QStringLiteral("writing control data"));
}

bool Ledger::taxCodeKnown(int code)
{
    readSnapshot();
    if (code < 0 || code > 99)
        return false;
    sqlite3_stmt* st = statement(QStringLiteral("SELECT 1 FROM control_data WHERE field = ?"));
    Reset r{st};
    bindText(st, 1, QStringLiteral("T%1_RATE").arg(code));
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(QStringLiteral("reading tax rates"));
    return rc == SQLITE_ROW;
}

bool Ledger::readCurrency(int number, std::vector<QVariant>& out)
{
    readSnapshot();
    const FieldSet& fs = fields::currency();
    sqlite3_stmt* st = statement(QStringLiteral("SELECT * FROM currencies WHERE number = ?"));
    Reset r{st};
    sqlite3_bind_int(st, 1, number);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("reading currencies"));
    out.resize(size_t(fs.size()));
    out[0] = number;
    for (int i = 1; i < fs.size(); ++i)
        out[size_t(i)] = columnValue(st, i, fs.at(i));
    return true;
}

void Ledger::insertCurrency(int number, const std::vector<QVariant>& values)
{
    endRead();
    const FieldSet& fs = fields::currency();
    QStringList cols, marks;
    for (int i = 1; i < fs.size(); ++i) {
        cols << QStringLiteral("\"%1\"").arg(fs.at(i).name);
        marks << QStringLiteral("?");
    }
    sqlite3_stmt* st = statement(QStringLiteral("INSERT INTO currencies(number,%1) VALUES(?,%2)")
                                     .arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    Reset r{st};
    sqlite3_bind_int(st, 1, number);
    for (int i = 1; i < fs.size(); ++i)
        bindValue(st, i + 1, values[size_t(i)], fs.at(i).kind);
    if (sqlite3_step(st) != SQLITE_DONE)
        fail(QStringLiteral("inserting currency"));
}

double Ledger::customerUnitPrice(const QString& account, const QString& stockCode)
{
    std::vector<QVariant> row;
    if (find(Table::Prices, account + QLatin1Char('\n') + stockCode, row))
        return row[size_t(fields::price().indexOf(QStringLiteral("PRICE")))].toDouble();
    if (find(Table::Products, stockCode, row))
        return row[size_t(fields::product().indexOf(QStringLiteral("SALES_PRICE")))].toDouble();
    return 0.0;
}

int Ledger::nextNumber(Sequence s)
{
    readSnapshot();
    sqlite3_stmt* st =
        statement(QStringLiteral("SELECT COALESCE(MAX(number), 0) + 1 FROM documents WHERE sequence = ?"));
    Reset r{st};
    bindText(st, 1, QLatin1String(sequenceName(s)));
    if (sqlite3_step(st) != SQLITE_ROW)
        fail(QStringLiteral("reading document numbers"));
    return sqlite3_column_int(st, 0);
}

bool Ledger::findDocument(Sequence s, int number, std::vector<QVariant>& header)
{
    readSnapshot();
    sqlite3_stmt* st =
        statement(QStringLiteral("SELECT header FROM documents WHERE sequence = ? AND number = ?"));
    Reset r{st};
    bindText(st, 1, QLatin1String(sequenceName(s)));
    sqlite3_bind_int(st, 2, number);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("finding a document"));
    const FieldSet& fs = s == Sequence::Invoice ? fields::invoiceHeader() : fields::orderHeader();
    header = fromJsonObject(QJsonDocument::fromJson(columnText(st, 0).toUtf8()).object(), fs);
    return true;
}

bool Ledger::nextDocument(Sequence s, int64_t& id, std::vector<QVariant>& header)
{
    readSnapshot();
    sqlite3_stmt* st = statement(
        QStringLiteral("SELECT id, header FROM documents WHERE sequence = ? AND id > ? ORDER BY id LIMIT 1"));
    Reset r{st};
    bindText(st, 1, QLatin1String(sequenceName(s)));
    sqlite3_bind_int64(st, 2, id);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(QStringLiteral("reading documents"));
    id = sqlite3_column_int64(st, 0);
    const FieldSet& fs = s == Sequence::Invoice ? fields::invoiceHeader() : fields::orderHeader();
    header = fromJsonObject(QJsonDocument::fromJson(columnText(st, 1).toUtf8()).object(), fs);
    return true;
}

static bool isSpecialCode(const QString& code)
{
    return code == QLatin1String("M") || code == QLatin1String("S1") || code == QLatin1String("S2") ||
           code == QLatin1String("S3");
}

static std::optional<double> amountOf(const QVariant& v)
{
    if (!v.isValid() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()))
        return std::nullopt;
    return v.toDouble();
}

QString Ledger::refusalReason(const Document& doc, int& number)
{
    if (faults::isSet("refuse_commit"))
        return QStringLiteral("commit refused by fault injection");
    const FieldSet& hf = doc.headerFields();
    const auto assigned = [&](const char* name) {
        const int i = hf.indexOf(QLatin1String(name));
        return i >= 0 && doc.headerAssigned.size() > size_t(i) && doc.headerAssigned[size_t(i)];
    };
    std::vector<QVariant> row;
    const QString account = doc.headerValue("ACCOUNT_REF").toString();
    if (!find(Table::Customers, account, row))
        return QStringLiteral("unknown customer \"%1\"").arg(account);
    if (doc.sequence == Sequence::Invoice && doc.type != TypeInvoice && doc.type != TypeCredit)
        return QStringLiteral("unknown document type %1").arg(doc.type);
    if (doc.items.empty())
        return QStringLiteral("document without items");

    const FieldSet& itf = fields::item();
    const int stockIx = itf.indexOf(QStringLiteral("STOCK_CODE"));
    const int taxIx = itf.indexOf(QStringLiteral("TAX_CODE"));
    for (size_t n = 0; n < doc.items.size(); ++n) {
        const QString code = doc.items[n].fields[size_t(stockIx)].toString().trimmed();
        if (!code.isEmpty() && !isSpecialCode(code) && !find(Table::Products, code, row))
            return QStringLiteral("unknown product \"%1\" on item %2").arg(code).arg(n + 1);
        const int tax = doc.items[n].fields[size_t(taxIx)].toInt();
        if (!taxCodeKnown(tax))
            return QStringLiteral("unknown tax code T%1 on item %2").arg(tax).arg(n + 1);
    }
    for (const char* f : {"GLOBAL_TAX_CODE", "CARR_TAX_CODE"}) {
        const int tax = doc.headerValue(f).toInt();
        if (assigned(f) && !taxCodeKnown(tax))
            return QStringLiteral("unknown tax code T%1 in %2").arg(tax).arg(QLatin1String(f));
    }

    const auto paid = amountOf(doc.headerValue("AMOUNT_PREPAID"));
    if (paid && *paid > 0.0) {
        const double total =
            doc.headerValue("ITEMS_NET").toDouble() + doc.headerValue("ITEMS_TAX").toDouble();
        if (*paid > total + 0.005)
            return QStringLiteral("payment %1 is larger than the document total %2").arg(*paid).arg(total);
        const QString bank = doc.headerValue("BANK_CODE").toString().trimmed();
        if (bank.isEmpty())
            return QStringLiteral("payment without a bank account");
        if (!find(Table::Banks, bank, row))
            return QStringLiteral("unknown bank account \"%1\"").arg(bank);
        const int bankCurrency = row[size_t(fields::bank().indexOf(QStringLiteral("CURRENCY")))].toInt();
        const int docCurrency = doc.headerValue("CURRENCY").toInt();
        if (bankCurrency != docCurrency)
            return QStringLiteral("bank account \"%1\" is in currency %2, the document in currency %3")
                .arg(bank)
                .arg(bankCurrency)
                .arg(docCurrency);
    }

    const char* numberField = doc.sequence == Sequence::Invoice ? "INVOICE_NUMBER" : "ORDER_NUMBER";
    number = doc.headerValue(numberField).toInt();
    if (number == 0) {
        number = nextNumber(doc.sequence);
    } else {
        std::vector<QVariant> h;
        if (findDocument(doc.sequence, number, h))
            return QStringLiteral("document number %1 is already used").arg(number);
    }
    return {};
}

PostResult Ledger::post(const Document& doc)
{
    PostResult result;
    begin();
    try {
        int number = 0;
        result.reason = refusalReason(doc, number);
        if (!result.reason.isEmpty()) {
            rollback();
            return result;
        }
        const FieldSet& hf = doc.headerFields();
        std::vector<QVariant> header = doc.header;
        const char* numberField = doc.sequence == Sequence::Invoice ? "INVOICE_NUMBER" : "ORDER_NUMBER";
        header[size_t(hf.indexOf(QLatin1String(numberField)))] = number;
        const QByteArray headerJson = QJsonDocument(toJsonObject(header, hf)).toJson(QJsonDocument::Compact);

        sqlite3_stmt* st = statement(QStringLiteral(
            "INSERT INTO documents(sequence, number, type, account_ref, header) VALUES(?, ?, ?, ?, ?)"));
        {
            Reset r{st};
            bindText(st, 1, QLatin1String(sequenceName(doc.sequence)));
            sqlite3_bind_int(st, 2, number);
            sqlite3_bind_int(st, 3, doc.type);
            bindText(st, 4, doc.headerValue("ACCOUNT_REF").toString());
            sqlite3_bind_text(st, 5, headerJson.constData(), int(headerJson.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) != SQLITE_DONE)
                fail(QStringLiteral("writing a document"));
        }
        const int64_t id = sqlite3_last_insert_rowid(m_db);
        faults::hookPoint("header");
        sqlite3_stmt* it = statement(QStringLiteral(
            "INSERT INTO document_items(document_id, line_no, fields, text) VALUES(?, ?, ?, ?)"));
        for (size_t n = 0; n < doc.items.size(); ++n) {
            Reset r{it};
            const QByteArray json = QJsonDocument(toJsonObject(doc.items[n].fields, fields::item()))
                                        .toJson(QJsonDocument::Compact);
            sqlite3_bind_int64(it, 1, id);
            sqlite3_bind_int(it, 2, int(n + 1));
            sqlite3_bind_text(it, 3, json.constData(), int(json.size()), SQLITE_TRANSIENT);
            bindText(it, 4, doc.items[n].text);
            if (sqlite3_step(it) != SQLITE_DONE)
                fail(QStringLiteral("writing a document item"));
            if (n == 0)
                faults::hookPoint("item");
        }
        faults::hookPoint("commit");
        commit();
        faults::hookPoint("committed"); // durable, not yet told to the caller
        result.posted = true;
        result.number = number;
        return result;
    } catch (...) {
        rollback();
        throw;
    }
}

QJsonArray Ledger::listDocuments()
{
    readSnapshot();
    QJsonArray out;
    sqlite3_stmt* st =
        statement(QStringLiteral("SELECT id, sequence, type, header FROM documents ORDER BY id"));
    sqlite3_stmt* it = statement(
        QStringLiteral("SELECT fields, text FROM document_items WHERE document_id = ? ORDER BY line_no"));
    Reset r{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QJsonObject doc = QJsonDocument::fromJson(columnText(st, 3).toUtf8()).object();
        const bool invoice = columnText(st, 1) == QLatin1String("invoice");
        doc.insert(QStringLiteral("TYPE"),
                   invoice ? sqlite3_column_int(st, 2) : QJsonValue(QJsonValue::Null));
        doc.insert(QStringLiteral("DOCUMENT_KIND"), !invoice ? QStringLiteral("order")
                                                    : sqlite3_column_int(st, 2) == TypeCredit
                                                        ? QStringLiteral("credit")
                                                        : QStringLiteral("invoice"));
        QJsonArray items;
        Reset ri{it};
        sqlite3_bind_int64(it, 1, sqlite3_column_int64(st, 0));
        int irc;
        while ((irc = sqlite3_step(it)) == SQLITE_ROW) {
            QJsonObject item = QJsonDocument::fromJson(columnText(it, 0).toUtf8()).object();
            item.insert(QStringLiteral("SERVICE_TEXT"), columnText(it, 1));
            items.append(item);
        }
        if (irc != SQLITE_DONE)
            fail(QStringLiteral("reading document items"));
        doc.insert(QStringLiteral("items"), items);
        out.append(doc);
    }
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("reading documents"));
    return out;
}

} // namespace company
