// ravelin-qc [--error-scope profile|survey] [--error-floor P] [--stdev-limit S]
// [--rescon-limit R] [--readings] FILE.tvd...: the repeats and reciprocals of each IP profile,
// their errors, the error model fitted to them, the decays, the readings each rule flags and
// those NAME.exclude leaves out and, with --readings, every reading's error.
#include "command_line.h"
#include "electrode_layout.h"
#include "exclusions.h"
#include "line_names.h"
#include "profile_counts.h"
#include "qc_arguments.h"
#include "reading_errors.h"
#include "survey_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Arguments {
    qc::QcOptions options;
    bool readings = false;
    std::vector<std::string> files;
};

std::optional<int> parse(int argc, char **argv, Arguments &args) {
    ravelin::CommandLine line(
        "ravelin-qc",
        "Prints, for each IP profile of the converted databases, its repeats and reciprocals,\n"
        "their errors, the error model fitted to them, how each reading got its error, its\n"
        "decays and the readings each rule flags or NAME.exclude leaves out.\n"
        "Exit status: 0 every database was reported; 1 a database could not be read, was\n"
        "damaged (what came before the damage is reported), held no IP profile readings or\n"
        "its NAME.exclude a line that could not be read; 2 bad arguments.",
        2);
    line.addOption("error-scope", "SCOPE",
                   "profile: one error model per profile (default); survey: one model over the "
                   "pairs of every profile of a survey.");
    line.addOption("error-floor", "P",
                   "Without a pair or a model, a reading's error is its Stdev, at least P "
                   "percent (default 3).");
    ravelin::addLimitOptions(line);
    line.addOption("readings", "",
                   "Also prints one CSV line per reading: its electrodes, R, its pair and its "
                   "error.");
    line.addArgument("FILE.tvd...", "The converted databases to check.");
    if (const std::optional<int> status = line.parse(argc, argv)) return status;

    if (const std::optional<int> status = ravelin::readErrorOptions(line, args.options))
        return status;
    if (const std::optional<int> status = ravelin::readLimitOptions(line, args.options.limits))
        return status;
    args.readings = line.isSet("readings");
    args.files = line.arguments();
    if (args.files.empty()) return line.fail("no database named");
    return std::nullopt;
}

std::string g(double value, int digits = 4) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

std::string percent(double fraction) {
    return g(100.0 * fraction, 3) + " %";
}

std::string model_text(const qc::ErrorModel &model) {
    std::string text = "error model over " + std::to_string(model.pairs) + " pairs";
    if (!model.power && !model.linear)
        return text + ": none (fewer than " + std::to_string(qc::kModelPairs) +
               " pairs); readings without a pair take the Stdev floor";
    text += " in " + std::to_string(model.bins) + " bins:";
    if (model.power)
        text += " power law |e| = " + g(model.power->a) + " R^" + g(model.power->b) + ";";
    if (model.linear)
        text += " linear law |e| = " + g(model.linear->a) + " R " +
                (model.linear->b < 0 ? "- " : "+ ") + g(std::fabs(model.linear->b));
    return text;
}

std::string position(const std::optional<double> &x) {
    return x ? g(*x, 10) : "remote";
}

void print_readings(const survey::Line &line, const qc::ProfileQc &profile,
                    const std::string &name) {
    for (std::size_t i = 0; i < line.ip_readings.size(); ++i) {
        const survey::IpReading &r = line.ip_readings[i];
        const survey::ElectrodeLayout e = survey::electrode_layout(r);
        const std::optional<double> t = qc::transfer_resistance(r);
        std::string text = name + "," + std::to_string(i + 1) + "," + position(e.a) + "," +
                           position(e.b) + "," + position(e.m) + "," + position(e.n) + "," +
                           (t ? g(*t, 6) : "") + ",";
        if (profile.pair_of[i]) {
            const qc::Pair &p = profile.pairs[*profile.pair_of[i]];
            text += std::string(p.kind == qc::PairKind::Repeat ? "repeat" : "reciprocal") + "," +
                    std::to_string((p.first == i ? p.second : p.first) + 1) + "," +
                    g(p.relative_error()) + ",";
        } else {
            text += "none,,,";
        }
        const qc::ReadingError &error = profile.errors[i];
        text += (error.source == qc::ErrorSource::None ? "" : g(error.relative)) + "," +
                qc::error_source_name(error.source);
        std::printf("%s\n", text.c_str());
    }
}

void report_profile(const survey::Line &line, const qc::ProfileQc &profile, const std::string &name,
                    bool with_model, const std::vector<bool> &excluded) {
    const qc::ProfileCounts counts = qc::count_profile(line.ip_readings, profile, excluded);
    int above = 0;
    int by_source[4] = {};
    std::vector<double> relative;
    for (const qc::Pair &p : profile.pairs) {
        relative.push_back(p.relative_error());
        above += p.relative_error() > qc::kPairLimit ? 1 : 0;
    }
    for (const qc::ReadingError &e : profile.errors)
        ++by_source[static_cast<int>(e.source)];
    std::printf("%s: %zu readings, %zu usable; %zu reciprocal pairs, %zu repeat pairs\n",
                name.c_str(), counts.readings, counts.usable, counts.reciprocals, counts.repeats);
    if (!relative.empty()) {
        std::sort(relative.begin(), relative.end());
        const std::size_t n = relative.size();
        const double median =
            n % 2 ? relative[n / 2] : 0.5 * (relative[n / 2 - 1] + relative[n / 2]);
        std::printf("  pair relative error: median %s, largest %s, %d above 20 %%\n",
                    percent(median).c_str(), percent(relative.back()).c_str(), above);
    }
    if (with_model) std::printf("  %s\n", model_text(*profile.model).c_str());
    std::printf("  errors: %d from pairs, %d from the model, %d from the floor; %d not usable, "
                "without one\n",
                by_source[static_cast<int>(qc::ErrorSource::Pair)],
                by_source[static_cast<int>(qc::ErrorSource::Model)],
                by_source[static_cast<int>(qc::ErrorSource::Floor)],
                by_source[static_cast<int>(qc::ErrorSource::None)]);
    std::printf("  decays: %zu fitted as a t^b; %zu rising, %zu not positive, %zu not falling as "
                "a t^b, %zu off their dipole's master curve\n",
                counts.decays, counts.rising, counts.not_positive, counts.not_falling,
                counts.off_master);
    std::printf("  flagged: %s; excluded by hand %zu\n", qc::flagged_text(counts).c_str(),
                counts.excluded);
}

// "S1,L100N": the survey's number in the file and the line, as the export file names give them.
std::string profile_name(const qc::ProfileQc &profile, const survey::Line &line) {
    std::string name = "S";
    name += std::to_string(profile.survey + 1);
    name += ',';
    name += exports::line_file_part(line);
    return name;
}

// Reports one database; false when it could not be read whole or held no IP profile.
bool report(const std::string &file, const Arguments &args) {
    const survey::LoadResult loaded = survey::load_database(file);
    if (loaded.stop == survey::LoadStop::CannotOpen) {
        std::fprintf(stderr, "ravelin-qc: %s: %s\n", file.c_str(),
                     survey::stop_reason(loaded).c_str());
        return false;
    }
    const survey::Database &db = loaded.database;
    const qc::DatabaseQc result = qc::check_database(db, args.options);
    const exports::Exclusions exclusions = exports::read_exclusions(exports::exclusions_path(file));
    const exports::ExcludedLines excluded = exports::excluded_lines(exclusions, db);
    const qc::ErrorModel *last_model = nullptr;
    for (const qc::ProfileQc &profile : result.profiles) {
        const survey::Line &line = db.surveys[profile.survey].lines[profile.line];
        const std::string name = profile_name(profile, line);
        // With one model per survey it is printed before the survey's first profile.
        const bool survey_scope = args.options.scope == qc::ErrorScope::Survey;
        if (survey_scope && profile.model != last_model)
            std::printf("%s S%zu: survey %s\n", file.c_str(), profile.survey + 1,
                        model_text(*profile.model).c_str());
        last_model = profile.model;
        std::printf("%s ", file.c_str());
        const auto by_hand = excluded.find({profile.survey, profile.line});
        report_profile(line, profile, name, !survey_scope,
                       by_hand == excluded.end() ? std::vector<bool>{} : by_hand->second);
    }
    if (args.readings) {
        std::printf("SURVEY,LINE,READING,A,B,M,N,R,PAIR,WITH,PAIR_ERROR,ERROR,SOURCE\n");
        for (const qc::ProfileQc &profile : result.profiles) {
            const survey::Line &line = db.surveys[profile.survey].lines[profile.line];
            print_readings(line, profile, profile_name(profile, line));
        }
    }
    std::fflush(stdout);
    bool ok = true;
    if (!loaded.complete()) {
        std::fprintf(stderr, "ravelin-qc: %s: %s Reported the readings before that point.\n",
                     file.c_str(), survey::stop_reason(loaded).c_str());
        ok = false;
    }
    for (const std::string &error : exclusions.errors) {
        std::fprintf(stderr, "ravelin-qc: %s\n", error.c_str());
        ok = false;
    }
    if (result.profiles.empty()) {
        std::fprintf(stderr, "ravelin-qc: %s: no IP profile readings\n", file.c_str());
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    Arguments args;
    if (const std::optional<int> status = parse(argc, argv, args)) return *status;
    bool ok = true;
    for (const std::string &file : args.files)
        ok = report(file, args) && ok;
    return ok ? 0 : 1;
}
