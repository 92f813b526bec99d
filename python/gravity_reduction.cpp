// reduce_gravity(): the KX-4 readings of one or more databases reduced as one network, with the
// options of ravelin-gravity, the stations and readings as NumPy arrays.
#include "module_parts.h"
#include "numpy_columns.h"
#include "reduction.h"
#include "reduction_options.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace ravelin::python {

namespace {

// A reduction and the databases its readings point into.
struct ReductionResult {
    std::vector<DatabasePtr> databases;
    gravity::Reduction reduction;
};

py::dict station_arrays(const gravity::Reduction &r) {
    using S = gravity::Station;
    const std::vector<S> &s = r.stations;
    std::vector<std::string> names;
    for (const S &station : s)
        names.push_back(station.name);
    py::dict d;
    d["name"] = texts(names);
    d["line"] = column(s, &S::line);
    d["x"] = column(s, &S::x);
    d["y"] = column(s, &S::y);
    d["latitude"] = column(s, &S::latitude);
    d["longitude"] = column(s, &S::longitude);
    d["altitude"] = column(s, &S::altitude);
    d["readings"] = column(s, &S::readings);
    d["g_rel"] = column(s, &S::g_rel);
    d["g_sd"] = column(s, &S::g_sd);
    d["read_again"] = column(s, &S::read_again);
    d["terrain"] = column(s, &S::terrain);
    d["g_abs"] = column_of<double>(s, [](const S &x) { return or_nan(x.g_abs); });
    d["free_air"] = column_of<double>(s, [](const S &x) { return or_nan(x.free_air); });
    d["bouguer"] = column_of<double>(s, [](const S &x) { return or_nan(x.bouguer); });
    return d;
}

py::dict reading_arrays(const gravity::Reduction &r) {
    using R = gravity::ReducedReading;
    const std::vector<R> &readings = r.readings;
    std::vector<std::optional<std::int64_t>> utc;
    for (const R &reading : readings)
        utc.emplace_back(reading.utc);
    py::dict d;
    d["station"] = column(readings, &R::station);
    d["utc"] = moments(utc);
    d["gravity"] = column(readings, &R::gravity);
    d["sd"] = column(readings, &R::sd);
    d["tide_meter"] = column(readings, &R::tide_meter);
    d["tide_model"] = column(readings, &R::tide_model);
    d["meter_tide"] = column(readings, &R::meter_tide);
    d["drift"] = column(readings, &R::drift);
    d["reduced"] = column(readings, &R::reduced);
    d["residual"] = column(readings, &R::residual);
    d["flagged"] = column(readings, &R::flagged);
    return d;
}

py::dict tide_comparison(const gravity::TideComparison &t) {
    py::dict d;
    d["readings"] = t.readings;
    d["largest"] = t.largest;
    d["median"] = t.median;
    d["best_shift_hours"] = t.best_shift_hours;
    d["best_shift_minutes"] = t.best_shift_minutes;
    d["rms_unshifted"] = t.rms_unshifted;
    d["rms_at_best_minutes"] = t.rms_at_best_minutes;
    return d;
}

py::dict drift_fit(const gravity::DriftFit &f) {
    py::dict d;
    d["solved"] = f.solved;
    d["problem"] = f.problem;
    d["level"] = f.level;
    py::list loops;
    for (const gravity::LoopFit &loop : f.loops) {
        py::dict l;
        l["closed"] = loop.closed;
        l["tied"] = loop.tied;
        l["readings"] = loop.readings;
        l["degree"] = loop.degree;
        l["rate"] = loop.rate;
        l["curvature"] = loop.curvature;
        l["closure_rate"] = loop.closure_rate;
        l["sigma0"] = loop.sigma0;
        l["test_passed"] = loop.test_passed;
        loops.append(l);
    }
    d["loops"] = loops;
    d["degrees_of_freedom"] = f.degrees_of_freedom;
    d["sigma0"] = f.sigma0;
    return d;
}

// A refused option named as the keyword argument is ("drift_degree", not "drift-degree").
[[noreturn]] void refuse(std::string option, const std::string &rule) {
    std::replace(option.begin(), option.end(), '-', '_');
    throw py::value_error(option + " " + rule);
}

ReductionResult reduce(const std::vector<DatabasePtr> &databases,
                       const std::optional<std::string> &base,
                       const std::optional<double> &base_gravity, double density,
                       const std::optional<double> &utc_offset,
                       const std::optional<std::string> &tide, int drift_degree, double min_sd,
                       double residual_limit) {
    gravity::ReductionOptions options;
    options.base = base;
    options.base_gravity = base_gravity;
    options.density = density;
    options.utc_offset_hours = utc_offset;
    if (tide) {
        const std::optional<gravity::TideSource> source = gravity::tide_source(*tide);
        if (!source) refuse("tide", gravity::kTideSourceRule);
        options.tide = *source;
    }
    options.drift_degree = drift_degree;
    options.min_sd = min_sd;
    options.residual_limit = residual_limit;
    if (const std::optional<gravity::RefusedOption> refused = gravity::refused_option(options))
        refuse(refused->option, refused->rule);

    ReductionResult result{.databases = databases, .reduction = {}};
    std::vector<const survey::Database *> models;
    for (const DatabasePtr &database : databases)
        models.push_back(&database->result.database);
    {
        py::gil_scoped_release unlocked;
        result.reduction = gravity::reduce(models, options);
    }
    if (result.reduction.readings.empty()) throw Error("no KX-4 reading to reduce");
    if (!result.reduction.base_found)
        throw Error("no station named \"" + *options.base + "\" was read");
    return result;
}

constexpr const char *kReduceDoc =
    R"(Reduces the KX-4 readings as one network, as ravelin-gravity does: each
reading's UTC time, the Longman (1959) tide compared with the meter's, the
tide correction chosen, the drift adjusted by least squares over the
repeated stations. The options are ravelin-gravity's:

base            the base station, named as in the gravity CSV export
                (default: the first station read)
base_gravity    the base's absolute gravity in mGal: each station's absolute
                gravity, free-air and simple Bouguer anomaly
density         of the Bouguer slab, kg/m^3
utc_offset      the meter's time zone in hours east of UTC, instead of the
                survey headers'
tide            "meter" or "model" (default: the meter's where its Tide
                Correction option was on, else the model's)
drift_degree    of the drift polynomial, 0 to 2
min_sd          the least sigma of a reading, mGal
residual_limit  a residual beyond this many sigma flags its reading

Returns a Reduction. Raises ValueError for an option out of its bounds and
ravelin.Error when there is no KX-4 reading or no station named base.)";

} // namespace

void bind_gravity_reduction(py::module_ &module,
                            py::class_<LoadedDatabase, DatabasePtr> &database) {
    py::class_<ReductionResult>(module, "Reduction", "The result of reduce_gravity().")
        .def_property_readonly(
            "stations", [](const ReductionResult &r) { return station_arrays(r.reduction); },
            "The stations as a dict of NumPy arrays: name, line, x, y, latitude, longitude, "
            "altitude, readings, g_rel and g_sd (mGal, relative to the base), read_again, "
            "terrain, and with base_gravity g_abs, free_air, bouguer (NaN without).")
        .def_property_readonly(
            "readings", [](const ReductionResult &r) { return reading_arrays(r.reduction); },
            "The readings in time order as a dict of NumPy arrays: station (index into "
            "stations), utc (datetime64[ms]), gravity, sd, tide_meter, tide_model, meter_tide "
            "(which tide was applied), drift, reduced, residual (mGal), flagged.")
        .def_property_readonly(
            "base",
            [](const ReductionResult &r) { return r.reduction.stations[r.reduction.base].name; },
            "The base station's name.")
        .def_property_readonly(
            "drift", [](const ReductionResult &r) { return drift_fit(r.reduction.drift); },
            "The drift fit: solved, problem, level (mGal at the first base reading), loops (per "
            "loop in time order: closed, tied, readings, degree, rate in mGal/h, curvature in "
            "mGal/h^2, closure_rate, sigma0, test_passed), degrees_of_freedom, sigma0.")
        .def_property_readonly(
            "tide", [](const ReductionResult &r) { return tide_comparison(r.reduction.tide); },
            "The meter's tide against the model: readings compared, largest and median "
            "difference (mGal), best_shift_hours, best_shift_minutes, rms_unshifted, "
            "rms_at_best_minutes.")
        .def_property_readonly(
            "left_out", [](const ReductionResult &r) { return r.reduction.left_out; },
            "Readings left out: a value that is no number, or an impossible date.")
        .def_property_readonly(
            "without_position",
            [](const ReductionResult &r) { return r.reduction.without_position; },
            "Readings whose model tide is for the wrong place: no position of their own in a "
            "survey whose header gives none.")
        .def_property_readonly(
            "summary", [](const ReductionResult &r) { return gravity::summary_text(r.reduction); },
            "The summary ravelin-gravity prints and writes to NAME-reduction.txt.")
        .def("__repr__", [](const ReductionResult &r) {
            return "<ravelin.Reduction of " + std::to_string(r.reduction.readings.size()) +
                   " readings at " + std::to_string(r.reduction.stations.size()) + " stations>";
        });

    const gravity::ReductionOptions defaults;
    const auto arguments = [&defaults](auto &&define) {
        define(py::kw_only(), py::arg("base") = py::none(), py::arg("base_gravity") = py::none(),
               py::arg("density") = defaults.density, py::arg("utc_offset") = py::none(),
               py::arg("tide") = py::none(), py::arg("drift_degree") = defaults.drift_degree,
               py::arg("min_sd") = defaults.min_sd,
               py::arg("residual_limit") = defaults.residual_limit);
    };
    arguments([&module](auto... args) {
        module.def("reduce_gravity", &reduce, py::arg("databases"), args...,
                   (std::string("reduce_gravity(databases, **options): the databases (a list of "
                                "Database) reduced together.\n\n") +
                    kReduceDoc)
                       .c_str());
    });
    arguments([&database](auto... args) {
        database.def(
            "reduce_gravity",
            [](const DatabasePtr &self, const std::optional<std::string> &base,
               const std::optional<double> &base_gravity, double density,
               const std::optional<double> &utc_offset, const std::optional<std::string> &tide,
               int drift_degree, double min_sd, double residual_limit) {
                return reduce({self}, base, base_gravity, density, utc_offset, tide, drift_degree,
                              min_sd, residual_limit);
            },
            args..., kReduceDoc);
    });
}

} // namespace ravelin::python
