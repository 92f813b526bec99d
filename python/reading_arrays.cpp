#include "reading_arrays.h"

#include "electrode_layout.h"
#include "field_names.h"
#include "numpy_columns.h"
#include "utc_time.h"

#include <functional>
#include <string>
#include <type_traits>

namespace ravelin::python {

namespace {

// The fields of a kind of reading as a dict of arrays, one per field, each of the field's own
// type: the M channels as a 2-D float32 array, names as str.
template <typename Reading, typename Fields>
py::dict arrays(const std::vector<Reading> &readings, Fields fields) {
    py::dict d;
    fields([&](const char *name, auto get) {
        const auto value = [get](const Reading &r) -> decltype(auto) {
            return std::invoke(get, r);
        };
        using T = std::remove_cvref_t<decltype(value(std::declval<const Reading &>()))>;
        if constexpr (std::is_same_v<T, std::vector<float>>) {
            d[name] = channels(readings, value);
        } else if constexpr (std::is_same_v<T, const char *>) {
            std::vector<std::string> names;
            names.reserve(readings.size());
            for (const Reading &r : readings)
                names.emplace_back(value(r));
            d[name] = texts(names);
        } else {
            d[name] = column_of<T>(readings, value);
        }
    });
    return d;
}

} // namespace

py::dict ip_arrays(const std::vector<survey::IpReading> &readings) {
    py::dict d = arrays(readings, [](auto field) { survey::ip_fields(field); });
    std::vector<survey::ElectrodeLayout> layouts;
    layouts.reserve(readings.size());
    for (const survey::IpReading &r : readings)
        layouts.push_back(survey::electrode_layout(r));
    using L = survey::ElectrodeLayout;
    d["a"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.a); });
    d["b"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.b); });
    d["m_electrode"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.m); });
    d["n_electrode"] = column_of<double>(layouts, [](const L &e) { return or_nan(e.n); });
    return d;
}

py::dict ip_user_arrays(const std::vector<survey::IpUserReading> &readings) {
    return arrays(readings, [](auto field) { survey::ip_user_fields(field); });
}

py::dict gravity_arrays(const std::vector<survey::GravityReading> &readings) {
    py::dict d = arrays(readings, [](auto field) { survey::gravity_fields(field); });
    // The meter's own clock, in its time zone: no offset applied.
    std::vector<std::optional<std::int64_t>> clock;
    clock.reserve(readings.size());
    for (const survey::GravityReading &r : readings)
        clock.push_back(gravity::to_utc(r.date, r.time_ms, 0));
    d["time"] = moments(clock);
    return d;
}

py::dict bore_hole_arrays(const std::vector<survey::BoreHoleReading> &readings) {
    return arrays(readings, [](auto field) { survey::bore_hole_fields(field); });
}

} // namespace ravelin::python
