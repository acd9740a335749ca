// listgrid_pageshost <list|grid> <general|columns|font|color> [tab [column]]: the property frame of a list or
// grid control (with a data source and a few columns) on the page and tab named,
// shown until it is closed; for pictures of the pages.
#include "controls/listgrid/Columns.h"
#include "controls/listgrid/ContainerHelpers.h"
#include "controls/listgrid/GridCtrl.h"
#include "controls/listgrid/ListCtrl.h"
#include "controls/listgrid/host/ContainerForm.h"
#include "controls/listgrid/pages/ColumnsPage.h"
#include "controls/listgrid/pages/GeneralPages.h"

#include "platform/automation/MemberTable.h"
#include "platform/controlframework/PropertyPage.h"

#include <QApplication>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>

namespace {

class Placeholder : public automation::Object
{
public:
    QString className() const override { return QStringLiteral("Placeholder"); }
    automation::DispId idOfName(const QString& name) const override { automation::throwUnknownName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke, automation::Args&, const basic::Variant&) override
    {
        automation::throwMemberNotFound(id);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: listgrid_pageshost <list|grid> <general|columns|font|color> [tab [column]]\n");
        return 2;
    }
    const bool grid = args.at(1) == QLatin1String("grid");
    listgrid::registerPropertyPages();

    listgrid::ContainerForm form;
    form.addObject(QStringLiteral("imgIcons"), std::make_shared<Placeholder>(), QLatin1String(listgrid::ImageListClassIds[0]));
    form.addObject(QStringLiteral("datCustomers"), std::make_shared<Placeholder>(),
                   QLatin1String(listgrid::DataControlClassId));
    automation::ObjectRef control = grid ? automation::ObjectRef(std::make_shared<listgrid::CGridCtrl>())
                                         : automation::ObjectRef(std::make_shared<listgrid::CListCtrl>());
    auto& site = form.addControl(control, grid ? QStringLiteral("Vorlen.GridCtrl.1") : QStringLiteral("Vorlen.ListCtrl.1"),
                                 QStringLiteral("lstCustomers"), 0);
    site.setUserMode(false);
    site.initNew();
    auto columns = static_cast<listgrid::ListGridControl&>(*control).columns();
    columns->clear();
    columns->add(basic::Variant::missing(), QStringLiteral("CODE"), QStringLiteral("Account"), int16_t(8));
    columns->add(basic::Variant::missing(), QStringLiteral("NAME"), QStringLiteral("Name"), int16_t(30));
    // The third column is edited through a popup, whose Control tab offers the most boxes.
    const auto popup = columns->add(basic::Variant::missing(), QStringLiteral("REP"), QStringLiteral("Rep"), int16_t(10));
    popup->setControlType(listgrid::lstCtlPopup);
    popup->setControlStyle(0x100);

    auto frame = controlframework::PropertyFrame::forControl(QStringLiteral("lstCustomers Properties"), control);
    const QStringList pages{QStringLiteral("general"), QStringLiteral("columns"), QStringLiteral("font"),
                            QStringLiteral("color")};
    frame->tabs()->setCurrentIndex(std::max(0, int(pages.indexOf(args.at(2)))));
    if (args.size() > 3)
        if (auto* page = dynamic_cast<listgrid::CColumnsPropPage*>(&frame->page(1))) {
            if (args.size() > 4)
                page->findChild<QSpinBox*>(QStringLiteral("Column"))->setValue(args.at(4).toInt());
            page->tabs()->setCurrentIndex(args.at(3).toInt());
        }
    frame->show();
    return app.exec();
}
