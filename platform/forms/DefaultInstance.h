#pragma once

#include "platform/forms/Form.h"

#include <QPointer>

#include <type_traits>

// The default instance of a form class: one per class, made on first touch.
//   forms::DefaultInstance<frmSettings>::get().m_ui->TxtDatapath->text()
// get() on an unloaded form creates it and loads it hidden (its load handler runs
// then, once); isLoaded() tells without loading; unload() unloads it, so that the
// next get() loads a new one. A load handler that touches its own default instance
// gets the form being loaded. Forms are top-level windows without an owner.
namespace forms {

template <class F> class DefaultInstance
{
    static_assert(std::is_base_of_v<Form, F>, "a default instance is made of a form");

public:
    static F& get()
    {
        if (F* form = current())
            return *form;
        F* form = new F();
        s_form = form;
        form->load();
        return *form;
    }

    static bool isLoaded() { return current() != nullptr; }
    // Whether the default instance has been made and not yet destroyed: loaded, or
    // unloaded (perhaps while its unload is under way) but not yet deleted.
    static bool exists() { return !s_form.isNull(); }

    static void unload()
    {
        if (F* form = current())
            form->unload();
    }

private:
    static F* current()
    {
        F* form = s_form.data();
        return form && !form->isUnloaded() ? form : nullptr;
    }

    static inline QPointer<F> s_form;
};

} // namespace forms
