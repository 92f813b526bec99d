// The geometry of each array, from electrodes laid out on a line as the array defines them: where
// A, B, M and N stood, which are remote, where the reading stands on a pseudo-section and at which
// level; and the two roundings of the pseudo-section indices side by side.
#include "array_codes.h"
#include "array_geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace ravelin::array_code;
using records::LevelKind;

// The record's fields of electrodes standing at a, b, m and n (X is M's position).
records::IpStandard standing_at(float a, float b, float m, float n, std::uint16_t dipole_number) {
    records::IpStandard r;
    r.x = m;
    r.da = a - m;
    r.db = b - m;
    r.dn = n - m;
    r.n = dipole_number;
    return r;
}

struct Case {
    std::uint16_t code;
    records::IpStandard reading;
    bool b_remote, n_remote;
    double position, level;
    LevelKind kind;
};

TEST(ArrayGeometry, EachArrayPlacesItsElectrodesAndItsReading) {
    const Case cases[] = {
        // A B | M N, a = 10, n = 2: the point midway between the dipoles.
        {kDipoleDipole, standing_at(100, 110, 130, 140, 2), false, false, 120, 2,
         LevelKind::DipoleNumber},
        // A M N B, a = 10: the array's centre, level a.
        {kWenner, standing_at(100, 130, 110, 120, 0), false, false, 115, 10, LevelKind::Separation},
        // A M N B, MN = 2, AB = 30: the centre, level AB/2.
        {kSchlumberger, standing_at(100, 130, 114, 116, 0), false, false, 115, 15,
         LevelKind::HalfSpread},
        // A | M N, B far away: midway between A and M, level n.
        {kPoleDipole, standing_at(100, 1e6f, 120, 130, 2), true, false, 110, 2,
         LevelKind::DipoleNumber},
        // A | M, B and N far away: midway between A and M, level AM.
        {kPolePole, standing_at(100, 1e6f, 130, 1e6f, 0), true, true, 115, 30,
         LevelKind::Separation},
        {kLateralPolePole, standing_at(100, 1e6f, 130, 1e6f, 0), true, true, 130, 30,
         LevelKind::Separation},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        const records::ElectrodeLayout e = records::electrode_layout(c.code, c.reading);
        EXPECT_EQ(e.a, c.reading.x + c.reading.da);
        EXPECT_EQ(e.m, c.reading.x);
        EXPECT_EQ(e.b.has_value(), !c.b_remote);
        EXPECT_EQ(e.n.has_value(), !c.n_remote);
        const records::PseudoSectionPoint p = records::pseudo_section_point(c.code, c.reading);
        EXPECT_EQ(p.position, c.position);
        EXPECT_EQ(p.level, c.level);
        EXPECT_EQ(p.level_kind, c.kind);
    }
}

TEST(ArrayGeometry, SoundingSpacingsAreHalfSpreadAndHalfDipole) {
    const records::IpStandard schlumberger = standing_at(100, 130, 114, 116, 0);
    EXPECT_EQ(records::sounding_spacings(kSchlumberger, schlumberger).spacing, 15);
    EXPECT_EQ(records::sounding_spacings(kSchlumberger, schlumberger).second, 1);
    const records::IpStandard wenner = standing_at(100, 130, 110, 120, 0);
    EXPECT_EQ(records::sounding_spacings(kWenner, wenner).spacing, 10);
}

// Two programs write the same indices with different rounding, and each is reproduced.
TEST(ArrayGeometry, DecoderAndWriterRoundTheIndicesEachTheirOwnWay) {
    records::IpStandard r;
    r.x = 35.1f; // 35.1f + 4.9f stays below 40 in double precision, is 40 in single
    r.da = 4.9f;
    EXPECT_EQ(records::decoder_indices(kDipoleDipole, r, {0, 0.5f}).tx, 80);
    EXPECT_EQ(records::writer_indices(kDipoleDipole, r, {0, 0.5f}).tx, 81);
    r = {};
    r.dn = 0.7f; // 0.7f / 0.1f is 6.99999978 in double, 7 once rounded to single
    EXPECT_EQ(records::decoder_indices(kDipoleDipole, r, {0, 0.1f}).rx, 7);
    EXPECT_EQ(records::writer_indices(kDipoleDipole, r, {0, 0.1f}).rx, 6);
    // Spacing 0: neither has an index.
    r.x = 3;
    EXPECT_EQ(records::decoder_indices(kDipoleDipole, r, {0, 0}).tx, 0);
    EXPECT_EQ(records::writer_indices(kDipoleDipole, r, {0, 0}).tx, 0);
}

} // namespace
