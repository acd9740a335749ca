#pragma once

#include "app/mainwindow/batch/BatchMode.h"
#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/BatchStatus.h"

#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace forms {
class Timer;
}

namespace importer {
class ImportContext;
}

namespace widgets {
class ListView;
}

namespace batch {
class BatchJournal;
class BatchUpload;
} // namespace batch

// Batch-upload mode as the main window runs it: the window's controls, timers and
// status list handed to batch::BatchMode, and the upload of each file with the
// program's journal and its kept DoSecurity object. Every rule lives in
// app/mainwindow/batch; this only connects the two.
namespace mainwindow {

// The controls of frmmain that batch mode sets.
struct BatchControls
{
    QPushButton* CommandStart;
    QLabel* Label1;
    QLabel* LabelCountDown;
    QLineEdit* txtwhereat;
    QLabel* statusPanel1;
    QMenu* Settings;
    widgets::ListView* ListViewBatchStatus;
};

class MainWindowBatch
{
public:
    // `paced` runs the upload of one file with the window's display paced (the
    // import does not yield); `stopped` is called when a stop that had to wait for
    // the file being imported has taken effect.
    MainWindowBatch(importer::ImportContext& context, BatchControls controls, forms::Timer& Timer1,
                    forms::Timer& Timer2, forms::Timer& Timer3,
                    std::function<void(const std::function<void()>&)> paced);
    ~MainWindowBatch();
    MainWindowBatch(const MainWindowBatch&) = delete;
    MainWindowBatch& operator=(const MainWindowBatch&) = delete;

    // CommandStart_Click. The journal is opened at the first start; when it cannot
    // be, nothing starts (no file could be guarded against a second posting).
    void start();
    // CommandStop_Click and the window's unload: false while a file is being
    // imported, the stop then taking effect after that file.
    bool stop();
    void setStopped(std::function<void()> stopped);
    bool fileInProgress() const;

    void ListViewBatchStatus_ColumnClick(int column);

    batch::BatchMode& mode() { return m_mode; }

private:
    class WindowView;
    class FormTimer;
    class ListRows;
    class SessionDoSecurity;

    bool openUpload();

    importer::ImportContext& m_context;
    std::unique_ptr<WindowView> m_view;
    std::unique_ptr<FormTimer> m_timer1, m_timer2, m_timer3;
    std::unique_ptr<ListRows> m_rows;
    std::unique_ptr<SessionDoSecurity> m_security;
    batch::RealFileSystem m_files;
    std::function<void(const std::function<void()>&)> m_paced;
    std::unique_ptr<batch::BatchJournal> m_journal;
    std::unique_ptr<batch::BatchUpload> m_upload;
    batch::BatchMode m_mode;
};

} // namespace mainwindow
