// IPI, Array and Note records: how the following readings were taken.
#include "handlers.h"
#include "ip_arrays.h"
#include "ip_columns.h"
#include "ip_records.h"

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
    const records::Ipi ipi = records::read_ipi(record);
    ip.operating_mode = ipi.operating_mode;
    print(listing, "Operating Mode:\t\t%-4x\n"_fmt, ipi.operating_mode);
    print(listing, "Data Type:\t\t\t\t%-1x\n"_fmt, ipi.data_type);
    print(listing, "Inputs:\t\t\t\t%1x\n"_fmt, ipi.inputs);
    print(listing, "OnTime:\t\t\t\t%-4d\n"_fmt, ipi.on_time);
    print(listing, "OffTime:\t\t\t\t%-4d\n"_fmt, ipi.off_time);
    print(listing, "OnWinNum:\t\t\t\t%-4d\n"_fmt, ipi.on_windows);
    print(listing, "OffWinNum:\t\t\t\t%-4d\n"_fmt, ipi.off_windows);
    ip.window_count = ipi.window_count();

    // The window table: two 4-byte fields per window. A count that claims more windows than
    // the record holds converts only the fields inside it.
    const std::size_t record_end = std::min<std::size_t>(record.length, kRecordBufferSize);
    const std::size_t table_end = records::kIpiWindowTable + std::size_t{8} * ip.window_count;
    for (std::size_t offset = records::kIpiWindowTable; offset < table_end && offset < record_end;
         offset += 4)
        record.swap32(offset);
    database.write(record);
}

void handle_array(Record &record, DatabaseWriter &database, IpState &ip, Outputs &out) {
    const records::ArrayRecord array = records::read_array(record);
    const std::uint16_t code = array.code;
    print(out.listing, "Array Code:\t\t\t%-4x\n"_fmt, code);
    print(out.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, array.reserved);
    print(out.listing, "Base Spacing:\t\t\t%-8.3f\n"_fmt, static_cast<double>(array.base_spacing));
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
    const records::Note note = records::read_note(record);
    print(listing, "Note_Code:\t\t\t\t%-4x\n"_fmt, note.code);
    print(listing, "Text:\t\t\t\t\t%s\n"_fmt, note.text.c_str());
    database.write(record);
}

} // namespace dumpdec
