// The Com Parameters page: stored settings shown at start-up, the OK and Cancel actions.
#include "com_parameters_page.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "mscomm.h"
#include "mscomm_pty.h"
#include "settings_sandbox.h"
#include "window_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

using ravelin::MainWindow;

namespace {

struct Shown {
    QString port, speed, parity, dataBits, stopBits;
    int flow;
};

} // namespace

class ComParametersTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<MainWindow> form;
    template <typename T> T *find(const QString &name) const { return control<T>(*form, name); }
    ravelin::MSComm *port() const { return find<ravelin::MSComm>("MSComm1"); }
    int flowChoice() const {
        return ravelin::flowControlCode(
            find<ravelin::ComParametersPage>("ComParametersPage")->choice().flowControl);
    }
    QString framing() const { return ravelin::framingText(port()->settings()); }
    int flowCode() const { return ravelin::flowControlCode(port()->settings().flowControl); }

    void open() {
        form = std::make_unique<MainWindow>();
        form->setProgramEnder([] {});
    }
    Shown shown() const {
        int flow = -1;
        for (int i = 0; i < 4; ++i)
            if (find<QRadioButton>(QString("optFlow%1").arg(i))->isChecked()) flow = i;
        return {find<QComboBox>("cboPort")->currentText(),
                find<QComboBox>("cboSpeed")->currentText(),
                find<QComboBox>("cboParity")->currentText(),
                find<QComboBox>("cboDataBits")->currentText(),
                find<QComboBox>("cboStopBits")->currentText(),
                flow};
    }
    QStringList storedKeys() const {
        QSettings s = sandbox->file();
        return s.allKeys();
    }
    static QStringList entries(QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() { sandbox = std::make_unique<SettingsSandbox>(); }
    void cleanup() {
        form.reset();
        sandbox.reset();
    }

    void listsHoldTheirEntriesInOrder() {
        open();
        QStringList ports;
        for (int i = 1; i <= 16; ++i)
            ports << QString("Com%1").arg(i);
        QCOMPARE(entries(find<QComboBox>("cboPort")), ports);
        QCOMPARE(entries(find<QComboBox>("cboSpeed")),
                 (QStringList{"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200",
                              "28800", "38400", "56000", "57600", "115200", "128000", "256000"}));
        QCOMPARE(entries(find<QComboBox>("cboDataBits")), (QStringList{"4", "5", "6", "7", "8"}));
        QCOMPARE(entries(find<QComboBox>("cboParity")),
                 (QStringList{"Even", "Odd", "None", "Mark", "Space"}));
        QCOMPARE(entries(find<QComboBox>("cboStopBits")), (QStringList{"1", "1.5", "2"}));
        for (QComboBox *box : {find<QComboBox>("cboPort"), find<QComboBox>("cboSpeed"),
                               find<QComboBox>("cboDataBits"), find<QComboBox>("cboParity"),
                               find<QComboBox>("cboStopBits")})
            QVERIFY(!box->isEditable());
    }

    void firstStartWithAnEmptyStore() {
        open();
        QCOMPARE(port()->CommPort(), int16_t(1));
        QCOMPARE(flowCode(), 1);
        QCOMPARE(framing(), QString("19200,n,8,1"));
        const Shown s = shown();
        QCOMPARE(s.port, QString("Com1"));
        QCOMPARE(s.speed, QString("19200"));
        QCOMPARE(s.parity, QString("None"));
        QCOMPARE(s.dataBits, QString("8"));
        QCOMPARE(s.stopBits, QString("1"));
        QCOMPARE(s.flow, 1);
        QCOMPARE(flowChoice(), 1);
        QVERIFY(!port()->PortOpen());
        QVERIFY(storedKeys().isEmpty()); // loading stores nothing
    }

    void storedSettingsAreShown_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("handshaking");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<QString>("dataBits");
        QTest::addColumn<QString>("stopBits");
        QTest::addColumn<int>("flow");
        QTest::newRow("1.5 stop bits") << "9600,e,7,1.5"
                                       << "3"
                                       << "2"
                                       << "9600"
                                       << "Even"
                                       << "7"
                                       << "1.5" << 2;
        QTest::newRow("six-digit speed, two stop bits") << "115200,o,8,2"
                                                        << "16"
                                                        << "0"
                                                        << "115200"
                                                        << "Odd"
                                                        << "8"
                                                        << "2" << 0;
        QTest::newRow("mark, both flow controls") << "57600,m,5,1"
                                                  << "9"
                                                  << "3"
                                                  << "57600"
                                                  << "Mark"
                                                  << "5"
                                                  << "1" << 3;
        QTest::newRow("space, three-digit speed") << "110,s,6,1"
                                                  << "1"
                                                  << "1"
                                                  << "110"
                                                  << "Space"
                                                  << "6"
                                                  << "1" << 1;
    }
    void storedSettingsAreShown() {
        QFETCH(QString, settings);
        QFETCH(QString, port);
        QFETCH(QString, handshaking);
        sandbox->set("COMM/Settings", settings);
        sandbox->set("COMM/CommPort", port);
        sandbox->set("COMM/Handshaking", handshaking);
        open();
        const Shown s = shown();
        QCOMPARE(s.port, "Com" + port);
        QTEST(s.speed, "speed");
        QTEST(s.parity, "parity");
        QTEST(s.dataBits, "dataBits");
        QTEST(s.stopBits, "stopBits");
        QTEST(s.flow, "flow");
        QTEST(flowChoice(), "flow");
    }

    // A damaged store no longer stops the program: each refused key takes its default, the
    // others keep their stored values, and the window opens.
    void refusedStoredSettingFallsBackToItsDefault_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("handshaking");
        QTest::addColumn<QString>("expectSettings");
        QTest::addColumn<int>("expectPort");
        QTest::addColumn<int>("expectFlow");
        QTest::newRow("garbage settings") << "fast,x,9"
                                          << "3"
                                          << "2"
                                          << "19200,n,8,1" << 3 << 2;
        QTest::newRow("speed not listed") << "9601,n,8,1"
                                          << "3"
                                          << "2"
                                          << "19200,n,8,1" << 3 << 2;
        QTest::newRow("empty settings") << ""
                                        << "4"
                                        << "0"
                                        << "19200,n,8,1" << 4 << 0;
        QTest::newRow("port 0") << "9600,e,7,1"
                                << "0"
                                << "2"
                                << "9600,e,7,1" << 1 << 2;
        QTest::newRow("port 99") << "9600,e,7,1"
                                 << "99"
                                 << "2"
                                 << "9600,e,7,1" << 1 << 2;
        QTest::newRow("port text") << "9600,e,7,1"
                                   << "Com2"
                                   << "2"
                                   << "9600,e,7,1" << 1 << 2;
        QTest::newRow("flow code 7") << "9600,e,7,1"
                                     << "5"
                                     << "7"
                                     << "9600,e,7,1" << 5 << 1;
        QTest::newRow("flow code -1") << "9600,e,7,1"
                                      << "5"
                                      << "-1"
                                      << "9600,e,7,1" << 5 << 1;
    }
    void refusedStoredSettingFallsBackToItsDefault() {
        QFETCH(QString, settings);
        QFETCH(QString, port);
        QFETCH(QString, handshaking);
        QFETCH(int, expectPort);
        QFETCH(int, expectFlow);
        sandbox->set("COMM/Settings", settings);
        sandbox->set("COMM/CommPort", port);
        sandbox->set("COMM/Handshaking", handshaking);
        open();
        QTEST(framing(), "expectSettings");
        QCOMPARE(int(this->port()->CommPort()), expectPort);
        QCOMPARE(flowCode(), expectFlow);
        QCOMPARE(find<QComboBox>("cboPort")->currentIndex(), expectPort - 1);
        QVERIFY(find<QComboBox>("cboSpeed")->currentIndex() >= 0);
        QVERIFY(find<QComboBox>("cboDataBits")->currentIndex() >= 0);
        QCOMPARE(shown().flow, expectFlow);
    }

    void okStoresWhatTheComponentReports() {
        open();
        find<QComboBox>("cboSpeed")->setCurrentText("38400");
        find<QComboBox>("cboParity")->setCurrentText("Even");
        find<QComboBox>("cboDataBits")->setCurrentText("7");
        find<QComboBox>("cboStopBits")->setCurrentText("2");
        find<QRadioButton>(QString("optFlow%1").arg(2))->click();
        QCOMPARE(flowChoice(), 2);
        ModalAnswerer answerer;
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(answerer.boxes().size(), 0);
        QSettings s = sandbox->file();
        QCOMPARE(s.value("COMM/Settings").toString(), QString("38400,e,7,2"));
        QCOMPARE(s.value("COMM/CommPort").toString(), QString("1"));
        QCOMPARE(s.value("COMM/Handshaking").toString(), QString("2"));
        QVERIFY(!port()->PortOpen());

        // What was stored is what the next start shows.
        form = std::make_unique<MainWindow>();
        form->setProgramEnder([] {});
        const Shown shownAgain = shown();
        QCOMPARE(shownAgain.speed, QString("38400"));
        QCOMPARE(shownAgain.parity, QString("Even"));
        QCOMPARE(shownAgain.stopBits, QString("2"));
        QCOMPARE(shownAgain.flow, 2);
    }

    // OK stores the USB Interface box with the port settings and the next start shows it so;
    // Cancel stores nothing, and a damaged stored value leaves it ticked.
    void usbInterfaceBoxIsKeptWithThePortSettings() {
        open();
        auto usbBox = [this] { return find<QCheckBox>("USBInterface"); };
        usbBox()->setChecked(false);
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(sandbox->file().value("COMM/USBInterface").toString(), QString("0"));
        open();
        QVERIFY(!usbBox()->isChecked());
        usbBox()->setChecked(true);
        find<QPushButton>("cmdCancel")->click();
        open();
        QVERIFY(!usbBox()->isChecked());
        sandbox->set("COMM/USBInterface", "no");
        open();
        QVERIFY(usbBox()->isChecked());
    }

    void okWithTheOpenPortUnchangedLeavesItClosed() {
        PtyPair pty;
        QVERIFY(!pty.slavePath().isEmpty());
        sandbox->set("PORTS/Com2", pty.slavePath());
        sandbox->set("COMM/CommPort", "2");
        open();
        port()->setPortOpen(true);
        find<QComboBox>("cboSpeed")->setCurrentText("9600");
        ModalAnswerer answerer;
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(answerer.boxes().size(), 0);
        QCOMPARE(port()->CommPort(), int16_t(2));
        QVERIFY(!port()->PortOpen());
        QCOMPARE(sandbox->file().value("COMM/Settings").toString(), QString("9600,n,8,1"));
        QCOMPARE(sandbox->file().value("COMM/CommPort").toString(), QString("2"));
    }

    void okWithAChangedPortReopensItThenCloses() {
        PtyPair first, second;
        sandbox->set("PORTS/Com2", first.slavePath());
        sandbox->set("PORTS/Com7", second.slavePath());
        sandbox->set("COMM/CommPort", "2");
        open();
        port()->setPortOpen(true);
        find<QComboBox>("cboPort")->setCurrentIndex(6);
        ModalAnswerer answerer;
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(answerer.boxes().size(), 0);
        QCOMPARE(port()->CommPort(), int16_t(7));
        QVERIFY(!port()->PortOpen());
        QCOMPARE(sandbox->file().value("COMM/CommPort").toString(), QString("7"));
    }

    void okWithAPortThatCannotOpenRestoresTheOldNumber() {
        PtyPair pty;
        sandbox->set("PORTS/Com2", pty.slavePath());
        sandbox->set("PORTS/Com4", sandbox->path() + "/no-such-device");
        sandbox->set("COMM/CommPort", "2");
        open();
        port()->setPortOpen(true);
        find<QComboBox>("cboPort")->setCurrentIndex(3);
        find<QComboBox>("cboSpeed")->setCurrentText("9600");
        ModalAnswerer answerer;
        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        const auto &box = answerer.boxes()[0];
        QCOMPARE(box.title, QString("RAVELIN"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(box.text.startsWith("Cannot open " + sandbox->path() + "/no-such-device"),
                 qPrintable(box.text));
        QCOMPARE(port()->CommPort(), int16_t(2));
        QVERIFY(!port()->PortOpen());
        QCOMPARE(framing(), QString("19200,n,8,1")); // not applied
        QStringList keys = storedKeys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"COMM/CommPort", "PORTS/Com2", "PORTS/Com4"}));
        QCOMPARE(sandbox->file().value("COMM/CommPort").toString(), QString("2"));
    }

    // Framings Linux cannot set are refused by OK, naming the setting, before anything is
    // applied: not later, when a transfer opens the port.
    void okRefusesFramingsThisSystemCannotSet_data() {
        QTest::addColumn<QString>("dataBits");
        QTest::addColumn<QString>("stopBits");
        QTest::addColumn<QString>("named");
        QTest::newRow("4 data bits") << "4"
                                     << "1"
                                     << "4 data bits";
        QTest::newRow("1.5 stop bits") << "8"
                                       << "1.5"
                                       << "1.5 stop bits";
    }
    void okRefusesFramingsThisSystemCannotSet() {
        open();
        find<QComboBox>("cboPort")->setCurrentIndex(4);
        QFETCH(QString, dataBits);
        QFETCH(QString, stopBits);
        QFETCH(QString, named);
        find<QComboBox>("cboDataBits")->setCurrentText(dataBits);
        find<QComboBox>("cboStopBits")->setCurrentText(stopBits);
        find<QRadioButton>(QString("optFlow%1").arg(2))->click();
        ModalAnswerer answerer;
        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("cmdOK")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].title, QString("RAVELIN"));
        QCOMPARE(answerer.boxes()[0].icon, QMessageBox::Warning);
        QVERIFY2(answerer.boxes()[0].text.startsWith(named), qPrintable(answerer.boxes()[0].text));
        QCOMPARE(port()->CommPort(), int16_t(1));
        QCOMPARE(framing(), QString("19200,n,8,1"));
        QCOMPARE(flowCode(), 1);
        QVERIFY(storedKeys().isEmpty());
        QCOMPARE(find<QComboBox>("cboStopBits")->currentText(), stopBits); // the page keeps them
    }

    void cancelKeepsTheChoicesAndAppliesNothing() {
        open();
        find<QComboBox>("cboPort")->setCurrentIndex(5);
        find<QComboBox>("cboSpeed")->setCurrentText("2400");
        find<QRadioButton>(QString("optFlow%1").arg(3))->click();
        find<QPushButton>("cmdCancel")->click();
        QCOMPARE(find<QComboBox>("cboPort")->currentText(), QString("Com6"));
        QCOMPARE(find<QComboBox>("cboSpeed")->currentText(), QString("2400"));
        QCOMPARE(port()->CommPort(), int16_t(1));
        QCOMPARE(framing(), QString("19200,n,8,1"));
        QCOMPARE(flowCode(), 1);
        QVERIFY(storedKeys().isEmpty());
    }

    void enterPressesOkOnItsPageUnlessAButtonHasTheFocus() {
        open();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        find<QTabWidget>("vsIndexTab1")->setCurrentIndex(2);
        find<QComboBox>("cboSpeed")->setFocus();
        find<QComboBox>("cboSpeed")->setCurrentText("4800");
        QTest::keyClick(find<QComboBox>("cboSpeed"), Qt::Key_Return);
        QCOMPARE(sandbox->file().value("COMM/Settings").toString(), QString("4800,n,8,1"));

        find<QComboBox>("cboSpeed")->setCurrentText("2400");
        find<QPushButton>("cmdCancel")->setFocus();
        QTest::keyClick(find<QPushButton>("cmdCancel"), Qt::Key_Return);
        QCOMPARE(sandbox->file().value("COMM/Settings").toString(), QString("4800,n,8,1"));

        // On the other pages Enter never reaches OK.
        ModalAnswerer answerer;
        auto *tabs = find<QTabWidget>("vsIndexTab1");
        for (int page : {0, 1, 3}) {
            tabs->setCurrentIndex(page);
            tabs->tabBar()->setFocus();
            QTest::keyClick(tabs->tabBar(), Qt::Key_Return);
        }
        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(sandbox->file().value("COMM/Settings").toString(), QString("4800,n,8,1"));
    }

    void pageNamesTheDeviceOfTheSelectedPort() {
        sandbox->set("PORTS/Com3", "/dev/ttyUSB7");
        open();
        find<QComboBox>("cboPort")->setCurrentIndex(2);
        QCOMPARE(find<QLabel>("portDevice")->text(), QString("Com3 is /dev/ttyUSB7"));
        QVERIFY(find<QLabel>("presentDevices")->text().startsWith("Serial devices found: "));
    }

    void xonXoffChoiceCarriesANote() {
        open();
        find<QRadioButton>(QString("optFlow%1").arg(0))->click();
        QVERIFY(find<QLabel>("flowControlNote")->text().isEmpty());
        find<QRadioButton>(QString("optFlow%1").arg(1))->click();
        QCOMPARE(find<QLabel>("flowControlNote")->text(),
                 ravelin::flowControlWarning(QSerialPort::SoftwareControl));
        QVERIFY(!find<QLabel>("flowControlNote")->text().isEmpty());
        find<QRadioButton>(QString("optFlow%1").arg(3))->click();
        QVERIFY(!find<QLabel>("flowControlNote")->text().isEmpty());
        find<QRadioButton>(QString("optFlow%1").arg(2))->click();
        QVERIFY(find<QLabel>("flowControlNote")->text().isEmpty());
    }
};

QTEST_MAIN(ComParametersTest)
#include "test_com_parameters.moc"
