// A company's setup.dta: any file gives a name of at most the characters kept and
// a version, never more of the file than the line read.
#include "fuzz/FuzzSupport.h"

#include "app/setup/companies/CompanyList.h"
#include "platform/basic/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzing::inputFile(data, size, "setup.dta");
    try {
        const companies::SetupFileContent setup = companies::readCompanySetup(path);
        if (setup.name.size() > 61)
            fuzzing::fail("a company name longer than the characters kept");
        if (setup.version.size() > 16)
            fuzzing::fail("a version longer than two numbers");
    } catch (const basic::RuntimeError&) {
    }
    return 0;
}
