#include "controls/listgrid/ContainerHelpers.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QComboBox>

#include <optional>

namespace listgrid {

namespace {

// A property read by name; a missing property or one that raises gives nullopt.
std::optional<basic::Variant> readProperty(const basic::ObjectRef& object, const char* name)
{
    if (!object)
        return std::nullopt;
    try {
        return object->get(QLatin1String(name));
    } catch (const basic::RuntimeError&) {
        return std::nullopt;
    }
}

template <class T, class Convert>
T readAs(const basic::ObjectRef& object, const char* name, T fallback, Convert convert)
{
    const auto value = readProperty(object, name);
    if (!value)
        return fallback;
    try {
        return convert(*value);
    } catch (const basic::RuntimeError&) {
        return fallback;
    }
}

bool readBool(const basic::ObjectRef& o, const char* name, bool fallback) { return readAs(o, name, fallback, basic::CBool); }
int32_t readLong(const basic::ObjectRef& o, const char* name, int32_t fallback) { return readAs(o, name, fallback, basic::CLng); }

bool ofClass(const ContainerObject& object, const QString& classId)
{
    return classId.isEmpty() ||
           (!object.classId.isEmpty() && object.classId.compare(classId, Qt::CaseInsensitive) == 0);
}

std::vector<ContainerObject> objectsOf(const ClientSite* site)
{
    return site ? site->containerObjects() : std::vector<ContainerObject>{};
}

} // namespace

QString GetControlDisplayName(const basic::ObjectRef& extended)
{
    QString name = readAs(extended, "Name", QString(), basic::CStr);
    const int32_t index = readLong(extended, "Index", -1);
    if (index >= 0)
        name += QStringLiteral("(%1)").arg(index);
    return name;
}

basic::ObjectRef FindContainerControl(const QString& displayName, const QString& classId, const ClientSite* site)
{
    for (const auto& object : objectsOf(site))
        if (ofClass(object, classId) && GetControlDisplayName(object.extended) == displayName)
            return object.object ? object.object : object.extended;
    return nullptr;
}

void ListContainerControls(const QString& classId, const ClientSite* site, QStringList& names)
{
    for (const auto& object : objectsOf(site))
        if (!classId.isEmpty() && ofClass(object, classId))
            names << GetControlDisplayName(object.extended);
}

void MoveFocusByTabIndex(const basic::ObjectRef& extended, ClientSite* site, bool backward)
{
    if (!site || !readBool(extended, "TabStop", true))
        return;
    const int32_t own = readLong(extended, "TabIndex", 0);
    const auto objects = site->containerObjects();
    int32_t highest = -1;
    for (const auto& object : objects)
        if (readBool(object.extended, "TabStop", true))
            highest = std::max(highest, readLong(object.extended, "TabIndex", 0));
    if (highest < 0)
        return;
    // Every tab index from 0 to the highest is tried at most once: a form whose
    // stops are all hidden or disabled ends the search instead of looping.
    int32_t wanted = own;
    for (int32_t step = 0; step <= highest; ++step) {
        if (backward)
            wanted = wanted - 1 < 0 ? highest : wanted - 1;
        else
            wanted = wanted + 1 > highest ? 0 : wanted + 1;
        for (const auto& object : objects) {
            if (!readBool(object.extended, "TabStop", true) || readLong(object.extended, "TabIndex", -1) != wanted)
                continue;
            if (!readBool(object.extended, "Visible", true) || !readBool(object.extended, "Enabled", true))
                break;
            if (const auto hWnd = readProperty(object.extended, "hWnd"))
                site->setFocusToWindow(*hWnd);
            return;
        }
    }
}

QStringList dataSourceNames(const ClientSite* site)
{
    QStringList names{QStringLiteral("None"), QStringLiteral("Paged Data")};
    ListContainerControls(QLatin1String(DataControlClassId), site, names);
    return names;
}

QStringList imageListNames(const ClientSite* site)
{
    QStringList names{QStringLiteral("None")};
    for (const char* classId : ImageListClassIds)
        ListContainerControls(QLatin1String(classId), site, names);
    return names;
}

void FillDataSourceCombo(const ClientSite* site, QComboBox* combo)
{
    combo->clear();
    combo->addItems(dataSourceNames(site));
    combo->setCurrentIndex(0);
}

void FillImageListCombo(const ClientSite* site, QComboBox* combo)
{
    combo->clear();
    combo->addItems(imageListNames(site));
    combo->setCurrentIndex(0);
}

} // namespace listgrid
