#include "platform/basic/Conversions.h"

#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"

#include <QDate>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace basic {

namespace {

inline bool isSpace(char16_t c) { return c == u' ' || c == u'\t'; }
inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
inline char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

QStringView trimmed(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isSpace(s[b].unicode()))
        ++b;
    while (e > b && isSpace(s[e - 1].unicode()))
        --e;
    return s.sliced(b, e - b);
}

// Reads "&H..." / "&O..." (s starts after the "&"); nullopt when malformed.
std::optional<double> parseRadix(QStringView s)
{
    if (s.size() < 2)
        return std::nullopt;
    const char16_t kind = lower(s[0].unicode());
    const int radix = kind == u'h' ? 16 : kind == u'o' ? 8 : 0;
    if (radix == 0)
        return std::nullopt;
    uint64_t value = 0;
    const qsizetype digits = s.size() - 1;
    for (qsizetype i = 1; i < s.size(); ++i) {
        const char16_t c = lower(s[i].unicode());
        int d = -1;
        if (isDigit(c))
            d = c - u'0';
        else if (radix == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        if (d < 0 || d >= radix)
            return std::nullopt;
        value = value * uint64_t(radix) + uint64_t(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // Up to four hex digits (six octal) make a 16-bit value, more a 32-bit one,
    // both read as signed: "&HFFFF" is -1.
    const bool shortForm = radix == 16 ? digits <= 4 : value <= 0xFFFF;
    if (shortForm && value <= 0xFFFF)
        return double(int16_t(uint16_t(value)));
    return double(int32_t(uint32_t(value)));
}

// Scans a decimal number at the start of s into buf (sign, digits, point,
// exponent, without thousands separators). strict: the whole of s must be the
// number, and "," may stand between digits of the whole part. Returns false when
// no number was found.
bool scanDecimal(QStringView s, bool strict, std::string& buf)
{
    buf.clear();
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto skipBlanks = [&] {
        if (!strict) {
            while (i < n && (isSpace(s[i].unicode()) || s[i] == u'\n' || s[i] == u'\r'))
                ++i;
        }
    };
    skipBlanks();
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-')
            buf.push_back('-');
        ++i;
        skipBlanks();
    }
    int digits = 0;
    while (i < n) {
        const char16_t c = s[i].unicode();
        if (isDigit(c)) {
            buf.push_back(char(c));
            ++digits;
            ++i;
        } else if (strict && c == u',' && digits > 0 && i + 1 < n && isDigit(s[i + 1].unicode())) {
            ++i;
        } else {
            break;
        }
        skipBlanks();
    }
    if (i < n && s[i] == u'.') {
        buf.push_back('.');
        ++i;
        skipBlanks();
        while (i < n && isDigit(s[i].unicode())) {
            buf.push_back(char(s[i].unicode()));
            ++digits;
            ++i;
            skipBlanks();
        }
    }
    if (digits == 0)
        return false;
    if (i < n) {
        const char16_t e = lower(s[i].unicode());
        if (e == u'e' || e == u'd') {
            qsizetype j = i + 1;
            std::string exp = "e";
            if (j < n && (s[j] == u'+' || s[j] == u'-')) {
                exp.push_back(char(s[j].unicode()));
                ++j;
            }
            int expDigits = 0;
            while (j < n && isDigit(s[j].unicode())) {
                exp.push_back(char(s[j].unicode()));
                ++expDigits;
                ++j;
            }
            if (expDigits > 0) {
                buf += exp;
                i = j;
            } else if (strict) {
                return false;
            }
        }
    }
    return !strict || i == n;
}

std::optional<double> toDouble(const std::string& buf)
{
    double v = 0;
    const char* b = buf.data();
    const char* e = b + buf.size();
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
        return std::nullopt;
    return v;
}

[[noreturn]] void typeMismatch() { throw RuntimeError(err::TypeMismatch); }
[[noreturn]] void invalidNull() { throw RuntimeError(err::InvalidUseOfNull); }
[[noreturn]] void overflow() { throw RuntimeError(err::Overflow); }

// The number a Variant stands for, as CDbl reads it.
double numberOf(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: invalidNull();
    case VarType::Boolean: return v.boolValue() ? -1.0 : 0.0;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return double(v.intValue());
    case VarType::Double:
    case VarType::Date: return v.doubleValue();
    case VarType::String: {
        const auto d = parseNumber(v.stringValue());
        if (!d)
            typeMismatch();
        return *d;
    }
    case VarType::Object:
        if (!v.objectValue())
            throw RuntimeError(err::ObjectVariableNotSet);
        typeMismatch();
    case VarType::Error: typeMismatch();
    }
    typeMismatch();
}

double wholeInRange(const Variant& v, double lo, double hi)
{
    const double r = roundHalfEven(numberOf(v));
    if (!(r >= lo && r <= hi))
        overflow();
    return r;
}

// --- dates ---------------------------------------------------------------

struct Token
{
    qsizetype begin = 0;
    qsizetype length = 0;
    bool numeric = false;
};

int monthFromName(QStringView s)
{
    static const char* const names[] = {"january", "february", "march", "april", "may", "june",
                                        "july", "august", "september", "october", "november", "december"};
    if (s.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        const char* name = names[m];
        qsizetype i = 0;
        while (i < s.size() && name[i] != '\0' && lower(s[i].unicode()) == char16_t(name[i]))
            ++i;
        // A full name or an abbreviation of at least three letters ("Sep", "Sept").
        if (i == s.size())
            return m + 1;
    }
    return 0;
}

int numberOfToken(QStringView s, const Token& t)
{
    int v = 0;
    for (qsizetype i = t.begin; i < t.begin + t.length; ++i)
        v = v * 10 + (s[i].unicode() - u'0');
    return v;
}

bool readTime(QStringView s, qsizetype i, double& fraction)
{
    const qsizetype n = s.size();
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        int digits = 0;
        int v = 0;
        while (i < n && isDigit(s[i].unicode()) && digits < 2) {
            v = v * 10 + (s[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        if (digits == 0 || (count > 0 && digits != 2))
            return false;
        parts[count++] = v;
        if (i < n && s[i] == u':' && count < 3) {
            ++i;
            continue;
        }
        break;
    }
    if (i != n || count < 2)
        return false;
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    fraction = double(parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
    return true;
}

int windowYear(int year, qsizetype digits)
{
    if (digits <= 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

} // namespace

double roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff > 0.5)
        return f + 1.0;
    if (diff < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

std::optional<double> parseNumber(const QString& text)
{
    const QStringView s = trimmed(text);
    if (s.isEmpty())
        return std::nullopt;
    if (s[0] == u'&')
        return parseRadix(s.sliced(1));
    thread_local std::string buf;
    if (!scanDecimal(s, true, buf))
        return std::nullopt;
    return toDouble(buf);
}

std::optional<DateValue> parseDate(const QString& text)
{
    const QStringView s = trimmed(text);
    const qsizetype n = s.size();
    if (n < 5 || n > 64)
        return std::nullopt;
    Token tok[3];
    char16_t sep[2] = {0, 0};
    qsizetype i = 0;
    for (int t = 0; t < 3; ++t) {
        tok[t].begin = i;
        if (i < n && isDigit(s[i].unicode())) {
            tok[t].numeric = true;
            while (i < n && isDigit(s[i].unicode()))
                ++i;
        } else {
            while (i < n && isLetter(s[i].unicode()))
                ++i;
        }
        tok[t].length = i - tok[t].begin;
        if (tok[t].length == 0 || tok[t].length > 9)
            return std::nullopt;
        if (t < 2) {
            if (i >= n)
                return std::nullopt;
            const char16_t c = s[i].unicode();
            if (c != u'/' && c != u'-' && c != u'.' && c != u' ')
                return std::nullopt;
            sep[t] = c;
            ++i;
            if (c == u' ') {
                while (i < n && s[i] == u' ')
                    ++i;
            }
        }
    }
    if (!tok[2].numeric)
        return std::nullopt;

    int year = 0;
    int month = 0;
    int day = 0;
    if (tok[0].numeric && tok[1].numeric) {
        if (sep[0] != sep[1] || sep[0] == u' ')
            return std::nullopt;
        if (tok[0].length == 4) {
            // Year first: 2026-12-10 or 2026/12/10.
            if (sep[0] == u'.' || tok[1].length > 2 || tok[2].length > 2)
                return std::nullopt;
            year = numberOfToken(s, tok[0]);
            month = numberOfToken(s, tok[1]);
            day = numberOfToken(s, tok[2]);
        } else {
            if (tok[0].length > 2 || tok[1].length > 2 || tok[2].length == 3 || tok[2].length > 4)
                return std::nullopt;
            day = numberOfToken(s, tok[0]);
            month = numberOfToken(s, tok[1]);
            year = windowYear(numberOfToken(s, tok[2]), tok[2].length);
        }
    } else if (tok[0].numeric && !tok[1].numeric) {
        if (tok[0].length > 2 || tok[2].length == 3 || tok[2].length > 4)
            return std::nullopt;
        day = numberOfToken(s, tok[0]);
        month = monthFromName(s.sliced(tok[1].begin, tok[1].length));
        if (month == 0)
            return std::nullopt;
        year = windowYear(numberOfToken(s, tok[2]), tok[2].length);
    } else {
        return std::nullopt;
    }
    if (year < 100 || !QDate::isValid(year, month, day))
        return std::nullopt;

    double fraction = 0.0;
    if (i < n) {
        if (s[i] != u' ')
            return std::nullopt;
        while (i < n && s[i] == u' ')
            ++i;
        if (!readTime(s, i, fraction))
            return std::nullopt;
    }
    const double days = double(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
    return DateValue{days < 0 ? days - fraction : days + fraction};
}

QString formatDouble(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (v == 0.0)
        return QStringLiteral("0");
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    QString out;
    out.reserve(r.ptr - buf);
    for (const char* p = buf; p < r.ptr; ++p)
        out.append(QLatin1Char(*p == 'e' ? 'E' : *p));
    return out;
}

bool IsEmpty(const Variant& v) { return v.isEmpty(); }

bool IsNumeric(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
        return true;
    case VarType::String:
        return parseNumber(v.stringValue()).has_value();
    default:
        return false;
    }
}

bool IsDate(const Variant& v)
{
    if (v.type() == VarType::Date)
        return true;
    if (v.type() == VarType::String)
        return parseDate(v.stringValue()).has_value();
    return false;
}

bool CBool(const Variant& v)
{
    if (v.type() == VarType::String) {
        const QStringView s = trimmed(v.stringValue());
        if (s.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
    }
    return numberOf(v) != 0.0;
}

uint8_t CByte(const Variant& v) { return uint8_t(wholeInRange(v, 0.0, 255.0)); }

int16_t CInt(const Variant& v) { return int16_t(wholeInRange(v, -32768.0, 32767.0)); }

int32_t CLng(const Variant& v) { return int32_t(wholeInRange(v, -2147483648.0, 2147483647.0)); }

double CDbl(const Variant& v) { return numberOf(v); }

DateValue CDate(const Variant& v)
{
    switch (v.type()) {
    case VarType::Date:
        return DateValue{v.doubleValue()};
    case VarType::String: {
        const auto d = parseDate(v.stringValue());
        if (!d)
            typeMismatch();
        return *d;
    }
    default: {
        const double d = numberOf(v);
        if (!(d >= -657434.0 && d < 2958466.0))
            overflow();
        return DateValue{d};
    }
    }
}

QString CStr(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty: return {};
    case VarType::Null: invalidNull();
    case VarType::Boolean: return v.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return QString::number(v.intValue());
    case VarType::Double: return formatDouble(v.doubleValue());
    case VarType::Date: return formatDate(DateValue{v.doubleValue()});
    case VarType::String: return v.stringValue();
    case VarType::Object:
        if (!v.objectValue())
            throw RuntimeError(err::ObjectVariableNotSet);
        typeMismatch();
    case VarType::Error: typeMismatch();
    }
    typeMismatch();
}

double Val(const QString& text)
{
    QStringView s(text);
    qsizetype i = 0;
    while (i < s.size() && (isSpace(s[i].unicode()) || s[i] == u'\n' || s[i] == u'\r'))
        ++i;
    s = s.sliced(i);
    if (!s.isEmpty() && s[0] == u'&') {
        // The longest run of digits of the radix; anything after it is ignored.
        qsizetype end = 2;
        const bool hex = s.size() > 1 && lower(s[1].unicode()) == u'h';
        while (end < s.size()) {
            const char16_t c = lower(s[end].unicode());
            const bool ok = hex ? (isDigit(c) || (c >= u'a' && c <= u'f')) : (c >= u'0' && c <= u'7');
            if (!ok)
                break;
            ++end;
        }
        return parseRadix(s.sliced(1, end - 1)).value_or(0.0);
    }
    thread_local std::string buf;
    if (!scanDecimal(s, false, buf))
        return 0.0;
    return toDouble(buf).value_or(0.0);
}

QString Str(const Variant& v)
{
    switch (v.type()) {
    case VarType::Null: invalidNull();
    case VarType::Boolean: return v.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Date: return formatDate(DateValue{v.doubleValue()});
    default: break;
    }
    const double d = numberOf(v);
    QString text = formatDouble(d);
    // The leading zero of a fraction goes: " .5", "-.5".
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    if (!text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    return text;
}

double Fix(double v) { return std::trunc(v); }
double Int(double v) { return std::floor(v); }

int compare(const Variant& a, const Variant& b)
{
    if (a.isNull() || b.isNull())
        invalidNull();
    auto sign = [](double x, double y) { return x < y ? -1 : (x > y ? 1 : 0); };
    const bool aText = a.isString() || (a.isEmpty() && b.isString());
    const bool bText = b.isString() || (b.isEmpty() && a.isString());
    if (aText && bText) {
        const QString& x = a.isString() ? a.stringValue() : QString();
        const QString& y = b.isString() ? b.stringValue() : QString();
        const int c = QString::compare(x, y, Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (aText || bText) {
        // A number and a text: as numbers when the text reads as one; otherwise
        // a number sorts before any text.
        const Variant& textSide = aText ? a : b;
        const Variant& numberSide = aText ? b : a;
        const double n = numberOf(numberSide);
        const auto t = parseNumber(textSide.stringValue());
        if (!t)
            return aText ? 1 : -1;
        return aText ? sign(*t, n) : sign(n, *t);
    }
    return sign(numberOf(a), numberOf(b));
}

} // namespace basic
