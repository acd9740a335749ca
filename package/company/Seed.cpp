#include "package/company/Seed.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/LedgerError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace company {

namespace {

[[noreturn]] void bad(const QString& seedName, const QString& what)
{
    throw LedgerError(LedgerError::Kind::BadSeed, QStringLiteral("Seed %1: %2").arg(seedName, what));
}

std::vector<QVariant> valuesOf(const QJsonObject& o, const FieldSet& fs, const QString& seedName,
                               const QString& where, std::vector<bool>* assigned = nullptr,
                               const QStringList& extraKeys = {})
{
    std::vector<QVariant> values = fs.initialValues();
    if (assigned)
        assigned->assign(size_t(fs.size()), false);
    std::vector<bool> given(size_t(fs.size()), false);
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (extraKeys.contains(it.key(), Qt::CaseInsensitive))
            continue;
        const int i = fs.indexOf(it.key());
        if (i < 0)
            bad(seedName, QStringLiteral("unknown field \"%1\" in %2").arg(it.key(), where));
        const auto v = fromJson(it.value(), fs.at(i).kind);
        if (!v)
            bad(seedName,
                QStringLiteral("field \"%1\" in %2 has a value of the wrong kind").arg(it.key(), where));
        if (given[size_t(i)])
            bad(seedName, QStringLiteral("field \"%1\" given twice in %2").arg(fs.at(i).name, where));
        given[size_t(i)] = true;
        values[size_t(i)] = *v;
        if (assigned)
            (*assigned)[size_t(i)] = true;
    }
    return values;
}

QJsonArray arrayOf(const QJsonObject& seed, const char* key, const QString& seedName)
{
    const QJsonValue v = seed.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return {};
    if (!v.isArray())
        bad(seedName, QStringLiteral("\"%1\" must be an array").arg(QLatin1String(key)));
    return v.toArray();
}

QJsonObject objectAt(const QJsonArray& a, int i, const char* key, const QString& seedName)
{
    if (!a.at(i).isObject())
        bad(seedName, QStringLiteral("%1[%2] must be an object").arg(QLatin1String(key)).arg(i));
    return a.at(i).toObject();
}

void fill(Ledger& l, const QJsonObject& seed, const QString& seedName)
{
    static const QStringList known = {"version", "name",       "program_type", "users",    "setup",
                                      "control", "currencies", "customers",    "products", "nominals",
                                      "banks",   "prices",     "invoices",     "orders"};
    for (auto it = seed.begin(); it != seed.end(); ++it)
        if (!known.contains(it.key()))
            bad(seedName, QStringLiteral("unknown key \"%1\"").arg(it.key()));

    const int programType = seed.value(QStringLiteral("program_type")).toInt(2);
    if (programType != 1 && programType != 2 && programType != 4)
        bad(seedName, QStringLiteral("\"program_type\" must be 1, 2 or 4"));
    l.setInfo(QStringLiteral("program_type"), programType);
    l.setInfo(QStringLiteral("name"), seed.value(QStringLiteral("name")).toString());
    l.setInfo(QStringLiteral("version"), seed.value(QStringLiteral("version")).toString());

    const QJsonArray users = arrayOf(seed, "users", seedName);
    for (int i = 0; i < users.size(); ++i) {
        const QJsonObject u = objectAt(users, i, "users", seedName);
        for (auto it = u.begin(); it != u.end(); ++it)
            if (it.key() != QLatin1String("name") && it.key() != QLatin1String("password"))
                bad(seedName, QStringLiteral("unknown field \"%1\" in users[%2]").arg(it.key()).arg(i));
        const QString name = u.value(QStringLiteral("name")).toString();
        if (name.trimmed().isEmpty())
            bad(seedName, QStringLiteral("users[%1] has no name").arg(i));
        l.addUser(name, u.value(QStringLiteral("password")).toString());
    }

    for (const auto& [key, fs, isSetup] :
         {std::tuple{"setup", &fields::setup(), true}, std::tuple{"control", &fields::control(), false}}) {
        const QJsonValue v = seed.value(QLatin1String(key));
        if (v.isUndefined())
            continue;
        if (!v.isObject())
            bad(seedName, QStringLiteral("\"%1\" must be an object").arg(QLatin1String(key)));
        const QJsonObject o = v.toObject();
        const auto values = valuesOf(o, *fs, seedName, QLatin1String(key));
        for (auto it = o.begin(); it != o.end(); ++it) {
            const int i = fs->indexOf(it.key());
            if (isSetup)
                l.setSetupValue(it.key(), values[size_t(i)]);
            else
                l.setControlValue(it.key(), values[size_t(i)]);
        }
    }

    const QJsonArray currencies = arrayOf(seed, "currencies", seedName);
    for (int i = 0; i < currencies.size(); ++i) {
        const QString where = QStringLiteral("currencies[%1]").arg(i);
        auto values =
            valuesOf(objectAt(currencies, i, "currencies", seedName), fields::currency(), seedName, where);
        l.insertCurrency(i, values);
    }

    const std::tuple<const char*, Table> tables[] = {{"customers", Table::Customers},
                                                     {"products", Table::Products},
                                                     {"nominals", Table::Nominals},
                                                     {"banks", Table::Banks},
                                                     {"prices", Table::Prices}};
    for (const auto& [key, table] : tables) {
        const QJsonArray a = arrayOf(seed, key, seedName);
        const FieldSet& fs = fieldsOf(table);
        for (int i = 0; i < a.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(QLatin1String(key)).arg(i);
            const auto values = valuesOf(objectAt(a, i, key, seedName), fs, seedName, where);
            const QString keyField =
                table == Table::Products ? QStringLiteral("STOCK_CODE") : QStringLiteral("ACCOUNT_REF");
            if (values[size_t(fs.indexOf(keyField))].toString().trimmed().isEmpty())
                bad(seedName, QStringLiteral("%1 has no %2").arg(where, keyField));
            try {
                l.insertRecord(table, values);
            } catch (const LedgerError& e) {
                bad(seedName, QStringLiteral("%1: %2").arg(where, e.message()));
            }
        }
    }
}

void postDocuments(Ledger& l, const QJsonObject& seed, const QString& seedName)
{
    for (const auto& [key, sequence] :
         {std::pair{"invoices", Sequence::Invoice}, std::pair{"orders", Sequence::Order}}) {
        const QJsonArray a = arrayOf(seed, key, seedName);
        for (int i = 0; i < a.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(QLatin1String(key)).arg(i);
            const QJsonObject o = objectAt(a, i, key, seedName);
            Document doc;
            doc.sequence = sequence;
            doc.header = valuesOf(o, doc.headerFields(), seedName, where, &doc.headerAssigned,
                                  {QStringLiteral("items")});
            doc.type = sequence == Sequence::Order                         ? 0
                       : doc.headerValue("INVOICE_TYPE_CODE").toInt() == 3 ? TypeCredit
                                                                           : TypeInvoice;
            const QJsonArray items = o.value(QStringLiteral("items")).toArray();
            for (int n = 0; n < items.size(); ++n) {
                const QString iw = QStringLiteral("%1.items[%2]").arg(where).arg(n);
                if (!items.at(n).isObject())
                    bad(seedName, QStringLiteral("%1 must be an object").arg(iw));
                doc.items.push_back(
                    {valuesOf(items.at(n).toObject(), fields::item(), seedName, iw), QString()});
            }
            const PostResult r = l.post(doc);
            if (!r.posted)
                bad(seedName, QStringLiteral("%1 refused: %2").arg(where, r.reason));
        }
    }
}

} // namespace

void createCompany(const QJsonObject& seed, const QString& companyFolder, const QString& seedName)
{
    const QString version = seed.value(QStringLiteral("version")).toString();
    const QStringList parts = version.split(QLatin1Char('.'));
    bool okMajor = false, okMinor = true;
    const int major = parts.value(0).toInt(&okMajor);
    const int minor = parts.size() > 1 ? parts.value(1).toInt(&okMinor) : 0;
    if (!okMajor || !okMinor || major < 0 || major > 255 || minor < 0 || minor > 255)
        bad(seedName, QStringLiteral("\"version\" must be a data version such as \"23.0\""));
    if (!seed.value(QStringLiteral("name")).isString())
        bad(seedName, QStringLiteral("\"name\" must be the company name"));

    const QString target = QDir(companyFolder).absoluteFilePath(QStringLiteral("ACCDATA"));
    if (QFileInfo::exists(folder::accdataOf(companyFolder)))
        throw LedgerError(LedgerError::Kind::Exists,
                          QStringLiteral("Company folder %1 already holds company data").arg(companyFolder));
    QDir().mkpath(companyFolder);
    const QString temp = target + QStringLiteral(".new");
    QDir(temp).removeRecursively();
    if (!QDir().mkpath(temp))
        throw LedgerError(LedgerError::Kind::Other, QStringLiteral("Cannot create %1").arg(temp));
    try {
        {
            auto l = Ledger::create(temp + QStringLiteral("/ledger.sqlite"));
            l->begin();
            try {
                fill(*l, seed, seedName);
                l->commit();
            } catch (...) {
                l->rollback();
                throw;
            }
            postDocuments(*l, seed, seedName);
        }
        folder::writeSetupFile(temp, major, minor, seed.value(QStringLiteral("name")).toString());
        if (!QDir().rename(temp, target))
            throw LedgerError(LedgerError::Kind::Other,
                              QStringLiteral("Cannot move %1 to %2").arg(temp, target));
    } catch (...) {
        QDir(temp).removeRecursively();
        throw;
    }
}

void createCompanyFromFile(const QString& seedFile, const QString& companyFolder)
{
    QFile f(seedFile);
    if (!f.open(QIODevice::ReadOnly))
        throw LedgerError(LedgerError::Kind::FileNotFound,
                          QStringLiteral("Seed %1 cannot be read").arg(seedFile));
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        throw LedgerError(LedgerError::Kind::BadSeed,
                          QStringLiteral("Seed %1: not a JSON object (%2 at offset %3)")
                              .arg(seedFile, err.errorString())
                              .arg(err.offset));
    createCompany(doc.object(), companyFolder, seedFile);
}

} // namespace company
