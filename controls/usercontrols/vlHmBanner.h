#pragma once

#include "controls/usercontrols/WithMembers.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/controlframework/Control.h"

#include <QString>

#include <cstdint>

// vlHmBanner: a heading strip of fixed height, a filled rounded rectangle with a
// large caption on the left and a smaller sub caption on the right. Its setters
// report no property change; every property is written whenever the host stores it.
namespace usercontrols {

class vlHmBanner : public WithMembers<vlHmBanner>
{
public:
    static constexpr int32_t FixedHeight = 495;
    static constexpr int32_t MinWidth = 720;

    vlHmBanner();

    static const automation::MemberTable<vlHmBanner>& table();
    QString className() const override { return QStringLiteral("vlHmBanner"); }

    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;

    forms::OleColor backColorProperty() const { return m_backColor; }
    void setBackColorProperty(forms::OleColor color);
    forms::OleColor borderColor() const { return m_borderColor; }
    void setBorderColor(forms::OleColor color);
    forms::OleColor foreColor() const { return m_foreColor; }
    void setForeColor(forms::OleColor color);
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    const QString& subCaption() const { return m_subCaption; }
    void setSubCaption(const QString& caption);
    bool subCaptionVisible() const { return m_subCaptionVisible; }
    void setSubCaptionVisible(bool visible);
    bool lockBorderColor() const { return m_lockBorderColor; }
    void setLockBorderColor(bool lock);
    int16_t borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int16_t width);

private:

    automation::LibraryLock m_lock;
    controlframework::Shape& m_shpBanner;
    controlframework::Label& m_lblSubCaption;
    controlframework::Label& m_lblCaption;

    QString m_caption;
    QString m_subCaption;
    bool m_subCaptionVisible = true;
    bool m_lockBorderColor = true;
    forms::OleColor m_backColor = 0;
    forms::OleColor m_borderColor = 0;
    forms::OleColor m_foreColor = 0xFFFFFF;
    int16_t m_borderWidth = 1;
    bool m_layoutBusy = false;
};

} // namespace usercontrols
