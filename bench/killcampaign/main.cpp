// Batch mode attacked with SIGKILLs: N files (some failing validation) in the
// source folder, batch passes run as child processes (batch_crash_child) and
// killed K times at random, either after a random delay or at a random point of
// the package's commit (inside it, or just after it is durable); then passes run
// until the source folder is empty, and one more. Then it counts, from the ledger
// and the three folders, what must never happen:
//
//   files posted twice        a document of a file is in the ledger more than once
//   files lost                a file is in none of the three folders
//   files in two folders      a file is in more than one place
//   error files naming fewer  an error-folder file whose error file names fewer
//   documents than the ledger documents (posted or may have been posted) than the
//                             ledger holds for it (none when it lacks its error file)
//
// and, beside them, loaded files whose documents are not all in the ledger.
// Exits 1 when any count is not 0.
//
//   batch_kill_campaign [files=400] [kills=30] [seed]
#include "tests/batch/BatchRig.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <set>

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

struct Source
{
    QString name; // "f0012.csv"
    QString tag;  // "f0012", in every document's Notes 1
    int documents = 0;
    bool failing = false;
};

// The test layout with Notes 1 as a seventh column: each document carries its
// file's tag and its own number there, so the ledger tells whose it is.
void writeLayout(const QString& config)
{
    QDir().mkpath(config);
    QByteArray columns = "Transaction Type\r\nAccount Reference\r\nTransaction Date\r\nProduct Code\r\n"
                         "Quantity\r\nUnit Price\r\nNotes 1\r\n";
    for (int i = 7; i < 54; ++i)
        columns += "\r\n";
    batchtest::writeFile(config + QStringLiteral("/qfm.cfg"), columns);
    batchtest::writeFile(config + QStringLiteral("/qfm2.cfg"), "Account Reference\r\n\r\n\r\n\r\n");
}

QByteArray fileBytes(const Source& source, QRandomGenerator& random)
{
    static const char* const accounts[] = {"ALD01", "BIR02", "CED03"};
    static const char* const products[] = {"BOLT", "BOOK", "LAMP", "SAW"};
    QByteArray out;
    const int bad = source.failing ? int(random.bounded(source.documents)) : -1;
    for (int d = 0; d < source.documents; ++d) {
        const int lines = 1 + int(random.bounded(3));
        for (int l = 1; l <= lines; ++l)
            out += QStringLiteral("I,%1,%2/11/2026,%3,%4,%5,%6 d%7\r\n")
                       .arg(d == bad ? QStringLiteral("NOBODY") : QLatin1String(accounts[d % 3]))
                       .arg(1 + int(random.bounded(28)), 2, 10, QLatin1Char('0'))
                       .arg(QLatin1String(products[(d + l) % 4]))
                       .arg(l)
                       .arg(1.25 * l + d, 0, 'f', 2)
                       .arg(source.tag)
                       .arg(d)
                       .toLatin1();
    }
    return out;
}

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

struct Child
{
    QString work, company, config;

    // One pass. `faults` for the package's kill points; `killAfterMs` > 0 kills
    // the child from outside after that long. True when it was killed.
    bool run(const QString& faults, int killAfterMs) const
    {
        QProcess child;
        child.setProcessEnvironment(batchtest::childEnvironment(faults));
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(BinDir + QStringLiteral("/batch_crash_child"), {work, company, config});
        if (!child.waitForStarted())
            qFatal("batch_crash_child cannot be started");
        bool killed = false;
        if (killAfterMs > 0 && !child.waitForFinished(killAfterMs)) {
            child.kill(); // SIGKILL
            killed = true;
        }
        child.waitForFinished(600000);
        const QByteArray boxes = child.readAllStandardOutput();
        if (!boxes.isEmpty())
            std::fprintf(stderr, "%s", boxes.constData());
        return killed || (child.exitStatus() == QProcess::CrashExit);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? QByteArray(argv[1]).toInt() : 400;
    const int kills = argc > 2 ? QByteArray(argv[2]).toInt() : 30;
    const quint32 seed = argc > 3 ? QByteArray(argv[3]).toUInt() : QRandomGenerator::system()->generate();
    if (files <= 0 || kills < 0) {
        std::fprintf(stderr, "usage: batch_kill_campaign [files=400] [kills=30] [seed]\n");
        return 2;
    }
    QRandomGenerator random(seed);
    std::printf("%d files, %d kills, seed %u\n", files, kills, seed);

    QTemporaryDir root;
    if (!root.isValid())
        qFatal("no temporary folder");
    // Registry hives of this run only, for this process and every child.
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(root.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(root.filePath(QStringLiteral("user.hive"))));
    QString problem;
    if (!batchtest::registerEngine(problem))
        qFatal("%s", qPrintable(problem));
    const Child child{root.filePath(QStringLiteral("work")), root.filePath(QStringLiteral("company")),
                      root.filePath(QStringLiteral("config"))};
    batchtest::BatchCompany::create(child.company);
    writeLayout(child.config);
    for (const char* folder : {"source", "success", "error"})
        QDir(child.work).mkpath(QLatin1String(folder));

    std::vector<Source> sources;
    std::map<QByteArray, size_t> byDigest;
    for (int i = 0; i < files; ++i) {
        Source s;
        s.tag = QStringLiteral("f%1").arg(i, 4, 10, QLatin1Char('0'));
        s.name = s.tag + QStringLiteral(".csv");
        s.documents = 1 + int(random.bounded(5));
        s.failing = random.bounded(8) == 0;
        const QByteArray bytes = fileBytes(s, random);
        batchtest::writeFile(child.work + QStringLiteral("/source/") + s.name, bytes);
        byDigest[digest(bytes)] = sources.size();
        sources.push_back(s);
    }

    // Half the runs die at a commit point (the kill from outside stays as a limit,
    // so that every run is killed inside its pass), the others at a random moment.
    int killed = 0, runs = 0;
    while (killed < kills && !batchtest::filesOf(child.work + QStringLiteral("/source")).isEmpty()) {
        ++runs;
        QString faults;
        if (random.bounded(2) == 0) {
            static const char* const points[] = {"item", "commit", "committed"};
            faults = QStringLiteral("kill_at=%1:%2")
                         .arg(QLatin1String(points[random.bounded(3)]))
                         .arg(1 + random.bounded(12));
        }
        killed += child.run(faults, 100 + int(random.bounded(700))) ? 1 : 0;
    }
    // Then to the end, and one pass more for what the last one left to repair.
    int endRuns = 0;
    while (!batchtest::filesOf(child.work + QStringLiteral("/source")).isEmpty() && endRuns < 50) {
        child.run({}, 0);
        ++endRuns;
    }
    child.run({}, 0);

    // Where each file is now.
    std::vector<QStringList> places(sources.size());
    int strangers = 0;
    for (const char* folder : {"source", "success", "error"}) {
        const QString path = child.work + QLatin1Char('/') + QLatin1String(folder);
        for (const QString& name : batchtest::filesOf(path)) {
            if (name.contains(QLatin1String("_ERRORLOG")))
                continue;
            const auto it = byDigest.find(digest(batchtest::readFile(path + QLatin1Char('/') + name)));
            if (it == byDigest.end()) {
                ++strangers;
                continue;
            }
            places[it->second] << QLatin1String(folder) + QLatin1Char('/') + name;
        }
    }

    // The ledger's documents per file and document number.
    std::map<QString, std::map<int, int>> ledger;
    for (const QJsonValue& document : batchtest::BatchCompany::posted(child.company)) {
        const QString notes = document.toObject().value(QStringLiteral("NOTES_1")).toString();
        const int space = int(notes.indexOf(QLatin1Char(' ')));
        ledger[notes.left(space)][notes.mid(space + 2).toInt()] += 1;
    }

    int postedTwice = 0, lost = 0, twoFolders = 0, underReported = 0, loadedShort = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        const Source& s = sources[i];
        const auto& docs = ledger[s.tag];
        bool twice = false;
        for (const auto& [number, count] : docs)
            twice = twice || count > 1;
        postedTwice += twice ? 1 : 0;
        if (places[i].empty())
            ++lost;
        if (places[i].size() > 1)
            ++twoFolders;
        for (const QString& place : places[i]) {
            if (place.startsWith(QLatin1String("success/")) && int(docs.size()) != s.documents)
                ++loadedShort;
            if (!place.startsWith(QLatin1String("error/")))
                continue;
            // Its error files: the filed name's base and "_ERRORLOG", stamped or not.
            const QString base = QFileInfo(place).completeBaseName() + QStringLiteral("_ERRORLOG");
            int named = 0;
            const QString errorFolder = child.work + QStringLiteral("/error");
            for (const QString& name : batchtest::filesOf(errorFolder)) {
                if (!name.startsWith(base))
                    continue;
                for (const QString& line :
                     QString::fromLatin1(batchtest::readFile(errorFolder + QLatin1Char('/') + name))
                         .split(QStringLiteral("\r\n"))) {
                    if (line.startsWith(QLatin1String("\"Already posted: ")) ||
                        line.startsWith(QLatin1String("\"May have been posted")))
                        ++named;
                }
            }
            if (named < int(docs.size())) {
                ++underReported;
                std::printf("  %s: %d documents in the ledger, its error file names %d\n", qPrintable(place),
                            int(docs.size()), named);
            }
        }
    }

    std::printf("runs: %d killed (%d runs), then %d to the end\n", killed, runs, endRuns + 1);
    std::printf("files posted twice: %d\n", postedTwice);
    std::printf("files lost: %d\n", lost);
    std::printf("files in two folders: %d\n", twoFolders);
    std::printf("error files naming fewer documents than the ledger holds: %d\n", underReported);
    std::printf("loaded files short of documents in the ledger: %d\n", loadedShort);
    if (strangers)
        std::printf("files of unknown contents: %d\n", strangers);
    return postedTwice || lost || twoFolders || underReported || loadedShort || strangers || killed < kills
               ? 1
               : 0;
}
