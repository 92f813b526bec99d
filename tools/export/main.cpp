// ravelin-export --format res2dinv|ohm|gravity-csv|csv [--utc-offset H] [--stdev-limit S]
// [--rescon-limit R] [--errors pairs|model|stdev [--error-scope profile|survey] [--error-floor P]]
// [--drop RULES] FILE.tvd...: writes the files inversion, network-adjustment and spreadsheet
// programs load, beside each database, and prints every path written.
#include "command_line.h"
#include "export_files.h"
#include "qc_arguments.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Arguments {
    exports::Format format{};
    std::optional<double> utc_offset_hours;
    std::optional<exports::ErrorChoice> errors;
    std::optional<qc::Rules> drop;
    qc::QcOptions checks;
    std::vector<std::string> files;
};

// Returns the exit status when the tool ends before exporting anything.
std::optional<int> parse(int argc, char **argv, Arguments &args) {
    ravelin::CommandLine line(
        "ravelin-export",
        "Writes beside each converted database the files of FORMAT and prints their paths.\n"
        "Exit status: 0 every file was written (readings left out one by one are noted on\n"
        "standard error); 3 a profile, or a database's gravity readings, gave no file because\n"
        "every reading was left out (the others are written; the summary names each); 1 a\n"
        "database could not be read, held nothing of the kind or was damaged, or a file could\n"
        "not be written (whatever the others did); 2 bad arguments.",
        2);
    line.addOption("format", "FORMAT",
                   "res2dinv: one Res2DInv .dat file per profile; ohm: one unified-format .ohm "
                   "file per profile; gravity-csv: NAME-gravity.csv, KX-4 readings for network "
                   "adjustment; csv: NAME-ip.csv and NAME-kx4.csv, every field with a QC column.");
    line.addOption("utc-offset", "H",
                   "gravity-csv: the meter's time zone in hours east of UTC; times are shifted "
                   "to UTC.");
    ravelin::addLimitOptions(line);
    line.addOption("errors", "SOURCE",
                   "Each reading's error from SOURCE: pairs (its repeat or reciprocal, else the "
                   "error model, else the Stdev floor), model (the error model, else the floor) or "
                   "stdev (the floor alone). res2dinv: the error block; ohm: the err column (and "
                   "iperr); csv: the ERROR, PAIR, PAIR_ERROR, DECAY_A and DECAY_B columns. For "
                   "res2dinv and ohm, --drop is then on by default.");
    line.addOption("drop", "RULES",
                   "res2dinv, ohm: leave out the readings flagged by RULES, a comma-separated "
                   "list of ro, nan, stdev, decay, reciprocal, rescon, or none (default with "
                   "--errors: ro,nan,stdev,decay,reciprocal; without: only what the formats "
                   "cannot take). Readings in NAME.exclude are always left out.");
    line.addOption("error-scope", "SCOPE",
                   "With --errors: the error model of each profile (profile, default) or of "
                   "each survey (survey).");
    line.addOption("error-floor", "P",
                   "With --errors: the floor is a reading's Stdev, at least P percent (default "
                   "3).");
    line.addArgument("FILE.tvd...", "The converted databases to export.");
    if (const std::optional<int> status = line.parse(argc, argv)) return status;

    if (!line.isSet("format")) return line.fail("--format is missing");
    const std::string name = line.value("format");
    const std::optional<exports::Format> format = exports::format_named(name);
    if (!format) return line.fail("no format named \"" + name + "\"");
    args.format = *format;
    if (line.isSet("utc-offset")) {
        args.utc_offset_hours = line.number("utc-offset");
        if (!args.utc_offset_hours || std::fabs(*args.utc_offset_hours) > 14)
            return line.fail("--utc-offset takes hours from -14 to 14");
        if (args.format != exports::Format::GravityCsv)
            return line.fail("--utc-offset applies to --format gravity-csv only");
    }
    if (const std::optional<int> status = ravelin::readLimitOptions(line, args.checks.limits))
        return status;
    const bool ip = args.format != exports::Format::GravityCsv;
    if ((line.isSet("stdev-limit") || line.isSet("rescon-limit")) && !ip)
        return line.fail("--stdev-limit and --rescon-limit apply to IP readings only");
    if (line.isSet("errors")) {
        args.errors = exports::error_choice_named(line.value("errors"));
        if (!args.errors) return line.fail("--errors takes pairs, model or stdev");
        if (!ip) return line.fail("--errors applies to IP readings only");
    }
    if (line.isSet("drop")) {
        args.drop = qc::rules_named(line.value("drop"));
        if (!args.drop)
            return line.fail("--drop takes ro, nan, stdev, decay, reciprocal, rescon or none");
        if (args.format != exports::Format::Res2dinv && args.format != exports::Format::Ohm)
            return line.fail("--drop applies to --format res2dinv and ohm only");
    }
    if (const std::optional<int> status = ravelin::readErrorOptions(line, args.checks))
        return status;
    if ((line.isSet("error-scope") || line.isSet("error-floor")) && !args.errors)
        return line.fail("--error-scope and --error-floor apply with --errors only");
    args.files = line.arguments();
    if (args.files.empty()) return line.fail("no database named");
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv) {
    Arguments args;
    if (const std::optional<int> status = parse(argc, argv, args)) return *status;

    exports::ExportOptions options;
    options.format = args.format;
    options.utc_offset_hours = args.utc_offset_hours;
    options.errors = args.errors;
    options.drop = args.drop;
    options.checks = args.checks;
    bool all_written = true;
    std::vector<std::string> lost;
    for (const std::string &file : args.files) {
        const exports::ExportOutcome outcome = exports::export_database(file, options);
        for (const std::string &path : outcome.written)
            std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        for (const std::string &note : outcome.notes)
            std::fprintf(stderr, "ravelin-export: %s\n", note.c_str());
        for (const std::string &failure : outcome.failures)
            std::fprintf(stderr, "ravelin-export: %s\n", failure.c_str());
        all_written = all_written && outcome.ok();
        lost.insert(lost.end(), outcome.lost.begin(), outcome.lost.end());
    }
    // Last, where a script's log shows it: what held readings yet gave no file.
    for (const std::string &what : lost)
        std::fprintf(stderr, "ravelin-export: %s\n", what.c_str());
    if (!all_written) return 1;
    return lost.empty() ? 0 : 3;
}
