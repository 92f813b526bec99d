#include "plot_geometry.h"

#include "array_codes.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace survey {

PseudoSectionPoint pseudo_section_point(const IpReading &r) {
    return records::pseudo_section_point(r.array_code, r);
}

double sounding_spacing(const IpReading &r) {
    return records::sounding_spacings(r.array_code, r).spacing;
}

double chargeability(const IpReading &reading, int channel) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    if (channel >= 0)
        return static_cast<std::size_t>(channel) < reading.m.size() ? reading.m[channel] : none;
    if (reading.m.empty()) return none;
    double sum = 0;
    for (float m : reading.m)
        sum += m;
    return sum / static_cast<double>(reading.m.size());
}

bool has_plottable_resistivity(const IpReading &reading) {
    return std::isfinite(reading.ro) && reading.ro > 0;
}

std::string array_name(std::uint16_t array_code) {
    if (const ravelin::ArrayKind *kind = ravelin::find_array(array_code))
        return std::string(kind->name);
    char name[16];
    std::snprintf(name, sizeof name, "array 0x%x", array_code);
    return name;
}

double reading_hours(const GravityReading &reading) {
    // Days since 1900-01-01 by the civil calendar, in integer arithmetic.
    const long long year = reading.date.year;
    const long long month = reading.date.month();
    const long long day = reading.date.day();
    const long long a = (month - 14) / 12;
    const long long y = year + a;
    const long long days = (1461 * (y + 4800)) / 4 + (367 * (month - 2 - 12 * a)) / 12 -
                           (3 * ((y + 4900) / 100)) / 4 + day - 2447094;
    return static_cast<double>(days) * 24.0 + reading.time_ms / 3600000.0;
}

} // namespace survey
