#include "platform/shell/ProgramStarter.h"

#include <QProcess>

namespace shell {

namespace {

class DetachedProgramStarter : public ProgramStarter
{
public:
    bool start(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

using Installed = basic::ServiceSlot<ProgramStarter, DetachedProgramStarter>;

} // namespace

ProgramStarter::~ProgramStarter() = default;

ProgramStarter& programStarter()
{
    return Installed::get();
}

std::unique_ptr<ProgramStarter> setProgramStarter(std::unique_ptr<ProgramStarter> starter)
{
    return Installed::set(std::move(starter));
}

bool startProgram(const QString& program, const QStringList& arguments)
{
    if (program.trimmed().isEmpty())
        return false;
    return programStarter().start(program, arguments);
}

bool startCommandLine(const QString& commandLine)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return startProgram(program, words);
}

bool RecordingProgramStarter::start(const QString& program, const QStringList& arguments)
{
    m_started.push_back({program, arguments});
    return result;
}

} // namespace shell
