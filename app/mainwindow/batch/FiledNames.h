#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// The names batch mode gives: filed batch files and per-file error files. Date and
// time parts are plain decimal numbers without leading zeros or separators, in the
// local time of the moment the name is made.
namespace batch {

// Year, month and day: 5 March 2024 gives "202435".
QString dateDigits(const QDateTime& at);
// Year, month, day, hour, minute and second: 14:07:09 that day gives "2024351479".
QString stampDigits(const QDateTime& at);

// A name without its last extension ("a.b.csv" gives "a.b", ".profile" stays,
// "a." gives "a"); a "\" is part of the name.
QString baseOfName(const QString& name);
// A file's name (what follows the last "/" of a joined path) without its last
// extension, trimmed.
QString trimmedBaseName(const QString& fileName);

// The first choice in the target folder: base name, date, counter, ".csv" (always
// ".csv", whatever the file's own extension): orders2024351.csv.
QString filedName(const QString& fileName, const QDateTime& at, int16_t counter);
// The name used while the first choice is taken: base name, stamp, counter, ".csv".
QString stampedFiledName(const QString& fileName, const QDateTime& at, int16_t counter);

// Whether every name the filing of `fileName` may give (the stamped filed name
// with the widest counter, and its stamped error file) fits `nameMax` bytes.
bool filedNamesFit(const QString& fileName, int nameMax);
// The file's name with its base name cut (at a whole character) so that every
// name of its filing fits `nameMax` bytes; the filed name's date, counter and
// ".csv" are kept.
QString shortenedFileName(const QString& fileName, int nameMax);

// The counter after one increment: 32767 is followed by -32768.
int16_t nextFilingCounter(int16_t counter);

// The error file's own name: the base name of `fileName` and "_ERRORLOG.CSV".
QString errorFileLeaf(const QString& fileName);
// The error file of a failed batch file: `folder`, a separator unless
// `errorFolderSetting` already ends in one, the base name of `fileName` and
// "_ERRORLOG.CSV".
QString errorFileName(const QString& errorFolderSetting, const QString& folder, const QString& fileName);
// The name used while `name` is taken: `name` less its last four characters, the
// stamp and ".CSV" (orders2024351_ERRORLOG2024351479.CSV).
QString stampedErrorFileName(const QString& name, const QDateTime& at);

} // namespace batch
