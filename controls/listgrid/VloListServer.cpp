// The VLOList library's four entry points. It registers its control and
// property-page classes and makes the controls it serves (the property pages are
// not served: creating one reports that the library does not make it).
#include "controls/listgrid/LibraryState.h"
#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/Registration.h"

#include "platform/automation/InprocServer.h"

namespace {

const char vloListAnchor = 0;

template <class T>
automation::ObjectRef make()
{
    return std::make_shared<T>();
}

const std::vector<automation::ServedClass>& servedClasses()
{
    static const std::vector<automation::ServedClass> classes{
        {listgrid::ListControlClassId, listgrid::ListControlProgId, "Vorlen List Control", &make<listgrid::CListCtrl>},
        {listgrid::GridControlClassId, listgrid::GridControlProgId, "Vorlen Grid Control", &make<listgrid::CGridCtrl>},
    };
    return classes;
}

} // namespace

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    return automation::guardedEntry([] {
        const int32_t status = listgrid::registerLibrary(automation::libraryPathOf(&vloListAnchor));
        if (status != 0)
            throw basic::RuntimeError(status, QStringLiteral("VLOList registration failed"));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    return automation::guardedEntry([] {
        const int32_t status = listgrid::unregisterLibrary();
        if (status != 0)
            throw basic::RuntimeError(status, QStringLiteral("VLOList unregistration failed"));
    });
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    return automation::getServedClassObject(servedClasses(), classId, factory);
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow() { return listgrid::liveObjects() == 0 ? 0 : 1; }
