#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

// vlHmButton: a flat push button whose face takes the hover colour while the
// pointer is over it and flashes the click colour when it is clicked. Takes part
// in its host's default and cancel handling (Enter and Esc as access keys).
namespace usercontrols {

class vlHmButton : public WithMembers<vlHmButton>
{
public:
    vlHmButton();

    static const automation::MemberTable<vlHmButton>& table();
    QString className() const override { return QStringLiteral("vlHmButton"); }

    void initialize() override;
    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;
    void click() override;
    bool actsLikeButton() const override { return true; }
    void accessKeyPress(int character) override;
    void ambientChanged(const QString& name) override;
    void enterFocus() override;
    void exitFocus() override;
    void dragOver(controlframework::Element* source, controlframework::DragState state) override;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor color);
    forms::OleColor borderColor() const { return m_borderColor; }
    void setBorderColor(forms::OleColor color);
    forms::OleColor hoverColor() const { return m_hoverColor; }
    void setHoverColor(forms::OleColor color);
    forms::OleColor clickColor() const { return m_clickColor; }
    void setClickColor(forms::OleColor color);
    forms::OleColor foreColor() const { return m_foreColor; }
    void setForeColor(forms::OleColor color);
    // Repaints the face: the hover colour while hovering, else the back colour.
    void refresh();
    bool isHovering() const { return m_hover; }

private:
    void layout();
    void clickSequence();
    void endHover();

    automation::LibraryLock m_lock;
    controlframework::Shape& m_shpBtn;
    controlframework::Label& m_lblCaption;
    controlframework::Shape& m_shpFocus;
    controlframework::Shape& m_shpDefault;
    controlframework::Label& m_lblDragArea;

    QString m_caption;
    forms::OleColor m_backColor = 0xE0E0E0;
    forms::OleColor m_foreColor = 0x80000008;
    forms::OleColor m_borderColor = 0x80000008;
    forms::OleColor m_hoverColor = 0xC0C0C0;
    forms::OleColor m_clickColor = 0x808080;
    bool m_enabled = true;
    bool m_showDefault = false;
    bool m_hover = false;
    bool m_layoutBusy = false;
};

} // namespace usercontrols
