#pragma once

#include "platform/basic/Variant.h"

#include <QDateTime>

#include <cstdint>
#include <functional>

// Dates as the runtime keeps them: a serial of days since 1899-12-30.
namespace basic {

DateValue DateSerial(int32_t year, int32_t month, int32_t day); // rolls over like the runtime
DateValue fromQDate(const QDate& d);
DateValue fromQDateTime(const QDateTime& dt);
QDate toQDate(DateValue d);
QDateTime toQDateTime(DateValue d);
int32_t Year(DateValue d);
int32_t Month(DateValue d);
int32_t Day(DateValue d);
int32_t Hour(DateValue d);
int32_t Minute(DateValue d);
int32_t Second(DateValue d);
// A date as text in the day-month-year form "dd/mm/yyyy" ("dd/mm/yyyy hh:mm:ss"
// when it carries a time), as CStr gives it.
QString formatDate(DateValue d);

// "Now" goes through one clock so that tests can fix it.
class Clock
{
public:
    static QDateTime now();
    static void setNowForTesting(std::function<QDateTime()> now); // empty function restores
};
DateValue Now();
DateValue Today();

} // namespace basic
