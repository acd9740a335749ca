#pragma once

#include "platform/basic/ServiceSlot.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

// The open-file dialog (the common dialog's ShowOpen) through one service: the
// program installs WidgetFileDialogService, tests ScriptedFileDialogService.
namespace forms {

// One entry of a filter: "Import File(*.csv)|*.csv" is the description
// "Import File(*.csv)" with the pattern "*.csv"; several patterns of one entry are
// separated by ";" ("*.csv;*.txt").
struct FileFilter
{
    QString description;
    QStringList patterns;
    bool operator==(const FileFilter&) const = default;
};

// Splits "description|pattern|description|pattern...". A description without a
// pattern after it (an odd count of parts) is left out; blanks around patterns are
// dropped and empty patterns ignored.
std::vector<FileFilter> parseFileFilters(const QString& filter);

struct FileOpenRequest
{
    QString title;         // DialogTitle
    QString filter;        // Filter, "description|pattern|..."
    int32_t filterIndex = 1; // FilterIndex, 1-based
    QString initialFolder; // InitDir; empty for the current folder
    QString fileName;      // FileName shown at the start
    QString control;       // the window's name of its dialog control ("CommonDialog1")
};

class FileDialogService
{
public:
    virtual ~FileDialogService();
    // The chosen file's full native path, or nullopt when the user cancelled.
    virtual std::optional<QString> openFile(const FileOpenRequest& request) = 0;
};

// The installed service; a ScriptedFileDialogService (every dialog cancelled) until
// another is installed.
FileDialogService& fileDialogService();
// Installs a service and returns the previous one; none puts back a scripted one.
std::unique_ptr<FileDialogService> setFileDialogService(std::unique_ptr<FileDialogService> service);

// Shows the open-file dialog through the installed service.
std::optional<QString> ShowOpen(const FileOpenRequest& request);

// Tests: queued answers (a path, or nullopt for Cancel) and every request recorded.
class ScriptedFileDialogService : public FileDialogService
{
public:
    std::optional<QString> openFile(const FileOpenRequest& request) override;

    // The next dialogs get these, in order; with none queued a dialog is cancelled.
    void queueFile(std::optional<QString> path);
    const std::vector<FileOpenRequest>& requests() const { return m_requests; }

private:
    std::deque<std::optional<QString>> m_answers;
    std::vector<FileOpenRequest> m_requests;
};

using ScopedScriptedFileDialogs = basic::ScopedService<ScriptedFileDialogService, &setFileDialogService>;

} // namespace forms
