// Record IDs and array codes the survey model reads, under the names the shared record layout
// gives them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ravelin {

namespace record_id {

inline constexpr std::uint16_t kNote = 0x0001;
inline constexpr std::uint16_t kIprStandard = 0x0100;
inline constexpr std::uint16_t kIprUser = 0x0101;
inline constexpr std::uint16_t kBoreHoleResData = 0x0102;
inline constexpr std::uint16_t kBoreHoleSpData = 0x0103;
inline constexpr std::uint16_t kBoreHoleFluidData = 0x0104;
inline constexpr std::uint16_t kKx4Data = 0x0800;
inline constexpr std::uint16_t kProfileHeader = 0x1002;
inline constexpr std::uint16_t kSurveyHeader = 0x1004;
inline constexpr std::uint16_t kFileHeader = 0x1008;
inline constexpr std::uint16_t kBoreHoleHeader = 0x1010;
inline constexpr std::uint16_t kSoundingHeader = 0x1100;
inline constexpr std::uint16_t kIpi = 0x3100;
inline constexpr std::uint16_t kArray = 0x4100;
inline constexpr std::uint16_t kKx4Parameter = 0x4800;
inline constexpr std::uint16_t kEndOfData = 0xFFFF;

} // namespace record_id

inline constexpr std::size_t kRecordHeaderSize = 4;
inline constexpr std::uint32_t kNoLink = 0xFFFFFFFF;

namespace array_code {

inline constexpr std::uint16_t kDipoleDipole = 0x00;
inline constexpr std::uint16_t kPoleDipole = 0x08;
inline constexpr std::uint16_t kPolePole = 0x0C;
inline constexpr std::uint16_t kSchlumberger = 0x10;
inline constexpr std::uint16_t kWenner = 0x11;
inline constexpr std::uint16_t kLateralDipoleDipole = 0x20;
inline constexpr std::uint16_t kLateralPolePole = 0x2C;
inline constexpr std::uint16_t kGradient = 0x40;
inline constexpr std::uint16_t kOffsetWenner = 0x91;

} // namespace array_code

} // namespace ravelin
