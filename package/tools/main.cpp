// vorlentool: creates a company from a JSON seed, lists what was posted, adds users.
#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/LedgerError.h"
#include "package/company/Seed.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStringList>

#include <cstdio>

namespace {

const char* const Usage = "usage:\n"
                          "  vorlentool create <seed.json> <company folder> [--program <program folder>]\n"
                          "  vorlentool list <company folder>\n"
                          "  vorlentool adduser <company folder> <name> <password>\n";

int usage()
{
    std::fputs(Usage, stderr);
    return 2;
}

std::unique_ptr<company::Ledger> openCompany(const QString& folder)
{
    const QString accdata = company::folder::accdataOf(folder);
    company::folder::readSetupFile(accdata);
    return company::Ledger::open(company::folder::ledgerFileOf(accdata));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    try {
        const QString command = args[0];
        if (command == QLatin1String("create")) {
            if (args.size() != 3 && !(args.size() == 5 && args[3] == QLatin1String("--program")))
                return usage();
            company::createCompanyFromFile(args[1], args[2]);
            if (args.size() == 5) {
                company::folder::addToCompanyFile(args[4], args[2]);
                company::folder::writeProgramMarkers(args[4]);
            }
            return 0;
        }
        if (command == QLatin1String("list")) {
            if (args.size() != 2)
                return usage();
            const QByteArray json =
                QJsonDocument(openCompany(args[1])->listDocuments()).toJson(QJsonDocument::Indented);
            std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
            return 0;
        }
        if (command == QLatin1String("adduser")) {
            if (args.size() != 4)
                return usage();
            openCompany(args[1])->addUser(args[2], args[3]);
            return 0;
        }
        return usage();
    } catch (const company::LedgerError& e) {
        std::fprintf(stderr, "vorlentool: %s\n", qPrintable(e.message()));
        return 1;
    }
}
