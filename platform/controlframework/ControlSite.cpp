#include "platform/controlframework/ControlSite.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QKeySequence>
#include <QLayout>
#include <QShortcut>
#include <QWidget>

namespace controlframework {

using automation::Args;
using automation::DispId;
using automation::Invoke;
using basic::Variant;

namespace {

// The characters Enter and Esc reach a control with.
constexpr int CharEnter = 13;
constexpr int CharEscape = 27;

// The object the host's code holds: the extender's members in front of the control's.
class Extender : public automation::Object
{
public:
    Extender(ControlSite& site, automation::ObjectRef control) : m_site(&site), m_control(std::move(control)) {}

    void detach() { m_site = nullptr; }

    QString className() const override { return m_control->className(); }
    DispId idOfName(const QString& name) const override
    {
        for (const auto& [id, member] : table().members())
            if (member.compare(name, Qt::CaseInsensitive) == 0)
                return id;
        return m_control->idOfName(name);
    }
    Variant invoke(DispId id, Invoke kind, Args& args, const Variant& value) override
    {
        if ((uint32_t(id) & 0xFFFF0000u) != 0x80010000u)
            return m_control->invoke(id, kind, args, value);
        if (!m_site)
            throw basic::RuntimeError(basic::err::ObjectVariableNotSet, QStringLiteral("The control is no longer placed"));
        return table().invoke(*this, id, kind, args, value);
    }
    void invokePutByRef(DispId id, Args& args, Variant& value) override
    {
        if ((uint32_t(id) & 0xFFFF0000u) != 0x80010000u)
            m_control->invokePutByRef(id, args, value);
        else
            invoke(id, Invoke::PropertyPut, args, value);
    }

private:
    static const automation::MemberTable<Extender>& table()
    {
        using E = Extender;
        static const auto t = automation::MemberTable<Extender>()
            .property(extender::Name, "Name", [](E& e, Args&) { return Variant(e.m_site->name()); })
            .property(extender::Left, "Left", [](E& e, Args&) { return Variant(e.m_site->left()); },
                      [](E& e, Args&, const Variant& v) { e.place(basic::CLng(v), {}, {}, {}); })
            .property(extender::Top, "Top", [](E& e, Args&) { return Variant(e.m_site->top()); },
                      [](E& e, Args&, const Variant& v) { e.place({}, basic::CLng(v), {}, {}); })
            .property(extender::Width, "Width", [](E& e, Args&) { return Variant(e.m_site->control().width()); },
                      [](E& e, Args&, const Variant& v) { e.place({}, {}, basic::CLng(v), {}); })
            .property(extender::Height, "Height", [](E& e, Args&) { return Variant(e.m_site->control().height()); },
                      [](E& e, Args&, const Variant& v) { e.place({}, {}, {}, basic::CLng(v)); })
            .property(extender::Visible, "Visible", [](E& e, Args&) { return Variant(e.m_site->isVisible()); },
                      [](E& e, Args&, const Variant& v) { e.m_site->setVisible(basic::CBool(v)); })
            .property(extender::Default, "Default", [](E& e, Args&) { return e.m_site->extenderProperty(QStringLiteral("Default")); })
            .property(extender::Cancel, "Cancel", [](E& e, Args&) { return e.m_site->extenderProperty(QStringLiteral("Cancel")); })
            .method(extender::Move, "Move", [](E& e, Args& a) {
                // Move Left, [Top], [Width], [Height]
                automation::checkArgCount(a, 1, 4);
                auto arg = [&](size_t i) -> std::optional<int32_t> {
                    const Variant& v = automation::optionalArg(a, i);
                    return v.isMissing() ? std::nullopt : std::optional<int32_t>(basic::CLng(v));
                };
                e.place(arg(0), arg(1), arg(2), arg(3));
                return Variant();
            });
        return t;
    }

    void place(std::optional<int32_t> left, std::optional<int32_t> top, std::optional<int32_t> width,
               std::optional<int32_t> height)
    {
        ControlSite& s = *m_site;
        s.move(left.value_or(s.left()), top.value_or(s.top()), width.value_or(s.control().width()),
               height.value_or(s.control().height()));
    }

    ControlSite* m_site;
    automation::ObjectRef m_control;
};

} // namespace

ControlSite::ControlSite(const QString& classIdOrProgId, const QString& name, QWidget* parent) : m_name(name)
{
    attach(automation::createObject(classIdOrProgId), parent);
}

ControlSite::ControlSite(automation::ObjectRef control, const QString& name, QWidget* parent) : m_name(name)
{
    attach(std::move(control), parent);
}

void ControlSite::attach(automation::ObjectRef control, QWidget* parent)
{
    m_control = dynamic_cast<Control*>(control.get());
    if (!m_control)
        throw basic::RuntimeError(basic::err::TypeMismatch,
                                  QStringLiteral("The object is not a control"),
                                  control ? control->className() : QStringLiteral("Nothing"));
    m_object = std::move(control);
    m_extender = std::make_shared<Extender>(*this, m_object);
    if (QWidget* w = m_control->widget()) {
        w->setParent(parent);
        w->setObjectName(m_name);
    }
    m_control->setHost(*this);
    m_control->initialize();
}

ControlSite::~ControlSite()
{
    for (const QPointer<QShortcut>& key : m_keys)
        delete key.data();
    static_cast<Extender&>(*m_extender).detach();
    if (m_control) {
        try {
            m_control->terminate();
        } catch (const basic::RuntimeError&) {
            // Terminate runs from a destructor; there is no caller left to tell.
        }
    }
}

void ControlSite::initNew()
{
    m_control->initProperties();
    m_control->setExtent(m_control->width(), m_control->height());
}

void ControlSite::load(const PropertyBag& bag)
{
    m_control->readProperties(bag);
    m_control->setExtent(m_control->width(), m_control->height());
}

PropertyBag ControlSite::save() const
{
    PropertyBag bag;
    m_control->writeProperties(bag);
    return bag;
}

void ControlSite::move(int32_t left, int32_t top, int32_t width, int32_t height)
{
    m_left = left;
    m_top = top;
    if (QWidget* w = widget())
        w->move(forms::twipsToPixels(left), forms::twipsToPixels(top));
    m_control->setExtent(width, height);
}

void ControlSite::replace(QWidget* placeholder)
{
    QWidget* w = widget();
    if (!placeholder || !w || placeholder == w)
        return;
    const bool visible = !placeholder->isHidden();
    QWidget* parent = placeholder->parentWidget();
    w->setParent(parent);
    w->setSizePolicy(placeholder->sizePolicy());
    w->setMinimumSize(placeholder->minimumSize());
    w->setMaximumSize(placeholder->maximumSize());
    if (parent && parent->layout())
        delete parent->layout()->replaceWidget(placeholder, w, Qt::FindChildrenRecursively);
    const QRect g = placeholder->geometry();
    for (QObject* child : placeholder->children()) {
        if (auto* childWidget = qobject_cast<QWidget*>(child); childWidget && !childWidget->isWindow()) {
            const QPoint at = childWidget->pos();
            const bool shown = !childWidget->isHidden();
            childWidget->setParent(w);
            childWidget->move(at);
            childWidget->setVisible(shown);
        }
    }
    placeholder->hide();
    move(forms::pixelsToTwips(g.x()), forms::pixelsToTwips(g.y()), forms::pixelsToTwips(g.width()),
         forms::pixelsToTwips(g.height()));
    setVisible(visible);
}

void ControlSite::setVisible(bool visible)
{
    m_visible = visible;
    if (QWidget* w = widget())
        w->setVisible(visible);
}

void ControlSite::setDefault(bool isDefault)
{
    m_default = isDefault;
    if (m_control->actsLikeButton())
        setDisplayAsDefault(isDefault);
    updateKeys();
}

void ControlSite::setCancel(bool isCancel)
{
    m_cancel = isCancel;
    updateKeys();
}

void ControlSite::updateKeys()
{
    for (const QPointer<QShortcut>& key : m_keys)
        delete key.data();
    m_keys.clear();
    QWidget* w = widget();
    if (!w || !m_control->actsLikeButton())
        return;
    // Window shortcuts: active while the control's widget is shown in the active
    // window, whichever widget of that window has the focus.
    auto add = [&](int key, int character) {
        auto* shortcut = new QShortcut(QKeySequence(key), w);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        QObject::connect(shortcut, &QShortcut::activated, w, [this, character] { accessKey(character); });
        m_keys.emplace_back(shortcut);
    };
    if (m_default) {
        add(Qt::Key_Return, CharEnter);
        add(Qt::Key_Enter, CharEnter);
    }
    if (m_cancel)
        add(Qt::Key_Escape, CharEscape);
}

void ControlSite::accessKey(int character)
{
    try {
        m_control->accessKeyPress(character);
    } catch (const basic::RuntimeError& e) {
        // A key press has no caller to hand the control's error to.
        qWarning("%s: %s", qPrintable(m_name), qPrintable(e.description()));
    }
}

void ControlSite::setDisplayName(const QString& name)
{
    m_displayName = name;
    m_control->ambientChanged(QStringLiteral("DisplayName"));
}

void ControlSite::setDisplayAsDefault(bool asDefault)
{
    m_displayAsDefault = asDefault;
    m_control->ambientChanged(QStringLiteral("DisplayAsDefault"));
}

void ControlSite::setAmbientFont(const FontInfo& font)
{
    m_font = font;
    m_control->ambientChanged(QStringLiteral("Font"));
}

void ControlSite::setUserMode(bool userMode)
{
    m_userMode = userMode;
    m_control->ambientChanged(QStringLiteral("UserMode"));
}

QString ControlSite::ambientDisplayName() const
{
    return m_displayName.isEmpty() ? m_name : m_displayName;
}

Variant ControlSite::extenderProperty(const QString& name) const
{
    auto is = [&](const char* n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    if (is("Name"))
        return Variant(m_name);
    if (is("Default"))
        return Variant(m_default);
    if (is("Cancel"))
        return Variant(m_cancel);
    if (is("Visible"))
        return Variant(m_visible);
    if (is("Left"))
        return Variant(m_left);
    if (is("Top"))
        return Variant(m_top);
    if (is("Width"))
        return Variant(m_control->width());
    if (is("Height"))
        return Variant(m_control->height());
    automation::throwUnknownName(name);
}

void ControlSite::propertyChanged(const QString& name)
{
    if (onPropertyChanged)
        onPropertyChanged(name);
}

void ControlSite::raiseEvent(DispId id, const QString& name, Args& args)
{
    if (onEvent)
        onEvent(id, name, args);
}

} // namespace controlframework
