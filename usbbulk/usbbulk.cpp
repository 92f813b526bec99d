// The exported C operations of libusbbulk.so: the six transfer operations and the reasons of a
// failed open and of a failed or short read; nothing else leaves the library.
#include "usbbulk.h"

#include "bulk_pipes.h"
#include "dump_length.h"
#include "libusb_backend.h"

#define USBBULK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Built at the first call, so loading the library does no work.
usbbulk::BulkPipes &pipes() {
    static usbbulk::LibusbBackend backend;
    static usbbulk::BulkPipes instance(backend);
    return instance;
}

} // namespace

USBBULK_EXPORT int16_t dll_getDeviceDescriptor(uint8_t *descriptor) {
    return pipes().getDeviceDescriptor(descriptor);
}

USBBULK_EXPORT int16_t dll_openUsbPipe(const char *pipe_name) {
    return pipes().openPipe(pipe_name);
}

USBBULK_EXPORT int16_t dll_readPipe(int32_t handle, void *buffer, int32_t requested,
                                    int32_t *delivered) {
    return pipes().readPipe(handle, buffer, requested, delivered);
}

// The count sits at the start of the first packet: see dump_length.h.
USBBULK_EXPORT int32_t dll_Get_Long(const uint8_t *first_packet) {
    return first_packet ? usbbulk::decodeDumpLength(first_packet) : 0;
}

USBBULK_EXPORT int16_t dll_writePipe(int32_t handle, const void *buffer, int32_t length,
                                     int32_t *written) {
    return pipes().writePipe(handle, buffer, length, written);
}

USBBULK_EXPORT int16_t dll_closeUsbPipe(int32_t handle) {
    return pipes().closePipe(handle);
}

USBBULK_EXPORT int16_t dll_getOpenFailure(void) {
    return pipes().openFailure();
}

USBBULK_EXPORT int16_t dll_getReadFailure(void) {
    return pipes().readFailure();
}
