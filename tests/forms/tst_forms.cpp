#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"

#include <QCoreApplication>
#include <QTest>

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
    QCOMPARE(messageService().inputBox(QStringLiteral("none queued"), {}, QStringLiteral("default")),
             std::optional<QString>(QStringLiteral("default")));

    const auto& shown = scripted.service().inputsShown();
    QCOMPARE(shown.size(), size_t(3));
    QCOMPARE(shown[0].text, QStringLiteral("Enter a name"));
    QCOMPARE(shown[0].title, QStringLiteral("Name"));
    QCOMPARE(shown[1].title, QStringLiteral("Quillar"));
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

QTEST_GUILESS_MAIN(TestForms)
#include "tst_forms.moc"
