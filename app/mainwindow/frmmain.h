#pragma once

#include "app/import/MainWindowView.h"

#include "platform/basic/Variant.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace controlframework {
class ControlSite;
}

namespace mainwindow {
class MainWindowBatch;
}

namespace widgets {
class ToolBar;
}

namespace Ui {
class frmmain;
}

namespace importer {
class ImportContext;
}

// The main window "Quillar Main Window": the manual import (select, view, validate
// and import a file, read the log), the settings, About and password entries, the
// import's status display and the batch-upload controls. Other code reaches it
// through its default instance (forms::DefaultInstance<frmmain>), the import
// through the session's forwarding view of importer::MainWindowView.
class frmmain : public forms::Form, public importer::MainWindowView
{
public:
    frmmain();
    ~frmmain() override;

    // The controls, named as the window names them.
    const std::unique_ptr<Ui::frmmain> m_ui;

    // Menus, in their order (File, Settings, Help).
    QMenuBar* menuBar = nullptr;
    QMenu* File = nullptr;
    QAction* mnuFilenew = nullptr;
    QAction* MnuFileViewErrors = nullptr;
    QAction* MnuFileStartImport = nullptr;
    QAction* mnuFileBar0 = nullptr;
    QAction* MnuFileExit = nullptr;
    QMenu* Settings = nullptr;
    QAction* ChangePassword = nullptr;
    QAction* mnuSettingsSettings = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* MnuHelpAbout = nullptr;

    // tbToolBar and its seven buttons by index (1 "SelectFile" to 7 "about").
    widgets::ToolBar* tbToolBar = nullptr;

    // FrameHistroy: the titled frame of the user-control library ("VLHMComCtl.vlHmFrame")
    // holding ListViewBatchStatus and Command1. frameHistroy() is the widget shown.
    QWidget* frameHistroy() const;

    // The batch timers: Timer1 every 2,000 ms, Timer2 at the batch interval (set by
    // the load), Timer3 every 1,000 ms; all disabled until batch mode starts.
    forms::Timer Timer1;
    forms::Timer Timer2;
    forms::Timer Timer3;

    // Public routines.
    void RefFrmMain();
    void ChkBatchEnabled();
    static basic::Variant ReplaceStr(const basic::Variant& TextIn, const QString& SearchStr,
                                     const QString& Replacement, int CompMode);

    // Handlers.
    void mnuFilenew_Click();
    void MnuFileStartImport_Click();
    void MnuFileViewErrors_Click();
    void ViewFile_Click();
    void mnuSettingsSettings_Click();
    void MnuHelpAbout_Click();
    void Label1_Click();
    void ChangePassword_Click();
    void Command1_Click();
    void Command2_Click();
    void MnuFileExit_Click();
    void CommandStart_Click();
    void CommandStop_Click();
    void ListViewBatchStatus_ColumnClick(int column);
    void tbToolBar_ButtonClick(const QString& key);

    // Runs a long routine that does not yield (an import): meanwhile the line
    // number, current line, status and progress are shown at the window's paint
    // points only, and all of them as they stand once it returns. Laying the texts out
    // for every line would cost as much as the import itself.
    void runWithDisplayPaced(const std::function<void()>& work);
    // Shows what the status display holds back now (before a modal box, say).
    void showPendingProgress();

    // The status bar's three panels: 1 "Status" (other parts write it), 2 the date,
    // 3 the time.
    QLabel* statusPanel(int index) const;

    // importer::MainWindowView
    void setToolbarButtonEnabled(int index, bool enabled) override;
    void setToolbarButtonCaption(int index, const QString& caption) override;
    QString txtImportFile() const override;
    void setTxtImportFile(const QString& text) override;
    void setTxtLineNo(const QString& text) override;
    void setTxtCurrentLine(const QString& text) override;
    void setLblStatus(const QString& caption) override;
    void setValidationProgressBarValue(int value) override;
    void setValidationProgressBarMax(int maximum) override;
    void setValidationProgressBarVisible(bool visible) override;
    void playAnimation1(const QString& clipPath) override;
    void stopAnimation1() override;
    void setAnimation1Visible(bool visible) override;
    void setErrorsFoundIMG(bool visible, bool enabled) override;
    void setNoErrorFoundIMG(bool visible, bool enabled) override;
    void setImgRedVisible(bool visible) override;
    void setMnuFilenewEnabled(bool enabled) override;
    void setMnuFileViewErrorsEnabled(bool enabled) override;
    void setMnuFileStartImportEnabled(bool enabled) override;
    void setMnuFileStartImportCaption(const QString& caption) override;
    QString lblCorvelVersion() const override;
    void setLblCorvelVersion(const QString& caption) override;
    void setLblconame(const QString& caption) override;
    QString lblVersion() const override;
    void setLblVersion(const QString& caption) override;

protected:
    void formLoad() override;
    void formUnload() override;
    // Closing the window while a batch file is being imported waits for that file:
    // batch mode stops after it, and then the window closes.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildHistoryFrame();
    void showClock();
    void loadBatchSettings(QString& progress);
    bool closeAfterBatchFile();
    // The import does not yield to the event loop: the display is painted (and the
    // clip moved on a frame) at most every few hundredths of a second, so that it
    // stays current without slowing the import down.
    void paintProgress();
    enum PaintArea { PaintStatusOnly, PaintWhole };
    void paintProgressNow(PaintArea area);
    void showPendingProgressLater();
    importer::ImportContext& context() const;

    // What the status display holds back while a long routine runs.
    struct PendingProgress
    {
        std::optional<QString> lineNo;
        std::optional<QString> currentLine;
        std::optional<QString> status;
        std::optional<int> value;
    };
    PendingProgress m_pending;
    bool m_paced = false;
    bool m_showLaterArmed = false;

    std::array<QLabel*, 3> m_panels{};
    forms::Timer m_clock;
    std::unique_ptr<controlframework::ControlSite> m_frameHistroy;
    std::unique_ptr<mainwindow::MainWindowBatch> m_batch;
    bool m_closeAfterFile = false;
    QElapsedTimer m_sincePaint;
    // The file Select File chose, spelt as on disk: the box shows it in lower case,
    // and a lower-case twin beside it must not be the file imported or viewed.
    QString m_chosenImportFile;
};
