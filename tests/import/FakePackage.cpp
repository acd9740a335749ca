#include "tests/import/FakePackage.h"

#include "platform/basic/RuntimeError.h"

using automation::Args;
using basic::Variant;

FakeObject::FakeObject(QString className, QStringList* log) : m_className(std::move(className)), m_log(log) {}

FakeObject& FakeObject::on(const QString& member, Handler handler)
{
    const automation::DispId id = automation::DispId(m_ids.size() + 1);
    m_ids.insert(member.toCaseFolded(), id);
    m_handlers.insert(id, std::move(handler));
    return *this;
}

FakeObject& FakeObject::field(const QString& name, Variant value)
{
    m_fields.insert(name.toCaseFolded(), std::move(value));
    return *this;
}

automation::DispId FakeObject::idOfName(const QString& name) const
{
    const auto it = m_ids.constFind(name.toCaseFolded());
    if (it == m_ids.constEnd())
        throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember, QStringLiteral("no member ") + name);
    return *it;
}

Variant FakeObject::invoke(automation::DispId id, automation::Invoke, Args& args, const Variant&)
{
    if (id == automation::DispIdValue) {
        if (args.empty() || !args[0].isString())
            throw basic::RuntimeError(basic::err::TypeMismatch);
        const auto it = m_fields.constFind(args[0].stringValue().toCaseFolded());
        if (it == m_fields.constEnd())
            throw basic::RuntimeError(basic::err::InvalidProcedureCall, QStringLiteral("unknown field"));
        return *it;
    }
    const auto handler = m_handlers.value(id);
    if (!handler)
        throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember);
    return handler(args);
}

std::shared_ptr<FakeObject> FakePackage::makeEngine(const QString& classId)
{
    enginesMade << classId;
    auto engine = std::make_shared<FakeObject>(QStringLiteral("Engine"), &log);
    auto workspaces = std::make_shared<FakeObject>(QStringLiteral("Workspaces"), &log);
    engine->on(QStringLiteral("Workspaces"),
               [workspaces](Args&) { return Variant(basic::ObjectRef(workspaces)); });
    workspaces->on(QStringLiteral("Add"), [this](Args&) {
        log << QStringLiteral("Workspaces.Add");
        auto ws = std::make_shared<FakeObject>(QStringLiteral("Workspace"), &log);
        ws->on(QStringLiteral("Connect"), [this](Args& a) {
            log << QStringLiteral("Connect ") + a.at(0).stringValue();
            switch (connectResult) {
            case ConnectResult::True:
                connected = true;
                return Variant(true);
            case ConnectResult::False:
                return Variant(false);
            case ConnectResult::Raise:
                break;
            }
            throw basic::RuntimeError(basic::err::Fail, QStringLiteral("Invalid user name or password"));
        });
        ws->on(QStringLiteral("Disconnect"), [this](Args&) {
            log << QStringLiteral("Disconnect");
            connected = false;
            return Variant();
        });
        ws->on(QStringLiteral("ProgramType"), [this](Args&) {
            if (programTypeRaises)
                throw basic::RuntimeError(basic::err::Fail, QStringLiteral("Engine failure"));
            return Variant(int16_t(programType));
        });
        ws->on(QStringLiteral("CreateObject"), [this](Args& a) {
            const QString name = a.at(0).stringValue();
            log << QStringLiteral("CreateObject ") + name;
            if (failCreateObject)
                throw basic::RuntimeError(basic::err::Fail, QStringLiteral("Engine failure"));
            auto obj = std::make_shared<FakeObject>(name, &log);
            obj->on(QStringLiteral("Read"), [this, name](Args&) {
                log << name + QStringLiteral(".Read");
                return Variant(true);
            });
            obj->on(QStringLiteral("Close"), [this, name](Args&) {
                log << name + QStringLiteral(".Close");
                return Variant();
            });
            obj->field(QStringLiteral("STOCK_UNITDP"), Variant(int16_t(2)));
            obj->field(QStringLiteral("STOCK_QTYDP"), Variant(int16_t(3)));
            return Variant(basic::ObjectRef(obj));
        });
        return Variant(basic::ObjectRef(ws));
    });
    return engine;
}
