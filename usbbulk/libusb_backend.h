// UsbBackend on libusb-1.0. The library context is created at first use, never at load time.
#pragma once

#include "usb_backend.h"

struct libusb_context;
struct libusb_device_handle;
struct libusb_device_descriptor;

namespace usbbulk {

// The descriptor as it travels on the wire: multi-byte fields little-endian.
void descriptorToBytes(const libusb_device_descriptor &descriptor, uint8_t *bytes);

class LibusbBackend final : public UsbBackend {
  public:
    LibusbBackend() = default;
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend &) = delete;
    LibusbBackend &operator=(const LibusbBackend &) = delete;

    bool findDevice(uint16_t vendor, uint8_t *descriptor) override;
    OpenResult openDevice(uint16_t vendor) override;
    void closeDevice() override;
    bool hasBulkEndpoint(uint8_t address) override;
    TransferResult bulkTransfer(uint8_t address, uint8_t *data, int length,
                                unsigned timeoutMs) override;

  private:
    bool ensureContext();

    libusb_context *context_ = nullptr;
    libusb_device_handle *handle_ = nullptr;
    bool interfaceClaimed_ = false;
};

} // namespace usbbulk
