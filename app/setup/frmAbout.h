#pragma once

#include "platform/forms/Form.h"

#include <QString>

#include <cstdint>
#include <memory>

class QKeyEvent;

namespace Ui {
class frmAbout;
}

// The About box: the program's title and version, a few lines about the support firm,
// OK, and System Info, which starts the system-information tool found through two
// machine-wide registry values (on Linux they name a program to start).
class frmAbout : public forms::Form
{
public:
    frmAbout();
    ~frmAbout() override;

    std::unique_ptr<Ui::frmAbout> m_ui;

    // The registry roots GetKeyValue takes.
    static constexpr int32_t HKEY_CURRENT_USER = int32_t(0x80000001u);
    static constexpr int32_t HKEY_LOCAL_MACHINE = int32_t(0x80000002u);

    // Starts the system-information tool, or says "System Information Is Unavailable
    // At This Time".
    void StartSysInfo();
    // Reads the string value SubKeyRef of the key KeyName under KeyRoot into KeyVal.
    // The key is opened for writing as well as reading, as it always was: a hive this
    // user may not write gives False. A value that does not fit 1024 bytes with its
    // terminating NUL gives False too; on False KeyVal is empty.
    static bool GetKeyValue(int32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void formLoad() override;
    void keyPressEvent(QKeyEvent* event) override;
};
