// A picture of the controls' drawn parts that the container program does not show:
// a list with images from an ImageList on the form, and a grid whose calculator
// (or, with "calendar", date) editor has its drop-down part open; with "popup", a
// grid with a blank last row whose popup editor shows its button.
//   listgrid_dropdowns [calendar | popup]
#include "controls/listgrid/Columns.h"
#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/host/ContainerForm.h"

#include "platform/forms/ImageList.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTableView>
#include <QTimer>

#include <memory>

namespace {

QImage icon(const QColor& colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawEllipse(QRectF(2, 2, 12, 12));
    return image;
}

void addColumn(const std::shared_ptr<listgrid::CColumns>& columns, const char* caption, int16_t width,
               int16_t controlType = listgrid::lstCtlEdit)
{
    const auto column = columns->add(basic::Variant::missing(), QString(), QString::fromLatin1(caption), width);
    column->setControlType(controlType);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool calendar = argc > 1 && QByteArray(argv[1]) == "calendar";
    const bool popup = argc > 1 && QByteArray(argv[1]) == "popup";
    listgrid::ContainerForm form;
    form.setWindowTitle(QStringLiteral("List images and grid drop-downs"));
    form.resize(560, 440);

    auto icons = std::make_shared<forms::ImageList>();
    for (const QColor& colour : {QColor(0x2E7D32), QColor(0xC62828), QColor(0xF9A825)})
        icons->addImage(icon(colour));
    icons->m_imageWidth = icons->m_imageHeight = 16;
    form.addObject(QStringLiteral("imlStates"), icons, forms::ImageList::ClassId);

    auto* caption = new QLabel(QStringLiteral("Files with their state, and an order being edited"), &form);
    caption->setGeometry(10, 6, 540, 20);

    auto list = std::make_shared<listgrid::CListCtrl>();
    auto& listSite = form.addControl(list, QStringLiteral("Vorlen.ListCtrl.1"), QStringLiteral("lstFiles"), 0);
    listSite.initNew();
    listSite.move(150, 450, 7800, 2100);
    auto grid = std::make_shared<listgrid::CGridCtrl>();
    auto& gridSite = form.addControl(grid, QStringLiteral("Vorlen.GridCtrl.1"), QStringLiteral("grdOrder"), 1);
    gridSite.initNew();
    gridSite.move(150, 2850, 7800, 2400);
    form.show();
    listSite.setVisible(true);
    gridSite.setVisible(true);

    list->put(QStringLiteral("ImageList"), QStringLiteral("imlStates"));
    auto listColumns = list->columns();
    listColumns->clear();
    addColumn(listColumns, "File", 24);
    addColumn(listColumns, "State", 20);
    const char* files[][2] = {{"invoices.csv", "Posted"}, {"orders-march.csv", "Errors found"}, {"credit-notes.csv", "Waiting"}};
    for (int16_t i = 0; i < 3; ++i)
        list->items()->call(QStringLiteral("Add"), {QStringLiteral("%1\t%2").arg(QLatin1String(files[i][0]), QLatin1String(files[i][1])),
                                                     basic::Variant::missing(), int16_t(i + 1)});

    grid->put(QStringLiteral("GridLinesVisible"), true);
    auto gridColumns = grid->columns();
    gridColumns->clear();
    addColumn(gridColumns, "Product", 18, popup ? listgrid::lstCtlPopup : listgrid::lstCtlEdit);
    if (popup)
        grid->put(QStringLiteral("AllowBlankLastRow"), true);
    addColumn(gridColumns, "Quantity", 10, listgrid::lstCtlCalculator);
    addColumn(gridColumns, "Due", 12, listgrid::lstCtlDate);
    for (const char* row : {"HOSE-25\t12\t14/12/2026", "TAP-BRASS\t40\t18/12/2026", "SPRAY-2L\t6\t04/01/2027"})
        grid->items()->call(QStringLiteral("Add"), {QString::fromLatin1(row)});

    // The second row's quantity (or due date) is being edited, its drop-down open.
    QTimer::singleShot(300, &app, [&] {
        QTableView* view = grid->window()->view();
        const QModelIndex cell = view->model()->index(1, popup ? 0 : calendar ? 2 : 1);
        view->setFocus();
        view->setCurrentIndex(cell);
        view->edit(cell);
        if (!popup)
            gridColumns->at(calendar ? 2 : 1)->showPopup();
    });
    return app.exec();
}
