#include "controls/listgrid/host/ContainerForm.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Conversions.h"
#include "platform/forms/Twips.h"

#include <QJsonArray>
#include <QLineEdit>

namespace listgrid {

using automation::Args;
using basic::Variant;

// One object of the form: a control on its site, a plain widget, or an object
// without a widget; `extended` is what the container shows of it.
struct ContainerForm::Entry
{
    QString name;
    QString progId;
    QString classId;
    int32_t tabIndex = 0;
    int32_t handle = 0; // the hWnd the container gives it
    std::unique_ptr<FormControlSite> site;
    QWidget* widget = nullptr;
    automation::ObjectRef object;
    automation::ObjectRef extended;
};

namespace {

int32_t nextHandle()
{
    static int32_t last = 0x1000;
    return ++last;
}

// The container's extended control: Name, TabIndex, TabStop, Visible, Enabled, hWnd.
class Extended : public automation::Object
{
public:
    Extended(QString name, int32_t tabIndex, int32_t handle, QWidget* widget)
        : m_name(std::move(name)), m_tabIndex(tabIndex), m_handle(handle), m_widget(widget)
    {
    }
    QString className() const override { return QStringLiteral("Extender"); }
    static const automation::MemberTable<Extended>& table()
    {
        using E = Extended;
        static const auto t =
            automation::MemberTable<E>()
                .property(1, "Name", [](E& e, Args&) { return Variant(e.m_name); })
                .property(2, "TabIndex", [](E& e, Args&) { return Variant(e.m_tabIndex); })
                .property(3, "TabStop", [](E& e, Args&) { return Variant(e.m_widget != nullptr); })
                .property(4, "Visible", [](E& e, Args&) { return Variant(!e.m_widget || !e.m_widget->isHidden()); })
                .property(5, "Enabled", [](E& e, Args&) { return Variant(!e.m_widget || e.m_widget->isEnabled()); })
                .property(6, "hWnd", [](E& e, Args&) { return Variant(e.m_handle); });
        return t;
    }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }

private:
    QString m_name;
    int32_t m_tabIndex;
    int32_t m_handle;
    QWidget* m_widget;
};

} // namespace

FormControlSite::FormControlSite(ContainerForm& form, automation::ObjectRef control, const QString& name)
    : ControlSite(std::move(control), name, &form), m_form(form)
{
}

FormControlSite::FormControlSite(ContainerForm& form, const QString& progId, const QString& name)
    : ControlSite(progId, name, &form), m_form(form)
{
}

std::vector<ContainerObject> FormControlSite::containerObjects() const { return m_form.containerObjects(); }
void FormControlSite::setFocusToWindow(const Variant& hWnd) { m_form.setFocusToWindow(hWnd); }

ContainerForm::ContainerForm(QWidget* parent) : QWidget(parent) {}

ContainerForm::~ContainerForm()
{
    // Controls end before the objects they are bound to.
    for (auto& entry : m_entries)
        entry->site.reset();
}

ContainerForm::Entry& ContainerForm::addEntry(const QString& name, int32_t tabIndex)
{
    auto entry = std::make_unique<Entry>();
    entry->name = name;
    entry->tabIndex = tabIndex;
    entry->handle = nextHandle();
    m_entries.push_back(std::move(entry));
    return *m_entries.back();
}

FormControlSite& ContainerForm::addControl(const QString& progId, const QString& name, int32_t tabIndex)
{
    return addControl(automation::createObject(progId), progId, name, tabIndex);
}

FormControlSite& ContainerForm::addControl(automation::ObjectRef control, const QString& progId, const QString& name,
                                           int32_t tabIndex)
{
    auto site = std::make_unique<FormControlSite>(*this, std::move(control), name);
    Entry& entry = addEntry(name, tabIndex);
    entry.progId = progId;
    entry.site = std::move(site);
    entry.widget = entry.site->widget();
    return *entry.site;
}

QLineEdit* ContainerForm::addTextBox(const QString& name, int32_t tabIndex)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->show();
    addEntry(name, tabIndex).widget = box;
    return box;
}

void ContainerForm::addObject(const QString& name, automation::ObjectRef object, const QString& classId)
{
    Entry& entry = addEntry(name, -1);
    entry.classId = classId;
    entry.object = std::move(object);
}

FormControlSite* ContainerForm::site(const QString& name) const
{
    for (const auto& entry : m_entries)
        if (entry->name == name)
            return entry->site.get();
    return nullptr;
}

QWidget* ContainerForm::widgetOf(const QString& name) const
{
    for (const auto& entry : m_entries)
        if (entry->name == name)
            return entry->widget;
    return nullptr;
}

std::vector<ContainerObject> ContainerForm::containerObjects() const
{
    std::vector<ContainerObject> objects;
    for (const auto& entry : m_entries) {
        ContainerObject object;
        object.classId = entry->classId;
        object.object = entry->site ? entry->site->control().shared_from_this() : entry->object;
        // An object without a widget is no tab stop.
        object.extended = std::make_shared<Extended>(entry->name, entry->tabIndex, entry->handle, entry->widget);
        objects.push_back(std::move(object));
    }
    return objects;
}

void ContainerForm::setFocusToWindow(const Variant& hWnd)
{
    const int32_t handle = basic::CLng(hWnd);
    for (const auto& entry : m_entries)
        if (entry->handle == handle && entry->widget)
            entry->widget->setFocus(Qt::TabFocusReason);
}

QJsonObject ContainerForm::saveDesign() const
{
    QJsonArray controls;
    for (const auto& entry : m_entries) {
        if (!entry->site)
            continue;
        const FormControlSite& s = *entry->site;
        controls.append(QJsonObject{
            {QStringLiteral("name"), entry->name},
            {QStringLiteral("progId"), entry->progId},
            {QStringLiteral("tabIndex"), entry->tabIndex},
            {QStringLiteral("left"), s.left()},
            {QStringLiteral("top"), s.top()},
            {QStringLiteral("width"), s.control().width()},
            {QStringLiteral("height"), s.control().height()},
            {QStringLiteral("properties"), s.save().toText()},
        });
    }
    return QJsonObject{{QStringLiteral("controls"), controls}};
}

void ContainerForm::loadDesign(const QJsonObject& design, const std::function<automation::ObjectRef(const QString&)>& make)
{
    for (const auto& value : design.value(QStringLiteral("controls")).toArray()) {
        const QJsonObject c = value.toObject();
        QString error;
        const auto bag = controlframework::PropertyBag::fromText(c.value(QStringLiteral("properties")).toString(), &error);
        if (!bag)
            throw basic::RuntimeError(380, QStringLiteral("The stored design of %1 is damaged: %2")
                                               .arg(c.value(QStringLiteral("name")).toString(), error));
        const QString progId = c.value(QStringLiteral("progId")).toString();
        FormControlSite& s = addControl(make ? make(progId) : automation::createObject(progId), progId,
                                        c.value(QStringLiteral("name")).toString(),
                                        c.value(QStringLiteral("tabIndex")).toInt());
        s.load(*bag);
        s.move(c.value(QStringLiteral("left")).toInt(), c.value(QStringLiteral("top")).toInt(),
               c.value(QStringLiteral("width")).toInt(), c.value(QStringLiteral("height")).toInt());
    }
}

} // namespace listgrid
