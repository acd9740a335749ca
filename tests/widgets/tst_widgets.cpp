#include "platform/basic/RuntimeError.h"
#include "platform/widgets/Animation.h"
#include "platform/widgets/DriveList.h"
#include "platform/widgets/FolderList.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"
#include "tests/shell/TestDriveD.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

// The run-time error number `call` raises; 0 when it raises none.
int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const basic::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

QStringList texts(const widgets::ListView& view, int column = 0)
{
    QStringList out;
    for (int i = 1; i <= view.count(); ++i)
        out << view.item(i)->subItem(column);
    return out;
}

QStringList entries(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

} // namespace

class tst_widgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listItemsByIndexAndKey();
    void listSort_data();
    void listSort();
    void sortedListKeepsOrder();
    void tickByUserThenClick();
    void tickByCodeRaisesNoItemCheck();
    void columnClickIsOneBased();
    void toolbarByIndex();
    void animationClipsBesideTheProgram_data();
    void animationClipsBesideTheProgram();
    void animationStepsWithoutEventLoop();
    void animationRefusesOtherFiles();
    void driveList();
    void folderList();
    void folderListErrorsKeepTheFolder();

private:
    TestDriveD m_drive{{QStringLiteral("Vorlen/ACCDATA"), QStringLiteral("vorlen2"),
                        QStringLiteral("Batch/In"), QStringLiteral(".hidden")}};
    QString m_mountD = m_drive.mountPoint();
};

void tst_widgets::initTestCase()
{
    QVERIFY(m_drive.isValid());
}

void tst_widgets::listItemsByIndexAndKey()
{
    widgets::ListView view;
    view.addColumn(QStringLiteral("File Name"));
    view.addColumn(QStringLiteral("Status"));
    view.addItem(QStringLiteral("a.csv"), QStringLiteral("C:\\in\\a.csv"))
        ->setSubItem(1, QStringLiteral("Pending"));
    widgets::ListItem* b = view.addItem(QStringLiteral("b.csv"), QStringLiteral("C:\\in\\b.csv"));
    b->setTag(42);
    view.addItem(QStringLiteral("no key"));
    QCOMPARE(view.count(), 3);
    QCOMPARE(view.item(1)->subItem(1), QStringLiteral("Pending"));
    QCOMPARE(view.item(QStringLiteral("c:\\IN\\B.CSV")), b); // keys match without regard to case
    QCOMPARE(b->index(), 2);
    QCOMPARE(b->key(), QStringLiteral("C:\\in\\b.csv"));
    QCOMPARE(b->tag().toInt(), 42);
    QCOMPARE(b->subItem(3), QString()); // past the columns

    QCOMPARE(errorOf([&] { view.addItem(QStringLiteral("again"), QStringLiteral("C:\\IN\\A.csv")); }), 35602);
    QCOMPARE(errorOf([&] { view.item(QStringLiteral("C:\\in\\z.csv")); }), 35601);
    QCOMPARE(errorOf([&] { view.item(0); }), 35600);
    QCOMPARE(errorOf([&] { view.item(4); }), 35600);

    view.removeItem(1);
    QCOMPARE(view.item(QStringLiteral("C:\\in\\b.csv"))->index(), 1); // keys follow the rows
    QVERIFY(!view.contains(QStringLiteral("C:\\in\\a.csv")));
    view.addItem(QStringLiteral("a.csv"), QStringLiteral("C:\\in\\a.csv")); // a removed key is free again
    view.removeItem(QStringLiteral("C:\\in\\b.csv"));
    QCOMPARE(texts(view), (QStringList{"no key", "a.csv"}));
    view.clearItems();
    QCOMPARE(view.count(), 0);
    QVERIFY(!view.contains(QStringLiteral("C:\\in\\a.csv")));
}

void tst_widgets::listSort_data()
{
    QTest::addColumn<int>("sortKey");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected"); // main texts in order
    QTest::addRow("main text ascending, case blind") << 0 << 0 << QStringList{"apple", "Banana", "cherry"};
    QTest::addRow("main text descending") << 0 << 1 << QStringList{"cherry", "Banana", "apple"};
    QTest::addRow("by sub-item 1") << 1 << 0 << QStringList{"Banana", "cherry", "apple"};
    QTest::addRow("by sub-item 2 descending") << 2 << 1 << QStringList{"Banana", "apple", "cherry"};
}

void tst_widgets::listSort()
{
    QFETCH(int, sortKey);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    widgets::ListView view;
    for (const char* h : {"Name", "Status", "Date"})
        view.addColumn(QString::fromLatin1(h));
    const struct
    {
        const char* name;
        const char* status;
        const char* date;
    } rows[] = {{"cherry", "Loaded", "01"}, {"apple", "Pending", "02"}, {"Banana", "Error(s) Found", "03"}};
    for (const auto& r : rows) {
        widgets::ListItem* item = view.addItem(QString::fromLatin1(r.name), QString::fromLatin1(r.name));
        item->setSubItem(1, QString::fromLatin1(r.status));
        item->setSubItem(2, QString::fromLatin1(r.date));
    }
    QCOMPARE(texts(view), (QStringList{"cherry", "apple", "Banana"})); // unsorted: as added
    view.setSortKey(sortKey);
    view.setSortOrder(widgets::ListView::SortOrder(order));
    view.setSorted(true);
    QCOMPARE(texts(view), expected);
    QCOMPARE(view.item(expected.front())->index(), 1); // keys find the moved rows
}

void tst_widgets::sortedListKeepsOrder()
{
    widgets::ListView view;
    view.addColumn(QStringLiteral("Name"));
    view.setSorted(true);
    view.addItem(QStringLiteral("m"));
    view.addItem(QStringLiteral("c"), QStringLiteral("k"));
    view.addItem(QStringLiteral("x"));
    QCOMPARE(texts(view), (QStringList{"c", "m", "x"}));
    view.item(QStringLiteral("k"))->setText(QStringLiteral("z")); // a changed text moves the row
    QCOMPARE(texts(view), (QStringList{"m", "x", "z"}));
    QCOMPARE(view.item(QStringLiteral("k"))->index(), 3);
}

void tst_widgets::tickByUserThenClick()
{
    widgets::ListView view;
    view.addColumn(QStringLiteral("No"), 60);
    view.addColumn(QStringLiteral("Company Name"), 200);
    view.setCheckboxes(true);
    view.addItem(QStringLiteral("1"))->setSubItem(1, QStringLiteral("Demo Ltd"));
    widgets::ListItem* second = view.addItem(QStringLiteral("2"));
    second->setSubItem(1, QStringLiteral("Other Ltd"));
    QStringList events;
    connect(&view, &widgets::ListView::itemCheck, this, [&](widgets::ListItem* item) {
        events << QStringLiteral("check %1 %2").arg(item->text()).arg(item->checked());
    });
    connect(&view, &widgets::ListView::itemClick, this,
            [&](widgets::ListItem* item) { events << QStringLiteral("click %1").arg(item->text()); });
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QRect row = view.visualItemRect(second);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(row.left() + 10, row.center().y()));
    QCOMPARE(events, (QStringList{"check 2 1", "click 2"}));
    QVERIFY(second->checked());

    events.clear(); // a click on the text clicks without ticking
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(row.left() + 120, row.center().y()));
    QCOMPARE(events, (QStringList{"click 2"}));
}

void tst_widgets::tickByCodeRaisesNoItemCheck()
{
    widgets::ListView view;
    view.addColumn(QStringLiteral("No"));
    view.setCheckboxes(true);
    widgets::ListItem* item = view.addItem(QStringLiteral("1"));
    QSignalSpy checks(&view, &widgets::ListView::itemCheck);
    item->setChecked(true);
    QVERIFY(item->checked());
    item->setText(QStringLiteral("one"));
    item->setChecked(false);
    QCOMPARE(checks.count(), 0);
    item->setCheckState(0, Qt::Checked); // as the user's tick reaches the row
    QCOMPARE(checks.count(), 1);
}

void tst_widgets::columnClickIsOneBased()
{
    widgets::ListView view;
    view.addColumn(QStringLiteral("File Name"));
    view.addColumn(QStringLiteral("Status"));
    QSignalSpy clicks(&view, &widgets::ListView::columnClick);
    Q_EMIT view.header()->sectionClicked(1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 2);
}

void tst_widgets::toolbarByIndex()
{
    widgets::ToolBar bar;
    bar.addButton(QStringLiteral("Select &File"), QStringLiteral("SelectFile"),
                  QStringLiteral("Select the file to upload"));
    bar.addButton(QStringLiteral("&Validate"), QStringLiteral("ImportFile"),
                  QStringLiteral("Start Uploading file"));
    bar.addButton(QStringLiteral("&Import Log"), QStringLiteral("ErrorLog"),
                  QStringLiteral("View Import Log"));
    QCOMPARE(bar.addButton(QStringLiteral("&Hide Me")), 4);
    QCOMPARE(bar.buttonCount(), 4);
    QCOMPARE(bar.caption(2), QStringLiteral("&Validate"));
    QCOMPARE(bar.key(3), QStringLiteral("ErrorLog"));
    QCOMPARE(bar.toolTipText(1), QStringLiteral("Select the file to upload"));
    QCOMPARE(bar.key(4), QString());
    QCOMPARE(bar.toolTipText(4), QString());
    QCOMPARE(bar.indexOfKey(QStringLiteral("ErrorLog")), 3);
    QCOMPARE(bar.indexOfKey(QStringLiteral("errorlog")), 0); // keys compare exactly

    bar.setCaption(3, QStringLiteral("Import Log")); // callers compare the caption as text
    QCOMPARE(bar.caption(3), QStringLiteral("Import Log"));
    QVERIFY(bar.caption(3) != QStringLiteral("&Import Log"));

    QList<QPair<int, QString>> clicks;
    connect(&bar, &widgets::ToolBar::buttonClick, this, [&](int index, const QString& key) {
        clicks.append({index, key});
    });
    bar.click(2);
    bar.setButtonEnabled(2, false);
    QVERIFY(!bar.isButtonEnabled(2));
    bar.click(2); // a disabled button does nothing
    bar.click(4);
    QCOMPARE(clicks, (QList<QPair<int, QString>>{{2, "ImportFile"}, {4, ""}}));
    QCOMPARE(errorOf([&] { bar.caption(0); }), 35600);
    QCOMPARE(errorOf([&] { bar.setButtonEnabled(5, true); }), 35600);
}

void tst_widgets::animationClipsBesideTheProgram_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addRow("import") << "import.dll";
    QTest::addRow("installation search") << "Search.AVI";
}

void tst_widgets::animationClipsBesideTheProgram()
{
    QFETCH(QString, clip);
    widgets::Animation animation;
    QVERIFY(animation.open(QStringLiteral(QUILLAR_BIN_DIR "/") + clip));
    QVERIFY(animation.frameCount() > 1);
}

void tst_widgets::animationStepsWithoutEventLoop()
{
    widgets::Animation animation;
    QVERIFY(animation.open(QStringLiteral(QUILLAR_BIN_DIR "/import.dll")));
    animation.show();
    QCOMPARE(animation.currentFrame(), 0);
    animation.step(); // not playing: stays
    QCOMPARE(animation.currentFrame(), 0);
    animation.play();
    int previous = animation.currentFrame();
    for (int i = 0; i < animation.frameCount() + 1; ++i) { // once round and on: the clip starts over
        QTest::qSleep(150);                                // longer than a frame; the event loop never runs
        animation.step();
        QCOMPARE(animation.currentFrame(), (previous + 1) % animation.frameCount());
        previous = animation.currentFrame();
    }
    animation.step(); // called again at once: the frame is not yet due
    QCOMPARE(animation.currentFrame(), previous);
    animation.stop();
    QTest::qSleep(150);
    animation.step();
    QCOMPARE(animation.currentFrame(), previous);
    QVERIFY(!animation.isPlaying());
}

void tst_widgets::animationRefusesOtherFiles()
{
    QFile notAClip(m_drive.tempPath() + QStringLiteral("/import.dll"));
    QVERIFY(notAClip.open(QIODevice::WriteOnly));
    notAClip.write("MZ not a picture");
    notAClip.close();
    widgets::Animation animation;
    QVERIFY(!animation.open(notAClip.fileName()));
    QVERIFY(!animation.open(m_drive.tempPath() + QStringLiteral("/missing.gif")));
    QVERIFY(!animation.isOpen());
    animation.play(); // nothing open: nothing happens
    QVERIFY(!animation.isPlaying());
}

void tst_widgets::driveList()
{
    widgets::DriveList drives;
    QCOMPARE(drives.count(), 2);
    QCOMPARE(drives.itemText(0), QStringLiteral("c: [/]"));
    QCOMPARE(drives.itemText(1), QStringLiteral("d: [%1]").arg(m_mountD));
    QCOMPARE(drives.drive(), QStringLiteral("c:"));
    QSignalSpy changes(&drives, &widgets::DriveList::driveChange);
    drives.setDrive(QStringLiteral("D:\\Vorlen"));
    QCOMPARE(drives.drive(), QStringLiteral("d:"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(errorOf([&] { drives.setDrive(QStringLiteral("q:")); }), 68);
    QCOMPARE(errorOf([&] { drives.setDrive(QString()); }), 68);
    QCOMPARE(drives.drive(), QStringLiteral("d:"));
    drives.refresh(); // the chosen drive stays chosen
    QCOMPARE(drives.drive(), QStringLiteral("d:"));
    QCOMPARE(changes.count(), 1);
}

void tst_widgets::folderList()
{
    widgets::FolderList folders;
    QSignalSpy changes(&folders, &widgets::FolderList::change);
    folders.setPath(QStringLiteral("d:\\VORLEN")); // any case finds the folder's own
    QCOMPARE(folders.path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(entries(folders), (QStringList{"D:\\", "  Vorlen", "    ACCDATA"}));
    QCOMPARE(changes.count(), 1);
    folders.setPath(QStringLiteral("D:\\Vorlen\\")); // the same folder: no change
    QCOMPARE(changes.count(), 1);

    folders.setPath(QStringLiteral("D:\\"));
    QCOMPARE(folders.path(), QStringLiteral("D:\\"));
    QCOMPARE(entries(folders),
             (QStringList{"D:\\", "  Batch", "  Vorlen", "  vorlen2"})); // no hidden folders

    Q_EMIT folders.itemActivated(folders.item(1)); // opening an entry opens its folder
    QCOMPARE(folders.path(), QStringLiteral("D:\\Batch"));
    folders.setPath(QStringLiteral("C:\\"));
    folders.setPath(QStringLiteral("d: [%1]").arg(m_mountD)); // a drive alone: its last folder
    QCOMPARE(folders.path(), QStringLiteral("D:\\Batch"));
    folders.setPath(m_mountD + QStringLiteral("/Batch/In")); // a native path
    QCOMPARE(folders.path(), QStringLiteral("D:\\Batch\\In"));
}

void tst_widgets::folderListErrorsKeepTheFolder()
{
    widgets::FolderList folders;
    folders.setPath(QStringLiteral("D:\\Vorlen"));
    QSignalSpy changes(&folders, &widgets::FolderList::change);
    QCOMPARE(errorOf([&] { folders.setPath(QStringLiteral("D:\\nowhere")); }), 76);
    QCOMPARE(errorOf([&] { folders.setPath(QStringLiteral("Q:\\data")); }), 68);
    QCOMPARE(errorOf([&] { folders.setPath(QStringLiteral("q:")); }), 68);
    QCOMPARE(folders.path(), QStringLiteral("D:\\Vorlen"));
    QCOMPARE(folders.count(), 3);
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(tst_widgets)
#include "tst_widgets.moc"
