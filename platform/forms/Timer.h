#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

// A form's timer: Interval in milliseconds and Enabled, and a handler (Timer1_Timer)
// that runs at each tick from the event loop.
//  - It ticks only while Enabled and Interval is above 0 (0 or below never ticks).
//    Enabling it, or changing Interval while it is enabled, starts the count anew.
//  - The one rule for a tick that comes while the timer's own handler still runs
//    (the handler let events run with DoEvents and the interval passed): that tick
//    is dropped. It neither nests a second pass inside the first nor waits to run
//    after it; the next tick after the handler returns runs as usual. Other timers
//    are not held back.
//  - Tests tick by hand: inside a ScopedManualTimers no clock runs and tick() is
//    the only tick.
namespace forms {

class Timer
{
public:
    using Handler = std::function<void()>;

    explicit Timer(Handler handler = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void setHandler(Handler handler);

    int32_t Interval() const { return m_interval; }
    void setInterval(int32_t milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // One tick: runs the handler when the timer is enabled, its interval is above 0
    // and its handler is not already running; returns whether it ran. A handler that
    // raises passes the exception on after the timer counts as idle again.
    bool tick();
    bool handlerRunning() const { return m_running; }

private:
    void arm();

    Handler m_handler;
    int32_t m_interval = 0;
    bool m_enabled = false;
    bool m_running = false;
    std::unique_ptr<QTimer> m_clock;
    // Cleared when the timer is destroyed, so a handler that destroys its own timer
    // (its form unloaded during DoEvents) leaves tick() nothing to touch.
    std::shared_ptr<bool> m_alive;
};

// While a guard lives, timers made or re-armed get no clock: only tick() fires them.
class ScopedManualTimers
{
public:
    ScopedManualTimers(const ScopedManualTimers&) = delete;
    ScopedManualTimers& operator=(const ScopedManualTimers&) = delete;
    ScopedManualTimers();
    ~ScopedManualTimers();

private:
    bool m_previous;
};

} // namespace forms
