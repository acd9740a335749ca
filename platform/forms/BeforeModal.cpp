#include "platform/forms/BeforeModal.h"

#include <utility>

namespace forms {

namespace {

std::function<void()>& installed()
{
    static std::function<void()> action;
    return action;
}

} // namespace

void beforeModal()
{
    if (const auto& action = installed())
        action();
}

ScopedBeforeModal::ScopedBeforeModal(std::function<void()> action)
    : m_previous(std::exchange(installed(), std::move(action)))
{
}

ScopedBeforeModal::~ScopedBeforeModal()
{
    installed() = std::move(m_previous);
}

} // namespace forms
