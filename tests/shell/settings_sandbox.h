// Points the settings store at a fresh temporary folder, so tests never touch the user's own.
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
