#include "settings_store.h"

#include <QSettings>

namespace ravelin {

static QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "RAVELIN", "RAVELIN");
}

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) {
    return store().value(section + "/" + key, defaultValue).toString();
}

void SaveSetting(const QString &section, const QString &key, const QString &value) {
    QSettings s = store();
    s.setValue(section + "/" + key, value);
    s.sync();
}

} // namespace ravelin
