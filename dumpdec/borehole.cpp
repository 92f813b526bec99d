// Bore hole header and the three bore hole data kinds: listing lines, the title block of each
// bore hole and the titled log sections in the survey text file, and the five depth-log files.
#include "bore_hole_records.h"
#include "handlers.h"
#include "header_records.h"

#include <cmath>

namespace dumpdec {

namespace {

enum class ResistivityArray : std::uint16_t { kShortNormal = 0, kLongNormal = 1, kLateral = 2 };

constexpr const char *kResistivityColumns = "\r\n/Data:\tDepth,Resistivity,SP";

char easting_letter(double easting) {
    return easting > 0 ? 'E' : 'W';
}
char northing_letter(double northing) {
    return northing > 0 ? 'N' : 'S';
}

// The section flag, array name and log file of one resistivity array.
struct ArraySection {
    bool BoreHoleSections::*announced;
    const char *name_line;
    BoreLog log;
};

ArraySection array_section(ResistivityArray array) {
    switch (array) {
    case ResistivityArray::kShortNormal:
        return {&BoreHoleSections::short_normal_announced, "\r\n/Array:\tShort Normal",
                BoreLog::kShortNormal};
    case ResistivityArray::kLongNormal:
        return {&BoreHoleSections::long_normal_announced, "\r\n/Array:\tLong Normal",
                BoreLog::kLongNormal};
    case ResistivityArray::kLateral:
        break;
    }
    return {&BoreHoleSections::lateral_announced, "\r\n/Array:\tLateral", BoreLog::kLateral};
}

// The data lines go byte for byte to the survey text file and to their log file.
void resistivity_line(OutputFile &file, float depth, float resistivity, std::int16_t sp) {
    print(file, "\r\n%-8.3f\t%-8.3f\t%-4d"_fmt, depth, resistivity, sp);
}
void fluid_line(OutputFile &file, float depth, float resistivity, float temperature) {
    print(file, "\r\n%-8.3f\t%-8.3f\t%-8.1f"_fmt, depth, resistivity, temperature);
}
void sp_line(OutputFile &file, float depth, std::int16_t sp) {
    print(file, "\r\n%-8.3f\t%-4d"_fmt, depth, sp);
}

void clear_array_sections(BoreHoleSections &sections) {
    sections.short_normal_announced = false;
    sections.long_normal_announced = false;
    sections.lateral_announced = false;
}

} // namespace

void handle_bore_hole_header(Record &record, DatabaseWriter &database, LinkTables &links,
                             Outputs &out) {
    const records::BoreHoleHeader h = records::read_bore_hole_header(record);
    if (h.first_data == kNoLink) {
        database.drop(record);
        put(out.listing, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    print(out.listing, "*First_Data:\t\t\t%-4x\n"_fmt, h.first_data);
    print(out.listing, "Plunge:   \t\t%-4x\n"_fmt, h.plunge_tenths);
    print(out.listing, "Azimuth:   \t\t%-4x\n"_fmt, h.azimuth_tenths);
    print(out.listing, "Easting:\t\t\t\t%-8.3f\n"_fmt, h.easting);
    print(out.listing, "Northing:\t\t\t\t%-8.3f\n"_fmt, h.northing);
    print(out.listing, "Altitude:\t\t\t\t%-8.3f\n"_fmt, h.altitude);
    print(out.listing, "BH name:\t\t\t%s\n"_fmt, h.name.c_str());
    print(out.listing, "*dIndex:\t\t\t%-4x\n"_fmt, h.d_index);
    print(out.listing, "*pIndex:\t\t\t%-4x\n"_fmt, h.p_index);
    print(out.listing, "*Extension:\t\t\t%-4x\n"_fmt, h.extension);
    print(out.listing, "*Next:\t\t\t%-4x\n"_fmt, h.next_bore_hole);
    print(out.listing, "Reserved1:\t\t\t\t%-4x\n"_fmt, h.reserved);

    links.add_line_header(database.offset());
    database.write(record);

    print(out.survey_text, "\r\nBore Hole\t  %s"_fmt, h.name.c_str());
    print(out.survey_text, "\r\n/\tPosition:      \t%8.3f%c,%8.3f%c"_fmt, std::fabs(h.easting),
          easting_letter(h.easting), std::fabs(h.northing), northing_letter(h.northing));
    print(out.survey_text, "\r\n/\tAzimuth:       \t%-4.2f"_fmt, h.azimuth_tenths * 0.1);
    print(out.survey_text, "\r\n/\tAltitude:      \t%-8.3f"_fmt, h.altitude);
    print(out.survey_text, "\r\n/\tPlunge:        \t%-4.2f"_fmt, h.plunge_tenths * 0.1);
    put(out.survey_text, "\r\n/\tData:      \tData has it's own headers");
}

void handle_bore_hole_res_data(Record &record, DatabaseWriter &database, LinkTables &links,
                               BoreHoleSections &sections, Outputs &out) {
    links.add_data_record(database.offset());
    const records::BoreHoleResistivity r = records::read_bore_hole_resistivity(record);
    const std::uint16_t array = r.array;
    const std::int16_t sp = r.sp;
    const float depth = r.depth, resistivity = r.resistivity;
    print(out.listing, "Array:   \t\t%-4x\n"_fmt, array);
    print(out.listing, "SP:\t\t\t\t\t%-4d\n"_fmt, sp);
    print(out.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    print(out.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, resistivity);
    print(out.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, r.next_depth);
    print(out.listing, "*nParam:\t\t\t%-4x\n"_fmt, r.n_param);
    database.write(record);

    if (!sections.res_title_written) {
        put(out.survey_text, "\r\nBore Hole Resistivity Data\t");
        sections.res_title_written = true;
    }

    if (array > static_cast<std::uint16_t>(ResistivityArray::kLateral)) {
        // An array the instrument does not define: named by its code, never logged, and its
        // lines interrupt every section, so the next reading of any kind heads its own again.
        clear_array_sections(sections);
        sections.sp_announced = false;
        sections.fluid_announced = false;
        print(out.survey_text, "\r\n/Array:\tUnknown array %x"_fmt, array);
        put(out.survey_text, kResistivityColumns);
        resistivity_line(out.survey_text, depth, resistivity, sp);
        return;
    }

    const auto kind = static_cast<ResistivityArray>(array);
    const ArraySection section = array_section(kind);
    if (!(sections.*section.announced)) {
        clear_array_sections(sections);
        sections.*section.announced = true;
        sections.sp_announced = false;
        if (kind == ResistivityArray::kLateral) sections.fluid_announced = false;
        out.open_bore_log(section.log);
        put(out.survey_text, section.name_line);
        put(out.survey_text, kResistivityColumns);
    }
    resistivity_line(out.survey_text, depth, resistivity, sp);
    if (out.bore_log(section.log).is_open())
        resistivity_line(out.bore_log(section.log), depth, resistivity, sp);
}

void handle_bore_hole_fluid_data(Record &record, DatabaseWriter &database, LinkTables &links,
                                 BoreHoleSections &sections, Outputs &out) {
    links.add_data_record(database.offset());
    const records::BoreHoleFluid r = records::read_bore_hole_fluid(record);
    const float depth = r.depth, resistivity = r.resistivity, temperature = r.temperature;
    print(out.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    print(out.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, resistivity);
    print(out.listing, "Temp:\t\t\t\t%-8.3f\n"_fmt, temperature);
    print(out.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, r.next_depth);
    print(out.listing, "*nParam:\t\t\t%-4x\n"_fmt, r.n_param);
    database.write(record);

    if (!sections.fluid_announced) {
        put(out.survey_text, "\r\nBore Hole Fluid Data\t");
        put(out.survey_text, "\r\n/Data:\tDepth,Resistivity,Temperature");
        sections.fluid_announced = true;
        clear_array_sections(sections);
    }
    out.open_bore_log(BoreLog::kFluid);
    fluid_line(out.survey_text, depth, resistivity, temperature);
    if (out.bore_log(BoreLog::kFluid).is_open())
        fluid_line(out.bore_log(BoreLog::kFluid), depth, resistivity, temperature);
}

void handle_bore_hole_sp_data(Record &record, DatabaseWriter &database, LinkTables &links,
                              BoreHoleSections &sections, Outputs &out) {
    links.add_data_record(database.offset());
    const records::BoreHoleSp r = records::read_bore_hole_sp(record);
    const float depth = r.depth;
    const std::int16_t sp = r.sp;
    print(out.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    print(out.listing, "SP:\t\t\t\t\t%-4d\n"_fmt, sp);
    print(out.listing, "Reserved1:\t\t\t\t\t%-4d\n"_fmt, r.reserved1);
    print(out.listing, "Reserved2:\t\t\t%-4x\n"_fmt, r.reserved2);
    print(out.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, r.next_depth);
    print(out.listing, "*nParam:\t\t\t%-4x\n"_fmt, r.n_param);
    database.write(record);

    if (!sections.sp_announced) {
        put(out.survey_text, "\r\nBore Hole SP Data\t");
        put(out.survey_text, "\r\n/Data:\tDepth,SP");
        sections.sp_announced = true;
        clear_array_sections(sections);
        sections.fluid_announced = false;
    }
    out.open_bore_log(BoreLog::kSp);
    sp_line(out.survey_text, depth, sp);
    if (out.bore_log(BoreLog::kSp).is_open()) sp_line(out.bore_log(BoreLog::kSp), depth, sp);
}

} // namespace dumpdec
