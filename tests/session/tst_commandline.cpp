// The program's command line is read before any form loads: --version and --help
// answer and end, an unknown option ends the program with a message, and none of
// them touches the settings (the login form's load would store the configuration
// folder).

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsEndBeforeAnyForm_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addRow("version") << "--version" << 0 << "Quillar " QUILLAR_EXPECTED_VERSION;
        QTest::addRow("help") << "--help" << 0 << "--version";
        QTest::addRow("unknown option") << "--foo" << 1 << "Unknown option 'foo'.";
    }

    void optionsEndBeforeAnyForm()
    {
        QFETCH(QString, option);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLAR_USER_HIVE"), dir.filePath(QStringLiteral("user.hive")));
        env.insert(QStringLiteral("QUILLAR_MACHINE_HIVE"), dir.filePath(QStringLiteral("machine.hive")));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUILLAR_PATH), {option});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString said = QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
        QVERIFY2(said.contains(output), qPrintable(said));
        QVERIFY2(!QFileInfo::exists(dir.filePath(QStringLiteral("user.hive"))), "a form was loaded");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
