#include "package/company/Faults.h"

#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace company::faults {

namespace {
std::atomic<bool> s_active{false};
std::once_flag s_read;
} // namespace

void refresh()
{
    const char* env = std::getenv("VORLEN_FAULTS");
    s_active.store(env && *env, std::memory_order_relaxed);
}

bool active()
{
    std::call_once(s_read, refresh);
    return s_active.load(std::memory_order_relaxed);
}

std::optional<QString> valueOf(const char* name)
{
    const char* env = std::getenv("VORLEN_FAULTS");
    if (!env || !*env)
        return std::nullopt;
    const QStringList items = QString::fromUtf8(env).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString key = QString::fromLatin1(name);
    for (const QString& item : items) {
        const int eq = item.indexOf(QLatin1Char('='));
        const QString n = (eq < 0 ? item : item.left(eq)).trimmed();
        if (n.compare(key, Qt::CaseInsensitive) == 0)
            return eq < 0 ? QString() : item.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

bool isSet(const char* name)
{
    return valueOf(name).has_value();
}

// How often this process has passed the point: counted whether or not a fault is
// set, so that setting one later in a run still names commits from the start.
static int passCount(const char* point)
{
    static std::mutex lock;
    static std::map<std::string, int> passed;
    const std::lock_guard<std::mutex> guard(lock);
    return ++passed[point];
}

void hookPoint(const char* point)
{
    const int passes = passCount(point);
    const auto at = valueOf("kill_at");
    if (!at)
        return;
    // "point" kills at the first pass after it is set (the process ends there), "point:N"
    // only at the N-th; a count that is not a whole number from 1 never matches.
    const int colon = at->indexOf(QLatin1Char(':'));
    const QString name = (colon < 0 ? *at : at->left(colon)).trimmed();
    if (name.compare(QLatin1String(point), Qt::CaseInsensitive) != 0)
        return;
    if (colon >= 0) {
        bool ok = false;
        const int commit = at->mid(colon + 1).trimmed().toInt(&ok);
        if (!ok || commit != passes)
            return;
    }
    std::raise(SIGKILL);
}

} // namespace company::faults
