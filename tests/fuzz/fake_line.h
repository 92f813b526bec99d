// A serial line and a sink without a window or an event loop, for driving the transfer state
// machines straight from a fuzz input.
#pragma once

#include "serial_channel.h"
#include "transfer_sink.h"

#include <cstdint>
#include <deque>

namespace ravelin::fuzz {

class LinePort : public SerialChannel {
  public:
    std::deque<std::uint8_t> incoming;
    QByteArray sent;

    int InBufferCount() override { return int(incoming.size()); }
    void DiscardInput() override { incoming.clear(); }
    std::uint8_t InputByte() override {
        const std::uint8_t b = incoming.front();
        incoming.pop_front();
        return b;
    }
    void Output(const QByteArray &bytes) override { sent += bytes; }
    void setPortOpen(bool) override {}
    void setSettings(const PortSettings &) override {}
};

class SilentSink : public TransferSink {
  public:
    void setStatus(const QString &) override {}
    void setDumpProgress(int value, const QString &) override { checkPercent(value); }
    void setUploadProgress(int value, const QString &) override { checkPercent(value); }
    void showMessage(const QString &, const QString &) override {}
    void beep() override {}
    void setDumpButtonEnabled(bool) override {}
    void setUploadButtonEnabled(bool) override {}
    int worstPercent = 0; // the progress shown furthest outside 0-100, as shown

  private:
    void checkPercent(int value) {
        if (value < 0 || value > 100) worstPercent = value;
    }
};

} // namespace ravelin::fuzz
