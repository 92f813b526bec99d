// The survey text line that announces the data columns of the current array, written by the
// Array record and by the Sounding header.
#pragma once

namespace dumpdec {

struct Decoder;

void print_data_columns(Decoder &d);

} // namespace dumpdec
