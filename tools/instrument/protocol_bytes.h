// The single bytes of the serial handshakes.
#pragma once

#include <cstdint>

namespace instrument {

inline constexpr uint8_t kReady = 0x06;     // PC: ready / accepted, go on
inline constexpr uint8_t kSendAgain = 0x0F; // either side: send that again
inline constexpr uint8_t kNextLine = 0x11;  // instrument: send the next system line

} // namespace instrument
