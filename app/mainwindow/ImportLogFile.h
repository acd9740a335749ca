#pragma once

#include <QString>

// The import log handed to the text editor ("&Open in Notepad" of either log
// viewer): written to a new file of its own that only its owner may read (the log
// holds values of the import file), which the editor is then given. Nothing is
// typed into the editor's window.
namespace mainwindow {

// Writes the text (UTF-8, as it stands) to a new owner-only file in the temporary
// folder and returns its path; empty when it could not be written. The file stays
// for the editor to read.
QString writeImportLogFile(const QString& logText);
// Writes the log and opens it in the text editor; tells the user when either fails.
bool openImportLogInEditor(const QString& logText);

} // namespace mainwindow
