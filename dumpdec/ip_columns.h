// The survey text line that announces the data columns of the current array, written by the
// Array record and by the Sounding header.
#pragma once

#include "files.h"
#include "survey_state.h"

namespace dumpdec {

void print_data_columns(OutputFile &survey_text, const IpState &ip);

} // namespace dumpdec
