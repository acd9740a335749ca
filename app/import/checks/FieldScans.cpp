#include "app/import/checks/FieldScans.h"

#include <algorithm>

namespace importer::checks {

DecimalScanResult decimalScan(const QString& text)
{
    DecimalScanResult result;
    bool pointSeen = false;
    const qsizetype end = std::min<qsizetype>(text.size(), ScanWindow);
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text.at(i);
        if (!pointSeen) {
            if (c == QLatin1Char('.'))
                pointSeen = true;
            continue;
        }
        if (c == QLatin1Char(' '))
            continue;
        if (c == QLatin1Char('.'))
            result.extraPoint = true;
        else
            ++result.decimals;
    }
    return result;
}

CharacterScanResult characterScan(const QString& text)
{
    CharacterScanResult result;
    const qsizetype end = std::min<qsizetype>(text.size(), ScanWindow);
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.'))
            ++result.points;
        else if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            result.bad = true;
    }
    return result;
}

} // namespace importer::checks
