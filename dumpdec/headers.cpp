// File, Survey and Profile header records.
#include "handlers.h"

#include <cmath>

namespace dumpdec {

void handle_file_header(Record &record, DatabaseWriter &database, SurveyState &survey,
                        OutputFile &listing) {
    print(listing, "Manufacture Name:\t\t%s\n"_fmt, record.text(4, 16).c_str());
    print(listing, "Manufacture ID:   \t\t%-4x\n"_fmt, record.convert_u16(20));
    print(listing, "Family ID:      \t\t%-4x\n"_fmt, record.convert_u16(22));
    print(listing, "Instrument Model:\t\t%-4x\n"_fmt, record.convert_u16(24));
    print(listing, "Instrument Ver:\t\t%-4x\n"_fmt, record.convert_u16(26));

    const std::string name = record.text(28, 16);
    print(listing, "Instrument Name:\t\t%s\n"_fmt, name.c_str());
    // Exactly "KX-4" and its NUL; a later File header never clears the mode again.
    if (name == "KX-4") survey.instrument_is_kx4 = true;

    survey.instrument_serial = record.convert_u16(44);
    print(listing, "Instrument SN: \t\t%-4d\n"_fmt, survey.instrument_serial);
    print(listing, "Soft Manuf.ID: \t\t%-4x\n"_fmt, record.convert_u16(46));
    print(listing, "Soft manuf.Name:\t\t%s\n"_fmt, record.text(48, 16).c_str());
    print(listing, "Soft Pack Name:\t\t%s\n"_fmt, record.text(64, 16).c_str());
    print(listing, "Software Ver:  \t\t%-4x\n"_fmt, record.convert_u16(80));
    print(listing, "Software Rev:  \t\t%04x\n"_fmt, record.convert_u16(82));

    const TimeOfDay time = split_time(record.convert_i32(84));
    print(listing, "Time:\t\t        \t%02d:%02d:%02d\n"_fmt, time.hours, time.minutes,
          time.seconds);
    const std::uint16_t year = record.convert_u16(90);
    print(listing, "Date:\t            \t%04d/%02X/%02X\n"_fmt, year, record.byte(89),
          record.byte(88));

    print(listing, "Flags:\t\t        \t%-4x\n"_fmt, record.convert_u16(92));
    print(listing, "Reserved:\t\t    \t%-4x\n"_fmt, record.convert_u16(94));
    print(listing, "Ext point:\t\t    \t%-4x\n"_fmt, record.convert_u32(96));
    print(listing, "Pointer1:\t\t    \t%-4x\n"_fmt, record.convert_u32(100));
    print(listing, "Pointer2:\t\t    \t%-4x\n"_fmt, record.convert_u32(104));
    print(listing, "Pointer3:\t\t    \t%-4x\n"_fmt, record.convert_u32(108));
    database.write(record);
}

void handle_survey_header(Record &record, DatabaseWriter &database, LinkTables &links,
                          SurveyState &survey, Outputs &out) {
    links.add_survey_header(database.offset());
    OutputFile &log = out.listing;
    const std::string client = record.text(4, 36);
    const std::string survey_name = record.text(40, 36);
    const std::string operator_name = record.text(76, 36);
    print(log, "Client_Name:\t\t\t%s\n"_fmt, client.c_str());
    print(log, "Survey Name:\t\t\t%s\n"_fmt, survey_name.c_str());
    print(log, "Operator Name:\t\t\t%s\n"_fmt, operator_name.c_str());

    const TimeOfDay time = split_time(record.convert_i32(112));
    print(log, "Time:\t\t        \t       %-2d:%-2d:%-2d\n"_fmt, time.hours, time.minutes,
          time.seconds);
    const std::uint16_t year = record.convert_u16(118);
    const std::uint8_t month = record.byte(117), day = record.byte(116);
    print(log, "Date:\t            \t       %-4d/%-2X/%-2X\n"_fmt, year, month, day);

    const std::int32_t utc_ltz = record.convert_i32(120);
    print(log, "UTC_LTZ:\t           \t       %-4d\n"_fmt, utc_ltz);
    print(log, "Flags:\t            \t%-4x\n"_fmt, record.convert_u16(124));
    print(log, "Azimuth:\t           \t%-4d\n"_fmt, record.convert_u16(126));
    const std::uint16_t utm_zone = record.convert_u16(128);
    print(log, "UTM_Zone:\t\t\t\t%-4d\n"_fmt, utm_zone);
    print(log, "Mag Declin:\t        %-4d\n"_fmt, record.convert_u16(130));
    const double easting = record.convert_f64(132);
    print(log, "Easting:\t\t    \t%-8.3f\n"_fmt, easting);
    const double northing = record.convert_f64(140);
    print(log, "Northing:\t\t\t\t%-8.3f\n"_fmt, northing);
    print(log, "Altitude:\t\t\t\t%-8.3f\n"_fmt, record.convert_f32(148));
    print(log, "Grid N:\t\t\t\t%-8.3f\n"_fmt, record.convert_f32(152));
    print(log, "Grid S:\t\t\t\t%-8.3f\n"_fmt, record.convert_f32(156));
    print(log, "Grid E:\t\t\t\t%-8.3f\n"_fmt, record.convert_f32(160));
    print(log, "Grid W:\t\t\t\t%-8.3f\n"_fmt, record.convert_f32(164));
    print(log, "*Next Survey:\t\t\t%-4x\n"_fmt,
          record.convert_u32(ravelin::link_field::kSurveyNextSurvey));
    print(log, "*First Line:\t\t\t%-4x\n"_fmt,
          record.convert_u32(ravelin::link_field::kSurveyFirstLine));
    print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, record.convert_u32(176));
    print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, record.convert_u32(180));
    database.write(record);
    record.keep_copy(survey.survey_header);

    OutputFile &txt = out.survey_text;
    put(txt, survey.instrument_is_kx4 ? "\r\n/\tKX-4 SURVEY" : "\r\n/\tVirel Survey");
    print(txt, "\r\n/\tSurvey name:   \t%s"_fmt, survey_name.c_str());
    print(txt, "\r\n/\tInstrument S/N:\t%-4d"_fmt, survey.instrument_serial);
    print(txt, "\r\n/\tClient:        \t%s"_fmt, client.c_str());
    print(txt, "\r\n/\tOperator:      \t%s"_fmt, operator_name.c_str());
    print(txt, "\r\n/\tDate:          \t%4d/%2X/%2X"_fmt, year, month, day);
    print(txt, "\r\n/\tTime:          \t%02d:%02d:%02d"_fmt, time.hours, time.minutes,
          time.seconds);
    print(txt, "\r\n/\tLONG:        \t%-8.7f %c"_fmt, std::fabs(easting), easting > 0 ? 'E' : 'W');
    print(txt, "\r\n/\tLAT:         \t%-8.7f %c"_fmt, std::fabs(northing),
          northing > 0 ? 'N' : 'S');
    print(txt, "\r\n/\tZONE:        \t%-8d"_fmt, utm_zone);
    print(txt, "\r\n/\tGMT DIFF.:   \t%-4.1f"_fmt, utc_ltz * (1.0 / 3600000.0));
}

void handle_profile_header(Record &record, DatabaseWriter &database, LinkTables &links,
                           SurveyState &survey, Outputs &out) {
    survey.line_is_profile = true;
    // Decode every field first: the kept copy holds them in host order, empty header or not.
    const float line_pos = record.convert_f32(4);
    const std::uint16_t line_coord = record.convert_u16(8);
    const std::uint16_t azimuth = record.convert_u16(10);
    const std::uint16_t station = record.convert_u16(12);
    const std::uint16_t reserved1 = record.convert_u16(14);
    const std::uint32_t reserved2 = record.convert_u32(16);
    const std::uint32_t first_data = record.convert_u32(ravelin::link_field::kProfileFirstData);
    const std::uint32_t next_profile = record.convert_u32(ravelin::link_field::kProfileNextProfile);
    record.keep_copy(survey.profile_header);

    OutputFile &log = out.listing;
    if (first_data == kNoLink) {
        database.drop(record);
        put(log, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    print(log, "*First_Data:\t\t\t%-4x\n"_fmt, first_data);
    print(log, "Line pos:\t\t\t\t%-8.3f\n"_fmt, line_pos);
    print(log, "Line Coord:\t\t\t%-4x\n"_fmt, line_coord);
    print(log, "Azimuth:\t\t\t\t%-4d\n"_fmt, azimuth);
    print(log, "Station Num:\t\t\t%-4d\n"_fmt, station);
    print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, reserved1);
    print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, reserved2);
    print(log, "*Next Prof:\t\t\t%-4x\n"_fmt, next_profile);
    links.add_line_header(database.offset());
    database.write(record);

    const bool is_easting = (line_coord & 2) != 0;
    const char letter = is_easting ? (line_pos > 0 ? 'E' : 'W') : (line_pos > 0 ? 'N' : 'S');
    print(out.survey_text, "\r\nLine\t%8.3f%c"_fmt, std::fabs(line_pos), letter);
    if (!survey.instrument_is_kx4)
        print(out.survey_text, "\r\n/\tLine Azimuth:  \t%4.2f"_fmt, azimuth * 0.1);
}

} // namespace dumpdec
