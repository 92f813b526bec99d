// control<T>(window, "name"): a control of the window found by its object name, as the tests
// reach every control; a missing one ends the test run loudly.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

template <typename T = QWidget> T *control(const QObject &window, const QString &name) {
    T *found = window.findChild<T *>(name);
    if (!found) qFatal("no control named %s", qPrintable(name));
    return found;
}
