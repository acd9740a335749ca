#include "platform/forms/Form.h"

#include "platform/forms/BeforeModal.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

#include <utility>

namespace forms {

namespace {

Form::UnloadObserver& unloadObserver()
{
    static Form::UnloadObserver observer;
    return observer;
}

} // namespace

Form::UnloadObserver Form::setUnloadObserver(UnloadObserver observer)
{
    return std::exchange(unloadObserver(), std::move(observer));
}

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
    if (wasLoaded && unloadObserver())
        unloadObserver()(*this);
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

void Form::showModal(QWidget* owner)
{
    if (m_state == State::Created)
        load();
    if (isUnloaded())
        return;
    beforeModal();
    QPointer<Form> self(this);
    QPointer<QWidget> ownerWindow(owner ? owner->window() : nullptr);
    if (isVisible())
        hide(); // modality is set on a hidden window only
    setWindowModality(Qt::ApplicationModal);
    if (!windowHandle())
        create();
    if (ownerWindow) {
        if (!ownerWindow->windowHandle())
            ownerWindow->winId(); // makes its native window
        windowHandle()->setTransientParent(ownerWindow->windowHandle());
    }

    QEventLoop loop;
    QObject::connect(windowHandle(), &QWindow::visibleChanged, &loop, [&loop](bool visible) {
        if (!visible)
            loop.quit();
    });
    QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    show();
    if (self && isVisible() && !isUnloaded())
        loop.exec(QEventLoop::DialogExec);

    // The form may be gone: unloaded and deleted while the loop ran.
    if (!self)
        return;
    if (isVisible())
        hide();
    setWindowModality(Qt::NonModal);
    if (QWindow* handle = windowHandle())
        handle->setTransientParent(nullptr);
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
