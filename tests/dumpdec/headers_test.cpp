// File, Survey and Profile header records: listing and survey text byte for byte, the KX-4
// mode, kept copies.
#include "conversion_fixture.h"
#include "raw_records.h"

namespace ravelin::test {
namespace {

using Headers = ConversionTest;

TEST_F(Headers, FileHeaderListsEveryFieldAndCopiesItsTail) {
    RawBuilder raw;
    add(raw, FileHeader{.flags = 0xA1,
                        .reserved = 0xB2,
                        .ext_point = 0xC3C4,
                        .pointer1 = 0x10000,
                        .pointer2 = 0xDEADBEEF,
                        .pointer3 = 7,
                        .tail = {1, 2, 3, 4, 5}});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(first_pass_listing(), "\n\n[ *** File Header Record *** ]"
                                    "\nFILE INDEX\t\t\t\t0   \t0   \n"
                                    "Record ID :\t\t\t\t1008\n"
                                    "Record length :\t\t\t117 \n"
                                    "Manufacture Name:\t\tTervane\n"
                                    "Manufacture ID:   \t\t15  \n"
                                    "Family ID:      \t\t2   \n"
                                    "Instrument Model:\t\t4   \n"
                                    "Instrument Ver:\t\t12  \n"
                                    "Instrument Name:\t\tKX-4\n"
                                    "Instrument SN: \t\t1234\n"
                                    "Soft Manuf.ID: \t\t15  \n"
                                    "Soft manuf.Name:\t\tTervane\n"
                                    "Soft Pack Name:\t\tFieldOS\n"
                                    "Software Ver:  \t\t3   \n"
                                    "Software Rev:  \t\t002a\n"
                                    "Time:\t\t        \t12:34:56\n"
                                    "Date:\t            \t2006/11/05\n"
                                    "Flags:\t\t        \ta1  \n"
                                    "Reserved:\t\t    \tb2  \n"
                                    "Ext point:\t\t    \tc3c4\n"
                                    "Pointer1:\t\t    \t10000\n"
                                    "Pointer2:\t\t    \tdeadbeef\n"
                                    "Pointer3:\t\t    \t7   \n");
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 117u);
    EXPECT_EQ(le16(tvd, 44), 1234); // numbers little-endian
    EXPECT_EQ(le32(tvd, 100), 0x10000u);
    EXPECT_EQ(tvd[28], 'K'); // text unchanged
    EXPECT_EQ(tvd[112], 1);  // the unlisted tail unchanged
    EXPECT_EQ(tvd[116], 5);
    EXPECT_EQ(read("a.txt"), ""); // the File header writes no survey text
}

TEST_F(Headers, OnlyTheExactNameKx4SelectsTheGravityMode) {
    for (const std::string name : {"KX-4", "KX-4B", "kx-4", "", "KX-4\0zz"}) {
        SCOPED_TRACE(name);
        RawBuilder raw;
        add(raw, FileHeader{.instrument_name = name});
        add(raw, SurveyHeader{});
        ASSERT_EQ(convert(raw).result, 1);
        const bool kx4 = name == "KX-4";
        EXPECT_EQ(read("a.txt").starts_with("\r\n/\tKX-4 SURVEY"), kx4);
        EXPECT_EQ(read("a.txt").starts_with("\r\n/\tVirel Survey"), !kx4);
        EXPECT_EQ(exists("a.smp"), kx4);
        EXPECT_EQ(exists("a.i2d"), !kx4);
    }
}

TEST_F(Headers, FullWidthTextWithoutNulIsPrintedToItsWidth) {
    RawBuilder raw;
    add(raw, FileHeader{.manufacture_name = "ABCDEFGHIJKLMNOPQRST"});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(Contains(read("a.log"), "Manufacture Name:\t\tABCDEFGHIJKLMNOP\n"));
}

TEST_F(Headers, SurveyHeaderListingAndSurveyText) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, SurveyHeader{});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(Contains(first_pass_listing(), "\n\n[ *** Survey Header Record *** ]"
                                               "\nFILE INDEX\t\t\t\t70  \t112 \n"
                                               "Record ID :\t\t\t\t1004\n"
                                               "Record length :\t\t\t184 \n"
                                               "Client_Name:\t\t\tNorth Ridge Mining\n"
                                               "Survey Name:\t\t\tBlock 7\n"
                                               "Operator Name:\t\t\tJ. Field\n"
                                               "Time:\t\t        \t       8 :0 :0 \n"
                                               "Date:\t            \t       2006/11/5 \n"
                                               "UTC_LTZ:\t           \t       -18000000\n"
                                               "Flags:\t            \t0   \n"
                                               "Azimuth:\t           \t90  \n"
                                               "UTM_Zone:\t\t\t\t18  \n"
                                               "Mag Declin:\t        14  \n"
                                               "Easting:\t\t    \t-75.500 \n"
                                               "Northing:\t\t\t\t45.250  \n"
                                               "Altitude:\t\t\t\t120.000 \n"
                                               "Grid N:\t\t\t\t1000.000\n"
                                               "Grid S:\t\t\t\t0.000   \n"
                                               "Grid E:\t\t\t\t500.000 \n"
                                               "Grid W:\t\t\t\t0.000   \n"
                                               "*Next Survey:\t\t\t0   \n"
                                               "*First Line:\t\t\t0   \n"
                                               "Reserved1:\t\t\t\t0   \n"
                                               "Reserved2:\t\t\t\t0   \n"));
    EXPECT_EQ(read("a.txt"), "\r\n/\tKX-4 SURVEY"
                             "\r\n/\tSurvey name:   \tBlock 7"
                             "\r\n/\tInstrument S/N:\t1234"
                             "\r\n/\tClient:        \tNorth Ridge Mining"
                             "\r\n/\tOperator:      \tJ. Field"
                             "\r\n/\tDate:          \t2006/11/ 5"
                             "\r\n/\tTime:          \t08:00:00"
                             "\r\n/\tLONG:        \t75.5000000 W"
                             "\r\n/\tLAT:         \t45.2500000 N"
                             "\r\n/\tZONE:        \t18      "
                             "\r\n/\tGMT DIFF.:   \t-5.0");
}

TEST_F(Headers, SurveyWithoutFileHeaderAndZeroPositionGivesWestAndSouth) {
    RawBuilder raw;
    add(raw, SurveyHeader{.utc_ltz = 19800000, .easting = 0.0, .northing = 0.0});
    ASSERT_EQ(convert(raw).result, 1);
    const std::string txt = read("a.txt");
    EXPECT_TRUE(txt.starts_with("\r\n/\tVirel Survey"));
    EXPECT_TRUE(Contains(txt, "\r\n/\tInstrument S/N:\t0   "));
    EXPECT_TRUE(Contains(txt, "\r\n/\tLONG:        \t0.0000000 W"));
    EXPECT_TRUE(Contains(txt, "\r\n/\tLAT:         \t0.0000000 S"));
    EXPECT_TRUE(txt.ends_with("\r\n/\tGMT DIFF.:   \t5.5 "));
}

TEST_F(Headers, ProfileHeaderInVirelDatabase) {
    RawBuilder raw;
    add(raw, ProfileHeader{.line_pos = -120.5f,
                           .line_coord = 2,
                           .azimuth = 1234,
                           .reserved1 = 0xA,
                           .reserved2 = 0xB,
                           .next_prof = 0xFFFFFFFF});
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_EQ(first_pass_listing(), "\n\n[ *** Profile Header Record *** ]"
                                    "\nFILE INDEX\t\t\t\t0   \t0   \n"
                                    "Record ID :\t\t\t\t1002\n"
                                    "Record length :\t\t\t28  \n"
                                    "*First_Data:\t\t\t0   \n"
                                    "Line pos:\t\t\t\t-120.500\n"
                                    "Line Coord:\t\t\t2   \n"
                                    "Azimuth:\t\t\t\t1234\n"
                                    "Station Num:\t\t\t20  \n"
                                    "Reserved1:\t\t\t\ta   \n"
                                    "Reserved2:\t\t\t\tb   \n"
                                    "*Next Prof:\t\t\tffffffff\n");
    EXPECT_EQ(read("a.txt"), "\r\nLine\t 120.500W\r\n/\tLine Azimuth:  \t123.40");
}

TEST_F(Headers, ProfileLineLettersByCoordinateAxisAndSign) {
    struct Case {
        float pos;
        std::uint16_t coord;
        const char *line;
    };
    for (const Case c :
         {Case{-120.5f, 0, "\r\nLine\t 120.500S"}, Case{80.0f, 0, "\r\nLine\t  80.000N"},
          Case{80.0f, 2, "\r\nLine\t  80.000E"}, Case{0.0f, 2, "\r\nLine\t   0.000W"},
          Case{0.0f, 0, "\r\nLine\t   0.000S"}}) {
        RawBuilder raw;
        add(raw, FileHeader{}); // KX-4: no azimuth line
        add(raw, ProfileHeader{.line_pos = c.pos, .line_coord = c.coord});
        ASSERT_EQ(convert(raw).result, 1);
        EXPECT_EQ(read("a.txt"), c.line);
    }
}

TEST_F(Headers, EmptyProfileHeaderIsListedButDropped) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, ProfileHeader{.first_data = 0xFFFFFFFF});
    raw.record(0x0001).text("after", 8);
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(Contains(first_pass_listing(), "\n\n[ *** Profile Header Record *** ]"
                                               "\nFILE INDEX\t\t\t\t70  \t112 \n"
                                               "Record ID :\t\t\t\t1002\n"
                                               "Record length :\t\t\t28  \n"
                                               "=======> EMPTY  HEADER <=======\n"
                                               "\n\n[ *** Note Record *** ]"
                                               "\nFILE INDEX\t\t\t\t70  \t112 \n"));
    EXPECT_EQ(read("a.txt"), "");
    EXPECT_EQ(read_bytes("a.tvd").size(), 112u + 12u);
}

} // namespace
} // namespace ravelin::test
