// File, Survey and Profile header records.
#include "decoder.h"
#include "handlers.h"

#include <cmath>

namespace dumpdec {

void handle_file_header(Decoder &d) {
    OutputFile &log = d.listing;
    d.print(log, "Manufacture Name:\t\t%s\n"_fmt, d.text(4, 16).c_str());
    d.print(log, "Manufacture ID:   \t\t%-4x\n"_fmt, d.convert_u16(20));
    d.print(log, "Family ID:      \t\t%-4x\n"_fmt, d.convert_u16(22));
    d.print(log, "Instrument Model:\t\t%-4x\n"_fmt, d.convert_u16(24));
    d.print(log, "Instrument Ver:\t\t%-4x\n"_fmt, d.convert_u16(26));

    const std::string name = d.text(28, 16);
    d.print(log, "Instrument Name:\t\t%s\n"_fmt, name.c_str());
    // Exactly "KX-4" and its NUL; a later File header never clears the mode again.
    if (name == "KX-4") d.instrument_is_kx4 = true;

    d.instrument_serial = d.convert_u16(44);
    d.print(log, "Instrument SN: \t\t%-4d\n"_fmt, d.instrument_serial);
    d.print(log, "Soft Manuf.ID: \t\t%-4x\n"_fmt, d.convert_u16(46));
    d.print(log, "Soft manuf.Name:\t\t%s\n"_fmt, d.text(48, 16).c_str());
    d.print(log, "Soft Pack Name:\t\t%s\n"_fmt, d.text(64, 16).c_str());
    d.print(log, "Software Ver:  \t\t%-4x\n"_fmt, d.convert_u16(80));
    d.print(log, "Software Rev:  \t\t%04x\n"_fmt, d.convert_u16(82));

    const TimeOfDay time = split_time(d.convert_i32(84));
    d.print(log, "Time:\t\t        \t%02d:%02d:%02d\n"_fmt, time.hours, time.minutes, time.seconds);
    const std::uint16_t year = d.convert_u16(90);
    d.print(log, "Date:\t            \t%04d/%02X/%02X\n"_fmt, year, d.byte(89), d.byte(88));

    d.print(log, "Flags:\t\t        \t%-4x\n"_fmt, d.convert_u16(92));
    d.print(log, "Reserved:\t\t    \t%-4x\n"_fmt, d.convert_u16(94));
    d.print(log, "Ext point:\t\t    \t%-4x\n"_fmt, d.convert_u32(96));
    d.print(log, "Pointer1:\t\t    \t%-4x\n"_fmt, d.convert_u32(100));
    d.print(log, "Pointer2:\t\t    \t%-4x\n"_fmt, d.convert_u32(104));
    d.print(log, "Pointer3:\t\t    \t%-4x\n"_fmt, d.convert_u32(108));
    d.write_record();
}

void handle_survey_header(Decoder &d) {
    d.link_survey_header();
    OutputFile &log = d.listing;
    const std::string client = d.text(4, 36);
    const std::string survey = d.text(40, 36);
    const std::string operator_name = d.text(76, 36);
    d.print(log, "Client_Name:\t\t\t%s\n"_fmt, client.c_str());
    d.print(log, "Survey Name:\t\t\t%s\n"_fmt, survey.c_str());
    d.print(log, "Operator Name:\t\t\t%s\n"_fmt, operator_name.c_str());

    const TimeOfDay time = split_time(d.convert_i32(112));
    d.print(log, "Time:\t\t        \t       %-2d:%-2d:%-2d\n"_fmt, time.hours, time.minutes,
            time.seconds);
    const std::uint16_t year = d.convert_u16(118);
    const std::uint8_t month = d.byte(117), day = d.byte(116);
    d.print(log, "Date:\t            \t       %-4d/%-2X/%-2X\n"_fmt, year, month, day);

    const std::int32_t utc_ltz = d.convert_i32(120);
    d.print(log, "UTC_LTZ:\t           \t       %-4d\n"_fmt, utc_ltz);
    d.print(log, "Flags:\t            \t%-4x\n"_fmt, d.convert_u16(124));
    d.print(log, "Azimuth:\t           \t%-4d\n"_fmt, d.convert_u16(126));
    const std::uint16_t utm_zone = d.convert_u16(128);
    d.print(log, "UTM_Zone:\t\t\t\t%-4d\n"_fmt, utm_zone);
    d.print(log, "Mag Declin:\t        %-4d\n"_fmt, d.convert_u16(130));
    const double easting = d.convert_f64(132);
    d.print(log, "Easting:\t\t    \t%-8.3f\n"_fmt, easting);
    const double northing = d.convert_f64(140);
    d.print(log, "Northing:\t\t\t\t%-8.3f\n"_fmt, northing);
    d.print(log, "Altitude:\t\t\t\t%-8.3f\n"_fmt, d.convert_f32(148));
    d.print(log, "Grid N:\t\t\t\t%-8.3f\n"_fmt, d.convert_f32(152));
    d.print(log, "Grid S:\t\t\t\t%-8.3f\n"_fmt, d.convert_f32(156));
    d.print(log, "Grid E:\t\t\t\t%-8.3f\n"_fmt, d.convert_f32(160));
    d.print(log, "Grid W:\t\t\t\t%-8.3f\n"_fmt, d.convert_f32(164));
    d.print(log, "*Next Survey:\t\t\t%-4x\n"_fmt,
            d.convert_u32(ravelin::link_field::kSurveyNextSurvey));
    d.print(log, "*First Line:\t\t\t%-4x\n"_fmt,
            d.convert_u32(ravelin::link_field::kSurveyFirstLine));
    d.print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, d.convert_u32(176));
    d.print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, d.convert_u32(180));
    d.write_record();
    d.keep_copy(d.current_survey_header);

    OutputFile &txt = d.survey_text;
    d.put(txt, d.instrument_is_kx4 ? "\r\n/\tKX-4 SURVEY" : "\r\n/\tVirel Survey");
    d.print(txt, "\r\n/\tSurvey name:   \t%s"_fmt, survey.c_str());
    d.print(txt, "\r\n/\tInstrument S/N:\t%-4d"_fmt, d.instrument_serial);
    d.print(txt, "\r\n/\tClient:        \t%s"_fmt, client.c_str());
    d.print(txt, "\r\n/\tOperator:      \t%s"_fmt, operator_name.c_str());
    d.print(txt, "\r\n/\tDate:          \t%4d/%2X/%2X"_fmt, year, month, day);
    d.print(txt, "\r\n/\tTime:          \t%02d:%02d:%02d"_fmt, time.hours, time.minutes,
            time.seconds);
    d.print(txt, "\r\n/\tLONG:        \t%-8.7f %c"_fmt, std::fabs(easting),
            easting > 0 ? 'E' : 'W');
    d.print(txt, "\r\n/\tLAT:         \t%-8.7f %c"_fmt, std::fabs(northing),
            northing > 0 ? 'N' : 'S');
    d.print(txt, "\r\n/\tZONE:        \t%-8d"_fmt, utm_zone);
    d.print(txt, "\r\n/\tGMT DIFF.:   \t%-4.1f"_fmt, utc_ltz * (1.0 / 3600000.0));
}

void handle_profile_header(Decoder &d) {
    d.line_is_profile = true;
    // Decode every field first: the kept copy holds them in host order, empty header or not.
    const float line_pos = d.convert_f32(4);
    const std::uint16_t line_coord = d.convert_u16(8);
    const std::uint16_t azimuth = d.convert_u16(10);
    const std::uint16_t station = d.convert_u16(12);
    const std::uint16_t reserved1 = d.convert_u16(14);
    const std::uint32_t reserved2 = d.convert_u32(16);
    const std::uint32_t first_data = d.convert_u32(ravelin::link_field::kProfileFirstData);
    const std::uint32_t next_profile = d.convert_u32(ravelin::link_field::kProfileNextProfile);
    d.keep_copy(d.current_profile_header);

    OutputFile &log = d.listing;
    if (first_data == kNoLink) {
        d.drop_record();
        d.put(log, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    d.print(log, "*First_Data:\t\t\t%-4x\n"_fmt, first_data);
    d.print(log, "Line pos:\t\t\t\t%-8.3f\n"_fmt, line_pos);
    d.print(log, "Line Coord:\t\t\t%-4x\n"_fmt, line_coord);
    d.print(log, "Azimuth:\t\t\t\t%-4d\n"_fmt, azimuth);
    d.print(log, "Station Num:\t\t\t%-4d\n"_fmt, station);
    d.print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, reserved1);
    d.print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, reserved2);
    d.print(log, "*Next Prof:\t\t\t%-4x\n"_fmt, next_profile);
    d.link_line_header();
    d.write_record();

    const bool is_easting = (line_coord & 2) != 0;
    const char letter = is_easting ? (line_pos > 0 ? 'E' : 'W') : (line_pos > 0 ? 'N' : 'S');
    d.print(d.survey_text, "\r\nLine\t%8.3f%c"_fmt, std::fabs(line_pos), letter);
    if (!d.instrument_is_kx4)
        d.print(d.survey_text, "\r\n/\tLine Azimuth:  \t%4.2f"_fmt, azimuth * 0.1);
}

} // namespace dumpdec
