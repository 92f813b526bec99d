#include "profile_electrodes.h"

#include <cmath>

namespace exports {

namespace {

// Positions are told apart to the millimetre: float noise in X + dA must not make two
// electrodes of one peg.
long long position_key(double x) {
    return std::llround(x * 1000.0);
}

// Fills the values not known from a reading by straight lines between the known neighbours,
// and with the nearest known value beyond the first and last.
void fill_between(std::vector<double> &values, const std::vector<bool> &known,
                  const std::vector<Point> &points) {
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
    for (const survey::IpReading *r : readings) {
        const ElectrodeLayout layout = electrode_layout(*r);
        for (const auto &x : {layout.a, layout.b, layout.m, layout.n})
            if (x) numbers_.emplace(position_key(*x), 0);
        has_elevation_ = has_elevation_ || r->z != 0;
        has_cross_line_ = has_cross_line_ || r->y != 0;
    }
    for (auto &[key, index] : numbers_) {
        index = static_cast<int>(points_.size());
        points_.push_back({.x = static_cast<double>(key) / 1000.0});
    }

    // A reading's Y and Z are those of its own position X, the first potential electrode.
    std::vector<double> y(points_.size()), z(points_.size());
    std::vector<bool> known(points_.size(), false);
    for (const survey::IpReading *r : readings) {
        const int index = numbers_.at(position_key(r->x));
        if (known[index]) continue;
        known[index] = true;
        y[index] = r->y;
        z[index] = r->z;
    }
    fill_between(y, known, points_);
    fill_between(z, known, points_);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        points_[i].y = y[i];
        points_[i].z = z[i];
    }
}

int ProfileElectrodes::number(const std::optional<double> &x) const {
    if (!x) return 0;
    const auto found = numbers_.find(position_key(*x));
    return found == numbers_.end() ? 0 : found->second + 1;
}

std::optional<Point> ProfileElectrodes::point(const std::optional<double> &x) const {
    const int n = number(x);
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
