#pragma once

#include "platform/forms/DefaultInstance.h"

#include <functional>

// What a form library installs into the session's views: a resolver that gives the
// form's default instance at each call (loading it hidden when it is not loaded).
//   session.errorList().form.install(session::defaultInstanceOf<importer::ErrorListView, FrmErrlog>());
// A form that displays the import log shows ProgramSession::importLog().text() in
// its load handler and then only follows the calls it gets.
namespace session {

template <class View, class F> std::function<View&()> defaultInstanceOf()
{
    return []() -> View& { return forms::DefaultInstance<F>::get(); };
}

} // namespace session
