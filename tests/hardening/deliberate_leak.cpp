// Not a test of RAVELIN: a Qt test program that leaks on purpose, once in a test function and
// once in a slot run by the event loop, both called through Qt. leak_is_reported.cmake runs it
// under the sanitizer build with the project's leak suppressions and requires both leaks to be
// reported, so a suppression that swallows everything called from Qt cannot come back.
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

void *volatile lastAllocation = nullptr;

void leak(int bytes) {
    lastAllocation = new char[bytes];
    lastAllocation = nullptr; // nothing points at it any more
}

class Leaker : public QObject {
    Q_OBJECT
  public:
    void leakInSlot() { leak(300); }
  signals:
    void done();
};

} // namespace

class DeliberateLeak : public QObject {
    Q_OBJECT
  private slots:
    void leaksInTestFunction() { leak(400); }
    void leaksInSlotCalledByTheEventLoop() {
        Leaker leaker;
        QSignalSpy done(&leaker, &Leaker::done);
        QTimer::singleShot(0, &leaker, [&leaker] {
            leaker.leakInSlot();
            emit leaker.done();
        });
        QVERIFY(done.wait(10000));
    }
};

QTEST_GUILESS_MAIN(DeliberateLeak)
#include "deliberate_leak.moc"
