#pragma once

#include "platform/forms/Form.h"

// A plain stand-in of the About box, which is not built yet, so that the main
// window's About entries open something. Delete it when frmAbout lands (and its
// lines in OtherForms.cpp).
namespace mainwindow {

// frmAbout: an empty box.
class StandInAbout : public forms::Form
{
public:
    StandInAbout();
};

} // namespace mainwindow
