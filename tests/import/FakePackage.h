#pragma once

#include "platform/automation/Object.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A small in-test engine: an object answers the members it was given handlers
// for, by name without regard to case, and logs each call.
class FakeObject : public automation::Object
{
public:
    using Handler = std::function<basic::Variant(automation::Args&)>;

    explicit FakeObject(QString className, QStringList* log = nullptr);
    FakeObject& on(const QString& member, Handler handler);
    // Fields read through the default member: obj("NAME").
    FakeObject& field(const QString& name, basic::Variant value);

    QString className() const override { return m_className; }
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value) override;

private:
    QString m_className;
    QStringList* m_log;
    QHash<QString, automation::DispId> m_ids;
    QHash<automation::DispId, Handler> m_handlers;
    QHash<QString, basic::Variant> m_fields;
};

// Engine, workspace and the record objects stage one creates.
struct FakePackage
{
    enum class ConnectResult
    {
        True,
        False,
        Raise
    };

    ConnectResult connectResult = ConnectResult::True;
    bool programTypeRaises = false;
    int programType = 2;
    bool failCreateObject = false;

    QStringList log;         // "Connect", "Disconnect", "CreateObject SalesRecord", ...
    QStringList enginesMade; // class ids asked for
    bool connected = false;  // the fake company is connected now

    std::shared_ptr<FakeObject> makeEngine(const QString& classId);
    int count(const QString& entry) const { return int(log.count(entry)); }
};
