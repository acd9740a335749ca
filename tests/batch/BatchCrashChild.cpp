// One batch pass over the source folder of a work folder, as a process of its own,
// so that a test can kill it inside a commit (VORLEN_FAULTS=kill_at=<point>:<N>) or
// just before the imported file is moved (--kill-before-move).
//
//   batch_crash_child <work folder> <company folder> <config folder> [--kill-before-move]
//
// The engine must already be registered in the hives the environment names. Exit 0
// when the pass ran; every message box shown is a line "box <title>: <text>".
#include "tests/batch/BatchRig.h"

#include "platform/forms/MessageService.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: batch_crash_child <work> <company> <config> [--kill-before-move]\n");
        return 2;
    }
    const QString work = QString::fromLocal8Bit(argv[1]);
    const QString companyFolder = QString::fromLocal8Bit(argv[2]);
    const QString configFolder = QString::fromLocal8Bit(argv[3]);
    const bool killBeforeMove = argc == 5 && QByteArray(argv[4]) == "--kill-before-move";
    if (!batchtest::BatchCompany::writeSettings(companyFolder, configFolder)) {
        std::fprintf(stderr, "the settings could not be written\n");
        return 1;
    }
    batchtest::BatchRig rig(work, companyFolder);
    if (killBeforeMove)
        rig.files.beforeMove = [](const QString&, const QString&) { std::raise(SIGKILL); };
    forms::ScopedScriptedMessages boxes;
    rig.mode->start();
    rig.scanTwiceAndPass();
    rig.mode->stop();
    for (const auto& box : boxes.service().shown())
        std::printf("box %s: %s\n", box.title.toLocal8Bit().constData(), box.text.toLocal8Bit().constData());
    return 0;
}
