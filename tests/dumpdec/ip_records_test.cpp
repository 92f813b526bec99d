// IPI, Array, Note, Sounding header and IP reading records through whole conversions: listing
// lines, survey text lines, the pseudo-section file and the converted database.
#include "conversion_fixture.h"
#include "ip_raw_records.h"
#include "raw_records.h"

#include <cstring>

namespace ravelin::test {
namespace {

class IpRecords : public ConversionTest {
  protected:
    // A VIREL database: file header, then the survey header.
    void start(SurveyHeader survey = {}) {
        FileHeader file_header;
        file_header.instrument_name = "VIREL";
        add(raw, file_header);
        add(raw, survey);
    }
    void convert_ok() { ASSERT_EQ(convert(raw).result, 1); }

    // The field lines of the n-th record with this heading: what follows its index lines.
    std::string fields(const std::string &heading, int nth = 0) const {
        const std::string log = first_pass_listing();
        std::size_t at = log.find(heading);
        for (int i = 0; i < nth && at != std::string::npos; ++i)
            at = log.find(heading, at + 1);
        if (at == std::string::npos) return "(no such record)";
        const std::size_t start = log.find('\n', log.find("Record length :", at)) + 1;
        const std::size_t end = log.find("\n\n[ ***", start);
        return log.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    std::string txt() const { return read("a.txt"); }
    std::string i2d() const { return read("a.i2d"); }
    static float le_f32(const std::vector<std::uint8_t> &bytes, std::size_t at) {
        const std::uint32_t bits = le32(bytes, at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    RawBuilder raw;
};

constexpr const char *kIpiHeading = "\n\n[ *** IPI Record *** ]";
constexpr const char *kArrayHeading = "\n\n[ *** Array Record *** ]";
constexpr const char *kNoteHeading = "\n\n[ *** Note Record *** ]";
constexpr const char *kSoundingHeading = "\n\n[ *** Sounding Header Record *** ]";
constexpr const char *kStandardHeading = "\n\n[ *** IPR Record Standard *** ]";
constexpr const char *kUserHeading = "\n\n[ *** IPR Record User *** ]";

// ---- IPI -----------------------------------------------------------------------------------

TEST_F(IpRecords, IpiListsItsFieldsAndConvertsTheWindowTable) {
    start();
    const std::size_t ipi_at = raw.size();
    add(raw, Ipi{.operating_mode = 1,
                 .data_type = 0xA,
                 .on_time = 2000,
                 .off_time = -250,
                 .on_win_num = 3,
                 .off_win_num = 5});
    convert_ok();
    EXPECT_EQ(fields(kIpiHeading), "Operating Mode:\t\t1   \n"
                                   "Data Type:\t\t\t\ta\n"
                                   "Inputs:\t\t\t\t4\n"
                                   "OnTime:\t\t\t\t2000\n"
                                   "OffTime:\t\t\t\t-250\n"
                                   "OnWinNum:\t\t\t\t3   \n"
                                   "OffWinNum:\t\t\t\t5   \n");
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(le16(tvd, ipi_at + 2), 84);
    EXPECT_EQ(le16(tvd, ipi_at + 4), 1);
    EXPECT_EQ(static_cast<std::int32_t>(le32(tvd, ipi_at + 12)), -250);
    for (std::uint32_t w = 0; w < 8; ++w) {
        EXPECT_EQ(le32(tvd, ipi_at + 20 + 8 * w), 40 + 80 * w) << w;
        EXPECT_EQ(le32(tvd, ipi_at + 24 + 8 * w), 80u) << w;
    }
}

TEST_F(IpRecords, WindowCountBeyondTheRecordReadsNothingOutsideIt) {
    start();
    // A long note first, so that stale bytes lie in the record buffer beyond the short records.
    add(raw, Note{.text = std::string(200, 'Z')});
    const std::size_t ipi_at = raw.size();
    add(raw, Ipi{.operating_mode = 0, .on_win_num = 200, .window_table = {1, 2, 3}});
    add(raw, ProfileHeader{});
    const std::size_t reading_at = raw.size();
    add(raw, IprStandard{.x = 35, .da = 5, .m_channels = {1.5f, 2.5f}});
    convert_ok();
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(le16(tvd, ipi_at + 2), 32);
    EXPECT_EQ(le32(tvd, ipi_at + 20), 1u);
    EXPECT_EQ(le32(tvd, ipi_at + 28), 3u);
    EXPECT_EQ(le16(tvd, ipi_at + 32), 0x1002); // the next record follows intact
    EXPECT_EQ(le16(tvd, reading_at + 2), 60);

    const std::string reading = fields(kStandardHeading);
    EXPECT_TRUE(reading.ends_with("M chanel 0:\t\t1.500   \nM chanel 1:\t\t2.500   \n")) << reading;
    // Channels 2 and 3 are missing: they show as 0 in both files.
    EXPECT_TRUE(txt().ends_with(",1.500   ,2.500   ,0.000   ,0.000   ")) << txt();
    EXPECT_TRUE(i2d().ends_with(",     1.500,     2.500,     0.000,     0.000\r\n")) << i2d();
}

// ---- Array ---------------------------------------------------------------------------------

TEST_F(IpRecords, ArrayAnnouncesItsColumnsWithMChannelsOnlyInModeZero) {
    start();
    add(raw, ArrayRecord{.array_code = 0x11}); // before any IPI record: mode 0
    add(raw, Ipi{.operating_mode = 2});
    add(raw, ArrayRecord{.array_code = 0x11});
    add(raw, Ipi{.operating_mode = 0});
    add(raw, ArrayRecord{.array_code = 0x10, .base_spacing = 2.5f});
    convert_ok();
    EXPECT_EQ(fields(kArrayHeading),
              "Array Code:\t\t\t11  \nReserved:\t\t\t\t0   \nBase Spacing:\t\t\t10.000  \n");
    EXPECT_TRUE(
        txt().ends_with("\r\n/\tWenner\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx,M1,M2,M3,M4"
                        "\r\n/\tWenner\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tSchlumberger\r\n/\tData:      \t"
                        "Xp,AB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx,M1,M2,M3,M4"))
        << txt();
}

TEST_F(IpRecords, EveryTableArrayHasItsNameAndColumns) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    for (std::uint16_t code : {0x00, 0x08, 0x0C, 0x20, 0x2C, 0x40, 0x91})
        add(raw, ArrayRecord{.array_code = code});
    convert_ok();
    EXPECT_TRUE(
        txt().ends_with("\r\n/\tDipole_Dipole\r\n/\tData:      \tXp,n,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tPole_Dipole\r\n/\tData:      \tXp,n,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tPole_Pole\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tLateral Dipole_Dipole\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tLateral Pole_Pole\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tGradient\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"
                        "\r\n/\tOffset Wenner\r\n/\tData:      \tXp,a,Ro,Sd,SP,RC,Vp,Itx"))
        << txt();
}

TEST_F(IpRecords, UnknownArrayCodeIsNamedAndLaidOutAsDipoleDipole) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, ArrayRecord{.array_code = 0x77});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 35, .n = 2, .dn = 10, .da = 5, .db = -10});
    convert_ok();
    EXPECT_NE(txt().find("\r\n/\tUnknown array 77\r\n/\tData:      \tXp,n,a,Ro,Sd,SP,RC,Vp,Itx"
                         "\r\nLine\t"),
              std::string::npos)
        << txt();
    EXPECT_NE(txt().find("\r\n 30.000  ,2   ,10.000  ,"), std::string::npos);
    EXPECT_NE(i2d().find("/ ARRAY TYPE:    \tDIPO\r\n"), std::string::npos);
}

// ---- Note ----------------------------------------------------------------------------------

TEST_F(IpRecords, NoteListsCodeAndTextOnly) {
    start();
    add(raw, Note{.note_code = 0xBEEF, .text = "wet ground near station 12"});
    convert_ok();
    EXPECT_EQ(fields(kNoteHeading),
              "Note_Code:\t\t\t\tbeef\nText:\t\t\t\t\twet ground near station 12\n");
    EXPECT_EQ(txt().find("wet"), std::string::npos);
}

TEST_F(IpRecords, NoteWithoutNulEndsWithItsRecord) {
    start();
    add(raw, Note{.text = std::string(40, 'Z')});
    add(raw, Note{.text = "ABCDEFGH", .width = 8});
    convert_ok();
    EXPECT_EQ(fields(kNoteHeading, 1), "Note_Code:\t\t\t\t12  \nText:\t\t\t\t\tABCDEFGH\n");
}

// ---- Sounding header -----------------------------------------------------------------------

TEST_F(IpRecords, SoundingHeaderListsAndTitlesItsSounding) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, SoundingHeader{.array = 0x10,
                            .azimuth = 900,
                            .easting = -1250.5,
                            .northing = 0,
                            .altitude = 352.5f,
                            .sound_name = "VES-1"});
    add(raw, IprStandard{.dn = 2, .da = -5, .db = 15});
    convert_ok();
    EXPECT_EQ(fields(kSoundingHeading), "*First_Data:\t\t\t0   \n"
                                        "Array:\t\t\t\t\t10  \n"
                                        "Azimuth:\t\t\t\t900 \n"
                                        "Easting:\t\t\t\t-1250.500\n"
                                        "Northing:\t\t\t\t0.000   \n"
                                        "Altitude:\t\t\t\t352.500 \n"
                                        "Sound name:\t\t\tVES-1\n"
                                        "Reserved:\t\t\t\t0   \n"
                                        "*Next_Sound:\t\t\t0   \n");
    EXPECT_TRUE(txt().ends_with("\r\nSounding\tVES-1"
                                "\r\n/\tSchlumberger"
                                "\r\n/\tPosition:      \t1250.500W,   0.000S"
                                "\r\n/\tAzimuth:       \t90.00"
                                "\r\n/\tAltitude:      \t 352.500"
                                "\r\n/\tData:      \tAB/2,MN/2,Ro,Sd,SP,RC,Vp,Itx"
                                "\r\n 10.000  ,1.000   ,    95.250,   0.800, -15, 250, 120.500,"
                                "   0.500"))
        << txt();
    EXPECT_EQ(i2d(), ""); // a sounding is no pseudo-section
}

TEST_F(IpRecords, SoundingNameStopsAtItsField) {
    start();
    add(raw, SoundingHeader{.array = 0x77, .sound_name = "LONGNAME"}); // 8 bytes, no NUL
    convert_ok();
    EXPECT_NE(txt().find("\r\nSounding\tLONGNAME\r\n/\tDipole_Dipole\r\n"), std::string::npos)
        << txt();
    EXPECT_NE(fields(kSoundingHeading).find("Sound name:\t\t\tLONGNAME\n"), std::string::npos);
}

TEST_F(IpRecords, SoundingReadingsFollowTheSoundingFormulas) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, SoundingHeader{.array = 0x00});
    add(raw, IprStandard{.n = 4, .dn = 10, .da = 0, .db = -10});
    add(raw, IprStandard{.n = 0, .dn = 10, .da = 0, .db = -10}); // no dipole number
    add(raw, SoundingHeader{.array = 0x91});
    add(raw, IprStandard{.dn = 7.5f});
    add(raw, SoundingHeader{.array = 0x77});
    add(raw, IprStandard{.dn = 3, .da = -4, .db = 6});
    convert_ok();
    const std::string text = txt();
    EXPECT_NE(text.find("\r\n 10.000  ,2.500   ,"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n 10.000  ,0.000   ,"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n 7.500   ,7.500   ,"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n 5.000   ,1.500   ,"), std::string::npos) << text;
}

TEST_F(IpRecords, EmptySoundingIsDroppedButLeavesTheProfile) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, ArrayRecord{.array_code = 0x00});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 35, .da = 5});
    const std::size_t empty_at = raw.size();
    add(raw, SoundingHeader{.first_data = 0xFFFFFFFF});
    const std::size_t after_at = raw.size();
    add(raw, IprStandard{.x = 45, .n = 2, .dn = 10, .da = 0, .db = -10});
    convert_ok();
    EXPECT_EQ(fields(kSoundingHeading), "EMPTY  HEADER\n");
    EXPECT_EQ(txt().find("Sounding"), std::string::npos);
    // Outside the profile now: the sounding formula, and no pseudo-section line.
    EXPECT_TRUE(txt().ends_with("\r\n 10.000  ,5.000   ,    95.250,   0.800, -15, 250, 120.500,"
                                "   0.500"))
        << txt();
    EXPECT_TRUE(i2d().ends_with("DATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                                "   1,   1,    95.250, ***, ***, ***, ***\r\n"))
        << i2d();
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), raw.size() - (after_at - empty_at));
    EXPECT_EQ(le16(tvd, empty_at), 0x0100);
}

TEST_F(IpRecords, SoundingWithoutReadingsKeepsItsOwnFirstDataLink) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    const std::size_t first_sounding = raw.size();
    add(raw, SoundingHeader{.next_sound = 1});
    const std::size_t second_sounding = raw.size();
    add(raw, SoundingHeader{.next_sound = 1});
    const std::size_t reading = raw.size();
    add(raw, IprStandard{});
    const std::size_t profile = raw.size();
    add(raw, ProfileHeader{.next_prof = 0xFFFFFFFF});
    const std::size_t profile_reading = raw.size();
    add(raw, IprUser{});
    convert_ok();
    const auto tvd = read_bytes("a.tvd");
    EXPECT_EQ(le32(tvd, first_sounding + 36), 0u);
    EXPECT_EQ(le32(tvd, first_sounding + 44), second_sounding);
    EXPECT_EQ(le32(tvd, second_sounding + 36), reading);
    EXPECT_EQ(le32(tvd, second_sounding + 44), profile);
    EXPECT_EQ(le32(tvd, profile + 20), profile_reading);
}

// ---- IPR standard --------------------------------------------------------------------------

TEST_F(IpRecords, ProfileReadingsWriteSurveyTextAndPseudoSection) {
    start(SurveyHeader{.day = 15, .month = 7, .year = 2006});
    add(raw, Ipi{.operating_mode = 1});
    add(raw, ArrayRecord{.array_code = 0x00});
    add(raw, ProfileHeader{.line_pos = -200, .line_coord = 2, .azimuth = 900});
    const std::size_t first = raw.size();
    add(raw, IprStandard{.x = 35, .n = 2, .dn = 10, .da = 5, .db = -10, .ro = -120.5f});
    add(raw, IprStandard{.x = 45, .n = 2, .dn = 20, .da = 5, .db = -10, .ro = 80});
    convert_ok();
    EXPECT_EQ(fields(kStandardHeading), "X:\t\t\t\t\t\t35.000  \n"
                                        "Y:\t\t\t\t\t\t0.000   \n"
                                        "Z:\t\t\t\t\t\t0.000   \n"
                                        "LineCoord:\t\t\t\t0   \n"
                                        "N:\t\t\t\t\t\t2   \n"
                                        "dN:\t\t\t\t\t10.000  \n"
                                        "dA:\t\t\t\t\t5.000   \n"
                                        "dB:\t\t\t\t\t-10.000 \n"
                                        "ResCon:\t\t\t\t250 \n"
                                        "SP:\t\t\t\t\t-15 \n"
                                        "Vp:\t\t\t\t\t120.500 \n"
                                        "Itx:\t\t\t\t\t0.500   \n"
                                        "Ro:\t\t\t\t\t-120.500\n"
                                        "Stdev:\t\t\t\t\t0.800   \n"
                                        "M chanel 0:\t\t10.500  \n"
                                        "M chanel 1:\t\t8.250   \n"
                                        "M chanel 2:\t\t6.125   \n"
                                        "M chanel 3:\t\t4.000   \n");
    EXPECT_TRUE(
        txt().ends_with("\r\nLine\t 200.000W\r\n/\tLine Azimuth:  \t90.00"
                        "\r\n 30.000  ,2   ,10.000  ,  -120.500,   0.800, -15, 250, 120.500,"
                        "   0.500"
                        "\r\n 40.000  ,2   ,20.000  ,    80.000,   0.800, -15, 250, 120.500,"
                        "   0.500"))
        << txt();
    EXPECT_EQ(i2d(), "/ SPACING:       \t  10.000"
                     "\r\n/ LEFT ELECTRODE:\t  40.000"
                     "\r\n/ CLIENT:        \tNorth Ridge Mining"
                     "\r\n/ PROJECT:       \tBlock 7"
                     "\r\n/ AZIMUTH:       \t90.00"
                     "\r\n/ EQUIPMENT:     \tVIREL"
                     "\r\n/ DATE:          \t2006- 7-15"
                     "\r\n/ ARRAY TYPE:    \tDIPO"
                     "\r\nLINE\t 200.000W\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                     "   1,   1,   120.500, ***, ***, ***, ***\r\n"
                     "   2,   2,    80.000, ***, ***, ***, ***\r\n");
    // The converted database keeps the signed resistivity.
    EXPECT_EQ(le_f32(read_bytes("a.tvd"), first + 44), -120.5f);
}

TEST_F(IpRecords, EachProfileGetsOneHeaderBlockWithItsOwnGeometry) {
    start();
    add(raw, Ipi{.operating_mode = 0});
    add(raw, ArrayRecord{.array_code = 0x0C});
    add(raw, ProfileHeader{.line_pos = 100});
    add(raw, IprStandard{.x = 0, .da = -20});
    add(raw, IprStandard{.x = 40, .da = -20});
    add(raw, ProfileHeader{.line_pos = 0});
    add(raw, IprStandard{.x = 100, .da = 5});
    add(raw, IprStandard{.x = 110, .da = 10});
    convert_ok();
    const std::string text = i2d();
    EXPECT_NE(text.find("/ SPACING:       \t  20.000\r\n/ LEFT ELECTRODE:\t -20.000\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("LINE\t 100.000N\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                        "   1,   1,    95.250,    10.500,     8.250,     6.125,     4.000\r\n"
                        "   3,   1,    95.250,"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("4.000\r\n/ SPACING:       \t   5.000\r\n/ LEFT ELECTRODE:\t 105.000\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("LINE\t   0.000S\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                        "   1,   1,    95.250,    10.500,     8.250,     6.125,     4.000\r\n"
                        "   4,   2,    95.250,"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("/ SPACING", text.find("/ SPACING") + 1), text.rfind("/ SPACING"));
}

TEST_F(IpRecords, ModeZeroCarriesTheFirstFourOfManyChannels) {
    start();
    add(raw, Ipi{.operating_mode = 0, .on_win_num = 2, .off_win_num = 4});
    add(raw, ArrayRecord{.array_code = 0x11});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 10, .dn = 5, .da = 0, .m_channels = {1, 2, 3, 4, 5, 6}});
    convert_ok();
    EXPECT_TRUE(fields(kStandardHeading)
                    .ends_with("M chanel 3:\t\t4.000   \nM chanel 4:\t\t5.000   \n"
                               "M chanel 5:\t\t6.000   \n"));
    EXPECT_TRUE(txt().ends_with("\r\n 12.500  ,5.000   ,    95.250,   0.800, -15, 250, 120.500,"
                                "   0.500,1.000   ,2.000   ,3.000   ,4.000   "))
        << txt();
    EXPECT_TRUE(
        i2d().ends_with("   1,   1,    95.250,     1.000,     2.000,     3.000,     4.000\r\n"))
        << i2d();
}

TEST_F(IpRecords, FirstReadingByUserRecordLeavesThePreviousGeometry) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, ArrayRecord{.array_code = 0x00});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 0, .dn = 10, .da = 0}); // L = 0, S = 10
    add(raw, ProfileHeader{});
    add(raw, IprUser{});
    add(raw, IprStandard{.x = 50, .dn = 20, .da = 0});
    convert_ok();
    const std::string text = i2d();
    EXPECT_EQ(text.find("/ SPACING"), text.rfind("/ SPACING")) << text;
    EXPECT_TRUE(text.ends_with("   6,   2,    95.250, ***, ***, ***, ***\r\n")) << text;
}

TEST_F(IpRecords, ZeroSpacingGivesZeroIndices) {
    start();
    add(raw, Ipi{.operating_mode = 1});
    add(raw, ArrayRecord{.array_code = 0x11});
    add(raw, ProfileHeader{});
    add(raw, IprStandard{.x = 10, .dn = 0});
    add(raw, IprStandard{.x = 20, .dn = 5});
    convert_ok();
    EXPECT_TRUE(
        i2d().ends_with("/ SPACING:       \t   0.000"
                        "\r\n/ LEFT ELECTRODE:\t  10.000"
                        "\r\n/ CLIENT:        \tNorth Ridge Mining"
                        "\r\n/ PROJECT:       \tBlock 7"
                        "\r\n/ AZIMUTH:       \t90.00"
                        "\r\n/ EQUIPMENT:     \tVIREL"
                        "\r\n/ DATE:          \t2006-11- 5"
                        "\r\n/ ARRAY TYPE:    \tWENN"
                        "\r\nLINE\t 100.000N\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                        "   0,   0,    95.250, ***, ***, ***, ***\r\n"
                        "   0,   0,    95.250, ***, ***, ***, ***\r\n"))
        << i2d();
}

TEST_F(IpRecords, ShortReadingReadsZeroBeyondItsLength) {
    start();
    add(raw, Note{.text = std::string(120, '\x7f')}); // stale bytes behind the short record
    add(raw, Ipi{.operating_mode = 0});
    add(raw, ArrayRecord{.array_code = 0x00});
    add(raw, ProfileHeader{});
    const std::size_t reading = raw.size();
    raw.record(0x0100).f32(35).f32(0).f32(0).u16(0).u16(3).f32(10).f32(5).u16(0);
    convert_ok();
    const std::string listed = fields(kStandardHeading);
    EXPECT_NE(listed.find("dB:\t\t\t\t\t0.000   \nResCon:\t\t\t\t0   \nSP:\t\t\t\t\t0   \n"),
              std::string::npos)
        << listed;
    EXPECT_EQ(listed.find("M chanel"), std::string::npos);
    EXPECT_TRUE(txt().ends_with("\r\n 35.000  ,3   ,10.000  ,     0.000,   0.000,   0,   0,"
                                "   0.000,   0.000,0.000   ,0.000   ,0.000   ,0.000   "))
        << txt();
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), reading + 30);
    EXPECT_EQ(le16(tvd, reading + 2), 30);
}

// ---- IPR user ------------------------------------------------------------------------------

TEST_F(IpRecords, UserReadingIsListedOnly) {
    start();
    add(raw, Ipi{.operating_mode = 0, .on_win_num = 1, .off_win_num = 1});
    add(raw, ProfileHeader{});
    const std::size_t reading = raw.size();
    add(raw, IprUser{.line_coord = 2, .m_channels = {1.25f, 2.5f}});
    convert_ok();
    EXPECT_EQ(fields(kUserHeading), "LineCoord:\t\t\t\t2   \n"
                                    "Reserved:\t\t\t\t0   \n"
                                    "x:\t\t\t\t\t\t0.000   \ny:\t\t\t\t\t\t0.000   \n"
                                    "z:\t\t\t\t\t\t100.000 \n"
                                    "x:\t\t\t\t\t\t10.000  \ny:\t\t\t\t\t\t0.000   \n"
                                    "z:\t\t\t\t\t\t100.500 \n"
                                    "x:\t\t\t\t\t\t20.000  \ny:\t\t\t\t\t\t0.000   \n"
                                    "z:\t\t\t\t\t\t101.000 \n"
                                    "x:\t\t\t\t\t\t30.000  \ny:\t\t\t\t\t\t0.000   \n"
                                    "z:\t\t\t\t\t\t101.500 \n"
                                    "ResCon:\t\t\t\t250 \n"
                                    "SP:\t\t\t\t\t-15 \n"
                                    "Vp:\t\t\t\t\t120.500 \n"
                                    "Itx:\t\t\t\t\t0.500   \n"
                                    "Ro:\t\t\t\t\t95.250  \n"
                                    "Stdev:\t\t\t\t\t0.800   \n"
                                    "M chanel 0:\t\t1.250   \n"
                                    "M chanel 1:\t\t2.500   \n");
    EXPECT_TRUE(txt().ends_with("\r\n/\tLine Azimuth:  \t90.00")) << txt();
    EXPECT_EQ(i2d(), "");
    const auto tvd = read_bytes("a.tvd");
    EXPECT_EQ(le_f32(tvd, reading + 52), 101.5f); // z of point 4
    EXPECT_EQ(le_f32(tvd, reading + 80), 2.5f);
}

// ---- Damaged records -----------------------------------------------------------------------

TEST_F(IpRecords, RandomBodiesConvertWithoutFault) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    constexpr std::uint16_t kKinds[] = {0x0001, 0x0100, 0x0101, 0x1100, 0x3100, 0x4100, 0x1002};
    for (int database = 0; database < 40; ++database) {
        RawBuilder damaged;
        for (int record = 0; record < 30; ++record) {
            std::vector<std::uint8_t> body(next() % 120);
            for (auto &byte : body)
                byte = static_cast<std::uint8_t>(next());
            damaged.record(kKinds[next() % std::size(kKinds)]).raw_bytes(body);
        }
        ASSERT_EQ(convert(damaged).result, 1) << database;
    }
}

} // namespace
} // namespace ravelin::test
