// Bore hole header and bore hole data records.
//
// Until their own handlers exist, these records are listed with their heading and index lines
// and reach the converted database with only their header converted; the header and the data
// records already take their part in the links.
#include "decoder.h"
#include "handlers.h"

namespace dumpdec {

void handle_bore_hole_header(Decoder &d) {
    if (d.convert_u32(52) == kNoLink) {
        d.drop_record();
        d.put(d.listing, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    d.convert_u32(48); // Next: the second pass reads it in host order
    d.link_line_header();
    d.write_record();
}

void handle_bore_hole_res_data(Decoder &d) {
    d.link_data_record();
    d.write_record();
}

void handle_bore_hole_sp_data(Decoder &d) {
    d.link_data_record();
    d.write_record();
}

void handle_bore_hole_fluid_data(Decoder &d) {
    d.link_data_record();
    d.write_record();
}

} // namespace dumpdec
