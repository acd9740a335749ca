#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace forms {

namespace {

QMessageBox::StandardButton standardButton(Answer answer)
{
    switch (answer) {
    case AnswerOK:
        return QMessageBox::Ok;
    case AnswerCancel:
        return QMessageBox::Cancel;
    case AnswerAbort:
        return QMessageBox::Abort;
    case AnswerRetry:
        return QMessageBox::Retry;
    case AnswerIgnore:
        return QMessageBox::Ignore;
    case AnswerYes:
        return QMessageBox::Yes;
    case AnswerNo:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(int32_t style)
{
    switch (style & IconMask) {
    case Critical:
        return QMessageBox::Critical;
    case Question:
        return QMessageBox::Question;
    case Exclamation:
        return QMessageBox::Warning;
    case Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The answer Escape or the window's close button gives: Cancel where the box has
// one, otherwise the answer that goes on least (No, Abort), OK for a lone OK.
Answer escapeAnswer(const std::vector<Answer>& answers)
{
    for (Answer candidate : {AnswerCancel, AnswerNo, AnswerAbort}) {
        for (Answer answer : answers) {
            if (answer == candidate)
                return answer;
        }
    }
    return answers.front();
}

QString boxTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title;
}

} // namespace

Answer WidgetMessageService::messageBox(const QString& text, int32_t style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(boxTitle(title));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(boxIcon(style));

    const std::vector<Answer> answers = buttonAnswers(style);
    std::vector<std::pair<QAbstractButton*, Answer>> buttons;
    for (Answer answer : answers)
        buttons.emplace_back(box.addButton(standardButton(answer)), answer);

    const Answer byDefault = defaultAnswer(style);
    const Answer byEscape = escapeAnswer(answers);
    for (const auto& [button, answer] : buttons) {
        if (answer == byDefault)
            box.setDefaultButton(static_cast<QPushButton*>(button));
        if (answer == byEscape)
            box.setEscapeButton(button);
    }

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, answer] : buttons) {
        if (button == clicked)
            return answer;
    }
    return byEscape;
}

std::optional<QString> WidgetMessageService::inputBox(const QString& prompt, const QString& title,
                                                      const QString& defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace forms
