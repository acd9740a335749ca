#pragma once

#include <QString>

// The import log: the text box txtImportText of the import-log window frmErrors.
namespace importer {

class ImportLogView
{
public:
    virtual ~ImportLogView() = default;
    virtual QString txtImportText() const = 0;
    virtual void setTxtImportText(const QString& text) = 0;
    // Adds text at the end; the log is only ever extended.
    virtual void appendTxtImportText(const QString& text) = 0;
    // Shows frmErrors, not modal.
    virtual void show() = 0;
};

} // namespace importer
