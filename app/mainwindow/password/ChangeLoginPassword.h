#pragma once

// The main window's "Change &Password": asks for the current password and the new
// one twice through the message service's input boxes, and stores the new one
// scrambled as "QuillarPassword". No success message. Stores nothing when:
// - the current password is wrong ("Password Incorrect - Unable to change password");
// - the two new passwords differ ("Passwords do not match");
// - the new password would not be stored faithfully (password::passwordRuleMessage());
// - any of the three boxes is cancelled (silently).
// A store that cannot be written is reported; the old password then stays in force.
namespace password {

void ChangeLoginPassword();

} // namespace password
