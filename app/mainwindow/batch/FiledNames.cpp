#include "app/mainwindow/batch/FiledNames.h"

#include <QFile>

namespace batch {

namespace {

// What the longest filing adds to the base name: a stamp ("20241231235959"), the
// widest counter ("-32768"), then for the error file "_ERRORLOG", a second stamp
// and ".CSV".
constexpr int WidestAddition = 14 + 6 + 9 + 14 + 4;

int storedSize(const QString& text)
{
    return int(QFile::encodeName(text).size());
}

bool endsWithSeparator(const QString& text)
{
    return text.endsWith(QLatin1Char('\\')) || text.endsWith(QLatin1Char('/'));
}

} // namespace

QString dateDigits(const QDateTime& at)
{
    const QDate d = at.date();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day());
}

QString stampDigits(const QDateTime& at)
{
    const QTime t = at.time();
    return dateDigits(at) + QString::number(t.hour()) + QString::number(t.minute()) +
           QString::number(t.second());
}

QString baseOfName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString trimmedBaseName(const QString& fileName)
{
    return baseOfName(fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1)).trimmed();
}

bool filedNamesFit(const QString& fileName, int nameMax)
{
    return storedSize(trimmedBaseName(fileName)) + WidestAddition <= nameMax;
}

QString shortenedFileName(const QString& fileName, int nameMax)
{
    QString base = trimmedBaseName(fileName);
    while (!base.isEmpty() && storedSize(base) + WidestAddition > nameMax)
        base.chop(base.size() >= 2 && base.back().isLowSurrogate() ? 2 : 1);
    return base + QStringLiteral(".csv");
}

QString filedName(const QString& fileName, const QDateTime& at, int16_t counter)
{
    return trimmedBaseName(fileName) + dateDigits(at) + QString::number(counter) + QStringLiteral(".csv");
}

QString stampedFiledName(const QString& fileName, const QDateTime& at, int16_t counter)
{
    return trimmedBaseName(fileName) + stampDigits(at) + QString::number(counter) + QStringLiteral(".csv");
}

int16_t nextFilingCounter(int16_t counter)
{
    return counter == INT16_MAX ? INT16_MIN : int16_t(counter + 1);
}

QString errorFileName(const QString& errorFolderSetting, const QString& folder, const QString& fileName)
{
    const QString separator = endsWithSeparator(errorFolderSetting) ? QString() : QStringLiteral("/");
    return folder + separator + errorFileLeaf(fileName);
}

QString errorFileLeaf(const QString& fileName)
{
    return trimmedBaseName(fileName) + QStringLiteral("_ERRORLOG.CSV");
}

QString stampedErrorFileName(const QString& name, const QDateTime& at)
{
    return name.left(name.size() - 4) + stampDigits(at) + QStringLiteral(".CSV");
}

} // namespace batch
