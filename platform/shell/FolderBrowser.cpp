#include "platform/shell/FolderBrowser.h"

#include "platform/shell/DisplayPath.h"

#include <QFileDialog>

namespace shell {

namespace {

class DialogFolderBrowser : public FolderBrowser
{
public:
    std::optional<QString> browse(const QString& title, QWidget* owner) override
    {
        // Qt's own dialog: the same on every desktop, and scriptable offscreen.
        const QString folder = QFileDialog::getExistingDirectory(
            owner, title, QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (folder.isEmpty())
            return std::nullopt;
        return folder;
    }
};

using Installed = basic::ServiceSlot<FolderBrowser, DialogFolderBrowser>;

} // namespace

FolderBrowser::~FolderBrowser() = default;

FolderBrowser& folderBrowser()
{
    return Installed::get();
}

std::unique_ptr<FolderBrowser> setFolderBrowser(std::unique_ptr<FolderBrowser> browser)
{
    return Installed::set(std::move(browser));
}

QString BrowseForFolder(const QString& title, QWidget* owner)
{
    const std::optional<QString> folder = folderBrowser().browse(title, owner);
    if (!folder || folder->isEmpty())
        return QString();
    return displayPath(*folder);
}

std::optional<QString> ScriptedFolderBrowser::browse(const QString& title, QWidget*)
{
    m_titles.push_back(title);
    if (m_answers.empty())
        return std::nullopt;
    std::optional<QString> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

} // namespace shell
