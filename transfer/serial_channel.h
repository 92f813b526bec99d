// The serial port as the transfers use it. MSCommChannel puts MSComm behind it; tests feed
// byte streams through a fake.
#pragma once

#include "port_settings.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace ravelin {

class SerialChannel {
  public:
    virtual ~SerialChannel() = default;
    virtual int InBufferCount() = 0;
    virtual void DiscardInput() = 0;
    virtual uint8_t InputByte() = 0; // one waiting byte; only called when InBufferCount() > 0
    virtual void Output(const QByteArray &bytes) = 0;
    virtual void setPortOpen(bool open) = 0; // throws CommError when the port cannot be opened
    virtual void setSettings(const PortSettings &settings) = 0; // throws CommError when refused
};

} // namespace ravelin
