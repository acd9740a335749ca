#include "app/session/ProgramSession.h"

#include "app/import/checks/FieldChecks.h"

#include "platform/automation/ClassRegistry.h"
#include "utilities/drivewalk/filesech.h"
#include "utilities/keelbox/DoSecurity.h"

#include <stdexcept>

namespace session {

namespace {

ProgramSession* s_current = nullptr;

} // namespace

ProgramSession::ProgramSession(QString programFolder)
    : createObject([](const QString& id) { return automation::createObject(id); }),
      m_context(m_mainWindow, m_importLog, m_errorList, m_settingsForm)
{
    if (s_current)
        throw std::logic_error("a program session exists already");
    if (!programFolder.isEmpty())
        m_context.programFolder = std::move(programFolder);
    m_context.ownedLineChecks = std::make_unique<importer::FieldChecks>();
    m_context.lineChecks = m_context.ownedLineChecks.get();
    s_current = this;
}

ProgramSession::~ProgramSession()
{
    releaseKeptObjects();
    s_current = nullptr;
}

ProgramSession* ProgramSession::current()
{
    return s_current;
}

ProgramVersion ProgramSession::version()
{
    return {QUILLAR_VERSION_MAJOR, QUILLAR_VERSION_MINOR, QUILLAR_VERSION_PATCH};
}

QString ProgramSession::versionText()
{
    const ProgramVersion v = version();
    return QStringLiteral("Version %1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

basic::ObjectRef ProgramSession::doSecurity()
{
    return kept(m_doSecurity, keelbox::DoSecurityClassId);
}

basic::ObjectRef ProgramSession::fileSearchObj()
{
    return kept(m_fileSearchObj, drivewalk::FilesechClassId);
}

void ProgramSession::releaseKeptObjects()
{
    m_doSecurity.reset();
    m_fileSearchObj.reset();
}

basic::ObjectRef ProgramSession::kept(basic::ObjectRef& slot, const char* classId)
{
    if (!slot)
        slot = createObject(QString::fromLatin1(classId));
    return slot;
}

} // namespace session
