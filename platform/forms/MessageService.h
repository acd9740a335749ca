#pragma once

#include "platform/basic/ServiceSlot.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

// Message and input boxes go through one service: the program installs the
// widget implementation, tests install ScriptedMessageService.
namespace forms {

// Style bits of MsgBox, combined with "|".
enum MsgStyle : int32_t {
    OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
    DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512,
};
constexpr int32_t ButtonsMask = 0x7;
constexpr int32_t IconMask = 0x70;
constexpr int32_t DefaultButtonMask = 0x300;

enum Answer : int32_t { AnswerOK = 1, AnswerCancel = 2, AnswerAbort = 3, AnswerRetry = 4, AnswerIgnore = 5, AnswerYes = 6, AnswerNo = 7 };

// "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore"; nullopt for other text.
std::optional<Answer> answerFromName(const QString& name);
QString answerName(Answer answer);

// The answers of a box's buttons, left to right (a button set out of range shows OK).
std::vector<Answer> buttonAnswers(int32_t style);
// The answer of a box's default button: the first button unless DefaultButton2 or
// DefaultButton3 names one the box has (YesNo + DefaultButton2 gives No).
Answer defaultAnswer(int32_t style);

// How an input box shows what is typed: as typed, or masked (passwords).
enum class InputEcho { Normal, Password };

// The title a box without a title of its own carries.
inline constexpr const char* ProgramTitle = "Quillar";

class MessageService
{
public:
    virtual ~MessageService();
    // Shows a box and returns the button pressed. An empty title means the program's title.
    virtual Answer messageBox(const QString& text, int32_t style, const QString& title) = 0;
    // Returns nullopt on Cancel.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText, InputEcho echo) = 0;
};

// The installed service; a ScriptedMessageService that answers every box with its
// default button until something else is installed.
MessageService& messageService();
// Installs a service and returns the previous one; installing none puts back a
// scripted service.
std::unique_ptr<MessageService> setMessageService(std::unique_ptr<MessageService> service);

// MsgBox(text, style, title) and InputBox(prompt, title, default) as the routines call them.
Answer MsgBox(const QString& text, int32_t style = OKOnly, const QString& title = {});
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {},
                 InputEcho echo = InputEcho::Normal);

// Tests: queued answers, and every box shown recorded with its text, style and title.
class ScriptedMessageService : public MessageService
{
public:
    struct Shown
    {
        QString text;
        int32_t style = 0;
        QString title; // the title as shown (the program's title when none was given)
        InputEcho echo = InputEcho::Normal; // input boxes: whether the answer was masked
        int32_t buttons() const { return style & ButtonsMask; }
        int32_t icon() const { return style & IconMask; }
        int32_t defaultButton() const { return style & DefaultButtonMask; }
    };

    Answer messageBox(const QString& text, int32_t style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                    InputEcho echo) override;

    // The next boxes are answered with these, in order; with none queued a box gets
    // its default button's answer (an input box its default text).
    void queueAnswer(Answer answer);
    void queueInput(std::optional<QString> text);
    // Message boxes shown, in order.
    const std::vector<Shown>& shown() const { return m_shown; }
    // Input boxes shown, in order: the prompt as text, style 0, the title as shown,
    // the echo.
    const std::vector<Shown>& inputsShown() const { return m_inputsShown; }
    // Forgets the queued answers and what was shown.
    void clear();

private:
    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::vector<Shown> m_shown;
    std::vector<Shown> m_inputsShown;
};

// Installs a ScriptedMessageService for the lifetime of the guard.
using ScopedScriptedMessages = basic::ScopedService<ScriptedMessageService, &setMessageService>;

} // namespace forms
