// ravelin.open() and the Database, Survey and Line objects: a converted database read into the
// survey model, its headers as dicts and its readings as NumPy arrays.
#include "field_names.h"
#include "line_names.h"
#include "module_parts.h"
#include "numpy_columns.h"
#include "reading_arrays.h"
#include "survey_reader.h"
#include "utc_time.h"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace ravelin::python {

const qc::DatabaseQc &LoadedDatabase::check(const qc::QcOptions &options) {
    std::shared_ptr<const qc::DatabaseQc> &qc = checks[{options.scope, options.error_floor}];
    if (!qc)
        qc = std::make_shared<const qc::DatabaseQc>(qc::check_database(result.database, options));
    return *qc;
}

namespace {

// A calendar date as datetime.date; None when the bytes are no calendar date.
py::object date_of(const survey::Date &date) {
    if (!gravity::to_utc(date, 0, 0)) return py::none();
    return py::module_::import("datetime").attr("date")(date.year, date.month(), date.day());
}

// A header's fields as a dict, a date as datetime.date.
template <typename Header, typename Fields>
py::dict fields_of(const Header &header, Fields fields) {
    py::dict d;
    fields([&](const char *name, auto get) {
        const auto &value = std::invoke(get, header);
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, survey::Date>)
            d[name] = date_of(value);
        else
            d[name] = value;
    });
    return d;
}

py::dict instrument_header(const survey::InstrumentHeader &h) {
    return fields_of(h, [](auto field) { survey::instrument_fields(field); });
}

py::dict survey_header(const survey::SurveyHeader &h) {
    return fields_of(h, [](auto field) { survey::survey_header_fields(field); });
}

py::dict line_header(const survey::Line &line) {
    switch (line.kind) {
    case survey::LineKind::Profile:
        return fields_of(line.profile, [](auto field) { survey::profile_header_fields(field); });
    case survey::LineKind::Sounding:
        return fields_of(line.sounding, [](auto field) { survey::sounding_header_fields(field); });
    case survey::LineKind::BoreHole:
        return fields_of(line.bore_hole,
                         [](auto field) { survey::bore_hole_header_fields(field); });
    case survey::LineKind::Unheaded:
        break;
    }
    return py::dict();
}

py::dict kx4_parameter(const survey::Kx4Parameter &p) {
    return fields_of(p, [](auto field) { survey::kx4_parameter_fields(field); });
}

std::string line_name(const survey::Line &line) {
    switch (line.kind) {
    case survey::LineKind::Profile:
        return exports::line_position(line.profile);
    case survey::LineKind::Sounding:
        return line.sounding.name;
    case survey::LineKind::BoreHole:
        return line.bore_hole.name;
    case survey::LineKind::Unheaded:
        break;
    }
    return "";
}

const char *stop_name(survey::LoadStop stop) {
    switch (stop) {
    case survey::LoadStop::EndOfFile:
        return "end_of_file";
    case survey::LoadStop::EndMarker:
        return "end_marker";
    case survey::LoadStop::CannotOpen:
        return "cannot_open";
    case survey::LoadStop::UnknownRecord:
        return "unknown_record";
    case survey::LoadStop::BadLength:
        return "bad_length";
    case survey::LoadStop::RecordTooShort:
        return "record_too_short";
    case survey::LoadStop::TruncatedRecord:
        break;
    }
    return "truncated_record";
}

// The kinds of readings a line holds, in the order to_pandas() prefers them.
std::vector<std::string> reading_kinds(const survey::Line &line) {
    std::vector<std::string> kinds;
    if (!line.ip_readings.empty()) kinds.emplace_back("ip");
    if (!line.ip_user_readings.empty()) kinds.emplace_back("ip_user");
    if (!line.gravity_readings.empty()) kinds.emplace_back("gravity");
    if (!line.bore_hole_readings.empty()) kinds.emplace_back("bore_hole");
    return kinds;
}

py::dict readings_of(const survey::Line &line, const std::string &kind) {
    if (kind == "ip") return ip_arrays(line.ip_readings);
    if (kind == "ip_user") return ip_user_arrays(line.ip_user_readings);
    if (kind == "gravity") return gravity_arrays(line.gravity_readings);
    if (kind == "bore_hole") return bore_hole_arrays(line.bore_hole_readings);
    throw py::value_error(
        "readings takes \"ip\", \"ip_user\", \"gravity\" or \"bore_hole\", not \"" + kind + "\"");
}

py::object to_pandas(const LineRef &ref, const std::optional<std::string> &kind) {
    if (kind) return data_frame(readings_of(ref.get(), *kind));
    const std::vector<std::string> kinds = reading_kinds(ref.get());
    return data_frame(readings_of(ref.get(), kinds.empty() ? "ip" : kinds.front()));
}

DatabasePtr open(const std::filesystem::path &path) {
    auto loaded = std::make_shared<LoadedDatabase>();
    {
        py::gil_scoped_release unlocked;
        loaded->result = survey::load_database(path.string());
    }
    if (loaded->result.stop == survey::LoadStop::CannotOpen)
        throw Error(survey::stop_reason(loaded->result));
    return loaded;
}

std::vector<SurveyRef> surveys_of(const DatabasePtr &db) {
    std::vector<SurveyRef> surveys;
    for (std::size_t s = 0; s < db->result.database.surveys.size(); ++s)
        surveys.push_back({db, s});
    return surveys;
}

std::vector<LineRef> lines_of(const SurveyRef &survey) {
    std::vector<LineRef> lines;
    for (std::size_t l = 0; l < survey.get().lines.size(); ++l)
        lines.push_back({survey.database, survey.survey, l});
    return lines;
}

void bind_line(py::module_ &module) {
    py::class_<LineRef>(module, "Line",
                        "A profile, sounding or bore hole of a survey: its header and its "
                        "readings in file order.")
        .def_property_readonly(
            "kind", [](const LineRef &l) { return survey::line_kind_name(l.get().kind); },
            "\"profile\", \"sounding\", \"bore_hole\", or \"unheaded\" for readings that came "
            "before any line header of their survey.")
        .def_property_readonly(
            "name", [](const LineRef &l) { return line_name(l.get()); },
            "A profile's position with its letter as the survey text file gives it (\"200N\", "
            "\"120.5W\"), a sounding's or bore hole's name; \"\" for an unheaded line.")
        .def_property_readonly(
            "title", [](const LineRef &l) { return exports::line_title(l.get()); },
            "\"Line 200N\", \"Sounding VES-1\", \"Bore hole BH-1\", or \"\".")
        .def_property_readonly(
            "header", [](const LineRef &l) { return line_header(l.get()); },
            "The line header's fields as a dict, named as in the survey model (a profile: "
            "line_pos, line_coord, line_pos_is_easting, azimuth_tenths, station_count).")
        .def_property_readonly(
            "survey",
            [](const LineRef &l) {
                return SurveyRef{l.database, l.survey};
            },
            "The Survey the line belongs to.")
        .def_property_readonly(
            "index", [](const LineRef &l) { return l.line; },
            "The line's place in its survey's lines, from 0.")
        .def_property_readonly(
            "reading_kinds", [](const LineRef &l) { return reading_kinds(l.get()); },
            "The kinds of readings the line holds, of \"ip\", \"ip_user\", \"gravity\" and "
            "\"bore_hole\".")
        .def(
            "ip_readings", [](const LineRef &l) { return ip_arrays(l.get().ip_readings); },
            "The standard-array IP readings as a dict of NumPy arrays of equal length, one per "
            "field: array_code, operating_mode, window_count, x, y, z, line_coord, n, dn, da, db, "
            "res_con, sp, vp, itx, ro, stdev, m (2-D: one row per reading, one column per M "
            "channel, NaN past a reading's own channels), and the electrode positions a, b, "
            "m_electrode, n_electrode (float64, metres along the line, NaN for a remote "
            "electrode). See docs/python.md for the types.")
        .def(
            "ip_user_readings",
            [](const LineRef &l) { return ip_user_arrays(l.get().ip_user_readings); },
            "The IP readings with free electrode positions as a dict of NumPy arrays: "
            "operating_mode, window_count, line_coord, a_x, a_y, a_z, b_x ... n_z, res_con, sp, "
            "vp, itx, ro, stdev, m (2-D).")
        .def(
            "gravity_readings",
            [](const LineRef &l) { return gravity_arrays(l.get().gravity_readings); },
            "The KX-4 readings as a dict of NumPy arrays: x, y, altitude, line_id, gravity, "
            "standard_deviation, tilt_x, tilt_y, temperature, tide, duration, rejected, "
            "terrain_correction, time_ms, year, month, day, time (datetime64[ms] of the meter's "
            "clock, NaT for an impossible date), line_direction, coordinate_mode, "
            "tide_corrected (1, 0, or -1 when the database holds no parameter record).")
        .def(
            "bore_hole_readings",
            [](const LineRef &l) { return bore_hole_arrays(l.get().bore_hole_readings); },
            "The bore hole log readings as a dict of NumPy arrays: log (\"short_normal\", "
            "\"long_normal\", \"lateral\", \"fluid\", \"self_potential\"), depth, resistivity, "
            "sp, temperature.")
        .def("to_pandas", &to_pandas, py::arg("readings") = py::none(),
             "The readings as a pandas DataFrame, one column per key of the readings' dict, the "
             "M channels as m1, m2, .... readings is \"ip\", \"ip_user\", \"gravity\" or "
             "\"bore_hole\"; by default the first kind of reading_kinds. Raises ImportError when "
             "pandas is not installed.")
        .def("errors", &line_errors, py::arg("scope") = "profile",
             py::arg("error_floor") = qc::kDefaultErrorFloor,
             "The quality control of the line's IP readings, as ravelin-qc --readings reports "
             "it: a dict of NumPy arrays, one entry per reading of ip_readings(): "
             "relative_error (a fraction of |R|, NaN for a reading that takes no part), source "
             "(\"pair\", \"model\", \"floor\" or \"none\"), pair (the index of the reading it is "
             "paired with, -1 for none), pair_kind (\"repeat\", \"reciprocal\" or \"\"). scope "
             "is \"profile\" (one error model per profile) or \"survey\" (one over the pairs of "
             "every profile of the survey); error_floor is the least error in percent of a "
             "reading without a pair or a model.")
        .def("__repr__", [](const LineRef &l) {
            const std::string title = exports::line_title(l.get());
            return "<ravelin.Line " + (title.empty() ? std::string("unheaded") : title) + ">";
        });
}

void bind_survey(py::module_ &module) {
    py::class_<SurveyRef>(module, "Survey", "A survey of the database: its header and its lines.")
        .def_property_readonly(
            "has_header", [](const SurveyRef &s) { return s.get().has_header; },
            "False for readings that came before any survey header.")
        .def_property_readonly(
            "header", [](const SurveyRef &s) { return survey_header(s.get().header); },
            "The survey header's fields as a dict, named as in the survey model: client, name, "
            "operator_name, time_ms, date (datetime.date, None when not a calendar date), "
            "utc_offset_ms, coordinate_mode, azimuth, utm_zone, magnetic_declination, longitude, "
            "latitude, altitude, grid_north, grid_south, grid_east, grid_west.")
        .def_property_readonly(
            "name", [](const SurveyRef &s) { return s.get().header.name; }, "The survey's name.")
        .def_property_readonly("lines", &lines_of, "The survey's lines, in file order.")
        .def_property_readonly(
            "notes",
            [](const SurveyRef &s) {
                std::vector<std::pair<std::uint32_t, std::string>> notes;
                for (const survey::Note &n : s.get().notes)
                    notes.emplace_back(n.code, n.text);
                return notes;
            },
            "The survey's notes as (code, text) pairs.")
        .def_property_readonly(
            "index", [](const SurveyRef &s) { return s.survey; },
            "The survey's place in the database, from 0 (the exports name it S1, S2, ...).")
        .def("__repr__", [](const SurveyRef &s) {
            return "<ravelin.Survey " + std::to_string(s.survey + 1) + " \"" + s.get().header.name +
                   "\", " + std::to_string(s.get().lines.size()) + " lines>";
        });
}

} // namespace

void bind_database(py::module_ &module) {
    bind_line(module);
    bind_survey(module);
    py::class_<LoadedDatabase, DatabasePtr> database(
        module, "Database",
        "A converted database read into the survey model. A damaged database holds every record "
        "before the damage; complete and stop_reason say whether and where reading stopped.");
    database
        .def_property_readonly(
            "path", [](const LoadedDatabase &d) { return d.result.path; }, "The file read.")
        .def_property_readonly(
            "instrument",
            [](const LoadedDatabase &d) -> py::object {
                if (!d.result.database.has_instrument) return py::none();
                return instrument_header(d.result.database.instrument);
            },
            "The file header as a dict (name, serial, time_ms, date, is_kx4); None without one.")
        .def_property_readonly("surveys", &surveys_of, "The surveys, in file order.")
        .def_property_readonly(
            "lines",
            [](const DatabasePtr &d) {
                std::vector<LineRef> lines;
                for (const SurveyRef &s : surveys_of(d))
                    for (LineRef &l : lines_of(s))
                        lines.push_back(std::move(l));
                return lines;
            },
            "Every line of every survey, in file order.")
        .def_property_readonly(
            "kx4_parameters",
            [](const LoadedDatabase &d) {
                py::list list;
                for (const survey::Kx4Parameter &p : d.result.database.kx4_parameters)
                    list.append(kx4_parameter(p));
                return list;
            },
            "The KX-4 parameter records (the meter's set-up) as dicts, in file order.")
        .def_property_readonly(
            "complete", [](const LoadedDatabase &d) { return d.result.complete(); },
            "True when every byte of the file was read as sound records.")
        .def_property_readonly(
            "stop", [](const LoadedDatabase &d) { return stop_name(d.result.stop); },
            "Why reading stopped: \"end_of_file\" or \"end_marker\" when the file was read "
            "whole, else \"unknown_record\", \"bad_length\", \"record_too_short\" or "
            "\"truncated_record\".")
        .def_property_readonly(
            "stop_reason", [](const LoadedDatabase &d) { return survey::stop_reason(d.result); },
            "One sentence saying where and why reading stopped; \"\" when the whole file was "
            "read.")
        .def_property_readonly(
            "stop_offset",
            [](const LoadedDatabase &d) -> py::object {
                if (d.result.complete()) return py::none();
                return py::int_(d.result.stop_offset);
            },
            "The byte offset of the record where reading stopped; None when it did not.")
        .def("__repr__", [](const LoadedDatabase &d) {
            return "<ravelin.Database " + d.result.path + ", " +
                   std::to_string(d.result.database.surveys.size()) + " surveys" +
                   (d.result.complete() ? "" : ", damaged") + ">";
        });
    bind_gravity_reduction(module, database);

    module.def("open", &open, py::arg("tvd_path"),
               R"(Reads a converted database (.tvd) into a Database.

A damaged or truncated file gives every record before the damage, and the
Database says where and why reading stopped (complete, stop, stop_reason).
Raises ravelin.Error when the file cannot be read at all.)");
}

} // namespace ravelin::python
