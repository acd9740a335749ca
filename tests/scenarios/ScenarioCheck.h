#pragma once

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <map>

// Comparisons of a scenario's expected files with what the import did. Each
// difference is a readable text that names the file; an empty list means equal.
namespace scenarios {

// Line by line, as a diff: lines only in the expected file are marked "-", lines
// only in the actual outcome "+", each with its line number.
QStringList compareLines(const QString& fileName, const QStringList& expected, const QStringList& actual);

// The import log's lines. Every line of the log ends in CR LF; text after the
// last CR LF is still a line, and `problems` says that its line end is missing.
QStringList logLines(const QString& log, QStringList& problems);

// One message box as messages.txt writes it: title, a tab, the text; a CR or LF
// inside the text is written as the two characters \r or \n.
QString messageLine(const QString& title, const QString& text);

// One error-list row as errors.csv writes it: "number","row","column","message","value".
QString errorLine(int number, const QString& row, const QString& column, const QString& message,
                  const QString& value);

// The documents the import posted against posted.json: the same count, each
// listed field equal (names without regard to case, numbers to the cent, texts
// exactly), and the same count of items where "items" is given.
QStringList comparePosted(const QJsonArray& expected, const QJsonArray& actual);

// Each expected error file against the file of that name in the error folder, byte
// for byte; the difference names the first line that differs.
QStringList compareErrorFiles(const std::map<QString, QByteArray>& expected,
                              const std::map<QString, QByteArray>& errorFolder);

} // namespace scenarios
