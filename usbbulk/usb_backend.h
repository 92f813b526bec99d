// The thin seam between the pipe bookkeeping and the USB stack, so the bookkeeping can be
// tested without a device. The real implementation is LibusbBackend.
#pragma once

#include <cstdint>

namespace usbbulk {

inline constexpr int kDescriptorSize = 18;
inline constexpr uint8_t kEndpointIn = 0x80; // direction bit of an endpoint address

enum class OpenResult { Opened, NoAccess, Failed };

struct TransferResult {
    enum class Status { Ok, TimedOut, Failed };
    Status status = Status::Failed;
    int transferred = 0;
};

class UsbBackend {
  public:
    virtual ~UsbBackend() = default;
    // Fills the 18-byte descriptor (as sent on the wire) of the first attached device with this
    // vendor; false when there is none.
    virtual bool findDevice(uint16_t vendor, uint8_t *descriptor) = 0;
    // Opens the first device with this vendor and claims its interface 0. NoAccess: the system
    // refuses this user the device.
    virtual OpenResult openDevice(uint16_t vendor) = 0;
    virtual void closeDevice() = 0;
    // Whether the open device's interface 0 has a bulk endpoint at this address.
    virtual bool hasBulkEndpoint(uint8_t address) = 0;
    virtual TransferResult bulkTransfer(uint8_t address, uint8_t *data, int length,
                                        unsigned timeoutMs) = 0;
};

} // namespace usbbulk
