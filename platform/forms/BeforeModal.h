#pragma once

#include <functional>

// What must be done before a message box, an input box or a modal window is shown:
// a window that holds back its display while a long task runs puts it on screen,
// so the box does not stand over stale values.
namespace forms {

// Called by MsgBox, InputBox and Form::showModal before they show anything.
void beforeModal();

// Installs `action` for beforeModal for its lifetime; the one it replaces is put back
// at its end (a nested task's window stands in for the outer one meanwhile).
class ScopedBeforeModal
{
public:
    explicit ScopedBeforeModal(std::function<void()> action);
    ~ScopedBeforeModal();
    ScopedBeforeModal(const ScopedBeforeModal&) = delete;
    ScopedBeforeModal& operator=(const ScopedBeforeModal&) = delete;

private:
    std::function<void()> m_previous;
};

} // namespace forms
