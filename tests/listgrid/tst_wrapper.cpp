// The wrapper's contract from the sending side: each operation sends the message
// and packing of docs/listwindow.md (a recording window), and mapping and
// reference counting behave.
#include "TestHost.h"

#include "package/listwindow/ListMessages.h"

#include <QTest>

#include <cstring>

using namespace listgrid;
using namespace vllist;

using Operation = std::function<void(CListViewWnd&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

constexpr Message None = 0;
constexpr LParam AnyPointer = LParam(0x7FFFFFFF);

} // namespace

class TestWrapper : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneOperationOneMessage_data();
    void oneOperationOneMessage();
    void recordsArePacked();
    void gridOperations();
    void columnMappingOnceAMovableColumnIsApplied();
    void typedCellValues();
    void objectsOutliveTheirControl();
};

void TestWrapper::oneOperationOneMessage_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<uint32_t>("listMessage");
    QTest::addColumn<uint32_t>("gridMessage");
    QTest::addColumn<qulonglong>("wParam");
    QTest::addColumn<qlonglong>("lParam");
    const auto row = [](const char* name, Operation op, Message l, Message g, WParam w, LParam lp) {
        QTest::addRow("%s", name) << op << l << g << qulonglong(w) << qlonglong(lp);
    };
    row("DeleteColumn", [](CListViewWnd& w) { w.DeleteColumn(2); }, 0x1436, 0x142D, 0, 2);
    row("FindColumnById", [](CListViewWnd& w) { w.FindColumnById(10005); }, 0x1435, 0x142C, 0, 10005);
    row("FindColumnById 16 bits", [](CListViewWnd& w) { w.FindColumnById(0x12710); }, 0x1435, 0x142C, 0, 0x2710);
    row("SetColumnSort", [](CListViewWnd& w) { w.SetColumnSort(1, 2); }, 0x141B, 0x1438, 1, 2);
    row("ShowColumn", [](CListViewWnd& w) { w.ShowColumn(3, false); }, 0x142B, 0x1423, 3, 0);
    row("GetRowCount", [](CListViewWnd& w) { w.GetRowCount(); }, 0x1443, 0x140E, 0, 0);
    row("DeleteRow", [](CListViewWnd& w) { w.DeleteRow(4); }, 0x140B, 0x1408, 0, 4);
    row("DeleteAllRows", [](CListViewWnd& w) { w.DeleteAllRows(); }, 0x140A, 0x1407, 0, 0);
    row("GetCurrentRow", [](CListViewWnd& w) { w.GetCurrentRow(); }, 0x1408, 0x1405, 0, 0);
    row("GetStateChangeRow", [](CListViewWnd& w) { w.GetStateChangeRow(); }, 0x1447, 0x1447, 0, 0);
    row("GetCurrentColumn", [](CListViewWnd& w) { w.GetCurrentColumn(); }, 0x1409, 0x1406, 0, 0);
    row("IsRowSelected", [](CListViewWnd& w) { w.IsRowSelected(5); }, 0x1418, None, 0, 5);
    row("SelectRow", [](CListViewWnd& w) { w.SelectRow(5, true); }, 0x1412, None, 1, 5);
    row("GetSelectedCount", [](CListViewWnd& w) { w.GetSelectedCount(); }, 0x1413, None, 0, 0);
    row("FirstSelected", [](CListViewWnd& w) { int32_t c = 0; w.FirstSelected(c); }, 0x1414, None, 0, AnyPointer);
    row("LastSelected", [](CListViewWnd& w) { int32_t c = 0; w.LastSelected(c); }, 0x1415, None, 0, AnyPointer);
    row("NextSelected", [](CListViewWnd& w) { int32_t c = 0; w.NextSelected(c); }, 0x1416, None, 0, AnyPointer);
    row("PreviousSelected", [](CListViewWnd& w) { int32_t c = 0; w.PreviousSelected(c); }, 0x1417, None, 0, AnyPointer);
    row("CurrentSelected", [](CListViewWnd& w) { int32_t c = 0; w.CurrentSelected(c); }, 0x1430, None, 0, AnyPointer);
    row("ColumnToWindow", [](CListViewWnd& w) { w.ColumnToWindow(2); }, 0x1439, 0x142F, 0, 2);
    row("ColumnFromWindow", [](CListViewWnd& w) { w.ColumnFromWindow(2); }, 0x143A, 0x1430, 0, 2);
    row("RefreshStyle", [](CListViewWnd& w) { w.RefreshStyle(); }, 0x1433, 0x142A, 0, 0);
    row("SetCurrentCell keeping the column", [](CListViewWnd& w) { w.SetCurrentCell(7, -2); }, 0x140C, 0x1409, 0xFFFE, 7);
    row("SetCurrentCell none", [](CListViewWnd& w) { w.SetCurrentCell(-1, -2); }, 0x140C, 0x1409, 0xFFFE, -1);
    row("GetClickedColumn", [](CListViewWnd& w) { w.GetClickedColumn(); }, 0x1419, 0x140F, 0, 0);
    row("GetRowImage", [](CListViewWnd& w) { w.GetRowImage(3); }, 0x143B, None, 0, 3);
    row("SetRowImage", [](CListViewWnd& w) { w.SetRowImage(3, 2); }, 0x143C, None, 2, 3);
    row("GetRowKey", [](CListViewWnd& w) { w.GetRowKey(3); }, 0x1410, 0x140D, 0, 3);
    row("SetVisibleRows 0 as -1", [](CListViewWnd& w) { w.SetVisibleRows(0); }, 0x1432, 0x1429, 0, -1);
    row("SetVisibleRows", [](CListViewWnd& w) { w.SetVisibleRows(8); }, 0x1432, 0x1429, 0, 8);
    row("SetVirtualRowCount 0 as -1", [](CListViewWnd& w) { w.SetVirtualRowCount(0); }, 0x1441, 0x1437, 0, -1);
    row("SetFindResult", [](CListViewWnd& w) { w.SetFindResult(4); }, 0x1426, None, 0, 4);
    row("GetFindRequest", [](CListViewWnd& w) { FindRequest r; w.GetFindRequest(r); }, 0x1425, None, 0, AnyPointer);
    row("GetColumnEditor", [](CListViewWnd& w) { w.GetColumnEditor(10001); }, None, 0x1411, 0, 10001);
    row("GetColumnEditorAt", [](CListViewWnd& w) { w.GetColumnEditorAt(1); }, None, 0x1410, 0, 1);
    row("SetDragEnabled", [](CListViewWnd& w) { w.SetDragEnabled(true); }, 0x1444, 0x143A, 0, 1);
    row("SetColumnWidthNow", [](CListViewWnd& w) { w.SetColumnWidthNow(1, 20); }, 0x1428, 0x1420, 1, 20);
    row("GetColumnWidthNow", [](CListViewWnd& w) { w.GetColumnWidthNow(1); }, 0x1442, 0x144D, 0, 1);
    row("MoveColumnTo", [](CListViewWnd& w) { w.MoveColumnTo(1, 3); }, 0x1452, 0x144E, 1, 3);
    row("GetColumnPosition", [](CListViewWnd& w) { w.GetColumnPosition(2); }, 0x1439, 0x142F, 0, 2);
    row("BeginColumnRebuild", [](CListViewWnd& w) { w.BeginColumnRebuild(); }, 0x145B, 0x145B, 0, 1);
    row("EndColumnRebuild", [](CListViewWnd& w) { w.EndColumnRebuild(); }, 0x145B, 0x145B, 0, 0);
    row("InsertColumn", [](CListViewWnd& w) { ColumnDefinition d; w.InsertColumn(2, d); }, 0x1437, 0x142E, 2, AnyPointer);
    row("GetColumnDefinition", [](CListViewWnd& w) { ColumnDefinition d; w.GetColumnDefinition(1, d); }, 0x142E, 0x1426, 1, AnyPointer);
    row("SetColumnDefinition", [](CListViewWnd& w) { ColumnDefinition d; w.SetColumnDefinition(1, d); }, 0x1431, 0x1428, 1, AnyPointer);
    row("InsertTextRow", [](CListViewWnd& w) { w.InsertTextRow(-1, QStringLiteral("a"), 0, 0); }, 0x1402, 0x1402, 1, AnyPointer);
    row("InsertDataRow", [](CListViewWnd& w) { w.InsertDataRow(nullptr); }, 0x1402, 0x1402, 1, AnyPointer);
    row("SetRowText", [](CListViewWnd& w) { w.SetRowText(0, QStringLiteral("a")); }, 0x140E, 0x140B, 0, AnyPointer);
    row("GetRowText", [](CListViewWnd& w) { w.GetRowText(0); }, 0x140D, 0x140A, 0, AnyPointer);
    row("SetRowKey", [](CListViewWnd& w) { w.SetRowKey(0, 9); }, 0x140F, 0x140C, 0, AnyPointer);
    row("SetCellColours", [](CListViewWnd& w) { w.SetCellColours(0, 0, {}); }, 0x1424, 0x141E, 0, AnyPointer);
    row("GetCellColours", [](CListViewWnd& w) { w.GetCellColours(0, 0); }, 0x1440, 0x1434, 0, AnyPointer);
    row("SetColumnColours", [](CListViewWnd& w) { w.SetColumnColours(0, {}); }, 0x1423, 0x141D, 0, AnyPointer);
    row("SetRowColours", [](CListViewWnd& w) { w.SetRowColours(0, {}); }, 0x1422, 0x141C, 0, AnyPointer);
    row("GetRowColours", [](CListViewWnd& w) { w.GetRowColours(0); }, 0x143E, 0x1432, 0, AnyPointer);
    row("SetAlternateColours", [](CListViewWnd& w) { w.SetAlternateColours(1, {}); }, 0x1421, 0x141B, 0, AnyPointer);
    row("SetCaptionColours", [](CListViewWnd& w) { w.SetCaptionColours(0, -1, -1); }, 0x144D, 0x144A, 0, AnyPointer);
    row("SetCellText", [](CListViewWnd& w) { w.SetCellText(0, 0, QStringLiteral("Deleted")); }, 0x142C, 0x1424, 0, AnyPointer);
    row("SetCellEnabled", [](CListViewWnd& w) { w.SetCellEnabled(0, 0, false); }, None, 0x141A, 0, AnyPointer);
    row("FindRow", [](CListViewWnd& w) { w.FindRow(QStringLiteral("a"), 0, 1); }, 0x1427, None, 1, AnyPointer);
    row("GetColumnRect", [](CListViewWnd& w) { Rect r; w.GetColumnRect(2, r); }, 0x1446, 0x143C, 2, AnyPointer);
}

void TestWrapper::oneOperationOneMessage()
{
    QFETCH(Operation, operation);
    QFETCH(uint32_t, listMessage);
    QFETCH(uint32_t, gridMessage);
    QFETCH(qulonglong, wParam);
    QFETCH(qlonglong, lParam);
    for (const bool grid : {false, true}) {
        TestHost host(grid);
        RecordingWindow window;
        host.window = &window;
        operation(*host.wnd);
        const Message expected = grid ? gridMessage : listMessage;
        if (expected == None) {
            QVERIFY2(window.sent.empty(), grid ? "the grid sends nothing" : "the list sends nothing");
            continue;
        }
        QCOMPARE(window.sent.size(), size_t(1));
        QCOMPARE(window.sent[0].message, expected);
        QCOMPARE(qulonglong(window.sent[0].wParam), wParam);
        if (lParam == AnyPointer)
            QVERIFY(window.sent[0].lParam != 0);
        else
            QCOMPARE(qlonglong(window.sent[0].lParam), lParam);
    }
}

void TestWrapper::recordsArePacked()
{
    TestHost host(false);
    RecordingWindow window;
    host.window = &window;
    QByteArray seen;
    int32_t kind = -1, row = -2, key = 0, image = 0;
    window.answer = [&](Message m, WParam, LParam l) -> LParam {
        if (m == list::InsertRow) {
            const auto* r = fromLParam<RowInsert>(l);
            kind = r->kind;
            seen = QByteArray(static_cast<const char*>(r->data));
            row = r->row;
            key = r->key;
            image = r->image;
            return 6;
        }
        return 0;
    };
    QCOMPARE(host.wnd->InsertTextRow(-1, QStringLiteral("a\tb"), 42, int16_t(-1)), 6);
    QCOMPARE(kind, 1);
    QCOMPARE(seen, QByteArray("a\tb"));
    QCOMPARE(row, -1);
    QCOMPARE(key, 42);
    QCOMPARE(image, -1); // widened with its sign

    AlternateColours alternate;
    CaptionColours caption;
    Find find;
    QByteArray findText;
    window.answer = [&](Message m, WParam, LParam l) -> LParam {
        if (m == list::SetAlternateColours)
            alternate = *fromLParam<AlternateColours>(l);
        if (m == list::SetCaptionColours)
            caption = *fromLParam<CaptionColours>(l);
        if (m == list::FindRow) {
            find = *fromLParam<Find>(l);
            findText = find.text;
        }
        return -1;
    };
    host.wnd->SetAlternateColours(2, {0x0000FF, -1, -1, -1});
    QCOMPARE(alternate.count, 3); // AlternateItems + 1
    QCOMPARE(alternate.colours.back, 0x0000FF);
    host.wnd->SetCaptionColours(1, 0x00FF00, -1);
    QCOMPARE(caption.column, 1);
    QCOMPARE(caption.back, 0x00FF00);
    QCOMPARE(caption.unused1, -1);
    QCOMPARE(caption.unused2, -1);
    QCOMPARE(host.wnd->FindRow(QStringLiteral("Smith"), 4, 1), -1);
    QCOMPARE(findText, QByteArray("Smith"));
    QCOMPARE(find.one, 1);
    QCOMPARE(find.start, 4);

    // Colours by slot: a default goes as -1, a system colour as its RGB value.
    QCOMPARE(windowColour(colours::Back, colours::Back), -1);
    QCOMPARE(windowColour(0x00102030u, colours::Back), 0x00102030);
    QVERIFY(windowColour(colours::Back, colours::Fore) != -1);
}

void TestWrapper::gridOperations()
{
    TestHost host(true);
    RecordingWindow window;
    host.window = &window;
    auto& grid = static_cast<CGridViewWnd&>(*host.wnd);
    RowInsert insert;
    window.answer = [&](Message m, WParam, LParam l) -> LParam {
        if (m == grid::InsertRow)
            insert = *fromLParam<RowInsert>(l);
        if (m == grid::GetNotifyColumn)
            return (3 << 16) | 2;
        if (m == grid::GetNextCell)
            *fromLParam<NextCell>(l) = {4, 1};
        return 0;
    };
    const char packed[4] = {1, 0, 0, 0};
    grid.InsertGridDataRow(packed);
    QCOMPARE(insert.kind, 0);
    QCOMPARE(insert.data, static_cast<const void*>(packed));
    QCOMPARE(insert.row, -1);
    grid.SetFixedRows(0);
    QCOMPARE(window.sent.back().message, grid::SetFixedRows);
    QCOMPARE(window.sent.back().lParam, -1);
    QCOMPARE(grid.GetNotifyColumn(), (3 << 16) | 2);
    grid.SuspendEditing(true);
    QCOMPARE(window.sent.back().message, grid::SuspendEditing);
    QCOMPARE(window.sent.back().lParam, 1);
    const NextCell next = grid.GetNextCell();
    QCOMPARE(next.row, 4);
    QCOMPARE(next.column, 1);
    grid.SetAutoCalculate(true);
    QCOMPARE(window.sent.back().message, grid::SetAutoCalculate);
    // Row operations the grid has not: fixed results, nothing sent.
    window.sent.clear();
    QCOMPARE(grid.GetRowImage(0), -1);
    QCOMPARE(grid.IsRowSelected(0), false);
    QCOMPARE(grid.FindRow(QStringLiteral("x"), 0, 0), -1);
    QVERIFY(window.sent.empty());
}

void TestWrapper::columnMappingOnceAMovableColumnIsApplied()
{
    TestHost host(false);
    RecordingWindow window;
    host.window = &window;
    // The window's order is the control's order shifted by 10.
    window.answer = [](Message m, WParam, LParam l) -> LParam {
        if (m == list::ColumnToWindow)
            return l + 10;
        if (m == list::ColumnFromWindow)
            return l - 10;
        if (m == list::FindColumnById)
            return 15;
        return 0;
    };
    host.wnd->DeleteColumn(2);
    QCOMPARE(window.sent.back().lParam, 2);
    QCOMPARE(host.wnd->FindColumnById(10000), 15);

    ColumnDefinition movable;
    movable.flags = ColumnFlag::AllowMove;
    host.wnd->InsertColumn(0, movable);
    QVERIFY(host.wnd->columnMapping());
    QCOMPARE(window.sent.back().wParam, WParam(10));

    window.sent.clear();
    host.wnd->DeleteColumn(2);
    QCOMPARE(window.sent.size(), size_t(2));
    QCOMPARE(window.sent[0].message, list::ColumnToWindow);
    QCOMPARE(window.sent[1].lParam, 12);
    // Results come back in the control's order, so that a caller's next operation maps once.
    QCOMPARE(host.wnd->FindColumnById(10000), 5);
    // Column rectangles are asked for by the column's place in Columns too.
    window.sent.clear();
    Rect rect;
    host.wnd->GetColumnRect(1, rect);
    QCOMPARE(window.sent.back().message, list::GetColumnRect);
    QCOMPARE(window.sent.back().wParam, WParam(11));
    // -1 is never mapped.
    window.sent.clear();
    host.wnd->SetCellText(0, -1, QStringLiteral("x"));
    QCOMPARE(window.sent.size(), size_t(1));
}

void TestWrapper::typedCellValues()
{
    TestHost host(true);
    RecordingWindow window;
    host.window = &window;
    auto text = host.cols->add(basic::Variant::missing(), QStringLiteral("T"), basic::Variant::missing(), basic::Variant::missing());
    text->setMaxLength(4);
    auto number = host.cols->add(basic::Variant::missing(), QStringLiteral("N"), basic::Variant::missing(), basic::Variant::missing());
    number->setDataType(lstDataLong);
    QByteArray sentText;
    int32_t sentNumber = 0;
    int sends = 0;
    window.answer = [&](Message m, WParam, LParam l) -> LParam {
        const auto* r = fromLParam<RowText>(l);
        if (m == grid::SetRowText && r->kind == 0) {
            ++sends;
            if (r->column == 0)
                sentText = static_cast<const char*>(r->data);
            else
                std::memcpy(&sentNumber, r->data, 4);
        }
        if (m == grid::GetRowText && r->kind == 0 && r->column == 1) {
            const int32_t v = 77;
            std::memcpy(r->data, &v, 4);
        }
        return 0;
    };
    host.wnd->SetCellValue(0, 0, QStringLiteral("abcdefgh"));
    QCOMPARE(sentText, QByteArray("abcd")); // the grid cuts to MaxLength
    host.wnd->SetCellValue(0, 1, QStringLiteral("123"));
    QCOMPARE(sentNumber, 123);
    host.wnd->SetCellValue(0, 1, QStringLiteral("not a number"));
    QCOMPARE(sends, 2); // a value that does not convert sends nothing
    QCOMPARE(host.wnd->GetCellValue(0, 1), basic::Variant(int32_t(77)));

    TestHost listHost(false);
    RecordingWindow listWindow;
    listHost.window = &listWindow;
    auto listText = listHost.cols->add(basic::Variant::missing(), basic::Variant::missing(), basic::Variant::missing(), basic::Variant::missing());
    listText->setMaxLength(4);
    listWindow.answer = [&](Message m, WParam, LParam l) -> LParam {
        if (m == list::SetRowText)
            sentText = static_cast<const char*>(fromLParam<RowText>(l)->data);
        return 0;
    };
    listHost.wnd->SetCellValue(0, 0, QStringLiteral("abcdefgh"));
    QCOMPARE(sentText, QByteArray("abcdefgh")); // the list sends it whole
}

void TestWrapper::objectsOutliveTheirControl()
{
    auto host = std::make_unique<TestHost>(false);
    host->createRealWindow();
    auto column = host->cols->add(basic::Variant::missing(), basic::Variant::missing(), basic::Variant::missing(), basic::Variant::missing());
    std::weak_ptr<CListViewWnd> wrapper = host->wnd;
    auto columns = host->cols;
    QVERIFY(host->wnd->IsCreated());
    host->destroy();
    host.reset();
    QVERIFY(!wrapper.expired()); // the column still holds it
    QVERIFY(!wrapper.lock()->IsCreated());
    column->setCaption(QStringLiteral("After")); // no control, no window: stored only
    QCOMPARE(column->settings().caption, QStringLiteral("After"));
    QCOMPARE(column->sort(), int16_t(0));
    column.reset();
    columns.reset();
    QVERIFY(wrapper.expired());
}

int runWrapperTests(int argc, char** argv)
{
    TestWrapper t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_wrapper.moc"
