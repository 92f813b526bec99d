#include "ip_arrays.h"

namespace dumpdec::ip {

namespace {

constexpr std::string_view kFourPointColumns = "Xp,a,Ro,Sd,SP,RC,Vp,Itx";

// The data columns of an Array record's array.
std::string_view array_record_columns(std::uint16_t code) {
    switch (code) {
    case kDipoleDipole:
    case kPoleDipole:
        return kDipoleDipoleColumns;
    case kSchlumberger:
        return "Xp,AB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx";
    default:
        return kFourPointColumns;
    }
}

} // namespace

std::optional<ArrayNaming> array_record_naming(std::uint16_t code) {
    const ravelin::ArrayKind *kind = ravelin::find_array(code);
    if (!kind) return std::nullopt;
    return ArrayNaming{kind->name, array_record_columns(code)};
}

ArrayNaming sounding_naming(std::uint16_t code) {
    if (code == kSchlumberger)
        return ArrayNaming{ravelin::find_array(code)->name, "AB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx"};
    if (const auto naming = array_record_naming(code)) return *naming;
    return *array_record_naming(kDipoleDipole);
}

} // namespace dumpdec::ip
