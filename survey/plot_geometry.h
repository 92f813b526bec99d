// Where readings stand on a plot: the pseudo-section position and level of a profile reading,
// the spacing of a sounding reading, the chargeability shown for a reading, and the time of a
// gravity reading on one clock. The positions are the survey text file's (array_geometry.h).
#pragma once

#include "array_geometry.h"
#include "survey_model.h"

#include <cstdint>
#include <string>

namespace survey {

// What a pseudo-section level counts, and a reading's position and level (array_geometry.h).
using records::level_kind;
using records::LevelKind;
using records::PseudoSectionPoint;

// The position and level of a reading taken in a profile.
PseudoSectionPoint pseudo_section_point(const IpReading &reading);

// The electrode spacing of a sounding reading (AB/2 or a) as the survey text file gives it.
double sounding_spacing(const IpReading &reading);

// Chargeability shown for a reading: M channel `channel` (from 0), or with channel < 0 the mean
// of the channels the reading carries. NaN when the reading has no such channel.
double chargeability(const IpReading &reading, int channel);

// Whether Ro can be drawn on a logarithmic scale (positive and finite).
bool has_plottable_resistivity(const IpReading &reading);

// The name of an array code ("Dipole_Dipole", ...), or "array 0x7e" for an unknown code.
std::string array_name(std::uint16_t array_code);

// The time of a gravity reading in hours since 1900-01-01 00:00 of the instrument's clock, so
// readings of different days compare. A date that is not valid BCD still gives a number, of no
// meaning.
double reading_hours(const GravityReading &reading);

} // namespace survey
