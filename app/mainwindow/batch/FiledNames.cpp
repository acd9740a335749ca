#include "app/mainwindow/batch/FiledNames.h"

#include "platform/shell/FileSystem.h"

namespace batch {

namespace {

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

QString trimmedBaseName(const QString& fileName)
{
    return shell::baseName(fileName).trimmed();
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
    return folder + separator + trimmedBaseName(fileName) + QStringLiteral("_ERRORLOG.CSV");
}

QString stampedErrorFileName(const QString& name, const QDateTime& at)
{
    return name.left(name.size() - 4) + stampDigits(at) + QStringLiteral(".CSV");
}

} // namespace batch
