#include "platform/forms/Form.h"

#include <QCloseEvent>

namespace forms {

Form::Form(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

Form::~Form() = default;

void Form::load()
{
    if (m_state != State::Created)
        return;
    m_state = State::Loading;
    try {
        formLoad();
    } catch (...) {
        // A load handler that fails leaves no loaded form behind.
        m_state = State::Unloaded;
        hide();
        deleteLater();
        throw;
    }
    if (m_state == State::Loading)
        m_state = State::Loaded;
}

void Form::unload()
{
    if (m_state == State::Unloaded)
        return;
    const bool wasLoaded = m_state != State::Created;
    m_state = State::Unloaded;
    try {
        if (wasLoaded)
            formUnload();
    } catch (...) {
        hide();
        deleteLater();
        throw;
    }
    hide();
    deleteLater();
}

void Form::formLoad() {}

void Form::formUnload() {}

void Form::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        unload();
}

} // namespace forms
