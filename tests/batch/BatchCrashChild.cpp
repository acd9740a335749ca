// One batch pass over the source folder of a work folder, as a process of its own,
// so that a test can kill it inside a commit (VORLEN_FAULTS=kill_at=<point>:<N>), or
// just before or just after the imported file is moved.
//
//   batch_crash_child <work folder> <company folder> <config folder>
//                     [--kill-before-move | --kill-after-move]
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
        std::fprintf(stderr, "usage: batch_crash_child <work> <company> <config> "
                             "[--kill-before-move | --kill-after-move]\n");
        return 2;
    }
    const QString work = QString::fromLocal8Bit(argv[1]);
    const QString companyFolder = QString::fromLocal8Bit(argv[2]);
    const QString configFolder = QString::fromLocal8Bit(argv[3]);
    const QByteArray kill = argc == 5 ? QByteArray(argv[4]) : QByteArray();
    if (!batchtest::BatchCompany::writeSettings(companyFolder, configFolder)) {
        std::fprintf(stderr, "the settings could not be written\n");
        return 1;
    }
    batchtest::BatchRig rig(work, companyFolder);
    const auto die = [](const QString&, const QString&) { std::raise(SIGKILL); };
    if (kill == "--kill-before-move")
        rig.files.beforeMove = die;
    else if (kill == "--kill-after-move")
        rig.files.afterMove = die;
    forms::ScopedScriptedMessages boxes;
    rig.mode->start();
    rig.scanTwiceAndPass();
    rig.mode->stop();
    for (const auto& box : boxes.service().shown())
        std::printf("box %s: %s\n", box.title.toLocal8Bit().constData(), box.text.toLocal8Bit().constData());
    return 0;
}
