// One copy per user: a second start asks the first to come to the front and ends.
#include "init_module.h"
#include "modal_answerer.h"
#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using ravelin::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir runtimeDir;
    QTemporaryDir configDir;

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        env.insert("XDG_CONFIG_HOME", configDir.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }
    void startProgram(QProcess &program) const {
        program.setProcessEnvironment(environment());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(RAVELIN_PROGRAM, {});
        QVERIFY(program.waitForStarted());
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        QCOMPARE(SingleInstance::defaultServerName(),
                 QDir(runtimeDir.path()).filePath("RAVELIN.instance"));
    }

    void secondStartAsksTheFirstToRaiseAndEnds() {
        SingleInstance first;
        QVERIFY(first.becomePrimary());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QProcess second;
        startProgram(second);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 15000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(raised.count(), 1);
    }

    void twoRealCopies() {
        QProcess first;
        startProgram(first);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(SingleInstance::defaultServerName()), 15000);
        QProcess second;
        startProgram(second);
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    void aSocketLeftByADeadCopyIsTakenOver() {
        const QByteArray path = QFile::encodeName(SingleInstance::defaultServerName());
        QFile::remove(QString::fromLocal8Bit(path));
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd); // the file stays, nobody listens
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));
        SingleInstance copy;
        QVERIFY(copy.becomePrimary());
    }

    void noRunningCopyToRaiseIsReported() {
        SingleInstance nobody(QDir(runtimeDir.path()).filePath("nobody-listens"));
        ModalAnswerer answerer;
        answerer.pressButton(QMessageBox::Ok);
        ravelin::showRunningCopy(nobody);
        QCOMPARE(answerer.boxes().size(), 1);
        const auto &box = answerer.boxes()[0];
        QCOMPARE(box.title, QString("RAVELIN  (Tervane Utilities)"));
        QCOMPARE(box.text,
                 QString("Cannot find previous running instance of RAVELIN  (Tervane Utilities)"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
