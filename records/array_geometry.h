// The geometry of each electrode array, written down once. A standard reading (IPR standard
// record) gives X, the position of the potential electrode M, and the distances dA, dB and dN
// of A, B and N from it; pole arrays leave their far electrodes at "infinity" (remote). From
// these come where the electrodes stood, where a reading stands on a pseudo-section and at which
// level, the spacings of a sounding reading and the pseudo-section file's position indices.
//
// Positions are computed in double precision from the single-precision fields and rounded to
// single precision, as the survey text file prints them. The pseudo-section indices exist in
// two roundings, each reproducing the program that writes them: the decoder's, from the raw
// database, and the pseudo-section writer's, from the converted one.
#pragma once

#include "ip_records.h"

#include <cstdint>
#include <optional>

namespace records {

// Rounds a double to single precision as the FPU would, without the undefined behaviour of
// converting a value beyond the float range.
float to_single(double value);

// Pole-dipole: B is remote. Pole-pole arrays: B and N are remote.
bool is_pole_dipole(std::uint16_t array_code);
bool is_pole_pole(std::uint16_t array_code);

// Positions along the line; an empty optional is a remote electrode.
struct ElectrodeLayout {
    std::optional<double> a, b, m, n;
};

// Where A, B, M and N stood. Positions are rounded to the millimetre, so that float noise in
// X + dA cannot make two electrodes of one peg, nor two electrodes closer than that differ.
ElectrodeLayout electrode_layout(std::uint16_t array_code, const IpStandard &reading);

// What a pseudo-section level counts.
enum class LevelKind {
    DipoleNumber, // n of dipole-dipole, pole-dipole, offset Wenner and unknown arrays
    Separation,   // electrode separation a (Wenner, pole-pole, lateral, gradient)
    HalfSpread,   // AB/2 of a Schlumberger array
};

LevelKind level_kind(std::uint16_t array_code);

struct PseudoSectionPoint {
    double position = 0; // along the line, the array's centre without remote electrodes
    double level = 0;    // n, a or AB/2 by level_kind
    LevelKind level_kind = LevelKind::DipoleNumber;
};

// The position (Xp) and level of a reading taken in a profile, as the survey text file gives
// them and the plots draw them.
PseudoSectionPoint pseudo_section_point(std::uint16_t array_code, const IpStandard &reading);

// MN/2, the Schlumberger column after AB/2.
double half_potential_dipole(const IpStandard &reading);

// The two spacing columns of a sounding reading in the survey text file: AB/2 (or a) then MN/2,
// a Wenner sounding a twice, a dipole-dipole one -dB and -dB/n (0 for a reading without n).
struct SoundingSpacings {
    double spacing = 0;
    double second = 0;
};

SoundingSpacings sounding_spacings(std::uint16_t array_code, const IpStandard &reading);

// Electrode spacing and left electrode of a profile's pseudo-section, from its first reading.
struct ProfileGeometry {
    float left_electrode = 0;
    float spacing = 0;
};

ProfileGeometry profile_geometry(std::uint16_t array_code, const IpStandard &first);

// TX_INDEX and RX_INDEX of a reading in a profile. An index that cannot be computed (spacing 0,
// or a quotient beyond the range of an int) is 0.
struct PseudoSectionIndices {
    int tx = 0;
    int rx = 0;
};

// As the decoder writes them: X + dA stays in double precision; the receiver quotient is
// rounded to single precision before its fraction is dropped.
PseudoSectionIndices decoder_indices(std::uint16_t array_code, const IpStandard &reading,
                                     ProfileGeometry geometry);

// As the pseudo-section writer writes them: X + dA is rounded to single precision before the
// division; the receiver quotient is truncated in double precision.
PseudoSectionIndices writer_indices(std::uint16_t array_code, const IpStandard &reading,
                                    ProfileGeometry geometry);

} // namespace records
