#pragma once

#include <QString>

class QWidget;

// The import log handed to the text editor ("&Open in Notepad" of either log
// viewer): written to a new file of its own that only its owner may read (the log
// holds values of the import file), which the editor is then given. Nothing is
// typed into the editor's window.
namespace mainwindow {

// Writes the text (UTF-8, as it stands) to a new owner-only file in the temporary
// folder and returns its path; empty when it could not be written. The file stays
// for the editor to read.
QString writeImportLogFile(const QString& logText);
// Writes the log and opens it in the text editor. When no editor can be started the
// file is removed again and the log shown in the read-only viewer, owned by
// `owner`; when it cannot be written the user is told. False when no editor opened it.
bool openImportLogInEditor(const QString& logText, QWidget* owner);

} // namespace mainwindow
