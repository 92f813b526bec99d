#include "reading_arrays.h"

#include "electrode_layout.h"
#include "numpy_columns.h"
#include "utc_time.h"

namespace ravelin::python {

py::dict ip_arrays(const std::vector<survey::IpReading> &readings) {
    using R = survey::IpReading;
    py::dict d;
    d["array_code"] = column(readings, &R::array_code);
    d["operating_mode"] = column(readings, &R::operating_mode);
    d["window_count"] = column(readings, &R::window_count);
    d["x"] = column(readings, &R::x);
    d["y"] = column(readings, &R::y);
    d["z"] = column(readings, &R::z);
    d["line_coord"] = column(readings, &R::line_coord);
    d["n"] = column(readings, &R::n);
    d["dn"] = column(readings, &R::dn);
    d["da"] = column(readings, &R::da);
    d["db"] = column(readings, &R::db);
    d["res_con"] = column(readings, &R::res_con);
    d["sp"] = column(readings, &R::sp);
    d["vp"] = column(readings, &R::vp);
    d["itx"] = column(readings, &R::itx);
    d["ro"] = column(readings, &R::ro);
    d["stdev"] = column(readings, &R::stdev);
    d["m"] = channels(readings);

    std::vector<survey::ElectrodeLayout> layouts;
    layouts.reserve(readings.size());
    for (const R &r : readings)
        layouts.push_back(survey::electrode_layout(r));
    using L = survey::ElectrodeLayout;
    d["a"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.a); });
    d["b"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.b); });
    d["m_electrode"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.m); });
    d["n_electrode"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.n); });
    return d;
}

py::dict ip_user_arrays(const std::vector<survey::IpUserReading> &readings) {
    using R = survey::IpUserReading;
    py::dict d;
    d["operating_mode"] = column(readings, &R::operating_mode);
    d["window_count"] = column(readings, &R::window_count);
    d["line_coord"] = column(readings, &R::line_coord);
    const char *names[] = {"a", "b", "m", "n"}; // the record's order of the electrodes
    for (int e = 0; e < 4; ++e) {
        const std::string name = std::string(names[e]) + "_";
        d[py::str(name + "x")] =
            column_of<float>(readings, [e](const R &r) { return r.electrodes[e].x; });
        d[py::str(name + "y")] =
            column_of<float>(readings, [e](const R &r) { return r.electrodes[e].y; });
        d[py::str(name + "z")] =
            column_of<float>(readings, [e](const R &r) { return r.electrodes[e].z; });
    }
    d["res_con"] = column(readings, &R::res_con);
    d["sp"] = column(readings, &R::sp);
    d["vp"] = column(readings, &R::vp);
    d["itx"] = column(readings, &R::itx);
    d["ro"] = column(readings, &R::ro);
    d["stdev"] = column(readings, &R::stdev);
    d["m"] = channels(readings);
    return d;
}

py::dict gravity_arrays(const std::vector<survey::GravityReading> &readings) {
    using R = survey::GravityReading;
    py::dict d;
    d["x"] = column(readings, &R::x);
    d["y"] = column(readings, &R::y);
    d["altitude"] = column(readings, &R::altitude);
    d["line_id"] = column(readings, &R::line_id);
    d["gravity"] = column(readings, &R::gravity);
    d["standard_deviation"] = column(readings, &R::standard_deviation);
    d["tilt_x"] = column(readings, &R::tilt_x);
    d["tilt_y"] = column(readings, &R::tilt_y);
    d["temperature"] = column(readings, &R::temperature);
    d["tide"] = column(readings, &R::tide);
    d["duration"] = column(readings, &R::duration);
    d["rejected"] = column(readings, &R::rejected);
    d["terrain_correction"] = column(readings, &R::terrain_correction);
    d["time_ms"] = column(readings, &R::time_ms);
    d["year"] = column_of<std::uint16_t>(readings, [](const R &r) { return r.date.year; });
    d["month"] = column_of<std::uint8_t>(readings, [](const R &r) { return r.date.month(); });
    d["day"] = column_of<std::uint8_t>(readings, [](const R &r) { return r.date.day(); });
    // The meter's own clock, in its time zone: no offset applied.
    std::vector<std::optional<std::int64_t>> clock;
    clock.reserve(readings.size());
    for (const R &r : readings)
        clock.push_back(gravity::to_utc(r.date, r.time_ms, 0));
    d["time"] = moments(clock);
    d["line_direction"] = column(readings, &R::line_direction);
    d["coordinate_mode"] = column(readings, &R::coordinate_mode);
    d["tide_corrected"] = column_of<std::int8_t>(
        readings, [](const R &r) { return r.tide_corrected ? (*r.tide_corrected ? 1 : 0) : -1; });
    return d;
}

py::dict bore_hole_arrays(const std::vector<survey::BoreHoleReading> &readings) {
    using R = survey::BoreHoleReading;
    std::vector<std::string> logs;
    logs.reserve(readings.size());
    for (const R &r : readings) {
        switch (r.log) {
        case survey::BoreHoleLog::ShortNormal:
            logs.emplace_back("short_normal");
            break;
        case survey::BoreHoleLog::LongNormal:
            logs.emplace_back("long_normal");
            break;
        case survey::BoreHoleLog::Lateral:
            logs.emplace_back("lateral");
            break;
        case survey::BoreHoleLog::Fluid:
            logs.emplace_back("fluid");
            break;
        case survey::BoreHoleLog::SelfPotential:
            logs.emplace_back("self_potential");
            break;
        }
    }
    py::dict d;
    d["log"] = texts(logs);
    d["depth"] = column(readings, &R::depth);
    d["resistivity"] = column(readings, &R::resistivity);
    d["sp"] = column(readings, &R::sp);
    d["temperature"] = column(readings, &R::temperature);
    return d;
}

} // namespace ravelin::python
