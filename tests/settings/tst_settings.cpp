#include "platform/registry/RegistryStore.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace settings;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void freshStoreYieldsEachReadersDefault();
    void missingKeyYieldsTheCallersDefault_data();
    void missingKeyYieldsTheCallersDefault();
    void alternateSpellingsFindTheSameValue_data();
    void alternateSpellingsFindTheSameValue();
    void valuesAreKeptAsTyped_data();
    void valuesAreKeptAsTyped();
    void storedUnderTheProgramSettingsKey();
    void otherApplicationsAndSectionsAreSeparate();
    void saveFailsWhenTheStoreCannotBeWritten();
    void corruptUserHiveYieldsDefaultsAndIsKept();
    void emptyNamesAreRefused();
    void keyTableListsEveryKeyOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_user;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_user = m_dir->filePath(QStringLiteral("config/quillar/user.hive"));
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir->filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_user));
}

void TestSettings::cleanup()
{
    if (QFileInfo::exists(m_user))
        QFile::setPermissions(m_user, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_dir.reset();
}

void TestSettings::freshStoreYieldsEachReadersDefault()
{
    for (const KeyInfo& info : knownKeys())
        QCOMPARE(readSetting(QLatin1String(info.key), QLatin1String(info.defaultValue)),
                 QLatin1String(info.defaultValue));
    QCOMPARE(readSetting(QStringLiteral("ImportPath")), QString());
    // Reading creates nothing.
    QVERIFY(!QFileInfo::exists(m_user));
}

void TestSettings::missingKeyYieldsTheCallersDefault_data()
{
    QTest::addColumn<QString>("defaultValue");
    QTest::addRow("zero") << QStringLiteral("0");
    QTest::addRow("empty") << QString();
    QTest::addRow("text") << QStringLiteral("C:\\Import");
}

void TestSettings::missingKeyYieldsTheCallersDefault()
{
    QFETCH(QString, defaultValue);
    QVERIFY(writeSetting(QStringLiteral("ImportHeaders"), QStringLiteral("1"))); // the section exists
    QCOMPARE(readSetting(QStringLiteral("CheckFileFormat"), defaultValue), defaultValue);
    QCOMPARE(GetSetting(QStringLiteral("QUILLAR"), QStringLiteral("Other"), QStringLiteral("ImportHeaders"),
                        defaultValue),
             defaultValue);
}

void TestSettings::alternateSpellingsFindTheSameValue_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("read");
    QTest::addRow("Checkcashwithinvoice read by the form") << "Checkcashwithinvoice"
                                                           << "CheckCashWithInvoice";
    QTest::addRow("Checkcashwithinvoice read by the import") << "Checkcashwithinvoice"
                                                             << "CheckCashwithinvoice";
    QTest::addRow("Checkfcprice read by the form") << "Checkfcprice"
                                                   << "CheckFcPrice";
    QTest::addRow("Checkfcprice read by the import") << "Checkfcprice"
                                                     << "checkfcprice";
    QTest::addRow("TakeVorlenPriceIfPriceZEro") << "TakeVorlenPriceIfPriceZEro"
                                                << "TakeVorlenPriceIfPriceZero";
    QTest::addRow("ImportTransno read by the form") << "ImportTransno"
                                                    << "Importtransno";
    QTest::addRow("ImportTransno read by the import") << "ImportTransno"
                                                      << "importtransno";
    QTest::addRow("BatchErrorlogPath") << "BatchErrorlogPath"
                                       << "BatchErrorLogPath";
    QTest::addRow("pellmoorconfigdir read by Save") << "pellmoorconfigdir"
                                                    << "Pellmoorconfigdir";
}

void TestSettings::alternateSpellingsFindTheSameValue()
{
    QFETCH(QString, saved);
    QFETCH(QString, read);
    QVERIFY(findKnownKey(saved));
    QCOMPARE(findKnownKey(read), findKnownKey(saved));

    QVERIFY(writeSetting(saved, QStringLiteral("1")));
    QCOMPARE(readSetting(read, QStringLiteral("0")), QStringLiteral("1"));

    // A write in the other spelling replaces the same value; the saved spelling stays.
    QVERIFY(writeSetting(read, QStringLiteral("0")));
    QCOMPARE(readSetting(saved, QStringLiteral("x")), QStringLiteral("0"));
    std::optional<registry::Key> key;
    QCOMPARE(registry::openKey(registry::Hive::CurrentUser,
                               settingsKeyPath(QLatin1String(ApplicationName), QLatin1String(SectionName)),
                               registry::Access::Read, key),
             registry::Success);
    QCOMPARE(key->valueNames(), QStringList{saved});
}

void TestSettings::valuesAreKeptAsTyped_data()
{
    QTest::addColumn<QString>("value");
    QTest::addRow("blanks around a path are not trimmed") << QStringLiteral("  C:\\Data\\Co 1  ");
    QTest::addRow("empty text is a value, not a missing key") << QString();
    QTest::addRow("interval of 1.5 minutes") << QStringLiteral("90000");
    QTest::addRow("commas, quotes and accents") << QStringLiteral("a,\"b\";\u00e9");
}

void TestSettings::valuesAreKeptAsTyped()
{
    QFETCH(QString, value);
    QVERIFY(writeSetting(QStringLiteral("VorlenDataPath"), value));
    QCOMPARE(readSetting(QStringLiteral("vorlendatapath"), QStringLiteral("default")), value);
}

void TestSettings::storedUnderTheProgramSettingsKey()
{
    QVERIFY(writeSetting(QStringLiteral("BatchInterval"), QStringLiteral("300000")));
    std::optional<registry::Key> key;
    QCOMPARE(registry::openKey(registry::Hive::CurrentUser,
                               QStringLiteral("Software\\VB and VBA Program Settings\\QUILLAR\\Settings"),
                               registry::Access::Read, key),
             registry::Success);
    registry::Value v;
    QCOMPARE(key->queryValue(QStringLiteral("BatchInterval"), v), registry::Success);
    QCOMPARE(v.type, registry::ValueType::String);
    QCOMPARE(v.string, QStringLiteral("300000"));
    // Settings live in the user hive only.
    QVERIFY(!QFileInfo::exists(registry::hivePath(registry::Hive::LocalMachine)));
}

void TestSettings::otherApplicationsAndSectionsAreSeparate()
{
    QVERIFY(SaveSetting(QStringLiteral("QUILLAR"), QStringLiteral("Settings"), QStringLiteral("Key"),
                        QStringLiteral("a")));
    QVERIFY(SaveSetting(QStringLiteral("QUILLAR"), QStringLiteral("Layouts"), QStringLiteral("Key"),
                        QStringLiteral("b")));
    QVERIFY(SaveSetting(QStringLiteral("Other"), QStringLiteral("Settings"), QStringLiteral("Key"),
                        QStringLiteral("c")));
    QCOMPARE(readSetting(QStringLiteral("Key")), QStringLiteral("a"));
    QCOMPARE(GetSetting(QStringLiteral("quillar"), QStringLiteral("LAYOUTS"), QStringLiteral("key")),
             QStringLiteral("b"));
    QCOMPARE(GetSetting(QStringLiteral("Other"), QStringLiteral("Settings"), QStringLiteral("Key")),
             QStringLiteral("c"));
}

void TestSettings::saveFailsWhenTheStoreCannotBeWritten()
{
    QVERIFY(writeSetting(QStringLiteral("VorlenUsername"), QStringLiteral("manager")));
    const QByteArray before = readAll(m_user);
    QVERIFY(QFile::setPermissions(m_user, QFileDevice::ReadOwner));

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("VorlenUsername was not saved.*read-only")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("VorlenPassword was not saved.*read-only")));
    QVERIFY(!writeSetting(QStringLiteral("VorlenUsername"), QStringLiteral("other")));
    QVERIFY(!writeSetting(QStringLiteral("VorlenPassword"), QStringLiteral("secret")));
    QCOMPARE(readAll(m_user), before);
    // Reading still works.
    QCOMPARE(readSetting(QStringLiteral("VorlenUsername")), QStringLiteral("manager"));
}

void TestSettings::corruptUserHiveYieldsDefaultsAndIsKept()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_user).absolutePath()));
    const QByteArray corrupt("{ \"format\": \"quillar-registry-hive\", \"version\": 1, \"keys\": ");
    {
        QFile f(m_user);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(corrupt);
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("corrupt")));
    QCOMPARE(readSetting(QStringLiteral("ImportHeaders"), QStringLiteral("0")), QStringLiteral("0"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ImportHeaders.*corrupt")));
    QVERIFY(!writeSetting(QStringLiteral("ImportHeaders"), QStringLiteral("1")));
    QCOMPARE(readAll(m_user), corrupt);
}

void TestSettings::emptyNamesAreRefused()
{
    QVERIFY(!SaveSetting(QString(), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("v")));
    QVERIFY(!SaveSetting(QStringLiteral("QUILLAR"), QString(), QStringLiteral("Key"), QStringLiteral("v")));
    QVERIFY(!writeSetting(QString(), QStringLiteral("v")));
    QCOMPARE(readSetting(QString(), QStringLiteral("d")), QStringLiteral("d"));
    QVERIFY(!QFileInfo::exists(m_user));
}

void TestSettings::keyTableListsEveryKeyOnce()
{
    QSet<QString> seen;
    for (const KeyInfo& info : knownKeys()) {
        const QString folded = QString::fromLatin1(info.key).toCaseFolded();
        QVERIFY2(!seen.contains(folded), info.key);
        seen.insert(folded);
        QCOMPARE(findKnownKey(QString::fromLatin1(info.key).toUpper()), &info);
    }
    QCOMPARE(findKnownKey(QStringLiteral("NoSuchKey")), nullptr);
    // The check-box keys read "0" on a fresh store, the text keys empty.
    QCOMPARE(QLatin1String(findKnownKey(QStringLiteral("iors"))->defaultValue), QLatin1String("0"));
    QCOMPARE(QLatin1String(findKnownKey(QStringLiteral("BatchInterval"))->defaultValue), QLatin1String(""));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
