#pragma once

#include <QColor>
#include <QHash>
#include <QPersistentModelIndex>
#include <QString>
#include <QTreeWidget>
#include <QVariant>

// The report-style list view the windows use, over QTreeWidget. Rows are addressed as
// the windows address them: ListItems by 1-based index (in the current order) and by
// key (unique, compared without regard to case), each with sub-items 1..n (the
// further columns), a tag and, with Checkboxes on, a check box.
//
// Events, for the owner to connect: itemCheck when the user ticks or unticks a row
// (never when code sets Checked), then itemClick for the same mouse click; so a
// click on a check box gives itemCheck before itemClick. columnClick gives the
// 1-based column index. Lookups that fail raise the runtime's errors: 35600 (index
// out of bounds), 35601 (element not found), 35602 (key is not unique).
namespace widgets {

class ListView;

class ListItem : public QTreeWidgetItem
{
public:
    QString text() const { return QTreeWidgetItem::text(0); }
    void setText(const QString& text) { setSubItem(0, text); }
    // Sub-item 1..n; sub-item 0 is the main text. Past the columns: "".
    QString subItem(int index) const { return QTreeWidgetItem::text(index); }
    void setSubItem(int index, const QString& text);
    QString key() const { return data(0, KeyRole).toString(); }
    QVariant tag() const { return data(0, TagRole); }
    void setTag(const QVariant& tag) { setData(0, TagRole, tag); }
    // 1-based position in the list's current order.
    int index() const;
    bool checked() const { return checkState(0) == Qt::Checked; }
    // Sets the tick without raising itemCheck.
    void setChecked(bool checked);
    bool bold() const { return font(0).bold(); }
    void setBold(bool bold);
    void setForeColor(const QColor& color);

    bool operator<(const QTreeWidgetItem& other) const override;

    static constexpr int KeyRole = Qt::UserRole + 1;
    static constexpr int TagRole = Qt::UserRole + 2;
    static constexpr int CheckSeenRole = Qt::UserRole + 3;

private:
    friend class ListView;
    ListItem() = default;
    ListView* owner() const;
};

class ListView : public QTreeWidget
{
    Q_OBJECT

public:
    enum class SortOrder
    {
        Ascending = 0,
        Descending = 1
    };

    explicit ListView(QWidget* parent = nullptr);

    // Column headers, left to right; the width in pixels (0: as wide as its header).
    void addColumn(const QString& header, int width = 0);

    // ListItems.Add: appends a row (kept in order when Sorted). An empty key adds a
    // row without one.
    ListItem* addItem(const QString& text, const QString& key = {});
    int count() const { return topLevelItemCount(); }
    ListItem* item(int index) const;
    ListItem* item(const QString& key) const;
    bool contains(const QString& key) const;
    void removeItem(int index);
    void removeItem(const QString& key);
    void clearItems();
    ListItem* selectedItem() const;
    void setSelectedItem(ListItem* item);

    bool checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);

    // Sorted keeps the rows ordered by the text of column SortKey (0: the main text,
    // n: sub-item n), compared without regard to case, in SortOrder.
    bool sorted() const { return m_sorted; }
    void setSorted(bool sorted);
    int sortKey() const { return m_sortKey; }
    void setSortKey(int column);
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);

Q_SIGNALS:
    void itemCheck(widgets::ListItem* item);
    void itemClick(widgets::ListItem* item);
    void itemDblClick(widgets::ListItem* item);
    void columnClick(int column);

private:
    friend class ListItem;
    void resort();
    void rowChanged(QTreeWidgetItem* item);
    int indexOfKey(const QString& key) const;

    bool m_changeByCode = false; // a tick set by code raises no itemCheck
    bool m_checkboxes = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    SortOrder m_sortOrder = SortOrder::Ascending;
    QHash<QString, QPersistentModelIndex> m_keys; // by lower-cased key
};

} // namespace widgets
