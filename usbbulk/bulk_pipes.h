// The six usbbulk operations over a UsbBackend: the instrument lookup, a table of small
// integer handles for the open pipes, and the time-outs that keep a pulled cable from hanging
// a transfer. The device is opened with the first pipe and closed with the last. One lock
// serialises every call.
#pragma once

#include "usb_backend.h"
#include "usbbulk.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace usbbulk {

inline constexpr uint16_t kInstrumentVendor = 0x0815;
inline constexpr int kMaxPipes = 16;
inline constexpr unsigned kReadTimeoutMs = 5000;
inline constexpr unsigned kWriteTimeoutMs = 5000;

class BulkPipes {
  public:
    explicit BulkPipes(UsbBackend &backend) : backend_(backend) {}
    ~BulkPipes();
    BulkPipes(const BulkPipes &) = delete;
    BulkPipes &operator=(const BulkPipes &) = delete;

    int16_t getDeviceDescriptor(uint8_t *descriptor);
    int16_t openPipe(const char *pipeName);
    int16_t readPipe(int32_t handle, void *buffer, int32_t requested, int32_t *delivered);
    int16_t writePipe(int32_t handle, const void *buffer, int32_t length, int32_t *written);
    int16_t closePipe(int32_t handle);
    int16_t openFailure(); // one of USBBULK_OPEN_* for the last openPipe
    int16_t readFailure(); // one of USBBULK_READ_* for the last readPipe

  private:
    struct Pipe {
        bool open = false;
        int endpoint = 0;
        bool readable = false; // a bulk IN endpoint n exists
        bool writable = false; // a bulk OUT endpoint n exists
    };
    Pipe *pipeFor(int32_t handle);
    int openPipeCount() const;

    UsbBackend &backend_;
    std::mutex lock_;
    std::array<Pipe, kMaxPipes> pipes_{};
    bool deviceOpen_ = false;
    int16_t openFailure_ = USBBULK_OPEN_OK;
    int16_t readFailure_ = USBBULK_READ_OK;
};

} // namespace usbbulk
