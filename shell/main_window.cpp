#include "main_window.h"

#include "com_parameters_page.h"
#include "conversion_action.h"
#include "dump_name.h"
#include "dump_page.h"
#include "file_question.h"
#include "help_page.h"
#include "live_dump_view.h"
#include "mscomm.h"
#include "operating_system_page.h"
#include "program_identity.h"
#include "progress_indicator.h"
#include "settings_store.h"
#include "status_bar.h"
#include "transfer_page.h"
#include "view_page.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <cstdlib>

namespace ravelin {

namespace {

// Where the file dialog opens when no folder has been stored yet.
QString defaultDataFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// The controls a user acts through; while a transfer runs these are held on every page.
bool actsOnClick(const QWidget *w) {
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w);
}

bool askYesNo(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), port_(new MSComm(this)), readyTimer_(new QTimer(this)),
      silenceTimer_(new QTimer(this)), channel_(*port_),
      transfers_(channel_, *readyTimer_, *silenceTimer_, *this),
      fileQuestion_(new FileQuestion(this)), endProgram_([] {
          std::fflush(nullptr);
          std::_Exit(0);
      }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProductName);
    setWindowIcon(QIcon(QStringLiteral(":/ravelin/ravelin.svg")));
    port_->setObjectName(QStringLiteral("MSComm1"));
    readyTimer_->setObjectName(QStringLiteral("Timer1"));
    silenceTimer_->setObjectName(QStringLiteral("Timer2"));
    connect(port_, &MSComm::OnComm, &transfers_, &TransferEngine::takeInput);
    connect(port_, &MSComm::portLost, &transfers_, &TransferEngine::portLost);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("vsIndexTab1"));
    setCentralWidget(tabs_);
    dumpPage_ = new DumpPage;
    operatingSystemPage_ = new OperatingSystemPage;
    comParametersPage_ = new ComParametersPage(*port_);
    addPage(dumpPage_, QStringLiteral("&Dump"));
    addPage(operatingSystemPage_, QStringLiteral("&Operating_System"));
    addPage(comParametersPage_, QStringLiteral("Com &Parameters"));
    addPage(new HelpPage, QStringLiteral("&Help"));
    addPage(new ViewPage(this), QStringLiteral("&View"));
    connect(tabs_, &QTabWidget::currentChanged, comParametersPage_,
            &ComParametersPage::showPortDevices);

    statusBar_ = new StatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(statusBar_);
    auto *unusedBar = new QToolBar(this);
    unusedBar->setObjectName(QStringLiteral("ActiveBar1"));
    addToolBar(unusedBar);
    unusedBar->hide();

    stopButton_ = new QPushButton(QStringLiteral("STOP"), this);
    stopButton_->setObjectName(QStringLiteral("STOPTRANSFER"));
    // Never the focus: a key meant for another button must not stop a transfer.
    stopButton_->setFocusPolicy(Qt::NoFocus);
    stopButton_->hide();
    connect(stopButton_, &QPushButton::clicked, this, &MainWindow::stopTransfer);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this,
            &MainWindow::stopTransfer);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &MainWindow::pressEnter);

    transfers_.setLiveDump(&liveDump_);
    conversion_ = std::make_unique<ConversionAction>(*this, *dumpPage_, *statusBar_);
    connect(dumpPage_, &DumpPage::startDumpClicked, this, &MainWindow::startDump);
    connect(dumpPage_, &DumpPage::convertClicked, this, &MainWindow::convertNamedFile);
    connect(dumpPage_, &DumpPage::rawToTvdClicked, this, &MainWindow::chooseAndConvert);
    connect(dumpPage_, &DumpPage::exitClicked, this, &QWidget::close);
    connect(operatingSystemPage_, &OperatingSystemPage::reprogramClicked, this,
            &MainWindow::reprogramSystem);
    connect(operatingSystemPage_, &OperatingSystemPage::exitClicked, this, &QWidget::close);

    resize(680, 500);
    comParametersPage_->loadStoredSettings();
    setWindowTitle(revisionCaption(windowTitle()));
    fileQuestion_->setFolder(GetSetting("DATAPATH", "LastDir", defaultDataFolder()));
}

MainWindow::~MainWindow() = default;

void MainWindow::addPage(QWidget *page, const QString &caption) {
    tabs_->addTab(page, caption);
}

QString MainWindow::statusText() const {
    return statusBar_->SimpleText();
}

void MainWindow::setStatusText(const QString &text) {
    statusBar_->setSimpleText(text);
}

// ---- Transfers ----------------------------------------------------------------------------

void MainWindow::startDump() {
    dumpPage_->progress()->setValue(0);
    dumpPage_->progress()->setCaption(QStringLiteral("00%"));
    const std::optional<QString> chosen = fileQuestion_->fileToSave(
        {QStringLiteral("All Files (*.*)")}, proposedDumpName(QDateTime::currentDateTime()));
    if (!chosen) return;
    QCoreApplication::processEvents();
    const QString rawPath = normalisedDumpName(*chosen);
    // Asked of the name really written, which the dialog did not see.
    if (QFileInfo::exists(rawPath) &&
        !askYesNo(this, rawPath + QStringLiteral(" already exists. Replace it with this dump?")))
        return;
    fileQuestion_->setFolder(QFileInfo(rawPath).absolutePath());
    SaveSetting("DATAPATH", "LastDir", fileQuestion_->folder());
    lastRawFile_ = rawPath;
    keptPartial_.clear();
    const bool viaUsb = comParametersPage_->usbChosen();
    TransferOutcome outcome = TransferOutcome::Failed;
    liveDump_.restart();
    dumpPage_->showLiveView(true);
    dumpPage_->liveView()->follow(&liveDump_);
    runTransfer(*dumpPage_, Running::Dump,
                [&] { outcome = transfers_.startDump(rawPath, viaUsb); });
    liveDump_.end();
    dumpPage_->liveView()->stopFollowing();
    // A new attempt moves an earlier ".partial" aside, so one found now is this dump's.
    if (outcome != TransferOutcome::Completed && QFileInfo::exists(DumpFile::partialName(rawPath)))
        keptPartial_ = DumpFile::partialName(rawPath);
}

void MainWindow::reprogramSystem() {
    const std::optional<QString> systemFile = fileQuestion_->fileToOpen(
        {QStringLiteral("System Files (*.sys)")}, fileQuestion_->lastAnswer());
    if (!systemFile) return;
    const bool viaUsb = comParametersPage_->usbChosen();
    // The serial upload runs at its own speed; the speed box says so for the duration.
    if (!viaUsb) comParametersPage_->showUploadSpeed(true);
    // The indicator shows this upload only: cleared at its start, and again when it is refused
    // or ends early, so no earlier figure stands beside its status.
    setUploadProgress(0, QString());
    TransferOutcome outcome = TransferOutcome::Failed;
    runTransfer(*operatingSystemPage_, Running::Upload, [&] {
        outcome = transfers_.startUpload(*systemFile, viaUsb, comParametersPage_->uploadSettings());
    });
    if (outcome != TransferOutcome::Completed) setUploadProgress(0, QString());
    if (!viaUsb) comParametersPage_->showUploadSpeed(false);
}

void MainWindow::runTransfer(TransferPage &page, Running kind,
                             const std::function<void()> &transfer) {
    running_ = kind;
    holdControls(page);
    transfer();
    releaseControls(page);
    running_ = Running::Nothing;
}

void MainWindow::holdControls(TransferPage &page) {
    for (int i = 0; i < tabs_->count(); ++i)
        for (QWidget *w : tabs_->widget(i)->findChildren<QWidget *>())
            if (w != stopButton_ && actsOnClick(w) && w->isEnabled()) {
                w->setEnabled(false);
                heldControls_ << w;
            }
    page.progressRow()->addWidget(stopButton_);
    stopButton_->show();
    // The focus leaves the held buttons, so Space or Enter cannot reach the one it passes to.
    tabs_->tabBar()->setFocus();
}

void MainWindow::releaseControls(TransferPage &page) {
    stopButton_->hide();
    page.progressRow()->removeWidget(stopButton_);
    for (const QPointer<QWidget> &w : std::as_const(heldControls_))
        if (w) w->setEnabled(true);
    heldControls_.clear();
}

void MainWindow::stopTransfer() {
    if (running_ == Running::Nothing) return;
    if (running_ == Running::Upload &&
        !askYesNo(this, QStringLiteral("The instrument will hold an incomplete operating system. "
                                       "Stop anyway?")))
        return;
    transfers_.stop();
}

// ---- Conversion ---------------------------------------------------------------------------

void MainWindow::convertNamedFile() {
    conversion_->run(lastRawFile_, ConversionStart::Convert);
}

void MainWindow::chooseAndConvert() {
    // After a failed dump the status bar names its ".partial" file: that is the one offered.
    const std::optional<QString> chosen = fileQuestion_->fileToOpen(
        {QStringLiteral(".raw and partial dumps (*.raw *.raw.partial)"),
         QStringLiteral("Tervane raw database (*.raw)"), QStringLiteral("All Files (*.*)")},
        keptPartial_.isEmpty() ? lastRawFile_ : keptPartial_);
    if (!chosen) return;
    QCoreApplication::processEvents();
    lastRawFile_ = *chosen;
    keptPartial_.clear();
    conversion_->run(lastRawFile_, ConversionStart::RawToTvd);
}

// ---- Keys and the end -----------------------------------------------------------------------

// Enter presses the focused button; with none, OK on the Com Parameters page only.
void MainWindow::pressEnter() {
    if (auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
        focused && isAncestorOf(focused) && focused->isEnabled()) {
        focused->click();
        return;
    }
    if (tabs_->currentWidget() == comParametersPage_ && comParametersPage_->okButton()->isEnabled())
        comParametersPage_->okButton()->click();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    event->accept();
    unload();
}

void MainWindow::unload() {
    if (unloading_) return;
    unloading_ = true;
    readyTimer_->stop();
    silenceTimer_->stop();
    transfers_.abort(); // a transfer still waiting ends at its next pass
    transfers_.closeFiles();
    try {
        port_->setPortOpen(false);
    } catch (const std::exception &) {
        // The port is released with the process in any case.
    }
    emit unloaded();
    // Whatever called the closing (a conversion, a transfer's wait) runs no further.
    endProgram_();
}

// ---- What the transfers report --------------------------------------------------------------

void MainWindow::setDumpProgress(int value, const QString &caption) {
    dumpPage_->progress()->setValue(value);
    dumpPage_->progress()->setCaption(caption);
}

void MainWindow::setUploadProgress(int value, const QString &caption) {
    operatingSystemPage_->progress()->setValue(value);
    operatingSystemPage_->progress()->setCaption(caption);
}

void MainWindow::showMessage(const QString &text, const QString &title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::beep() {
    QApplication::beep();
}

void MainWindow::setDumpButtonEnabled(bool enabled) {
    dumpPage_->startDumpButton()->setEnabled(enabled);
}

void MainWindow::setUploadButtonEnabled(bool enabled) {
    operatingSystemPage_->reprogramButton()->setEnabled(enabled);
}

} // namespace ravelin
