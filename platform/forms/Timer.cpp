#include "platform/forms/Timer.h"

#include <QTimer>

#include <utility>

namespace forms {

namespace {

bool s_manualTimers = false;

} // namespace

Timer::Timer(Handler handler) : m_handler(std::move(handler)), m_alive(std::make_shared<bool>(true)) {}

Timer::~Timer()
{
    *m_alive = false;
    if (m_clock && m_running) {
        // Destroyed by its own handler, inside the clock's signal: the clock goes
        // once control is back in the event loop.
        QObject::disconnect(m_clock.get(), nullptr, nullptr, nullptr);
        m_clock->stop();
        m_clock.release()->deleteLater();
    }
}

void Timer::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void Timer::setInterval(int32_t milliseconds)
{
    m_interval = milliseconds;
    arm();
}

void Timer::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    arm();
}

bool Timer::tick()
{
    if (!m_enabled || m_interval <= 0 || m_running || !m_handler)
        return false;
    const std::shared_ptr<bool> alive = m_alive;
    // A copy: the handler may replace the handler of its own timer.
    const Handler handler = m_handler;
    m_running = true;
    try {
        handler();
    } catch (...) {
        if (*alive)
            m_running = false;
        throw;
    }
    if (*alive)
        m_running = false;
    return true;
}

void Timer::arm()
{
    const bool ticking = m_enabled && m_interval > 0 && !s_manualTimers;
    if (!ticking) {
        if (m_clock)
            m_clock->stop();
        return;
    }
    if (!m_clock) {
        m_clock = std::make_unique<QTimer>();
        QObject::connect(m_clock.get(), &QTimer::timeout, m_clock.get(), [this]() { tick(); });
    }
    m_clock->start(m_interval);
}

ScopedManualTimers::ScopedManualTimers() : m_previous(std::exchange(s_manualTimers, true)) {}

ScopedManualTimers::~ScopedManualTimers()
{
    s_manualTimers = m_previous;
}

} // namespace forms
