// ravelin-export --format res2dinv|ohm|gravity-csv|csv [--utc-offset H] [--stdev-limit S]
// FILE.tvd...: writes the files inversion, network-adjustment and spreadsheet programs load,
// beside each database, and prints every path written.
#include "export_files.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char *kUsage =
    "usage: ravelin-export --format FORMAT [--utc-offset H] [--stdev-limit S] FILE.tvd...\n"
    "Writes beside each converted database the files of FORMAT and prints their paths.\n"
    "  --format FORMAT    res2dinv     one Res2DInv .dat file per profile\n"
    "                     ohm          one unified-format .ohm file per profile\n"
    "                     gravity-csv  NAME-gravity.csv: KX-4 readings for network adjustment\n"
    "                     csv          NAME-ip.csv, NAME-kx4.csv: every field, with a QC column\n"
    "  --utc-offset H     gravity-csv: the meter's time zone in hours east of UTC; times are\n"
    "                     shifted to UTC\n"
    "  --stdev-limit S    csv: a Stdev above S is doubtful (default 5)\n"
    "  -h, --help         print this help and exit\n"
    "  -v, --version      print the version and exit\n"
    "Exit status: 0 every file was written, 1 a database failed or held nothing of the kind,\n"
    "2 bad arguments.\n";

int bad_arguments(const std::string &why) {
    std::fprintf(stderr, "ravelin-export: %s\n%s", why.c_str(), kUsage);
    return 2;
}

std::optional<double> number(const std::string &text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct Arguments {
    std::optional<exports::Format> format;
    std::optional<double> utc_offset_hours;
    std::optional<double> stdev_limit;
    std::vector<std::string> files;
};

} // namespace

int main(int argc, char **argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // "--name value" and "--name=value" alike.
        auto value_of = [&](const std::string &name) -> std::optional<std::string> {
            if (arg == name) return i + 1 < argc ? std::optional<std::string>(argv[++i]) : "";
            if (arg.starts_with(name + "=")) return arg.substr(name.size() + 1);
            return std::nullopt;
        };
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "-v" || arg == "--version") {
            std::puts("ravelin-export " RAVELIN_VERSION);
            return 0;
        }
        if (const auto v = value_of("--format")) {
            args.format = exports::format_named(*v);
            if (!args.format) return bad_arguments("no format named \"" + *v + "\"");
        } else if (const auto v = value_of("--utc-offset")) {
            args.utc_offset_hours = number(*v);
            if (!args.utc_offset_hours || std::fabs(*args.utc_offset_hours) > 14)
                return bad_arguments("--utc-offset takes hours from -14 to 14");
        } else if (const auto v = value_of("--stdev-limit")) {
            args.stdev_limit = number(*v);
            if (!args.stdev_limit || *args.stdev_limit < 0)
                return bad_arguments("--stdev-limit takes a number not below 0");
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                args.files.emplace_back(argv[i]);
        } else if (arg.starts_with("-")) {
            return bad_arguments("unknown option " + arg);
        } else {
            args.files.push_back(arg);
        }
    }
    if (!args.format) return bad_arguments("--format is missing");
    if (args.files.empty()) return bad_arguments("no database named");
    if (args.utc_offset_hours && *args.format != exports::Format::GravityCsv)
        return bad_arguments("--utc-offset applies to --format gravity-csv only");
    if (args.stdev_limit && *args.format != exports::Format::Csv)
        return bad_arguments("--stdev-limit applies to --format csv only");

    exports::ExportOptions options;
    options.format = *args.format;
    options.utc_offset_hours = args.utc_offset_hours;
    if (args.stdev_limit) options.stdev_limit = *args.stdev_limit;
    bool all_written = true;
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
    }
    return all_written ? 0 : 1;
}
