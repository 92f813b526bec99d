// What the two transfer benchmarks share: a sink that only counts, an event pump that records
// the longest time the window's events would have waited, and the report line.
#pragma once

#include "transfer_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace ravelin::bench {

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

inline int report(const char *what, qint64 bytes, qint64 nanoseconds, double targetMBps,
                  const PumpWatch &watch, bool ok) {
    const double seconds = double(nanoseconds) / 1e9;
    const double mbps = double(bytes) / 1e6 / seconds;
    std::printf("%s: %lld bytes in %.3f s = %.2f MB/s (target %.0f MB/s: %s); %lld event "
                "pumps, longest gap %lld ms (limit 50 ms: %s)%s\n",
                what, static_cast<long long>(bytes), seconds, mbps, targetMBps,
                mbps >= targetMBps ? "met" : "MISSED", static_cast<long long>(watch.pumps),
                static_cast<long long>(watch.longestGapMs),
                watch.longestGapMs <= 50 ? "met" : "MISSED", ok ? "" : "; TRANSFER FAILED");
    return ok ? 0 : 1;
}

} // namespace ravelin::bench
