// The survey model's names as the Python module and the JavaScript core hand it out: the fields
// of each kind of reading and header, the line kinds and the bore hole logs. docs/python.md lists
// them with their types.
//
// A kind's fields come as calls field(name, get), one per field in the order they are listed:
// get is a member pointer or a function of the reading or header, and std::invoke(get, it) gives
// the value in the model's own type (the M channels as a std::vector<float>, a log's name as a
// const char *, a date as a Date).
#pragma once

#include "plot_geometry.h"
#include "survey_model.h"

#include <cstdint>

namespace survey {

inline const char *line_kind_name(LineKind kind) {
    switch (kind) {
    case LineKind::Profile:
        return "profile";
    case LineKind::Sounding:
        return "sounding";
    case LineKind::BoreHole:
        return "bore_hole";
    case LineKind::Unheaded:
        break;
    }
    return "unheaded";
}

inline const char *bore_hole_log_name(BoreHoleLog log) {
    switch (log) {
    case BoreHoleLog::ShortNormal:
        return "short_normal";
    case BoreHoleLog::LongNormal:
        return "long_normal";
    case BoreHoleLog::Lateral:
        return "lateral";
    case BoreHoleLog::Fluid:
        return "fluid";
    case BoreHoleLog::SelfPotential:
        break;
    }
    return "self_potential";
}

template <typename Field> void ip_fields(Field &&field) {
    using R = IpReading;
    field("array_code", &R::array_code);
    field("operating_mode", &R::operating_mode);
    field("window_count", &R::window_count);
    field("x", &R::x);
    field("y", &R::y);
    field("z", &R::z);
    field("line_coord", &R::line_coord);
    field("n", &R::n);
    field("dn", &R::dn);
    field("da", &R::da);
    field("db", &R::db);
    field("res_con", &R::res_con);
    field("sp", &R::sp);
    field("vp", &R::vp);
    field("itx", &R::itx);
    field("ro", &R::ro);
    field("stdev", &R::stdev);
    field("m", &R::m);
}

// The electrodes flattened, A, B, M, N in the record's order: a_x, a_y, a_z, b_x ... n_z.
template <typename Field> void ip_user_fields(Field &&field) {
    using R = IpUserReading;
    static constexpr const char *kNames[4][3] = {
        {"a_x", "a_y", "a_z"}, {"b_x", "b_y", "b_z"}, {"m_x", "m_y", "m_z"}, {"n_x", "n_y", "n_z"}};
    static constexpr float ElectrodePoint::*kAxes[3] = {&ElectrodePoint::x, &ElectrodePoint::y,
                                                        &ElectrodePoint::z};
    field("operating_mode", &R::operating_mode);
    field("window_count", &R::window_count);
    field("line_coord", &R::line_coord);
    for (int e = 0; e < 4; ++e)
        for (int axis = 0; axis < 3; ++axis)
            field(kNames[e][axis], [e, axis](const R &r) { return r.electrodes[e].*kAxes[axis]; });
    field("res_con", &R::res_con);
    field("sp", &R::sp);
    field("vp", &R::vp);
    field("itx", &R::itx);
    field("ro", &R::ro);
    field("stdev", &R::stdev);
    field("m", &R::m);
}

template <typename Field> void gravity_fields(Field &&field) {
    using R = GravityReading;
    field("x", &R::x);
    field("y", &R::y);
    field("altitude", &R::altitude);
    field("line_id", &R::line_id);
    field("gravity", &R::gravity);
    field("standard_deviation", &R::standard_deviation);
    field("tilt_x", &R::tilt_x);
    field("tilt_y", &R::tilt_y);
    field("temperature", &R::temperature);
    field("tide", &R::tide);
    field("duration", &R::duration);
    field("rejected", &R::rejected);
    field("terrain_correction", &R::terrain_correction);
    field("time_ms", &R::time_ms);
    field("year", [](const R &r) { return r.date.year; });
    field("month", [](const R &r) -> std::uint8_t { return r.date.month(); });
    field("day", [](const R &r) -> std::uint8_t { return r.date.day(); });
    field("line_direction", &R::line_direction);
    field("coordinate_mode", &R::coordinate_mode);
    // 1 the meter's Tide Correction option was on, 0 off, -1 the database holds no parameter
    // record to say.
    field("tide_corrected", [](const R &r) -> std::int8_t {
        return r.tide_corrected ? (*r.tide_corrected ? 1 : 0) : -1;
    });
}

template <typename Field> void bore_hole_fields(Field &&field) {
    using R = BoreHoleReading;
    field("log", [](const R &r) { return bore_hole_log_name(r.log); });
    field("depth", &R::depth);
    field("resistivity", &R::resistivity);
    field("sp", &R::sp);
    field("temperature", &R::temperature);
}

template <typename Field> void instrument_fields(Field &&field) {
    using H = InstrumentHeader;
    field("name", &H::name);
    field("serial", &H::serial);
    field("time_ms", &H::time_ms);
    field("date", &H::date);
    field("is_kx4", &H::is_kx4);
}

template <typename Field> void survey_header_fields(Field &&field) {
    using H = SurveyHeader;
    field("client", &H::client);
    field("name", &H::name);
    field("operator_name", &H::operator_name);
    field("time_ms", &H::time_ms);
    field("date", &H::date);
    field("utc_offset_ms", &H::utc_offset_ms);
    field("coordinate_mode", &H::coordinate_mode);
    field("azimuth", &H::azimuth);
    field("utm_zone", &H::utm_zone);
    field("magnetic_declination", &H::magnetic_declination);
    field("longitude", &H::longitude);
    field("latitude", &H::latitude);
    field("altitude", &H::altitude);
    field("grid_north", &H::grid_north);
    field("grid_south", &H::grid_south);
    field("grid_east", &H::grid_east);
    field("grid_west", &H::grid_west);
}

template <typename Field> void profile_header_fields(Field &&field) {
    using H = ProfileHeader;
    field("line_pos", &H::line_pos);
    field("line_coord", &H::line_coord);
    field("line_pos_is_easting", [](const H &h) { return h.line_pos_is_easting(); });
    field("azimuth_tenths", &H::azimuth_tenths);
    field("station_count", &H::station_count);
}

template <typename Field> void sounding_header_fields(Field &&field) {
    using H = SoundingHeader;
    field("array_code", &H::array_code);
    field("array_name", [](const H &h) { return array_name(h.array_code); });
    field("azimuth_tenths", &H::azimuth_tenths);
    field("easting", &H::easting);
    field("northing", &H::northing);
    field("altitude", &H::altitude);
    field("name", &H::name);
}

template <typename Field> void bore_hole_header_fields(Field &&field) {
    using H = BoreHoleHeader;
    field("plunge_tenths", &H::plunge_tenths);
    field("azimuth_tenths", &H::azimuth_tenths);
    field("easting", &H::easting);
    field("northing", &H::northing);
    field("altitude", &H::altitude);
    field("name", &H::name);
}

template <typename Field> void kx4_parameter_fields(Field &&field) {
    using P = Kx4Parameter;
    field("gref", &P::gref);
    field("gcal1", &P::gcal1);
    field("tilt_x_sensitivity", &P::tilt_x_sensitivity);
    field("tilt_y_sensitivity", &P::tilt_y_sensitivity);
    field("tilt_x_offset", &P::tilt_x_offset);
    field("tilt_y_offset", &P::tilt_y_offset);
    field("tempco", &P::tempco);
    field("drift", &P::drift);
    field("drift_time_ms", &P::drift_time_ms);
    field("drift_date", &P::drift_date);
    field("flags", &P::flags);
    field("tide_correction", [](const P &p) { return p.tide_correction(); });
}

} // namespace survey
