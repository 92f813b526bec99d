#include "form1.h"

#include "common_dialog.h"
#include "help_text.h"
#include "mscomm.h"
#include "picture_box.h"
#include "program_identity.h"
#include "progress_indicator.h"
#include "settings_store.h"
#include "status_bar.h"
#include "text_box.h"
#include "view_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace ravelin {

namespace {

template <typename W> W *named(W *widget, const char *objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

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

// The EXIT label above its picture, for a page's top right corner.
QVBoxLayout *exitCorner(QLabel *label, PictureBox *picture) {
    auto *corner = new QVBoxLayout;
    corner->setSpacing(2);
    corner->addWidget(label, 0, Qt::AlignHCenter);
    corner->addWidget(picture, 0, Qt::AlignHCenter);
    corner->addStretch();
    return corner;
}

// Where the file dialog opens when no folder has been stored yet.
QString defaultDataFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QMainWindow(parent), MSComm1(new MSComm(this)),
      CommonDialog1(std::make_unique<CommonDialog>(this)), Timer1(new QTimer(this)),
      Timer2(new QTimer(this)), endProgram_([] {
          std::fflush(nullptr);
          std::_Exit(0);
      }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProductName);
    setWindowIcon(QIcon(QStringLiteral(":/ravelin/ravelin.svg")));

    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(MSComm1, &MSComm::OnComm, this, &Form1::MSComm1_OnComm);

    vsIndexTab1 = named(new QTabWidget(this), "vsIndexTab1");
    vsIndexTab1->addTab(buildDumpPage(), QStringLiteral("&Dump"));
    vsIndexTab1->addTab(buildOperatingSystemPage(), QStringLiteral("&Operating_System"));
    vsIndexTab1->addTab(buildComParametersPage(), QStringLiteral("Com &Parameters"));
    vsIndexTab1->addTab(buildHelpPage(), QStringLiteral("&Help"));
    vsIndexTab1->addTab(new ViewPage(this), QStringLiteral("&View"));
    setCentralWidget(vsIndexTab1);
    connect(vsIndexTab1, &QTabWidget::currentChanged, this, [this] { showPortDevices(); });

    StatusBar1 = named(new StatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    ActiveBar1 = named(new QToolBar(this), "ActiveBar1");
    addToolBar(ActiveBar1);
    ActiveBar1->hide();

    // cmdOK is the window's default button: Enter presses it unless a button has the focus.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &Form1::pressDefaultButton);

    resize(680, 500);
    Form_Load();
}

Form1::~Form1() = default;

QWidget *Form1::buildDumpPage() {
    auto *page = new QWidget;
    STARTDUMP = named(new QPushButton(QStringLiteral("START  DUMP")), "STARTDUMP");
    Convert = named(new QPushButton(QStringLiteral("CONVERT")), "Convert");
    butRAWTVD = named(new QPushButton(QStringLiteral("RAW To TVD")), "butRAWTVD");
    PrintTextFile = named(new QCheckBox(QStringLiteral("    Print Text File")), "PrintTextFile");
    CreateXYZ = named(new QCheckBox(QStringLiteral("    Create XYZ File")), "CreateXYZ");
    KeepLogFile = named(new QCheckBox(QStringLiteral("    Keep Log File")), "KeepLogFile");
    UploadProgress = named(new ProgressIndicator, "UploadProgress");
    Picture1 = named(new PictureBox(QStringLiteral(":/ravelin/dump.svg"), {300, 200}), "Picture1");
    LabEXIT = exitLabel("LabEXIT");
    PictureExit =
        named(new PictureBox(QStringLiteral(":/ravelin/exit.svg"), {32, 32}), "PictureExit");
    PictureExit->setCursor(Qt::PointingHandCursor);
    connect(PictureExit, &PictureBox::clicked, this, &Form1::PictureExit_Click);
    connect(STARTDUMP, &QPushButton::clicked, this, &Form1::STARTDUMP_Click);
    connect(Convert, &QPushButton::clicked, this, &Form1::Convert_Click);
    connect(butRAWTVD, &QPushButton::clicked, this, &Form1::butRAWTVD_Click);

    auto *actions = new QVBoxLayout;
    for (QPushButton *button : {STARTDUMP, Convert, butRAWTVD}) {
        button->setMinimumSize(150, 36);
        actions->addWidget(button);
    }
    actions->addSpacing(16);
    for (QCheckBox *option : {PrintTextFile, CreateXYZ, KeepLogFile})
        actions->addWidget(option);
    actions->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addLayout(actions, 0, 0);
    grid->addWidget(Picture1, 0, 1, Qt::AlignCenter);
    grid->addLayout(exitCorner(LabEXIT, PictureExit), 0, 2);
    grid->addWidget(UploadProgress, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *Form1::buildOperatingSystemPage() {
    auto *page = new QWidget;
    REPROGRAMSYSTEM = named(new QPushButton(QStringLiteral("REPROGRAM SYSTEM")), "REPROGRAMSYSTEM");
    QFont bold = REPROGRAMSYSTEM->font();
    bold.setBold(true);
    REPROGRAMSYSTEM->setFont(bold);
    REPROGRAMSYSTEM->setMinimumSize(190, 40);
    ReprogramProgress = named(new ProgressIndicator, "ReprogramProgress");
    Picture3 =
        named(new PictureBox(QStringLiteral(":/ravelin/upload.svg"), {300, 200}), "Picture3");
    LabEXIT2 = exitLabel("LabEXIT2");
    PictureEXIT2 =
        named(new PictureBox(QStringLiteral(":/ravelin/exit.svg"), {32, 32}), "PictureEXIT2");
    PictureEXIT2->setCursor(Qt::PointingHandCursor);
    connect(PictureEXIT2, &PictureBox::clicked, this, &Form1::PictureEXIT2_Click);
    connect(REPROGRAMSYSTEM, &QPushButton::clicked, this, &Form1::REPROGRAMSYSTEM_Click);

    auto *actions = new QVBoxLayout;
    actions->addWidget(REPROGRAMSYSTEM);
    actions->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addLayout(actions, 0, 0);
    grid->addWidget(Picture3, 0, 1, Qt::AlignCenter);
    grid->addLayout(exitCorner(LabEXIT2, PictureEXIT2), 0, 2);
    grid->addWidget(ReprogramProgress, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *Form1::buildComParametersPage() {
    auto *page = new QWidget;
    USBInterface = named(new QCheckBox(QStringLiteral("USB Interface")), "USBInterface");
    USBInterface->setChecked(true);
    rs232Label = named(new QLabel(QStringLiteral("RS232 setup")), "rs232Label");
    QFont bold = rs232Label->font();
    bold.setBold(true);
    rs232Label->setFont(bold);
    Line1 = named(new QFrame, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto list = [](const char *objectName) {
        auto *box = named(new QComboBox, objectName);
        box->setEditable(false);
        return box;
    };
    cboPort = list("cboPort");
    cboSpeed = list("cboSpeed");
    cboDataBits = list("cboDataBits");
    cboParity = list("cboParity");
    cboStopBits = list("cboStopBits");
    portDevice = named(new QLabel, "portDevice");
    presentDevices = named(new QLabel, "presentDevices");
    presentDevices->setWordWrap(true);
    connect(cboPort, &QComboBox::currentIndexChanged, this, [this] { showPortDevices(); });

    auto *portFrame = named(new QGroupBox(QStringLiteral("Port")), "framePort");
    auto *portLayout = new QVBoxLayout(portFrame);
    portLayout->addWidget(cboPort);
    portLayout->addWidget(portDevice);

    auto *speedFrame = named(new QGroupBox(QStringLiteral("Maximum Speed")), "frameSpeed");
    (new QVBoxLayout(speedFrame))->addWidget(cboSpeed);

    auto *preferences =
        named(new QGroupBox(QStringLiteral("Connection Preferences")), "framePreferences");
    auto *preferencesLayout = new QGridLayout(preferences);
    int row = 0;
    for (auto [caption, box] :
         {std::pair{"Data Bits:", cboDataBits}, std::pair{"Parity:", cboParity},
          std::pair{"Stop Bits:", cboStopBits}}) {
        auto *label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(box);
        preferencesLayout->addWidget(label, row, 0);
        preferencesLayout->addWidget(box, row, 1);
        ++row;
    }

    auto *flowFrame = named(new QGroupBox(QStringLiteral("&Flow Control")), "frameFlow");
    auto *flowLayout = new QVBoxLayout(flowFrame);
    const char *flowCaptions[] = {"None", "Xon/Xoff", "RTS", "Xon/RTS"};
    for (int16_t i = 0; i < 4; ++i) {
        optFlow[i] = new QRadioButton(QString::fromLatin1(flowCaptions[i]));
        optFlow[i]->setObjectName(QStringLiteral("optFlow%1").arg(i));
        flowLayout->addWidget(optFlow[i]);
    }
    optFlow[0]->setChecked(true);
    for (int16_t i = 0; i < 4; ++i)
        connect(optFlow[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optFlow_Click(i);
            showFlowControlNote();
        });
    flowControlNote = named(new QLabel, "flowControlNote");
    flowControlNote->setWordWrap(true);
    flowLayout->addWidget(flowControlNote);

    cmdOK = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &Form1::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Form1::cmdCancel_Click);

    auto *left = new QVBoxLayout;
    left->addWidget(portFrame);
    left->addWidget(speedFrame);
    left->addStretch();
    auto *middle = new QVBoxLayout;
    middle->addWidget(preferences);
    middle->addStretch();
    auto *frames = new QHBoxLayout;
    frames->addLayout(left, 1);
    frames->addLayout(middle, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(flowFrame);
    right->addStretch();
    frames->addLayout(right, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(presentDevices, 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(USBInterface);
    layout->addWidget(Line1);
    layout->addWidget(rs232Label);
    layout->addLayout(frames, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *Form1::buildHelpPage() {
    auto *page = new QWidget;
    Picture2 =
        named(new PictureBox(QStringLiteral(":/ravelin/connection.svg"), {440, 120}), "Picture2");
    HelpInfo = named(new TextBox, "HelpInfo");
    HelpInfo->setText(helpText());
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(Picture2, 0, Qt::AlignHCenter);
    layout->addWidget(HelpInfo, 1);
    return page;
}

void Form1::Form_Load() {
    LoadPropertySettings();
    setWindowTitle(revisionCaption(windowTitle()));
    CommonDialog1->InitDir = GetSetting("DATAPATH", "LastDir", defaultDataFolder());
    showPortDevices();
    showFlowControlNote();
}

void Form1::pressDefaultButton() {
    if (auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
        focused && isAncestorOf(focused) && focused->isEnabled()) {
        focused->click();
        return;
    }
    cmdOK->click();
}

void Form1::setStatusText(const QString &text) {
    StatusBar1->setSimpleText(text);
}

QString Form1::statusText() const {
    return StatusBar1->SimpleText();
}

void Form1::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Form1::PictureExit_Click() {
    close();
}

void Form1::PictureEXIT2_Click() {
    close();
}

void Form1::setProgramEnder(std::function<void()> ender) {
    endProgram_ = std::move(ender);
}

void Form1::closeEvent(QCloseEvent *event) {
    event->accept();
    Form_Unload();
}

void Form1::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    Timer1->stop();
    Timer2->stop();
    CloseTransferFiles();
    try {
        MSComm1->setPortOpen(false);
    } catch (const std::exception &) {
        // The port is released with the process in any case.
    }
    emit unloaded();
    // Whatever called the closing (a conversion, a transfer's wait loop) runs no further.
    endProgram_();
}

} // namespace ravelin
