// CONVERT and RAW To TVD on the real window with the real decoder library, on raw databases
// built here: the files left behind, the printout and ".xyz" file, the messages byte for byte,
// the retry path (with a stand-in decoder that fails once) and the failures that keep the run.
#include "dumpdec_binding.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "print_pdf_reader.h"
#include "samples.h"
#include "settings_sandbox.h"
#include "window_controls.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using ravelin::MainWindow;

namespace {

const QString kSpaces38(38, QLatin1Char(' '));

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A KX-4 survey of two profiles of eight readings (and one empty profile header).
void writeKx4Database(const QString &path) {
    const std::vector<std::uint8_t> raw = ravelin::sample::build_kx4({});
    writeFile(path, QByteArray(reinterpret_cast<const char *>(raw.data()),
                               static_cast<qsizetype>(raw.size())));
}

QStringList entries(const QString &folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Logs the enabled changes of the three held buttons, and the status text the window showed
// when the decoder returned (when CONVERT comes back on).
class HeldButtonsWatch : public QObject {
  public:
    explicit HeldButtonsWatch(MainWindow &form) : form_(form) {
        for (QPushButton *button :
             {control<QPushButton>(form, "Convert"), control<QPushButton>(form, "STARTDUMP"),
              control<QPushButton>(form, "butRAWTVD")})
            button->installEventFilter(this);
    }
    QStringList log;
    QStringList statusWhenDecoderReturned;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::EnabledChange) {
            auto *button = static_cast<QPushButton *>(watched);
            log << button->objectName() + (button->isEnabled() ? " on" : " off");
            if (button == control<QPushButton>(form_, "Convert") && button->isEnabled())
                statusWhenDecoderReturned << form_.statusText();
        }
        return false;
    }

  private:
    MainWindow &form_;
};

// Closes the completion message (any of its buttons will do).
bool clickFirstButton(QWidget *w) {
    auto *box = qobject_cast<QMessageBox *>(w);
    if (!box) return false;
    box->buttons().constFirst()->click();
    return true;
}

const QStringList kOneDecoderCall{"Convert off", "STARTDUMP off", "butRAWTVD off",
                                  "Convert on",  "STARTDUMP on",  "butRAWTVD on"};

} // namespace

class ConvertTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> form;
    template <typename T> T *find(const QString &name) const { return control<T>(*form, name); }
    int ended = 0;

    QString path(const QString &name) const { return dir->filePath(name); }
    bool isEnded() const { return ended > 0 && !form->isVisible(); }
    bool heldButtonsEnabled() const {
        return find<QPushButton>("Convert")->isEnabled() &&
               find<QPushButton>("STARTDUMP")->isEnabled() &&
               find<QPushButton>("butRAWTVD")->isEnabled();
    }

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() {
        sandbox = std::make_unique<SettingsSandbox>();
        dir = std::make_unique<QTemporaryDir>();
        form = std::make_unique<MainWindow>();
        ended = 0;
        form->setProgramEnder([this] { ++ended; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        dir.reset();
        sandbox.reset();
        ravelin::setWindowDumpdecFolders({});
    }

    // An empty name and an empty raw database both get "No data to convert"; the run goes on.
    void nothingToConvertKeepsTheWindow_data() {
        QTest::addColumn<bool>("emptyDatabase");
        QTest::newRow("no file named") << false;
        QTest::newRow("raw database of length 0") << true;
    }
    void nothingToConvertKeepsTheWindow() {
        QFETCH(bool, emptyDatabase);
        if (emptyDatabase) {
            writeFile(path("empty.raw"), QByteArray());
            form->setLastRawFile(path("empty.raw"));
        }
        HeldButtonsWatch watch(*form);
        ModalAnswerer answerer;
        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("Convert")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        const ModalAnswerer::Box &box = answerer.boxes()[0];
        QCOMPARE(box.text, QString("No data to convert"));
        QCOMPARE(box.title, QString());
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(watch.log.isEmpty()); // the decoder was not called
        QVERIFY(!ended);
        QVERIFY(form->isVisible());
        QCOMPARE(entries(dir->path()), emptyDatabase ? QStringList{"empty.raw"} : QStringList{});
    }

    void conversionLeavesItsFilesAndEndsTheRun_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("Keep Log File clear")
            << false << QStringList{"line7.smp", "line7.tvd", "line7.txt"};
        QTest::newRow("Keep Log File ticked")
            << true << QStringList{"line7.log", "line7.raw", "line7.smp", "line7.tvd", "line7.txt"};
    }
    void conversionLeavesItsFilesAndEndsTheRun() {
        QFETCH(bool, keep);
        QFETCH(QStringList, left);
        writeKx4Database(path("line7.raw"));
        form->setLastRawFile(path("line7.raw"));
        find<QCheckBox>("KeepLogFile")->setChecked(keep);
        HeldButtonsWatch watch(*form);
        ModalAnswerer answerer;
        QString statusAtCompletion;
        answerer.answerWith([&](QWidget *w) {
            statusAtCompletion = form->statusText();
            static_cast<QMessageBox *>(w)->buttons().constLast()->click();
            return true;
        });
        find<QPushButton>("Convert")->click();

        QCOMPARE(watch.log, kOneDecoderCall);
        QCOMPARE(watch.statusWhenDecoderReturned,
                 QStringList{"Converting ........" + path("line7.raw")});
        QCOMPARE(answerer.boxes().size(), 1);
        const ModalAnswerer::Box &box = answerer.boxes()[0];
        QCOMPARE(box.text, path("line7.raw") + "file converted to .TVD");
        QCOMPARE(box.title, QString("Dump File Converter"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QStringList buttons = box.buttonTexts;
        buttons.replaceInStrings("&", "").sort();
        QCOMPARE(buttons, (QStringList{"Cancel", "Continue", "Try Again"}));
        QCOMPARE(statusAtCompletion, kSpaces38);
        QVERIFY(isEnded());
        QCOMPARE(entries(dir->path()), left);
    }

    void printoutAndXyzFileFromTheSurveyTextFile() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the printout would go to it");
        writeKx4Database(path("line7.raw"));
        form->setLastRawFile(path("line7.raw"));
        find<QCheckBox>("PrintTextFile")->setChecked(true);
        find<QCheckBox>("CreateXYZ")->setChecked(true);
        ModalAnswerer answerer;
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("Convert")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text,
                 path("line7.raw") +
                     "file converted to .TVD\n\nNo printer is installed: the "
                     "printout is in " +
                     path("line7.pdf"));
        QVERIFY(isEnded());

        const QList<QByteArray> survey = readFile(path("line7.txt")).split('\n');
        QVERIFY(survey.size() > 20);
        QCOMPARE(survey[0], QByteArray("\r")); // the decoder's empty first line

        // Every survey line but the first, in order, in bold unless it begins with a space.
        const QList<PdfTextLine> printed = pdfTextLines(path("line7.pdf"));
        QCOMPARE(printed.size(), survey.size() - 1);
        for (qsizetype i = 1; i < survey.size(); ++i) {
            const QByteArray line = survey[i].chopped(survey[i].endsWith('\r') ? 1 : 0);
            QCOMPARE(printed[i - 1].text.simplified(), QString::fromLatin1(line).simplified());
            QCOMPARE(printed[i - 1].bold, !line.startsWith(' '));
        }
        QVERIFY(printed[0].text.contains("KX-4 SURVEY"));
        QVERIFY(pdfStrokedSegments(path("line7.pdf")).isEmpty()); // no dashed lines here

        // The ".xyz" file: the empty first line and the sixteen readings, no headings.
        const QList<QByteArray> xyz = readFile(path("line7.xyz")).split('\n');
        QCOMPARE(xyz.first(), QByteArray("\r"));
        QCOMPARE(xyz.last(), QByteArray()); // the last line is ended too
        int readings = 0;
        for (const QByteArray &line : xyz) {
            QVERIFY(!line.startsWith('/') && !line.startsWith('L'));
            readings += line.startsWith("100.0000000") || line.startsWith("200.0000000");
        }
        QCOMPARE(readings, 16);
    }

    // The front end finds the files where the decoder wrote them: the name is cut at the first
    // "." of the file's own name, whatever dots the folder or the rest of the name hold.
    void derivedNamesFollowTheDecoder_data() {
        QTest::addColumn<QString>("raw");
        QTest::newRow("dotted folder") << "field.2006/a.raw";
        QTest::newRow("two dots in the name") << "field.2006/a.2006.raw";
    }
    void derivedNamesFollowTheDecoder() {
        QFETCH(QString, raw);
        QVERIFY(QDir(dir->path()).mkdir("field.2006"));
        writeKx4Database(path(raw));
        form->setLastRawFile(path(raw));
        find<QCheckBox>("CreateXYZ")->setChecked(true);
        ModalAnswerer answerer;
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("Convert")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, path(raw) + "file converted to .TVD");
        QVERIFY(readFile(path("field.2006/a.xyz")).contains("100.0000000"));
        QCOMPARE(entries(dir->path()), QStringList{});
    }

    // The decoder fails (the input would be overwritten by its own output) and the user declines
    // to try again: nothing is printed or derived, and the run ends without claiming success.
    void declinedRetryIsNotReportedAsConverted() {
        writeKx4Database(path("t.tvd"));
        form->setLastRawFile(path("t.tvd"));
        find<QCheckBox>("PrintTextFile")->setChecked(true);
        find<QCheckBox>("CreateXYZ")->setChecked(true);
        ModalAnswerer answerer;
        QString statusAtQuestion;
        answerer.answerWith([&](QWidget *w) {
            statusAtQuestion = form->statusText();
            static_cast<QMessageBox *>(w)->button(QMessageBox::No)->click();
            return true;
        });
        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("Convert")->click();

        QCOMPARE(answerer.boxes().size(), 2);
        const ModalAnswerer::Box &question = answerer.boxes()[0];
        QCOMPARE(question.text, QString("Try again ?"));
        QCOMPARE(question.title, QString("Dump File Convert Error"));
        QCOMPARE(question.icon, QMessageBox::Critical);
        QCOMPARE(question.standardButtons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
        QCOMPARE(statusAtQuestion, "Converting ........" + path("t.tvd"));
        const ModalAnswerer::Box &report = answerer.boxes()[1];
        QCOMPARE(report.text, path("t.tvd") + " could not be converted to .TVD");
        QCOMPARE(report.title, QString("Dump File Convert Error"));
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(isEnded());
        QCOMPARE(entries(dir->path()), QStringList{"t.tvd"});
    }

    // The stand-in decoder fails its first call; Keep Log File is ticked only while the
    // question is up, and the retry passes the new value.
    void retryPassesTheKeepFlagReadAgain() {
        ravelin::setWindowDumpdecFolders(
            {QCoreApplication::applicationDirPath() + "/standin_dumpdec"});
        writeFile(path("r.raw"), "not empty");
        form->setLastRawFile(path("r.raw"));
        find<QCheckBox>("CreateXYZ")->setChecked(true);
        HeldButtonsWatch watch(*form);
        ModalAnswerer answerer;
        answerer.answerWith([&](QWidget *w) {
            find<QCheckBox>("KeepLogFile")->setChecked(true);
            static_cast<QMessageBox *>(w)->button(QMessageBox::Yes)->click();
            return true;
        });
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("Convert")->click();

        QCOMPARE(answerer.boxes().size(), 2);
        QCOMPARE(answerer.boxes()[0].text, QString("Try again ?"));
        QCOMPARE(answerer.boxes()[1].text, path("r.raw") + "file converted to .TVD");
        QCOMPARE(watch.log, kOneDecoderCall + kOneDecoderCall);
        QCOMPARE(readFile(path("r.calls")), QByteArray("keep=0\nkeep=1\n"));
        QCOMPARE(readFile(path("r.xyz")), QByteArray("\r\n  1.0  2.0  3.0\r\n"));
        QVERIFY(isEnded());
    }

    // A failure inside the action. CONVERT: reported in a critical box, then the run ends.
    // RAW To TVD: the window stays, the buttons come back, the status bar says what went wrong.
    void failureStopsTheAction_data() {
        QTest::addColumn<bool>("libraryMissing");
        QTest::newRow("decoder library missing") << true;
        QTest::newRow("raw database missing") << false;
    }
    void failureStopsTheAction() {
        QFETCH(bool, libraryMissing);
        QTemporaryDir noLibrary;
        QString expected = "File not found: " + path("line7.raw");
        if (libraryMissing) {
            ravelin::setWindowDumpdecFolders({noLibrary.path()});
            expected = "Decoder library libdumpdec.so not found in " + noLibrary.path();
            writeKx4Database(path("line7.raw"));
        }

        ModalAnswerer answerer;
        if (libraryMissing) {
            answerer.chooseFile(path("line7.raw"));
            find<QPushButton>("butRAWTVD")->click();
            QCOMPARE(answerer.boxes().size(), 0);
            QCOMPARE(form->statusText(), expected);
            QVERIFY(heldButtonsEnabled());
            QVERIFY(!ended);
        } else {
            // RAW To TVD names existing files only; this one went away after it was named.
            form->setLastRawFile(path("line7.raw"));
        }

        answerer.pressButton(QMessageBox::Ok);
        find<QPushButton>("Convert")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, expected);
        QCOMPARE(answerer.boxes()[0].title, QString("RAVELIN"));
        QCOMPARE(answerer.boxes()[0].icon, QMessageBox::Critical);
        QVERIFY(heldButtonsEnabled());
        QVERIFY(isEnded());
        QCOMPARE(entries(dir->path()), libraryMissing ? QStringList{"line7.raw"} : QStringList{});
    }

    // CONVERT takes the raw database RAW To TVD named, not the system file chosen after it.
    void convertNeverTakesASystemFile() {
        QTemporaryDir noLibrary; // RAW To TVD fails and the window stays
        ravelin::setWindowDumpdecFolders({noLibrary.path()});
        writeKx4Database(path("line7.raw"));
        writeFile(path("new.sys"), "not a line count\r\n"); // refused before any upload
        ModalAnswerer answerer;
        answerer.chooseFile(path("line7.raw"));
        find<QPushButton>("butRAWTVD")->click();
        ravelin::setWindowDumpdecFolders({});
        answerer.chooseFile(path("new.sys"));
        find<QPushButton>("REPROGRAMSYSTEM")->click();
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("Convert")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, path("line7.raw") + "file converted to .TVD");
        QVERIFY(QFile::exists(path("line7.tvd")));
    }

    void rawToTvdAsksForTheFile() {
        writeKx4Database(path("line7.raw"));
        ModalAnswerer answerer;
        answerer.cancelFileDialog();
        find<QPushButton>("butRAWTVD")->click();
        QCOMPARE(answerer.fileDialogs().size(), 1);
        QCOMPARE(answerer.boxes().size(), 0);
        QCOMPARE(answerer.fileDialogs()[0].nameFilters,
                 (QStringList{".raw and partial dumps (*.raw *.raw.partial)",
                              "Tervane raw database (*.raw)", "All Files (*.*)"}));
        QCOMPARE(answerer.fileDialogs()[0].fileMode, QFileDialog::ExistingFile);
        QVERIFY(!ended);

        answerer.chooseFile(path("line7.raw"));
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("butRAWTVD")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes()[0].text, path("line7.raw") + "file converted to .TVD");
        QVERIFY(QFile::exists(path("line7.tvd")));
        QVERIFY(isEnded());
    }

    // What a failed dump kept under ".partial" converts like any raw database, named after the
    // file up to its first ".".
    void rawToTvdConvertsWhatAFailedDumpKept() {
        writeKx4Database(path("line7.raw.partial"));
        ModalAnswerer answerer;
        answerer.chooseFile(path("line7.raw.partial"));
        answerer.answerWith(clickFirstButton);
        find<QPushButton>("butRAWTVD")->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(QFile::exists(path("line7.tvd")));
        QVERIFY(isEnded());
    }
};

QTEST_MAIN(ConvertTest)
#include "convert_test.moc"
