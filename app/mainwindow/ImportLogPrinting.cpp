#include "app/mainwindow/ImportLogPrinting.h"

#include "app/mainwindow/frmErrors.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/Printers.h"
#include "platform/shell/RichTextPrinting.h"

#include <QPrinter>

namespace mainwindow {

namespace {

class SystemLogPrintTarget : public LogPrintTarget
{
public:
    std::unique_ptr<QPrinter> open(const QString& printerName) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        shell::selectPrinter(*printer, printerName);
        return printer;
    }
};

using Installed = basic::ServiceSlot<LogPrintTarget, SystemLogPrintTarget>;

} // namespace

LogPrintTarget::~LogPrintTarget() = default;

std::unique_ptr<LogPrintTarget> setLogPrintTarget(std::unique_ptr<LogPrintTarget> target)
{
    return Installed::set(std::move(target));
}

int printLogText(const QTextDocument& text, QPrinter& printer)
{
    return shell::PrintRichText(text, printer, LogMarginTwips, LogMarginTwips, LogMarginTwips,
                                LogMarginTwips);
}

int printImportLog(const QString& printerName)
{
    // Without a printer the print would go nowhere under a blank name.
    if (shell::printers().printerNames().isEmpty()) {
        forms::MsgBox(QStringLiteral("No printer is installed on this computer: the import log cannot be printed."),
                      forms::Exclamation);
        return 0;
    }
    std::unique_ptr<QPrinter> printer = Installed::get().open(printerName);
    const int pages = printLogText(*forms::DefaultInstance<frmErrors>::get().importTextDocument(), *printer);
    if (pages == 0)
        forms::MsgBox(QStringLiteral("Unable to print the import log on the printer ") +
                          printer->printerName() + QStringLiteral("."),
                      forms::Exclamation);
    return pages;
}

std::unique_ptr<QPrinter> PdfLogPrintTarget::open(const QString& printerName)
{
    printersAsked << printerName;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfFile);
    return printer;
}

} // namespace mainwindow
