#include "page_parts.h"

#include "picture_box.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ravelin {

QLabel *exitLabel(const char *objectName) {
    auto *label = named(new QLabel(QStringLiteral("EXIT")), objectName);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

PictureBox *exitPicture(const char *objectName) {
    auto *picture =
        named(new PictureBox(QStringLiteral(":/ravelin/exit.svg"), {32, 32}), objectName);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

QVBoxLayout *exitCorner(QLabel *label, PictureBox *picture) {
    auto *corner = new QVBoxLayout;
    corner->setSpacing(2);
    corner->addWidget(label, 0, Qt::AlignHCenter);
    corner->addWidget(picture, 0, Qt::AlignHCenter);
    corner->addStretch();
    return corner;
}

} // namespace ravelin
