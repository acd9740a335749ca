#pragma once

#include "platform/automation/Object.h"
#include "platform/controlframework/Control.h"
#include "platform/controlframework/PropertyBag.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QShortcut;
class QWidget;

// The host side of one control instance: creates it (by class id or ProgID, or
// from an object made otherwise), answers its ambient and extender properties,
// places its widget and drives its life cycle:
//
//   ControlSite site(QStringLiteral("VLHMComCtl.vlHmFrame"), QStringLiteral("FrameHistroy"), parent);
//   site.load(storedBag);            // or site.initNew() for a newly placed one
//   site.move(120, 240, 6000, 4000); // twips; Resize
//   site.setVisible(true);           // Show
//   childWidget->setParent(site.widget());  // lies above the frame's elements
//   PropertyBag bag = site.save();   // WriteProperties
//
// The destructor ends the instance (Terminate) and releases it.
namespace controlframework {

// Extender members as a caller of the instance reaches them by DISPID (the
// control's own members come after them under the same object).
namespace extender {
inline constexpr automation::DispId Name = int32_t(0x80010000u);
inline constexpr automation::DispId Left = int32_t(0x80010003u);
inline constexpr automation::DispId Top = int32_t(0x80010004u);
inline constexpr automation::DispId Width = int32_t(0x80010005u);
inline constexpr automation::DispId Height = int32_t(0x80010006u);
inline constexpr automation::DispId Visible = int32_t(0x80010007u);
inline constexpr automation::DispId Default = int32_t(0x80010037u);
inline constexpr automation::DispId Cancel = int32_t(0x80010038u);
inline constexpr automation::DispId Move = int32_t(0x80011001u);
} // namespace extender

class ControlSite : public ControlHost
{
public:
    // createObject(classIdOrProgId); raises 429 when that fails and 13 when the
    // object made is no control. Initialize runs here.
    ControlSite(const QString& classIdOrProgId, const QString& name, QWidget* parent);
    ControlSite(automation::ObjectRef control, const QString& name, QWidget* parent);
    ~ControlSite() override;
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    // A newly placed instance (InitProperties), or one loaded from the host's stored
    // properties (ReadProperties); then Resize with the current extent.
    void initNew();
    void load(const PropertyBag& bag);
    // WriteProperties into a new bag.
    PropertyBag save() const;

    // The instance as the host's code reaches it: extender members (Name, Visible,
    // Left, Top, Width, Height, Move, Default, Cancel), then the control's own.
    automation::ObjectRef object() const { return m_extender; }
    Control& control() const { return *m_control; }
    QWidget* widget() const { return m_control->widget(); }

    // Puts the control where a form's placeholder widget lies (a plain widget of the
    // same name in a Designer form): the control's widget takes its parent, place in
    // the parent's layout, geometry, visibility and child widgets, which then lie
    // above the control's elements at the places they had (a layout set on the
    // placeholder itself is not carried over). The placeholder stays behind, hidden.
    // Run it after initNew or load.
    void replace(QWidget* placeholder);

    // Extender: position and size in twips of the parent, visibility.
    void move(int32_t left, int32_t top, int32_t width, int32_t height);
    int32_t left() const { return m_left; }
    int32_t top() const { return m_top; }
    void setVisible(bool visible);
    bool isVisible() const { return m_visible; }
    const QString& name() const { return m_name; }
    // Default and Cancel. For a control that acts like a button they are the host's
    // default and cancel handling: the default one is shown as default (ambient
    // DisplayAsDefault), and while it is shown in the active window, Enter (or Esc
    // for the cancel one) pressed anywhere in that window reaches it as an access key.
    void setDefault(bool isDefault);
    void setCancel(bool isCancel);
    bool isDefault() const { return m_default; }
    bool isCancel() const { return m_cancel; }

    // Ambient properties; the display name is the instance's name unless set.
    void setDisplayName(const QString& name);
    void setDisplayAsDefault(bool asDefault);
    void setAmbientFont(const FontInfo& font);
    void setUserMode(bool userMode);

    // What the control tells its host.
    std::function<void(const QString& name)> onPropertyChanged;
    std::function<void(automation::DispId id, const QString& name, automation::Args& args)> onEvent;

    // ControlHost
    QString ambientDisplayName() const override;
    bool ambientDisplayAsDefault() const override { return m_displayAsDefault; }
    FontInfo ambientFont() const override { return m_font; }
    bool ambientUserMode() const override { return m_userMode; }
    basic::Variant extenderProperty(const QString& name) const override;
    void propertyChanged(const QString& name) override;
    void raiseEvent(automation::DispId id, const QString& name, automation::Args& args) override;

private:
    void attach(automation::ObjectRef control, QWidget* parent);
    // Creates or removes the window shortcuts of the default and cancel handling.
    void updateKeys();
    void accessKey(int character);

    automation::ObjectRef m_object;
    Control* m_control = nullptr;
    automation::ObjectRef m_extender;
    QString m_name;
    QString m_displayName;
    FontInfo m_font;
    bool m_displayAsDefault = false;
    bool m_userMode = true;
    bool m_default = false;
    bool m_cancel = false;
    bool m_visible = true;
    int32_t m_left = 0;
    int32_t m_top = 0;
    // Enter, keypad Enter and Esc, on the control's widget.
    std::vector<QPointer<QShortcut>> m_keys;
};

} // namespace controlframework
