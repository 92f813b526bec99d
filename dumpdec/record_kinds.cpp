#include "record_kinds.h"

#include "handlers.h"

#include <array>

namespace dumpdec {

namespace {

using enum ColumnHeader;
using enum LinkRole;

constexpr std::array kRecordKinds{
    RecordKind{0x0001, "\n\n[ *** Note Record *** ]", handle_note, kSet, kNone},
    RecordKind{0x0100, "\n\n[ *** IPR Record Standard *** ]", handle_ipr_standard, kUnchanged,
               kDataRecord},
    RecordKind{0x0101, "\n\n[ *** IPR Record User *** ]", handle_ipr_user, kUnchanged, kDataRecord},
    RecordKind{0x0102, "\n\n[ *** Bore Hole RES Data *** ]", handle_bore_hole_res_data, kUnchanged,
               kDataRecord},
    RecordKind{0x0103, "\n\n[ *** Bore Hole SP Data *** ]", handle_bore_hole_sp_data, kUnchanged,
               kDataRecord},
    RecordKind{0x0104, "\n\n[ *** Bore Hole Fluid Data *** ]", handle_bore_hole_fluid_data,
               kUnchanged, kDataRecord},
    RecordKind{0x0800, "\n\n[ *** KX-4 Data Record *** ]", handle_kx4_data, kClear, kDataRecord},
    RecordKind{0x1002, "\n\n[ *** Profile Header Record *** ]", handle_profile_header, kSet,
               kLineHeader},
    RecordKind{0x1004, "\n\n[ *** Survey Header Record *** ]", handle_survey_header, kSet,
               kSurveyHeader},
    RecordKind{0x1008, "\n\n[ *** File Header Record *** ]", handle_file_header, kSet, kNone},
    RecordKind{0x1010, "\n\n[ *** Bore Hole Header Record *** ]", handle_bore_hole_header,
               kUnchanged, kLineHeader},
    RecordKind{0x1100, "\n\n[ *** Sounding Header Record *** ]", handle_sounding_header, kUnchanged,
               kLineHeader},
    RecordKind{0x3100, "\n\n[ *** IPI Record *** ]", handle_ipi, kUnchanged, kNone},
    RecordKind{0x4100, "\n\n[ *** Array Record *** ]", handle_array, kUnchanged, kNone},
    RecordKind{0x4800, "\n\n[ *** KX-4 Parameter Record *** ]", handle_kx4_parameter, kSet, kNone},
};

} // namespace

const RecordKind *find_record_kind(std::uint16_t record_id) {
    for (const RecordKind &kind : kRecordKinds)
        if (kind.id == record_id) return &kind;
    return nullptr;
}

} // namespace dumpdec
