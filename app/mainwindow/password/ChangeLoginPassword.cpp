#include "app/mainwindow/password/ChangeLoginPassword.h"

#include "app/mainwindow/password/LoginPassword.h"

#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

namespace password {

namespace {

const QString PasswordKey = QStringLiteral("QuillarPassword");
const QString Title = QStringLiteral("Quillar");

} // namespace

void ChangeLoginPassword()
{
    forms::MessageService& boxes = forms::messageService();
    const QString stored = UnscrambleLoginPassword(settings::readSetting(PasswordKey, QString()));

    // Cancel on any question ends the change: a cancelled box is not an empty password.
    const std::optional<QString> current =
        boxes.inputBox(QStringLiteral("Please enter current password,"),
                       QStringLiteral("Enter current password"), QString(), forms::InputEcho::Password);
    if (!current)
        return;
    if (*current != stored) {
        forms::MsgBox(QStringLiteral("Password Incorrect - Unable to change password"), forms::OKOnly, Title);
        return;
    }

    const std::optional<QString> first = boxes.inputBox(QStringLiteral("Please enter new password."),
                                                        QStringLiteral("Enter new password"), QString(),
                                                        forms::InputEcho::Password);
    if (!first)
        return;
    const std::optional<QString> second = boxes.inputBox(QStringLiteral("Please re-enter new password."),
                                                         QStringLiteral("Re-enter new password"), QString(),
                                                         forms::InputEcho::Password);
    if (!second)
        return;
    if (*first != *second) {
        forms::MsgBox(QStringLiteral("Passwords do not match"), forms::OKOnly, Title);
        return;
    }
    // A password the stored form would shorten would not work at the next login.
    if (!isStorablePassword(*first)) {
        forms::MsgBox(passwordRuleMessage(), forms::OKOnly, Title);
        return;
    }
    if (!settings::writeSetting(PasswordKey, ScrambleLoginPassword(*first)))
        forms::MsgBox(
            QStringLiteral("The new password could not be stored. Your password has not been changed."),
            forms::OKOnly, Title);
}

} // namespace password
