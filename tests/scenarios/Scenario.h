#pragma once

#include "platform/forms/MessageService.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

// One scenario folder as the runner reads it; the format is described in
// tests/scenarios/README.md.
namespace scenarios {

// A scenario that cannot be run as written; the message names the file (and line).
class ScenarioError : public std::runtime_error
{
public:
    explicit ScenarioError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

using Entries = std::vector<std::pair<QString, QString>>;

// The files of a scenario folder, in the names the format gives them.
namespace file {
inline constexpr const char* Ini = "scenario.ini";
inline constexpr const char* Seed = "company.json";
inline constexpr const char* Import = "import.csv";
inline constexpr const char* Answers = "answers";
inline constexpr const char* Expected = "expected";
inline constexpr const char* Log = "log.txt";
inline constexpr const char* Errors = "errors.csv";
inline constexpr const char* Messages = "messages.txt";
inline constexpr const char* Posted = "posted.json";
inline constexpr const char* BatchFiles = "batch.txt";
inline constexpr const char* ErrorFiles = "errorfiles";
} // namespace file

// The [batch] section: the scenario runs batch mode instead of one import.
struct BatchRun
{
    QDateTime now;  // where the clock starts, local time
    int passes = 1;
    QString source = QStringLiteral("source");
    QString success = QStringLiteral("success");
    QString error = QStringLiteral("error");
    QStringList vanish; // source files removed after the scans, before the first pass
};

struct Scenario
{
    QString folder;
    Entries settings; // [settings], in file order
    Entries form;     // [form], box names as the settings form spells them
    QJsonObject seed;
    std::vector<forms::Answer> answers;

    // Expected outcome; a file that is absent is not checked.
    std::optional<QStringList> log, errors, messages;
    std::optional<QJsonArray> posted;

    std::optional<BatchRun> batch;
    std::optional<QStringList> batchFiles;     // expected/batch.txt
    std::map<QString, QByteArray> errorFiles; // expected/errorfiles/<name>
};

// Reads a folder that holds "scenario.ini". Throws ScenarioError.
Scenario loadScenario(const QString& folder);

// The settings-form boxes a scenario may give, as the form spells them; the
// ones the import reads.
const QStringList& formBoxes();
// The spelling of `name` in formBoxes() (names compare without regard to case),
// or an empty text when it is not one of them.
QString formBox(const QString& name);
bool isCheckBox(const QString& box);

// The lines of an expected text file: CR LF or LF ends a line; a last line
// without a line end counts as a line.
QStringList textLines(const QByteArray& bytes);

} // namespace scenarios
