#pragma once

#include "platform/automation/Object.h"
#include "platform/controlframework/Elements.h"
#include "platform/controlframework/Font.h"
#include "platform/controlframework/PropertyBag.h"

#include <QCursor>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

// What a control takes from its host and gives back. A control is an automation
// object (its members by name and DISPID) with one widget that draws its
// constituent elements; child widgets the host places on that widget lie above
// them. The host drives the life cycle through a ControlSite (ControlSite.h).
namespace controlframework {

class ControlWidget;

// The host side of a control: ambient and extender properties, property-change
// notices and the control's events.
class ControlHost
{
public:
    virtual ~ControlHost();

    // Ambient properties.
    virtual QString ambientDisplayName() const = 0;
    virtual bool ambientDisplayAsDefault() const = 0;
    virtual FontInfo ambientFont() const = 0;
    virtual bool ambientUserMode() const = 0; // False while the host is being designed

    // Extender properties by name (Name, Default, Cancel, Left, Top, Width, Height,
    // Visible); raises 438 for a name the extender does not know.
    virtual basic::Variant extenderProperty(const QString& name) const = 0;

    // PropertyChanged: a persisted property changed, the host should store its design.
    virtual void propertyChanged(const QString& name) = 0;
    // RaiseEvent: by-reference arguments are written back into `args`.
    virtual void raiseEvent(automation::DispId id, const QString& name, automation::Args& args) = 0;
};

// MousePointer values the controls use.
enum class MousePointer { Default = 0, Hourglass = 11, Custom = 99 };

class Control : public automation::Object
{
public:
    Control();
    ~Control() override;

    // Life cycle, in this order where it occurs (the site calls them): Initialize,
    // then InitProperties or ReadProperties, Resize (whenever the size changes),
    // Show, WriteProperties (whenever the host stores its design), Terminate.
    // The site gives the control its host, then runs Initialize.
    void setHost(ControlHost& host);
    virtual void initialize() {}
    virtual void initProperties() {}
    virtual void readProperties(const PropertyBag& bag) { (void)bag; }
    virtual void writeProperties(PropertyBag& bag) const { (void)bag; }
    virtual void resize() {}
    virtual void show() {}
    virtual void terminate() {}

    // Acts like a button (its misc status says so): takes part in the host's default
    // and cancel handling, so its site shows it as default and sends it Enter and Esc.
    virtual bool actsLikeButton() const { return false; }

    // Further notifications.
    virtual void ambientChanged(const QString& name) { (void)name; }
    virtual void accessKeyPress(int character) { (void)character; }
    virtual void enterFocus() {}
    virtual void exitFocus() {}
    // The control's own surface (where no element takes the mouse).
    virtual void click() {}
    virtual void mouseMove() {}
    virtual void dragOver(Element* source, DragState state) { (void)source; (void)state; }
    virtual void dragDrop(Element* source) { (void)source; }

    // The widget that draws the control; the host places it and its own widgets on it.
    QWidget* widget() const;

    // The size of the client area in twips (ScaleWidth, ScaleHeight). setExtent is the
    // control's own Width/Height assignment: it resizes the widget and runs Resize.
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    void setExtent(int32_t width, int32_t height);

    // The control's own background (BackColor, BackStyle opaque or transparent).
    forms::OleColor backColor() const { return m_backColor; }
    void setBackColor(forms::OleColor color);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque);

    // MouseIcon / MousePointer of the control's own surface.
    void setMouseIcon(const QCursor& icon);
    void setMousePointer(MousePointer pointer);
    MousePointer mousePointer() const { return m_pointer; }

    // Constituent elements, back to front in the order added.
    Shape& addShape(const QString& name);
    Label& addLabel(const QString& name);
    Image& addImage(const QString& name);
    // The element of that name, or nullptr.
    Element* element(const QString& name) const;
    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }
    void bringToFront(Element& element);
    void repaint();

    ControlHost& host() const;
    bool hasHost() const { return m_host != nullptr; }
    void propertyChanged(const QString& name);
    void raiseEvent(automation::DispId id, const QString& name, automation::Args& args);

    // The element being dragged, or nullptr.
    Element* dragSource() const { return m_dragSource; }

private:
    friend class Element;
    friend class ControlWidget;

    template <class T>
    T& add(const QString& name);
    void beginDrag(Element& element);
    void endDrag(Element& element);
    void updateCursor();
    void forget(Element& element);

    // From the widget (pixels of the widget).
    void widgetResized(int pixelWidth, int pixelHeight);
    void pointerMoved(const QPoint& pos);
    void buttonPressed(const QPoint& pos);
    void buttonReleased(const QPoint& pos);
    void pointerLeft();
    Element* elementAt(const QPoint& pos) const;

    ControlHost* m_host = nullptr;
    QPointer<ControlWidget> m_widget;
    std::vector<std::unique_ptr<Element>> m_elements;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_settingExtent = false;
    forms::OleColor m_backColor = forms::systemOleColor(forms::SystemColor::ButtonFace);
    bool m_opaque = true;
    std::optional<QCursor> m_mouseIcon;
    MousePointer m_pointer = MousePointer::Default;

    // Hover drag: the element dragged and where the pointer was last (nullopt:
    // outside the control, nullptr: its own surface).
    Element* m_dragSource = nullptr;
    std::optional<Element*> m_dragOver;
    // A press outside a drag: what was under the pointer.
    std::optional<Element*> m_pressed;
};

// The layout guard: a layout that changes its control's own size sets the busy flag
// for its run, so that the Resize this causes returns at once.
//
//   void resize() override { LayoutGuard guard(m_layoutBusy); if (!guard) return; ... }
class LayoutGuard
{
public:
    explicit LayoutGuard(bool& busy) : m_busy(busy), m_entered(!busy) { m_busy = true; }
    ~LayoutGuard()
    {
        if (m_entered)
            m_busy = false;
    }
    LayoutGuard(const LayoutGuard&) = delete;
    LayoutGuard& operator=(const LayoutGuard&) = delete;
    explicit operator bool() const { return m_entered; }

private:
    bool& m_busy;
    bool m_entered;
};

// The 32-by-32 monochrome pointing hand (white, black outline) with its finger tip
// at `hotSpot`.
QCursor pointingHandCursor(const QPoint& hotSpot);

// An OLE colour from an automation value (Long, or a larger whole number up to
// 0xFFFFFFFF, or text such as "&H8000000F"); raises 6 outside that range.
forms::OleColor toOleColor(const basic::Variant& value);
// The automation value of an OLE colour (a Long, as OLE_COLOR travels).
inline basic::Variant fromOleColor(forms::OleColor color) { return basic::Variant(int32_t(color)); }

} // namespace controlframework
