#pragma once

#include "platform/basic/ServiceSlot.h"

#include <QString>
#include <QStringList>

#include <cstdint>

#include <memory>

class QPrinter;
class QTextDocument;

// Printing the import log (btnPrint of either log viewer): the log of frmErrors on
// the printer chosen in the viewer, one-inch margins on every side. Where the pages
// go is one service, so that tests print to a PDF file instead of a printer.
namespace mainwindow {

inline constexpr int32_t LogMarginTwips = 1440;

class LogPrintTarget
{
public:
    virtual ~LogPrintTarget();
    // The printer to print on for the name chosen in the viewer: the first installed
    // printer of that name (case counts), else the current printer.
    virtual std::unique_ptr<QPrinter> open(const QString& printerName) = 0;
};

// Installs a target and returns the previous one; none puts back the system's printers.
std::unique_ptr<LogPrintTarget> setLogPrintTarget(std::unique_ptr<LogPrintTarget> target);

// Prints the text with the log's margins; the number of pages, 0 when the printer
// could not be opened.
int printLogText(const QTextDocument& text, QPrinter& printer);
// Prints frmErrors' import log on the printer named `printerName`; tells the user
// when the printer cannot be opened. Returns the number of pages.
int printImportLog(const QString& printerName);

// Tests: every page goes into one PDF file; the names asked for are recorded.
class PdfLogPrintTarget : public LogPrintTarget
{
public:
    std::unique_ptr<QPrinter> open(const QString& printerName) override;
    QString pdfFile;
    QStringList printersAsked;
};

using ScopedPdfLogPrintTarget = basic::ScopedService<PdfLogPrintTarget, &setLogPrintTarget>;

} // namespace mainwindow
