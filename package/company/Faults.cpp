#include "package/company/Faults.h"

#include <QStringList>

#include <csignal>
#include <cstdlib>

namespace company::faults {

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

void hookPoint(const char* point)
{
    const auto at = valueOf("kill_at");
    if (at && at->compare(QLatin1String(point), Qt::CaseInsensitive) == 0)
        std::raise(SIGKILL);
}

} // namespace company::faults
