// The rules that flag a reading as doubtful, each of which the exports can leave readings out by
// (ravelin-export --drop), and their limits.
#pragma once

#include "decay.h"
#include "pairs.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qc {

enum class Rule : std::uint8_t {
    Ro,         // Ro of 0 or below
    Nan,        // a value that is not a number
    Stdev,      // the stacking standard deviation above its limit
    Decay,      // a decay that rises, breaks m = a t^b (a > 0, b < 0) or is off its master curve
    Reciprocal, // its repeat or reciprocal differs by more than 20 %
    ResCon,     // the contact resistance above its limit
};
inline constexpr std::array kRules{Rule::Ro,    Rule::Nan,        Rule::Stdev,
                                   Rule::Decay, Rule::Reciprocal, Rule::ResCon};

// A set of rules, one bit each.
using Rules = std::uint8_t;
constexpr Rules bit(Rule rule) {
    return static_cast<Rules>(1u << static_cast<unsigned>(rule));
}
inline constexpr Rules kDefaultDrop =
    bit(Rule::Ro) | bit(Rule::Nan) | bit(Rule::Stdev) | bit(Rule::Decay) | bit(Rule::Reciprocal);

// "ro", "nan", "stdev", "decay", "reciprocal", "rescon".
std::string_view rule_name(Rule rule);
// A comma-separated list of rule names, or "none"; empty when a name is unknown.
std::optional<Rules> rules_named(std::string_view list);

inline constexpr double kDefaultStdevLimit = 5.0;      // percent
inline constexpr double kDefaultResConLimit = 20000.0; // ohm, as the receiver records ResCon
inline constexpr double kPairLimit = 0.2;              // relative pair error

struct Limits {
    double stdev = kDefaultStdevLimit;
    double rescon = kDefaultResConLimit;
};

// Every value an export writes is a number: position, distances, Ro, Stdev and the M channels.
bool values_finite(const survey::IpReading &reading);

// The rules a reading of a profile falls under; pair is its repeat or reciprocal, if any.
Rules reading_flags(const survey::IpReading &reading, const DecayCheck &decay, const Pair *pair,
                    const Limits &limits);

} // namespace qc
