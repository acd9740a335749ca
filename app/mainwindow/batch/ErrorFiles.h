#pragma once

#include <QString>
#include <QStringList>

// The two text-file writers of batch mode: the error file of a failed batch file
// and the program's error log "Errorlog.log". Every value stands in double quotes
// (quotes inside are not doubled), every line ends in CR LF.
namespace importer {
class ImportContext;
}

namespace batch {

class DoSecurityProvider;

// Writes the error file of a failed batch file into `folder` (the error folder,
// trimmed), named from the base name of `fileName` and "_ERRORLOG.CSV", never over
// an existing file (a time stamp goes before ".CSV" while the name is taken): the
// heading "Error Description <date>", then each non-empty entry of the batch error
// list; then the list is emptied and mnuFilenew disabled. A missing error folder
// is created (one level). Any other failure shows "Create Error File -Error" and
// leaves the list as it was.
void WriteBatchErrorCsv(importer::ImportContext& context, const QString& fileName, const QString& folder);

// The same file with lines of the caller's own after the heading, for a file whose
// import was interrupted; the batch error list is left alone. Raises on failure.
void writeErrorFile(importer::ImportContext& context, const QString& fileName, const QString& folder,
                    const QStringList& lines);

// Appends `message` as one quoted line to "Errorlog.log" in the folder named by the
// registry value "DefaultLogPath" (through DoSecurity; the value is a prefix, so it
// ends in a separator), else in "ErrorLOG" of `programFolder`, which is not
// created. A failure shows its description in a box titled "Writing Error Log".
void WriteErrorLog(DoSecurityProvider& security, const QString& programFolder, const QString& message);

} // namespace batch
