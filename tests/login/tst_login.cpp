// The login form as the program starts it: its load, the login against the stored
// pair, the first start, the main window's first state and the program's end.
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/RecordedSleeps.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "app/mainwindow/password/LoginPassword.h"
#include "app/setup/frmLogin.h"
#include "ui_frmLogin.h"
#include "app/setup/frmSettings.h"
#include "ui_frmSettings.h"
#include "app/setup/frmSplash.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/Pump.h"
#include "platform/registry/RegistryStore.h"
#include "platform/settings/SettingsStore.h"
#include "platform/widgets/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QWindow>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using forms::DefaultInstance;

using testsupport::RecordedSleeps;

namespace {

const QString LoginTitle = QStringLiteral("Quillar - Login");

void storeLogin(const QString& login, const QString& scrambledPassword)
{
    settings::writeSetting(QStringLiteral("QuillarLogin"), login);
    settings::writeSetting(QStringLiteral("QuillarPassword"), scrambledPassword);
}

QString stored(const char* key)
{
    return settings::readSetting(QLatin1String(key), QStringLiteral("(missing)"));
}

frmLogin& startProgram()
{
    frmLogin& login = DefaultInstance<frmLogin>::get();
    if (!login.isUnloaded())
        login.show();
    return login;
}

void typeAndPressOK(frmLogin& login, const QString& userName, const QString& password)
{
    login.m_ui->txtUserName->setText(userName);
    login.m_ui->txtPassword->setText(password);
    QTest::mouseClick(login.m_ui->cmdOK, Qt::LeftButton);
}

// The forms in the order their unloads begin, and "End" where the program ends.
class UnloadLog
{
public:
    UnloadLog()
    {
        m_previousObserver = forms::Form::setUnloadObserver([this](const forms::Form& form) {
            order << form.objectName();
        });
        m_previousEnd = forms::setEndFunction([this](int) { order << QStringLiteral("End"); });
    }
    ~UnloadLog()
    {
        forms::Form::setUnloadObserver(std::move(m_previousObserver));
        forms::setEndFunction(std::move(m_previousEnd));
    }
    QStringList order;

private:
    forms::Form::UnloadObserver m_previousObserver;
    forms::EndFunction m_previousEnd;
};

// The next widget Tab moves to.
QWidget* nextTabStop(QWidget* widget)
{
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!MainWindowFixture::registerLibraries())
            QSKIP("the package stand-in is not built");
    }

    void cleanup()
    {
        DefaultInstance<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void firstStart_data()
    {
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("password");
        QTest::addRow("letters and digits") << "anna" << "Secret7";
        QTest::addRow("empty password") << "anna" << "";
        QTest::addRow("user name of blanks") << "  " << "abc";
        QTest::addRow("30 characters") << "anna" << QString(30, QLatin1Char('x'));
    }

    // The splash is on screen and painted when its pause begins: the pause lets
    // nothing run, so a splash not yet painted would stay blank through it.
    void splashPaintedBeforeThePause()
    {
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin({}, {});
        frmLogin& login = startProgram();
        struct PaintWatch : QObject
        {
            int paints = 0;
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && dynamic_cast<frmSplash*>(watched) &&
                    static_cast<QWidget*>(watched)->windowHandle()->isExposed())
                    ++paints;
                return false;
            }
        } watch;
        qApp->installEventFilter(&watch);
        int paintedAtPause = -1;
        bool exposedAtPause = false;
        forms::setSleepFunction([&](int32_t ms) {
            sleeps.sleeps.push_back(ms);
            paintedAtPause = watch.paints;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (dynamic_cast<frmSplash*>(top) && top->isVisible())
                    exposedAtPause = top->windowHandle()->isExposed();
        });
        typeAndPressOK(login, QStringLiteral("manager"), QStringLiteral("secret"));
        qApp->removeEventFilter(&watch);
        QCOMPARE(sleeps.sleeps, std::vector<int32_t>{1000});
        QVERIFY(exposedAtPause);
        QVERIFY(paintedAtPause > 0);
    }

    // Nothing stored: the pair typed becomes the login (the password scrambled), and
    // the program goes on to the main window through the splash's pause.
    void firstStart()
    {
        QFETCH(QString, userName);
        QFETCH(QString, password);
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin({}, {});
        frmLogin& login = startProgram();
        QCOMPARE(login.windowTitle(), QStringLiteral("Setup Login and Password"));

        typeAndPressOK(login, userName, password);

        QCOMPARE(shownTexts(f.boxes.service()), QStringList{LoginTitle + QStringLiteral(": Setting Login and Password")});
        QCOMPARE(stored("QuillarLogin"), userName);
        QCOMPARE(stored("QuillarPassword"), password::ScrambleLoginPassword(password));
        if (!password.isEmpty())
            QVERIFY(stored("QuillarPassword") != password);
        QCOMPARE(password::UnscrambleLoginPassword(stored("QuillarPassword")), password);
        QVERIFY(!login.isVisible());
        QVERIFY(login.isFormLoaded());
        frmmain& w = DefaultInstance<frmmain>::get();
        QVERIFY(w.isVisible());
        // Until the next start the window shows no user.
        QCOMPARE(w.m_ui->LblUserloggedin->text(), QString());
        QVERIFY(!DefaultInstance<frmSplash>::isLoaded());
        QCOMPARE(sleeps.sleeps, std::vector<int32_t>{1000});
        QVERIFY(DefaultInstance<frmErrors>::isLoaded());
        QVERIFY(DefaultInstance<FrmErrlog>::isLoaded());
        QVERIFY(!DefaultInstance<frmErrors>::get().isVisible());
        QVERIFY(!DefaultInstance<FrmErrlog>::get().isVisible());
        QCOMPARE(f.end.count(), 0);
    }

    void firstStartRefusesPasswordNotKept_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addRow("blank inside") << "pass word";
        QTest::addRow("punctuation") << "pa$$word";
        QTest::addRow("accented letter") << QStringLiteral("caf\u00e9");
        QTest::addRow("31 characters") << QString(31, QLatin1Char('x'));
    }

    // A first password the stored form would shorten used to pass once and never
    // again: it is refused with the password change's message and nothing is stored.
    void firstStartRefusesPasswordNotKept()
    {
        QFETCH(QString, password);
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin({}, {});
        frmLogin& login = startProgram();

        typeAndPressOK(login, QStringLiteral("anna"), password);

        QCOMPARE(shownTexts(f.boxes.service()), QStringList{LoginTitle + QStringLiteral(": ") +
                                                            password::passwordRuleMessage()});
        QCOMPARE(stored("QuillarLogin"), QString());
        QCOMPARE(stored("QuillarPassword"), QString());
        QVERIFY(login.isVisible());
        QVERIFY(!DefaultInstance<frmmain>::get().isVisible());

        // Another password in the same window is taken.
        f.boxes.service().clear();
        typeAndPressOK(login, QStringLiteral("anna"), QStringLiteral("Passw0rd"));
        QCOMPARE(shownTexts(f.boxes.service()), QStringList{LoginTitle + QStringLiteral(": Setting Login and Password")});
        QCOMPARE(stored("QuillarLogin"), QStringLiteral("anna"));
        QVERIFY(DefaultInstance<frmmain>::get().isVisible());
    }

    // A store that cannot be written: the first login does not pass (it used to pass
    // with nothing stored, leaving the next start a first start for anyone).
    void firstStartWithAStoreThatCannotBeWritten()
    {
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin({}, {});
        frmLogin& login = startProgram();
        const QString hive = registry::hivePath(registry::Hive::CurrentUser);
        const QFile::Permissions permissions = QFile::permissions(hive);
        QVERIFY(QFile::setPermissions(hive, QFile::ReadOwner));

        typeAndPressOK(login, QStringLiteral("anna"), QStringLiteral("Secret7"));
        QFile::setPermissions(hive, permissions);

        QCOMPARE(f.boxes.service().shown().size(), size_t(2));
        QCOMPARE(f.boxes.service().shown().at(0).text, QStringLiteral("Setting Login and Password"));
        QVERIFY(f.boxes.service().shown().at(1).text.startsWith(QLatin1String("The login could not be stored")));
        QCOMPARE(f.boxes.service().shown().at(1).title, LoginTitle);
        QVERIFY(login.isVisible());
        QVERIFY(!DefaultInstance<frmmain>::get().isVisible());
        QCOMPARE(stored("QuillarLogin"), QString());
        QCOMPARE(stored("QuillarPassword"), QString());
    }

    void emptyUserName_data()
    {
        QTest::addColumn<bool>("firstStart");
        QTest::addRow("first start") << true;
        QTest::addRow("later start") << false;
    }

    void emptyUserName()
    {
        QFETCH(bool, firstStart);
        MainWindowFixture f;
        const QString scrambled = password::ScrambleLoginPassword(QStringLiteral("Secret7"));
        storeLogin(firstStart ? QString() : QStringLiteral("anna"), firstStart ? QString() : scrambled);
        frmLogin& login = startProgram();

        typeAndPressOK(login, QString(), QStringLiteral("Secret7"));

        QCOMPARE(shownTexts(f.boxes.service()), QStringList{LoginTitle + QStringLiteral(": Please enter username")});
        QCOMPARE(stored("QuillarLogin"), firstStart ? QString() : QStringLiteral("anna"));
        QCOMPARE(stored("QuillarPassword"), firstStart ? QString() : scrambled);
        QVERIFY(login.isVisible());
    }

    void laterStart_data()
    {
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addRow("right pair") << "anna" << "Secret7" << "";
        QTest::addRow("wrong password") << "anna" << "Secret8" << "Invalid Password";
        QTest::addRow("password differing in case") << "anna" << "secret7" << "Invalid Password";
        QTest::addRow("both wrong: password first") << "bob" << "nope" << "Invalid Password";
        QTest::addRow("user name differing in case") << "Anna" << "Secret7" << "Invalid Username";
        QTest::addRow("user name with a blank") << "anna " << "Secret7" << "Invalid Username";
        QTest::addRow("user name of blanks") << "   " << "Secret7" << "Invalid Username";
    }

    // A stored login: the pair typed must match it exactly, the password checked first.
    // A failed attempt changes nothing and the next one is taken at once.
    void laterStart()
    {
        QFETCH(QString, userName);
        QFETCH(QString, password);
        QFETCH(QString, message);
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin(QStringLiteral("anna"), password::ScrambleLoginPassword(QStringLiteral("Secret7")));
        frmLogin& login = startProgram();
        QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
        QCOMPARE(DefaultInstance<frmmain>::get().m_ui->LblUserloggedin->text(), QStringLiteral("anna"));

        typeAndPressOK(login, userName, password);

        frmmain& w = DefaultInstance<frmmain>::get();
        if (message.isEmpty()) {
            QCOMPARE(shownTexts(f.boxes.service()), QStringList());
            QVERIFY(!login.isVisible());
            QVERIFY(w.isVisible());
            return;
        }
        QCOMPARE(shownTexts(f.boxes.service()), QStringList{LoginTitle + QStringLiteral(": ") + message});
        QVERIFY(login.isVisible());
        QVERIFY(!w.isVisible());
        QCOMPARE(login.m_ui->txtUserName->text(), userName);
        QCOMPARE(login.m_ui->txtPassword->text(), password);
        QCOMPARE(stored("QuillarLogin"), QStringLiteral("anna"));
        QVERIFY(sleeps.sleeps.empty());

        f.boxes.service().clear();
        typeAndPressOK(login, QStringLiteral("anna"), QStringLiteral("Secret7"));
        QCOMPARE(shownTexts(f.boxes.service()), QStringList());
        QVERIFY(w.isVisible());
    }

    void oneStoredValue_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("scrambled");
        QTest::addColumn<QString>("password");
        QTest::addRow("only the user name: the password is empty") << "anna" << "" << "";
        QTest::addRow("only the password") << "" << password::ScrambleLoginPassword(QStringLiteral("Secret7"))
                                         << "Secret7";
    }

    // One stored value is not a first start: nothing is stored, the pair is checked.
    void oneStoredValue()
    {
        QFETCH(QString, login);
        QFETCH(QString, scrambled);
        QFETCH(QString, password);
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin(login, scrambled);
        frmLogin& form = startProgram();
        QCOMPARE(form.windowTitle(), QStringLiteral("Login"));

        typeAndPressOK(form, QStringLiteral("anna"), password);

        // The password passes; the user name must match the stored one.
        QCOMPARE(shownTexts(f.boxes.service()),
                 login.isEmpty() ? QStringList{LoginTitle + QStringLiteral(": Invalid Username")} : QStringList());
        QCOMPARE(stored("QuillarLogin"), login);
        QCOMPARE(stored("QuillarPassword"), scrambled);
    }

    void missingConfigurationFolder_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addRow("folder missing") << "/nonexistent/quillar-config";
        QTest::addRow("blanks") << "   ";
    }

    // A configured folder that is missing: the message, then the program ends; the
    // main window, loaded hidden by then, is unloaded with the rest.
    void missingConfigurationFolder()
    {
        QFETCH(QString, configured);
        MainWindowFixture f;
        settings::writeSetting(QStringLiteral("pellmoorconfigdir"), configured);
        UnloadLog log;
        frmLogin& login = DefaultInstance<frmLogin>::get();

        QCOMPARE(shownTexts(f.boxes.service()),
                 QStringList{LoginTitle + QStringLiteral(": Unable to find configuration files ") + configured});
        QVERIFY(login.isUnloaded());
        QVERIFY(!DefaultInstance<frmmain>::isLoaded());
        QCOMPARE(log.order.first(), QStringLiteral("frmLogin"));
        QCOMPARE(log.order.last(), QStringLiteral("End"));
        QCOMPARE(log.order.count(QStringLiteral("End")), 1);
        QVERIFY(log.order.contains(QStringLiteral("frmmain")));
        QCOMPARE(stored("pellmoorconfigdir"), configured);
    }

    void hrnconfigBesideProgram_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addRow("made") << false;
        QTest::addRow("already there") << true;
    }

    // No configured folder: "hrnconfig" beside the program, made when missing, is
    // stored with its absolute path.
    void hrnconfigBesideProgram()
    {
        QFETCH(bool, present);
        QTemporaryDir programFolder;
        const QString config = QDir(programFolder.path()).absoluteFilePath(QStringLiteral("hrnconfig"));
        if (present) {
            QVERIFY(QDir().mkdir(config));
            QFile marker(config + QStringLiteral("/qfm.cfg"));
            QVERIFY(marker.open(QIODevice::WriteOnly));
        }
        const QString before = QDir::currentPath();
        MainWindowFixture f(1, programFolder.path());
        settings::writeSetting(QStringLiteral("pellmoorconfigdir"), QString());

        frmLogin& login = startProgram();
        QDir::setCurrent(before);

        QCOMPARE(shownTexts(f.boxes.service()), QStringList());
        QVERIFY(login.isVisible());
        QVERIFY(QFileInfo(config).isDir());
        QCOMPARE(stored("pellmoorconfigdir"), config);
        // The settings form, loaded by the main window's load before the folder was
        // stored, used to show no folder and refuse to save: it shows the folder.
        QCOMPARE(DefaultInstance<frmSettings>::get().m_ui->TxtConfigPath->text(), config);
        // What was there is kept.
        QCOMPARE(QFileInfo::exists(config + QStringLiteral("/qfm.cfg")), present);
    }

    // "hrnconfig" cannot be made (a file of that name is in the way): the load's
    // marker and the error, titled "Load", and the login window is shown all the same.
    void hrnconfigCannotBeMade()
    {
        QTemporaryDir programFolder;
        QFile inTheWay(programFolder.filePath(QStringLiteral("hrnconfig")));
        QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        inTheWay.close();
        const QString before = QDir::currentPath();
        MainWindowFixture f(1, programFolder.path());
        settings::writeSetting(QStringLiteral("pellmoorconfigdir"), QString());

        frmLogin& login = startProgram();
        QDir::setCurrent(before);

        QCOMPARE(shownTexts(f.boxes.service()),
                 QStringList{QStringLiteral("Load: hrnconfigdir: Path/File access error")});
        QCOMPARE(login.loadMarker(), QStringLiteral("hrnconfigdir:"));
        QVERIFY(login.isVisible());
        QCOMPARE(stored("pellmoorconfigdir"), QString());
        // The steps after the error are skipped: the window keeps its caption.
        QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
    }

    void mainWindowFirstState_data()
    {
        QTest::addColumn<bool>("dataPath");
        QTest::addRow("company data folder chosen") << true;
        QTest::addRow("no company data folder") << false;
    }

    // What the load sets on the main window, hidden, before the login window shows.
    void mainWindowFirstState()
    {
        QFETCH(bool, dataPath);
        MainWindowFixture f;
        if (!dataPath)
            settings::writeSetting(QStringLiteral("VorlenDataPath"), QString());
        storeLogin(QStringLiteral("anna"), password::ScrambleLoginPassword(QStringLiteral("Secret7")));

        frmLogin& login = startProgram();

        frmmain& w = DefaultInstance<frmmain>::get();
        QVERIFY(login.isVisible());
        QVERIFY(!w.isVisible());
        QCOMPARE(w.m_ui->lblTarnbyVersion->text(), session::ProgramSession::versionText());
        QVERIFY(!w.MnuFileStartImport->isEnabled());
        QVERIFY(!w.MnuFileViewErrors->isEnabled());
        QVERIFY(!w.m_ui->ErrorsFoundIMG->isHidden());
        QVERIFY(w.m_ui->NoErrorFoundIMG->isHidden());
        QVERIFY(w.m_ui->imgRed->isHidden());
        QCOMPARE(w.mnuFilenew->isEnabled(), dataPath);
        QCOMPARE(w.tbToolBar->isButtonEnabled(1), dataPath);
        QCOMPARE(w.m_ui->LblUserloggedin->text(), QStringLiteral("anna"));
        QCOMPARE(shownTexts(f.boxes.service()), QStringList());
    }

    void ending_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("order");
        const QStringList fromLogin{"frmLogin", "frmmain", "frmSettings", "End"};
        QTest::addRow("Cancel") << "Cancel" << fromLogin;
        QTest::addRow("Esc") << "Esc" << fromLogin;
        QTest::addRow("close box") << "close" << fromLogin;
        QTest::addRow("main window closed after login")
            << "main window" << QStringList{"frmmain", "frmSettings", "frmErrors", "FrmErrlog", "frmLogin", "End"};
    }

    // The program ends in the login form's unload, after every other form: the main
    // window first (its unload unloads the others), the login last, End once.
    void ending()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, order);
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin(QStringLiteral("anna"), password::ScrambleLoginPassword(QStringLiteral("Secret7")));
        frmLogin& login = startProgram();
        UnloadLog log;

        if (how == QLatin1String("Cancel")) {
            QTest::mouseClick(login.m_ui->cmdCancel, Qt::LeftButton);
        } else if (how == QLatin1String("Esc")) {
            QTest::keyClick(login.m_ui->txtUserName, Qt::Key_Escape);
        } else if (how == QLatin1String("close")) {
            QVERIFY(login.close());
        } else {
            typeAndPressOK(login, QStringLiteral("anna"), QStringLiteral("Secret7"));
            QVERIFY(DefaultInstance<frmmain>::get().isVisible());
            QCOMPARE(log.order, QStringList{"frmSplash"});
            log.order.clear();
            QVERIFY(DefaultInstance<frmmain>::get().close());
        }

        if (log.order != order)
            qInfo() << log.order;
        QCOMPARE(log.order, order);
        QVERIFY(login.isUnloaded());
        for (bool loaded : {DefaultInstance<frmmain>::isLoaded(), DefaultInstance<frmSettings>::isLoaded(),
                            DefaultInstance<FrmErrlog>::isLoaded(), DefaultInstance<frmErrors>::isLoaded()})
            QVERIFY(!loaded);
    }

    // Enter presses OK.
    void enterPressesOK()
    {
        MainWindowFixture f;
        RecordedSleeps sleeps;
        storeLogin(QStringLiteral("anna"), password::ScrambleLoginPassword(QStringLiteral("Secret7")));
        frmLogin& login = startProgram();
        login.m_ui->txtUserName->setText(QStringLiteral("anna"));
        login.m_ui->txtPassword->setText(QStringLiteral("Secret7"));
        QTest::keyClick(login.m_ui->txtPassword, Qt::Key_Return);
        QVERIFY(DefaultInstance<frmmain>::get().isVisible());
    }

    // Minimising the login window used to hide it for good, leaving the program
    // running with no window: now it stays minimised and comes back.
    void minimisingKeepsTheWindow()
    {
        MainWindowFixture f;
        frmLogin& login = startProgram();
        login.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(login.isVisible());
        QVERIFY(login.isMinimized());
        login.showNormal();
        QCoreApplication::processEvents();
        QVERIFY(login.isVisible());
        QVERIFY(!login.isMinimized());
        QVERIFY(login.isFormLoaded());
    }

    // The window as designed: captions, masking, tab order.
    void window()
    {
        MainWindowFixture f;
        frmLogin& login = startProgram();
        QCOMPARE(login.m_ui->lblLabels_0->text(), QStringLiteral("&User Name:"));
        QCOMPARE(login.m_ui->lblLabels_1->text(), QStringLiteral("&Password:"));
        QCOMPARE(login.m_ui->cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(login.m_ui->cmdCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(login.m_ui->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(login.m_ui->txtUserName->text(), QString());
        QCOMPARE(nextTabStop(login.m_ui->txtUserName), login.m_ui->txtPassword);
        QCOMPARE(nextTabStop(login.m_ui->txtPassword), login.m_ui->cmdOK);
        QCOMPARE(nextTabStop(login.m_ui->cmdOK), login.m_ui->cmdCancel);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
