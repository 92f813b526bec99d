// START DUMP and REPROGRAM SYSTEM in the window: the file dialog, the name written back, the
// status bar, the progress indicators, the message box and the buttons, over USB (scripted
// instrument) and over a pseudo-terminal (the instrument simulator).
#include "dump_fakes.h"
#include "file_question.h"
#include "incremental_reader.h"
#include "live_dump.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "mscomm.h"
#include "mscomm_pty.h"
#include "progress_indicator.h"
#include "samples.h"
#include "settings_sandbox.h"
#include "survey_reader.h"
#include "usb_script.h"
#include "window_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <unistd.h>
#include <utility>

using namespace ravelin;
using namespace ravelin::test;

namespace {} // namespace

class DumpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<MainWindow> form;
    template <typename T> T *find(const QString &name) const { return control<T>(*form, name); }
    ravelin::MSComm *port() const { return find<ravelin::MSComm>("MSComm1"); }
    QProcess instrument;

    QString startInstrument(const QStringList &args) {
        instrument.start(RAVELIN_INSTRUMENT,
                         QStringList{"--time-limit", "60", "--linger-ms", "300"} + args);
        if (!instrument.waitForStarted(5000)) return {};
        while (!instrument.canReadLine())
            if (!instrument.waitForReadyRead(5000)) return {};
        return QString::fromLocal8Bit(instrument.readLine()).trimmed();
    }
    QString status() const { return form->statusText(); }
    void useSerialPort(const QString &device) {
        find<QCheckBox>("USBInterface")->setChecked(false);
        port()->setDevicePathOverride(device);
        withoutFlowControl();
    }
    void withoutFlowControl() {
        ravelin::PortSettings settings = port()->settings();
        settings.flowControl = QSerialPort::NoFlowControl;
        port()->setSettings(settings);
    }
    QString imageFile(const QByteArray &bytes, const QString &name = "image.bin") {
        QFile image(dir.filePath(name));
        if (!image.open(QIODevice::WriteOnly)) return {};
        image.write(bytes);
        return image.fileName();
    }
    // Runs check once, the first time the status reads text while a transfer runs.
    void onceWhenStatusIs(QTimer &probe, const QString &text, std::function<void()> check) {
        connect(&probe, &QTimer::timeout, this, [this, &probe, text, check] {
            if (status() != text || !form->transferRunning()) return;
            probe.stop();
            check();
        });
        probe.start(20);
    }

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() {
        sandbox = std::make_unique<SettingsSandbox>();
        form = std::make_unique<MainWindow>();
        form->setProgramEnder([] {});
        find<ravelin::FileQuestion>("CommonDialog1")->setNonNative(true);
        find<ravelin::FileQuestion>("CommonDialog1")->setFolder(dir.path());
        usb = UsbScript{};
        form->transfers().setUsbApi(scriptedUsbApi());
    }
    void cleanup() {
        form.reset();
        if (instrument.state() != QProcess::NotRunning) instrument.kill();
        instrument.waitForFinished();
    }

    // The program's own dialog names a new file; the name is normalised, the folder chosen is
    // the next start folder, and a name that exists is replaced only when the user says so.
    void usbDumpIntoANewFileNamedInTheDialog() {
        usb.dumpOf(memoryImage(1000), 1000);
        find<QCheckBox>("USBInterface")->setChecked(true);
        const QString folder = dir.filePath("season 2006");
        QVERIFY(QDir().mkpath(folder));
        const QString raw = folder + "/line7.raw";
        ModalAnswerer answerer;
        answerer.chooseFile(folder + "/line7.txt");
        find<QPushButton>("STARTDUMP")->click();
        QCOMPARE(answerer.fileDialogs().size(), 1);
        QCOMPARE(answerer.fileDialogs()[0].nameFilters, QStringList{"All Files (*.*)"});
        QCOMPARE(answerer.fileDialogs()[0].fileMode, QFileDialog::AnyFile);
        auto *dialog = find<ravelin::FileQuestion>("CommonDialog1");
        QCOMPARE(form->lastRawFile(), raw); // what CONVERT converts
        QCOMPARE(contents(raw), memoryImage(1000));
        QCOMPARE(status(), "Upload Finished,  File saved: " + folder + "/line7.tvd");
        QCOMPARE(find<ravelin::ProgressIndicator>("UploadProgress")->Caption(), QString("100%"));
        QCOMPARE(find<ravelin::ProgressIndicator>("UploadProgress")->Value(), 100);
        QVERIFY(find<QPushButton>("STARTDUMP")->isEnabled());
        QCOMPARE(dialog->folder(), folder);
        QCOMPARE(sandbox->file().value("DATAPATH/LastDir").toString(), folder);
        QVERIFY(answerer.boxes().isEmpty());

        usb.dumpOf(memoryImage(640), 640);
        answerer.chooseFile(folder + "/line7.raw");
        answerer.pressButton(QMessageBox::No);
        find<QPushButton>("STARTDUMP")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, raw + " already exists. Replace it with this dump?");
        QCOMPARE(answerer.boxes()[0].defaultButton, QMessageBox::No);
        QCOMPARE(contents(raw), memoryImage(1000));
        QCOMPARE(usb.openedPipes.size(), 1); // the first dump's only
    }

    // Every key and button the operator might touch in the middle of a dump leaves it alone,
    // and the file equals the instrument's memory.
    void runningDumpIsProtected() {
        const QByteArray memory = memoryImage(252 * 10);
        useSerialPort(startInstrument(
            {"--silence-ms", "1200", "--silence-every", "3", "dump", imageFile(memory)}));
        auto *laterPage = new QWidget; // a page added later is held like the others
        new QPushButton("later", laterPage);
        laterPage->findChild<QPushButton *>()->setObjectName("laterPageButton");
        form->addPage(laterPage, "Later");
        bool tried = false;
        QStringList notHeld;
        QTimer probe;
        onceWhenStatusIs(probe, "ON-LINE...", [&] {
            tried = true;
            for (const char *name :
                 {"STARTDUMP", "Convert", "butRAWTVD", "REPROGRAMSYSTEM", "cmdOK", "cmdCancel",
                  "USBInterface", "cboSpeed", "laterPageButton"})
                if (find<QWidget>(name)->isEnabled()) notHeld << name;
            if (!find<QPushButton>("STOPTRANSFER")->isVisible()) notHeld << "no STOP";
            auto *tabs = find<QTabWidget>("vsIndexTab1");
            QApplication::setActiveWindow(form.get()); // back from the file dialog
            QVERIFY(QApplication::focusWidget());
            for (int page = 0; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
                    QTest::keyClick(QApplication::focusWidget(), key);
            }
            tabs->setCurrentIndex(0);
        });
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("guarded"));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        find<QPushButton>("STARTDUMP")->click();
        QVERIFY(tried);
        QCOMPARE(notHeld, QStringList());
        QCOMPARE(answerer.boxes().size(), 0);
        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(status(), "Upload Finished,  File saved: " + dir.filePath("guarded.tvd"));
        QCOMPARE(contents(dir.filePath("guarded.raw")), memory);
        QVERIFY(!form->isUnloaded());
        for (const char *name : {"STARTDUMP", "Convert", "cmdOK", "USBInterface"})
            QVERIFY2(find<QWidget>(name)->isEnabled(), name);
        QVERIFY(!find<QPushButton>("STOPTRANSFER")->isVisible());
    }

    // STOP (and Escape) ends a dump like a failure; the blocks received stay under ".partial".
    void stoppedDumpKeepsTheBlocksReceived() {
        const QByteArray memory = memoryImage(252 * 10);
        useSerialPort(startInstrument(
            {"--silence-ms", "1500", "--silence-every", "3", "dump", imageFile(memory)}));
        int percentAtStop = -1;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            const int percent = find<ravelin::ProgressIndicator>("UploadProgress")->Value();
            if (percent < 20 || percentAtStop >= 0) return;
            percentAtStop = percent;
            QApplication::setActiveWindow(form.get()); // back from the file dialog
            QTest::keyClick(form.get(), Qt::Key_Escape);
        });
        probe.start(10);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("stopped"));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        find<QPushButton>("STARTDUMP")->click();
        const QString partial = dir.filePath("stopped.raw.partial");
        QCOMPARE(status(),
                 "Dump Aborted: stopped by the operator; what arrived is kept in " + partial);
        QCOMPARE(contents(partial), memory.left(252 * 10 * percentAtStop / 100));
        QVERIFY(!QFile::exists(dir.filePath("stopped.raw")));
        QVERIFY(!port()->PortOpen());
    }

    // While the instrument pauses part way through a dump, the live counts are those of the
    // records in the bytes written so far; at its end, the converted database's. The page shows
    // them and the line's plot in place of its picture.
    void liveViewFollowsTheDump() {
        sample::VirelShape shape;
        shape.profiles_per_survey = 2;
        shape.stations = 8;
        shape.levels = 3;
        shape.bore_holes = false;
        const std::vector<std::uint8_t> raw = sample::build_virel(shape);
        const QByteArray memory(reinterpret_cast<const char *>(raw.data()), qsizetype(raw.size()));
        useSerialPort(startInstrument(
            {"--silence-ms", "1200", "--silence-every", "8", "dump", imageFile(memory)}));
        const QString partial = dir.filePath("live.raw.partial");
        bool checked = false;
        qsizetype lastSize = -1;
        int steadyTicks = 0;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (checked || !form->transferRunning()) return;
            // The file has stood still for 400 ms: the instrument pauses.
            const QByteArray received = contents(partial);
            if (received.size() != std::exchange(lastSize, received.size())) steadyTicks = 0;
            if (++steadyTicks < 8 || received.isEmpty()) return;
            checked = true;
            QVERIFY(received.size() < memory.size());
            survey::IncrementalReader reader;
            reader.feed(reinterpret_cast<const std::uint8_t *>(received.data()),
                        std::size_t(received.size()));
            const LiveDump::Snapshot shot = form->liveDump().snapshot(false);
            QCOMPARE(shot.bytes_read, reader.position());
            QVERIFY(shot.counts.ip > 0);
            QVERIFY(reader.counts() == shot.counts);
            QVERIFY(find<QWidget>("LivePlot")->isVisible());
            QVERIFY(!find<QWidget>("Picture1")->isVisible());
        });
        probe.start(50);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("live"));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        find<QPushButton>("STARTDUMP")->click();
        QVERIFY(checked);
        QCOMPARE(status(), "Upload Finished,  File saved: " + dir.filePath("live.tvd"));
        answerer.pressButton(QMessageBox::Cancel); // the converter's report
        find<QPushButton>("Convert")->click();
        const survey::LoadResult converted =
            survey::load_database(dir.filePath("live.tvd").toStdString());
        QVERIFY2(converted.complete(), survey::stop_reason(converted).c_str());
        const survey::ReadingCounts expected = survey::count_readings(converted.database);
        QVERIFY(expected.ip > 0);
        // The view reads what it still held after the dump without holding the window up.
        QTRY_COMPARE(find<QLabel>("LiveCounts")->text().toStdString(), liveCountLine(expected));
        QVERIFY(find<QLabel>("LiveLine")->text().startsWith("survey 1"));
    }

    // An instrument that never answers: STOP ends the wait; an upload asks first.
    void silentInstrumentCanBeStopped() {
        PtyPair line; // a serial line with nobody on the other end
        useSerialPort(line.slavePath());
        QTimer probe;
        onceWhenStatusIs(probe, "Syncronizing....",
                         [&] { find<QPushButton>("STOPTRANSFER")->click(); });
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("silent"));
        find<QPushButton>("STARTDUMP")->click();
        QCOMPARE(status(), QString("Dump Aborted: stopped by the operator"));
        QVERIFY(!QFile::exists(dir.filePath("silent.raw.partial")));

        const QString sys = imageFile("1\r\nONLY\r\n", "new.sys");
        QTimer uploadProbe;
        onceWhenStatusIs(uploadProbe, "Syncronizing....", [&] {
            find<QPushButton>("STOPTRANSFER")->click(); // answered No: goes on
            find<QPushButton>("STOPTRANSFER")->click(); // answered Yes
        });
        answerer.chooseFile(sys);
        answerer.pressButton(QMessageBox::No);
        answerer.pressButton(QMessageBox::Yes);
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QCOMPARE(answerer.boxes().size(), 2);
        QCOMPARE(answerer.boxes()[0].text,
                 QString("The instrument will hold an incomplete operating system. Stop anyway?"));
        QCOMPARE(answerer.boxes()[0].defaultButton, QMessageBox::No);
        QCOMPARE(status(), QString("Upload Aborted: stopped by the operator"));
        QVERIFY(find<QPushButton>("REPROGRAMSYSTEM")->isEnabled());
    }

    // What a failed dump kept under ".partial" is what RAW To TVD offers next, and shows.
    void rawToTvdOffersWhatAFailedDumpKept() {
        usb.dumpOf(memoryImage(1000), 5000);
        const QString partial = dir.filePath("line7.raw.partial");
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("line7"));
        find<QPushButton>("STARTDUMP")->click();
        QVERIFY2(status().endsWith("what arrived is kept in " + partial), qPrintable(status()));

        answerer.cancelFileDialog();
        find<QPushButton>("butRAWTVD")->click();
        QCOMPARE(answerer.fileDialogs().size(), 2);
        QCOMPARE(answerer.fileDialogs()[1].nameFilters,
                 (QStringList{".raw and partial dumps (*.raw *.raw.partial)",
                              "Tervane raw database (*.raw)", "All Files (*.*)"}));
        QCOMPARE(answerer.fileDialogs()[1].proposedFiles, QStringList{partial});
    }

    // The upload's indicator never shows an earlier upload's figure: it is cleared when an
    // upload starts and when one ends early.
    void uploadProgressNeverShowsAnEarlierUpload() {
        auto *progress = find<ravelin::ProgressIndicator>("ReprogramProgress");
        auto cleared = [progress] { return progress->Value() == 0 && progress->Caption() == ""; };
        ModalAnswerer answerer;
        answerer.chooseFile(imageFile("1\r\nONLY\r\n", "one.sys"));
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QCOMPARE(progress->Caption(), QString("100% Completed"));

        PtyPair line; // nobody answers: the upload waits at its start until STOP
        useSerialPort(line.slavePath());
        bool clearedAtStart = false;
        QTimer probe;
        onceWhenStatusIs(probe, "Syncronizing....", [&] {
            clearedAtStart = cleared();
            find<QPushButton>("STOPTRANSFER")->click();
        });
        answerer.chooseFile(dir.filePath("one.sys"));
        answerer.pressButton(QMessageBox::Yes);
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QVERIFY(clearedAtStart);

        find<QCheckBox>("USBInterface")->setChecked(true);
        usb.failWriteAt = int(usb.writes.size()) + 2; // after two of the four lines
        answerer.chooseFile(imageFile("4\r\nL1\r\nL2\r\nL3\r\nL4\r\n", "four.sys"));
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QCOMPARE(status(),
                 QString("ERROR ----> USB DEVICE NOT DETECTED, connect again and restart"));
        QVERIFY(cleared());
    }

    void cancelledDialogEndsSilently() {
        form->setStatusText("before");
        ModalAnswerer answerer;
        answerer.cancelFileDialog();
        find<QPushButton>("STARTDUMP")->click();
        QCOMPARE(status(), QString("before"));
        QCOMPARE(find<ravelin::ProgressIndicator>("UploadProgress")->Caption(), QString("00%"));
        QVERIFY(find<QPushButton>("STARTDUMP")->isEnabled());
        QVERIFY(usb.openedPipes.isEmpty());
    }

    void usbFailureIsOnTheStatusBar() {
        usb.present = false;
        find<QCheckBox>("USBInterface")->setChecked(true);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("nodevice"));
        find<QPushButton>("STARTDUMP")->click();
        QCOMPARE(status(),
                 QString("ERROR ----> USB DEVICE NOT DETECTED, connect again and restart"));
        QVERIFY(!QFile::exists(dir.filePath("nodevice.raw")));
        QVERIFY(find<QPushButton>("STARTDUMP")->isEnabled());
    }

    void serialEmptyMemoryShowsTheBoxAndKeepsTheWindowResponsive() {
        QFile image(dir.filePath("image.bin"));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write("x");
        image.close();
        const QString pty = startInstrument({"--empty", "dump", image.fileName()});
        QVERIFY(!pty.isEmpty());
        find<QCheckBox>("USBInterface")->setChecked(false);
        port()->setDevicePathOverride(pty);
        withoutFlowControl();

        bool startDisabled = false, reprogramHeld = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (form->statusText() != "Syncronizing....") return;
            startDisabled = !find<QPushButton>("STARTDUMP")->isEnabled();
            reprogramHeld = !find<QPushButton>("REPROGRAMSYSTEM")->isEnabled();
        });
        probe.start(20);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("empty"));
        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("STARTDUMP")->click();
        QVERIFY(startDisabled);
        QVERIFY(reprogramHeld);
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, QString("Data Memory Empty"));
        QCOMPARE(answerer.boxes()[0].title, QString("Error"));
        QCOMPARE(answerer.boxes()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.boxes()[0].standardButtons,
                 QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(status(), QString("Dump Aborted"));
        QVERIFY(!QFile::exists(dir.filePath("empty.raw")));
        QVERIFY(find<QPushButton>("STARTDUMP")->isEnabled());
        QVERIFY(!port()->PortOpen());
    }

    void serialUploadRunsAt57600AndPutsTheSpeedBoxBack() {
        QFile sys(dir.filePath("new.sys"));
        QVERIFY(sys.open(QIODevice::WriteOnly));
        sys.write("3\r\nL1\r\nL2\r\nL3\r\n");
        sys.close();
        const QString received = dir.filePath("received.txt");
        const QString pty = startInstrument({"--lines", "3", "upload", received});
        find<QCheckBox>("USBInterface")->setChecked(false);
        port()->setDevicePathOverride(pty);
        withoutFlowControl();
        find<QComboBox>("cboSpeed")->setCurrentText("19200");
        find<QComboBox>("cboParity")->setCurrentText("None");
        QString speedDuring;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (port()->PortOpen()) speedDuring = find<QComboBox>("cboSpeed")->currentText();
        });
        probe.start(10);
        ModalAnswerer answerer;
        answerer.chooseFile(sys.fileName());
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QCOMPARE(speedDuring, QString("57600"));
        QCOMPARE(find<QComboBox>("cboSpeed")->currentText(), QString("19200"));
        QVERIFY(framingText(port()->settings()).startsWith("57600,n,"));
        QCOMPARE(status(), QString("New Operating System Downloaded, wait for UNIT to POWER DOWN"));
        QCOMPARE(find<ravelin::ProgressIndicator>("ReprogramProgress")->Caption(),
                 QString("100% Completed"));
        QVERIFY(find<QPushButton>("REPROGRAMSYSTEM")->isEnabled());
        QVERIFY(instrument.state() == QProcess::NotRunning || instrument.waitForFinished(10000));
        QFile got(received);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), QByteArray("L1\r\nL2\r\nL3\r\n"));
    }

    void usbUploadReportsTheProduct() {
        usb.product = 0x0DDE;
        QFile sys(dir.filePath("usb.sys"));
        QVERIFY(sys.open(QIODevice::WriteOnly));
        sys.write("1\r\nONLY\r\n");
        sys.close();
        find<QCheckBox>("USBInterface")->setChecked(true);
        ModalAnswerer answerer;
        answerer.chooseFile(sys.fileName());
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        QCOMPARE(answerer.fileDialogs()[0].nameFilters, QStringList{"System Files (*.sys)"});
        QCOMPARE(status(),
                 QString("New Operating System Downloaded, wait for VIREL to POWER DOWN"));
        QCOMPARE(usb.writes, QList<QByteArray>{"ONLY" + QByteArray(44, '\0')});
        QCOMPARE(find<ravelin::ProgressIndicator>("ReprogramProgress")->Caption(),
                 QString("100% Completed"));
    }
};

QTEST_MAIN(DumpWindowTest)
#include "dump_window_test.moc"
