// Drag and drop between the controls and from a file manager: the drag a control
// starts, the drop target of the other, the data object's formats and its files,
// and the bounds a dropped file list must keep.
#include "ControlFixture.h"

#include "controls/listgrid/DataTransfer.h"
#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace listgrid;
using automation::Args;
using basic::ObjectRef;
using basic::Variant;

namespace {

using ListOnForm = ControlOnForm<CListCtrl>;
using GridOnForm = ControlOnForm<CGridCtrl>;

QWidget* rowsOf(QTableView& view) { return view.viewport(); }

// A drag over a control's rows as the platform delivers it: enter and a move at
// `at`, then the drop there. The effect the target answered (0 when refused).
Qt::DropActions actionsOf(int32_t effects)
{
    Qt::DropActions actions;
    actions.setFlag(Qt::CopyAction, effects & 1);
    actions.setFlag(Qt::MoveAction, effects & 2);
    return actions;
}

int32_t dragOnto(QWidget* rows, const QMimeData* mime, QPoint at, Qt::KeyboardModifiers keys,
                 Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction)
{
    QDragEnterEvent enter(at, allowed, mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(rows, &enter);
    if (!enter.isAccepted())
        return 0;
    QDragMoveEvent move(at, allowed, mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(rows, &move);
    QDropEvent drop(QPointF(at), allowed, mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(rows, &drop);
    if (!drop.isAccepted())
        return 0;
    return drop.dropAction() == Qt::CopyAction ? 1 : drop.dropAction() == Qt::MoveAction ? 2 : 0;
}

void addRows(ListOnForm& f, const QStringList& rows)
{
    for (const QString& row : rows)
        f.control->items()->call(QStringLiteral("Add"), {row});
}

QStringList rowTexts(QTableView& view)
{
    QStringList rows;
    for (int r = 0; r < view.model()->rowCount(); ++r)
        rows << view.model()->index(r, 0).data().toString();
    return rows;
}

template <class Raised>
const automation::Args* lastArgs(const std::vector<Raised>& raised, const QString& event)
{
    for (auto it = raised.rbegin(); it != raised.rend(); ++it)
        if (it->name == event)
            return &it->args;
    return nullptr;
}

template <class Raised>
QStringList eventNames(const std::vector<Raised>& raised, const QString& prefix)
{
    QStringList names;
    for (const auto& r : raised)
        if (r.name.startsWith(prefix))
            names << r.name + (r.name == QLatin1String("OLEDragOver") ? QString::number(r.args.at(6).intValue()) : QString());
    return names;
}

// What a left press on a row, a move of `moved` pixels with the button held and the
// release there did to a control that drags automatically and takes drops, whose host
// leaves every proposed effect as it is: the drag loop drops onto the control itself.
struct Gesture
{
    int loops = 0;
    QStringList dragEvents;
    int clicks = 0;
    QStringList rowsBefore, rowsAfter;
};

template <class Form>
Gesture pressMoveRelease(Form& f, const QStringList& rows, int pressedRow, int moved)
{
    for (const QString& row : rows)
        f.control->items()->call(QStringLiteral("Add"), {row});
    f.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    f.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    Gesture g;
    g.rowsBefore = rowTexts(f.view());
    const QPoint pressed = f.view().visualRect(f.view().model()->index(pressedRow, 0)).center();
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t allowed) {
        ++g.loops;
        return dragOnto(rowsOf(f.view()), from.dragMimeData(), pressed, Qt::NoModifier, actionsOf(allowed));
    });
    QWidget* viewport = f.view().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, pressed);
    const QPoint released = pressed + QPoint(moved, 0);
    if (moved)
        QTest::mouseMove(viewport, released);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, released);
    g.dragEvents = eventNames(f.raised, QStringLiteral("OLE"));
    g.clicks = f.count(QStringLiteral("MouseClick"));
    g.rowsAfter = rowTexts(f.view());
    return g;
}

QMimeData* fileManagerSelection(const QStringList& paths)
{
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    mime->setUrls(urls);
    return mime;
}

QByteArray dword(uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }

// A file-list block with names in single bytes.
QByteArray ansiBlock(uint32_t offset, const QByteArray& names)
{
    return dword(offset) + dword(0) + dword(0) + dword(0) + dword(0) + names;
}

} // namespace

class TestDragDrop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ListGridControl::setDragLoop({}); }
    void rowDraggedToAnotherList_data();
    void rowDraggedToAnotherList();
    void platformDragEndsAndLetsGo();
    void pressingARowDragsThatRow();
    void dragStartsOnlyWhenThePointerMoves_data();
    void dragStartsOnlyWhenThePointerMoves();
    void textSetWhileTheDragStartsIsDragged();
    void dropModeNoneRefusesWithoutEvents();
    void leavingTellsTheHost();
    void gridDragsTheCurrentCell();
    void filesFromAFileManager();
    void filesEmptiedWhenTheNextDragEnters();
    void overlongDroppedFileNameIsRefused();
    void damagedFileListBlock_data();
    void damagedFileListBlock();
};

void TestDragDrop::rowDraggedToAnotherList_data()
{
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("dragMode");
    QTest::addColumn<int>("effect");
    QTest::addColumn<QStringList>("sourceAfter");
    QTest::newRow("move, automatic") << int(Qt::NoModifier) << 2 << 2 << QStringList{"Alpha", "Charlie"};
    QTest::newRow("copy with Ctrl") << int(Qt::ControlModifier) << 2 << 1
                                    << QStringList{"Alpha", "Bravo", "Charlie"};
    QTest::newRow("move, manual") << int(Qt::NoModifier) << 1 << 2 << QStringList{"Alpha", "Bravo", "Charlie"};
}

void TestDragDrop::rowDraggedToAnotherList()
{
    QFETCH(int, keys);
    QFETCH(int, dragMode);
    QFETCH(int, effect);
    QFETCH(QStringList, sourceAfter);
    ListOnForm source(QStringLiteral("lstFrom"));
    ListOnForm target(QStringLiteral("lstTo"));
    addRows(source, {"Alpha", "Bravo", "Charlie"});
    addRows(target, {"One", "Two"});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(dragMode));
    target.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    source.object()->put(QStringLiteral("CurrentItem"), source.control->items()->value({int32_t(2)}));
    if (dragMode == 1)
        source.onEvent = [](const QString& event, Args& args) {
            if (event == QLatin1String("OLEStartDrag"))
                args.at(0).objectValue()->call(QStringLiteral("SetData"), {QStringLiteral("Bravo"), int16_t(1)});
        };
    // The host of the target puts the text where it was dropped.
    bool text = false, files = true;
    Variant hit;
    target.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("OLEDragDrop"))
            return;
        const ObjectRef data = args.at(0).objectValue();
        text = data->call(QStringLiteral("GetFormat"), {int16_t(1)}).boolValue();
        files = data->call(QStringLiteral("GetFormat"), {int16_t(15)}).boolValue();
        hit = target.object()->call(QStringLiteral("HitTest"), {args.at(4), args.at(5)});
        const int32_t at = hit.objectValue() ? hit.objectValue()->get(QStringLiteral("Index")).intValue() : -1;
        target.control->items()->call(QStringLiteral("Add"),
                                      {data->call(QStringLiteral("GetData"), {int16_t(1)}), at});
    };
    const QModelIndex two = target.view().model()->index(1, 0);
    const QPoint at = target.view().visualRect(two).center();
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t allowed) {
        Qt::DropActions actions;
        actions.setFlag(Qt::CopyAction, allowed & 1);
        actions.setFlag(Qt::MoveAction, allowed & 2);
        return dragOnto(rowsOf(target.view()), from.dragMimeData(), at, Qt::KeyboardModifiers(keys), actions);
    });
    source.control->oleDrag();
    QVERIFY(text);
    QVERIFY(!files);
    // The drop point, given in the container's coordinates, is the row it was dropped on.
    QVERIFY(hit.objectValue());
    QCOMPARE(rowTexts(target.view()), (QStringList{"One", "Bravo", "Two"}));
    QCOMPARE(eventNames(target.raised, QStringLiteral("OLE")),
             (QStringList{"OLEDragOver0", "OLEDragOver2", "OLEDragDrop"}));
    const Args* over = lastArgs(target.raised, QStringLiteral("OLEDragOver"));
    QCOMPARE(over->at(1), Variant(int32_t(effect))); // proposed: copy with Ctrl, else move
    QCOMPARE(over->at(3), Variant(int16_t(keys == int(Qt::ControlModifier) ? 2 : 0)));
    QCOMPARE(lastArgs(source.raised, QStringLiteral("OLECompleteDrag"))->at(0), Variant(int32_t(effect)));
    QCOMPARE(rowTexts(source.view()), sourceAfter);
    // After the drag the data object is out of reach.
    QCOMPARE(source.control->dataObject()->getData(1), Variant());
}

void TestDragDrop::platformDragEndsAndLetsGo()
{
    // Qt's own drag (here without a screen to drop on): it ends, with no effect, and
    // what it carried is gone with it. On a real screen it would wait for the mouse.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QSKIP("Qt's drag needs the offscreen platform here");
    ListOnForm source;
    addRows(source, {"Alpha"});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    source.object()->put(QStringLiteral("CurrentItem"), source.control->items()->value({int32_t(1)}));
    source.control->oleDrag();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(lastArgs(source.raised, QStringLiteral("OLECompleteDrag"))->at(0), Variant(int32_t(0)));
    QVERIFY(!source.control->dragMimeData());
    QCOMPARE(rowTexts(source.view()), QStringList{"Alpha"});
}

void TestDragDrop::pressingARowDragsThatRow()
{
    ListOnForm source;
    addRows(source, {"Alpha", "Bravo", "Charlie"});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    source.object()->put(QStringLiteral("CurrentItem"), source.control->items()->value({int32_t(1)}));
    QString dragged;
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t) {
        dragged = from.dataObject()->getData(1).stringValue();
        return 0;
    });
    const QPoint third = source.view().visualRect(source.view().model()->index(2, 0)).center();
    const QPoint away = third + QPoint(QApplication::startDragDistance(), 0);
    QTest::mousePress(source.view().viewport(), Qt::LeftButton, {}, third);
    QTest::mouseMove(source.view().viewport(), away);
    QTest::mouseRelease(source.view().viewport(), Qt::LeftButton, {}, away);
    QCOMPARE(dragged, QStringLiteral("Charlie"));
    QCOMPARE(lastArgs(source.raised, QStringLiteral("MouseClick"))->at(2).objectValue()->get(QStringLiteral("Index")),
             Variant(int32_t(3)));
}

void TestDragDrop::dragStartsOnlyWhenThePointerMoves_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("moved");
    QTest::addColumn<bool>("drags");
    const int distance = QApplication::startDragDistance();
    for (const bool grid : {false, true}) {
        const char* kind = grid ? "grid" : "list";
        QTest::addRow("%s: click", kind) << grid << 0 << false;
        QTest::addRow("%s: move shorter than the drag distance", kind) << grid << distance - 1 << false;
        QTest::addRow("%s: move of the drag distance", kind) << grid << distance << true;
    }
}

void TestDragDrop::dragStartsOnlyWhenThePointerMoves()
{
    QFETCH(bool, grid);
    QFETCH(int, moved);
    QFETCH(bool, drags);
    const QStringList rows{"Alpha", "Bravo", "Charlie"};
    Gesture g;
    if (grid) {
        GridOnForm f;
        f.addColumns();
        g = pressMoveRelease(f, rows, 1, moved);
    } else {
        ListOnForm f;
        g = pressMoveRelease(f, rows, 1, moved);
    }
    QCOMPARE(g.rowsBefore, rows);
    QCOMPARE(g.clicks, 1);
    if (drags) {
        // Dropped on itself as a move: the pressed row is the one moved away.
        QCOMPARE(g.loops, 1);
        QCOMPARE(g.dragEvents, (QStringList{"OLEStartDrag", "OLEDragOver0", "OLEDragOver2", "OLEDragDrop",
                                            "OLECompleteDrag"}));
        QCOMPARE(g.rowsAfter, (QStringList{"Alpha", "Charlie"}));
    } else {
        // A click is no drag: nothing dropped, nothing moved away.
        QCOMPARE(g.rowsAfter, rows);
        QCOMPARE(g.dragEvents, QStringList());
        QCOMPARE(g.loops, 0);
    }
}

void TestDragDrop::textSetWhileTheDragStartsIsDragged()
{
    ListOnForm source;
    addRows(source, {"row text"});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(1));
    source.object()->put(QStringLiteral("CurrentItem"), source.control->items()->value({int32_t(1)}));
    bool announced = false;
    source.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("OLEStartDrag"))
            return;
        const ObjectRef data = args.at(0).objectValue();
        // Text is on offer before the host gives it.
        announced = data->call(QStringLiteral("GetFormat"), {int16_t(1)}).boolValue();
        data->call(QStringLiteral("SetData"), {QStringLiteral("chosen"), int16_t(1)});
        data->call(QStringLiteral("SetData"), {QStringLiteral("other format"), int16_t(2)});
        data->call(QStringLiteral("SetData"), {Variant(), int16_t(1)});
    };
    QString dropped;
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t) {
        dropped = from.dragMimeData()->text();
        return 1;
    });
    source.control->oleDrag();
    QVERIFY(announced);
    QCOMPARE(dropped, QStringLiteral("chosen"));
    QCOMPARE(rowTexts(source.view()), QStringList{"row text"});
}

void TestDragDrop::dropModeNoneRefusesWithoutEvents()
{
    ListOnForm source(QStringLiteral("lstFrom"));
    GridOnForm target(QStringLiteral("grdTo"));
    addRows(source, {"Alpha"});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    source.object()->put(QStringLiteral("CurrentItem"), source.control->items()->value({int32_t(1)}));
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t) {
        return dragOnto(rowsOf(target.view()), from.dragMimeData(), QPoint(20, 10), Qt::NoModifier);
    });
    source.control->oleDrag();
    QCOMPARE(eventNames(target.raised, QStringLiteral("OLE")), QStringList());
    QCOMPARE(lastArgs(source.raised, QStringLiteral("OLECompleteDrag"))->at(0), Variant(int32_t(0)));
    QCOMPARE(rowTexts(source.view()), QStringList{"Alpha"});
}

void TestDragDrop::leavingTellsTheHost()
{
    ListOnForm target;
    target.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    // The host refuses this drag over it: the effect it leaves is the answer.
    target.onEvent = [](const QString& event, Args& args) {
        if (event == QLatin1String("OLEDragOver") && args.at(6).intValue() != 1)
            args[1] = int32_t(0);
    };
    QMimeData mime;
    mime.setText(QStringLiteral("passing"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rowsOf(target.view()), &enter);
    QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rowsOf(target.view()), &move);
    QVERIFY(!move.isAccepted());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(rowsOf(target.view()), &leave);
    const Args* left = lastArgs(target.raised, QStringLiteral("OLEDragOver"));
    QVERIFY(left->at(0).isObject() && !left->at(0).objectValue());
    QCOMPARE(left->at(1), Variant(int32_t(0)));
    QCOMPARE(left->at(4), Variant(-1.0));
    QCOMPARE(left->at(5), Variant(-1.0));
    QCOMPARE(left->at(6), Variant(int16_t(1)));
    // Outside a drag the data object gives nothing.
    QCOMPARE(target.control->dataObject()->getData(1), Variant());
}

void TestDragDrop::gridDragsTheCurrentCell()
{
    GridOnForm source;
    source.addColumns();
    source.control->items()->call(QStringLiteral("Add"), {QStringLiteral("A1\tAlpha\t10")});
    source.object()->put(QStringLiteral("OLEDragMode"), int16_t(2));
    source.view().setCurrentIndex(source.view().model()->index(0, 1));
    QString dragged;
    ListGridControl::setDragLoop([&](ListGridControl& from, int32_t) {
        dragged = from.dataObject()->getData(1).stringValue();
        return 0;
    });
    source.control->oleDrag();
    QCOMPARE(dragged, QStringLiteral("Alpha"));
    QCOMPARE(source.count(QStringLiteral("OLECompleteDrag")), 1);
}

void TestDragDrop::filesFromAFileManager()
{
    GridOnForm target;
    target.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    QStringList files;
    int32_t count = -1;
    bool hasFiles = false, hasText = true;
    Variant text = QStringLiteral("not asked");
    QStringList errors;
    target.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("OLEDragDrop"))
            return;
        const ObjectRef data = args.at(0).objectValue();
        hasFiles = data->call(QStringLiteral("GetFormat"), {int16_t(15)}).boolValue();
        hasText = data->call(QStringLiteral("GetFormat"), {int16_t(1)}).boolValue();
        text = data->call(QStringLiteral("GetData"), {int16_t(1)});
        const ObjectRef list = data->get(QStringLiteral("Files")).objectValue();
        count = list->get(QStringLiteral("Count")).intValue();
        for (int32_t i = 1; i <= count; ++i)
            files << list->value({i}).stringValue();
        for (int32_t wrong : {0, count + 1}) {
            try {
                list->call(QStringLiteral("Item"), {wrong});
            } catch (const basic::RuntimeError& e) {
                errors << QStringLiteral("%1 %2").arg(e.number(), 0, 16).arg(e.description());
            }
        }
    };
    const QStringList paths{QStringLiteral("/home/anna/imports/March invoices.csv"),
                            QStringLiteral("/home/anna/imports/Ääkköset.csv"), QStringLiteral("/tmp/b.csv")};
    std::unique_ptr<QMimeData> mime(fileManagerSelection(paths));
    QCOMPARE(dragOnto(rowsOf(target.view()), mime.get(), QPoint(10, 10), Qt::NoModifier), 2);
    QVERIFY(hasFiles);
    QVERIFY(!hasText);
    QCOMPARE(text, Variant());
    QCOMPARE(count, 3);
    QCOMPARE(files, paths);
    QCOMPARE(errors, (QStringList{"ffff Invalid index specified", "ffff Invalid index specified"}));
}

void TestDragDrop::filesEmptiedWhenTheNextDragEnters()
{
    ListOnForm target;
    target.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    QStringList seen;
    target.onEvent = [&](const QString& event, Args& args) {
        if (event == QLatin1String("OLEDragDrop"))
            seen << args.at(0).objectValue()->get(QStringLiteral("Files")).objectValue()->value({int32_t(1)}).stringValue();
    };
    std::unique_ptr<QMimeData> first(fileManagerSelection({QStringLiteral("/data/first.csv")}));
    std::unique_ptr<QMimeData> second(fileManagerSelection({QStringLiteral("/data/second.csv")}));
    dragOnto(rowsOf(target.view()), first.get(), QPoint(10, 10), Qt::NoModifier);
    dragOnto(rowsOf(target.view()), second.get(), QPoint(10, 10), Qt::NoModifier);
    QCOMPARE(seen, (QStringList{"/data/first.csv", "/data/second.csv"}));
}

void TestDragDrop::overlongDroppedFileNameIsRefused()
{
    ListOnForm target;
    target.object()->put(QStringLiteral("OLEDropMode"), int16_t(1));
    QString error;
    bool askedAgain = false;
    target.onEvent = [&](const QString& event, Args& args) {
        if (event != QLatin1String("OLEDragDrop"))
            return;
        const ObjectRef data = args.at(0).objectValue();
        try {
            data->get(QStringLiteral("Files"));
        } catch (const basic::RuntimeError& e) {
            error = e.description();
        }
        // Refused whole: asked again, it refuses again and lists nothing.
        try {
            data->get(QStringLiteral("Files"));
        } catch (const basic::RuntimeError&) {
            askedAgain = true;
        }
    };
    const QString longest = QStringLiteral("/") + QString(258, QLatin1Char('n'));
    const QString tooLong = longest + QLatin1Char('x');
    std::unique_ptr<QMimeData> fits(fileManagerSelection({longest}));
    dragOnto(rowsOf(target.view()), fits.get(), QPoint(10, 10), Qt::NoModifier);
    QCOMPARE(error, QString());
    std::unique_ptr<QMimeData> mime(fileManagerSelection({QStringLiteral("/ok.csv"), tooLong}));
    dragOnto(rowsOf(target.view()), mime.get(), QPoint(10, 10), Qt::NoModifier);
    QCOMPARE(error, QStringLiteral("The dropped file list is refused: file 2 has a name of 260 characters; a "
                                   "name may have at most 259."));
    QVERIFY(askedAgain);
    QCOMPARE(target.control->dataObject()->files()->m_files, QStringList());
}

void TestDragDrop::damagedFileListBlock_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("error");
    const QString refused = QStringLiteral("The dropped file list is refused: ");
    QTest::newRow("single-byte names") << ansiBlock(20, QByteArray("a.csv\0b.csv\0\0", 13))
                                       << QStringList{"a.csv", "b.csv"} << QString();
    QTest::newRow("wide names") << fileListBlock({QStringLiteral("c.csv")}) << QStringList{"c.csv"} << QString();
    QTest::newRow("short header") << QByteArray(12, '\0') << QStringList()
                                  << refused + QStringLiteral("its header needs 20 bytes and the block has 12.");
    QTest::newRow("names past the end") << ansiBlock(4000, QByteArray("a\0\0", 3)) << QStringList()
                                        << refused + QStringLiteral("its names begin at byte 4000, outside the block of 23 bytes.");
    QTest::newRow("names inside the header") << ansiBlock(8, QByteArray("a\0\0", 3)) << QStringList()
                                             << refused + QStringLiteral("its names begin at byte 8, outside the block of 23 bytes.");
    QTest::newRow("name without its end") << ansiBlock(20, QByteArray("a.csv\0b.c", 9)) << QStringList()
                                          << refused + QStringLiteral("name 2 does not end within the block.");
    QTest::newRow("list without its end") << ansiBlock(20, QByteArray("a.csv\0", 6)) << QStringList()
                                          << refused + QStringLiteral("the list does not end within the block.");
    QTest::newRow("overlong single-byte name")
        << ansiBlock(20, QByteArray(300, 'z') + QByteArray("\0\0", 2)) << QStringList()
        << refused + QStringLiteral("file 1 has a name of 300 characters; a name may have at most 259.");
}

void TestDragDrop::damagedFileListBlock()
{
    QFETCH(QByteArray, block);
    QFETCH(QStringList, files);
    QFETCH(QString, error);
    const FileList list = readFileListBlock(block);
    QCOMPARE(list.files, files);
    QCOMPARE(list.error, error);
}

int runDragDropTests(int argc, char** argv)
{
    TestDragDrop t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_dragdrop.moc"
