// The main window's status display while an import runs from it: the line number,
// current line and progress bar a user sees when the import stops to ask something,
// and after the error list's Refresh has validated the file again; and the import
// log window's text then.
#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/frmErrors.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/widgets/ToolBar.h"

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QTextDocument>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>
#include <utility>

using forms::DefaultInstance;

namespace {

// What the display shows: line number, current line, progress.
struct StatusShown
{
    QString lineNo;
    QString currentLine;
    int progress = -1;
};

// The import log as its window shows it (plain line ends).
QString logShown()
{
    return DefaultInstance<frmErrors>::get().importTextDocument()->toPlainText();
}

QString logAsShown(QString log)
{
    return log.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Writes the file and chooses it with Select File.
void selectFile(MainWindowFixture& f, const QString& name, const QByteArray& lines)
{
    f.writeFile(name, lines);
    f.dialogs.service().queueFile(f.path(name));
    f.window().tbToolBar->click(1);
}

// Validate from the window; while the error list is up modal, whileUp runs every few
// milliseconds (it hides the list to let the import go on).
void validateWithListUp(frmmain& w, const std::function<void(FrmErrlog&)>& whileUp)
{
    FrmErrlog& list = DefaultInstance<FrmErrlog>::get();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (QApplication::activeModalWidget() == &list)
            whileUp(list);
    });
    poll.start();
    w.tbToolBar->click(2);
}

StatusShown shownOn(const frmmain& w)
{
    return {w.m_ui->TxtLineNo->text(), w.m_ui->TxtCurrentLine->text(), w.m_ui->ValidationProgressBar->value()};
}

// Answers like the scripted boxes, and notes what the window showed when each box
// came up.
class BoxWatch : public forms::ScriptedMessageService
{
public:
    explicit BoxWatch(const frmmain& w) : m_window(w) {}
    forms::Answer messageBox(const QString& text, int32_t style, const QString& title) override
    {
        seen.push_back({text, shownOn(m_window)});
        if (onBox)
            onBox();
        return ScriptedMessageService::messageBox(text, style, title);
    }
    std::vector<std::pair<QString, StatusShown>> seen;
    std::function<void()> onBox;

private:
    const frmmain& m_window;
};

// The values a progress bar showed at each of its paints.
class PaintedValues : public QObject
{
public:
    explicit PaintedValues(QProgressBar& bar) : m_bar(bar) { bar.installEventFilter(this); }
    ~PaintedValues() override { m_bar.removeEventFilter(this); }
    std::vector<int> values;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_bar && event->type() == QEvent::Paint)
            values.push_back(m_bar.value());
        return false;
    }

private:
    QProgressBar& m_bar;
};

} // namespace

class TestMainWindowProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!MainWindowFixture::registerLibraries())
            QSKIP("the package stand-in is not built");
    }

    // A short file passes both validation passes between two paints: the question
    // stands over the last line read and the progress the passes reached.
    void questionShowsWhereTheValidationEnded()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QByteArray lines = invoiceLines(3);
        selectFile(f, QStringLiteral("orders.csv"), lines);

        auto* watch = new BoxWatch(w);
        watch->queueAnswer(forms::AnswerNo);
        auto previous = forms::setMessageService(std::unique_ptr<forms::MessageService>(watch));
        w.tbToolBar->click(2);
        const auto seen = watch->seen;
        forms::setMessageService(std::move(previous));

        QCOMPARE(int(seen.size()), 1);
        QCOMPARE(seen[0].first, QStringLiteral("Proceed with invoice import?"));
        const StatusShown& display = seen[0].second;
        QCOMPARE(display.lineNo, QStringLiteral("6"));
        QCOMPARE(display.currentLine, QString::fromLatin1(lines.split('\r').at(5).trimmed()));
        QVERIFY2(display.progress > 0, qPrintable(QString::number(display.progress)));
        QCOMPARE(f.posted(), 0);
    }

    // Between boxes a tick paints the line boxes, the status and the clip; the
    // progress bar paints itself as it grows, so it moves while the passes run, long
    // before the question.
    void progressBarMovesDuringTheRun()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        selectFile(f, QStringLiteral("orders.csv"), invoiceLines(5000));

        PaintedValues painted(*w.m_ui->ValidationProgressBar);
        auto* watch = new BoxWatch(w);
        watch->queueAnswer(forms::AnswerNo);
        size_t paintsBeforeQuestion = 0;
        watch->onBox = [&] { paintsBeforeQuestion = painted.values.size(); };
        auto previous = forms::setMessageService(std::unique_ptr<forms::MessageService>(watch));
        w.tbToolBar->click(2);
        const size_t boxes = watch->seen.size();
        forms::setMessageService(std::move(previous));

        QCOMPARE(int(boxes), 1);
        // The paint the question brings (the whole window) is left out.
        const std::set<int> moving(painted.values.begin(),
                                   painted.values.begin() + qsizetype(paintsBeforeQuestion ? paintsBeforeQuestion - 1 : 0));
        QVERIFY2(moving.size() >= 2, qPrintable(QStringLiteral("%1 paints before the question").arg(paintsBeforeQuestion)));
        QCOMPARE(f.posted(), 0);
    }

    // The error list is up after a failed import; the file is mended to five lines, of
    // which the last still fails, and Refresh validates it again: the window shows
    // that run while the list is still up, not the six lines of the first.
    void refreshShowsItsOwnRun()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QByteArray lines = invoiceLines(2) + "I,C999,01/12/2026,P1,2,10,Widget\r\n"
                                             "I,C999,01/12/2026,P2,1,4,Gadget\r\n";
        selectFile(f, QStringLiteral("orders.csv"), lines);

        StatusShown afterRefresh;
        bool refreshed = false;
        validateWithListUp(w, [&](FrmErrlog& list) {
            if (!refreshed) {
                refreshed = true;
                f.writeFile(QStringLiteral("orders.csv"),
                            invoiceLines(2) + "I,C999,01/12/2026,P1,2,10,Widget\r\n");
                list.CmdRefresh_Click();
                return; // the list stays up while the event loop runs again
            }
            afterRefresh = shownOn(w);
            list.hide();
        });

        QVERIFY(refreshed);
        QCOMPARE(afterRefresh.lineNo, QStringLiteral("5"));
        QCOMPARE(afterRefresh.currentLine, QStringLiteral("I,C999,01/12/2026,P1,2,10,Widget"));
        QCOMPARE(afterRefresh.progress, 6); // past the last of the five lines
        QCOMPARE(f.posted(), 0);
    }

    // The import log window holds every line the import wrote by the time the error
    // list comes up (the window hidden), and once an import has posted (shown).
    void importLogWindowKeepsUp()
    {
        MainWindowFixture f;
        frmmain& w = f.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString& log = f.programSession.importLog().text();

        selectFile(f, QStringLiteral("bad.csv"),
                   invoiceLines(2) + "I,C999,01/12/2026,P1,2,10,Widget\r\nI,C998,01/12/2026,P2,1,4,Gadget\r\n");
        QString logAtList;
        QString shownAtList;
        validateWithListUp(w, [&](FrmErrlog& list) {
            logAtList = log;
            shownAtList = logShown();
            list.hide();
        });
        QVERIFY2(logAtList.contains(QLatin1String("C999")) && logAtList.contains(QLatin1String("C998")),
                 qPrintable(logAtList));
        QCOMPARE(shownAtList, logAsShown(logAtList));

        DefaultInstance<frmErrors>::get().show();
        selectFile(f, QStringLiteral("orders.csv"), invoiceLines(40));
        f.boxes.service().queueAnswer(forms::AnswerYes);
        w.tbToolBar->click(2);
        QCOMPARE(f.posted(), 40);
        QCOMPARE(log.count(QLatin1String(") created.")), 40);
        QCOMPARE(logShown(), logAsShown(log));
    }
};

QTEST_MAIN(TestMainWindowProgress)
#include "tst_mainwindow_progress.moc"
