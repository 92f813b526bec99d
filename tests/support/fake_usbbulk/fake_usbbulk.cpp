// The in-memory USB instrument behind libfake_usbbulk.so; behaviour documented in
// fake_usbbulk.h.
#include "fake_usbbulk.h"

#include "dump_length.h"
#include "usbbulk.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kPacketSize = 64;
constexpr int kMaxHandles = 16;
constexpr int kSettingCount = 14;
constexpr int kCounterCount = 7;
constexpr std::chrono::milliseconds kReadTimeout{5000}; // as libusbbulk's

using Clock = std::chrono::steady_clock;

enum class PipeKind { Closed, Dump, Upload };

struct Instrument {
    bool attached = true;
    uint16_t vendor = 0x0815;
    uint16_t product = 0x1A2D;
    int64_t descriptorFailures = 0;
    std::optional<int32_t> announcedLength;
    int firstReadLength = kPacketSize;
    bool openFails = false;
    bool noAccess = false;
    int16_t openFailure = USBBULK_OPEN_OK;
    int64_t readFailsAfter = -1;
    int64_t writeFailsAfter = -1;
    int64_t stallAfterPacket = -1;
    int64_t stallMs = 0;
    int stallPartSent = 0;
    int64_t startDelayMs = 0;

    std::vector<uint8_t> image;
    std::string uploadSinkPath;
    std::vector<std::vector<uint8_t>> written;
    std::array<int64_t, kCounterCount> counters{};

    std::array<PipeKind, kMaxHandles> pipes{};
    int64_t dumpPacketsRead = 0; // packets delivered since "PIPE3" was last opened
    int64_t dumpReadsSucceeded = 0;
    int16_t readFailure = USBBULK_READ_OK;
    // The instrument sends nothing before this, except the part of a packet sent before a stall.
    Clock::time_point quietUntil;
    bool stalled = false; // this dump's stall has begun
    int partSent = 0;     // bytes of the next packet sent before the stall
    int packetOffset = 0; // bytes of the next packet a timed-out read delivered
};

std::mutex gLock;
// Created at first use, never at load time; freed when the library is unloaded.
std::unique_ptr<Instrument> gInstrument;

void applySetting(Instrument &s, int setting, int64_t value) {
    switch (setting) {
    case FAKE_USBBULK_ATTACHED:
        s.attached = value != 0;
        break;
    case FAKE_USBBULK_VENDOR:
        s.vendor = static_cast<uint16_t>(value);
        break;
    case FAKE_USBBULK_PRODUCT:
        s.product = static_cast<uint16_t>(value);
        break;
    case FAKE_USBBULK_DESCRIPTOR_FAILURES:
        s.descriptorFailures = value;
        break;
    case FAKE_USBBULK_ANNOUNCED_LENGTH:
        s.announcedLength = static_cast<int32_t>(value);
        break;
    case FAKE_USBBULK_FIRST_READ_LENGTH:
        s.firstReadLength = static_cast<int>(std::clamp<int64_t>(value, 0, kPacketSize));
        break;
    case FAKE_USBBULK_OPEN_FAILS:
        s.openFails = value != 0;
        break;
    case FAKE_USBBULK_READ_FAILS_AFTER:
        s.readFailsAfter = value;
        break;
    case FAKE_USBBULK_WRITE_FAILS_AFTER:
        s.writeFailsAfter = value;
        break;
    case FAKE_USBBULK_NO_ACCESS:
        s.noAccess = value != 0;
        break;
    case FAKE_USBBULK_STALL_AFTER_PACKET:
        s.stallAfterPacket = value;
        break;
    case FAKE_USBBULK_STALL_MS:
        s.stallMs = std::max<int64_t>(value, 0);
        break;
    case FAKE_USBBULK_STALL_PART_SENT:
        s.stallPartSent = static_cast<int>(std::clamp<int64_t>(value, 0, kPacketSize - 1));
        break;
    case FAKE_USBBULK_START_DELAY_MS:
        s.startDelayMs = std::max<int64_t>(value, 0);
        break;
    }
}

const char *const kSettingNames[kSettingCount] = {
    "FAKE_USBBULK_ATTACHED",
    "FAKE_USBBULK_VENDOR",
    "FAKE_USBBULK_PRODUCT",
    "FAKE_USBBULK_DESCRIPTOR_FAILURES",
    "FAKE_USBBULK_ANNOUNCED_LENGTH",
    "FAKE_USBBULK_FIRST_READ_LENGTH",
    "FAKE_USBBULK_OPEN_FAILS",
    "FAKE_USBBULK_READ_FAILS_AFTER",
    "FAKE_USBBULK_WRITE_FAILS_AFTER",
    "FAKE_USBBULK_NO_ACCESS",
    "FAKE_USBBULK_STALL_AFTER_PACKET",
    "FAKE_USBBULK_STALL_MS",
    "FAKE_USBBULK_STALL_PART_SENT",
    "FAKE_USBBULK_START_DELAY_MS",
};

void applyEnvironment(Instrument &s) {
    for (int setting = 0; setting < kSettingCount; ++setting) {
        if (const char *text = std::getenv(kSettingNames[setting]))
            applySetting(s, setting, std::strtoll(text, nullptr, 0));
    }
    if (const char *path = std::getenv("FAKE_USBBULK_IMAGE")) {
        std::ifstream in(path, std::ios::binary);
        s.image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (const char *path = std::getenv("FAKE_USBBULK_UPLOAD_SINK")) s.uploadSinkPath = path;
}

// Caller holds gLock.
Instrument &instrument() {
    if (!gInstrument) {
        gInstrument = std::make_unique<Instrument>();
        applyEnvironment(*gInstrument);
    }
    return *gInstrument;
}

void putLittleEndian16(uint8_t *at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

PipeKind *pipeFor(Instrument &s, int32_t handle) {
    if (handle < 0 || handle >= kMaxHandles || s.pipes[handle] == PipeKind::Closed) return nullptr;
    return &s.pipes[handle];
}

// The bytes of the next dump packet, including any a timed-out read already delivered.
std::vector<uint8_t> nextDumpPacket(const Instrument &s) {
    if (s.dumpPacketsRead == 0) {
        std::vector<uint8_t> first(kPacketSize, 0);
        const int32_t announced = s.announcedLength.value_or(
            static_cast<int32_t>(std::min<size_t>(s.image.size(), INT32_MAX)));
        usbbulk::encodeDumpLength(announced, first.data());
        first.resize(s.firstReadLength);
        return first;
    }
    const size_t begin = std::min(size_t(s.dumpPacketsRead - 1) * kPacketSize, s.image.size());
    const size_t end = std::min(begin + kPacketSize, s.image.size());
    return {s.image.begin() + begin, s.image.begin() + end};
}

} // namespace

FAKE_EXPORT void fake_usbbulk_reset(void) {
    std::lock_guard lock(gLock);
    gInstrument.reset();
    instrument();
}

FAKE_EXPORT int fake_usbbulk_set(int setting, int64_t value) {
    if (setting < 0 || setting >= kSettingCount) return -1;
    std::lock_guard lock(gLock);
    applySetting(instrument(), setting, value);
    return 0;
}

FAKE_EXPORT int fake_usbbulk_set_image(const uint8_t *image, int64_t length) {
    if (length < 0 || (!image && length > 0)) return -1;
    std::lock_guard lock(gLock);
    instrument().image.assign(image, image + length);
    return 0;
}

FAKE_EXPORT int64_t fake_usbbulk_count(int counter) {
    if (counter < 0 || counter >= kCounterCount) return -1;
    std::lock_guard lock(gLock);
    return instrument().counters[counter];
}

FAKE_EXPORT int32_t fake_usbbulk_written_packet_count(void) {
    std::lock_guard lock(gLock);
    return static_cast<int32_t>(instrument().written.size());
}

FAKE_EXPORT int32_t fake_usbbulk_written_packet(int32_t index, uint8_t *out, int32_t capacity) {
    std::lock_guard lock(gLock);
    const auto &written = instrument().written;
    if (index < 0 || size_t(index) >= written.size()) return -1;
    const auto &packet = written[index];
    if (out && capacity > 0)
        std::copy_n(packet.begin(), std::min<size_t>(packet.size(), capacity), out);
    return static_cast<int32_t>(packet.size());
}

FAKE_EXPORT int16_t dll_getDeviceDescriptor(uint8_t *descriptor) {
    std::lock_guard lock(gLock);
    Instrument &s = instrument();
    ++s.counters[FAKE_USBBULK_DESCRIPTOR_CALLS];
    if (!descriptor || !s.attached) return 0;
    if (s.descriptorFailures > 0) {
        --s.descriptorFailures;
        return 0;
    }
    const uint8_t fixed[18] = {18, 1, 0x00, 0x02, 0xFF, 0, 0, kPacketSize, 0,
                               0,  0, 0,    0x00, 0x01, 1, 2, 3,           1};
    std::memcpy(descriptor, fixed, sizeof fixed);
    putLittleEndian16(descriptor + 8, s.vendor);
    putLittleEndian16(descriptor + 10, s.product);
    return 1;
}

FAKE_EXPORT int16_t dll_openUsbPipe(const char *pipe_name) {
    std::lock_guard lock(gLock);
    Instrument &s = instrument();
    ++s.counters[FAKE_USBBULK_OPEN_CALLS];
    s.openFailure = s.noAccess ? USBBULK_OPEN_NO_ACCESS : USBBULK_OPEN_FAILED;
    if (!pipe_name || !s.attached || s.openFails || s.noAccess) return -1;
    PipeKind kind;
    if (std::strcmp(pipe_name, "PIPE3") == 0)
        kind = PipeKind::Dump;
    else if (std::strcmp(pipe_name, "PIPE2") == 0)
        kind = PipeKind::Upload;
    else
        return -1;
    for (int handle = 0; handle < kMaxHandles; ++handle) {
        if (s.pipes[handle] != PipeKind::Closed) continue;
        s.pipes[handle] = kind;
        if (kind == PipeKind::Dump) {
            s.dumpPacketsRead = 0;
            s.dumpReadsSucceeded = 0;
            s.quietUntil = Clock::now() + std::chrono::milliseconds(s.startDelayMs);
            s.stalled = false;
            s.partSent = 0;
            s.packetOffset = 0;
        }
        ++s.counters[FAKE_USBBULK_OPEN_PIPES];
        s.openFailure = USBBULK_OPEN_OK;
        return static_cast<int16_t>(handle);
    }
    return -1;
}

FAKE_EXPORT int16_t dll_readPipe(int32_t handle, void *buffer, int32_t requested,
                                 int32_t *delivered) {
    std::lock_guard lock(gLock);
    Instrument &s = instrument();
    ++s.counters[FAKE_USBBULK_READ_CALLS];
    if (delivered) *delivered = 0;
    s.readFailure = USBBULK_READ_FAILED;
    PipeKind *pipe = pipeFor(s, handle);
    if (!pipe || *pipe != PipeKind::Dump || !buffer || !delivered || requested < 0) return 0;
    if (s.readFailsAfter >= 0 && s.dumpReadsSucceeded >= s.readFailsAfter) return 0;
    const std::vector<uint8_t> packet = nextDumpPacket(s);
    if (packet.size() - size_t(s.packetOffset) > size_t(requested)) return 0;

    const Clock::time_point start = Clock::now();
    if (!s.stalled && s.stallAfterPacket >= 0 && s.dumpPacketsRead == s.stallAfterPacket) {
        s.stalled = true;
        s.quietUntil = std::max(s.quietUntil, start) + std::chrono::milliseconds(s.stallMs);
        s.partSent = std::min<int>(s.stallPartSent, static_cast<int>(packet.size()));
    }
    auto *out = static_cast<uint8_t *>(buffer);
    const Clock::time_point deadline = start + kReadTimeout;
    if (s.quietUntil > deadline) {
        // Timed out: only what the instrument sent before it went quiet arrives.
        std::this_thread::sleep_until(deadline);
        s.readFailure = USBBULK_READ_TIMED_OUT;
        const int part = s.partSent - s.packetOffset;
        if (part <= 0) return 0;
        std::copy_n(packet.begin() + s.packetOffset, part, out);
        *delivered = part;
        s.packetOffset += part;
        ++s.dumpReadsSucceeded;
        return 1;
    }
    std::this_thread::sleep_until(s.quietUntil);
    std::copy(packet.begin() + s.packetOffset, packet.end(), out);
    *delivered = static_cast<int32_t>(packet.size()) - s.packetOffset;
    s.packetOffset = 0;
    s.partSent = 0;
    s.readFailure = USBBULK_READ_OK;
    ++s.dumpPacketsRead;
    ++s.dumpReadsSucceeded;
    return 1;
}

FAKE_EXPORT int16_t dll_getReadFailure(void) {
    std::lock_guard lock(gLock);
    return instrument().readFailure;
}

FAKE_EXPORT int32_t dll_Get_Long(const uint8_t *first_packet) {
    std::lock_guard lock(gLock);
    ++instrument().counters[FAKE_USBBULK_GET_LONG_CALLS];
    return first_packet ? usbbulk::decodeDumpLength(first_packet) : 0;
}

FAKE_EXPORT int16_t dll_writePipe(int32_t handle, const void *buffer, int32_t length,
                                  int32_t *written) {
    std::lock_guard lock(gLock);
    Instrument &s = instrument();
    ++s.counters[FAKE_USBBULK_WRITE_CALLS];
    if (written) *written = 0;
    PipeKind *pipe = pipeFor(s, handle);
    if (!pipe || *pipe != PipeKind::Upload || !written || length < 0 || (!buffer && length > 0))
        return 0;
    if (s.writeFailsAfter >= 0 && int64_t(s.written.size()) >= s.writeFailsAfter) return 0;
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    s.written.emplace_back(bytes, bytes + length);
    if (!s.uploadSinkPath.empty() && length > 0) {
        if (std::FILE *sink = std::fopen(s.uploadSinkPath.c_str(), "ab")) {
            std::fwrite(bytes, 1, size_t(length), sink);
            std::fclose(sink);
        }
    }
    *written = length;
    return 1;
}

FAKE_EXPORT int16_t dll_closeUsbPipe(int32_t handle) {
    std::lock_guard lock(gLock);
    Instrument &s = instrument();
    ++s.counters[FAKE_USBBULK_CLOSE_CALLS];
    PipeKind *pipe = pipeFor(s, handle);
    if (!pipe) return 0;
    *pipe = PipeKind::Closed;
    --s.counters[FAKE_USBBULK_OPEN_PIPES];
    return 1;
}

FAKE_EXPORT int16_t dll_getOpenFailure(void) {
    std::lock_guard lock(gLock);
    return instrument().openFailure;
}
