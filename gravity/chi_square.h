// The chi-square distribution, for the global test of an adjustment: with its weights right, the
// weighted square sum of the residuals v'Pv = dof x sigma0^2 follows chi-square with dof degrees
// of freedom.
#pragma once

namespace gravity {

// P(X <= x) for X chi-square with dof degrees of freedom (dof > 0).
double chi_square_cdf(double x, double dof);

// The x with chi_square_cdf(x, dof) = p, 0 < p < 1.
double chi_square_quantile(double p, double dof);

// The two-sided test at level alpha: v'Pv within the alpha/2 and 1 - alpha/2 quantiles.
struct ChiSquareTest {
    double statistic = 0; // v'Pv
    double lower = 0, upper = 0;
    bool passed() const { return statistic >= lower && statistic <= upper; }
};
ChiSquareTest chi_square_test(double sigma0, double dof, double alpha = 0.05);

} // namespace gravity
