#pragma once

#include "platform/controlframework/PropertyPage.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QSpinBox;

// The "General" pages of the list control (dialog 200) and the grid control
// (dialog 201): check boxes, lists and the AlternateItems number, each bound to a
// property of the selected control by name.
namespace listgrid {

class ClientSite;

// The client site of a control object of this library (the form it lies on), or null.
const ClientSite* clientSiteOf(const automation::ObjectRef& object);

class CListPropPage : public controlframework::PropertyPage
{
public:
    explicit CListPropPage(QWidget* parent = nullptr);

protected:
    void initDialog() override;
    void exchange(controlframework::PageExchange& px) override;

private:
    QComboBox* m_styleList;
    QComboBox* m_selectStyleList;
    QComboBox* m_imageListCombo;
    QComboBox* m_smallImageListCombo;
    QComboBox* m_dataSourceCombo;
    QCheckBox* m_sortBox;
    QCheckBox* m_guideBox;
    QCheckBox* m_integralBox;
    QCheckBox* m_rowSizeBox;
    QCheckBox* m_captionBox;
    QCheckBox* m_refreshBox;
    QSpinBox* m_alternateSpin;

    // The page's own values, replaced by the control's when it opens.
    int16_t m_style = -1;
    int16_t m_selectStyle = -1;
    QString m_imageList;
    QString m_smallImageList;
    QString m_dataSource;
    bool m_sort = false;
    bool m_guideVisible = false;
    bool m_integralHeight = false;
    bool m_allowRowSize = false;
    bool m_captionVisible = false;
    bool m_refreshOnScroll = false;
    int16_t m_alternateItems = 0;
};

class CGridPropPage : public controlframework::PropertyPage
{
public:
    explicit CGridPropPage(QWidget* parent = nullptr);

protected:
    void initDialog() override;
    void exchange(controlframework::PageExchange& px) override;

private:
    QCheckBox* m_gridLinesBox;
    QCheckBox* m_guideBox;
    QCheckBox* m_integralBox;
    QCheckBox* m_rowSizeBox;
    QCheckBox* m_captionBox;
    QComboBox* m_dataSourceCombo;
    QSpinBox* m_alternateSpin;
    QCheckBox* m_sortBox;
    QCheckBox* m_validateBox;
    QCheckBox* m_blankLastRowBox;

    QString m_dataSource;
    bool m_gridLinesVisible = false;
    bool m_guideVisible = false;
    bool m_integralHeight = false;
    bool m_allowRowSize = false;
    bool m_captionVisible = false;
    int16_t m_alternateItems = 0;
    bool m_sort = false;
    bool m_validateOnLostFocus = true;
    bool m_allowBlankLastRow = false;
};

// Makes the three pages known to the property frame by their class identifiers.
void registerPropertyPages();

} // namespace listgrid
