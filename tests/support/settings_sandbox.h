// SettingsSandbox: points the settings store (QSettings, INI, user scope) at a fresh temporary
// folder for as long as it lives, so a test never touches the user's own settings. Create it
// before the window or MSComm under test; set() writes a value ("COMM/CommPort", "3") as a stored
// one, file() reads back what the program stored. Child processes need XDG_CONFIG_HOME instead.
#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

class SettingsSandbox {
  public:
    SettingsSandbox() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    // The store's INI file, read directly.
    QSettings file() const {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "RAVELIN", "RAVELIN");
    }
    void set(const QString &sectionKey, const QString &value) {
        QSettings s = file();
        s.setValue(sectionKey, value);
        s.sync();
    }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};
