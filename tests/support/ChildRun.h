#pragma once

// Runs a piece of work in a forked child, so that a file-size limit or a runaway
// read stays there, and reports how it ended and how much memory it took.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>

namespace testsupport {

struct ChildOutcome
{
    bool exited = false;   // ended by _exit, not by a signal
    int code = -1;         // the work's result
    long peakGrowthKiB = 0; // peak resident memory above what the child started with
};

// Options for the child: a file-size limit in bytes (0: none; SIGXFSZ is then
// ignored, so that a write past it fails with EFBIG instead of killing the child).
struct ChildLimits
{
    rlim_t fileSize = 0;
};

inline long residentKiB(const char* field)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long value = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, length) == 0)
            std::sscanf(line + length, ": %ld", &value);
    std::fclose(f);
    return value;
}

inline ChildOutcome runInChild(const std::function<int()>& work, ChildLimits limits = {})
{
    int report[2];
    if (::pipe(report) != 0)
        return {};
    const pid_t child = ::fork();
    if (child < 0)
        return {};
    if (child == 0) {
        ::close(report[0]);
        if (limits.fileSize) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit
            {
            };
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = limits.fileSize;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        // The peak starts again from what the child holds now (the parent's pages
        // it shares after the fork are not the work's).
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const long start = residentKiB("VmRSS");
        const int code = work();
        struct rusage usage
        {
        };
        ::getrusage(RUSAGE_SELF, &usage);
        const long growth = usage.ru_maxrss - start;
        [[maybe_unused]] const auto written = ::write(report[1], &growth, sizeof growth);
        ::_exit(code);
    }
    ::close(report[1]);
    ChildOutcome outcome;
    if (::read(report[0], &outcome.peakGrowthKiB, sizeof outcome.peakGrowthKiB) != sizeof outcome.peakGrowthKiB)
        outcome.peakGrowthKiB = -1;
    ::close(report[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        outcome.exited = true;
        outcome.code = WEXITSTATUS(status);
    }
    return outcome;
}

} // namespace testsupport
