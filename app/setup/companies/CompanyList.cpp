#include "app/setup/companies/CompanyList.h"

#include "app/setup/companies/FindFiles.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/FileOrFolderExists.h"
#include "platform/shell/Paths.h"

#include <climits>

namespace companies {

namespace {

constexpr int NameLength = 60;
// A line longer than the longest path the system takes cannot name a company folder.
constexpr qsizetype MaxFolderLine = PATH_MAX;

QString describe(const basic::RuntimeError& e)
{
    return e.description().isEmpty() ? basic::errorDescription(e.number()) : e.description();
}

void reportError(const basic::RuntimeError& e)
{
    forms::MsgBox(QStringLiteral("%1  %2").arg(e.number()).arg(describe(e)), forms::OKOnly);
}

void reportMissingDataPath(const QString& folder, const QString& companyFilePath)
{
    forms::MsgBox(QStringLiteral("Vorlen Data Path '") + folder +
                      QStringLiteral("' in the Company File located at path ") + companyFilePath +
                      QStringLiteral(", does not exist."),
                  forms::Critical, QStringLiteral("Vorlen Company File Data Path Error"));
}

void reportLongLine(int lineNumber, const QString& companyFilePath)
{
    forms::MsgBox(QStringLiteral("Line %1 of the Company File located at path %2 is longer than %3 "
                                 "characters, so it is not a Vorlen Data Path; it was skipped.")
                      .arg(lineNumber)
                      .arg(companyFilePath)
                      .arg(MaxFolderLine),
                  forms::Critical, QStringLiteral("Vorlen Company File Data Path Error"));
}

// The non-blank lines of the company file, trimmed. A line too long for a path is
// reported and skipped; only that much of a line is ever held.
QStringList readCompanyFolders(const QString& companyFilePath)
{
    basic::SequentialFile file;
    file.open(shell::nativePath(companyFilePath), basic::OpenMode::Input);
    QStringList folders;
    int lineNumber = 0;
    while (!file.eof()) {
        bool cut = false;
        const QString line = basic::Trim(file.lineInput(MaxFolderLine, cut));
        ++lineNumber;
        if (cut)
            reportLongLine(lineNumber, companyFilePath);
        else if (!line.isEmpty())
            folders << line;
    }
    return folders;
}

} // namespace

SetupFileContent readCompanySetup(const QString& setupFilePath)
{
    basic::SequentialFile file;
    file.open(shell::nativePath(setupFilePath), basic::OpenMode::Binary);
    QByteArray version = file.readBytes(2);
    version.append(QByteArray(2 - version.size(), '\0'));
    // From byte 2 the skipped byte and the name, and nothing after them.
    const QByteArray rest = file.readBytes(NameLength + 1);
    if (rest.isEmpty())
        throw basic::RuntimeError(basic::err::InputPastEndOfFile,
                                  basic::errorDescription(basic::err::InputPastEndOfFile), setupFilePath);
    qsizetype end = 0;
    while (end < rest.size() && rest.at(end) != '\r' && rest.at(end) != '\n')
        ++end;
    const QString line = basic::fromWindows1252(rest.left(end)).left(NameLength + 1);
    SetupFileContent content;
    content.name = basic::Trim(line.mid(1));
    content.version = QStringLiteral("%1.%2").arg(uint8_t(version.at(0))).arg(uint8_t(version.at(1)));
    return content;
}

std::vector<CompanyEntry> GetCompanyName(const QString& companyFilePath, const SetupFileReader& readSetup)
{
    std::vector<CompanyEntry> companies;
    QStringList folders;
    try {
        folders = readCompanyFolders(companyFilePath);
    } catch (const basic::RuntimeError& e) {
        reportError(e);
        return companies;
    }
    for (const QString& folder : folders) {
        const QString setupFile = folder + QStringLiteral("\\ACCDATA\\setup.dta");
        if (!FileOrFolderExists(setupFile, 0)) {
            reportMissingDataPath(folder, companyFilePath);
            continue;
        }
        // One company that cannot be read is reported; it never hides the ones after it.
        try {
            const SetupFileContent content = readSetup(setupFile);
            companies.push_back({content.name, folder, content.version});
        } catch (const basic::RuntimeError& e) {
            if (e.number() == basic::err::PathNotFound)
                reportMissingDataPath(folder, companyFilePath);
            else
                reportError(e);
        }
    }
    return companies;
}

CompanyListing companyRows(const std::vector<CompanyEntry>& companies, const QString& savedDataPath)
{
    CompanyListing listing;
    listing.packageFolder = true;
    const QString saved = basic::Trim(savedDataPath);
    for (const CompanyEntry& company : companies) {
        CompanyRow row;
        row.number = QString::number(listing.rows.size() + 1);
        row.name = company.name;
        row.version = company.version;
        row.dataFolder = company.dataFolder;
        row.saved = basic::Trim(company.dataFolder) == saved;
        if (row.saved && listing.savedRow < 0)
            listing.savedRow = int(listing.rows.size());
        listing.rows.push_back(row);
    }
    return listing;
}

CompanyListing readProgramFolder(automation::Object& fileSearch, const QString& programFolder,
                                 const QString& savedDataPath, const SetupFileReader& readSetup)
{
    bool packageFolder = false;
    for (const QString& path :
         FindFiles(fileSearch, programFolder, QString::fromLatin1(PackageFileMasks), false))
        if (basic::UCase(path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1)) == QLatin1String("COMPANY"))
            packageFolder = true;
    if (!packageFolder)
        return {};
    return companyRows(GetCompanyName(programFolder + QStringLiteral("\\company"), readSetup), savedDataPath);
}

} // namespace companies
