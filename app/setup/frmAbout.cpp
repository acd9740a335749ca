#include "app/setup/frmAbout.h"
#include "ui_frmAbout.h"

#include "app/session/ProgramSession.h"

#include "platform/forms/MessageService.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/Paths.h"
#include "platform/shell/ProgramStarter.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

#include <optional>

namespace {

// Where the system keeps its information tool.
const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ToolValue = QStringLiteral("PATH");
const QString ToolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString ToolFolderValue = QStringLiteral("MSINFO");
const QString ToolFile = QStringLiteral("\\MSINFO32.EXE");

constexpr uint32_t ValueBufferSize = 1024;

QString programTitle()
{
    return QString::fromLatin1(forms::ProgramTitle);
}

} // namespace

frmAbout::frmAbout() : m_ui(std::make_unique<Ui::frmAbout>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("frmAbout"));
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

frmAbout::~frmAbout() = default;

void frmAbout::formLoad()
{
    setWindowTitle(QStringLiteral("About ") + programTitle());
    m_ui->lblVersion->setText(session::ProgramSession::versionText());
    m_ui->lblTitle->setText(programTitle());
}

void frmAbout::cmdOK_Click()
{
    unload();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        unload();
        return;
    }
    forms::Form::keyPressEvent(event);
}

void frmAbout::StartSysInfo()
{
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, ToolKey, ToolValue, path)) {
        if (shell::startProgram(shell::nativePath(path)))
            return;
    } else if (GetKeyValue(HKEY_LOCAL_MACHINE, ToolFolderKey, ToolFolderValue, path)) {
        const QString tool = shell::nativePath(path + ToolFile);
        if (QFileInfo(tool).isFile() && shell::startProgram(tool))
            return;
    }
    forms::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), forms::OKOnly, programTitle());
}

bool frmAbout::GetKeyValue(int32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    KeyVal.clear();
    std::optional<registry::Hive> hive;
    if (KeyRoot == HKEY_LOCAL_MACHINE)
        hive = registry::Hive::LocalMachine;
    else if (KeyRoot == HKEY_CURRENT_USER)
        hive = registry::Hive::CurrentUser;
    if (!hive)
        return false;

    std::optional<registry::Key> key;
    if (registry::openKey(*hive, KeyName, registry::Access::ReadWrite, key) != registry::Success || !key)
        return false;
    registry::ValueType type = registry::ValueType::String;
    QByteArray data;
    if (key->queryValue(SubKeyRef, type, data, ValueBufferSize, registry::Chars::Narrow) != registry::Success)
        return false;
    const qsizetype zero = data.indexOf('\0');
    if (type == registry::ValueType::String)
        KeyVal = QString::fromUtf8(zero < 0 ? data : data.left(zero));
    return true;
}
