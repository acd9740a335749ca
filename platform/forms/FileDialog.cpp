#include "platform/forms/FileDialog.h"

#include <utility>

namespace forms {

namespace {

using InstalledFileDialogService = basic::ServiceSlot<FileDialogService, ScriptedFileDialogService>;

} // namespace

std::vector<FileFilter> parseFileFilters(const QString& filter)
{
    std::vector<FileFilter> filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter entry{parts.at(i), {}};
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'))) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                entry.patterns << trimmed;
        }
        if (!entry.patterns.isEmpty())
            filters.push_back(std::move(entry));
    }
    return filters;
}

FileDialogService::~FileDialogService() = default;

FileDialogService& fileDialogService()
{
    return InstalledFileDialogService::get();
}

std::unique_ptr<FileDialogService> setFileDialogService(std::unique_ptr<FileDialogService> service)
{
    return InstalledFileDialogService::set(std::move(service));
}

std::optional<QString> ShowOpen(const FileOpenRequest& request)
{
    return fileDialogService().openFile(request);
}

std::optional<QString> ScriptedFileDialogService::openFile(const FileOpenRequest& request)
{
    m_requests.push_back(request);
    if (m_answers.empty())
        return std::nullopt;
    std::optional<QString> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void ScriptedFileDialogService::queueFile(std::optional<QString> path)
{
    m_answers.push_back(std::move(path));
}

} // namespace forms
