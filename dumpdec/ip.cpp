// IPI, Array and Note records: how the following readings were taken.
#include "decoder.h"
#include "handlers.h"
#include "ip_arrays.h"
#include "ip_columns.h"

#include <algorithm>

namespace dumpdec {

void print_data_columns(Decoder &d) {
    // The M columns are announced in operating mode 0 only.
    if (d.ip_state.operating_mode == 0)
        d.print(d.survey_text, "\r\n/\tData:      \t%s,M1,M2,M3,M4"_fmt,
                d.ip_state.column_names.c_str());
    else
        d.print(d.survey_text, "\r\n/\tData:      \t%s"_fmt, d.ip_state.column_names.c_str());
}

void handle_ipi(Decoder &d) {
    d.ip_state.operating_mode = d.convert_u16(4);
    d.print(d.listing, "Operating Mode:\t\t%-4x\n"_fmt, d.ip_state.operating_mode);
    d.print(d.listing, "Data Type:\t\t\t\t%-1x\n"_fmt, d.byte(6));
    d.print(d.listing, "Inputs:\t\t\t\t%1x\n"_fmt, d.byte(7));
    d.print(d.listing, "OnTime:\t\t\t\t%-4d\n"_fmt, d.convert_i32(8));
    d.print(d.listing, "OffTime:\t\t\t\t%-4d\n"_fmt, d.convert_i32(12));
    const std::uint16_t on_windows = d.convert_u16(16);
    d.print(d.listing, "OnWinNum:\t\t\t\t%-4d\n"_fmt, on_windows);
    const std::uint16_t off_windows = d.convert_u16(18);
    d.print(d.listing, "OffWinNum:\t\t\t\t%-4d\n"_fmt, off_windows);
    d.ip_state.window_count = std::uint32_t{on_windows} + off_windows;

    // The window table: two 4-byte fields per window. A count that claims more windows than
    // the record holds converts only the fields inside it.
    const std::size_t record_end = std::min<std::size_t>(d.record_length, kRecordBufferSize);
    const std::size_t table_end = 20 + std::size_t{8} * d.ip_state.window_count;
    for (std::size_t offset = 20; offset < table_end && offset < record_end; offset += 4)
        d.swap32(offset);
    d.write_record();
}

void handle_array(Decoder &d) {
    const std::uint16_t code = d.convert_u16(4);
    d.print(d.listing, "Array Code:\t\t\t%-4x\n"_fmt, code);
    d.print(d.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, d.convert_u16(6));
    d.print(d.listing, "Base Spacing:\t\t\t%-8.3f\n"_fmt, static_cast<double>(d.convert_f32(8)));
    d.write_record();

    if (const auto naming = ip::array_record_naming(code)) {
        d.put(d.survey_text, "\r\n/\t");
        d.put(d.survey_text, naming->name);
        d.ip_state.column_names = naming->column_names;
    } else {
        // Readings of an unknown array are laid out by the dipole-dipole formulas, so its
        // columns are announced as the dipole-dipole ones.
        d.print(d.survey_text, "\r\n/\tUnknown array %X"_fmt, code);
        d.ip_state.column_names = ip::kDipoleDipoleColumns;
    }
    print_data_columns(d);
    d.ip_state.array_code = code;
}

void handle_note(Decoder &d) {
    d.print(d.listing, "Note_Code:\t\t\t\t%-4x\n"_fmt, d.convert_u32(4));
    // Text without a NUL ends with the record.
    d.print(d.listing, "Text:\t\t\t\t\t%s\n"_fmt, d.text(8, kRecordBufferSize).c_str());
    d.write_record();
}

} // namespace dumpdec
