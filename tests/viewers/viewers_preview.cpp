// Shows both log viewers with a few entries, for scripts/screenshot; with
// "--file-viewer" the read-only viewer of an import file instead, at line 3.
#include "tests/viewers/StandInForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/ReadOnlyFileViewer.h"
#include "app/mainwindow/frmErrors.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/shell/Printers.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    session::ProgramSession programSession;
    mainwindow::registerForms(programSession);
    registerStandInForms(programSession);
    shell::setPrinters(std::make_unique<shell::FixedPrinterCatalog>(
        QStringList{QStringLiteral("Office"), QStringLiteral("Warehouse")}, QStringLiteral("Office")));

    importer::ImportLogView& log = programSession.importLog();
    importer::ErrorListView& list = programSession.errorList();
    const struct
    {
        const char* text;
        const char* row;
        const char* column;
        const char* value;
    } entries[] = {{"Account No C999 does not exist in Vorlen  Row 3", "3", "2", "C999"},
                   {"Product Code P77 does not exist  Row 5", "5", "4", "P77"},
                   {"Quantity has more decimal places than allowed  Row 8", "8", "5", "2.125"}};
    int position = 0;
    for (const auto& e : entries) {
        log.appendTxtImportText(QLatin1String(e.text) + QStringLiteral("\r\n"));
        list.addListView1Row(++position, QLatin1String(e.text), QLatin1String(e.row), QLatin1String(e.column),
                             QLatin1String(e.value));
    }
    QTemporaryDir dir;
    if (app.arguments().contains(QStringLiteral("--file-viewer"))) {
        QFile file(dir.filePath(QStringLiteral("invoices.csv")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("I,C001,01/12/2026,P1,2,10\r\nI,C001,01/12/2026,P2,1,4.5\r\nI,C999,02/12/2026,P1,3,10\r\n"
                   "C,C002,03/12/2026,P77,1,12\r\n");
        file.close();
        mainwindow::ReadOnlyFileViewer::showFile(file.fileName(), 3, QStringLiteral("C999"));
        return app.exec();
    }
    frmErrors& errors = forms::DefaultInstance<frmErrors>::get();
    FrmErrlog& errlog = forms::DefaultInstance<FrmErrlog>::get();
    errors.move(10, 10);
    errors.show();
    errlog.move(10, 480);
    errlog.QWidget::show();
    return app.exec();
}
