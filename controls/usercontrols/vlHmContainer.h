#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <cstdint>

// vlHmContainer: a plain panel, one filled shape with a border of chosen width,
// colour and corner style. A container: widgets placed on it lie above the shape.
namespace usercontrols {

class vlHmContainer : public WithMembers<vlHmContainer>
{
public:
    // The widest border the layout's arithmetic allows (BorderWidth x 30 must fit
    // in 16 bits).
    static constexpr int16_t MaxBorderWidth = 1092;

    vlHmContainer();

    static const automation::MemberTable<vlHmContainer>& table();
    QString className() const override { return QStringLiteral("vlHmContainer"); }

    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    // By reference: a width below 1 becomes 1, in `width` too. Above MaxBorderWidth
    // raises 6 (overflow) and changes nothing.
    int16_t borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int16_t& width);
    // A shape kind (0 square corners, 4 rounded; 1, 2, 3, 5 the shape's other kinds);
    // anything else raises 380 and changes nothing.
    int32_t borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int32_t& style);
    forms::OleColor borderColor() const { return m_borderColor; }
    void setBorderColor(forms::OleColor& color);
    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor& color);
    void refresh();

private:
    void layout();

    automation::LibraryLock m_lock;
    controlframework::Shape& m_shpBorder;

    int32_t m_borderStyle = 0;
    int16_t m_borderWidth = 1;
    forms::OleColor m_borderColor = 0;
    forms::OleColor m_backColor = 0xE0E0E0;
};

} // namespace usercontrols
