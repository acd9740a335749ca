#pragma once

#include <QElapsedTimer>

#include <ctime>
#include <limits>

namespace bench {

// The clock's and the processor's time of one run. The machine is shared, so the
// clock varies with what else runs and with the disk's flushes; the processor time
// is the work the run did itself.
struct Times
{
    qint64 wallNs = std::numeric_limits<qint64>::max();
    qint64 cpuNs = std::numeric_limits<qint64>::max();
};

inline qint64 processCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

class Stopwatch
{
public:
    Stopwatch() : m_cpu(processCpuNs()) { m_wall.start(); }
    Times elapsed() const { return {m_wall.nsecsElapsed(), processCpuNs() - m_cpu}; }

private:
    QElapsedTimer m_wall;
    qint64 m_cpu;
};

inline double seconds(qint64 ns)
{
    return double(ns) / 1e9;
}

} // namespace bench
