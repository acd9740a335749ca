// The splash and the About box: their texts, the splash's pause, the About box's
// system-information tool found through the two registry values.
#include "app/session/ProgramSession.h"
#include "tests/support/RecordedSleeps.h"
#include "app/setup/frmAbout.h"
#include "ui_frmAbout.h"
#include "app/setup/frmSplash.h"
#include "ui_frmSplash.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/ProgramStarter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <vector>

using forms::DefaultInstance;

using testsupport::RecordedSleeps;

namespace {

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ToolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

void setMachineValue(const QString& key, const QString& name, const QString& value)
{
    std::optional<registry::Key> k;
    QCOMPARE(registry::createKey(registry::Hive::LocalMachine, key, k), registry::Success);
    QCOMPARE(k->setValue(name, registry::Value::fromString(value)), registry::Success);
}

} // namespace

class TestSplashAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        DefaultInstance<frmSplash>::unload();
        DefaultInstance<frmAbout>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        registry::deleteKey(registry::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft"));
    }

    void splashTexts()
    {
        RecordedSleeps sleeps;
        frmSplash& splash = DefaultInstance<frmSplash>::get();
        QCOMPARE(splash.m_ui->lblVersion->text(), session::ProgramSession::versionText());
        QVERIFY(splash.m_ui->lblVersion->text().startsWith(QStringLiteral("Version ")));
        QCOMPARE(splash.m_ui->lblProductName->text(), QStringLiteral("Quillar"));
        QCOMPARE(splash.m_ui->Label1->text(), QStringLiteral("&Close"));
        QCOMPARE(splash.m_ui->Label5->text(),
                 QStringLiteral("Compatible with Vorlen Corvel Accounts v10 through to Vorlen Accounts 2016"));
        QCOMPARE(splash.m_ui->Frame2->title(), QStringLiteral("WARNING"));
        QCOMPARE(splash.m_ui->Label6->text(),
                 QStringLiteral("Do not upgrade beyond Vorlen Accounts 2016 without contacting Pellmoor."));
        QCOMPARE(splash.UnloadDelay, 1000);
    }

    void splashPause_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("pause");
        QTest::addRow("unloaded by the caller") << "unload" << 1000;
        QTest::addRow("Esc") << "Esc" << 1000;
        QTest::addRow("Close clicked: no pause") << "Close" << 0;
        QTest::addRow("Close by its key: no pause") << "Alt+C" << 0;
    }

    // Unloading the splash pauses for UnloadDelay while it stays on screen.
    void splashPause()
    {
        QFETCH(QString, how);
        QFETCH(int, pause);
        RecordedSleeps sleeps;
        frmSplash& splash = DefaultInstance<frmSplash>::get();
        bool visibleDuringPause = false;
        forms::setSleepFunction([&](int32_t ms) {
            sleeps.sleeps.push_back(ms);
            visibleDuringPause = splash.isVisible();
        });
        splash.show();
        if (how == QLatin1String("unload"))
            DefaultInstance<frmSplash>::unload();
        else if (how == QLatin1String("Esc"))
            QTest::keyClick(&splash, Qt::Key_Escape);
        else if (how == QLatin1String("Alt+C"))
            QTest::keyClick(&splash, Qt::Key_C, Qt::AltModifier);
        else
            QTest::mouseClick(splash.m_ui->Label1, Qt::LeftButton);
        QCOMPARE(sleeps.sleeps, std::vector<int32_t>{pause});
        QVERIFY(visibleDuringPause);
        QVERIFY(!DefaultInstance<frmSplash>::isLoaded());
    }

    // The contact lines cannot be edited.
    void splashContactLines()
    {
        RecordedSleeps sleeps;
        frmSplash& splash = DefaultInstance<frmSplash>::get();
        splash.show();
        QLineEdit* boxes[] = {splash.m_ui->Text1, splash.m_ui->Text2, splash.m_ui->Text3, splash.m_ui->Text4};
        for (int i = 0; i < 4; ++i) {
            QLineEdit* box = boxes[i];
            QCOMPARE(box->text(), frmSplash::contactLine(i + 1));
            QVERIFY(!box->text().isEmpty());
            QTest::keyClicks(box, QStringLiteral("xyz"));
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), frmSplash::contactLine(i + 1));
        }
    }

    void aboutTexts()
    {
        frmAbout& about = DefaultInstance<frmAbout>::get();
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quillar"));
        QCOMPARE(about.m_ui->lblTitle->text(), QStringLiteral("Quillar"));
        QCOMPARE(about.m_ui->lblVersion->text(), session::ProgramSession::versionText());
        QCOMPARE(about.m_ui->cmdSysInfo->text(), QStringLiteral("&System Info..."));
    }

    void aboutCloses_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::addRow("OK") << false;
        QTest::addRow("Esc") << true;
    }

    void aboutCloses()
    {
        QFETCH(bool, escape);
        frmAbout& about = DefaultInstance<frmAbout>::get();
        about.show();
        if (escape)
            QTest::keyClick(&about, Qt::Key_Escape);
        else
            QTest::mouseClick(about.m_ui->cmdOK, Qt::LeftButton);
        QVERIFY(!DefaultInstance<frmAbout>::isLoaded());
    }

    void systemInformation_data()
    {
        QTest::addColumn<QString>("pathValue");   // "PATH" of the first key; "-" none
        QTest::addColumn<QString>("folderValue"); // "MSINFO" of the second key; "-" none
        QTest::addColumn<bool>("toolInFolder");
        QTest::addColumn<QString>("started");     // "path", "folder" or "" (the message)
        QTest::addRow("PATH named") << "/opt/sysinfo/show-system" << "-" << false << "path";
        QTest::addRow("PATH wins over the folder") << "/opt/sysinfo/show-system" << "{folder}" << true << "path";
        QTest::addRow("folder with the tool") << "-" << "{folder}" << true << "folder";
        QTest::addRow("folder without the tool") << "-" << "{folder}" << false << "";
        QTest::addRow("neither value") << "-" << "-" << false << "";
    }

    // System Info: the program named by "PATH", else MSINFO32.EXE in the folder named
    // by "MSINFO", else the message.
    void systemInformation()
    {
        QFETCH(QString, pathValue);
        QFETCH(QString, folderValue);
        QFETCH(bool, toolInFolder);
        QFETCH(QString, started);
        QTemporaryDir folder;
        if (toolInFolder) {
            QFile tool(folder.filePath(QStringLiteral("msinfo32.exe")));
            QVERIFY(tool.open(QIODevice::WriteOnly));
        }
        if (pathValue != QLatin1String("-"))
            setMachineValue(ToolKey, QStringLiteral("PATH"), pathValue);
        if (folderValue != QLatin1String("-"))
            setMachineValue(ToolFolderKey, QStringLiteral("MSINFO"), folder.path());
        forms::ScopedScriptedMessages boxes;
        shell::ScopedRecordingProgramStarter starter;

        frmAbout& about = DefaultInstance<frmAbout>::get();
        about.show();
        QTest::mouseClick(about.m_ui->cmdSysInfo, Qt::LeftButton);

        const auto& startedPrograms = starter.starter().started();
        if (started.isEmpty()) {
            QCOMPARE(startedPrograms.size(), size_t(0));
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown().front().text, Unavailable);
            QCOMPARE(boxes.service().shown().front().title, QStringLiteral("Quillar"));
            return;
        }
        QCOMPARE(boxes.service().shown().size(), size_t(0));
        QCOMPARE(startedPrograms.size(), size_t(1));
        QCOMPARE(startedPrograms.front().program, started == QLatin1String("path")
                                                      ? pathValue
                                                      : folder.filePath(QStringLiteral("msinfo32.exe")));
    }

    // A program that cannot be started gives the message too.
    void systemInformationNotStarted()
    {
        setMachineValue(ToolKey, QStringLiteral("PATH"), QStringLiteral("/nonexistent/sysinfo"));
        forms::ScopedScriptedMessages boxes;
        shell::ScopedRecordingProgramStarter starter;
        starter.starter().result = false;
        DefaultInstance<frmAbout>::get().StartSysInfo();
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QCOMPARE(boxes.service().shown().front().text, Unavailable);
    }

    void getKeyValue_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("found");
        QTest::addRow("1023 characters fit with the NUL") << 1023 << true;
        QTest::addRow("1024 characters do not") << 1024 << false;
    }

    void getKeyValue()
    {
        QFETCH(int, length);
        QFETCH(bool, found);
        const QString value(length, QLatin1Char('a'));
        setMachineValue(ToolKey, QStringLiteral("PATH"), value);
        QString read = QStringLiteral("before");
        QCOMPARE(frmAbout::GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, ToolKey, QStringLiteral("PATH"), read), found);
        QCOMPARE(read, found ? value : QString());

        read = QStringLiteral("before");
        QVERIFY(!frmAbout::GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, ToolKey, QStringLiteral("Missing"), read));
        QCOMPARE(read, QString());
        QVERIFY(!frmAbout::GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Nowhere"),
                                       QStringLiteral("PATH"), read));
    }
};

QTEST_MAIN(TestSplashAbout)
#include "tst_splashabout.moc"
