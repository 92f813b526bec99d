// MSComm as the transfers' serial channel.
#pragma once

#include "mscomm.h"
#include "serial_channel.h"

namespace ravelin {

class MSCommChannel : public SerialChannel {
  public:
    explicit MSCommChannel(MSComm &comm) : comm_(comm) {}
    // Asking the component costs a system call, so a count it gave is used up first: those
    // bytes stay waiting until read.
    int InBufferCount() override {
        if (known_ == 0) known_ = comm_.InBufferCount();
        return known_;
    }
    void DiscardInput() override {
        known_ = 0;
        comm_.setInBufferCount(0);
    }
    uint8_t InputByte() override {
        if (known_ > 0) --known_;
        const QByteArray b = comm_.Input();
        return b.isEmpty() ? 0 : uint8_t(b[0]);
    }
    void Output(const QByteArray &bytes) override { comm_.Output(bytes); }
    void setPortOpen(bool open) override {
        known_ = 0;
        if (comm_.PortOpen() != open) comm_.setPortOpen(open);
    }
    void setSettings(const PortSettings &settings) override { comm_.setSettings(settings); }

  private:
    MSComm &comm_;
    int known_ = 0;
};

} // namespace ravelin
