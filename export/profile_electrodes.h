// The electrodes of one profile: every place an electrode of its readings stood, in order along
// the line and numbered from 1, with the elevation and cross-line coordinate the readings give.
#pragma once

#include "electrode_layout.h"

#include <map>
#include <vector>

namespace exports {

class ProfileElectrodes {
  public:
    explicit ProfileElectrodes(const std::vector<const survey::IpReading *> &readings);

    const std::vector<Point> &points() const { return points_; }
    // The number of the electrode at position x (from 1); 0 for a remote electrode.
    int number(const std::optional<double> &x) const;
    std::optional<Point> point(const std::optional<double> &x) const;

    // Whether any reading gives an elevation (Z) or a cross-line coordinate (Y) other than 0.
    bool has_elevation() const { return has_elevation_; }
    bool has_cross_line() const { return has_cross_line_; }

    // The smallest distance between neighbouring electrodes: the unit of the electrode grid.
    double smallest_spacing() const;

  private:
    std::map<long long, int> numbers_; // position in millimetres -> index into points_
    std::vector<Point> points_;
    bool has_elevation_ = false;
    bool has_cross_line_ = false;
};

} // namespace exports
