// Stage one and the connection against the package stand-in: its engine library,
// registered into this test's hives, and a company made by its tool.
#include "tests/import/ImportHarness.h"

#include "app/import/StageOne.h"
#include "app/import/VorlenConnection.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/forms/MessageService.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

QByteArray run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitCode();
    return p.readAllStandardOutput();
}

struct RealCompany
{
    explicit RealCompany(ImportHarness& h) : harness(h), folder(h.dir.filePath(QStringLiteral("real")))
    {
        int code = -1;
        run(BinDir + QStringLiteral("/vorlentool"),
            {QStringLiteral("create"), QStringLiteral(QUILLAR_TEST_DATA "/import/company.json"), folder},
            &code);
        created = code == 0;
        h.setSetting(QStringLiteral("VorlenDataPath"), folder);
        h.setSetting(QStringLiteral("VorlenPassword"), QStringLiteral("secret"));
        h.context.createEngine = [](const QString& id) { return automation::createObject(id); };
    }
    QByteArray listing() const
    {
        return run(BinDir + QStringLiteral("/vorlentool"), {QStringLiteral("list"), folder});
    }

    ImportHarness& harness;
    QString folder;
    bool created = false;
};

} // namespace

class TestRealPackage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(BinDir + QStringLiteral("/vdo/vlvdoengine230.dll")))
            QSKIP("the package stand-in is not built");
        for (const char* library : {"vlvdoengine230.dll", "VdoEng100.dll"}) {
            int code = -1;
            run(BinDir + QStringLiteral("/regsvr"),
                {BinDir + QStringLiteral("/vdo/") + QLatin1String(library), QStringLiteral("/s")}, &code);
            QCOMPARE(code, 0);
        }
    }

    void cleanup() { qunsetenv("VORLEN_FAULTS"); }

    void connect_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("message");
        QTest::addRow("V23 connects") << "V23"
                                      << "secret" << QByteArray() << true << QString();
        QTest::addRow("V10 connects") << "V10"
                                      << "secret" << QByteArray() << true << QString();
        QTest::addRow("wrong password is refused silently") << "V23"
                                                            << "wrong" << QByteArray() << false << QString();
        QTest::addRow("Connect raising")
            << "V23"
            << "secret" << QByteArray("connect_raise") << false
            << "Connect failed (fault injected) . Enter correct Vorlen login in settings.";
    }

    void connect()
    {
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(QByteArray, faults);
        QFETCH(bool, connected);
        QFETCH(QString, message);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        RealCompany company(h);
        QVERIFY(company.created);
        h.setSetting(QStringLiteral("VorlenPassword"), password);
        h.window.corvelVersion = code;
        if (!faults.isEmpty())
            qputenv("VORLEN_FAULTS", faults);

        QCOMPARE(importer::ConnectToVorlen(h.context), connected);
        QCOMPARE(h.context.state.package.VdoConnected, connected);
        QCOMPARE(h.commands.size(), size_t(1));
        QCOMPARE(h.commands[0].second.value(0),
                 h.context.programFolder + QStringLiteral("/vdo/") + importer::engineLibraryFor(code));
        if (connected)
            QCOMPARE(h.window.version, QStringLiteral("Aldwick"));
        if (message.isEmpty()) {
            QVERIFY(boxes.service().shown().empty());
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text, message);
        }
        importer::DisconnectFromVorlen(h.context);
        QVERIFY(!h.context.state.package.VdoConnected);
    }

    void stageOneWalksAndPostsNothing()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        RealCompany company(h);
        QVERIFY(company.created);
        const QByteArray before = company.listing();
        h.writeLayout({"Transaction Type", "Account Reference", "Transaction Date", "Order Number"},
                      {"Account Reference"});
        h.writeImport("I,C001,01/12/2026,1\r\nI,C001,01/12/2026,2\r\nI,C002,01/12/2026,3\r\n");
        h.context.state.pass.StageOneCompleted = true;
        importer::ValidateImportFile(h.context, QStringLiteral("frmerrlog"), QStringLiteral("validate"));
        QVERIFY(boxes.service().shown().empty());
        QCOMPARE(h.log.text, QString());
        QVERIFY(h.context.state.pass.StageOneCompleted);
        QCOMPARE(h.context.state.pass.StockUnitDP, 2.0);
        QCOMPARE(h.context.state.pass.StockQtyDP, 3.0);
        QCOMPARE(h.context.state.line.TotalRows, 4);
        importer::DisconnectFromVorlen(h.context);
        QCOMPARE(company.listing(), before);
    }

    void badInputLeavesTheCompanyAlone()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        RealCompany company(h);
        QVERIFY(company.created);
        const QByteArray before = company.listing();
        QFile setup(company.folder + QStringLiteral("/ACCDATA/setup.dta"));
        QVERIFY(setup.open(QIODevice::ReadOnly));
        const QByteArray setupBytes = setup.readAll();
        setup.close();
        h.setSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("1"));
        h.writeLayout({"Transaction Type", "Account Reference", "Transaction Date", "Order Number"},
                      {"Account Reference"});
        static const char nul[] = "I,C001,\0\0,1\r\n\0\0\0,,,\r\n\x01\xff,\xfe,\x80,\r\n";
        h.writeImport(QByteArray(nul, sizeof(nul) - 1) + QByteArray(100000, 'z') + "\r\n");
        h.context.state.pass.StageOneCompleted = true;
        importer::ValidateImportFile(h.context, QStringLiteral("frmmain"), QStringLiteral("validate"));
        QVERIFY(!h.context.state.pass.StageOneCompleted);
        QCOMPARE(h.errors.rows.size(), size_t(1));
        QCOMPARE(h.errors.rows[0].lineNo, QStringLiteral("4"));
        QCOMPARE(company.listing(), before);
        QVERIFY(setup.open(QIODevice::ReadOnly));
        QCOMPARE(setup.readAll(), setupBytes);
    }
};

int runRealPackageTests(int argc, char** argv)
{
    TestRealPackage t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_RealPackage.moc"
