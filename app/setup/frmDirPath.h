#pragma once

#include "platform/forms/Form.h"

#include <QString>

#include <memory>

namespace Ui {
class frmDirPath;
}

// The folder picker: a drive list and a folder list. The caller empties the
// session's DirPathResult, sets the caption, calls FormLoadValue with its box's
// text and shows the picker modal; Select puts the open folder into DirPathResult,
// Select and Cancel unload the picker, so each use starts afresh.
class frmDirPath : public forms::Form
{
public:
    frmDirPath();
    ~frmDirPath() override;

    std::unique_ptr<Ui::frmDirPath> m_ui;

    // Opens the lists on a start folder; an empty or invalid one leaves them on the
    // current drive and folder.
    void FormLoadValue(const QString& GivePath);

private:
    void Dir1_Change();
    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();
};
