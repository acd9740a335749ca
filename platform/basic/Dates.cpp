#include "platform/basic/Dates.h"

#include "platform/basic/RuntimeError.h"

#include <cmath>
#include <mutex>

namespace basic {

namespace {

const QDate kEpoch(1899, 12, 30);
// The runtime's date range: 1 Jan 100 to 31 Dec 9999.
constexpr double kMinSerial = -657434.0;
constexpr double kMaxSerial = 2958465.999999;

std::mutex& clockMutex()
{
    static std::mutex m;
    return m;
}

std::function<QDateTime()>& clockOverride()
{
    static std::function<QDateTime()> f;
    return f;
}

// Whole day and seconds into the day; a negative serial keeps its time as a
// positive fraction (-1.25 is 29 Dec 1899 06:00).
void split(DateValue d, int64_t& day, int32_t& seconds)
{
    const double whole = std::trunc(d.serial);
    double frac = std::fabs(d.serial - whole);
    int64_t secs = std::llround(frac * 86400.0);
    day = int64_t(whole);
    if (secs >= 86400) {
        secs -= 86400;
        day += d.serial < 0 ? -1 : 1;
    }
    seconds = int32_t(secs);
}

} // namespace

DateValue DateSerial(int32_t year, int32_t month, int32_t day)
{
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    // Months outside 1-12 roll into the neighbouring years, days into neighbouring months.
    int64_t m0 = int64_t(month) - 1;
    int64_t y = int64_t(year) + (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12));
    m0 -= (y - year) * 12;
    if (y < 100 || y > 9999)
        throw RuntimeError(err::InvalidProcedureCall);
    const QDate first(int(y), int(m0) + 1, 1);
    const double serial = double(kEpoch.daysTo(first)) + double(day) - 1.0;
    if (serial < kMinSerial || serial > kMaxSerial)
        throw RuntimeError(err::InvalidProcedureCall);
    return DateValue{serial};
}

DateValue fromQDate(const QDate& d)
{
    return DateValue{double(kEpoch.daysTo(d))};
}

DateValue fromQDateTime(const QDateTime& dt)
{
    const double day = double(kEpoch.daysTo(dt.date()));
    const QTime t = dt.time();
    const double frac = double(t.hour() * 3600 + t.minute() * 60 + t.second()) / 86400.0;
    return DateValue{day < 0 ? day - frac : day + frac};
}

QDate toQDate(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    return kEpoch.addDays(day);
}

QDateTime toQDateTime(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    return QDateTime(kEpoch.addDays(day), QTime(0, 0).addSecs(secs));
}

int32_t Year(DateValue d) { return toQDate(d).year(); }
int32_t Month(DateValue d) { return toQDate(d).month(); }
int32_t Day(DateValue d) { return toQDate(d).day(); }

int32_t Hour(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    return secs / 3600;
}

int32_t Minute(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    return (secs / 60) % 60;
}

int32_t Second(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    return secs % 60;
}

QString formatDate(DateValue d)
{
    int64_t day;
    int32_t secs;
    split(d, day, secs);
    const QDate date = kEpoch.addDays(day);
    QString text = QStringLiteral("%1/%2/%3")
                       .arg(date.day(), 2, 10, QLatin1Char('0'))
                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                       .arg(date.year(), 4, 10, QLatin1Char('0'));
    if (secs != 0) {
        text += QStringLiteral(" %1:%2:%3")
                    .arg(secs / 3600, 2, 10, QLatin1Char('0'))
                    .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
                    .arg(secs % 60, 2, 10, QLatin1Char('0'));
    }
    return text;
}

QDateTime Clock::now()
{
    std::function<QDateTime()> f;
    {
        std::lock_guard lock(clockMutex());
        f = clockOverride();
    }
    return f ? f() : QDateTime::currentDateTime();
}

void Clock::setNowForTesting(std::function<QDateTime()> now)
{
    std::lock_guard lock(clockMutex());
    clockOverride() = std::move(now);
}

DateValue Now() { return fromQDateTime(Clock::now()); }
DateValue Today() { return fromQDate(Clock::now().date()); }

} // namespace basic
