#pragma once

#include <QString>

#include <cstdint>

// The runtime's text functions, 1-based as the system's routines use them.
namespace basic {

QString Trim(const QString& s);   // removes leading and trailing blanks (spaces only)
QString LTrim(const QString& s);
QString RTrim(const QString& s);
QString Left(const QString& s, int32_t length);   // length < 0 raises 5
QString Right(const QString& s, int32_t length);
QString Mid(const QString& s, int32_t start, int32_t length = -1); // start < 1 raises 5
int32_t Len(const QString& s);
// InStr(start, haystack, needle): 1-based position or 0; start < 1 raises 5.
int32_t InStr(int32_t start, const QString& haystack, const QString& needle, bool textCompare = false);
inline int32_t InStr(const QString& haystack, const QString& needle) { return InStr(1, haystack, needle); }
QString UCase(const QString& s);
QString LCase(const QString& s);
QString Space(int32_t n);
QString String(int32_t n, QChar c);
QString Replace(const QString& s, const QString& find, const QString& with);
int32_t Asc(const QString& s);   // code of the first character (Windows-1252); "" raises 5
QString Chr(int32_t code);      // Windows-1252 code 0-255; other values raise 5

// Windows-1252, the single-byte encoding of import and layout files.
QString fromWindows1252(const QByteArray& bytes);
QByteArray toWindows1252(const QString& text); // characters outside it become "?"

} // namespace basic
