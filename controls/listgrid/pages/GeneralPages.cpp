#include "controls/listgrid/pages/GeneralPages.h"

#include "controls/listgrid/ContainerHelpers.h"
#include "controls/listgrid/PropertyBrowsing.h"
#include "controls/listgrid/Registration.h"
#include "controls/listgrid/pages/ColumnsPage.h"
#include "controls/listgrid/pages/PageItems.h"

#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace listgrid {

using controlframework::PageExchange;

const ClientSite* clientSiteOf(const automation::ObjectRef& object)
{
    const auto* control = dynamic_cast<const controlframework::Control*>(object.get());
    return control && control->hasHost() ? dynamic_cast<const ClientSite*>(&control->host()) : nullptr;
}

namespace {

QComboBox* comboBox(QWidget* page, const char* name, int id, bool editable)
{
    auto* combo = pageItem<QComboBox>(page, name, id);
    combo->setEditable(editable);
    combo->setMinimumContentsLength(16);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

RangeSpin* alternateSpin(QWidget* page)
{
    auto* spin = pageItem<RangeSpin>(page, "AlternateItems", 5061);
    spin->setProperty("spinId", 5060);
    return spin;
}

void addRow(QGridLayout* grid, int row, const char* label, QWidget* field)
{
    auto* caption = new QLabel(QLatin1String(label), grid->parentWidget());
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
}

// The predefined strings the control offers for a property, by the property's name.
void fillFromControl(QComboBox* list, const automation::ObjectRef& object, const char* property)
{
    list->clear();
    auto* browsing = dynamic_cast<controlframework::PerPropertyBrowsing*>(object.get());
    if (!browsing)
        return;
    try {
        QStringList strings;
        std::vector<uint32_t> cookies;
        if (browsing->predefinedStrings(object->idOfName(QLatin1String(property)), strings, cookies))
            list->addItems(strings);
    } catch (const basic::RuntimeError&) {
        // A control without the property offers nothing.
    }
}

} // namespace

// ---- list ----

CListPropPage::CListPropPage(QWidget* parent) : PropertyPage(resourceString(strings::ListPageCaption), parent)
{
    m_styleList = comboBox(this, "Style", 5001, false);
    m_selectStyleList = comboBox(this, "SelectStyle", 5004, false);
    m_imageListCombo = comboBox(this, "ImageList", 5006, true);
    m_smallImageListCombo = comboBox(this, "SmallImageList", 5007, true);
    m_dataSourceCombo = comboBox(this, "DataSource", 5008, true);
    m_alternateSpin = alternateSpin(this);
    m_sortBox = checkBoxItem(this, "Sort", 5013, "Sort");
    m_guideBox = checkBoxItem(this, "GuideVisible", 5017, "Guide Visible");
    m_integralBox = checkBoxItem(this, "IntegralHeight", 5015, "Integral Height");
    m_rowSizeBox = checkBoxItem(this, "AllowRowSize", 5014, "Allow Row Size");
    m_captionBox = checkBoxItem(this, "CaptionVisible", 5016, "Caption Visible");
    m_refreshBox = checkBoxItem(this, "RefreshOnScroll", 5071, "Refresh On Scroll");

    auto* grid = new QGridLayout(this);
    addRow(grid, 0, "Style:", m_styleList);
    addRow(grid, 1, "Select Style:", m_selectStyleList);
    addRow(grid, 2, "Image List:", m_imageListCombo);
    addRow(grid, 3, "Small Image List:", m_smallImageListCombo);
    addRow(grid, 4, "Data Source:", m_dataSourceCombo);
    addRow(grid, 5, "Alternate Items:", m_alternateSpin);
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* box : {m_sortBox, m_guideBox, m_integralBox, m_rowSizeBox, m_captionBox, m_refreshBox})
        boxes->addWidget(box);
    boxes->addStretch();
    grid->addLayout(boxes, 0, 2, 6, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);
    grid->setHorizontalSpacing(12);
}

void CListPropPage::initDialog()
{
    static_cast<RangeSpin*>(m_alternateSpin)->setSpinRange(0, 256);
    const automation::ObjectRef object = firstObject();
    fillFromControl(m_styleList, object, "Style");
    fillFromControl(m_selectStyleList, object, "SelectStyle");
    const ClientSite* site = clientSiteOf(object);
    FillImageListCombo(site, m_imageListCombo);
    FillImageListCombo(site, m_smallImageListCombo);
    FillDataSourceCombo(site, m_dataSourceCombo);
}

void CListPropPage::exchange(PageExchange& px)
{
    px.listIndex(m_styleList, "Style", m_style);
    px.listIndex(m_selectStyleList, "SelectStyle", m_selectStyle);
    px.comboText(m_imageListCombo, "ImageList", m_imageList);
    px.check(m_sortBox, "Sort", m_sort);
    px.check(m_guideBox, "GuideVisible", m_guideVisible);
    px.check(m_integralBox, "IntegralHeight", m_integralHeight);
    px.check(m_rowSizeBox, "AllowRowSize", m_allowRowSize);
    px.check(m_captionBox, "CaptionVisible", m_captionVisible);
    px.check(m_refreshBox, "RefreshOnScroll", m_refreshOnScroll);
    px.comboText(m_dataSourceCombo, "DataSource", m_dataSource);
    px.comboText(m_smallImageListCombo, "SmallImageList", m_smallImageList);
    px.number(m_alternateSpin, "AlternateItems", m_alternateItems);
}

// ---- grid ----

CGridPropPage::CGridPropPage(QWidget* parent) : PropertyPage(resourceString(strings::GridPageCaption), parent)
{
    m_gridLinesBox = checkBoxItem(this, "GridLinesVisible", 5018, "Grid Lines Visible");
    m_guideBox = checkBoxItem(this, "GuideVisible", 5017, "Guide Visible");
    m_integralBox = checkBoxItem(this, "IntegralHeight", 5015, "Integral Height");
    m_rowSizeBox = checkBoxItem(this, "AllowRowSize", 5014, "Allow Row Size");
    m_captionBox = checkBoxItem(this, "CaptionVisible", 5016, "Caption Visible");
    m_dataSourceCombo = comboBox(this, "DataSource", 5008, true);
    m_alternateSpin = alternateSpin(this);
    m_sortBox = checkBoxItem(this, "Sort", 5013, "Sort");
    m_validateBox = checkBoxItem(this, "ValidateOnLostFocus", 5069, "Validate On Lost Focus");
    m_blankLastRowBox = checkBoxItem(this, "AllowBlankLastRow", 5073, "Allow Blank Last Row");

    auto* grid = new QGridLayout(this);
    addRow(grid, 0, "Data Source:", m_dataSourceCombo);
    addRow(grid, 1, "Alternate Items:", m_alternateSpin);
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* box : {m_gridLinesBox, m_guideBox, m_integralBox, m_rowSizeBox, m_captionBox, m_sortBox,
                           m_validateBox, m_blankLastRowBox})
        boxes->addWidget(box);
    boxes->addStretch();
    grid->addLayout(boxes, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    grid->setHorizontalSpacing(12);
}

void CGridPropPage::initDialog()
{
    static_cast<RangeSpin*>(m_alternateSpin)->setSpinRange(0, 256);
    FillDataSourceCombo(clientSiteOf(firstObject()), m_dataSourceCombo);
}

void CGridPropPage::exchange(PageExchange& px)
{
    px.check(m_gridLinesBox, "GridLinesVisible", m_gridLinesVisible);
    px.check(m_guideBox, "GuideVisible", m_guideVisible);
    px.check(m_integralBox, "IntegralHeight", m_integralHeight);
    px.check(m_rowSizeBox, "AllowRowSize", m_allowRowSize);
    px.check(m_captionBox, "CaptionVisible", m_captionVisible);
    px.comboText(m_dataSourceCombo, "DataSource", m_dataSource);
    px.number(m_alternateSpin, "AlternateItems", m_alternateItems);
    px.check(m_sortBox, "Sort", m_sort);
    px.check(m_validateBox, "ValidateOnLostFocus", m_validateOnLostFocus);
    px.check(m_blankLastRowBox, "AllowBlankLastRow", m_allowBlankLastRow);
}

void registerPropertyPages()
{
    controlframework::registerPropertyPage(QLatin1String(ListPageClassId), [] { return std::make_unique<CListPropPage>(); });
    controlframework::registerPropertyPage(QLatin1String(GridPageClassId), [] { return std::make_unique<CGridPropPage>(); });
    controlframework::registerPropertyPage(QLatin1String(ColumnsPageClassId),
                                           [] { return std::make_unique<CColumnsPropPage>(); });
}

} // namespace listgrid
