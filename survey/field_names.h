// The survey model's names as the Python module and the JavaScript core hand it out: the fields
// of each kind of reading, the line kinds and the bore hole logs. docs/python.md lists them with
// their types.
//
// A kind's fields come as calls field(name, get), one per field in the order they are listed:
// get is a member pointer or a function of the reading, and std::invoke(get, reading) gives the
// value in the model's own type (the M channels as a std::vector<float>, a name as a const
// char *).
#pragma once

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

} // namespace survey
