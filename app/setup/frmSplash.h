#pragma once

#include "platform/forms/Form.h"

#include <QString>

#include <cstdint>
#include <memory>

class QKeyEvent;

namespace Ui {
class frmSplash;
}

// The splash: the program's title and version, what it works with and the support
// firm's contact lines. The login shows it after a good login and unloads it at
// once; its unload keeps it on screen for UnloadDelay milliseconds first (the thread
// sleeps through forms::Sleep: nothing repaints or responds meanwhile). "&Close"
// closes it without the pause, Esc with it.
class frmSplash : public forms::Form
{
public:
    frmSplash();
    ~frmSplash() override;

    std::unique_ptr<Ui::frmSplash> m_ui;

    // The pause taken when the splash is unloaded, in milliseconds (1000 once loaded).
    int32_t UnloadDelay = 0;

    void Label1_Click();

    // Shows the splash and lets events run until it is on screen and painted (a
    // window manager maps and exposes it a while after the show), at most
    // `timeoutMs`; true when it was painted.
    bool showPainted(int timeoutMs = 2000);

    // The four fixed contact lines of Text1 to Text4, in order.
    static const QString& contactLine(int index);

protected:
    void formLoad() override;
    void formUnload() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_paintedExposed = false;
};
