#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

#include <array>
#include <cstdint>

// vlHmWarnMsg: a message strip, a small status icon with a word-wrapping message to
// its right, shown with Show and cleared with Hide. Acts like a label. At run time a
// loaded strip starts empty; in a designer it shows its display name.
namespace usercontrols {

class vlHmWarnMsg : public WithMembers<vlHmWarnMsg>
{
public:
    static constexpr int32_t MinWidth = 1200;
    static constexpr int32_t MinHeight = 300;

    vlHmWarnMsg();

    static const automation::MemberTable<vlHmWarnMsg>& table();
    QString className() const override { return QStringLiteral("vlHmWarnMsg"); }

    void initialize() override;
    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor color);
    // 0 transparent, 1 opaque; other values are ignored.
    int32_t backStyle() const { return isOpaque() ? 1 : 0; }
    void setBackStyle(int32_t style);
    forms::OleColor foreColor() const { return m_foreColor; }
    void setForeColor(forms::OleColor color);
    controlframework::FontInfo font() const;
    void setFont(const controlframework::FontInfo& font);

    // Show(p_IconStyle, p_sCaption) and Hide.
    void showMessage(int32_t iconStyle, const QString& caption);
    void hideMessage();
    int32_t iconStyle() const { return m_iconStyle; }

private:
    void setIconStyle(int32_t style);
    void setMessage(const QString& text);
    void arrange();

    automation::LibraryLock m_lock;
    controlframework::Image& m_imgDisplayIcon;
    controlframework::Label& m_lblCaption;
    std::array<controlframework::Image*, 3> m_imgIconXP{};

    forms::OleColor m_backColor = 0x8000000F;
    forms::OleColor m_foreColor = 0x80000012;
    int32_t m_iconStyle = 0;
    bool m_layoutBusy = false;
};

} // namespace usercontrols
