#include "plot_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plots {

Axis::Axis(double lo, double hi, bool logarithmic) : lo_(lo), hi_(hi), log_(logarithmic) {
    if (lo_ > hi_) std::swap(lo_, hi_);
    if (log_) {
        if (!(lo_ > 0)) lo_ = hi_ > 0 ? hi_ / 10 : 1;
        if (!(hi_ > 0)) hi_ = 10;
        if (hi_ / lo_ < 1.0001) { // one value: a decade around it
            lo_ /= 3.1623;
            hi_ *= 3.1623;
        }
    } else if (hi_ - lo_ <= 1e-12 * std::max(1.0, std::fabs(lo_))) {
        const double half = std::max(0.5, std::fabs(lo_) * 0.05);
        lo_ -= half;
        hi_ += half;
    }
}

namespace {

// The largest multiple m * 10^e (m one of multiples, or 10) at most value, or with up, the
// smallest at least value.
double round_to_multiple(double value, const std::vector<double> &multiples, bool up) {
    const int e = static_cast<int>(std::floor(std::log10(value)));
    double best = up ? INFINITY : 0;
    for (int k = e - 1; k <= e + 1; ++k)
        for (double m : multiples) {
            const double t = m * std::pow(10.0, k);
            if (up ? t >= value * (1 - 1e-9) && t < best : t <= value * (1 + 1e-9) && t > best)
                best = t;
        }
    return best;
}

} // namespace

Axis Axis::logarithmic_to_ticks(double lo, double hi) {
    const Axis data(lo, hi, true);
    const double span = std::log10(data.hi_ / data.lo_);
    std::vector<std::vector<double>> choices = {{1, 2, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    if (span > 4) choices.insert(choices.begin(), {1});
    Axis axis = data;
    for (const std::vector<double> &multiples : choices) {
        axis = Axis(round_to_multiple(data.lo_, multiples, false),
                    round_to_multiple(data.hi_, multiples, true), true);
        if (span >= 0.5 * std::log10(axis.hi_ / axis.lo_)) break;
    }
    return axis;
}

double Axis::fraction(double value) const {
    if (log_) return std::log10(value / lo_) / std::log10(hi_ / lo_);
    return (value - lo_) / (hi_ - lo_);
}

double Axis::step() const {
    const double raw = (hi_ - lo_) / 8.0; // five to ten ticks
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw) return m * decade;
    return 10 * decade;
}

std::vector<double> Axis::ticks() const {
    std::vector<double> ticks;
    if (log_) {
        const int first = static_cast<int>(std::floor(std::log10(lo_)));
        const int last = static_cast<int>(std::ceil(std::log10(hi_)));
        // 1, 2 and 5 of every decade, so that values between the powers of ten read off the
        // axis; only the powers where that would crowd it (beyond four decades), and every
        // multiple within one decade, so the axis has at least three labels.
        const std::vector<double> multiples[3] = {{1}, {1, 2, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
        for (int fineness = last - first <= 4 ? 1 : 0; fineness < 3 && ticks.size() < 3;
             ++fineness) {
            ticks.clear();
            for (int e = first; e <= last; ++e)
                for (double m : multiples[fineness]) {
                    const double t = m * std::pow(10.0, e);
                    if (t >= lo_ * 0.9999 && t <= hi_ * 1.0001) ticks.push_back(t);
                }
        }
        // Within less than a decade the round values of a linear axis read better.
        if (ticks.size() < 3) return Axis(lo_, hi_, false).ticks();
        return ticks;
    }
    const double s = step();
    for (double t = std::ceil(lo_ / s - 1e-9) * s; t <= hi_ + s * 1e-9 && ticks.size() < 20; t += s)
        ticks.push_back(std::fabs(t) < s * 1e-9 ? 0.0 : t);
    return ticks;
}

std::vector<double> Axis::minor_ticks() const {
    std::vector<double> minor;
    if (!log_) return minor;
    const int first = static_cast<int>(std::floor(std::log10(lo_)));
    const int last = static_cast<int>(std::ceil(std::log10(hi_)));
    if (last - first > 4) return minor;
    const std::vector<double> labelled = ticks();
    for (int e = first; e <= last; ++e)
        for (int m = 1; m <= 9; ++m) {
            const double t = m * std::pow(10.0, e);
            const bool is_tick = std::any_of(labelled.begin(), labelled.end(), [&](double l) {
                return std::fabs(l - t) <= 1e-9 * t;
            });
            if (!is_tick && t >= lo_ * 0.9999 && t <= hi_ * 1.0001) minor.push_back(t);
        }
    return minor;
}

std::string Axis::label(double tick) const {
    const double s = log_ && hi_ / lo_ >= 10 ? tick : Axis(lo_, hi_, false).step();
    const int decimals =
        s >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(s) - 1e-9)));
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, tick);
    return text;
}

Range finite_range(const std::vector<double> &values, bool positive_only) {
    Range range{INFINITY, -INFINITY};
    for (double v : values) {
        if (!std::isfinite(v) || (positive_only && v <= 0)) continue;
        range.lo = std::min(range.lo, v);
        range.hi = std::max(range.hi, v);
    }
    if (range.lo > range.hi) return positive_only ? Range{1, 10} : Range{0, 1};
    return range;
}

} // namespace plots
