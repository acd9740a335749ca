#pragma once

#include <QWidget>

#include <functional>

class QCloseEvent;
class QShowEvent;

// The base of every form. A form has a load and an unload handler:
//  - load() runs formLoad() once, while the form is still hidden (the default
//    instance does this on first touch; a form made by hand calls it itself).
//  - unload() runs formUnload() once, hides the form and destroys it once control
//    returns to the event loop, so a form may unload itself from its own handler.
//    After unload() the form counts as gone: its default instance loads a new one.
//  - Closing the window unloads the form; a form that should only hide when the
//    user closes it overrides closeEvent().
//  - showModal(owner) shows it modal over its owner and returns once it is hidden
//    or unloaded. The owner is only the window's transient parent, never its
//    QObject parent: deleting the owner never deletes the form behind its unload
//    handler's back.
// Each time a form is shown it is placed on its screen: a window larger than the
// screen's free area is made smaller (a form whose content cannot shrink puts it in
// a scroll area, setScrollableContent), and a window with an owner opens centred
// over it.
// No part of a window, frame included, lies off the free area.
// A form destroyed without unload() runs no unload handler; forms are top-level
// windows without a parent, so only their own code can do that.
namespace forms {

class Form : public QWidget
{
public:
    explicit Form(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~Form() override;

    void load();
    void unload();
    // Loads the form if it is not loaded, shows it application-modal with `owner`'s
    // window (if any) as its transient parent, and runs the events until the form
    // is hidden, unloaded or destroyed. Afterwards the form is no longer modal. Does
    // nothing on an unloaded form.
    void showModal(QWidget* owner = nullptr);
    bool isFormLoaded() const { return m_state == State::Loaded || m_state == State::Loading; }
    bool isUnloaded() const { return m_state == State::Unloaded; }

    // Tests: called with each loaded form as its unload begins, before its unload
    // handler, so the order in which the program's end unloads the forms can be
    // checked. Returns the previous observer; an empty one observes nothing.
    using UnloadObserver = std::function<void(const Form& form)>;
    static UnloadObserver setUnloadObserver(UnloadObserver observer);

    // Shows `content` (the form's controls, laid out at their size) in a scroll area
    // that fills the form, so that the form can be smaller than its content on a
    // small screen. The form opens at the content's size where the screen allows.
    void setScrollableContent(QWidget* content);

protected:
    virtual void formLoad();
    virtual void formUnload();
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class State
    {
        Created,
        Loading,
        Loaded,
        Unloaded
    };
    State m_state = State::Created;
};

} // namespace forms
