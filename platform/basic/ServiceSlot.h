#pragma once

#include <memory>
#include <utility>

// One installed implementation of a service (message boxes, file dialogs, the
// program starter, printers): the program installs the real one, tests a scripted
// one; with none installed the fallback answers.
namespace basic {

template <class Service, class Fallback> class ServiceSlot
{
public:
    static Service& get() { return *slot(); }

    // Installs a service and returns the previous one; none puts back the fallback.
    static std::unique_ptr<Service> set(std::unique_ptr<Service> service)
    {
        if (!service)
            service = std::make_unique<Fallback>();
        return std::exchange(slot(), std::move(service));
    }

private:
    static std::unique_ptr<Service>& slot()
    {
        static std::unique_ptr<Service> service = std::make_unique<Fallback>();
        return service;
    }
};

// Installs a scripted service for the lifetime of the guard and puts back the one
// before. `Install` is the service's set function (setMessageService...).
template <class Scripted, auto Install> class ScopedService
{
public:
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;
    ScopedService()
    {
        auto service = std::make_unique<Scripted>();
        m_service = service.get();
        m_previous = Install(std::move(service));
    }
    ~ScopedService() { Install(std::move(m_previous)); }
    Scripted& service() { return *m_service; }

private:
    Scripted* m_service;
    decltype(Install(nullptr)) m_previous;
};

} // namespace basic
