#include "app/mainwindow/FrmErrlog.h"

#include "ui_FrmErrlog.h"

#include "app/import/StageOne.h"
#include "app/import/StageTwo.h"
#include "app/mainwindow/ReadOnlyFileViewer.h"
#include "app/session/ProgramSession.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Twips.h"
#include "platform/shell/TextEditor.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t IndexOutOfBounds = 35600;

// The columns of ListView1, widths in twips.
struct Column
{
    const char* header;
    int32_t width;
};
constexpr Column Columns[] = {
    {"Error Description", 6575}, {"Line No.", 760}, {"Error Column", 1125}, {"Error Value", 1180}};

// Whether the editor command opens a file at a line.
bool editorTakesLine()
{
    return shell::editorCommand().contains(QLatin1String("{line}"));
}

} // namespace

FrmErrlog::FrmErrlog() : m_ui(std::make_unique<Ui::FrmErrlog>())
{
    m_ui->setupUi(this);
    for (const Column& column : Columns)
        m_ui->ListView1->addColumn(QLatin1String(column.header), forms::twipsToPixels(column.width));
    m_ui->ListView1->setRootIsDecorated(false);
    connectSharedControls();
    connect(m_ui->CmdRefresh, &QPushButton::clicked, this, [this] { CmdRefresh_Click(); });
    connect(m_ui->ListView1, &widgets::ListView::itemDblClick, this,
            [this](widgets::ListItem* item) { ListView1_DblClick(item); });
}

FrmErrlog::~FrmErrlog() = default;

widgets::ListView* FrmErrlog::listView1() const
{
    return m_ui->ListView1;
}

void FrmErrlog::clearListView1()
{
    m_ui->ListView1->clearItems();
}

int32_t FrmErrlog::listView1Count() const
{
    return m_ui->ListView1->count();
}

void FrmErrlog::addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                                const QString& column, const QString& value)
{
    widgets::ListView* list = m_ui->ListView1;
    if (position < 1 || position > list->count() + 1)
        throw basic::RuntimeError(IndexOutOfBounds);
    widgets::ListItem* item = list->addItem(description);
    if (position <= list->count() - 1) {
        list->takeTopLevelItem(list->count() - 1);
        list->insertTopLevelItem(position - 1, item);
    }
    const QString texts[] = {description, lineNo, column, value};
    for (int sub = 0; sub < 4; ++sub) {
        item->setSubItem(sub, texts[sub]);
        item->setData(sub, widgets::ListItem::TagRole, texts[sub]);
    }
}

void FrmErrlog::showModal()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    QWidget* owner = nullptr;
    if (session::ProgramSession* s = session::ProgramSession::current();
        s && s->mainWindow().form.installed())
        owner = dynamic_cast<QWidget*>(&s->mainWindow().form());
    forms::Form::showModal(owner);
}

void FrmErrlog::CmdRefresh_Click()
{
    session::ProgramSession* s = session::ProgramSession::current();
    if (!s)
        return;
    importer::ImportContext& context = s->context();
    importer::PassState& pass = context.state.pass;
    const auto logEmpty = [&] { return s->importLog().text().isEmpty(); };

    s->importLog().setTxtImportText(QString());
    pass.FileValid = true;
    // Stage one may stop with only a message box; such a stop is no pass.
    pass.StageOneCompleted = true;
    importer::ValidateImportFile(context, QStringLiteral("frmerrlog"), QStringLiteral("validate"));
    if (!pass.StageOneCompleted || !logEmpty() || !pass.FileValid)
        return;
    importer::PostImportFile(context, QStringLiteral("frmerrlog"), QStringLiteral("validate"));
    if (!logEmpty() || !pass.ValidateOK)
        return;
    s->mainWindow().setToolbarButtonCaption(2, QStringLiteral("&Import"));
    s->mainWindow().setMnuFileStartImportCaption(QStringLiteral("&Import"));
    forms::MsgBox(QStringLiteral("File has passed validation, please run import to update to Vorlen"),
                  forms::OKOnly, QStringLiteral("Quillar-Validation"));
}

void FrmErrlog::ListView1_DblClick(widgets::ListItem* item)
{
    session::ProgramSession* s = session::ProgramSession::current();
    if (!item || !s)
        return;
    const QString importFile = s->mainWindow().txtImportFile();
    const QString lineText = item->subItem(1).trimmed();
    const double number = basic::IsNumeric(lineText) ? basic::Val(lineText) : 0.0;
    const int line = int(std::clamp(number, 0.0, double(std::numeric_limits<int32_t>::max())));
    // A missing file is reported by the viewer rather than opened empty by the editor.
    const bool exists = QFileInfo(basic::resolvePath(importFile)).isFile();
    if (exists && editorTakesLine() && shell::openInEditor(importFile, line))
        return;
    // Owned by the list, so that it takes keys and clicks while the list is modal.
    mainwindow::ReadOnlyFileViewer::showFile(importFile, line, item->subItem(3).trimmed(), this);
}
