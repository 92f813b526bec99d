#include "bulk_pipes.h"

#include "pipe_name.h"

namespace usbbulk {

BulkPipes::~BulkPipes() {
    if (deviceOpen_) backend_.closeDevice();
}

BulkPipes::Pipe *BulkPipes::pipeFor(int32_t handle) {
    if (handle < 0 || handle >= kMaxPipes || !pipes_[handle].open) return nullptr;
    return &pipes_[handle];
}

int BulkPipes::openPipeCount() const {
    int count = 0;
    for (const Pipe &pipe : pipes_)
        count += pipe.open ? 1 : 0;
    return count;
}

int16_t BulkPipes::getDeviceDescriptor(uint8_t *descriptor) {
    if (!descriptor) return 0;
    std::lock_guard guard(lock_);
    return backend_.findDevice(kInstrumentVendor, descriptor) ? 1 : 0;
}

int16_t BulkPipes::openPipe(const char *pipeName) {
    std::lock_guard guard(lock_);
    openFailure_ = USBBULK_OPEN_FAILED;
    const std::optional<int> endpoint = parsePipeName(pipeName);
    if (!endpoint) return -1;
    int free = -1;
    for (int handle = 0; handle < kMaxPipes && free < 0; ++handle)
        free = pipes_[handle].open ? -1 : handle;
    if (free < 0) return -1;
    if (!deviceOpen_) {
        const OpenResult opened = backend_.openDevice(kInstrumentVendor);
        if (opened == OpenResult::NoAccess) openFailure_ = USBBULK_OPEN_NO_ACCESS;
        if (opened != OpenResult::Opened) return -1;
        deviceOpen_ = true;
    }
    const auto address = static_cast<uint8_t>(*endpoint);
    const bool readable = backend_.hasBulkEndpoint(address | kEndpointIn);
    const bool writable = backend_.hasBulkEndpoint(address);
    if (!readable && !writable) {
        if (openPipeCount() == 0) {
            backend_.closeDevice();
            deviceOpen_ = false;
        }
        return -1;
    }
    pipes_[free] = Pipe{true, *endpoint, readable, writable};
    openFailure_ = USBBULK_OPEN_OK;
    return static_cast<int16_t>(free);
}

int16_t BulkPipes::readPipe(int32_t handle, void *buffer, int32_t requested, int32_t *delivered) {
    if (delivered) *delivered = 0;
    std::lock_guard guard(lock_);
    readFailure_ = USBBULK_READ_FAILED;
    if (!buffer || !delivered || requested < 0) return 0;
    const Pipe *pipe = pipeFor(handle);
    if (!pipe || !pipe->readable) return 0;
    const TransferResult result =
        backend_.bulkTransfer(static_cast<uint8_t>(pipe->endpoint | kEndpointIn),
                              static_cast<uint8_t *>(buffer), requested, kReadTimeoutMs);
    // A read that timed out after some bytes delivers them with a short count; only
    // readFailure() tells it from the instrument's own short last packet.
    const bool ok = result.status == TransferResult::Status::Ok;
    const bool timedOut = result.status == TransferResult::Status::TimedOut;
    readFailure_ = ok ? USBBULK_READ_OK : timedOut ? USBBULK_READ_TIMED_OUT : USBBULK_READ_FAILED;
    if (!ok && !(timedOut && result.transferred > 0)) return 0;
    *delivered = result.transferred;
    return 1;
}

int16_t BulkPipes::writePipe(int32_t handle, const void *buffer, int32_t length, int32_t *written) {
    if (written) *written = 0;
    if (!buffer || !written || length < 0) return 0;
    std::lock_guard guard(lock_);
    const Pipe *pipe = pipeFor(handle);
    if (!pipe || !pipe->writable) return 0;
    // The backend takes a mutable buffer; an OUT transfer only reads it.
    auto *bytes = const_cast<uint8_t *>(static_cast<const uint8_t *>(buffer));
    const TransferResult result =
        backend_.bulkTransfer(static_cast<uint8_t>(pipe->endpoint), bytes, length, kWriteTimeoutMs);
    *written = result.transferred;
    return result.status == TransferResult::Status::Ok && result.transferred == length ? 1 : 0;
}

int16_t BulkPipes::openFailure() {
    std::lock_guard guard(lock_);
    return openFailure_;
}

int16_t BulkPipes::readFailure() {
    std::lock_guard guard(lock_);
    return readFailure_;
}

int16_t BulkPipes::closePipe(int32_t handle) {
    std::lock_guard guard(lock_);
    Pipe *pipe = pipeFor(handle);
    if (!pipe) return 0;
    *pipe = Pipe{};
    if (openPipeCount() == 0 && deviceOpen_) {
        backend_.closeDevice();
        deviceOpen_ = false;
    }
    return 1;
}

} // namespace usbbulk
