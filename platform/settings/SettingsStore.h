#pragma once

#include <QString>

#include <vector>

// The per-user settings store (GetSetting/SaveSetting): string values by
// application, section and key, kept in the user hive under
// "Software\VB and VBA Program Settings\<application>\<section>". Key names
// compare without regard to case; a missing key yields the caller's default.
namespace settings {

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue = {});
// Returns false when the store could not be written (the caller decides whether
// that matters; the settings form skips the key).
bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

// The program's own section: application "QUILLAR", section "Settings".
inline constexpr const char* ApplicationName = "QUILLAR";
inline constexpr const char* SectionName = "Settings";

QString readSetting(const QString& key, const QString& defaultValue = {});
bool writeSetting(const QString& key, const QString& value);

// The user-hive key that holds an application's section.
QString settingsKeyPath(const QString& application, const QString& section);

// Every key the program uses, in the spelling it is saved under, with the
// default its readers pass and the control that shows it.
struct KeyInfo
{
    const char* key;
    const char* defaultValue;
    const char* control; // "" when no control shows it
    const char* form = "frmSettings"; // the form that holds `control`
};
// The entry for `key` in any spelling, or null when the program does not use it.
const KeyInfo* findKnownKey(const QString& key);
const std::vector<KeyInfo>& knownKeys();

} // namespace settings
