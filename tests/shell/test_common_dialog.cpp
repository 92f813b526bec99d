// CommonDialog1: filters, the chosen name, cancel, and what FileName keeps between uses.
#include "common_dialog.h"
#include "modal_answerer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using ravelin::CommonDialog;
using ravelin::DialogCancelled;

class CommonDialogTest : public QObject {
    Q_OBJECT
    QWidget owner;

  private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void filterPairsBecomeNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("raw database, pattern with a trailing space")
            << "Tervane raw database (*.raw)|*.raw |All Files (*.*)|*.*"
            << QStringList{"Tervane raw database (*.raw)", "All Files (*.*)"};
        QTest::newRow("description without the pattern")
            << "System Files|*.sys" << QStringList{"System Files (*.sys)"};
        QTest::newRow("several patterns")
            << "Text|*.txt;*.log" << QStringList{"Text (*.txt *.log)"};
        QTest::newRow("description without a pattern is dropped")
            << "All Files (*.*)|*.*|Lonely" << QStringList{"All Files (*.*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filterPairsBecomeNameFilters() {
        QFETCH(QString, filter);
        QTEST(CommonDialog::nameFilters(filter), "expected");
    }

    void choosingANewFileForTheDump() {
        QTemporaryDir dir;
        CommonDialog dialog(&owner);
        dialog.Filter = "All Files (*.*)|*.*";
        dialog.Flags = CommonDialog::kHideReadOnly;
        dialog.CancelError = true;
        dialog.InitDir = dir.path();
        dialog.FileName = "1436Aug012007";
        ModalAnswerer answerer;
        answerer.chooseFile(dir.filePath("1436Aug012007"));
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath("1436Aug012007")));
        QVERIFY(!QFile::exists(dialog.FileName)); // the dialog creates nothing itself
        QCOMPARE(answerer.fileDialogs().size(), 1);
        const auto &shown = answerer.fileDialogs()[0];
        QCOMPARE(shown.directory, QDir(dir.path()).absolutePath());
        QCOMPARE(shown.nameFilters, QStringList{"All Files (*.*)"});
        QCOMPARE(shown.fileMode, QFileDialog::AnyFile);
        QCOMPARE(shown.proposedFiles.value(0), dir.filePath("1436Aug012007"));
    }

    void cancelThrowsWhenCancelErrorIsSet() {
        CommonDialog dialog(&owner);
        dialog.CancelError = true;
        dialog.FileName = "/data/line7.raw";
        ModalAnswerer answerer;
        answerer.cancelFileDialog();
        QVERIFY_THROWS_EXCEPTION(DialogCancelled, dialog.ShowOpen());
        QCOMPARE(dialog.FileName, QString("/data/line7.raw"));
    }

    void cancelReturnsFalseOtherwise() {
        CommonDialog dialog(&owner);
        dialog.FileName = "/data/line7.raw";
        ModalAnswerer answerer;
        answerer.cancelFileDialog();
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(dialog.FileName, QString("/data/line7.raw"));
        QCOMPARE(answerer.unexpected(), 0);
    }

    void fileNameIsKeptBetweenUses() {
        QTemporaryDir dir;
        QFile existing(dir.filePath("line7.raw"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        CommonDialog dialog(&owner);
        dialog.Filter = "Tervane raw database (*.raw)|*.raw |All Files (*.*)|*.*";
        dialog.Flags = CommonDialog::kHideReadOnly;
        dialog.InitDir = dir.path();
        ModalAnswerer answerer;
        answerer.chooseFile(existing.fileName());
        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.FileName, QDir::toNativeSeparators(existing.fileName()));
        // The next showing proposes the last choice, in its folder.
        answerer.cancelFileDialog();
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(answerer.fileDialogs().size(), 2);
        QCOMPARE(answerer.fileDialogs()[1].proposedFiles.value(0), existing.fileName());
        QCOMPARE(answerer.fileDialogs()[1].fileMode, QFileDialog::ExistingFile);
    }
};

QTEST_MAIN(CommonDialogTest)
#include "test_common_dialog.moc"
