// The main window, driven offscreen as a user would: its menus and toolbar, the
// enabled states Select File leaves, the load and unload, the log entries, and a
// whole import run from the window against the package stand-in.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/ReadOnlyFileViewer.h"
#include "app/setup/frmAbout.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmSettings.h"
#include "ui_frmSettings.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "app/import/StageOne.h"
#include "app/import/VorlenConnection.h"

#include "platform/basic/Conversions.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"
#include "tests/support/WidgetInputBoxes.h"
#include "app/mainwindow/password/LoginPassword.h"
#include "platform/shell/ProgramStarter.h"
#include "platform/shell/TextEditor.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QHelpEvent>
#include <QToolTip>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

using forms::DefaultInstance;

namespace {

QString enabledText(bool enabled)
{
    return enabled ? QStringLiteral("on") : QStringLiteral("off");
}

// The states a user sees: the three File entries and the toolbar buttons 1 to 4,
// "on"/"off" in that order.
QStringList entryStates(frmmain& w)
{
    QStringList states{enabledText(w.mnuFilenew->isEnabled()), enabledText(w.MnuFileStartImport->isEnabled()),
                       enabledText(w.MnuFileViewErrors->isEnabled())};
    for (int index = 1; index <= 4; ++index)
        states << enabledText(w.tbToolBar->isButtonEnabled(index));
    return states;
}

// Calls back when a widget is hidden.
class HideWatch : public QObject
{
public:
    HideWatch(QWidget* widget, std::function<void()> hidden) : m_hidden(std::move(hidden))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_hidden();
        return false;
    }

private:
    std::function<void()> m_hidden;
};

// Counts the paint events a widget gets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!MainWindowFixture::registerLibraries())
            QSKIP("the package stand-in is not built");
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("shortcuts");
        QTest::addRow("File") << "File"
                              << QStringList{"mnuFilenew", "MnuFileViewErrors", "MnuFileStartImport", "mnuFileBar0",
                                             "MnuFileExit"}
                              << QStringList{"Select &File", "&View Import Log", "&Validate", "", "&Exit"}
                              << QStringList{"Ctrl+F", "Ctrl+V", "Ctrl+I", "", "F4"};
        QTest::addRow("Settings") << "Settings" << QStringList{"ChangePassword", "mnuSettingsSettings"}
                                  << QStringList{"Change &Password", "&Settings"} << QStringList{"Ctrl+P", "Ctrl+S"};
        QTest::addRow("Help") << "&Help" << QStringList{"MnuHelpAbout"} << QStringList{"&About"} << QStringList{""};
    }

    // The menus in their order, each entry with its caption and shortcut.
    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, shortcuts);
        MainWindowFixture f;
        frmmain& w = f.window();
        QStringList titles;
        for (QAction* title : w.menuBar->actions())
            titles << title->text();
        QCOMPARE(titles, (QStringList{"File", "Settings", "&Help"}));

        QMenu* found = nullptr;
        for (QAction* title : w.menuBar->actions())
            if (title->text() == menu)
                found = title->menu();
        QVERIFY(found);
        QStringList names, texts, keys;
        for (QAction* item : found->actions()) {
            names << item->objectName();
            texts << (item->isSeparator() ? QString() : item->text());
            keys << item->shortcut().toString();
        }
        QCOMPARE(names, items);
        QCOMPARE(texts, captions);
        QCOMPARE(keys, shortcuts);
    }

    // The seven buttons by index: caption, key and tool tip.
    void toolbar()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        const QStringList captions{"Select &File", "&Validate", "&Import Log", "&View File", "&Settings", "&Hide Me",
                                   "&About"};
        const QStringList keys{"SelectFile", "ImportFile", "ErrorLog", "ViewFile", "settings", "", "about"};
        const QStringList tips{"Select the file to upload", "Start Uploading file", "View Import Log",
                               "Open selected file in Notepad", "Quillar Settings", "", "About Quillar"};
        QCOMPARE(w.tbToolBar->buttonCount(), 7);
        for (int i = 1; i <= 7; ++i) {
            QCOMPARE(w.tbToolBar->caption(i), captions.at(i - 1));
            QCOMPARE(w.tbToolBar->key(i), keys.at(i - 1));
            QCOMPARE(w.tbToolBar->toolTipText(i), tips.at(i - 1));
            QCOMPARE(w.tbToolBar->actions().at(i - 1), w.tbToolBar->action(i));
            QVERIFY(w.tbToolBar->isButtonEnabled(i));
        }
        // Button 6 carries no key: a click does nothing.
        w.show();
        w.tbToolBar->click(6);
        QVERIFY(w.isVisible());
        QCOMPARE(f.boxes.service().shown().size(), size_t(0));
    }

    void selectFileStates_data()
    {
        QTest::addColumn<bool>("fileChosenBefore");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("dataPath");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QStringList>("messages");
        // File entries (new, import, log), then buttons 1 to 4.
        const QStringList ready{"on", "on", "off", "on", "on", "off", "on"};
        const QStringList noDataPath{"on", "off", "off", "on", "off", "off", "on"};
        const QString dataPathMessage =
            "Quillar Settings Status: Vorlen Data Path not selected, Please go to settings and select.";
        QTest::addRow("a file chosen, data path set") << false << false << true << ready << QStringList{};
        QTest::addRow("a file chosen, no data path")
            << false << false << false << noDataPath << QStringList{dataPathMessage};
        QTest::addRow("cancelled with a file already chosen") << true << true << true << ready << QStringList{};
        QTest::addRow("cancelled with none chosen")
            << false << true << true << QStringList{"on", "on", "on", "on", "off", "on", "off"} << QStringList{};
    }

    void selectFileStates()
    {
        QFETCH(bool, fileChosenBefore);
        QFETCH(bool, cancel);
        QFETCH(bool, dataPath);
        QFETCH(QStringList, states);
        QFETCH(QStringList, messages);
        if (!dataPath)
            settings::writeSetting(QStringLiteral("VorlenDataPath"), QString());
        MainWindowFixture f;
        if (!dataPath)
            DefaultInstance<frmSettings>::get().setTxtDatapath(QString());
        frmmain& w = f.window();
        const QString earlier = f.path(QStringLiteral("earlier.csv"));
        if (fileChosenBefore)
            w.setTxtImportFile(earlier);
        w.MnuFileStartImport->setText(QStringLiteral("&Import"));
        w.setTxtLineNo(QStringLiteral("12"));
        w.setTxtCurrentLine(QStringLiteral("I,C001"));
        w.setLblStatus(QStringLiteral("Stage One"));
        w.setValidationProgressBarValue(5);

        f.dialogs.service().queueFile(cancel ? std::nullopt : std::optional<QString>(f.path("Orders Dec.CSV")));
        w.tbToolBar->click(1);

        QCOMPARE(entryStates(w), states);
        QCOMPARE(shownTexts(f.boxes.service()), messages);
        const QString expectedFile =
            cancel ? (fileChosenBefore ? earlier : QString()) : f.path(QStringLiteral("Orders Dec.CSV")).toLower();
        QCOMPARE(w.m_ui->txtImportFile->text(), expectedFile);
        QCOMPARE(w.MnuFileStartImport->text(), QStringLiteral("&Validate"));
        QCOMPARE(w.m_ui->TxtLineNo->text(), QString());
        QCOMPARE(w.m_ui->TxtCurrentLine->text(), QString());
        QCOMPARE(w.m_ui->lblStatus->text(), QString());
        QCOMPARE(w.m_ui->ValidationProgressBar->value(), 0);

        const auto& requests = f.dialogs.service().requests();
        QCOMPARE(requests.size(), size_t(1));
        QCOMPARE(requests[0].title, QStringLiteral("Select import file"));
        QCOMPARE(requests[0].filter, QStringLiteral("Import File(*.csv)|*.csv"));
        QCOMPARE(requests[0].fileName, QString());
    }

    // A step that keeps failing is tried three times, each failure shown, and the
    // handler then ends without the steps after it.
    void selectFileRetryIsBounded()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.setLblStatus(QStringLiteral("kept"));
        f.programSession.settingsForm().form.install({}); // reading TxtDatapath now fails
        f.dialogs.service().queueFile(f.path(QStringLiteral("a.csv")));
        w.mnuFilenew->trigger();
        const QStringList expected(3, QStringLiteral("Quillar: no form is registered for frmSettings"));
        QCOMPARE(shownTexts(f.boxes.service()), expected);
        QCOMPARE(w.m_ui->lblStatus->text(), QStringLiteral("kept"));
    }

    void startAndViewWithoutFile_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("message");
        QTest::addRow("validate") << 2 << "Invoicing Import: Import file not selected";
        QTest::addRow("view file") << 4 << "Invoicing Import: Must select import file to view";
    }

    void startAndViewWithoutFile()
    {
        QFETCH(int, button);
        QFETCH(QString, message);
        MainWindowFixture f;
        f.window().tbToolBar->click(button);
        QCOMPARE(shownTexts(f.boxes.service()), QStringList{message});
    }

    // Where no text editor can be started (the editor named is missing, or the
    // desktop's opener is not installed), View File shows the import file in the
    // read-only viewer, over the window, instead of a box that stops there.
    void viewFileWithoutEditor_data()
    {
        QTest::addColumn<QByteArray>("editor");
        QTest::addRow("the editor named is missing") << QByteArray("/nonexistent/quillar-editor {file}");
        QTest::addRow("no editor named, no opener on PATH") << QByteArray();
    }

    void viewFileWithoutEditor()
    {
        QFETCH(QByteArray, editor);
        const QByteArray previousEditor = qgetenv(shell::EditorVariable);
        const QByteArray previousPath = qgetenv("PATH");
        QTemporaryDir emptyBin;
        qputenv(shell::EditorVariable, editor);
        qputenv("PATH", QFile::encodeName(emptyBin.path()));
        const auto restore = qScopeGuard([&] {
            qputenv(shell::EditorVariable, previousEditor);
            qputenv("PATH", previousPath);
        });
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        f.writeFile(QStringLiteral("a.csv"), invoiceLines(1));
        w.setTxtImportFile(f.path(QStringLiteral("a.csv")));
        w.tbToolBar->click(4);

        QCOMPARE(shownTexts(f.boxes.service()), QStringList{});
        QList<mainwindow::ReadOnlyFileViewer*> viewers;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* v = dynamic_cast<mainwindow::ReadOnlyFileViewer*>(top); v && v->isVisible())
                viewers << v;
        QCOMPARE(viewers.size(), 1);
        QCOMPARE(viewers.front()->filePath(), f.path(QStringLiteral("a.csv")));
        QCOMPARE(viewers.front()->parentWidget(), &w);
        QVERIFY(viewers.front()->textView()->toPlainText().startsWith(QStringLiteral("I,C001,01/12/2026,P1")));
        viewers.front()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void viewImportLog_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("batchRunning");
        QTest::addColumn<QStringList>("opened");
        QTest::addRow("design caption opens the error list") << "&Import Log" << false << QStringList{"FrmErrlog"};
        QTest::addRow("\"Import Log\" opens the log") << "Import Log" << false << QStringList{"frmErrors"};
        QTest::addRow("\"Error Log\" opens the error list") << "Error Log" << false << QStringList{"FrmErrlog"};
        QTest::addRow("nothing while batch mode runs") << "Import Log" << true << QStringList{};
    }

    void viewImportLog()
    {
        QFETCH(QString, caption);
        QFETCH(bool, batchRunning);
        QFETCH(QStringList, opened);
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        w.setToolbarButtonCaption(3, caption);
        f.programSession.state().batch.BatchRunning = batchRunning;
        ModalCloser closer;
        w.MnuFileViewErrors->trigger();
        QCOMPARE(closer.closed, opened);
        f.programSession.state().batch.BatchRunning = false;
    }

    // Settings and About open modal over the window; the settings form is loaded
    // again (hidden) when it closes, so its boxes stay readable.
    void settingsAndAbout()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        ModalCloser closer;
        w.tbToolBar->click(5);
        w.mnuSettingsSettings->trigger();
        w.tbToolBar->click(7);
        QCOMPARE(closer.closed, (QStringList{"frmSettings", "frmSettings", "frmAbout"}));
        QVERIFY(DefaultInstance<frmSettings>::isLoaded());
        QVERIFY(!DefaultInstance<frmSettings>::get().isVisible());

        // The "Next Batch starts" label opens About without holding the window.
        w.m_ui->Label1->show();
        QTest::mouseClick(w.m_ui->Label1, Qt::LeftButton);
        auto& about = DefaultInstance<frmAbout>::get();
        QTRY_VERIFY(about.isVisible());
        QVERIFY(!about.isModal());
        QCOMPARE(closer.closed.size(), 3);
    }

    void historyFrame()
    {
        settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1"));
        MainWindowFixture f;
        settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1"));
        frmmain& w = f.window();
        w.show();
        // The frame is the library's titled frame, holding the list and its button.
        QWidget* frame = w.frameHistroy();
        QCOMPARE(frame->objectName(), QStringLiteral("FrameHistroy"));
        QVERIFY(frame != w.m_ui->FrameHistroy);
        QCOMPARE(w.m_ui->ListViewBatchStatus->parentWidget(), frame);
        QCOMPARE(w.m_ui->Command1->parentWidget(), frame);
        QVERIFY(!frame->isVisible());
        QTest::mouseClick(w.m_ui->Command2, Qt::LeftButton);
        QVERIFY(frame->isVisible());
        QVERIFY(w.m_ui->ListViewBatchStatus->isVisible());
        QTest::mouseClick(w.m_ui->Command1, Qt::LeftButton);
        QVERIFY(!frame->isVisible());
    }

    void formLoad_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<int>("timer2");
        QTest::addColumn<bool>("batchControls");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("interval empty") << "" << "0" << 60 << 60 << false << QStringList{};
        QTest::addRow("interval not a number") << "abc" << "0" << 60 << 60 << false << QStringList{};
        QTest::addRow("interval 60000") << "60000" << "1" << 60000 << 60000 << true << QStringList{};
        QTest::addRow("interval 90000 counted in 60-second ticks") << "90000" << "1" << 90000 << 60000 << true
                                                                  << QStringList{};
        QTest::addRow("interval rounded to whole milliseconds") << "1500.6" << "2" << 1501 << 1501 << true
                                                               << QStringList{};
        QTest::addRow("batch enabled not a number")
            << "60000" << "yes" << 60000 << 0 << true << QStringList{"mAIN LOAD: interval 60000:Type mismatch"};
    }

    void formLoad()
    {
        QFETCH(QString, interval);
        QFETCH(QString, enabled);
        QFETCH(int, intervalMs);
        QFETCH(int, timer2);
        QFETCH(bool, batchControls);
        QFETCH(QStringList, messages);
        MainWindowFixture f;
        settings::writeSetting(QStringLiteral("BatchInterval"), interval);
        settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), enabled);
        settings::writeSetting(QStringLiteral("BatchSourcePath"), f.path(QStringLiteral("source")));
        settings::writeSetting(QStringLiteral("BatchErrorlogPath"), f.path(QStringLiteral("errors")));
        settings::writeSetting(QStringLiteral("BatchSuccessPath"), f.path(QStringLiteral("done")));
        frmmain& w = f.window();

        const importer::BatchState& batch = f.programSession.state().batch;
        QCOMPARE(shownTexts(f.boxes.service()), messages);
        QCOMPARE(batch.BatchIntervalMs, intervalMs);
        QCOMPARE(w.Timer2.Interval(), timer2);
        QCOMPARE(batch.SourceFolder, f.path(QStringLiteral("source")));
        QCOMPARE(batch.SuccessFolder, f.path(QStringLiteral("done")));
        QCOMPARE(batch.ErrorFolder, f.path(QStringLiteral("errors")));
        QVERIFY(!w.Timer1.Enabled() && !w.Timer2.Enabled() && !w.Timer3.Enabled());
        QCOMPARE(w.Timer1.Interval(), 2000);
        QCOMPARE(w.Timer3.Interval(), 1000);
        if (messages.isEmpty()) {
            QCOMPARE(w.m_ui->txtwhereat->text(), QStringLiteral("MLT2A"));
            QCOMPARE(w.m_ui->CommandStart->isEnabled(), batchControls);
            QCOMPARE(w.m_ui->CommandStop->isEnabled(), batchControls);
            QCOMPARE(w.m_ui->Command2->isEnabled(), batchControls);
            QCOMPARE(w.m_ui->FrameBatchUPLoad->isEnabled(), batchControls);
            QCOMPARE(w.m_ui->ListViewBatchStatus->isEnabled(), batchControls);
        }
        // The package version and company of the stored settings, unless the load
        // ended before it showed them.
        QCOMPARE(w.m_ui->LblCorvelVersion->text(), messages.isEmpty() ? QStringLiteral("V23") : QStringLiteral(" "));
        QCOMPARE(w.m_ui->lblconame->text(), messages.isEmpty() ? QStringLiteral("Window Test Ltd") : QString());
        QVERIFY(!w.isVisible());
    }

    void customerPricingBox_data()
    {
        QTest::addColumn<QString>("dataVersion");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("ticked");
        QTest::addRow("V23 shows it") << "23.0" << true << true;
        QTest::addRow("V12 shows it") << "12.0" << true << true;
        QTest::addRow("V11 hides and unticks it") << "11.0" << false << false;
    }

    void customerPricingBox()
    {
        QFETCH(QString, dataVersion);
        QFETCH(bool, shown);
        QFETCH(bool, ticked);
        MainWindowFixture f;
        settings::writeSetting(QStringLiteral("VorlenVersion"), dataVersion);
        settings::writeSetting(QStringLiteral("CheckCustomerPricing"), QStringLiteral("1"));
        f.window();
        auto& settingsForm = DefaultInstance<frmSettings>::get();
        QCOMPARE(!settingsForm.m_ui->CbxCustomerPricing->isHidden(), shown);
        QCOMPARE(settingsForm.cbxCustomerPricing(), ticked ? 1 : 0);
    }

    void formUnload_data()
    {
        QTest::addColumn<bool>("batchRunning");
        QTest::addRow("batch mode off") << false;
        QTest::addRow("batch mode running") << true;
    }

    // The other forms unloaded in their order after batch mode stopped, the timers
    // off, the connection closed, the program ended.
    void formUnload()
    {
        QFETCH(bool, batchRunning);
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        forms::Form* forms[] = {&DefaultInstance<frmSettings>::get(),
                                &DefaultInstance<frmErrors>::get(), &DefaultInstance<FrmErrlog>::get(),
                                &DefaultInstance<FrmFileStructure>::get(),
                                &DefaultInstance<frmAbout>::get(),
                                &DefaultInstance<frmDirPath>::get(), &w};
        // Each form, shown, is hidden by its unload: the hides give the order, and
        // the first shows what was done before anything was unloaded.
        QStringList order;
        bool timersOffFirst = false;
        int rowsLeftFirst = -1;
        QString marker;
        std::vector<std::unique_ptr<HideWatch>> watches;
        for (forms::Form* form : forms) {
            form->show();
            watches.push_back(std::make_unique<HideWatch>(form, [&, form] {
                if (order.isEmpty()) {
                    timersOffFirst = !w.Timer1.Enabled() && !w.Timer2.Enabled() && !w.Timer3.Enabled();
                    rowsLeftFirst = w.m_ui->ListViewBatchStatus->count();
                    marker = w.m_ui->txtwhereat->text();
                }
                order << form->objectName();
            }));
        }
        importer::ImportContext& context = f.programSession.context();
        QVERIFY(importer::ConnectToVorlen(context));
        if (batchRunning) {
            f.programSession.state().batch.BatchRunning = true;
            w.Timer1.setEnabled(true);
            w.Timer2.setInterval(1000);
            w.Timer2.setEnabled(true);
            w.Timer3.setEnabled(true);
            w.m_ui->ListViewBatchStatus->addItem(QStringLiteral("a.csv"));
        }

        w.MnuFileExit->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(order, (QStringList{"frmSettings", "frmErrors", "FrmErrlog", "FrmFileStructure", "frmAbout",
                                      "frmDirPath", "frmmain"}));
        QVERIFY(timersOffFirst);
        QCOMPARE(rowsLeftFirst, 0);
        QVERIFY(!context.state.package.VdoConnected);
        QVERIFY(!context.state.batch.BatchRunning);
        QCOMPARE(marker, batchRunning ? QStringLiteral("MainUL") : QStringLiteral("MLT2A"));
        QCOMPARE(f.end.count(), 1);
        QCOMPARE(f.end.lastExitCode(), 0);
    }

    void replaceStr_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<int>("compare");
        QTest::addColumn<QString>("result");
        QTest::addRow("every occurrence") << "a,b,c" << "," << ";" << 0 << "a;b;c";
        QTest::addRow("replacement holding the search text") << "aXa" << "a" << "aa" << 0 << "aaXaa";
        QTest::addRow("binary compare keeps case") << "aAa" << "a" << "-" << 0 << "-A-";
        QTest::addRow("text compare ignores case") << "aAa" << "a" << "-" << 1 << "---";
        QTest::addRow("removed") << "a--b" << "-" << "" << 0 << "ab";
        QTest::addRow("empty search ends at once") << "abc" << "" << "" << 0 << "abc";
        QTest::addRow("not found") << "abc" << "x" << "y" << 0 << "abc";
    }

    void replaceStr()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(int, compare);
        QFETCH(QString, result);
        QCOMPARE(basic::CStr(frmmain::ReplaceStr(basic::Variant(text), search, replacement, compare)), result);
        QVERIFY(frmmain::ReplaceStr(basic::Variant::null(), search, replacement, compare).isNull());
    }

    void refFrmMain()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        w.setErrorsFoundIMG(true, true);
        w.setNoErrorFoundIMG(false, false);
        w.setAnimation1Visible(true);
        w.RefFrmMain();
        QVERIFY(!w.m_ui->ErrorsFoundIMG->isVisible() && !w.m_ui->ErrorsFoundIMG->isEnabled());
        QVERIFY(w.m_ui->NoErrorFoundIMG->isVisible() && w.m_ui->NoErrorFoundIMG->isEnabled());
        QVERIFY(!w.m_ui->Animation1->isVisible());
    }

    // A whole import from the window: the file chosen with capitals in its name (shown
    // in lower case, opened all the same), validated, confirmed and posted; the
    // display painted while it ran and the result lines in the log.
    void wholeImportFromTheWindow()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.writeFile(QStringLiteral("Orders-December.CSV"), invoiceLines(3));
        f.dialogs.service().queueFile(f.path(QStringLiteral("Orders-December.CSV")));
        w.tbToolBar->click(1);
        QCOMPARE(w.m_ui->txtImportFile->text(), f.path(QStringLiteral("Orders-December.CSV")).toLower());

        PaintCounter painted(w.m_ui->TxtLineNo);
        f.boxes.service().queueAnswer(forms::AnswerYes); // "Proceed with invoice import?"
        QTest::qWait(50);
        w.tbToolBar->click(2);

        QCOMPARE(shownTexts(f.boxes.service()), QStringList{"Confirm: Proceed with invoice import?"});
        QCOMPARE(f.posted(), 3);
        const QString log = f.programSession.importLog().text();
        QCOMPARE(log.count(QStringLiteral(") created.")), 3);
        QCOMPARE(DefaultInstance<frmErrors>::get().importTextDocument()->toPlainText().count(
                     QStringLiteral(") created.")),
                 3);
        QVERIFY(painted.paints > 0);
        QVERIFY(w.isVisible());
        QCOMPARE(w.m_ui->TxtLineNo->text(), QStringLiteral("6"));
        QVERIFY(w.m_ui->ValidationProgressBar->value() > 0);
        QVERIFY(w.m_ui->NoErrorFoundIMG->isVisible());
        QCOMPARE(w.m_ui->lblVersion->text(), QStringLiteral("Ferriby"));
        QCOMPARE(w.m_ui->Animation1->isVisible(), true);

        // Uncovered after the import, the window paints its status display again.
        PaintCounter lineNoAgain(w.m_ui->TxtLineNo);
        PaintCounter statusAgain(w.m_ui->lblStatus);
        PaintCounter barAgain(w.m_ui->ValidationProgressBar);
        w.update();
        QTRY_VERIFY(lineNoAgain.paints > 0 && statusAgain.paints > 0 && barAgain.paints > 0);
    }

    // A file that fails stage one: the message, the error list shown modal over the
    // window with the entries, the log button reading "Error Log".
    void failedImportShowsTheErrorList()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        f.writeFile(QStringLiteral("bad.csv"), "I,C999,01/12/2026,P1,2,10,Widget\r\n");
        f.dialogs.service().queueFile(f.path(QStringLiteral("bad.csv")));
        w.mnuFilenew->trigger();
        ModalCloser closer;
        w.MnuFileStartImport->trigger();

        QCOMPARE(closer.closed, QStringList{"FrmErrlog"});
        QCOMPARE(shownTexts(f.boxes.service()),
                 QStringList{"Quillar Validation: Unable to import the invoice file as the file has failed validation. "
                             "Please correct these problems before retrying the import."});
        widgets::ListView* list = DefaultInstance<FrmErrlog>::get().listView1();
        QVERIFY(list->count() >= 1);
        QVERIFY(list->item(1)->text().startsWith(QLatin1String("Account No C999 does not exist")));
        QCOMPARE(w.tbToolBar->caption(3), QStringLiteral("Error Log"));
        QVERIFY(w.tbToolBar->isButtonEnabled(3) && w.MnuFileViewErrors->isEnabled());
        QVERIFY(w.m_ui->ErrorsFoundIMG->isVisible());
        QCOMPARE(f.posted(), 0);
    }

    void chosenFileWithALowerCaseTwin_data()
    {
        QTest::addColumn<bool>("chosenIsGood");
        QTest::addRow("the chosen file good, its twin failing") << true;
        QTest::addRow("the chosen file failing, its twin good") << false;
    }

    // The box shows the chosen path in lower case; a file spelt so beside it is
    // never the one validated, imported or opened.
    void chosenFileWithALowerCaseTwin()
    {
        QFETCH(bool, chosenIsGood);
        qputenv("QUILLAR_EDITOR", "gedit +{line} {file}");
        shell::ScopedRecordingProgramStarter starter;
        MainWindowFixture f;
        frmmain& w = f.window();
        const QByteArray good = invoiceLines(2);
        const QByteArray bad = "I,C999,01/12/2026,P1,2,10,Widget\r\n";
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("CaseTest")) && QDir(f.dir.path()).mkdir(QStringLiteral("casetest")));
        f.writeFile(QStringLiteral("CaseTest/Orders.csv"), chosenIsGood ? good : bad);
        f.writeFile(QStringLiteral("casetest/orders.csv"), chosenIsGood ? bad : good);
        const QString chosen = f.path(QStringLiteral("CaseTest/Orders.csv"));
        f.dialogs.service().queueFile(chosen);
        w.mnuFilenew->trigger();
        QCOMPARE(w.m_ui->txtImportFile->text(), chosen.toLower());

        ModalCloser closer;
        if (chosenIsGood)
            f.boxes.service().queueAnswer(forms::AnswerYes); // "Proceed with invoice import?"
        w.MnuFileStartImport->trigger();
        if (chosenIsGood) {
            QCOMPARE(shownTexts(f.boxes.service()), QStringList{"Confirm: Proceed with invoice import?"});
            QCOMPARE(f.posted(), 2);
        } else {
            QCOMPARE(closer.closed, QStringList{"FrmErrlog"});
            QCOMPARE(f.posted(), 0);
            widgets::ListView* list = DefaultInstance<FrmErrlog>::get().listView1();
            QVERIFY(list->count() >= 1);
            QVERIFY(list->item(1)->text().startsWith(QLatin1String("Account No C999 does not exist")));
            DefaultInstance<FrmErrlog>::get().ListView1_DblClick(list->item(1));
        }
        w.tbToolBar->click(4); // View File
        const auto& started = starter.starter().started();
        QCOMPARE(started.size(), size_t(chosenIsGood ? 1 : 2));
        for (const auto& s : started)
            QCOMPARE(s.arguments.last(), chosen);
        qunsetenv("QUILLAR_EDITOR");
    }

    // The password change asks in three boxes that mask what is typed, each wide
    // enough to show its title.
    void passwordChangeBoxesAreMasked()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        settings::writeSetting(QStringLiteral("QuillarPassword"), password::ScrambleLoginPassword("old1"));
        const QStringList typed{"old1", "new2", "new2"};
        QStringList titles;
        QList<bool> masked, titleFits;
        {
            testsupport::WidgetInputBoxes boxes([&](QInputDialog* dialog) {
                titles << dialog->windowTitle();
                masked << (dialog->textEchoMode() == QLineEdit::Password);
                titleFits << (dialog->width() >= dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()) + 100);
                QTest::keyClicks(dialog->findChild<QLineEdit*>(), typed.value(int(titles.size()) - 1));
                dialog->accept();
            });
            w.ChangePassword->trigger();
        }
        QCOMPARE(titles, (QStringList{"Enter current password", "Enter new password", "Re-enter new password"}));
        QCOMPARE(masked, (QList<bool>{true, true, true}));
        QCOMPARE(titleFits, (QList<bool>{true, true, true}));
        QCOMPARE(password::UnscrambleLoginPassword(settings::readSetting(QStringLiteral("QuillarPassword"))),
                 QStringLiteral("new2"));
    }

    // The texts a user sees: the status list's tip, no tip on "Hide Me" (not even
    // its caption), the file dialog named as the window names it.
    void windowTexts()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.m_ui->ListViewBatchStatus->toolTip(),
                 QStringLiteral("Double Click to view the selected file in Notepad."));
        const auto tipOf = [&](int index) {
            QWidget* button = w.tbToolBar->widgetForAction(w.tbToolBar->actions().at(index - 1));
            QToolTip::hideText();
            QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(button, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipOf(6), QString());
        QCOMPARE(tipOf(7), QStringLiteral("About Quillar"));
        QToolTip::hideText();
        f.dialogs.service().queueFile(std::nullopt);
        w.mnuFilenew->trigger();
        QCOMPARE(f.dialogs.service().requests().at(0).control, QStringLiteral("CommonDialog1"));
    }

    void editionFromTheWindow_data()
    {
        QTest::addColumn<int>("programType");
        QTest::addColumn<QString>("edition");
        QTest::addColumn<bool>("s3Refused");
        QTest::addRow("Ferriby allows S3") << 1 << "Ferriby" << false;
        QTest::addRow("Aldwick Plus refuses S3") << 2 << "Aldwick Plus" << true;
    }

    // The checks compare the edition the connection showed on the window.
    void editionFromTheWindow()
    {
        QFETCH(int, programType);
        QFETCH(QString, edition);
        QFETCH(bool, s3Refused);
        MainWindowFixture f(programType);
        frmmain& w = f.window();
        f.writeFile(QStringLiteral("s3.csv"), "I,C001,01/12/2026,S3,1,5,Service\r\n");
        w.setTxtImportFile(f.path(QStringLiteral("s3.csv")));
        ModalCloser closer;
        importer::ValidateImportFile(f.programSession.context(), QStringLiteral("frmmain"), QStringLiteral("validate"));
        importer::DisconnectFromVorlen(f.programSession.context());
        QCOMPARE(w.lblVersion(), edition);
        QCOMPARE(f.programSession.importLog().text().contains(QLatin1String("Special Code S3 not allowed")), s3Refused);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
