// Small converted databases for the export tests, written to a folder of their own, and the
// exported files read back as text.
#pragma once

#include "../i2dwriter/tvd_builder.h"
#include "export_files.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace export_test {

// Every field of an IPR standard record.
struct Ip {
    float x = 0, y = 0, z = 0;
    std::uint16_t n = 1;
    float dn = 0, da = 0, db = 0;
    float ro = 100, stdev = 0.5f;
    std::vector<float> m{};
    float vp = 120.5f; // with Itx 0.5 A
    std::uint16_t res_con = 250;
};

inline tvd::Record ip(const Ip &r) {
    tvd::Record record(0x0100);
    record.f32(r.x).f32(r.y).f32(r.z).u16(0).u16(r.n).f32(r.dn).f32(r.da).f32(r.db);
    record.u16(r.res_con).u16(static_cast<std::uint16_t>(-15)).f32(r.vp).f32(0.5f).f32(r.ro);
    record.f32(r.stdev);
    for (float m : r.m)
        record.f32(m);
    return record;
}

// A survey header with the coordinate mode of its KX-4 readings and its reference position.
inline tvd::Record survey(std::string_view name, std::uint16_t coordinate_mode = 0,
                          double latitude = 0, double longitude = 0) {
    tvd::Record r(0x1004);
    r.text("Client", 36).text(name, 36).text("Operator", 36).u32(0).u8(0x07).u8(0x03).u16(2024);
    r.u32(0).u16(coordinate_mode).at(132).f64(longitude).f64(latitude);
    return r.at(184);
}

struct Gravity {
    float x = 0, y = 0, altitude = 0, gravity = 0, sd = 0.01f;
    std::int16_t tilt_x = 0, tilt_y = 0, temperature = 0, tide = 0; // 0.1, 0.1, 0.01, 0.001
    std::uint16_t duration = 60, rejected = 0;
    std::uint32_t time_ms = 0;
    std::uint16_t year = 2024;
    std::uint8_t month_bcd = 0x03, day_bcd = 0x07;
};

inline tvd::Record gravity(const Gravity &g) {
    auto s16 = [](std::int16_t v) { return static_cast<std::uint16_t>(v); };
    return tvd::Record(0x0800)
        .f32(g.x)
        .f32(g.y)
        .f32(g.altitude)
        .f32(0)
        .f32(g.gravity)
        .f32(g.sd)
        .u16(s16(g.tilt_x))
        .u16(s16(g.tilt_y))
        .u16(s16(g.temperature))
        .u16(s16(g.tide))
        .u16(g.duration)
        .u16(g.rejected)
        .f32(0)
        .u32(g.time_ms)
        .u8(g.day_bcd)
        .u8(g.month_bcd)
        .u16(g.year)
        .u32(0xFFFFFFFF)
        .u32(0)
        .u8(0)
        .u8(0);
}

// A KX-4 parameter record: the set-up constants, then the option bits (0x01 Tide Correction).
inline tvd::Record kx4_parameter(std::uint16_t flags) {
    tvd::Record r(0x4800);
    for (double constant : {3900.5, 1.000123, 12.5, 12.75, -0.25, 0.5, 0.031, 0.0125})
        r.f64(constant);
    return r.u32(25200000).u8(0x04).u8(0x11).u16(2006).u16(flags);
}

// A folder of its own per test, removed afterwards.
class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = ravelin::test::make_temp_folder("ravelin-export"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    exports::ExportOutcome run(const tvd::Database &db, exports::Format format,
                               std::optional<double> utc_offset_hours = std::nullopt) {
        EXPECT_TRUE(db.write(path("line7.tvd")));
        exports::ExportOptions options;
        options.format = format;
        options.utc_offset_hours = utc_offset_hours;
        return exports::export_database(path("line7.tvd"), options);
    }

    static std::string read(const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir_;
};

// A VIREL database with one survey and the given profiles: an Array record and a Profile header
// before each profile's readings.
struct Profile {
    std::uint16_t array_code = 0;
    float line_pos = 100;
    std::vector<Ip> readings;
};

inline tvd::Database virel(const std::vector<Profile> &profiles, std::uint16_t windows = 4) {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("VIREL", 16).at(112))
        .add(survey("Grid"))
        .add(tvd::ipi(0, windows / 2, static_cast<std::uint16_t>(windows - windows / 2)));
    for (const Profile &p : profiles) {
        db.add(tvd::array(p.array_code)).add(tvd::profile_header(p.line_pos, 0, 900));
        for (const Ip &r : p.readings)
            db.add(ip(r));
    }
    return db;
}

} // namespace export_test
