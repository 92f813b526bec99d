// A symmetric positive semi-definite sparse matrix factored as L D L' in the order of its rows
// (Eigen's simplicial LDLT, no reordering), the first unknown the matrix leaves undetermined, and
// the entries of its inverse where L has entries, by the recurrence of Takahashi, Fagan and Chin
// (1973): Z = D^-1 L^-1 + (I - L') Z, solved from the last column back. Those entries are the
// variances and covariances of unknowns that share an equation, without the whole inverse.
#pragma once

#include <Eigen/SparseCore>

#include <optional>
#include <vector>

namespace gravity {

class SelectedInverse {
  public:
    using Matrix = Eigen::SparseMatrix<double>;

    // The lower triangle of the matrix is read. A pivot at or below tolerance times its own
    // diagonal entry marks its unknown undetermined by the others before it.
    SelectedInverse(const Matrix &lower, double tolerance);

    // The first unknown found undetermined; nothing else is valid when there is one.
    std::optional<Eigen::Index> undetermined() const { return undetermined_; }

    Eigen::VectorXd solve(const Eigen::VectorXd &rhs) const;

    // The inverse's entry (a, b), for a pair of unknowns that share a row of the matrix.
    double at(Eigen::Index a, Eigen::Index b) const;

  private:
    std::vector<int> outer_, rows_; // L's strictly lower pattern, column by column, rows sorted
    std::vector<double> l_, z_;     // L's values, the inverse's on the same pattern
    std::vector<double> d_, z_diagonal_;
    std::optional<Eigen::Index> undetermined_;
};

} // namespace gravity
