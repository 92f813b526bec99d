// IPI, Array and Note records: how the following readings were taken.
#include "handlers.h"
#include "ip_arrays.h"
#include "ip_columns.h"

#include <algorithm>

namespace dumpdec {

void print_data_columns(OutputFile &survey_text, const IpState &ip) {
    // The M columns are announced in operating mode 0 only.
    if (ip.operating_mode == 0)
        print(survey_text, "\r\n/\tData:      \t%s,M1,M2,M3,M4"_fmt, ip.column_names.c_str());
    else
        print(survey_text, "\r\n/\tData:      \t%s"_fmt, ip.column_names.c_str());
}

void handle_ipi(Record &record, DatabaseWriter &database, IpState &ip, OutputFile &listing) {
    ip.operating_mode = record.convert_u16(4);
    print(listing, "Operating Mode:\t\t%-4x\n"_fmt, ip.operating_mode);
    print(listing, "Data Type:\t\t\t\t%-1x\n"_fmt, record.byte(6));
    print(listing, "Inputs:\t\t\t\t%1x\n"_fmt, record.byte(7));
    print(listing, "OnTime:\t\t\t\t%-4d\n"_fmt, record.convert_i32(8));
    print(listing, "OffTime:\t\t\t\t%-4d\n"_fmt, record.convert_i32(12));
    const std::uint16_t on_windows = record.convert_u16(16);
    print(listing, "OnWinNum:\t\t\t\t%-4d\n"_fmt, on_windows);
    const std::uint16_t off_windows = record.convert_u16(18);
    print(listing, "OffWinNum:\t\t\t\t%-4d\n"_fmt, off_windows);
    ip.window_count = std::uint32_t{on_windows} + off_windows;

    // The window table: two 4-byte fields per window. A count that claims more windows than
    // the record holds converts only the fields inside it.
    const std::size_t record_end = std::min<std::size_t>(record.length, kRecordBufferSize);
    const std::size_t table_end = 20 + std::size_t{8} * ip.window_count;
    for (std::size_t offset = 20; offset < table_end && offset < record_end; offset += 4)
        record.swap32(offset);
    database.write(record);
}

void handle_array(Record &record, DatabaseWriter &database, IpState &ip, Outputs &out) {
    const std::uint16_t code = record.convert_u16(4);
    print(out.listing, "Array Code:\t\t\t%-4x\n"_fmt, code);
    print(out.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, record.convert_u16(6));
    print(out.listing, "Base Spacing:\t\t\t%-8.3f\n"_fmt,
          static_cast<double>(record.convert_f32(8)));
    database.write(record);

    if (const auto naming = ip::array_record_naming(code)) {
        put(out.survey_text, "\r\n/\t");
        put(out.survey_text, naming->name);
        ip.column_names = naming->column_names;
    } else {
        // Readings of an unknown array are laid out by the dipole-dipole formulas, so its
        // columns are announced as the dipole-dipole ones.
        print(out.survey_text, "\r\n/\tUnknown array %X"_fmt, code);
        ip.column_names = ip::kDipoleDipoleColumns;
    }
    print_data_columns(out.survey_text, ip);
    ip.array_code = code;
}

void handle_note(Record &record, DatabaseWriter &database, OutputFile &listing) {
    print(listing, "Note_Code:\t\t\t\t%-4x\n"_fmt, record.convert_u32(4));
    // Text without a NUL ends with the record.
    print(listing, "Text:\t\t\t\t\t%s\n"_fmt, record.text(8, kRecordBufferSize).c_str());
    database.write(record);
}

} // namespace dumpdec
