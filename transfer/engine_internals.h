// What the transfer engine's files share: USB identities, limits and how a failure is worded.
#pragma once

#include "comm_error.h"

#include <QString>
#include <array>
#include <cstdint>
#include <exception>

namespace ravelin::engine {

inline const char *const kUsbFailure =
    "ERROR ----> USB DEVICE NOT DETECTED, connect again and restart";
inline const char *const kUsbNoAccess = "no access to the USB instrument: install the RAVELIN "
                                        "package or its udev rule, then plug it in again";
inline constexpr uint16_t kVendor = 0x0815;
inline constexpr uint16_t kProductKx4 = 0x1A2D;
inline constexpr uint16_t kProductVirel = 0x0DDE;
inline constexpr int kDescriptorAttempts = 11;
inline constexpr int32_t kUsbReadSize = 64; // bytes asked of every dump read
inline constexpr int32_t kUnknownDumpTotal = 1000000;
inline constexpr int32_t kLargestDumpTotal = 12500000;
inline constexpr int kLastLineGraceMs = 1000; // an upload's last line may be asked for again

// A standard USB device descriptor; idVendor and idProduct are little-endian at offsets 8 and 10.
using DeviceDescriptor = std::array<uint8_t, 18>;
inline uint16_t descriptorVendor(const DeviceDescriptor &d) {
    return uint16_t(d[8] | (d[9] << 8));
}
inline uint16_t descriptorProduct(const DeviceDescriptor &d) {
    return uint16_t(d[10] | (d[11] << 8));
}

// The operator's description of a failure thrown by the port.
inline QString describe(const std::exception &e) {
    if (auto *comm = dynamic_cast<const CommError *>(&e)) return comm->description();
    return QString::fromUtf8(e.what());
}

} // namespace ravelin::engine
