// Bore hole records: listing lines, the title block and log sections of the survey text file,
// the five log files, links and converted fields, and records shorter than their fields.
#include "bore_hole_records.h"
#include "conversion_fixture.h"

#include <string>

using ravelin::test::BoreHoleFluid;
using ravelin::test::BoreHoleHeader;
using ravelin::test::BoreHoleResistivity;
using ravelin::test::BoreHoleSp;
using ravelin::test::RawBuilder;

namespace {

const std::string kTitleBlock = "\r\nBore Hole\t  BH-7"
                                "\r\n/\tPosition:      \t1250.500W, 300.250N"
                                "\r\n/\tAzimuth:       \t270.00"
                                "\r\n/\tAltitude:      \t352.500 "
                                "\r\n/\tPlunge:        \t90.00"
                                "\r\n/\tData:      \tData has it's own headers";
const std::string kResTitle = "\r\nBore Hole Resistivity Data\t";
const std::string kResColumns = "\r\n/Data:\tDepth,Resistivity,SP";
const std::string kShortNormal = "\r\n/Array:\tShort Normal" + kResColumns;
const std::string kLongNormal = "\r\n/Array:\tLong Normal" + kResColumns;
const std::string kLateral = "\r\n/Array:\tLateral" + kResColumns;
const std::string kFluidHeading =
    "\r\nBore Hole Fluid Data\t\r\n/Data:\tDepth,Resistivity,Temperature";
const std::string kSpHeading = "\r\nBore Hole SP Data\t\r\n/Data:\tDepth,SP";

// Data lines of the default readings at a depth of d metres (d below 10).
std::string res_line(int d) {
    return "\r\n" + std::to_string(d) + ".000   \t125.500 \t-12 ";
}
std::string fluid_line(int d) {
    return "\r\n" + std::to_string(d) + ".000   \t8.250   \t21.5    ";
}
std::string sp_line(int d) {
    return "\r\n" + std::to_string(d) + ".000   \t-35 ";
}

class BoreHoleTest : public ravelin::test::ConversionTest {
  protected:
    std::string out(const std::string &extension) const { return read("a" + extension); }
    bool made(const std::string &extension) const { return exists("a" + extension); }
    void convert_whole(RawBuilder &raw, std::int16_t keep = 1) {
        raw.end_marker();
        ASSERT_EQ(convert(raw, keep).result, 1);
    }
};

RawBuilder &res(RawBuilder &raw, std::uint16_t array, float depth) {
    return add(raw, BoreHoleResistivity{.array = array, .depth = depth});
}

} // namespace

TEST_F(BoreHoleTest, HeaderListsItsFieldsAndWritesTheTitleBlock) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{.extension = 0xABC, .reserved1 = 7});
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock);
    EXPECT_NE(out(".log").find("\n\n[ *** Bore Hole Header Record *** ]"
                               "\nFILE INDEX\t\t\t\t0   \t0   \n"
                               "Record ID :\t\t\t\t1010\nRecord length :\t\t\t60  \n"
                               "*First_Data:\t\t\t0   \n"
                               "Plunge:   \t\t384 \n"
                               "Azimuth:   \t\ta8c \n"
                               "Easting:\t\t\t\t-1250.500\n"
                               "Northing:\t\t\t\t300.250 \n"
                               "Altitude:\t\t\t\t352.500 \n"
                               "BH name:\t\t\tBH-7\n"
                               "*dIndex:\t\t\t10  \n"
                               "*pIndex:\t\t\t20  \n"
                               "*Extension:\t\t\tabc \n"
                               "*Next:\t\t\t0   \n"
                               "Reserved1:\t\t\t\t7   \n"),
              std::string::npos)
        << out(".log");
}

TEST_F(BoreHoleTest, TitleBlockPositionLettersAndFullName) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{.plunge = 455,
                            .azimuth = 5,
                            .easting = 0,
                            .northing = -20.5,
                            .altitude = -3.25f,
                            .name = "DEEPHOLE"});
    add(raw, BoreHoleHeader{.easting = 7, .northing = 0, .name = ""});
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), "\r\nBore Hole\t  DEEPHOLE"
                           "\r\n/\tPosition:      \t   0.000W,  20.500S"
                           "\r\n/\tAzimuth:       \t0.50"
                           "\r\n/\tAltitude:      \t-3.250  "
                           "\r\n/\tPlunge:        \t45.50"
                           "\r\n/\tData:      \tData has it's own headers"
                           "\r\nBore Hole\t  "
                           "\r\n/\tPosition:      \t   7.000E,   0.000S"
                           "\r\n/\tAzimuth:       \t270.00"
                           "\r\n/\tAltitude:      \t352.500 "
                           "\r\n/\tPlunge:        \t90.00"
                           "\r\n/\tData:      \tData has it's own headers");
}

TEST_F(BoreHoleTest, EmptyHeaderIsDroppedAndLinksStayWithTheirHeaders) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{.first_data = 0xFFFFFFFF}); // empty: dropped
    add(raw, BoreHoleHeader{.name = "A"});              // no data of its own
    add(raw, BoreHoleHeader{.name = "B", .next = 0xFFFFFFFF});
    add(raw, BoreHoleSp{});
    convert_whole(raw);
    const std::string log = out(".log");
    EXPECT_NE(log.find("Record length :\t\t\t60  \n=======> EMPTY  HEADER <=======\n\n\n[ "),
              std::string::npos);
    EXPECT_EQ(out(".txt").find("BH-7"), std::string::npos);

    // In the converted database: A at 0 (next B at 60, no data), B at 60 (no next, data at 120).
    const std::string tvd = out(".tvd");
    ASSERT_EQ(tvd.size(), 60u + 60u + 24u);
    auto u32_at = [&](std::size_t offset) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<std::uint8_t>(tvd[offset + i]);
        return v;
    };
    EXPECT_EQ(u32_at(48), 60u);
    EXPECT_EQ(u32_at(52), 0u);
    EXPECT_EQ(u32_at(60 + 48), 0u);
    EXPECT_EQ(u32_at(60 + 52), 120u);
    EXPECT_NE(log.find("\nH_BH\t0   \nNext\t3c  \nFirst_Data\t0   \n\n"
                       "\nH_BH\t3c  \nNext\t0   \nFirst_Data\t78  \n\n"),
              std::string::npos)
        << log;
}

TEST_F(BoreHoleTest, DataRecordsListTheirFieldsAndReachTheDatabaseLittleEndian) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleResistivity{.array = 0x2,
                                 .sp = -7,
                                 .depth = 1.5f,
                                 .resistivity = 2.25f,
                                 .next_depth = 0x1F,
                                 .n_param = 3});
    add(raw,
        BoreHoleFluid{
            .depth = 4.5f, .resistivity = 5.75f, .temp = 21.46f, .next_depth = 0xAA, .n_param = 4});
    add(raw, BoreHoleSp{.depth = 6.5f,
                        .sp = -300,
                        .reserved1 = 65535,
                        .reserved2 = 0xBEEF,
                        .next_depth = 0x2B,
                        .n_param = 1});
    convert_whole(raw);
    const std::string log = out(".log");
    EXPECT_NE(log.find("Record length :\t\t\t24  \n"
                       "Array:   \t\t2   \nSP:\t\t\t\t\t-7  \nDepth:\t\t\t\t1.500   \n"
                       "Depth:\t\t\t\t2.250   \n*Next_Depth:\t\t\t1f  \n*nParam:\t\t\t3   \n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Record length :\t\t\t24  \n"
                       "Depth:\t\t\t\t4.500   \nDepth:\t\t\t\t5.750   \nTemp:\t\t\t\t21.460  \n"
                       "*Next_Depth:\t\t\taa  \n*nParam:\t\t\t4   \n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Record length :\t\t\t24  \n"
                       "Depth:\t\t\t\t6.500   \nSP:\t\t\t\t\t-300\nReserved1:\t\t\t\t\t65535\n"
                       "Reserved2:\t\t\tbeef\n*Next_Depth:\t\t\t2b  \n*nParam:\t\t\t1   \n"),
              std::string::npos)
        << log;

    RawBuilder little(ravelin::test::ByteOrder::kLittle);
    add(little, BoreHoleResistivity{.array = 0x2,
                                    .sp = -7,
                                    .depth = 1.5f,
                                    .resistivity = 2.25f,
                                    .next_depth = 0x1F,
                                    .n_param = 3});
    add(little,
        BoreHoleFluid{
            .depth = 4.5f, .resistivity = 5.75f, .temp = 21.46f, .next_depth = 0xAA, .n_param = 4});
    add(little, BoreHoleSp{.depth = 6.5f,
                           .sp = -300,
                           .reserved1 = 65535,
                           .reserved2 = 0xBEEF,
                           .next_depth = 0x2B,
                           .n_param = 1});
    const auto &expected = little.bytes();
    EXPECT_EQ(out(".tvd").substr(60), std::string(expected.begin(), expected.end()));
}

TEST_F(BoreHoleTest, ResistivitySectionsStartAnewWhenTheArrayChanges) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    res(raw, 0, 1);
    res(raw, 0, 2);
    res(raw, 1, 3);
    res(raw, 0, 4);
    res(raw, 2, 5);
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock + kResTitle + kShortNormal + res_line(1) + res_line(2) +
                               kLongNormal + res_line(3) + kShortNormal + res_line(4) + kLateral +
                               res_line(5));
    EXPECT_EQ(out(".sn"), res_line(1) + res_line(2) + res_line(4));
    EXPECT_EQ(out(".ln"), res_line(3));
    EXPECT_EQ(out(".lat"), res_line(5));
    EXPECT_FALSE(made(".con"));
    EXPECT_FALSE(made(".sp"));
}

TEST_F(BoreHoleTest, FluidSectionSurvivesNormalArraysButNotLateralOrSp) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleFluid{.depth = 1});
    res(raw, 0, 2);
    add(raw, BoreHoleFluid{.depth = 3}); // continues without a heading
    res(raw, 2, 4);
    add(raw, BoreHoleFluid{.depth = 5}); // headed again after Lateral
    add(raw, BoreHoleSp{.depth = 6});
    add(raw, BoreHoleFluid{.depth = 7}); // headed again after SP
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock + kFluidHeading + fluid_line(1) + kResTitle + kShortNormal +
                               res_line(2) + fluid_line(3) + kLateral + res_line(4) +
                               kFluidHeading + fluid_line(5) + kSpHeading + sp_line(6) +
                               kFluidHeading + fluid_line(7));
    EXPECT_EQ(out(".con"), fluid_line(1) + fluid_line(3) + fluid_line(5) + fluid_line(7));
    EXPECT_EQ(out(".sp"), sp_line(6));
}

TEST_F(BoreHoleTest, SpSectionSurvivesFluidButNotArraysAndSpansBoreHoles) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleSp{.depth = 1});
    add(raw, BoreHoleFluid{.depth = 2});
    add(raw, BoreHoleSp{.depth = 3}); // no new heading
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleSp{.depth = 4}); // the next bore hole continues the section
    res(raw, 1, 5);
    add(raw, BoreHoleSp{.depth = 6});
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock + kSpHeading + sp_line(1) + kFluidHeading + fluid_line(2) +
                               sp_line(3) + kTitleBlock + sp_line(4) + kResTitle + kLongNormal +
                               res_line(5) + kSpHeading + sp_line(6));
    EXPECT_EQ(out(".sp"), sp_line(1) + sp_line(3) + sp_line(4) + sp_line(6));
    EXPECT_EQ(out(".ln"), res_line(5));
}

TEST_F(BoreHoleTest, UnknownResistivityArrayIsNamedByCodeAndLogsNothing) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    res(raw, 0, 1);
    res(raw, 7, 2);
    res(raw, 0x1A, 3);
    res(raw, 0, 4);
    add(raw, BoreHoleFluid{.depth = 5});
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock + kResTitle + kShortNormal + res_line(1) +
                               "\r\n/Array:\tUnknown array 7" + kResColumns + res_line(2) +
                               "\r\n/Array:\tUnknown array 1a" + kResColumns + res_line(3) +
                               kShortNormal + res_line(4) + kFluidHeading + fluid_line(5));
    EXPECT_EQ(out(".sn"), res_line(1) + res_line(4));
}

TEST_F(BoreHoleTest, LogFilesAreCreatedOnlyWhenUsedAndKept) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    convert_whole(raw);
    for (const char *log : {".sn", ".ln", ".lat", ".con", ".sp"})
        EXPECT_FALSE(made(log)) << log;

    RawBuilder used;
    add(used, BoreHoleHeader{});
    add(used, BoreHoleSp{});
    convert_whole(used, 0);
    EXPECT_TRUE(made(".sp"));
    EXPECT_FALSE(made(".raw"));
}

TEST_F(BoreHoleTest, LogFileThatCannotBeCreatedLeavesTheSurveyTextWhole) {
    std::filesystem::create_directory(path("a.con"));
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleFluid{.depth = 1});
    add(raw, BoreHoleFluid{.depth = 2});
    add(raw, BoreHoleSp{.depth = 3});
    convert_whole(raw);
    EXPECT_EQ(out(".txt"), kTitleBlock + kFluidHeading + fluid_line(1) + fluid_line(2) +
                               kSpHeading + sp_line(3));
    EXPECT_EQ(out(".sp"), sp_line(3));
}

TEST_F(BoreHoleTest, FieldsBeyondTheRecordLengthReadAsZero) {
    RawBuilder raw;
    add(raw, BoreHoleHeader{});
    add(raw, BoreHoleFluid{.depth = 9, .resistivity = 99, .temp = 99}); // leaves its bytes behind
    raw.record(0x0104).f32(1).f32(2);                                   // ends before Temp
    raw.record(0x0102).u16(0).i16(-5).f32(3);                           // ends before Resistivity
    raw.record(0x0103).f32(4);                                          // ends before SP
    raw.record(0x1010).u16(900).u16(2700);                              // ends before Easting
    convert_whole(raw);
    EXPECT_TRUE(out(".txt").ends_with("\r\n1.000   \t2.000   \t0.0     " + kResTitle +
                                      kShortNormal + "\r\n3.000   \t0.000   \t-5  " + kSpHeading +
                                      "\r\n4.000   \t0   " +
                                      "\r\nBore Hole\t  \r\n/\tPosition:      \t   0.000W,"
                                      "   0.000S\r\n/\tAzimuth:       \t270.00"
                                      "\r\n/\tAltitude:      \t0.000   "
                                      "\r\n/\tPlunge:        \t90.00"
                                      "\r\n/\tData:      \tData has it's own headers"))
        << out(".txt");
    // The short records reach the converted database with their own length and nothing more.
    EXPECT_EQ(out(".tvd").size(), 60u + 24u + 12u + 12u + 8u + 8u);
}
