// Small pieces the pages share: naming a control, the red EXIT label above its door picture.
#pragma once

#include <QString>

class QLabel;
class QVBoxLayout;

namespace ravelin {

class PictureBox;

template <typename W> W *named(W *widget, const char *objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

// "EXIT" in red bold; clicking it does nothing (only the picture below it exits).
QLabel *exitLabel(const char *objectName);

// The door picture that ends the program when clicked.
PictureBox *exitPicture(const char *objectName);

// The EXIT label above its picture, for a page's top right corner.
QVBoxLayout *exitCorner(QLabel *label, PictureBox *picture);

} // namespace ravelin
