// What the writer puts in the pseudo-section file: header blocks, data lines, the array table,
// its own rounding of the indices and the cases the format leaves open.
#include "writer_fixture.h"

#include <limits>
#include <vector>

using namespace tvd;

namespace {

std::string header_block(const std::string &spacing, const std::string &left,
                         const std::string &type) {
    return "/ SPACING:       \t" + spacing + "\r\n/ LEFT ELECTRODE:\t" + left +
           "\r\n/ CLIENT:        \tACME\r\n/ PROJECT:       \tGrid 7" +
           "\r\n/ AZIMUTH:       \t0.00\r\n/ EQUIPMENT:     \tVIREL" +
           "\r\n/ DATE:          \t2007-12-01\r\n/ ARRAY TYPE:    \t" + type +
           "\r\nLINE\t 100.000N\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n";
}

// Survey, IPI in mode 1 and a profile at 100 N, ready for an Array record and readings.
Database profile_start(std::uint16_t array_code) {
    Database db;
    db.add(survey_header("ACME", "Grid 7", 2007, 0x12, 0x01)).add(ipi(1, 0, 0));
    db.add(array(array_code)).add(profile_header(100.0f, 0, 0));
    return db;
}

std::string masked_line(int tx, int rx, const char *rho) {
    char line[96];
    std::snprintf(line, sizeof line, "%4d,%4d,%10s, ***, ***, ***, ***\r\n", tx, rx, rho);
    return line;
}

} // namespace

TEST_F(WriterTest, ProfileGetsHeaderBlockThenOneLinePerReading) {
    Database db;
    db.add(file_header()).add(survey_header("ACME Mining", "North Grid", 2006, 0x07, 0x15));
    db.add(ipi(1, 0, 0)).add(array(0x00)).add(profile_header(-200.0f, 2, 1234));
    db.add(note("left at station 3"));
    db.add(ipr_standard({.x = -5, .dn = 10, .da = 5, .db = -10, .ro = -120.5f}));
    db.add(ipr_standard({.x = 35, .dn = 30, .da = 5, .db = -10, .ro = 7.25f}));

    EXPECT_EQ(convert(db), "/ SPACING:       \t10.000  "
                           "\r\n/ LEFT ELECTRODE:\t0.000   "
                           "\r\n/ CLIENT:        \tACME Mining"
                           "\r\n/ PROJECT:       \tNorth Grid"
                           "\r\n/ AZIMUTH:       \t123.40"
                           "\r\n/ EQUIPMENT:     \tVIREL"
                           "\r\n/ DATE:          \t2006-07-15"
                           "\r\n/ ARRAY TYPE:    \tDIPO"
                           "\r\nLINE\t 200.000W\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"
                           "   1,   1,   120.500, ***, ***, ***, ***\r\n"
                           "   5,   3,     7.250, ***, ***, ***, ***\r\n");
}

TEST_F(WriterTest, LineDirectionFollowsLineCoordAndSign) {
    struct Case {
        float pos;
        std::uint16_t coord;
        const char *line;
    };
    for (const Case &c : {Case{-120.5f, 2, "LINE\t 120.500W"}, Case{-120.5f, 0, "LINE\t 120.500S"},
                          Case{0.0f, 2, "LINE\t   0.000W"}, Case{0.0f, 0, "LINE\t   0.000S"},
                          Case{75.0f, 2, "LINE\t  75.000E"}, Case{75.0f, 0, "LINE\t  75.000N"}}) {
        Database db;
        db.add(array(0)).add(profile_header(c.pos, c.coord, 0)).add(ipr_standard({.dn = 1}));
        EXPECT_NE(convert(db).find(std::string("\r\n") + c.line + "\tDATA:"), std::string::npos)
            << c.line;
    }
}

TEST_F(WriterTest, ModeZeroCarriesChannelsZeroToThreeAndZeroForMissingOnes) {
    Database db;
    db.add(array(0)).add(ipi(0, 2, 4)).add(profile_header(1.0f, 0, 0));
    db.add(ipr_standard({.dn = 1, .ro = 1, .m = {1.5f, -2.25f, 3, 4, 5, 6}}));
    // Two windows: channels 2 and 3 are not measured, even where the record holds bytes there.
    db.add(ipi(0, 1, 1)).add(ipr_standard({.dn = 1, .ro = 2, .m = {7, 8, 9, 10}}));
    db.add(ipr_standard({.dn = 1, .ro = 3, .m = {11}}));
    const std::string out = convert(db);
    EXPECT_NE(out.find("\r\n   1,   1,     1.000,     1.500,    -2.250,     3.000,     4.000\r\n"
                       "   1,   1,     2.000,     7.000,     8.000,     0.000,     0.000\r\n"
                       "   1,   1,     3.000,    11.000,     0.000,     0.000,     0.000\r\n"),
              std::string::npos)
        << out;
}

TEST_F(WriterTest, ArrayCodeChoosesTypeSpacingLeftElectrodeAndReceiverIndex) {
    struct Case {
        std::uint16_t code;
        const char *type, *spacing, *left;
        int tx1, rx1, tx2, rx2;
    };
    // First reading X 100, dN 20, dA -30; second X 140, dN 40, dA -30.
    const std::vector<Case> cases = {
        {0x08, "PDIP", "20.000  ", "70.000  ", 1, 1, 3, 2},
        {0x0C, "POLP", "30.000  ", "70.000  ", 1, 1, 2, 1},
        {0x10, "SCHL", "20.000  ", "70.000  ", 1, 1, 3, 1},
        {0x11, "WENN", "20.000  ", "70.000  ", 1, 1, 3, 2},
        {0x40, "GRAD", "20.000  ", "100.000 ", 0, 1, 1, 2},
        {0x00, "DIPO", "20.000  ", "70.000  ", 1, 1, 3, 2},
        {0x91, "DIPO", "20.000  ", "70.000  ", 1, 1, 3, 2},
        {0x55, "DIPO", "20.000  ", "70.000  ", 1, 1, 3, 2},
        // Lateral arrays: the receiver index counts |dA| in spacings.
        {0x20, "DIPO", "20.000  ", "70.000  ", 1, 1, 3, 1},
        {0x2C, "DIPO", "20.000  ", "70.000  ", 1, 1, 3, 1},
    };
    for (const Case &c : cases) {
        Database db = profile_start(c.code);
        db.add(ipr_standard({.x = 100, .dn = 20, .da = -30, .ro = 1}));
        db.add(ipr_standard({.x = 140, .dn = 40, .da = -30, .ro = 2}));
        EXPECT_EQ(convert(db), header_block(c.spacing, c.left, c.type) +
                                   masked_line(c.tx1, c.rx1, "1.000") +
                                   masked_line(c.tx2, c.rx2, "2.000"))
            << "array code " << c.code;
    }
}

TEST_F(WriterTest, SumIsRoundedToSingleAndQuotientTruncatedInDouble) {
    Database db = profile_start(0x00);
    db.add(ipr_standard({.x = -1, .dn = 0.5f, .da = 1})); // left electrode 0, spacing 0.5
    db.add(ipr_standard({.x = 35.1f, .dn = 0.5f, .da = 4.9f}));
    db.add(profile_header(100.0f, 0, 0));
    db.add(ipr_standard({.x = -1, .dn = 0.1f, .da = 1})); // left electrode 0, spacing 0.1
    db.add(ipr_standard({.x = 0, .dn = 0.7f, .da = 0}));
    const std::string out = convert(db);
    EXPECT_NE(out.find("\r\n  81,   1,"), std::string::npos) << out;
    EXPECT_NE(out.find("\r\n   1,   6,"), std::string::npos) << out;
}

TEST_F(WriterTest, UndefinedIndicesAreZero) {
    Database db = profile_start(0x00);
    db.add(ipr_standard({.x = 3, .dn = 0, .da = 2, .ro = 1})); // spacing 0
    db.add(ipr_standard({.x = 50, .dn = 10, .da = 2, .ro = 2}));
    db.add(profile_header(100.0f, 0, 0));
    db.add(ipr_standard({.x = 0, .dn = 1e-30f, .da = 0, .ro = 3})); // quotients beyond int
    db.add(ipr_standard({.x = 3e30f, .dn = 1, .da = 0, .ro = 4}));
    db.add(ipr_standard({.x = std::numeric_limits<float>::quiet_NaN(), .dn = 1, .ro = 5}));
    const std::string out = convert(db);
    EXPECT_NE(out.find(masked_line(0, 0, "1.000") + masked_line(0, 0, "2.000")), std::string::npos)
        << out;
    EXPECT_NE(out.find(masked_line(1, 1, "3.000") + masked_line(0, 0, "4.000") +
                       masked_line(0, 0, "5.000")),
              std::string::npos)
        << out;
}

TEST_F(WriterTest, ResistivityIsWrittenWithoutSign) {
    Database db = profile_start(0x00);
    db.add(ipr_standard({.dn = 1, .ro = -0.0f})).add(ipr_standard({.dn = 1, .ro = -3.5f}));
    const std::string out = convert(db);
    EXPECT_NE(out.find(masked_line(1, 1, "0.000") + masked_line(1, 1, "3.500")), std::string::npos)
        << out;
}

TEST_F(WriterTest, ReadingsOutsideAProfileWriteNothing) {
    Database db;
    db.add(ipi(1, 0, 0)).add(array(0x0C));
    db.add(ipr_standard({.x = 1, .dn = 1, .ro = 9})); // before any profile
    db.add(sounding_header(0x10)).add(ipr_standard({.x = 2, .dn = 1, .ro = 9}));
    EXPECT_EQ(convert(db), "");

    // A sounding leaves the array code alone: the next profile keeps the Array record's code.
    db.add(profile_header(100.0f, 0, 0)).add(ipr_standard({.x = 10, .dn = 5, .da = 2, .ro = 1}));
    db.add(sounding_header(0x00)).add(ipr_standard({.dn = 1, .ro = 9}));
    const std::string out = convert(db);
    EXPECT_NE(out.find("ARRAY TYPE:    \tPOLP\r\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("9.000"), std::string::npos) << out;
}

TEST_F(WriterTest, OnlyTheFirstDataRecordOfAProfileWritesItsHeaderBlock) {
    Database db = profile_start(0x00);
    db.add(ipr_standard({.x = 0, .dn = 10, .ro = 1})).add(ipr_standard({.x = 0, .dn = 10}));
    // Taken by a user reading: no header block, the readings keep the earlier spacing.
    db.add(profile_header(100.0f, 0, 0)).add(ipr_user());
    db.add(ipr_standard({.x = 20, .dn = 20, .ro = 2}));
    // The same after a bore hole that took the first data of its own header.
    db.add(profile_header(100.0f, 0, 0)).add(bore_hole_header());
    db.add(Record(0x0104).f32(1).f32(2).f32(3).u32(0).u32(0));
    db.add(ipr_standard({.x = 30, .dn = 30, .ro = 3}));
    const std::string out = convert(db);
    EXPECT_EQ(out, header_block("10.000  ", "0.000   ", "DIPO") + masked_line(1, 1, "1.000") +
                       masked_line(1, 1, "0.000") + masked_line(3, 2, "2.000") +
                       masked_line(4, 3, "3.000"));
}

TEST_F(WriterTest, HeaderTextsEndAtTheirFieldAndMissingSurveyGivesZeros) {
    const std::string client(36, 'C');
    Database db;
    db.add(survey_header(client, "P", 2006, 0x07, 0x15)).add(array(0));
    db.add(profile_header(1.0f, 0, 0)).add(ipr_standard({.dn = 1}));
    EXPECT_NE(convert(db).find("CLIENT:        \t" + client + "\r\n/ PROJECT:       \tP\r\n"),
              std::string::npos);

    Database no_survey;
    no_survey.add(array(0)).add(profile_header(1.0f, 0, 0)).add(ipr_standard({.dn = 1}));
    const std::string out = convert(no_survey);
    EXPECT_NE(out.find("CLIENT:        \t\r\n/ PROJECT:       \t\r\n"), std::string::npos);
    EXPECT_NE(out.find("DATE:          \t0   -00-00\r\n"), std::string::npos) << out;
}
