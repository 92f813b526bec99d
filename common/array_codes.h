// The electrode arrays of the VIREL receiver, written down once: the Array Code of an Array
// record or a Sounding header, the array's name as the survey text file announces it, and the
// four-letter array type of a pseudo-section header block. Header-only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ravelin {

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

struct ArrayKind {
    std::uint16_t code;
    std::string_view name;                // as the survey text file names it
    std::string_view pseudo_section_type; // the header block's ARRAY TYPE
};

// Every array the receiver defines.
inline constexpr std::array<ArrayKind, 9> kArrayKinds{{
    {array_code::kDipoleDipole, "Dipole_Dipole", "DIPO"},
    {array_code::kPoleDipole, "Pole_Dipole", "PDIP"},
    {array_code::kPolePole, "Pole_Pole", "POLP"},
    {array_code::kSchlumberger, "Schlumberger", "SCHL"},
    {array_code::kWenner, "Wenner", "WENN"},
    {array_code::kLateralDipoleDipole, "Lateral Dipole_Dipole", "DIPO"},
    {array_code::kLateralPolePole, "Lateral Pole_Pole", "DIPO"},
    {array_code::kGradient, "Gradient", "GRAD"},
    {array_code::kOffsetWenner, "Offset Wenner", "DIPO"},
}};

// The array of a code; nullptr for a code the receiver does not define.
constexpr const ArrayKind *find_array(std::uint16_t code) {
    for (const ArrayKind &kind : kArrayKinds)
        if (kind.code == code) return &kind;
    return nullptr;
}

// The four-letter array type of a pseudo-section header block; "DIPO" for an unknown code, whose
// readings are laid out by the dipole-dipole formulas.
constexpr std::string_view pseudo_section_array_type(std::uint16_t code) {
    const ArrayKind *kind = find_array(code);
    return kind ? kind->pseudo_section_type : std::string_view("DIPO");
}

} // namespace ravelin
