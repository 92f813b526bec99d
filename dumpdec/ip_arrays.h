// Electrode arrays of the VIREL receiver as the decoder announces them in the survey text file:
// the array-name line and the data columns. The codes, names and pseudo-section array types
// themselves are in common/array_codes.h.
#pragma once

#include "array_codes.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace dumpdec::ip {

using namespace ravelin::array_code;
using ravelin::pseudo_section_array_type;

// The array's name (written after "\r\n/\t") and the data-column names of the survey text file.
struct ArrayNaming {
    std::string_view name;
    std::string_view column_names;
};

// Naming announced by an Array record; empty for a code the receiver does not define.
std::optional<ArrayNaming> array_record_naming(std::uint16_t code);

// Naming announced by a Sounding header: a Schlumberger sounding has no position column and
// every unknown code counts as dipole-dipole.
ArrayNaming sounding_naming(std::uint16_t code);

// The column names of the default (dipole-dipole) formulas.
inline constexpr std::string_view kDipoleDipoleColumns = "Xp,n,a,Ro,Sd,SP,RC,Vp,Itx";

} // namespace dumpdec::ip
