#pragma once

#include "platform/forms/FileDialog.h"

// The program's open-file dialog: a modal QFileDialog owned by the active window,
// one name filter per filter entry. Patterns match without regard to case, as the
// import files' names come in either case ("*.csv" finds "ORDERS.CSV"), and "*.*"
// matches every file, with or without an extension.
namespace forms {

class WidgetFileDialogService : public FileDialogService
{
public:
    std::optional<QString> openFile(const FileOpenRequest& request) override;
};

// The dialog's name filters for a filter text: "Import File(*.csv) (*.[cC][sS][vV])".
QStringList nameFiltersOf(const QString& filter);

} // namespace forms
