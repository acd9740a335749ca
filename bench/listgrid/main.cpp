// The list bound to 100,000 rows in paged mode, scrolled from top to bottom (page
// callbacks and paint), beside filling the same rows as host rows in the same run.
// The paged scroll should take under a second. Not a test.
#include "bench/common/Offscreen.h"

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/host/ContainerForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>

namespace {

constexpr int32_t Rows = 100000;

struct Placed
{
    listgrid::ContainerForm form;
    std::shared_ptr<listgrid::CListCtrl> list = std::make_shared<listgrid::CListCtrl>();
    listgrid::FormControlSite* site = nullptr;

    Placed()
    {
        form.resize(640, 480);
        site = &form.addControl(list, QStringLiteral("Vorlen.ListCtrl.1"), QStringLiteral("lstRows"), 0);
        site->initNew();
        site->move(0, 0, 9000, 6750);
        auto columns = list->columns();
        columns->clear();
        for (const char* key : {"Code", "Name", "Balance"})
            columns->add(basic::Variant::missing(), QString::fromLatin1(key), QString::fromLatin1(key), int16_t(14));
        form.show();
        site->setVisible(true);
    }
};

QString rowText(int32_t row) { return QStringLiteral("C%1\tCustomer %1\t%2").arg(row).arg(row * 1.25); }

} // namespace

int main(int argc, char** argv)
{
    bench::useOffscreenPlatform();
    QApplication app(argc, argv);

    // Host rows: every row added through Items.
    double hostMs = 0;
    {
        Placed p;
        QElapsedTimer t;
        t.start();
        for (int32_t row = 1; row <= Rows; ++row)
            p.list->items()->call(QStringLiteral("Add"), {rowText(row)});
        QCoreApplication::processEvents();
        hostMs = double(t.nsecsElapsed()) / 1e6;
        if (p.list->wrapper()->GetRowCount() != Rows)
            return 1;
    }

    // Paged: the window asks for what it shows while the view scrolls to the bottom.
    Placed p;
    int32_t asked = 0, fills = 0;
    QElapsedTimer inFill;
    qint64 fillNs = 0;
    p.site->onEvent = [&](automation::DispId, const QString& name, automation::Args& args) {
        if (name != QLatin1String("PagedFill"))
            return;
        ++fills;
        inFill.start();
        const auto counted = qScopeGuard([&] { fillNs += inFill.nsecsElapsed(); });
        for (int32_t row = args.at(0).intValue(); row <= args.at(1).intValue(); ++row, ++asked)
            p.list->items()->call(QStringLiteral("Add"), {rowText(row)});
    };
    QElapsedTimer t;
    t.start();
    p.list->put(QStringLiteral("PagedCount"), Rows);
    p.list->put(QStringLiteral("DataSource"), QStringLiteral("Paged Data"));
    QTableView* view = p.list->window()->view();
    QCoreApplication::processEvents(); // the view takes its new row count
    QScrollBar* bar = view->verticalScrollBar();
    // The whole viewport painted at each page, into one picture the size of the view.
    QPixmap picture(view->viewport()->size());
    const auto paint = [&] { view->viewport()->render(&picture); };
    for (int value = 0; value < bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        paint();
    }
    bar->setValue(bar->maximum());
    paint();
    QCoreApplication::processEvents();
    const double pagedMs = double(t.nsecsElapsed()) / 1e6;
    const QString last = view->model()->index(Rows - 1, 1).data().toString();

    std::printf("host rows   %6d rows filled          %9.1f ms\n", Rows, hostMs);
    std::printf("paged rows  %6d rows scrolled, %d fills of %d rows  %9.1f ms  (%.2f of host rows; %.1f ms in the fills)\n",
                Rows, fills, asked, pagedMs, pagedMs / hostMs, double(fillNs) / 1e6);
    if (last != QStringLiteral("Customer %1").arg(Rows) || asked < Rows) {
        std::printf("paged: the last row was not filled (%s)\n", qPrintable(last));
        return 1;
    }
    std::printf("paged scroll (target 1,000 ms: %s)\n", pagedMs < 1000.0 ? "within" : "OVER");
    return 0;
}
