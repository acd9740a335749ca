#include "tests/settingsform/SettingsFixture.h"

#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"
#include "app/setup/SetupForms.h"
#include "app/setup/companies/FindFiles.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmSettings.h"

#include "platform/forms/DefaultInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

automation::Variant WithoutRootDrive::invoke(automation::DispId id, automation::Invoke kind,
                                             automation::Args& args, const automation::Variant& value)
{
    const automation::Variant result = m_real->invoke(id, kind, args, value);
    if (id == m_real->idOfName(QStringLiteral("GetLogSysDrive")))
        return automation::Variant(QString(result.stringValue()).remove(QLatin1Char('C')));
    return result;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void makeCompany(const QString& companyFolder, const QString& version, const QString& name,
                 const QString& programFolder)
{
    const QString seed = companyFolder + QStringLiteral(".seed.json");
    writeFile(seed, QStringLiteral("{\"version\": \"%1\", \"name\": \"%2\"}").arg(version, name).toUtf8());
    QStringList args{QStringLiteral("create"), seed, companyFolder};
    if (!programFolder.isEmpty())
        args << QStringLiteral("--program") << programFolder;
    QProcess tool;
    tool.start(QStringLiteral(VORLENTOOL_PATH), args);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        qFatal("vorlentool create failed: %s", tool.readAllStandardError().constData());
    QFile::remove(seed);
}

void writeLayout(const QString& folder, const QStringList& titles)
{
    QByteArray columns;
    for (int i = 0; i < 54; ++i)
        columns += (i < titles.size() ? titles.at(i).toLatin1() : QByteArray()) + "\r\n";
    writeFile(folder + QStringLiteral("/qfm.cfg"), columns);
    writeFile(folder + QStringLiteral("/qfm2.cfg"), "\r\n\r\n\r\n\r\n");
}

void mountDrives(const QString& tableFile, const QStringList& folders)
{
    QString table = QStringLiteral("/dev/sda1 / ext4 rw 0 0\n");
    for (const QString& folder : folders)
        table += QStringLiteral("/dev/sdx %1 ext4 rw 0 0\n").arg(folder);
    writeFile(tableFile, table.toUtf8());
    qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(tableFile));
}

automation::ObjectRef registeredFileSearch()
{
    if (QProcess::execute(QStringLiteral(REGSVR_PATH),
                          {QStringLiteral("/s"), QStringLiteral(DRIVEWALK_PATH)}) != 0)
        qFatal("Drivewalk could not be registered");
    return std::make_shared<WithoutRootDrive>(companies::createFileSearchObject());
}

void wireSession(session::ProgramSession& session, automation::ObjectRef fileSearch)
{
    session.createObject = [fileSearch](const QString&) { return fileSearch; };
    session.mainWindow().form.install(session::defaultInstanceOf<importer::MainWindowView, TestMainWindow>());
    setup::registerForms(session);
}

void unloadForms()
{
    forms::DefaultInstance<frmSettings>::unload();
    forms::DefaultInstance<frmDirPath>::unload();
    // A loaded editor keeps the layout it loaded: each test reads its own files.
    forms::DefaultInstance<FrmFileStructure>::unload();
    forms::DefaultInstance<TestMainWindow>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
