// The decoder binding: found by name in its folders in order, missing library or entry described
// with what was looked for and where, and the keep flag passed through on every call.
#include "dumpdec_binding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using ravelin::DecoderOutcome;
using ravelin::DumpdecBinding;

class BindingTest : public QObject {
    Q_OBJECT

    static QString standinFolder(const char *variant) {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(variant);
    }

  private slots:
    void missingLibraryNamesLibraryAndEveryFolder() {
        QTemporaryDir first, second;
        DumpdecBinding binding({first.path(), second.path()});
        std::int16_t keep = 1;
        const DecoderOutcome outcome = binding.convert(first.filePath("a.raw"), &keep);
        QCOMPARE(outcome.kind, DecoderOutcome::Kind::NotBound);
        QCOMPARE(outcome.failure,
                 QStringLiteral("Decoder library libdumpdec.so not found in %1, %2")
                     .arg(first.path(), second.path()));
    }

    // The first library found is the one bound, even when it lacks the entry.
    void missingEntryNamesEntryAndLibraryFile() {
        DumpdecBinding binding(
            {standinFolder("standin_noentry"), standinFolder("standin_dumpdec")});
        std::int16_t keep = 0;
        const DecoderOutcome outcome = binding.convert(QStringLiteral("/nonexistent/a.raw"), &keep);
        QCOMPARE(outcome.kind, DecoderOutcome::Kind::NotBound);
        QCOMPARE(outcome.failure,
                 QStringLiteral("Decoder entry dumpdec_main not found in %1/libdumpdec.so")
                     .arg(standinFolder("standin_noentry")));
    }

    void laterFolderUsedAndKeepFlagPassedOnEveryCall() {
        QTemporaryDir empty, data;
        DumpdecBinding binding({empty.path(), standinFolder("standin_dumpdec")});
        const QString raw = data.filePath("line7.raw");
        std::int16_t keep = 0;
        QCOMPARE(binding.convert(raw, &keep).kind, DecoderOutcome::Kind::Failed);
        keep = 1;
        const DecoderOutcome second = binding.convert(raw, &keep);
        QCOMPARE(second.kind, DecoderOutcome::Kind::Converted);
        QVERIFY(second.failure.isEmpty());
        QFile calls(data.filePath("line7.calls"));
        QVERIFY(calls.open(QIODevice::ReadOnly));
        QCOMPARE(calls.readAll(), QByteArray("keep=0\nkeep=1\n"));
    }

    void defaultFoldersBeginBesideTheProgram() {
        const QStringList folders = DumpdecBinding::defaultFolders();
        QCOMPARE(folders.size(), 2);
        QCOMPARE(folders.first(), QCoreApplication::applicationDirPath());
        // Where the package puts the libraries, relative to /usr/bin.
        QCOMPARE(folders.last(),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../lib/ravelin"));
    }
};

QTEST_GUILESS_MAIN(BindingTest)
#include "binding_test.moc"
