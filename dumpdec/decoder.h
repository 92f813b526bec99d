// The state of one conversion, made of the parts the passes and record handlers work with.
//
// A Decoder is made per conversion, so conversions in different threads never share state. Each
// part has one job, and a handler takes only the parts it uses (handlers.h):
//   RecordReader     the input database and the reading of records (record_reader.h)
//   Record           the record in hand and the access to its fields (record.h)
//   DatabaseWriter   where each record goes and the offset it takes there (database_writer.h)
//   Outputs          the output files; print() and put() write lines into them (outputs.h)
//   LinkTables       the offsets the second pass patches into the headers (link_table.h)
//   SurveyState, IpState, BoreHoleSections
//                    what records leave for the records after them (survey_state.h)
#pragma once

#include "database_writer.h"
#include "link_table.h"
#include "outputs.h"
#include "passes.h"
#include "record.h"
#include "record_reader.h"
#include "survey_state.h"

#include <string_view>

namespace dumpdec {

struct Decoder {
    explicit Decoder(std::string_view input_path) : outputs(input_path) {}

    RecordReader reader;
    Record record;
    Outputs outputs;
    DatabaseWriter database{outputs.intermediate};
    LinkTables links;
    SurveyState survey;
    IpState ip;
    BoreHoleSections bore_hole;
    PassEnd pass_end = PassEnd::kRunning;
};

} // namespace dumpdec
