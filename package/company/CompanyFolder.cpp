#include "package/company/CompanyFolder.h"

#include "package/company/LedgerError.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace company::folder {

QString resolvePath(const QString& path)
{
    return basic::resolvePath(path);
}

QString accdataOf(const QString& companyFolder)
{
    return resolvePath(companyFolder + QStringLiteral("/ACCDATA"));
}

QString setupFileOf(const QString& accdata)
{
    return resolvePath(accdata + QStringLiteral("/setup.dta"));
}

QString ledgerFileOf(const QString& accdata)
{
    return resolvePath(accdata + QStringLiteral("/ledger.sqlite"));
}

void writeSetupFile(const QString& accdata, int major, int minor, const QString& name)
{
    QStringEncoder encode("windows-1252");
    QByteArray bytes;
    bytes.append(char(uint8_t(major)));
    bytes.append(char(uint8_t(minor)));
    bytes.append(' ');
    QByteArray text = encode(name.left(60));
    text = text.left(60);
    text.append(QByteArray(60 - text.size(), ' '));
    bytes.append(text);
    bytes.append("\r\nLEDGER=ledger.sqlite\r\n");
    const QString path = accdata + QStringLiteral("/setup.dta");
    QSaveFile f(path);
    const QString why = f.open(QIODevice::WriteOnly) ? basic::commitWhole(f, bytes) : f.errorString();
    if (!why.isEmpty())
        throw LedgerError(LedgerError::Kind::Other, QStringLiteral("Cannot write %1: %2").arg(path, why));
}

SetupInfo readSetupFile(const QString& accdata)
{
    const QString path = setupFileOf(accdata);
    QFile f(path);
    if (!f.exists())
        throw LedgerError(LedgerError::Kind::FileNotFound,
                          QStringLiteral("Company setup file %1 not found").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw LedgerError(LedgerError::Kind::BadFile,
                          QStringLiteral("Company setup file %1 cannot be read").arg(path));
    const QByteArray bytes = f.read(63);
    if (bytes.size() < 63)
        throw LedgerError(
            LedgerError::Kind::BadFile,
            QStringLiteral("Company setup file %1 is truncated (%2 bytes)").arg(path).arg(bytes.size()));
    SetupInfo info;
    info.major = uint8_t(bytes[0]);
    info.minor = uint8_t(bytes[1]);
    QByteArray name = bytes.mid(3, 60);
    const int cr = name.indexOf('\r');
    if (cr >= 0)
        name.truncate(cr);
    QStringDecoder decode("windows-1252");
    info.name = QString(decode(name)).trimmed();
    return info;
}

QStringList readCompanyFile(const QString& programFolder)
{
    QStringList out;
    QFile f(resolvePath(programFolder + QStringLiteral("/company")));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    const QStringList lines = basic::fromWindows1252(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& l : lines) {
        const QString t = l.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

void addToCompanyFile(const QString& programFolder, const QString& companyFolder)
{
    QStringList list = readCompanyFile(programFolder);
    const QString absolute = QFileInfo(companyFolder).absoluteFilePath();
    if (list.contains(absolute))
        return;
    list << absolute;
    QDir().mkpath(programFolder);
    QSaveFile f(programFolder + QStringLiteral("/company"));
    const QByteArray text = basic::toWindows1252(list.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    const QString why = f.open(QIODevice::WriteOnly) ? basic::commitWhole(f, text) : f.errorString();
    if (!why.isEmpty())
        throw LedgerError(LedgerError::Kind::Other,
                          QStringLiteral("Cannot write %1: %2").arg(programFolder + QStringLiteral("/company"), why));
}

void writeProgramMarkers(const QString& programFolder)
{
    QDir().mkpath(programFolder);
    for (const char* name : {"vorlen.exe", "vorlen.usr", "vlw.exe"}) {
        QFile f(programFolder + QLatin1Char('/') + QLatin1String(name));
        if (!f.exists() && f.open(QIODevice::WriteOnly))
            f.write("Vorlen stand-in\n");
    }
}

} // namespace company::folder
