#pragma once

#include <QWidget>

class QCloseEvent;

// The base of every form. A form has a load and an unload handler:
//  - load() runs formLoad() once, while the form is still hidden (the default
//    instance does this on first touch; a form made by hand calls it itself).
//  - unload() runs formUnload() once, hides the form and destroys it once control
//    returns to the event loop, so a form may unload itself from its own handler.
//    After unload() the form counts as gone: its default instance loads a new one.
//  - Closing the window unloads the form; a form that should only hide when the
//    user closes it overrides closeEvent().
// A form destroyed without unload() (its owner deleted it) runs no unload handler.
namespace forms {

class Form : public QWidget
{
public:
    explicit Form(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~Form() override;

    void load();
    void unload();
    bool isFormLoaded() const { return m_state == State::Loaded || m_state == State::Loading; }
    bool isUnloaded() const { return m_state == State::Unloaded; }

protected:
    virtual void formLoad();
    virtual void formUnload();
    void closeEvent(QCloseEvent* event) override;

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
