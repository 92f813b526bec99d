// CommonDialog1: the folder it opens in, the chosen name, cancel, and the answer proposed again.
#include "file_question.h"
#include "modal_answerer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using ravelin::FileQuestion;

class FileQuestionTest : public QObject {
    Q_OBJECT
    QWidget owner;

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void choosingANewFileForTheDump() {
        QTemporaryDir dir;
        FileQuestion question(&owner);
        question.setFolder(dir.path());
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("1436Aug012007"));
        const auto chosen = question.fileToSave({"All Files (*.*)"}, "1436Aug012007");
        QCOMPARE(chosen, QDir::toNativeSeparators(dir.filePath("1436Aug012007")));
        QVERIFY(!QFile::exists(*chosen)); // the dialog creates nothing itself
        QCOMPARE(answerer.fileDialogs().size(), 1);
        const auto &shown = answerer.fileDialogs()[0];
        QCOMPARE(shown.title, QString("Save As"));
        QCOMPARE(shown.directory, QDir(dir.path()).absolutePath());
        QCOMPARE(shown.nameFilters, QStringList{"All Files (*.*)"});
        QCOMPARE(shown.fileMode, QFileDialog::AnyFile);
        QCOMPARE(shown.proposedFiles.value(0), dir.filePath("1436Aug012007"));
    }

    // A cancel answers nothing and leaves the last answer; the next question may propose it, in
    // its own folder rather than the one set.
    void cancelAnswersNothingAndTheLastAnswerStays() {
        QTemporaryDir dir, elsewhere;
        QFile existing(dir.filePath("line7.raw"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        FileQuestion question(&owner);
        question.setFolder(elsewhere.path());
        ModalAnswerer answerer;
        answerer.chooseFile(existing.fileName());
        QCOMPARE(question.fileToOpen({"Tervane raw database (*.raw)"}, {}),
                 QDir::toNativeSeparators(existing.fileName()));
        answerer.cancelFileDialog();
        QCOMPARE(question.fileToOpen({"System Files (*.sys)"}, question.lastAnswer()),
                 std::nullopt);
        QCOMPARE(question.lastAnswer(), QDir::toNativeSeparators(existing.fileName()));
        QCOMPARE(answerer.fileDialogs().size(), 2);
        QCOMPARE(answerer.fileDialogs()[1].directory, QDir(dir.path()).absolutePath());
        QCOMPARE(answerer.fileDialogs()[1].proposedFiles.value(0), existing.fileName());
        QCOMPARE(answerer.fileDialogs()[1].fileMode, QFileDialog::ExistingFile);
        QCOMPARE(answerer.unexpected(), 0);
    }
};

QTEST_MAIN(FileQuestionTest)
#include "test_file_question.moc"
