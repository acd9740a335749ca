#include "controls/listgrid/pages/ColumnsPage.h"

#include "controls/listgrid/ColumnSettings.h"
#include "controls/listgrid/ContainerHelpers.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/PropertyBrowsing.h"
#include "controls/listgrid/pages/GeneralPages.h"
#include "controls/listgrid/pages/PageItems.h"

#include "package/datacontrol/DataControlInterface.h"
#include "package/listwindow/ListMessages.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace listgrid {

using automation::Args;
using basic::Variant;

namespace {

// The ControlStyle bit behind each option box, per control type (0: not offered).
// "Button Visible" is checked while its bit is clear.
constexpr uint32_t optionBits[6][CColumnsPropPage::OptionCount] = {
    /* Edit */ {0x800, 0, 0, 0x8, 0x2000, 0, 0},
    /* Numeric */ {0x20, 0x40, 0x10, 0, 0, 0, 0},
    /* Calculator */ {0x20, 0x40, 0x10, 0, 0, 0, 0},
    /* Date */ {0x20, 0x10, 0, 0, 0, 0, 0},
    /* Popup */ {0x20, 0x400, 0, 0x40, 0x100, 0x80, 0x1000},
    /* ComboBox */ {0, 0, 0, 0, 0, 0, 0},
};

uint32_t offered(int16_t controlType, int option)
{
    return controlType >= 0 && controlType < 6 ? optionBits[controlType][option] : 0;
}

// Every bit a control type's boxes show.
uint32_t shownBits(int16_t controlType)
{
    uint32_t bits = 0;
    for (int o = 0; o < CColumnsPropPage::OptionCount; ++o)
        bits |= offered(controlType, o);
    return bits;
}

// The control types each data type allows (bit per control type).
bool allowed(int16_t dataType, int16_t controlType)
{
    enum : unsigned { Edit = 1, Num = 2, Calc = 4, Date = 8, Popup = 16, Combo = 32 };
    static constexpr unsigned table[7] = {
        Edit | Popup | Combo,             // String
        Edit | Num | Calc | Popup,        // Long
        Edit | Num | Calc | Popup,        // Integer
        Edit | Num | Calc | Popup,        // Double
        Edit | Num | Calc | Popup,        // Single
        Edit | Date | Popup,              // Date
        Edit | Num | Calc | Popup | Combo // Bit
    };
    if (dataType < 0 || dataType > 6 || controlType < 0 || controlType > 5)
        return controlType == 0;
    return (table[dataType] & (1u << controlType)) != 0;
}

int16_t dataTypeOfSql(int16_t sqlType)
{
    switch (sqlType) {
    case -6: case 2: case 3: case 5: return 2; // Integer
    case 4: return 1;                          // Long
    case 6: return 4;                          // Single
    case 7: case 8: return 3;                  // Double
    case 9: case 11: return 5;                 // Date
    case -7: return 6;                         // Bit
    default: return 0;                         // String
    }
}

// Property reads and writes by name; a member the object lacks, or a call that
// raises, is passed over.
bool getProperty(const automation::ObjectRef& object, const char* name, Variant& value, Args args = {})
{
    if (!object)
        return false;
    try {
        value = object->get(QLatin1String(name), std::move(args));
        return true;
    } catch (const basic::RuntimeError&) {
        return false;
    }
}

void putProperty(const automation::ObjectRef& object, const char* name, const Variant& value)
{
    if (!object)
        return;
    try {
        object->put(QLatin1String(name), value);
    } catch (const basic::RuntimeError&) {
    }
}

void callMember(const automation::ObjectRef& object, const char* name, Args args)
{
    if (!object)
        return;
    try {
        object->call(QLatin1String(name), std::move(args));
    } catch (const basic::RuntimeError&) {
    }
}

QComboBox* dropList(QWidget* parent, const char* name, int id, std::initializer_list<const char*> entries)
{
    auto* list = pageItem<QComboBox>(parent, name, id);
    for (const char* entry : entries)
        list->addItem(QLatin1String(entry));
    list->setMinimumContentsLength(12);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

RangeSpin* spin(QWidget* parent, const char* name, int id, int spinId, int low, int high)
{
    auto* s = pageItem<RangeSpin>(parent, name, id);
    s->setProperty("spinId", spinId);
    s->setSpinRange(low, high);
    return s;
}

QLabel* label(QWidget* parent, const char* text, QWidget* buddy)
{
    auto* l = new QLabel(QLatin1String(text), parent);
    l->setBuddy(buddy);
    return l;
}

QString fieldListText(const QComboBox* list) { return list->currentIndex() < 0 ? QString() : list->currentText(); }

// The names offered for DataField: a group's fields with its name and a dot in front
// (groups at the top level only), no field of type -3.
void addFields(vldata::FieldLayout& layout, const QString& prefix, QStringList& names)
{
    for (int32_t i = 0; i < layout.count(); ++i) {
        const vldata::Field& f = *layout.field(i);
        if (f.sqlType == -3)
            continue;
        if (f.sqlType == -2) {
            const QString group = f.name + QLatin1Char('.');
            if (f.nested && prefix.isEmpty())
                addFields(*f.nested, prefix + group, names);
            continue;
        }
        names << prefix + f.name;
    }
}

} // namespace

CColumnsPropPage::CColumnsPropPage(QWidget* parent) : PropertyPage(resourceString(strings::ColumnsPageCaption), parent)
{
    auto* top = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    m_columnSpin = spin(this, "Column", 5003, 5005, 1, 1);
    m_columnSpin->setRange(1, 1);
    m_columnSpin->setTextReadOnly();
    m_columnSpin->setMinimumWidth(60);
    m_add = pageItem<QPushButton>(this, "Add", 5051);
    m_add->setText(QStringLiteral("&Add"));
    m_insert = pageItem<QPushButton>(this, "Insert", 5007);
    m_insert->setText(QStringLiteral("&Insert"));
    m_remove = pageItem<QPushButton>(this, "Remove", 5009);
    m_remove->setText(QStringLiteral("&Remove"));
    header->addWidget(label(this, "Column:", m_columnSpin));
    header->addWidget(m_columnSpin);
    header->addStretch();
    header->addWidget(m_add);
    header->addWidget(m_insert);
    header->addWidget(m_remove);
    top->addLayout(header);

    m_tabs = pageItem<QTabWidget>(this, "Tabs", 5011);
    top->addWidget(m_tabs);

    // General
    auto* general = new QWidget(this);
    general->setObjectName(QStringLiteral("GeneralTab"));
    m_key = pageItem<QLineEdit>(general, "Key", 5020);
    m_caption = pageItem<QLineEdit>(general, "Caption", 5022);
    m_captionAlign = dropList(general, "CaptionAlignment", 5024, {"Left", "Right", "Center"});
    m_columnAlign = dropList(general, "ColumnAlignment", 5026, {"Left", "Right", "Center"});
    m_visible = checkBoxItem(general, "Visible", 5027, "Visible");
    m_enabled = checkBoxItem(general, "Enabled", 5030, "Enabled");
    {
        auto* g = new QGridLayout(general);
        g->addWidget(label(general, "Key:", m_key), 0, 0);
        g->addWidget(m_key, 0, 1, 1, 3);
        g->addWidget(label(general, "Caption:", m_caption), 1, 0);
        g->addWidget(m_caption, 1, 1, 1, 3);
        g->addWidget(label(general, "Caption Align:", m_captionAlign), 2, 0);
        g->addWidget(m_captionAlign, 2, 1);
        g->addWidget(m_visible, 2, 3);
        g->addWidget(label(general, "Column Align:", m_columnAlign), 3, 0);
        g->addWidget(m_columnAlign, 3, 1);
        g->addWidget(m_enabled, 3, 3);
        g->setColumnStretch(2, 1);
        g->setRowStretch(4, 1);
    }

    // Advanced
    auto* advanced = new QWidget(this);
    advanced->setObjectName(QStringLiteral("AdvancedTab"));
    m_allowMove = checkBoxItem(advanced, "AllowMove", 5031, "Allow Move");
    m_allowSelect = checkBoxItem(advanced, "AllowSelect", 5032, "Allow Select");
    m_allowSize = checkBoxItem(advanced, "AllowSize", 5033, "Allow Size");
    m_autoSize = checkBoxItem(advanced, "AutoSize", 5035, "Auto Size");
    m_fixed = checkBoxItem(advanced, "Fixed", 5034, "Fixed");
    {
        auto* g = new QGridLayout(advanced);
        g->addWidget(m_allowMove, 0, 0);
        g->addWidget(m_autoSize, 0, 1);
        g->addWidget(m_allowSelect, 1, 0);
        g->addWidget(m_fixed, 1, 1);
        g->addWidget(m_allowSize, 2, 0);
        g->setRowStretch(3, 1);
        g->setColumnStretch(2, 1);
    }

    // Data
    auto* data = new QWidget(this);
    data->setObjectName(QStringLiteral("DataTab"));
    m_field = dropList(data, "DataField", 5037, {});
    m_type = dropList(data, "DataType", 5039, {"String", "Long", "Integer", "Double", "Single", "Date", "Bit"});
    m_maxLength = spin(data, "MaxLength", 5041, 5042, 1, 256);
    m_decimals = spin(data, "DecimalPlaces", 5044, 5045, 0, 11);
    m_width = spin(data, "Width", 5047, 5048, 1, 256);
    m_sort = dropList(data, "Sort", 5050, {"None", "Ascending", "Descending"});
    {
        auto* g = new QGridLayout(data);
        g->addWidget(label(data, "Field:", m_field), 0, 0);
        g->addWidget(m_field, 0, 1, 1, 3);
        g->addWidget(label(data, "Type:", m_type), 1, 0);
        g->addWidget(m_type, 1, 1);
        g->addWidget(label(data, "Sort:", m_sort), 1, 2);
        g->addWidget(m_sort, 1, 3);
        g->addWidget(label(data, "Max Length:", m_maxLength), 2, 0);
        g->addWidget(m_maxLength, 2, 1);
        g->addWidget(label(data, "Width:", m_width), 2, 2);
        g->addWidget(m_width, 2, 3);
        g->addWidget(label(data, "Decimals:", m_decimals), 3, 0);
        g->addWidget(m_decimals, 3, 1);
        g->setRowStretch(4, 1);
    }

    // Control: the type, and the option boxes in a two-column grid whose first row
    // has only its right-hand cell free.
    m_controlTab = new QWidget(this);
    m_controlTab->setObjectName(QStringLiteral("ControlTab"));
    m_controlType = dropList(m_controlTab, "ControlType", 5029,
                             {"Edit", "Numeric", "Calculator", "Date", "Popup", "ComboBox"});
    static const struct
    {
        const char* name;
        int id;
        const char* text;
    } options[OptionCount] = {
        {"Locked", 5052, "Locked"},       {"ButtonVisible", 5053, "Button Visible"},
        {"Negatives", 5054, "Negatives"}, {"Uppercase", 5055, "Uppercase"},
        {"Numeric", 5056, "Numeric"},     {"Alpha", 5057, "Alpha"},
        {"FwdSlash", 5072, "Fwd Slash"},
    };
    for (int o = 0; o < OptionCount; ++o)
        m_options[size_t(o)] = checkBoxItem(m_controlTab, options[o].name, options[o].id, options[o].text);
    {
        auto* typeRow = new QHBoxLayout;
        typeRow->addWidget(label(m_controlTab, "Control:", m_controlType));
        typeRow->addWidget(m_controlType);
        m_optionGrid = new QGridLayout(m_controlTab);
        m_optionGrid->addLayout(typeRow, 0, 0);
        // Template order: Locked at the first free cell, Button Visible below the type.
        for (int o = 0; o < OptionCount; ++o)
            m_optionGrid->addWidget(m_options[size_t(o)], o == 0 ? 0 : (o + 1) / 2, o == 0 ? 1 : (o + 1) % 2);
        m_optionGrid->setRowStretch(5, 1);
        m_optionGrid->setColumnStretch(2, 1);
    }
    m_controlTab->hide();

    connect(m_columnSpin, &QSpinBox::valueChanged, this, [this] { spinMoved(); });
    connect(m_add, &QPushButton::clicked, this, [this] { addColumn(false); });
    connect(m_insert, &QPushButton::clicked, this, [this] { addColumn(true); });
    connect(m_remove, &QPushButton::clicked, this, [this] { removeColumn(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { layoutControlTab(); });
    connect(m_field, &QComboBox::activated, this, [this] { fieldChosen(); });
    connect(m_type, &QComboBox::activated, this, [this] { typeChosen(); });
    connect(m_controlType, &QComboBox::activated, this, [this] { controlTypeChosen(); });
    connect(m_options[Numeric], &QCheckBox::clicked, this, [this] { numericClicked(); });

    for (QLineEdit* edit : {m_key, m_caption})
        connect(edit, &QLineEdit::textEdited, this, [this] { changed(); });
    for (QComboBox* list : {m_captionAlign, m_columnAlign, m_field, m_type, m_sort, m_controlType})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { changed(); });
    for (QCheckBox* b : {m_visible, m_enabled, m_allowMove, m_allowSelect, m_allowSize, m_autoSize, m_fixed})
        connect(b, &QCheckBox::toggled, this, [this] { changed(); });
    for (QCheckBox* b : m_options)
        connect(b, &QCheckBox::toggled, this, [this] { changed(); });
    for (RangeSpin* s : {m_maxLength, m_decimals, m_width})
        connect(s, &QSpinBox::valueChanged, this, [this] { changed(); });

    m_tabs->addTab(general, resourceString(strings::GeneralTab));
    m_tabs->addTab(advanced, resourceString(strings::AdvancedTab));
    m_tabs->addTab(data, resourceString(strings::DataTab));
}

CColumnsPropPage::~CColumnsPropPage() = default;

void CColumnsPropPage::changed()
{
    if (!m_filling && !isLoading())
        setModified(true);
}

// ---- the collection ----

automation::ObjectRef CColumnsPropPage::column(int16_t number) const
{
    Variant v;
    if (!getProperty(m_columns, "Item", v, {Variant(number)}) || !v.isObject())
        return nullptr;
    return v.objectValue();
}

int32_t CColumnsPropPage::columnCount() const
{
    Variant v;
    return getProperty(m_columns, "Count", v) ? basic::CLng(v) : 0;
}

void CColumnsPropPage::setSpinPosition(int value)
{
    const QScopedValueRollback filling(m_filling, true);
    m_columnSpin->setValue(value);
}

void CColumnsPropPage::resetSpinRange()
{
    const QScopedValueRollback filling(m_filling, true);
    const int count = std::max(1, int(columnCount()));
    m_columnSpin->setRange(1, count);
    m_columnSpin->setSpinRange(1, count);
}

// ---- initialisation, load and save ----

void CColumnsPropPage::initDialog()
{
    m_key->setMaxLength(32);
    m_caption->setMaxLength(64);
    m_hasControlTab = !(objects().size() == 1 && dynamic_cast<CListCtrl*>(objects().front().get()));
    if (m_hasControlTab) {
        m_controlTab->show();
        m_tabs->addTab(m_controlTab, resourceString(strings::ControlTab));
    }
    m_tabs->setCurrentIndex(0);
    for (const auto& object : objects()) {
        Variant v;
        if (getProperty(object, "Columns", v) && v.isObject())
            m_columns = v.objectValue();
    }
    m_current = 1;
    resetSpinRange();
    setSpinPosition(1);
    m_remove->setEnabled(true);
}

void CColumnsPropPage::load()
{
    refreshFields();
    loadColumn();
}

void CColumnsPropPage::save() { storeColumn(); }

void CColumnsPropPage::frameClosed()
{
    m_columns.reset();
    m_fields.reset();
    m_dataControl.reset();
}

void CColumnsPropPage::refreshFields()
{
    m_fields.reset();
    m_dataControl.reset();
    Variant source;
    const automation::ObjectRef object = firstObject();
    const QString name = getProperty(object, "DataSource", source) ? basic::CStr(source) : QString();
    if (!name.isEmpty() && name != resourceString(strings::None)) {
        m_dataControl = FindContainerControl(name, QLatin1String(DataControlClassId), clientSiteOf(object));
        auto* data = dynamic_cast<vldata::DataControlInterface*>(m_dataControl.get());
        std::shared_ptr<vldata::FieldLayout> layout;
        if (data && data->GetFieldLayout(layout) >= 0)
            m_fields = layout;
    }
    QStringList names{resourceString(strings::None)};
    if (m_fields)
        addFields(*m_fields, QString(), names);
    const QScopedValueRollback filling(m_filling, true);
    m_field->clear();
    m_field->addItems(names);
}

CColumnsPropPage::Values CColumnsPropPage::readColumn(const automation::ObjectRef& col) const
{
    Values r;
    Variant v;
    auto text = [&](const char* name, QString& out) {
        if (getProperty(col, name, v))
            out = basic::CStr(v);
    };
    auto flag = [&](const char* name, bool& out) {
        if (getProperty(col, name, v))
            out = basic::CBool(v);
    };
    auto number = [&](const char* name, int16_t& out) {
        if (getProperty(col, name, v))
            out = basic::CInt(v);
    };
    text("Key", r.key);
    text("Caption", r.caption);
    number("CaptionAlignment", r.captionAlignment);
    number("ColumnAlignment", r.columnAlignment);
    flag("Visible", r.visible);
    number("ControlType", r.controlType);
    flag("Enabled", r.enabled);
    flag("AllowMove", r.allowMove);
    flag("AllowSelect", r.allowSelect);
    flag("AllowSize", r.allowSize);
    flag("AutoSize", r.autoSize);
    flag("Fixed", r.fixed);
    number("DataType", r.dataType);
    text("DataField", r.dataField);
    number("MaxLength", r.maxLength);
    number("DecimalPlaces", r.decimalPlaces);
    number("Width", r.width);
    number("Sort", r.sort);
    if (getProperty(col, "ControlStyle", v))
        r.controlStyle = basic::CLng(v);
    return r;
}

void CColumnsPropPage::loadColumn()
{
    m_current = int16_t(m_columnSpin->value());
    const int32_t count = columnCount();
    if (count == 0 || count < m_current)
        return;
    const automation::ObjectRef col = column(m_current);
    if (!col)
        return;
    const Values r = readColumn(col);
    const QScopedValueRollback filling(m_filling, true);
    m_key->setText(r.key);
    m_caption->setText(r.caption);
    m_captionAlign->setCurrentIndex(r.captionAlignment >= 0 && r.captionAlignment < 3 ? r.captionAlignment : -1);
    m_columnAlign->setCurrentIndex(r.columnAlignment >= 0 && r.columnAlignment < 3 ? r.columnAlignment : -1);
    m_visible->setChecked(r.visible);
    m_controlType->setCurrentIndex(r.controlType >= 0 && r.controlType < 6 ? r.controlType : -1);
    m_enabled->setChecked(r.enabled);
    m_allowMove->setChecked(r.allowMove);
    m_allowSelect->setChecked(r.allowSelect);
    m_allowSize->setChecked(r.allowSize);
    m_autoSize->setChecked(r.autoSize);
    m_fixed->setChecked(r.fixed);
    m_type->setCurrentIndex(r.dataType >= 0 && r.dataType < 7 ? r.dataType : -1);
    m_field->setCurrentIndex(r.dataField.isEmpty() ? 0 : m_field->findText(r.dataField, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    m_maxLength->setValue(r.maxLength);
    m_decimals->setValue(r.decimalPlaces);
    m_width->setValue(r.width);
    m_sort->setCurrentIndex(r.sort >= 0 && r.sort < 3 ? r.sort : -1);
    m_readControlType = r.controlType;
    m_readControlStyle = r.controlStyle;
    m_readDataField = r.dataField;
    showOptions(r.controlStyle);
    updateDataEnabling();
    layoutControlTab();
}

CColumnsPropPage::Values CColumnsPropPage::pageValues() const
{
    Values p;
    p.key = m_key->text();
    p.caption = m_caption->text();
    p.captionAlignment = int16_t(m_captionAlign->currentIndex());
    p.columnAlignment = int16_t(m_columnAlign->currentIndex());
    p.visible = m_visible->isChecked();
    p.controlType = int16_t(m_controlType->currentIndex());
    p.enabled = m_enabled->isChecked();
    p.allowMove = m_allowMove->isChecked();
    p.allowSelect = m_allowSelect->isChecked();
    p.allowSize = m_allowSize->isChecked();
    p.autoSize = m_autoSize->isChecked();
    p.fixed = m_fixed->isChecked();
    // A DataField the list does not offer (no data source at design time, a field
    // gone from it) shows no selection; it stays as it is rather than being emptied.
    p.dataField = m_field->currentIndex() < 0 ? m_readDataField : fieldListText(m_field);
    p.dataType = int16_t(m_type->currentIndex());
    p.maxLength = int16_t(m_maxLength->value());
    p.decimalPlaces = int16_t(m_decimals->value());
    p.width = int16_t(m_width->value());
    p.sort = int16_t(m_sort->currentIndex());
    // The style bits the boxes do not show (those of neither the type read nor the
    // type chosen) are kept as they were.
    const uint32_t edited = shownBits(m_readControlType) | shownBits(p.controlType);
    p.controlStyle = int32_t((uint32_t(m_readControlStyle) & ~edited) | uint32_t(optionStyle()));
    return p;
}

void CColumnsPropPage::storeColumn()
{
    const int32_t count = columnCount();
    if (count == 0 || count < m_current)
        return;
    const automation::ObjectRef col = column(m_current);
    if (!col)
        return;
    const Values r = readColumn(col);
    const Values p = pageValues();
    auto put = [&](const char* name, auto page, auto read) {
        if (page != read)
            putProperty(col, name, Variant(page));
    };
    put("Key", p.key, r.key);
    put("Caption", p.caption, r.caption);
    put("CaptionAlignment", p.captionAlignment, r.captionAlignment);
    put("ColumnAlignment", p.columnAlignment, r.columnAlignment);
    put("Visible", p.visible, r.visible);
    put("ControlType", p.controlType, r.controlType);
    put("Enabled", p.enabled, r.enabled);
    put("AllowMove", p.allowMove, r.allowMove);
    put("AllowSelect", p.allowSelect, r.allowSelect);
    put("AllowSize", p.allowSize, r.allowSize);
    put("AutoSize", p.autoSize, r.autoSize);
    put("Fixed", p.fixed, r.fixed);
    put("DataField", p.dataField, r.dataField);
    put("DataType", p.dataType, r.dataType);
    put("MaxLength", p.maxLength, r.maxLength);
    put("DecimalPlaces", p.decimalPlaces, r.decimalPlaces);
    put("Width", p.width, r.width);
    put("Sort", p.sort, r.sort);
    put("ControlStyle", p.controlStyle, r.controlStyle);
    // What the column holds now is what the page compares with from here on.
    m_readControlType = p.controlType;
    m_readControlStyle = p.controlStyle;
    m_readDataField = p.dataField;
}

// ---- commands ----

void CColumnsPropPage::addColumn(bool before)
{
    storeColumn();
    const int16_t index = before ? m_current : int16_t(m_current + 1);
    callMember(m_columns, "Add", {Variant(index), Variant(QString()), Variant(QStringLiteral("Column")), Variant(int16_t(16))});
    resetSpinRange();
    setSpinPosition(index);
    m_remove->setEnabled(true);
    loadColumn();
}

void CColumnsPropPage::removeColumn()
{
    callMember(m_columns, "Remove", {Variant(m_current)});
    resetSpinRange();
    m_remove->setEnabled(true);
    loadColumn();
}

void CColumnsPropPage::spinMoved()
{
    if (m_filling)
        return;
    storeColumn();
    loadColumn();
}

// ---- dependent items ----

void CColumnsPropPage::updateDataEnabling()
{
    const bool none = m_field->currentIndex() == 0;
    m_type->setEnabled(none);
    m_maxLength->setEnabled(none);
    const int type = m_type->currentIndex();
    m_decimals->setEnabled(none && (type == 3 || type == 4));
}

void CColumnsPropPage::fieldChosen()
{
    updateDataEnabling();
    if (m_field->currentIndex() < 1 || !m_fields)
        return;
    const vldata::Field* f = m_fields->fieldByPath(m_field->currentText());
    if (!f)
        return;
    m_maxLength->setValue(f->size);
    m_type->setCurrentIndex(dataTypeOfSql(f->sqlType));
    checkControlAgainstType();
    m_decimals->setValue(f->decimalPlaces);
    updateDataEnabling();
}

void CColumnsPropPage::typeChosen()
{
    updateDataEnabling();
    checkControlAgainstType();
}

void CColumnsPropPage::checkControlAgainstType()
{
    if (allowed(int16_t(m_type->currentIndex()), int16_t(m_controlType->currentIndex())))
        return;
    m_controlType->setCurrentIndex(0);
    controlTypeChosen();
}

void CColumnsPropPage::controlTypeChosen()
{
    showOptions(0);
    layoutControlTab();
}

void CColumnsPropPage::showOptions(int32_t style)
{
    const int16_t type = int16_t(m_controlType->currentIndex());
    for (int o = 0; o < OptionCount; ++o) {
        const uint32_t bit = offered(type, o);
        const bool set = bit != 0 && (uint32_t(style) & bit) != 0;
        m_options[size_t(o)]->setChecked(o == ButtonVisible ? bit != 0 && !set : set);
    }
}

int32_t CColumnsPropPage::optionStyle() const
{
    const int16_t type = int16_t(m_controlType->currentIndex());
    uint32_t style = 0;
    for (int o = 0; o < OptionCount; ++o) {
        const uint32_t bit = offered(type, o);
        if (!bit)
            continue;
        const bool checked = m_options[size_t(o)]->isChecked();
        if (o == ButtonVisible ? !checked : checked)
            style |= bit;
    }
    return int32_t(style);
}

void CColumnsPropPage::numericClicked() { layoutControlTab(); }

void CColumnsPropPage::layoutControlTab()
{
    if (!m_hasControlTab || m_tabs->currentWidget() != m_controlTab)
        return;
    const int16_t type = int16_t(m_controlType->currentIndex());
    int cell = 0; // 0: the first row's right-hand cell; then left and right of each row
    for (int o = 0; o < OptionCount; ++o) {
        QCheckBox* b = m_options[size_t(o)];
        const bool shown = offered(type, o) != 0;
        b->setVisible(shown);
        b->setEnabled(shown);
        m_optionGrid->removeWidget(b);
        if (!shown)
            continue;
        const int row = cell == 0 ? 0 : (cell + 1) / 2;
        const int col = cell == 0 ? 1 : (cell + 1) % 2;
        m_optionGrid->addWidget(b, row, col);
        ++cell;
    }
    const bool numeric = m_options[Numeric]->isChecked();
    if (type == lstCtlEdit && numeric)
        m_options[Uppercase]->setEnabled(false);
    if (!numeric)
        m_options[FwdSlash]->setChecked(false);
    m_options[FwdSlash]->setEnabled(numeric && offered(type, FwdSlash) != 0);
}

} // namespace listgrid
