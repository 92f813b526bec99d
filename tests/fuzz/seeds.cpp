#include "seeds.h"

#include "bore_hole_records.h"
#include "ip_raw_records.h"
#include "raw_records.h"

namespace ravelin::fuzz {

using namespace ravelin::test;

namespace {

Bytes kx4_database(ByteOrder order) {
    RawBuilder raw(order);
    add(raw, FileHeader{});
    add(raw, Kx4Parameter{});
    add(raw, SurveyHeader{});
    add(raw, ProfileHeader{});
    add(raw, Kx4Data{});
    add(raw, Kx4Data{.x = 50.0f, .samples = {1, -2, 3, -4, 5, -6, 7, -8}});
    add(raw, ProfileHeader{.first_data = 0xFFFFFFFF});
    add(raw, ProfileHeader{.line_pos = 200.0f, .next_prof = 0xFFFFFFFF});
    add(raw, Kx4Data{.line_id = 200.0f});
    add(raw, SurveyHeader{.survey_name = "Block 8", .first_line = 0xFFFFFFFF});
    raw.end_marker();
    return raw.bytes();
}

Bytes virel_database(ByteOrder order, std::uint16_t array_code, std::uint16_t mode) {
    RawBuilder raw(order);
    add(raw, FileHeader{.instrument_name = "VIREL"});
    add(raw, SurveyHeader{});
    add(raw, Ipi{.operating_mode = mode, .on_win_num = 3, .off_win_num = 4});
    add(raw, ArrayRecord{.array_code = array_code});
    add(raw, Note{});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 35, .da = 4.9f});
    add(raw, IprStandard{.x = 45, .n = 2, .ro = -12.5f});
    add(raw, SoundingHeader{.array = array_code});
    add(raw, IprStandard{.dn = 20, .db = -20});
    add(raw, IprUser{});
    add(raw, SoundingHeader{.first_data = 0xFFFFFFFF});
    add(raw, ProfileHeader{.line_pos = 150.0f, .next_prof = 0xFFFFFFFF});
    add(raw, IprStandard{.x = 55});
    return raw.bytes(); // no end marker: the file ends after the last record
}

Bytes bore_hole_database(ByteOrder order) {
    RawBuilder raw(order);
    add(raw, FileHeader{.instrument_name = "VIREL"});
    add(raw, SurveyHeader{});
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleResistivity{.array = 0});
    add(raw, BoreHoleResistivity{.array = 1, .depth = 12.5f});
    add(raw, BoreHoleResistivity{.array = 2});
    add(raw, BoreHoleFluid{});
    add(raw, BoreHoleSp{});
    add(raw, BoreHoleHeader{.name = "BH-8"});
    add(raw, BoreHoleSp{});
    raw.end_marker();
    raw.fill(64, 0xFF); // erased memory after the last record
    return raw.bytes();
}

} // namespace

std::vector<Bytes> database_seeds(ByteOrder order) {
    std::vector<Bytes> seeds{kx4_database(order), bore_hole_database(order)};
    for (std::uint16_t code : {0x00, 0x08, 0x0C, 0x10, 0x11, 0x20, 0x2C, 0x40, 0x91, 0x77})
        seeds.push_back(virel_database(order, code, static_cast<std::uint16_t>(code & 1)));
    seeds.push_back({}); // an empty file
    return seeds;
}

} // namespace ravelin::fuzz
