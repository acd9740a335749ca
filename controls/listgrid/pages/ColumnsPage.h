#pragma once

#include "platform/controlframework/PropertyPage.h"

#include <QString>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace vldata {
class FieldLayout;
}

// The "Columns" page (dialog 202) that both controls offer: one column at a time of
// the control's Columns, reached only by member name.
namespace listgrid {

class RangeSpin;

class CColumnsPropPage : public controlframework::PropertyPage
{
public:
    explicit CColumnsPropPage(QWidget* parent = nullptr);
    ~CColumnsPropPage() override;

    // The current column number, from 1.
    int16_t currentColumn() const { return m_current; }
    QTabWidget* tabs() const { return m_tabs; }
    // Whether the page still holds the control's Columns.
    bool holdsColumns() const { return m_columns != nullptr; }

    // Option boxes of the Control tab, in the order their cells are filled.
    enum Option { Locked, ButtonVisible, Negatives, Uppercase, Numeric, Alpha, FwdSlash, OptionCount };

    // Every property the page edits, as read from or written to a column.
    struct Values
    {
        QString key, caption, dataField;
        int16_t captionAlignment = 0, columnAlignment = 0, controlType = 0, dataType = 0, maxLength = 32,
                decimalPlaces = 2, width = 16, sort = 0;
        bool visible = true, enabled = false, allowMove = false, allowSelect = false, allowSize = false,
             autoSize = false, fixed = false;
        int32_t controlStyle = 0;
    };

protected:
    void initDialog() override;
    void load() override;
    void save() override;
    void frameClosed() override;

private:
    automation::ObjectRef column(int16_t number) const;
    int32_t columnCount() const;
    void resetSpinRange();
    void setSpinPosition(int value);

    void refreshFields();
    void loadColumn();
    void storeColumn();
    Values readColumn(const automation::ObjectRef& column) const;
    Values pageValues() const;

    void addColumn(bool before);
    void removeColumn();
    void spinMoved();
    void fieldChosen();
    void typeChosen();
    void controlTypeChosen();
    void checkControlAgainstType();
    void updateDataEnabling();
    void layoutControlTab();
    void numericClicked();
    void showOptions(int32_t style);
    int32_t optionStyle() const;
    void changed();

    automation::ObjectRef m_columns;
    std::shared_ptr<vldata::FieldLayout> m_fields;
    automation::ObjectRef m_dataControl;
    int16_t m_current = 1;
    int16_t m_readControlType = 0;
    int32_t m_readControlStyle = 0;
    QString m_readDataField;
    bool m_filling = false;
    bool m_hasControlTab = false;

    RangeSpin* m_columnSpin;
    QPushButton* m_add;
    QPushButton* m_insert;
    QPushButton* m_remove;
    QTabWidget* m_tabs;
    QWidget* m_controlTab;
    QLineEdit* m_key;
    QLineEdit* m_caption;
    QComboBox* m_captionAlign;
    QComboBox* m_columnAlign;
    QCheckBox* m_visible;
    QCheckBox* m_enabled;
    QCheckBox* m_allowMove;
    QCheckBox* m_allowSelect;
    QCheckBox* m_allowSize;
    QCheckBox* m_autoSize;
    QCheckBox* m_fixed;
    QComboBox* m_field;
    QComboBox* m_type;
    RangeSpin* m_maxLength;
    RangeSpin* m_decimals;
    RangeSpin* m_width;
    QComboBox* m_sort;
    QComboBox* m_controlType;
    std::array<QCheckBox*, OptionCount> m_options{};
    QGridLayout* m_optionGrid = nullptr;
};

} // namespace listgrid
