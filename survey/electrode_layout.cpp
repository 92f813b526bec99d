#include "electrode_layout.h"

#include <cmath>
#include <numbers>

namespace survey {

ElectrodeLayout electrode_layout(const IpReading &r) {
    return records::electrode_layout(r.array_code, r);
}

namespace {

// 1/distance between a current and a potential electrode; 0 when either is remote, empty when
// they coincide.
std::optional<double> inverse_distance(const std::optional<Point> &current,
                                       const std::optional<Point> &potential) {
    if (!current || !potential) return 0.0;
    const double dx = current->x - potential->x, dy = current->y - potential->y,
                 dz = current->z - potential->z;
    // Electrodes at one height and one cross-line place, as on a flat line: the distance is
    // exact without the divisions and the root hypot makes, and the same.
    const double d =
        dy == 0 && dz == 0 && std::isfinite(dx) ? std::fabs(dx) : std::hypot(dx, dy, dz);
    if (!(d > 0)) return std::nullopt;
    return 1.0 / d;
}

} // namespace

std::optional<double> geometric_factor(const std::optional<Point> &a, const std::optional<Point> &b,
                                       const std::optional<Point> &m,
                                       const std::optional<Point> &n) {
    const auto am = inverse_distance(a, m), bm = inverse_distance(b, m);
    const auto an = inverse_distance(a, n), bn = inverse_distance(b, n);
    if (!am || !bm || !an || !bn) return std::nullopt;
    const double sum = *am - *bm - *an + *bn;
    const double k = 2.0 * std::numbers::pi / sum;
    if (!std::isfinite(k) || std::fabs(sum) < 1e-12 * (*am + *bm + *an + *bn)) return std::nullopt;
    return k;
}

} // namespace survey
