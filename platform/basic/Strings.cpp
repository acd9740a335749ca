#include "platform/basic/Strings.h"

#include "platform/basic/RuntimeError.h"

#include <array>

namespace basic {

namespace {

// Code points of bytes 0x80-0x9F; the five bytes the code page leaves unassigned
// keep their own value so that they survive a read and a write unchanged.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline QChar fromByte(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return QChar(kHigh[b - 0x80]);
    return QChar(char16_t(b));
}

// The byte of a character, or -1 when the code page lacks it.
inline int toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[size_t(i)] == c)
            return 0x80 + i;
    }
    return -1;
}

inline bool isBlank(QChar c) { return c == QLatin1Char(' '); }

} // namespace

QString Trim(const QString& s) { return RTrim(LTrim(s)); }

QString LTrim(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s.at(i)))
        ++i;
    return i == 0 ? s : s.mid(i);
}

QString RTrim(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && isBlank(s.at(n - 1)))
        --n;
    return n == s.size() ? s : s.left(n);
}

QString Left(const QString& s, int32_t length)
{
    if (length < 0)
        throw RuntimeError(err::InvalidProcedureCall);
    return s.left(length);
}

QString Right(const QString& s, int32_t length)
{
    if (length < 0)
        throw RuntimeError(err::InvalidProcedureCall);
    return s.right(length);
}

QString Mid(const QString& s, int32_t start, int32_t length)
{
    if (start < 1 || length < -1)
        throw RuntimeError(err::InvalidProcedureCall);
    if (start > s.size())
        return {};
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}

int32_t Len(const QString& s) { return int32_t(s.size()); }

int32_t InStr(int32_t start, const QString& haystack, const QString& needle, bool textCompare)
{
    if (start < 1)
        throw RuntimeError(err::InvalidProcedureCall);
    if (start > haystack.size())
        return 0;
    if (needle.isEmpty())
        return start;
    const qsizetype at = haystack.indexOf(needle, start - 1, textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return at < 0 ? 0 : int32_t(at + 1);
}

QString UCase(const QString& s) { return s.toUpper(); }
QString LCase(const QString& s) { return s.toLower(); }

QString Space(int32_t n)
{
    if (n < 0)
        throw RuntimeError(err::InvalidProcedureCall);
    return QString(n, QLatin1Char(' '));
}

QString String(int32_t n, QChar c)
{
    if (n < 0)
        throw RuntimeError(err::InvalidProcedureCall);
    return QString(n, c);
}

QString Replace(const QString& s, const QString& find, const QString& with)
{
    if (find.isEmpty())
        return s;
    QString r = s;
    return r.replace(find, with);
}

int32_t Asc(const QString& s)
{
    if (s.isEmpty())
        throw RuntimeError(err::InvalidProcedureCall);
    const int b = toByte(s.at(0).unicode());
    return b < 0 ? int32_t('?') : b;
}

QString Chr(int32_t code)
{
    if (code < 0 || code > 255)
        throw RuntimeError(err::InvalidProcedureCall);
    return QString(fromByte(static_cast<unsigned char>(code)));
}

QString fromWindows1252(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    const char* s = bytes.constData();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = fromByte(static_cast<unsigned char>(s[i]));
    return out;
}

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        const int b = toByte(c);
        if (b >= 0) {
            out.append(char(b));
            continue;
        }
        // One "?" per character, also for a pair of surrogates.
        if (QChar::isHighSurrogate(c) && i + 1 < n && s[i + 1].isLowSurrogate())
            ++i;
        out.append('?');
    }
    return out;
}

} // namespace basic
