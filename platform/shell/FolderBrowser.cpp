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

std::unique_ptr<FolderBrowser>& installed()
{
    static std::unique_ptr<FolderBrowser> browser = std::make_unique<DialogFolderBrowser>();
    return browser;
}

} // namespace

FolderBrowser::~FolderBrowser() = default;

FolderBrowser& folderBrowser()
{
    return *installed();
}

std::unique_ptr<FolderBrowser> setFolderBrowser(std::unique_ptr<FolderBrowser> browser)
{
    if (!browser)
        browser = std::make_unique<DialogFolderBrowser>();
    std::swap(installed(), browser);
    return browser;
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

ScopedScriptedFolderBrowser::ScopedScriptedFolderBrowser()
{
    auto browser = std::make_unique<ScriptedFolderBrowser>();
    m_browser = browser.get();
    m_previous = setFolderBrowser(std::move(browser));
}

ScopedScriptedFolderBrowser::~ScopedScriptedFolderBrowser()
{
    setFolderBrowser(std::move(m_previous));
}

} // namespace shell
