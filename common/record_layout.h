// The record layout of a RAVELIN raw database, written down once: the Record IDs and the link
// fields through which the converted database ties surveys to their lines and lines to their
// first data (the other fields of each kind: records/).
//
// Every record starts with a 4-byte header, the 16-bit Record ID and the 16-bit Record length
// (the length counts the header); offsets below count from the first byte of the Record ID.
// Header-only: the record readers, the decoder and the test databases' builders use it.
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
// Not a record: erased memory, where the data ends.
inline constexpr std::uint16_t kEndOfData = 0xFFFF;

} // namespace record_id

// Bytes of the Record ID and Record length that open every record.
inline constexpr std::size_t kRecordHeaderSize = 4;

// A link field holds the offset of another record in the converted database; this value in the
// raw database says there is none (an empty line header's First Data, a last line's Next).
inline constexpr std::uint32_t kNoLink = 0xFFFFFFFF;

// Offsets of the 32-bit link fields.
namespace link_field {

inline constexpr std::size_t kSurveyNextSurvey = 168;
inline constexpr std::size_t kSurveyFirstLine = 172;
inline constexpr std::size_t kProfileFirstData = 20;
inline constexpr std::size_t kProfileNextProfile = 24;
inline constexpr std::size_t kSoundingFirstData = 36;
inline constexpr std::size_t kSoundingNextSounding = 44;
inline constexpr std::size_t kBoreHoleNextBoreHole = 48;
inline constexpr std::size_t kBoreHoleFirstData = 52;

} // namespace link_field

// The two links of a line header (profile, sounding or bore hole header).
struct LineHeaderLinks {
    std::size_t next_line;
    std::size_t first_data;
};

// Where a line header's links are; next_line == first_data == 0 for any other Record ID.
constexpr LineHeaderLinks line_header_links(std::uint16_t id) {
    switch (id) {
    case record_id::kProfileHeader:
        return {link_field::kProfileNextProfile, link_field::kProfileFirstData};
    case record_id::kSoundingHeader:
        return {link_field::kSoundingNextSounding, link_field::kSoundingFirstData};
    case record_id::kBoreHoleHeader:
        return {link_field::kBoreHoleNextBoreHole, link_field::kBoreHoleFirstData};
    default:
        return {0, 0};
    }
}

} // namespace ravelin
