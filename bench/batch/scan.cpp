// Times one 2-second scan of batch mode (queue the source folder, derive and
// reconcile the status list) with 10,000 files in the error folder (5,000 failed
// files beside their error files) and 10,000 in the success folder, beside one
// plain listing of the same folders (readdir and a stat of each entry). Targets:
// a scan under 50 ms, at most 3 times the plain listing.
#include "tests/batch/BatchRig.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int FailedFiles = 5000;
constexpr int LoadedFiles = 10000;
constexpr int Runs = 21;
constexpr double TargetMs = 50;
constexpr double TargetRatio = 3;

bool touch(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write("x\r\n") == 3;
}

// What any program does to list a folder: each name and its metadata.
int plainListing(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int count = 0;
    while (const dirent* e = ::readdir(dir)) {
        struct stat st
        {
        };
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ++count;
    }
    ::closedir(dir);
    return count;
}

template <typename Run> double medianMs(Run run)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < Runs; ++i) {
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    batchtest::BatchRig rig(root.filePath(QStringLiteral("work")), root.filePath(QStringLiteral("company")));
    for (int i = 0; i < FailedFiles; ++i) {
        const QString base = rig.folder("error") + QStringLiteral("/orders%1").arg(i);
        if (!touch(base + QStringLiteral(".csv")) || !touch(base + QStringLiteral("_ERRORLOG.CSV")))
            return 1;
    }
    for (int i = 0; i < LoadedFiles; ++i) {
        if (!touch(rig.folder("success") + QStringLiteral("/orders%1.csv").arg(i)))
            return 1;
    }

    rig.mode->start();
    QElapsedTimer first;
    first.start();
    rig.mode->scanTick(); // the list filled
    const double firstMs = double(first.nsecsElapsed()) / 1e6;
    if (rig.list.rows.size() != size_t(FailedFiles + LoadedFiles)) {
        std::fprintf(stderr, "the list holds %zu rows, not %d\n", rig.list.rows.size(),
                     FailedFiles + LoadedFiles);
        return 1;
    }
    const int changes = rig.list.changes;
    const double scanMs = medianMs([&] { rig.mode->scanTick(); });
    if (rig.list.changes != changes) {
        std::fprintf(stderr, "a scan of unchanged folders changed the list\n");
        return 1;
    }
    int listed = 0;
    const double listingMs = medianMs([&] {
        listed = plainListing(rig.folder("source")) + plainListing(rig.folder("success")) +
                 plainListing(rig.folder("error"));
    });
    if (listed != 2 * FailedFiles + LoadedFiles)
        return 1;

    const double ratio = scanMs / listingMs;
    const bool within = scanMs < TargetMs && ratio <= TargetRatio;
    std::printf("%d files in the error folder, %d in the success folder\n", 2 * FailedFiles, LoadedFiles);
    std::printf("scan %.1f ms (median of %d; the first, filling the list, %.1f ms), plain listing %.1f ms: "
                "%.2f x\n",
                scanMs, Runs, firstMs, listingMs, ratio);
    std::printf("targets under %.0f ms and at most %.0f x: %s\n", TargetMs, TargetRatio,
                within ? "within" : "OVER");
    return within ? 0 : 1;
}
