#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QString>

#include <vector>

// Drivewalk's one creatable class: the fixed drives' letters and a recursive file
// search that the caller can stop.
//
// Through its interface:
//   SearchStopDll                       read/write Boolean, False when created
//   GetLogSysDrive()                    -> "CE": the fixed drives' letters, ascending
//   GetAllFiles(path, filespec, RecurseDirs) -> a collection of full paths, or
//       Nothing when SearchStopDll is set on entry
//
// Paths are written the system's way ("C:\data"); each result is the folder as the
// caller wrote it (then the sub-folders' names as listed), one "\" and the file name.
// The search stays on the file system it starts on, follows no symbolic link to a
// folder, visits no folder twice, lets pending events run once per folder and
// skips what cannot be listed. Names that begin with "." are hidden: never listed,
// never searched. A folder's entries are taken in name order (without regard to
// case), so results do not depend on the file system's storage order.
namespace drivewalk {

inline constexpr const char* FilesechClassId = "{2B86759F-DA98-477F-A5BC-7C2F77880A3A}";
inline constexpr const char* FilesechInterfaceId = "{42F5654D-816F-4C2F-8C74-FA5963B1FA7A}";
inline constexpr const char* FilesechProgId = "Drivewalk.filesech";

// DISPIDs of _filesech, in the order of its slots (SearchStopDll's get and put share one).
enum FilesechDispId : automation::DispId
{
    DispSearchStopDll = 1,
    DispGetLogSysDrive = 2,
    DispGetAllFiles = 3,
};

class filesech : public automation::Object
{
public:
    filesech();
    ~filesech() override;

    QString className() const override { return QStringLiteral("filesech"); }
    automation::DispId idOfName(const QString& name) const override;
    automation::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                               const automation::Variant& value) override;

    bool searchStop() const { return m_searchStop; }
    void setSearchStop(bool stop) { m_searchStop = stop; }

    static QString getLogSysDrive();
    // The matching files, or nullptr when a stop was requested before the search began.
    automation::ObjectRef getAllFiles(const QString& path, const QString& filespec, bool recurseDirs);

    // A mask as the directory listing reads it: "*" any run, "?" one character, names
    // compared without regard to case; "*.*" matches every name, a trailing ".*" also
    // matches the name without extension and a trailing "." a name without one.
    static bool matchesMask(const QString& name, const QString& mask);

private:
    static const automation::MemberTable<filesech>& table();

    bool m_searchStop = false;
    automation::LibraryLock m_lock;
};

} // namespace drivewalk
