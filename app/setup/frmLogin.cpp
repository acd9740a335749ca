#include "app/setup/frmLogin.h"
#include "ui_frmLogin.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "ui_frmSettings.h"
#include "app/mainwindow/password/LoginPassword.h"
#include "app/session/ProgramSession.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmAbout.h"
#include "app/setup/frmSettings.h"
#include "app/setup/frmSplash.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

using forms::DefaultInstance;

namespace {

const QString LoginKey = QStringLiteral("QuillarLogin");
const QString PasswordKey = QStringLiteral("QuillarPassword");
const QString ConfigKey = QStringLiteral("pellmoorconfigdir");
const QString LoginNotStored =
    QStringLiteral("The login could not be stored in the settings. Please check that the settings can be "
                   "written and try again.");

QString title()
{
    return QString::fromLatin1(frmLogin::Title);
}

QString programFolder()
{
    session::ProgramSession* session = session::ProgramSession::current();
    return session ? session->programFolder() : QString();
}

QString describe(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const basic::RuntimeError*>(&e))
        return error->description();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

frmLogin::frmLogin() : m_ui(std::make_unique<Ui::frmLogin>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("frmLogin"));
    m_ui->txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

frmLogin::~frmLogin() = default;

// Form_Load: the version caption, the configuration folder, the stored login and the
// main window's first state. The first touch of the main window loads it hidden, so
// its own load runs before everything below.
void frmLogin::formLoad()
{
    try {
        frmmain& mainWindow = DefaultInstance<frmmain>::get();
        const QString caption = session::ProgramSession::versionText();
        mainWindow.m_ui->lblTarnbyVersion->setText(caption);
        m_loadMarker = QStringLiteral("caption:") + caption;

        const QString configured = settings::readSetting(ConfigKey, QString());
        m_loadMarker = QStringLiteral("hrnconfigdir:") + configured;
        if (!configured.isEmpty()) {
            if (!QFileInfo(shell::nativePath(configured)).isDir()) {
                forms::MsgBox(QStringLiteral("Unable to find configuration files ") + configured, forms::OKOnly,
                              title());
                unload();
                return;
            }
        } else {
            configurationFolder();
        }

        const QString login = settings::readSetting(LoginKey, QString());
        const QString password = settings::readSetting(PasswordKey, QString());
        m_loadMarker = QStringLiteral("quillarlogin:") + login;
        if (login.isEmpty() && password.isEmpty())
            setWindowTitle(QStringLiteral("Setup Login and Password"));

        mainWindow.setMnuFileStartImportEnabled(false);
        mainWindow.setMnuFileViewErrorsEnabled(false);
        mainWindow.setErrorsFoundIMG(true, true);
        mainWindow.setNoErrorFoundIMG(false, true);
        mainWindow.setImgRedVisible(false);
        m_loadMarker = QStringLiteral("firststate:set");

        const QString dataPath = session::ProgramSession::current()->context().settingsForm.txtDatapath();
        m_loadMarker = QStringLiteral("txtdatapath:") + dataPath;
        if (dataPath.isEmpty()) {
            mainWindow.setToolbarButtonEnabled(1, false);
            mainWindow.setMnuFilenewEnabled(false);
        }

        mainWindow.m_ui->LblUserloggedin->setText(login);
        m_loadMarker = QStringLiteral("userloggedin:") + login;
    } catch (const std::exception& e) {
        forms::MsgBox(m_loadMarker + QStringLiteral(" ") + describe(e), forms::OKOnly, QStringLiteral("Load"));
    }
}

// An empty setting: the folder "hrnconfig" beside the program, made when missing,
// becomes the configuration folder.
void frmLogin::configurationFolder()
{
    const QString folder = programFolder();
    const QString config = QDir(folder).absoluteFilePath(QStringLiteral("hrnconfig"));
    if (!QFileInfo(config).isDir()) {
        if (!QDir::setCurrent(folder))
            throw basic::RuntimeError(basic::err::PathNotFound, basic::errorDescription(basic::err::PathNotFound));
        if (!QDir().mkdir(QStringLiteral("hrnconfig")))
            throw basic::RuntimeError(basic::err::PathFileAccessError,
                                      basic::errorDescription(basic::err::PathFileAccessError));
        m_loadMarker = QStringLiteral("hrnconfigmade:") + config;
    }
    settings::writeSetting(ConfigKey, config);
    // The main window's load has loaded the settings form from the store already, with
    // the setting still empty: its box gets the folder too, or the form would show no
    // configuration folder and refuse to save until one is typed.
    if (DefaultInstance<frmSettings>::isLoaded())
        DefaultInstance<frmSettings>::get().m_ui->TxtConfigPath->setText(config);
    m_loadMarker = QStringLiteral("pellmoorconfigdir:") + config;
}

void frmLogin::cmdOK_Click()
{
    try {
        m_loginMarker = QStringLiteral("Get Quillar Login");
        QString login = settings::readSetting(LoginKey, QString());
        m_loginMarker = QStringLiteral("Got quillar login:") + login;
        const QString storedPassword = settings::readSetting(PasswordKey, QString());
        m_loginMarker = QStringLiteral("Got quillar password:") + storedPassword;

        const QString userName = m_ui->txtUserName->text();
        const QString typedPassword = m_ui->txtPassword->text();
        if (userName.isEmpty()) {
            forms::MsgBox(QStringLiteral("Please enter username"), forms::OKOnly, title());
            return;
        }
        m_loginMarker = QStringLiteral("after check not empty");

        QString password;
        if (!login.isEmpty() || !storedPassword.isEmpty()) {
            password = password::UnscrambleLoginPassword(storedPassword);
        } else {
            // The first start: the pair typed becomes the login. A password the stored
            // form would shorten would pass now and never again, so it is refused.
            if (!password::isStorablePassword(typedPassword)) {
                forms::MsgBox(password::passwordRuleMessage(), forms::OKOnly, title());
                return;
            }
            forms::MsgBox(QStringLiteral("Setting Login and Password"), forms::OKOnly, title());
            // A login that was not stored would let this start in and leave the next
            // one a first start again, where anyone sets the login.
            if (!settings::writeSetting(LoginKey, userName)) {
                forms::MsgBox(LoginNotStored, forms::OKOnly, title());
                return;
            }
            if (!settings::writeSetting(PasswordKey, password::ScrambleLoginPassword(typedPassword))) {
                settings::writeSetting(LoginKey, QString());
                forms::MsgBox(LoginNotStored, forms::OKOnly, title());
                return;
            }
            login = userName;
            password = typedPassword;
        }

        m_loginMarker = QStringLiteral("before compare");
        if (typedPassword != password) {
            forms::MsgBox(QStringLiteral("Invalid Password"), forms::OKOnly, title());
            return;
        }
        if (userName != login) {
            forms::MsgBox(QStringLiteral("Invalid Username"), forms::OKOnly, title());
            return;
        }
        m_loginMarker = QStringLiteral("after compare");
        showMainWindow();
    } catch (const std::exception& e) {
        forms::MsgBox(m_loginMarker + QStringLiteral(" ") + describe(e), forms::OKOnly, QStringLiteral("Login"));
    }
}

// A good login: the splash for its pause, the two log viewers loaded hidden, then the
// main window.
void frmLogin::showMainWindow()
{
    hide();
    // On screen and painted before the pause, or it would stay blank through it.
    DefaultInstance<frmSplash>::get().showPainted();
    DefaultInstance<frmSplash>::unload();
    DefaultInstance<frmErrors>::get();
    DefaultInstance<FrmErrlog>::get();
    DefaultInstance<frmmain>::get().show();
}

void frmLogin::cmdCancel_Click()
{
    unload();
}

// Minimising the window leaves it minimised, where the user can bring it back. (Hiding
// it here would leave the program running with no window and no way back to it.)
void frmLogin::Form_Resize() {}

void frmLogin::changeEvent(QEvent* event)
{
    forms::Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

// The window's default and cancel buttons: Enter presses OK, Esc presses Cancel.
void frmLogin::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_ui->cmdOK->click();
        return;
    case Qt::Key_Escape:
        m_ui->cmdCancel->click();
        return;
    default:
        forms::Form::keyPressEvent(event);
    }
}

// Ending: the other forms in this order, then the program ends at once. A form whose
// unload is under way (the main window, when closing it brought the program here) is
// passed over.
void frmLogin::formUnload()
{
    DefaultInstance<frmmain>::unload();
    DefaultInstance<FrmErrlog>::unload();
    DefaultInstance<frmSplash>::unload();
    DefaultInstance<frmAbout>::unload();
    DefaultInstance<frmSettings>::unload();
    DefaultInstance<FrmFileStructure>::unload();
    forms::End(0);
}
