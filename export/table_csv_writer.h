// Spreadsheet CSV (RFC 4180: a header row, CRLF line ends, dot decimals) with every field of
// every reading, one file for IP readings and one for gravity readings, each ending in a QC
// column that names what is doubtful about the reading.
#pragma once

#include "reading_errors.h"
#include "survey_model.h"
#include "text_out.h"

#include <optional>
#include <string>

namespace exports {

struct IpTableOptions {
    qc::Limits limits{};
    // The profiles' checks (their decays against the master curves, their pairs); without, each
    // reading is checked on its own.
    const qc::DatabaseQc *checked = nullptr;
    // With checks: the ERROR, PAIR, PAIR_ERROR, DECAY_A and DECAY_B columns, ERROR by this source.
    std::optional<qc::ErrorChoice> errors;
    double error_floor = qc::kDefaultErrorFloor;
};

// Each writes its table to out and gives the number of readings, one row each.
int ip_table_csv(const survey::Database &database, const IpTableOptions &options, TextOut &out);
int gravity_table_csv(const survey::Database &database, TextOut &out);

// A text field, quoted when it holds a comma, a quote or a line break.
void append_csv_text(std::string &out, std::string_view text);

} // namespace exports
