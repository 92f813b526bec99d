// The per-user settings store: text values by section and key under the application "RAVELIN"
// (an INI file in the user's configuration folder). Tests point it elsewhere with
// QSettings::setPath or XDG_CONFIG_HOME.
#pragma once

#include <QString>

namespace ravelin {

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue);
void SaveSetting(const QString &section, const QString &key, const QString &value);

} // namespace ravelin
