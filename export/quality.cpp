#include "quality.h"

#include "gravity_csv_writer.h"
#include "number_text.h"

#include <cmath>

namespace exports {

namespace {

void add(std::string &doubts, std::string_view doubt) {
    if (!doubts.empty()) doubts += "; ";
    doubts += doubt;
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
            add(doubts,
                "M rising from window " + std::to_string(k) + " to " + std::to_string(k + 1));
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
