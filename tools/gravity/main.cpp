// ravelin-gravity [--base STATION] [--base-gravity MGAL] [--density KG_M3] [--utc-offset H]
// [--tide meter|model] [--drift-degree D] [--min-sd MGAL] [--residual-limit K] FILE.tvd...: reduces
// the KX-4 readings of the databases together and writes NAME-stations.csv, NAME-readings.csv and
// NAME-reduction.txt beside the first, printing the summary.
#include "atomic_file.h"
#include "command_line.h"
#include "output_name.h"
#include "reduction.h"
#include "reduction_options.h"
#include "survey_reader.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Arguments {
    gravity::ReductionOptions options;
    std::vector<std::string> files;
};

// Returns the exit status when the tool ends before reducing anything.
std::optional<int> parse(int argc, char **argv, Arguments &args) {
    ravelin::CommandLine line(
        "ravelin-gravity",
        "Reduces the KX-4 readings of the converted databases as one network: UTC times, the\n"
        "Longman (1959) tide compared with the meter's, a drift per loop (from one base reading\n"
        "to the next) and the stations adjusted together by least squares. Writes\n"
        "NAME-stations.csv, NAME-readings.csv and NAME-reduction.txt beside the first\n"
        "database (NAME: its name up to the first \".\") and prints the summary.\n"
        "Exit status: 0 the files were written; 1 nothing to reduce, a database could not be\n"
        "read or a file could not be written; 2 bad arguments, or --base names no station\n"
        "read.",
        2);
    line.addOption("base", "STATION",
                   "The base station, named as in the gravity CSV export (default: the first "
                   "station read).");
    line.addOption("base-gravity", "MGAL",
                   "The base's absolute gravity in mGal: each station's absolute gravity, "
                   "free-air and simple Bouguer anomaly.");
    line.addOption("density", "KG_M3", "The density of the Bouguer slab in kg/m^3 (default 2670).");
    line.addOption("utc-offset", "H",
                   "The meter's time zone in hours east of UTC, instead of the survey headers'.");
    line.addOption("tide", "SOURCE",
                   "meter or model: the tide correction applied (default: the meter's where its "
                   "Tide Correction option was on, else the model's).");
    line.addOption("drift-degree", "D",
                   "The degree of each loop's drift polynomial, 0 to 2 (default 1; 0: no drift).");
    line.addOption("min-sd", "MGAL",
                   "The least sigma of a reading, in mGal (default 0.003); a reading's sigma is "
                   "the larger of this and its SD.");
    line.addOption("residual-limit", "K",
                   "A residual beyond K sigma flags its reading and its station is read again "
                   "(default 3).");
    line.addArgument("FILE.tvd...", "The converted databases, reduced together.");
    if (const std::optional<int> status = line.parse(argc, argv)) return status;

    // A value that is no number is NaN here, which refused_option() refuses like any other.
    const auto number = [&line](const char *name) {
        return line.number(name).value_or(std::numeric_limits<double>::quiet_NaN());
    };
    gravity::ReductionOptions &o = args.options;
    if (line.isSet("base")) o.base = line.value("base");
    if (line.isSet("base-gravity")) o.base_gravity = number("base-gravity");
    if (line.isSet("density")) o.density = number("density");
    if (line.isSet("utc-offset")) o.utc_offset_hours = number("utc-offset");
    if (line.isSet("tide")) {
        const std::optional<gravity::TideSource> source = gravity::tide_source(line.value("tide"));
        if (!source) return line.fail(std::string("--tide ") + gravity::kTideSourceRule);
        o.tide = *source;
    }
    if (line.isSet("drift-degree")) {
        const double degree = number("drift-degree");
        o.drift_degree =
            degree == std::trunc(degree) && std::fabs(degree) <= 2 ? static_cast<int>(degree) : -1;
    }
    if (line.isSet("min-sd")) o.min_sd = number("min-sd");
    if (line.isSet("residual-limit")) o.residual_limit = number("residual-limit");
    if (const std::optional<gravity::RefusedOption> refused = gravity::refused_option(o))
        return line.fail("--" + refused->option + " " + refused->rule);
    args.files = line.arguments();
    if (args.files.empty()) return line.fail("no database named");
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv) {
    Arguments args;
    if (const std::optional<int> status = parse(argc, argv, args)) return *status;

    std::vector<survey::LoadResult> loaded;
    loaded.reserve(args.files.size());
    for (const std::string &file : args.files) {
        loaded.push_back(survey::load_database(file));
        const survey::LoadResult &result = loaded.back();
        if (result.stop == survey::LoadStop::CannotOpen) {
            std::fprintf(stderr, "ravelin-gravity: %s cannot be read\n", file.c_str());
            return 1;
        }
        // A damaged database gives the readings before the damage.
        if (!result.complete())
            std::fprintf(stderr, "ravelin-gravity: %s: %s\n", file.c_str(),
                         survey::stop_reason(result).c_str());
    }
    std::vector<const survey::Database *> databases;
    for (const survey::LoadResult &result : loaded)
        databases.push_back(&result.database);

    const gravity::Reduction reduction = gravity::reduce(databases, args.options);
    const std::string summary = gravity::summary_text(reduction);
    if (reduction.readings.empty()) {
        std::fputs(summary.c_str(), stdout);
        std::fprintf(stderr, "ravelin-gravity: no KX-4 reading to reduce\n");
        return 1;
    }
    if (!reduction.base_found) {
        std::fprintf(stderr, "ravelin-gravity: no station named \"%s\" was read\n",
                     args.options.base->c_str());
        return 2;
    }

    exports::FileBatch batch;
    const std::string &first = args.files.front();
    const std::pair<std::string, std::string> files[] = {
        {ravelin::output_name(first, "-stations.csv"), gravity::stations_csv(reduction)},
        {ravelin::output_name(first, "-readings.csv"), gravity::readings_csv(reduction)},
        {ravelin::output_name(first, "-reduction.txt"), summary},
    };
    std::vector<std::string> errors;
    for (const auto &file : files) {
        const std::string error = batch.stage(file.first, [&file](exports::TextOut &out) {
            out.append(file.second);
            return true;
        });
        if (!error.empty()) errors.push_back(error);
    }
    const exports::FileBatch::Committed committed = batch.commit();
    errors.insert(errors.end(), committed.errors.begin(), committed.errors.end());
    std::fputs(summary.c_str(), stdout);
    for (const std::string &path : committed.named)
        std::printf("%s\n", path.c_str());
    for (const std::string &error : errors)
        std::fprintf(stderr, "ravelin-gravity: %s\n", error.c_str());
    return errors.empty() ? 0 : 1;
}
