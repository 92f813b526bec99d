// KX-4 data and parameter records: listing, survey text columns and letters, day numbers, the
// raw-samples file.
#include "conversion_fixture.h"
#include "gravity.h"
#include "raw_records.h"

namespace ravelin::test {
namespace {

using Gravity = ConversionTest;

const char *kLineStationHeader =
    "\r\n/------LINE-----STATION-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE---DUR-REJ---"
    "--TIME----DEC.TIME+DATE--TERRAIN---DATE";
const char *kNorthingEastingHeader =
    "\r\n/--NORTHING-----EASTING-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE---DUR-REJ---"
    "--TIME----DEC.TIME+DATE--TERRAIN---DATE";
const char *kLatLongHeader =
    "\r\n/-------LAT--------LONG-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE---DUR-REJ---"
    "--TIME----DEC.TIME+DATE--TERRAIN---DATE";
// The part of a default reading's line after the two coordinates.
const char *kLineRest = " 352.2500   3912.456 0.012    1.2   -0.5 21.46 -0.087  60   2 12:34:56  "
                        "   39026.52342    0.1250  2006/11/05";

TEST(DayNumber, SpreadsheetDaySystemOf1900) {
    EXPECT_EQ(dumpdec::day_number(1, 1, 1900), 1);
    EXPECT_EQ(dumpdec::day_number(29, 2, 1900), 60);
    EXPECT_EQ(dumpdec::day_number(1, 3, 1900), 61);
    EXPECT_EQ(dumpdec::day_number(1, 1, 2000), 36526);
    EXPECT_EQ(dumpdec::day_number(5, 11, 2006), 39026);
    EXPECT_EQ(dumpdec::from_bcd(0x12), 12);
}

TEST(SampleLine, SameBytesAsPrintf) {
    const std::int32_t values[][4] = {{0, 1, -1, 42},
                                      {2147483647, -2147483647 - 1, 999999999, -999999999},
                                      {1234567890, -123456789, 3912456, -3912456}};
    for (const auto &group : values) {
        char expected[80];
        std::snprintf(expected, sizeof expected, "\r\n%10d  %10d  %10d  %10d", group[0], group[1],
                      group[2], group[3]);
        char line[64];
        EXPECT_EQ(std::string(line, dumpdec::format_sample_line(line, group)), expected);
    }
}

TEST_F(Gravity, DataRecordListingAndSurveyLine) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, Kx4Data{});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(Contains(first_pass_listing(), "\n\n[ *** KX-4 Data Record *** ]"
                                               "\nFILE INDEX\t\t\t\t70  \t112 \n"
                                               "Record ID :\t\t\t\t800 \n"
                                               "Record length :\t\t\t62  \n"
                                               "X:\t\t\t\t25.0000000  \n"
                                               "Y:\t\t\t\t100.0000000 \n"
                                               "Altitude:\t\t\t\t352.250 \n"
                                               "LineID:\t\t\t\t100.000 \n"
                                               "Gravity:\t\t\t\t3912.456\n"
                                               "Standard dev.:\t\t\t\t0.012   \n"
                                               "TiltX:\t\t\t\t\t1.2 \n"
                                               "TiltY:\t\t\t\t\t-0.5\n"
                                               "Temperature:\t\t\t21.5\n"
                                               "Tide:\t\t\t\t\t-0.087\n"
                                               "Duration:\t\t\t\t60  \n"
                                               "Rejected:\t\t\t\t2   \n"
                                               "Terrain Corr.:\t\t\t\t0.125   \n"
                                               "Time:\t\t        12:34:56\n"
                                               "Date:\t            2006/11/05\n"
                                               "*Raw_Samples:\t\t    -1\n"
                                               "Raw_Length:\t\t     0\n"));
    // No survey header: mode 0, line/station columns, signed values without letters.
    EXPECT_EQ(read("a.txt"),
              std::string(kLineStationHeader) + "\r\n100.0000000  25.0000000 " + kLineRest);
    EXPECT_EQ(read("a.smp"), "");
    EXPECT_TRUE(exists("a.smp")); // a KX-4 database keeps its raw-samples file
    EXPECT_FALSE(exists("a.i2d"));
}

std::string survey_line_of(ConversionTest &t, std::uint16_t mode, Kx4Data reading) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, SurveyHeader{.flags = mode});
    add(raw, reading);
    const std::int16_t keep = 1;
    t.write("a.raw", raw.bytes());
    EXPECT_EQ(dumpdec::convert(t.path("a.raw"), &keep).result, 1);
    const std::string txt = t.read("a.txt");
    return txt.substr(txt.rfind("\r\n"));
}

TEST_F(Gravity, LettersAndSignsFollowTheCoordinateMode) {
    const std::string rest = kLineRest;
    // Northing/easting: letters by sign, magnitudes.
    EXPECT_EQ(survey_line_of(*this, 2, {.x = 300.25f, .y = -4520.5f}),
              "\r\n4520.5000000S 300.2500000E" + rest);
    EXPECT_EQ(survey_line_of(*this, 2, {.x = -3.5f, .y = 0.0f}),
              "\r\n 0.0000000   3.5000000W" + rest);
    // Line/station with a line direction: Y's letter is the direction, X's the side.
    EXPECT_EQ(survey_line_of(*this, 1, {.x = 25.0f, .y = -100.0f, .line_direction = 2}),
              "\r\n100.0000000E 25.0000000N" + rest);
    EXPECT_EQ(survey_line_of(*this, 5, {.x = -25.0f, .y = 100.0f, .line_direction = 2}),
              "\r\n100.0000000E 25.0000000S" + rest);
    EXPECT_EQ(survey_line_of(*this, 1, {.x = 0.0f, .y = 100.0f, .line_direction = 1}),
              "\r\n100.0000000S  0.0000000 " + rest);
    EXPECT_EQ(survey_line_of(*this, 1, {.x = -25.0f, .y = 100.0f, .line_direction = 0}),
              "\r\n100.0000000N 25.0000000W" + rest);
    // A direction the instrument never writes gives no letters.
    EXPECT_EQ(survey_line_of(*this, 1, {.x = -25.0f, .y = 100.0f, .line_direction = 9}),
              "\r\n100.0000000  25.0000000 " + rest);
    // Latitude/longitude and the other modes keep signs and write no letters.
    EXPECT_EQ(survey_line_of(*this, 12, {.x = -75.5f, .y = 45.25f}),
              "\r\n45.2500000  -75.5000000 " + rest);
    EXPECT_EQ(survey_line_of(*this, 7, {.x = -75.5f, .y = 45.25f}),
              "\r\n45.2500000  -75.5000000 " + rest);
}

TEST_F(Gravity, ColumnHeaderOfEachMode) {
    struct Case {
        std::uint16_t mode;
        const char *header;
    };
    for (const Case c :
         {Case{0, kLineStationHeader}, Case{4, kLineStationHeader}, Case{5, kLineStationHeader},
          Case{2, kNorthingEastingHeader}, Case{12, kLatLongHeader}, Case{3, ""}, Case{13, ""}}) {
        SCOPED_TRACE(c.mode);
        RawBuilder raw;
        add(raw, SurveyHeader{.flags = c.mode});
        add(raw, Kx4Data{});
        ASSERT_EQ(convert(raw).result, 1);
        const std::string txt = read("a.txt");
        const std::string last_survey_line = "\r\n/\tGMT DIFF.:   \t-5.0";
        const std::size_t survey_end = txt.find(last_survey_line) + last_survey_line.size();
        const std::string after = txt.substr(survey_end);
        EXPECT_EQ(after.substr(0, after.rfind("\r\n")), c.header);
    }
}

TEST_F(Gravity, ColumnHeaderReturnsAfterEveryHeaderRecord) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, Kx4Data{});
    add(raw, Kx4Data{});
    add(raw, ProfileHeader{});
    add(raw, Kx4Data{});
    add(raw, Kx4Parameter{});
    add(raw, Kx4Data{});
    raw.record(0x0001).text("note", 8);
    add(raw, Kx4Data{});
    ASSERT_EQ(convert(raw).result, 1);
    const std::string txt = read("a.txt");
    std::size_t headers = 0;
    for (std::size_t at = 0; (at = txt.find(kLineStationHeader, at)) != std::string::npos; ++at)
        ++headers;
    EXPECT_EQ(headers, 4u);
    // The second reading follows the first directly.
    const std::string reading = "\r\n100.0000000  25.0000000 " + std::string(kLineRest);
    EXPECT_TRUE(Contains(txt, std::string(kLineStationHeader) + reading + reading + "\r\nLine"));
}

TEST_F(Gravity, RawSamplesGoToTheRawSamplesFileAndTheDatabaseLittleEndian) {
    RawBuilder raw;
    add(raw, FileHeader{});
    Kx4Data reading;
    for (int i = 0; i < 16; ++i)
        reading.samples.push_back(i == 5 ? -2000000000 : 3912000 + i);
    add(raw, reading);
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(read("a.smp"), "\r\n   3912000     3912001     3912002     3912003"
                             "\r\n   3912004  -2000000000     3912006     3912007"
                             "\r\n   3912008     3912009     3912010     3912011"
                             "\r\n   3912012     3912013     3912014     3912015");
    EXPECT_TRUE(Contains(read("a.log"), "*Raw_Samples:\t\t    16\nRaw_Length:\t\t     64\n"));
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 112u + 62u + 64u);
    EXPECT_EQ(le32(tvd, 112 + 62), 3912000u);
    EXPECT_EQ(le32(tvd, 112 + 62 + 20), static_cast<std::uint32_t>(-2000000000));
    EXPECT_EQ(tvd[112 + 60], 0); // line direction and the unused byte copied
}

TEST_F(Gravity, NoSamplesFlagWinsOverRawLength) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, Kx4Data{.samples = std::vector<std::int32_t>(16, 7), .raw_samples_field = -1});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(read("a.smp"), "");
}

TEST_F(Gravity, OnlyCompleteGroupsInsideTheRecordAreWritten) {
    struct Case {
        std::int32_t raw_length;
        std::size_t present_samples;
        std::size_t lines;
    };
    for (const Case c :
         {Case{20, 8, 1}, Case{64, 10, 2}, Case{-16, 8, 0}, Case{15, 8, 0}, Case{0x7FFFFFFF, 12, 3},
          Case{static_cast<std::int32_t>(0x80000000), 8, 0}}) {
        SCOPED_TRACE(c.raw_length);
        RawBuilder raw;
        add(raw, FileHeader{});
        add(raw, Kx4Data{.samples = std::vector<std::int32_t>(c.present_samples, 1),
                         .raw_length_field = c.raw_length});
        ASSERT_EQ(convert(raw).result, 1);
        const std::string smp = read("a.smp");
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = smp.find("\r\n", at)) != std::string::npos; ++at)
            ++lines;
        EXPECT_EQ(lines, c.lines);
    }
}

TEST_F(Gravity, ParameterRecordListingSetupAndOptions) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, Kx4Parameter{.drift = 0.0126, .flags = 0x0021});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(Contains(first_pass_listing(), "Record length :\t\t\t78  \n"
                                               "Flags:\t  before          2100\n"
                                               "Flags:\t            21\n"
                                               "Gref:\t\t\t\t3900.500\n"
                                               "Gcal1:\t\t\t\t1.000   \n"
                                               "TiltxS:\t\t\t\t12.500  \n"
                                               "TiltyS:\t\t\t\t12.750  \n"
                                               "TiltxO:\t\t\t\t-0.250  \n"
                                               "TiltyO:\t\t\t\t0.500   \n"
                                               "Tempco:\t\t\t\t0.031   \n"
                                               "Drift:\t\t\t\t0.013   \n"
                                               "DriftTime Start:\t07:00:00\n"
                                               "Drift Date Start:\t2006/11/04\n"));
    EXPECT_EQ(read("a.txt"), "\r\n\r\n/\tKX-4 SETUP PARAMETERS"
                             "\r\n/\tGref:\t\t\t3900.500"
                             "\r\n/\tGcal1:\t\t1.000   "
                             "\r\n/\tTiltxS:\t\t12.500  "
                             "\r\n/\tTiltyS:\t\t12.750  "
                             "\r\n/\tTiltxO:\t\t-0.250  "
                             "\r\n/\tTiltyO:\t\t0.500   "
                             "\r\n/\tTempco:\t\t0.031   "
                             "\r\n/\tDrift:\t\t0.013   "
                             "\r\n/\tDriftTime Start:\t07:00:00"
                             "\r\n/\tDriftDate Start:\t2006/11/04"
                             "\r\n\r\n/\tKX-4 OPTIONS"
                             "\r\n/\tTide Correction:    YES"
                             "\r\n/\tCont. Tilt:          NO"
                             "\r\n/\tAuto Rejection:      NO"
                             "\r\n/\tTerrain Corr.:       NO"
                             "\r\n/\tSeismic Filter:      NO"
                             "\r\n/\tRaw Data:           YES");
    const auto tvd = read_bytes("a.tvd");
    EXPECT_EQ(le16(tvd, 112 + 76), 0x0021);
}

TEST_F(Gravity, OptionBitsEachOnItsOwnLine) {
    RawBuilder raw;
    add(raw, Kx4Parameter{.flags = 0xFF1E});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(read("a.txt").ends_with("\r\n/\tTide Correction:     NO"
                                        "\r\n/\tCont. Tilt:         YES"
                                        "\r\n/\tAuto Rejection:     YES"
                                        "\r\n/\tTerrain Corr.:      YES"
                                        "\r\n/\tSeismic Filter:     YES"
                                        "\r\n/\tRaw Data:            NO"));
}

} // namespace
} // namespace ravelin::test
