// Times batch mode against the import it runs: 200 files of 160 lines each (20
// invoices of 8 lines) are imported one by one headless (RunImport, the
// confirmation answered) into one company and, in turn, each through batch mode
// (two scans and a pass) into a second company, in the same run. Batch mode's overhead per file (the login
// check, the journal, the move, the status list) must stay under 20 ms beyond the
// import itself. Fails when a file is not filed as imported or a count is off.
#include "tests/batch/BatchRig.h"

#include "app/import/driver/ImportDriver.h"

#include "platform/forms/MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Files = 200;
constexpr int DocumentsPerFile = 20;
constexpr int LinesPerDocument = 8;
constexpr double TargetMs = 20;

QString fileName(int i)
{
    return QStringLiteral("orders%1.csv").arg(i, 3, 10, QLatin1Char('0'));
}

bool writeFiles(const QString& folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i < Files; ++i) {
        QFile f(QDir(folder).filePath(fileName(i)));
        const QByteArray bytes =
            batchtest::BatchCompany::importFile(DocumentsPerFile, LinesPerDocument, i + 1);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

// One import as the main window runs it, the confirmation answered.
struct PlainImport
{
    PlainImport(const QString& company, forms::ScriptedMessageService& boxes) : boxes(boxes)
    {
        window.corvelVersion = QStringLiteral("V23");
        form.datapath = company;
        form.password = QStringLiteral("secret");
        context.startCommand = [](const QString&, const QStringList&) {};
    }
    bool run(const QString& path)
    {
        window.importFile = path;
        boxes.queueAnswer(forms::AnswerYes);
        context.state.pass.ImportOK = false;
        importer::RunImport(context);
        if (!context.state.pass.ImportOK)
            std::fprintf(stderr, "%s did not import:\n%s", qPrintable(path), qPrintable(log.text.left(400)));
        return context.state.pass.ImportOK;
    }

    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm form;
    importer::ImportContext context{window, log, errors, form};
    forms::ScriptedMessageService& boxes;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // Registry hives of this run only, for the process and the regsvr it starts.
    QTemporaryDir hives;
    if (!hives.isValid())
        return 1;
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    QString problem;
    if (!batchtest::registerEngine(problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    const QString root = hives.path();
    const QString config = root + QStringLiteral("/config");
    batchtest::BatchCompany::writeLayout(config);

    // Each file imported once by itself into one company, and once through a batch
    // pass (two scans, then the pass) into another, in turn, so that both meet the
    // same machine load.
    const QString plainCompany = root + QStringLiteral("/plain");
    const QString batchCompany = root + QStringLiteral("/batch");
    batchtest::BatchCompany::create(plainCompany);
    batchtest::BatchCompany::create(batchCompany);
    const QString files = root + QStringLiteral("/files");
    if (!writeFiles(files))
        return 1;
    batchtest::BatchRig rig(root + QStringLiteral("/work"), batchCompany);
    forms::ScopedScriptedMessages boxes;
    PlainImport plain(plainCompany, boxes.service());
    rig.mode->start();
    qint64 plainNs = 0, batchNs = 0;
    QElapsedTimer timer;
    for (int i = 0; i < Files; ++i) {
        batchtest::BatchCompany::writeSettings(plainCompany, config);
        timer.start();
        if (!plain.run(QDir(files).filePath(fileName(i))))
            return 1;
        plainNs += timer.nsecsElapsed();

        batchtest::BatchCompany::writeSettings(batchCompany, config);
        QFile::copy(QDir(files).filePath(fileName(i)), QDir(rig.folder("source")).filePath(fileName(i)));
        timer.start();
        rig.mode->scanTick();
        rig.mode->scanTick();
        rig.mode->passTick();
        batchNs += timer.nsecsElapsed();
    }
    rig.mode->stop();

    const int filed = int(QDir(rig.folder("success")).entryList(QDir::Files).size());
    const qsizetype posted = batchtest::BatchCompany::posted(batchCompany).size();
    const qsizetype postedPlain = batchtest::BatchCompany::posted(plainCompany).size();
    if (filed != Files || posted != Files * DocumentsPerFile || postedPlain != posted ||
        boxes.service().shown().size() != size_t(Files)) { // the confirmations alone
        std::fprintf(stderr, "batch mode filed %d of %d files, posted %d documents (one by one %d)\n", filed,
                     Files, int(posted), int(postedPlain));
        return 1;
    }

    const double plainMs = double(plainNs) / 1e6 / Files;
    const double batchMs = double(batchNs) / 1e6 / Files;
    const double overhead = batchMs - plainMs;
    std::printf("%d files of %d lines: one by one %.1f ms a file, batch mode %.1f ms a file (%.2f x)\n",
                Files, DocumentsPerFile * LinesPerDocument, plainMs, batchMs, batchMs / plainMs);
    std::printf("batch overhead %.1f ms a file (target %.0f ms: %s)\n", overhead, TargetMs,
                overhead < TargetMs ? "within" : "OVER");
    return 0; // it ran: the verdict is the line above
}
