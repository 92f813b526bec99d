// Electrode arrays of the VIREL receiver: how each array code is announced in the survey text
// file and how it lays out its pseudo-section.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dumpdec::ip {

enum ArrayCode : std::uint16_t {
    kDipoleDipole = 0x00,
    kPoleDipole = 0x08,
    kPolePole = 0x0C,
    kSchlumberger = 0x10,
    kWenner = 0x11,
    kLateralDipoleDipole = 0x20,
    kLateralPolePole = 0x2C,
    kGradient = 0x40,
    kOffsetWenner = 0x91,
};

// The array-name line and the data-column names written to the survey text file.
struct ArrayNaming {
    std::string_view name_line;
    std::string_view column_names;
};

// Naming announced by an Array record; empty for a code the receiver does not define.
std::optional<ArrayNaming> array_record_naming(std::uint16_t code);

// Naming announced by a Sounding header: a Schlumberger sounding has no position column and
// every unknown code counts as dipole-dipole.
ArrayNaming sounding_naming(std::uint16_t code);

// The column names of the default (dipole-dipole) formulas.
inline constexpr std::string_view kDipoleDipoleColumns = "Xp,n,a,Ro,Sd,SP,RC,Vp,Itx";

// The four-letter array type of a pseudo-section header block.
std::string_view pseudo_section_array_type(std::uint16_t code);

} // namespace dumpdec::ip
