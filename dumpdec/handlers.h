// One handler per record kind, one source file per record family.
//
// Contract: the main loop has read the record header and the body, stored the header
// little-endian in record_buffer[0..3] and written the kind's heading and index lines. A handler
// converts each field it knows in place (Decoder::convert_*), writes its listing and file lines
// (Decoder::print), applies its link rule (Decoder::link_*), and ends with exactly one
// Decoder::write_record() or, for a record it drops, Decoder::drop_record().
#pragma once

namespace dumpdec {

struct Decoder;

// headers.cpp
void handle_file_header(Decoder &d);
void handle_survey_header(Decoder &d);
void handle_profile_header(Decoder &d);

// gravity.cpp
void handle_kx4_data(Decoder &d);
void handle_kx4_parameter(Decoder &d);

// ip.cpp
void handle_note(Decoder &d);
void handle_ipi(Decoder &d);
void handle_array(Decoder &d);

// ip_data.cpp
void handle_sounding_header(Decoder &d);
void handle_ipr_standard(Decoder &d);
void handle_ipr_user(Decoder &d);

// borehole.cpp
void handle_bore_hole_header(Decoder &d);
void handle_bore_hole_res_data(Decoder &d);
void handle_bore_hole_sp_data(Decoder &d);
void handle_bore_hole_fluid_data(Decoder &d);

} // namespace dumpdec
