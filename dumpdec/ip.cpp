// IP parameter, array, note, sounding header and IP data records.
//
// Until their own handlers exist, these records are listed with their heading and index lines
// and reach the converted database with only their header converted; the line headers and data
// records already take their part in the links, so mixed databases convert end to end.
#include "decoder.h"
#include "handlers.h"

namespace dumpdec {

void handle_note(Decoder &d) {
    d.write_record();
}

void handle_ipi(Decoder &d) {
    d.write_record();
}

void handle_array(Decoder &d) {
    d.write_record();
}

void handle_sounding_header(Decoder &d) {
    d.line_is_profile = false;
    if (d.convert_u32(36) == kNoLink) {
        d.drop_record();
        d.put(d.listing, "EMPTY  HEADER\n");
        return;
    }
    d.convert_u32(44); // Next_Sound: the second pass reads it in host order
    d.link_line_header();
    d.write_record();
}

void handle_ipr_standard(Decoder &d) {
    d.link_data_record();
    d.write_record();
}

void handle_ipr_user(Decoder &d) {
    d.link_data_record();
    d.write_record();
}

} // namespace dumpdec
