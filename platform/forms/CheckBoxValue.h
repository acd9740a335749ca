#pragma once

class QCheckBox;

// A check box's Value as the windows read and set it: 0 unticked, 1 ticked, 2 grey.
namespace forms {

int checkBoxValue(const QCheckBox& box);
// Any value other than 1 or 2 unticks the box.
void setCheckBoxValue(QCheckBox& box, int value);

} // namespace forms
