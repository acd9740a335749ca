#include "package/datetime/TimeStamp.h"

#include "platform/basic/Dates.h"

#include <cmath>

namespace vldt {

bool timeStampFromDate(double serial, TimeStamp& out)
{
    out = {};
    // Beyond year 9999 either way; also keeps the day count in range.
    if (!std::isfinite(serial) || serial < -657435.0 || serial >= 2958466.0)
        return false;
    const QDateTime dt = basic::toQDateTime(basic::DateValue{serial});
    const QDate d = dt.date();
    if (!d.isValid() || d.year() < 100 || d.year() > 9999)
        return false;
    out.year = int16_t(d.year());
    out.month = uint16_t(d.month());
    out.day = uint16_t(d.day());
    out.hour = uint16_t(dt.time().hour());
    out.minute = uint16_t(dt.time().minute());
    out.second = uint16_t(dt.time().second());
    return true;
}

bool dateFromTimeStamp(const TimeStamp& stamp, double& serial)
{
    const QDate d(stamp.year, stamp.month, stamp.day);
    const QTime t(stamp.hour, stamp.minute, stamp.second);
    if (!d.isValid() || !t.isValid())
        return false;
    serial = basic::fromQDateTime(QDateTime(d, t)).serial;
    return true;
}

} // namespace vldt
