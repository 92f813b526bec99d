// Position columns, measurement columns and pseudo-section text of single readings.
#include "ip_reading.h"

#include <gtest/gtest.h>

#include <limits>

namespace dumpdec::ip {
namespace {

IprStandardReading dipole_reading() {
    IprStandardReading r;
    r.x = 35;
    r.da = 5;
    r.db = -10;
    r.n = 2;
    r.dn = 10;
    r.ro = -120.5f;
    r.stdev = 1.25f;
    r.sp = -12;
    r.res_con = 340;
    r.vp = 45.5f;
    r.itx = 0.75f;
    r.m = {1.5f, 2.5f, 3.5f, 4.5f};
    return r;
}

TEST(IpPositionPart, ProfileColumnsFollowTheArrayFormula) {
    IprStandardReading r = dipole_reading();
    EXPECT_EQ(position_part(r, 0x00, true), "\r\n 30.000  ,2   ,10.000  ");
    EXPECT_EQ(position_part(r, 0x91, true), "\r\n 30.000  ,2   ,10.000  ");
    EXPECT_EQ(position_part(r, 0x77, true), "\r\n 30.000  ,2   ,10.000  ");
    EXPECT_EQ(position_part(r, 0x08, true), "\r\n 37.500  ,2   ,10.000  ");
    EXPECT_EQ(position_part(r, 0x0C, true), "\r\n 37.500  ,5.000   ");
    EXPECT_EQ(position_part(r, 0x10, true), "\r\n 40.000  ,-7.500  ,5.000   ");
    EXPECT_EQ(position_part(r, 0x11, true), "\r\n 40.000  ,10.000  ");
    EXPECT_EQ(position_part(r, 0x40, true), "\r\n 40.000  ,10.000  ");
    r.da = -5;
    EXPECT_EQ(position_part(r, 0x20, true), "\r\n 35.000  ,5.000   ");
    EXPECT_EQ(position_part(r, 0x2C, true), "\r\n 35.000  ,5.000   ");
}

TEST(IpPositionPart, SoundingColumnsFollowTheArrayFormula) {
    IprStandardReading r = dipole_reading();
    r.n = 4;
    EXPECT_EQ(position_part(r, 0x00, false), "\r\n 10.000  ,2.500   ");
    EXPECT_EQ(position_part(r, 0x11, false), "\r\n 10.000  ,10.000  ");
    EXPECT_EQ(position_part(r, 0x91, false), "\r\n 10.000  ,10.000  ");
    EXPECT_EQ(position_part(r, 0x10, false), "\r\n -7.500  ,5.000   ");
    EXPECT_EQ(position_part(r, 0x08, false), "\r\n -7.500  ,5.000   ");
}

TEST(IpPositionPart, ZeroDipoleNumberInASoundingWritesZeroRatio) {
    IprStandardReading r = dipole_reading();
    r.n = 0;
    EXPECT_EQ(position_part(r, 0x00, false), "\r\n 10.000  ,0.000   ");
}

TEST(IpPositionPart, ComputedPositionsAreRoundedToSinglePrecision) {
    IprStandardReading r;
    r.x = 295.25f;
    r.da = 490.027008f; // X + dA/2 is 540.2635 in double, 540.2634 in single precision
    r.dn = 1;
    EXPECT_EQ(position_part(r, 0x0C, true), "\r\n 540.263 ,490.027 ");
}

TEST(IpPositionPart, DipoleRatioOfASoundingStaysInDoublePrecision) {
    IprStandardReading r;
    r.db = -25.1650009f; // dB / N is 2.5165 in double, 2.5164 in single precision
    r.n = 10;
    EXPECT_EQ(position_part(r, 0x00, false), "\r\n 25.165  ,2.517   ");
}

TEST(IpPositionPart, OverflowingPositionPrintsInfinityWithoutUndefinedConversion) {
    IprStandardReading r;
    r.x = std::numeric_limits<float>::max();
    r.da = std::numeric_limits<float>::max();
    EXPECT_EQ(position_part(r, 0x0C, true).substr(0, 6), "\r\n inf");
}

TEST(IpMeasurementPart, CarriesSignedRoAndMChannelsInModeZero) {
    const IprStandardReading r = dipole_reading();
    EXPECT_EQ(measurement_part(r, 1), ",  -120.500,   1.250, -12, 340,  45.500,   0.750");
    EXPECT_EQ(measurement_part(r, 0), ",  -120.500,   1.250, -12, 340,  45.500,   0.750,"
                                      "1.500   ,2.500   ,3.500   ,4.500   ");
}

TEST(IpIndices, FollowTheProfileGeometry) {
    const IprStandardReading r = dipole_reading();
    const auto indices = pseudo_section_indices(r, 0x00, {0, 10});
    EXPECT_EQ(indices.tx, 5);
    EXPECT_EQ(indices.rx, 1);
    IprStandardReading far = r;
    far.dn = 30;
    EXPECT_EQ(pseudo_section_indices(far, 0x00, {0, 10}).rx, 3);
    // Left of the left electrode: truncation goes toward zero.
    IprStandardReading left = r;
    left.x = -10;
    left.da = 0;
    EXPECT_EQ(pseudo_section_indices(left, 0x00, {0, 4}).tx, -1);
}

TEST(IpIndices, ReceiverIndexUsesTheDistanceOfTheArray) {
    IprStandardReading r;
    r.da = -20;
    r.dn = 40;
    EXPECT_EQ(pseudo_section_indices(r, 0x0C, {0, 10}).rx, 2);
    EXPECT_EQ(pseudo_section_indices(r, 0x10, {0, 10}).rx, 2);
    EXPECT_EQ(pseudo_section_indices(r, 0x20, {0, 10}).rx, 2);
    EXPECT_EQ(pseudo_section_indices(r, 0x2C, {0, 10}).rx, 2);
    EXPECT_EQ(pseudo_section_indices(r, 0x00, {0, 10}).rx, 4);
    EXPECT_EQ(pseudo_section_indices(r, 0x08, {0, 10}).rx, 4);
    EXPECT_EQ(pseudo_section_indices(r, 0x40, {0, 10}).rx, 4);
}

TEST(IpIndices, RoundingFollowsTheDecoderRule) {
    IprStandardReading r;
    r.dn = 0.7f; // 0.7f / 0.1f is 6.99999978 in double, 7 once rounded to single
    EXPECT_EQ(pseudo_section_indices(r, 0x00, {0, 0.1f}).rx, 7);
    IprStandardReading t;
    t.x = 35.1f; // 35.1f + 4.9f stays below 40 in double precision
    t.da = 4.9f;
    EXPECT_EQ(pseudo_section_indices(t, 0x00, {0, 0.5f}).tx, 80);
}

TEST(IpIndices, UndefinedQuotientsGiveZero) {
    const IprStandardReading r = dipole_reading();
    const auto zero_spacing = pseudo_section_indices(r, 0x00, {0, 0});
    EXPECT_EQ(zero_spacing.tx, 0);
    EXPECT_EQ(zero_spacing.rx, 0);
    const auto tiny_spacing = pseudo_section_indices(r, 0x00, {0, 1e-30f});
    EXPECT_EQ(tiny_spacing.tx, 0);
    EXPECT_EQ(tiny_spacing.rx, 0);
    IprStandardReading nan = r;
    nan.x = std::numeric_limits<float>::quiet_NaN();
    nan.dn = std::numeric_limits<float>::infinity();
    const auto not_numbers = pseudo_section_indices(nan, 0x00, {0, 10});
    EXPECT_EQ(not_numbers.tx, 0);
    EXPECT_EQ(not_numbers.rx, 0);
}

TEST(IpProfileGeometry, FollowsTheArrayTypeTable) {
    IprStandardReading r;
    r.x = 100;
    r.da = -20;
    r.dn = -5;
    auto check = [&](std::uint16_t code, float left, float spacing) {
        const auto g = profile_geometry(code, r);
        EXPECT_EQ(g.left_electrode, left) << code;
        EXPECT_EQ(g.spacing, spacing) << code;
    };
    check(0x08, 80, -5);
    check(0x0C, 80, 20);
    check(0x10, 80, -5);
    check(0x11, 80, -5);
    check(0x40, 100, -5);
    check(0x00, 80, 5);
    check(0x20, 80, 5);
    check(0x91, 80, 5);
}

TEST(IpPseudoSection, DataLinesInBothModes) {
    const IprStandardReading r = dipole_reading();
    EXPECT_EQ(pseudo_section_data_line({5, 1}, 120.5f, r, 1),
              "   5,   1,   120.500, ***, ***, ***, ***\r\n");
    EXPECT_EQ(pseudo_section_data_line({-12, 1234}, 120.5f, r, 0),
              " -12,1234,   120.500,     1.500,     2.500,     3.500,     4.500\r\n");
}

TEST(IpPseudoSection, HeaderBlockIsByteExact) {
    PseudoSectionHeader h;
    h.geometry = {-12.5f, 10};
    h.client = "ACME Mining";
    h.project = "North grid";
    h.profile_azimuth = 900;
    h.year = 2006;
    h.month = 0x07;
    h.day = 0x15;
    h.array_code = 0x11;
    h.line_pos = -200;
    h.line_coord = 2;
    EXPECT_EQ(pseudo_section_header_block(h), "/ SPACING:       \t  10.000"
                                              "\r\n/ LEFT ELECTRODE:\t -12.500"
                                              "\r\n/ CLIENT:        \tACME Mining"
                                              "\r\n/ PROJECT:       \tNorth grid"
                                              "\r\n/ AZIMUTH:       \t90.00"
                                              "\r\n/ EQUIPMENT:     \tVIREL"
                                              "\r\n/ DATE:          \t2006- 7-15"
                                              "\r\n/ ARRAY TYPE:    \tWENN"
                                              "\r\nLINE\t 200.000W\tDATA:  TX_INDEX, RX_INDEX, "
                                              "RHO-A, IP-VALUE\r\n");
}

TEST(IpPseudoSection, ArrayTypesAndDirectionLetters) {
    EXPECT_EQ(line_direction(0, 2), 'W');
    EXPECT_EQ(line_direction(5, 2), 'E');
    EXPECT_EQ(line_direction(0, 0), 'S');
    EXPECT_EQ(line_direction(5, 1), 'N');
}

} // namespace
} // namespace dumpdec::ip
