// ravelin-gravity on converted databases: the files it writes, what the summary names, and its
// exit status for each way it can end.
#include "../export/export_fixture.h"
#include "command_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using ravelin::test::CommandOutput;

CommandOutput run_tool(const std::string &arguments) {
    return ravelin::test::runCommand(RAVELIN_GRAVITY_PATH " " + arguments + " 2>/dev/null");
}

// A survey header two hours east of UTC.
tvd::Record survey_utc_plus_2() {
    tvd::Record r(0x1004);
    r.text("Client", 36).text("Loops", 36).text("Operator", 36).u32(0).u8(0x01).u8(0x03);
    r.u16(2024).u32(2 * 3600 * 1000).u16(0).at(132).f64(18.4).f64(-33.9);
    return r.at(184);
}

// Base L1-0 and stations L1-10, L1-20, L1-30, each read twice, from 01:00 local on 1 March
// 2024 (23:00 UTC on 29 February), a drift of 0.05 mGal/h; the meter's Tide Correction on.
tvd::Database loops(double spoil_l1_20 = 0) {
    const float station[] = {0, 10, 20, 30, 0, 30, 20, 10, 0};
    const double relative[] = {0, 0.512, -0.231, 1.004, 0, 1.004, -0.231, 0.512, 0};
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("KX-4", 16).at(112))
        .add(survey_utc_plus_2())
        .add(export_test::kx4_parameter(0x0001))
        .add(tvd::profile_header(1, 0, 0));
    for (std::size_t i = 0; i < std::size(station); ++i) {
        const double hours = 0.5 * static_cast<double>(i);
        const double spoil = i == 2 ? spoil_l1_20 : 0;
        db.add(export_test::gravity(
            {.x = station[i],
             .y = 1,
             .gravity = static_cast<float>(5000 + relative[i] + 0.05 * hours + spoil),
             .sd = 0.002f,
             .tide = 35,
             .time_ms = static_cast<std::uint32_t>((1 + hours) * 3600 * 1000),
             .month_bcd = 0x03,
             .day_bcd = 0x01}));
    }
    return db;
}

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

using RavelinGravity = export_test::ExportTest;

TEST_F(RavelinGravity, WritesTheThreeFilesAndNamesTheStationToReadAgain) {
    ASSERT_TRUE(loops(0.1).write(path("day1.v2.tvd")));
    const CommandOutput result = run_tool("'" + path("day1.v2.tvd") + "'");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("Stations to read again: L1-20\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("Base: L1-0\n"), std::string::npos);
    EXPECT_EQ(read(path("day1-reduction.txt")) + path("day1-stations.csv") + "\n" +
                  path("day1-readings.csv") + "\n" + path("day1-reduction.txt") + "\n",
              result.output);

    const auto stations = lines_of(read(path("day1-stations.csv")));
    ASSERT_EQ(stations.size(), 5u);
    EXPECT_EQ(stations[0],
              "STATION,LINE,X,Y,LAT,LON,ALT,READINGS,G_REL,G_SD,G_ABS,FREE_AIR,BOUGUER,FLAG");
    EXPECT_TRUE(stations[1].starts_with("L1-0,")) << stations[1];
    EXPECT_TRUE(stations[1].ends_with(",BASE"));
    EXPECT_TRUE(stations[3].starts_with("L1-20,")) << stations[3];
    EXPECT_TRUE(stations[3].ends_with(",,,,READ_AGAIN"));

    const auto readings = lines_of(read(path("day1-readings.csv")));
    ASSERT_EQ(readings.size(), 10u);
    EXPECT_EQ(readings[0], "STATION,DATE_UTC,TIME_UTC,GRAV,SD,TIDE_METER,TIDE_MODEL,DRIFT,"
                           "G_REDUCED,RESIDUAL,FLAG");
    // 01:00 local at UTC+2 is the evening before, the leap day.
    EXPECT_TRUE(readings[1].starts_with("L1-0,2024-02-29,23:00:00,")) << readings[1];
    EXPECT_TRUE(readings[3].starts_with("L1-20,2024-03-01,00:00:00,")) << readings[3];
    // Which of L1-20's two readings is off cannot be told: one of them is flagged, no other.
    std::vector<std::string> flagged;
    for (const std::string &line : readings)
        if (line.ends_with(",RESIDUAL")) flagged.push_back(line);
    ASSERT_EQ(flagged.size(), 1u);
    EXPECT_TRUE(flagged[0].starts_with("L1-20,")) << flagged[0];
}

TEST_F(RavelinGravity, DriftAndStationsRecoveredUnspoiled) {
    ASSERT_TRUE(loops().write(path("day1.tvd")));
    const CommandOutput result =
        run_tool("--utc-offset 2 --base-gravity 979500 " + path("day1.tvd"));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("Stations to read again: none\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("chi-square test at 95 %: "), std::string::npos);
    // Base readings at 0, 2 and 4 h (UTC 23:00, 01:00, 03:00), 0.1 mGal apart.
    EXPECT_NE(result.output.find("Loop 1: 2024-02-29 23:00:00 to 2024-03-01 01:00:00 UTC, 5 "
                                 "readings, drift +0.0500 mGal/h (base closure +0.0500 mGal/h)"),
              std::string::npos);
    EXPECT_NE(result.output.find("Loop 2: 2024-03-01 01:00:00 to 2024-03-01 03:00:00 UTC, 5 "
                                 "readings, drift +0.0500 mGal/h (base closure +0.0500 mGal/h)"),
              std::string::npos);
    const auto stations = lines_of(read(path("day1-stations.csv")));
    ASSERT_EQ(stations.size(), 5u);
    EXPECT_NE(stations[1].find(",0.0000,0.0000,979500.0000,"), std::string::npos) << stations[1];
    // GRAV is stored as a float: about 0.5 microgal at 5000 mGal.
    const std::size_t readings_field = stations[4].find(",2,");
    ASSERT_NE(readings_field, std::string::npos) << stations[4];
    EXPECT_NEAR(std::stod(stations[4].substr(readings_field + 3)), 1.004, 0.002) << stations[4];
}

TEST_F(RavelinGravity, ExitStatus) {
    ASSERT_TRUE(loops().write(path("day1.tvd")));
    ASSERT_TRUE(export_test::virel({{.readings = {{}}}}).write(path("virel.tvd")));
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"--tide moon " + path("day1.tvd"), 2},
        {"--drift-degree 3 " + path("day1.tvd"), 2},
        {"--utc-offset 15 " + path("day1.tvd"), 2},
        {"--min-sd 0 " + path("day1.tvd"), 2},
        {"--density -1 " + path("day1.tvd"), 2},
        {"--base L9-9 " + path("day1.tvd"), 2},
        {"", 2},
        {path("virel.tvd"), 1},
        {path("missing.tvd"), 1},
        {"--base L1-30 --tide model --drift-degree 2 " + path("day1.tvd"), 0},
    };
    for (const auto &c : cases) {
        std::filesystem::remove(path("day1-reduction.txt"));
        EXPECT_EQ(run_tool(c.arguments).status, c.status) << c.arguments;
        EXPECT_EQ(std::filesystem::exists(path("day1-reduction.txt")), c.status == 0)
            << c.arguments;
    }
}

} // namespace
