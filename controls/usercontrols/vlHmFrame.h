#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

#include <cstdint>

// vlHmFrame: a titled panel, a coloured title bar with its caption over a bordered
// body. A container: widgets placed on its widget lie above its elements.
namespace usercontrols {

class vlHmFrame : public controlframework::Control
{
public:
    // The caption's design-time text, and the write default of "Caption".
    static inline const QString DesignCaption = QStringLiteral("Your Caption Here !");

    vlHmFrame();

    QString className() const override { return QStringLiteral("vlHmFrame"); }
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value) override;

    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor color);
    forms::OleColor titleColor() const { return m_titleColor; }
    void setTitleColor(forms::OleColor color);
    const QString& caption() const { return m_captionText; }
    void setCaption(const QString& caption);
    bool largeFont() const { return m_largeFont; }
    void setLargeFont(bool large);
    // The body's size less 60 twips.
    int32_t internalWidth() const;
    int32_t internalHeight() const;

private:
    static const automation::MemberTable<vlHmFrame>& table();
    void layout();

    automation::LibraryLock m_lock;
    controlframework::Shape& m_shpTitle;
    controlframework::Shape& m_shpFrame;
    controlframework::Label& m_lblCaption;

    QString m_captionText;
    forms::OleColor m_backColor = 0xFFFFFF;
    forms::OleColor m_titleColor = 0;
    bool m_largeFont = false;
    int32_t m_bodyOffset = 420; // title bar's top to the body's top
    int32_t m_captionTop = 120;
};

} // namespace usercontrols
