// Saves a picture of each page of the window, of the Dump page while a dump waits for the
// instrument (STOP showing) and of a dump from the instrument simulator part way through, its
// survey arriving, for looking at the layout by eye:
//   xvfb-run -a shell_window_pictures OUTPUT_FOLDER
// The settings store is pointed at an empty temporary folder (a first start).
#include "main_window.h"
#include "modal_answerer.h"
#include "mscomm.h"
#include "progress_indicator.h"
#include "protocol_bytes.h"
#include "samples.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
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
    if (!saved) return 1;

    // Two dipole-dipole profiles from the simulator, which pauses in the second one.
    ravelin::sample::VirelShape shape;
    shape.profiles_per_survey = 2;
    shape.stations = 24;
    shape.levels = 6;
    shape.arrays = {ravelin::array_code::kDipoleDipole};
    shape.soundings = shape.bore_holes = false;
    const std::vector<std::uint8_t> raw = ravelin::sample::build_virel(shape);
    QFile memory(settings.filePath(QStringLiteral("memory.raw")));
    if (!memory.open(QIODevice::WriteOnly)) return 1;
    memory.write(reinterpret_cast<const char *>(raw.data()), qint64(raw.size()));
    memory.close();
    constexpr int pausePercent = 80;
    QProcess instrument;
    instrument.start(RAVELIN_INSTRUMENT,
                     {"--time-limit", "60", "--stall-after-block",
                      QString::number(raw.size() * pausePercent / 100 / ravelin::kBlockData),
                      "--stall-ms", "5000", "dump", memory.fileName()});
    if (!instrument.waitForStarted(5000)) return 1;
    while (!instrument.canReadLine())
        if (!instrument.waitForReadyRead(5000)) return 1;
    port->setDevicePathOverride(QString::fromLocal8Bit(instrument.readLine()).trimmed());
    saved = false;
    auto *progress = form.findChild<ravelin::ProgressIndicator *>(QStringLiteral("UploadProgress"));
    QObject::disconnect(&picture, nullptr, nullptr, nullptr);
    QObject::connect(&picture, &QTimer::timeout, [&] {
        if (!form.transferRunning() || progress->Value() < pausePercent - 2) return;
        picture.stop();
        QTest::qWait(1000);
        saved = form.grab().save(out.filePath(QStringLiteral("window-dump-live.png")));
        form.findChild<QPushButton *>(QStringLiteral("STOPTRANSFER"))->click();
    });
    picture.start(20);
    answerer.chooseFile(settings.filePath(QStringLiteral("1512Aug012007")));
    form.findChild<QPushButton *>(QStringLiteral("STARTDUMP"))->click();
    instrument.kill();
    instrument.waitForFinished();
    return saved ? 0 : 1;
}
