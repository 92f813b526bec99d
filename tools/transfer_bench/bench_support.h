// What the two transfer benchmarks share: their arguments, the memory they dump, a sink that only
// counts, an event pump that records the longest time the window's events would have waited, a
// clock of the dump's own processor time, and the report line.
#pragma once

#include "live_dump.h"
#include "samples.h"
#include "transfer_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/resource.h>

namespace ravelin::bench {

// [MEGABYTES] [--live]: with --live the dump also feeds a live view, as the window's does.
struct Arguments {
    double megabytes;
    bool live = false;

    Arguments(int argc, char **argv, double defaultMegabytes) : megabytes(defaultMegabytes) {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--live") == 0)
                live = true;
            else
                megabytes = QByteArray(argv[i]).toDouble();
        }
    }
    qint64 bytes() const { return qint64(megabytes * 1000000); }
};

// The memory dumped: the start of a full VIREL memory, erased bytes after it, so that a live
// view reads records all the way.
inline QByteArray memoryImage(qint64 size) {
    std::vector<std::uint8_t> raw = sample::build_virel(sample::full_memory_virel_shape());
    raw.resize(std::size_t(size), 0xFF);
    return QByteArray(reinterpret_cast<const char *>(raw.data()), size);
}

// The live view of the dump when asked for; once the dump has ended it prints its counts and how
// long it took to read what was still waiting.
inline std::unique_ptr<LiveDump> attachLive(const Arguments &args, TransferEngine &engine) {
    if (!args.live) return nullptr;
    auto live = std::make_unique<LiveDump>();
    live->prepare();
    engine.setLiveDump(live.get());
    return live;
}

inline void reportLive(LiveDump *live) {
    if (!live) return;
    QElapsedTimer clock;
    clock.start();
    live->finish();
    std::printf("with the live view (%lld ms behind at the end), %s\n",
                static_cast<long long>(clock.elapsed()),
                liveCountLine(live->snapshot(false).counts).c_str());
}

// The wall time, the processor time and the page faults of the calling thread (the one that runs
// the dump) from construction to stop(). On a machine busy with other work the processor time
// varies far less than the wall time: it leaves out the time the thread waited for a processor.
class DumpClock {
  public:
    DumpClock() : start_(threadUsage()) { wall_.start(); }
    void stop() {
        wallNs_ = wall_.nsecsElapsed();
        end_ = threadUsage();
    }
    qint64 wallNs() const { return wallNs_; }
    qint64 cpuNs() const { return end_.cpuNs - start_.cpuNs; }
    long pageFaults() const { return end_.faults - start_.faults; }

  private:
    struct Usage {
        qint64 cpuNs;
        long faults;
    };
    static Usage threadUsage() {
        rusage r{};
        getrusage(RUSAGE_THREAD, &r);
        const auto ns = [](const timeval &t) {
            return qint64(t.tv_sec) * 1000000000 + t.tv_usec * 1000;
        };
        return {ns(r.ru_utime) + ns(r.ru_stime), r.ru_minflt + r.ru_majflt};
    }
    QElapsedTimer wall_;
    Usage start_, end_{};
    qint64 wallNs_ = 0;
};

struct CountingSink : TransferSink {
    QString status;
    int progressCalls = 0;
    void setStatus(const QString &t) override { status = t; }
    void setDumpProgress(int, const QString &) override { ++progressCalls; }
    void setUploadProgress(int, const QString &) override { ++progressCalls; }
    void showMessage(const QString &, const QString &) override {}
    void beep() override {}
    void setDumpButtonEnabled(bool) override {}
    void setUploadButtonEnabled(bool) override {}
};

// Wraps the engine's event pump; longestGapMs is the longest stretch without a pump while the
// engine was not itself waiting for events.
class PumpWatch {
  public:
    void attach(TransferEngine &engine) {
        clock_.start();
        engine.setEventPump([this](bool wait) {
            longestGapMs = std::max(longestGapMs, clock_.elapsed());
            ++pumps;
            QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents
                                                 : QEventLoop::AllEvents);
            clock_.restart();
        });
    }
    qint64 longestGapMs = 0;
    qint64 pumps = 0;

  private:
    QElapsedTimer clock_;
};

inline int report(const char *what, qint64 bytes, const DumpClock &clock, double targetMBps,
                  const PumpWatch &watch, bool ok) {
    const qint64 wallNs = clock.wallNs(), cpuNs = clock.cpuNs();
    const double seconds = double(wallNs) / 1e9;
    const double mbps = double(bytes) / 1e6 / seconds;
    std::printf(
        "%s: %lld bytes in %.3f s (dump thread: processor %.3f s, %ld page faults) = %.2f MB/s "
        "(target %.0f MB/s: %s); %lld event pumps, longest gap %lld ms (limit 50 ms: %s)%s\n",
        what, static_cast<long long>(bytes), seconds, double(cpuNs) / 1e9, clock.pageFaults(), mbps,
        targetMBps, mbps >= targetMBps ? "met" : "MISSED", static_cast<long long>(watch.pumps),
        static_cast<long long>(watch.longestGapMs), watch.longestGapMs <= 50 ? "met" : "MISSED",
        ok ? "" : "; TRANSFER FAILED");
    return ok ? 0 : 1;
}

} // namespace ravelin::bench
