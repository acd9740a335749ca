#include "app/setup/frmDirPath.h"
#include "ui_frmDirPath.h"

#include "app/session/ProgramSession.h"

#include "platform/basic/RuntimeError.h"

#include <QPushButton>

frmDirPath::frmDirPath() : m_ui(std::make_unique<Ui::frmDirPath>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("frmDirPath"));
    m_ui->Label3->setText(m_ui->Dir1->path());
    connect(m_ui->Dir1, &widgets::FolderList::change, this, [this] { Dir1_Change(); });
    connect(m_ui->Drive1, &widgets::DriveList::driveChange, this, [this] { Drive1_Change(); });
    connect(m_ui->Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_ui->Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // The drive list opens on the drive of the folder list's current folder.
    try {
        m_ui->Drive1->setDrive(m_ui->Dir1->path());
    } catch (const basic::RuntimeError&) {
    }
}

frmDirPath::~frmDirPath() = default;

void frmDirPath::FormLoadValue(const QString& GivePath)
{
    if (GivePath.isEmpty())
        return;
    // Each step on its own: a start folder that does not exist leaves the lists as
    // they are. The drive list's change then opens the folder last open on that
    // drive, which is the start folder.
    try {
        m_ui->Dir1->setPath(GivePath);
    } catch (const basic::RuntimeError&) {
    }
    try {
        m_ui->Drive1->setDrive(m_ui->Dir1->path());
    } catch (const basic::RuntimeError&) {
    }
    m_ui->Label3->setText(m_ui->Dir1->path());
}

void frmDirPath::Dir1_Change()
{
    m_ui->Label3->setText(m_ui->Dir1->path());
}

// A drive that cannot be read leaves the folder list where it was.
void frmDirPath::Drive1_Change()
{
    try {
        m_ui->Dir1->setPath(m_ui->Drive1->drive());
    } catch (const basic::RuntimeError&) {
    }
}

void frmDirPath::Command1_Click()
{
    if (session::ProgramSession* session = session::ProgramSession::current())
        session->DirPathResult = m_ui->Dir1->path();
    unload();
}

void frmDirPath::Command2_Click()
{
    unload();
}
