#include "utilities/keelbox/KeelboxServer.h"

#include "utilities/keelbox/DoSecurity.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/RuntimeError.h"

#include <QString>

#include <exception>

namespace keelbox {

int32_t& liveObjects()
{
    static int32_t count = 0;
    return count;
}

namespace {

constexpr int32_t ClassNotAvailable = int32_t(0x80040111u);

// Any address inside this library tells the loader which file it is.
const char libraryAnchor = 0;

class DoSecurityFactory : public automation::ClassFactory
{
public:
    automation::ObjectRef createInstance() override { return std::make_shared<DoSecurity>(); }
};

// Entry points never let an exception cross into the loader.
template <class F> int32_t guarded(F&& f)
{
    try {
        f();
        return 0;
    } catch (const basic::RuntimeError& e) {
        return e.number() != 0 ? e.number() : basic::err::Fail;
    } catch (const std::exception&) {
        return basic::err::Fail;
    }
}

} // namespace

} // namespace keelbox

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    return keelbox::guarded([] {
        automation::registerClass(QString::fromLatin1(keelbox::DoSecurityClassId),
                                  QString::fromLatin1(keelbox::DoSecurityProgId),
                                  automation::libraryPathOf(&keelbox::libraryAnchor),
                                  QStringLiteral("Keelbox registry value reader and CSV routines"));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    return keelbox::guarded([] {
        automation::unregisterClass(QString::fromLatin1(keelbox::DoSecurityClassId),
                                    QString::fromLatin1(keelbox::DoSecurityProgId));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    if (!factory)
        return basic::err::Fail;
    *factory = nullptr;
    if (!classId || QString::fromUtf16(classId).compare(QLatin1String(keelbox::DoSecurityClassId),
                                                        Qt::CaseInsensitive) != 0)
        return keelbox::ClassNotAvailable;
    static keelbox::DoSecurityFactory theFactory;
    *factory = &theFactory;
    return 0;
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow()
{
    return keelbox::liveObjects() == 0 ? 0 : 1;
}
