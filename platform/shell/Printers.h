#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

// The installed printers, behind one service so that tests give a fixed list.
namespace shell {

class PrinterCatalog
{
public:
    virtual ~PrinterCatalog();
    // Device names in the system's order.
    virtual QStringList printerNames() const = 0;
    // The current default printer's name; empty when there is none.
    virtual QString defaultPrinterName() const = 0;
};

// The installed catalog: the system's printers until another is installed.
const PrinterCatalog& printers();
// Installs a catalog and returns the previous one; installing none puts back the system's.
std::unique_ptr<PrinterCatalog> setPrinters(std::unique_ptr<PrinterCatalog> catalog);

// Makes the first installed printer whose name equals `name` exactly (case counts)
// the printer of `target`; true when one matched. Otherwise `target` is unchanged.
bool selectPrinter(QPrinter& target, const QString& name);

// Tests: a fixed list.
class FixedPrinterCatalog : public PrinterCatalog
{
public:
    FixedPrinterCatalog(QStringList names, QString defaultName);
    QStringList printerNames() const override { return m_names; }
    QString defaultPrinterName() const override { return m_default; }

private:
    QStringList m_names;
    QString m_default;
};

} // namespace shell
