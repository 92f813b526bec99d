// Bore hole header and the three bore hole data kinds: listing lines, the title block of each
// bore hole and the titled log sections in the survey text file, and the five depth-log files.
#include "decoder.h"
#include "handlers.h"

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
void resistivity_line(Decoder &d, OutputFile &file, float depth, float resistivity,
                      std::int16_t sp) {
    d.print(file, "\r\n%-8.3f\t%-8.3f\t%-4d"_fmt, depth, resistivity, sp);
}
void fluid_line(Decoder &d, OutputFile &file, float depth, float resistivity, float temperature) {
    d.print(file, "\r\n%-8.3f\t%-8.3f\t%-8.1f"_fmt, depth, resistivity, temperature);
}
void sp_line(Decoder &d, OutputFile &file, float depth, std::int16_t sp) {
    d.print(file, "\r\n%-8.3f\t%-4d"_fmt, depth, sp);
}

void clear_array_sections(BoreHoleSections &sections) {
    sections.short_normal_announced = false;
    sections.long_normal_announced = false;
    sections.lateral_announced = false;
}

} // namespace

void handle_bore_hole_header(Decoder &d) {
    const std::uint32_t first_data = d.convert_u32(ravelin::link_field::kBoreHoleFirstData);
    if (first_data == kNoLink) {
        d.drop_record();
        d.put(d.listing, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    d.print(d.listing, "*First_Data:\t\t\t%-4x\n"_fmt, first_data);
    const std::uint16_t plunge = d.convert_u16(4);
    d.print(d.listing, "Plunge:   \t\t%-4x\n"_fmt, plunge);
    const std::uint16_t azimuth = d.convert_u16(6);
    d.print(d.listing, "Azimuth:   \t\t%-4x\n"_fmt, azimuth);
    const double easting = d.convert_f64(8);
    d.print(d.listing, "Easting:\t\t\t\t%-8.3f\n"_fmt, easting);
    const double northing = d.convert_f64(16);
    d.print(d.listing, "Northing:\t\t\t\t%-8.3f\n"_fmt, northing);
    const float altitude = d.convert_f32(24);
    d.print(d.listing, "Altitude:\t\t\t\t%-8.3f\n"_fmt, altitude);
    const std::string name = d.text(28, 8);
    d.print(d.listing, "BH name:\t\t\t%s\n"_fmt, name.c_str());
    d.print(d.listing, "*dIndex:\t\t\t%-4x\n"_fmt, d.convert_u32(36));
    d.print(d.listing, "*pIndex:\t\t\t%-4x\n"_fmt, d.convert_u32(40));
    d.print(d.listing, "*Extension:\t\t\t%-4x\n"_fmt, d.convert_u32(44));
    d.print(d.listing, "*Next:\t\t\t%-4x\n"_fmt,
            d.convert_u32(ravelin::link_field::kBoreHoleNextBoreHole));
    d.print(d.listing, "Reserved1:\t\t\t\t%-4x\n"_fmt, d.convert_u32(56));

    d.link_line_header();
    d.write_record();

    d.print(d.survey_text, "\r\nBore Hole\t  %s"_fmt, name.c_str());
    d.print(d.survey_text, "\r\n/\tPosition:      \t%8.3f%c,%8.3f%c"_fmt, std::fabs(easting),
            easting_letter(easting), std::fabs(northing), northing_letter(northing));
    d.print(d.survey_text, "\r\n/\tAzimuth:       \t%-4.2f"_fmt, azimuth * 0.1);
    d.print(d.survey_text, "\r\n/\tAltitude:      \t%-8.3f"_fmt, altitude);
    d.print(d.survey_text, "\r\n/\tPlunge:        \t%-4.2f"_fmt, plunge * 0.1);
    d.put(d.survey_text, "\r\n/\tData:      \tData has it's own headers");
}

void handle_bore_hole_res_data(Decoder &d) {
    d.link_data_record();
    const std::uint16_t array = d.convert_u16(4);
    d.print(d.listing, "Array:   \t\t%-4x\n"_fmt, array);
    const std::int16_t sp = d.convert_i16(6);
    d.print(d.listing, "SP:\t\t\t\t\t%-4d\n"_fmt, sp);
    const float depth = d.convert_f32(8);
    d.print(d.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    const float resistivity = d.convert_f32(12);
    d.print(d.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, resistivity);
    d.print(d.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, d.convert_u32(16));
    d.print(d.listing, "*nParam:\t\t\t%-4x\n"_fmt, d.convert_u32(20));
    d.write_record();

    if (!d.bore_hole.res_title_written) {
        d.put(d.survey_text, "\r\nBore Hole Resistivity Data\t");
        d.bore_hole.res_title_written = true;
    }

    if (array > static_cast<std::uint16_t>(ResistivityArray::kLateral)) {
        // An array the instrument does not define: named by its code, never logged, and its
        // lines interrupt every section, so the next reading of any kind heads its own again.
        clear_array_sections(d.bore_hole);
        d.bore_hole.sp_announced = false;
        d.bore_hole.fluid_announced = false;
        d.print(d.survey_text, "\r\n/Array:\tUnknown array %x"_fmt, array);
        d.put(d.survey_text, kResistivityColumns);
        resistivity_line(d, d.survey_text, depth, resistivity, sp);
        return;
    }

    const auto kind = static_cast<ResistivityArray>(array);
    const ArraySection section = array_section(kind);
    if (!(d.bore_hole.*section.announced)) {
        clear_array_sections(d.bore_hole);
        d.bore_hole.*section.announced = true;
        d.bore_hole.sp_announced = false;
        if (kind == ResistivityArray::kLateral) d.bore_hole.fluid_announced = false;
        d.open_bore_log(section.log);
        d.put(d.survey_text, section.name_line);
        d.put(d.survey_text, kResistivityColumns);
    }
    resistivity_line(d, d.survey_text, depth, resistivity, sp);
    if (d.bore_log(section.log).is_open())
        resistivity_line(d, d.bore_log(section.log), depth, resistivity, sp);
}

void handle_bore_hole_fluid_data(Decoder &d) {
    d.link_data_record();
    const float depth = d.convert_f32(4);
    d.print(d.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    const float resistivity = d.convert_f32(8);
    d.print(d.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, resistivity);
    const float temperature = d.convert_f32(12);
    d.print(d.listing, "Temp:\t\t\t\t%-8.3f\n"_fmt, temperature);
    d.print(d.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, d.convert_u32(16));
    d.print(d.listing, "*nParam:\t\t\t%-4x\n"_fmt, d.convert_u32(20));
    d.write_record();

    if (!d.bore_hole.fluid_announced) {
        d.put(d.survey_text, "\r\nBore Hole Fluid Data\t");
        d.put(d.survey_text, "\r\n/Data:\tDepth,Resistivity,Temperature");
        d.bore_hole.fluid_announced = true;
        clear_array_sections(d.bore_hole);
    }
    d.open_bore_log(BoreLog::kFluid);
    fluid_line(d, d.survey_text, depth, resistivity, temperature);
    if (d.bore_log(BoreLog::kFluid).is_open())
        fluid_line(d, d.bore_log(BoreLog::kFluid), depth, resistivity, temperature);
}

void handle_bore_hole_sp_data(Decoder &d) {
    d.link_data_record();
    const float depth = d.convert_f32(4);
    d.print(d.listing, "Depth:\t\t\t\t%-8.3f\n"_fmt, depth);
    const std::int16_t sp = d.convert_i16(8);
    d.print(d.listing, "SP:\t\t\t\t\t%-4d\n"_fmt, sp);
    d.print(d.listing, "Reserved1:\t\t\t\t\t%-4d\n"_fmt, d.convert_u16(10));
    d.print(d.listing, "Reserved2:\t\t\t%-4x\n"_fmt, d.convert_u32(12));
    d.print(d.listing, "*Next_Depth:\t\t\t%-4x\n"_fmt, d.convert_u32(16));
    d.print(d.listing, "*nParam:\t\t\t%-4x\n"_fmt, d.convert_u32(20));
    d.write_record();

    if (!d.bore_hole.sp_announced) {
        d.put(d.survey_text, "\r\nBore Hole SP Data\t");
        d.put(d.survey_text, "\r\n/Data:\tDepth,SP");
        d.bore_hole.sp_announced = true;
        clear_array_sections(d.bore_hole);
        d.bore_hole.fluid_announced = false;
    }
    d.open_bore_log(BoreLog::kSp);
    sp_line(d, d.survey_text, depth, sp);
    if (d.bore_log(BoreLog::kSp).is_open()) sp_line(d, d.bore_log(BoreLog::kSp), depth, sp);
}

} // namespace dumpdec
