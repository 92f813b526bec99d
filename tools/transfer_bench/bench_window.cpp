// ravelin-bench-window: how long the window's events wait during a USB dump of a full memory
// through the fake library, with and without the live view. The window runs offscreen (unless
// QT_QPA_PLATFORM says otherwise) and START DUMP is pressed as a user would; a 10 ms timer records
// how late each of its ticks comes, from the file dialog's answer until the window is idle again
// (so the live view's last reading, after the dump, is counted too).
// Usage: ravelin-bench-window [MEGABYTES] [--rounds N]   (default 12.5 MB, 5 rounds of each)
#include "bench_support.h"
#include "fake_usb_image.h"
#include "file_question.h"
#include "main_window.h"
#include "settings_sandbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstring>

using namespace ravelin;

namespace {

constexpr int kTickMs = 10;

// Lateness of a kTickMs timer's ticks while recording, in microseconds.
class LatencyProbe {
  public:
    LatencyProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kTickMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 us = std::max<qint64>(0, clock_.nsecsElapsed() / 1000 - kTickMs * 1000);
            if (recording) late.push_back(us);
            if (recording && dumpEnded) endLate = std::max(endLate, us);
            clock_.restart();
        });
        clock_.start();
        timer_.start();
    }
    bool recording = false;
    bool dumpEnded = false;
    std::vector<qint64> late;
    qint64 endLate = 0; // the longest after START DUMP returned: the view's last reading and plot

  private:
    QTimer timer_;
    QElapsedTimer clock_;
};

// Lets the events run for ms milliseconds.
void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Round {
    qint64 dumpNs = 0;
    qint64 endLateUs = 0;
    bool ok = false;
};

// One START DUMP into path, the file dialog answered with it; the probe records from the answer
// until the window has been idle for a few ticks after the click returns.
Round dumpOnce(MainWindow &form, const QString &path, LatencyProbe &probe) {
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        answerer.stop();
        dialog->selectFile(path);
        if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            edit->setText(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection); // protected

        probe.recording = true;
    });
    answerer.start(5);
    QElapsedTimer clock;
    clock.start();
    probe.dumpEnded = false;
    probe.endLate = 0;
    form.findChild<QPushButton *>("STARTDUMP")->click();
    probe.dumpEnded = true;
    Round round{clock.nsecsElapsed(), 0, QFile(path).size() > 0};
    runEvents(5 * kTickMs);
    probe.recording = false;
    round.endLateUs = probe.endLate;
    return round;
}

qint64 percentile(std::vector<qint64> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

void report(const char *mode, const std::vector<Round> &rounds, const std::vector<qint64> &late) {
    std::vector<qint64> ms, end;
    for (const Round &r : rounds) {
        ms.push_back(r.dumpNs / 1000000);
        end.push_back(r.endLateUs);
    }
    std::printf("%s: %zu dumps, START DUMP to idle median %lld ms; %zu ticks, lateness median "
                "%.1f ms, 99th percentile %.1f ms, max %.1f ms (limit 50 ms: %s); after the "
                "dump at most %.1f ms\n",
                mode, rounds.size(), static_cast<long long>(percentile(ms, 0.5)), late.size(),
                double(percentile(late, 0.5)) / 1000, double(percentile(late, 0.99)) / 1000,
                double(percentile(late, 1.0)) / 1000,
                percentile(late, 1.0) <= 50000 ? "met" : "MISSED",
                double(percentile(end, 1.0)) / 1000);
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    double megabytes = 12.5;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            megabytes = std::atof(argv[i]);
    }
    QLibrary fake;
    const QString libraryPath = bench::loadFakeUsb(
        fake, bench::memoryImage(qint64(megabytes * 1000000)), "ravelin-bench-window");
    if (libraryPath.isEmpty()) return 2;

    const SettingsSandbox sandbox; // the user's own settings are left alone
    QTemporaryDir dir;
    MainWindow form;
    form.setProgramEnder([] {});
    form.transfers().setUsbLibraryPath(libraryPath);
    form.findChild<QCheckBox *>("USBInterface")->setChecked(true);
    form.findChild<FileQuestion *>("CommonDialog1")->setNonNative(true);
    form.show();
    runEvents(100);

    LatencyProbe probe;
    std::vector<Round> with, without;
    std::vector<qint64> lateWith, lateWithout;
    bool ok = true;
    // Alternated, so that a change in the machine's load falls on both.
    for (int i = 0; i < 2 * rounds; ++i) {
        const bool live = i % 2 == 1;
        form.transfers().setLiveDump(live ? &form.liveDump() : nullptr);
        probe.late.clear();
        const QString path = dir.filePath(QString("round%1.raw").arg(i));
        const Round round = dumpOnce(form, path, probe);
        ok = ok && round.ok;
        (live ? with : without).push_back(round);
        auto &late = live ? lateWith : lateWithout;
        late.insert(late.end(), probe.late.begin(), probe.late.end());
        QFile::remove(path);
        QFile::remove(dir.filePath(QString("round%1.tvd").arg(i)));
    }
    std::printf("USB dumps of %.1f MB in the window, a %d ms timer's lateness:\n", megabytes,
                kTickMs);
    report("without the live view", without, lateWithout);
    report("with the live view", with, lateWith);
    // The fake library sends a full memory in a fraction of a second, so the plot is drawn only
    // once or twice during a dump; a real instrument's takes seconds, drawn every refresh.
    auto *plot = form.findChild<QWidget *>("LivePlot");
    std::vector<qint64> drawUs;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer clock;
        clock.start();
        plot->repaint();
        drawUs.push_back(clock.nsecsElapsed() / 1000);
    }
    const LiveDump::Snapshot last = form.liveDump().snapshot();
    std::printf("the live plot (%dx%d) of the last line (%zu IP readings) drawn in %.1f ms "
                "(median of 9)\n",
                plot->width(), plot->height(), last.line ? last.line->ip_readings.size() : 0,
                double(percentile(drawUs, 0.5)) / 1000);
    if (!ok) std::printf("A DUMP FAILED\n");
    return ok ? 0 : 1;
}
