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

std::string ip_doubts(float ro, float stdev, std::uint16_t res_con, const qc::DecayCheck &decay,
                      const qc::Pair *pair, const qc::Limits &limits) {
    std::string doubts;
    if (!std::isfinite(ro))
        add(doubts, "Ro not finite");
    else if (ro <= 0)
        add(doubts, "Ro not positive");
    if (!(stdev <= limits.stdev)) add(doubts, "Stdev above " + compact(limits.stdev, 3));
    // A decay that rises instead of falling points at a noisy channel or a bad contact.
    if (decay.rising_from > 0) {
        // Appended in place: no temporary strings for every reading whose decay rises.
        next(doubts) += "M rising from window ";
        append_integer(doubts, decay.rising_from);
        doubts += " to ";
        append_integer(doubts, decay.rising_from + 1);
    }
    if (decay.not_positive) add(doubts, "decay not positive");
    if (decay.not_falling) add(doubts, "decay not falling as a t^b");
    if (decay.off_master) add(doubts, "decay off its dipole's master curve");
    if (res_con > limits.rescon) add(doubts, "ResCon above " + compact(limits.rescon, 3));
    if (pair && pair->relative_error() > qc::kPairLimit)
        next(doubts) += (pair->kind == qc::PairKind::Repeat ? "repeat error above "
                                                            : "reciprocal error above ") +
                        compact(100 * qc::kPairLimit, 3) + " %";
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
