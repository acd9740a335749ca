#include "platform/widgets/ListView.h"

#include "platform/basic/RuntimeError.h"

#include <QHeaderView>

#include <utility>

namespace widgets {

namespace {

constexpr int32_t IndexOutOfBounds = 35600;
constexpr int32_t ElementNotFound = 35601;
constexpr int32_t KeyNotUnique = 35602;

QString keyOf(const QString& key)
{
    return key.toLower();
}

} // namespace

void ListItem::setSubItem(int index, const QString& text)
{
    QTreeWidgetItem::setText(index, text);
    if (ListView* view = owner(); view && view->sorted() && index == view->sortKey())
        view->resort();
}

int ListItem::index() const
{
    const ListView* view = owner();
    return view ? view->indexOfTopLevelItem(const_cast<ListItem*>(this)) + 1 : 0;
}

void ListItem::setChecked(bool checked)
{
    ListView* view = owner();
    const bool wasByCode = view && std::exchange(view->m_changeByCode, true);
    setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    setData(0, CheckSeenRole, checked);
    if (view)
        view->m_changeByCode = wasByCode;
}

void ListItem::setBold(bool bold)
{
    for (int c = 0; c < std::max(1, columnCount()); ++c) {
        QFont f = font(c);
        f.setBold(bold);
        setFont(c, f);
    }
}

void ListItem::setForeColor(const QColor& color)
{
    for (int c = 0; c < std::max(1, columnCount()); ++c)
        setForeground(c, color);
}

bool ListItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return QTreeWidgetItem::text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
}

ListView* ListItem::owner() const
{
    return static_cast<ListView*>(treeWidget());
}

ListView::ListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setColumnCount(0);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int section) { Q_EMIT columnClick(section + 1); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) { rowChanged(item); });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { Q_EMIT itemClick(static_cast<ListItem*>(item)); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { Q_EMIT itemDblClick(static_cast<ListItem*>(item)); });
}

void ListView::addColumn(const QString& header, int width)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, header);
    if (width > 0)
        setColumnWidth(column, width);
    else
        resizeColumnToContents(column);
}

ListItem* ListView::addItem(const QString& text, const QString& key)
{
    if (!key.isEmpty() && contains(key))
        throw basic::RuntimeError(KeyNotUnique, QStringLiteral("Key is not unique in collection"));
    auto* item = new ListItem;
    item->QTreeWidgetItem::setText(0, text);
    item->setData(0, ListItem::KeyRole, key);
    if (m_checkboxes)
        item->setChecked(false);
    addTopLevelItem(item);
    if (!key.isEmpty())
        m_keys.insert(keyOf(key), QPersistentModelIndex(indexFromItem(item)));
    if (m_sorted)
        resort();
    return item;
}

ListItem* ListView::item(int index) const
{
    if (index < 1 || index > count())
        throw basic::RuntimeError(IndexOutOfBounds, QStringLiteral("Index out of bounds"));
    return static_cast<ListItem*>(topLevelItem(index - 1));
}

int ListView::indexOfKey(const QString& key) const
{
    const auto found = m_keys.constFind(keyOf(key));
    if (found == m_keys.cend() || !found->isValid())
        return -1;
    return found->row();
}

ListItem* ListView::item(const QString& key) const
{
    const int row = indexOfKey(key);
    if (row < 0)
        throw basic::RuntimeError(ElementNotFound, QStringLiteral("Element not found"));
    return static_cast<ListItem*>(topLevelItem(row));
}

bool ListView::contains(const QString& key) const
{
    return !key.isEmpty() && indexOfKey(key) >= 0;
}

void ListView::removeItem(int index)
{
    ListItem* row = item(index);
    m_keys.remove(keyOf(row->key()));
    delete row;
}

void ListView::removeItem(const QString& key)
{
    removeItem(item(key)->index());
}

void ListView::clearItems()
{
    m_keys.clear();
    clear();
}

ListItem* ListView::selectedItem() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : static_cast<ListItem*>(items.front());
}

void ListView::setSelectedItem(ListItem* item)
{
    clearSelection();
    if (item) {
        item->setSelected(true);
        setCurrentItem(item);
    }
}

void ListView::setCheckboxes(bool on)
{
    m_checkboxes = on;
    for (int i = 0; i < count(); ++i) {
        auto* row = static_cast<ListItem*>(topLevelItem(i));
        if (on) {
            row->setChecked(row->checked());
        } else {
            row->setData(0, Qt::CheckStateRole, QVariant());
            row->setData(0, ListItem::CheckSeenRole, QVariant());
        }
    }
}

void ListView::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted)
        resort();
}

void ListView::setSortKey(int column)
{
    m_sortKey = column;
    if (m_sorted)
        resort();
}

void ListView::setSortOrder(SortOrder order)
{
    m_sortOrder = order;
    if (m_sorted)
        resort();
}

void ListView::resort()
{
    sortItems(m_sortKey, m_sortOrder == SortOrder::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// Any change of a row comes here; only a tick the user made (the check state
// differs from the one code last set) raises itemCheck.
void ListView::rowChanged(QTreeWidgetItem* changed)
{
    auto* row = static_cast<ListItem*>(changed);
    if (!m_checkboxes || m_changeByCode)
        return;
    if (row->data(0, ListItem::CheckSeenRole).toBool() == row->checked())
        return;
    m_changeByCode = true;
    row->setData(0, ListItem::CheckSeenRole, row->checked());
    m_changeByCode = false;
    Q_EMIT itemCheck(row);
}

} // namespace widgets
