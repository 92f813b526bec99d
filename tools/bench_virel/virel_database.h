// A full-memory VIREL database for the benchmark: surveys of IP profiles with standard readings
// and their M channels, soundings and bore holes, built record by record with RawBuilder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravelin::bench {

struct VirelShape {
    int surveys = 10;
    int profiles_per_survey = 30;
    int soundings_per_survey = 3;
    int bore_holes_per_survey = 3;
    int readings_per_sounding = 24;
    int readings_per_bore_hole = 90;
    int m_channels = 6;          // on-time plus off-time windows of the IPI record
    std::size_t memory_size = 0; // readings per profile fill 99 % of it; erased bytes the rest
};

struct VirelDatabase {
    std::vector<std::uint8_t> bytes;
    int ip_readings = 0;
    int bore_hole_readings = 0;
};

VirelDatabase build_virel(const VirelShape &shape);

} // namespace ravelin::bench
