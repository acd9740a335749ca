#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "controls/usercontrols/MenuListBase.h"
#include "platform/automation/MemberTable.h"

// vlHmMenuList: a titled menu of up to twelve options with single selection, built
// from this library's frame and link labels. The selected option shows bold;
// selecting another raises OptionClicked with its ID.
namespace usercontrols {

class vlHmMenuList : public WithMembers<vlHmMenuList, MenuListBase>
{
public:
    static constexpr int32_t MaxOptions = 12;

    vlHmMenuList();

    static const automation::MemberTable<vlHmMenuList>& table();
    QString className() const override { return QStringLiteral("vlHmMenuList"); }

    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    void setListColor(forms::OleColor color) override;
    int32_t options() const { return m_options; }
    // A negative number becomes 1; above 12 all twelve show.
    void setOptions(int32_t options);
    // 9 unless 1 <= option <= 12.
    void setOption(int32_t option, const QString& caption, int32_t id);
    void drawOptions();
    // Ignored unless 1 <= option <= Options; 9 for an option beyond 12.
    void setAltColor(int32_t option, bool showAltColor);
    // 9 unless 1 <= option <= 12, and then nothing changes.
    void selectOption(int32_t option);
    // `id` by reference: the OptionClicked handler's lOptionID.
    void selectOptionById(int32_t& id);

private:
    void layout();
    void optionClicked(size_t element) override;

    bool m_autoSize = false;
    int32_t m_options = 0;
};

} // namespace usercontrols
