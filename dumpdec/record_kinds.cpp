#include "record_kinds.h"

#include "decoder.h"
#include "handlers.h"

#include <array>

namespace dumpdec {

namespace {

using enum ColumnHeader;
using enum LinkRole;
namespace id = ravelin::record_id;

// Each kind's handler given the parts of the conversion it takes.
void note(Decoder &d) {
    handle_note(d.record, d.database, d.outputs.listing);
}
void ipr_standard(Decoder &d) {
    handle_ipr_standard(d.record, d.database, d.links, d.survey, d.ip, d.outputs);
}
void ipr_user(Decoder &d) {
    handle_ipr_user(d.record, d.database, d.links, d.ip, d.outputs.listing);
}
void bore_hole_res_data(Decoder &d) {
    handle_bore_hole_res_data(d.record, d.database, d.links, d.bore_hole, d.outputs);
}
void bore_hole_sp_data(Decoder &d) {
    handle_bore_hole_sp_data(d.record, d.database, d.links, d.bore_hole, d.outputs);
}
void bore_hole_fluid_data(Decoder &d) {
    handle_bore_hole_fluid_data(d.record, d.database, d.links, d.bore_hole, d.outputs);
}
void kx4_data(Decoder &d) {
    handle_kx4_data(d.record, d.database, d.links, d.survey, d.outputs);
}
void profile_header(Decoder &d) {
    handle_profile_header(d.record, d.database, d.links, d.survey, d.outputs);
}
void survey_header(Decoder &d) {
    handle_survey_header(d.record, d.database, d.links, d.survey, d.outputs);
}
void file_header(Decoder &d) {
    handle_file_header(d.record, d.database, d.survey, d.outputs.listing);
}
void bore_hole_header(Decoder &d) {
    handle_bore_hole_header(d.record, d.database, d.links, d.outputs);
}
void sounding_header(Decoder &d) {
    handle_sounding_header(d.record, d.database, d.links, d.survey, d.ip, d.outputs);
}
void ipi(Decoder &d) {
    handle_ipi(d.record, d.database, d.ip, d.outputs.listing);
}
void array_record(Decoder &d) {
    handle_array(d.record, d.database, d.ip, d.outputs);
}
void kx4_parameter(Decoder &d) {
    handle_kx4_parameter(d.record, d.database, d.outputs);
}

constexpr std::array kRecordKinds{
    RecordKind{id::kNote, "\n\n[ *** Note Record *** ]", note, kSet, kNone},
    RecordKind{id::kIprStandard, "\n\n[ *** IPR Record Standard *** ]", ipr_standard, kUnchanged,
               kDataRecord},
    RecordKind{id::kIprUser, "\n\n[ *** IPR Record User *** ]", ipr_user, kUnchanged, kDataRecord},
    RecordKind{id::kBoreHoleResData, "\n\n[ *** Bore Hole RES Data *** ]", bore_hole_res_data,
               kUnchanged, kDataRecord},
    RecordKind{id::kBoreHoleSpData, "\n\n[ *** Bore Hole SP Data *** ]", bore_hole_sp_data,
               kUnchanged, kDataRecord},
    RecordKind{id::kBoreHoleFluidData, "\n\n[ *** Bore Hole Fluid Data *** ]", bore_hole_fluid_data,
               kUnchanged, kDataRecord},
    RecordKind{id::kKx4Data, "\n\n[ *** KX-4 Data Record *** ]", kx4_data, kClear, kDataRecord},
    RecordKind{id::kProfileHeader, "\n\n[ *** Profile Header Record *** ]", profile_header, kSet,
               kLineHeader},
    RecordKind{id::kSurveyHeader, "\n\n[ *** Survey Header Record *** ]", survey_header, kSet,
               kSurveyHeader},
    RecordKind{id::kFileHeader, "\n\n[ *** File Header Record *** ]", file_header, kSet, kNone},
    RecordKind{id::kBoreHoleHeader, "\n\n[ *** Bore Hole Header Record *** ]", bore_hole_header,
               kUnchanged, kLineHeader},
    RecordKind{id::kSoundingHeader, "\n\n[ *** Sounding Header Record *** ]", sounding_header,
               kUnchanged, kLineHeader},
    RecordKind{id::kIpi, "\n\n[ *** IPI Record *** ]", ipi, kUnchanged, kNone},
    RecordKind{id::kArray, "\n\n[ *** Array Record *** ]", array_record, kUnchanged, kNone},
    RecordKind{id::kKx4Parameter, "\n\n[ *** KX-4 Parameter Record *** ]", kx4_parameter, kSet,
               kNone},
};

} // namespace

const RecordKind *find_record_kind(std::uint16_t record_id) {
    for (const RecordKind &kind : kRecordKinds)
        if (kind.id == record_id) return &kind;
    return nullptr;
}

} // namespace dumpdec
