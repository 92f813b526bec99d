#include "ip_arrays.h"

namespace dumpdec::ip {

namespace {

constexpr std::string_view kFourPointColumns = "Xp,a,Ro,Sd,SP,RC,Vp,Itx";

} // namespace

std::optional<ArrayNaming> array_record_naming(std::uint16_t code) {
    switch (code) {
    case kDipoleDipole:
        return ArrayNaming{"\r\n/\tDipole_Dipole", kDipoleDipoleColumns};
    case kPoleDipole:
        return ArrayNaming{"\r\n/\tPole_Dipole", kDipoleDipoleColumns};
    case kPolePole:
        return ArrayNaming{"\r\n/\tPole_Pole", kFourPointColumns};
    case kSchlumberger:
        return ArrayNaming{"\r\n/\tSchlumberger", "Xp,AB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx"};
    case kWenner:
        return ArrayNaming{"\r\n/\tWenner", kFourPointColumns};
    case kLateralDipoleDipole:
        return ArrayNaming{"\r\n/\tLateral Dipole_Dipole", kFourPointColumns};
    case kLateralPolePole:
        return ArrayNaming{"\r\n/\tLateral Pole_Pole", kFourPointColumns};
    case kGradient:
        return ArrayNaming{"\r\n/\tGradient", kFourPointColumns};
    case kOffsetWenner:
        return ArrayNaming{"\r\n/\tOffset Wenner", kFourPointColumns};
    default:
        return std::nullopt;
    }
}

ArrayNaming sounding_naming(std::uint16_t code) {
    if (code == kSchlumberger)
        return ArrayNaming{"\r\n/\tSchlumberger", "AB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx"};
    if (const auto naming = array_record_naming(code)) return *naming;
    return *array_record_naming(kDipoleDipole);
}

std::string_view pseudo_section_array_type(std::uint16_t code) {
    switch (code) {
    case kPoleDipole:
        return "PDIP";
    case kPolePole:
        return "POLP";
    case kSchlumberger:
        return "SCHL";
    case kWenner:
        return "WENN";
    case kGradient:
        return "GRAD";
    default:
        return "DIPO";
    }
}

} // namespace dumpdec::ip
