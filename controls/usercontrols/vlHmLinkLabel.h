#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

#include <cstdint>

// vlHmLinkLabel: a hyperlink-style caption, underlined while the pointer is over it
// (or always), bold while Selected; a click raises HyperJump (cancellable), opens
// the URL and raises Click. The control always has its caption's size.
// vlHmLinkLabelMultiLine is its twin with a fixed, word-wrapping caption area.
namespace usercontrols {

class vlHmLinkLabel : public WithMembers<vlHmLinkLabel>
{
public:
    // What HyperJump returns, as the desktop's open reports it: 0 for an empty URL,
    // above 32 when the address was handed to the desktop to open, 32 or less when
    // it was not: Refused for an address that is no web or mail address, NotOpened
    // when the desktop's opener did not start.
    static constexpr int32_t Opened = 42;
    static constexpr int32_t Refused = 5;
    static constexpr int32_t NotOpened = 31;

    vlHmLinkLabel();

    static const automation::MemberTable<vlHmLinkLabel>& table();
    QString className() const override { return QStringLiteral("vlHmLinkLabel"); }

    void initialize() override;
    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;
    void show() override;

    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor color);
    int32_t backStyle() const { return isOpaque() ? 1 : 0; }
    // 0 or 1; anything else raises 380 ("HyperLabel.BackStyle", "Illegal Property Value").
    void setBackStyle(int32_t style);
    QString caption() const;
    void setCaption(const QString& caption);
    forms::OleColor foreColor() const { return m_foreColor; }
    void setForeColor(forms::OleColor color);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    controlframework::FontInfo font() const;
    void setFont(const controlframework::FontInfo& font);
    bool hover() const { return m_hover; }
    void setHover(bool hover);
    const QString& url() const { return m_url; }
    void setUrl(const QString& url);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    bool isHovering() const { return m_hoverFlag; }

    // Opens an http, https or mailto address through the desktop and returns the
    // result code above; raises nothing and shows nothing.
    int32_t hyperJump(const QString& url);
    // Brings the caption's look in line with Selected, Hover and the pointer.
    void refresh();

protected:
    enum class Lines { Single, Multi };
    explicit vlHmLinkLabel(Lines lines);

private:
    void sizeToCaption();
    void fontChanged(const controlframework::FontInfo& font);
    void captionDropped();
    void captionClicked();
    // Raises HyperJump and, unless cancelled, opens the URL (its result is not used).
    void jumpUnlessCancelled();
    QString readCaptionDefault() const;

    automation::LibraryLock m_lock;
    const Lines m_lines;
    controlframework::Label& m_lblCaption;
    controlframework::Image& m_imgCursor;

    forms::OleColor m_backColor = 0;
    forms::OleColor m_foreColor = 0;
    QString m_url;
    bool m_hover = false;
    bool m_selected = false;
    bool m_enabled = true;
    bool m_hoverFlag = false;
    bool m_busy = false;
};

class vlHmLinkLabelMultiLine : public vlHmLinkLabel
{
public:
    vlHmLinkLabelMultiLine() : vlHmLinkLabel(Lines::Multi) {}
    QString className() const override { return QStringLiteral("vlHmLinkLabelMultiLine"); }
};

} // namespace usercontrols
