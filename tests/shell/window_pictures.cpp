// Saves a picture of each page of the window, and of the Dump page while a dump waits for the
// instrument (STOP showing), for looking at the layout by eye:
//   xvfb-run -a shell_window_pictures OUTPUT_FOLDER
// The settings store is pointed at an empty temporary folder (a first start).
#include "main_window.h"
#include "modal_answerer.h"
#include "mscomm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <pty.h>
#include <unistd.h>

#include <iterator>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ravelin::MainWindow form;
    form.setProgramEnder([] {});
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("vsIndexTab1"));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    const char *names[] = {"dump", "operating-system", "com-parameters", "help", "view"};
    for (int page = 0; page < tabs->count() && page < std::ssize(names); ++page) {
        tabs->setCurrentIndex(page);
        QTest::qWait(200);
        if (!form.grab().save(out.filePath(QStringLiteral("window-%1.png").arg(names[page]))))
            return 1;
    }

    // A serial dump on a line nobody answers: the window as it waits, then STOP.
    int controller = -1, device = -1;
    char line[256] = {};
    if (::openpty(&controller, &device, line, nullptr, nullptr) != 0) return 1;
    form.findChild<QCheckBox *>(QStringLiteral("USBInterface"))->setChecked(false);
    auto *port = form.findChild<ravelin::MSComm *>(QStringLiteral("MSComm1"));
    port->setDevicePathOverride(QString::fromLocal8Bit(line));
    ravelin::PortSettings lineSettings = port->settings();
    lineSettings.flowControl = QSerialPort::NoFlowControl;
    port->setSettings(lineSettings);
    tabs->setCurrentIndex(0);
    bool saved = false;
    QTimer picture;
    QObject::connect(&picture, &QTimer::timeout, [&] {
        if (!form.transferRunning()) return;
        picture.stop();
        QTest::qWait(300);
        saved = form.grab().save(out.filePath(QStringLiteral("window-dump-transfer.png")));
        form.findChild<QPushButton *>(QStringLiteral("STOPTRANSFER"))->click();
    });
    picture.start(50);
    ModalAnswerer answerer;
    answerer.chooseFile(settings.filePath(QStringLiteral("1436Aug012007")));
    form.findChild<QPushButton *>(QStringLiteral("STARTDUMP"))->click();
    ::close(controller);
    ::close(device);
    return saved ? 0 : 1;
}
