// The per-user settings store: text values by section and key under the application "RAVELIN"
// (an INI file in the user's configuration folder, ~/.config/RAVELIN/RAVELIN.ini). Tests point it
// elsewhere with QSettings::setPath or XDG_CONFIG_HOME.
#pragma once

#include <QString>

namespace ravelin {

// The stored text, or `defaultValue` when the key is absent. A value written by hand as a
// comma-separated list (19200,n,8,1 without quotes) reads back as the same text.
QString GetSetting(const QString &section, const QString &key, const QString &defaultValue);

// False when the store could not be written (callers may ignore it).
bool SaveSetting(const QString &section, const QString &key, const QString &value);

} // namespace ravelin
