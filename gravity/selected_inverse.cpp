#include "selected_inverse.h"

#include <Eigen/SparseCholesky>

#include <algorithm>
#include <cmath>

namespace gravity {

SelectedInverse::SelectedInverse(const Matrix &lower, double tolerance) {
    Eigen::SimplicialLDLT<Matrix, Eigen::Lower, Eigen::NaturalOrdering<int>> ldlt(lower);
    const Eigen::Index n = lower.rows();
    const Eigen::VectorXd diagonal = lower.diagonal();
    // The factorization stops at a pivot of exactly 0; what follows it is not set.
    const Eigen::VectorXd pivots = ldlt.vectorD();
    for (Eigen::Index k = 0; k < n; ++k) {
        if (!(std::fabs(pivots[k]) > tolerance * diagonal[k])) {
            undetermined_ = k;
            return;
        }
    }
    d_.assign(pivots.data(), pivots.data() + n);
    const Matrix &l = ldlt.matrixL().nestedExpression();
    outer_.assign(l.outerIndexPtr(), l.outerIndexPtr() + n + 1);
    rows_.assign(l.innerIndexPtr(), l.innerIndexPtr() + l.nonZeros());
    l_.assign(l.valuePtr(), l.valuePtr() + l.nonZeros());
    // An uncompressed factor keeps room after each column's entries.
    if (!l.isCompressed()) {
        std::vector<int> outer{0}, rows;
        std::vector<double> values;
        for (Eigen::Index j = 0; j < n; ++j) {
            for (Matrix::InnerIterator it(l, j); it; ++it) {
                rows.push_back(static_cast<int>(it.index()));
                values.push_back(it.value());
            }
            outer.push_back(static_cast<int>(rows.size()));
        }
        outer_ = std::move(outer);
        rows_ = std::move(rows);
        l_ = std::move(values);
    }

    z_.assign(l_.size(), 0);
    z_diagonal_.assign(n, 0);
    for (Eigen::Index i = n - 1; i >= 0; --i) {
        const int begin = outer_[i];
        const int end = outer_[i + 1];
        // Z(j, i) = -sum over k of L(k, i) Z(k, j), for each j below i in L's column i; the
        // column's pattern holds every pair it needs (the factor's pattern is chordal).
        for (int p = begin; p < end; ++p) {
            double sum = 0;
            for (int q = begin; q < end; ++q)
                sum += l_[q] * at(rows_[q], rows_[p]);
            z_[p] = -sum;
        }
        double sum = 0;
        for (int p = begin; p < end; ++p)
            sum += l_[p] * z_[p];
        z_diagonal_[i] = 1 / d_[i] - sum;
    }
}

double SelectedInverse::at(Eigen::Index a, Eigen::Index b) const {
    if (a == b) return z_diagonal_[a];
    const Eigen::Index row = std::max(a, b), column = std::min(a, b);
    const auto first = rows_.begin() + outer_[column];
    const auto last = rows_.begin() + outer_[column + 1];
    const auto found = std::lower_bound(first, last, static_cast<int>(row));
    return found != last && *found == row ? z_[static_cast<std::size_t>(found - rows_.begin())] : 0;
}

Eigen::VectorXd SelectedInverse::solve(const Eigen::VectorXd &rhs) const {
    Eigen::VectorXd x = rhs;
    const auto n = static_cast<Eigen::Index>(d_.size());
    for (Eigen::Index j = 0; j < n; ++j) // L y = b
        for (int p = outer_[j]; p < outer_[j + 1]; ++p)
            x[rows_[p]] -= l_[p] * x[j];
    for (Eigen::Index j = 0; j < n; ++j) // D z = y
        x[j] /= d_[j];
    for (Eigen::Index j = n - 1; j >= 0; --j) // L' x = z
        for (int p = outer_[j]; p < outer_[j + 1]; ++p)
            x[j] -= l_[p] * x[rows_[p]];
    return x;
}

} // namespace gravity
