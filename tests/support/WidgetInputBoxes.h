#pragma once

#include "platform/forms/MessageService.h"
#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QInputDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

namespace testsupport {

// The program's own input boxes (QInputDialog) for the guard's lifetime: each box
// that shows is handed to `answer`, which reads what a user sees and accepts or
// rejects it; the service before is put back at the end.
class WidgetInputBoxes
{
public:
    explicit WidgetInputBoxes(std::function<void(QInputDialog*)> answer)
        : m_previous(forms::setMessageService(std::make_unique<forms::WidgetMessageService>()))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [answer = std::move(answer)] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QInputDialog*>(top); dialog && dialog->isVisible())
                    answer(dialog);
            }
        });
        m_poll.start(10);
    }
    ~WidgetInputBoxes() { forms::setMessageService(std::move(m_previous)); }
    WidgetInputBoxes(const WidgetInputBoxes&) = delete;
    WidgetInputBoxes& operator=(const WidgetInputBoxes&) = delete;

private:
    std::unique_ptr<forms::MessageService> m_previous;
    QTimer m_poll;
};

} // namespace testsupport
