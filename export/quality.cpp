#include "quality.h"

#include "gravity_csv_writer.h"
#include "number_text.h"

#include <cmath>

namespace exports {

namespace {

// Starts a new doubt: after the separator when others came before.
std::string &next(std::string &doubts) {
    if (!doubts.empty()) doubts += "; ";
    return doubts;
}

void add(std::string &doubts, std::string_view doubt) {
    next(doubts) += doubt;
}

} // namespace

std::string ip_doubts(float ro, float stdev, const std::vector<float> &m, double stdev_limit) {
    std::string doubts;
    if (!std::isfinite(ro))
        add(doubts, "Ro not finite");
    else if (ro <= 0)
        add(doubts, "Ro not positive");
    if (!(stdev <= stdev_limit)) add(doubts, "Stdev above " + compact(stdev_limit, 3));
    // A decay that rises instead of falling points at a noisy channel or a bad contact.
    for (std::size_t k = 1; k < m.size(); ++k)
        if (m[k] > m[k - 1]) {
            // Appended in place: no temporary strings for every reading whose decay rises.
            next(doubts) += "M rising from window ";
            append_integer(doubts, static_cast<long long>(k));
            doubts += " to ";
            append_integer(doubts, static_cast<long long>(k + 1));
            break;
        }
    return doubts;
}

std::string gravity_doubts(const survey::GravityReading &r) {
    std::string doubts;
    if (!is_finite(r)) add(doubts, "a value not finite");
    if (!(r.standard_deviation <= kGravitySdLimit))
        add(doubts, "SD above " + compact(kGravitySdLimit, 3) + " mGal");
    if (r.rejected > kRejectedShareLimit * r.duration)
        add(doubts, "more than a tenth of the samples rejected");
    return doubts;
}

} // namespace exports
