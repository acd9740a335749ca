#pragma once

#include <memory>
#include <utility>

// One installed implementation of a service interface, as the program's services
// keep it: a default made on first use, swapped for a scripted one by tests and
// put back when none is installed.
namespace shell {

// `Default` may live in one .cpp file's anonymous namespace: use this only there.
template <class Interface, class Default> class InstalledService
{
public:
    static Interface& get() { return *slot(); }
    static std::unique_ptr<Interface> set(std::unique_ptr<Interface> next)
    {
        if (!next)
            next = std::make_unique<Default>();
        std::swap(slot(), next);
        return next;
    }

private:
    static std::unique_ptr<Interface>& slot()
    {
        static std::unique_ptr<Interface> installed = std::make_unique<Default>();
        return installed;
    }
};

// Installs a `Scripted` through `install` for the guard's lifetime, then puts back
// what was there before.
template <class Interface, class Scripted, std::unique_ptr<Interface> (*install)(std::unique_ptr<Interface>)>
class ScopedService
{
public:
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;
    ScopedService()
    {
        auto scripted = std::make_unique<Scripted>();
        m_scripted = scripted.get();
        m_previous = install(std::move(scripted));
    }
    ~ScopedService() { install(std::move(m_previous)); }

protected:
    Scripted& scripted() { return *m_scripted; }

private:
    Scripted* m_scripted;
    std::unique_ptr<Interface> m_previous;
};

} // namespace shell
