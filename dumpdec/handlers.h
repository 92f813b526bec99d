// One handler per record kind, one source file per record family.
//
// A handler takes only the parts of the conversion it uses (decoder.h): always the record in
// hand and the database writer, the link tables when the kind has a part in the links, the
// state it reads or leaves for later records, and the output files (only the listing when it
// writes nothing else).
//
// Contract: the first pass has read the record header and the body, stored the header
// little-endian in the record's buffer[0..3] and written the kind's heading and index lines. A
// handler converts each field it knows in place (Record::convert_*), writes its listing and file
// lines (print, put), notes its link at DatabaseWriter::offset(), and ends with exactly one
// DatabaseWriter::write() or, for a record it drops, DatabaseWriter::drop().
#pragma once

#include "database_writer.h"
#include "link_table.h"
#include "outputs.h"
#include "record.h"
#include "survey_state.h"

namespace dumpdec {

// headers.cpp
void handle_file_header(Record &record, DatabaseWriter &database, SurveyState &survey,
                        OutputFile &listing);
void handle_survey_header(Record &record, DatabaseWriter &database, LinkTables &links,
                          SurveyState &survey, Outputs &out);
void handle_profile_header(Record &record, DatabaseWriter &database, LinkTables &links,
                           SurveyState &survey, Outputs &out);

// gravity.cpp
void handle_kx4_data(Record &record, DatabaseWriter &database, LinkTables &links,
                     SurveyState &survey, Outputs &out);
void handle_kx4_parameter(Record &record, DatabaseWriter &database, Outputs &out);

// ip.cpp
void handle_note(Record &record, DatabaseWriter &database, OutputFile &listing);
void handle_ipi(Record &record, DatabaseWriter &database, IpState &ip, OutputFile &listing);
void handle_array(Record &record, DatabaseWriter &database, IpState &ip, Outputs &out);

// ip_data.cpp
void handle_sounding_header(Record &record, DatabaseWriter &database, LinkTables &links,
                            SurveyState &survey, IpState &ip, Outputs &out);
void handle_ipr_standard(Record &record, DatabaseWriter &database, LinkTables &links,
                         const SurveyState &survey, IpState &ip, Outputs &out);
void handle_ipr_user(Record &record, DatabaseWriter &database, LinkTables &links, const IpState &ip,
                     OutputFile &listing);

// borehole.cpp
void handle_bore_hole_header(Record &record, DatabaseWriter &database, LinkTables &links,
                             Outputs &out);
void handle_bore_hole_res_data(Record &record, DatabaseWriter &database, LinkTables &links,
                               BoreHoleSections &sections, Outputs &out);
void handle_bore_hole_sp_data(Record &record, DatabaseWriter &database, LinkTables &links,
                              BoreHoleSections &sections, Outputs &out);
void handle_bore_hole_fluid_data(Record &record, DatabaseWriter &database, LinkTables &links,
                                 BoreHoleSections &sections, Outputs &out);

} // namespace dumpdec
