#include "chi_square.h"

#include <cmath>

namespace gravity {

namespace {

// The regularized lower incomplete gamma function P(a, x): its series below a + 1, else one
// minus the continued fraction of Q(a, x) (modified Lentz).
double lower_gamma_ratio(double a, double x) {
    if (x <= 0) return 0;
    const double log_prefix = a * std::log(x) - x - std::lgamma(a);
    if (x < a + 1) {
        double term = 1 / a, sum = term;
        for (int n = 1; n < 10000 && std::fabs(term) > std::fabs(sum) * 1e-15; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return sum * std::exp(log_prefix);
    }
    constexpr double kTiny = 1e-300;
    double b = x + 1 - a, c = 1 / kTiny, d = 1 / b, h = d;
    for (int n = 1; n < 10000; ++n) {
        const double an = -n * (n - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < 1e-15) break;
    }
    return 1 - std::exp(log_prefix) * h;
}

} // namespace

double chi_square_cdf(double x, double dof) {
    return lower_gamma_ratio(dof / 2, x / 2);
}

double chi_square_quantile(double p, double dof) {
    // The distribution's mass lies well within mean + 10 standard deviations + 100.
    double low = 0, high = dof + 10 * std::sqrt(2 * dof) + 100;
    for (int i = 0; i < 200 && high - low > 1e-12 * (1 + high); ++i) {
        const double middle = (low + high) / 2;
        (chi_square_cdf(middle, dof) < p ? low : high) = middle;
    }
    return (low + high) / 2;
}

ChiSquareTest chi_square_test(double sigma0, double dof, double alpha) {
    return ChiSquareTest{.statistic = dof * sigma0 * sigma0,
                         .lower = chi_square_quantile(alpha / 2, dof),
                         .upper = chi_square_quantile(1 - alpha / 2, dof)};
}

} // namespace gravity
