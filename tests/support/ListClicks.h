#pragma once

#include <QListWidget>
#include <QString>
#include <QTest>

namespace testsupport {

// Clicks, then double-clicks, the entry `title` of a shown list, as a user picks
// it; false when the list is hidden or has no such entry.
inline bool doubleClickEntry(QListWidget* list, const QString& title)
{
    if (!list)
        return false;
    const QList<QListWidgetItem*> found = list->findItems(title, Qt::MatchExactly);
    if (found.isEmpty() || !list->isVisible())
        return false;
    list->scrollToItem(found.first());
    const QPoint centre = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return true;
}

} // namespace testsupport
