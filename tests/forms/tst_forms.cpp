#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"
#include "platform/forms/Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace forms;

class TestForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answerNames_data();
    void answerNames();
    void unknownAnswerName();
    void defaultAnswer_data();
    void defaultAnswer();
    void scriptedAnswersInOrderThenDefault();
    void scriptedRecordsEveryBox();
    void scriptedInputBox();
    void scopedServiceRestoresPrevious();
    void installingNoServiceKeepsBoxesAnswered();
    void sleepIsInjectable();
    void doEventsRunsPendingEvents();
    void timerTicksWhenEnabledWithInterval_data();
    void timerTicksWhenEnabledWithInterval();
    void timerTickDuringOwnHandlerIsDropped();
    void timerHandlerMayDestroyItsTimer();
    void timerHandlerThatRaisesLeavesTimerIdle();
    void clockTickDuringDoEventsNeverNests();
    void endIsRecordedInTests();
    void fileFilters_data();
    void fileFilters();
    void scriptedFileDialog();
};

void TestForms::answerNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::addRow("OK") << "OK" << int(AnswerOK);
    QTest::addRow("Cancel") << "Cancel" << int(AnswerCancel);
    QTest::addRow("Abort") << "Abort" << int(AnswerAbort);
    QTest::addRow("Retry") << "Retry" << int(AnswerRetry);
    QTest::addRow("Ignore") << "Ignore" << int(AnswerIgnore);
    QTest::addRow("Yes") << "Yes" << int(AnswerYes);
    QTest::addRow("No") << "No" << int(AnswerNo);
}

void TestForms::answerNames()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QCOMPARE(answerFromName(name), std::optional<Answer>(Answer(answer)));
    QCOMPARE(answerFromName(name.toLower()), std::optional<Answer>(Answer(answer)));
    QCOMPARE(answerName(Answer(answer)), name);
}

void TestForms::unknownAnswerName()
{
    QCOMPARE(answerFromName(QStringLiteral("Maybe")), std::nullopt);
    QCOMPARE(answerFromName(QString()), std::nullopt);
    QCOMPARE(answerFromName(QStringLiteral("Yes ")), std::nullopt);
}

void TestForms::defaultAnswer_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("answer");
    QTest::addRow("OKOnly") << int(OKOnly) << int(AnswerOK);
    QTest::addRow("OKCancel") << int(OKCancel) << int(AnswerOK);
    QTest::addRow("OKCancel second") << int(OKCancel | DefaultButton2) << int(AnswerCancel);
    QTest::addRow("YesNo") << int(YesNo) << int(AnswerYes);
    QTest::addRow("YesNo second") << int(YesNo | DefaultButton2) << int(AnswerNo);
    QTest::addRow("YesNo question second") << int(YesNo | Question | DefaultButton2) << int(AnswerNo);
    QTest::addRow("YesNoCancel third") << int(YesNoCancel | DefaultButton3) << int(AnswerCancel);
    QTest::addRow("AbortRetryIgnore third") << int(AbortRetryIgnore | DefaultButton3) << int(AnswerIgnore);
    QTest::addRow("RetryCancel") << int(RetryCancel | Critical) << int(AnswerRetry);
    QTest::addRow("third of two falls back to first") << int(YesNo | DefaultButton3) << int(AnswerYes);
    QTest::addRow("second of one falls back to OK") << int(OKOnly | DefaultButton2) << int(AnswerOK);
    QTest::addRow("button set out of range shows OK") << 7 << int(AnswerOK);
}

void TestForms::defaultAnswer()
{
    QFETCH(int, style);
    QFETCH(int, answer);
    QCOMPARE(int(forms::defaultAnswer(style)), answer);

    ScopedScriptedMessages scripted;
    QCOMPARE(int(MsgBox(QStringLiteral("text"), style)), answer);
}

void TestForms::scriptedAnswersInOrderThenDefault()
{
    ScopedScriptedMessages scripted;
    scripted.service().queueAnswer(AnswerNo);
    scripted.service().queueAnswer(AnswerCancel);
    QCOMPARE(MsgBox(QStringLiteral("one"), YesNo), AnswerNo);
    QCOMPARE(MsgBox(QStringLiteral("two"), YesNoCancel), AnswerCancel);
    QCOMPARE(MsgBox(QStringLiteral("three"), YesNo | DefaultButton2), AnswerNo);
    QCOMPARE(MsgBox(QStringLiteral("four"), YesNo), AnswerYes);
    QCOMPARE(scripted.service().shown().size(), size_t(4));

    scripted.service().queueAnswer(AnswerYes);
    scripted.service().clear();
    QCOMPARE(scripted.service().shown().size(), size_t(0));
    QCOMPARE(MsgBox(QStringLiteral("after clear"), YesNo | DefaultButton2), AnswerNo);
}

void TestForms::scriptedRecordsEveryBox()
{
    ScopedScriptedMessages scripted;
    MsgBox(QStringLiteral("Proceed with invoice import?"), YesNo | Question | DefaultButton2,
           QStringLiteral("Import"));
    MsgBox(QStringLiteral("This File is Empty"));
    MsgBox(QStringLiteral("  padded text  "), Exclamation, QStringLiteral(" Line Columns "));

    const std::vector<ScriptedMessageService::Shown>& shown = scripted.service().shown();
    QCOMPARE(shown.size(), size_t(3));
    QCOMPARE(shown[0].text, QStringLiteral("Proceed with invoice import?"));
    QCOMPARE(shown[0].title, QStringLiteral("Import"));
    QCOMPARE(shown[0].buttons(), int32_t(YesNo));
    QCOMPARE(shown[0].icon(), int32_t(Question));
    QCOMPARE(shown[0].defaultButton(), int32_t(DefaultButton2));
    QCOMPARE(shown[1].title, QStringLiteral("Quillar"));
    QCOMPARE(shown[1].style, int32_t(OKOnly));
    QCOMPARE(shown[1].icon(), 0);
    QCOMPARE(shown[2].text, QStringLiteral("  padded text  "));
    QCOMPARE(shown[2].title, QStringLiteral(" Line Columns "));
    QCOMPARE(shown[2].icon(), int32_t(Exclamation));
    QVERIFY(scripted.service().inputsShown().empty());
}

void TestForms::scriptedInputBox()
{
    ScopedScriptedMessages scripted;
    scripted.service().queueInput(QStringLiteral("typed"));
    scripted.service().queueInput(std::nullopt);
    QCOMPARE(InputBox(QStringLiteral("Enter a name"), QStringLiteral("Name"), QStringLiteral("x")),
             QStringLiteral("typed"));
    QCOMPARE(InputBox(QStringLiteral("Cancelled"), {}, QStringLiteral("x")), QString());
    QCOMPARE(messageService().inputBox(QStringLiteral("none queued"), {}, QStringLiteral("default"),
                                       InputEcho::Password),
             std::optional<QString>(QStringLiteral("default")));

    const auto& shown = scripted.service().inputsShown();
    QCOMPARE(shown.size(), size_t(3));
    QCOMPARE(shown[0].text, QStringLiteral("Enter a name"));
    QCOMPARE(shown[0].title, QStringLiteral("Name"));
    QCOMPARE(shown[1].title, QStringLiteral("Quillar"));
    QVERIFY(shown[0].echo == InputEcho::Normal);
    QVERIFY(shown[2].echo == InputEcho::Password);
    QVERIFY(scripted.service().shown().empty());
}

void TestForms::scopedServiceRestoresPrevious()
{
    ScopedScriptedMessages outer;
    {
        ScopedScriptedMessages inner;
        QCOMPARE(&messageService(), static_cast<MessageService*>(&inner.service()));
        MsgBox(QStringLiteral("inner"));
        QCOMPARE(inner.service().shown().size(), size_t(1));
    }
    QCOMPARE(&messageService(), static_cast<MessageService*>(&outer.service()));
    MsgBox(QStringLiteral("outer"));
    QCOMPARE(outer.service().shown().size(), size_t(1));
    QCOMPARE(outer.service().shown()[0].text, QStringLiteral("outer"));
}

void TestForms::installingNoServiceKeepsBoxesAnswered()
{
    std::unique_ptr<MessageService> previous = setMessageService(nullptr);
    QCOMPARE(MsgBox(QStringLiteral("still answered"), OKCancel | DefaultButton2), AnswerCancel);
    setMessageService(std::move(previous));
}

void TestForms::sleepIsInjectable()
{
    std::vector<int32_t> slept;
    SleepFunction previous = setSleepFunction([&slept](int32_t ms) { slept.push_back(ms); });
    Sleep(1000);
    Sleep(-5);
    Sleep(0);
    setSleepFunction(previous);
    Sleep(1);
    QCOMPARE(slept, (std::vector<int32_t>{1000, 0, 0}));
}

void TestForms::doEventsRunsPendingEvents()
{
    int runs = 0;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&runs] { ++runs; }, Qt::QueuedConnection);
    QCOMPARE(runs, 0);
    DoEvents();
    QCOMPARE(runs, 1);
    DoEvents();
    QCOMPARE(runs, 1);
}

void TestForms::timerTicksWhenEnabledWithInterval_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("runs");
    QTest::addRow("enabled with an interval") << true << 2000 << true;
    QTest::addRow("disabled") << false << 2000 << false;
    QTest::addRow("interval 0") << true << 0 << false;
    QTest::addRow("negative interval") << true << -60 << false;
}

void TestForms::timerTicksWhenEnabledWithInterval()
{
    QFETCH(bool, enabled);
    QFETCH(int, interval);
    QFETCH(bool, runs);
    ScopedManualTimers manual;
    int ticks = 0;
    Timer timer([&ticks] { ++ticks; });
    timer.setInterval(interval);
    timer.setEnabled(enabled);
    QCOMPARE(timer.Interval(), interval);
    QCOMPARE(timer.Enabled(), enabled);
    QCOMPARE(timer.tick(), runs);
    QCOMPARE(ticks, runs ? 1 : 0);
}

// The rule: a tick while the handler still runs is dropped, never nested nor kept.
void TestForms::timerTickDuringOwnHandlerIsDropped()
{
    ScopedManualTimers manual;
    Timer timer;
    int passes = 0;
    int depth = 0;
    int deepest = 0;
    bool nestedRan = true;
    timer.setHandler([&] {
        ++passes;
        deepest = std::max(deepest, ++depth);
        if (passes == 1)
            nestedRan = timer.tick(); // the clock's tick while the pass lets events run
        QVERIFY(timer.handlerRunning());
        --depth;
    });
    timer.setInterval(1000);
    timer.setEnabled(true);
    QVERIFY(timer.tick());
    QVERIFY(!nestedRan);
    QCOMPARE(passes, 1);
    QCOMPARE(deepest, 1);
    QVERIFY(!timer.handlerRunning());
    // The dropped tick is not made up for; the next one runs as usual.
    QVERIFY(timer.tick());
    QCOMPARE(passes, 2);
}

void TestForms::timerHandlerMayDestroyItsTimer()
{
    ScopedManualTimers manual;
    auto timer = std::make_unique<Timer>();
    timer->setHandler([&timer] { timer.reset(); });
    timer->setInterval(10);
    timer->setEnabled(true);
    Timer* raw = timer.get();
    QVERIFY(raw->tick());
    QVERIFY(!timer);
}

void TestForms::timerHandlerThatRaisesLeavesTimerIdle()
{
    ScopedManualTimers manual;
    bool raise = true;
    Timer timer([&raise] {
        if (raise)
            throw std::runtime_error("handler failed");
    });
    timer.setInterval(10);
    timer.setEnabled(true);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, timer.tick());
    QVERIFY(!timer.handlerRunning());
    raise = false;
    QVERIFY(timer.tick());
}

// With the real clock: the pass lets events run after its interval has passed;
// its own clock's tick comes then and is dropped, another timer's tick runs.
void TestForms::clockTickDuringDoEventsNeverNests()
{
    int passes = 0;
    int depth = 0;
    int deepest = 0;
    int otherTicks = 0;
    int otherTicksInPass = 0;
    Timer other([&] { ++otherTicks; });
    Timer pass;
    pass.setHandler([&] {
        ++passes;
        deepest = std::max(deepest, ++depth);
        const int before = otherTicks;
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 30) {
            QThread::msleep(5);
            DoEvents();
        }
        otherTicksInPass += otherTicks - before;
        --depth;
    });
    other.setInterval(2);
    other.setEnabled(true);
    pass.setInterval(2);
    pass.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(passes >= 3, 5000);
    pass.setEnabled(false);
    other.setEnabled(false);
    QCOMPARE(deepest, 1);
    QVERIFY(otherTicksInPass > 0);
}

void TestForms::endIsRecordedInTests()
{
    ScopedRecordedEnd recorded;
    End();
    End(3);
    QCOMPARE(recorded.count(), 2);
    QCOMPARE(recorded.lastExitCode(), 3);
    {
        ScopedRecordedEnd inner;
        End(1);
        QCOMPARE(inner.count(), 1);
    }
    QCOMPARE(recorded.count(), 2);
}

void TestForms::fileFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<QList<QStringList>>("patterns");
    QTest::addRow("the main window's filter")
        << "Import File(*.csv)|*.csv" << QStringList{"Import File(*.csv)"} << QList<QStringList>{{"*.csv"}};
    QTest::addRow("two entries") << "Text (*.txt)|*.txt|All Files (*.*)|*.*"
                                 << QStringList{"Text (*.txt)", "All Files (*.*)"}
                                 << QList<QStringList>{{"*.txt"}, {"*.*"}};
    QTest::addRow("several patterns of one entry") << "Data|*.csv; *.txt;" << QStringList{"Data"}
                                                   << QList<QStringList>{{"*.csv", "*.txt"}};
    QTest::addRow("a description without pattern is left out")
        << "Text|*.txt|Orphan" << QStringList{"Text"} << QList<QStringList>{{"*.txt"}};
    QTest::addRow("an empty pattern is left out") << "Nothing||Text|*.txt" << QStringList{"Text"}
                                                  << QList<QStringList>{{"*.txt"}};
    QTest::addRow("no filter") << "" << QStringList{} << QList<QStringList>{};
}

void TestForms::fileFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, descriptions);
    QFETCH(QList<QStringList>, patterns);
    const std::vector<FileFilter> parsed = parseFileFilters(filter);
    QCOMPARE(parsed.size(), size_t(descriptions.size()));
    for (size_t i = 0; i < parsed.size(); ++i) {
        QCOMPARE(parsed[i].description, descriptions.at(qsizetype(i)));
        QCOMPARE(parsed[i].patterns, patterns.at(qsizetype(i)));
    }
}

void TestForms::scriptedFileDialog()
{
    // Nothing installed: every dialog is cancelled.
    QCOMPARE(ShowOpen({}), std::nullopt);
    ScopedScriptedFileDialogs dialogs;
    dialogs.service().queueFile(QStringLiteral("/data/in/orders.csv"));
    dialogs.service().queueFile(std::nullopt);
    const FileOpenRequest request{QStringLiteral("Select import file"), QStringLiteral("Import File(*.csv)|*.csv"),
                                  1, QStringLiteral("/data/in"), QString(), QString()};
    QCOMPARE(ShowOpen(request), std::optional<QString>(QStringLiteral("/data/in/orders.csv")));
    QCOMPARE(ShowOpen(request), std::nullopt);
    QCOMPARE(ShowOpen(request), std::nullopt);
    QCOMPARE(dialogs.service().requests().size(), size_t(3));
    QCOMPARE(dialogs.service().requests()[0].title, QStringLiteral("Select import file"));
    QCOMPARE(dialogs.service().requests()[0].filter, QStringLiteral("Import File(*.csv)|*.csv"));
    QCOMPARE(dialogs.service().requests()[0].initialFolder, QStringLiteral("/data/in"));
}

QTEST_GUILESS_MAIN(TestForms)
#include "tst_forms.moc"
