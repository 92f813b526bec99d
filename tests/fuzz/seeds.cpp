#include "seeds.h"

#include "bore_hole_records.h"
#include "ip_raw_records.h"
#include "raw_records.h"

#include <algorithm>
#include <iterator>
#include <random>

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

std::vector<Bytes> damaged_database_seeds(ByteOrder order) {
    std::mt19937 random(20061105);
    std::vector<Bytes> damaged;
    for (const Bytes &seed : database_seeds(order)) {
        for (int variant = 0; variant < 8 && !seed.empty(); ++variant) {
            Bytes bytes = seed;
            for (int flips = 1 + variant; flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            bytes.resize(bytes.size() - random() % std::min<std::size_t>(40, bytes.size()));
            damaged.push_back(std::move(bytes));
        }
    }
    static const std::uint16_t kinds[] = {0x0001, 0x0100, 0x0101, 0x0102, 0x0103,
                                          0x0104, 0x0800, 0x1002, 0x1004, 0x1008,
                                          0x1010, 0x1100, 0x3100, 0x4100, 0x4800};
    for (int run = 0; run < 40; ++run) {
        RawBuilder raw(order);
        for (int r = 0; r < 40; ++r) {
            const auto length = static_cast<std::uint16_t>(4 + random() % 80);
            raw.record(kinds[random() % std::size(kinds)], length);
            for (int i = 4; i < length; ++i)
                raw.u8(static_cast<std::uint8_t>(random()));
        }
        if (run % 2) raw.record(kinds[random() % std::size(kinds)], 90).u32(7); // cut short
        damaged.push_back(raw.bytes());
    }
    return damaged;
}

} // namespace ravelin::fuzz
