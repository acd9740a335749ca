#include "platform/forms/Form.h"

#include "platform/forms/BeforeModal.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include <utility>

namespace forms {

namespace {

Form::UnloadObserver& unloadObserver()
{
    static Form::UnloadObserver observer;
    return observer;
}

// The frame a window manager puts around a window; before the window was first
// mapped it is not known, so a title bar and a thin border are allowed for.
QMargins frameOf(const QWidget& form)
{
    const QMargins known = form.windowHandle() ? form.windowHandle()->frameMargins() : QMargins();
    return known.isNull() ? QMargins(4, 30, 4, 4) : known;
}

void placeOnScreen(QWidget& form)
{
    const QWindow* owner = form.windowHandle() ? form.windowHandle()->transientParent() : nullptr;
    QScreen* screen = owner && owner->screen() ? owner->screen() : form.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame = frameOf(form);
    const QRect area = screen->availableGeometry().marginsRemoved(frame); // room for the client area
    if (form.width() > area.width() || form.height() > area.height())
        form.resize(form.size().boundedTo(area.size()));

    QRect client(form.geometry().topLeft(), form.size());
    if (owner) {
        const QRect ownerFrame = owner->frameGeometry();
        client.moveCenter(ownerFrame.center() + QPoint(0, (frame.top() - frame.bottom()) / 2));
    }
    const int x = std::clamp(client.left(), area.left(), std::max(area.left(), area.right() + 1 - client.width()));
    const int y = std::clamp(client.top(), area.top(), std::max(area.top(), area.bottom() + 1 - client.height()));
    if (owner || x != client.left() || y != client.top())
        form.move(x - frame.left(), y - frame.top());
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

void Form::setScrollableContent(QWidget* content)
{
    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("formScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    area->setWidgetResizable(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    // Room for the vertical scroll bar, so that a form only lower than the screen
    // does not scroll sideways as well.
    resize(content->sizeHint() + QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0));
}

void Form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        placeOnScreen(*this);
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
