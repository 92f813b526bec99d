// File, Survey and Profile header records.
#include "handlers.h"
#include "header_records.h"

#include <cmath>

namespace dumpdec {

void handle_file_header(Record &record, DatabaseWriter &database, SurveyState &survey,
                        OutputFile &listing) {
    const records::FileHeader h = records::read_file_header(record);
    print(listing, "Manufacture Name:\t\t%s\n"_fmt, h.manufacture_name.c_str());
    print(listing, "Manufacture ID:   \t\t%-4x\n"_fmt, h.manufacture_id);
    print(listing, "Family ID:      \t\t%-4x\n"_fmt, h.family_id);
    print(listing, "Instrument Model:\t\t%-4x\n"_fmt, h.instrument_model);
    print(listing, "Instrument Ver:\t\t%-4x\n"_fmt, h.instrument_version);
    print(listing, "Instrument Name:\t\t%s\n"_fmt, h.instrument_name.c_str());
    // Exactly "KX-4" and its NUL; a later File header never clears the mode again.
    if (h.instrument_name == "KX-4") survey.instrument_is_kx4 = true;

    survey.instrument_serial = h.serial;
    print(listing, "Instrument SN: \t\t%-4d\n"_fmt, survey.instrument_serial);
    print(listing, "Soft Manuf.ID: \t\t%-4x\n"_fmt, h.software_manufacture_id);
    print(listing, "Soft manuf.Name:\t\t%s\n"_fmt, h.software_manufacture_name.c_str());
    print(listing, "Soft Pack Name:\t\t%s\n"_fmt, h.software_package_name.c_str());
    print(listing, "Software Ver:  \t\t%-4x\n"_fmt, h.software_version);
    print(listing, "Software Rev:  \t\t%04x\n"_fmt, h.software_revision);

    const TimeOfDay time = split_time(static_cast<std::int32_t>(h.time_ms));
    print(listing, "Time:\t\t        \t%02d:%02d:%02d\n"_fmt, time.hours, time.minutes,
          time.seconds);
    print(listing, "Date:\t            \t%04d/%02X/%02X\n"_fmt, h.date.year, h.date.month_bcd,
          h.date.day_bcd);

    print(listing, "Flags:\t\t        \t%-4x\n"_fmt, h.flags);
    print(listing, "Reserved:\t\t    \t%-4x\n"_fmt, h.reserved);
    print(listing, "Ext point:\t\t    \t%-4x\n"_fmt, h.extension);
    print(listing, "Pointer1:\t\t    \t%-4x\n"_fmt, h.pointer1);
    print(listing, "Pointer2:\t\t    \t%-4x\n"_fmt, h.pointer2);
    print(listing, "Pointer3:\t\t    \t%-4x\n"_fmt, h.pointer3);
    database.write(record);
}

void handle_survey_header(Record &record, DatabaseWriter &database, LinkTables &links,
                          SurveyState &survey, Outputs &out) {
    links.add_survey_header(database.offset());
    OutputFile &log = out.listing;
    const records::SurveyHeader h = records::read_survey_header(record);
    print(log, "Client_Name:\t\t\t%s\n"_fmt, h.client.c_str());
    print(log, "Survey Name:\t\t\t%s\n"_fmt, h.name.c_str());
    print(log, "Operator Name:\t\t\t%s\n"_fmt, h.operator_name.c_str());

    const TimeOfDay time = split_time(static_cast<std::int32_t>(h.time_ms));
    print(log, "Time:\t\t        \t       %-2d:%-2d:%-2d\n"_fmt, time.hours, time.minutes,
          time.seconds);
    const std::uint16_t year = h.date.year;
    const std::uint8_t month = h.date.month_bcd, day = h.date.day_bcd;
    print(log, "Date:\t            \t       %-4d/%-2X/%-2X\n"_fmt, year, month, day);

    print(log, "UTC_LTZ:\t           \t       %-4d\n"_fmt, h.utc_offset_ms);
    print(log, "Flags:\t            \t%-4x\n"_fmt, h.coordinate_mode);
    print(log, "Azimuth:\t           \t%-4d\n"_fmt, h.azimuth);
    print(log, "UTM_Zone:\t\t\t\t%-4d\n"_fmt, h.utm_zone);
    print(log, "Mag Declin:\t        %-4d\n"_fmt, h.magnetic_declination);
    print(log, "Easting:\t\t    \t%-8.3f\n"_fmt, h.longitude);
    print(log, "Northing:\t\t\t\t%-8.3f\n"_fmt, h.latitude);
    print(log, "Altitude:\t\t\t\t%-8.3f\n"_fmt, h.altitude);
    print(log, "Grid N:\t\t\t\t%-8.3f\n"_fmt, h.grid_north);
    print(log, "Grid S:\t\t\t\t%-8.3f\n"_fmt, h.grid_south);
    print(log, "Grid E:\t\t\t\t%-8.3f\n"_fmt, h.grid_east);
    print(log, "Grid W:\t\t\t\t%-8.3f\n"_fmt, h.grid_west);
    print(log, "*Next Survey:\t\t\t%-4x\n"_fmt, h.next_survey);
    print(log, "*First Line:\t\t\t%-4x\n"_fmt, h.first_line);
    print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, h.reserved1);
    print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, h.reserved2);
    database.write(record);
    survey.survey_header = records::read_survey_header(record.converted_fields());

    OutputFile &txt = out.survey_text;
    put(txt, survey.instrument_is_kx4 ? "\r\n/\tKX-4 SURVEY" : "\r\n/\tVirel Survey");
    print(txt, "\r\n/\tSurvey name:   \t%s"_fmt, h.name.c_str());
    print(txt, "\r\n/\tInstrument S/N:\t%-4d"_fmt, survey.instrument_serial);
    print(txt, "\r\n/\tClient:        \t%s"_fmt, h.client.c_str());
    print(txt, "\r\n/\tOperator:      \t%s"_fmt, h.operator_name.c_str());
    print(txt, "\r\n/\tDate:          \t%4d/%2X/%2X"_fmt, year, month, day);
    print(txt, "\r\n/\tTime:          \t%02d:%02d:%02d"_fmt, time.hours, time.minutes,
          time.seconds);
    print(txt, "\r\n/\tLONG:        \t%-8.7f %c"_fmt, std::fabs(h.longitude),
          h.longitude > 0 ? 'E' : 'W');
    print(txt, "\r\n/\tLAT:         \t%-8.7f %c"_fmt, std::fabs(h.latitude),
          h.latitude > 0 ? 'N' : 'S');
    print(txt, "\r\n/\tZONE:        \t%-8d"_fmt, h.utm_zone);
    print(txt, "\r\n/\tGMT DIFF.:   \t%-4.1f"_fmt, h.utc_offset_ms * (1.0 / 3600000.0));
}

void handle_profile_header(Record &record, DatabaseWriter &database, LinkTables &links,
                           SurveyState &survey, Outputs &out) {
    survey.line_is_profile = true;
    // Decode every field first: the kept copy holds them in host order, empty header or not.
    const records::ProfileHeader h = records::read_profile_header(record);
    survey.profile_header = records::read_profile_header(record.converted_fields());

    OutputFile &log = out.listing;
    if (h.first_data == kNoLink) {
        database.drop(record);
        put(log, "=======> EMPTY  HEADER <=======\n");
        return;
    }
    print(log, "*First_Data:\t\t\t%-4x\n"_fmt, h.first_data);
    print(log, "Line pos:\t\t\t\t%-8.3f\n"_fmt, h.line_pos);
    print(log, "Line Coord:\t\t\t%-4x\n"_fmt, h.line_coord);
    print(log, "Azimuth:\t\t\t\t%-4d\n"_fmt, h.azimuth_tenths);
    print(log, "Station Num:\t\t\t%-4d\n"_fmt, h.station_count);
    print(log, "Reserved1:\t\t\t\t%-4x\n"_fmt, h.reserved1);
    print(log, "Reserved2:\t\t\t\t%-4x\n"_fmt, h.reserved2);
    print(log, "*Next Prof:\t\t\t%-4x\n"_fmt, h.next_profile);
    links.add_line_header(database.offset());
    database.write(record);

    print(out.survey_text, "\r\nLine\t%8.3f%c"_fmt, std::fabs(h.line_pos), h.direction());
    if (!survey.instrument_is_kx4)
        print(out.survey_text, "\r\n/\tLine Azimuth:  \t%4.2f"_fmt, h.azimuth_tenths * 0.1);
}

} // namespace dumpdec
