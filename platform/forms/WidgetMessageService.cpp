#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
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

// Room a window frame takes beside its title: icon, buttons and margins.
constexpr int TitleBarRoom = 150;

QString boxTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title;
}

// A prompt's lines as the label shows them: CR LF, LF and a lone CR each end a line.
QString promptLines(QString prompt)
{
    prompt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return prompt;
}

// Wide enough for the title beside the frame's buttons, never larger than the
// screen's free area; a long line of the prompt wraps.
void fitInputBox(QInputDialog& dialog)
{
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (auto* label = dialog.findChild<QLabel*>())
        label->setWordWrap(true);
    const int titleWidth = dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + TitleBarRoom;
    const int width = std::min(available.width(), std::max(dialog.sizeHint().width(), titleWidth));
    dialog.setMinimumWidth(width);
    dialog.setMaximumSize(available.size());
    dialog.resize(width, std::min(dialog.sizeHint().height(), available.height()));
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
                                                      const QString& defaultText, InputEcho echo)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(promptLines(prompt));
    dialog.setTextValue(defaultText);
    dialog.setTextEchoMode(echo == InputEcho::Password ? QLineEdit::Password : QLineEdit::Normal);
    fitInputBox(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace forms
