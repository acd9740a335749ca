#pragma once

#include <QString>

#include <cstdint>

// The error list: ListView1 of the error-list window FrmErrlog, columns
// "Error Description", "Line No.", "Error Column", "Error Value".
namespace importer {

class ErrorListView
{
public:
    virtual ~ErrorListView() = default;
    virtual void clearListView1() = 0;
    virtual int32_t listView1Count() const = 0;
    // Inserts a row at the 1-based position; each text is also the cell's tag.
    virtual void addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                                 const QString& column, const QString& value) = 0;
    // Shows FrmErrlog modal over the main window.
    virtual void showModal() = 0;
};

} // namespace importer
