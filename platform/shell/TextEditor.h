#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The system text editor, handed a file (and a line where it takes one); nothing is
// ever typed into its window. The editor command is the environment variable
// QUILLAR_EDITOR, else "xdg-open {file}" (the desktop's opener). The command is split
// into words at blanks (double quotes keep a word together); in each word "{file}" becomes the file's native
// path and "{line}" the line number (1 when no line is given). A command without
// "{file}" gets the path as its last word. Examples:
//   QUILLAR_EDITOR='gedit +{line} {file}'    QUILLAR_EDITOR='kate --line {line} {file}'
//   QUILLAR_EDITOR='code --goto {file}:{line}'
namespace shell {

inline constexpr const char* EditorVariable = "QUILLAR_EDITOR";
inline constexpr const char* DefaultEditorCommand = "xdg-open {file}";

// The editor command in force.
QString editorCommand();
// The program and arguments that open `nativeFile` at `line` (0: no line) under `command`.
QStringList editorArguments(const QString& command, const QString& nativeFile, int line);

// Opens the file in the editor, at a line when `line` is above 0. The path may be
// written the system's way ("C:\data\x.csv", any case); false when the editor cannot
// be started.
bool openInEditor(const QString& path, int line = 0);

// Writes the text to a new file of its own in the temporary folder, readable by its
// owner only and kept beyond this program (the editor reads it later), named after
// `fileName` with a unique part ("ImportLog.txt" gives "ImportLog-a1B2c3.txt").
// Returns its path, or "" when it cannot be written.
QString writeTextToTempFile(const QByteArray& text, const QString& fileName);

// writeTextToTempFile, then that file in the editor. False when the file cannot be
// written or the editor started.
bool openTextInEditor(const QByteArray& text, const QString& fileName);

} // namespace shell
