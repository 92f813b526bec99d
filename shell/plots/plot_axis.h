// A plot axis: the data range it shows, linear or logarithmic, and its ticks at round values
// (1, 2, 5 x 10^k on a linear axis; decades, or 1-2-5 within a short logarithmic range).
#pragma once

#include <string>
#include <vector>

namespace plots {

class Axis {
  public:
    Axis() = default;
    // A range of zero width is widened around its value; a logarithmic axis needs lo > 0.
    Axis(double lo, double hi, bool logarithmic);

    // A logarithmic axis over lo..hi widened to tick values at both ends, so that both ends of
    // the data read off it: to 1, 2 or 5 of a decade (whole decades beyond four of them), or to
    // the nearest whole multiples where that would leave the data less than half the axis.
    static Axis logarithmic_to_ticks(double lo, double hi);

    double lo() const { return lo_; }
    double hi() const { return hi_; }
    bool logarithmic() const { return log_; }

    // Where value lies between lo (0) and hi (1).
    double fraction(double value) const;

    std::vector<double> ticks() const;
    // Unlabelled ticks between those of a logarithmic axis of up to four decades: the whole
    // multiples of each decade that are not ticks. None on a linear axis.
    std::vector<double> minor_ticks() const;
    // A tick's label with as many decimals as the tick step needs.
    std::string label(double tick) const;

  private:
    double step() const; // the linear tick step
    double lo_ = 0, hi_ = 1;
    bool log_ = false;
};

// The smallest and largest finite values; {0, 1} when there are none.
struct Range {
    double lo = 0, hi = 1;
};
Range finite_range(const std::vector<double> &values, bool positive_only = false);

} // namespace plots
