// Shows the layout editor on a layout of demonstration titles, for screenshots:
//   scripts/screenshot build/dev/bin/show_layouteditor shot.png [list]
// With "list" the column list is open, as after a double-click on a box. The
// settings store is a hive of its own in a temporary folder, never the user's.
//   show_layouteditor --demo <folder> [list]
// shows it on the layout of the demo folder of scripts/run-demo instead (the
// environment names its hives).
#include "tests/layouteditor/EditorFixture.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

int main(int argc, char** argv)
{
    const bool demo = argc > 2 && qstrcmp(argv[1], "--demo") == 0;
    QTemporaryDir work;
    if (!demo) {
        qputenv("QUILLAR_USER_HIVE", QFile::encodeName(work.filePath("user.hive")));
        qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(work.filePath("machine.hive")));
    }
    QApplication app(argc, argv);

    std::unique_ptr<layouteditor::EditorFixture> fixture;
    if (demo) {
        fixture = std::make_unique<layouteditor::EditorFixture>(QString::fromLocal8Bit(argv[2]) + "/config");
    } else {
        fixture = std::make_unique<layouteditor::EditorFixture>(work.path());
        QStringList columns = {"Transaction Type", "Account Reference", "Transaction Date", "Order Number",
                               "Product Code",     "Quantity",          "Unit Price",       "Details Line 1"};
        QStringList lines = layouteditor::columnLines(columns);
        lines[33] = "Customer Telephone Number";
        lines[51] = "Net Value Discount Description";
        layouteditor::writeLines(fixture->path("qfm.cfg"), lines);
        layouteditor::writeLines(fixture->path("qfm2.cfg"),
                                 layouteditor::groupLines({"Account Reference", "Order Number"}));
    }

    FrmFileStructure& form = layouteditor::EditorFixture::editor();
    form.show();
    if (app.arguments().contains("list")) {
        form.TxtField_DblClick(12);
        form.TxtIndex_DblClick(3);
    }
    return app.exec();
}
