// Handlers of the VIREL parameter, array, note, sounding and IP data records.
#pragma once

namespace dumpdec {

struct Decoder;

void handle_ipi(Decoder &d);
void handle_array(Decoder &d);
void handle_note(Decoder &d);
void handle_sounding_header(Decoder &d);
void handle_ipr_standard(Decoder &d);
void handle_ipr_user(Decoder &d);

// The survey text line announcing the data columns of the current array.
void print_data_columns(Decoder &d);

} // namespace dumpdec
