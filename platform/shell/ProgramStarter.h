#pragma once

#include "platform/basic/ServiceSlot.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Starting other programs (the text editor, the registration tool, the system
// information tool) goes through one service, so that tests record what would be
// started instead of starting it.
namespace shell {

class ProgramStarter
{
public:
    virtual ~ProgramStarter();
    // Starts the program detached (found on PATH when it names no folder); false
    // when it cannot be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

// The installed starter: the one that really starts programs until another is installed.
ProgramStarter& programStarter();
// Installs a starter and returns the previous one; installing none puts back the real one.
std::unique_ptr<ProgramStarter> setProgramStarter(std::unique_ptr<ProgramStarter> starter);

// Starts a program by name with its arguments.
bool startProgram(const QString& program, const QStringList& arguments = {});
// Starts a command line: words split at blanks ("a b" in double quotes stays
// one word; single quotes are not special); false for an empty line.
bool startCommandLine(const QString& commandLine);

// Tests: every start recorded; each answers `result`.
class RecordingProgramStarter : public ProgramStarter
{
public:
    struct Started
    {
        QString program;
        QStringList arguments;
    };
    bool start(const QString& program, const QStringList& arguments) override;
    const std::vector<Started>& started() const { return m_started; }
    bool result = true;

private:
    std::vector<Started> m_started;
};

// Installs a RecordingProgramStarter for the lifetime of the guard.
class ScopedRecordingProgramStarter
    : public basic::ScopedService<RecordingProgramStarter, &setProgramStarter>
{
public:
    RecordingProgramStarter& starter() { return service(); }
};

} // namespace shell
