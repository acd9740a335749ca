#pragma once

#include "controls/listgrid/ContainerHelpers.h"

#include "platform/automation/Object.h"
#include "platform/controlframework/ControlSite.h"

#include <QJsonObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLineEdit;

// A small form that hosts list and grid controls the way a container does: each
// control on a site that is also the form's client site (other controls by name and
// class, focus by tab order), plain widgets and a data control beside them, and a
// stored design (every control's place, tab index and persisted properties).
namespace listgrid {

class ContainerForm;

// A control's site on the form: the control framework's site, plus the client
// site the list and grid controls look for.
class FormControlSite : public controlframework::ControlSite, public ClientSite
{
public:
    FormControlSite(ContainerForm& form, automation::ObjectRef control, const QString& name);
    FormControlSite(ContainerForm& form, const QString& progId, const QString& name);

    std::vector<ContainerObject> containerObjects() const override;
    void setFocusToWindow(const basic::Variant& hWnd) override;

private:
    ContainerForm& m_form;
};

class ContainerForm : public QWidget, public ClientSite
{
public:
    explicit ContainerForm(QWidget* parent = nullptr);
    ~ContainerForm() override;

    // A control made by the library from its ProgID (or given), placed at twips.
    FormControlSite& addControl(const QString& progId, const QString& name, int32_t tabIndex);
    FormControlSite& addControl(automation::ObjectRef control, const QString& progId, const QString& name,
                                int32_t tabIndex);
    // A plain text box (a tab stop beside the controls).
    QLineEdit* addTextBox(const QString& name, int32_t tabIndex);
    // An object without a widget, such as the package's data control.
    void addObject(const QString& name, automation::ObjectRef object, const QString& classId);

    FormControlSite* site(const QString& name) const;
    QWidget* widgetOf(const QString& name) const;

    // ClientSite
    std::vector<ContainerObject> containerObjects() const override;
    void setFocusToWindow(const basic::Variant& hWnd) override;

    // The design: for each control its ProgID, place, tab index and properties.
    QJsonObject saveDesign() const;
    // Places the controls of a saved design (after the objects they bind to), each
    // made by `make` from its ProgID (by the registered library when none is given).
    void loadDesign(const QJsonObject& design,
                    const std::function<automation::ObjectRef(const QString& progId)>& make = {});

private:
    struct Entry;
    Entry& addEntry(const QString& name, int32_t tabIndex);
    std::vector<std::unique_ptr<Entry>> m_entries;
};

} // namespace listgrid
