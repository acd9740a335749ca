#pragma once

#include <array>

// The engine classes of the package, one per version code. Each version's class
// lives in the library file of the same row (the one engine library, installed
// under every name).
namespace vdo {

struct EngineClass
{
    const char* versionCode; // "V10" ... "V23"
    const char* library;     // file name as the package installs it
    const char* classId;
    const char* progId;
};

inline constexpr std::array<EngineClass, 14> engineClasses{{
    {"V10", "VdoEng100.dll", "{7A1D0010-5644-4F45-8E47-000000000010}", "VorlenVDO.Engine.10"},
    {"V11", "VdoEng110.dll", "{7A1D0011-5644-4F45-8E47-000000000011}", "VorlenVDO.Engine.11"},
    {"V12", "VdoEng120.dll", "{7A1D0012-5644-4F45-8E47-000000000012}", "VorlenVDO.Engine.12"},
    {"V13", "VdoEng130.dll", "{7A1D0013-5644-4F45-8E47-000000000013}", "VorlenVDO.Engine.13"},
    {"V14", "vlvdo0engine140.dll", "{7A1D0014-5644-4F45-8E47-000000000014}", "VorlenVDO.Engine.14"},
    {"V15", "vlvdoengine150.dll", "{7A1D0015-5644-4F45-8E47-000000000015}", "VorlenVDO.Engine.15"},
    {"V16", "vlvdoengine160.dll", "{7A1D0016-5644-4F45-8E47-000000000016}", "VorlenVDO.Engine.16"},
    {"V17", "vlvdoengine170.dll", "{7A1D0017-5644-4F45-8E47-000000000017}", "VorlenVDO.Engine.17"},
    {"V18", "vlvdoengine180.dll", "{7A1D0018-5644-4F45-8E47-000000000018}", "VorlenVDO.Engine.18"},
    {"V19", "vlvdoengine190.dll", "{7A1D0019-5644-4F45-8E47-000000000019}", "VorlenVDO.Engine.19"},
    {"V20", "vlvdoengine200.dll", "{7A1D0020-5644-4F45-8E47-000000000020}", "VorlenVDO.Engine.20"},
    {"V21", "vlvdoengine210.dll", "{7A1D0021-5644-4F45-8E47-000000000021}", "VorlenVDO.Engine.21"},
    {"V22", "vlvdoengine220.dll", "{7A1D0022-5644-4F45-8E47-000000000022}", "VorlenVDO.Engine.22"},
    {"V23", "vlvdoengine230.dll", "{7A1D0023-5644-4F45-8E47-000000000023}", "VorlenVDO.Engine.23"},
}};

// Error numbers the engine raises besides the runtime's own.
namespace errors {
constexpr int UnknownField = 438;     // description names the field
constexpr int NotConnected = 3704;    // a call that needs an open connection
constexpr int FileNotFound = 53;      // setup.dta or the ledger missing
constexpr int BadCompanyData = 75;    // truncated setup.dta, damaged or newer ledger
constexpr int CompanyDataLocked = 70; // the ledger is held by another program
constexpr int UnknownObject = 5;      // CreateObject with a name the engine does not serve
} // namespace errors

} // namespace vdo
