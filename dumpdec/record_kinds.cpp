#include "record_kinds.h"

#include "handlers.h"

#include <array>

namespace dumpdec {

namespace {

using enum ColumnHeader;
using enum LinkRole;
namespace id = ravelin::record_id;

constexpr std::array kRecordKinds{
    RecordKind{id::kNote, "\n\n[ *** Note Record *** ]", handle_note, kSet, kNone},
    RecordKind{id::kIprStandard, "\n\n[ *** IPR Record Standard *** ]", handle_ipr_standard,
               kUnchanged, kDataRecord},
    RecordKind{id::kIprUser, "\n\n[ *** IPR Record User *** ]", handle_ipr_user, kUnchanged,
               kDataRecord},
    RecordKind{id::kBoreHoleResData, "\n\n[ *** Bore Hole RES Data *** ]",
               handle_bore_hole_res_data, kUnchanged, kDataRecord},
    RecordKind{id::kBoreHoleSpData, "\n\n[ *** Bore Hole SP Data *** ]", handle_bore_hole_sp_data,
               kUnchanged, kDataRecord},
    RecordKind{id::kBoreHoleFluidData, "\n\n[ *** Bore Hole Fluid Data *** ]",
               handle_bore_hole_fluid_data, kUnchanged, kDataRecord},
    RecordKind{id::kKx4Data, "\n\n[ *** KX-4 Data Record *** ]", handle_kx4_data, kClear,
               kDataRecord},
    RecordKind{id::kProfileHeader, "\n\n[ *** Profile Header Record *** ]", handle_profile_header,
               kSet, kLineHeader},
    RecordKind{id::kSurveyHeader, "\n\n[ *** Survey Header Record *** ]", handle_survey_header,
               kSet, kSurveyHeader},
    RecordKind{id::kFileHeader, "\n\n[ *** File Header Record *** ]", handle_file_header, kSet,
               kNone},
    RecordKind{id::kBoreHoleHeader, "\n\n[ *** Bore Hole Header Record *** ]",
               handle_bore_hole_header, kUnchanged, kLineHeader},
    RecordKind{id::kSoundingHeader, "\n\n[ *** Sounding Header Record *** ]",
               handle_sounding_header, kUnchanged, kLineHeader},
    RecordKind{id::kIpi, "\n\n[ *** IPI Record *** ]", handle_ipi, kUnchanged, kNone},
    RecordKind{id::kArray, "\n\n[ *** Array Record *** ]", handle_array, kUnchanged, kNone},
    RecordKind{id::kKx4Parameter, "\n\n[ *** KX-4 Parameter Record *** ]", handle_kx4_parameter,
               kSet, kNone},
};

} // namespace

const RecordKind *find_record_kind(std::uint16_t record_id) {
    for (const RecordKind &kind : kRecordKinds)
        if (kind.id == record_id) return &kind;
    return nullptr;
}

} // namespace dumpdec
