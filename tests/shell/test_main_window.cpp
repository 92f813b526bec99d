// The window as the user meets it: controls, pages, captions, help text, exit.
#include "file_question.h"
#include "init_module.h"
#include "main_window.h"
#include "picture_box.h"
#include "progress_indicator.h"
#include "settings_sandbox.h"
#include "status_bar.h"
#include "text_box.h"
#include "window_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using ravelin::MainWindow;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<MainWindow> form;
    template <typename T> T *find(const QString &name) const { return control<T>(*form, name); }
    int ended = 0;

    int pageOf(QWidget *w) const {
        for (int i = 0; i < find<QTabWidget>("vsIndexTab1")->count(); ++i)
            if (find<QTabWidget>("vsIndexTab1")->widget(i)->isAncestorOf(w)) return i;
        return -1;
    }

  private slots:
    void init() {
        sandbox = std::make_unique<SettingsSandbox>();
        form = std::make_unique<MainWindow>();
        ended = 0;
        form->setProgramEnder([this] { ++ended; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        sandbox.reset();
    }

    void captionCarriesTheRevision() {
        QCOMPARE(form->windowTitle(),
                 QString("RAVELIN  (Tervane Utilities)    Revision: 1.12 (B0)"));
    }

    void windowIconIsDrawn() {
        const QPixmap icon = form->windowIcon().pixmap(32, 32);
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(32, 32));
    }

    void fileDialogStartsInTheStoredFolder() {
        // Empty store: the user's documents folder, never a path of another system.
        QVERIFY(QDir::isAbsolutePath(find<ravelin::FileQuestion>("CommonDialog1")->folder()));
        QVERIFY(!find<ravelin::FileQuestion>("CommonDialog1")->folder().contains('\\'));
        sandbox->set("DATAPATH/LastDir", "/data/field 2006");
        MainWindow again;
        again.setProgramEnder([] {});
        const auto *dialog = control<ravelin::FileQuestion>(again, "CommonDialog1");
        QCOMPARE(dialog->folder(), QString("/data/field 2006"));
        QCOMPARE(dialog->lastAnswer(), QString());
    }

    void programIdentity() {
        ravelin::setProgramIdentity();
        QCOMPARE(QCoreApplication::applicationName(), QString("RAVELIN"));
        QCOMPARE(QCoreApplication::applicationVersion(), QString("1.12.0"));
    }

    void tabCaptionsWithAccessKeys() {
        QCOMPARE(find<QTabWidget>("vsIndexTab1")->objectName(), QString("vsIndexTab1"));
        const QStringList expected = {"&Dump", "&Operating_System", "Com &Parameters", "&Help",
                                      "&View"};
        QCOMPARE(find<QTabWidget>("vsIndexTab1")->count(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(find<QTabWidget>("vsIndexTab1")->tabText(i), expected[i]);
    }

    void controlsByNameKindCaptionAndPage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("page");
        auto row = [](const char *name, const char *kind, const char *caption, int page) {
            QTest::newRow(name) << QString(name) << QString(kind) << QString(caption) << page;
        };
        row("STARTDUMP", "QPushButton", "START  DUMP", 0);
        row("Convert", "QPushButton", "CONVERT", 0);
        row("butRAWTVD", "QPushButton", "RAW To TVD", 0);
        row("PrintTextFile", "QCheckBox", "    Print Text File", 0);
        row("CreateXYZ", "QCheckBox", "    Create XYZ File", 0);
        row("KeepLogFile", "QCheckBox", "    Keep Log File", 0);
        row("UploadProgress", "QProgressBar", "", 0);
        row("Picture1", "ravelin::PictureBox", "", 0);
        row("PictureExit", "ravelin::PictureBox", "", 0);
        row("LabEXIT", "QLabel", "EXIT", 0);
        row("REPROGRAMSYSTEM", "QPushButton", "REPROGRAM SYSTEM", 1);
        row("ReprogramProgress", "QProgressBar", "", 1);
        row("Picture3", "ravelin::PictureBox", "", 1);
        row("PictureEXIT2", "ravelin::PictureBox", "", 1);
        row("LabEXIT2", "QLabel", "EXIT", 1);
        row("cboPort", "QComboBox", "", 2);
        row("cboSpeed", "QComboBox", "", 2);
        row("cboDataBits", "QComboBox", "", 2);
        row("cboParity", "QComboBox", "", 2);
        row("cboStopBits", "QComboBox", "", 2);
        row("optFlow0", "QRadioButton", "None", 2);
        row("optFlow1", "QRadioButton", "Xon/Xoff", 2);
        row("optFlow2", "QRadioButton", "RTS", 2);
        row("optFlow3", "QRadioButton", "Xon/RTS", 2);
        row("cmdOK", "QPushButton", "OK", 2);
        row("cmdCancel", "QPushButton", "Cancel", 2);
        row("USBInterface", "QCheckBox", "USB Interface", 2);
        row("rs232Label", "QLabel", "RS232 setup", 2);
        row("Line1", "QFrame", "", 2);
        row("Picture2", "ravelin::PictureBox", "", 3);
        row("HelpInfo", "QPlainTextEdit", "", 3);
    }
    void controlsByNameKindCaptionAndPage() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(int, page);
        auto *w = form->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QVERIFY2(w->inherits(kind.toLatin1()), w->metaObject()->className());
        QCOMPARE(pageOf(w), page);
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            QCOMPARE(button->text(), caption);
        else if (!caption.isEmpty())
            QCOMPARE(qobject_cast<QLabel *>(w)->text(), caption);
    }

    void framesOfTheComParametersPage() {
        QStringList titles;
        for (auto *frame : form->findChildren<QGroupBox *>())
            titles << frame->title();
        titles.sort();
        QCOMPARE(titles,
                 (QStringList{"&Flow Control", "Connection Preferences", "Maximum Speed", "Port"}));
        QStringList labels;
        for (auto *label : find<QTabWidget>("vsIndexTab1")->widget(2)->findChildren<QLabel *>())
            labels << label->text();
        for (const char *caption : {"Data Bits:", "Parity:", "Stop Bits:"})
            QVERIFY2(labels.contains(caption), caption);
    }

    void stateWhenCreated() {
        QVERIFY(!find<QCheckBox>("PrintTextFile")->isChecked());
        QVERIFY(!find<QCheckBox>("CreateXYZ")->isChecked());
        QVERIFY(!find<QCheckBox>("KeepLogFile")->isChecked());
        QVERIFY(find<QCheckBox>("USBInterface")->isChecked());
        QVERIFY(find<QPushButton>("REPROGRAMSYSTEM")->font().bold());
        QVERIFY(find<QPushButton>("cmdOK")->isDefault());
        QVERIFY(!find<QTimer>("Timer1")->isActive());
        QVERIFY(!find<QTimer>("Timer2")->isActive());
        QCOMPARE(find<QTimer>("Timer1")->interval(), 500);
        QCOMPARE(find<QTimer>("Timer2")->interval(), 2000);
        QCOMPARE(find<ravelin::PictureBox>("PictureExit")->size(), QSize(32, 32));
        QCOMPARE(find<ravelin::PictureBox>("PictureEXIT2")->size(), QSize(32, 32));
        QVERIFY(find<QLabel>("LabEXIT")->font().bold());
        QCOMPARE(find<QLabel>("LabEXIT")->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(find<QLabel>("LabEXIT2")->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(form->statusText(), QString());
    }

    void helpTextByteForByte() {
        const QString expected =
            "OPERATING SYSTEM AND DUMP  INFO:\r\n"
            "RS232:\r\n"
            "1.\tConnect PC to remote unit as shown above\r\n"
            "2.\t Power up remote unit.\r\n"
            "3. \tGo to dump page and select desired baud rate ( default 19200)\r\n"
            "4. \tStart remote unit  DUMP command FIRST\r\n"
            "  \r\n"
            "5. \tRun RAVELIN program\r\n"
            "6. \tSelect desired COM port and baud rate ( default  Com2,19200,8,1,n)\r\n"
            "7. \tTo log Binary data Push START DUMP Button and follow the ON-LINE "
            "instructions\r\n"
            "8.\tSelected data file will be closed automatically upon EXIT\r\n"
            "9.            To reprogram operating system push REPROGRAM SYSTEM button and "
            "follow ON-LINE instructions\r\n"
            " \r\n"
            "USB:\r\n"
            "1.\tRun RAVELIN program\r\n"
            "2.\tSelect check box USB Interface in Com Parameters\r\n"
            "3.\tConnect USB cable  to remote unit\r\n"
            "4.\tFollow RAVELIN instructions for Dump or O.S. upload\r\n"
            "5.\tNo setting required on remote side( unit PWR ON only)\r\n";
        QCOMPARE(find<ravelin::TextBox>("HelpInfo")->Text(), expected);
        // Shown one line per CR LF, nothing lost.
        QCOMPARE(find<ravelin::TextBox>("HelpInfo")->toPlainText() + "\n",
                 QString(expected).replace("\r\n", "\n"));
        QVERIFY(find<ravelin::TextBox>("HelpInfo")->isReadOnly());
        QCOMPARE(find<ravelin::TextBox>("HelpInfo")->verticalScrollBarPolicy(),
                 Qt::ScrollBarAlwaysOn);
    }

    void exitLabelsDoNothing() {
        find<QTabWidget>("vsIndexTab1")->setCurrentIndex(0);
        QTest::mouseClick(find<QLabel>("LabEXIT"), Qt::LeftButton);
        find<QTabWidget>("vsIndexTab1")->setCurrentIndex(1);
        QTest::mouseClick(find<QLabel>("LabEXIT2"), Qt::LeftButton);
        QCOMPARE(ended, 0);
        QVERIFY(form->isVisible());
    }

    void exitPictureOfTheDumpPageEnds() {
        find<QTabWidget>("vsIndexTab1")->setCurrentIndex(0);
        QSignalSpy unloaded(form.get(), &MainWindow::unloaded);
        QTest::mouseClick(find<ravelin::PictureBox>("PictureExit"), Qt::LeftButton);
        QCOMPARE(unloaded.count(), 1);
        QCOMPARE(ended, 1);
        QVERIFY(!form->isVisible());
    }

    void exitPictureOfTheOperatingSystemPageEnds() {
        find<QTabWidget>("vsIndexTab1")->setCurrentIndex(1);
        QTest::mouseClick(find<ravelin::PictureBox>("PictureEXIT2"), Qt::LeftButton);
        QCOMPARE(ended, 1);
    }

    void closingTheWindowEndsOnce() {
        form->close();
        form->close();
        QCOMPARE(ended, 1);
    }

    void progressIndicatorsShowTheirCaption() {
        for (auto *bar : {find<ravelin::ProgressIndicator>("UploadProgress"),
                          find<ravelin::ProgressIndicator>("ReprogramProgress")}) {
            bar->setCaption("Block 7 of 12, 58% done");
            bar->setValue(58);
            QCOMPARE(bar->text(), QString("Block 7 of 12, 58% done"));
            QCOMPARE(bar->Caption(), QString("Block 7 of 12, 58% done"));
            QCOMPARE(bar->Value(), 58);
            bar->setValue(140);
            QCOMPARE(bar->Value(), 100);
        }
    }

    void statusBarKeepsItsText() {
        form->setStatusText("Converting ........C:/data/line7.raw");
        QCOMPARE(form->statusText(), QString("Converting ........C:/data/line7.raw"));
        QCOMPARE(find<ravelin::StatusBar>("StatusBar1")->objectName(), QString("StatusBar1"));
        QTest::qWait(50);
        QCOMPARE(find<ravelin::StatusBar>("StatusBar1")->SimpleText(),
                 QString("Converting ........C:/data/line7.raw"));
    }

    // A status longer than the window (a deep dump path) is shown elided in the middle, in full
    // in its tooltip; the window keeps its size and its minimum.
    void longStatusNeverWidensTheWindow() {
        const QSize size = form->size();
        const int minimumWidth = form->minimumSizeHint().width();
        const QString full =
            "Dump Aborted: stopped by the operator; what arrived is kept in /home/" +
            QString("field season 2006/").repeated(20) + "line7.raw.partial";
        form->setStatusText(full);
        QTest::qWait(50);
        QCOMPARE(form->size(), size);
        QCOMPARE(form->minimumSizeHint().width(), minimumWidth);
        auto *shown = find<QLabel>("StatusBar1Text");
        QVERIFY2(shown->text().startsWith("Dump Aborted: stopped") &&
                     shown->text().endsWith("/line7.raw.partial") &&
                     shown->text().contains(QChar(0x2026)),
                 qPrintable(shown->text()));
        QVERIFY(shown->fontMetrics().horizontalAdvance(shown->text()) <= shown->width());
        QCOMPARE(shown->toolTip(), full);
        QCOMPARE(form->statusText(), full);

        form->setStatusText("Dump Aborted");
        QCOMPARE(shown->text(), QString("Dump Aborted"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
