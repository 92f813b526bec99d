// The relative-gravimeter CSV read back the way network-adjustment readers split a line: at "/"
// (the date), then at ":" (the time), then at ",".
#include "export_fixture.h"

#include <chrono>
#include <limits>

namespace {

using export_test::Gravity;

struct Row {
    std::string station;
    std::vector<std::string> fields; // LAT to DUR, REJ: between the station and the time
    int hour = 0, minute = 0, second = 0;
    int month = 0, day = 0, year = 0;
};

std::vector<std::string> split(const std::string &text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(at, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<Row> parse(const std::string &text, std::vector<std::string> &comments) {
    std::vector<std::string> lines = split(text, '\n');
    EXPECT_EQ(lines.back(), "");
    lines.pop_back();
    EXPECT_EQ(lines.at(0), "STATION,LAT,LON,ALT,GRAV,SD,TILTX,TILTY,TEMP,TIDE,DUR,REJ,TIME,"
                           "DEC.TIME,TERRAIN,DATE");
    std::vector<Row> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].starts_with("%")) {
            comments.push_back(lines[i]);
            continue;
        }
        const std::vector<std::string> date = split(lines[i], '/');
        EXPECT_EQ(date.size(), 3u) << lines[i];
        const std::vector<std::string> time = split(date[0], ':');
        EXPECT_EQ(time.size(), 3u) << lines[i];
        Row row;
        row.fields = split(time[0], ',');
        row.hour = std::stoi(row.fields.back());
        row.fields.pop_back();
        row.station = row.fields.front();
        row.fields.erase(row.fields.begin());
        row.minute = std::stoi(time[1]);
        const std::vector<std::string> after_time = split(time[2], ',');
        EXPECT_EQ(after_time.size(), 4u); // seconds, DEC.TIME, TERRAIN, month
        row.second = std::stoi(after_time[0]);
        row.month = std::stoi(after_time[3]);
        row.day = std::stoi(date[1]);
        row.year = std::stoi(date[2]);
        EXPECT_EQ(row.fields.size(), 11u);
        // The reader makes a date of the three numbers: one that cannot exist stops the import.
        using namespace std::chrono;
        EXPECT_TRUE((year_month_day{year{row.year}, month{static_cast<unsigned>(row.month)},
                                    day{static_cast<unsigned>(row.day)}}
                         .ok()))
            << lines[i];
        rows.push_back(row);
    }
    return rows;
}

tvd::Database kx4_across_midnight() {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("KX-4", 16).at(112))
        .add(export_test::survey("Base loop", 0, 26.3724, -112.4124))
        .add(tvd::profile_header(1, 0, 0))
        .add(export_test::gravity({.x = 100,
                                   .y = 1,
                                   .gravity = 6134.455f,
                                   .sd = 0.016f,
                                   .tide = -14,
                                   .time_ms = (23 * 3600 + 59 * 60 + 30) * 1000}))
        .add(export_test::gravity({.x = 100.5f,
                                   .y = 1,
                                   .gravity = 6134.5f,
                                   .duration = 90,
                                   .rejected = 3,
                                   .time_ms = 30 * 1000,
                                   .day_bcd = 0x08}))
        .add(export_test::gravity(
            {.x = -20, .y = 1, .time_ms = 30 * 60 * 1000, .month_bcd = 0x03, .day_bcd = 0x01}))
        .add(export_test::gravity({.gravity = std::numeric_limits<float>::quiet_NaN()}))
        .add(export_test::gravity({.time_ms = 24 * 3600 * 1000}))
        .add(export_test::gravity({.month_bcd = 0x02, .day_bcd = 0x30})) // no 30 February
        .add(export_test::gravity({.month_bcd = 0x13, .day_bcd = 0x01}))
        .add(export_test::gravity({.month_bcd = 0x03, .day_bcd = 0x00}));
    return db;
}

using GravityCsvExport = export_test::ExportTest;

TEST_F(GravityCsvExport, ReadingsAcrossMidnightAsRecorded) {
    const auto outcome = run(kx4_across_midnight(), exports::Format::GravityCsv);
    ASSERT_TRUE(outcome.ok());
    ASSERT_EQ(outcome.written, std::vector<std::string>{path("line7-gravity.csv")});
    // A reader would take "nan" for a gravity value; a damaged clock would move the date.
    EXPECT_EQ(outcome.notes,
              (std::vector<std::string>{
                  path("line7.tvd") + ": 1 reading left out: a value that is not a number",
                  path("line7.tvd") + ": 1 reading left out: a time of day of 24 h or more",
                  path("line7.tvd") + ": 3 readings left out: a date that is no calendar date; "
                                      "the spreadsheet CSV has them"}));
    std::vector<std::string> comments;
    const std::vector<Row> rows = parse(read(outcome.written[0]), comments);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].station, "L1-100");
    EXPECT_EQ(rows[1].station, "L1-100.5");
    EXPECT_EQ(rows[2].station, "L1--20");
    // LAT LON ALT GRAV SD TILTX TILTY TEMP TIDE DUR REJ
    EXPECT_EQ(rows[0].fields,
              (std::vector<std::string>{"26.3724000", "-112.4124000", "0.000", "6134.455", "0.016",
                                        "0.0", "0.0", "0.00", "-0.014", "60", "0"}));
    EXPECT_EQ(rows[1].fields[9], "90");
    EXPECT_EQ(rows[1].fields[10], "3");
    EXPECT_EQ(std::vector<int>({rows[0].hour, rows[0].minute, rows[0].second, rows[0].month,
                                rows[0].day, rows[0].year}),
              std::vector<int>({23, 59, 30, 3, 7, 2024}));
    EXPECT_EQ(std::vector<int>({rows[1].hour, rows[1].minute, rows[1].second, rows[1].day}),
              std::vector<int>({0, 0, 30, 8}));
    EXPECT_EQ(comments, std::vector<std::string>{"% LAT and LON of readings without their own: "
                                                 "the survey's reference position"});
}

TEST_F(GravityCsvExport, ShiftedToUtcTheDateFollowsTheTime) {
    std::vector<std::string> comments;
    std::vector<Row> rows = parse(
        read(run(kx4_across_midnight(), exports::Format::GravityCsv, -5).written.at(0)), comments);
    EXPECT_EQ(comments.at(0), "% TIME and DATE in UTC: the meter's times (UTC-5) shifted by +5 h");
    EXPECT_EQ(std::vector<int>({rows[0].hour, rows[0].minute, rows[0].month, rows[0].day}),
              std::vector<int>({4, 59, 3, 8}));

    rows = parse(read(run(kx4_across_midnight(), exports::Format::GravityCsv, 1.5).written.at(0)),
                 comments);
    EXPECT_EQ(std::vector<int>({rows[1].hour, rows[1].minute, rows[1].month, rows[1].day}),
              std::vector<int>({22, 30, 3, 7}));
    // Back across the end of February of a leap year.
    EXPECT_EQ(
        std::vector<int>({rows[2].hour, rows[2].minute, rows[2].month, rows[2].day, rows[2].year}),
        std::vector<int>({23, 0, 2, 29, 2024}));
}

// Readers take the raw reading as GRAV - TIDE. With the meter's Tide Correction option off GRAV
// holds no correction, so TIDE must be 0; the option in force is the latest parameter record's,
// or the first record's for readings before it.
TEST_F(GravityCsvExport, TideIsZeroWhereTheMeterAppliedNoTideCorrection) {
    tvd::Database db;
    db.add(export_test::survey("Loop"))
        .add(export_test::gravity({.x = 1, .gravity = 3900.5f, .tide = -14}))
        .add(export_test::kx4_parameter(0x0020)) // raw data on, tide correction off
        .add(export_test::gravity({.x = 2, .gravity = 3900.6f, .tide = 80}))
        .add(export_test::kx4_parameter(0x0021))
        .add(export_test::gravity({.x = 3, .gravity = 3900.7f, .tide = 77}));
    auto outcome = run(db, exports::Format::GravityCsv);
    std::vector<std::string> comments;
    const std::vector<Row> rows = parse(read(outcome.written.at(0)), comments);
    ASSERT_EQ(rows.size(), 3u);
    // GRAV and TIDE
    EXPECT_EQ(std::vector<std::string>({rows[0].fields[3], rows[0].fields[8], rows[1].fields[8],
                                        rows[2].fields[3], rows[2].fields[8]}),
              std::vector<std::string>({"3900.500", "0.000", "0.000", "3900.700", "0.077"}));
    EXPECT_EQ(comments.at(0), "% TIDE 0: the meter's Tide Correction option was off, so GRAV "
                              "carries no tide correction; the meter's values are in the TIDE "
                              "column of the spreadsheet CSV");

    outcome = run(db, exports::Format::Csv);
    const std::string table = read(outcome.written.at(0));
    EXPECT_NE(table.find(",-0.014,"), std::string::npos) << table;
    EXPECT_NE(table.find(",0.080,"), std::string::npos) << table;
}

} // namespace
