// Exporting a converted database: which files each format gives, how they are named, and what
// the user is told. Files are written beside the database, named after the database's own name
// up to its first "." (see the README), each complete or not at all.
#pragma once

#include "reading_errors.h"
#include "survey_model.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace exports {

enum class Format {
    Res2dinv,   // one ".dat" per profile
    Ohm,        // one ".ohm" per profile
    GravityCsv, // "-gravity.csv": every KX-4 reading, for network adjustment
    Csv,        // "-ip.csv" and "-kx4.csv": every field of every reading, with QC
};

// "res2dinv", "ohm", "gravity-csv", "csv".
std::optional<Format> format_named(std::string_view name);
std::string_view format_name(Format format);

using ErrorChoice = qc::ErrorChoice;

// "pairs", "model", "stdev".
std::optional<ErrorChoice> error_choice_named(std::string_view name);

struct ExportOptions {
    Format format = Format::Res2dinv;
    std::optional<double> utc_offset_hours; // gravity CSV: shift times to UTC
    // Each reading's error from this source: the .dat and .ohm files gain their error columns,
    // the spreadsheet CSV its ERROR, PAIR, PAIR_ERROR, DECAY_A and DECAY_B columns.
    std::optional<ErrorChoice> errors;
    // .dat and .ohm: the rules whose readings are left out. Without, only the readings the
    // formats cannot take (Ro not positive, a value not a number) are, or with errors the
    // readings of qc::kDefaultDrop. Readings excluded by hand (NAME.exclude) are always left out.
    std::optional<qc::Rules> drop;
    qc::QcOptions checks; // the error model's scope, the Stdev floor, the Stdev and ResCon limits
};

struct ExportOutcome {
    std::vector<std::string> written;  // paths, in the order written
    std::vector<std::string> failures; // what could not be exported, and why
    std::vector<std::string> notes;    // readings left out, and why
    // Profiles (or a database's gravity readings) of the asked kind that gave no file because
    // every reading was left out, and why. The other files are written.
    std::vector<std::string> lost;
    bool ok() const { return failures.empty(); }
};

// Reads the database at tvd_path and writes the format's files beside it.
ExportOutcome export_database(const std::string &tvd_path, const ExportOptions &options);

// The same for a database already read; tvd_path names the files.
ExportOutcome export_loaded(const survey::LoadResult &loaded, const std::string &tvd_path,
                            const ExportOptions &options);

// The same for a database kept after reading, as the View page keeps it: stop_reason says where
// reading stopped (empty when the whole file was read) and is repeated among the failures.
ExportOutcome export_read(const survey::Database &database, const std::string &stop_reason,
                          const std::string &tvd_path, const ExportOptions &options);

} // namespace exports
