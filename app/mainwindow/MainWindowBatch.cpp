#include "app/mainwindow/MainWindowBatch.h"

#include "app/mainwindow/batch/BatchJournal.h"
#include "app/mainwindow/batch/BatchUpload.h"
#include "app/mainwindow/batch/ErrorFiles.h"
#include "app/session/ProgramSession.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"
#include "platform/forms/Timer.h"
#include "platform/widgets/ListView.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace mainwindow {

class MainWindowBatch::WindowView : public batch::BatchWindowView
{
public:
    explicit WindowView(const BatchControls& c) : c(c) {}

    QString commandStartCaption() const override { return c.CommandStart->text(); }
    void setCommandStartCaption(const QString& caption) override { c.CommandStart->setText(caption); }
    void setCommandStartBold(bool bold) override
    {
        QFont font = c.CommandStart->font();
        font.setBold(bold);
        c.CommandStart->setFont(font);
    }
    void setLabel1Visible(bool visible) override { c.Label1->setVisible(visible); }
    void setLabelCountDown(const QString& caption) override { c.LabelCountDown->setText(caption); }
    void setLabelCountDownVisible(bool visible) override { c.LabelCountDown->setVisible(visible); }
    void setTxtwhereat(const QString& text) override { c.txtwhereat->setText(text); }
    void setStatusBarPanel1(const QString& text) override { c.statusPanel1->setText(text); }
    void setSettingsMenuEnabled(bool enabled) override { c.Settings->menuAction()->setEnabled(enabled); }

private:
    BatchControls c;
};

class MainWindowBatch::FormTimer : public batch::BatchTimer
{
public:
    explicit FormTimer(forms::Timer& timer) : m_timer(timer) {}
    bool enabled() const override { return m_timer.Enabled(); }
    void setEnabled(bool enabled) override { m_timer.setEnabled(enabled); }
    int interval() const override { return m_timer.Interval(); }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }

private:
    forms::Timer& m_timer;
};

// ListViewBatchStatus as the refresh changes it: rows from 0, the shown path as
// the row's key.
class MainWindowBatch::ListRows : public batch::StatusListView
{
public:
    explicit ListRows(widgets::ListView& list) : m_list(list) {}

    int rowCount() const override { return m_list.count(); }
    batch::StatusRow row(int index) const override
    {
        const widgets::ListItem* item = m_list.item(index + 1);
        return {item->text(), item->subItem(1), item->subItem(2), item->subItem(3)};
    }
    void setRow(int index, const batch::StatusRow& row) override { write(m_list.item(index + 1), row); }
    void removeRow(int index) override { m_list.removeItem(index + 1); }
    void appendRow(const batch::StatusRow& row) override
    {
        // The list's keys ignore case, the folders' names do not: two paths that
        // differ only in case both get their row.
        write(m_list.addItem(row.name, m_list.contains(row.path) ? QString() : row.path), row);
    }
    void clear() override { m_list.clearItems(); }
    // The rows sorted once by the clicked column; later files are appended, as
    // rows keep their places between refreshes.
    void setSortKey(int key) override
    {
        m_list.setSortKey(key);
        m_list.sortItems(key, Qt::AscendingOrder);
    }

private:
    static void write(widgets::ListItem* item, const batch::StatusRow& row)
    {
        item->setText(row.name);
        item->setSubItem(1, row.state);
        item->setSubItem(2, row.date);
        item->setSubItem(3, row.path);
    }

    widgets::ListView& m_list;
};

// The program session's DoSecurity, created on first use and kept.
class MainWindowBatch::SessionDoSecurity : public batch::DoSecurityProvider
{
public:
    basic::ObjectRef doSecurity() override { return session::ProgramSession::current()->doSecurity(); }
};

MainWindowBatch::MainWindowBatch(importer::ImportContext& context, BatchControls controls, forms::Timer& Timer1,
                                 forms::Timer& Timer2, forms::Timer& Timer3,
                                 std::function<void(const std::function<void()>&)> paced)
    : m_context(context), m_view(std::make_unique<WindowView>(controls)),
      m_timer1(std::make_unique<FormTimer>(Timer1)), m_timer2(std::make_unique<FormTimer>(Timer2)),
      m_timer3(std::make_unique<FormTimer>(Timer3)),
      m_rows(std::make_unique<ListRows>(*controls.ListViewBatchStatus)),
      m_security(std::make_unique<SessionDoSecurity>()), m_paced(std::move(paced)),
      m_mode(context, *m_view, {*m_timer1, *m_timer2, *m_timer3}, m_files, *m_rows, [this](const QString& name) {
          bool imported = false;
          m_paced([&] { imported = m_upload->BatchUploadFile(name); });
          return imported;
      })
{
    m_mode.errorLog = [this](const QString& message) {
        batch::WriteErrorLog(*m_security, m_context.programFolder, message);
    };
}

MainWindowBatch::~MainWindowBatch() = default;

bool MainWindowBatch::openUpload()
{
    if (m_upload)
        return true;
    try {
        m_journal = std::make_unique<batch::BatchJournal>(batch::BatchJournal::defaultPath());
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(e.description(), forms::Critical);
        return false;
    }
    m_upload = std::make_unique<batch::BatchUpload>(
        batch::BatchSession{m_context, *m_view, m_files, *m_journal, *m_security, [] { forms::DoEvents(); }});
    return true;
}

void MainWindowBatch::start()
{
    if (openUpload())
        m_mode.start();
}

bool MainWindowBatch::stop()
{
    return m_mode.stop();
}

void MainWindowBatch::setStopped(std::function<void()> stopped)
{
    m_mode.stopped = std::move(stopped);
}

bool MainWindowBatch::fileInProgress() const
{
    return m_mode.fileInProgress();
}

void MainWindowBatch::ListViewBatchStatus_ColumnClick(int column)
{
    batch::ListViewBatchStatus_ColumnClick(*m_rows, column);
}

} // namespace mainwindow
