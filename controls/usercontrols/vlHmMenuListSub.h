#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "controls/usercontrols/MenuListBase.h"
#include "platform/automation/MemberTable.h"

// vlHmMenuListSub: a fixed menu of four message lists with single selection, in a
// titled frame, plus one action link (the sub-option) shown directly under the
// first or the third option while that option is selected.
namespace usercontrols {

class vlHmMenuListSub : public WithMembers<vlHmMenuListSub, MenuListBase>
{
public:
    static constexpr int32_t MaxOptions = 4;

    vlHmMenuListSub();

    static const automation::MemberTable<vlHmMenuListSub>& table();
    QString className() const override { return QStringLiteral("vlHmMenuListSub"); }

    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    // The frame's body and the sub-option's background.
    void setListColor(forms::OleColor color) override;
    // Ignored unless 1 <= option <= 4.
    void setAltColor(int32_t option, bool showAltColor);
    // 9 unless 1 <= option <= 4, and then nothing changes.
    void selectOption(int32_t option);
    const controlframework::ControlSite& subOptionSite() const { return *m_subOption; }

private:
    void layout();
    void arrange(int32_t option);
    void optionClicked(size_t element) override;
    void subOptionClicked();

    std::unique_ptr<controlframework::ControlSite> m_subOption;
};

} // namespace usercontrols
