// Spreadsheet CSV (RFC 4180: a header row, CRLF line ends, dot decimals) with every field of
// every reading, one file for IP readings and one for gravity readings, each ending in a QC
// column that names what is doubtful about the reading.
#pragma once

#include "survey_model.h"
#include "text_out.h"

#include <string>

namespace exports {

// Each writes its table to out and gives the number of readings, one row each.
int ip_table_csv(const survey::Database &database, double stdev_limit, TextOut &out);
int gravity_table_csv(const survey::Database &database, TextOut &out);

// A text field, quoted when it holds a comma, a quote or a line break.
void append_csv_text(std::string &out, std::string_view text);

} // namespace exports
