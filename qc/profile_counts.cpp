#include "profile_counts.h"

namespace qc {

ProfileCounts count_profile(const std::vector<survey::IpReading> &readings,
                            const ProfileQc &profile, const std::vector<bool> &excluded) {
    ProfileCounts counts;
    counts.readings = readings.size();
    for (const survey::IpReading &r : readings)
        counts.usable += pairable(r) ? 1 : 0;
    for (const Pair &p : profile.pairs)
        ++(p.kind == PairKind::Reciprocal ? counts.reciprocals : counts.repeats);
    for (const DecayCheck &d : profile.decays) {
        counts.decays += d.law ? 1 : 0;
        counts.rising += d.rising_from > 0 ? 1 : 0;
        counts.not_positive += d.not_positive ? 1 : 0;
        counts.not_falling += d.not_falling ? 1 : 0;
        counts.off_master += d.off_master ? 1 : 0;
    }
    for (Rules flags : profile.flags)
        for (std::size_t k = 0; k < kRules.size(); ++k)
            counts.flagged[k] += (flags & bit(kRules[k])) ? 1 : 0;
    for (bool e : excluded)
        counts.excluded += e ? 1 : 0;
    return counts;
}

std::string flagged_text(const ProfileCounts &counts) {
    std::string text;
    for (std::size_t k = 0; k < kRules.size(); ++k)
        text.append(k ? ", " : "")
            .append(rule_name(kRules[k]))
            .append(1, ' ')
            .append(std::to_string(counts.flagged[k]));
    return text;
}

} // namespace qc
