// The relative-gravimeter CSV that network-adjustment programs read: one header line, then one
// line per KX-4 reading. GRAV and SD in mGal as the meter recorded them (GRAV with the meter's
// tide correction, TIDE that correction; TIDE 0 where the meter's Tide Correction option was
// off), TIME HH:MM:SS and DATE M/D/YYYY.
#pragma once

#include "survey_model.h"
#include "text_out.h"

#include <optional>
#include <string>

namespace exports {

inline constexpr std::string_view kGravityCsvHeader =
    "STATION,LAT,LON,ALT,GRAV,SD,TILTX,TILTY,TEMP,TIDE,DUR,REJ,TIME,DEC.TIME,TERRAIN,DATE";

struct GravityCsvOptions {
    // The meter's local time zone in hours east of UTC: times are shifted to UTC by it, and
    // a "%" comment line says so. Empty: times as the meter recorded them.
    std::optional<double> utc_offset_hours;
};

struct GravityCsv {
    int readings = 0;
    int invalid_dates = 0; // readings left out: a date that is no calendar date
    int not_finite = 0;    // readings left out: a value that is not a number
    int beyond_a_day = 0;  // readings left out: a time of day of 24 h or more
};

// Whether every number of a reading is finite: a reader would take "nan" for a gravity value.
bool is_finite(const survey::GravityReading &reading);

// Writes the CSV to out; gives what was written and left out.
GravityCsv gravity_csv(const survey::Database &database, const GravityCsvOptions &options,
                       TextOut &out);

// The station name of a reading: its line and station (or its coordinates), free of the
// characters the readers split lines at ("/", ":" and ",").
std::string station_name(const survey::GravityReading &reading);
void append_station_name(std::string &out, const survey::GravityReading &reading);

} // namespace exports
