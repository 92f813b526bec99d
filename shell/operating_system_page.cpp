#include "operating_system_page.h"

#include "page_parts.h"
#include "picture_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravelin {

OperatingSystemPage::OperatingSystemPage(QWidget *parent) : TransferPage(parent) {
    setObjectName(QStringLiteral("OperatingSystemPage"));
    reprogram_ = named(new QPushButton(QStringLiteral("REPROGRAM SYSTEM")), "REPROGRAMSYSTEM");
    QFont bold = reprogram_->font();
    bold.setBold(true);
    reprogram_->setFont(bold);
    reprogram_->setMinimumSize(190, 40);
    auto *picture =
        named(new PictureBox(QStringLiteral(":/ravelin/upload.svg"), {300, 200}), "Picture3");
    auto *exit = exitPicture("PictureEXIT2");
    connect(exit, &PictureBox::clicked, this, &OperatingSystemPage::exitClicked);
    connect(reprogram_, &QPushButton::clicked, this, &OperatingSystemPage::reprogramClicked);

    auto *actions = new QVBoxLayout;
    actions->addWidget(reprogram_);
    actions->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addLayout(actions, 0, 0);
    grid->addWidget(picture, 0, 1, Qt::AlignCenter);
    grid->addLayout(exitCorner(exitLabel("LabEXIT2"), exit), 0, 2);
    grid->addLayout(makeProgressRow("ReprogramProgress"), 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

} // namespace ravelin
