// The test container: a form with a list and a grid of the VLOList library, both
// bound to the customers of a company through the package's data control. It builds
// the form, stores its design, places the controls again from the stored design,
// and shows them (saving a picture of the screen when asked).
//   listgrid_container <company folder> [design.json] [picture.png]
#include "controls/listgrid/host/ContainerForm.h"

#include "package/company/CompanyFolder.h"
#include "package/datacontrol/DataControl.h"

#include "platform/basic/RuntimeError.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

const QString ListProgId = QStringLiteral("Vorlen.ListCtrl.1");
const QString GridProgId = QStringLiteral("Vorlen.GridCtrl.1");

void addColumn(const automation::ObjectRef& columns, const char* field, const char* caption, int16_t width)
{
    const automation::ObjectRef column =
        columns->call(QStringLiteral("Add"), {basic::Variant::missing(), QString::fromLatin1(field),
                                              QString::fromLatin1(caption), width})
            .objectValue();
    column->put(QStringLiteral("DataField"), QString::fromLatin1(field));
}

// The form as a designer would make it: the data control, the list and the grid.
QJsonObject designForm(const std::shared_ptr<vldata::DataControl>& data)
{
    listgrid::ContainerForm form;
    form.addObject(QStringLiteral("datCustomers"), data, QLatin1String(vldata::DataControlClassId));
    auto& list = form.addControl(ListProgId, QStringLiteral("lstCustomers"), 0);
    list.initNew();
    list.move(150, 450, 8400, 4200);
    auto& grid = form.addControl(GridProgId, QStringLiteral("grdCustomers"), 1);
    grid.initNew();
    grid.move(150, 5100, 8400, 3600);
    for (auto* site : {&list, &grid}) {
        const automation::ObjectRef control = site->object();
        control->put(QStringLiteral("DataSource"), QStringLiteral("datCustomers"));
        const automation::ObjectRef columns = control->get(QStringLiteral("Columns")).objectValue();
        columns->call(QStringLiteral("Clear"));
        addColumn(columns, "ACCOUNT_REF", "Account", 10);
        addColumn(columns, "NAME", "Name", 28);
        addColumn(columns, "BALANCE", "Balance", 12);
        control->put(QStringLiteral("AlternateItems"), int16_t(1));
        control->put(QStringLiteral("AlternateBackColor"), int32_t(0xF4ECE0));
    }
    grid.object()->put(QStringLiteral("GridLinesVisible"), true);
    return form.saveDesign();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: listgrid_container <company folder> [design.json] [picture.png]\n");
        return 1;
    }
    QTemporaryDir hives;
    if (qEnvironmentVariableIsEmpty("QUILLAR_USER_HIVE")) {
        qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
        qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    }
    if (QProcess::execute(QStringLiteral(REGSVR_PATH), {QStringLiteral("/s"), QStringLiteral(VLOLIST_PATH)}) != 0) {
        std::fprintf(stderr, "listgrid_container: the list library could not be registered\n");
        return 2;
    }
    auto data = std::make_shared<vldata::DataControl>();
    QString error;
    const QString ledger = company::folder::ledgerFileOf(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/ACCDATA"));
    if (!data->open(ledger, QStringLiteral("customers"), error)) {
        std::fprintf(stderr, "listgrid_container: %s\n", qPrintable(error));
        return 3;
    }
    try {
        const QJsonObject design = designForm(data);
        if (argc > 2) {
            QFile out(QString::fromLocal8Bit(argv[2]));
            if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(design).toJson()) < 0) {
                std::fprintf(stderr, "listgrid_container: cannot write %s\n", argv[2]);
                return 4;
            }
        }
        listgrid::ContainerForm form;
        form.setWindowTitle(QStringLiteral("List and grid container"));
        form.resize(600, 620);
        auto* caption = new QLabel(QStringLiteral("Customers of the company, list above and grid below"), &form);
        caption->setGeometry(10, 6, 560, 20);
        form.addObject(QStringLiteral("datCustomers"), data, QLatin1String(vldata::DataControlClassId));
        form.loadDesign(design);
        form.show();
        for (const QString& name : {QStringLiteral("lstCustomers"), QStringLiteral("grdCustomers")})
            form.site(name)->setVisible(true);
        if (argc > 3) {
            const QString png = QString::fromLocal8Bit(argv[3]);
            QTimer::singleShot(800, &app, [&] { app.exit(form.screen()->grabWindow(0).save(png) ? 0 : 5); });
        }
        return app.exec();
    } catch (const basic::RuntimeError& e) {
        std::fprintf(stderr, "listgrid_container: %s\n", qPrintable(e.description()));
        return 6;
    }
}
