#include "platform/shell/Printers.h"

#include "platform/basic/ServiceSlot.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace shell {

namespace {

class SystemPrinterCatalog : public PrinterCatalog
{
public:
    QStringList printerNames() const override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() const override { return QPrinterInfo::defaultPrinterName(); }
};

using Installed = basic::ServiceSlot<PrinterCatalog, SystemPrinterCatalog>;

} // namespace

PrinterCatalog::~PrinterCatalog() = default;

const PrinterCatalog& printers()
{
    return Installed::get();
}

std::unique_ptr<PrinterCatalog> setPrinters(std::unique_ptr<PrinterCatalog> catalog)
{
    return Installed::set(std::move(catalog));
}

bool selectPrinter(QPrinter& target, const QString& name)
{
    if (!printers().printerNames().contains(name, Qt::CaseSensitive))
        return false;
    target.setOutputFormat(QPrinter::NativeFormat);
    target.setPrinterName(name);
    return true;
}

FixedPrinterCatalog::FixedPrinterCatalog(QStringList names, QString defaultName)
    : m_names(std::move(names)), m_default(std::move(defaultName))
{
}

} // namespace shell
