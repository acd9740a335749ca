// Times stage one on a generated 32,000-line import file (no field checks), beside
// a baseline of reading the same file three times line by line.
#include "bench/stageone/GenerateImportFile.h"
#include "tests/import/FakePackage.h"
#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"
#include "app/import/StageOne.h"

#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int32_t Lines = 32000;

qint64 baselineNs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    qint64 commas = 0;
    for (int pass = 0; pass < 3; ++pass) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        while (!f.atEnd())
            commas += f.readLine().count(',');
    }
    if (commas == 0)
        qFatal("empty bench file");
    return timer.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // Never touch the user's own registry hives.
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("user.hive"))));

    QDir(dir.path()).mkpath(QStringLiteral("config"));
    QDir(dir.path()).mkpath(QStringLiteral("company/ACCDATA"));
    QFile setup(dir.filePath(QStringLiteral("company/ACCDATA/setup.dta")));
    if (!setup.open(QIODevice::WriteOnly))
        qFatal("cannot write setup.dta");
    setup.write("23");
    setup.close();
    generateLayout(dir.filePath(QStringLiteral("config")));
    const QString importPath = dir.filePath(QStringLiteral("bench.csv"));
    generateImportFile(importPath, Lines, 2000);

    settings::writeSetting(QStringLiteral("pellmoorconfigdir"), dir.filePath(QStringLiteral("config")));
    settings::writeSetting(QStringLiteral("VorlenDataPath"), dir.filePath(QStringLiteral("company")));
    settings::writeSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("1"));

    forms::ScopedScriptedMessages boxes;
    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm form;
    FakePackage package;
    importer::ImportContext context(window, log, errors, form);
    context.createEngine = [&](const QString& id) { return basic::ObjectRef(package.makeEngine(id)); };
    context.startCommand = [](const QString&, const QStringList&) {};
    window.corvelVersion = QStringLiteral("V23");
    window.importFile = importPath;

    const qint64 baseline = baselineNs(importPath);
    QElapsedTimer timer;
    timer.start();
    context.state.pass.StageOneCompleted = true;
    importer::ValidateImportFile(context, QStringLiteral("frmerrlog"), QStringLiteral("validate"));
    const qint64 stageOne = timer.nsecsElapsed();

    if (!context.state.pass.StageOneCompleted || !log.text.isEmpty() ||
        context.state.line.TotalRows != Lines + 1) {
        std::fprintf(stderr, "stage one did not pass the bench file: %s\n", qPrintable(log.text.left(200)));
        return 1;
    }
    const double seconds = double(stageOne) / 1e9;
    std::printf("stage one, %d lines (comma check on, no field checks): %.3f s, %.0f lines/s\n", Lines,
                seconds, double(Lines) / seconds);
    std::printf("baseline, the same file read three times: %.3f s; stage one / baseline = %.1f\n",
                double(baseline) / 1e9, double(stageOne) / double(baseline));
    return 0;
}
