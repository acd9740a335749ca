#pragma once

#include <QString>
#include <QStringList>

namespace company {

// What "ACCDATA\setup.dta" tells about a company.
struct SetupInfo
{
    int major = 0;
    int minor = 0;
    QString name;
    QString versionText() const { return QStringLiteral("%1.%2").arg(major).arg(minor); }
};

// The files of a company data folder and of the package's program folder.
namespace folder {

// A path written with "\" or "/" and in any letter case, resolved component by
// component against what exists (an exact match wins). Parts that do not exist
// are kept as written.
QString resolvePath(const QString& path);

// The "ACCDATA" folder below a company data folder, and the files inside it.
QString accdataOf(const QString& companyFolder);
QString setupFileOf(const QString& accdata);
QString ledgerFileOf(const QString& accdata);

// setup.dta: byte 0 major version, byte 1 minor version, byte 2 a blank, bytes 3-62
// the company name in Windows-1252 padded with blanks, then CR LF.
void writeSetupFile(const QString& accdata, int major, int minor, const QString& name);
// Raises LedgerError (FileNotFound, BadFile) naming the file.
SetupInfo readSetupFile(const QString& accdata);

// The program folder: the "company" file, one company data folder per line, and
// the program files the installation search looks for beside it.
void addToCompanyFile(const QString& programFolder, const QString& companyFolder);
QStringList readCompanyFile(const QString& programFolder);
void writeProgramMarkers(const QString& programFolder);

} // namespace folder
} // namespace company
