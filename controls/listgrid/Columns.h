#pragma once

#include "controls/listgrid/ColumnSettings.h"
#include "controls/listgrid/MemberObject.h"

#include "package/listwindow/ListMessages.h"

#include "platform/automation/MemberTable.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <vector>

namespace listgrid {

class CComboBoxControl;
class CListViewWnd;

// One popup column of a popup-edit column: the name of a data field in its list.
class CPopupColumn : public MemberObject<CPopupColumn>
{
public:
    explicit CPopupColumn(QString dataField = {}) : m_dataField(std::move(dataField)) {}
    QString className() const override { return QStringLiteral("PopupColumn"); }
    static const automation::MemberTable<CPopupColumn>& members();

    QString m_dataField;
};

class CPopupColumns : public MemberObject<CPopupColumns>
{
public:
    QString className() const override { return QStringLiteral("PopupColumns"); }
    static const automation::MemberTable<CPopupColumns>& members();

    int32_t count() const { return int32_t(m_items.size()); }
    std::shared_ptr<CPopupColumn> add(const QString& dataField);
    // 0-based position, or -1 when `index` resolves to none.
    int32_t find(const basic::Variant& index) const;
    void remove(const basic::Variant& index);
    void clear() { m_items.clear(); }
    QStringList fields() const;

    std::vector<std::shared_ptr<CPopupColumn>> m_items;
};

// One column: its settings, pushed to the window through the wrapper when it exists.
class CColumn : public MemberObject<CColumn>
{
public:
    explicit CColumn(std::shared_ptr<CListViewWnd> owner);
    ~CColumn() override;

    QString className() const override { return QStringLiteral("Column"); }
    static const automation::MemberTable<CColumn>& members();

    uint32_t columnId() const { return m_id; }
    int16_t index() const { return m_index; }
    void setIndex(int16_t index) { m_index = index; }
    const ColumnSettings& settings() const { return m_s; }
    // The settings with the popup columns' fields, as they are stored.
    ColumnSettings storedSettings() const;
    // Takes stored settings as they are (no window, not marked modified).
    void setSettings(const ColumnSettings& settings);
    std::shared_ptr<CPopupColumns> popupColumns();

    // The record that carries this column to the window.
    vllist::ColumnDefinition definition() const;
    // Inserts the column into the window at `position` (control order); nothing
    // without a window.
    void applyToWindow(int32_t position);
    // Deletes and inserts the column again, after a change the window cannot take in place.
    void recreate();

    // Members as the automation interface sets them.
    void setKey(const QString& key);
    void setCaption(const QString& caption);
    void setDataType(int16_t value);
    void setMaxLength(int32_t value);
    void setDecimalPlaces(int16_t value);
    void setDataField(const QString& field);
    void setControlType(int16_t value);
    void setWidth(int16_t value);
    void setCaptionAlignment(int16_t value);
    void setColumnAlignment(int16_t value);
    void setVisible(bool value);
    void setEnabled(bool value);
    void setFlag(bool ColumnSettings::*member, uint32_t bit, bool value);
    void setSort(int16_t value);
    int16_t sort() const;
    void setControlStyle(int32_t value);
    void setCellColour(uint32_t ColumnSettings::*member, uint32_t value);
    void setCaptionColour(uint32_t ColumnSettings::*member, uint32_t value);
    int16_t currentWidth() const;
    void setCurrentWidth(int16_t value);
    int16_t currentIndex() const;
    void setCurrentIndex(int16_t value);
    bool allowDrillDown() const;
    void setAllowDrillDown(bool value);
    double position(int side) const; // 0 top, 1 bottom, 2 left, 3 right
    void showPopup();
    // Column.Control: the combo box editor's entries, for a combo-box column only
    // (Nothing for any other); bound at each request to the column's editor.
    basic::Variant control();

private:
    bool windowIndex(int32_t& index) const;
    bool readDefinition(int32_t& index, vllist::ColumnDefinition& definition) const;
    void editDefinition(const std::function<void(vllist::ColumnDefinition&)>& edit);
    void sendCellColours();
    // After a change the window takes only by re-creating the column.
    void recreated();
    void invalidate() const;
    int16_t resolvedWidth(int16_t width) const;

    std::shared_ptr<CListViewWnd> m_owner;
    uint32_t m_id;
    int16_t m_index = 1;
    ColumnSettings m_s;
    std::shared_ptr<CPopupColumns> m_popups;
    std::shared_ptr<CComboBoxControl> m_combo;
};

// The control's columns, in order; saved as the "Columns" block.
class CColumns : public MemberObject<CColumns>
{
public:
    explicit CColumns(std::shared_ptr<CListViewWnd> owner);

    QString className() const override { return QStringLiteral("Columns"); }
    static const automation::MemberTable<CColumns>& members();

    int32_t count() const { return int32_t(m_items.size()); }
    const std::vector<std::shared_ptr<CColumn>>& items() const { return m_items; }
    std::shared_ptr<CColumn> at(int32_t position) const;
    // 0-based position of a Key (exact case), a Column of this collection or a number
    // from 1; -1 when none.
    int32_t findColumn(const basic::Variant& index) const;
    std::shared_ptr<CColumn> add(const basic::Variant& index, const basic::Variant& key,
                                 const basic::Variant& caption, const basic::Variant& width);
    void remove(const basic::Variant& index);
    void clear();
    // Inserts every column into the window, in order (the control's window creation).
    void applyAll();

    // Raises SaveFailed, with the reason, for columns the block cannot hold.
    QByteArray save() const;
    static constexpr int32_t SaveFailed = int32_t(0x80004005u);
    // Replaces the columns with those of a stored block; an empty block leaves one
    // default column. A damaged block raises 380 with what does not fit, and leaves
    // the columns as they were.
    void load(const QByteArray& block);

private:
    void renumber();

    std::shared_ptr<CListViewWnd> m_owner;
    std::vector<std::shared_ptr<CColumn>> m_items;
};

// Column ids: from 10000 up, library-wide; a new column never takes the 16 bits
// (all the window sees) of a column still alive.
uint32_t allocateColumnId();
void releaseColumnId(uint32_t id);

} // namespace listgrid
