#include "reading_errors.h"

#include <algorithm>
#include <cmath>

namespace qc {

const char *error_source_name(ErrorSource source) {
    switch (source) {
    case ErrorSource::Pair:
        return "pair";
    case ErrorSource::Model:
        return "model";
    case ErrorSource::Floor:
        return "floor";
    case ErrorSource::None:
        break;
    }
    return "none";
}

std::optional<ErrorScope> error_scope(std::string_view name) {
    if (name == "profile") return ErrorScope::Profile;
    if (name == "survey") return ErrorScope::Survey;
    return std::nullopt;
}

bool error_floor_allowed(double percent) {
    return percent > 0 && percent <= 100;
}

ReadingError reading_error(const survey::IpReading &reading, const Pair *pair,
                           const ErrorModel &model, double error_floor) {
    if (!pairable(reading)) return {};
    if (pair && pair->error() != 0) return {ErrorSource::Pair, pair->relative_error()};
    const double r = std::fabs(transfer_resistance(reading).value_or(reading.ro));
    if (model.power) {
        const double relative = model.power->at(r) / r;
        if (std::isfinite(relative) && relative > 0) return {ErrorSource::Model, relative};
    }
    const double stdev = std::isfinite(reading.stdev) ? double{reading.stdev} : 0.0;
    return {ErrorSource::Floor, std::max(stdev, error_floor) / 100.0};
}

ReadingError chosen_error(const ProfileQc &profile, const survey::IpReading &reading,
                          std::size_t index, ErrorChoice choice, double error_floor) {
    static const ErrorModel no_model;
    if (choice == ErrorChoice::Pairs) return profile.errors[index];
    return reading_error(reading, nullptr, choice == ErrorChoice::Model ? *profile.model : no_model,
                         error_floor);
}

namespace {

std::vector<PairPoint> points(const std::vector<Pair> &pairs) {
    std::vector<PairPoint> out;
    out.reserve(pairs.size());
    for (const Pair &p : pairs)
        out.push_back({.mean = p.mean(), .error = std::fabs(p.error())});
    return out;
}

} // namespace

DatabaseQc check_database(const survey::Database &database, const QcOptions &options) {
    DatabaseQc qc;
    std::vector<std::size_t> model_of; // per profile, its model's index
    for (std::size_t s = 0; s < database.surveys.size(); ++s) {
        std::vector<PairPoint> survey_points;
        const std::size_t first_profile = qc.profiles.size();
        const std::vector<survey::Line> &lines = database.surveys[s].lines;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const survey::Line &line = lines[l];
            if (line.kind != survey::LineKind::Profile || line.ip_readings.empty()) continue;
            ProfileQc &profile = qc.profiles.emplace_back();
            profile.survey = s;
            profile.line = l;
            profile.pairs = match_pairs(line.ip_readings);
            std::vector<PairPoint> pair_points = points(profile.pairs);
            if (options.scope == ErrorScope::Profile) {
                model_of.push_back(qc.models.size());
                qc.models.push_back(fit_error_model(std::move(pair_points)));
            } else {
                survey_points.insert(survey_points.end(), pair_points.begin(), pair_points.end());
                model_of.push_back(qc.models.size());
            }
        }
        if (options.scope == ErrorScope::Survey && qc.profiles.size() > first_profile)
            qc.models.push_back(fit_error_model(std::move(survey_points)));
    }

    for (std::size_t p = 0; p < qc.profiles.size(); ++p) {
        ProfileQc &profile = qc.profiles[p];
        profile.model = &qc.models[model_of[p]];
        const std::vector<survey::IpReading> &readings =
            database.surveys[profile.survey].lines[profile.line].ip_readings;
        profile.pair_of.assign(readings.size(), std::nullopt);
        for (std::size_t k = 0; k < profile.pairs.size(); ++k) {
            profile.pair_of[profile.pairs[k].first] = k;
            profile.pair_of[profile.pairs[k].second] = k;
        }
        profile.errors.reserve(readings.size());
        profile.decays = check_decays(readings);
        profile.flags.reserve(readings.size());
        for (std::size_t i = 0; i < readings.size(); ++i) {
            const Pair *pair = profile.pair_of[i] ? &profile.pairs[*profile.pair_of[i]] : nullptr;
            profile.errors.push_back(
                reading_error(readings[i], pair, *profile.model, options.error_floor));
            profile.flags.push_back(
                reading_flags(readings[i], profile.decays[i], pair, options.limits));
        }
    }
    return qc;
}

} // namespace qc
