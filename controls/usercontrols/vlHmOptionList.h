#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "controls/usercontrols/Identities.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

#include <array>
#include <cstdint>

// vlHmOptionList: a rounded box with a bold title and up to eight clickable options;
// clicking one raises OptionClicked with its ID, the option under the pointer is
// underlined. Can size its height to the options shown.
namespace usercontrols {

class vlHmOptionList : public WithMembers<vlHmOptionList>
{
public:
    static constexpr int32_t MaxOptions = 8;

    vlHmOptionList();

    static const automation::MemberTable<vlHmOptionList>& table();
    QString className() const override { return QStringLiteral("vlHmOptionList"); }

    void initialize() override;
    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    forms::OleColor borderColor() const { return m_borderColor; }
    void setBorderColor(forms::OleColor color);
    forms::OleColor listColor() const { return m_listColor; }
    void setListColor(forms::OleColor color);
    forms::OleColor listItemColor() const { return m_listItemColor; }
    void setListItemColor(forms::OleColor color);
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    int32_t options() const { return m_options; }
    // A negative number becomes 1; above 8 all eight show.
    void setOptions(int32_t options);
    // 9 unless 1 <= option <= 8.
    void setOption(int32_t option, const QString& caption, int32_t id);
    void drawOptions();
    const udtOptionListItem& item(int32_t option) const { return m_items.at(size_t(option - 1)); }

private:
    void layout();
    void positionOptions();
    void applyListItemColor();
    void showOptionHover(size_t i);
    void optionClicked(size_t i);

    automation::LibraryLock m_lock;
    controlframework::Shape& m_shpOptions;
    controlframework::Label& m_lblCaption;
    std::array<controlframework::Label*, MaxOptions> m_lblOption{};
    controlframework::Image& m_imgCursor;

    bool m_autoSize = false;
    forms::OleColor m_listColor = 0xE0E0E0;
    forms::OleColor m_listItemColor = 0;
    forms::OleColor m_borderColor = 0;
    QString m_caption;
    std::array<udtOptionListItem, MaxOptions> m_items{};
    int32_t m_options = 0;
    bool m_layoutBusy = false;
};

} // namespace usercontrols
