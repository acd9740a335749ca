#pragma once

#include <QJsonObject>
#include <QString>

namespace company {

// Creates a company data folder from a JSON seed (format in docs/package.md):
// "ACCDATA\setup.dta" and the ledger beside it. The folder is built aside and
// moved into place at the end, so a bad seed leaves nothing behind. Raises
// LedgerError naming the seed file and the element at fault.
void createCompany(const QJsonObject& seed, const QString& companyFolder, const QString& seedName);
void createCompanyFromFile(const QString& seedFile, const QString& companyFolder);

} // namespace company
