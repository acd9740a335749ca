#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/basic/Variant.h"
#include "tests/support/ChildRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace basic;

namespace {

QString dataPath(const QString& name)
{
    return QStringLiteral(QUILLAR_TEST_DATA "/basic/") + name;
}

QString boolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

// Runs f and gives its result, or "error N" for a run-time error.
QString outcome(const std::function<QString()>& f)
{
    try {
        return f();
    } catch (const RuntimeError& e) {
        return QStringLiteral("error %1").arg(e.number());
    }
}

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestBasic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data();
    void conversions();
    void dateSerial_data();
    void dateSerial();
    void dateParts();
    void compareVariants_data();
    void compareVariants();
    void strings_data();
    void strings();
    void windows1252RoundTrip();
    void runtimeError();
    void clock();

    void lineInput_data();
    void lineInput();
    void byteOrderMark_data();
    void byteOrderMark();
    void inputItem_data();
    void inputItem();
    void openErrors_data();
    void openErrors();
    void longLinesAndBinary();
    void printLines();
    void binaryReads();
    void fileAlreadyOpen();
    void resolvePathIgnoresCase();
    void fileLenAndWholeFiles();
    void failedWholeFileWriteKeepsTheOldFile();
};

// ---- conversions -----------------------------------------------------------

void TestBasic::conversions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<Variant>("input");
    QTest::addColumn<QString>("expected");

    // Reads as a number.
    QTest::addRow("IsNumeric integer text") << "IsNumeric" << Variant("42") << "True";
    QTest::addRow("IsNumeric blanks around") << "IsNumeric" << Variant("  -3.5 ") << "True";
    QTest::addRow("IsNumeric leading point") << "IsNumeric" << Variant(".5") << "True";
    QTest::addRow("IsNumeric trailing point") << "IsNumeric" << Variant("5.") << "True";
    QTest::addRow("IsNumeric exponent") << "IsNumeric" << Variant("1e3") << "True";
    QTest::addRow("IsNumeric thousands") << "IsNumeric" << Variant("1,000.25") << "True";
    QTest::addRow("IsNumeric hex") << "IsNumeric" << Variant("&HFF") << "True";
    QTest::addRow("IsNumeric empty text") << "IsNumeric" << Variant("") << "False";
    QTest::addRow("IsNumeric blanks only") << "IsNumeric" << Variant("   ") << "False";
    QTest::addRow("IsNumeric letters after") << "IsNumeric" << Variant("12a") << "False";
    QTest::addRow("IsNumeric two points") << "IsNumeric" << Variant("1.2.3") << "False";
    QTest::addRow("IsNumeric sign only") << "IsNumeric" << Variant("-") << "False";
    QTest::addRow("IsNumeric point only") << "IsNumeric" << Variant(".") << "False";
    QTest::addRow("IsNumeric currency sign") << "IsNumeric" << Variant("\u00a35") << "False";
    QTest::addRow("IsNumeric comma at end") << "IsNumeric" << Variant("5,") << "False";
    QTest::addRow("IsNumeric bare exponent") << "IsNumeric" << Variant("1e") << "False";
    QTest::addRow("IsNumeric infinity word") << "IsNumeric" << Variant("inf") << "False";
    QTest::addRow("IsNumeric overflowing exponent") << "IsNumeric" << Variant("1e400") << "False";
    QTest::addRow("IsNumeric a date text") << "IsNumeric" << Variant("10/12/2026") << "False";
    QTest::addRow("IsNumeric Empty") << "IsNumeric" << Variant() << "True";
    QTest::addRow("IsNumeric a date") << "IsNumeric" << Variant(DateValue{46366}) << "False";
    QTest::addRow("IsNumeric Null") << "IsNumeric" << Variant::null() << "False";

    // CDbl
    QTest::addRow("CDbl decimal") << "CDbl" << Variant("12.75") << "12.75";
    QTest::addRow("CDbl negative") << "CDbl" << Variant("-0.125") << "-0.125";
    QTest::addRow("CDbl plus sign") << "CDbl" << Variant("+7") << "7";
    QTest::addRow("CDbl thousands") << "CDbl" << Variant("1,234,567.5") << "1234567.5";
    QTest::addRow("CDbl exponent") << "CDbl" << Variant("2.5E-3") << "0.0025";
    QTest::addRow("CDbl hex 16-bit is signed") << "CDbl" << Variant("&HFFFF") << "-1";
    QTest::addRow("CDbl hex 32-bit") << "CDbl" << Variant("&H10000") << "65536";
    QTest::addRow("CDbl octal") << "CDbl" << Variant("&O17") << "15";
    QTest::addRow("CDbl empty text is 13") << "CDbl" << Variant("") << "error 13";
    QTest::addRow("CDbl bad text is 13") << "CDbl" << Variant("12a") << "error 13";
    QTest::addRow("CDbl Empty is 0") << "CDbl" << Variant() << "0";
    QTest::addRow("CDbl True is -1") << "CDbl" << Variant(true) << "-1";
    QTest::addRow("CDbl Null is 94") << "CDbl" << Variant::null() << "error 94";
    QTest::addRow("CDbl Nothing is 91") << "CDbl" << Variant::nothing() << "error 91";

    // CInt / CLng / CByte: half to even, overflow 6.
    QTest::addRow("CInt 2.5 to even") << "CInt" << Variant(2.5) << "2";
    QTest::addRow("CInt 3.5 to even") << "CInt" << Variant(3.5) << "4";
    QTest::addRow("CInt -2.5 to even") << "CInt" << Variant(-2.5) << "-2";
    QTest::addRow("CInt -3.5 to even") << "CInt" << Variant(-3.5) << "-4";
    QTest::addRow("CInt 2.51 up") << "CInt" << Variant(2.51) << "3";
    QTest::addRow("CInt text 0.5") << "CInt" << Variant("0.5") << "0";
    QTest::addRow("CInt text 1.5") << "CInt" << Variant("1.5") << "2";
    QTest::addRow("CInt max") << "CInt" << Variant("32767") << "32767";
    QTest::addRow("CInt min") << "CInt" << Variant("-32768") << "-32768";
    QTest::addRow("CInt 32767.5 rounds out of range") << "CInt" << Variant(32767.5) << "error 6";
    QTest::addRow("CInt 32768 overflow") << "CInt" << Variant("32768") << "error 6";
    QTest::addRow("CInt -32769 overflow") << "CInt" << Variant(int32_t(-32769)) << "error 6";
    QTest::addRow("CInt -32768.5 rounds in range") << "CInt" << Variant(-32768.5) << "-32768";
    QTest::addRow("CInt empty text is 13") << "CInt" << Variant("") << "error 13";
    QTest::addRow("CInt letters is 13") << "CInt" << Variant("ten") << "error 13";
    QTest::addRow("CInt Empty is 0") << "CInt" << Variant() << "0";
    QTest::addRow("CLng half to even") << "CLng" << Variant(1000000.5) << "1000000";
    QTest::addRow("CLng max") << "CLng" << Variant("2147483647") << "2147483647";
    QTest::addRow("CLng overflow") << "CLng" << Variant("2147483648") << "error 6";
    QTest::addRow("CLng min") << "CLng" << Variant(-2147483648.0) << "-2147483648";
    QTest::addRow("CLng huge exponent overflow") << "CLng" << Variant("1e300") << "error 6";
    QTest::addRow("CByte 255") << "CByte" << Variant("255") << "255";
    QTest::addRow("CByte 256 overflow") << "CByte" << Variant(256.0) << "error 6";
    QTest::addRow("CByte negative overflow") << "CByte" << Variant(-1.0) << "error 6";
    QTest::addRow("CByte -0.5 rounds to 0") << "CByte" << Variant(-0.5) << "0";

    // CBool
    QTest::addRow("CBool True text") << "CBool" << Variant("true") << "True";
    QTest::addRow("CBool False text") << "CBool" << Variant(" False ") << "False";
    QTest::addRow("CBool number text") << "CBool" << Variant("0") << "False";
    QTest::addRow("CBool nonzero") << "CBool" << Variant(int16_t(-1)) << "True";
    QTest::addRow("CBool bad text") << "CBool" << Variant("yes") << "error 13";

    // CStr and the text of a double.
    QTest::addRow("CStr Empty") << "CStr" << Variant() << "";
    QTest::addRow("CStr True") << "CStr" << Variant(true) << "True";
    QTest::addRow("CStr False") << "CStr" << Variant(false) << "False";
    QTest::addRow("CStr integer") << "CStr" << Variant(int16_t(-12)) << "-12";
    QTest::addRow("CStr half") << "CStr" << Variant(0.5) << "0.5";
    QTest::addRow("CStr no trailing zeros") << "CStr" << Variant(12.5) << "12.5";
    QTest::addRow("CStr whole double") << "CStr" << Variant(100.0) << "100";
    QTest::addRow("CStr 0.1+0.2 in 15 digits") << "CStr" << Variant(0.1 + 0.2) << "0.3";
    QTest::addRow("CStr money sum") << "CStr" << Variant(1.1 + 2.2 + 3.3) << "6.6";
    QTest::addRow("CStr 15 digits kept") << "CStr" << Variant(123456789012345.0) << "123456789012345";
    QTest::addRow("CStr 16 digits as exponent") << "CStr" << Variant(1234567890123456.0) << "1.23456789012346E+15";
    QTest::addRow("CStr 1e20") << "CStr" << Variant(1e20) << "1E+20";
    QTest::addRow("CStr small") << "CStr" << Variant(0.0001) << "0.0001";
    QTest::addRow("CStr very small") << "CStr" << Variant(0.00001) << "1E-05";
    QTest::addRow("CStr negative zero") << "CStr" << Variant(-0.0) << "0";
    QTest::addRow("CStr date") << "CStr" << Variant(DateValue{46366}) << "10/12/2026";
    QTest::addRow("CStr date with time") << "CStr" << Variant(DateValue{46366.5}) << "10/12/2026 12:00:00";
    QTest::addRow("CStr Null is 94") << "CStr" << Variant::null() << "error 94";

    // Str: one leading blank for 0 or more.
    QTest::addRow("Str positive") << "Str" << Variant(int32_t(5)) << " 5";
    QTest::addRow("Str negative") << "Str" << Variant(int32_t(-5)) << "-5";
    QTest::addRow("Str zero") << "Str" << Variant(int32_t(0)) << " 0";
    QTest::addRow("Str half") << "Str" << Variant(0.5) << " .5";
    QTest::addRow("Str negative half") << "Str" << Variant(-0.5) << "-.5";
    QTest::addRow("Str double") << "Str" << Variant(12.25) << " 12.25";
    QTest::addRow("Str Empty") << "Str" << Variant() << " 0";
    QTest::addRow("Str numeric text") << "Str" << Variant("7") << " 7";
    QTest::addRow("Str bad text") << "Str" << Variant("x") << "error 13";

    // Val never raises.
    QTest::addRow("Val leading number") << "Val" << Variant("12abc") << "12";
    QTest::addRow("Val letters") << "Val" << Variant("abc") << "0";
    QTest::addRow("Val empty") << "Val" << Variant("") << "0";
    QTest::addRow("Val blanks inside") << "Val" << Variant(" 1 2 3") << "123";
    QTest::addRow("Val stops at comma") << "Val" << Variant("1,000") << "1";
    QTest::addRow("Val decimal") << "Val" << Variant("-3.25kg") << "-3.25";
    QTest::addRow("Val second point ends") << "Val" << Variant("1.2.3") << "1.2";
    QTest::addRow("Val bare exponent") << "Val" << Variant("4e") << "4";
    QTest::addRow("Val hex") << "Val" << Variant("&H1Fz") << "31";
    QTest::addRow("Val overflow gives 0") << "Val" << Variant("1e999") << "0";

    // Reads as a date, day-month-year.
    QTest::addRow("IsDate d/m/yyyy") << "IsDate" << Variant("10/12/2026") << "True";
    QTest::addRow("IsDate number") << "IsDate" << Variant("46366") << "False";
    QTest::addRow("IsDate month 13") << "IsDate" << Variant("01/13/2026") << "False";
    QTest::addRow("IsDate 31 Nov") << "IsDate" << Variant("31/11/2026") << "False";
    QTest::addRow("IsDate 29 Feb leap") << "IsDate" << Variant("29/02/2024") << "True";
    QTest::addRow("IsDate 29 Feb non-leap") << "IsDate" << Variant("29/02/2026") << "False";
    QTest::addRow("IsDate digits only") << "IsDate" << Variant("101226") << "False";
    QTest::addRow("IsDate day and month only") << "IsDate" << Variant("10/12") << "False";
    QTest::addRow("IsDate mixed separators") << "IsDate" << Variant("10/12-2026") << "False";
    QTest::addRow("IsDate three-digit year") << "IsDate" << Variant("10/12/202") << "False";
    QTest::addRow("IsDate trailing junk") << "IsDate" << Variant("10/12/2026x") << "False";
    QTest::addRow("IsDate bad time") << "IsDate" << Variant("10/12/2026 25:00") << "False";
    QTest::addRow("IsDate empty") << "IsDate" << Variant("") << "False";
    QTest::addRow("IsDate a Date") << "IsDate" << Variant(DateValue{1}) << "True";
    QTest::addRow("IsDate a number") << "IsDate" << Variant(46366.0) << "False";
    QTest::addRow("CDate d/m/yyyy") << "CDate" << Variant("10/12/2026") << "10/12/2026";
    QTest::addRow("CDate d-m-yy") << "CDate" << Variant("1-2-26") << "01/02/2026";
    QTest::addRow("CDate d.m.yyyy") << "CDate" << Variant("5.11.2026") << "05/11/2026";
    QTest::addRow("CDate two-digit year 29") << "CDate" << Variant("01/01/29") << "01/01/2029";
    QTest::addRow("CDate two-digit year 30") << "CDate" << Variant("01/01/30") << "01/01/1930";
    QTest::addRow("CDate ISO") << "CDate" << Variant("2026-12-10") << "10/12/2026";
    QTest::addRow("CDate month name") << "CDate" << Variant("10 Dec 2026") << "10/12/2026";
    QTest::addRow("CDate full month name") << "CDate" << Variant("3 february 27") << "03/02/2027";
    QTest::addRow("CDate month name dashes") << "CDate" << Variant("10-Sept-2026") << "10/09/2026";
    QTest::addRow("CDate with time") << "CDate" << Variant(" 10/12/2026 14:30 ") << "10/12/2026 14:30:00";
    QTest::addRow("CDate with seconds") << "CDate" << Variant("10/12/2026 08:05:09") << "10/12/2026 08:05:09";
    QTest::addRow("CDate before 1900") << "CDate" << Variant("01/01/1899") << "01/01/1899";
    QTest::addRow("CDate bad text is 13") << "CDate" << Variant("31/02/2026") << "error 13";
    QTest::addRow("CDate number") << "CDate" << Variant(int32_t(2)) << "01/01/1900";
    QTest::addRow("CDate number out of range") << "CDate" << Variant(1e9) << "error 6";
}

void TestBasic::conversions()
{
    QFETCH(QString, function);
    QFETCH(Variant, input);
    QFETCH(QString, expected);

    const QString actual = outcome([&]() -> QString {
        if (function == QLatin1String("IsNumeric"))
            return boolText(IsNumeric(input));
        if (function == QLatin1String("IsDate"))
            return boolText(IsDate(input));
        if (function == QLatin1String("CDbl"))
            return formatDouble(CDbl(input));
        if (function == QLatin1String("CInt"))
            return QString::number(CInt(input));
        if (function == QLatin1String("CLng"))
            return QString::number(CLng(input));
        if (function == QLatin1String("CByte"))
            return QString::number(CByte(input));
        if (function == QLatin1String("CBool"))
            return boolText(CBool(input));
        if (function == QLatin1String("CStr"))
            return CStr(input);
        if (function == QLatin1String("Str"))
            return Str(input);
        if (function == QLatin1String("Val"))
            return formatDouble(Val(input.stringValue()));
        if (function == QLatin1String("CDate"))
            return formatDate(CDate(input));
        return QStringLiteral("unknown function");
    });
    QCOMPARE(actual, expected);
}

void TestBasic::dateSerial_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain") << 2026 << 12 << 10 << "10/12/2026";
    QTest::addRow("epoch") << 1899 << 12 << 30 << "30/12/1899";
    QTest::addRow("month 13 rolls into next year") << 2026 << 13 << 1 << "01/01/2027";
    QTest::addRow("month 0 is December before") << 2026 << 0 << 15 << "15/12/2025";
    QTest::addRow("month -13 rolls back two years") << 2026 << -13 << 1 << "01/11/2024";
    QTest::addRow("day 0 is last of month before") << 2026 << 3 << 0 << "28/02/2026";
    QTest::addRow("day 32 rolls") << 2026 << 1 << 32 << "01/02/2026";
    QTest::addRow("two-digit year") << 26 << 12 << 10 << "10/12/2026";
    QTest::addRow("two-digit year 99") << 99 << 1 << 1 << "01/01/1999";
    QTest::addRow("year past range") << 10000 << 1 << 1 << "error 5";
}

void TestBasic::dateSerial()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, expected);
    QCOMPARE(outcome([&] { return formatDate(DateSerial(year, month, day)); }), expected);
}

void TestBasic::dateParts()
{
    const DateValue d = fromQDateTime(QDateTime(QDate(2026, 12, 10), QTime(14, 30, 15)));
    QCOMPARE(d, DateValue{46366.0 + (14 * 3600 + 30 * 60 + 15) / 86400.0});
    QCOMPARE(Year(d), 2026);
    QCOMPARE(Month(d), 12);
    QCOMPARE(Day(d), 10);
    QCOMPARE(Hour(d), 14);
    QCOMPARE(Minute(d), 30);
    QCOMPARE(Second(d), 15);
    QCOMPARE(toQDateTime(d), QDateTime(QDate(2026, 12, 10), QTime(14, 30, 15)));

    // Before the epoch the time stays a positive fraction of the day.
    const DateValue early = fromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(early, DateValue{-1.25});
    QCOMPARE(toQDate(early), QDate(1899, 12, 29));
    QCOMPARE(Hour(early), 6);
    QCOMPARE(fromQDate(QDate(1899, 12, 30)), DateValue{0});
}

void TestBasic::compareVariants_data()
{
    QTest::addColumn<Variant>("a");
    QTest::addColumn<Variant>("b");
    QTest::addColumn<int>("expected");

    QTest::addRow("numbers") << Variant(int16_t(2)) << Variant(10.0) << -1;
    QTest::addRow("texts compare as texts") << Variant("2") << Variant("10") << 1;
    QTest::addRow("number and numeric text") << Variant(int32_t(10)) << Variant("9.5") << 1;
    QTest::addRow("number before other text") << Variant(int32_t(10)) << Variant("abc") << -1;
    QTest::addRow("text after number") << Variant("abc") << Variant(1.0) << 1;
    QTest::addRow("Empty equals empty text") << Variant() << Variant("") << 0;
    QTest::addRow("Empty equals 0") << Variant() << Variant(int32_t(0)) << 0;
    QTest::addRow("case counts") << Variant("a") << Variant("A") << 1;
}

void TestBasic::compareVariants()
{
    QFETCH(Variant, a);
    QFETCH(Variant, b);
    QFETCH(int, expected);
    QCOMPARE(compare(a, b), expected);
    QCOMPARE(compare(b, a), -expected);
}

// ---- strings -----------------------------------------------------------------

void TestBasic::strings_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    QTest::addRow("Trim spaces only") << outcome([] { return Trim(QStringLiteral(" \ta b\t ")); }) << "\ta b\t";
    QTest::addRow("Left past end") << outcome([] { return Left(QStringLiteral("abc"), 5); }) << "abc";
    QTest::addRow("Left negative") << outcome([] { return Left(QStringLiteral("abc"), -1); }) << "error 5";
    QTest::addRow("Right") << outcome([] { return Right(QStringLiteral("abcdef"), 2); }) << "ef";
    QTest::addRow("Mid from 2") << outcome([] { return Mid(QStringLiteral("abcdef"), 2, 3); }) << "bcd";
    QTest::addRow("Mid to the end") << outcome([] { return Mid(QStringLiteral("abcdef"), 5); }) << "ef";
    QTest::addRow("Mid past end") << outcome([] { return Mid(QStringLiteral("abc"), 9, 2); }) << "";
    QTest::addRow("Mid start 0") << outcome([] { return Mid(QStringLiteral("abc"), 0, 1); }) << "error 5";
    QTest::addRow("InStr found") << outcome([] { return QString::number(InStr(QStringLiteral("a+b+c"), QStringLiteral("+"))); }) << "2";
    QTest::addRow("InStr from start") << outcome([] { return QString::number(InStr(3, QStringLiteral("a+b+c"), QStringLiteral("+"))); }) << "4";
    QTest::addRow("InStr missing") << outcome([] { return QString::number(InStr(QStringLiteral("abc"), QStringLiteral("x"))); }) << "0";
    QTest::addRow("InStr text compare") << outcome([] { return QString::number(InStr(1, QStringLiteral("abC"), QStringLiteral("c"), true)); }) << "3";
    QTest::addRow("InStr start 0") << outcome([] { return QString::number(InStr(0, QStringLiteral("abc"), QStringLiteral("a"))); }) << "error 5";
    QTest::addRow("Space") << outcome([] { return Space(3); }) << "   ";
    QTest::addRow("String") << outcome([] { return String(3, QLatin1Char('x')); }) << "xxx";
    QTest::addRow("Replace") << outcome([] { return Replace(QStringLiteral("a,b,c"), QStringLiteral(","), QStringLiteral("")); }) << "abc";
    QTest::addRow("Asc euro") << outcome([] { return QString::number(Asc(QStringLiteral("\u20ac"))); }) << "128";
    QTest::addRow("Asc empty") << outcome([] { return QString::number(Asc(QString())); }) << "error 5";
    QTest::addRow("Chr 163") << outcome([] { return Chr(163); }) << "\u00a3";
    QTest::addRow("Chr 256") << outcome([] { return Chr(256); }) << "error 5";
}

void TestBasic::strings()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(expression, expected);
}

void TestBasic::windows1252RoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x92), QChar(0x2019));
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    QCOMPARE(toWindows1252(text), all);
    // Characters the code page lacks become one "?" each, a surrogate pair too.
    QCOMPARE(toWindows1252(QStringLiteral("a\u0100b\U0001F600c")), QByteArray("a?b?c"));
}

void TestBasic::runtimeError()
{
    const RuntimeError e(err::TypeMismatch);
    QCOMPARE(e.number(), 13);
    QCOMPARE(e.description(), QStringLiteral("Type mismatch"));
    QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("13: Type mismatch"));
    const RuntimeError own(err::Fail, QStringLiteral("Commit refused"), QStringLiteral("Engine"));
    QCOMPARE(own.description(), QStringLiteral("Commit refused"));
    QCOMPARE(own.source(), QStringLiteral("Engine"));
    QCOMPARE(errorDescription(62), QStringLiteral("Input past end of file"));
    QCOMPARE(errorDescription(err::PathNotFound), QStringLiteral("Path not found"));
}

void TestBasic::clock()
{
    Clock::setNowForTesting([] { return QDateTime(QDate(2026, 12, 10), QTime(18, 0)); });
    QCOMPARE(Today(), DateValue{46366});
    QCOMPARE(Now(), DateValue{46366.75});
    Clock::setNowForTesting({});
    QVERIFY(Clock::now().date().year() >= 2026);
}

// ---- files -------------------------------------------------------------------

void TestBasic::lineInput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::addRow("CR LF") << "lines_crlf.csv" << QStringList{"I,C001,,10", "I,C002,\"A\",20"};
    QTest::addRow("LF, empty line, no last ending") << "lines_lf.csv" << QStringList{"first", "second", "", "fourth"};
    QTest::addRow("CR, last ending adds no line") << "lines_cr.csv" << QStringList{"one", "two", ""};
    QTest::addRow("mixed endings") << "lines_mixed.csv" << QStringList{"a", "b", "c", "d"};
    QTest::addRow("empty file") << "empty.csv" << QStringList{};
    QTest::addRow("Windows-1252 text") << "cp1252.csv" << QStringList{QStringLiteral("caf\u00e9 \u20ac 5")};
}

void TestBasic::lineInput()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);

    SequentialFile f;
    f.open(dataPath(file), OpenMode::Input);
    QStringList read;
    while (!f.eof())
        read << f.lineInput();
    QCOMPARE(read, lines);
    QCOMPARE(errorOf([&] { f.lineInput(); }), err::InputPastEndOfFile);
}

void TestBasic::byteOrderMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<QStringList>("lines");
    QTest::addRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBFI,C001\r\n") << true << QStringList{"I,C001"};
    QTest::addRow("no mark") << QByteArray("I,C001\r\n") << false << QStringList{"I,C001"};
    QTest::addRow("only a mark") << QByteArray("\xEF\xBB\xBF") << true << QStringList{};
    QTest::addRow("two bytes of a mark")
        << QByteArray("\xEF\xBB") << false << QStringList{QStringLiteral("\u00ef\u00bb")};
}

void TestBasic::byteOrderMark()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, skipped);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("marked.csv"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    SequentialFile f;
    f.open(path, OpenMode::Input);
    QCOMPARE(f.skipByteOrderMark(), skipped);
    QStringList read;
    while (!f.eof())
        read << f.lineInput();
    QCOMPARE(read, lines);
}

void TestBasic::inputItem_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("items");

    QTest::addRow("quoted, blanks, empty line, trailing comma")
        << "items.txt" << QStringList{"Quillar, Ltd", " padded ", "plain", "spaced", "", "x", "last", ""};
    QTest::addRow("comma at end of file") << "items_trailing_comma.txt" << QStringList{"a", "b", ""};
}

void TestBasic::inputItem()
{
    QFETCH(QString, file);
    QFETCH(QStringList, items);

    SequentialFile f;
    f.open(dataPath(file), OpenMode::Input);
    QStringList read;
    for (int guard = 0; guard < 100; ++guard) {
        try {
            read << f.inputItem();
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), err::InputPastEndOfFile);
            break;
        }
    }
    QCOMPARE(read, items);
}

void TestBasic::openErrors_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expected");

    QTest::addRow("missing file") << "missing.csv" << int(OpenMode::Input) << err::FileNotFound;
    QTest::addRow("missing file, binary") << "missing.bin" << int(OpenMode::Binary) << err::FileNotFound;
    QTest::addRow("missing folder, read") << "nofolder/a.csv" << int(OpenMode::Input) << err::PathNotFound;
    QTest::addRow("missing folder, write") << "nofolder/a.csv" << int(OpenMode::Output) << err::PathNotFound;
    QTest::addRow("a folder, not a file") << "sub" << int(OpenMode::Input) << err::PathFileAccessError;
    QTest::addRow("no name") << "" << int(OpenMode::Input) << err::BadFileNameOrNumber;
}

void TestBasic::openErrors()
{
    QFETCH(QString, relative);
    QFETCH(int, mode);
    QFETCH(int, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString path = relative.isEmpty() ? QString() : dir.filePath(relative);
    SequentialFile f;
    QCOMPARE(errorOf([&] { f.open(path, OpenMode(mode)); }), expected);
    QVERIFY(!f.isOpen());
    QCOMPARE(errorOf([&] { f.lineInput(); }), err::BadFileNameOrNumber);
    QVERIFY(!QFile::exists(path) || relative == QLatin1String("sub"));
}

void TestBasic::longLinesAndBinary()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("long.csv"));
    // A 100,000-character line crosses the read buffer, and its CR LF falls on a
    // buffer boundary.
    QByteArray line(100000, 'x');
    QByteArray bytes = line + "\r\n" + QByteArray(64 * 1024 - 100002 % (64 * 1024) - 1, 'y') + "\r\nz";
    writeBytes(path, bytes);
    SequentialFile f;
    f.open(path, OpenMode::Input);
    QCOMPARE(f.lineInput().size(), 100000);
    QCOMPARE(f.lineInput().size(), 64 * 1024 - 100002 % (64 * 1024) - 1);
    QCOMPARE(f.lineInput(), QStringLiteral("z"));
    QVERIFY(f.eof());
    f.close();

    SequentialFile b;
    b.open(dataPath(QStringLiteral("binary.dat")), OpenMode::Input);
    QCOMPARE(b.lineInput(), QString::fromLatin1("line\0with NUL", 13));
    QCOMPARE(b.lineInput(), QStringLiteral("\u00ff\u00fe\u0001binary"));
    QVERIFY(b.eof());
}

void TestBasic::printLines()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    {
        SequentialFile f;
        f.open(path, OpenMode::Output);
        f.printLine(QStringLiteral("\u00a3100 caf\u00e9"));
        f.print(QStringLiteral("a"));
        f.printLine(QStringLiteral("b"));
        QCOMPARE(errorOf([&] { f.lineInput(); }), err::BadFileMode);
    }
    QCOMPARE(readBytes(path), QByteArray("\xa3" "100 caf\xe9\r\nab\r\n"));
    {
        SequentialFile f;
        f.open(path, OpenMode::Append);
        f.printLine(QStringLiteral("more"));
    }
    QCOMPARE(readBytes(path), QByteArray("\xa3" "100 caf\xe9\r\nab\r\nmore\r\n"));
    {
        SequentialFile f;
        f.open(path, OpenMode::Output);
    }
    QCOMPARE(readBytes(path), QByteArray());
}

void TestBasic::binaryReads()
{
    SequentialFile f;
    f.open(dataPath(QStringLiteral("binary.dat")), OpenMode::Binary);
    QCOMPARE(f.lof(), 26);
    QCOMPARE(f.readBytes(4), QByteArray("line"));
    QCOMPARE(f.position(), 4);
    f.seek(15);
    QCOMPARE(f.readBytes(3), QByteArray("\xff\xfe\x01"));
    f.seek(24);
    QCOMPARE(f.readBytes(10), QByteArray("\r\n"));
    QVERIFY(f.eof());
    QCOMPARE(f.readBytes(1), QByteArray());
    QCOMPARE(errorOf([&] { f.readBytes(-1); }), err::InvalidProcedureCall);
}

void TestBasic::fileAlreadyOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    SequentialFile writer;
    writer.open(path, OpenMode::Output);
    SequentialFile reader;
    QCOMPARE(errorOf([&] { reader.open(path, OpenMode::Input); }), err::FileAlreadyOpen);
    QCOMPARE(errorOf([&] { writer.open(path, OpenMode::Output); }), err::FileAlreadyOpen);
    writer.close();
    reader.open(path, OpenMode::Input);
    SequentialFile second;
    second.open(path, OpenMode::Input);
    QCOMPARE(errorOf([&] { writer.open(path, OpenMode::Output); }), err::FileAlreadyOpen);
}

void TestBasic::resolvePathIgnoresCase()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Company/ACCDATA")));
    writeBytes(dir.filePath(QStringLiteral("Company/ACCDATA/setup.dta")), "V2");
    const QString root = dir.path();
    QCOMPARE(resolvePath(root + QStringLiteral("\\company\\accdata\\SETUP.DTA")),
             root + QStringLiteral("/Company/ACCDATA/setup.dta"));
    // Missing components are kept as written.
    QCOMPARE(resolvePath(root + QStringLiteral("/COMPANY/new\\File.txt")),
             root + QStringLiteral("/Company/new/File.txt"));
    // An exact match wins over a case-insensitive one.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("company")));
    QCOMPARE(resolvePath(root + QStringLiteral("/company")), root + QStringLiteral("/company"));
    QCOMPARE(FileLen(root + QStringLiteral("\\COMPANY\\AccData\\Setup.dta")), 2);
}

void TestBasic::fileLenAndWholeFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(FileLen(dataPath(QStringLiteral("lines_crlf.csv"))), 27);
    QCOMPARE(errorOf([&] { FileLen(dir.filePath(QStringLiteral("none.csv"))); }), err::FileNotFound);
    QCOMPARE(errorOf([&] { readTextFile(dir.filePath(QStringLiteral("none.csv"))); }), err::FileNotFound);

    const QString path = dir.filePath(QStringLiteral("qfm.cfg"));
    writeTextFileAtomic(path, QStringLiteral("Transaction Type\r\n\u00a3 Net\r\n"));
    QCOMPARE(readBytes(path), QByteArray("Transaction Type\r\n\xa3 Net\r\n"));
    QCOMPARE(readTextFile(path), QStringLiteral("Transaction Type\r\n\u00a3 Net\r\n"));
    writeTextFileAtomic(path, QStringLiteral("second"));
    QCOMPARE(readTextFile(path), QStringLiteral("second"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("qfm.cfg")});
    QCOMPARE(errorOf([&] { writeTextFileAtomic(dir.filePath(QStringLiteral("no/x.cfg")), QStringLiteral("x")); }),
             err::PathNotFound);
}

void TestBasic::failedWholeFileWriteKeepsTheOldFile()
{
    // A new file smaller than Qt's write buffer fails only at the final flush.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("qfm.cfg"));
    const QString old = QStringLiteral("old layout\r\n");
    writeTextFileAtomic(path, old);
    QString text;
    for (int line = 1; line <= 30; ++line)
        text += QStringLiteral("Field %1 of the layout\r\n").arg(line);
    QVERIFY(text.size() > 600);

    const testsupport::ChildOutcome run = testsupport::runInChild(
        [&] {
            try {
                writeTextFileAtomic(path, text);
            } catch (const RuntimeError& e) {
                // The system's reason is part of the description the editor shows.
                return e.number() == err::PathFileAccessError && e.description().contains(QStringLiteral("large"))
                           ? 0
                           : 2;
            }
            return 1;
        },
        {300});
    QVERIFY(run.exited);
    QCOMPARE(run.code, 0);
    QCOMPARE(readTextFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("qfm.cfg")});
}

QTEST_GUILESS_MAIN(TestBasic)
#include "tst_basic.moc"
