#include "profile_readings.h"

#include "electrode_layout.h"
#include "plot_geometry.h"
#include "rules.h"

#include <algorithm>
#include <cmath>

namespace exports {

ArrayFamily array_family(std::uint16_t array_code) {
    if (survey::is_pole_dipole(array_code)) return ArrayFamily::PoleDipole;
    if (survey::is_pole_pole(array_code)) return ArrayFamily::PolePole;
    return ArrayFamily::FourElectrode;
}

namespace {

bool usable(double position) {
    return std::fabs(position) <= survey::kFarthestPosition;
}

// Every value finite, and the electrodes within reach.
bool sound(const survey::IpReading &r) {
    const double m = survey::chargeability(r, -1);
    return qc::values_finite(r) && usable(r.x) && usable(double{r.x} + r.da) &&
           usable(double{r.x} + r.db) && usable(double{r.x} + r.dn) &&
           (r.m.empty() || std::isfinite(m));
}

std::optional<survey::Point> flat(const std::optional<double> &x) {
    if (!x) return std::nullopt;
    return survey::Point{.x = *x};
}

bool has_geometric_factor(const survey::IpReading &r) {
    const survey::ElectrodeLayout e = survey::electrode_layout(r);
    return survey::geometric_factor(flat(e.a), flat(e.b), flat(e.m), flat(e.n)).has_value();
}

} // namespace

ProfileReadings select_profile_readings(const std::vector<survey::IpReading> &readings,
                                        const std::vector<int> *chosen_by) {
    ProfileReadings selected;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const survey::IpReading &r = readings[i];
        if (!sound(r)) {
            ++selected.unsound;
            continue;
        }
        if (!has_geometric_factor(r)) {
            ++selected.coincident;
            continue;
        }
        // The inversions work on log(rhoa): a row with Ro of 0 or below stops or corrupts them.
        if (!(r.ro > 0)) {
            ++selected.not_positive;
            continue;
        }
        if (chosen_by && (*chosen_by)[i] >= 0) {
            const auto reason = static_cast<std::size_t>((*chosen_by)[i]);
            if (selected.chosen.size() <= reason) selected.chosen.resize(reason + 1);
            ++selected.chosen[reason];
            continue;
        }
        const ArrayFamily family = array_family(r.array_code);
        auto group = std::find_if(selected.groups.begin(), selected.groups.end(),
                                  [&](const ReadingGroup &g) { return g.family == family; });
        if (group == selected.groups.end())
            group = selected.groups.insert(group, ReadingGroup{.family = family, .readings = {}});
        group->readings.push_back(&r);
    }
    return selected;
}

bool every_reading_has_chargeability(const std::vector<const survey::IpReading *> &readings) {
    return std::all_of(readings.begin(), readings.end(),
                       [](const survey::IpReading *r) { return !r->m.empty(); });
}

} // namespace exports
