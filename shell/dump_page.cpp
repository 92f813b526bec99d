#include "dump_page.h"

#include "live_dump_view.h"
#include "page_parts.h"
#include "picture_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravelin {

namespace {

bool ticked(const QCheckBox *option) {
    return option->checkState() == Qt::Checked;
}

} // namespace

DumpPage::DumpPage(QWidget *parent) : TransferPage(parent) {
    setObjectName(QStringLiteral("DumpPage"));
    startDump_ = named(new QPushButton(QStringLiteral("START  DUMP")), "STARTDUMP");
    convert_ = named(new QPushButton(QStringLiteral("CONVERT")), "Convert");
    rawToTvd_ = named(new QPushButton(QStringLiteral("RAW To TVD")), "butRAWTVD");
    printTextFile_ = named(new QCheckBox(QStringLiteral("    Print Text File")), "PrintTextFile");
    createXyz_ = named(new QCheckBox(QStringLiteral("    Create XYZ File")), "CreateXYZ");
    keepLogFile_ = named(new QCheckBox(QStringLiteral("    Keep Log File")), "KeepLogFile");
    picture_ = named(new PictureBox(QStringLiteral(":/ravelin/dump.svg"), {300, 200}), "Picture1");
    live_ = named(new LiveDumpView, "LiveDumpView");
    live_->hide();
    auto *exit = exitPicture("PictureExit");
    connect(exit, &PictureBox::clicked, this, &DumpPage::exitClicked);
    connect(startDump_, &QPushButton::clicked, this, &DumpPage::startDumpClicked);
    connect(convert_, &QPushButton::clicked, this, &DumpPage::convertClicked);
    connect(rawToTvd_, &QPushButton::clicked, this, &DumpPage::rawToTvdClicked);

    auto *actions = new QVBoxLayout;
    for (QPushButton *button : {startDump_, convert_, rawToTvd_}) {
        button->setMinimumSize(150, 36);
        actions->addWidget(button);
    }
    actions->addSpacing(16);
    for (QCheckBox *option : {printTextFile_, createXyz_, keepLogFile_})
        actions->addWidget(option);
    actions->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addLayout(actions, 0, 0);
    grid->addWidget(picture_, 0, 1, Qt::AlignCenter);
    grid->addWidget(live_, 0, 1);
    grid->addLayout(exitCorner(exitLabel("LabEXIT"), exit), 0, 2);
    grid->addLayout(makeProgressRow("UploadProgress"), 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

ConversionOptions DumpPage::options() const {
    return {ticked(printTextFile_), ticked(createXyz_), ticked(keepLogFile_)};
}

void DumpPage::showLiveView(bool shown) {
    picture_->setVisible(!shown);
    live_->setVisible(shown);
}

void DumpPage::setConversionButtonsEnabled(bool enabled) {
    convert_->setEnabled(enabled);
    startDump_->setEnabled(enabled);
    rawToTvd_->setEnabled(enabled);
}

} // namespace ravelin
