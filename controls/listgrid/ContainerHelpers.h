#pragma once

#include "platform/basic/Variant.h"

#include <QString>
#include <QStringList>

#include <vector>

class QComboBox;

// The container services the controls ask of the form that hosts them: finding
// another control by display name and class, the names offered in the page combo
// boxes, and moving the focus by tab order.
namespace listgrid {

inline constexpr const char* DataControlClassId = "{6F2FED4E-BE44-43BB-ADB9-D44700277E66}";
inline constexpr const char* ImageListClassIds[] = {
    "{58DA8D8F-9D6A-101B-AFC0-4210102A8DA7}",
    "{E6E17E81-DF38-11CF-8E74-00A0C90F26F8}",
    "{2C247F23-8591-11D1-B16A-00C0F0283628}",
};

// One embedded object of the form, in the container's order.
struct ContainerObject
{
    // The container's extended control ("Name", "Index", "TabIndex", "TabStop",
    // "Visible", "Enabled", "hWnd"); for a plain dispatch object, the object itself.
    basic::ObjectRef extended;
    // The control's own dispatch interface.
    basic::ObjectRef object;
    // Its user class id; empty for an object that is only a dispatch object.
    QString classId;
};

// A control's client site, as far as these services need it.
class ClientSite
{
public:
    virtual ~ClientSite() = default;
    // The form's embedded, user-visible objects; empty when it cannot enumerate them.
    virtual std::vector<ContainerObject> containerObjects() const = 0;
    // Moves the keyboard focus to the window that an "hWnd" property gave.
    virtual void setFocusToWindow(const basic::Variant& hWnd) = 0;
};

// "Name", followed by "(index)" for a member of a control array.
QString GetControlDisplayName(const basic::ObjectRef& extended);
// The first control on the form with exactly that display name (and class, when one
// is given); null when none or without a site.
basic::ObjectRef FindContainerControl(const QString& displayName, const QString& classId, const ClientSite* site);
// Appends the display name of every control of that class.
void ListContainerControls(const QString& classId, const ClientSite* site, QStringList& names);
// Moves the focus to the next (or previous) visible, enabled tab stop, wrapping at
// both ends; after one full cycle without one the focus stays where it is.
void MoveFocusByTabIndex(const basic::ObjectRef& extended, ClientSite* site, bool backward);

// "None", "Paged Data" and every data control.
QStringList dataSourceNames(const ClientSite* site);
// "None" and every image list.
QStringList imageListNames(const ClientSite* site);
void FillDataSourceCombo(const ClientSite* site, QComboBox* combo);
void FillImageListCombo(const ClientSite* site, QComboBox* combo);

} // namespace listgrid
