#pragma once

#include "platform/automation/Object.h"

#include <QString>

#include <functional>
#include <vector>

// The package's companies as the settings form lists them: the program folder's
// company file (one company data folder per line) and each company's
// "ACCDATA\setup.dta" (data version and name). Nothing of the package is written.
namespace companies {

// What a company's setup file gives the list.
struct SetupFileContent
{
    QString name;    // bytes 3 to 62 up to a carriage return or line feed, blanks trimmed (Windows-1252)
    QString version; // major "." minor, from bytes 0 and 1 ("23.0", "9.5")
};

// Reads a setup file; raises basic::RuntimeError (53 missing, 76 path not found,
// 62 a file of two bytes or fewer, ...).
SetupFileContent readCompanySetup(const QString& setupFilePath);
using SetupFileReader = std::function<SetupFileContent(const QString& setupFilePath)>;

// One company of the company file, in the order of the file.
struct CompanyEntry
{
    QString name;
    QString dataFolder; // trimmed, as the company file gives it
    QString version;
};

// GetCompanyName: the companies of the company file at `companyFilePath` whose
// "ACCDATA\setup.dta" could be read. A folder without it, or whose setup file
// raises path not found (76), is reported ("Vorlen Data Path '...' in the Company File
// located at path ..., does not exist.", title "Vorlen Company File Data Path Error");
// any other error of a setup file is reported as its number, two blanks and its
// text; either way the next company is read. A company file that cannot be read is
// reported the same way and gives no companies. Messages go through forms::MsgBox.
std::vector<CompanyEntry> GetCompanyName(const QString& companyFilePath,
                                         const SetupFileReader& readSetup = readCompanySetup);

// One row of the company list ("No", "Company Name", "Version", "Company Data Path").
struct CompanyRow
{
    QString number; // "1", "2", ... in the order of the company file
    QString name;
    QString version;
    QString dataFolder;
    bool saved = false; // the saved company: drawn bold in red
};

// What a change of the program folder leaves for the list.
struct CompanyListing
{
    // The folder holds a file named "company" in any letter case. When not, the form
    // clears the list and empties the company name and data-path boxes.
    bool packageFolder = false;
    std::vector<CompanyRow> rows;
    // The row to tick and select, the first saved one; -1 when none.
    int savedRow = -1;
};

// The rows for the companies, the saved one being the one whose data folder,
// trimmed, equals `savedDataPath` trimmed, exactly (letter case counts).
CompanyListing companyRows(const std::vector<CompanyEntry>& companies, const QString& savedDataPath);

// The program folder's change (Dir1_Change): detects the company file with the
// search object (no recursion) and, in a package folder, reads the companies of
// `programFolder & "\company"`.
CompanyListing readProgramFolder(automation::Object& fileSearch, const QString& programFolder,
                                 const QString& savedDataPath,
                                 const SetupFileReader& readSetup = readCompanySetup);

} // namespace companies
