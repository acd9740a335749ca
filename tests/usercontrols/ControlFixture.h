#pragma once

// What the control tests share: a control placed directly (without the library) on
// an optional host widget, with the notices and events it sends recorded, and a
// pointer that sends mouse events to its widget.
#include "platform/automation/Object.h"
#include "platform/controlframework/ControlSite.h"
#include "platform/controlframework/Elements.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/PropertyBag.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

struct RaisedEvent
{
    automation::DispId id;
    QString name;
    automation::Args args;
};

template <class T>
struct Placed
{
    explicit Placed(const QString& name = QStringLiteral("Control1"), QWidget* parent = nullptr)
        : control(std::make_shared<T>()), site(control, name, parent)
    {
        site.onPropertyChanged = [this](const QString& n) { changed << n; };
        site.onEvent = [this](automation::DispId id, const QString& n, automation::Args& args) {
            events.push_back({id, n, args});
            if (onEvent)
                onEvent(id, n, args);
        };
    }

    template <class E = controlframework::Element>
    E& element(const QString& name) const
    {
        auto* e = dynamic_cast<E*>(control->element(name));
        if (!e)
            qFatal("no element %s", qPrintable(name));
        return *e;
    }
    QStringList eventNames() const
    {
        QStringList out;
        for (const auto& e : events)
            out << e.name;
        return out;
    }
    automation::ObjectRef object() const { return site.object(); }

    std::shared_ptr<T> control;
    controlframework::ControlSite site;
    QStringList changed;
    std::vector<RaisedEvent> events;
    std::function<void(automation::DispId, const QString&, automation::Args&)> onEvent;
};

// A control placed on a host window of its own, for tests that look at what it
// draws: show() the host, then drawn() the control's widget.
template <class T>
struct OnHost
{
    explicit OnHost(const QString& name) : placed(name, &host) { host.resize(300, 300); }
    void show() { host.show(); }
    QImage drawn() const { return placed.site.widget()->grab().toImage(); }

    QWidget host;
    Placed<T> placed;
};

// Mouse events straight to a control's widget, in twips of the control.
class Pointer
{
public:
    explicit Pointer(QWidget* widget) : m_widget(widget) {}

    void moveTo(int twipsX, int twipsY) { send(QEvent::MouseMove, at(twipsX, twipsY), Qt::NoButton); }
    void moveOnto(const controlframework::Element& e) { send(QEvent::MouseMove, e.pixelRect().center(), Qt::NoButton); }
    void moveOff() { send(QEvent::MouseMove, QPoint(-5, -5), Qt::NoButton); }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(m_widget, &event);
    }
    void press() { send(QEvent::MouseButtonPress, m_pos, Qt::LeftButton); }
    void release() { send(QEvent::MouseButtonRelease, m_pos, Qt::LeftButton); }
    void clickOn(const controlframework::Element& e)
    {
        moveOnto(e);
        press();
        release();
    }

private:
    static QPoint at(int x, int y) { return QPoint(x / 15, y / 15); }
    void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
    {
        m_pos = pos;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons();
        QMouseEvent event(type, QPointF(pos), QPointF(m_widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_widget, &event);
    }

    QWidget* m_widget;
    QPoint m_pos;
};

inline QRect twipsRect(const controlframework::Element& e)
{
    return QRect(e.left(), e.top(), e.width(), e.height());
}

// A bag in its stored form; the test text is always well formed.
inline controlframework::PropertyBag bagOf(const QString& text)
{
    const auto bag = controlframework::PropertyBag::fromText(text);
    if (!bag)
        qFatal("bad bag %s", qPrintable(text));
    return *bag;
}

// The error number a call raises, 0 for none.
template <class Fn>
int errorOf(Fn&& fn)
{
    try {
        fn();
    } catch (const basic::RuntimeError& e) {
        return e.number();
    }
    return 0;
}
