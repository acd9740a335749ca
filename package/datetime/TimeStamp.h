#pragma once

#include <cstdint>

// The vendor's date library: the timestamp form in which the list window stores a
// date cell and a packed row carries a date field.
namespace vldt {

struct TimeStamp
{
    int16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint32_t fraction = 0; // always 0: dates carry whole seconds
};
static_assert(sizeof(TimeStamp) == 16);

// From a date serial (days since 1899-12-30, the time as the fraction); false, with
// the timestamp zeroed, for a serial outside years 100 to 9999.
bool timeStampFromDate(double serial, TimeStamp& out);
// To a date serial; false for a timestamp that is no valid date and time (an all-zero
// one, as an empty slot holds, included).
bool dateFromTimeStamp(const TimeStamp& stamp, double& serial);

} // namespace vldt
