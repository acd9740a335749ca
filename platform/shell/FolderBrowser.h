#pragma once

#include "platform/basic/ServiceSlot.h"

#include <QString>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

// The shell's folder browser (BrowseForFolder), behind one service: the program
// shows a folder dialog, tests script the answers. Nothing else opens a folder dialog.
namespace shell {

class FolderBrowser
{
public:
    virtual ~FolderBrowser();
    // The chosen folder as a native path; nullopt when the user cancelled.
    virtual std::optional<QString> browse(const QString& title, QWidget* owner) = 0;
};

FolderBrowser& folderBrowser();
// Installs a browser and returns the previous one; installing none puts back the dialog.
std::unique_ptr<FolderBrowser> setFolderBrowser(std::unique_ptr<FolderBrowser> browser);

// The chosen folder in the "X:\..." form (DisplayPath.h), or "" on Cancel.
QString BrowseForFolder(const QString& title, QWidget* owner);

// Tests: queued answers (nullopt is Cancel; none queued cancels) and the titles shown.
class ScriptedFolderBrowser : public FolderBrowser
{
public:
    std::optional<QString> browse(const QString& title, QWidget* owner) override;
    void queueAnswer(std::optional<QString> nativeFolder) { m_answers.push_back(std::move(nativeFolder)); }
    const std::vector<QString>& titlesShown() const { return m_titles; }

private:
    std::deque<std::optional<QString>> m_answers;
    std::vector<QString> m_titles;
};

// Installs a ScriptedFolderBrowser for the lifetime of the guard.
class ScopedScriptedFolderBrowser
    : public basic::ScopedService<ScriptedFolderBrowser, &setFolderBrowser>
{
public:
    ScriptedFolderBrowser& browser() { return service(); }
};

} // namespace shell
