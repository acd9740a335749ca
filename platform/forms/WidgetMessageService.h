#pragma once

#include "platform/forms/MessageService.h"

// The program's message and input boxes: a modal QMessageBox with the buttons,
// icon, default button and title of the style, and a QInputDialog. Both are owned
// by the active window, if any. An input box is wide enough for its title, masks a
// password, breaks its prompt at each line end (a lone CR too) and stays within
// the screen.
namespace forms {

class WidgetMessageService : public MessageService
{
public:
    Answer messageBox(const QString& text, int32_t style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                    InputEcho echo) override;
};

} // namespace forms
