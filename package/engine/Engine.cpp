#include "package/engine/Engine.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Faults.h"
#include "package/engine/EngineClasses.h"
#include "package/engine/Posting.h"
#include "package/engine/Records.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace vdo {

Engine::Engine(QString versionCode)
    : m_version(std::move(versionCode)), m_workspaces(std::make_shared<Workspaces>())
{
}

const MemberTable<Engine>& Engine::table()
{
    static const auto t =
        MemberTable<Engine>()
            .property(1, "Workspaces", [](Engine& e, Args&) { return Variant(e.m_workspaces); })
            .property(2, "Version", [](Engine& e, Args&) { return Variant(e.m_version); });
    return t;
}

const MemberTable<Workspaces>& Workspaces::table()
{
    static const auto t =
        MemberTable<Workspaces>()
            .method(0, "Item",
                    [](Workspaces& w, Args& a) {
                        const int n = basic::CLng(argAt(a, 0));
                        if (n < 0 || n >= int(w.m_items.size()))
                            raise(basic::err::SubscriptOutOfRange,
                                  basic::errorDescription(basic::err::SubscriptOutOfRange));
                        return Variant(w.m_items[size_t(n)]);
                    })
            .method(1, "Add",
                    [](Workspaces& w, Args& a) {
                        const QString name = hasArg(a, 0) ? basic::CStr(a[0]) : QString();
                        w.m_items.push_back(std::make_shared<Workspace>(name));
                        return Variant(w.m_items.back());
                    })
            .property(2, "Count", [](Workspaces& w, Args&) { return Variant(int32_t(w.m_items.size())); });
    return t;
}

Workspace::~Workspace() = default;

const MemberTable<Workspace>& Workspace::table()
{
    static const auto t =
        MemberTable<Workspace>()
            .method(1, "Connect", [](Workspace& w, Args& a) { return Variant(w.connect(a, true)); })
            .method(2, "IsValidUser", [](Workspace& w, Args& a) { return Variant(w.connect(a, false)); })
            .method(3, "Disconnect",
                    [](Workspace& w, Args&) {
                        w.disconnect();
                        return Variant();
                    })
            .property(4, "ProgramType",
                      [](Workspace& w, Args&) { return Variant(int32_t(w.m_connection->programType)); })
            .method(5, "CreateObject",
                    [](Workspace& w, Args& a) {
                        company::faults::refresh();
                        return Variant(w.createObject(basic::CStr(argAt(a, 0))));
                    })
            .property(6, "Name", [](Workspace& w, Args&) { return Variant(w.m_name); })
            .property(7, "Connected",
                      [](Workspace& w, Args&) { return Variant(bool(w.m_connection->ledger)); });
    return t;
}

bool Workspace::connect(const Args& a, bool keep)
{
    const QString folder = basic::CStr(argAt(a, 0)).trimmed();
    const QString user = basic::CStr(argAt(a, 1));
    const QString password = basic::CStr(argAt(a, 2));
    company::faults::refresh();
    if (keep) {
        if (company::faults::isSet("connect_false"))
            return false;
        if (const auto n = company::faults::valueOf("connect_raise")) {
            bool ok = false;
            const int number = n->toInt(&ok);
            raise(ok ? number : basic::err::Fail, QStringLiteral("Connect failed (fault injected)"));
        }
    }
    try {
        const QString accdata = company::folder::resolvePath(folder);
        company::folder::readSetupFile(accdata);
        auto ledger = company::Ledger::open(company::folder::ledgerFileOf(accdata));
        if (!ledger->isValidUser(user, password))
            return false;
        if (!keep)
            return true;
        disconnect();
        m_connection->programType = ledger->info(QStringLiteral("program_type")).toInt();
        m_connection->ledger = std::move(ledger);
        return true;
    } catch (const company::LedgerError& e) {
        raiseLedger(e);
    }
}

void Workspace::disconnect()
{
    // Objects made under the old connection keep theirs and now raise "not connected".
    m_connection->ledger.reset();
    m_connection = std::make_shared<Connection>();
}

automation::ObjectRef Workspace::createObject(const QString& name)
{
    m_connection->require();
    const QString n = name.trimmed().toUpper();
    using company::Table;
    const std::pair<const char*, Table> records[] = {
        {"SALESRECORD", Table::Customers},  {"STOCKRECORD", Table::Products},
        {"NOMINALRECORD", Table::Nominals}, {"BANKRECORD", Table::Banks},
        {"PRICERECORD", Table::Prices},     {"SALESDELIVERYRECORD", Table::Deliveries}};
    for (const auto& [rn, table] : records)
        if (n == QLatin1String(rn))
            return std::make_shared<Record>(m_connection, table, name);
    if (n == QLatin1String("INVOICERECORD"))
        return std::make_shared<DocumentRecord>(m_connection, company::Sequence::Invoice);
    if (n == QLatin1String("SOPRECORD"))
        return std::make_shared<DocumentRecord>(m_connection, company::Sequence::Order);
    if (n == QLatin1String("SETUPDATA"))
        return std::make_shared<DataObject>(m_connection, DataObject::Kind::Setup);
    if (n == QLatin1String("CONTROLDATA"))
        return std::make_shared<DataObject>(m_connection, DataObject::Kind::Control);
    if (n == QLatin1String("CURRENCYDATA"))
        return std::make_shared<DataObject>(m_connection, DataObject::Kind::Currency);
    if (n == QLatin1String("INVOICEPOST"))
        return std::make_shared<Posting>(m_connection, company::Sequence::Invoice);
    if (n == QLatin1String("SOPPOST"))
        return std::make_shared<Posting>(m_connection, company::Sequence::Order);
    if (n == QLatin1String("PRICING"))
        return std::make_shared<Pricing>(m_connection);
    raise(errors::UnknownObject, QStringLiteral("Unknown object name '%1'").arg(name));
}

} // namespace vdo
