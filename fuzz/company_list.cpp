// The package's company list: any file gives entries whose folders are bounded
// paths, or the reader's own error.
#include "fuzz/FuzzSupport.h"

#include "app/setup/companies/CompanyList.h"
#include "platform/basic/RuntimeError.h"

#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzing::inputFile(data, size, "COMPANY");
    const auto setup = [](const QString&) {
        return companies::SetupFileContent{QStringLiteral("Company"), QStringLiteral("23.0")};
    };
    try {
        const auto entries = companies::GetCompanyName(path, setup);
        for (const auto& entry : entries)
            if (entry.dataFolder.size() > PATH_MAX)
                fuzzing::fail("a company folder longer than a path");
        (void)companies::companyRows(entries, QStringLiteral("/data/company"));
    } catch (const basic::RuntimeError&) {
    }
    return 0;
}
