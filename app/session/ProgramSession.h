#pragma once

#include "app/import/ImportContext.h"
#include "app/session/ForwardingViews.h"

#include "platform/basic/Variant.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// The program session: made once in main() before any form, it lives until the
// program ends and owns what is program-wide: the import's context (its state, the
// windows as forwarding views, the engine factory, the per-line field checks), the
// program folder and version, and the objects created on first use and kept.
// Forms reach it through current(); the form libraries install the resolvers of
// their forms into its views (FormResolver.h).
namespace session {

struct ProgramVersion
{
    int32_t major = 0;
    int32_t minor = 0;
    int32_t revision = 0;
};

class ProgramSession
{
public:
    using ObjectFactory = std::function<basic::ObjectRef(const QString& classIdOrProgId)>;

    // An empty programFolder means the application's folder. Installs the per-line
    // field checks, so every caller of stage one runs them. One session at a time.
    explicit ProgramSession(QString programFolder = {});
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // The session made in main(); nullptr before it is made and after it ends.
    static ProgramSession* current();

    importer::ImportContext& context() { return m_context; }
    importer::ImportState& state() { return m_context.state; }

    // The windows as the import sees them; install each form's resolver here.
    ForwardingMainWindow& mainWindow() { return m_mainWindow; }
    ForwardingImportLog& importLog() { return m_importLog; }
    ForwardingErrorList& errorList() { return m_errorList; }
    ForwardingSettingsForm& settingsForm() { return m_settingsForm; }

    const QString& programFolder() const { return m_context.programFolder; }
    // The program's version from the build, and its text "Version 1.0.0" as the main
    // window, the splash and the About box show it.
    static ProgramVersion version();
    static QString versionText();

    // Creates the kept objects by class id (automation::createObject by default).
    ObjectFactory createObject;
    // DoSecurity of Keelbox and filesech of Drivewalk (FileSearchObj): created by
    // class id on first use, then the same object until the session ends. A failed
    // creation raises its run-time error and is tried again at the next use.
    basic::ObjectRef doSecurity();
    basic::ObjectRef fileSearchObj();
    // Releases the kept objects (the program's end does it before the process ends).
    void releaseKeptObjects();

    // The folder the folder picker hands back to its caller: the caller empties it,
    // shows the picker modal and takes it when not empty.
    QString DirPathResult;

private:
    basic::ObjectRef kept(basic::ObjectRef& slot, const char* classId);

    ForwardingMainWindow m_mainWindow;
    ForwardingImportLog m_importLog;
    ForwardingErrorList m_errorList;
    ForwardingSettingsForm m_settingsForm;
    importer::ImportContext m_context;
    basic::ObjectRef m_doSecurity;
    basic::ObjectRef m_fileSearchObj;
};

} // namespace session
