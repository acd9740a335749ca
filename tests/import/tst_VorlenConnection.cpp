#include "tests/import/ImportHarness.h"

#include "app/import/VorlenConnection.h"

#include "platform/forms/MessageService.h"

#include <QFile>
#include <QTest>

using importer::ConnectToVorlen;
using importer::DisconnectFromVorlen;
using importer::ShowVorlenVersion;

class TestVorlenConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionCode_data()
    {
        QTest::addColumn<QString>("dataVersion");
        QTest::addColumn<QString>("caption"); // "(unchanged)" when the caption stays
        QTest::addRow("23") << "23.0"
                            << "V23";
        QTest::addRow("10") << "10.2"
                            << "V10";
        QTest::addRow("14") << "14"
                            << "V14";
        QTest::addRow("9.") << "9.1"
                            << "V9";
        QTest::addRow("8.") << "8.0"
                            << "V8";
        QTest::addRow("empty") << ""
                               << "Vorlen Version not recognised - check Vorlen data path";
        QTest::addRow("24 is not known") << "24.0"
                                         << "(unchanged)";
        QTest::addRow("9 without point") << "90"
                                         << "(unchanged)";
    }

    void versionCode()
    {
        QFETCH(QString, dataVersion);
        QFETCH(QString, caption);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.window.corvelVersion = QStringLiteral("before");
        h.settingsForm.hiddenVersion = dataVersion;
        ShowVorlenVersion(h.context, h.companyDir() + QStringLiteral("\\accdata"));
        QCOMPARE(h.window.corvelVersion,
                 caption == QLatin1String("(unchanged)") ? QStringLiteral("before") : caption);
        QCOMPARE(h.window.coname, QStringLiteral("Demo Ltd"));
        QVERIFY(boxes.service().shown().empty());
    }

    void engineLibraries_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("library");
        QTest::addRow("V10") << "V10"
                             << "VdoEng100.dll";
        QTest::addRow("V13") << "V13"
                             << "VdoEng130.dll";
        QTest::addRow("V14 spelled as shipped") << "V14"
                                                << "vlvdo0engine140.dll";
        QTest::addRow("V15") << "V15"
                             << "vlvdoengine150.dll";
        QTest::addRow("V23") << "V23"
                             << "vlvdoengine230.dll";
        QTest::addRow("V9 has none") << "V9"
                                     << "";
        QTest::addRow("not recognised has none") << "Vorlen Version not recognised - check Vorlen data path"
                                                 << "";
    }

    void engineLibraries()
    {
        QFETCH(QString, code);
        QFETCH(QString, library);
        QCOMPARE(importer::engineLibraryFor(code), library);
    }

    void connectEachVersion_data()
    {
        QTest::addColumn<QString>("code");
        for (int v = 10; v <= 23; ++v)
            QTest::addRow("V%d", v) << QStringLiteral("V%1").arg(v);
    }

    void connectEachVersion()
    {
        QFETCH(QString, code);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.window.corvelVersion = code;
        bool engineBeforeCommand = false;
        h.context.createEngine = [&](const QString& id) {
            engineBeforeCommand = h.commands.empty();
            return basic::ObjectRef(h.package.makeEngine(id));
        };
        QVERIFY(ConnectToVorlen(h.context));
        QVERIFY(h.context.state.package.VdoConnected);
        QCOMPARE(h.package.enginesMade, QStringList{importer::engineClassFor(code)});
        QCOMPARE(h.commands.size(), size_t(1));
        QCOMPARE(h.commands[0].first, h.context.programFolder + QStringLiteral("/regsvr"));
        QCOMPARE(h.commands[0].second, (QStringList{h.context.programFolder + QStringLiteral("/vdo/") +
                                                        importer::engineLibraryFor(code),
                                                    QStringLiteral("/s")}));
        // The oldest engine is created before its registration starts.
        QCOMPARE(engineBeforeCommand, code == QLatin1String("V10"));
        QVERIFY(h.package.log.contains(QStringLiteral("Connect ") + h.companyDir() +
                                       QStringLiteral("\\accdata")));
        QCOMPARE(h.window.version, QStringLiteral("Aldwick Plus"));
        QVERIFY(boxes.service().shown().empty());
    }

    void edition_data()
    {
        QTest::addColumn<int>("programType");
        QTest::addColumn<QString>("caption");
        QTest::addRow("2") << 2 << "Aldwick Plus";
        QTest::addRow("4") << 4 << "Aldwick";
        QTest::addRow("1") << 1 << "Ferriby";
        QTest::addRow("other leaves it") << 3 << "as before";
    }

    void edition()
    {
        QFETCH(int, programType);
        QFETCH(QString, caption);
        ImportHarness h;
        h.window.version = QStringLiteral("as before");
        h.package.programType = programType;
        QVERIFY(ConnectToVorlen(h.context));
        QCOMPARE(h.window.version, caption);
    }

    void alreadyConnected()
    {
        ImportHarness h;
        QVERIFY(ConnectToVorlen(h.context));
        h.window.coname.clear();
        h.settingsForm.hiddenVersion = QStringLiteral("22.0");
        QVERIFY(ConnectToVorlen(h.context));
        QCOMPARE(h.package.enginesMade.size(), 1);
        QCOMPARE(h.commands.size(), size_t(1));
        QCOMPARE(h.package.count(QStringLiteral("Workspaces.Add")), 1);
        QCOMPARE(h.window.corvelVersion, QStringLiteral("V22"));
        QCOMPARE(h.window.coname, QStringLiteral("Demo Ltd"));
    }

    void emptyCodeCreatesNothing()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.window.corvelVersion.clear();
        QVERIFY(!ConnectToVorlen(h.context));
        QVERIFY(h.package.enginesMade.isEmpty());
        QVERIFY(h.commands.empty());
        QVERIFY(boxes.service().shown().empty());
    }

    void codeWithoutEngine_data()
    {
        QTest::addColumn<bool>("hadEngine");
        QTest::addRow("no engine yet: error message") << false;
        QTest::addRow("earlier engine reused") << true;
    }

    void codeWithoutEngine()
    {
        QFETCH(bool, hadEngine);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        if (hadEngine)
            h.context.state.package.VdoEngine = h.package.makeEngine(QStringLiteral("earlier"));
        h.window.corvelVersion = QStringLiteral("V9");
        QCOMPARE(ConnectToVorlen(h.context), hadEngine);
        QVERIFY(h.commands.empty());
        QCOMPARE(boxes.service().shown().size(), size_t(hadEngine ? 0 : 1));
        QCOMPARE(h.context.state.package.VdoConnected, hadEngine);
    }

    void connectRefused_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addRow("interactive") << false;
        QTest::addRow("batch") << true;
    }

    void connectRefused()
    {
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.context.state.batch.BatchRunning = batch;
        h.package.connectResult = FakePackage::ConnectResult::False;
        QVERIFY(!ConnectToVorlen(h.context));
        QVERIFY(!h.context.state.package.VdoConnected);
        QVERIFY(boxes.service().shown().empty());
        QVERIFY(h.context.state.batch.BatchErrors.empty());
        QCOMPARE(h.window.corvelVersion, QStringLiteral("V23")); // version still shown
    }

    void connectRaises_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addRow("interactive: message box") << false;
        QTest::addRow("batch: batch error list, no box") << true;
    }

    void connectRaises()
    {
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.context.state.batch.BatchRunning = batch;
        h.package.connectResult = FakePackage::ConnectResult::Raise;
        h.window.coname = QStringLiteral("untouched");
        QVERIFY(!ConnectToVorlen(h.context));
        QVERIFY(!h.context.state.package.VdoConnected);
        const QString text =
            QStringLiteral("Invalid user name or password . Enter correct Vorlen login in settings.");
        if (batch) {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.context.state.batch.BatchErrors, std::vector<QString>{text});
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text, text);
            QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Quillar"));
            QCOMPARE(boxes.service().shown()[0].buttons(), int(forms::OKOnly));
        }
        QCOMPARE(h.window.coname, QStringLiteral("untouched")); // version display not refreshed
    }

    void errorAfterConnectClosesTheConnection()
    {
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.package.programTypeRaises = true;
        QVERIFY(!ConnectToVorlen(h.context));
        QVERIFY(!h.context.state.package.VdoConnected);
        QVERIFY(!h.package.connected);
        QCOMPARE(h.package.count(QStringLiteral("Disconnect")), 1);
        QVERIFY(!h.context.state.package.VdoWorkspace);
        QCOMPARE(boxes.service().shown().size(), size_t(1));
    }

    void disconnect()
    {
        ImportHarness h;
        DisconnectFromVorlen(h.context); // nothing open: nothing happens
        QCOMPARE(h.package.count(QStringLiteral("Disconnect")), 0);
        QVERIFY(ConnectToVorlen(h.context));
        DisconnectFromVorlen(h.context);
        QVERIFY(!h.context.state.package.VdoConnected);
        QVERIFY(!h.context.state.package.VdoWorkspace);
        QVERIFY(h.context.state.package.VdoEngine);
        QCOMPARE(h.package.count(QStringLiteral("Disconnect")), 1);
    }

    void missingSetupDta_data()
    {
        QTest::addColumn<QString>("datapathBox");
        QTest::addColumn<bool>("batch");
        QTest::addRow("data path filled") << "somewhere" << false;
        QTest::addRow("data path filled, batch") << "somewhere" << true;
        QTest::addRow("data path empty: silent") << "" << false;
    }

    void missingSetupDta()
    {
        QFETCH(QString, datapathBox);
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.context.state.batch.BatchRunning = batch;
        QVERIFY(QFile::remove(h.companyDir() + QStringLiteral("/ACCDATA/setup.dta")));
        h.settingsForm.datapath = datapathBox;
        h.window.corvelVersion = QStringLiteral("V23");
        h.window.coname = QStringLiteral("before");
        ShowVorlenVersion(h.context, h.companyDir() + QStringLiteral("\\accdata"));
        QCOMPARE(h.window.coname, QStringLiteral("before"));
        if (datapathBox.isEmpty()) {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.window.corvelVersion, QStringLiteral("V23"));
            return;
        }
        const QString text = QStringLiteral("Vorlen data not found - check settings ");
        if (batch) {
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.context.state.batch.BatchErrors, std::vector<QString>{text});
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].text, text);
            QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Quillar"));
        }
        QCOMPARE(h.settingsForm.datapath, QString());
        QCOMPARE(h.window.corvelVersion,
                 QStringLiteral("Unable to read version information please check datapath in settings"));
    }
};

int runVorlenConnectionTests(int argc, char** argv)
{
    TestVorlenConnection t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_VorlenConnection.moc"
