#pragma once

#include <QString>

// The stored form of the program's own password (setting "QuillarPassword"). One
// fixed substitution over the 62 letters and digits, each standing for another;
// the login form and the password change both use it, so a password set by either
// is the one the other checks.
namespace password {

// The longest password the stored form keeps.
inline constexpr int MaxPasswordLength = 30;

// The stored form: each of the first 30 characters replaced by its substitute;
// a character other than A-Z, a-z or 0-9, and everything past the 30th, is dropped.
QString ScrambleLoginPassword(const QString& text);
// The inverse, over the first 30 characters of a stored value in the same way.
QString UnscrambleLoginPassword(const QString& text);

// Whether the stored form gives back exactly this password: only A-Z, a-z and 0-9,
// at most 30 characters. An empty password is stored faithfully too.
bool isStorablePassword(const QString& password);

// What the password change and the first start tell a user whose password would
// not be stored faithfully.
QString passwordRuleMessage();

} // namespace password
