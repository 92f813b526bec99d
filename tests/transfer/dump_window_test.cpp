// START DUMP and REPROGRAM SYSTEM in the window: the file dialog, the name written back, the
// status bar, the progress indicators, the message box and the buttons, over USB (scripted
// instrument) and over a pseudo-terminal (the instrument simulator).
#include "common_dialog.h"
#include "dump_fakes.h"
#include "form1.h"
#include "form1_transfers.h"
#include "modal_answerer.h"
#include "mscomm.h"
#include "progress_indicator.h"
#include "settings_sandbox.h"
#include "usb_script.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

class DumpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<Form1> form;
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

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() {
        sandbox = std::make_unique<SettingsSandbox>();
        form = std::make_unique<Form1>();
        form->setProgramEnder([] {});
        form->CommonDialog1->setNonNative(true);
        form->CommonDialog1->InitDir = dir.path();
        usb = UsbScript{};
        TransfersOf(*form).setUsbApi(scriptedUsbApi());
    }
    void cleanup() {
        form.reset();
        if (instrument.state() != QProcess::NotRunning) instrument.kill();
        instrument.waitForFinished();
    }

    void usbDumpNormalisesTheNameAndReportsTheConvertedDatabase() {
        usb.dumpOf(memoryImage(1000), 1000);
        form->USBInterface->setChecked(true);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("line7.txt"));
        form->STARTDUMP->click();
        QCOMPARE(answerer.fileDialogs().size(), 1);
        QCOMPARE(answerer.fileDialogs()[0].nameFilters, QStringList{"All Files (*.*)"});
        QCOMPARE(form->CommonDialog1->FileName, dir.filePath("line7.raw"));
        QFile raw(dir.filePath("line7.raw"));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.readAll(), memoryImage(1000));
        QCOMPARE(status(), "Upload Finished,  File saved: " + dir.filePath("line7.tvd"));
        QCOMPARE(form->UploadProgress->Caption(), QString("100%"));
        QCOMPARE(form->UploadProgress->Value(), 100);
        QVERIFY(form->STARTDUMP->isEnabled());
        QCOMPARE(sandbox->file().value("DATAPATH/LastDir").toString(), dir.path());
        QVERIFY(answerer.boxes().isEmpty());
    }

    void cancelledDialogEndsSilently() {
        form->setStatusText("before");
        ModalAnswerer answerer;
        answerer.cancelFileDialog();
        form->STARTDUMP->click();
        QCOMPARE(status(), QString("before"));
        QCOMPARE(form->UploadProgress->Caption(), QString("00%"));
        QVERIFY(form->STARTDUMP->isEnabled());
        QVERIFY(usb.openedPipes.isEmpty());
    }

    void usbFailureIsOnTheStatusBar() {
        usb.present = false;
        form->USBInterface->setChecked(true);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("nodevice"));
        form->STARTDUMP->click();
        QCOMPARE(status(),
                 QString("ERROR ----> USB DEVICE NOT DETECTED, connect again and restart"));
        QVERIFY(!QFile::exists(dir.filePath("nodevice.raw")));
        QVERIFY(form->STARTDUMP->isEnabled());
    }

    void serialEmptyMemoryShowsTheBoxAndKeepsTheWindowResponsive() {
        QFile image(dir.filePath("image.bin"));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write("x");
        image.close();
        const QString pty = startInstrument({"--empty", "dump", image.fileName()});
        QVERIFY(!pty.isEmpty());
        form->USBInterface->setChecked(false);
        form->MSComm1->setDevicePathOverride(pty);
        form->MSComm1->setHandshaking(0);

        bool startDisabled = false, reprogramEnabled = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (form->statusText() != "Syncronizing....") return;
            startDisabled = !form->STARTDUMP->isEnabled();
            reprogramEnabled = form->REPROGRAMSYSTEM->isEnabled();
        });
        probe.start(20);
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("empty"));
        answerer.pressButton(QMessageBox::Ok);
        form->STARTDUMP->click();
        QVERIFY(startDisabled);
        QVERIFY(reprogramEnabled); // only the button that started the transfer is disabled
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, QString("Data Memory Empty"));
        QCOMPARE(answerer.boxes()[0].title, QString("Error"));
        QCOMPARE(answerer.boxes()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.boxes()[0].standardButtons,
                 QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(status(), QString("Dump Aborted"));
        QVERIFY(!QFile::exists(dir.filePath("empty.raw")));
        QVERIFY(form->STARTDUMP->isEnabled());
        QVERIFY(!form->MSComm1->PortOpen());
    }

    void serialUploadRunsAt57600AndPutsTheSpeedBoxBack() {
        QFile sys(dir.filePath("new.sys"));
        QVERIFY(sys.open(QIODevice::WriteOnly));
        sys.write("3\r\nL1\r\nL2\r\nL3\r\n");
        sys.close();
        const QString received = dir.filePath("received.txt");
        const QString pty = startInstrument({"--lines", "3", "upload", received});
        form->USBInterface->setChecked(false);
        form->MSComm1->setDevicePathOverride(pty);
        form->MSComm1->setHandshaking(0);
        form->cboSpeed->setCurrentText("19200");
        form->cboParity->setCurrentText("None");
        QString speedDuring;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (form->MSComm1->PortOpen()) speedDuring = form->cboSpeed->currentText();
        });
        probe.start(10);
        ModalAnswerer answerer;
        answerer.chooseFile(sys.fileName());
        form->REPROGRAMSYSTEM->click();
        QCOMPARE(speedDuring, QString("57600"));
        QCOMPARE(form->cboSpeed->currentText(), QString("19200"));
        QVERIFY(form->MSComm1->Settings().startsWith("57600,n,"));
        QCOMPARE(status(), QString("New Operating System Downloaded, wait for UNIT to POWER DOWN"));
        QCOMPARE(form->ReprogramProgress->Caption(), QString("100% Completed"));
        QVERIFY(form->REPROGRAMSYSTEM->isEnabled());
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
        form->USBInterface->setChecked(true);
        ModalAnswerer answerer;
        answerer.chooseFile(sys.fileName());
        form->REPROGRAMSYSTEM->click();
        QCOMPARE(answerer.fileDialogs()[0].nameFilters, QStringList{"System Files (*.sys)"});
        QCOMPARE(status(),
                 QString("New Operating System Downloaded, wait for VIREL to POWER DOWN"));
        QCOMPARE(usb.writes, QList<QByteArray>{"ONLY" + QByteArray(44, '\0')});
        QCOMPARE(form->ReprogramProgress->Caption(), QString("100% Completed"));
    }
};

QTEST_MAIN(DumpWindowTest)
#include "dump_window_test.moc"
