#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QString>

#include <cstdint>
#include <vector>

// Keelbox's one creatable class: reads a named value of the program's registry
// key, splits a delimited line into fields and opens a text file for reading.
//
// Through its interface:
//   GetRegKeyValue(SubKeyRef, ValFound)   -> String; ValFound (by reference) is written back
//   FuncCsvStringRead(ReadColNo, ColNo, arrcol, ChrCode)
//       arrcol is the caller's array: an object whose default member takes one index
//       and is assigned field k at index k-1 (arrcol(k-1) = field)
//   FuncFileRead(Readfilename)            -> a read-only TextStream object
namespace keelbox {

inline constexpr const char* DoSecurityClassId = "{D1F9989D-5E70-4BC0-BED5-1581A4A299B7}";
inline constexpr const char* DoSecurityInterfaceId = "{E7659EC9-C780-4CC8-9D6D-F6366666FC1A}";
inline constexpr const char* DoSecurityProgId = "Keelbox.DoSecurity";

// DISPIDs of _DoSecurity, in the order of its slots.
enum DoSecurityDispId : automation::DispId
{
    DispGetRegKeyValue = 1,
    DispFuncCsvStringRead = 2,
    DispFuncFileRead = 3,
};

// The key every value is read from, machine hive first, then the user hive.
inline constexpr const char* ConfigKeyPath = "Software\\Dunmere\\Config";
// The size of the buffer a value is read into, its terminating zero included.
constexpr uint32_t ValueBufferSize = 1024;

class DoSecurity : public automation::Object
{
public:
    DoSecurity();
    ~DoSecurity() override;

    QString className() const override { return QStringLiteral("DoSecurity"); }
    automation::DispId idOfName(const QString& name) const override;
    automation::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                               const automation::Variant& value) override;

    // The named value as text; `valFound` is False only when neither hive yields it.
    // The key is opened read-write, as it always was: a machine hive this user may
    // not write is passed over for the user hive.
    static QString getRegKeyValue(const QString& subKeyRef, bool& valFound);

    // Splits `line` at the delimiter `delimiter` into `colNo` trimmed fields; no
    // quoting rule. Fields after the line's last one are empty.
    static std::vector<QString> splitFields(const QString& line, int colNo, QChar delimiter);

private:
    static const automation::MemberTable<DoSecurity>& table();
    automation::LibraryLock m_lock;
    static automation::Variant callGetRegKeyValue(DoSecurity&, automation::Args& args);
    static automation::Variant callFuncCsvStringRead(DoSecurity&, automation::Args& args);
    static automation::Variant callFuncFileRead(DoSecurity&, automation::Args& args);
};

} // namespace keelbox
