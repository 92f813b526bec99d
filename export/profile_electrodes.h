// The electrodes of one profile: every place an electrode of its readings stood, in order along
// the line and numbered from 1, with the elevation and cross-line coordinate the readings give.
#pragma once

#include "electrode_layout.h"

#include <array>
#include <vector>

namespace exports {

class ProfileElectrodes {
  public:
    explicit ProfileElectrodes(const std::vector<const survey::IpReading *> &readings);

    const std::vector<survey::Point> &points() const { return points_; }

    // The electrode numbers (from 1) of A, B, M and N of the k-th reading given to the
    // constructor; 0 for a remote electrode.
    const std::array<int, 4> &numbers(std::size_t k) const { return numbers_[k]; }
    // The electrode with number n, or empty for 0 (remote).
    std::optional<survey::Point> point(int n) const;

    // Whether any reading gives an elevation (Z) or a cross-line coordinate (Y) other than 0.
    bool has_elevation() const { return has_elevation_; }
    bool has_cross_line() const { return has_cross_line_; }

    // The smallest distance between neighbouring electrodes: the unit of the electrode grid.
    double smallest_spacing() const;

  private:
    std::vector<survey::Point> points_;
    std::vector<std::array<int, 4>> numbers_;
    bool has_elevation_ = false;
    bool has_cross_line_ = false;
};

} // namespace exports
