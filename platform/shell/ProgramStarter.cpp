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

std::unique_ptr<ProgramStarter>& installed()
{
    static std::unique_ptr<ProgramStarter> starter = std::make_unique<DetachedProgramStarter>();
    return starter;
}

} // namespace

ProgramStarter::~ProgramStarter() = default;

ProgramStarter& programStarter()
{
    return *installed();
}

std::unique_ptr<ProgramStarter> setProgramStarter(std::unique_ptr<ProgramStarter> starter)
{
    if (!starter)
        starter = std::make_unique<DetachedProgramStarter>();
    std::swap(installed(), starter);
    return starter;
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

ScopedRecordingProgramStarter::ScopedRecordingProgramStarter()
{
    auto starter = std::make_unique<RecordingProgramStarter>();
    m_starter = starter.get();
    m_previous = setProgramStarter(std::move(starter));
}

ScopedRecordingProgramStarter::~ScopedRecordingProgramStarter()
{
    setProgramStarter(std::move(m_previous));
}

} // namespace shell
