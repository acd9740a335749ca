#pragma once

#include "platform/automation/Object.h"

#include <QString>
#include <QStringList>

#include <functional>

// The file search of the company list and the installation search, carried out by
// Drivewalk's filesech object: the search stays on the file system it starts on,
// follows no link to a folder and skips hidden entries (utilities/drivewalk/filesech.h).
namespace companies {

// The package's company file and three of its program files.
inline constexpr const char* PackageFileMasks = "company;vorlen.exe;vorlen.usr;vlw.exe";

// Hands out the one filesech object the program keeps until it ends (the program
// session owns it); called at each use, so it must return the same object each time.
using FileSearchObjectProvider = std::function<automation::ObjectRef()>;

// A new filesech object, made by its class id; raises 429 when Drivewalk is not registered.
automation::ObjectRef createFileSearchObject();

// FindFiles(Folder, Patterns, Recurse): the full paths of the files in `folder`
// (and with `recurse` every folder below it) whose names match one of the masks in
// `patterns` (separated by ";"), a folder's own matches first, grouped by mask, then
// each sub-folder depth first. Always a list: empty when nothing matches, when the
// folder cannot be listed, or when a stop of the search object cut it short before it began.
QStringList FindFiles(automation::Object& fileSearch, const QString& folder, const QString& patterns,
                      bool recurse);

} // namespace companies
