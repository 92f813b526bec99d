// The core for JavaScript: a raw database held in memory converted, and a converted database
// read into the survey model as plain objects. Files live in the module's memory file system
// only while a call runs.
#include "convert.h"
#include "field_names.h"
#include "survey_reader.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using emscripten::val;
namespace fs = std::filesystem;

// A folder of its own for one call, removed with everything in it when the call ends.
class Scratch {
  public:
    Scratch() : folder_("/scratch") { fs::create_directories(folder_); }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const fs::path &folder() const { return folder_; }

  private:
    fs::path folder_;
};

void write_file(const fs::path &path, const val &bytes) {
    const std::vector<std::uint8_t> data =
        emscripten::convertJSArrayToNumberVector<std::uint8_t>(bytes);
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path.string());
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write " + path.string());
}

val read_file(const fs::path &path) {
    std::vector<std::uint8_t> data(fs::file_size(path));
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error("cannot read " + path.string());
    const std::size_t got = std::fread(data.data(), 1, data.size(), file);
    std::fclose(file);
    // A copy: the view into the module's memory would change with its next call.
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(got, data.data()))
        .call<val>("slice");
}

// Converts the raw database bytes, named name (a file name, no folder), as dumpdec_main with the
// keep flag 1 does; returns { result, files: { name: Uint8Array } }.
val convert(const std::string &name, const val &bytes) {
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        throw std::invalid_argument("the name of a raw database is a file name: " + name);
    Scratch scratch;
    const fs::path raw = scratch.folder() / name;
    write_file(raw, bytes);
    const std::int16_t keep = 1;
    const dumpdec::ConversionReport report = dumpdec::convert(raw.string(), &keep);
    val files = val::object();
    for (const fs::directory_entry &entry : fs::directory_iterator(scratch.folder()))
        if (entry.path() != raw)
            files.set(entry.path().filename().string(), read_file(entry.path()));
    val out = val::object();
    out.set("result", report.result);
    out.set("files", files);
    if (!report.failure.empty()) out.set("failure", report.failure);
    return out;
}

val date(const survey::Date &d) {
    val o = val::object();
    o.set("year", d.year);
    o.set("month", d.month());
    o.set("day", d.day());
    return o;
}

// A reading or a header as an object of its kind's fields, under the names the Python module
// gives them; a date as { year, month, day }.
template <typename Item, typename Fields> val fields_of(const Item &item, Fields fields) {
    val o = val::object();
    fields([&](const char *name, auto get) {
        const auto &value = std::invoke(get, item);
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::vector<float>>) {
            val list = val::array();
            for (float v : value)
                list.call<void>("push", v);
            o.set(name, list);
        } else if constexpr (std::is_same_v<T, const char *>) {
            o.set(name, std::string(value));
        } else if constexpr (std::is_same_v<T, survey::Date>) {
            o.set(name, date(value));
        } else {
            o.set(name, value);
        }
    });
    return o;
}

val ip_reading(const survey::IpReading &r) {
    return fields_of(r, [](auto field) { survey::ip_fields(field); });
}

val ip_user_reading(const survey::IpUserReading &r) {
    return fields_of(r, [](auto field) { survey::ip_user_fields(field); });
}

val gravity_reading(const survey::GravityReading &r) {
    return fields_of(r, [](auto field) { survey::gravity_fields(field); });
}

val bore_hole_reading(const survey::BoreHoleReading &r) {
    return fields_of(r, [](auto field) { survey::bore_hole_fields(field); });
}

template <typename Reading, typename Convert>
val list_of(const std::vector<Reading> &readings, Convert convert_one) {
    val list = val::array();
    for (const Reading &r : readings)
        list.call<void>("push", convert_one(r));
    return list;
}

val line(const survey::Line &l) {
    val o = val::object();
    o.set("kind", std::string(survey::line_kind_name(l.kind)));
    switch (l.kind) {
    case survey::LineKind::Profile:
        o.set("profile",
              fields_of(l.profile, [](auto field) { survey::profile_header_fields(field); }));
        break;
    case survey::LineKind::Sounding:
        o.set("sounding",
              fields_of(l.sounding, [](auto field) { survey::sounding_header_fields(field); }));
        break;
    case survey::LineKind::BoreHole:
        o.set("bore_hole",
              fields_of(l.bore_hole, [](auto field) { survey::bore_hole_header_fields(field); }));
        break;
    case survey::LineKind::Unheaded:
        break;
    }
    o.set("ip_readings", list_of(l.ip_readings, ip_reading));
    o.set("ip_user_readings", list_of(l.ip_user_readings, ip_user_reading));
    o.set("gravity_readings", list_of(l.gravity_readings, gravity_reading));
    o.set("bore_hole_readings", list_of(l.bore_hole_readings, bore_hole_reading));
    return o;
}

// The converted database bytes as the survey model:
// { complete, stop, stop_offset, instrument, surveys: [{ header, lines, notes }], kx4_parameters }.
val read_database(const val &bytes) {
    Scratch scratch;
    const fs::path tvd = scratch.folder() / "database.tvd";
    write_file(tvd, bytes);
    const survey::LoadResult loaded = survey::load_database(tvd.string());
    const survey::Database &db = loaded.database;
    val out = val::object();
    out.set("complete", loaded.complete());
    out.set("stop", loaded.complete() ? std::string() : survey::stop_reason(loaded));
    out.set("stop_offset", static_cast<double>(loaded.stop_offset));
    if (db.has_instrument) {
        out.set("instrument",
                fields_of(db.instrument, [](auto field) { survey::instrument_fields(field); }));
    } else {
        out.set("instrument", val::null());
    }
    val surveys = val::array();
    for (const survey::Survey &s : db.surveys) {
        val o = val::object();
        o.set("header",
              s.has_header
                  ? fields_of(s.header, [](auto field) { survey::survey_header_fields(field); })
                  : val::null());
        o.set("lines", list_of(s.lines, line));
        val notes = val::array();
        for (const survey::Note &n : s.notes) {
            val note = val::object();
            note.set("code", n.code);
            note.set("text", n.text);
            notes.call<void>("push", note);
        }
        o.set("notes", notes);
        surveys.call<void>("push", o);
    }
    out.set("surveys", surveys);
    val parameters = val::array();
    for (const survey::Kx4Parameter &p : db.kx4_parameters) {
        parameters.call<void>(
            "push", fields_of(p, [](auto field) { survey::kx4_parameter_fields(field); }));
    }
    out.set("kx4_parameters", parameters);
    return out;
}

} // namespace

EMSCRIPTEN_BINDINGS(ravelin_core) {
    emscripten::function("convert", &convert);
    emscripten::function("readDatabase", &read_database);
}
