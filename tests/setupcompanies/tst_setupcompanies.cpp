#include "app/setup/companies/CompanyList.h"
#include "app/setup/companies/FindFiles.h"
#include "app/setup/companies/InstallationSearch.h"

#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Variant.h"
#include "platform/forms/MessageService.h"
#include "tests/support/ChildRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace companies;
using automation::ObjectRef;
using basic::Variant;

namespace {

const QString DataPathTitle = QStringLiteral("Vorlen Company File Data Path Error");

QString missingMessage(const QString& folder, const QString& companyFile)
{
    return QStringLiteral("Vorlen Data Path '%1' in the Company File located at path %2, does not exist.")
        .arg(folder, companyFile);
}

void writeFile(const QString& path, const QByteArray& bytes, qint64 sparseTail = 0)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    // A long run of NUL bytes that takes no room on disk.
    if (sparseTail > 0 && !f.resize(bytes.size() + sparseTail))
        qFatal("cannot extend %s", qPrintable(path));
}

// Reading a hostile file may hold this much more memory at its peak, no more.
constexpr long BoundedPeakKiB = 24 * 1024;
constexpr qint64 HostileSize = 256 * 1024 * 1024;

// A company data folder and, with a program folder, its line in that folder's
// company file and the program files beside it: made by the package's own tool.
void makeCompany(const QString& companyFolder, const QString& version, const QString& name,
                 const QString& programFolder = {})
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

// The root drive C: is the whole machine; the tests search only the drives their
// mount table adds. Everything else goes to Drivewalk's real object.
class WithoutRootDrive : public automation::Object
{
public:
    explicit WithoutRootDrive(ObjectRef real) : m_real(std::move(real)) {}
    QString className() const override { return m_real->className(); }
    automation::DispId idOfName(const QString& name) const override { return m_real->idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                   const Variant& value) override
    {
        const Variant result = m_real->invoke(id, kind, args, value);
        if (id == m_real->idOfName(QStringLiteral("GetLogSysDrive")))
            return Variant(QString(result.stringValue()).remove(QLatin1Char('C')));
        return result;
    }
    const ObjectRef& real() const { return m_real; }

private:
    ObjectRef m_real;
};

// Runs `action` in the second pass of the event pump from now: the pump handles one
// event per pass and keeps an event posted meanwhile for its next pass.
class SecondPass : public QObject
{
public:
    explicit SecondPass(std::function<void()> action) : m_action(std::move(action))
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (++m_passes == 1)
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        else
            m_action();
        return true;
    }

private:
    std::function<void()> m_action;
    int m_passes = 0;
};

} // namespace

class tst_setupcompanies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    // Company list
    void setupFile_data();
    void setupFile();
    void setupFileTooShort();
    void hugeSetupFileReadOnlyUpToTheName();
    void overlongCompanyLineSkippedAndNamed();
    void companiesOfPackageFolders();
    void blankAndPaddedLines();
    void missingSetupFileIsReportedAndSkipped();
    void staleFolderDoesNotHideTheOthers_data();
    void staleFolderDoesNotHideTheOthers();
    void unreadableCompanyFile_data();
    void unreadableCompanyFile();
    void programFolder_data();
    void programFolder();

    // Installation search
    void report_data();
    void report();
    void selectedFolder_data();
    void selectedFolder();
    void askForInstallation_data();
    void askForInstallation();
    void installationFolders_data();
    void installationFolders();
    void searchFindsInstallationsOnEveryDrive();
    void pseudoFileSystemsAreNotSearched();
    void stopBetweenDrives();
    void stopDuringADrive();
    void searchWithoutSearchObject();

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void writeMountTable(const QString& text);
    InstallationSearch search(QStringList* progress);

    QTemporaryDir m_dir;
    ObjectRef m_fileSearch; // the test's drives only
    QString m_driveD;
    QString m_driveE;
};

void tst_setupcompanies::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(path(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(path(QStringLiteral("user.hive"))));
    QCOMPARE(QProcess::execute(QStringLiteral(REGSVR_PATH),
                               {QStringLiteral("/s"), QStringLiteral(DRIVEWALK_PATH)}),
             0);
    m_fileSearch = std::make_shared<WithoutRootDrive>(createFileSearchObject());

    // D: holds the demo program folder as the package tool makes it, a link to it
    // and a hidden copy; E: two installations and a decoy.
    m_driveD = path(QStringLiteral("driveD"));
    m_driveE = path(QStringLiteral("driveE"));
    makeCompany(m_driveD + QStringLiteral("/Demo"), QStringLiteral("23.0"),
                QStringLiteral("Demo Trading Ltd"), m_driveD + QStringLiteral("/Vorlen"));
    QVERIFY(QDir().mkpath(m_driveD + QStringLiteral("/Links")));
    QVERIFY(QFile::link(m_driveD + QStringLiteral("/Vorlen"), m_driveD + QStringLiteral("/Links/Vorlen")));
    QVERIFY(QFile::link(m_driveE + QStringLiteral("/Apps"), m_driveD + QStringLiteral("/Links/OtherDrive")));
    for (const char* file : {"company", "vorlen.exe", "vlw.exe"})
        writeFile(m_driveD + QStringLiteral("/.backup/Vorlen/") + QLatin1String(file), "x");
    for (const char* file :
         {"Apps/Vorlen/COMPANY", "Apps/Vorlen/VLW.EXE", "Old/Vorlen v2/company", "Old/Vorlen v2/vorlen.usr",
          "Old/Vorlen v2/vorlen.exe", "Tools/vorlen.exe", "Tools/vorlen.usr"})
        writeFile(m_driveE + QLatin1Char('/') + QLatin1String(file), "x");
    QVERIFY(QDir().mkpath(path(QStringLiteral("proc"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("memory"))));
    for (const char* file : {"company", "vorlen.exe", "vlw.exe"}) {
        writeFile(path(QStringLiteral("proc/Vorlen/")) + QLatin1String(file), "x");
        writeFile(path(QStringLiteral("memory/Vorlen/")) + QLatin1String(file), "x");
    }
}

void tst_setupcompanies::init()
{
    // Drives D: and E:; a pseudo and a memory file system between them get no letter.
    writeMountTable(
        QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 %1 ext4 rw 0 0\nproc %2 proc rw 0 0\n"
                       "tmpfs %3 tmpfs rw 0 0\n/dev/sdc1 %4 xfs rw 0 0\n")
            .arg(m_driveD, path(QStringLiteral("proc")), path(QStringLiteral("memory")), m_driveE));
    m_fileSearch->put(QStringLiteral("SearchStopDll"), Variant(false));
}

void tst_setupcompanies::writeMountTable(const QString& text)
{
    const QString table = path(QStringLiteral("mounts"));
    writeFile(table, text.toUtf8());
    qputenv("QUILLAR_MOUNT_TABLE", QFile::encodeName(table));
}

InstallationSearch tst_setupcompanies::search(QStringList* progress)
{
    return InstallationSearch([this] { return m_fileSearch; },
                              [progress](const QString& text) {
                                  if (progress)
                                      *progress << text;
                              });
}

// ---- Company list ----

void tst_setupcompanies::setupFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("version");

    const QByteArray padded = QByteArray("Acme Ltd").leftJustified(60, ' ');
    QTest::addRow("version 23.0, padded name") << QByteArray("\x17\x00 ", 3) + padded + "\r\nLEDGER=x\r\n"
                                               << "Acme Ltd"
                                               << "23.0";
    QTest::addRow("version 9.5") << QByteArray("\x09\x05 ", 3) + padded + "\r\n"
                                 << "Acme Ltd"
                                 << "9.5";
    QTest::addRow("version bytes above 127") << QByteArray("\xc8\xff ", 3) + padded << "Acme Ltd"
                                             << "200.255";
    QTest::addRow("name of 70 characters cut to 60")
        << QByteArray("\x17\x00 ", 3) + QByteArray(60, 'N') + "OVERFLOWED" << QString(60, QLatin1Char('N'))
        << "23.0";
    QTest::addRow("name ended by a carriage return")
        << QByteArray("\x17\x00 Short Co\rhidden", 19) << "Short Co"
        << "23.0";
    QTest::addRow("name ended by a line feed") << QByteArray("\x17\x00 Short Co\nhidden", 19) << "Short Co"
                                               << "23.0";
    QTest::addRow("leading blanks trimmed, other padding kept")
        << QByteArray("\x17\x00    Tab\tCo\t  ", 15) << "Tab\tCo\t"
        << "23.0";
    QTest::addRow("byte 2 skipped whatever it holds") << QByteArray("\x17\x00XName", 7) << "Name"
                                                      << "23.0";
    QTest::addRow("Windows-1252 name")
        << QByteArray("\x17\x00 Caf\xe9 M\xfcller \x80", 16) << QString::fromUtf8("Café Müller €") << "23.0";
    QTest::addRow("empty name") << QByteArray("\x17\x00 \r\n", 5) << ""
                                << "23.0";
}

void tst_setupcompanies::setupFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, version);
    const QString file = path(QStringLiteral("setupfile/%1/ACCDATA/setup.dta").arg(QTest::currentDataTag()));
    writeFile(file, bytes);
    const SetupFileContent content = readCompanySetup(file);
    QCOMPARE(content.name, name);
    QCOMPARE(content.version, version);
}

void tst_setupcompanies::setupFileTooShort()
{
    const QString file = path(QStringLiteral("short/ACCDATA/setup.dta"));
    writeFile(file, QByteArray("\x17\x00", 2));
    try {
        readCompanySetup(file);
        QFAIL("a setup file of two bytes read");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::InputPastEndOfFile);
    }
}

void tst_setupcompanies::hugeSetupFileReadOnlyUpToTheName()
{
    const QString file = path(QStringLiteral("huge/ACCDATA/setup.dta"));
    writeFile(file, QByteArray("\x17\x00 Huge Co", 10), HostileSize);
    const testsupport::ChildOutcome run = testsupport::runInChild([&] {
        const SetupFileContent content = readCompanySetup(file);
        return content.version == QLatin1String("23.0") && content.name.startsWith(QLatin1String("Huge Co")) &&
                       content.name.size() == 60
                   ? 0
                   : 1;
    });
    QVERIFY(run.exited);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.peakGrowthKiB < BoundedPeakKiB, qPrintable(QString::number(run.peakGrowthKiB)));
}

void tst_setupcompanies::overlongCompanyLineSkippedAndNamed()
{
    makeCompany(path(QStringLiteral("longline/A")), QStringLiteral("23.0"), QStringLiteral("Alpha"));
    makeCompany(path(QStringLiteral("longline/B")), QStringLiteral("22.0"), QStringLiteral("Beta"));
    const QString companyFile = path(QStringLiteral("longline/Vorlen/company"));
    // Line 2 is a path of PATH_MAX characters and one more; then a run of NULs
    // to the end of a large file (line 4).
    const QByteArray tooLong = QByteArray("/x").repeated(2049).left(4097);
    writeFile(companyFile,
              (path(QStringLiteral("longline/A")) + QStringLiteral("\r\n")).toUtf8() + tooLong + "\r\n" +
                  (path(QStringLiteral("longline/B")) + QStringLiteral("\r\n")).toUtf8(),
              HostileSize);
    const testsupport::ChildOutcome run = testsupport::runInChild([&] {
        forms::ScopedScriptedMessages scripted;
        const std::vector<CompanyEntry> found = GetCompanyName(companyFile);
        const auto& shown = scripted.service().shown();
        const QString skipped = QStringLiteral("Line %2 of the Company File located at path %1 is longer than "
                                               "4096 characters, so it is not a Vorlen Data Path; it was skipped.");
        const bool ok = found.size() == 2 && found[0].name == QLatin1String("Alpha") &&
                        found[1].name == QLatin1String("Beta") && shown.size() == 2 &&
                        shown[0].text == skipped.arg(companyFile).arg(2) &&
                        shown[1].text == skipped.arg(companyFile).arg(4) && shown[0].title == DataPathTitle;
        return ok ? 0 : 1;
    });
    QVERIFY(run.exited);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.peakGrowthKiB < BoundedPeakKiB, qPrintable(QString::number(run.peakGrowthKiB)));
}

void tst_setupcompanies::companiesOfPackageFolders()
{
    const QString program = path(QStringLiteral("several/Vorlen"));
    makeCompany(path(QStringLiteral("several/First")), QStringLiteral("23.0"),
                QStringLiteral("First Company"), program);
    makeCompany(path(QStringLiteral("several/Second")), QStringLiteral("9.5"),
                QStringLiteral("Second Company"), program);
    makeCompany(path(QStringLiteral("several/Third")), QStringLiteral("12.1"), QString(60, QLatin1Char('L')),
                program);

    forms::ScopedScriptedMessages scripted;
    const std::vector<CompanyEntry> found = GetCompanyName(program + QStringLiteral("\\company"));
    QCOMPARE(int(scripted.service().shown().size()), 0);
    QCOMPARE(int(found.size()), 3);
    QCOMPARE(found[0].name, QStringLiteral("First Company"));
    QCOMPARE(found[0].dataFolder, path(QStringLiteral("several/First")));
    QCOMPARE(found[0].version, QStringLiteral("23.0"));
    QCOMPARE(found[1].name, QStringLiteral("Second Company"));
    QCOMPARE(found[1].version, QStringLiteral("9.5"));
    QCOMPARE(found[2].name, QString(60, QLatin1Char('L')));
    QCOMPARE(found[2].version, QStringLiteral("12.1"));
}

void tst_setupcompanies::blankAndPaddedLines()
{
    makeCompany(path(QStringLiteral("padded/A")), QStringLiteral("23.0"), QStringLiteral("Alpha"));
    makeCompany(path(QStringLiteral("padded/B")), QStringLiteral("22.0"), QStringLiteral("Beta"));
    const QString companyFile = path(QStringLiteral("padded/Vorlen/company"));
    writeFile(companyFile, QStringLiteral("\r\n   %1   \r\n\r\n   \r\n%2\n\n")
                               .arg(path(QStringLiteral("padded/A")), path(QStringLiteral("padded/B")))
                               .toUtf8());

    forms::ScopedScriptedMessages scripted;
    const CompanyListing listing = companyRows(GetCompanyName(companyFile), QString());
    QCOMPARE(int(scripted.service().shown().size()), 0);
    QCOMPARE(int(listing.rows.size()), 2);
    QCOMPARE(listing.rows[0].number, QStringLiteral("1"));
    QCOMPARE(listing.rows[0].name, QStringLiteral("Alpha"));
    QCOMPARE(listing.rows[0].dataFolder, path(QStringLiteral("padded/A")));
    QCOMPARE(listing.rows[1].number, QStringLiteral("2"));
    QCOMPARE(listing.rows[1].version, QStringLiteral("22.0"));
    QCOMPARE(listing.savedRow, -1);
}

void tst_setupcompanies::missingSetupFileIsReportedAndSkipped()
{
    const QString program = path(QStringLiteral("missing/Vorlen"));
    for (const char* name : {"One", "Two", "Three"})
        makeCompany(path(QStringLiteral("missing/")) + QLatin1String(name), QStringLiteral("23.0"),
                    QLatin1String(name), program);
    QVERIFY(QFile::remove(path(QStringLiteral("missing/Two/ACCDATA/setup.dta"))));

    forms::ScopedScriptedMessages scripted;
    const QString companyFile = program + QStringLiteral("\\company");
    const std::vector<CompanyEntry> found = GetCompanyName(companyFile);
    QCOMPARE(int(found.size()), 2);
    QCOMPARE(found[0].name, QStringLiteral("One"));
    QCOMPARE(found[1].name, QStringLiteral("Three"));
    const auto& shown = scripted.service().shown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, missingMessage(path(QStringLiteral("missing/Two")), companyFile));
    QCOMPARE(shown[0].title, DataPathTitle);
    QCOMPARE(shown[0].icon(), int(forms::Critical));
}

void tst_setupcompanies::staleFolderDoesNotHideTheOthers_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message"); // %1 the folder, %2 the company file; empty: the data-path message
    QTest::addRow("path not found (76) reported as a missing data path")
        << int(basic::err::PathNotFound) << QString();
    QTest::addRow("any other error reported by number and text")
        << int(basic::err::PathFileAccessError) << QStringLiteral("75  Path/File access error");
}

void tst_setupcompanies::staleFolderDoesNotHideTheOthers()
{
    QFETCH(int, error);
    QFETCH(QString, message);
    const QString program = path(QStringLiteral("stale%1/Vorlen").arg(error));
    for (const char* name : {"Before", "Stale", "After"})
        makeCompany(path(QStringLiteral("stale%1/").arg(error)) + QLatin1String(name), QStringLiteral("23.0"),
                    QLatin1String(name), program);
    // The setup file is there when tested and goes away while it is read.
    const QString stale = path(QStringLiteral("stale%1/Stale").arg(error));
    const SetupFileReader reader = [&](const QString& setupFile) {
        if (setupFile.startsWith(stale))
            throw basic::RuntimeError(error, basic::errorDescription(error), setupFile);
        return readCompanySetup(setupFile);
    };

    forms::ScopedScriptedMessages scripted;
    const QString companyFile = program + QStringLiteral("\\company");
    const std::vector<CompanyEntry> found = GetCompanyName(companyFile, reader);
    QCOMPARE(int(found.size()), 2);
    QCOMPARE(found[0].name, QStringLiteral("Before"));
    QCOMPARE(found[1].name, QStringLiteral("After"));
    const auto& shown = scripted.service().shown();
    QCOMPARE(int(shown.size()), 1);
    if (message.isEmpty()) {
        QCOMPARE(shown[0].text, missingMessage(stale, companyFile));
        QCOMPARE(shown[0].title, DataPathTitle);
    } else {
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].title, QStringLiteral("Quillar"));
    }
}

void tst_setupcompanies::unreadableCompanyFile_data()
{
    QTest::addColumn<QString>("companyFile");
    QTest::addColumn<QString>("message");
    QVERIFY(QDir().mkpath(path(QStringLiteral("unreadable/Vorlen/company"))));
    QTest::addRow("missing") << path(QStringLiteral("unreadable/Nowhere/company")) << "76  Path not found";
    QTest::addRow("missing in its folder")
        << path(QStringLiteral("unreadable/company")) << "53  File not found";
    QTest::addRow("a folder") << path(QStringLiteral("unreadable/Vorlen/company"))
                              << "75  Path/File access error";
}

void tst_setupcompanies::unreadableCompanyFile()
{
    QFETCH(QString, companyFile);
    QFETCH(QString, message);
    forms::ScopedScriptedMessages scripted;
    QVERIFY(GetCompanyName(companyFile).empty());
    const auto& shown = scripted.service().shown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, message);
    QCOMPARE(shown[0].buttons(), int(forms::OKOnly));
}

void tst_setupcompanies::programFolder_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("savedDataPath");
    QTest::addColumn<bool>("packageFolder");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("savedRow");

    const QString program = path(QStringLiteral("pick/Vorlen"));
    makeCompany(path(QStringLiteral("pick/North")), QStringLiteral("23.0"), QStringLiteral("North"), program);
    makeCompany(path(QStringLiteral("pick/South")), QStringLiteral("21.0"), QStringLiteral("South"), program);
    // A company file named in capitals, as another installation may have it.
    QVERIFY(QDir().mkpath(path(QStringLiteral("upper"))));
    QVERIFY(QFile::copy(program + QStringLiteral("/company"), path(QStringLiteral("upper/COMPANY"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("plain"))));
    writeFile(path(QStringLiteral("plain/vorlen.exe")), "x");

    const QString south = path(QStringLiteral("pick/South"));
    QTest::addRow("nothing saved") << program << "" << true << 2 << -1;
    QTest::addRow("saved company marked") << program << south << true << 2 << 1;
    QTest::addRow("saved path with blanks around it") << program << "  " + south + " " << true << 2 << 1;
    QTest::addRow("saved path in another letter case is not the saved company")
        << program << south.toUpper() << true << 2 << -1;
    QTest::addRow("company file in capitals") << path(QStringLiteral("upper")) << south << true << 2 << 1;
    QTest::addRow("program folder written with \\")
        << QString(program).replace(QLatin1Char('/'), QLatin1Char('\\')) << "" << true << 2 << -1;
    QTest::addRow("program folder on drive D") << "D:\\Vorlen"
                                               << "" << true << 1 << -1;
    QTest::addRow("no company file") << path(QStringLiteral("plain")) << south << false << 0 << -1;
    QTest::addRow("no such folder") << path(QStringLiteral("nowhere")) << south << false << 0 << -1;
}

void tst_setupcompanies::programFolder()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, savedDataPath);
    QFETCH(bool, packageFolder);
    QFETCH(int, rows);
    QFETCH(int, savedRow);

    forms::ScopedScriptedMessages scripted;
    const CompanyListing listing = readProgramFolder(*m_fileSearch, programFolder, savedDataPath);
    QCOMPARE(int(scripted.service().shown().size()), 0);
    QCOMPARE(listing.packageFolder, packageFolder);
    QCOMPARE(int(listing.rows.size()), rows);
    QCOMPARE(listing.savedRow, savedRow);
    for (int i = 0; i < rows; ++i) {
        QCOMPARE(listing.rows[i].number, QString::number(i + 1));
        QCOMPARE(listing.rows[i].saved, i == savedRow);
    }
    if (savedRow >= 0)
        QCOMPARE(listing.rows[savedRow].name, QStringLiteral("South"));
}

// ---- Installation search ----

void tst_setupcompanies::report_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("report");
    const QString head = QStringLiteral("Please select the desired path, Default is 1.");
    QTest::addRow("none") << QStringList{} << "Found 0 Installation of Vorlen in this Computer.\r" + head;
    QTest::addRow("one") << QStringList{"D:\\Vorlen"}
                         << "Found 1 Installation of Vorlen in this Computer.\r" + head + "\r1) D:\\Vorlen";
    QTest::addRow("two") << QStringList{"D:\\Vorlen", "E:\\"}
                         << "Found 2 Installations of Vorlen in this Computer.\r" + head +
                                "\r1) D:\\Vorlen and\r2) E:\\";
    QTest::addRow("three") << QStringList{"C:\\A", "C:\\B", "D:\\C"}
                           << "Found 3 Installations of Vorlen in this Computer.\r" + head +
                                  "\r1) C:\\A and\r2) C:\\B and\r3) D:\\C";
    QTest::addRow("a folder named Installation is shown as it is")
        << QStringList{"D:\\Installation", "D:\\Installations\\Vorlen"}
        << "Found 2 Installations of Vorlen in this Computer.\r" + head +
               "\r1) D:\\Installation and\r2) D:\\Installations\\Vorlen";
}

void tst_setupcompanies::report()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, report);
    QCOMPARE(InstallationSearch::report(folders), report);
}

void tst_setupcompanies::selectedFolder_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("folder"); // empty: no selection
    QTest::addRow("1") << "1"
                       << "D:\\A";
    QTest::addRow("2") << "2"
                       << "E:\\B";
    QTest::addRow("blanks around") << " 2 "
                                   << "E:\\B";
    QTest::addRow("1.4 rounds to 1") << "1.4"
                                     << "D:\\A";
    QTest::addRow("1.5 rounds to 2") << "1.5"
                                     << "E:\\B";
    QTest::addRow("2.5 rounds to 2, half to even") << "2.5"
                                                   << "E:\\B";
    QTest::addRow("0") << "0"
                       << "";
    QTest::addRow("3 of 2") << "3"
                            << "";
    QTest::addRow("negative") << "-1"
                              << "";
    QTest::addRow("0.4 rounds to 0") << "0.4"
                                     << "";
    QTest::addRow("not a number") << "abc"
                                  << "";
    QTest::addRow("empty") << ""
                           << "";
    QTest::addRow("too large for a whole number") << "1e12"
                                                  << "";
}

void tst_setupcompanies::selectedFolder()
{
    QFETCH(QString, answer);
    QFETCH(QString, folder);
    const std::optional<QString> chosen =
        InstallationSearch::selectedFolder(answer, {QStringLiteral("D:\\A"), QStringLiteral("E:\\B")});
    QCOMPARE(chosen.value_or(QString()), folder);
}

void tst_setupcompanies::askForInstallation_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("chosen"); // empty: "Invalid Selection"
    const QStringList two{QStringLiteral("D:\\Vorlen"), QStringLiteral("E:\\Apps\\Vorlen")};
    QTest::addRow("default answer") << two << true << "1"
                                    << "D:\\Vorlen";
    QTest::addRow("second") << two << true << "2"
                            << "E:\\Apps\\Vorlen";
    QTest::addRow("cancelled") << two << false << ""
                               << "";
    QTest::addRow("out of range") << two << true << "3"
                                  << "";
    QTest::addRow("nothing found, default confirmed") << QStringList{} << true << "1"
                                                      << "";
}

void tst_setupcompanies::askForInstallation()
{
    QFETCH(QStringList, folders);
    QFETCH(bool, answered);
    QFETCH(QString, answer);
    QFETCH(QString, chosen);

    forms::ScopedScriptedMessages scripted;
    scripted.service().queueInput(answered ? std::optional<QString>(answer) : std::nullopt);
    const InstallationSearch installations = search(nullptr);
    const std::optional<QString> folder = installations.askForInstallation(folders);

    const auto& asked = scripted.service().inputsShown();
    QCOMPARE(int(asked.size()), 1);
    QCOMPARE(asked[0].text, InstallationSearch::report(folders));
    QCOMPARE(asked[0].title, QStringLiteral("Vorlen Installation Search Report"));
    QCOMPARE(folder.value_or(QString()), chosen);
    const auto& shown = scripted.service().shown();
    if (chosen.isEmpty()) {
        QCOMPARE(int(shown.size()), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Invalid Selection"));
        QCOMPARE(shown[0].icon(), int(forms::Critical));
        QCOMPARE(shown[0].title, QStringLiteral("Quillar"));
    } else {
        QCOMPARE(int(shown.size()), 0);
    }
}

void tst_setupcompanies::installationFolders_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addRow("company and one program file alone: too few on the drive")
        << QStringList{"D:\\V\\company", "D:\\V\\vorlen.exe"} << QStringList{};
    QTest::addRow("a third match anywhere on the drive")
        << QStringList{"D:\\V\\company", "D:\\V\\vorlen.exe", "D:\\Other\\vlw.exe"} << QStringList{"D:\\V"};
    QTest::addRow("company alone in its folder")
        << QStringList{"D:\\V\\company", "D:\\W\\vorlen.exe", "D:\\W\\vlw.exe"} << QStringList{};
    QTest::addRow("program files without company")
        << QStringList{"D:\\V\\vorlen.exe", "D:\\V\\vorlen.usr", "D:\\V\\vlw.exe"} << QStringList{};
    QTest::addRow("company in capitals")
        << QStringList{"D:\\V\\COMPANY", "D:\\V\\VORLEN.EXE", "D:\\V\\VLW.EXE"} << QStringList{"D:\\V"};
    QTest::addRow("drive root keeps its backslash")
        << QStringList{"D:\\company", "D:\\vorlen.exe", "D:\\vlw.exe"} << QStringList{"D:\\"};
    QTest::addRow("each folder once, in the order found")
        << QStringList{"D:\\B\\company", "D:\\B\\vlw.exe", "D:\\A\\company", "D:\\A\\vorlen.exe",
                       "D:\\B\\vorlen.exe"}
        << QStringList{"D:\\B", "D:\\A"};
    QTest::addRow("a sub-folder is a folder of its own")
        << QStringList{"D:\\V\\company", "D:\\V\\Sub\\vorlen.exe", "D:\\V\\Sub\\vlw.exe"} << QStringList{};
}

void tst_setupcompanies::installationFolders()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QCOMPARE(InstallationSearch::installationFolders(files), folders);
}

void tst_setupcompanies::searchFindsInstallationsOnEveryDrive()
{
    QStringList progress;
    InstallationSearch installations = search(&progress);
    forms::ScopedScriptedMessages scripted;
    const QStringList found = installations.GetVorlenPath();

    // The demo program folder the package tool makes is found; the link to it, the
    // hidden copy and the file systems without a drive letter are not searched.
    QCOMPARE(found, (QStringList{"D:\\Vorlen", "E:\\Apps\\Vorlen", "E:\\Old\\Vorlen v2"}));
    QCOMPARE(progress, (QStringList{"Searching in Drive D", "Searching in Drive E"}));
    QVERIFY(!installations.stopRequested());
    QCOMPARE(int(scripted.service().shown().size()), 0);

    // The chosen folder lists its companies.
    scripted.service().queueInput(QStringLiteral("1"));
    const std::optional<QString> chosen = installations.askForInstallation(found);
    QCOMPARE(chosen.value_or(QString()), QStringLiteral("D:\\Vorlen"));
    const CompanyListing listing = readProgramFolder(*m_fileSearch, *chosen, QString());
    QCOMPARE(int(listing.rows.size()), 1);
    QCOMPARE(listing.rows[0].name, QStringLiteral("Demo Trading Ltd"));
    QCOMPARE(listing.rows[0].version, QStringLiteral("23.0"));
    QCOMPARE(listing.rows[0].dataFolder, m_driveD + QStringLiteral("/Demo"));
}

void tst_setupcompanies::pseudoFileSystemsAreNotSearched()
{
    struct stat dev
    {
    }, shm{};
    if (::stat("/dev", &dev) != 0 || ::stat("/dev/shm", &shm) != 0 || dev.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        QSKIP("no writable separate file system at /dev/shm");
    const QString folder =
        QStringLiteral("/dev/shm/quillar-setup-%1").arg(QCoreApplication::applicationPid());
    for (const char* file : {"company", "vorlen.exe", "vlw.exe"})
        writeFile(folder + QStringLiteral("/Vorlen/") + QLatin1String(file), "x");

    // A drive whose walk passes the memory file system mounted below it does not
    // enter it; the same files on a drive of their own are found.
    writeMountTable(QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /dev ext4 rw 0 0\n"));
    const QStringList across = search(nullptr).GetVorlenPath();
    writeMountTable(QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 %1 ext4 rw 0 0\n").arg(folder));
    const QStringList inside = search(nullptr).GetVorlenPath();
    QDir(folder).removeRecursively();
    QCOMPARE(across, QStringList{});
    QCOMPARE(inside, QStringList{"D:\\Vorlen"});
}

void tst_setupcompanies::stopBetweenDrives()
{
    QStringList progress;
    InstallationSearch* running = nullptr;
    InstallationSearch installations([this] { return m_fileSearch; },
                                     [&](const QString& text) {
                                         progress << text;
                                         // Stop pressed once, while drive D was searched: seen before E.
                                         if (text.endsWith(QLatin1Char('E')) && progress.size() == 2)
                                             running->stop();
                                     });
    running = &installations;
    const QStringList found = installations.GetVorlenPath();
    QCOMPARE(found, QStringList{"D:\\Vorlen"});
    QCOMPARE(progress, (QStringList{"Searching in Drive D", "Searching in Drive E"}));
    QVERIFY(installations.stopRequested());
    QCOMPARE(m_fileSearch->get(QStringLiteral("SearchStopDll")), Variant(true));

    forms::ScopedScriptedMessages scripted;
    installations.reportCanceled();
    const auto& shown = scripted.service().shown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("Search Canceled by User."));
    QCOMPARE(shown[0].icon(), int(forms::Exclamation));
    QCOMPARE(shown[0].buttons(), int(forms::OKOnly));
    QVERIFY(!installations.stopRequested());
    QCOMPARE(m_fileSearch->get(QStringLiteral("SearchStopDll")), Variant(false));

    // The next search starts clean.
    QCOMPARE(installations.GetVorlenPath().size(), 3);
}

void tst_setupcompanies::stopDuringADrive()
{
    QStringList progress;
    InstallationSearch* running = nullptr;
    std::unique_ptr<SecondPass> click;
    InstallationSearch installations([this] { return m_fileSearch; },
                                     [&](const QString& text) {
                                         progress << text;
                                         // The click arrives once the walk of D has begun.
                                         if (!click)
                                             click = std::make_unique<SecondPass>([&] { running->stop(); });
                                     });
    running = &installations;
    // D's walk ends at once (its installation is not found), and E is not searched.
    const QStringList found = installations.GetVorlenPath();
    QCOMPARE(found, QStringList{});
    QCOMPARE(progress, (QStringList{"Searching in Drive D", "Searching in Drive E"}));
    QVERIFY(installations.stopRequested());
    forms::ScopedScriptedMessages scripted;
    installations.reportCanceled();
    QCOMPARE(m_fileSearch->get(QStringLiteral("SearchStopDll")), Variant(false));
}

void tst_setupcompanies::searchWithoutSearchObject()
{
    InstallationSearch installations([] { return ObjectRef{}; });
    QVERIFY_THROWS_EXCEPTION(basic::RuntimeError, installations.GetVorlenPath());
    // Stop and its report still work: they run inside button handlers.
    installations.stop();
    QVERIFY(installations.stopRequested());
    forms::ScopedScriptedMessages scripted;
    installations.reportCanceled();
    QVERIFY(!installations.stopRequested());
    QCOMPARE(int(scripted.service().shown().size()), 1);
}

QTEST_GUILESS_MAIN(tst_setupcompanies)
#include "tst_setupcompanies.moc"
