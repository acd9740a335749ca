#pragma once

#include "platform/forms/Form.h"

#include <QString>

#include <memory>

class QEvent;
class QKeyEvent;

namespace Ui {
class frmLogin;
}

// The login window and the program's start-up form. Its load makes sure the
// configuration folder exists and is stored, and prepares the main window while it
// is still hidden; OK checks the pair typed against the program's own stored login
// (on the first start the pair typed becomes the login). After a good login it hides
// and stays loaded. Unloading it is how the program ends: it unloads the other forms
// and ends the program (forms::End).
class frmLogin : public forms::Form
{
public:
    frmLogin();
    ~frmLogin() override;

    std::unique_ptr<Ui::frmLogin> m_ui;

    void cmdOK_Click();
    void cmdCancel_Click();
    void Form_Resize();

    // The last progress marker of the load and of the login: what a message about an
    // unexpected error quotes.
    const QString& loadMarker() const { return m_loadMarker; }
    const QString& loginMarker() const { return m_loginMarker; }

    static constexpr const char* Title = "Quillar - Login";

protected:
    void formLoad() override;
    void formUnload() override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void configurationFolder();
    void showMainWindow();

    QString m_loadMarker;
    QString m_loginMarker;
};
