#pragma once

#include "platform/basic/Variant.h"

#include <QString>

#include <cstdint>
#include <optional>

// The runtime's conversions, in one place. Rules (see docs/runtime.md):
// - Empty reads as 0 / "" / False; Null raises 94 ("Invalid use of Null") in numeric
//   and text conversions.
// - Text reads as a number when, trimmed, it is an optional sign, digits with at most
//   one "." and an optional exponent ("1e3"), or "&H"/"&O" hex/octal; thousands
//   separators "," between digits are accepted; a leading or trailing currency sign
//   is not. Text "True"/"False" read as -1/0 for CBool only. Anything else is error 13.
// - CInt / CLng / CByte round half to even and raise 6 outside their range.
// - A text reads as a date (IsDate, CDate) in day-month-year order: d/m/y, d-m-y,
//   d.m.y (two- or four-digit year; two-digit years 00-29 are 2000-2029, 30-99
//   are 1930-1999), ISO y-m-d, "d Mon y" with English month names, optionally
//   followed by a time "hh:mm[:ss]". A number is not a date text.
// - Double to text: at most 15 significant digits, no trailing zeros, "." as the
//   decimal point, exponent form "1E+20" beyond 15 digits and "1E-05" below 0.0001.
namespace basic {

bool IsNumeric(const Variant& v);
bool IsDate(const Variant& v);
bool IsEmpty(const Variant& v);

bool CBool(const Variant& v);
uint8_t CByte(const Variant& v);
int16_t CInt(const Variant& v);
int32_t CLng(const Variant& v);
double CDbl(const Variant& v);
DateValue CDate(const Variant& v);
QString CStr(const Variant& v);

// Val: reads the leading number of a text, ignoring blanks; "12abc" is 12, "abc" is 0.
double Val(const QString& text);
// Str: a number as text with one leading blank for numbers of 0 or more.
QString Str(const Variant& v);
// Fix and Int: truncate toward zero / round down.
double Fix(double v);
double Int(double v);

// Banker's rounding of a double to a whole number, as CInt/CLng do.
double roundHalfEven(double v);

// Parses text as a number by the rule above; nullopt when it does not read as one.
std::optional<double> parseNumber(const QString& text);
// Parses text as a date by the rule above; nullopt when it does not read as one.
std::optional<DateValue> parseDate(const QString& text);

// Text of a double by the 15-digit rule.
QString formatDouble(double v);

// Arithmetic and comparison as the runtime does it for two Variants: numbers
// compare as numbers, a number with a numeric text as numbers, texts as texts.
int compare(const Variant& a, const Variant& b);

} // namespace basic
