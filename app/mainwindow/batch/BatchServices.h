#pragma once

#include "platform/basic/Variant.h"
#include "platform/shell/FileSystem.h"

#include <QString>

#include <optional>
#include <vector>

// What batch mode works with besides the import: the main window's batch controls,
// its three timers, the file system and the kept DoSecurity object. The window and
// the program session implement them; tests use the plain ones below or their own.
namespace batch {

// The controls of frmmain that batch mode sets, besides those of
// importer::MainWindowView; each member is named after its control.
class BatchWindowView
{
public:
    virtual ~BatchWindowView() = default;
    virtual QString commandStartCaption() const = 0;
    virtual void setCommandStartCaption(const QString& caption) = 0;
    virtual void setCommandStartBold(bool bold) = 0;
    virtual void setLabel1Visible(bool visible) = 0;
    virtual void setLabelCountDown(const QString& caption) = 0;
    virtual void setLabelCountDownVisible(bool visible) = 0;
    // The hidden progress marker txtwhereat.
    virtual void setTxtwhereat(const QString& text) = 0;
    virtual void setStatusBarPanel1(const QString& text) = 0;
    // The menu title "Settings".
    virtual void setSettingsMenuEnabled(bool enabled) = 0;
};

// One of the window's timers (Timer1 the scan, Timer2 the pass, Timer3 the
// countdown): batch mode sets its interval and switches it; the window calls
// scanTick(), passTick() or countdownTick() when it fires.
class BatchTimer
{
public:
    virtual ~BatchTimer() = default;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;
};

// A timer that only holds its state; tests tick it by hand.
class PlainTimer : public BatchTimer
{
public:
    explicit PlainTimer(int interval = 0) : m_interval(interval) {}
    bool enabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    int interval() const override { return m_interval; }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }

private:
    bool m_enabled = false;
    int m_interval;
};

// The file system as batch mode uses it; the real one is shell's (FileSystem.h,
// FileOrFolderExists.h). Tests wrap it to make a move fail. A file's path is
// read as shell::nativeFilePath reads it (filePath gives such paths); symbolic
// links are never taken for files.
class BatchFileSystem
{
public:
    virtual ~BatchFileSystem() = default;
    // One reading of a folder: its ordinary files and, apart, its links.
    virtual shell::FolderListing listFolder(const QString& folder) = 0;
    std::vector<shell::FileEntry> listFiles(const QString& folder) { return listFolder(folder).files; }
    // The same folder read for the status list, without conversions (by default
    // from listFolder).
    virtual shell::FolderReading readFolder(const QString& folder)
    {
        return shell::FolderReading::of(listFolder(folder).files);
    }
    virtual std::optional<shell::FileEntry> fileEntry(const QString& path) = 0;
    // Whether an ordinary file lies at the path (the name taken exactly as it is).
    virtual bool fileExists(const QString& path) = 0;
    // FileOrFolderExists with the folder flag (1).
    virtual bool folderExists(const QString& path) = 0;
    // Raises basic::RuntimeError when the file cannot be moved.
    virtual void moveFile(const QString& from, const QString& to) = 0;
};

class RealFileSystem : public BatchFileSystem
{
public:
    shell::FolderListing listFolder(const QString& folder) override;
    shell::FolderReading readFolder(const QString& folder) override;
    std::optional<shell::FileEntry> fileEntry(const QString& path) override;
    bool fileExists(const QString& path) override;
    bool folderExists(const QString& path) override;
    void moveFile(const QString& from, const QString& to) override;
};

// The DoSecurity object of the Keelbox library: created on first use and kept
// until the program ends (the program session owns it).
class DoSecurityProvider
{
public:
    virtual ~DoSecurityProvider() = default;
    virtual basic::ObjectRef doSecurity() = 0;
};

// Creates the object by its class id at the first call and keeps it.
class KeptDoSecurity : public DoSecurityProvider
{
public:
    basic::ObjectRef doSecurity() override;

private:
    basic::ObjectRef m_object;
};

// Joins a folder and a name with one "/" (none added when the folder ends in a
// separator): the path as the list and the messages show it.
QString joinPath(const QString& folder, const QString& name);
// The native path of `name` in `folder`, for the file-system work: the folder
// setting resolved (Paths.h), then "/" and the name exactly as it is (it may
// hold "\").
QString filePath(const QString& folder, const QString& name);

} // namespace batch
