// Shows both log viewers side by side with a few entries, for scripts/screenshot.
#include "tests/viewers/StandInForms.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/frmErrors.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/shell/Printers.h"

#include <QApplication>

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
    frmErrors& errors = forms::DefaultInstance<frmErrors>::get();
    FrmErrlog& errlog = forms::DefaultInstance<FrmErrlog>::get();
    errors.move(10, 10);
    errors.show();
    errlog.move(10, 480);
    errlog.QWidget::show();
    return app.exec();
}
