#include "platform/forms/Pump.h"

#include <QCoreApplication>
#include <QThread>

#include <utility>

namespace forms {

namespace {

void threadSleep(int32_t milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

SleepFunction& installedSleep()
{
    static SleepFunction function = threadSleep;
    return function;
}

} // namespace

void DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void Sleep(int32_t milliseconds)
{
    installedSleep()(milliseconds < 0 ? 0 : milliseconds);
}

SleepFunction setSleepFunction(SleepFunction function)
{
    if (!function)
        function = threadSleep;
    return std::exchange(installedSleep(), std::move(function));
}

} // namespace forms
