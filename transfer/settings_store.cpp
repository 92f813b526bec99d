#include "settings_store.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace ravelin {

namespace {

QString keyPath(const QString &section, const QString &key) {
    return section + u'/' + key;
}

} // namespace

static QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "RAVELIN", "RAVELIN");
}

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) {
    const QVariant value = store().value(keyPath(section, key));
    if (!value.isValid()) return defaultValue;
    // An unquoted value with commas in the INI file is read as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

bool SaveSetting(const QString &section, const QString &key, const QString &value) {
    QSettings s = store();
    s.setValue(keyPath(section, key), value);
    s.sync();
    // A FormatError here only says the old file was damaged; it has been rewritten.
    return s.status() != QSettings::AccessError;
}

} // namespace ravelin
