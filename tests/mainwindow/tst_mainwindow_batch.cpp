// Batch-upload mode on the real main window, offscreen: the clock set by the test,
// the timers ticked by hand. Files dropped into the source folder end filed, the
// status list and the countdown show it; a Stop or a close while a file is being
// imported takes effect after that file.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

const QDateTime Start(QDate(2026, 12, 10), QTime(9, 0, 0));

QStringList filesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The rows as the list shows them: name, state and path.
QStringList rowsOf(const widgets::ListView& list)
{
    QStringList rows;
    for (int i = 1; i <= list.count(); ++i)
        rows << list.item(i)->text() + QStringLiteral(" | ") + list.item(i)->subItem(1) + QStringLiteral(" | ") +
                    list.item(i)->subItem(3);
    return rows;
}

void clickColumn(widgets::ListView& list, int section)
{
    QHeaderView* header = list.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
}

} // namespace

class TestMainWindowBatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!MainWindowFixture::registerLibraries())
            QSKIP("the package stand-in is not built");
    }

    // Three files through a whole run with an interval of 150,000 ms: Start locks
    // the window's entries, the countdown runs, two 60-second ticks pass without a
    // pass, the third files the files; the list follows; Stop unlocks all but the
    // Settings menu title.
    void wholeMode()
    {
        MainWindowFixture f;
        f.setClock(Start);
        f.enableBatchMode(QStringLiteral("150000"));
        frmmain& w = f.window();
        w.show();
        widgets::ListView& list = *w.m_ui->ListViewBatchStatus;
        const QString source = f.batchFolder("source"), success = f.batchFolder("success"),
                      error = f.batchFolder("error");
        f.writeFile(QStringLiteral("source/a.csv"), invoiceLines(1));
        f.writeFile(QStringLiteral("source/b.csv"), "I,C999,01/12/2026,P1,2,10,Widget\r\n");
        f.writeFile(QStringLiteral("source/c.csv"), invoiceLines(2));

        w.m_ui->CommandStart->click();
        QCOMPARE(w.m_ui->CommandStart->text(), QStringLiteral("&Running"));
        QVERIFY(w.m_ui->CommandStart->font().bold());
        QVERIFY(w.m_ui->Label1->isVisible());
        QVERIFY(w.m_ui->LabelCountDown->isVisible());
        QCOMPARE(w.m_ui->LabelCountDown->text(), QStringLiteral("0:02:30"));
        QCOMPARE(w.m_ui->txtwhereat->text(), QStringLiteral("MainSSTC"));
        QCOMPARE(w.statusPanel(1)->text(), QString());
        QVERIFY(w.Timer1.Enabled() && w.Timer2.Enabled() && w.Timer3.Enabled());
        QCOMPARE(w.Timer2.Interval(), 60000);
        QVERIFY(!w.mnuFilenew->isEnabled() && !w.MnuFileStartImport->isEnabled());
        QVERIFY(!w.Settings->menuAction()->isEnabled());
        for (int button : {1, 2, 5, 6})
            QVERIFY2(!w.tbToolBar->isButtonEnabled(button), qPrintable(QString::number(button)));
        QCOMPARE(w.tbToolBar->caption(2), QStringLiteral("&Validate"));
        {
            // The items of the disabled Settings menu are out of reach, their keys too.
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            ModalCloser closer;
            QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
            QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
            QTest::qWait(30);
            QCOMPARE(closer.closed, QStringList());
        }

        f.advanceClock(1);
        QVERIFY(w.Timer3.tick());
        QCOMPARE(w.m_ui->LabelCountDown->text(), QStringLiteral("0:02:29"));
        QCOMPARE(w.m_ui->txtwhereat->text(), QStringLiteral("T3Cap"));

        // The scan queues the files, the refresh lists them.
        w.m_ui->Command2->click();
        QVERIFY(w.frameHistroy()->isVisible());
        w.Timer1.tick();
        w.Timer1.tick();
        QCOMPARE(rowsOf(list), (QStringList{"a.csv | Pending | " + source + "/a.csv",
                                            "b.csv | Pending | " + source + "/b.csv",
                                            "c.csv | Pending | " + source + "/c.csv"}));

        // Longer intervals are counted in 60-second ticks: the third one passes.
        for (int tick = 1; tick <= 2; ++tick) {
            f.advanceClock(60);
            QVERIFY(w.Timer2.tick());
            QCOMPARE(w.m_ui->txtwhereat->text(), QStringLiteral("T2LI"));
            QCOMPARE(filesOf(source).size(), 3);
        }
        w.Timer3.tick();
        QCOMPARE(w.m_ui->LabelCountDown->text(), QStringLiteral("0:00:29"));
        f.advanceClock(60);
        QVERIFY(w.Timer2.tick());
        QCOMPARE(w.m_ui->txtwhereat->text(), QStringLiteral("T2ST"));
        QCOMPARE(w.m_ui->LabelCountDown->text(), QStringLiteral("0:02:30"));
        QVERIFY(w.Timer3.Enabled());
        QCOMPARE(w.m_ui->lblStatus->text(), QStringLiteral("Import Successfull!"));
        QCOMPARE(filesOf(source), QStringList());
        QCOMPARE(filesOf(success), (QStringList{"a202612101.csv", "c202612103.csv"}));
        QCOMPARE(filesOf(error), (QStringList{"b202612102.csv", "b202612102_ERRORLOG.CSV"}));
        QVERIFY(readFile(error + QStringLiteral("/b202612102_ERRORLOG.CSV")).contains("Account No C999 does not exist"));
        QCOMPARE(f.posted(), 3);
        QCOMPARE(shownTexts(f.boxes.service()), QStringList());
        f.advanceClock(1);
        w.Timer3.tick();
        QCOMPARE(w.m_ui->LabelCountDown->text(), QStringLiteral("0:02:29"));

        // The pending rows give way to the filed ones, appended in folder order.
        w.Timer1.tick();
        QCOMPARE(rowsOf(list),
                 (QStringList{"a202612101.csv | Loaded | " + success + "/a202612101.csv",
                              "c202612103.csv | Loaded | " + success + "/c202612103.csv",
                              "b202612102.csv | Error(s) Found | " + error + "/b202612102_ERRORLOG.CSV"}));
        // A column click sorts by that column.
        clickColumn(list, 0);
        QCOMPARE(list.sortKey(), 0);
        QCOMPARE(list.item(2)->text(), QStringLiteral("b202612102.csv"));
        clickColumn(list, 1);
        QCOMPARE(list.sortKey(), 1);
        QCOMPARE(list.item(1)->subItem(1), QStringLiteral("Error(s) Found"));
        // A refresh with nothing changed keeps the rows where the sort put them.
        w.Timer1.tick();
        QCOMPARE(list.item(1)->subItem(1), QStringLiteral("Error(s) Found"));
        QCOMPARE(list.count(), 3);

        w.m_ui->CommandStop->click();
        QCOMPARE(w.m_ui->CommandStart->text(), QStringLiteral("&Start"));
        QVERIFY(!w.m_ui->CommandStart->font().bold());
        QVERIFY(!w.m_ui->Label1->isVisible() && !w.m_ui->LabelCountDown->isVisible());
        QVERIFY(!w.Timer1.Enabled() && !w.Timer2.Enabled() && !w.Timer3.Enabled());
        QCOMPARE(list.count(), 0);
        QVERIFY(!f.programSession.state().batch.BatchRunning);
        QVERIFY(w.mnuFilenew->isEnabled());
        for (int button : {1, 5, 6})
            QVERIFY2(w.tbToolBar->isButtonEnabled(button), qPrintable(QString::number(button)));
        // Left as they were: the import entry until a file is chosen, the Settings
        // menu title for good.
        QVERIFY(!w.MnuFileStartImport->isEnabled());
        QVERIFY(!w.tbToolBar->isButtonEnabled(2));
        QVERIFY(!w.Settings->menuAction()->isEnabled());
    }

    // Start with folders that do not exist: a message for each, error folder first,
    // and the window stays as it was.
    void startWithMissingFolders()
    {
        MainWindowFixture f;
        f.enableBatchMode(QStringLiteral("60000"));
        QDir(f.batchFolder("error")).removeRecursively();
        QDir(f.batchFolder("source")).removeRecursively();
        frmmain& w = f.window();
        w.show();
        w.m_ui->CommandStart->click();
        QCOMPARE(shownTexts(f.boxes.service()),
                 (QStringList{"Quillar: " + f.batchFolder("error") + " Error file destination path not defined or invalid ",
                              "Quillar: " + f.batchFolder("source") + " Source file path not defined or invalid "}));
        QCOMPARE(w.m_ui->CommandStart->text(), QStringLiteral("&Start"));
        QVERIFY(!w.m_ui->LabelCountDown->isVisible());
        QVERIFY(!w.Timer1.Enabled() && !w.Timer2.Enabled() && !w.Timer3.Enabled());
        QVERIFY(!f.programSession.state().batch.BatchRunning);
        QVERIFY(w.Settings->menuAction()->isEnabled());
    }

    // Start clears the status text under the progress bar, and it stays clear after
    // Stop: no counter shows where a text belongs.
    void startAndStopLeaveNoStatusText()
    {
        MainWindowFixture f;
        f.setClock(Start);
        f.enableBatchMode(QStringLiteral("60000"));
        frmmain& w = f.window();
        w.show();
        w.m_ui->lblStatus->setText(QStringLiteral("Import Successfull!"));
        w.m_ui->CommandStart->click();
        QVERIFY(f.programSession.state().batch.BatchRunning);
        QCOMPARE(w.m_ui->lblStatus->text(), QString());
        w.m_ui->CommandStop->click();
        QVERIFY(!f.programSession.state().batch.BatchRunning);
        QCOMPARE(w.m_ui->lblStatus->text(), QString());
    }

    void stopOrCloseDuringAFile_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        QTest::addRow("Stop clicked") << "stop" << false;
        QTest::addRow("window closed") << "close" << true;
        QTest::addRow("File Exit chosen") << "exit" << true;
    }

    // The user acts while the pass lets window events run inside the first file's
    // upload: that file still finishes as a batch import (no question, no error
    // list, filed as imported), then the mode stops, the second file stays for
    // later, and a close closes the window only then.
    void stopOrCloseDuringAFile()
    {
        QFETCH(QString, action);
        QFETCH(bool, closes);
        MainWindowFixture f;
        f.setClock(Start);
        f.enableBatchMode(QStringLiteral("60000"));
        frmmain& w = f.window();
        w.show();
        f.writeFile(QStringLiteral("source/a.csv"), invoiceLines(1));
        f.writeFile(QStringLiteral("source/b.csv"), invoiceLines(1));
        w.m_ui->CommandStart->click();
        w.Timer1.tick();
        w.Timer1.tick();

        bool acted = false;
        QMetaObject::invokeMethod(
            &w,
            [&] {
                acted = f.programSession.state().batch.BatchRunning;
                if (action == QLatin1String("stop"))
                    w.m_ui->CommandStop->click();
                else if (action == QLatin1String("close"))
                    w.close();
                else
                    w.MnuFileExit->trigger();
                // Nothing stops before the file is done.
                acted = acted && f.programSession.state().batch.BatchRunning && w.isVisible();
            },
            Qt::QueuedConnection);
        QVERIFY(w.Timer2.tick());

        QVERIFY(acted);
        QCOMPARE(shownTexts(f.boxes.service()), QStringList());
        QCOMPARE(filesOf(f.batchFolder("success")), QStringList{"a202612101.csv"});
        QCOMPARE(filesOf(f.batchFolder("error")), QStringList());
        QCOMPARE(filesOf(f.batchFolder("source")), QStringList{"b.csv"});
        QCOMPARE(f.posted(), 1);
        QVERIFY(!f.programSession.state().batch.BatchRunning);
        QVERIFY(!w.Timer1.Enabled() && !w.Timer2.Enabled() && !w.Timer3.Enabled());
        QCOMPARE(w.m_ui->ListViewBatchStatus->count(), 0);
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(f.end.count(), closes ? 1 : 0);
        if (!closes)
            QCOMPARE(w.m_ui->CommandStart->text(), QStringLiteral("&Start"));
    }
};

QTEST_MAIN(TestMainWindowBatch)
#include "tst_mainwindow_batch.moc"
