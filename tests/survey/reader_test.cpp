// Reading damaged and unusual converted databases: what is sound is kept, and the reason for
// stopping names the place.
#include "../i2dwriter/tvd_builder.h"
#include "survey_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

survey::LoadResult read_bytes(const std::vector<std::uint8_t> &bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> in(std::tmpfile(), &std::fclose);
    if (!bytes.empty()) { // fwrite's buffer must not be null, even for no bytes
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), in.get()), bytes.size());
    }
    std::rewind(in.get());
    return survey::read_database(in.get(), bytes.size());
}

tvd::Database profile_of_two_readings() {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("VIREL", 16).at(112))
        .add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
        .add(tvd::ipi(0, 2, 2))
        .add(tvd::array(0x00))
        .add(tvd::profile_header(-200, 2, 900))
        .add(tvd::ipr_standard(
            {.x = 35, .dn = 10, .da = 5, .db = -10, .ro = 120, .m = {1, 2, 3, 4}}))
        .add(tvd::ipr_standard({.x = 45, .dn = 10, .da = 5, .db = -10, .ro = -7, .m = {5, 6}}));
    return db;
}

TEST(SurveyReader, ReadsSurveysLinesAndTheSetUpInForce) {
    const survey::LoadResult result = read_bytes(profile_of_two_readings().bytes());
    ASSERT_TRUE(result.complete());
    EXPECT_EQ(survey::stop_reason(result), "");
    ASSERT_EQ(result.database.surveys.size(), 1u);
    const survey::Survey &s = result.database.surveys[0];
    EXPECT_EQ(s.header.client, "Client");
    EXPECT_EQ(s.header.date.month(), 7);
    EXPECT_EQ(s.header.date.day(), 15);
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].kind, survey::LineKind::Profile);
    EXPECT_TRUE(s.lines[0].profile.line_pos_is_easting());
    ASSERT_EQ(s.lines[0].ip_readings.size(), 2u);
    EXPECT_EQ(s.lines[0].ip_readings[0].m, (std::vector<float>{1, 2, 3, 4}));
    // The second record ends after two of the four announced channels.
    EXPECT_EQ(s.lines[0].ip_readings[1].m, (std::vector<float>{5, 6}));
    EXPECT_EQ(s.lines[0].ip_readings[1].window_count, 4u);
}

TEST(SurveyReader, DamagedDatabasesKeepWhatIsSoundAndSayWhere) {
    const std::vector<std::uint8_t> sound = profile_of_two_readings().bytes();
    const std::size_t last = sound.size() - (52 + 8); // offset of the last reading

    std::vector<std::uint8_t> cut(sound.begin(), sound.end() - 3);
    survey::LoadResult r = read_bytes(cut);
    EXPECT_EQ(r.stop, survey::LoadStop::TruncatedRecord);
    EXPECT_EQ(r.database.surveys.at(0).lines.at(0).ip_readings.size(), 1u);
    EXPECT_EQ(survey::stop_reason(r), "Reading stopped at byte " + std::to_string(last) +
                                          ": the file ends inside record 0x0100.");

    std::vector<std::uint8_t> unknown = sound;
    unknown[last + 1] = 0x7A;
    r = read_bytes(unknown);
    EXPECT_EQ(r.stop, survey::LoadStop::UnknownRecord);
    EXPECT_EQ(survey::stop_reason(r), "Reading stopped at byte " + std::to_string(last) +
                                          ": record 0x7a00 is of no known kind.");

    std::vector<std::uint8_t> too_long = sound;
    too_long[last + 2] = 0xFF;
    too_long[last + 3] = 0xFF;
    r = read_bytes(too_long);
    EXPECT_EQ(survey::stop_reason(r), "Reading stopped at byte " + std::to_string(last) +
                                          ": record 0x0100 claims a length of 65535 bytes.");

    std::vector<std::uint8_t> short_reading = sound;
    short_reading[last + 2] = 20;
    short_reading[last + 3] = 0;
    r = read_bytes(short_reading);
    EXPECT_EQ(survey::stop_reason(r), "Reading stopped at byte " + std::to_string(last) +
                                          ": record 0x0100 is too short for its fields.");
    EXPECT_EQ(r.database.surveys.at(0).lines.at(0).ip_readings.size(), 1u);

    EXPECT_TRUE(read_bytes({}).complete());
    EXPECT_EQ(survey::load_database("/nonexistent/a.tvd").stop, survey::LoadStop::CannotOpen);
}

TEST(SurveyReader, ReadingsBeforeAnyHeaderAndEmptyHeaders) {
    tvd::Database db;
    db.add(tvd::ipr_standard({.x = 1, .ro = 5}))
        .add(tvd::profile_header(0, 0, 0).length(28))
        .raw({0x02, 0x10, 28, 0, 0, 0,    0,    0,    0,    0, 0, 0, 0, 0, 0,
              0,    0,    0,  0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}) // an empty profile header:
                                                                         // its readings stay where
                                                                         // they were
        .add(tvd::ipr_standard({.x = 2, .ro = 6}))
        .raw({0xFF, 0xFF, 0xFF, 0xFF});
    const survey::LoadResult r = read_bytes(db.bytes());
    EXPECT_EQ(r.stop, survey::LoadStop::EndMarker);
    ASSERT_EQ(r.database.surveys.size(), 1u);
    const auto &lines = r.database.surveys[0].lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].kind, survey::LineKind::Unheaded);
    EXPECT_EQ(lines[1].kind, survey::LineKind::Profile);
    EXPECT_EQ(lines[1].ip_readings.size(), 1u);
}

} // namespace
