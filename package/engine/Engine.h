#pragma once

#include "package/engine/EngineSupport.h"

namespace vdo {

// The engine object of one package version: its Workspaces collection.
class Engine : public automation::Object
{
    VDO_OBJECT(Engine)
public:
    explicit Engine(QString versionCode);

private:
    QString m_version;
    automation::ObjectRef m_workspaces;
};

class Workspaces : public automation::Object
{
    VDO_OBJECT(Workspaces)
private:
    std::vector<automation::ObjectRef> m_items;
};

// A workspace: Connect / IsValidUser / Disconnect, ProgramType, CreateObject.
class Workspace : public automation::Object
{
    VDO_OBJECT(Workspace)
public:
    explicit Workspace(QString name) : m_name(std::move(name)), m_connection(std::make_shared<Connection>())
    {
    }
    ~Workspace() override;

private:
    bool connect(const Args& a, bool keep);
    void disconnect();
    automation::ObjectRef createObject(const QString& name);

    QString m_name;
    ConnectionRef m_connection;
};

} // namespace vdo
