// MSComm as the transfers' serial channel.
#pragma once

#include "mscomm.h"
#include "serial_channel.h"

namespace ravelin {

class MSCommChannel : public SerialChannel {
  public:
    explicit MSCommChannel(MSComm &comm) : comm_(comm) {}
    int InBufferCount() override { return comm_.InBufferCount(); }
    void DiscardInput() override { comm_.setInBufferCount(0); }
    uint8_t InputByte() override {
        const QByteArray b = comm_.Input();
        return b.isEmpty() ? 0 : uint8_t(b[0]);
    }
    void Output(const QByteArray &bytes) override { comm_.Output(bytes); }
    void setPortOpen(bool open) override {
        if (comm_.PortOpen() != open) comm_.setPortOpen(open);
    }
    QString Settings() override { return comm_.Settings(); }
    void setSettings(const QString &settings) override { comm_.setSettings(settings); }

  private:
    MSComm &comm_;
};

} // namespace ravelin
