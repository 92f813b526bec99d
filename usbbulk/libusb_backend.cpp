#include "libusb_backend.h"

#include <libusb.h>

namespace usbbulk {

namespace {

constexpr int kInterface = 0;

void putLittleEndian16(uint8_t *at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

// The first device of this vendor in the bus list, with a reference the caller releases.
libusb_device *firstDeviceOf(libusb_context *context, uint16_t vendor,
                             libusb_device_descriptor *descriptor) {
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    libusb_device *found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i) {
        libusb_device_descriptor candidate{};
        if (libusb_get_device_descriptor(list[i], &candidate) == 0 &&
            candidate.idVendor == vendor) {
            found = libusb_ref_device(list[i]);
            *descriptor = candidate;
        }
    }
    if (list) libusb_free_device_list(list, 1);
    return found;
}

} // namespace

void descriptorToBytes(const libusb_device_descriptor &d, uint8_t *bytes) {
    bytes[0] = d.bLength;
    bytes[1] = d.bDescriptorType;
    putLittleEndian16(bytes + 2, d.bcdUSB);
    bytes[4] = d.bDeviceClass;
    bytes[5] = d.bDeviceSubClass;
    bytes[6] = d.bDeviceProtocol;
    bytes[7] = d.bMaxPacketSize0;
    putLittleEndian16(bytes + 8, d.idVendor);
    putLittleEndian16(bytes + 10, d.idProduct);
    putLittleEndian16(bytes + 12, d.bcdDevice);
    bytes[14] = d.iManufacturer;
    bytes[15] = d.iProduct;
    bytes[16] = d.iSerialNumber;
    bytes[17] = d.bNumConfigurations;
}

LibusbBackend::~LibusbBackend() {
    closeDevice();
    if (context_) libusb_exit(context_);
}

bool LibusbBackend::ensureContext() {
    // A failed start (no USB file system, say) is tried again at the next call.
    return context_ || libusb_init(&context_) == 0;
}

bool LibusbBackend::findDevice(uint16_t vendor, uint8_t *descriptor) {
    if (!ensureContext()) return false;
    libusb_device_descriptor found{};
    libusb_device *device = firstDeviceOf(context_, vendor, &found);
    if (!device) return false;
    libusb_unref_device(device);
    descriptorToBytes(found, descriptor);
    return true;
}

OpenResult LibusbBackend::openDevice(uint16_t vendor) {
    if (handle_) return OpenResult::Opened;
    if (!ensureContext()) return OpenResult::Failed;
    libusb_device_descriptor found{};
    libusb_device *device = firstDeviceOf(context_, vendor, &found);
    if (!device) return OpenResult::Failed;
    const int opened = libusb_open(device, &handle_);
    libusb_unref_device(device);
    if (opened != 0) {
        handle_ = nullptr;
        return opened == LIBUSB_ERROR_ACCESS ? OpenResult::NoAccess : OpenResult::Failed;
    }
    // A kernel driver bound to the interface is set aside while we hold it and given back after.
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    const int claimed = libusb_claim_interface(handle_, kInterface);
    if (claimed != 0) {
        closeDevice();
        return claimed == LIBUSB_ERROR_ACCESS ? OpenResult::NoAccess : OpenResult::Failed;
    }
    interfaceClaimed_ = true;
    return OpenResult::Opened;
}

void LibusbBackend::closeDevice() {
    if (!handle_) return;
    if (interfaceClaimed_) libusb_release_interface(handle_, kInterface);
    interfaceClaimed_ = false;
    libusb_close(handle_);
    handle_ = nullptr;
}

bool LibusbBackend::hasBulkEndpoint(uint8_t address) {
    if (!handle_) return false;
    libusb_config_descriptor *config = nullptr;
    if (libusb_get_active_config_descriptor(libusb_get_device(handle_), &config) != 0) return false;
    bool found = false;
    if (config->bNumInterfaces > kInterface) {
        const libusb_interface &interface = config->interface[kInterface];
        for (int a = 0; a < interface.num_altsetting && !found; ++a) {
            const libusb_interface_descriptor &setting = interface.altsetting[a];
            for (int e = 0; e < setting.bNumEndpoints && !found; ++e) {
                const libusb_endpoint_descriptor &endpoint = setting.endpoint[e];
                found = endpoint.bEndpointAddress == address &&
                        (endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) ==
                            LIBUSB_TRANSFER_TYPE_BULK;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

TransferResult LibusbBackend::bulkTransfer(uint8_t address, uint8_t *data, int length,
                                           unsigned timeoutMs) {
    TransferResult result;
    if (!handle_) return result;
    const int status =
        libusb_bulk_transfer(handle_, address, data, length, &result.transferred, timeoutMs);
    if (status == 0)
        result.status = TransferResult::Status::Ok;
    else if (status == LIBUSB_ERROR_TIMEOUT)
        result.status = TransferResult::Status::TimedOut;
    return result;
}

} // namespace usbbulk
