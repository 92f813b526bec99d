// Links between headers and data in the converted database, whatever the number of surveys
// and lines.
#include "conversion_fixture.h"
#include "raw_records.h"

#include <cstdio>

namespace ravelin::test {
namespace {

using Links = ConversionTest;

constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Record lengths of the builders' records.
constexpr std::size_t kFile = 112, kSurvey = 184, kProfile = 28, kData = 62;

std::string hex(std::size_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%zx", offset);
    return text;
}

TEST_F(Links, SurveysLinesAndFirstDataAreRecomputed) {
    RawBuilder raw;
    add(raw, FileHeader{});                                    // 0
    add(raw, SurveyHeader{.next_survey = 5, .first_line = 5}); // 112
    add(raw, ProfileHeader{.first_data = 9, .next_prof = 0});  // 296
    add(raw, Kx4Data{});                                       // 324
    add(raw, Kx4Data{});                                       // 386
    add(raw, ProfileHeader{.next_prof = 1});                   // 448, linked across surveys
    add(raw, Kx4Data{});                                       // 476
    add(raw, SurveyHeader{});                                  // 538
    add(raw, ProfileHeader{.next_prof = kNone});               // 722
    add(raw, Kx4Data{});                                       // 750
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(final_index(), "\nH_SURVEY\t70  \nNext_Survey\t21a \nFirst_Line\t128 \n\n"
                             "\nH_PROFILE\t128 \nNext_Prof\t1c0 \nFirst_Data\t144 \n\n"
                             "\nH_PROFILE\t1c0 \nNext_Prof\t2d2 \nFirst_Data\t1dc \n\n"
                             "\nH_SURVEY\t21a \nNext_Survey\t0   \nFirst_Line\t2d2 \n\n"
                             "\nH_PROFILE\t2d2 \nNext_Prof\t0   \nFirst_Data\t2ee \n\n");
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 812u);
    EXPECT_EQ(le32(tvd, 112 + 168), 538u);
    EXPECT_EQ(le32(tvd, 112 + 172), 296u);
    EXPECT_EQ(le32(tvd, 296 + 20), 324u);
    EXPECT_EQ(le32(tvd, 296 + 24), 448u);
    EXPECT_EQ(le32(tvd, 448 + 24), 722u);
    EXPECT_EQ(le32(tvd, 538 + 168), 0u);
    EXPECT_EQ(le32(tvd, 722 + 20), 750u);
    EXPECT_EQ(le32(tvd, 722 + 24), 0u);
}

TEST_F(Links, EmptyLineHeaderIsRemovedAndLaterOffsetsClose) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, SurveyHeader{});
    add(raw, ProfileHeader{.first_data = kNone});
    add(raw, ProfileHeader{});
    add(raw, Kx4Data{});
    ASSERT_EQ(convert(raw).result, 1);
    const std::size_t profile = kFile + kSurvey; // 296, where the empty header was
    EXPECT_TRUE(Contains(first_pass_listing(), "=======> EMPTY  HEADER <=======\n"
                                               "\n\n[ *** Profile Header Record *** ]"
                                               "\nFILE INDEX\t\t\t\t128 \t296 \n"));
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), kFile + kSurvey + kProfile + kData);
    EXPECT_EQ(le32(tvd, kFile + 172), profile);
    EXPECT_EQ(le32(tvd, profile + 20), profile + kProfile);
}

TEST_F(Links, SurveyWithoutLinesStillTakesItsOwnEntry) {
    RawBuilder raw;
    add(raw, SurveyHeader{.first_line = kNone}); // 0: says it has no line, but has one
    add(raw, ProfileHeader{});                   // 184
    add(raw, Kx4Data{});                         // 212
    add(raw, SurveyHeader{});                    // 274
    add(raw, SurveyHeader{});                    // 458: follows a survey without lines
    add(raw, ProfileHeader{});                   // 642
    add(raw, Kx4Data{});
    ASSERT_EQ(convert(raw).result, 1);
    const auto tvd = read_bytes("a.tvd");
    EXPECT_EQ(le32(tvd, 0 + 172), 0u);
    EXPECT_EQ(le32(tvd, 274 + 172), 0u);
    EXPECT_EQ(le32(tvd, 458 + 172), 642u);
    EXPECT_EQ(le32(tvd, 0 + 168), 274u);
    EXPECT_EQ(le32(tvd, 274 + 168), 458u);
    EXPECT_EQ(le32(tvd, 458 + 168), 0u);
}

TEST_F(Links, LineHeaderWithoutDataKeepsAZeroOfItsOwn) {
    RawBuilder raw;
    add(raw, ProfileHeader{}); // 0: no data
    add(raw, ProfileHeader{}); // 28
    add(raw, Kx4Data{});       // 56
    add(raw, ProfileHeader{}); // 118
    add(raw, Kx4Data{});       // 146
    add(raw, ProfileHeader{}); // 208: last, no data
    ASSERT_EQ(convert(raw).result, 1);
    const auto tvd = read_bytes("a.tvd");
    EXPECT_EQ(le32(tvd, 0 + 20), 0u);
    EXPECT_EQ(le32(tvd, 28 + 20), 56u);
    EXPECT_EQ(le32(tvd, 118 + 20), 146u);
    EXPECT_EQ(le32(tvd, 208 + 20), 0u);
    EXPECT_EQ(le32(tvd, 0 + 24), 28u);
    EXPECT_EQ(le32(tvd, 118 + 24), 208u);
    EXPECT_EQ(le32(tvd, 208 + 24), 0u);
}

TEST_F(Links, SoundingAndBoreHoleHeadersAreLineHeaders) {
    RawBuilder raw;
    raw.record(0x1100).pad_to(36).u32(0).u32(0).u32(0);     // sounding, 48 bytes at 0
    raw.record(0x0100).pad_to(52);                          // IPR standard at 48
    raw.record(0x1010).pad_to(48).u32(kNone).u32(0).u32(0); // bore hole, 60 bytes at 100
    raw.record(0x0103).pad_to(24);                          // SP data at 160
    raw.record(0x1010).pad_to(52).u32(kNone).u32(0);        // empty bore hole header
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(final_index(), "\nH_SOUND\t0   \nNext_Sound\t64  \nFirst_Data\t30  \n\n"
                             "\nH_BH\t64  \nNext\t0   \nFirst_Data\ta0  \n\n");
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 184u);
    EXPECT_EQ(le32(tvd, 36), 48u);
    EXPECT_EQ(le32(tvd, 44), 100u);
    EXPECT_EQ(le32(tvd, 100 + 52), 160u);
    EXPECT_EQ(le32(tvd, 100 + 48), 0u);
}

// Past the original table sizes (20 surveys, 1000 line headers, 500 first data entries) every
// record is converted and linked by the same rules.
TEST_F(Links, TwentyFiveSurveysConvertWhole) {
    RawBuilder raw;
    for (int i = 0; i < 25; ++i) {
        add(raw, SurveyHeader{});
        add(raw, ProfileHeader{.next_prof = kNone});
        add(raw, Kx4Data{});
    }
    const auto report = convert(raw, 0);
    EXPECT_TRUE(report.read_whole);
    EXPECT_FALSE(exists("a.raw"));
    const std::size_t survey = kSurvey + kProfile + kData;
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 25 * survey);
    EXPECT_EQ(le32(tvd, 23 * survey + 168), 24 * survey);
    EXPECT_EQ(le32(tvd, 24 * survey + 168), 0u);
    EXPECT_EQ(le32(tvd, 24 * survey + 172), 24 * survey + kSurvey);
    EXPECT_EQ(le32(tvd, 24 * survey + kSurvey + 20), 24 * survey + kSurvey + kProfile);
    EXPECT_EQ(le32(tvd, 24 * survey + kSurvey + 24), 0u);
}

TEST_F(Links, SevenHundredLinesConvertWhole) {
    RawBuilder raw;
    add(raw, SurveyHeader{});
    for (int i = 0; i < 700; ++i) {
        add(raw, ProfileHeader{});
        for (int reading = 0; reading < 3; ++reading)
            add(raw, Kx4Data{});
    }
    const auto report = convert(raw);
    EXPECT_TRUE(report.read_whole);
    const std::size_t line = kProfile + 3 * kData;
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), kSurvey + 700 * line);
    EXPECT_EQ(le32(tvd, 172), kSurvey);
    for (const std::size_t n : {499u, 500u, 698u}) {
        const std::size_t at = kSurvey + n * line;
        EXPECT_EQ(le32(tvd, at + 20), at + kProfile) << n;
        EXPECT_EQ(le32(tvd, at + 24), at + line) << n;
    }
    const std::size_t last = kSurvey + 699 * line;
    EXPECT_EQ(le32(tvd, last + 20), last + kProfile);
    EXPECT_EQ(le32(tvd, last + 24), 0u);
    EXPECT_TRUE(final_index().ends_with("\nH_PROFILE\t" + hex(last) +
                                        "\nNext_Prof\t0   \n"
                                        "First_Data\t" +
                                        hex(last + kProfile) + "\n\n"));
}

TEST_F(Links, ThousandLineHeadersWithoutDataKeepZerosOfTheirOwn) {
    RawBuilder raw;
    for (int i = 0; i < 1001; ++i)
        add(raw, ProfileHeader{});
    add(raw, Kx4Data{});
    EXPECT_TRUE(convert(raw).read_whole);
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 1001 * kProfile + kData);
    EXPECT_EQ(le32(tvd, 999 * kProfile + 20), 0u);
    EXPECT_EQ(le32(tvd, 999 * kProfile + 24), 1000 * kProfile);
    EXPECT_EQ(le32(tvd, 1000 * kProfile + 20), 1001 * kProfile);
}

} // namespace
} // namespace ravelin::test
