#include "rules.h"

#include <cmath>

namespace qc {

std::string_view rule_name(Rule rule) {
    switch (rule) {
    case Rule::Ro:
        return "ro";
    case Rule::Nan:
        return "nan";
    case Rule::Stdev:
        return "stdev";
    case Rule::Decay:
        return "decay";
    case Rule::Reciprocal:
        return "reciprocal";
    case Rule::ResCon:
        return "rescon";
    }
    return "";
}

std::optional<Rules> rules_named(std::string_view list) {
    if (list == "none") return Rules{0};
    Rules rules = 0;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = false;
        for (Rule rule : kRules)
            if (rule_name(rule) == name) {
                rules |= bit(rule);
                known = true;
            }
        if (!known) return std::nullopt;
        if (comma == std::string_view::npos) return rules;
        list.remove_prefix(comma + 1);
    }
}

bool values_finite(const survey::IpReading &r) {
    for (float v : {r.x, r.y, r.z, r.dn, r.da, r.db, r.ro, r.stdev})
        if (!std::isfinite(v)) return false;
    for (float v : r.m)
        if (!std::isfinite(v)) return false;
    return true;
}

Rules reading_flags(const survey::IpReading &reading, const DecayCheck &decay, const Pair *pair,
                    const Limits &limits) {
    Rules rules = 0;
    if (std::isfinite(reading.ro) && !(reading.ro > 0)) rules |= bit(Rule::Ro);
    if (!values_finite(reading)) rules |= bit(Rule::Nan);
    if (std::isfinite(reading.stdev) && reading.stdev > limits.stdev) rules |= bit(Rule::Stdev);
    if (decay.flagged()) rules |= bit(Rule::Decay);
    if (pair && pair->relative_error() > kPairLimit) rules |= bit(Rule::Reciprocal);
    if (reading.res_con > limits.rescon) rules |= bit(Rule::ResCon);
    return rules;
}

} // namespace qc
