#include "profile_electrodes.h"

#include <algorithm>
#include <cmath>

namespace exports {

namespace {

// The electrode layout gives positions to the millimetre; as integers they sort and compare
// exactly.
long long position_key(double x) {
    return std::llround(x * 1000.0);
}

// Fills the values not known from a reading by straight lines between the known neighbours,
// and with the nearest known value beyond the first and last.
void fill_between(std::vector<double> &values, const std::vector<bool> &known,
                  const std::vector<survey::Point> &points) {
    std::optional<std::size_t> previous;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!known[i]) continue;
        const std::size_t from = previous ? *previous + 1 : 0;
        for (std::size_t j = from; j < i; ++j) {
            if (!previous) {
                values[j] = values[i];
                continue;
            }
            const double t =
                (points[j].x - points[*previous].x) / (points[i].x - points[*previous].x);
            values[j] = values[*previous] + t * (values[i] - values[*previous]);
        }
        previous = i;
    }
    if (previous)
        for (std::size_t j = *previous + 1; j < values.size(); ++j)
            values[j] = values[*previous];
}

} // namespace

ProfileElectrodes::ProfileElectrodes(const std::vector<const survey::IpReading *> &readings) {
    std::vector<std::array<std::optional<long long>, 4>> keys;
    keys.reserve(readings.size());
    std::vector<long long> places;
    places.reserve(readings.size() * 4);
    for (const survey::IpReading *r : readings) {
        const survey::ElectrodeLayout layout = survey::electrode_layout(*r);
        auto &reading_keys = keys.emplace_back();
        // Readings in a row mostly share their current electrodes: a place the reading before
        // gave for the same electrode is in the list already.
        const std::array<std::optional<long long>, 4> *before =
            keys.size() > 1 ? &keys[keys.size() - 2] : nullptr;
        std::size_t e = 0;
        for (const auto &x : {layout.a, layout.b, layout.m, layout.n}) {
            if (x) {
                const long long key = reading_keys[e].emplace(position_key(*x));
                if (!before || (*before)[e] != key) places.push_back(key);
            }
            ++e;
        }
        has_elevation_ = has_elevation_ || r->z != 0;
        has_cross_line_ = has_cross_line_ || r->y != 0;
    }
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    for (long long key : places)
        points_.push_back({.x = static_cast<double>(key) / 1000.0});
    auto number_of = [&](long long key) {
        return static_cast<int>(std::lower_bound(places.begin(), places.end(), key) -
                                places.begin()) +
               1;
    };
    numbers_.reserve(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        std::array<int, 4> &n = numbers_.emplace_back();
        for (std::size_t e = 0; e < 4; ++e) {
            const std::optional<long long> &key = keys[k][e];
            if (!key)
                n[e] = 0;
            else if (k > 0 && keys[k - 1][e] == key)
                n[e] = numbers_[k - 1][e];
            else
                n[e] = number_of(*key);
        }
    }

    // A reading's Y and Z are those of its own position X, the first potential electrode (M).
    std::vector<double> y(points_.size()), z(points_.size());
    std::vector<bool> known(points_.size(), false);
    for (std::size_t k = 0; k < readings.size(); ++k) {
        const auto index = static_cast<std::size_t>(numbers_[k][2] - 1);
        if (known[index]) continue;
        known[index] = true;
        y[index] = readings[k]->y;
        z[index] = readings[k]->z;
    }
    fill_between(y, known, points_);
    fill_between(z, known, points_);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        points_[i].y = y[i];
        points_[i].z = z[i];
    }
}

std::optional<survey::Point> ProfileElectrodes::point(int n) const {
    if (n == 0) return std::nullopt;
    return points_[static_cast<std::size_t>(n - 1)];
}

double ProfileElectrodes::smallest_spacing() const {
    double smallest = 0;
    for (std::size_t i = 1; i < points_.size(); ++i) {
        const double d = points_[i].x - points_[i - 1].x;
        if (smallest == 0 || d < smallest) smallest = d;
    }
    return smallest;
}

} // namespace exports
