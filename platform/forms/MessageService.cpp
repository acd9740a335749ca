#include "platform/forms/MessageService.h"

#include "platform/forms/BeforeModal.h"

#include <array>
#include <utility>

namespace forms {

namespace {

struct NamedAnswer
{
    Answer answer;
    const char* name;
};

constexpr std::array<NamedAnswer, 7> answerNames{{
    {AnswerOK, "OK"},
    {AnswerCancel, "Cancel"},
    {AnswerAbort, "Abort"},
    {AnswerRetry, "Retry"},
    {AnswerIgnore, "Ignore"},
    {AnswerYes, "Yes"},
    {AnswerNo, "No"},
}};

using InstalledMessageService = basic::ServiceSlot<MessageService, ScriptedMessageService>;

QString shownTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title;
}

} // namespace

std::optional<Answer> answerFromName(const QString& name)
{
    for (const NamedAnswer& entry : answerNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.answer;
    }
    return std::nullopt;
}

QString answerName(Answer answer)
{
    for (const NamedAnswer& entry : answerNames) {
        if (entry.answer == answer)
            return QString::fromLatin1(entry.name);
    }
    return QString::number(static_cast<int32_t>(answer));
}

std::vector<Answer> buttonAnswers(int32_t style)
{
    switch (style & ButtonsMask) {
    case OKCancel:
        return {AnswerOK, AnswerCancel};
    case AbortRetryIgnore:
        return {AnswerAbort, AnswerRetry, AnswerIgnore};
    case YesNoCancel:
        return {AnswerYes, AnswerNo, AnswerCancel};
    case YesNo:
        return {AnswerYes, AnswerNo};
    case RetryCancel:
        return {AnswerRetry, AnswerCancel};
    default:
        return {AnswerOK};
    }
}

Answer defaultAnswer(int32_t style)
{
    const std::vector<Answer> answers = buttonAnswers(style);
    const auto index = static_cast<size_t>((style & DefaultButtonMask) >> 8);
    // A default button beyond the box's buttons falls back to the first.
    return index < answers.size() ? answers[index] : answers.front();
}

MessageService::~MessageService() = default;

MessageService& messageService()
{
    return InstalledMessageService::get();
}

std::unique_ptr<MessageService> setMessageService(std::unique_ptr<MessageService> service)
{
    return InstalledMessageService::set(std::move(service));
}

Answer MsgBox(const QString& text, int32_t style, const QString& title)
{
    beforeModal();
    return messageService().messageBox(text, style, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, InputEcho echo)
{
    beforeModal();
    // Cancel gives the empty string, as the routines expect.
    return messageService().inputBox(prompt, title, defaultText, echo).value_or(QString());
}

Answer ScriptedMessageService::messageBox(const QString& text, int32_t style, const QString& title)
{
    m_shown.push_back(Shown{text, style, shownTitle(title)});
    if (m_answers.empty())
        return defaultAnswer(style);
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedMessageService::inputBox(const QString& prompt, const QString& title,
                                                        const QString& defaultText, InputEcho echo)
{
    m_inputsShown.push_back(Shown{prompt, 0, shownTitle(title), echo});
    if (m_inputs.empty())
        return defaultText;
    std::optional<QString> text = std::move(m_inputs.front());
    m_inputs.pop_front();
    return text;
}

void ScriptedMessageService::queueAnswer(Answer answer)
{
    m_answers.push_back(answer);
}

void ScriptedMessageService::queueInput(std::optional<QString> text)
{
    m_inputs.push_back(std::move(text));
}

void ScriptedMessageService::clear()
{
    m_answers.clear();
    m_inputs.clear();
    m_shown.clear();
    m_inputsShown.clear();
}

} // namespace forms
