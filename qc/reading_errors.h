// Quality control of a database's IP profiles: each profile's repeats and reciprocals, the error
// model fitted to its pairs (or to its survey's), the error of each reading, its decay and the
// rules it falls under.
#pragma once

#include "error_model.h"
#include "pairs.h"
#include "rules.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace qc {

// Whether the error model is fitted to each profile's pairs or to all pairs of its survey.
enum class ErrorScope { Profile, Survey };

inline constexpr double kDefaultErrorFloor = 3.0; // percent

// The options by name, read alike by the tools and the Python module: "profile" or "survey".
std::optional<ErrorScope> error_scope(std::string_view name);
inline constexpr const char *kErrorScopeRule = "takes profile or survey";
// Whether an error floor in percent is above 0 and at most 100.
bool error_floor_allowed(double percent);
inline constexpr const char *kErrorFloorRule = "takes a percentage above 0, up to 100";

struct QcOptions {
    ErrorScope scope = ErrorScope::Profile;
    // Percent: the least floor error of a reading. Above 0, so that no reading's error is 0.
    double error_floor = kDefaultErrorFloor;
    Limits limits{}; // of Stdev and ResCon
};

enum class ErrorSource {
    None,  // the reading takes no part (see pairable()): no error
    Pair,  // its own repeat's or reciprocal's
    Model, // the power law at its |R|
    Floor, // its Stdev, or the floor when that is larger
};

// "none", "pair", "model" or "floor", as ravelin-qc --readings and the Python module name it.
const char *error_source_name(ErrorSource source);

struct ReadingError {
    ErrorSource source = ErrorSource::None;
    double relative = 0; // a fraction of |R|
};

struct ProfileQc {
    std::size_t survey = 0, line = 0; // indices in the database
    std::vector<Pair> pairs;
    // Per reading of the line: the index of its pair, if it has one.
    std::vector<std::optional<std::size_t>> pair_of;
    const ErrorModel *model = nullptr; // the model its errors came from; see DatabaseQc
    std::vector<ReadingError> errors;  // per reading of the line
    std::vector<DecayCheck> decays;    // per reading of the line
    std::vector<Rules> flags;          // per reading of the line
};

struct DatabaseQc {
    std::vector<ProfileQc> profiles; // the profiles with IP readings, in file order
    // One model per profile (scope Profile) or per survey with profiles (scope Survey); the
    // profiles point into it, so it is not resized after.
    std::vector<ErrorModel> models;
};

// A reading's error: its pair's relative error where it has one that is not 0 (a pair that
// agrees to the last digit says nothing of its error), else the power law's |e| / |R| where the
// model has one, else max(Stdev, floor) / 100. R is the transfer resistance, or Ro without one.
ReadingError reading_error(const survey::IpReading &reading, const Pair *pair,
                           const ErrorModel &model, double error_floor);

// Where an export takes each reading's error from: its own repeat or reciprocal, else the error
// model, else the Stdev floor (Pairs); the error model, else the floor (Model); the floor alone
// (Stdev).
enum class ErrorChoice { Pairs, Model, Stdev };

// The error of reading index of a checked profile by the source chosen.
ReadingError chosen_error(const ProfileQc &profile, const survey::IpReading &reading,
                          std::size_t index, ErrorChoice choice, double error_floor);

DatabaseQc check_database(const survey::Database &database, const QcOptions &options);

} // namespace qc
