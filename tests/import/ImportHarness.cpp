#include "tests/import/ImportHarness.h"

#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTest>

ImportHarness::ImportHarness() : context(window, log, errors, settingsForm)
{
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    QDir(dir.path()).mkpath(QStringLiteral("company/ACCDATA"));
    writeFile(QStringLiteral("company/ACCDATA/setup.dta"), QByteArray("23\0Demo Ltd", 11));
    context.createEngine = [this](const QString& id) { return basic::ObjectRef(package.makeEngine(id)); };
    context.startCommand = [this](const QString& program, const QStringList& args) {
        commands.emplace_back(program, args);
    };
    context.programFolder = dir.filePath(QStringLiteral("bin"));
    window.corvelVersion = QStringLiteral("V23");
    settingsForm.datapath = companyDir();

    setSetting(QStringLiteral("pellmoorconfigdir"), QStringLiteral(" ") + configDir() + QStringLiteral(" "));
    setSetting(QStringLiteral("iors"), QStringLiteral("0"));
    setSetting(QStringLiteral("importtransno"), QStringLiteral("0"));
    setSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("0"));
    setSetting(QStringLiteral("ImportHeaders"), QStringLiteral("0"));
    setSetting(QStringLiteral("VorlenDataPath"), companyDir());
    setSetting(QStringLiteral("VorlenUsername"), QStringLiteral("MANAGER"));
    setSetting(QStringLiteral("VorlenPassword"), QString());
}

void ImportHarness::writeLayout(const QStringList& columns, const QStringList& groups)
{
    QByteArray column;
    for (int i = 0; i < 54; ++i)
        column += (i < columns.size() ? columns.at(i).toLatin1() : QByteArray()) + "\r\n";
    QByteArray group;
    for (int i = 0; i < 4; ++i)
        group += (i < groups.size() ? groups.at(i).toLatin1() : QByteArray()) + "\r\n";
    writeFile(QStringLiteral("config/qfm.cfg"), column);
    writeFile(QStringLiteral("config/qfm2.cfg"), group);
}

void ImportHarness::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString ImportHarness::writeImport(const QByteArray& bytes, const QString& name)
{
    writeFile(name, bytes);
    window.importFile = dir.filePath(name);
    return window.importFile;
}

void ImportHarness::setSetting(const QString& key, const QString& value)
{
    QVERIFY(settings::writeSetting(key, value));
}
